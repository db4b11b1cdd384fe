#pragma once
// The update window of Step 5. In Ethernet mode (Form_Type 1) the user confirms the
// converter's address, chooses what to update and whether the update program reads the data
// back, and presses Update: the window checks with ICMP echo that the converter answers, then
// remembers the choices, writes the job Ethernet_Update.xml beside the program and runs
// Ethernet_Update.exe, waiting for it. The serial mode (Form_Type 0) only remembers the
// choices; any other mode shows just the title and the buttons.
//
// The device check sends one echo at a time, each waited for up to 400 ms, until two have
// been answered or 5 s have passed; meanwhile the window keeps processing messages. A second
// Update during the check is ignored, and Cancel or the close box end the check with nothing
// written or started.
#include <cstdint>

#include "UFormKit.h"

namespace plat {
class TPanel;
class TLabel;
class TEdit;
class TComboBox;
class TCheckBox;
class TStringGrid;
class TIcmpClient;
class TXMLDocument;
struct TReplyStatus;
}

class TFBoot : public TDialogForm {
public:
    explicit TFBoot(plat::TComponent* owner);
    ~TFBoot() override;
    plat::String ClassName() const override { return u"TFBoot"; }
    void Set_Lang() override;

    void FormShow(plat::TObject* Sender);
    // '.' in an address field: swallowed; in the first three it moves to the next field.
    void KeyPress(plat::TObject* Sender, char16_t& Key);
    void Btn_UpdateClick(plat::TObject* Sender);
    // The device check; true when the last reply status carried data.
    bool Send_Ping();
    void PingReply(plat::TObject* Sender, const plat::TReplyStatus& ReplyStatus);
    void Btn_COM_ListClick(plat::TObject* Sender);
    void update_ComPort();
    // Writes Ethernet_Update.xml beside the program; a write failure raises.
    void Compile_XML_Parameter_New_Boot();
    // The same job in the layout of older update programs.
    void Compile_XML_Parameter();
    // BACnet_Type of the open configuration's ParGen.xml; 0 when missing or not a number.
    int Get_Type_Dev();

    // The address as the fields hold it, joined with dots.
    plat::String IP_Address_Text() const;
    // True while the device check runs.
    bool Checking() const { return checking_; }

    // 1 Ethernet, 0 serial; the caller sets it before every show.
    int Form_Type = 0;
    // Last reply status of the check: 0 none yet, 1 a reply with data, 2 one without.
    int ping_res = 0;

    plat::TPanel* P_IP_Address = nullptr;
    plat::TLabel* L_IP_Address = nullptr;
    plat::TEdit* E_IP1 = nullptr;
    plat::TEdit* E_IP2 = nullptr;
    plat::TEdit* E_IP3 = nullptr;
    plat::TEdit* E_IP4 = nullptr;

    plat::TPanel* P_Eth_Search = nullptr;
    plat::TLabel* L_List_Device = nullptr;
    controls::TFadeButton* Btn_Search = nullptr;
    plat::TStringGrid* ACG_List_Devices = nullptr;
    plat::TCheckBox* CB_Find_All_VNK = nullptr;

    plat::TPanel* P_Options = nullptr;
    plat::TLabel* L_Update_Option = nullptr;
    plat::TComboBox* CB_Update_Options = nullptr;
    plat::TCheckBox* CB_Update_Option_Read_Back = nullptr;

    plat::TPanel* P_Serial = nullptr;
    plat::TLabel* L_COM_Port = nullptr;
    plat::TComboBox* CB_COM_Port = nullptr;
    controls::TFadeButton* Btn_COM_List = nullptr;

    // The frame's Btn_OK under the update window's name.
    controls::TFadeButton* Btn_Update = nullptr;

    plat::TIcmpClient* Ping = nullptr;
    plat::TXMLDocument* XML1 = nullptr;

protected:
    void DoShow() override;

private:
    void Write_Job(bool older_layout);

    bool checking_ = false;
    // Set when Cancel or the close box ended the check.
    bool check_cancelled_ = false;
};

// Payload of every echo of the device check.
extern const char16_t* const Ping_Payload;
constexpr int Ping_Timeout_Ms = 400;
constexpr std::uint32_t Ping_Check_Ms = 5000;

extern TFBoot* FBoot;
