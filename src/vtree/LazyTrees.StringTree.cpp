// The string tree's texts: asked for through events whenever they are needed, never stored;
// only each node's main-column text width is cached (0 = not measured). Texts are
// shortened with "..." when a single line does not fit, wrapped for multi-line nodes, and
// saved as the caption chunk of the tree stream.
#include <algorithm>
#include <climits>
#include <cstring>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Colors.h"
#include "LazyTrees.Utils.h"
#include "plat/Graphics.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace vtree {

using namespace plat;

namespace {

void NotNil(PLazyNode Node)
{
    if (!Node)
        throw EAssertionFailed(u"Node must not be nil.");
}

unsigned AlignmentFlag(TAlignment A)
{
    switch (A) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

} // namespace

// ---- texts

void TCustomLazyStringTree::DoGetText(TVSTGetCellTextEventArgs& Args)
{
    if (Args.Node && !Args.Node->Has(vsInitialized))
        InitializeNode(Args.Node);
    if (OnGetCellText) {
        OnGetCellText(this, Args);
    } else if (OnGetText) {
        OnGetText(this, Args.Node, Args.Column, ttNormal, Args.CellText);
        OnGetText(this, Args.Node, Args.Column, ttStatic, Args.StaticText);
    }
}

String TCustomLazyStringTree::GetText(PLazyNode Node, TColumnIndex Column)
{
    NotNil(Node);
    TVSTGetCellTextEventArgs args;
    args.Node = Node;
    args.Column = Column;
    args.CellText = DefaultText;
    DoGetText(args);
    return args.CellText;
}

void TCustomLazyStringTree::SetText(PLazyNode Node, TColumnIndex Column, const String& Value)
{
    NotNil(Node);
    DoNewText(Node, Column, Value);
    InvalidateNode(Node);
}

String TCustomLazyStringTree::GetStaticText(PLazyNode Node, TColumnIndex Column)
{
    NotNil(Node);
    TVSTGetCellTextEventArgs args;
    args.Node = Node;
    args.Column = Column;
    DoGetText(args);
    return args.StaticText;
}

String TCustomLazyStringTree::GetImageText(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column)
{
    NotNil(Node);
    if (!Node->Has(vsInitialized))
        InitializeNode(Node);
    String text;
    if (OnGetImageText)
        OnGetImageText(this, Node, Kind, Column, text);
    return text;
}

String TCustomLazyStringTree::Path(PLazyNode Node, TColumnIndex Column, char16_t Delimiter)
{
    String result(1, Delimiter);
    if (!Node || Node == RootNode())
        return result;
    result.clear();
    for (PLazyNode n = Node; n && n != RootNode(); n = n->Parent)
        result = GetText(n, Column) + Delimiter + result;
    return result;
}

void TCustomLazyStringTree::SetDefaultText(const String& Value)
{
    if (Value == DefaultText)
        return;
    DefaultText = Value;
    if (!(ComponentState() & csLoading))
        InvalidateTree();
}

void TCustomLazyStringTree::DoNewText(PLazyNode Node, TColumnIndex Column, const String& Text)
{
    if (OnNewText)
        OnNewText(this, Node, Column, Text);
}

void TCustomLazyStringTree::DoPaintText(PLazyNode Node, TCanvas* Canvas, TColumnIndex Column, TVSTTextType TextType)
{
    if (OnPaintText)
        OnPaintText(this, Canvas, Node, Column, TextType);
}

bool TCustomLazyStringTree::GetMultiline(PLazyNode Node) const
{
    return Node && Node != RootNode() && Node->Has(vsMultiline);
}

void TCustomLazyStringTree::SetMultiline(PLazyNode Node, bool Value)
{
    if (!Node || Node == RootNode() || Node->Has(vsMultiline) == Value)
        return;
    if (Value) {
        Node->Include(vsMultiline);
        FHasMultilineNodes = true;
    } else
        Node->Exclude(vsMultiline);
    if (UpdateCount() == 0)
        InvalidateNode(Node);
}

plat::TRect TCustomLazyStringTree::InvalidateNode(PLazyNode Node)
{
    const TRect r = TBaseLazyTree::InvalidateNode(Node);
    if (Node && Node != RootNode()) {
        SetCachedTextWidth(Node, 0);
        Node->Exclude(vsHeightMeasured);
    }
    return r;
}

void TCustomLazyStringTree::ResetAllTextWidths()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        SetCachedTextWidth(n, 0);
}

