// Scroll bars of the string grid: the flat and encarta looks of the window bars, the slim
// indicators of the metro type, proportional thumbs, the scroll messages around the
// framework's scrolling, integral height and the size message.
#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "GridFooter.h"
#include "GridScrollControl.h"
#include "GridSearchPanel.h"
#include "plat/Messages.h"

namespace grid {

namespace {

constexpr int kThumbRange = 127;  // thumb positions of the proportional bars: 0 .. 127

int FlatStyleOf(TScrollType Type) {
    switch (Type) {
    case ssFlat: return plat::FSB_FLAT_MODE;
    case ssEncarta: return plat::FSB_ENCARTA_MODE;
    default: return plat::FSB_REGULAR_MODE;
    }
}

bool HasHorz(plat::TScrollStyle S) { return S == plat::ssHorizontal || S == plat::ssBoth; }
bool HasVert(plat::TScrollStyle S) { return S == plat::ssVertical || S == plat::ssBoth; }

// Round half to even, as the thumb arithmetic asks.
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

} // namespace

// ---- flat bars ---------------------------------------------------------------------------

void TExtStringGrid::InitFlatScrollBars() { FFlatScrollInit = plat::InitializeFlatSB(Handle()); }

void TExtStringGrid::UninitFlatScrollBars() {
    FFlatScrollInit = false;
    plat::UninitializeFlatSB(Handle());
}

void TExtStringGrid::ApplyFlatScrollStyle() {
    if (!FFlatScrollInit || FScrollType == ssMetro) return;
    const int style = FlatStyleOf(FScrollType);
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_VSTYLE, style, true);
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_HSTYLE, style, true);
}

void TExtStringGrid::ApplyFlatScrollColor() {
    if (!FFlatScrollInit || ScrollColor == plat::clNone) return;
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_VBKGCOLOR, static_cast<std::intptr_t>(ScrollColor), true);
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_HBKGCOLOR, static_cast<std::intptr_t>(ScrollColor), true);
}

void TExtStringGrid::ApplyFlatScrollWidth() {
    if (!FFlatScrollInit) return;
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_CXVSCROLL, ScrollWidth, true);
    plat::FlatSB_SetScrollProp(Handle(), plat::WSB_PROP_CYHSCROLL, ScrollWidth, true);
}

void TExtStringGrid::FlatShowScrollBar(int Bar, bool Show) {
    if (!FFlatScrollInit) return;
    if (Bar == plat::SB_HORZ && !HasHorz(ScrollBars)) return;
    if (Bar == plat::SB_VERT && !HasVert(ScrollBars)) return;
    plat::FlatSB_ShowScrollBar(Handle(), Bar, Show);
}

void TExtStringGrid::SyncFlatScroll(int Bar) {
    if (!FFlatScrollInit) return;
    if (Bar == plat::SB_HORZ ? !HasHorz(ScrollBars) : !HasVert(ScrollBars)) return;
    plat::TScrollInfo si;
    si.fMask = plat::SIF_ALL;
    if (!plat::GetScrollInfo(Handle(), Bar, si)) return;
    plat::FlatSB_SetScrollInfo(Handle(), Bar, si, true);
}

bool TExtStringGrid::RowsHiddenBelow() { return VisibleRowCount() + FixedRows() < RowCount(); }
bool TExtStringGrid::ColsHiddenRight() { return VisibleColCount() + FixedCols() < ColCount(); }

void TExtStringGrid::UpdateFlatScrollBars() {
    ApplyFlatScrollStyle();
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    ShowFlatBarsAsNeeded();
}

void TExtStringGrid::ShowFlatBarsAsNeeded() {
    if (!FFlatScrollInit) return;
    const bool v = RowsHiddenBelow();
    FlatShowScrollBar(plat::SB_VERT, v);
    if (v) SyncFlatScroll(plat::SB_VERT);
    const bool h = ColsHiddenRight();
    FlatShowScrollBar(plat::SB_HORZ, h);
    if (h) SyncFlatScroll(plat::SB_HORZ);
}

