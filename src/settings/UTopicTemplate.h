#pragma once
// Editor of one topic or template text; its texts are set when it is created only.
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFTopicTemplate : public TDialogForm {
public:
    explicit TFTopicTemplate(plat::TComponent* owner);
    ~TFTopicTemplate() override;
    plat::String ClassName() const override { return u"TFTopicTemplate"; }
};

extern TFTopicTemplate* FTopicTemplate;