void TCustomLazyStringTree::UpdateFontMetrics()
{
    TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Font());
    TTextMetric tm;
    probe.Canvas()->GetTextMetrics(tm);
    FTextHeight = tm.tmHeight;
    FEllipsisWidth = probe.Canvas()->TextWidth(u"...");
    ResetAllTextWidths();
}

void TCustomLazyStringTree::WndProc(TMessage& Message)
{
    TBaseLazyTree::WndProc(Message);
    if (Message.Msg == WM_SETFONT)
        UpdateFontMetrics();
}

// ---- measuring

TSize TCustomLazyStringTree::DoMeasureText(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text)
{
    TSize size = Canvas->TextExtent(Text);
    if (Node->Has(vsMultiline)) {
        TRect r{0, 0, size.cx, INT_MAX};
        unsigned format = DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL |
                          AlignmentFlag(Alignment());
        if (BiDiMode() != bdLeftToRight)
            format |= DT_RTLREADING;
        Canvas->DrawText(Text, r, format);
        size.cx = r.Width();
    }
    if (OnMeasureTextWidth)
        OnMeasureTextWidth(this, Canvas, Node, Column, Text, size.cx);
    if (OnMeasureTextHeight)
        OnMeasureTextHeight(this, Canvas, Node, Column, Text, size.cy);
    return size;
}

int TCustomLazyStringTree::NodeTextWidth(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text)
{
    int result = 2 * TextMargin();
    if (!Text.empty()) {
        Canvas->SetFont(Font());
        DoPaintText(Node, Canvas, Column, ttNormal);
        result += DoMeasureText(Canvas, Node, Column, Text).cx;
    }
    return result;
}

int TCustomLazyStringTree::StaticTextWidth(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& Text)
{
    if (Text.empty() || Alignment() == taCenter || Node->Has(vsMultiline))
        return 0;
    DoPaintText(Node, Canvas, Column, ttStatic);
    return DoMeasureText(Canvas, Node, Column, Text).cx + TextMargin();
}

int TCustomLazyStringTree::DoGetNodeWidth(PLazyNode Node, TColumnIndex Column, TCanvas* Canvas)
{
    if (!Canvas)
        Canvas = this->Canvas();
    // A multi-line text wraps inside its column: the node is as wide as the column.
    if (Node->Has(vsMultiline) && Header().Columns().IsValidColumn(Column))
        return Header().Columns()[Column]->Width();
    if (Column == NoColumn || Column == Header().MainColumn) {
        int width = static_cast<int>(CachedTextWidth(Node));
        if (width == 0) {
            width = NodeTextWidth(Canvas, Node, Column, GetText(Node, Column));
            SetCachedTextWidth(Node, static_cast<std::uint32_t>(width));
        }
        return width;
    }
    return NodeTextWidth(Canvas, Node, Column, GetText(Node, Column));
}

int TCustomLazyStringTree::NodeExtraWidth(PLazyNode Node, TColumnIndex Column, TCanvas* Canvas)
{
    if (!In(TreeOptions().StringOptions(), toShowStaticText))
        return 0;
    return StaticTextWidth(Canvas ? Canvas : this->Canvas(), Node, Column, GetStaticText(Node, Column));
}

int TCustomLazyStringTree::ComputeNodeHeight(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, String S)
{
    if (S.empty())
        S = GetText(Node, Column);
    unsigned format = Node->Has(vsMultiline) ? (DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL)
                                             : (DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE);
    format |= DT_CALCRECT;
    TLazyTreeColumns& cols = Header().Columns();
    const bool inColumn = cols.IsValidColumn(Column);
    const TBiDiMode bidi = inColumn ? cols[Column]->BiDiMode() : BiDiMode();
    if (bidi != bdLeftToRight)
        format |= DT_RTLREADING | DT_RIGHT;
    TRect r{0, 0, ClientWidth(), 0};
    if (inColumn) {
        // The text's room in the column: margins off, the indent off in the main column, and
        // any empty neighbours the cell spans over.
        r = TRect{TextMargin() + Margin(), 0, cols[Column]->Width() - TextMargin(), 0};
        if (Column == Header().MainColumn) {
            const bool fixedIndent = In(TreeOptions().PaintOptions(), toFixedIndent);
            int levels = 1;
            if (!fixedIndent) {
                levels = static_cast<int>(GetNodeLevel(Node));
                if (In(TreeOptions().PaintOptions(), toShowRoot)) ++levels;
            }
            r.Left += static_cast<int>(Indent()) * levels;
        }
        TLTPaintInfo info;
        info.Node = Node;
        info.Column = Column;
        info.BidiMode = bidi;
        info.CellRect = r;
        TColumnIndex next;
        SpanCellRect(info, next);
        r = info.CellRect;
    }
    Canvas->DrawText(S, r, format);
    return r.Height();
}