void TExtStringGrid::ApplyScrollType() {
    if (FScrollType == ssFlat || FScrollType == ssEncarta) {
        InitFlatScrollBars();
        UpdateFlatScrollBars();
    } else {
        UninitFlatScrollBars();
    }
    if (Parent() && FScrollType == ssMetro) {
        CreateScrollControls();
        ScrollBars = plat::ssNone;
        ApplyScrollBars();
    } else if (Parent() && FVScrollControl) {
        FreeScrollControls();
        ScrollBars = plat::ssBoth;
        ApplyScrollBars();
    }
    ApplyFlatScrollStyle();
    Invalidate();
}

void TExtStringGrid::SetScrollColor(TColor Value) {
    ScrollColor = Value;
    ApplyFlatScrollColor();
}

void TExtStringGrid::SetScrollWidth(int Value) {
    ScrollWidth = Value;
    ApplyFlatScrollWidth();
}

void TExtStringGrid::SetScrollBarAlways(TScrollBarAlways Value) {
    ScrollBarAlways = Value;
    ApplyScrollBarAlways(true);
}

void TExtStringGrid::SetScrollBars(plat::TScrollStyle Value) {
    ScrollBars = Value;
    ApplyScrollBars();
}

void TExtStringGrid::ApplyScrollBarAlways(bool Force) {
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (ScrollBarAlways != saNone) {
        if (rowsFit) plat::ShowScrollBar(Handle(), plat::SB_VERT, ScrollBarAlways == saVert || ScrollBarAlways == saBoth);
        if (colsFit) plat::ShowScrollBar(Handle(), plat::SB_HORZ, ScrollBarAlways == saHorz || ScrollBarAlways == saBoth);
        plat::EnableScrollBar(Handle(), plat::SB_VERT, rowsFit ? plat::ESB_DISABLE_BOTH : plat::ESB_ENABLE_BOTH);
        plat::EnableScrollBar(Handle(), plat::SB_HORZ, colsFit ? plat::ESB_DISABLE_BOTH : plat::ESB_ENABLE_BOTH);
    } else if (Force) {
        if (rowsFit) plat::ShowScrollBar(Handle(), plat::SB_VERT, false);
        if (colsFit) plat::ShowScrollBar(Handle(), plat::SB_HORZ, false);
    }
}

void TExtStringGrid::ApplyScrollBars() {
    // The framework shows a bar while lines are hidden, when the style includes it.
    SetGridScrollBars(ScrollBars);
    UpdateScrollBars();
}

// ---- slim indicators ---------------------------------------------------------------------

void TExtStringGrid::CreateScrollControls() {
    if (FVScrollControl) return;
    FVScrollControl = new TScrollControl(this, this, sdVertical);
    FHScrollControl = new TScrollControl(this, this, sdHorizontal);
    PlaceScrollControls();
}

void TExtStringGrid::FreeScrollControls() {
    delete FVScrollControl;
    delete FHScrollControl;
    FVScrollControl = FHScrollControl = nullptr;
}

void TExtStringGrid::PlaceScrollControls() {
    if (!FVScrollControl) return;
    const int w = FVScrollControl->ScrollWidth();
    // Above a visible search panel.
    const int h = std::max(ClientHeight() - SearchPanelHeight(), 0);
    FVScrollControl->SetBounds(ClientWidth() - w, 0, w, h);
    FHScrollControl->SetBounds(0, h - w, ClientWidth(), w);
    FVScrollControl->Invalidate();
    FHScrollControl->Invalidate();
}

// ---- proportional thumbs -----------------------------------------------------------------

bool TExtStringGrid::ProportionalBlocked() const {
    return HasState(plat::csLoading) || IsDesigning() || !FScrollProportional || !HandleAllocated() ||
           (plat::GetKeyState(plat::VK_SCROLL) & 1) != 0;
}

void TExtStringGrid::SetScrollProportional(bool Value) {
    if (FScrollProportional == Value) return;
    FScrollProportional = Value;
    if (Value) {
        UpdateHScrollProportional();
        UpdateVScrollProportional();
    } else if (FFlatScrollInit && FScrollType == ssNormal) {
        UninitFlatScrollBars();
    }
    if (!Value) {
        // The framework's own bars come back.
        UpdateScrollBars();
    }
}

TExtStringGrid::TProportion TExtStringGrid::HorzProportion() const {
    const int g = GridLineWidth();
    TProportion p;
    p.F = g;
    for (int c = 0; c < FixedCols(); ++c) p.F += g + ColWidths(c);
    p.S = g;
    p.D = g;
    for (int c = FixedCols(); c < ColCount(); ++c) {
        p.S += g + ColWidths(c);
        if (c < LeftCol()) p.D += g + ColWidths(c);
    }
    p.Control = Width();
    return p;
}

