#include "URuleEditor.h"

#include <algorithm>

#include "ExtCGrid.h"
#include "UComon.h"
#include "URuleRows.h"
#include "plat/ComCtrls.h"
#include "plat/Controls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TRuleEditorForm::TRuleEditorForm(TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                                 TRow_Button_Texts row_texts, int client_width, int client_height)
    : TDialogForm(owner, design_caption, texts, client_width, client_height), rowTexts_(row_texts)
{
    // OK validates and writes in the window's own handler, which sets the OK result itself.
    Btn_OK->SetModalResult(mrNone);
    // Design captions, kept while a window's texts are blank.
    Btn_OK->SetCaption(u"OK");
    Btn_Cancel->SetCaption(u"Cancel");
    Btn_DelRow = New_Button(this, P_Button, 252, 6, 110, 28);
    Btn_DelRow->SetCaption(u"Delete Row");
    Btn_InsRow = New_Button(this, P_Button, 370, 6, 110, 28);
    Btn_InsRow->SetCaption(u"Insert Row");
    Btn_CopyRow = New_Button(this, P_Button, 488, 6, 110, 28);
    Btn_CopyRow->SetCaption(u"Copy Row");
    Btn_PasteRow = New_Button(this, P_Button, 606, 6, 110, 28);
    Btn_PasteRow->SetCaption(u"Paste Row");
    Btn_DelRow->OnClick = [this](TObject*) { Btn_DelRowClick(); };
    Btn_InsRow->OnClick = [this](TObject*) { Btn_InsRowClick(); };
    Btn_CopyRow->OnClick = [this](TObject*) { Btn_CopyRowClick(); };
    Btn_PasteRow->OnClick = [this](TObject*) { Btn_PasteRowClick(); };

    PageControl1 = new TPageControl(this);
    PageControl1->SetName(u"PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
}

TRuleEditorForm::~TRuleEditorForm() = default;

void TRuleEditorForm::Set_Lang()
{
    TDialogForm::Set_Lang();
    const auto button = [this](int index, controls::TFadeButton* b, bool hint) {
        Apply_Text(index, [b, hint](const String& t) { hint ? b->SetHint(t) : b->SetCaption(t); });
    };
    button(rowTexts_.DelRow, Btn_DelRow, false);
    button(rowTexts_.InsRow, Btn_InsRow, false);
    button(rowTexts_.CopyRow, Btn_CopyRow, false);
    button(rowTexts_.PasteRow, Btn_PasteRow, false);
    button(rowTexts_.DelRow_Hint, Btn_DelRow, true);
    button(rowTexts_.InsRow_Hint, Btn_InsRow, true);
    button(rowTexts_.CopyRow_Hint, Btn_CopyRow, true);
    button(rowTexts_.PasteRow_Hint, Btn_PasteRow, true);
    for (auto& t : tables_) {
        TRule_Table& table = *t;
        if (table.Page) {
            table.Page->SetCaption(table.Page_Design);
            Apply_Text(table.Page_Text, [&table](const String& s) { table.Page->SetCaption(s); });
        }
        grid::TGridColumnCollection* cols = table.Grid->Columns();
        table.Hints.clear();
        for (std::size_t c = 0; c < table.Columns.size(); ++c) {
            const TRule_Column& d = table.Columns[c];
            grid::TGridColumnItem* item = cols->GetItem(static_cast<int>(c));
            const String header = Lang(d.Header);
            item->SetHeader(Has_Text(header) ? header : String(d.Design));
            if (c > 0) table.Hints.push_back(d.Hint >= 0 ? Lang(d.Hint) : String());
        }
    }
}

TRule_Table& TRuleEditorForm::Add_Table(const char16_t* page_name, const char16_t* grid_name,
                                       TRule_Table description, int data_rows)
{
    auto owned = std::make_unique<TRule_Table>(std::move(description));
    TRule_Table& table = *owned;
    tables_.push_back(std::move(owned));

    if (page_name) {
        table.Page = new TTabSheet(this);
        table.Page->SetName(page_name);
        table.Page->SetPageControl(PageControl1);
        table.Page->SetCaption(table.Page_Design);
    } else {
        PageControl1->SetVisible(false);
    }

    auto* g = new grid::TExtColumnGrid(this);
    table.Grid = g;
    g->SetName(grid_name);
    if (table.Page)
        g->SetParent(table.Page);
    else
        g->SetParent(this);
    g->SetAlign(alClient);
    g->SetShowHint(true);
    g->SetColCount(static_cast<int>(table.Columns.size()));
    g->SetRowCount(data_rows + 1);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                               goColSizing, goEditing});
    g->SyncColumnCount();
    grid::TGridColumnCollection* cols = g->Columns();
    for (std::size_t c = 0; c < table.Columns.size(); ++c) {
        const TRule_Column& d = table.Columns[c];
        grid::TGridColumnItem* item = cols->GetItem(static_cast<int>(c));
        item->SetEditor(static_cast<grid::TEditorType>(d.Editor));
        item->SetWidth(d.Width);
        item->SetHeader(d.Design);
        item->CheckTrue = u"Y";
        item->CheckFalse = u"N";
        item->ReadOnly = false;
        item->SetColor(d.Color);
        if (d.Centered) item->SetAlignment(taCenter);
        if (c == 0) item->SetFixed(true);
    }
    if (table.Row_Height > 0) g->SetDefaultRowHeight(table.Row_Height);
    Clear_Table(table);
    Bind_Table(table);
    return table;
}

