#pragma once
// Picker of the BACnet engineering units: the user chooses a unit by category and name, or
// types a number. The caller sets E_Selected_EU (and Label5 through Show_Unit), shows the
// window modally and takes E_Selected_EU back on the OK result; the picker checks nothing.
// Texts from Lang_Table 4400..4408; the category names are fixed.
#include "UFormKit.h"

namespace plat {
class TLabel;
class TEdit;
class TComboBox;
class TButton;
} // namespace plat

class TFBACnet_Eng_Unit : public TDialogForm {
public:
    explicit TFBACnet_Eng_Unit(plat::TComponent* owner);
    ~TFBACnet_Eng_Unit() override;
    plat::String ClassName() const override { return u"TFBACnet_Eng_Unit"; }
    void Set_Lang() override;

    // The name of unit `unit` (0..236), else "unknown".
    static plat::String Desc_Unit(int unit);
    // E_Selected_EU := `text`; Label5 := "-> " and the name of `text` read as an integer
    // (a text that is no integer names no unit).
    void Show_Unit(const plat::String& text);

    plat::TLabel* Label1 = nullptr;  // "Selected BACnet Engineering Unit"
    plat::TEdit* E_Selected_EU = nullptr;
    plat::TLabel* Label5 = nullptr;  // "-> " and the unit's name
    plat::TLabel* Label2 = nullptr;  // "Select a New BACnet Engineering Unit"
    plat::TLabel* Label3 = nullptr;  // "Select the Type"
    plat::TComboBox* CB_Select_Type = nullptr;
    plat::TLabel* Label4 = nullptr;  // "Select Unit"
    plat::TComboBox* CB_Select_Unit = nullptr;
    controls::TFadeButton* Btn_Select_Eng_Unit = nullptr;

    // The unit list of the selected category, its first entry selected.
    void CB_Select_TypeChange();
    // The unit at the selected position into E_Selected_EU and Label5 (0 without selection).
    void Btn_Select_Eng_UnitClick();

protected:
    void DoShow() override;
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
