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

// The reason for a row lacking an attribute: table, attribute and the layer's error.
String Row_Error(StringView element, StringView attribute, const TXMLValue& value)
{
    try {
        (void)value.AsString();
        return {};
    } catch (const Exception& e) {
        return String(element) + u", " + String(attribute) + u": " + e.Message();
    }
}

} // namespace

TCellRows Empty_Rows(int rows, int cols)
{
    return TCellRows(static_cast<std::size_t>(rows), std::vector<String>(static_cast<std::size_t>(cols)));
}

std::vector<String> Read_Topics(const String& file_topic, StringView table, TRead_Result& result)
{
    result = {};
    std::vector<String> topics;
    if (!FileExists(file_topic)) return topics;
    TXMLDocument doc;
    try {
        IXMLNode root = Load_Root(doc, file_topic);
        IXMLNodeList list = root.ChildNodes().Nodes(table).ChildNodes();
        const int n = list.Count();
        topics.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            TXMLValue v = list[i].Attributes(u"Topic");
            if (v.IsNull()) {
                result.Row = i + 1;
                result.Error = Row_Error(table, u"Topic", v);
                break;
            }
            topics.push_back(v.AsString());
        }
    } catch (const Exception& e) {
        result.Unreadable = !doc.Active();
        result.Error = e.Message();
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
        result.Unreadable = true;
        result.Error = e.Message();
        return result;
    }
    for (std::size_t t = 0; t < layouts.size(); ++t) {
        const TTable_Layout& layout = layouts[t];
        TCellRows& rows = *tables[t];
        IXMLNodeList list(root);
        try {
            list = root.ChildNodes().Nodes(layout.Element).ChildNodes();
        } catch (const Exception& e) {
            result.Error = e.Message();
            return result;
        }
        const int n = list.Count();
        const int max_rows = static_cast<int>(rows.size());
        for (int i = 0; i < n && i < max_rows; ++i) {
            IXMLNode row = list[i];
            std::vector<String>& cells = rows[static_cast<std::size_t>(i)];
            for (const TFile_Column& c : layout.Columns) {
                TXMLValue v = row.Attributes(c.Attribute);
                if (!v.IsNull()) {
                    cells[static_cast<std::size_t>(c.Col)] = std::move(v).AsString();
                } else if (c.Default) {
                    cells[static_cast<std::size_t>(c.Col)] = c.Default;
                } else {
                    result.Row = i + 1;
                    result.Error = Row_Error(layout.Element, c.Attribute, v);
                    return result;
                }
            }
        }
        if (n > max_rows && result.Error.empty()) result.Error = Lang(1130) + layout.Element;
    }
    return result;
}

plat::String Get_Topic_From_Index(const std::vector<plat::String>& topics, int index)
{
    if (index < 0 || index >= static_cast<int>(topics.size())) return {};
    return topics[static_cast<std::size_t>(index)];
}

int Saved_Row_Count(const TCellRows& rows, int key_col)
{
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r)
        if (Trim(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(key_col)]).empty()) return r;
    return n;
}

void Fill_Rule_Document(TXMLDocument& doc, const char16_t* root_name, std::span<const TTable_Layout> layouts,
                        std::span<const TCellRows* const> tables, std::span<const int> counts,
                        const TTopic_Link_Text& link)
{
    doc.Clear();
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
            for (const TFile_Column& c : layout.Columns)
                row.SetAttributes(c.Attribute, c.Topic_Link ? link(static_cast<int>(t), r, cells)
                                                            : cells[static_cast<std::size_t>(c.Col)]);
        }
    }
}
