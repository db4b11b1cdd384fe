#pragma once
// Dialog asking the ID of a new M-Bus node.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 1200), the design caption where a text is blank.
#include "UFormKit.h"

class TFNewIDNode : public TDialogForm {
public:
    explicit TFNewIDNode(plat::TComponent* owner);
    ~TFNewIDNode() override;
    plat::String ClassName() const override { return u"TFNewIDNode"; }
};

extern TFNewIDNode* FNewIDNode;