// ---- painting

String TCustomLazyStringTree::DoShortenString(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const String& S,
                                              int Width, int EllipsisWidth)
{
    bool done = false;
    String result;
    if (OnShortenString)
        OnShortenString(this, Canvas, Node, Column, S, Width, result, done);
    if (!done)
        result = ShortenTextWithEllipsis(Canvas, S, Width, EllipsisWidth);
    return result;
}

void TCustomLazyStringTree::DoDrawText(TLTPaintInfo& PaintInfo, const String& Text, TRect CellRect, unsigned DrawFormat)
{
    bool defaultDraw = true;
    if (OnDrawText)
        OnDrawText(this, PaintInfo.Canvas, PaintInfo.Node, PaintInfo.Column, Text, CellRect, defaultDraw);
    if (defaultDraw)
        PaintInfo.Canvas->DrawText(Text, CellRect, DrawFormat);
}

void TCustomLazyStringTree::PrepareTextFont(TLTPaintInfo& PaintInfo)
{
    TCanvas* c = PaintInfo.Canvas;
    c->SetFont(Font());
    c->Font()->SetColor(Enabled() ? Colors().NodeFontColor() : Colors().DisabledColor());
    const TLTPaintOptions po = TreeOptions().PaintOptions();
    if (In(po, toHotTrack) && PaintInfo.Node == HotNode() && !HasState(tsUseExplorerTheme)) {
        c->Font()->SetStyle(c->Font()->Style() + fsUnderline);
        c->Font()->SetColor(Colors().HotColor());
    }
    const bool fullRow = In(TreeOptions().SelectionOptions(), toFullRowSelect);
    if (HasPaint(PaintInfo.PaintOptions, poDrawSelection) && (PaintInfo.Column == FocusedColumn() || fullRow)) {
        const bool selected = PaintInfo.Node->Has(vsSelected);
        bool selectionText;
        if (PaintInfo.Node == DropTarget())
            selectionText = !HasState(tsUseExplorerTheme) && (DropMode() == dmOnNode || selected);
        else
            selectionText = selected && (Focused() || In(po, toPopupMode));
        if (selectionText)
            c->Font()->SetColor(Colors().SelectionTextColor());
    }
}

void TCustomLazyStringTree::PaintNodeText(TLTPaintInfo& PaintInfo, String Text)
{
    PrepareTextFont(PaintInfo);
    TCanvas* c = PaintInfo.Canvas;
    TRect r = PaintInfo.ContentRect;
    FTextOpaque = false;
    r.Left += TextMargin();
    r.Right -= TextMargin();
    const bool disabled = PaintInfo.Node->Has(vsDisabled) || !Enabled();
    const bool rtl = PaintInfo.BidiMode != bdLeftToRight;
    unsigned format;
    if (PaintInfo.Node->Has(vsMultiline)) {
        DoPaintText(PaintInfo.Node, c, PaintInfo.Column, ttNormal);
        const int height = ComputeNodeHeight(c, PaintInfo.Node, PaintInfo.Column);
        if (disabled)
            c->Font()->SetColor(Colors().DisabledColor());
        format = AlignmentFlag(PaintInfo.Alignment) | DT_NOPREFIX | DT_WORDBREAK | DT_END_ELLIPSIS | DT_EDITCONTROL;
        if (rtl)
            format |= DT_RTLREADING;
        if (height < r.Height()) {
            const int d = (r.Height() - height) / 2;
            r.Top += d;
            r.Bottom -= d;
        }
    } else {
        ResetFontChanged();
        int ellipsisWidth = FEllipsisWidth;
        DoPaintText(PaintInfo.Node, c, PaintInfo.Column, ttNormal);
        if (FontChanged()) {
            ellipsisWidth = 0;
            PaintInfo.NodeWidth = c->TextWidth(Text) + 2 * TextMargin();
        }
        if (disabled)
            c->Font()->SetColor(Colors().DisabledColor());
        format = DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE;
        if (rtl)
            format |= DT_RTLREADING;
        // A text wider than its cell is shortened; a shortened centred text reads from the left.
        if (r.Width() < PaintInfo.NodeWidth - 2 * TextMargin()) {
            Text = DoShortenString(c, PaintInfo.Node, PaintInfo.Column, Text, r.Width(), ellipsisWidth);
            format |= PaintInfo.Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        } else {
            format |= AlignmentFlag(PaintInfo.Alignment);
        }
    }
    c->SetBkMode(FTextOpaque ? OPAQUE : TRANSPARENT);
    DoDrawText(PaintInfo, Text, r, format);
}

