// Columns of the tree control: one column's properties and record, the collection's two
// orders (index and display position), lookups by point and the width rules.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "plat/Clock.h"
#include "plat/Graphics.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

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

std::int64_t BytesLeft(plat::TStream& S) { return S.Size() - S.Position(); }

[[noreturn]] void ReadError() { throw plat::EReadError(u"Stream read error"); }

// An ordinal of an enumeration with Count members; anything else is a damaged record.
template <class E>
E ReadEnum(plat::TStream& S, int Count)
{
    const std::int32_t v = ReadInt(S);
    if (v < 0 || v >= Count) ReadError();
    return static_cast<E>(v);
}

// A UTF-16 text of n code units, n checked against the bytes left before allocating.
String ReadText(plat::TStream& S)
{
    const std::int32_t n = ReadInt(S);
    if (n < 0 || static_cast<std::int64_t>(n) * 2 > BytesLeft(S)) ReadError();
    String t(static_cast<std::size_t>(n), u'\0');
    if (n > 0) S.ReadBuffer(t.data(), static_cast<std::size_t>(n) * 2);
    return t;
}

void WriteText(plat::TStream& S, const String& T)
{
    WriteInt(S, static_cast<std::int32_t>(T.size()));
    if (!T.empty()) S.WriteBuffer(T.data(), T.size() * 2);
}

// The smallest column record: two empty texts and the twelve numbers every version has.
constexpr std::int64_t MinColumnRecord = 4 * 12;

} // namespace

// ---- column -------------------------------------------------------------------------------

TLazyTreeColumn::TLazyTreeColumn(plat::TCollection* Collection) : plat::TCollectionItem(nullptr)
{
    // Joined only now that every field has its value: joining runs the collection's Update,
    // which reads the widths of all columns.
    SetCollection(Collection);
    if (auto* cols = Owner()) {
        SetWidth(cols->FDefaultWidth);
        FLastWidth = cols->FDefaultWidth;
        FPosition = static_cast<TColumnPosition>(cols->Count() - 1);
        ParentBiDiModeChanged();
        ParentColorChanged();
    }
}

TLazyTreeColumn::~TLazyTreeColumn()
{
    TLazyTreeColumns* cols = Owner();
    if (!cols || cols->FClearing) return;
    TBaseLazyTree* tree = cols->Tree();
    if (tree->IsTreeDestroying()) return;
    tree->CancelEdit();
    const TColumnIndex index = Index();
    cols->RemoveFromPositions(index);
    auto rebase = [index](TColumnIndex& C) {
        if (C == index) C = NoColumn;
        else if (C > index) --C;
    };
    rebase(cols->FHoverIndex);
    rebase(cols->FDownIndex);
    rebase(cols->FTrackIndex);
    rebase(cols->FClickIndex);
    TLTHeader* h = cols->FHeader;
    rebase(h->FAutoSizeIndex);
    rebase(h->SortColumn);
    if (h->MainColumn == index) h->MainColumn = cols->Count() > 1 ? 0 : NoColumn;
    else if (h->MainColumn > index) --h->MainColumn;
}

TLazyTreeColumns* TLazyTreeColumn::Owner() const { return static_cast<TLazyTreeColumns*>(Collection()); }

TBaseLazyTree* TLazyTreeColumn::Tree() const { return Owner() ? Owner()->Tree() : nullptr; }

void TLazyTreeColumn::Assign(const plat::TPersistent* Source)
{
    const auto* src = dynamic_cast<const TLazyTreeColumn*>(Source);
    if (!src) {
        plat::TCollectionItem::Assign(Source);
        return;
    }
    const TLTColumnOptions own = FOptions;
    FOptions = 0;
    SetBiDiMode(src->FBiDiMode);
    SetImageIndex(src->FImageIndex);
    SetLayout(src->FLayout);
    SetMargin(src->FMargin);
    SetMaxWidth(src->FMaxWidth);
    SetMinWidth(src->FMinWidth);
    SetPosition(src->FPosition);
    SetSpacing(src->FSpacing);
    SetStyle(src->FStyle);
    SetText(src->GetText());
    FHint = src->FHint;
    SetWidth(src->FWidth);
    SetAlignment(src->FAlignment);
    SetCaptionAlignment(src->CaptionAlignment());
    SetColor(src->FColor);
    FTag = src->FTag;
    FOptions = own;
    SetOptions(src->FOptions);
    Changed(false);
}

bool TLazyTreeColumn::Equals(const plat::TObject* Other) const
{
    const auto* o = dynamic_cast<const TLazyTreeColumn*>(Other);
    return o && FBiDiMode == o->FBiDiMode && FImageIndex == o->FImageIndex && FLayout == o->FLayout &&
           FMargin == o->FMargin && FMaxWidth == o->FMaxWidth && FMinWidth == o->FMinWidth &&
           FPosition == o->FPosition && FSpacing == o->FSpacing && FStyle == o->FStyle &&
           GetText() == o->GetText() && FHint == o->FHint && FWidth == o->FWidth &&
           FAlignment == o->FAlignment && CaptionAlignment() == o->CaptionAlignment() && FColor == o->FColor &&
           FTag == o->FTag && FOptions == o->FOptions;
}

String TLazyTreeColumn::DisplayName() const
{
    const String t = GetText();
    for (char16_t c : t)
        if (c > 0xFF) return plat::Format(u"Column %d", {Index()});
    return t;
}

