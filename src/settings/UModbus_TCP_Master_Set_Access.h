#pragma once
// Modbus TCP master rules of the family's other models (ModbusTCPM_SetAccess.xml); created at
// start-up and re-texted on a language change, shown by no step of this build.
//
// Every show re-reads the working mode, the publish topics of MQTT_Set_Topic.xml (in both
// modes: the hidden Topic column of an asynchronous show is written back as an index into
// this list) and the file. Synchronous mode (0) hides the write page and the read rules'
// Position and Start Bit, and shows their Topic. The rules are in UModbus_TCP_Master_Rules.h.
#include <vector>

#include "URuleEditor.h"
#include "URuleFiles.h"

namespace plat {
class TXMLDocument;
}

class TFModbus_TCP_Master_Set_Access : public TRuleEditorForm {
public:
    explicit TFModbus_TCP_Master_Set_Access(plat::TComponent* owner);
    ~TFModbus_TCP_Master_Set_Access() override;
    plat::String ClassName() const override { return u"TFModbus_TCP_Master_Set_Access"; }

    void FormShow();
    bool Controllo_dati();
    void Btn_OKClick();
    // True when the text is not a usable IPv4 address.
    static bool Check_IP_Address(const plat::String& text);
    int Get_Index_From_Topic(const plat::String& text) const;
    plat::String Get_Topic_From_Index(int index) const;

    plat::TTabSheet* TS_Modbus_Read = nullptr;
    plat::TTabSheet* TS_Modbus_Write = nullptr;
    grid::TExtColumnGrid* ACG_Modbus_Read = nullptr;
    grid::TExtColumnGrid* ACG_Modbus_Write = nullptr;

    int Working_Mode = 0;
    int NByte_IN = 1500;
    int NByte_OUT = 1500;
    std::vector<plat::String> List_Publish_Topic;

private:
    static void Report_Read(const TRead_Result& r, const plat::String& file);
    plat::TXMLDocument* XML1 = nullptr;
};

extern TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access;
