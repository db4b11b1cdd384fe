#include "URuleRows.h"

#include "plat/Files.h"
#include "plat/SysUtils.h"

using namespace plat;

TRule_Rows Empty_Rule_Rows(int rows, int cols)
{
    return TRule_Rows(static_cast<std::size_t>(rows), std::vector<String>(static_cast<std::size_t>(cols)));
}

bool Open_Rule_File(TXMLDocument& doc, const String& file, TRule_Load& load)
{
    load.Found = FileExists(file);
    if (!load.Found) return false;
    try {
        doc.LoadFromFile(file);
        if (!doc.DocumentElement()) throw EXMLDocError(u"No root element");
    } catch (const Exception& e) {
        load.Unreadable = e.Message();
        if (load.Unreadable.empty()) load.Unreadable = u"not a readable XML file";
        return false;
    }
    return true;
}

IXMLNode Rule_Table_Element(const IXMLNode& root, StringView name, TRule_Load& load)
{
    IXMLNode node = root ? root.ChildNodes().FindNode(name) : IXMLNode();
    if (!node && load.Missing_Table.empty()) load.Missing_Table = String(name);
    return node;
}

int Read_Rule_Rows(const IXMLNode& parent, StringView row_name, std::span<const TRule_Attribute> attrs,
                   TRule_Rows& rows, TRule_Load& load)
{
    if (!parent) return 0;
    const int size = static_cast<int>(rows.size());
    int p = 0;
    for (IXMLNode child = parent.ChildNodes().First(); child; child = child.NextSibling()) {
        if (child.NodeType() != ntElement) continue;
        if (!row_name.empty() && child.NodeName() != row_name) continue;
        if (p >= size) {
            ++load.Rows_Left_Out;
            continue;
        }
        std::vector<String>& row = rows[static_cast<std::size_t>(p)];
        ++p;
        for (const TRule_Attribute& a : attrs) {
            String& cell = row[static_cast<std::size_t>(a.Col)];
            TXMLValue v = child.Attributes(a.Name);
            if (!v.IsNull()) {
                cell = std::move(v).AsString();
            } else if (a.Default) {
                cell = a.Default;
            } else {
                cell.clear();
                if (load.Missing_Row == 0) {
                    load.Missing_Row = p;
                    load.Missing_Attribute = a.Name;
                }
            }
        }
    }
    return p;
}

int Rule_Row_Count(const TRule_Rows& rows, int key_col)
{
    int n = 0;
    for (const auto& row : rows) {
        if (Trim(row[static_cast<std::size_t>(key_col)]).empty()) break;
        ++n;
    }
    return n;
}

IXMLNode New_Rule_Document(TXMLDocument& doc, StringView root, const String& comment)
{
    doc.Clear();
    IXMLNode r = doc.AddChild(root);
    doc.AddComment(comment);
    return r;
}

void Write_Rule_Rows(IXMLNode parent, StringView row_name, std::span<const TRule_Attribute> attrs,
                     const TRule_Rows& rows, int count)
{
    for (int r = 0; r < count && r < static_cast<int>(rows.size()); ++r) {
        IXMLNode node = parent.AddChild(row_name);
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (const TRule_Attribute& a : attrs) node.SetAttributes(a.Name, row[static_cast<std::size_t>(a.Col)]);
    }
}
