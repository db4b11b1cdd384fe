#pragma once
// The one design of the SDO client and SDO server editors: a read page (grid sga) and a
// write page (grid sgb) of 21-pixel rows, one copy flag per page, the own Delete_Row. Every
// show resets both tables, makes the read page active, reloads the file and clears both
// copy flags; OK checks the read rows, then the write rows, and replaces the file.
#include "URuleEditor.h"
#include "URuleRows.h"

namespace plat {
class TXMLDocument;
}

class TSDOEditorForm : public TRuleEditorForm {
public:
    void FormShow();
    // True when both tables may be saved; else the first fault in an error box and false.
    bool Controllo_dati();
    void Btn_OK_Click();
    // Moves the cells of columns 1 .. last of the rows below `row` up one; the last row
    // becomes empty.
    static void Delete_Row(int row, grid::TExtColumnGrid* grid);
    void Btn_DelRowClick() override;

    plat::TTabSheet* TS_SDO_Read = nullptr;
    plat::TTabSheet* TS_SDO_Write = nullptr;
    grid::TExtColumnGrid* sga = nullptr;
    grid::TExtColumnGrid* sgb = nullptr;
    plat::TXMLDocument* XML1 = nullptr;
    int PROFINET_NByte_IN = 1440;
    int PROFINET_NByte_OUT = 1440;

    bool Do_Copy_SDO_Read() { return Table(0).Do_Copy; }
    bool Do_Copy_SDO_Write() { return Table(1).Do_Copy; }

protected:
    TSDOEditorForm(plat::TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                   TRow_Button_Texts row_texts, int client_width, TRule_Table read, TRule_Table write, int rows);
    virtual const plat::String& File() const = 0;
    virtual void Read(TRule_Rows& read, TRule_Rows& write, TRule_Load& load) const = 0;
    virtual plat::String Check(const TRule_Rows& read, const TRule_Rows& write) const = 0;
    virtual void Fill(const TRule_Rows& read, const TRule_Rows& write) = 0;
};
