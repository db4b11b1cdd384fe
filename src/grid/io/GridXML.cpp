// XML export and import of the string grid: a list element of record elements of field
// elements on export; on import a walk over the layer's document in which attributes come
// before child elements and leaf elements become cells.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "GridTextIO.h"
#include "plat/Files.h"
#include "plat/Xml.h"

namespace grid {

namespace {

enum class TXmlEnc { Utf8, Utf16, Latin1, Win1252, Ascii };

TXmlEnc EncodingOf(const String& Name) {
    String n;
    for (char16_t c : Name) n += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (n == u"utf-8" || n == u"utf8") return TXmlEnc::Utf8;
    if (n == u"utf-16" || n == u"utf-16le") return TXmlEnc::Utf16;
    if (n == u"iso-8859-1" || n == u"latin1" || n == u"iso_8859-1" || n == u"l1") return TXmlEnc::Latin1;
    if (n == u"windows-1252" || n == u"cp1252") return TXmlEnc::Win1252;
    return TXmlEnc::Ascii;
}

bool XmlAllowed(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Escaped field text: "&", ">", "<" and the double quote as entities, CR as a character
// reference (a raw CR would come back as a line feed), characters XML 1.0 forbids dropped
// (control characters, unpaired surrogates).
String EscapeField(StringView s) {
    String out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                out += c;
                out += s[++i];
            }
            continue;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) continue;
        if (!XmlAllowed(c)) continue;
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'>': out += u"&gt;"; break;
        case u'<': out += u"&lt;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\r': out += u"&#13;"; break;
        default: out += c; break;
        }
    }
    return out;
}

// Encodes text in the declared encoding; a character it lacks becomes a numeric reference
// (only field texts can hold such characters, and references are allowed there).
void Encode(std::string& out, StringView s, TXmlEnc enc) {
    if (enc == TXmlEnc::Utf8) {
        out += plat::StringToUtf8(s);
        return;
    }
    if (enc == TXmlEnc::Utf16) {
        for (char16_t c : s) {
            out += static_cast<char>(c & 0xFF);
            out += static_cast<char>(c >> 8);
        }
        return;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80 || (enc == TXmlEnc::Latin1 && c < 0x100)) {
            out += static_cast<char>(c);
            continue;
        }
        if (enc == TXmlEnc::Win1252 && c < 0x10000) {
            const std::string a = plat::StringToAnsi(String(1, static_cast<char16_t>(c)));
            if (a.size() == 1 && a[0] != '?') {
                out += a;
                continue;
            }
        }
        out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
    }
}

// The text of a file: a byte-order mark, else the declared encoding, else UTF-8.
String DecodeXmlFile(const std::string& b) {
    const auto* u = reinterpret_cast<const unsigned char*>(b.data());
    auto utf16 = [&](std::size_t from, bool le) {
        String s;
        s.reserve((b.size() - from) / 2);
        for (std::size_t i = from; i + 1 < b.size(); i += 2)
            s += static_cast<char16_t>(le ? (u[i] | (u[i + 1] << 8)) : ((u[i] << 8) | u[i + 1]));
        return s;
    };
    if (b.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) return plat::Utf8ToString(b.substr(3));
    if (b.size() >= 2 && u[0] == 0xFF && u[1] == 0xFE) return utf16(2, true);
    if (b.size() >= 2 && u[0] == 0xFE && u[1] == 0xFF) return utf16(2, false);
    if (b.size() >= 2 && u[0] == '<' && u[1] == 0) return utf16(0, true);
    if (b.size() >= 2 && u[0] == 0 && u[1] == '<') return utf16(0, false);
    if (b.compare(0, 5, "<?xml") == 0) {
        const std::size_t end = b.find("?>");
        const std::string decl = b.substr(0, end);
        const std::size_t at = decl.find("encoding");
        if (at != std::string::npos) {
            const std::size_t q = decl.find_first_of("\"'", at);
            const std::size_t close = q == std::string::npos ? q : decl.find(decl[q], q + 1);
            if (close != std::string::npos) {
                const TXmlEnc enc = EncodingOf(plat::AnsiToString(decl.substr(q + 1, close - q - 1)));
                if (enc == TXmlEnc::Latin1) {
                    String s(b.size(), u'\0');
                    for (std::size_t i = 0; i < b.size(); ++i) s[i] = u[i];
                    return s;
                }
                if (enc == TXmlEnc::Win1252) return plat::AnsiToString(b);
            }
        }
    }
    return plat::Utf8ToString(b);
}

