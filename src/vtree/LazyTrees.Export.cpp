#include "LazyTrees.Export.h"

#include <cstdio>

#include "LazyTrees.Classes.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Clipbrd.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/LocaleInfo.h"
#include "plat/SysUtils.h"

namespace vtree {

using namespace plat;

// ---- node walks and the export-mode filter ----

PLazyNode ExportFirstNode(TBaseLazyTree& Tree, TVSTTextSourceType Source)
{
    switch (Source) {
    case tstInitialized: return Tree.GetFirstInitialized();
    case tstSelected: return Tree.GetFirstSelected();
    case tstCutCopySet: {
        PLazyNode n = Tree.GetFirstNoInit();
        while (n && !n->Has(vsCutOrCopy)) n = Tree.GetNextNoInit(n);
        return n;
    }
    case tstVisible: return Tree.GetFirstVisible(nullptr, true);
    case tstChecked: return Tree.GetFirstChecked(csCheckedNormal);
    case tstAll: break;
    }
    return Tree.GetFirst();
}

PLazyNode ExportNextNode(TBaseLazyTree& Tree, PLazyNode Node, TVSTTextSourceType Source)
{
    switch (Source) {
    case tstInitialized: return Tree.GetNextInitialized(Node);
    case tstSelected: return Tree.GetNextSelected(Node);
    case tstCutCopySet: {
        PLazyNode n = Tree.GetNextNoInit(Node);
        while (n && !n->Has(vsCutOrCopy)) n = Tree.GetNextNoInit(n);
        return n;
    }
    case tstVisible: return Tree.GetNextVisible(Node, true);
    case tstChecked: return Tree.GetNextChecked(Node, csCheckedNormal);
    case tstAll: break;
    }
    return Tree.GetNext(Node);
}

bool IsNodeExported(TBaseLazyTree& Tree, PLazyNode Node)
{
    switch (Tree.TreeOptions().ExportMode()) {
    case emChecked: return Node->CheckState == csCheckedNormal;
    case emUnchecked: return Node->CheckState == csUncheckedNormal;
    case emVisibleDueToExpansion:
        // Only the direct parent counts; the hidden root of a top-level node is expanded.
        return Node->Parent == Tree.RootNode() || Node->Parent->Has(vsExpanded);
    case emSelected: return Node->Has(vsSelected);
    case emAll: break;
    }
    return true;
}

// ---- small writers ----

namespace {

void AddNumber(TBufferedString& B, long long V)
{
    char digits[24];
    int n = 0;
    const bool negative = V < 0;
    unsigned long long u = negative ? 0ull - static_cast<unsigned long long>(V) : static_cast<unsigned long long>(V);
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    char16_t text[25];
    int k = 0;
    if (negative) text[k++] = u'-';
    while (n) text[k++] = char16_t(digits[--n]);
    B.Add(StringView(text, k));
}

void AddNumber(TBufferedRawByteString& B, long long V)
{
    B.Add(std::to_string(V));
}

String Num(long long V)
{
    TBufferedString b;
    AddNumber(b, V);
    return b.AsString();
}

// Escapes into the buffer directly: cells are the bulk of an export.
void AddEscaped(TBufferedString& B, StringView Text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char16_t* entity = nullptr;
        switch (Text[i]) {
        case u'&': entity = u"&amp;"; break;
        case u'<': entity = u"&lt;"; break;
        case u'>': entity = u"&gt;"; break;
        case u'"': entity = u"&quot;"; break;
        default: continue;
        }
        B.Add(Text.substr(start, i - start));
        B.Add(StringView(entity));
        start = i + 1;
    }
    B.Add(Text.substr(start));
}

// Keeps an okExport operation and the font-change redirection for the renderer's duration.
class TExportScope {
public:
    TExportScope(TCustomLazyStringTree& Tree, bool RedirectFont) : FTree(Tree), FRedirect(RedirectFont)
    {
        FTree.StartOperation(okExport);
        if (FRedirect) FTree.ExportHookFont(FTree.Canvas());
    }
    ~TExportScope()
    {
        if (FRedirect) FTree.ExportUnhookFont(FTree.Canvas());
        FTree.EndOperation(okExport);
    }
    TExportScope(const TExportScope&) = delete;
    TExportScope& operator=(const TExportScope&) = delete;

private:
    TCustomLazyStringTree& FTree;
    bool FRedirect;
};

bool ShowStaticText(TCustomLazyStringTree& Tree)
{
    return In(Tree.TreeOptions().StringOptions(), toShowStaticText);
}

// The cell's text and static text as the text event gives them for the export type.
TVSTGetCellTextEventArgs CellTexts(TCustomLazyStringTree& Tree, PLazyNode Node, TColumnIndex Column, TLTExportType Type)
{
    TVSTGetCellTextEventArgs args;
    args.Node = Node;
    args.Column = Column;
    args.ExportType = Type;
    Tree.ExportGetText(args);
    if (!ShowStaticText(Tree)) args.StaticText.clear();
    return args;
}

String CellText(TCustomLazyStringTree& Tree, PLazyNode Node, TColumnIndex Column, TLTExportType Type)
{
    TVSTGetCellTextEventArgs args = CellTexts(Tree, Node, Column, Type);
    if (!args.StaticText.empty()) {
        args.CellText += u' ';
        args.CellText += args.StaticText;
    }
    return args.CellText;
}

bool BeforeNodeExport(TCustomLazyStringTree& Tree, TLTExportType Type, PLazyNode Node)
{
    return !Tree.OnBeforeNodeExport || Tree.OnBeforeNodeExport(&Tree, Type, Node);
}

template <class E, class... A>
void FireEvent(const E& Event, A&&... Args)
{
    if (Event) Event(std::forward<A>(Args)...);
}

// Alignment of a column (or the tree without columns), mirrored for right-to-left reading.
struct TCellAlign {
    TAlignment Alignment;
    bool RightToLeft;
};

TCellAlign ColumnAlign(TCustomLazyStringTree& Tree, TLazyTreeColumn* Column, bool Caption)
{
    TAlignment a = Column ? (Caption ? Column->CaptionAlignment() : Column->Alignment()) : Tree.Alignment();
    const bool rtl = Column ? Column->UseRightToLeftReading() : Tree.BiDiMode() != bdLeftToRight;
    if (rtl) {
        if (a == taLeftJustify) a = taRightJustify;
        else if (a == taRightJustify) a = taLeftJustify;
    }
    return {a, rtl};
}

void AddHtmlAlign(TBufferedString& B, TCellAlign A)
{
    B.Add(A.Alignment == taRightJustify ? u" align=right" : A.Alignment == taCenter ? u" align=center" : u" align=left");
    if (A.RightToLeft) B.Add(u" dir=\"rtl\"");
}

// The style block of a font: ".Name{...}" or, without a name, ` style="{...}"`.
void WriteFontStyle(TBufferedString& B, const String& Name, const TFont& Font)
{
    if (!Name.empty()) {
        B.Add(u'.');
        B.Add(Name);
        B.Add(u'{');
    } else {
        B.Add(u" style=\"{");
    }
    B.Add(u"font-family: '");
    AddEscaped(B, Font.Name());
    B.Add(u"'; ");
    if (Font.Size() < 0) {
        B.Add(u"font-size: ");
        AddNumber(B, Font.Height());
        B.Add(u"px; ");
    } else {
        B.Add(u"font-size: ");
        AddNumber(B, Font.Size());
        B.Add(u"pt; ");
    }
    const TFontStyles s = Font.Style();
    B.Add(s.Contains(fsItalic) ? u"font-style: italic; " : u"font-style: normal; ");
    B.Add(s.Contains(fsBold) ? u"font-weight: bold; " : u"font-weight: normal; ");
    B.Add(s.Contains(fsUnderline) ? u"text-decoration: underline; " : u"text-decoration: none; ");
    B.Add(u"color: ");
    B.Add(HtmlColor(Font.Color()));
    B.Add(u";}");
    if (Name.empty()) B.Add(u'"');
}

std::vector<TLazyTreeColumn*> VisibleColumns(TCustomLazyStringTree& Tree)
{
    if (!Tree.Header().UseColumns()) return {};
    TColumnsArray a = Tree.Header().Columns().GetVisibleColumns();
    return std::vector<TLazyTreeColumn*>(a.begin(), a.end());
}

} // namespace