TRect TLazyTreeColumn::GetRect() const
{
    TRect r = Owner()->FHeader->HeaderRect();
    r.Left += FLeft;
    r.Right = r.Left + FWidth;
    return r;
}

int TLazyTreeColumn::Left() const
{
    TBaseLazyTree* tree = Tree();
    if (!tree || IsVisibleFixed()) return FLeft;
    return FLeft - tree->EffectiveOffsetX();
}

void TLazyTreeColumn::ParentBiDiModeChanged()
{
    TBaseLazyTree* tree = Tree();
    if (In(FOptions, coParentBidiMode) && tree && tree->BiDiMode() != FBiDiMode) {
        FBiDiMode = tree->BiDiMode();
        Changed(false);
    }
}

void TLazyTreeColumn::ParentColorChanged()
{
    TBaseLazyTree* tree = Tree();
    if (In(FOptions, coParentColor) && tree && tree->Color() != FColor) {
        FColor = tree->Color();
        Changed(false);
    }
}

void TLazyTreeColumn::RestoreLastWidth()
{
    if (Owner()) Owner()->AnimatedResize(Index(), FLastWidth);
}

void TLazyTreeColumn::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value) return;
    FAlignment = Value;
    Changed(false);
    if (Tree()) Tree()->InvalidateTree();
}

void TLazyTreeColumn::SetBiDiMode(TBiDiMode Value)
{
    if (FBiDiMode == Value) return;
    FBiDiMode = Value;
    FOptions = TLTColumnOptions(FOptions & ~ColBit(coParentBidiMode));
    Changed(false);
    if (Tree()) Tree()->InvalidateTree();
}

void TLazyTreeColumn::SetCaptionAlignment(TAlignment Value)
{
    if (In(FOptions, coUseCaptionAlignment) && FCaptionAlignment == Value) return;
    FCaptionAlignment = Value;
    FOptions = TLTColumnOptions(FOptions | ColBit(coUseCaptionAlignment));
    if (Owner()) Owner()->FHeader->Invalidate(this);
}

void TLazyTreeColumn::SetCheckType(TCheckType Value)
{
    if (FCheckType == Value) return;
    FCheckType = Value;
    Changed(false);
}

void TLazyTreeColumn::SetCheckState(TCheckState Value)
{
    if (FCheckState == Value) return;
    FCheckState = Value;
    Changed(false);
}

void TLazyTreeColumn::SetCheckBox(bool Value)
{
    if (FCheckBox == Value) return;
    FCheckBox = Value;
    TBaseLazyTree* tree = Tree();
    if (Value && tree && tree->plat::TComponent::HasState(plat::csDesigning))
        Owner()->FHeader->SetOptions(Owner()->FHeader->Options() | HdrBit(hoShowImages));
    Changed(false);
}

void TLazyTreeColumn::SetColor(plat::TColor Value)
{
    if (FColor == Value) return;
    FColor = Value;
    FOptions = TLTColumnOptions(FOptions & ~ColBit(coParentColor));
    Changed(false);
    if (Tree()) Tree()->InvalidateTree();
}

void TLazyTreeColumn::SetImageIndex(int Value)
{
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    Changed(false);
}

void TLazyTreeColumn::SetLayout(TLTHeaderColumnLayout Value)
{
    if (FLayout == Value) return;
    FLayout = Value;
    Changed(false);
}

void TLazyTreeColumn::SetMargin(int Value)
{
    if (Value < 0) Value = 4;
    if (FMargin == Value) return;
    FMargin = Value;
    Changed(false);
}

void TLazyTreeColumn::SetSpacing(int Value)
{
    if (FSpacing == Value) return;
    FSpacing = Value;
    Changed(false);
}

void TLazyTreeColumn::SetStyle(TLazyTreeColumnStyle Value)
{
    if (FStyle == Value) return;
    FStyle = Value;
    Changed(false);
}

void TLazyTreeColumn::SetText(const String& Value)
{
    if (FText == Value) return;
    FText = Value;
    FCaptionText.clear();
    Changed(false);
}

void TLazyTreeColumn::SetMaxWidth(int Value)
{
    FMaxWidth = std::max(Value, FMinWidth);
    SetWidth(FWidth);
}

void TLazyTreeColumn::SetMinWidth(int Value)
{
    if (Value < 0) Value = 0;
    FMinWidth = std::min(Value, FMaxWidth);
    SetWidth(FWidth);
}

void TLazyTreeColumn::SetOptions(TLTColumnOptions Value)
{
    if (FOptions == Value) return;
    const TLTColumnOptions old = FOptions;
    const auto added = TLTColumnOptions(Value & ~old);
    const auto removed = TLTColumnOptions(old & ~Value);
    FOptions = Value;
    if (In(added, coParentBidiMode)) ParentBiDiModeChanged();
    if (In(added, coParentColor)) ParentColorChanged();
    if (In(added, coAutoSpring)) FSpringRest = 0;
    TLTHeader* h = Owner() ? Owner()->FHeader : nullptr;
    if (h && (In(added, coFixed) || In(removed, coFixed)) && In(Value, coVisible)) h->RescaleHeader();
    Changed(false);
    TBaseLazyTree* tree = Tree();
    if (!tree || tree->IsTreeLoading()) return;
    const bool visibility = In(added, coVisible) || In(removed, coVisible);
    if ((visibility || In(added, coParentColor)) && tree->UpdateCount() == 0 && tree->HandleAllocated()) {
        tree->InvalidateTree();
        if (visibility) tree->UpdateHorizontalScrollBar(false);
    }
}

