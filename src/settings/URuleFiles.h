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
// What was left unread is noted in TRead_Result: the window reports it at show and asks
// before OK replaces the file with the tables.
//
// Files are written without a declaration: the root, then the comment "SW_VERSION = 1.114"
// at document level; every attribute in its column's order on every row. Writing replaces
// the file atomically and raises EXMLDocError when it cannot (the old file stays intact).
#include <functional>
#include <span>
#include <vector>

#include "plat/String.h"

namespace plat {
class IXMLNode;
class TXMLDocument;
} // namespace plat

using TCellRows = std::vector<std::vector<plat::String>>;

// One file attribute of a table: its real column and its read default; Default null marks a
// required attribute. Topic_Link marks the column whose attribute is an index into a topic
// list rather than the cell text (read raw, written through the caller's function).
struct TRule_Column {
    int Col;
    const char16_t* Attribute;
    const char16_t* Default;
    bool Topic_Link = false;
};

struct TRead_Result {
    // The user's message: file and reason; empty when the whole file was read.
    plat::String Problem;
    // Part of the file is not in the tables (parse error, a row lacking a required
    // attribute, a missing table element, rows beyond the table's size).
    bool Unread = false;
};

// Rows holding `rows` data rows of `cols` real columns, every cell empty.
TCellRows Empty_Rows(int rows, int cols);

// Integer value of a cell text, -1 when the text is not an integer.
int Rule_Int(plat::StringView text);

// Working_Mode of ParGen.xml: the text of the root's child Working_Mode as an integer; 0 when
// the file, the element or a number is missing. A file that cannot be parsed also gives 0 and
// sets `problem` to the message naming it.
int Read_Working_Mode(const plat::String& file_pargen, plat::String& problem);

// The Topic attribute of every row of `table` ("MQTT_Publish" or "MQTT_Subscribe") of
// MQTT_Set_Topic.xml, in file order; empty when the file does not exist. A file that cannot be
// parsed, a missing table element or a row without Topic gives what was read before it and
// sets `problem`.
std::vector<plat::String> Read_Topics(const plat::String& file_topic, plat::StringView table, plat::String& problem);

// Reads the file's tables into `tables` (one per table name, each with `max_rows` rows of
// `col_count` columns, already sized by the caller and left as they are where the file has
// nothing). Does nothing and reports nothing when the file does not exist.
struct TTable_Layout {
    const char16_t* Element;
    std::span<const TRule_Column> Columns;
};
TRead_Result Read_Rule_File(const plat::String& file, std::span<const TTable_Layout> layouts,
                            std::span<TCellRows* const> tables);

// Number of rows saved from a table: the rows before the first whose key cell, trimmed, is
// empty (every row when none is).
int Saved_Row_Count(const TCellRows& rows, int key_col);
// First row (1-based) at or after `from` (0-based index) that holds a text other than blanks
// in a column other than 0 and the `check_cols`; 0 when there is none.
int First_Used_Row(const TCellRows& rows, int from, std::span<const int> check_cols);

// The link column's attribute value for a row of table `table` (0-based indexes) and its cells.
using TTopic_Link_Text = std::function<plat::String(int table, int row, const std::vector<plat::String>& cells)>;

// Writes `root` with each table's first `counts[i]` rows, then the version comment, and saves
// the document to `file` (EXMLDocError when it cannot be written).
void Write_Rule_File(const plat::String& file, const char16_t* root, std::span<const TTable_Layout> layouts,
                     std::span<const TCellRows* const> tables, std::span<const int> counts,
                     const TTopic_Link_Text& link);

// The message shown when a file could not be read whole: text 1470, the file, ": ", the reason.
plat::String Read_Problem_Text(const plat::String& file, const plat::String& reason);
