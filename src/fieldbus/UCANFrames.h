#pragma once
// The one design of the two CAN frame editors: a single table of 512 rules filling the
// window, 22-pixel rows, eight byte columns listing "None" and "0" .. MAX_Byte - 1.
//
// Every show resets the table (Enable "Y", every other cell empty), rebuilds the byte
// lists once and hands them to the eight columns, reloads the window's file and clears the
// copy flag: Cancel loses every edit. OK validates the enabled rules up to the first empty
// CobID and, when they pass, replaces the file with the rows up to there and closes with
// OK; a fault shows its message and the window stays. What a file lacked (it could not be
// parsed, rows beyond the 512th) is reported once at show.
#include "UCANRules.h"
#include "URuleEditor.h"

namespace plat {
class TXMLDocument;
}

class TCANFrameForm : public TRuleEditorForm {
public:
    void FormShow();
    // True when the table may be saved; else the first fault in an error box and false.
    bool Controllo_dati();
    void Btn_OKClick();

    int MAX_Byte = canrules::Max_Byte;
    bool Do_Copy() { return Table(0).Do_Copy; }
    grid::TExtColumnGrid* Grid() { return Table(0).Grid; }
    plat::TXMLDocument* XML1 = nullptr;

protected:
    TCANFrameForm(plat::TComponent* owner, bool transmit, const char16_t* design_caption, TFrame_Texts texts,
                  TRow_Button_Texts row_texts, int client_width, const char16_t* grid_name, TRule_Table table);
    virtual const plat::String& File() const = 0;
    virtual void Read(TRule_Rows& rows, TRule_Load& load) = 0;

private:
    bool transmit_;
};