void TLazyTreeColumn::SetPosition(TColumnPosition Value)
{
    TLazyTreeColumns* cols = Owner();
    if (!cols) return;
    TBaseLazyTree* tree = cols->Tree();
    if (tree->IsTreeLoading()) {
        FPosition = Value;
        return;
    }
    if (Value >= static_cast<TColumnPosition>(cols->Count())) Value = static_cast<TColumnPosition>(cols->Count() - 1);
    if (Value == FPosition) return;
    cols->InitializePositionArray();
    tree->CancelEdit();
    cols->AdjustPosition(this, Value);
    Changed(false);
    if (cols->UpdateCount() == 0 && tree->HandleAllocated()) {
        cols->FHeader->Invalidate(this);
        tree->InvalidateTree();
    }
    // Fixedness follows the neighbour.
    TColumnIndex neighbour = cols->ColumnFromPosition(FPosition + 1);
    if (In(FOptions, coFixed) && FPosition > 0) neighbour = cols->ColumnFromPosition(FPosition - 1);
    if (cols->IsValidColumn(neighbour)) {
        const bool fixed = In(cols->Items(neighbour)->FOptions, coFixed);
        SetOptions(fixed ? TLTColumnOptions(FOptions | ColBit(coFixed)) : TLTColumnOptions(FOptions & ~ColBit(coFixed)));
    }
}

void TLazyTreeColumn::SetWidth(int Value)
{
    TLazyTreeColumns* cols = Owner();
    TLTHeader* h = cols ? cols->FHeader : nullptr;
    int w = Value;
    if (!h || !h->HasState(hsScaling)) {
        if (h && IsVisibleFixed()) {
            int sumMax = 0, sumMin = 0;
            for (int i = 0; i < cols->Count(); ++i) {
                const TLazyTreeColumn* c = cols->Items(i);
                if (c->IsVisibleFixed()) {
                    sumMax += c->FMaxWidth;
                    sumMin += c->FMinWidth;
                }
            }
            const int cw = cols->Tree()->ClientWidth();
            const int others = cols->GetVisibleFixedWidth() - FWidth;
            const auto& k = h->FixedAreaConstraints();
            if (k.MaxWidthPercent() > 0) sumMin = std::min(cw * k.MaxWidthPercent() / 100, sumMin);
            if (k.MinWidthPercent() > 0) sumMax = std::max(cw * k.MinWidthPercent() / 100, sumMax);
            const int upper = std::min(sumMax - others, FMaxWidth);
            const int lower = std::max(sumMin - others, FMinWidth);
            w = std::min(std::max(Value, lower), upper);
            if (k.MinWidthPercent() > 0) w = std::max(w, cw * k.MinWidthPercent() / 100 - others);
            if (k.MaxWidthPercent() > 0) w = std::min(w, cw * k.MaxWidthPercent() / 100 - others);
        } else {
            w = std::min(std::max(Value, FMinWidth), FMaxWidth);
        }
    }
    if (w == FWidth) return;
    FLastWidth = FWidth;
    if (!h || !h->HasState(hsResizing)) FBonusPixel = false;
    if (!h) {
        FWidth = w;
        return;
    }
    if (!(In(h->Options(), hoAutoResize) && Index() == h->AutoSizeIndex())) {
        FWidth = w;
        cols->UpdatePositions(false);
    }
    TBaseLazyTree* tree = cols->Tree();
    if (tree->IsTreeLoading() || cols->UpdateCount() > 0) return;
    if (In(h->Options(), hoAutoResize)) cols->AdjustAutoSize(false);
    tree->DoColumnResize(Index());
}

void TLazyTreeColumn::LoadFromStream(plat::TStream& Stream, int Version)
{
    SetText(ReadText(Stream));
    FHint = ReadText(Stream);
    SetWidth(ReadInt(Stream));
    SetMinWidth(ReadInt(Stream));
    SetMaxWidth(ReadInt(Stream));
    SetStyle(ReadEnum<TLazyTreeColumnStyle>(Stream, 2));
    SetImageIndex(ReadInt(Stream));
    SetLayout(ReadEnum<TLTHeaderColumnLayout>(Stream, 4));
    SetMargin(ReadInt(Stream));
    SetSpacing(ReadInt(Stream));
    SetBiDiMode(ReadEnum<TBiDiMode>(Stream, 4));
    const auto raw = static_cast<std::uint32_t>(ReadInt(Stream));
    TLTColumnOptions opts;
    if (Version >= 3) opts = TLTColumnOptions(raw & 0xFFFF);
    else if (Version == 2) opts = TLTColumnOptions(raw & 0xFF);
    else opts = TLTColumnOptions((raw & 0x0F) | ((raw & 0x70) << 1));
    SetOptions(opts);
    if (Version > 0) {
        FTag = ReadInt(Stream);
        SetAlignment(ReadEnum<TAlignment>(Stream, 3));
    }
    if (Version > 1) SetColor(static_cast<plat::TColor>(ReadInt(Stream)));
    if (Version > 5 && In(FOptions, coUseCaptionAlignment)) SetCaptionAlignment(ReadEnum<TAlignment>(Stream, 3));
}