void TCustomLazyStringTree::PaintStaticText(TLTPaintInfo& PaintInfo, const String& Text)
{
    TCanvas* c = PaintInfo.Canvas;
    c->SetFont(Font());
    const TLTPaintOptions po = TreeOptions().PaintOptions();
    if (In(TreeOptions().SelectionOptions(), toFullRowSelect)) {
        const bool selected = PaintInfo.Node->Has(vsSelected);
        bool selectionText;
        if (PaintInfo.Node == DropTarget())
            selectionText = DropMode() == dmOnNode || selected;
        else
            selectionText = selected && (Focused() || In(po, toPopupMode));
        c->Font()->SetColor(selectionText ? Colors().SelectionTextColor() : Colors().NodeFontColor());
    }
    FTextOpaque = false;
    DoPaintText(PaintInfo.Node, c, PaintInfo.Column, ttStatic);
    if (PaintInfo.Node->Has(vsDisabled) || !Enabled())
        c->Font()->SetColor(Colors().DisabledColor());
    TRect r = PaintInfo.ContentRect;
    if (PaintInfo.Alignment == taRightJustify)
        r.Right -= PaintInfo.NodeWidth + TextMargin();
    else
        r.Left += PaintInfo.NodeWidth + TextMargin();
    c->SetBkMode(FTextOpaque ? OPAQUE : TRANSPARENT);
    c->DrawText(Text, r, DT_NOPREFIX | DT_VCENTER | DT_SINGLELINE);
}

void TCustomLazyStringTree::PaintNodeContent(TLTPaintInfo& PaintInfo)
{
    TCanvas* c = PaintInfo.Canvas;
    HookCanvasFontChange(c);
    struct Unhook {
        TCustomLazyStringTree* T;
        TCanvas* C;
        ~Unhook() { T->UnhookCanvasFontChange(C); }
    } unhook{this, c};
    TVSTGetCellTextEventArgs args;
    args.Node = PaintInfo.Node;
    args.Column = PaintInfo.Column;
    DoGetText(args);
    if (!args.CellText.empty())
        PaintNodeText(PaintInfo, args.CellText);
    if (Alignment() != taCenter && !PaintInfo.Node->Has(vsMultiline) &&
        In(TreeOptions().StringOptions(), toShowStaticText) && !args.StaticText.empty())
        PaintStaticText(PaintInfo, args.StaticText);
}

void TCustomLazyStringTree::GetTextInfo(PLazyNode Node, TColumnIndex Column, TFont& AFont, TRect& R, String& Text)
{
    TCanvas* c = Canvas();
    c->SetFont(&AFont);
    ResetFontChanged();
    HookCanvasFontChange(c);
    int textHeight;
    {
        struct Unhook {
            TCustomLazyStringTree* T;
            TCanvas* C;
            ~Unhook() { T->UnhookCanvasFontChange(C); }
        } unhook{this, c};
        DoPaintText(Node, c, Column, ttNormal);
        if (FontChanged()) {
            AFont.Assign(*c->Font());
            TTextMetric tm;
            c->GetTextMetrics(tm);
            textHeight = tm.tmHeight;
        } else {
            textHeight = FTextHeight;
        }
    }
    Text = GetText(Node, Column);
    R = GetDisplayRect(Node, Column, true, !Node->Has(vsMultiline));
    if (In(TreeOptions().PaintOptions(), toShowHorzGridLines))
        --R.Bottom;
    const int d = (textHeight - R.Height()) / 2;
    R.Top -= d;
    R.Bottom += d;
}

namespace {

// The position of Text in the sorted, case-insensitive list, and whether it is there.
std::pair<std::vector<String>::iterator, bool> FindText(std::vector<String>& List, const String& Text)
{
    auto it = std::lower_bound(List.begin(), List.end(), Text,
                               [](const String& A, const String& B) { return plat::CompareText(A, B) < 0; });
    return {it, it != List.end() && plat::CompareText(*it, Text) == 0};
}

} // namespace

