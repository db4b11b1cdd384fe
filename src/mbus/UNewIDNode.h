#pragma once
// Dialog asking the address of a node about to be pasted into the network editor.
// Form_Type 1: a wired address (primary 0..255 or secondary 0..99999999) that no node of the
// network holds with the same kind (the editor's Check_Node_ID2); 2: a wireless address
// 0..0xFFFFFFFF; any other mode shows the wireless field and accepts whatever it holds.
// The caller fills the edits and the option, shows the dialog and reads them back after OK.
#include "UFormKit.h"

namespace plat {
class TEdit;
class TLabel;
class TRadioButton;
}

class TFNewIDNode : public TDialogForm {
public:
    explicit TFNewIDNode(plat::TComponent* owner);
    ~TFNewIDNode() override;
    plat::String ClassName() const override { return u"TFNewIDNode"; }
    void Set_Lang() override;
    void FadeButton2Click();

    int Form_Type = 0;
    plat::TLabel* Label1 = nullptr;
    plat::TRadioButton* RB_ID_Primary = nullptr;
    plat::TRadioButton* RB_ID_Secondary = nullptr;
    plat::TEdit* E_New_Node_ID_Pri = nullptr;
    plat::TEdit* E_New_Node_ID_Sec = nullptr;
    plat::TLabel* L_wMBus_Add = nullptr;
    plat::TEdit* E_wMBus_Add = nullptr;

protected:
    void DoShow() override;
};

extern TFNewIDNode* FNewIDNode;