TExtStringGrid::TProportion TExtStringGrid::VertProportion() const {
    const int g = GridLineWidth();
    TProportion p;
    p.F = g;
    for (int r = 0; r < FixedRows(); ++r) p.F += g + RowHeights(r);
    p.S = g;
    p.D = g;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        p.S += g + RowHeights(r);
        if (r < TopRow()) p.D += g + RowHeights(r);
    }
    p.Control = Height();
    return p;
}

bool TExtStringGrid::ProportionalThumb(const TProportion& P, int CurrentPos, bool TallerMeansEnd, plat::TScrollInfo& SI) {
    if (P.S <= 0) return false;
    const float e = static_cast<float>(P.Control - P.F) / static_cast<float>(P.S);
    if (e >= 0.9999f || P.F + P.S - P.Control < 5) return false;
    const int max = static_cast<int>((e + kThumbRange) / (1 - e));
    SI.fMask = plat::SIF_ALL;
    SI.nMin = 0;
    SI.nMax = max;
    SI.nPage = static_cast<plat::UINT>(std::max(max - (kThumbRange - 1), 0));
    if (P.Control < P.S)
        SI.nPos = static_cast<int>(static_cast<double>(P.D) / (P.S - P.Control) * (kThumbRange + 1));
    else
        SI.nPos = TallerMeansEnd ? kThumbRange : CurrentPos;
    return true;
}

void TExtStringGrid::UpdateHScrollProportional() {
    if (ProportionalBlocked()) return;
    plat::TScrollInfo si;
    if (ProportionalThumb(HorzProportion(), plat::GetScrollPos(Handle(), plat::SB_HORZ), false, si)) {
        plat::SetScrollInfo(Handle(), plat::SB_HORZ, si, true);
        if (FFlatScrollInit) plat::FlatSB_SetScrollInfo(Handle(), plat::SB_HORZ, si, true);
    }
    if (ScrollBarAlways == saHorz || ScrollBarAlways == saBoth) return;
    int total = 0;
    for (int c = 0; c < ColCount(); ++c) total += ColWidths(c);
    plat::ShowScrollBar(Handle(), plat::SB_HORZ, total >= Width() && HasHorz(ScrollBars));
}

void TExtStringGrid::UpdateVScrollProportional() {
    if (ProportionalBlocked()) return;
    if (!RowsHiddenBelow() && TopRow() == FixedRows()) return;
    plat::TScrollInfo si;
    if (ProportionalThumb(VertProportion(), plat::GetScrollPos(Handle(), plat::SB_VERT), true, si)) {
        plat::SetScrollInfo(Handle(), plat::SB_VERT, si, true);
        if (FFlatScrollInit) plat::FlatSB_SetScrollInfo(Handle(), plat::SB_VERT, si, true);
    }
}

int TExtStringGrid::ThumbColumn(int Pos) {
    const int n = ColCount() - VisibleColCount() - FixedCols();
    return static_cast<int>(static_cast<long long>(Pos) * n / kThumbRange) + FixedCols();
}

int TExtStringGrid::ThumbRow(int Pos) {
    const int n = RowCount() - VisibleRowCount() - FixedRows();
    return static_cast<int>(static_cast<long long>(Pos) * n / kThumbRange) + FixedRows();
}

// ---- scroll messages ---------------------------------------------------------------------

