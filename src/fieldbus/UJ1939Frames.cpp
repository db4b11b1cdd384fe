#include "UJ1939Frames.h"

#include "ExtCGrid.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/Xml.h"

using namespace plat;

TJ1939FrameForm::TJ1939FrameForm(TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                                 TRow_Button_Texts row_texts, int client_width, TRule_Table table)
    : TRuleEditorForm(owner, design_caption, texts, row_texts, client_width, 337)
{
    XML1 = new TXMLDocument(this);
    table.Row_Height = 21;
    table.Select_Row_From_Number = true;
    sga = Add_Table(nullptr, u"sga", std::move(table), j1939rules::Rows).Grid;
    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
    OnShow = [this](TObject*) { FormShow(); };
}

void TJ1939FrameForm::FormShow()
{
    Reset_Size();
    TRule_Rows rows;
    TRule_Load load;
    Read(rows, load);
    Put_Table_Cells(Table(0), rows);
    Clear_Copy_Flags();
    Report_Load(File(), load);
}

bool TJ1939FrameForm::Controllo_Dati()
{
    const String error = Check(Table_Cells(Table(0)));
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TJ1939FrameForm::Btn_OKClick()
{
    if (!Controllo_Dati()) return;
    Fill(Table_Cells(Table(0)));
    if (!Save_Table_File(*XML1, File())) return;
    SetModalResult(mrOk);
}
