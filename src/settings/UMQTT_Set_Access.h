#pragma once
// MQTT access editor of the family's other models (MQTT_Set_Access.xml); its texts are set
// when it is created only, and no step of this build shows it.
//
// Every show rebuilds the topic lists from MQTT_Set_Topic.xml and the tables from the file:
// a rule names its topic by its index in the publish or subscribe table of the topic file.
// The rules themselves are in UMQTT_Set_Access_Rules.h.
#include <vector>

#include "URuleEditor.h"
#include "URuleFiles.h"

namespace plat {
class TXMLDocument;
}

class TFMQTT_Set_Access : public TRuleEditorForm {
public:
    explicit TFMQTT_Set_Access(plat::TComponent* owner);
    ~TFMQTT_Set_Access() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Access"; }

    void FormShow();
    bool Controllo_dati();
    void Btn_OKClick();
    // The template editor on a Template cell; OK puts its text into the cell.
    void Show_Form_Topic(grid::TExtColumnGrid* grid, int ARow, int ACol);
    plat::String Topic_Pub_from_Index_to_String(int index) const;
    plat::String Topic_Sub_from_Index_to_String(int index) const;
    int Topic_Pub_from_String_to_Index(const plat::String& text) const;
    int Topic_Sub_from_String_to_Index(const plat::String& text) const;

    plat::TTabSheet* TS_MQTT_Publish = nullptr;
    plat::TTabSheet* TS_MQTT_Subscribe = nullptr;
    grid::TExtColumnGrid* ACG_Pub = nullptr;
    grid::TExtColumnGrid* ACG_Sub = nullptr;
    std::vector<plat::String> Topic_Pub;
    std::vector<plat::String> Topic_Sub;

protected:
    void Table_DblClick(TRule_Table& table, int row, int col) override;

private:
    static void Report_Read(const TRead_Result& r, const plat::String& file);
    plat::TXMLDocument* XML1 = nullptr;
};

extern TFMQTT_Set_Access* FMQTT_Set_Access;
