#pragma once
// The main window: the five-step wizard from which every other window is reached. Its
// creation sets up the program (folders, settings, language, last configuration, shared
// lists); its single click handler dispatches every button, refusing the configuration
// steps while no configuration is active; closing it writes the settings file.
#include <cstdint>
#include <functional>

#include "UFormKit.h"
#include "UStart_Program.h"
#include "plat/Process.h"
#include "plat/String.h"

namespace plat {
class TLabel;
class TLinkLabel;
class TShape;
class TTimer;
class TSaveDialog;
class TXMLDocument;
}

class TZEVorezudaReruDure : public TLangForm {
public:
    explicit TZEVorezudaReruDure(plat::TComponent* owner);
    ~TZEVorezudaReruDure() override;
    plat::String ClassName() const override { return u"TZEVorezudaReruDure"; }

    void Set_Lang() override;
    void Set_Files();
    void Create_New_Project();
    void Open_Project();
    // Writes the settings file; a failure is shown in an error box and reported as false.
    bool Save_Setting();
    // Set_Lang of this window and of the other windows that follow a language change.
    void Change_Language();
    // Step 5: builds and saves the configuration image, then opens the update window.
    void Update_Device();
    void Build_EDS_File();
    void PROFINET_XML();
    void BACnet_EDE_File();
    int Get_Type_BACnet();
    void Btn_Click(plat::TObject* Sender);

    plat::TLabel* L_SW_Code = nullptr;
    plat::TLabel* L_SW_Desc = nullptr;
    plat::TLabel* L_Begin = nullptr;
    plat::TShape* Shape2 = nullptr;
    plat::TLabel* L_Name_Conf = nullptr;
    plat::TLabel* L_Name_Conf_L2 = nullptr;
    plat::TLabel* L_Step[8] = {};  // L_Step_1 .. L_Step_8
    plat::TShape* Shape1 = nullptr;
    plat::TLabel* L_Varnok = nullptr;
    plat::TLinkLabel* LL_Update = nullptr;

    controls::TFadeButton* Btn_Info = nullptr;
    controls::TFadeButton* Btn_Opz = nullptr;
    controls::TFadeButton* Btn_Close = nullptr;
    controls::TFadeButton* Btn_New = nullptr;
    controls::TFadeButton* Btn_Open = nullptr;
    controls::TFadeButton* Btn_Prm_Gen = nullptr;
    controls::TFadeButton* Btn_MQTT_Set_Topic = nullptr;
    controls::TFadeButton* Btn_Modbus_Set_Access = nullptr;
    controls::TFadeButton* Btn_CreateBin = nullptr;
    controls::TFadeButton* Btn_MBus = nullptr;
    controls::TFadeButton* Btn_MQTT_Set_Access = nullptr;
    controls::TFadeButton* Btn_CAN_Rec_Frame = nullptr;
    controls::TFadeButton* Btn_CAN_Send_Frame = nullptr;
    controls::TFadeButton* Btn_PDO_CANopen = nullptr;
    controls::TFadeButton* Btn_SDO_Client_CANopen = nullptr;
    controls::TFadeButton* Btn_SDO_Server_CANopen = nullptr;
    controls::TFadeButton* Btn_CANopen_EDS = nullptr;
    controls::TFadeButton* Btn_DNet_Net = nullptr;
    controls::TFadeButton* Btn_DNet_Offset = nullptr;
    controls::TFadeButton* Btn_PROFINET_XML = nullptr;
    controls::TFadeButton* Btn_PROFIBUS_GSD = nullptr;
    controls::TFadeButton* Btn_DMX_Default = nullptr;
    controls::TFadeButton* Btn_KNX_Access = nullptr;
    controls::TFadeButton* Btn_SNMP_Trap = nullptr;
    controls::TFadeButton* Btn_SNMP_MIB = nullptr;
    controls::TFadeButton* Btn_SNMP_Manager_Access = nullptr;
    controls::TFadeButton* Btn_BACnet_SetAccess = nullptr;
    controls::TFadeButton* Btn_BACnet_EDE_File = nullptr;
    controls::TFadeButton* Btn_DALI_Access = nullptr;
    controls::TFadeButton* Btn_ScanDecode = nullptr;

    plat::TTimer* Timer_Update = nullptr;
    plat::TXMLDocument* XML1 = nullptr;
    plat::TSaveDialog* SaveEDS = nullptr;
    plat::TSaveDialog* SD1 = nullptr;
    plat::TSaveDialog* SaveMIB = nullptr;

protected:
    void DoShow() override;
    void DoClose(plat::TCloseAction& Action) override;

private:
    void Lay_Out();
    void Show_Configuration_Labels();
    void Open_Home_Page();
    void Open_Update_Link(const plat::String& link);
    void Timer_UpdateTimer();
    // The configuration checks the options ask for before a step runs; the options offer
    // none, so nothing is checked.
    void Check_Configuration() {}
};


// The maker's home page, opened by L_Varnok.
extern const char16_t* const Home_Page_URL;

extern TZEVorezudaReruDure* ZEVorezudaReruDure;
