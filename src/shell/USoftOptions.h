#pragma once
// The options window: language, internet connection and version check, and two behaviours
// of the table editors. For now the window as the main window needs it (created once, its
// frame and option texts, the OK/Cancel result); filling and applying the options and the
// version check come with their own issue.
#include "UFormKit.h"

namespace plat {
class TCheckBox;
}

class TFSoftOptions : public TEditorStubForm {
public:
    explicit TFSoftOptions(plat::TComponent* owner);
    ~TFSoftOptions() override;
    plat::String ClassName() const override { return u"TFSoftOptions"; }
    void Set_Lang() override;

    plat::TCheckBox* CB_En_Con = nullptr;
    plat::TCheckBox* CB_Update = nullptr;
    plat::TCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    plat::TCheckBox* CB_DoubleClick_Auto_Size = nullptr;
};

extern TFSoftOptions* FSoftOptions;