String HtmlEscape(StringView Text)
{
    TBufferedString b;
    AddEscaped(b, Text);
    return b.AsString();
}

String HtmlColor(TColor Color)
{
    static const char16_t hex[] = u"0123456789ABCDEF";
    const TColor c = ColorToRGB(Color);
    String r = u"#";
    for (int v : {GetRValue(c), GetGValue(c), GetBValue(c)}) {
        r += hex[(v >> 4) & 15];
        r += hex[v & 15];
    }
    return r;
}

long long PixelsToTwips(long long Pixels, int PixelsPerInch)
{
    const long long n = Pixels * 1440;
    long long q = n / PixelsPerInch, r = n % PixelsPerInch;
    if (r < 0) {
        r += PixelsPerInch;
        --q;
    }
    if (2 * r > PixelsPerInch || (2 * r == PixelsPerInch && (q & 1))) ++q;
    return q;
}

std::string WrapClipboardHtmlFragment(std::string_view Fragment)
{
    static constexpr std::string_view Head1 =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    static constexpr std::string_view Head2 =
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
        "<body><!--StartFragment-->";
    static constexpr std::string_view Tail = "<!--EndFragment--></body></html>";
    const long long L = static_cast<long long>(Fragment.size());
    auto field = [](const char* Name, long long V) {
        char line[40];
        std::snprintf(line, sizeof line, "%s%.8lld\r\n", Name, V);
        return std::string(line);
    };
    std::string r = "Version:1.0\r\n";
    r += field("StartHTML:", 97);
    r += field("EndHTML:", L + 301);
    r += field("StartFragment:", 269);
    r += field("EndFragment:", L + 269);
    r.reserve(r.size() + Head1.size() + Head2.size() + Fragment.size() + Tail.size());
    r += Head1;
    r += Head2;
    r += Fragment;
    r += Tail;
    return r;
}