void TLazyTreeColumn::SaveToStream(plat::TStream& Stream) const
{
    WriteText(Stream, GetText());
    WriteText(Stream, FHint);
    WriteInt(Stream, FWidth);
    WriteInt(Stream, FMinWidth);
    WriteInt(Stream, FMaxWidth);
    WriteInt(Stream, FStyle);
    WriteInt(Stream, FImageIndex);
    WriteInt(Stream, FLayout);
    WriteInt(Stream, FMargin);
    WriteInt(Stream, FSpacing);
    WriteInt(Stream, FBiDiMode);
    WriteInt(Stream, FOptions);
    WriteInt(Stream, static_cast<std::int32_t>(FTag));
    WriteInt(Stream, FAlignment);
    WriteInt(Stream, static_cast<std::int32_t>(FColor));
    if (In(FOptions, coUseCaptionAlignment)) WriteInt(Stream, FCaptionAlignment);
}

// ---- collection -----------------------------------------------------------------------------

TLazyTreeColumns::TLazyTreeColumns(TLTHeader* AOwner)
    : plat::TCollection(plat::TCollection::ItemClass<TLazyTreeColumn>()), FHeader(AOwner)
{
}

TLazyTreeColumns::~TLazyTreeColumns() { FClearing = true; }

TBaseLazyTree* TLazyTreeColumns::Tree() const { return FHeader->Treeview(); }

bool TLazyTreeColumns::TreeLoading() const { return Tree()->IsTreeLoading(); }

void TLazyTreeColumns::Clear()
{
    FClearing = true;
    try {
        TBaseLazyTree* tree = Tree();
        if (!tree->IsTreeDestroying()) tree->CancelEdit();
        FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = NoColumn;
        FCheckBoxHit = false;
        if (!FHeader->HasState(hsLoading)) {
            FHeader->FAutoSizeIndex = NoColumn;
            FHeader->MainColumn = NoColumn;
            FHeader->SortColumn = NoColumn;
        }
        if (!tree->IsTreeLoading()) tree->SetFocusedColumnField(NoColumn);
        plat::TCollection::Clear();
    } catch (...) {
        FClearing = false;
        throw;
    }
    FClearing = false;
}

void TLazyTreeColumns::Assign(const plat::TPersistent* Source)
{
    plat::TCollection::Assign(Source);
    if (const auto* src = dynamic_cast<const TLazyTreeColumns*>(Source)) {
        FPositionToIndex = src->FPositionToIndex;
        FNeedPositionsFix = false;
        UpdatePositions(true);
    }
}

bool TLazyTreeColumns::Equals(const plat::TObject* Other) const
{
    const auto* o = dynamic_cast<const TLazyTreeColumns*>(Other);
    if (!o || o->ClassName() != ClassName() || o->Count() != Count() || o->FPositionToIndex != FPositionToIndex)
        return false;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->Equals(o->Items(i))) return false;
    return true;
}

void TLazyTreeColumns::Update(plat::TCollectionItem* Item)
{
    InitializePositionArray();
    if (TreeLoading()) FNeedPositionsFix = true;
    else UpdatePositions(false);
    if (Count() > 0 && FHeader->MainColumn < 0) FHeader->MainColumn = 0;
    TBaseLazyTree* tree = Tree();
    if (tree->IsTreeLoading() || FHeader->HasState(hsLoading) || tree->IsTreeDestroying()) return;
    if (In(FHeader->Options(), hoAutoResize)) AdjustAutoSize(false);
    if (Item) {
        FHeader->Invalidate(static_cast<TLazyTreeColumn*>(Item));
    } else if (tree->HandleAllocated()) {
        tree->UpdateHorizontalScrollBar(false);
        FHeader->Invalidate(nullptr);
        tree->InvalidateTree();
    }
}

void TLazyTreeColumns::Notify(plat::TCollectionItem* Item, plat::TCollectionNotification Action)
{
    if (Action == plat::cnExtracting || Action == plat::cnDeleting) {
        TBaseLazyTree* tree = Tree();
        if (!tree->IsTreeLoading() && !tree->IsTreeDestroying() && Item->Index() == tree->FocusedColumn())
            tree->SetFocusedColumnField(NoColumn);
    }
}

void TLazyTreeColumns::InitializePositionArray()
{
    const std::size_t count = static_cast<std::size_t>(Count());
    const std::size_t old = FPositionToIndex.size();
    if (old == count) return;
    FPositionToIndex.resize(count);
    if (count > old) {
        for (std::size_t i = old; i < count; ++i) FPositionToIndex[i] = static_cast<int>(i);
    } else {
        bool changed = true;
        while (changed) {
            changed = false;
            for (int& e : FPositionToIndex)
                if (e >= static_cast<int>(count)) {
                    --e;
                    changed = true;
                }
        }
    }
}

void TLazyTreeColumns::UpdatePositions(bool Force)
{
    TBaseLazyTree* tree = Tree();
    if (tree->IsTreeDestroying() || FNeedPositionsFix || (!Force && UpdateCount() > 0)) return;
    int sum = 0;
    const int n = std::min<int>(Count(), static_cast<int>(FPositionToIndex.size()));
    for (int p = 0; p < n; ++p) {
        const int idx = FPositionToIndex[static_cast<std::size_t>(p)];
        if (!IsValidColumn(idx)) continue;
        TLazyTreeColumn* c = Items(idx);
        c->FPosition = static_cast<TColumnPosition>(p);
        c->FLeft = sum;
        if (In(c->FOptions, coVisible)) sum += c->FWidth;
    }
    tree->UpdateHorizontalScrollBar(false);
}

