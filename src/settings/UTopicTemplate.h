#pragma once
// Editor of one topic or template text; its texts are set when it is created only.
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFTopicTemplate : public TEditorStubForm {
public:
    explicit TFTopicTemplate(plat::TComponent* owner);
    ~TFTopicTemplate() override;
    plat::String ClassName() const override { return u"TFTopicTemplate"; }
};

extern TFTopicTemplate* FTopicTemplate;
