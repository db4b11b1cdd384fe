#pragma once
// Window of Step 4, the Modbus master read and write rules (ModbusM_SetAccess.xml).
//
// Every show re-reads the working mode from ParGen.xml, lays out the columns for it, rebuilds
// the publish-topic list from MQTT_Set_Topic.xml and the tables from the file: edits left by
// Cancel are gone. Synchronous mode (0) hides the write page and the read rules' Position and
// Start Bit and links each read rule to a publish topic; any other mode shows the positions.
// Hidden columns and the hidden write page keep the file's values and are written back.
// The rules themselves (file columns, validation, topic links) are in USetAccessRules.h.
#include <vector>

#include "URuleEditor.h"
#include "URuleFiles.h"

namespace plat {
class TXMLDocument;
}

class TFSetAccess : public TRuleEditorForm {
public:
    explicit TFSetAccess(plat::TComponent* owner);
    ~TFSetAccess() override;
    plat::String ClassName() const override { return u"TFSetAccess"; }

    void FormShow();
    // Validation; true when every enabled rule passes, else one error box and false.
    bool Controllo_dati();
    // OK: validation, the questions that guard unread or cut-off rows, the file, OK result.
    void bitbtn1Click();
    // The Index_Topic to store for a read rule's Topic text and its remembered pick.
    int Get_Index_From_Topic(const plat::String& text, int picked) const;
    plat::String Get_Topic_From_Index(int index) const;
    // OnComboChange of the read table (real column): remembers a Topic pick.
    void ComboChange(int ACol, int ARow, int AItemIndex);

    plat::TTabSheet* TS_Modbus_Read = nullptr;
    plat::TTabSheet* TS_Modbus_Write = nullptr;
    grid::TExtColumnGrid* ACG_Modbus_Read = nullptr;
    grid::TExtColumnGrid* ACG_Modbus_Write = nullptr;
    plat::TXMLDocument* XML1 = nullptr;

    int Working_Mode = 0;
    int NByte_IN = 1500;
    int NByte_OUT = 1500;
    std::vector<plat::String> List_Publish_Topic;
    std::vector<int> ComboItem_Topic;

    bool Do_Copy_In_Read() { return Table(0).Do_Copy; }
    bool Do_Copy_In_Write() { return Table(1).Do_Copy; }

private:
    static void Report_Read(const TRead_Result& r, const plat::String& file);
};

extern TFSetAccess* FSetAccess;
