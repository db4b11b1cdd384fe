#include "USDOEditor.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TSDOEditorForm::TSDOEditorForm(TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                               TRow_Button_Texts row_texts, int client_width, TRule_Table read, TRule_Table write,
                               int rows)
    : TRuleEditorForm(owner, design_caption, texts, row_texts, client_width, 337)
{
    XML1 = new TXMLDocument(this);
    for (TRule_Table* t : {&read, &write}) {
        t->Select_Row_From_Number = true;
        t->Row_Height = 21;
    }
    TRule_Table& r = Add_Table(u"TS_SDO_Read", u"sga", std::move(read), rows);
    TRule_Table& w = Add_Table(u"TS_SDO_Write", u"sgb", std::move(write), rows);
    TS_SDO_Read = r.Page;
    TS_SDO_Write = w.Page;
    sga = r.Grid;
    sgb = w.Grid;
    PageControl1->SetActivePage(TS_SDO_Read);
    Btn_OK->OnClick = [this](TObject*) { Btn_OK_Click(); };
    OnShow = [this](TObject*) { FormShow(); };
}

void TSDOEditorForm::FormShow()
{
    PageControl1->SetActivePage(TS_SDO_Read);
    PROFINET_NByte_IN = 1440;
    PROFINET_NByte_OUT = 1440;
    TRule_Rows read, write;
    TRule_Load load;
    Read(read, write, load);
    Put_Table_Cells(Table(0), read);
    Put_Table_Cells(Table(1), write);
    Clear_Copy_Flags();
    Report_Load(File(), load);
}

bool TSDOEditorForm::Controllo_dati()
{
    const String error = Check(Table_Cells(Table(0)), Table_Cells(Table(1)));
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TSDOEditorForm::Btn_OK_Click()
{
    if (!Controllo_dati()) return;
    Fill(Table_Cells(Table(0)), Table_Cells(Table(1)));
    if (!Save_Table_File(*XML1, File())) return;
    SetModalResult(mrOk);
}

void TSDOEditorForm::Delete_Row(int row, grid::TExtColumnGrid* g)
{
    const int n = g->RowCount();
    if (row < 1 || row >= n) return;
    const int last = g->ColCount() - 1;
    g->BeginUpdate();
    for (int r = row; r <= n - 2; ++r)
        for (int c = 1; c <= last; ++c) g->SetCells(c, r, g->Cells(c, r + 1));
    for (int c = 1; c <= last; ++c) g->SetCells(c, n - 1, String());
    g->EndUpdate();
}

void TSDOEditorForm::Btn_DelRowClick()
{
    TRule_Table& t = Table_In_View();
    const int row = t.Grid->Row();
    if (MessageDlg(Lang(t.Delete_Question) + IntToStr(row), mtConfirmation, mbYesNo) == mrYes) Delete_Row(row, t.Grid);
}
