// The HTML export of TExtStringGrid: a table whose cells carry their looks as CSS classes,
// cell pictures as JPEG files beside the document, the file forms and the clipboard form.
#include <algorithm>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/Clipbrd.h"
#include "plat/Files.h"
#include "plat/ImgList.h"
#include "plat/PictureEncode.h"
#include "plat/Process.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

constexpr TColor kNoColor = 0x7FFFFFFF;

String Hex6(TColor c) {
    const TColor rgb = plat::ColorToRGB(c);
    static const char16_t* const digits = u"0123456789ABCDEF";
    const unsigned v[3] = {rgb & 0xFFu, (rgb >> 8) & 0xFFu, (rgb >> 16) & 0xFFu};
    String out;
    for (unsigned b : v) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Markup characters as references (for body texts and for attribute values).
String EscapeText(StringView t) {
    String out;
    out.reserve(t.size());
    for (char16_t ch : t) {
        switch (ch) {
        case u'&': out += u"&amp;"; break;
        case u'"': out += u"&quot;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        default: out += ch;
        }
    }
    return out;
}

String Trimmed(StringView s) {
    std::size_t a = 0, b = s.size();
    while (a < b && s[a] == u' ') ++a;
    while (b > a && s[b - 1] == u' ') --b;
    return String(s.substr(a, b - a));
}

// Every line break (CR LF, CR or LF) as a break element.
String Breaks(StringView t, StringView br) {
    String out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == u'\r') {
            out += br;
            if (i + 1 < t.size() && t[i + 1] == u'\n') ++i;
        } else if (t[i] == u'\n') {
            out += br;
        } else {
            out += t[i];
        }
    }
    return out;
}

class THtmlWriter {
public:
    THtmlWriter(TExtStringGrid& g, const String& dir, bool pictures)
        : g_(g), s_(*g.HTMLSettings()), dir_(dir), pictures_(pictures), x_(s_.XHTML) {}

    String Run();

private:
    String Tag(const char16_t* upper) const {
        String t(upper);
        if (x_)
            for (char16_t& ch : t)
                if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch + 32);
        return t;
    }
    String Attr(const char16_t* name, const String& value) const {
        return u" " + Tag(name) + u"=\"" + value + u"\"";
    }
    String CellLine(int c, int r, bool header, bool bodyWidths);
    String PictureTag(const plat::TBitmap& b);
    // The picture tag of an image of the grid's image list; empty without the list or for an
    // index outside it.
    String ImageTag(int Index);
    int StyleIndex(const String& style) {
        const auto it = std::find(styles_.begin(), styles_.end(), style);
        if (it != styles_.end()) return static_cast<int>(it - styles_.begin());
        styles_.push_back(style);
        return static_cast<int>(styles_.size()) - 1;
    }

    TExtStringGrid& g_;
    THTMLSettings& s_;
    String dir_;
    bool pictures_, x_;
    int A_ = 0;
    int counter_ = 1;
    std::vector<String> styles_;
};

String THtmlWriter::PictureTag(const plat::TBitmap& b) {
    const String folder = dir_ + u"images";
    if (!plat::DirectoryExists(folder) && !plat::ForceDirectories(folder))
        throw EExtGridError(u"Cannot create " + folder);
    const String path = folder + u"/img" + plat::IntToStr(counter_) + u".jpg";
    const std::string jpeg = plat::BitmapToJpeg(b);
    if (!plat::WriteFileAtomic(path, jpeg)) throw plat::EFOpenError(u"Cannot create file \"" + path + u"\".");
    ++counter_;
    return u"<img src= \"file://" + EscapeText(path) + u"\"" + (x_ ? u" />" : u">");
}

String THtmlWriter::ImageTag(int Index) {
    const plat::TCustomImageList* list = g_.GetGridImageList();
    if (!list || Index < 0 || Index >= list->Count()) return String();
    plat::TBitmap bmp;
    if (!list->GetBitmap(Index, &bmp) || bmp.Empty()) return String();
    return PictureTag(bmp);
}