void TLazyTreeColumns::AdjustPosition(TLazyTreeColumn* Column, TColumnPosition NewPosition)
{
    const TColumnPosition old = Column->FPosition;
    if (old == NewPosition || old >= FPositionToIndex.size() || NewPosition >= FPositionToIndex.size()) return;
    auto begin = FPositionToIndex.begin();
    if (old < NewPosition) std::rotate(begin + old, begin + old + 1, begin + NewPosition + 1);
    else std::rotate(begin + NewPosition, begin + old, begin + old + 1);
    FPositionToIndex[NewPosition] = Column->Index();
}

void TLazyTreeColumns::FixPositions()
{
    // Stored positions that are not a permutation would leave entries unset or clash:
    // such a set falls back to the index order.
    const int n = Count();
    std::vector<char> seen(static_cast<std::size_t>(n), 0);
    bool ok = true;
    for (int i = 0; i < n && ok; ++i) {
        const TColumnPosition p = Items(i)->FPosition;
        if (p >= static_cast<TColumnPosition>(n) || seen[p]) ok = false;
        else seen[p] = 1;
    }
    FPositionToIndex.assign(static_cast<std::size_t>(n), 0);
    for (int i = 0; i < n; ++i) FPositionToIndex[ok ? Items(i)->FPosition : static_cast<TColumnPosition>(i)] = i;
    FNeedPositionsFix = false;
    UpdatePositions(true);
}

void TLazyTreeColumns::ReorderColumns(bool RightToLeft)
{
    const int n = Count();
    FPositionToIndex.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) FPositionToIndex[static_cast<std::size_t>(i)] = RightToLeft ? n - 1 - i : i;
    UpdatePositions(true);
}

void TLazyTreeColumns::RemoveFromPositions(TColumnIndex OldIndex)
{
    auto it = std::find(FPositionToIndex.begin(), FPositionToIndex.end(), OldIndex);
    if (it != FPositionToIndex.end()) FPositionToIndex.erase(it);
    for (int& e : FPositionToIndex)
        if (e > OldIndex) --e;
}

void TLazyTreeColumns::AdjustAutoSize(bool Force)
{
    if (Count() == 0) return;
    TColumnIndex index = FHeader->AutoSizeIndex();
    if (!IsValidColumn(index)) index = Count() - 1;
    TBaseLazyTree* tree = Tree();
    int w = tree->HandleAllocated() ? tree->ClientWidth() : tree->Width();
    for (int i = 0; i < Count(); ++i)
        if (i != index && In(Items(i)->FOptions, coVisible)) w -= Items(i)->FWidth;
    TLazyTreeColumn* c = Items(index);
    w = std::max(std::min(w, c->FMaxWidth), c->FMinWidth);
    if (!Force && w == c->FWidth) return;
    const THeaderStates had = FHeader->FStates;
    FHeader->FStates |= HsBit(hsAutoSizing);
    c->FWidth = w;
    UpdatePositions(false);
    if (tree->UpdateCount() == 0 && !tree->IsTreeLoading()) {
        tree->BeginUpdate();
        try {
            tree->DoColumnResize(index);
        } catch (...) {
            tree->EndUpdate();
            FHeader->FStates = had;
            throw;
        }
        tree->EndUpdate();
    }
    FHeader->FStates = (FHeader->FStates & ~HsBit(hsAutoSizing)) | (had & HsBit(hsAutoSizing));
}

