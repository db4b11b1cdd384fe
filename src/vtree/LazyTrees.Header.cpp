// The header of the tree control: properties, geometry, fixed-area constraints, sort column
// and the binary header record.
#include <algorithm>
#include <climits>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.Header.h"
#include "plat/Streams.h"
#include "plat/String.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

namespace {

std::int32_t ReadInt(plat::TStream& S)
{
    std::int32_t v = 0;
    S.ReadBuffer(&v, sizeof v);
    return v;
}

void WriteInt(plat::TStream& S, std::int32_t V) { S.WriteBuffer(&V, sizeof V); }

[[noreturn]] void ReadError() { throw plat::EReadError(u"Stream read error"); }

template <class E>
E ReadEnum(plat::TStream& S, int Count)
{
    const std::int32_t v = ReadInt(S);
    if (v < 0 || v >= Count) ReadError();
    return static_cast<E>(v);
}

constexpr int HeaderRecordVersion = 6;

bool Contains(const TRect& R, TPoint P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

} // namespace

TLTHeader::TLTHeader(TBaseLazyTree* AOwner) : FOwner(AOwner)
{
    FColumns = std::make_unique<TLazyTreeColumns>(this);
    FFixedAreaConstraints = std::make_unique<TLTFixedAreaConstraints>(this);
    FFixedAreaConstraints->OnChange = [this](plat::TObject*) { FixedAreaConstraintsChanged(); };
    FFont.OnChange = [this](plat::TObject*) { FontChanged(); };
}

TLTHeader::~TLTHeader()
{
    FFont.OnChange = nullptr;
    FFixedAreaConstraints->OnChange = nullptr;
    FColumns->FClearing = true;
    FColumns.reset();
}

bool TLTHeader::TreeLoading() const { return FOwner->IsTreeLoading(); }

void TLTHeader::SetStates(THeaderStates Enter, THeaderStates Leave) { FStates = (FStates | Enter) & ~Leave; }

void TLTHeader::Assign(const plat::TPersistent* Source)
{
    const auto* src = dynamic_cast<const TLTHeader*>(Source);
    if (!src) {
        plat::TPersistent::Assign(Source);
        return;
    }
    SetAutoSizeIndex(src->FAutoSizeIndex);
    SetBackground(src->FBackgroundColor);
    FColumns->Assign(src->FColumns.get());
    SetFont(src->FFont);
    FFixedAreaConstraints->Assign(src->FFixedAreaConstraints.get());
    SetHeight(src->FHeight);
    SetImages(src->FImages);
    SetMainColumn(src->GetMainColumn());
    SetOptions(src->FOptions);
    SetParentFont(src->FParentFont);
    FPopupMenu = src->FPopupMenu;
    SetSortColumn(src->SortColumn);
    SetSortDirection(src->SortDirection);
    SetStyle(src->FStyle);
    RescaleHeader();
}

// ---- properties ----------------------------------------------------------------------------

void TLTHeader::SetAutoSizeIndex(TColumnIndex Value)
{
    if (FAutoSizeIndex == Value) return;
    FAutoSizeIndex = Value;
    if (In(FOptions, hoAutoResize)) FColumns->AdjustAutoSize(false);
}

void TLTHeader::SetBackground(plat::TColor Value)
{
    if (FBackgroundColor == Value) return;
    FBackgroundColor = Value;
    Invalidate(nullptr);
}

void TLTHeader::SetDefaultHeight(int Value)
{
    Value = std::min(std::max(Value, FMinHeight), FMaxHeight);
    if (FHeight == FDefaultHeight) SetHeight(Value);
    FDefaultHeight = Value;
}

void TLTHeader::SetFont(const plat::TFont& Value)
{
    FFont.Assign(Value);
    FParentFont = false;
}

void TLTHeader::SetImages(plat::TCustomImageList* Value)
{
    if (FImages == Value) return;
    FImages = Value;
    if (!TreeLoading()) Invalidate(nullptr);
}

void TLTHeader::SetMaxHeight(int Value)
{
    FMaxHeight = std::max(Value, FMinHeight);
    SetHeight(FHeight);
}

void TLTHeader::SetMinHeight(int Value)
{
    if (Value < 0) Value = 0;
    FMinHeight = std::min(Value, FMaxHeight);
    SetHeight(FHeight);
}

void TLTHeader::SetParentFont(bool Value)
{
    if (FParentFont == Value) return;
    FParentFont = Value;
    if (Value) FFont.Assign(*FOwner->Font());
}

void TLTHeader::SetStyle(TLTHeaderStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    if (!TreeLoading()) Invalidate(nullptr);
}

bool TLTHeader::AllowFocus(TColumnIndex Column) const
{
    return FColumns->IsValidColumn(Column) && In(FColumns->Items(Column)->Options(), coAllowFocus);
}

// ---- height -----------------------------------------------------------------------------------

void TLTHeader::SetHeight(int Value)
{
    if (!FOwner->HandleAllocated()) {
        FHeight = Value;
        FStates |= HsBit(hsNeedScaling);
        return;
    }
    const auto& k = *FFixedAreaConstraints;
    const int total = FOwner->ClientHeight() + FHeight;
    const int maxP = total * k.MaxHeightPercent() / 100;
    const int minP = total * k.MinHeightPercent() / 100;
    const int lower = k.MaxHeightPercent() > 0 ? std::min(maxP, FMinHeight) : FMinHeight;
    const int upper = k.MinHeightPercent() > 0 ? std::max(FMaxHeight, minP) : FMaxHeight;
    int h = std::min(std::max(lower, Value), upper);
    if (k.MinHeightPercent() > 0) h = std::max(h, minP);
    if (k.MaxHeightPercent() > 0) h = std::min(h, maxP);
    if (h == FHeight) return;
    FHeight = h;
    if (!TreeLoading() && !HasState(hsScaling)) RecalculateHeader();
    FOwner->InvalidateTree();
}

void TLTHeader::FontChanged()
{
    if (In(FOwner->TreeOptions().AutoOptions(), toAutoChangeScale)) {
        int s = 0;
        for (int i = 0; i < FColumns->Count(); ++i) s = std::max(s, FColumns->Items(i)->Spacing());
        plat::TBitmap bm;
        bm.SetSize(1, 1);
        bm.Canvas()->Font()->Assign(FFont);
        // In 64 bits: a column's spacing may be any int, and SetHeight clamps the result.
        const long long h = static_cast<long long>(bm.Canvas()->TextHeight(u"Q")) + s + s / 2;
        SetHeight(static_cast<int>(std::clamp<long long>(std::max<long long>(FHeight, h), INT_MIN, INT_MAX)));
    }
    Invalidate(nullptr);
}

void TLTHeader::ScaleHeader(int M, int D)
{
    if (D == 0) return;
    auto mulDiv = [M, D](int V) { return static_cast<int>((static_cast<long long>(V) * M + D / 2) / D); };
    SetHeight(mulDiv(FHeight));
    if (!FParentFont) FFont.SetSize(mulDiv(FFont.Size()));
    for (int i = 0; i < FColumns->Count(); ++i) FColumns->Items(i)->SetWidth(mulDiv(FColumns->Items(i)->Width()));
}

// ---- geometry ----------------------------------------------------------------------------------

void TLTHeader::UpdateHeaderRect()
{
    const int frame = FOwner->HeaderFrameWidth();
    TRect r{frame, frame, FOwner->Width() - frame, FOwner->Height() - frame};
    if (!In(FOptions, hoVisible)) r.Bottom = r.Top;
    else if (r.Left > r.Right) r = TRect{0, 0, 0, 0};
    else r.Bottom = r.Top + FHeight;
    FHeaderRect = r;
}

void TLTHeader::RecalculateHeader()
{
    if (!FOwner->HandleAllocated()) return;
    UpdateHeaderRect();
    plat::SetWindowPos(FOwner->Handle(), 0, 0, 0, 0, 0, 0x637);
}

bool TLTHeader::InHeader(TPoint P) const
{
    // The header sits directly above the client area: client row -Height is its top.
    const int frame = FOwner->HeaderFrameWidth();
    const TRect r{FHeaderRect.Left - frame, FHeaderRect.Top - frame - FHeight, FHeaderRect.Right - frame,
                  FHeaderRect.Bottom - frame - FHeight};
    return Contains(r, P);
}

bool TLTHeader::InHeaderSplitterArea(TPoint P) const
{
    if (P.Y < -2 || P.Y > 2 || !In(FOptions, hoVisible)) return false;
    const int frame = FOwner->HeaderFrameWidth();
    const TRect r{FHeaderRect.Left - frame, FHeaderRect.Top - frame - FHeight, FHeaderRect.Right - frame,
                  FHeaderRect.Bottom + 2 - frame - FHeight};
    return Contains(r, P);
}

void TLTHeader::Invalidate(TLazyTreeColumn* Column, bool ExpandToBorder)
{
    if (!In(FOptions, hoVisible) || !FOwner->HandleAllocated() || FOwner->IsTreeDestroying()) return;
    (void)Column;
    (void)ExpandToBorder;
    FOwner->InvalidateFrame();
}

// ---- constraints -----------------------------------------------------------------------------

void TLTHeader::RescaleHeader()
{
    if (TreeLoading() || FOwner->IsTreeDestroying() || HasState(hsLoading) || !FOwner->HandleAllocated()) return;
    FStates |= HsBit(hsScaling);
    SetHeight(FHeight);
    RecalculateHeader();
    const auto& k = *FFixedAreaConstraints;
    if (k.MinWidthPercent() != 0 || k.MaxWidthPercent() != 0) {
        for (int i = 0; i < FColumns->Count(); ++i) {
            TLazyTreeColumn* c = FColumns->Items(i);
            if (c->IsVisibleFixed() && c->FWidth < c->FMinWidth) c->FWidth = c->FMinWidth;
        }
        const int f = FColumns->GetVisibleFixedWidth();
        const int cw = FOwner->ClientWidth();
        const int minW = cw * k.MinWidthPercent() / 100;
        const int maxW = cw * k.MaxWidthPercent() / 100;
        if (k.MaxWidthPercent() > 0 && maxW < f) ResizeColumns(maxW - f, 0, FColumns->Count() - 1, ColumnOptions({coVisible, coFixed}));
        else if (k.MinWidthPercent() > 0 && f < minW) ResizeColumns(minW - f, 0, FColumns->Count() - 1, ColumnOptions({coVisible, coFixed}));
        FColumns->UpdatePositions(false);
    }
    FStates &= ~(HsBit(hsScaling) | HsBit(hsNeedScaling));
}

void TLTHeader::FixedAreaConstraintsChanged()
{
    if (FOwner->HandleAllocated()) RescaleHeader();
    else FStates |= HsBit(hsNeedScaling);
}

// ---- main column, options, sorting -------------------------------------------------------------

void TLTHeader::ValidateMainColumn()
{
    const int n = FColumns->Count();
    MainColumn = n == 0 ? NoColumn : std::clamp(MainColumn, 0, n - 1);
}

void TLTHeader::SetMainColumn(TColumnIndex Value)
{
    if (TreeLoading()) {
        MainColumn = Value;
        return;
    }
    const int n = FColumns->Count();
    Value = n == 0 ? NoColumn : std::clamp(Value, 0, n - 1);
    if (Value == MainColumn) return;
    MainColumn = Value;
    FOwner->MainColumnChanged();
    if (!In(FOwner->TreeOptions().SelectionOptions(), toExtendedFocus)) FOwner->SetFocusedColumnField(MainColumn);
    FOwner->InvalidateTree();
}

void TLTHeader::SetOptions(TLTHeaderOptions Value)
{
    const TLTHeaderOptions old = FOptions;
    FOptions = Value & AllHeaderOptions;
    const TLTHeaderOptions changed = old ^ FOptions;
    if (In(changed, hoAutoResize) && FColumns->Count() > 0) {
        FColumns->AdjustAutoSize(false);
        if (FOwner->HandleAllocated()) {
            FOwner->UpdateHorizontalScrollBar(false);
            if (In(FOptions, hoAutoResize)) FOwner->InvalidateTree();
        }
    }
    if (TreeLoading() || !FOwner->HandleAllocated()) return;
    if (In(changed, hoVisible)) RecalculateHeader();
    Invalidate(nullptr);
    FOwner->InvalidateTree();
}

void TLTHeader::AutoSortAfterChange()
{
    const bool wanted = In(FOwner->TreeOptions().AutoOptions(), toAutoSort) || In(FOptions, hoHeaderClickAutoSort);
    if (wanted && FOwner->UpdateCount() == 0) FOwner->SortTree(SortColumn, SortDirection, true);
}

void TLTHeader::SetSortDirection(TSortDirection Value)
{
    if (SortDirection == Value) return;
    SortDirection = Value;
    Invalidate(nullptr);
    AutoSortAfterChange();
}

void TLTHeader::SetSortColumn(TColumnIndex Value)
{
    if (TreeLoading()) SortColumn = Value;
    else DoSetSortColumn(Value);
}

void TLTHeader::DoSetSortColumn(TColumnIndex Value)
{
    Value = std::max(NoColumn, std::min(Value, FColumns->Count() - 1));
    if (Value == SortColumn) return;
    if (SortColumn >= 0) Invalidate(FColumns->Items(SortColumn));
    SortColumn = Value;
    if (SortColumn >= 0) Invalidate(FColumns->Items(SortColumn));
    AutoSortAfterChange();
}

// ---- binary record --------------------------------------------------------------------------------

void TLTHeader::LoadFromStream(plat::TStream& Stream)
{
    FStates |= HsBit(hsLoading);
    const TLTHeaderOptions remembered = FOptions;
    bool optionsRead = false;
    FOptions = 0;
    try {
        int version = -1;
        const std::int64_t start = Stream.Position();
        const std::int32_t first = ReadInt(Stream);
        if (first < 0) version = std::min(ReadInt(Stream), HeaderRecordVersion);
        else Stream.SetPosition(start);
        FColumns->LoadFromStream(Stream, version);
        SetAutoSizeIndex(ReadInt(Stream));
        SetBackground(static_cast<plat::TColor>(ReadInt(Stream)));
        SetHeight(ReadInt(Stream));
        const auto opts = static_cast<TLTHeaderOptions>(ReadInt(Stream));
        FOptions = remembered;
        optionsRead = true;
        SetOptions(opts);
        SetStyle(ReadEnum<TLTHeaderStyle>(Stream, 3));
        FFont.SetColor(static_cast<plat::TColor>(ReadInt(Stream)));
        FFont.SetHeight(ReadInt(Stream));
        const std::int32_t n = ReadInt(Stream);
        if (n < 0 || n > Stream.Size() - Stream.Position()) ReadError();
        std::string name(static_cast<std::size_t>(n), '\0');
        if (n > 0) Stream.ReadBuffer(name.data(), name.size());
        FFont.SetName(plat::Utf8ToString(name));
        FFont.SetPitch(ReadEnum<plat::TFontPitch>(Stream, 3));
        const std::int32_t style = ReadInt(Stream);
        plat::TFontStyles st;
        for (int b = 0; b < 4; ++b)
            if (style & (1 << b)) st += static_cast<plat::TFontStyle>(b);
        FFont.SetStyle(st);
        if (version > 0) {
            SetMainColumn(ReadInt(Stream));
            SetSortColumn(ReadInt(Stream));
            SetSortDirection(ReadEnum<TSortDirection>(Stream, 2));
        }
        if (version > 4) {
            SetParentFont(ReadInt(Stream) != 0);
            FMaxHeight = ReadInt(Stream);
            FMinHeight = ReadInt(Stream);
            FDefaultHeight = ReadInt(Stream);
            auto& k = *FFixedAreaConstraints;
            k.FMaxHeightPercent = static_cast<std::uint8_t>(std::clamp(ReadInt(Stream), 0, 100));
            k.FMaxWidthPercent = static_cast<std::uint8_t>(std::clamp(ReadInt(Stream), 0, 100));
            k.FMinHeightPercent = static_cast<std::uint8_t>(std::clamp(ReadInt(Stream), 0, 100));
            k.FMinWidthPercent = static_cast<std::uint8_t>(std::clamp(ReadInt(Stream), 0, 100));
        }
    } catch (...) {
        // A record cut before its options keeps the options the header had: cleared ones
        // would hide the header and switch resizing and dragging off.
        if (!optionsRead) FOptions = remembered;
        FinishLoading();
        throw;
    }
    FinishLoading();
}

void TLTHeader::FinishLoading()
{
    // A record with fewer columns than before (or an older one without main and sort column)
    // must not leave either naming a column that is gone.
    if (FColumns->Count() == 0) MainColumn = NoColumn;
    else MainColumn = std::clamp(MainColumn, 0, FColumns->Count() - 1);
    SortColumn = std::clamp(SortColumn, NoColumn, FColumns->Count() - 1);
    FStates &= ~HsBit(hsLoading);
    FOwner->DoColumnResize(NoColumn);
}

void TLTHeader::SaveToStream(plat::TStream& Stream) const
{
    WriteInt(Stream, -1);
    WriteInt(Stream, HeaderRecordVersion);
    FColumns->SaveToStream(Stream);
    WriteInt(Stream, FAutoSizeIndex);
    WriteInt(Stream, static_cast<std::int32_t>(FBackgroundColor));
    WriteInt(Stream, FHeight);
    WriteInt(Stream, static_cast<std::int32_t>(FOptions & AllHeaderOptions));
    WriteInt(Stream, FStyle);
    WriteInt(Stream, static_cast<std::int32_t>(FFont.Color()));
    WriteInt(Stream, FFont.Height());
    const std::string name = plat::StringToUtf8(FFont.Name());
    WriteInt(Stream, static_cast<std::int32_t>(name.size()));
    if (!name.empty()) Stream.WriteBuffer(name.data(), name.size());
    WriteInt(Stream, FFont.Pitch());
    std::int32_t style = 0;
    for (int b = 0; b < 4; ++b)
        if (FFont.Style().Contains(static_cast<plat::TFontStyle>(b))) style |= 1 << b;
    WriteInt(Stream, style);
    WriteInt(Stream, MainColumn);
    WriteInt(Stream, SortColumn);
    WriteInt(Stream, SortDirection);
    WriteInt(Stream, FParentFont ? 1 : 0);
    WriteInt(Stream, FMaxHeight);
    WriteInt(Stream, FMinHeight);
    WriteInt(Stream, FDefaultHeight);
    const auto& k = *FFixedAreaConstraints;
    WriteInt(Stream, k.FMaxHeightPercent);
    WriteInt(Stream, k.FMaxWidthPercent);
    WriteInt(Stream, k.FMinHeightPercent);
    WriteInt(Stream, k.FMinWidthPercent);
}

} // namespace vtree