String THtmlWriter::CellLine(int c, int r, bool header, bool bodyWidths) {
    const int real = g_.RealColIndex(c);
    if (!g_.IsBaseCell(real, r)) return String();
    String attrs;
    const TPoint span = g_.CellSpan(real, r);
    if (span.X > 0) attrs += Attr(u"COLSPAN", plat::IntToStr(span.X + 1));
    if (span.Y > 0) attrs += Attr(u"ROWSPAN", plat::IntToStr(span.Y + 1));

    String text;
    g_.SaveCell(real, r, text);
    if (!header) {
        if (s_.ConvertSpecialChars) text = EscapeText(text);
        if (s_.NonBreakingText) text = plat::StringReplace(text, u" ", x_ ? u"&#160;" : u"&nbsp;", plat::rfReplaceAll);
    }
    text = Breaks(text, x_ ? u"<br />" : u"<br>");
    if (g_.URLShow() && text.find(u"</") == String::npos) {
        const String original = text;
        const std::size_t scheme = original.find(u"://");
        if (scheme != String::npos) {
            const String shown = g_.URLFull() ? original : original.substr(scheme + 3, 255);
            text = u"<" + Tag(u"A") + u" href=\"" + EscapeText(original) + u"\">" + shown + u"</" + Tag(u"A") + u">";
        }
        const std::size_t mail = original.find(u"mailto:");
        if (mail != String::npos) {
            const String shown = g_.URLFull() ? original : original.substr(mail + 7);
            text = u"<" + Tag(u"A") + u" href=\"" + EscapeText(original) + u"\">" + shown + u"</" + Tag(u"A") + u">";
        }
    }
    if (header ? text.empty() : Trimmed(text).empty()) text = x_ ? u"&#160;" : u"&nbsp;";

    // Widths are indexed from the first exported column in both forms.
    String width;
    const std::size_t wi = static_cast<std::size_t>(c - A_);
    if ((header || bodyWidths) && c >= A_ && wi < s_.ColWidths.size())
        width = x_ ? Attr(u"WIDTH", plat::IntToStr(s_.ColWidths[wi]))
                   : String(header ? u" WIDTH=" : u" width=") + plat::IntToStr(s_.ColWidths[wi]);

    plat::TBrush brush;
    plat::TFont font;
    brush.SetColor(kNoColor);
    font.SetColor(kNoColor);
    font.SetStyle(plat::TFontStyles{});
    plat::TGridDrawState state;
    TCellVisual look;
    g_.GetVisualProperties(real, r, state, TVisualRequest{false, false, false}, &brush, &font, look);
    TColor background = header ? g_.FixedColor() : brush.Color();
    bool fixed = false;
    if (!header) {
        g_.IsFixedCell(real, r, fixed);
        fixed = fixed || r < g_.FixedRows() || c < g_.FixedCols();
        if (fixed) background = g_.FixedColor();
    }
    const String nowrap = look.WordWrap ? String() : String(x_ ? u" nowrap=\"nowrap\"" : u" nowrap");

    std::vector<String> parts;
    if (background != kNoColor && s_.SaveColor) parts.push_back(u"background-color: #" + Hex6(background));
    if (font.Color() != kNoColor && s_.SaveColor) parts.push_back(u"color: #" + Hex6(font.Color()));
    parts.push_back(u"font-size:" + plat::IntToStr(font.Size()) + u"pt");
    if (font.Style().Contains(plat::fsItalic)) parts.push_back(u"font-style: italic");
    if (font.Style().Contains(plat::fsBold)) parts.push_back(u"font-weight: bold");
    parts.push_back(u"font-family: " + font.Name());
    if (look.HA == plat::taRightJustify) parts.push_back(u"text-align: right");
    if (look.HA == plat::taCenter) parts.push_back(u"text-align: center");
    parts.push_back(look.VA == vtaTop ? u"vertical-align: top"
                                      : look.VA == vtaCenter ? u"vertical-align: middle" : u"vertical-align: bottom");
    String style;
    for (std::size_t i = 0; i < parts.size(); ++i) style += (i ? u";" : u"") + parts[i];
    const int cls = StyleIndex(style);

    String content = text;
    if (s_.ExportImages) {
        const TCellGraphic* gr = g_.GetCellGraphic(real, r);
        if (gr && gr->CellType == ctNode) {
            content = u"+" + text;
        } else if (gr && pictures_ && (gr->CellType == ctBitmap || gr->CellType == ctPicture)) {
            const plat::TBitmap* bmp = nullptr;
            if (gr->CellType == ctBitmap) bmp = dynamic_cast<const plat::TBitmap*>(gr->CellBitmap);
            else if (auto* pic = dynamic_cast<plat::TPicture*>(gr->CellBitmap); pic && pic->HasGraphic())
                bmp = pic->Bitmap();
            if (bmp && !bmp->Empty()) content = text + PictureTag(*bmp);
        } else if (gr && gr->CellType == ctDataImage) {
            // The text is the image index and is never shown.
            int idx = -1;
            content = pictures_ && plat::TryStrToInt(plat::Trim(text), idx) ? ImageTag(idx) : String();
        } else if (gr && pictures_ && gr->CellType == ctImageList) {
            content = ImageTag(gr->CellIndex) + text;
        } else if (gr && pictures_ && gr->CellType == ctImages && g_.GetGridImageList()) {
            String tags;
            if (const TIntList* list = g_.GetCellImages(real, r))
                for (int i = 0; i < list->Count(); ++i) tags += ImageTag(list->GetInteger(i));
            content = tags + text;
        }
    }
    return u"<" + Tag(u"TD") + u" class=\"c" + plat::IntToStr(cls) + u"\"" + attrs + nowrap + width + u">" + content +
           u"</" + Tag(u"td") + u">";
}