void TLazyTreeColumns::AnimatedResize(TColumnIndex Column, int NewWidth)
{
    if (!IsValidColumn(Column)) return;
    TLazyTreeColumn* c = Items(Column);
    NewWidth = std::min(std::max(NewWidth, c->FMinWidth), c->FMaxWidth);
    if (NewWidth == c->FWidth) return;
    TBaseLazyTree* tree = Tree();
    if (!In(FHeader->Options(), hoDisableAnimatedResize) && !In(c->FOptions, coDisableAnimatedResize) &&
        tree->HandleAllocated()) {
        // Each step moves the strips beside the column (right of it, or left of it in
        // right-to-left alignment, where the columns keep their right edge) by Step pixels,
        // on the window as shown; the final width (with the remainder of the division) is
        // applied by SetWidth below, which repaints everything the steps left behind. The
        // strips start at the column's edge as shown, scrolled unless the column is fixed.
        const int step = (NewWidth - c->FWidth) / 32;
        if (step != 0) {
            tree->Update();
            const bool rtl = tree->BiDiMode() == bdRightToLeft;
            const int dx = rtl ? -step : step;
            int l, r;
            GetColumnBounds(Column, l, r);
            const int cw = tree->ClientWidth();
            const int ch = tree->ClientHeight();
            const TRect& hr = FHeader->HeaderRect();
            TRect clientStrip = rtl ? TRect{0, 0, l, ch} : TRect{r, 0, cw, ch};
            TRect headerStrip = rtl ? TRect{hr.Left, hr.Top, hr.Left + l, hr.Bottom}
                                    : TRect{hr.Left + r, hr.Top, hr.Right, hr.Bottom};
            plat::TCanvas* canvas = tree->Canvas();
            std::unique_ptr<plat::TCanvas> window;
            if (In(FHeader->Options(), hoVisible) && !hr.IsEmpty()) window = plat::GetWindowCanvas(tree->Handle());
            const int saved = canvas->SaveDC();
            if (step > 0) {
                canvas->Brush()->SetColor(tree->Color());
                canvas->Brush()->SetStyle(plat::bsSolid);
                canvas->FillRect(rtl ? TRect{l - step, 0, l, ch} : TRect{r, 0, r + step, ch});
            } else if (rtl) {
                clientStrip.Right -= step;
                headerStrip.Right -= step;
            } else {
                clientStrip.Left += step;
                headerStrip.Left += step;
            }
            auto move = [dx, rtl](plat::TCanvas* Canvas, TRect& Strip) {
                if (Canvas && Strip.Width() > 0 && Strip.Height() > 0) plat::ScrollDC(Canvas, dx, 0, Strip, Strip);
                if (rtl) Strip.Right += dx;
                else Strip.Left += dx;
            };
            for (int i = 0; i < 32; ++i) {
                move(window.get(), headerStrip);
                move(canvas, clientStrip);
                plat::Sleep(1);
            }
            canvas->RestoreDC(saved);
        }
    }
    c->SetWidth(NewWidth);
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(TPoint P, bool Relative) const
{
    if (P.X < 0 || P.Y < 0 || P.Y > Tree()->Height()) return InvalidColumn;
    int l, r;
    return GetColumnAndBounds(P, l, r, Relative);
}

TColumnIndex TLazyTreeColumns::ColumnFromPosition(TColumnPosition PositionIndex) const
{
    if (PositionIndex >= FPositionToIndex.size()) return NoColumn;
    return FPositionToIndex[PositionIndex];
}

TColumnIndex TLazyTreeColumns::GetColumnAndBounds(TPoint P, int& Left, int& Right, bool Relative) const
{
    int sum = Tree()->ColumnsRightToLeftOffset();
    if (Relative && P.X >= GetVisibleFixedWidth()) sum -= Tree()->EffectiveOffsetX();
    // Right to left, the width left of the first column belongs to no column, as the width
    // right of the last one does left to right.
    if (P.X < sum) return InvalidColumn;
    for (int idx : FPositionToIndex) {
        if (!IsValidColumn(idx)) continue;
        const TLazyTreeColumn* c = Items(idx);
        if (!In(c->FOptions, coVisible)) continue;
        Left = sum;
        sum += c->FWidth;
        Right = sum;
        if (P.X < sum) return idx;
    }
    return InvalidColumn;
}

void TLazyTreeColumns::GetColumnBounds(TColumnIndex Column, int& Left, int& Right) const
{
    if (Column < 0 || !IsValidColumn(Column)) {
        Left = 0;
        Right = Tree()->ClientWidth();
        return;
    }
    Left = Items(Column)->Left() + Tree()->ColumnsRightToLeftOffset();
    Right = Left + Items(Column)->FWidth;
}

int TLazyTreeColumns::GetScrollWidth() const
{
    long long sum = 0;
    int count = 0;
    for (int i = 0; i < Count(); ++i) {
        const TLazyTreeColumn* c = Items(i);
        if (In(c->FOptions, coVisible) && !In(c->FOptions, coFixed)) {
            sum += c->FWidth;
            ++count;
        }
    }
    if (count == 0) return static_cast<int>(Tree()->Indent());
    return static_cast<int>(std::nearbyint(static_cast<double>(sum) / count));  // halves to even
}

TColumnIndex TLazyTreeColumns::GetFirstColumn() const
{
    return FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex[0];
}

TColumnIndex TLazyTreeColumns::GetNextColumn(TColumnIndex Column) const
{
    if (!IsValidColumn(Column)) return InvalidColumn;
    const TColumnPosition p = Items(Column)->FPosition + 1;
    return p < FPositionToIndex.size() ? FPositionToIndex[p] : InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetPreviousColumn(TColumnIndex Column) const
{
    if (!IsValidColumn(Column)) return InvalidColumn;
    const TColumnPosition p = Items(Column)->FPosition;
    return p > 0 && p <= FPositionToIndex.size() ? FPositionToIndex[p - 1] : InvalidColumn;
}

namespace {
bool Qualifies(const TLazyTreeColumn* C, bool ConsiderAllowFocus)
{
    return In(C->Options(), coVisible) && (!ConsiderAllowFocus || In(C->Options(), coAllowFocus));
}
} // namespace

TColumnIndex TLazyTreeColumns::GetFirstVisibleColumn(bool ConsiderAllowFocus) const
{
    for (int idx : FPositionToIndex)
        if (IsValidColumn(idx) && Qualifies(Items(idx), ConsiderAllowFocus)) return idx;
    return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetLastVisibleColumn(bool ConsiderAllowFocus) const
{
    for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it)
        if (IsValidColumn(*it) && Qualifies(Items(*it), ConsiderAllowFocus)) return *it;
    return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetNextVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus) const
{
    for (TColumnIndex c = GetNextColumn(Column); c != InvalidColumn; c = GetNextColumn(c))
        if (Qualifies(Items(c), ConsiderAllowFocus)) return c;
    return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::GetPreviousVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus) const
{
    for (TColumnIndex c = GetPreviousColumn(Column); c != InvalidColumn; c = GetPreviousColumn(c))
        if (Qualifies(Items(c), ConsiderAllowFocus)) return c;
    return InvalidColumn;
}

TColumnsArray TLazyTreeColumns::GetVisibleColumns() const
{
    TColumnsArray r;
    for (int idx : FPositionToIndex)
        if (IsValidColumn(idx) && In(Items(idx)->FOptions, coVisible)) r.push_back(Items(idx));
    return r;
}

int TLazyTreeColumns::GetVisibleFixedWidth() const
{
    int w = 0;
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->IsVisibleFixed()) w += Items(i)->FWidth;
    return w;
}

int TLazyTreeColumns::TotalWidth() const
{
    for (auto it = FPositionToIndex.rbegin(); it != FPositionToIndex.rend(); ++it)
        if (IsValidColumn(*it) && In(Items(*it)->FOptions, coVisible)) return Items(*it)->FLeft + Items(*it)->FWidth;
    return 0;
}

void TLazyTreeColumns::DoCanSplitterResize(TPoint P, TColumnIndex Column, bool& Allowed)
{
    if (Tree()->OnCanSplitterResizeColumn) Tree()->OnCanSplitterResizeColumn(FHeader, P, Column, Allowed);
}

bool TLazyTreeColumns::CanSplitterResize(TPoint P, TColumnIndex Column)
{
    bool allowed = IsValidColumn(Column) && In(Items(Column)->FOptions, coVisible) &&
                   In(Items(Column)->FOptions, coResizable);
    DoCanSplitterResize(P, Column, allowed);
    return allowed;
}

void TLazyTreeColumns::LoadFromStream(plat::TStream& Stream, int Version)
{
    const THeaderStates had = FHeader->FStates & HsBit(hsLoading);
    FHeader->FStates |= HsBit(hsLoading);
    auto leave = [&] { FHeader->FStates = (FHeader->FStates & ~HsBit(hsLoading)) | had; };
    try {
        Clear();
        const std::int32_t count = ReadInt(Stream);
        // Every column takes at least its smallest record and its position entry.
        if (count < 0 || static_cast<std::int64_t>(count) * (MinColumnRecord + 4) > BytesLeft(Stream)) ReadError();
        if (count > 0) {
            BeginUpdate();
            try {
                for (int i = 0; i < count; ++i) Add()->LoadFromStream(Stream, Version);
                TIndexArray pos(static_cast<std::size_t>(count));
                for (int& e : pos) e = ReadInt(Stream);
                std::vector<char> seen(pos.size(), 0);
                bool permutation = true;
                for (int e : pos) {
                    if (e < 0 || e >= count || seen[static_cast<std::size_t>(e)]) {
                        permutation = false;
                        break;
                    }
                    seen[static_cast<std::size_t>(e)] = 1;
                }
                if (!permutation)
                    for (int i = 0; i < count; ++i) pos[static_cast<std::size_t>(i)] = i;
                FPositionToIndex = std::move(pos);
                FNeedPositionsFix = false;
                UpdatePositions(true);
            } catch (...) {
                // The partly read columns stay; their positions are the index order.
                FPositionToIndex.clear();
                InitializePositionArray();
                EndUpdate();
                throw;
            }
            EndUpdate();
        }
        if (Version > 4) FDefaultWidth = ReadInt(Stream);
    } catch (...) {
        leave();
        throw;
    }
    leave();
}

void TLazyTreeColumns::SaveToStream(plat::TStream& Stream) const
{
    WriteInt(Stream, Count());
    if (Count() > 0) {
        for (int i = 0; i < Count(); ++i) Items(i)->SaveToStream(Stream);
        for (int e : FPositionToIndex) WriteInt(Stream, e);
    }
    WriteInt(Stream, FDefaultWidth);
}

// ---- fixed-area constraints ------------------------------------------------------------------

namespace {
std::uint8_t Percent(int V) { return static_cast<std::uint8_t>(std::clamp(V, 0, 100)); }
} // namespace

void TLTFixedAreaConstraints::Assign(const plat::TPersistent* Source)
{
    const auto* src = dynamic_cast<const TLTFixedAreaConstraints*>(Source);
    if (!src) {
        plat::TPersistent::Assign(Source);
        return;
    }
    FMaxHeightPercent = src->FMaxHeightPercent;
    FMaxWidthPercent = src->FMaxWidthPercent;
    FMinHeightPercent = src->FMinHeightPercent;
    FMinWidthPercent = src->FMinWidthPercent;
    Changed();
}

void TLTFixedAreaConstraints::Changed()
{
    if (OnChange) OnChange(this);
}

void TLTFixedAreaConstraints::SetMaxHeightPercent(int Value)
{
    const std::uint8_t v = Percent(Value);
    if (v == FMaxHeightPercent) return;
    FMaxHeightPercent = v;
    if (v != 0 && v < FMinHeightPercent) FMinHeightPercent = v;
    Changed();
}

void TLTFixedAreaConstraints::SetMaxWidthPercent(int Value)
{
    const std::uint8_t v = Percent(Value);
    if (v == FMaxWidthPercent) return;
    FMaxWidthPercent = v;
    if (v != 0 && v < FMinWidthPercent) FMinWidthPercent = v;
    Changed();
}

void TLTFixedAreaConstraints::SetMinHeightPercent(int Value)
{
    const std::uint8_t v = Percent(Value);
    if (v == FMinHeightPercent) return;
    FMinHeightPercent = v;
    if (FMaxHeightPercent != 0 && FMaxHeightPercent < v) FMaxHeightPercent = v;
    Changed();
}

void TLTFixedAreaConstraints::SetMinWidthPercent(int Value)
{
    const std::uint8_t v = Percent(Value);
    if (v == FMinWidthPercent) return;
    FMinWidthPercent = v;
    if (FMaxWidthPercent != 0 && FMaxWidthPercent < v) FMaxWidthPercent = v;
    Changed();
}

// ---- the tree's side ----------------------------------------------------------------------------

void TBaseLazyTree::InvalidateColumn(TColumnIndex Column)
{
    if (FUpdateCount > 0 || !HandleAllocated() || !FHeader->Columns().IsValidColumn(Column)) return;
    int l, r;
    FHeader->Columns().GetColumnBounds(Column, l, r);
    const TRect rect{l, 0, r, ClientHeight()};
    InvalidateRect(&rect, false);
}

void TBaseLazyTree::DoColumnResize(TColumnIndex Column)
{
    if (IsTreeLoading() || !HandleAllocated()) return;
    // Multi-line heights depend on the widths; a tree that never had such a node skips the walk.
    if (FHasMultilineNodes)
        for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
            if (n->Has(vsInitialized) && n->Has(vsMultiline)) n->States &= ~NodeBit(vsHeightMeasured);
    UpdateHorizontalScrollBar(true);
    if (Column >= 0 && FHeader->Columns().IsValidColumn(Column)) {
        if (In(FOptions->AutoOptions(), toAutoSpanColumns)) {
            InvalidateRect(nullptr, false);
        } else {
            int l, r;
            FHeader->Columns().GetColumnBounds(Column, l, r);
            const TRect rect = FBiDiMode != bdLeftToRight ? TRect{0, 0, r, ClientHeight()}
                                                         : TRect{l, 0, ClientWidth(), ClientHeight()};
            InvalidateRect(&rect, false);
        }
        FHeader->Invalidate(FHeader->Columns().Items(Column), true);
    }
    if (FHeader->HasState(hsColumnWidthTracking) && !FHeader->HasState(hsResizing)) Update();
    if (!FHeader->HasState(hsResizing) && OnColumnResize) OnColumnResize(FHeader.get(), Column);
    if (HasState(tsEditing)) UpdateEditBounds();
}

void TBaseLazyTree::MainColumnChanged() { CancelEditNode(); }

} // namespace vtree

