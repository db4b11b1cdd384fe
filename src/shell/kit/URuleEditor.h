#pragma once
// The frame of every rule-table editor: the dialog frame (title panel, OK and Cancel) plus
// the four row buttons Delete Row, Insert Row, Copy Row and Paste Row (110 x 28 at left 252,
// 370, 488, 606 of the button panel), a page control PageControl1 filling the rest, and one
// column grid per page with its column descriptions, header hints and copy flag.
//
// The frame binds each table's events: a click on column 0 selects the row (where the table
// asks for it), a double click sizes a header column (Grid_DblClick_Auto_Size) and then
// calls Table_DblClick, the Enter key moves on (Grid_Enter_Next_Cell), and a header cell of
// a real column c > 0 shows hint c - 1. The row buttons act on the table of the page in
// view at its current row; the window decides OK itself (Btn_OK->OnClick, which sets the
// OK result: the button carries none).
//
// Reading and writing the window's file: the frame keeps whether the file of the last show
// was read whole, and offers the messages and questions that guard against losing rows
// (Report_*, Confirm_*, Save_Table_File). Row numbers in messages count from 1.
#include <initializer_list>
#include <memory>
#include <vector>

#include "UFormKit.h"
#include "plat/String.h"
#include "plat/Types.h"

struct TRule_Load;

namespace plat {
class TPageControl;
class TStringList;
class TTabSheet;
class TXMLDocument;
} // namespace plat

namespace grid {
class TExtColumnGrid;
}

// One real column of a table: header text number (its design text where the table has a
// blank), the editor kind (a grid::TEditorType), the width and the header hint's text
// number (-1: no hint); the cells' tint (0x00BBGGRR or a system colour) and whether their
// texts are centred.
struct TRule_Column {
    int Header = -1;
    const char16_t* Design = u"";
    int Editor = 0;
    int Width = 64;
    int Hint = -1;
    plat::TColor Color = plat::clWindow;
    bool Centered = false;
};

// Text numbers of the row buttons' captions and hints; -1 keeps the design caption
// ("Delete Row", "Insert Row", "Copy Row", "Paste Row") or leaves the hint empty.
struct TRow_Button_Texts {
    int DelRow = -1, InsRow = -1, CopyRow = -1, PasteRow = -1;
    int DelRow_Hint = -1, InsRow_Hint = -1, CopyRow_Hint = -1, PasteRow_Hint = -1;
};

// One table of the editor, on its own page.
struct TRule_Table {
    plat::TTabSheet* Page = nullptr;
    grid::TExtColumnGrid* Grid = nullptr;
    std::vector<TRule_Column> Columns;  // real column order, column 0 (the row number) first
    int Page_Text = -1;                 // page caption text number
    const char16_t* Page_Design = u"";  // page caption where the text is blank
    int Delete_Question = -1;           // asked before Delete Row, followed by the row number
    bool Insert_Y = false;              // Insert Row writes "Y" into column 1
    bool Select_Row_From_Number = false; // a click on column 0 selects that row
    bool Do_Copy = false;               // Row_Copy holds a row copied from this table
    std::vector<plat::String> Hints;    // header hint of real column c at c - 1 (Set_Lang)
    int Row_Height = 0;                 // height of every row; 0 keeps the grid's default
};

class TRuleEditorForm : public TDialogForm {
public:
    // The dialog frame at the client size with the row buttons and an empty PageControl1.
    TRuleEditorForm(plat::TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                    TRow_Button_Texts row_texts, int client_width, int client_height);
    ~TRuleEditorForm() override;
    // Frame texts, row buttons, page captions and column headers from Lang_Table.
    void Set_Lang() override;

    controls::TFadeButton* Btn_DelRow = nullptr;
    controls::TFadeButton* Btn_InsRow = nullptr;
    controls::TFadeButton* Btn_CopyRow = nullptr;
    controls::TFadeButton* Btn_PasteRow = nullptr;
    plat::TPageControl* PageControl1 = nullptr;

    int Table_Count() const { return static_cast<int>(tables_.size()); }
    TRule_Table& Table(int index) { return *tables_[static_cast<std::size_t>(index)]; }
    // The table of the page in view (the first table when no page is active).
    TRule_Table& Table_In_View();

