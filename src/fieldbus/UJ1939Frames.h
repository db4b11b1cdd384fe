#pragma once
// The one design of the two J1939 frame editors: a single table sga of 512 rules in
// 21-pixel rows filling the window. Every show resets the table, reloads the window's file
// and clears the copy flag; OK checks every rule up to the first empty PGN and, when they
// pass, replaces the file and closes with OK; a fault shows its message and the window stays.
#include "UJ1939Rules.h"
#include "URuleEditor.h"

namespace plat {
class TXMLDocument;
}

class TJ1939FrameForm : public TRuleEditorForm {
public:
    void FormShow();
    // True when the table may be saved; else the first fault in an error box and false.
    bool Controllo_Dati();
    void Btn_OKClick();

    grid::TExtColumnGrid* sga = nullptr;
    plat::TXMLDocument* XML1 = nullptr;
    bool Do_Copy() { return Table(0).Do_Copy; }

protected:
    TJ1939FrameForm(plat::TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                    TRow_Button_Texts row_texts, int client_width, TRule_Table table);
    virtual const plat::String& File() const = 0;
    virtual void Read(TRule_Rows& rows, TRule_Load& load) = 0;
    virtual plat::String Check(const TRule_Rows& rows) const = 0;
    virtual void Fill(const TRule_Rows& rows) = 0;
    virtual void Reset_Size() = 0;
};
