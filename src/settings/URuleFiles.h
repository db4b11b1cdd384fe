#pragma once
// Reading and writing of the access editors' rule-table files, apart from the windows so
// that the rules are tested without a form.
//
// A table is held as cell texts by real column index: Rows[r][c] is the text of data row
// r + 1 in column c; column 0 (the row number) is part of each row but never read or
// written here.
//
// Reading parses the whole file before anything is taken from it, so a file that cannot be
// parsed leaves the tables empty. Attributes that every row carries are required: a row
// lacking one, or a missing table element, ends the reading there (the rows before it stay).
// Attributes added by later file versions are guarded and take their column's default.
// What was left unread is returned in TRead_Result; the window reports it at show and asks
// before OK replaces the file with the tables.
//
// Files are written without a declaration: the root, then the comment "SW_VERSION = 1.114"
// at document level; every attribute in its column's order on every row.
#include <functional>
#include <span>
#include <vector>

#include "plat/String.h"

namespace plat {
class TXMLDocument;
} // namespace plat

using TCellRows = std::vector<std::vector<plat::String>>;

// One file attribute of a table: its real column and its read default; Default null marks a
// required attribute. Topic_Link marks the column whose attribute is an index into a topic
// list rather than the cell text (read raw, written through the caller's function).
struct TFile_Column {
    int Col;
    const char16_t* Attribute;
    const char16_t* Default;
    bool Topic_Link = false;
};

struct TTable_Layout {
    const char16_t* Element;
    std::span<const TFile_Column> Columns;
};

// What a reading left unread; Error empty when the whole file (or no file) was read.
struct TRead_Result {
    bool Unreadable = false;  // the file could not be parsed: nothing was taken from it
    int Row = 0;              // > 0: the reading stopped at this row (from 1) of a table
    plat::String Error;       // the reason, for the user
    bool Whole() const { return Error.empty(); }
};

// Rows holding `rows` data rows of `cols` real columns, every cell empty.
TCellRows Empty_Rows(int rows, int cols);

// The Topic attribute of every row of `table` ("MQTT_Publish" or "MQTT_Subscribe") of
// MQTT_Set_Topic.xml, in file order; empty when the file does not exist. A file that cannot
// be parsed, a missing table element or a row without Topic gives what was read before it
// and says so in `result`.
std::vector<plat::String> Read_Topics(const plat::String& file_topic, plat::StringView table, TRead_Result& result);

// Reads the file's tables into `tables` (one per layout, each already sized by the caller:
// its row count is the table's size, and cells the file does not give stay as they are).
// Rows beyond a table's size are not read and make the result partial. Nothing happens and
// nothing is reported when the file does not exist.
TRead_Result Read_Rule_File(const plat::String& file, std::span<const TTable_Layout> layouts,
                            std::span<TCellRows* const> tables);

// The entry of a topic list at the index; empty when there is none.
plat::String Get_Topic_From_Index(const std::vector<plat::String>& topics, int index);

// Number of rows saved from a table: the rows before the first whose key cell, trimmed, is
// empty (every row when none is).
int Saved_Row_Count(const TCellRows& rows, int key_col);

// The link column's attribute value for row `row` of table `table` (0-based) and its cells.
using TTopic_Link_Text = std::function<plat::String(int table, int row, const std::vector<plat::String>& cells)>;

// Empties `doc` and fills it: `root` holding each table's first `counts[i]` rows, then the
// version comment. The caller saves it.
void Fill_Rule_Document(plat::TXMLDocument& doc, const char16_t* root, std::span<const TTable_Layout> layouts,
                        std::span<const TCellRows* const> tables, std::span<const int> counts,
                        const TTopic_Link_Text& link);