void TRuleEditorForm::Bind_Table(TRule_Table& table)
{
    grid::TExtColumnGrid* g = table.Grid;
    TRule_Table* t = &table;
    g->OnClickCell = [t](TObject*, int ARow, int ACol) {
        if (t->Select_Row_From_Number && ACol == 0 && ARow > 0) t->Grid->SelectRows(ARow, 1);
    };
    g->OnDblClickCell = [this, t](TObject*, int ARow, int ACol) {
        Grid_DblClick_Auto_Size(t->Grid, ARow, ACol);
        Table_DblClick(*t, ARow, ACol);
    };
    g->OnKeyPress = [t](TObject*, char16_t& Key) { Grid_Enter_Next_Cell(t->Grid, Key); };
    g->OnGridHint = [t](TObject*, int ARow, int ACol, String& HintStr) {
        if (ARow != 0) return;
        const int real = t->Grid->RealColIndex(ACol);
        if (real > 0 && static_cast<std::size_t>(real - 1) < t->Hints.size())
            HintStr = t->Hints[static_cast<std::size_t>(real - 1)];
    };
}

void TRuleEditorForm::Set_Data_Rows(TRule_Table& table, int data_rows)
{
    table.Grid->SetRowCount(data_rows + 1);
}

void TRuleEditorForm::Clear_Table(TRule_Table& table)
{
    grid::TExtColumnGrid* g = table.Grid;
    const int last = g->ColCount() + g->NumHiddenColumns() - 1;
    g->BeginUpdate();
    for (int r = 1; r < g->RowCount(); ++r) {
        g->SetCells(0, r, IntToStr(r));
        for (int c = 1; c <= last; ++c) g->SetCells(c, r, String());
    }
    g->EndUpdate();
}

void TRuleEditorForm::Clear_Copy_Flags()
{
    for (auto& t : tables_) t->Do_Copy = false;
}

