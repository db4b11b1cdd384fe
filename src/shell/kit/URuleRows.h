#pragma once
// Rule-table files of the fieldbus and building editors, read and written apart from the
// windows so that every reader default, check and file layout is tested without a form.
//
// A table is held as cell texts by real column: Rows[r][c] is the text of data row r + 1 in
// column c (column 0, the row number, is never read or written here).
//
// Reading never stops half-way. Each attribute of a row is read by itself:
// - a guarded attribute (one with a default) that a row lacks takes its default;
// - a required attribute (no default) that a row lacks leaves that cell empty; the first
//   such row and attribute are recorded, and every later row is still read.
// A file that cannot be parsed gives nothing and records its reason; a table element the
// file lacks is recorded and its table stays as it was. Rows beyond the table's size are
// not read and are counted. The window reports what TRule_Load holds, once per file.
//
// Writing: the root element, the comment at document level after it, then the rows, each
// with every attribute of its table in the table's order, holding the cell text unchanged.
#include <span>
#include <vector>

#include "plat/String.h"
#include "plat/Xml.h"

using TRule_Rows = std::vector<std::vector<plat::String>>;

// One attribute of a table's rows: its name in the file, its real column, and the text a
// row lacking it gives (nullptr: required, the cell stays empty and the lack is reported).
struct TRule_Attribute {
    const char16_t* Name;
    int Col;
    const char16_t* Default = nullptr;
};

// What a reading found beside the rows.
struct TRule_Load {
    bool Found = false;              // the file exists (and is a regular file)
    plat::String Unreadable;         // why the file could not be parsed; empty when it could
    plat::String Missing_Table;      // the first table element the file lacks
    int Missing_Row = 0;             // the first row (from 1) lacking a required attribute
    plat::String Missing_Attribute;  // and that attribute
    int Rows_Left_Out = 0;           // rows of the file beyond the tables' sizes, all tables
    // True when the rows shown are the whole file (or there is no file).
    bool Whole() const
    {
        return Unreadable.empty() && Missing_Table.empty() && Missing_Row == 0 && Rows_Left_Out == 0;
    }
};

// `rows` data rows of `cols` real columns, every cell empty.
TRule_Rows Empty_Rule_Rows(int rows, int cols);

// Parses the file into `doc`. False when there is nothing to read: no file (load.Found
// false), or a file that cannot be parsed (load.Unreadable holds the reason).
bool Open_Rule_File(plat::TXMLDocument& doc, const plat::String& file, TRule_Load& load);

// The child element of `root` named `name`; a null node, recorded in load.Missing_Table
// (the first one only), when there is none.
plat::IXMLNode Rule_Table_Element(const plat::IXMLNode& root, plat::StringView name, TRule_Load& load);

// Reads the element children of `parent` in order (only those named `row_name`, or every
// element when it is empty) into rows[0], rows[1], ...; cells of columns no attribute names
// stay as they are. Returns the number of rows read.
int Read_Rule_Rows(const plat::IXMLNode& parent, plat::StringView row_name, std::span<const TRule_Attribute> attrs,
                   TRule_Rows& rows, TRule_Load& load);

// The number of rows saved: those before the first whose key cell, trimmed, is empty.
int Rule_Row_Count(const TRule_Rows& rows, int key_col);

// Empties `doc` and gives it the root element `root` followed by the comment at document
// level; returns the root.
plat::IXMLNode New_Rule_Document(plat::TXMLDocument& doc, plat::StringView root, const plat::String& comment);

// Adds one `row_name` element per row of rows[0 .. count) under `parent`, every attribute
// in order, from its cell unchanged.
void Write_Rule_Rows(plat::IXMLNode parent, plat::StringView row_name, std::span<const TRule_Attribute> attrs,
                     const TRule_Rows& rows, int count);
