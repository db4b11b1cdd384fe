#pragma once
// The update window of Step 5: the user confirms the converter's address, chooses what
// to update and starts the update program. For now the window as the main window needs
// it: created once with Form_Type 0, its texts set on every show and on a language change
// by mode (1 Ethernet, 0 serial, anything else leaves the caption as it is); the device
// check and the update job come with their own issue.
#include "UFormKit.h"

class TFBoot : public TLangForm {
public:
    explicit TFBoot(plat::TComponent* owner);
    ~TFBoot() override;
    plat::String ClassName() const override { return u"TFBoot"; }
    void Set_Lang() override;

    // 1 Ethernet, 0 serial; the caller sets it before every show.
    int Form_Type = 0;

    plat::TPanel* P_Title = nullptr;
    plat::TLabel* L_SW_Code = nullptr;
    plat::TLabel* L_SW_Desc = nullptr;
    plat::TPanel* P_Button = nullptr;
    controls::TFadeButton* Btn_Update = nullptr;
    controls::TFadeButton* Btn_Cancel = nullptr;

protected:
    void DoShow() override;
};

extern TFBoot* FBoot;
