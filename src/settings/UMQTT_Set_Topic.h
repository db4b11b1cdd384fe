#pragma once
// Window of Step 3, the MQTT publish and subscribe topics, and the one writer of
// MQTT_Set_Topic.xml. Every show reads the working mode from ParGen.xml, lays the tables out
// for it, clears them and loads the file; OK validates the shown columns and writes the file.
//
// File: root MQTT_Set_Topic, then the comment "SW_VERSION = 1.114" at document level;
// under the root MQTT_Publish and MQTT_Subscribe with one `row` per topic (every attribute on
// every row, cell texts untrimmed, hidden columns included) and MQTT_Options /
// Option_Allow_CR_LF "Y" or "N". A table ends at its first row whose Topic is blank.
//
// Rows of the file that the layout does not show (subscribe rows after the first in
// synchronous mode, rows beyond a table's 1024) are kept and written back after the shown
// rows, unchanged. A file that could not be read whole is only overwritten on the user's Yes.
#include <vector>

#include "URuleEditor.h"

namespace plat {
class TCheckBox;
class TXMLDocument;
} // namespace plat

class TFMQTT_Set_Topic : public TRuleEditorForm {
public:
    explicit TFMQTT_Set_Topic(plat::TComponent* owner);
    ~TFMQTT_Set_Topic() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Topic"; }
    void Set_Lang() override;

    void FormShow();
    // Validates the shown columns of the rows up to each table's first blank Topic; the first
    // failure shows one error box and gives false.
    bool Controllo_dati();
    // True when the text holds an odd number of "$".
    static bool Error_In_Topic_Template(plat::StringView text);
    // Controllo_dati, the guards against losing rows, then the file; closes with OK when
    // written, stays open otherwise.
    void Btn_OKClick();
    // Edits one cell in the topic and template editor; OK writes its text back.
    void Show_Form_Topic(TRule_Table& table, int row, int col);

    grid::TExtColumnGrid* ACG_Pub = nullptr;
    grid::TExtColumnGrid* ACG_Sub = nullptr;
    plat::TTabSheet* TS_MQTT_Publish = nullptr;
    plat::TTabSheet* TS_MQTT_Subscribe = nullptr;
    plat::TCheckBox* CB_Allow_CR_LF = nullptr;
    plat::TXMLDocument* XML1 = nullptr;

    int Working_Mode = 0;  // 0 synchronous, any other value asynchronous
    int Byte_IN = 1440;
    int Byte_OUT = 1440;
    TRule_Table& Pub() { return Table(0); }
    TRule_Table& Sub() { return Table(1); }

protected:
    // Auto size is done; opens the editor where the working mode and column allow it.
    void Table_DblClick(TRule_Table& table, int row, int col) override;

private:
    void Layout();
    void Load_File();
    void Save_File();

    // Rows of the file the tables do not show, as the cell texts of every real column.
    std::vector<std::vector<plat::String>> extraPub_, extraSub_;
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;
