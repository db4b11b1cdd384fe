#include "URuleFiles.h"

#include "UFormKit.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

namespace {

constexpr const char16_t* kVersion_Comment = u"SW_VERSION = 1.114";

IXMLNode Load_Root(TXMLDocument& doc, const String& file)
{
    doc.LoadFromFile(file);
    IXMLNode root = doc.DocumentElement();
    if (!root) throw EXMLDocError(u"No root element");
    return root;
}

String Row_Reason(int row, StringView element, StringView attribute)
{
    return Lang(1471) + IntToStr(row) + Lang(1472) + String(element) + Lang(1473) + String(attribute);
}

} // namespace

TCellRows Empty_Rows(int rows, int cols)
{
    return TCellRows(static_cast<std::size_t>(rows), std::vector<String>(static_cast<std::size_t>(cols)));
}

int Rule_Int(StringView text)
{
    return StrToIntDef(text, -1);
}

String Read_Problem_Text(const String& file, const String& reason)
{
    return Lang(1470) + file + u"\n" + reason;
}

int Read_Working_Mode(const String& file_pargen, String& problem)
{
    problem.clear();
    if (!FileExists(file_pargen)) return 0;
    try {
        TXMLDocument doc;
        IXMLNode root = Load_Root(doc, file_pargen);
        IXMLNode node = root.ChildNodes().FindNode(u"Working_Mode");
        if (!node) return 0;
        TXMLValue v = node.NodeValue();
        return v.IsNull() ? 0 : StrToIntDef(v.AsString(), 0);
    } catch (const Exception& e) {
        problem = Read_Problem_Text(file_pargen, e.Message());
        return 0;
    }
}

std::vector<String> Read_Topics(const String& file_topic, StringView table, String& problem)
{
    problem.clear();
    std::vector<String> topics;
    if (!FileExists(file_topic)) return topics;
    try {
        TXMLDocument doc;
        IXMLNode root = Load_Root(doc, file_topic);
        IXMLNode rows = root.ChildNodes().FindNode(table);
        if (!rows) {
            problem = Read_Problem_Text(file_topic, Lang(1474) + String(table));
            return topics;
        }
        IXMLNodeList list = rows.ChildNodes();
        const int n = list.Count();
        topics.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            TXMLValue v = list[i].Attributes(u"Topic");
            if (v.IsNull()) {
                problem = Read_Problem_Text(file_topic, Row_Reason(i + 1, table, u"Topic"));
                break;
            }
            topics.push_back(v.AsString());
        }
    } catch (const Exception& e) {
        problem = Read_Problem_Text(file_topic, e.Message());
    }
    return topics;
}

TRead_Result Read_Rule_File(const String& file, std::span<const TTable_Layout> layouts,
                            std::span<TCellRows* const> tables)
{
    TRead_Result result;
    if (!FileExists(file)) return result;
    TXMLDocument doc;
    IXMLNode root;
    try {
        root = Load_Root(doc, file);
    } catch (const Exception& e) {
        result.Problem = Read_Problem_Text(file, e.Message());
        result.Unread = true;
        return result;
    }
    for (std::size_t t = 0; t < layouts.size(); ++t) {
        const TTable_Layout& layout = layouts[t];
        TCellRows& rows = *tables[t];
        IXMLNode element = root.ChildNodes().FindNode(layout.Element);
        if (!element) {
            result.Problem = Read_Problem_Text(file, Lang(1474) + layout.Element);
            result.Unread = true;
            return result;
        }
        IXMLNodeList list = element.ChildNodes();
        const int n = list.Count();
        const int max_rows = static_cast<int>(rows.size());
        for (int i = 0; i < n && i < max_rows; ++i) {
            IXMLNode row = list[i];
            std::vector<String>& cells = rows[static_cast<std::size_t>(i)];
            for (const TRule_Column& c : layout.Columns) {
                TXMLValue v = row.Attributes(c.Attribute);
                if (v.IsNull()) {
                    if (!c.Default) {
                        result.Problem = Read_Problem_Text(file, Row_Reason(i + 1, layout.Element, c.Attribute));
                        result.Unread = true;
                        return result;
                    }
                    cells[static_cast<std::size_t>(c.Col)] = c.Default;
                } else {
                    cells[static_cast<std::size_t>(c.Col)] = v.AsString();
                }
            }
        }
        if (n > max_rows && result.Problem.empty()) {
            result.Problem = Read_Problem_Text(file, Lang(1475) + layout.Element);
            result.Unread = true;
        }
    }
    return result;
}

int Saved_Row_Count(const TCellRows& rows, int key_col)
{
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r)
        if (Trim(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(key_col)]).empty()) return r;
    return n;
}

int First_Used_Row(const TCellRows& rows, int from, std::span<const int> check_cols)
{
    const int n = static_cast<int>(rows.size());
    for (int r = from; r < n; ++r) {
        const std::vector<String>& cells = rows[static_cast<std::size_t>(r)];
        for (int c = 1; c < static_cast<int>(cells.size()); ++c) {
            bool check = false;
            for (int k : check_cols) check = check || k == c;
            if (!check && !Trim(cells[static_cast<std::size_t>(c)]).empty()) return r + 1;
        }
    }
    return 0;
}

void Write_Rule_File(const String& file, const char16_t* root_name, std::span<const TTable_Layout> layouts,
                     std::span<const TCellRows* const> tables, std::span<const int> counts,
                     const TTopic_Link_Text& link)
{
    TXMLDocument doc;
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(root_name);
    doc.AddComment(kVersion_Comment);
    for (std::size_t t = 0; t < layouts.size(); ++t) {
        const TTable_Layout& layout = layouts[t];
        const TCellRows& rows = *tables[t];
        IXMLNode element = root.AddChild(layout.Element);
        for (int r = 0; r < counts[t]; ++r) {
            const std::vector<String>& cells = rows[static_cast<std::size_t>(r)];
            IXMLNode row = element.AddChild(u"row");
            for (const TRule_Column& c : layout.Columns)
                row.SetAttributes(c.Attribute, c.Topic_Link ? link(static_cast<int>(t), r, cells)
                                                            : cells[static_cast<std::size_t>(c.Col)]);
        }
    }
    doc.SaveToFile(file);
}