String THtmlWriter::Run() {
    A_ = (g_.SaveFixedCells || g_.SaveFixedCols) ? 0 : g_.FixedCols();
    int B = (g_.SaveFixedCells || g_.SaveFixedRows) ? 0 : g_.FixedRows();
    String prologue;
    if (x_) {
        prologue += u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
        prologue += u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n";
        prologue += u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
        prologue += u"<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n";
    }
    if (!s_.PrefixTag.empty()) prologue += s_.PrefixTag;

    String body;
    auto line = [&](const String& l) {
        body += l;
        body += u"\r\n";
    };
    String table = u"<" + Tag(u"TABLE") + Attr(u"BORDER", plat::IntToStr(s_.BorderSize)) + u" " +
                   Tag(u"CELLSPACING") + u"=\"" + plat::IntToStr(s_.CellSpacing) + u"\" " + Tag(u"CELLPADDING") +
                   u"=\"" + plat::IntToStr(s_.CellPadding) + u"\" ";
    if (!s_.Summary.empty()) table += Tag(u"SUMMARY") + u"=\"" + EscapeText(s_.Summary) + u"\" ";
    if (!s_.TableStyle.empty()) table += u" " + s_.TableStyle + u" ";
    table += u" " + Tag(u"WIDTH") + u"=\"" + plat::IntToStr(s_.Width) + u"%\">";
    line(table);
    const bool headerRow = g_.FixedRows() > 0 && (g_.SaveFixedCells || g_.SaveFixedRows);
    if (headerRow) {
        line(u"<" + Tag(u"TR") + u">");
        for (int c = A_; c < g_.ColCount(); ++c) {
            const String l = CellLine(c, 0, true, false);
            if (!l.empty()) line(l);
        }
        line(u"</" + Tag(u"TR") + u">");
        B = 1;
    }
    g_.ExportNotification(esExportStart, B);
    for (int r = B; r < g_.RowCount(); ++r) {
        g_.ExportNotification(esExportNextRow, r);
        line(u"<" + Tag(u"TR") + u">");
        for (int c = A_; c < g_.ColCount(); ++c) {
            const String l = CellLine(c, r, false, !headerRow);
            if (!l.empty()) line(l);
        }
        line(u"</" + Tag(u"TR") + u">");
    }
    g_.ExportNotification(esExportDone, -1);
    line(u"</" + Tag(u"TABLE") + u">");
    if (!s_.SuffixTag.empty()) line(s_.SuffixTag);
    if (x_) line(u"</html>");

    String styles = u"<style>\r\n";
    for (std::size_t i = 0; i < styles_.size(); ++i)
        styles += u".c" + plat::IntToStr(static_cast<long long>(i)) + u" {" + styles_[i] + u"}\r\n";
    styles += u"</style>\r\n";
    return prologue + styles + body;
}

