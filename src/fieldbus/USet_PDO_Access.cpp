#include "USet_PDO_Access.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;
using namespace grid;
using namespace pdorules;

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

namespace {

constexpr TColor Id = 0xFEFAE0, Add = 0xF4D6FC, Time = 0xA8FFA8;

// The columns both tables share: N, COB-ID, Dimension, Add B1 .. Add B8 (text numbers from
// `first`, hints from `hint`).
std::vector<TRule_Column> Common_Columns(int first, int hint)
{
    std::vector<TRule_Column> c = {
        {first, u"N", edNormal, 40},
        {first + 1, u"COB-ID", edNormal, 65, hint, Id},
        {first + 2, u"Dimension", edNormal, 65, hint + 1, Id},
    };
    static const char16_t* const adds[] = {u"Add B1", u"Add B2", u"Add B3", u"Add B4",
                                           u"Add B5", u"Add B6", u"Add B7", u"Add B8"};
    for (int k = 0; k < 8; ++k) c.push_back({first + 3 + k, adds[k], edNormal, 45, hint + 2 + k, Add});
    return c;
}

TRule_Table Receive_Table()
{
    TRule_Table t;
    t.Columns = Common_Columns(2316, 2343);
    t.Columns.push_back({2327, u"TimeOut", edNormal, 65, 2353, Time});
    t.Columns.push_back({2328, u"Mnemonic", edNormal, 173, 2354, clWhite});
    t.Page_Text = 2314;
    t.Page_Design = u"Receive PDO";
    return t;
}

TRule_Table Transmit_Table()
{
    TRule_Table t;
    t.Columns = Common_Columns(2329, 2355);
    t.Columns.push_back({2340, u"Send Time", edNormal, 65, 2365, Time});
    t.Columns.push_back({2341, u"On Change", edDataCheckBox, 68, 2366, Time, true});
    t.Columns.push_back({2342, u"Mnemonic", edNormal, 105, 2367, clWhite});
    t.Page_Text = 2315;
    t.Page_Design = u"Transmit PDO";
    return t;
}

} // namespace

TFSet_PDO_Access::TFSet_PDO_Access(TComponent* owner)
    : TRuleEditorForm(owner, u"Set PDO Access", {2300, 2301, 2302, 2303, 2308, 2309},
                      {2304, 2305, 2306, 2307, 2310, 2311, 2312, 2313}, 798, 337)
{
    FSet_PDO_Access = this;
    XML1 = new TXMLDocument(this);
    for (bool receive : {true, false}) {
        TRule_Table t = receive ? Receive_Table() : Transmit_Table();
        t.Delete_Question = 2391;
        t.Select_Row_From_Number = true;
        t.Row_Height = 21;
        TRule_Table& added = Add_Table(receive ? u"TS_Receive_PDO" : u"TS_Transmit_PDO", receive ? u"sga" : u"sgb",
                                       std::move(t), Rows);
        (receive ? TS_Receive_PDO : TS_Transmit_PDO) = added.Page;
        (receive ? sga : sgb) = added.Grid;
    }
    PageControl1->SetActivePage(TS_Receive_PDO);
    Btn_OK->OnClick = [this](TObject*) { Btn_OK_Click(); };
    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFSet_PDO_Access::~TFSet_PDO_Access()
{
    if (FSet_PDO_Access == this) FSet_PDO_Access = nullptr;
}

void TFSet_PDO_Access::FormShow()
{
    PageControl1->SetActivePage(TS_Receive_PDO);
    PROFINET_NByte_IN = NByte;
    PROFINET_NByte_OUT = NByte;
    TRule_Rows receive, transmit;
    TRule_Load load;
    Read_PDO(File_PDO_CANopen, receive, transmit, load);
    Put_Table_Cells(Table(0), receive);
    Put_Table_Cells(Table(1), transmit);
    Clear_Copy_Flags();
    Report_Load(File_PDO_CANopen, load);
}

bool TFSet_PDO_Access::Controllo_dati()
{
    const String error = Check_PDO(Table_Cells(Table(0)), Table_Cells(Table(1)), PROFINET_NByte_IN, PROFINET_NByte_OUT);
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TFSet_PDO_Access::Btn_OK_Click()
{
    if (!Controllo_dati()) return;
    Fill_PDO(*XML1, Table_Cells(Table(0)), Table_Cells(Table(1)));
    if (!Save_Table_File(*XML1, File_PDO_CANopen)) return;
    SetModalResult(mrOk);
}

void TFSet_PDO_Access::Delete_Row(int row, TExtColumnGrid* g)
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

void TFSet_PDO_Access::Btn_DelRowClick()
{
    TRule_Table& t = Table_In_View();
    const int row = t.Grid->Row();
    if (MessageDlg(Lang(t.Delete_Question) + IntToStr(row), mtConfirmation, mbYesNo) == mrYes) Delete_Row(row, t.Grid);
}