PLazyNode TCustomLazyStringTree::AddChild(PLazyNode Parent, const void* UserData)
{
    PLazyNode node = TBaseLazyTree::AddChild(Parent, UserData);
    if (node && In(TreeOptions().SelectionOptions(), toRestoreSelection) && !FPreviouslySelected.empty() && OnGetText) {
        String text;
        OnGetText(this, node, 0, ttNormal, text);
        if (FindText(FPreviouslySelected, text).second) {
            DoStateChange(TreeBit(tsPreviouslySelectedLocked));
            {
                struct Unlock {
                    TCustomLazyStringTree* T;
                    ~Unlock() { T->DoStateChange(0, TreeBit(tsPreviouslySelectedLocked)); }
                } unlock{this};
                AddToSelection(node);
            }
            if (UpdateCount() == 0)
                if (PLazyNode first = GetFirstSelected()) ScrollIntoView(first, true, false);
        }
    }
    return node;
}

void TCustomLazyStringTree::DoAddToSelection(PLazyNode Node)
{
    TBaseLazyTree::DoAddToSelection(Node);
    if (!In(TreeOptions().SelectionOptions(), toRestoreSelection) || !OnGetText || HasState(tsPreviouslySelectedLocked))
        return;
    String text;
    OnGetText(this, Node, 0, ttNormal, text);
    auto [it, found] = FindText(FPreviouslySelected, text);
    if (!found) FPreviouslySelected.insert(it, text);
}

void TCustomLazyStringTree::DoRemoveFromSelection(PLazyNode Node)
{
    TBaseLazyTree::DoRemoveFromSelection(Node);
    if (!In(TreeOptions().SelectionOptions(), toRestoreSelection) || !OnGetText || FPreviouslySelected.empty()) return;
    String text;
    OnGetText(this, Node, 0, ttNormal, text);
    auto [it, found] = FindText(FPreviouslySelected, text);
    if (found) FPreviouslySelected.erase(it);
}

// ---- stream: the caption chunk

void TCustomLazyStringTree::StoreNodeChunks(TStream& Stream, PLazyNode Node)
{
    TBaseLazyTree::StoreNodeChunks(Stream, Node);
    if (!In(TreeOptions().StringOptions(), toSaveCaptions) || Node == RootNode() || !Node->Has(vsInitialized))
        return;
    const String text = GetText(Node, Header().MainColumn);
    if (text.empty())
        return;
    std::uint8_t header[8];
    const std::uint32_t type = 3, size = static_cast<std::uint32_t>(2 * text.size());
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<std::uint8_t>(type >> (8 * i));
        header[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    Stream.WriteBuffer(header, 8);
    std::vector<std::uint8_t> units(2 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        units[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        units[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    Stream.WriteBuffer(units.data(), units.size());
}

bool TCustomLazyStringTree::ReadNodeSubChunk(TStream& Stream, int Version, std::int64_t ChunkEnd,
                                             std::int32_t ChunkSize, std::int32_t ChunkType, PLazyNode Node,
                                             unsigned Depth)
{
    if (ChunkType != 3)
        return TBaseLazyTree::ReadNodeSubChunk(Stream, Version, ChunkEnd, ChunkSize, ChunkType, Node, Depth);
    String text;
    if (ChunkSize > 0) {
        // Whole code units only: an odd last byte is skipped with the chunk.
        const std::size_t count = static_cast<std::size_t>(ChunkSize) / 2;
        std::vector<std::uint8_t> units(2 * count);
        if (count > 0)
            Stream.ReadBuffer(units.data(), units.size());
        text.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            text[i] = static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    }
    Stream.Seek(ChunkEnd, soBeginning);
    SetText(Node, Header().MainColumn, text);
    return true;
}

// ---- the owner-drawn tree

TPoint TCustomLazyDrawTree::GetCellContentMargin(PLazyNode Node, TColumnIndex Column,
                                                 TLTCellContentMarginType CellContentMarginType, TCanvas* Canvas)
{
    TPoint margin{0, 0};
    if (!Canvas)
        Canvas = this->Canvas();
    if (FOnGetCellContentMargin)
        FOnGetCellContentMargin(this, Canvas, Node, Column, CellContentMarginType, margin);
    return margin;
}

int TCustomLazyDrawTree::DoGetNodeWidth(PLazyNode Node, TColumnIndex Column, TCanvas* Canvas)
{
    int width = 2 * TextMargin();
    if (!Canvas)
        Canvas = this->Canvas();
    if (OnGetNodeWidth)
        OnGetNodeWidth(this, Canvas, Node, Column, width);
    return width;
}

void TCustomLazyDrawTree::PaintNodeContent(TLTPaintInfo& PaintInfo)
{
    if (OnDrawNode)
        OnDrawNode(this, PaintInfo);
}

} // namespace vtree