std::vector<std::vector<String>> TRuleEditorForm::Table_Cells(TRule_Table& table)
{
    grid::TExtColumnGrid* g = table.Grid;
    const int rows = g->RowCount() - 1;
    const int cols = static_cast<int>(table.Columns.size());
    std::vector<std::vector<String>> out = Empty_Rule_Rows(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 1; c < cols; ++c)
            out[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = g->Cells(c, r + 1);
    return out;
}

void TRuleEditorForm::Put_Table_Cells(TRule_Table& table, const std::vector<std::vector<String>>& rows)
{
    grid::TExtColumnGrid* g = table.Grid;
    const std::size_t n = std::min(rows.size(), static_cast<std::size_t>(g->RowCount() - 1));
    const std::size_t cols = table.Columns.size();
    g->BeginUpdate();
    for (std::size_t r = 0; r < n; ++r) {
        const int row = static_cast<int>(r) + 1;
        g->SetCells(0, row, IntToStr(row));
        for (std::size_t c = 1; c < rows[r].size() && c < cols; ++c)
            g->SetCells(static_cast<int>(c), row, rows[r][c]);
    }
    g->EndUpdate();
}

void TRuleEditorForm::Set_Column_Items(TRule_Table& table, int col, const TStringList& items)
{
    table.Grid->Columns()->GetItem(col)->ComboItems()->Assign(&items);
}

void TRuleEditorForm::Set_Column_Items(TRule_Table& table, int col, std::initializer_list<const char16_t*> items)
{
    TStringList* list = table.Grid->Columns()->GetItem(col)->ComboItems();
    list->BeginUpdate();
    list->Clear();
    for (const char16_t* t : items) list->Add(t);
    list->EndUpdate();
}

void TRuleEditorForm::Fill_Position_Items(TStringList& items, int count)
{
    items.BeginUpdate();
    items.Clear();
    items.Add(u"None");
    for (int i = 0; i < count; ++i) items.Add(IntToStr(i));
    items.EndUpdate();
}

void TRuleEditorForm::Report_Load(const String& file, const TRule_Load& load)
{
    if (load.Whole()) {
        File_Read = TFile_Read::Whole;
        return;
    }
    if (!load.Unreadable.empty()) {
        File_Read = TFile_Read::Unreadable;
        Report_File_Error(file, load.Unreadable);
        return;
    }
    File_Read = TFile_Read::Partial;
    String text = u"Error! The file " + file + u" was not read as it is:";
    if (!load.Missing_Table.empty())
        text += u"\r\nthe element \"" + load.Missing_Table + u"\" is missing: its table stays empty.";
    if (load.Missing_Row > 0)
        text += u"\r\nrow " + IntToStr(load.Missing_Row) + u" lacks the attribute \"" + load.Missing_Attribute +
                u"\": every row lacking it is loaded with that cell empty.";
    if (load.Rows_Left_Out > 0)
        text += u"\r\nrows beyond the last row of the table, left out (OK saves the table without them): " +
                IntToStr(load.Rows_Left_Out);
    MessageDlg(text, mtError, {mbOK});
}

TRule_Table& TRuleEditorForm::Table_In_View()
{
    TTabSheet* page = PageControl1->ActivePage();
    for (auto& t : tables_)
        if (t->Page == page) return *t;
    return *tables_.front();
}

void TRuleEditorForm::Table_DblClick(TRule_Table&, int, int) {}

void TRuleEditorForm::Btn_DelRowClick()
{
    TRule_Table& t = Table_In_View();
    const int row = t.Grid->Row();
    if (MessageDlg(Lang(t.Delete_Question) + IntToStr(row), mtConfirmation, mbYesNo) == mrYes)
        Grid_Delete_Row(row, t.Grid);
}

void TRuleEditorForm::Btn_InsRowClick()
{
    TRule_Table& t = Table_In_View();
    Grid_Insert_Row(t.Grid->Row(), t.Grid, t.Insert_Y);
}

void TRuleEditorForm::Btn_CopyRowClick()
{
    TRule_Table& t = Table_In_View();
    Grid_Copy_Row(t.Grid, t.Grid->Row());
    Clear_Copy_Flags();
    t.Do_Copy = true;
}

void TRuleEditorForm::Btn_PasteRowClick()
{
    TRule_Table& t = Table_In_View();
    Grid_Paste_Row(t.Grid, t.Grid->Row(), t.Do_Copy);
}

void TRuleEditorForm::Report_File_Error(const String& file, const String& error)
{
    MessageDlg(Lang(1107) + file + u"\r\n" + error, mtError, {mbOK});
}

void TRuleEditorForm::Report_Row_Error(const String& file, int row, const String& error)
{
    MessageDlg(Lang(1108) + IntToStr(row) + Lang(1113) + file + u"\r\n" + error, mtError, {mbOK});
}

bool TRuleEditorForm::Confirm_Overwrite_Unread() const
{
    if (File_Read == TFile_Read::Whole) return true;
    return MessageDlg(Lang(1109), mtConfirmation, mbYesNo) == mrYes;
}

int TRuleEditorForm::Row_Ending_Table(TRule_Table& table, int key_col)
{
    grid::TExtColumnGrid* g = table.Grid;
    const int n = g->RowCount();
    int end = 0;
    for (int r = 1; r < n; ++r) {
        if (end == 0) {
            if (!Has_Text(g->Cells(key_col, r))) end = r;
        } else if (Grid_Row_Used(g, r)) {
            return end;
        }
    }
    return 0;
}

bool TRuleEditorForm::Confirm_Rows_Below_Empty_Key(TRule_Table& table, int key_col)
{
    const int end = Row_Ending_Table(table, key_col);
    if (end == 0) return true;
    return MessageDlg(Lang(1110) + IntToStr(end), mtConfirmation, mbYesNo) == mrYes;
}

bool TRuleEditorForm::Save_Table_File(TXMLDocument& doc, const String& file)
{
    try {
        doc.SaveToFile(file);
        return true;
    } catch (const Exception& e) {
        MessageDlg(e.Message(), mtError, {mbOK});
        return false;
    }
}

int TRuleEditorForm::Read_Working_Mode(TXMLDocument& doc, const String& file)
{
    if (!FileExists(file)) return 0;
    try {
        doc.LoadFromFile(file);
    } catch (const Exception& e) {
        Report_File_Error(file, e.Message());
        return 0;
    }
    try {
        IXMLNode par_gen = doc.ChildNodes().FindNode(u"Par_Gen");
        if (!par_gen) return 0;
        IXMLNode mode = par_gen.ChildNodes().FindNode(u"Working_Mode");
        if (!mode) return 0;
        return StrToIntDef(mode.Text(), 0);
    } catch (const EXMLDocError&) {
        return 0;  // an element holding elements is no number either
    }
}