// ---- HTML ----

String RenderHTML(TCustomLazyStringTree& Tree, TVSTTextSourceType Source, const String& Caption)
{
    TExportScope scope(Tree, true);
    TBufferedString b;
    TCanvas* canvas = Tree.Canvas();
    const TLTPaintOptions paint = Tree.TreeOptions().PaintOptions();
    const bool horz = In(paint, toShowHorzGridLines), vert = In(paint, toShowVertGridLines);

    const String padding = u"padding-left: " + Num(Tree.Margin()) + u"px; padding-right: " + Num(Tree.Margin()) + u"px;";
    const String indent = Num(Tree.Indent());
    String attributes = u" ";
    if (!Caption.empty()) attributes += u"caption=\"" + HtmlEscape(Caption) + u"\"";
    if (Tree.BorderStyle() == bsSingle) attributes += u" border=\"" + Num(Tree.BorderWidth() + 1) + u"\" frame=box";

    b.Add(u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><style type=\"text/css\">");
    b.AddNewLine();
    WriteFontStyle(b, u"default", *Tree.Font());
    b.AddNewLine();
    WriteFontStyle(b, u"header", Tree.Header().Font());
    b.AddNewLine();
    const StringView lineStyle = Tree.LineStyle() == lsSolid ? u"solid;" : u"dotted;";
    if (horz) {
        b.Add(u".noborder{ border-bottom:1px; border-left: 0px; border-right: 0px; border-top: 1px;border-style:");
        b.Add(lineStyle);
    } else {
        b.Add(u".noborder{border-style: none;");
    }
    b.Add(padding);
    b.Add(u"}");
    b.AddNewLine();
    b.Add(u".normalborder {vertical-align: top; ");
    b.Add(vert ? u"border-right: 1px; border-left: 1px; " : u"border-right: none; border-left:none; ");
    b.Add(horz ? u"border-top: 1px; border-bottom: 1px; " : u"border-top:none; border-bottom: none;");
    b.Add(u"border-width: thin; border-style: ");
    b.Add(lineStyle);
    b.Add(padding);
    b.Add(u"}</style>");
    b.AddNewLine();
    b.Add(u"<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=");
    b.Add(HtmlColor(Tree.Color()));
    b.Add(attributes);
    b.Add(u" cellspacing=\"0\">");
    b.AddNewLine();

    const std::vector<TLazyTreeColumn*> columns = VisibleColumns(Tree);
    const TColumnIndex mainColumn = Tree.Header().GetMainColumn();
    unsigned maxLevel = 0;
    std::size_t exported = 0;
    for (PLazyNode n = ExportFirstNode(Tree, Source); n && !Tree.OperationCanceled(); n = ExportNextNode(Tree, n, Source))
        if (IsNodeExported(Tree, n)) {
            maxLevel = std::max(maxLevel, Tree.GetNodeLevel(n));
            ++exported;
        }
    // About 90 units a cell: one allocation for most exports.
    b.Reserve(b.Length() + exported * (32 + 90 * std::max<std::size_t>(columns.size(), 1)));

    if (!columns.empty()) {
        FireEvent(Tree.OnBeforeHeaderExport, &Tree, etHTML);
        b.Add(u"<tr class=\"header\" style=\"");
        b.Add(padding);
        b.Add(u"\">");
        b.AddNewLine();
        for (TLazyTreeColumn* column : columns) {
            FireEvent(Tree.OnBeforeColumnExport, &Tree, etHTML, column->Index());
            b.Add(u"<th height=\"");
            AddNumber(b, Tree.Header().Height());
            b.Add(u"px\"");
            AddHtmlAlign(b, ColumnAlign(Tree, column, true));
            if (column->Index() == mainColumn && maxLevel > 0) {
                b.Add(u" colspan=\"");
                AddNumber(b, maxLevel + 1);
                b.Add(u"\"");
            }
            b.Add(u" bgcolor=");
            b.Add(HtmlColor(clBtnFace));
            b.Add(u" width=\"");
            AddNumber(b, column->Width());
            b.Add(u"px\">");
            AddEscaped(b, column->GetText());
            b.Add(u"</th>");
            FireEvent(Tree.OnAfterColumnExport, &Tree, etHTML, column->Index());
        }
        b.Add(u"</tr>");
        b.AddNewLine();
        FireEvent(Tree.OnAfterHeaderExport, &Tree, etHTML);
    }

    const std::vector<TLazyTreeColumn*> cells = columns.empty() ? std::vector<TLazyTreeColumn*>{nullptr} : columns;
    for (PLazyNode node = ExportFirstNode(Tree, Source); node && !Tree.OperationCanceled();
         node = ExportNextNode(Tree, node, Source)) {
        if (!IsNodeExported(Tree, node) || !BeforeNodeExport(Tree, etHTML, node)) continue;
        const unsigned level = Tree.GetNodeLevel(node);
        const std::uint32_t height = Tree.GetNodeHeight(node);
        b.Add(u" <tr class=\"default\">");
        b.AddNewLine();
        for (TLazyTreeColumn* column : cells) {
            const TColumnIndex index = column ? column->Index() : NoColumn;
            const bool parentColor = !column || In(column->Options(), coParentColor);
            canvas->Font()->Assign(*Tree.Font());
            Tree.ResetFontChanged();
            Tree.ExportPaintText(node, canvas, index, ttNormal);
            const bool isMain = !column || index == mainColumn;
            if (isMain) {
                for (unsigned i = 0; i < level; ++i) {
                    if (parentColor) {
                        if (i == 0) {
                            b.Add(u" <td height=\"");
                            AddNumber(b, height);
                            b.Add(u"px\" class=\"normalborder\">&nbsp;</td>");
                        } else {
                            b.Add(u" <td>&nbsp;</td>");
                        }
                    } else {
                        b.Add(u"<td class=\"noborder\" width=\"");
                        b.Add(indent);
                        b.Add(u"\" height=\"");
                        AddNumber(b, height);
                        b.Add(u"px\" bgcolor=");
                        b.Add(HtmlColor(column->Color()));
                        b.Add(u">&nbsp;</td>");
                    }
                }
            }
            if (Tree.FontChanged()) {
                b.Add(u" <td class=\"normalborder\" ");
                WriteFontStyle(b, String(), *canvas->Font());
                b.Add(u" height=\"");
            } else {
                b.Add(u" <td class=\"normalborder\"  height=\"");
            }
            AddNumber(b, height);
            b.Add(u"px\"");
            AddHtmlAlign(b, ColumnAlign(Tree, column, false));
            if (isMain && level < maxLevel) {
                b.Add(u" colspan=\"");
                AddNumber(b, maxLevel - level + 1);
                b.Add(u"\"");
            }
            if (column && !parentColor) {
                b.Add(u" bgcolor=");
                b.Add(HtmlColor(column->Color()));
            }
            b.Add(u">");
            AddEscaped(b, CellText(Tree, node, index, etHTML));
            b.Add(u"</td>");
        }
        if (Tree.OnAfterNodeExport) Tree.OnAfterNodeExport(&Tree, etHTML, node);
        b.Add(u" </tr>");
        b.AddNewLine();
    }
    b.Add(u"</table>");
    return b.AsString();
}