namespace vtree {

int TBaseLazyTree::GetMaxColumnWidth(TColumnIndex Column, bool UseSmartColumnWidth)
{
    TLazyTreeColumns& cols = FHeader->Columns();
    const int current = cols.IsValidColumn(Column) ? cols.Items(Column)->Width() : 0;
    if (OperationCanceled()) return current;
    StartOperation(okGetMaxColumnWidth);
    int result = 0;
    try {
        if (OnBeforeGetMaxColumnWidth) OnBeforeGetMaxColumnWidth(FHeader.get(), Column, UseSmartColumnWidth);
        const int stateW = FStateImages ? FStateImages->Width() + 2 : 0;
        const int checkW = FCheckImages ? FCheckImages->Width() + 2 : 0;
        PLazyNode node = nullptr;
        PLazyNode stop = nullptr;
        if (UseSmartColumnWidth) {
            int top;
            node = GetNodeAt(0, 0, true, top);
            PLazyNode bottom = GetNodeAt(0, std::max(ClientHeight() - 1, 0), true, top);
            stop = bottom ? GetNextVisible(bottom) : nullptr;
        } else {
            node = GetFirstVisible();
        }
        const TLTPaintOptions paint = FOptions->PaintOptions();
        const bool main = Column == FHeader->MainColumn || !FHeader->UseColumns();
        int offset = 0;
        bool withCheck = false;
        if (main && node) {
            if (In(paint, toFixedIndent)) offset = static_cast<int>(FIndent);
            else offset = static_cast<int>(FIndent) * static_cast<int>(GetNodeLevel(node) + (In(paint, toShowRoot) ? 1 : 0));
            withCheck = In(FOptions->MiscOptions(), toCheckSupport) && FCheckImages;
        }
        offset += FMargin;
        bool reserveImage = false;
        while (node && node != stop) {
            int x = offset;
            if (withCheck && node->CheckType != ctNone) x += checkW;
            if (FImages && (reserveImage || HasNodeImage(node, ikNormal, Column))) {
                x += FImages->Width() + 2;
                reserveImage = true;
            }
            if (FStateImages && HasNodeImage(node, ikState, Column)) x += stateW;
            const int text = DoGetNodeWidth(node, Column, Canvas()) + NodeExtraWidth(node, Column, Canvas()) +
                             GetCellContentMargin(node, Column, ccmtTopLeftOnly, Canvas()).X;
            result = std::max(result, x + text);
            PLazyNode next = GetNextVisible(node);
            if (main && next && !In(paint, toFixedIndent))
                offset += (static_cast<int>(GetNodeLevel(next)) - static_cast<int>(GetNodeLevel(node))) * static_cast<int>(FIndent);
            node = next;
        }
        if (In(paint, toShowVertGridLines)) ++result;
        if (OnAfterGetMaxColumnWidth) OnAfterGetMaxColumnWidth(FHeader.get(), Column, result);
    } catch (...) {
        EndOperation(okGetMaxColumnWidth);
        throw;
    }
    EndOperation(okGetMaxColumnWidth);
    return result;
}

} // namespace vtree
