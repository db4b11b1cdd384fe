#include "GridHint.h"

#include <algorithm>

#include "EsgHTMLE.h"
#include "ExtUtil.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

namespace grid {

using plat::TRect;

namespace {

bool gUseHTMLHints = false;

} // namespace

THTMLHintWindow::THTMLHintWindow(plat::TComponent* AOwner) : plat::THintWindow(AOwner) {}

String& THTMLHintWindow::LastGridFontName() {
    static String name = u"Tahoma";
    return name;
}

plat::TPoint THTMLHintWindow::Measure(const String& AHint, int MaxWidth, bool& Wide) {
    plat::TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    Wide = DetectCellTextKind(AHint, true) == ctEscapedUnicode;
    if (Wide) {
        c->Font()->SetName(LastGridFontName());
        FWideCaption = DecodeEscapedUnicode(AHint);
        TRect r{0, 0, 0, 0};
        c->DrawText(FWideCaption, r, plat::DT_CALCRECT | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
        return {r.Right, r.Height()};
    }
    TMarkupDrawInput in;
    in.Canvas = c;
    in.Text = AHint;
    in.Rect = {0, 0, MaxWidth, 0};
    in.Images = FImages;
    in.XPos = in.YPos = 0;
    in.MeasureOnly = true;
    in.WordWrap = true;
    in.URLColor = 0xFF0000;
    in.ShadowColor = 0x808080;
    TMarkupDrawResult out;
    DrawMarkupText(in, out);
    return {out.XSize, out.YSize};
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
    bool wide = false;
    const plat::TPoint s = Measure(AHint, MaxWidth, wide);
    return {0, 0, s.X, s.Y};
}

void THTMLHintWindow::ActivateHintData(TRect R, const String& AHint, void* AData) {
    if (auto* g = dynamic_cast<TExtStringGrid*>(static_cast<plat::TObject*>(AData))) FImages = g->GetGridImageList();
    ActivateHint(R, AHint);
}

void THTMLHintWindow::ActivateHint(TRect R, const String& AHint) {
    SetCaption(AHint);
    R.Right = R.Left + 1008;
    bool wide = false;
    const plat::TPoint s = Measure(AHint, R.Width(), wide);
    FTextWidth = s.X;
    FTextHeight = s.Y;
    const int margin = wide ? 8 : 16;
    R = {R.Left, R.Top, R.Left + FTextWidth + margin, R.Top + FTextHeight + 4};
    const TRect mon = plat::Screen->MonitorRect({R.Left, R.Top});
    if (R.Right > mon.Left + mon.Width()) {
        const int w = R.Width();
        R.Right = mon.Right - 2;
        R.Left = R.Right - w;
    }
    if (R.Bottom > mon.Top + mon.Height()) {
        const int h = R.Height();
        R.Bottom = mon.Bottom - 2;
        R.Top = R.Bottom - h;
    }
    // The layer's window adds a 1-pixel border on each side of the rectangle it is given.
    plat::THintWindow::ActivateHintData({R.Left, R.Top, R.Right - 2, R.Bottom - 2}, AHint, nullptr);
    Invalidate();
}

void THTMLHintWindow::Paint() {
    plat::TCanvas* c = Canvas();
    const TRect cr = ClientRect();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(plat::bsSolid);
    c->FillRect(cr);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(plat::cl3DLight);
    c->MoveTo(cr.Left, cr.Bottom - 2);
    c->LineTo(cr.Left, cr.Top);
    c->LineTo(cr.Right - 1, cr.Top);
    c->Pen()->SetColor(plat::cl3DDkShadow);
    c->MoveTo(cr.Left, cr.Bottom - 1);
    c->LineTo(cr.Right - 1, cr.Bottom - 1);
    c->LineTo(cr.Right - 1, cr.Top - 1);
    const int top = cr.Top + (cr.Height() - FTextHeight) / 2;
    TRect tr{cr.Left + 4, top, cr.Right - 4, top + FTextHeight + 8};
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(plat::bsClear);
    const String caption = GetText();
    if (DetectCellTextKind(caption, true) == ctEscapedUnicode) {
        c->Font()->SetName(LastGridFontName());
        c->DrawText(FWideCaption, tr, plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    } else {
        TMarkupDrawInput in;
        in.Canvas = c;
        in.Text = caption;
        in.Rect = tr;
        in.Images = FImages;
        in.XPos = in.YPos = 0;
        in.URLColor = 0xFF0000;
        in.ShadowColor = 0x808080;
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
    }
    c->Brush()->SetStyle(plat::bsSolid);
}

void SetUseHTMLHints(bool Value) {
    gUseHTMLHints = Value;
    if (Value)
        plat::Application->HintWindowClass = [](plat::TComponent* AOwner) -> plat::THintWindow* {
            return new THTMLHintWindow(AOwner);
        };
    else
        plat::Application->HintWindowClass = nullptr;
}

bool UseHTMLHints() { return gUseHTMLHints; }

bool TExtStringGrid::UseHTMLHints() const { return grid::UseHTMLHints(); }
void TExtStringGrid::SetUseHTMLHints(bool Value) { grid::SetUseHTMLHints(Value); }

// ---- the hint of a cell ----------------------------------------------------------------------

void TExtStringGrid::GetCellHintInfo(String& HintStr, plat::THintInfo& HintInfo) {
    const plat::TPoint cursor = HintInfo.CursorPos;
    int col = -1, row = -1;
    MouseToCell(cursor.X, cursor.Y, col, row);
    if (FControlLook->HintMaxWidth > 0) HintInfo.HintMaxWidth = FControlLook->HintMaxWidth;
    THTMLHintWindow::LastGridFontName() = Font()->Name();
    HintInfo.HintColor = HintColor;
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) {
        FLastHintPos = {-1, -1};
        HintStr.clear();
        return;
    }
    const TPoint b = BaseCell(RealColIndex(col), row);
    const int dcol = DisplColIndex(b.X);
    const plat::TRect cell = CellRect(dcol, b.Y);
    // The hint stays while the pointer is on this cell.
    HintInfo.CursorRect = cell;
    FLastHintPos = b;
    plat::TPoint pos{cursor.X, cell.Bottom + 6};
    String text = HintStr;
    String comment;
    const String raw = GetCellEx(b.X, b.Y);
    const int kind = DetectCellTextKind(raw, EnableHTML);
    auto shown = [&](bool asIsWithHTML) {
        if (kind == ctEscapedUnicode) return DecodeEscapedUnicode(raw);
        if (kind == ctMarkup && !(asIsWithHTML && HTMLHint)) return MarkupToPlainText(raw);
        return raw;
    };
    if (IsComment(b.X, b.Y, comment)) {
        text = comment;
        pos = {cell.Right, cell.Top};
    }
    if (AnchorHint && kind == ctMarkup) {
        plat::TBitmap scratch(std::max(1, cell.Width()), std::max(1, cell.Height()));
        scratch.Canvas()->Font()->Assign(*Font());
        TMarkupDrawInput in;
        in.Canvas = scratch.Canvas();
        in.Text = raw;
        in.Rect = plat::Rect(FXYOffset.X + 1, FXYOffset.Y + 1, cell.Width() - FXYOffset.X, cell.Height());
        in.XPos = cursor.X - cell.Left;
        in.YPos = cursor.Y - cell.Top;
        TMarkupDrawResult out;
        if (DrawMarkupText(in, out) && !out.AnchorVal.empty()) {
            String hint = out.AnchorTitle.empty() ? out.AnchorVal : out.AnchorTitle;
            if (OnAnchorHint) OnAnchorHint(this, b.Y, b.X, hint);
            FLastAnchorHint = hint;
            text = hint;
            pos = {cursor.X + 8, cursor.Y - 16};
        }
    }
    const bool normal = dcol >= FixedCols() && b.Y >= FixedRows();
    if (HintShowCells && normal) {
        text = shown(true);
        pos = {cursor.X, cell.Top};
    }
    if (HintShowLargeText) {
        const TPoint size = GetCellTextSize(b.X, b.Y, false, false);
        if (size.X > cell.Width() || size.Y > cell.Height()) {
            text = shown(true);
            if (HintShowLargeTextPos == hpCell) pos = {cell.Left, cell.Top};
        }
    }
    const bool footerRow = FloatingFooter() && FloatingFooter()->Visible() && b.Y == RowCount() - 1;
    if (!footerRow) {
        String wide;
        GridHint(b.X, b.Y, text, wide);
    }
    const int finalKind = DetectCellTextKind(text, true);
    if ((finalKind == ctMarkup || finalKind == ctEscapedUnicode) && UseInternalHintClass) {
        HintInfo.HintWindowClass = [](plat::TComponent* AOwner) -> plat::THintWindow* { return new THTMLHintWindow(AOwner); };
        HintInfo.HintData = this;
    }
    HintInfo.HintPos = ClientToScreen(pos);
    HintStr = text;
}

} // namespace grid