// ---- RTF ----

namespace {

class TRtfWriter {
public:
    explicit TRtfWriter(TBufferedRawByteString& Body) : FBody(Body) {}

    void Text(StringView S, const TFont& Font)
    {
        if (S.empty()) return;
        const TFontStyles style = Font.Style();
        if (style.Contains(fsUnderline)) FBody.Add("\\ul");
        if (style.Contains(fsItalic)) FBody.Add("\\i");
        if (style.Contains(fsBold)) FBody.Add("\\b");
        const int font = IndexOf(FFonts, Font.Name());
        if (font < 0) {
            FFonts.push_back(Font.Name());
            FCurrentFont = int(FFonts.size()) - 1;
            FBody.Add("\\f");
            AddNumber(FBody, FCurrentFont);
        } else if (font != FCurrentFont) {
            FCurrentFont = font;
            FBody.Add("\\f");
            AddNumber(FBody, font);
        }
        const TColor rgb = ColorToRGB(Font.Color());
        const int colour = IndexOf(FColors, rgb);
        if (colour < 0) {
            FColors.push_back(rgb);
            FCurrentColor = int(FColors.size()) - 1;
            FBody.Add("\\cf");
            AddNumber(FBody, FCurrentColor + 1);
        } else if (colour != FCurrentColor) {
            FCurrentColor = colour;
            FBody.Add("\\cf");
            AddNumber(FBody, colour + 1);
        }
        if (Font.Size() != FCurrentSize) {
            FCurrentSize = Font.Size();
            FBody.Add("\\fs");
            AddNumber(FBody, 2LL * FCurrentSize);
        }
        FBody.Add(' ');
        for (char16_t unit : S) {
            if (unit == u'\n') {
                FBody.Add("{\\par}");
            } else if (unit != u'\r') {
                FBody.Add("\\u");
                AddNumber(FBody, static_cast<std::int16_t>(unit));
                FBody.Add("\\'3f");
            }
        }
        if (style.Contains(fsUnderline)) FBody.Add("\\ul0");
        if (style.Contains(fsItalic)) FBody.Add("\\i0");
        if (style.Contains(fsBold)) FBody.Add("\\b0");
    }

