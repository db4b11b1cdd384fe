#pragma once
// The options window: the language (one page of six language files at a time, a confirmed
// choice switching every window's texts at once), the internet connection with the version
// check, and two behaviours of the table editors.
//
// Each showing starts from the program values; they change only through OK (Language_Name
// included), except that a confirmed language change re-applies the texts at once and is not
// undone by Cancel. With no language file in LANGUAGE the first slot stays, empty, and a
// click on it does nothing.
#include "UFormKit.h"

namespace plat {
class TCheckBox;
class TImage;
class TLabel;
class TLinkLabel;
class TPageControl;
class TStringList;
class TTabSheet;
}

class TFSoftOptions : public TDialogForm {
public:
    static constexpr int Slots_Per_Page = 6;

    explicit TFSoftOptions(plat::TComponent* owner);
    ~TFSoftOptions() override;
    plat::String ClassName() const override { return u"TFSoftOptions"; }

    void Set_Lang() override;
    // Lists LANGUAGE/*.lng (plain, writable files; sorted ignoring case) and shows page 1.
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    // Number of language pages; 1 when there is no language file.
    int Page_Count() const;
    void Btn_NextClick(plat::TObject* Sender);
    void LangClick(plat::TObject* Sender);
    void CB_En_ConClick(plat::TObject* Sender);
    void Update_CheckBox();
    void Btn_Check_UpdateClick(plat::TObject* Sender);
    void LL_Check_UpdateLinkClick(plat::TObject* Sender, const plat::String& Link);
    void Btn_OKClick(plat::TObject* Sender);
    // The version request; true when a newer version is published.
    bool Check_Version();


    plat::TPageControl* PC_Options = nullptr;
    plat::TTabSheet* TS_Language = nullptr;
    plat::TLabel* L_Sel_Lang = nullptr;
    plat::TLabel* L_Page_Lang = nullptr;
    plat::TImage* I_L[Slots_Per_Page] = {};  // I_L1 .. I_L6
    plat::TLabel* L_L[Slots_Per_Page] = {};  // L_L1 .. L_L6
    controls::TFadeButton* Btn_Prev = nullptr;
    controls::TFadeButton* Btn_Next = nullptr;

    plat::TTabSheet* TS_Con_Options = nullptr;
    plat::TCheckBox* CB_En_Con = nullptr;
    plat::TCheckBox* CB_Update = nullptr;
    controls::TFadeButton* Btn_Check_Update = nullptr;
    plat::TLinkLabel* LL_Check_Update = nullptr;

    plat::TTabSheet* TS_Soft_Settings = nullptr;
    plat::TCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    plat::TCheckBox* CB_DoubleClick_Auto_Size = nullptr;

    int Show_Page = 1;
    plat::TStringList* SL_Languages = nullptr;
    plat::String Language_In_Use;

protected:
    void DoShow() override;

private:
    // Slot (0-based) of a clicked picture or label; -1 for anything else.
    int Slot_Of(plat::TObject* Sender) const;
    void Show_Page_Counter(int Num_Page);
};

extern TFSoftOptions* FSoftOptions;