bool IsBlank(StringView s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
}

// The child nodes as the walk counts them: elements and text, whitespace-only text left out.
std::vector<plat::IXMLNode> Children(const plat::IXMLNode& n) {
    std::vector<plat::IXMLNode> out;
    const plat::IXMLNodeList list = n.ChildNodes();
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        plat::IXMLNode c = list[i];
        const plat::TNodeType t = c.NodeType();
        if ((t == plat::ntText || t == plat::ntCData) && IsBlank(c.NodeValue().AsStringDef(String()))) continue;
        if (t == plat::ntComment || t == plat::ntProcessingInstr) continue;
        out.push_back(c);
    }
    return out;
}

// All text below a node, in document order.
String DeepText(const plat::IXMLNode& n) {
    const plat::TNodeType t = n.NodeType();
    if (t == plat::ntText || t == plat::ntCData) return n.NodeValue().AsStringDef(String());
    String s;
    for (const plat::IXMLNode& c : Children(n)) s += DeepText(c);
    return s;
}

class TXmlImport {
public:
    TXmlImport(TExtStringGrid& g, bool levelToRow, bool loadFieldDescr)
        : g_(g), levelToRow_(levelToRow), loadFieldDescr_(loadFieldDescr) {
        startCol_ = g.SaveStartCol();
        startRow_ = ((!g.SaveFixedCells && !g.SaveFixedRows) || loadFieldDescr) ? g.FixedRows() : 0;
        maxCol_ = startCol_;
        maxRow_ = startRow_;
    }

    void Run(const plat::IXMLNode& root) {
        const std::vector<plat::IXMLNode> kids = Children(root);
        for (std::size_t i = 0; i < kids.size(); ++i) {
            colOfs_ = 0;
            level_ = 1;
            if (levelToRow_ && i == 0 && AttrCount(kids[i]) == 0) rowOfs_ = -1;
            Walk(kids[i]);
            if (!levelToRow_) ++rowOfs_;
        }
        g_.SetColCount(std::max(1, maxCol_ + 1 - g_.NumHiddenColumns()));
        g_.SetRowCount(maxRow_ + 1);
        g_.CellsChangedFooter();
    }

private:
    static int AttrCount(const plat::IXMLNode& n) {
        return n.NodeType() == plat::ntElement ? n.AttributeCount() : 0;
    }
    int Col() const { return colOfs_ + startCol_; }
    int Row() const { return rowOfs_ + startRow_; }
    // Grows the grid to hold the current cell.
    void MakeRoom() {
        if (Col() >= g_.AllColCount()) g_.SetColCount(Col() + 1 - g_.NumHiddenColumns());
        if (Row() >= g_.RowCount()) g_.SetRowCount(Row() + 1);
    }
    void Store(const String& v) {
        if (Col() < 0 || Row() < 0) return;
        MakeRoom();
        g_.LoadCell(Col(), Row(), v);
        maxCol_ = std::max(maxCol_, Col());
        maxRow_ = std::max(maxRow_, Row());
    }
    bool FixedSaved() const { return g_.SaveFixedCells || g_.SaveFixedRows; }
    void Name(const String& name) {
        if (Col() >= 0 && g_.AllCells(Col(), 0).empty() && FixedSaved()) g_.LoadCell(Col(), 0, name);
    }

