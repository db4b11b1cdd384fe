#include "UCANFrames.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "plat/Classes.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/Xml.h"

using namespace plat;
using namespace canrules;

TCANFrameForm::TCANFrameForm(TComponent* owner, bool transmit, const char16_t* design_caption, TFrame_Texts texts,
                             TRow_Button_Texts row_texts, int client_width, const char16_t* grid_name,
                             TRule_Table table)
    : TRuleEditorForm(owner, design_caption, texts, row_texts, client_width, 337), transmit_(transmit)
{
    XML1 = new TXMLDocument(this);
    table.Insert_Y = true;
    table.Row_Height = 22;
    TRule_Table& t = Add_Table(nullptr, grid_name, std::move(table), Rows);
    Set_Column_Items(t, transmit ? T_Type : R_Type, {Type_A, Type_B});
    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
    OnShow = [this](TObject*) { FormShow(); };
}

void TCANFrameForm::FormShow()
{
    TRule_Table& t = Table(0);
    if (transmit_) Set_Lang();  // the transmit window rebuilds its hint list at every show
    MAX_Byte = Max_Byte;
    TStringList items;
    Fill_Position_Items(items, MAX_Byte);
    const int byte1 = transmit_ ? T_Byte1 : R_Byte1;
    for (int k = 0; k < 8; ++k) Set_Column_Items(t, byte1 + k, items);
    TRule_Rows rows;
    TRule_Load load;
    Read(rows, load);
    Put_Table_Cells(t, rows);
    Clear_Copy_Flags();
    if (t.Grid->CanFocus()) t.Grid->SetFocus();
    Report_Load(File(), load);
}

bool TCANFrameForm::Controllo_dati()
{
    const TRule_Rows rows = Table_Cells(Table(0));
    const String error = transmit_ ? Check_Transmit(rows, MAX_Byte) : Check_Receive(rows, MAX_Byte);
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TCANFrameForm::Btn_OKClick()
{
    if (!Controllo_dati()) return;
    const TRule_Rows rows = Table_Cells(Table(0));
    if (transmit_)
        Fill_Transmit(*XML1, rows);
    else
        Fill_Receive(*XML1, rows);
    if (!Save_Table_File(*XML1, File())) return;
    SetModalResult(mrOk);
}