namespace vtree {

// ---- sizing -----------------------------------------------------------------------------------

int TLTHeader::ResizeColumns(int ChangeBy, TColumnIndex RangeStartCol, TColumnIndex RangeEndCol,
                             TLTColumnOptions Options)
{
    if (ChangeBy == 0) return 0;
    const bool grow = ChangeBy > 0;
    const int sign = grow ? 1 : -1;
    const int start = grow ? RangeStartCol : RangeEndCol;
    int remaining = ChangeBy < 0 ? -ChangeBy : ChangeBy;
    const int first = RangeStartCol, last = RangeEndCol;
    const int n = last - first + 1;
    if (n <= 0) return 0;
    std::vector<int> widths(static_cast<std::size_t>(n)), limits(static_cast<std::size_t>(n));
    std::vector<TLazyTreeColumn*> cols(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        TLazyTreeColumn* c = FColumns->Items(first + i);  // raises for an index outside the columns
        cols[static_cast<std::size_t>(i)] = c;
        widths[static_cast<std::size_t>(i)] = c->FWidth;
        limits[static_cast<std::size_t>(i)] = grow ? c->FMaxWidth : c->FMinWidth;
    }
    auto matches = [&](int i) { return (cols[static_cast<std::size_t>(i)]->FOptions & Options) == Options; };
    auto room = [&](int i) {
        const auto k = static_cast<std::size_t>(i);
        return grow ? limits[k] - widths[k] : widths[k] - limits[k];
    };
    for (;;) {
        int total = 0, count = 0;
        for (;;) {
            total = 0;
            count = 0;
            for (int i = 0; i < n; ++i)
                if (matches(i) && room(i) > 0) {
                    ++count;
                    total += room(i);
                }
            if (grow || !HasState(hsScaling) || total >= -ChangeBy) break;
            // Inside RescaleHeader the minimum of the widest column gives way by a tenth.
            int cand = -1;
            for (int i = 0; i < n; ++i)
                if (matches(i) && (cand < 0 || cols[static_cast<std::size_t>(i)]->FWidth > widths[static_cast<std::size_t>(cand)]))
                    cand = i;
            if (cand < 0 || limits[static_cast<std::size_t>(cand)] <= 10) break;
            limits[static_cast<std::size_t>(cand)] -= limits[static_cast<std::size_t>(cand)] / 10;
        }
        if (count == 0) break;
        remaining = std::min(remaining, total);
        const int step = remaining / count;
        int rest = remaining % count;
        if (step > 0)
            for (int i = 0; i < n; ++i)
                if (matches(i) && room(i) > 0) {
                    const int d = std::min(step, room(i));
                    widths[static_cast<std::size_t>(i)] += sign * d;
                    remaining -= d;
                }
        bool anyChangeable = true;
        int i = start;
        while (rest > 0 && anyChangeable) {
            if (i < first || i > last) {
                anyChangeable = false;
                for (int j = 0; j < n; ++j)
                    if (matches(j)) {
                        cols[static_cast<std::size_t>(j)]->FBonusPixel = !cols[static_cast<std::size_t>(j)]->FBonusPixel;
                        anyChangeable = anyChangeable || room(j) > 0;
                    }
                i = start;
                continue;
            }
            const int k = i - first;
            TLazyTreeColumn* c = cols[static_cast<std::size_t>(k)];
            if (matches(k) && room(k) > 0 && c->FBonusPixel != grow) {
                widths[static_cast<std::size_t>(k)] += sign;
                c->FBonusPixel = grow;
                --rest;
                --remaining;
            }
            i += sign;
        }
        if (remaining <= 0) break;
    }
    int result = 0;
    FStates |= HsBit(hsResizing);
    try {
        for (int i = 0; i < n; ++i)
            if (matches(i)) {
                result += widths[static_cast<std::size_t>(i)] - cols[static_cast<std::size_t>(i)]->FWidth;
                cols[static_cast<std::size_t>(i)]->SetWidth(widths[static_cast<std::size_t>(i)]);
            }
    } catch (...) {
        FStates &= ~HsBit(hsResizing);
        throw;
    }
    FStates &= ~HsBit(hsResizing);
    return result;
}

void TLTHeader::UpdateSpringColumns()
{
    const int headerWidth = FHeaderRect.Right - FHeaderRect.Left;
    if (In(FOptions, hoAutoSpring) && FLastWidth != 0) {
        float difference = static_cast<float>(headerWidth - FLastWidth);
        if (difference != 0) {
            const float sign = difference < 0 ? -1.0f : 1.0f;
            difference = difference < 0 ? -difference : difference;
            int springs = 0;
            for (int i = 0; i < FColumns->Count(); ++i) {
                const auto o = FColumns->Items(i)->FOptions;
                if (In(o, coVisible) && In(o, coAutoSpring)) ++springs;
            }
            if (springs > 0) {
                const float part = difference / static_cast<float>(springs);
                for (int i = 0; i < FColumns->Count(); ++i) {
                    TLazyTreeColumn* c = FColumns->Items(i);
                    if (!In(c->FOptions, coVisible) || !In(c->FOptions, coAutoSpring)) continue;
                    const float r = c->FSpringRest + part;
                    const int whole = static_cast<int>(r);
                    if (r >= 1) c->SetWidth(c->FWidth + static_cast<int>(sign) * whole);
                    c->FSpringRest = r - static_cast<float>(whole);
                    difference -= part;
                    if (difference < 0) break;
                }
            }
        }
    }
    FLastWidth = headerWidth;
}

void TLTHeader::RestoreColumns()
{
    for (int p = FColumns->Count() - 1; p >= 0; --p) {
        TLazyTreeColumn* c = FColumns->Items(p);
        if (In(c->FOptions, coVisible) && In(c->FOptions, coResizable)) c->RestoreLastWidth();
    }
}

} // namespace vtree