// Characters outside 7-bit ASCII as numeric references (a pair of surrogates as one).
std::string AsciiWithReferences(StringView t) {
    std::string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        std::uint32_t c = t[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        }
        out += "&#" + std::to_string(c) + ";";
    }
    return out;
}

void WriteHtml(TExtStringGrid& g, const String& FileName, bool Show, bool Unicode, bool Append) {
    THTMLSettings& s = *g.HTMLSettings();
    std::vector<String> lines;
    if (Append) plat::ReadTextLines(FileName, lines);
    auto addFile = [&](const String& f) {
        std::vector<String> extra;
        if (!plat::ReadTextLines(f, extra)) throw plat::EFOpenError(u"Cannot open file \"" + f + u"\".");
        lines.insert(lines.end(), extra.begin(), extra.end());
    };
    if (!s.HeaderFile.empty()) addFile(s.HeaderFile);
    const String dir = plat::StringReplace(plat::ExtractFilePath(FileName), u"\\", u"/", plat::rfReplaceAll);
    String html = g.SaveToHTMLString(dir);
    // The declaration names the encoding the file is written in.
    if (Unicode && s.XHTML)
        html = plat::StringReplace(html, u"encoding=\"utf-8\"", u"encoding=\"utf-16\"", plat::TReplaceFlags{});
    if (html.size() >= 2 && html.compare(html.size() - 2, 2, u"\r\n") == 0) html.resize(html.size() - 2);
    lines.push_back(html);  // its last line end comes with the entry
    if (!s.FooterFile.empty()) addFile(s.FooterFile);
    bool ok;
    if (Unicode) {
        ok = plat::WriteTextFile(FileName, lines, plat::TTextEncoding::Utf16LeBom);
    } else {
        std::string bytes;
        for (const String& l : lines) {
            bytes += AsciiWithReferences(l);
            bytes += "\r\n";
        }
        ok = plat::WriteFileAtomic(FileName, bytes);
    }
    if (!ok) throw plat::EFOpenError(u"Cannot create file \"" + FileName + u"\".");
    if (Show || s.AutoPreview) plat::ShellOpen(FileName);
}

} // namespace

String TExtStringGrid::SaveToHTMLString(const String& Dir) { return THtmlWriter(*this, Dir, true).Run(); }

void TExtStringGrid::SaveToHTML(const String& FileName, bool Show, bool Unicode) {
    WriteHtml(*this, FileName, Show, Unicode, false);
}

void TExtStringGrid::AppendToHTML(const String& FileName, bool Show, bool Unicode) {
    WriteHtml(*this, FileName, Show, Unicode, true);
}

void TExtStringGrid::CopyToClipBoardAsHTML() {
    // The clipboard form writes no picture files: picture cells give their text.
    const std::string block = WrapHtmlClipboardFormat(THtmlWriter(*this, String(), false).Run());
    plat::TClipboard& cb = plat::Clipboard();
    cb.Open();
    try {
        cb.Clear();
        cb.SetAsHandle(plat::RegisterClipboardFormat(u"HTML Format"), block);
        cb.SetAsText(plat::Utf8ToString(block));
    } catch (...) {
        cb.Close();
        throw;
    }
    cb.Close();
}

} // namespace grid