    void Walk(const plat::IXMLNode& n) {
        bool moved = false;
        const int attrs = AttrCount(n);
        for (int a = 0; a < attrs; ++a) {
            const String name = n.AttributeName(a);
            if (Col() >= 0 && Row() >= 0) MakeRoom();
            Name(name);
            Store(n.Attributes(name).AsStringDef(String()));
            ++colOfs_;
        }
        if (levelToRow_ && attrs > 0) {
            ++rowOfs_;
            colOfs_ = level_;
            moved = true;
        }
        const std::vector<plat::IXMLNode> kids = Children(n);
        if (kids.size() > 1) {
            if (levelToRow_ && !moved) {
                ++rowOfs_;
                colOfs_ = 0;
            }
            ++level_;
            for (const plat::IXMLNode& k : kids) Walk(k);
        } else if (kids.empty()) {
            Store(String());
            ++colOfs_;
        } else {
            if (Col() >= 0 && Row() >= 0) MakeRoom();
            if (loadFieldDescr_) Name(n.NodeName());
            String v = DeepText(n);
            if (g_.QuoteEmptyCells && v == u"\"\"") v.clear();
            Store(v);
            ++colOfs_;
        }
    }

    TExtStringGrid& g_;
    bool levelToRow_, loadFieldDescr_;
    int startCol_ = 0, startRow_ = 0, colOfs_ = 0, rowOfs_ = 0, maxCol_ = 0, maxRow_ = 0, level_ = 1;
};

} // namespace

void TExtStringGrid::SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                               const plat::TStrings* FieldDescr, bool ExportEmptyCells) {
    const TXmlEnc enc = EncodingOf(XMLEncoding);
    std::string out;
    if (enc == TXmlEnc::Utf16) out += "\xFF\xFE";
    auto line = [&](StringView s) {
        Encode(out, s, enc);
        Encode(out, u"\r\n", enc);
    };
    line(u"<?xml version=\"1.0\" encoding=\"" + XMLEncoding + u"\" ?>");
    line(u"<" + ListDescr + u">");
    const int first = SaveStartRow(), last = SaveEndRow();
    ExportNotification(esExportStart, first);
    const std::vector<int> cols = io::SavedRealColumns(*this, SaveHiddenCells);
    int lastPct = -1;
    for (int r = first; r <= last; ++r) {
        ExportNotification(esExportNextRow, r);
        line(u"<" + RecordDescr + u">");
        for (std::size_t i = 0; i < cols.size(); ++i) {
            const int c = cols[i];
            // The merge test and the text both take the real column.
            if (!Map().IsBaseCell(c, r)) continue;
            String t;
            SaveCell(c, r, t);
            if (t.empty() && !ExportEmptyCells) continue;
            if (t.empty() && QuoteEmptyCells) t = u"\"\"";
            const String name = FieldDescr && static_cast<int>(i) < FieldDescr->Count()
                                    ? FieldDescr->Strings(static_cast<int>(i))
                                    : u"FIELD" + plat::IntToStr(static_cast<int>(i));
            line(u"<" + name + u">" + EscapeField(t) + u"</" + name + u">");
        }
        line(u"</" + RecordDescr + u">");
        if (OnFileProgress) {
            const int pct = static_cast<int>(std::lround((r - first) * 100.0 / std::max(1, last - first)));
            if (pct != lastPct) {
                lastPct = pct;
                OnFileProgress(this, static_cast<short>(pct));
            }
        }
    }
    line(u"</" + ListDescr + u">");
    ExportNotification(esExportDone, -1);
    if (!plat::WriteFileAtomic(FileName, out)) throw EExtGridError(u"Cannot Create file " + FileName);
}

void TExtStringGrid::LoadFromXML(const String& FileName, bool LevelToRow, bool LoadFieldDescr) {
    std::string bytes;
    if (!plat::FileExists(FileName) || !io::ReadGridFile(FileName, bytes)) throw plat::Exception(u"XML file not found");
    const String text = DecodeXmlFile(bytes);
    plat::TXMLDocument doc;
    try {
        doc.LoadFromXML(text);
    } catch (const plat::EXMLDocError&) {
        const std::string utf8 = plat::StringToUtf8(text);
        // A document that ends inside an element fails at its last byte; the error is at its end.
        std::size_t at = static_cast<std::size_t>(std::max<std::int64_t>(0, doc.ErrorOffset()));
        if (at + 1 >= utf8.size()) at = utf8.size();
        const int line = 1 + static_cast<int>(std::count(utf8.begin(), utf8.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
        throw plat::Exception(u"XMLDOM Parsing error 1 on line " + plat::IntToStr(line));
    }
    TXmlImport(*this, LevelToRow, LoadFieldDescr).Run(doc.DocumentElement());
}

} // namespace grid