namespace vtree {

void TLTHeader::DoBeforeAutoFitColumn(TColumnIndex Column, TSmartAutoFitType SmartAutoFitType, bool& Allowed)
{
    // A change of the fit type by the handler has no effect.
    if (FOwner->OnBeforeAutoFitColumn) FOwner->OnBeforeAutoFitColumn(this, Column, SmartAutoFitType, Allowed);
}

void TLTHeader::DoAfterAutoFitColumn(TColumnIndex Column)
{
    if (FOwner->OnAfterAutoFitColumn) FOwner->OnAfterAutoFitColumn(this, Column);
}

void TLTHeader::AutoFitColumns(bool Animated, TSmartAutoFitType SmartAutoFitType, int RangeStartCol, int RangeEndCol)
{
    const int n = FColumns->Count();
    if (RangeStartCol < 0) RangeStartCol = 0;
    if (RangeEndCol < 0 || RangeEndCol >= n) RangeEndCol = n - 1;
    if (RangeStartCol > RangeEndCol) return;
    FOwner->StartOperation(okAutoFitColumns);
    try {
        if (FOwner->OnBeforeAutoFitColumns) FOwner->OnBeforeAutoFitColumns(this, SmartAutoFitType);
        for (int p = RangeStartCol; p <= RangeEndCol; ++p) {
            const TColumnIndex c = FColumns->ColumnFromPosition(static_cast<TColumnPosition>(p));
            if (!FColumns->IsValidColumn(c)) continue;
            TLazyTreeColumn* col = FColumns->Items(c);
            if (!In(col->FOptions, coVisible) || !In(col->FOptions, coResizable)) continue;
            bool allowed = true;
            DoBeforeAutoFitColumn(c, SmartAutoFitType, allowed);
            if (!allowed || FOwner->OperationCanceled()) continue;
            const bool smart = SmartAutoFitType == smaAllColumns ||
                               (SmartAutoFitType == smaUseColumnOption && In(col->FOptions, coSmartResize));
            const int w = FOwner->GetMaxColumnWidth(c, smart);
            if (Animated) FColumns->AnimatedResize(c, w);
            else col->SetWidth(w);
            DoAfterAutoFitColumn(c);
        }
        if (FOwner->OnAfterAutoFitColumns) FOwner->OnAfterAutoFitColumns(this);
    } catch (...) {
        FOwner->EndOperation(okAutoFitColumns);
        throw;
    }
    FOwner->EndOperation(okAutoFitColumns);
}

} // namespace vtree

namespace vtree {

bool TLTHeader::HandleNonClientMessage(plat::TMessage& Message)
{
    if (!In(FOptions, hoVisible)) return false;
    if (Message.Msg == plat::WM_NCCALCSIZE) {
        FOwner->DefaultNonClient(Message);
        if (auto* r = reinterpret_cast<TRect*>(Message.LParam)) r->Top += FHeight;
        return true;
    }
    if (Message.Msg == plat::WM_NCHITTEST) {
        FOwner->DefaultNonClient(Message);
        const TPoint p = FOwner->ScreenToClient(plat::PointFromLParam(Message.LParam));
        if (InHeader(p)) Message.Result = plat::HTBORDER;
        return true;
    }
    return false;
}

} // namespace vtree