    std::string Document(std::string_view Body) const
    {
        std::string r;
        r.reserve(Body.size() + 256 + 64 * (FFonts.size() + FColors.size()));
        r += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl";
        for (std::size_t i = 0; i < FFonts.size(); ++i) {
            r += "{\\f" + std::to_string(i) + ' ';
            // A name is a plain text of the table: \ { and } would end or open groups.
            for (char c : StringToAnsi(FFonts[i])) {
                if (c == '\\' || c == '{' || c == '}') r += '\\';
                r += c;
            }
            r += ";}";
        }
        r += "}{\\colortbl;";
        for (TColor c : FColors)
            r += "\\red" + std::to_string(GetRValue(c)) + "\\green" + std::to_string(GetGValue(c)) + "\\blue" +
                 std::to_string(GetBValue(c)) + ';';
        r += '}';
        r += UserMeasurementSystem() == msMetric ? "\\paperw16840\\paperh11907" : "\\paperw15840\\paperh12240";
        r += "\\margl720\\margr720\\margt720\\margb720";
        r += Body;
        r += '}';
        return r;
    }

private:
    template <class T>
    static int IndexOf(const std::vector<T>& List, const T& Value)
    {
        for (std::size_t i = 0; i < List.size(); ++i)
            if (List[i] == Value) return int(i);
        return -1;
    }