// Steps around the framework's scrolling; false when the message is consumed here.
bool TExtStringGrid::BeforeScroll(plat::TMessage& Message) {
    const bool horz = Message.Msg == plat::WM_HSCROLL;
    const int code = plat::LoWord(Message.WParam);
    int pos = plat::HiWord(Message.WParam);
    FLastVScrollCode = -1;
    if (!horz && Message.LParam != 0) {
        // From the in-cell scroll bar: the current cell scrolls, the grid stays.
        if (ScrollCurrentCell(code, pos)) Message.Result = 0;
        return false;
    }
    if (!horz && FSearchFooter->Visible()) {
        // The last row already clear of the search panel: no scrolling further down.
        if ((code == plat::SB_ENDSCROLL || code == plat::SB_LINEDOWN) && IsLastRowAboveSearchFooter()) return false;
        FLastVScrollCode = code;
    }
    if (code == plat::SB_THUMBPOSITION && horz && FFlatScrollInit && ColCount() > 0) {
        const int r = RoundEven(VisibleColCount() * 128.0 / ColCount());
        if (r != 128) pos = RoundEven(pos * 127.0 / (128 - r));
    }
    if (code == plat::SB_THUMBTRACK && ScrollSynch) {
        if (horz) SetLeftCol(std::clamp(ThumbColumn(pos), FixedCols(), std::max(FixedCols(), Layout().MaxLeftCol())));
        else SetTopRow(std::clamp(ThumbRow(pos), FixedRows(), std::max(FixedRows(), Layout().MaxTopRow())));
        return false;
    }
    if (FScrollProportional && (code == plat::SB_THUMBTRACK || code == plat::SB_THUMBPOSITION)) {
        // The proportional bar's positions run over 0 .. 127: the framework hears lines.
        const int line = horz ? ThumbColumn(pos) - FixedCols() : ThumbRow(pos) - FixedRows();
        Message.WParam = plat::MakeWParam(code, std::max(0, line));
    } else if (pos != plat::HiWord(Message.WParam)) {
        Message.WParam = plat::MakeWParam(code, pos);
    }
    return true;
}

void TExtStringGrid::AfterScroll(bool Horizontal) {
    if (!Horizontal && FLastVScrollCode >= 0 && FSearchFooter->Visible()) {
        // At the last top row a line up goes one row further, and a line down or the end of
        // a scroll brings the last row out from under the search panel.
        const int code = FLastVScrollCode;
        FLastVScrollCode = -1;
        const int lastTop = RowCount() - VisibleRowCount();
        if (code == plat::SB_LINEUP && TopRow() == lastTop && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        else if ((code == plat::SB_ENDSCROLL || code == plat::SB_LINEDOWN) && TopRow() == lastTop)
            ScrollForSearchFooter();
    }
    SyncFlatScroll(Horizontal ? plat::SB_HORZ : plat::SB_VERT);
    SyncFlatScroll(Horizontal ? plat::SB_VERT : plat::SB_HORZ);
    if (FScrollProportional) {
        UpdateHScrollProportional();
        UpdateVScrollProportional();
    }
    if (FFooterPanel && FFloatingFooter->Visible()) FFooterPanel->Invalidate();
}

bool TExtStringGrid::ScrollCurrentCell(int Code, int Pos) {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType != ctScrollbar) return false;
    const int range = g->CellErrFrom, page = std::max(1, g->CellAngle);
    const int maxPos = std::max(0, range - page + 1);
    int pos = g->CellIndex;
    switch (Code) {
    case plat::SB_LINEUP: pos -= 10; break;
    case plat::SB_LINEDOWN: pos += 10; break;
    case plat::SB_PAGEUP: pos -= 100; break;
    case plat::SB_PAGEDOWN: pos += 100; break;
    case plat::SB_THUMBTRACK: pos = Pos; break;
    default: return false;
    }
    pos = std::clamp(pos, 0, maxPos);
    if (pos == g->CellIndex) return false;
    SetScrollPosition(b.X, b.Y, pos);
    if (OnScrollCell) OnScrollCell(this, b.X, b.Y, pos, 0, range);
    return true;
}

// ---- integral height ---------------------------------------------------------------------

void TExtStringGrid::SetIntegralHeight(bool Value) {
    FIntegralHeight = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TExtStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const int h = ColsHiddenRight() ? plat::GetSystemMetrics(plat::SM_CYHSCROLL) : 0;
        const int b = BorderStyle() == plat::bsSingle ? 2 : 0;
        AHeight = AHeight + b - ((AHeight - h - b) % DefaultRowHeight());
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Parent()) PaintBorderColor();
}

// ---- size and control messages -----------------------------------------------------------

// The size message. True when a stretched resize ended it (OnResize fired, the framework's
// size handling skipped).
void TExtStringGrid::InitOrigColSizes() {
    FOrigColSizes->Clear();
    for (int c = 0; c < ColCount(); ++c) FOrigColSizes->Add(ColWidths(c));
    FOldSize = Width();
}