    // Row buttons on the table in view at its current row: delete after the table's
    // question on Yes; insert (Insert_Y); copy, setting this table's copy flag and clearing
    // the others'; paste with this table's copy flag.
    virtual void Btn_DelRowClick();
    virtual void Btn_InsRowClick();
    virtual void Btn_CopyRowClick();
    virtual void Btn_PasteRowClick();

protected:
    // A new page (named page_name, its sheet, and grid_name its table) holding a column grid
    // with the columns described, one fixed row and column, and data_rows data rows. With
    // page_name null the grid fills the window between the panels instead, without a page
    // (PageControl1 is then hidden): the single-table editors.
    TRule_Table& Add_Table(const char16_t* page_name, const char16_t* grid_name, TRule_Table description,
                           int data_rows);
    // RowCount := data_rows + 1.
    static void Set_Data_Rows(TRule_Table& table, int data_rows);
    // Every data row: the row number in column 0, every other real column empty.
    static void Clear_Table(TRule_Table& table);
    void Clear_Copy_Flags();

    // ---- a table's cells as rows of texts (real columns, hidden ones included) ----------
    // Rows[r][c] is the cell of data row r + 1, real column c; column 0 is left empty.
    static std::vector<std::vector<plat::String>> Table_Cells(TRule_Table& table);
    // Every data row from `rows` (as many as both hold): the row number in column 0, the
    // other cells from the rows; one repaint at the end.
    static void Put_Table_Cells(TRule_Table& table, const std::vector<std::vector<plat::String>>& rows);
    // The drop-down items of real column `col`: a copy of `items`, which the caller builds once
    // per show and hands to every column that lists them.
    static void Set_Column_Items(TRule_Table& table, int col, const plat::TStringList& items);
    static void Set_Column_Items(TRule_Table& table, int col, std::initializer_list<const char16_t*> items);
    // "None", then "0" .. count - 1: the byte-position lists of the frame editors.
    static void Fill_Position_Items(plat::TStringList& items, int count);
    // What a reading of the window's file found beside the rows, said once: an unreadable
    // file in the box of Report_File_Error; else one error box naming the file with a line
    // for a missing table element, the first row lacking a required attribute, and the
    // number of rows left out. Nothing when the whole file was read. Sets File_Read.
    void Report_Load(const plat::String& file, const TRule_Load& load);
    // After Grid_DblClick_Auto_Size; row and col as the grid reports them (shown column).
    virtual void Table_DblClick(TRule_Table& table, int row, int col);

    // ---- the window's file --------------------------------------------------------------
    // How much of the window's file the last show read: everything (or no file), nothing
    // (it could not be parsed), or the rows before a faulty row or a missing table.
    enum class TFile_Read { Whole, Unreadable, Partial };
    TFile_Read File_Read = TFile_Read::Whole;
    // Error box: text 1107, the file, a line break and the reader's error.
    static void Report_File_Error(const plat::String& file, const plat::String& error);
    // Error box: text 1108, the row, text 1113, the file, a line break and the error.
    static void Report_Row_Error(const plat::String& file, int row, const plat::String& error);
    // True when the file was read whole, or the user says Yes to question 1109.
    bool Confirm_Overwrite_Unread() const;
    // The first data row whose key cell (real column key_col) is blank, when a later row of
    // the table is used (Grid_Row_Used); 0 when no used row would be cut off.
    static int Row_Ending_Table(TRule_Table& table, int key_col);
    // True unless used rows lie below the first blank key and the user answers No to
    // question 1110 followed by that row number.
    static bool Confirm_Rows_Below_Empty_Key(TRule_Table& table, int key_col);
    // Saves the document to the file; when it cannot be written, an error box with the
    // layer's text and false (the old file stays as it was).
    static bool Save_Table_File(plat::TXMLDocument& doc, const plat::String& file);
    // The converter's working mode: the integer text of Par_Gen/Working_Mode of the file;
    // 0 without the file or the element, or for a text that is not a number. A file that
    // cannot be parsed is reported (Report_File_Error) and gives 0.
    static int Read_Working_Mode(plat::TXMLDocument& doc, const plat::String& file);

private:
    void Bind_Table(TRule_Table& table);

    std::vector<std::unique_ptr<TRule_Table>> tables_;
    TRow_Button_Texts rowTexts_;
};
