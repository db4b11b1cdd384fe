#pragma once
// Dialog asking the ID of a new M-Bus node.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 1200); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFNewIDNode : public TEditorStubForm {
public:
    explicit TFNewIDNode(plat::TComponent* owner);
    ~TFNewIDNode() override;
    plat::String ClassName() const override { return u"TFNewIDNode"; }
};

extern TFNewIDNode* FNewIDNode;