// Step 2 of the size message: the columns keep their share of the width they were stored for.
void TExtStringGrid::SynchColumnsWithGrid() {
    if (!ColumnSize()->SynchWithGrid || FOldSize <= 0) return;
    HideInplaceEdit();
    const double factor = BorderStyle() == plat::bsSingle ? (Width() + 2.0) / FOldSize
                                                           : static_cast<double>(Width()) / FOldSize;
    const int first = ColumnSize()->SynchNormalCellsOnly ? FixedCols() : 0;
    const int n = std::min(ColCount(), FOrigColSizes->Count());
    for (int c = first; c < n; ++c)
        SetColWidths(c, static_cast<int>(FOrigColSizes->GetInteger(c) * factor));
}

bool TExtStringGrid::SizeMessage(plat::TMessage& Message) {
    if (FSearchPanel && FSearchPanel->Visible()) {
        // A changed height makes the panel lay itself out again at the new bottom.
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
        FSearchPanel->SetAlign(plat::alBottom);
        SetClientBottomInset(SearchPanelHeight());
    }
    SynchColumnsWithGrid();
    if (!ColumnSize()->Stretch() || ColCount() == 0 || (ScrollBarAlways != saNone && ScrollBarAlways != saVert))
        return false;
    const int col = ColumnSize()->StretchColumn < 0 || ColumnSize()->StretchColumn >= ColCount()
                        ? ColCount() - 1
                        : ColumnSize()->StretchColumn;
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
        if (c != col) others += ColWidths(c);
    if (others >= Width()) return false;
    StretchColumn(col);
    if (ScrollBarAlways == saNone && HasHorz(ScrollBars))
        plat::ShowScrollBar(Handle(), plat::SB_HORZ, ClientWidth() < others + ColWidths(col));
    if (HasVert(ScrollBars))
        plat::ShowScrollBar(Handle(), plat::SB_VERT, VisibleRowCount() < RowCount() - FixedRows());
    if (ScrollBarAlways != saNone) return false;
    Message.Result = 0;
    if (OnResize) OnResize(this);
    return true;
}

void TExtStringGrid::AfterSize() {
    // A gradient under the cells spans the whole control: a new size redraws all of it. The
    // framework's bars follow the rows and columns that fit; the always-visible rule keeps
    // its bars.
    const TBackGroundDisplay bg = FBackGround->Display();
    if ((bg == bdGradientHorz || bg == bdGradientVert) && FBackGround->ColorTo() != plat::clNone) Invalidate();
    ApplyScrollBarAlways(false);
    PlaceScrollControls();
    CellControlsUpdate(false);
    if (FScrollProportional) {
        UpdateHScrollProportional();
        UpdateVScrollProportional();
    }
    if (FDisableSize || !FFlatScrollInit) return;
    // Showing a bar resizes the client area again: one round, without re-entry.
    FDisableSize = true;
    ShowFlatBarsAsNeeded();
    if (!HasVert(ScrollBars)) plat::FlatSB_ShowScrollBar(Handle(), plat::SB_VERT, false);
    if (!HasHorz(ScrollBars)) plat::FlatSB_ShowScrollBar(Handle(), plat::SB_HORZ, false);
    FDisableSize = false;
}

void TExtStringGrid::ViewControlMessage(const plat::TMessage& Message) {
    switch (Message.Msg) {
    case plat::CM_ENABLEDCHANGED: Invalidate(); break;
    case plat::CM_COLORCHANGED:
        if (FFooterPanel && FFloatingFooter->Visible()) FFooterPanel->Invalidate();
        break;
    case plat::CM_STYLECHANGED: Invalidate(); break;
    default: break;
    }
}

void TExtStringGrid::TopLeftChanged() {
    TBaseGrid::TopLeftChanged();
    // Footer rows stay at the bottom while the rows scroll past them: the pixels the
    // framework moved would carry the footer along, so the whole grid repaints.
    if (FixedFooters > 0) Invalidate();
    BackGroundScrolled();
    SyncFlatScroll(plat::SB_VERT);
    SyncFlatScroll(plat::SB_HORZ);
    if (FScrollProportional) {
        UpdateHScrollProportional();
        UpdateVScrollProportional();
    }
    CellControlsUpdate(false);
    if (FVScrollControl) {
        FVScrollControl->Invalidate();
        FHScrollControl->Invalidate();
    }
}

} // namespace grid