    TBufferedRawByteString& FBody;
    std::vector<String> FFonts;
    std::vector<TColor> FColors;
    int FCurrentFont = -1;
    int FCurrentColor = -1;
    int FCurrentSize = -1;
};

void AddRtfAlign(TBufferedRawByteString& B, TCellAlign A, bool WithLeft)
{
    if (A.Alignment == taRightJustify) B.Add("\\qr");
    else if (A.Alignment == taCenter) B.Add("\\qc");
    else if (WithLeft) B.Add("\\ql");
}

} // namespace

std::string RenderRTF(TCustomLazyStringTree& Tree, TVSTTextSourceType Source)
{
    TExportScope scope(Tree, true);
    TBufferedRawByteString body;
    TRtfWriter writer(body);
    TCanvas* canvas = Tree.Canvas();
    const std::vector<TLazyTreeColumn*> columns = VisibleColumns(Tree);
    const TColumnIndex mainColumn = Tree.Header().GetMainColumn();

    body.Add("\\uc1\\trowd\\trgaph70");
    if (!columns.empty()) {
        long long sum = 0;
        for (TLazyTreeColumn* column : columns) {
            sum += column->Width();
            body.Add("\\cellx");
            AddNumber(body, PixelsToTwips(sum, ScreenPixelsPerInch));
        }
        FireEvent(Tree.OnBeforeHeaderExport, &Tree, etRTF);
        body.Add("\\pard\\intbl");
        for (TLazyTreeColumn* column : columns) {
            FireEvent(Tree.OnBeforeColumnExport, &Tree, etRTF, column->Index());
            AddRtfAlign(body, ColumnAlign(Tree, column, true), true);
            writer.Text(column->GetText(), Tree.Header().Font());
            body.Add("\\cell");
            FireEvent(Tree.OnAfterColumnExport, &Tree, etRTF, column->Index());
        }
        body.Add("\\row");
        FireEvent(Tree.OnAfterHeaderExport, &Tree, etRTF);
    } else {
        body.Add("\\cellx");
        AddNumber(body, PixelsToTwips(Tree.ClientWidth(), ScreenPixelsPerInch));
    }

    const std::vector<TLazyTreeColumn*> cells = columns.empty() ? std::vector<TLazyTreeColumn*>{nullptr} : columns;
    unsigned currentLevel = 0;
    std::string tabs;
    for (PLazyNode node = ExportFirstNode(Tree, Source); node && !Tree.OperationCanceled();
         node = ExportNextNode(Tree, node, Source)) {
        if (!IsNodeExported(Tree, node) || !BeforeNodeExport(Tree, etRTF, node)) continue;
        const unsigned level = Tree.GetNodeLevel(node);
        for (TLazyTreeColumn* column : cells) {
            const TColumnIndex index = column ? column->Index() : NoColumn;
            const TVSTGetCellTextEventArgs texts = CellTexts(Tree, node, index, etRTF);
            body.Add("\\pard\\intbl");
            AddRtfAlign(body, ColumnAlign(Tree, column, false), false);
            canvas->Font()->Assign(*Tree.Font());
            Tree.ResetFontChanged();
            Tree.ExportPaintText(node, canvas, index, ttNormal);
            if (!column || index == mainColumn) {
                if (level != currentLevel) {
                    currentLevel = level;
                    tabs.clear();
                    for (unsigned i = 0; i < level; ++i) tabs += "\\tab";
                }
                if (level >= 1) {
                    body.Add(tabs);
                    body.Add(' ');
                }
            }
            writer.Text(texts.CellText, *canvas->Font());
            if (!texts.StaticText.empty()) {
                Tree.ExportPaintText(node, canvas, index, ttStatic);
                writer.Text(u" " + texts.StaticText, *canvas->Font());
            }
            body.Add("\\cell");
        }
        body.Add("\\row");
        body.AddNewLine();
        if (Tree.OnAfterNodeExport) Tree.OnAfterNodeExport(&Tree, etRTF, node);
    }
    body.Add("\\pard\\par");
    return writer.Document(body.View());
}

