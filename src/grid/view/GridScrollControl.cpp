// The slim scroll indicators of the ssMetro scroll type.
#include "GridScrollControl.h"

#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

namespace grid {

namespace {
int Round(double V) { return static_cast<int>(std::nearbyint(V)); }
} // namespace

TScrollControl::TScrollControl(plat::TComponent* AOwner, TExtStringGrid* AGrid, TScrollDirection ADirection)
    : plat::TCustomControl(AOwner), FGrid(AGrid), FDirection(ADirection) {
    SetTabStop(false);
    // The grid shows through beside the thumb.
    SetWindowExStyle(WindowExStyle() | plat::WS_EX_TRANSPARENT);
    SetParent(AGrid);
}

void TScrollControl::SetColor(plat::TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Invalidate();
}

int TScrollControl::Extent() const { return FDirection == sdVertical ? Height() : Width(); }

int TScrollControl::TrackStart() const {
    int s = 0;
    if (FDirection == sdVertical)
        for (int r = 0; r < FGrid->FixedRows(); ++r) s += FGrid->RowHeights(r);
    else
        for (int c = 0; c < FGrid->FixedCols(); ++c) s += FGrid->ColWidths(c);
    return s;
}

int TScrollControl::TrackLength() const {
    int l = Extent() - TrackStart();
    if (FDirection == sdVertical)
        for (int r = std::max(FGrid->FixedRows(), FGrid->RowCount() - FGrid->FixedFooters); r < FGrid->RowCount(); ++r)
            l -= FGrid->RowHeights(r);
    else
        for (int c = std::max(FGrid->FixedCols(), FGrid->ColCount() - FGrid->FixedFooters); c < FGrid->ColCount(); ++c)
            l -= FGrid->ColWidths(c);
    return std::max(0, l);
}

bool TScrollControl::AllVisible() const {
    if (FDirection == sdVertical) return FGrid->VisibleRowCount() >= FGrid->RowCount() - FGrid->FixedRows();
    return FGrid->VisibleColCount() >= FGrid->ColCount() - FGrid->FixedCols();
}

TScrollControl::TThumb TScrollControl::Thumb() const {
    TThumb t;
    if (AllVisible()) return t;
    const bool v = FDirection == sdVertical;
    const int count = v ? FGrid->RowCount() : FGrid->ColCount();
    const int fixed = v ? FGrid->FixedRows() : FGrid->FixedCols();
    const int first = v ? FGrid->TopRow() : FGrid->LeftCol();
    const int visible = v ? FGrid->VisibleRowCount() : FGrid->VisibleColCount();
    const int L = TrackLength();
    if (count - fixed <= 0 || count <= 0) return t;
    t.Start = TrackStart() + Round(static_cast<double>(L) * (first - fixed) / (count - fixed));
    t.Length = std::max(20, Round(static_cast<double>(L) * visible / count));
    // The thumb ends inside the control.
    if (t.Start + t.Length > Extent()) t.Start = std::max(0, Extent() - t.Length);
    return t;
}

void TScrollControl::Paint() {
    const TThumb t = Thumb();
    if (t.Length == 0) return;
    plat::TCanvas* c = Canvas();
    c->Pen()->SetColor(FColor);
    c->Brush()->SetColor(FColor);
    c->Brush()->SetStyle(plat::bsSolid);
    if (FDirection == sdVertical)
        c->Rectangle(plat::Rect(0, t.Start, FScrollWidth, t.Start + t.Length));
    else
        c->Rectangle(plat::Rect(t.Start, 0, t.Start + t.Length, FScrollWidth));
}

void TScrollControl::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseDown(Button, Shift, X, Y);
    const TThumb t = Thumb();
    if (t.Length == 0) return;
    const bool v = FDirection == sdVertical;
    const int p = v ? Y : X;
    if (p >= t.Start && p < t.Start + t.Length) {
        FDownOnScroller = true;
        FDownPos = p;
        FDownRow = v ? FGrid->TopRow() : FGrid->LeftCol();
        SetMouseCapture(true);
        return;
    }
    // A press beside the thumb pages towards it.
    const int visible = v ? FGrid->VisibleRowCount() : FGrid->VisibleColCount();
    const int fixed = v ? FGrid->FixedRows() : FGrid->FixedCols();
    const int count = v ? FGrid->RowCount() : FGrid->ColCount();
    const int first = v ? FGrid->TopRow() : FGrid->LeftCol();
    const int to = std::clamp(p < t.Start ? first - visible : first + visible, fixed, std::max(fixed, count - visible));
    if (v) FGrid->SetTopRow(to);
    else FGrid->SetLeftCol(to);
    Invalidate();
}

void TScrollControl::MouseMove(plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseMove(Shift, X, Y);
    if (!FDownOnScroller) return;
    const bool v = FDirection == sdVertical;
    const int p = v ? Y : X;
    const int span = Extent() - (v ? FGrid->RowHeights(0) : FGrid->ColWidths(0));
    if (span <= 0) return;
    const int count = v ? FGrid->RowCount() : FGrid->ColCount();
    const int fixed = v ? FGrid->FixedRows() : FGrid->FixedCols();
    const int visible = v ? FGrid->VisibleRowCount() : FGrid->VisibleColCount();
    const int to = std::clamp(FDownRow + Round(static_cast<double>(p - FDownPos) / span * count), fixed,
                              std::max(fixed, count - visible));
    if (v) FGrid->SetTopRow(to);
    else FGrid->SetLeftCol(to);
    Invalidate();
}

void TScrollControl::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FDownOnScroller) SetMouseCapture(false);
    FDownOnScroller = false;
}

} // namespace grid