// ---- delimited text ----

namespace {

// A cell that holds the separator, a double quote, CR or LF is quoted with inner quotes
// doubled; any other cell is written as it is.
void AddDelimitedCell(TBufferedString& B, StringView Text, StringView Separator)
{
    const bool quote = (!Separator.empty() && Text.find(Separator) != StringView::npos) ||
                       Text.find_first_of(u"\"\r\n") != StringView::npos;
    if (!quote) {
        B.Add(Text);
        return;
    }
    B.Add(u'"');
    std::size_t start = 0;
    for (std::size_t i = 0; i < Text.size(); ++i)
        if (Text[i] == u'"') {
            B.Add(Text.substr(start, i + 1 - start));
            B.Add(u'"');
            start = i + 1;
        }
    B.Add(Text.substr(start));
    B.Add(u'"');
}

} // namespace

String RenderText(TCustomLazyStringTree& Tree, TVSTTextSourceType Source, const String& Separator)
{
    TExportScope scope(Tree, false);
    TBufferedString b;
    unsigned maxLevel = 0;
    for (PLazyNode n = ExportFirstNode(Tree, Source); n && !Tree.OperationCanceled(); n = ExportNextNode(Tree, n, Source))
        maxLevel = std::max(maxLevel, Tree.GetNodeLevel(n));
    String indent;
    for (unsigned i = 0; i < maxLevel; ++i) indent += Separator;

    const std::vector<TLazyTreeColumn*> columns = VisibleColumns(Tree);
    const TColumnIndex mainColumn = Tree.Header().GetMainColumn();
    if (!columns.empty()) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            AddDelimitedCell(b, columns[i]->GetText(), Separator);
            if (i + 1 < columns.size()) {
                if (columns[i]->Index() == mainColumn) b.Add(indent);
                b.Add(Separator);
            }
        }
        b.AddNewLine();
    }
    for (PLazyNode node = ExportFirstNode(Tree, Source); node && !Tree.OperationCanceled();
         node = ExportNextNode(Tree, node, Source)) {
        const unsigned level = Tree.GetNodeLevel(node);
        if (columns.empty()) {
            for (unsigned i = 0; i < level; ++i) b.Add(Separator);
            AddDelimitedCell(b, CellText(Tree, node, NoColumn, etText), Separator);
            b.AddNewLine();
            continue;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const TColumnIndex index = columns[i]->Index();
            const bool isMain = index == mainColumn;
            if (isMain)
                for (unsigned k = 0; k < level; ++k) b.Add(Separator);
            AddDelimitedCell(b, CellText(Tree, node, index, etText), Separator);
            if (isMain)
                for (unsigned k = level; k < maxLevel; ++k) b.Add(Separator);
            if (i + 1 < columns.size()) b.Add(Separator);
        }
        b.AddNewLine();
    }
    return b.AsString();
}

// ---- custom export ----

void RenderCustom(TCustomLazyStringTree& Tree, TVSTTextSourceType Source)
{
    TExportScope scope(Tree, false);
    FireEvent(Tree.OnBeforeTreeExport, &Tree, etCustom);
    if (Tree.Header().UseColumns() && In(Tree.Header().Options(), hoVisible)) {
        FireEvent(Tree.OnBeforeHeaderExport, &Tree, etCustom);
        for (TLazyTreeColumn* column : VisibleColumns(Tree)) {
            FireEvent(Tree.OnBeforeColumnExport, &Tree, etCustom, column->Index());
            FireEvent(Tree.OnColumnExport, &Tree, etCustom, column->Index());
            FireEvent(Tree.OnAfterColumnExport, &Tree, etCustom, column->Index());
        }
        FireEvent(Tree.OnAfterHeaderExport, &Tree, etCustom);
    }
    for (PLazyNode node = ExportFirstNode(Tree, Source); node && !Tree.OperationCanceled();
         node = ExportNextNode(Tree, node, Source)) {
        if (!IsNodeExported(Tree, node)) continue;
        if (Tree.OnBeforeNodeExport) Tree.OnBeforeNodeExport(&Tree, etCustom, node);
        if (Tree.OnNodeExport) Tree.OnNodeExport(&Tree, etCustom, node);
        if (Tree.OnAfterNodeExport) Tree.OnAfterNodeExport(&Tree, etCustom, node);
    }
    FireEvent(Tree.OnAfterTreeExport, &Tree, etCustom);
}

// ---- the string tree's entry points ----

String TCustomLazyStringTree::ContentToHTML(TVSTTextSourceType Source, const String& Caption)
{
    return RenderHTML(*this, Source, Caption);
}

std::string TCustomLazyStringTree::ContentToRTF(TVSTTextSourceType Source) { return RenderRTF(*this, Source); }

String TCustomLazyStringTree::ContentToText(TVSTTextSourceType Source, char16_t Separator)
{
    return RenderText(*this, Source, String(1, Separator));
}

String TCustomLazyStringTree::ContentToText(TVSTTextSourceType Source, const String& Separator)
{
    return RenderText(*this, Source, Separator);
}

String TCustomLazyStringTree::ContentToUnicode(TVSTTextSourceType Source, char16_t Separator)
{
    return ContentToText(Source, Separator);
}

void TCustomLazyStringTree::ContentToCustom(TVSTTextSourceType Source) { RenderCustom(*this, Source); }

std::vector<std::uint8_t> TCustomLazyStringTree::ContentToClipboard(UINT Format, TVSTTextSourceType Source)
{
    std::string bytes;
    if (Format == CF_TEXT) {
        bytes = StringToAnsi(ContentToText(Source, u'\t'));
        bytes += '\0';
    } else if (Format == CF_UNICODETEXT) {
        const String text = ContentToText(Source, u'\t');
        std::vector<std::uint8_t> r((text.size() + 1) * 2, 0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            r[2 * i] = std::uint8_t(text[i] & 0xFF);
            r[2 * i + 1] = std::uint8_t(text[i] >> 8);
        }
        return r;
    } else if (Format != 0 && Format == CsvFormat) {
        bytes = StringToAnsi(ContentToText(Source, String(1, plat::FormatSettings.ListSeparator)));
        bytes += '\0';
    } else if (Format != 0 && (Format == RtfFormat || Format == RtfNoObjectsFormat)) {
        bytes = ContentToRTF(Source);
        bytes += '\0';
    } else if (Format != 0 && Format == HtmlFormat) {
        bytes = WrapClipboardHtmlFragment(StringToUtf8(ContentToHTML(Source)));
        bytes += '\0';
    } else {
        return {};
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool TCustomLazyStringTree::SaveToCSVFile(const String& FileName, bool IncludeHeading)
{
    if (FileName.empty()) return false;
    auto quoted = [](StringView Text, TBufferedString& B) {
        B.Add(u'"');
        for (char16_t c : Text) {
            B.Add(c);
            if (c == u'"') B.Add(c);
        }
        B.Add(u'"');
    };
    TLazyTreeColumns& columns = Header().Columns();
    TBufferedString b;
    if (IncludeHeading) {
        for (int i = 0; i < columns.Count(); ++i) {
            if (i > 0) b.Add(u',');
            quoted(columns[i]->GetText(), b);
        }
        b.AddNewLine();
    }
    for (PLazyNode node = GetFirstChild(nullptr); node; node = GetNextSibling(node)) {
        for (int i = 0; i < columns.Count(); ++i) {
            if (i > 0) b.Add(u',');
            const String text = GetText(node, i);
            quoted(text.empty() ? StringView(u" ") : StringView(text), b);
        }
        b.AddNewLine();
    }
    return WriteFileAtomic(FileName, StringToAnsi(b.AsString()));
}

} // namespace vtree
