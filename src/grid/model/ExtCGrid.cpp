#include "ExtCGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ExtUtil.h"
#include "plat/IniFiles.h"
#include "plat/Menus.h"
#include "plat/SysUtils.h"

namespace grid {

// ---- TGridColumnItem ---------------------------------------------------------------------------

TGridColumnItem::TGridColumnItem(plat::TCollection* Collection) : plat::TCollectionItem(nullptr) {
    FBorderPen.SetColor(plat::clSilver);
    FPrintBorderPen.SetColor(plat::clBlack);
    if (auto* c = dynamic_cast<TGridColumnCollection*>(Collection); c && c->GetOwner()) {
        TExtColumnGrid* g = c->GetOwner();
        FFont.Assign(*g->plat::TControl::Font());
        FPrintFont.Assign(*g->plat::TControl::Font());
        FHeaderFont.Assign(*g->plat::TControl::Font());
        FColor = g->plat::TControl::Color();
    }
    FFont.OnChange = [this](plat::TObject*) { NotifyChanged(); };
    FHeaderFont.OnChange = [this](plat::TObject*) { NotifyChanged(); };
    FBorderPen.OnChange = [this](plat::TObject*) { NotifyChanged(); };
    FFilter.OnChange = [this](plat::TObject*) { InvalidateGrid(); };
    // Joined last: the collection's change handling reads the finished item.
    if (Collection) SetCollection(Collection);
}

TGridColumnItem::~TGridColumnItem() {
    FFont.OnChange = nullptr;
    FHeaderFont.OnChange = nullptr;
    FBorderPen.OnChange = nullptr;
    FFilter.OnChange = nullptr;
}

TExtColumnGrid* TGridColumnItem::Grid() const {
    auto* c = static_cast<TGridColumnCollection*>(Collection());
    return c ? c->GetOwner() : nullptr;
}

void TGridColumnItem::NotifyChanged() { Changed(false); }

void TGridColumnItem::InvalidateGrid() {
    if (auto* g = Grid()) g->Invalidate();
}

void TGridColumnItem::CopyCommon(const TGridColumnItem& s) {
    FAlignment = s.FAlignment;
    FHeaderAlignment = s.FHeaderAlignment;
    FBorderPen.Assign(s.FBorderPen);
    FBorders = s.FBorders;
    CheckFalse = s.CheckFalse;
    CheckTrue = s.CheckTrue;
    EditLength = s.EditLength;
    EditMask = s.EditMask;
    FEditorType = s.FEditorType;
    FFixed = s.FFixed;
    FPassword = s.FPassword;
    FPrintBorderPen.Assign(s.FPrintBorderPen);
    PrintBorders = s.PrintBorders;
    PrintColor = s.PrintColor;
    FPrintFont.Assign(s.FPrintFont);
    ReadOnly = s.ReadOnly;
    SortPrefix = s.SortPrefix;
    SortStyle = s.SortStyle;
    SortSuffix = s.SortSuffix;
    SpinMax = s.SpinMax;
    SpinMin = s.SpinMin;
    SpinStep = s.SpinStep;
    ColumnPopup = s.ColumnPopup;
    EditLink = s.EditLink;
    FWidth = s.Width();
    FShowBands = s.FShowBands;
    MinSize = s.MinSize;
    MaxSize = s.MaxSize;
    AutoMinSize = s.AutoMinSize;
    AutoMaxSize = s.AutoMaxSize;
    FFilter.Assign(&s.FFilter);
    FilterCaseSensitive = s.FilterCaseSensitive;
    DefIdx = s.DefIdx;
    FFloatFormat = s.FFloatFormat;
}

void TGridColumnItem::Assign(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TGridColumnItem*>(Source);
    if (!s) return;
    CopyCommon(*s);
    FColor = s->FColor;
    FFont.Assign(s->FFont);
    FComboItems.Assign(&s->FComboItems);
    DropDownCount = s->DropDownCount;
    FHeaderFont.Assign(s->FHeaderFont);
    // Through the setter, so the header row shows it (a column being moved writes no cell).
    SetHeader(s->FColumnHeader);
    Name = s->Name;
    Tag = s->Tag;
}

void TGridColumnItem::AssignVisuals(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TGridColumnItem*>(Source);
    if (!s) return;
    CopyCommon(*s);
    if (auto* g = Grid()) {
        FColor = g->plat::TControl::Color();
        FFont.Assign(*g->plat::TControl::Font());
    }
}

String TGridColumnItem::DisplayName() const {
    const String idx = plat::IntToStr(Index());
    return Name.empty() ? u"Column " + idx : u"Col " + idx + u": " + Name;
}

void TGridColumnItem::SetHeader(const String& Value) {
    FColumnHeader = Value;
    TExtColumnGrid* g = Grid();
    if (!g) return;
    if (g->FixedRows() > 0 && !g->ColMoving()) {
        g->SetCellEx(Index(), 0, Value);
        NotifyChanged();
    }
    plat::TStringList* headers = g->ColumnHeaders();
    headers->BeginUpdate();
    headers->Clear();
    auto* c = g->Columns();
    for (int i = 0; i < c->Count(); ++i) headers->Add(c->Items(i)->FColumnHeader);
    headers->EndUpdate();
}

int TGridColumnItem::Width() const {
    TExtColumnGrid* g = Grid();
    return g ? g->AllColWidths(Index()) : 0;
}

void TGridColumnItem::SetWidth(int Value) {
    FWidth = Value;
    if (TExtColumnGrid* g = Grid()) g->SetAllColWidths(Index(), Value);
}

void TGridColumnItem::SetColor(TColor Value) {
    FColor = Value;
    NotifyChanged();
}

void TGridColumnItem::SetAlignment(plat::TAlignment Value) {
    FAlignment = Value;
    InvalidateGrid();
}

void TGridColumnItem::SetHeaderAlignment(plat::TAlignment Value) {
    FHeaderAlignment = Value;
    InvalidateGrid();
}

void TGridColumnItem::SetEditor(TEditorType Value) {
    const bool repaint = FEditorType == edDataCheckBox || Value == edDataCheckBox;
    FEditorType = Value;
    if (repaint) InvalidateGrid();
}

void TGridColumnItem::SetFixed(bool Value) {
    FFixed = Value;
    NotifyChanged();
}

void TGridColumnItem::SetPassword(bool Value) {
    FPassword = Value;
    NotifyChanged();
}

void TGridColumnItem::SetShowBands(bool Value) {
    FShowBands = Value;
    NotifyChanged();
}

void TGridColumnItem::SetBorders(TCellBorders Value) {
    FBorders = Value;
    NotifyChanged();
}

void TGridColumnItem::SetFloatFormat(const String& Value) {
    FFloatFormat = Value;
    InvalidateGrid();
}

String TGridColumnItem::Rows(int Row) const {
    TExtColumnGrid* g = Grid();
    return g ? g->Cells(Index(), Row) : String();
}

void TGridColumnItem::SetRows(int Row, const String& Value) {
    if (TExtColumnGrid* g = Grid()) g->SetCells(Index(), Row, Value);
}

int TGridColumnItem::Ints(int Row) const {
    TExtColumnGrid* g = Grid();
    return g ? g->Ints(Index(), Row) : 0;
}

void TGridColumnItem::SetInts(int Row, int Value) {
    if (TExtColumnGrid* g = Grid()) g->SetInts(Index(), Row, Value);
}

double TGridColumnItem::Floats(int Row) const {
    TExtColumnGrid* g = Grid();
    return g ? g->Floats(Index(), Row) : 0.0;
}

void TGridColumnItem::SetFloats(int Row, double Value) {
    if (TExtColumnGrid* g = Grid()) g->SetFloats(Index(), Row, Value);
}

plat::TDateTime TGridColumnItem::Dates(int Row) const {
    TExtColumnGrid* g = Grid();
    return g ? g->Dates(Index(), Row) : plat::TDateTime();
}

void TGridColumnItem::SetDates(int Row, plat::TDateTime Value) {
    if (TExtColumnGrid* g = Grid()) g->SetDates(Index(), Row, Value);
}

plat::TDateTime TGridColumnItem::Times(int Row) const {
    TExtColumnGrid* g = Grid();
    return g ? g->Times(Index(), Row) : plat::TDateTime();
}

void TGridColumnItem::SetTimes(int Row, plat::TDateTime Value) {
    if (TExtColumnGrid* g = Grid()) g->SetTimes(Index(), Row, Value);
}

// ---- TGridColumnCollection ------------------------------------------------------------------

TGridColumnCollection::TGridColumnCollection(TExtColumnGrid* AOwner)
    : plat::TCollection(plat::TCollection::ItemClass<TGridColumnItem>()), FOwner(AOwner) {}

TGridColumnItem* TGridColumnCollection::Add() {
    auto* item = static_cast<TGridColumnItem*>(plat::TCollection::Add());
    if (Count() >= 2) item->AssignVisuals(Items(Count() - 2));
    return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index) {
    return static_cast<TGridColumnItem*>(plat::TCollection::Insert(Index));
}

void TGridColumnCollection::Update(plat::TCollectionItem* Item) {
    plat::TCollection::Update(Item);
    if (UpdateCount() > 0 || FNoRecursiveUpdate || !FOwner || FOwner->HasState(plat::csLoading)) return;
    const int n = Count() - FOwner->NumHiddenColumns();
    if (n != FOwner->ColCount() && FOwner->FixedCols() < n) FOwner->SetColCount(n);
    FOwner->SyncColumnHeaders();
    FOwner->Invalidate();
}

// ---- TExtColumnGrid -----------------------------------------------------------------------------

TExtColumnGrid::TExtColumnGrid(plat::TComponent* AOwner) : TExtStringGrid(AOwner) {
    FColumnCollection = CreateColumns();
    {
        TSuppress s(FColumnCollection.get());
        SyncColumnCount();
    }
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
}

TExtColumnGrid::~TExtColumnGrid() {
    // The items go first: their changes must not reach a grid half taken apart.
    FColumnCollection->SetNoRecursiveUpdate(true);
    FColumnCollection.reset();
}

std::unique_ptr<TGridColumnCollection> TExtColumnGrid::CreateColumns() {
    return std::make_unique<TGridColumnCollection>(this);
}

void TExtColumnGrid::SetColumns(const TGridColumnCollection* Value) {
    if (Value && Value != FColumnCollection.get()) FColumnCollection->Assign(Value);
}

TGridColumnItem* TExtColumnGrid::GetColumnByName(StringView AName) const {
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        if (FColumnCollection->Items(i)->Name == AName) return FColumnCollection->Items(i);
    return nullptr;
}

int TExtColumnGrid::GetVersionNr() const { return (3 << 24) | (1 << 16) | (3 << 8) | 1; }

String TExtColumnGrid::GetVersionString() const { return TExtStringGrid::GetVersionString() + u" Aug, 2012"; }

void TExtColumnGrid::SyncColumnCount() {
    if (!FColumnCollection) return;
    const int want = ColCount() + NumHiddenColumns();
    while (FColumnCollection->Count() < want) FColumnCollection->Add();
    while (FColumnCollection->Count() > want) delete FColumnCollection->Items(FColumnCollection->Count() - 1);
    if (IsDesigning())
        for (int i = 0; i < ColCount(); ++i) SetCellEx(i, FixedRows(), u"Column " + plat::IntToStr(i));
}

String TExtColumnGrid::CheckColumns() const {
    const int want = ColCount() + NumHiddenColumns();
    if (FColumnCollection->Count() != want)
        return u"item count " + plat::IntToStr(FColumnCollection->Count()) + u", real columns " + plat::IntToStr(want);
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        const TGridColumnItem* item = FColumnCollection->Items(i);
        if (item->Collection() != FColumnCollection.get() || item->Index() != i)
            return u"item " + plat::IntToStr(i) + u" is not in its place";
        if (item->Grid() != this) return u"item " + plat::IntToStr(i) + u" belongs to another grid";
    }
    if (FColMoving || FColumnCollection->NoRecursiveUpdate()) return u"a column operation was left open";
    return String();
}

void TExtColumnGrid::SyncColumnHeaders() {
    if (FixedRows() <= 0) return;
    plat::TStringList* headers = ColumnHeaders();
    headers->BeginUpdate();
    headers->Clear();
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        if (item->FColumnHeader.empty()) {
            const String cell = GetGridCell(i, 0);
            if (!cell.empty()) item->FColumnHeader = cell;
        }
        headers->Add(item->FColumnHeader);
    }
    headers->EndUpdate();
}

void TExtColumnGrid::SetOrganization() {
    {
        TSuppress s(FColumnCollection.get());
        SyncColumnCount();
    }
    for (int i = 0; i < FColumnCollection->Count(); ++i) FColumnCollection->Items(i)->DefIdx = i;
}

void TExtColumnGrid::ResetOrganization() {
    bool moved = true;
    // Each move puts one column at its place for good, so the passes end.
    for (int pass = 0; moved && pass <= FColumnCollection->Count(); ++pass) {
        moved = false;
        for (int i = 0; i < FColumnCollection->Count(); ++i) {
            const int d = FColumnCollection->Items(i)->DefIdx;
            if (d >= 0 && d < i) {
                MoveColumn(i, d);
                moved = true;
            }
        }
    }
}

void TExtColumnGrid::SaveColumnPositions(const String& Key, const String& Section) {
    plat::TIniFile ini(Key);
    for (int i = 0; i < FColumnCollection->Count(); ++i)
        ini.WriteInteger(Section, u"CP" + plat::IntToStr(i), FColumnCollection->Items(i)->DefIdx);
}

void TExtColumnGrid::LoadColumnPositions(const String& Key, const String& Section) {
    const plat::TIniFile ini(Key);
    const int n = FColumnCollection->Count();
    std::vector<int> stored(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        stored[static_cast<size_t>(i)] = ini.ReadInteger(Section, u"CP" + plat::IntToStr(i), -1);
        // A missing key, or a file written for another column layout, changes nothing.
        if (stored[static_cast<size_t>(i)] < 0 || stored[static_cast<size_t>(i)] >= n) return;
    }
    // Positions that are not a permutation would leave columns without a place.
    std::vector<bool> seen(static_cast<size_t>(n));
    for (int v : stored) {
        if (seen[static_cast<size_t>(v)]) return;
        seen[static_cast<size_t>(v)] = true;
    }
    std::vector<int> kept(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) {
        const int i = stored[static_cast<size_t>(j)];
        FColumnCollection->Items(i)->DefIdx = j;
        kept[static_cast<size_t>(j)] = i;
    }
    ResetOrganization();
    for (int j = 0; j < n; ++j) FColumnCollection->Items(j)->DefIdx = kept[static_cast<size_t>(j)];
}

void TExtColumnGrid::SaveColPositions() {
    const TColumnSize* size = ColumnSize();
    if (size->Location != clIniFile) return TExtStringGrid::SaveColPositions();
    if (IsDesigning() || size->Key.empty() || size->Section.empty()) return;
    SaveColumnPositions(size->Key, size->Section);
}

void TExtColumnGrid::LoadColPositions() {
    const TColumnSize* size = ColumnSize();
    if (size->Location != clIniFile) return TExtStringGrid::LoadColPositions();
    if (IsDesigning() || size->Key.empty() || size->Section.empty()) return;
    LoadColumnPositions(size->Key, size->Section);
}

void TExtColumnGrid::Loaded() {
    TExtStringGrid::Loaded();
    SyncColumnCount();
    SetOrganization();
}

void TExtColumnGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TExtStringGrid::SizeChanged(OldColCount, OldRowCount);
    if (!FColumnCollection || OldColCount == ColCount()) return;
    TSuppress s(FColumnCollection.get());
    SyncColumnCount();
}

void TExtColumnGrid::ChangeScale(int M, int D) {
    TExtStringGrid::ChangeScale(M, D);
    if (IsDesigning() || M == D || D == 0) return;
    for (int i = 0; i < ColCount() && i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        item->FFont.SetSize(static_cast<int>(std::lround(static_cast<double>(item->FFont.Size()) * M / D)));
        item->FHeaderFont.SetSize(static_cast<int>(std::lround(static_cast<double>(item->FHeaderFont.Size()) * M / D)));
    }
}

void TExtColumnGrid::ColWidthsChanged() {
    TExtStringGrid::ColWidthsChanged();
    if (HasState(plat::csLoading) || Destroying() || !FColumnCollection) return;
    // Each shown column's width goes to the item of its real column; a hidden column's item
    // keeps the width it had.
    for (int c = 0; c < ColCount(); ++c)
        if (const int real = RealColIndex(c); InItems(real)) FColumnCollection->Items(real)->FWidth = ColWidths(c);
}

void TExtColumnGrid::ColumnMoved(int FromIndex, int ToIndex) {
    TSuppress s(FColumnCollection.get());
    const int top = TopRow();
    const int f = RealColIndex(FromIndex);
    const int t = RealColIndex(ToIndex);
    TExtStringGrid::ColumnMoved(FromIndex, ToIndex);
    BeginUpdate();
    FColMoving = true;
    if (InItems(f) && InItems(t)) FColumnCollection->Items(f)->SetIndex(t);
    SetTopRow(top);
    FColMoving = false;
    EndUpdate();
    if (OnAfterColumnMoved) OnAfterColumnMoved(this, f, t);
}

void TExtColumnGrid::ColumnsInserting(int ColIndex, int CCount) {
    TSuppress s(FColumnCollection.get());
    const int at = std::clamp(ColIndex, 0, FColumnCollection->Count());
    for (int i = 0; i < CCount; ++i) FColumnCollection->Insert(at);
}

void TExtColumnGrid::ColumnsRemoving(int ColIndex, int CCount) {
    TSuppress s(FColumnCollection.get());
    for (int i = 0; i < CCount && InItems(ColIndex); ++i) delete FColumnCollection->Items(ColIndex);
}

void TExtColumnGrid::ColumnsSwapped(int Index, int Index2) {
    if (!InItems(Index) || !InItems(Index2) || Index == Index2) return;
    TSuppress s(FColumnCollection.get());
    const int lo = std::min(Index, Index2), hi = std::max(Index, Index2);
    TGridColumnItem* a = FColumnCollection->Items(lo);
    TGridColumnItem* b = FColumnCollection->Items(hi);
    b->SetIndex(lo);
    a->SetIndex(hi);
}

void TExtColumnGrid::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    TExtStringGrid::Notification(AComponent, Operation);
    if (Operation != plat::opRemove || !FColumnCollection) return;
    for (int i = 0; i < FColumnCollection->Count(); ++i) {
        TGridColumnItem* item = FColumnCollection->Items(i);
        if (item->ColumnPopup && static_cast<plat::TComponent*>(item->ColumnPopup) == AComponent)
            item->ColumnPopup = nullptr;
        if (item->EditLink && IsEditLinkOf(item->EditLink, AComponent)) item->EditLink = nullptr;
    }
}

void TExtColumnGrid::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    TExtStringGrid::MouseDown(Button, Shift, X, Y);
    int d = -1, r = -1;
    MouseToCell(X, Y, d, r);
    if (d < 0 || r < 0) return;
    // The mouse names a display column; its menu and the event belong to its real column.
    const int c = RealColIndex(d);
    if (!InItems(c)) return;
    TGridColumnItem* item = FColumnCollection->Items(c);
    if (!item->ColumnPopup) return;
    const plat::TRect rc = CellRect(d, r);
    const TPoint p = ClientToScreen(TPoint{rc.Left, rc.Bottom});
    const TColumnPopupType t = item->ColumnPopupType;
    const bool left = Button == plat::mbLeft, right = Button == plat::mbRight;
    const bool fixedRow = r < FixedRows();
    bool show = false;
    if (left && (t == cpFixedCellsLClick || t == cpNormalCellsLClick || t == cpAllCellsLClick))
        show = (fixedRow && (t == cpFixedCellsLClick || t == cpAllCellsLClick)) ||
               (!fixedRow && (t == cpNormalCellsLClick || t == cpAllCellsLClick));
    else if (right && (t == cpFixedCellsRClick || t == cpNormalCellsRClick || t == cpAllCellsRClick))
        show = (fixedRow && (t == cpFixedCellsRClick || t == cpAllCellsRClick)) ||
               (!fixedRow && (t == cpNormalCellsRClick || t == cpAllCellsRClick));
    else
        return;
    if (OnColumnPopup) OnColumnPopup(this, c, r, item->ColumnPopup);
    if (show && item->ColumnPopup) item->ColumnPopup->Popup(p.X, p.Y);
}

// ---- hooks ----------------------------------------------------------------------------------------

bool TExtColumnGrid::Inside(int ACol, int ARow) const {
    return NotFixed(ACol, ARow) && ACol < ColCount() + NumHiddenColumns() - FixedRightCols &&
           ARow < RowCount() - FixedFooters;
}

void TExtColumnGrid::GetCellBackground(int ACol, int ARow, TCellGradientDirection& GradientDirection,
                                       bool& WordWrap, TVAlignment& VAlignment, plat::TAlignment& Alignment,
                                       TColor& MirrorColorTo, TColor& MirrorColor, TColor& ColorTo,
                                       plat::TBrush* ABrush, plat::TFont* AFont) {
    if (!InItems(ACol)) {
        TExtStringGrid::GetCellBackground(ACol, ARow, GradientDirection, WordWrap, VAlignment, Alignment,
                                          MirrorColorTo, MirrorColor, ColorTo, ABrush, AFont);
        return;
    }
    TGridColumnItem* item = FColumnCollection->Items(ACol);
    AFont->Assign(item->FFont);
    ABrush->SetColor(item->FColor);
    ColorTo = MirrorColor = MirrorColorTo = plat::clNone;
    Alignment = ARow < FixedRows() ? item->FHeaderAlignment : item->FAlignment;
    VAlignment = this->VAlignment();
    WordWrap = TBaseGrid::WordWrap();
    GradientDirection = GradientVertical;
    if (IsFixed(ACol, ARow) || (Bands()->Active() && item->FShowBands)) ABrush->SetColor(plat::clNone);
}

String TExtColumnGrid::GetFloatFormat(int ACol) {
    if (InItems(ACol) && !FColumnCollection->Items(ACol)->FFloatFormat.empty())
        return FColumnCollection->Items(ACol)->FFloatFormat;
    return TExtStringGrid::GetFloatFormat(ACol);
}

String TExtColumnGrid::GetFormattedCell(int ACol, int ARow) {
    if (!InItems(ACol)) return TExtStringGrid::GetFormattedCell(ACol, ARow);
    const String text = GetCellEx(ACol, ARow);
    String fmt = FColumnCollection->Items(ACol)->FFloatFormat;
    const int kind = ClassifyNumberText(plat::Trim(text));
    bool isFloat = kind == nkInteger || kind == nkReal;
    if (OnGetFloatFormat) OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (fmt.empty() || !isFloat) return text;
    try {
        return plat::Format(fmt, {Floats(ACol, ARow)});
    } catch (const plat::Exception&) {
        // A text the typed read does not take, or a format that does not take a number.
        return text;
    }
}

void TExtColumnGrid::UpdateColumnSize(int ACol, int& AWidth) {
    const int c = RealColIndex(ACol);
    if (InItems(c)) AWidth = ClampToLimits(AWidth, FColumnCollection->Items(c)->MinSize, FColumnCollection->Items(c)->MaxSize);
    TExtStringGrid::UpdateColumnSize(ACol, AWidth);
}

void TExtColumnGrid::ColumnHeadersChanged() {
    if (!FColumnCollection) return;
    plat::TStringList* headers = ColumnHeaders();
    for (int i = 0; i < FColumnCollection->Count() && i < headers->Count(); ++i)
        FColumnCollection->Items(i)->FColumnHeader = headers->Strings(i);
}

void TExtColumnGrid::GetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                  plat::TFont* AFont) {
    if (InItems(ACol) && ACol >= FixedCols() && ACol < ColCount() + NumHiddenColumns() - FixedRightCols &&
        ARow < RowCount() - FixedFooters) {
        TGridColumnItem* item = FColumnCollection->Items(ACol);
        if (item->FFixed)
            ABrush->SetColor(FixedColor());
        else if ((!item->FShowBands || !Bands()->Active()) && ARow >= FixedRows())
            ABrush->SetColor(item->FColor);
        AFont->Assign(ARow < FixedRows() ? item->FHeaderFont : item->FFont);
        if (const TCellProperties* p = Map().Props(ACol, ARow)) {
            if (p->BrushColor() != plat::clNone) ABrush->SetColor(p->BrushColor());
            if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        }
    }
    TExtStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::GetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                       plat::TFont* AFont) {
    if (InItems(ACol)) {
        const bool edge = ACol < FixedCols() || ARow < FixedRows() ||
                          ACol >= ColCount() + NumHiddenColumns() - FixedRightCols ||
                          ARow >= RowCount() - FixedFooters;
        if (edge) {
            AFont->Assign(PrintSettings()->FixedFont);
        } else {
            TGridColumnItem* item = FColumnCollection->Items(ACol);
            const TCellProperties* p = Map().Props(ACol, ARow);
            if (item->FFixed)
                ABrush->SetColor(FixedColor());
            else if (!(item->FShowBands && Bands()->Active() && Bands()->Print))
                ABrush->SetColor(item->PrintColor);
            if (p && p->BrushColor() != plat::clNone) ABrush->SetColor(p->BrushColor());
            if (item->PrintFontCustom) {
                AFont->Assign(item->FPrintFont);
                if (p) {
                    if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
                    if (!(p->FontStyle == plat::TFontStyles{})) AFont->SetStyle(p->FontStyle);
                    if (p->FontSize != 0) AFont->SetSize(p->FontSize);
                    if (!p->FontName.empty()) AFont->SetName(p->FontName);
                }
            } else {
                AFont->Assign(PrintSettings()->Font);
            }
        }
    }
    TExtStringGrid::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::GetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
    if (InItems(ACol) && NotFixed(ACol, ARow)) {
        Borders = FColumnCollection->Items(ACol)->FBorders;
        APen->Assign(FColumnCollection->Items(ACol)->FBorderPen);
    }
    TExtStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) {
    if (InItems(ACol) && NotFixed(ACol, ARow) && FColumnCollection->Items(ACol)->PrintBorderCustom) {
        Borders = FColumnCollection->Items(ACol)->PrintBorders;
        APen->Assign(FColumnCollection->Items(ACol)->FPrintBorderPen);
    }
    TExtStringGrid::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellAlignment(int ACol, int ARow, plat::TAlignment& HAlign, TVAlignment& VAlign) {
    if (InItems(ACol)) {
        TGridColumnItem* item = FColumnCollection->Items(ACol);
        HAlign = ARow < FixedRows() ? item->FHeaderAlignment : item->FAlignment;
        if (const TCellProperties* p = Map().Props(ACol, ARow)) HAlign = p->Alignment;
    }
    TExtStringGrid::GetCellAlignment(ACol, ARow, HAlign, VAlign);
}

void TExtColumnGrid::GetCellFormat(int ACol, TSortStyle& AStyle, String& Prefix, String& Suffix) {
    if (InItems(ACol)) {
        TGridColumnItem* item = FColumnCollection->Items(ACol);
        AStyle = item->SortStyle;
        Prefix = item->SortPrefix;
        Suffix = item->SortSuffix;
    }
    TExtStringGrid::GetCellFormat(ACol, AStyle, Prefix, Suffix);
}

void TExtColumnGrid::GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) {
    if (InItems(ACol)) {
        TGridColumnItem* item = FColumnCollection->Items(ACol);
        if (NotFixed(ACol, ARow)) {
            AEditor = item->FEditorType;
            ControlLook()->DropDownCount = item->DropDownCount;
        }
    }
    TExtStringGrid::GetCellEditorType(ACol, ARow, AEditor);
}

void TExtColumnGrid::EditorSettings(int ACol, int ARow, TEditorType AEditor) {
    if (!InItems(ACol) || !NotFixed(ACol, ARow)) return;
    TGridColumnItem* item = FColumnCollection->Items(ACol);
    if (AEditor == edComboEdit || AEditor == edComboList) AssignComboItems(item->ComboItems());
    if (AEditor == edSpinEdit || AEditor == edFloatSpinEdit) SetEditorSpinLimits(item->SpinMin, item->SpinMax, item->SpinStep);
    if (AEditor == edCustom && item->EditLink) SetEditLink(item->EditLink);
}

void TExtColumnGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed) {
    if (ACol >= FixedCols() && ARow >= FixedRows()) {
        const int real = RealColIndex(ACol);
        if (InItems(real)) IsFixed = FColumnCollection->Items(real)->FFixed;
    }
    TExtStringGrid::IsFixedCell(ACol, ARow, IsFixed);
}

void TExtColumnGrid::CheckCanEdit(int ACol, int ARow, bool& CanEdit) {
    if (!InItems(ACol)) {
        TExtStringGrid::CheckCanEdit(ACol, ARow, CanEdit);
        return;
    }
    const TPoint b = BaseCell(ACol, ARow);
    CanEdit = false;
    if (!HasState(plat::csLoading) && NotFixed(ACol, ARow)) {
        TGridColumnItem* item = FColumnCollection->Items(ACol);
        CanEdit = !(item->ReadOnly || item->FFixed);
        if (CanEdit)
            if (const TCellProperties* p = Map().Props(ACol, ARow)) CanEdit = !p->ReadOnly;
    }
    if (OnCanEditCell) OnCanEditCell(this, b.Y, b.X, CanEdit);
}

void TExtColumnGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword) {
    if (InItems(ACol)) IsPassword = FColumnCollection->Items(ACol)->FPassword;
    TExtStringGrid::IsPasswordCell(ACol, ARow, IsPassword);
}

bool TExtColumnGrid::HasComboBox(int ACol, int ARow) {
    if (!InItems(ACol)) return TExtStringGrid::HasComboBox(ACol, ARow);
    const TEditorType e = FColumnCollection->Items(ACol)->FEditorType;
    bool has = NotFixed(ACol, ARow) && (e == edComboEdit || e == edComboList);
    if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, has);
    return has;
}

bool TExtColumnGrid::IsVirtualCheckBox(int ACol, int ARow) {
    return !Destroying() && ACol >= 0 && ARow >= 0 && InItems(ACol) && Inside(ACol, ARow) &&
           FColumnCollection->Items(ACol)->Editor() == edDataCheckBox &&
           !dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic* TExtColumnGrid::GetCellGraphic(int ACol, int ARow) {
    TCellGraphic* g = TExtStringGrid::GetCellGraphic(ACol, ARow);
    if (g || !IsVirtualCheckBox(ACol, ARow)) return g;
    FVirtCheckBox->CellType = ctVirtCheckBox;
    FVirtCheckBox->CellTransparent = ControlLook()->ControlStyle == csFlat;
    return FVirtCheckBox.get();
}

TCellType TExtColumnGrid::GetCellType(int ACol, int ARow) {
    const TCellType t = TExtStringGrid::GetCellType(ACol, ARow);
    return t == ctEmpty && IsVirtualCheckBox(ACol, ARow) ? ctDataCheckBox : t;
}

String TExtColumnGrid::GetCheckTrue(int ACol, int ARow) {
    String v = TExtStringGrid::GetCheckTrue(ACol, ARow);
    if (InItems(ACol) && Inside(ACol, ARow)) v = FColumnCollection->Items(ACol)->CheckTrue;
    return v;
}

String TExtColumnGrid::GetCheckFalse(int ACol, int ARow) {
    String v = TExtStringGrid::GetCheckFalse(ACol, ARow);
    if (InItems(ACol) && Inside(ACol, ARow)) v = FColumnCollection->Items(ACol)->CheckFalse;
    return v;
}

bool TExtColumnGrid::GetColumnFilter(int ACol) {
    FilterList()->SetSorted(false);
    TExtStringGrid::GetColumnFilter(ACol);
    if (!InItems(ACol)) return false;
    plat::TStringList* filter = FColumnCollection->Items(ACol)->Filter();
    if (filter->Count() == 0) return false;
    FilterList()->Clear();
    for (int i = 0; i < filter->Count(); ++i) {
        const String e = filter->Strings(i);
        const size_t eq = e.find(u'=');
        FilterList()->Add(eq == String::npos ? e : e.substr(0, eq));
    }
    return true;
}

String TExtColumnGrid::GetEditMask(int ACol, int ARow) {
    String mask;
    if (InItems(ACol) && ACol >= FixedCols() && InItems(RealColIndex(ACol)))
        mask = FColumnCollection->Items(RealColIndex(ACol))->EditMask;
    const String own = TExtStringGrid::GetEditMask(ACol, ARow);
    return own.empty() ? mask : own;
}

int TExtColumnGrid::GetEditLimit() {
    if (InItems(Col()) && Col() >= FixedCols() && InItems(RealColIndex(Col())))
        return FColumnCollection->Items(RealColIndex(Col()))->EditLength;
    return TExtStringGrid::GetEditLimit();
}

void TExtColumnGrid::FilterSelect(int ItemIndex) {
    const int col = FilterColumn();
    SetFilterColumn(-1);
    if (!InItems(col)) return;
    TGridColumnItem* item = FColumnCollection->Items(col);
    plat::TStringList* entries = item->Filter();
    if (ItemIndex < 0 || ItemIndex >= entries->Count()) return;
    const String e = entries->Strings(ItemIndex);
    const size_t eq = e.find(u'=');
    const String shown = eq == String::npos ? e : e.substr(0, eq);
    if (AutoFilterDisplay) item->SetHeader(shown);
    if (AutoFilterUpdate) SetFilterActive(false);
    String condition = eq == String::npos ? e : e.substr(eq + 1);
    if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, shown, condition);
    if (condition == FilterDropDownClear) condition.clear();
    if (condition.empty()) {
        Filter()->RemoveColumnFilter(col);
    } else {
        TFilterData* f = Filter()->GetColFilter(col);
        f->Condition = condition;
        f->CaseSensitive = item->FilterCaseSensitive;
    }
    if (AutoFilterUpdate) {
        SetFilterActive(true);
        if (RowCount() > FixedRows() && !(FixedRowAlways && RowCount() == 1)) SetRowEx(FixedRows());
        if (OnFilterDone) OnFilterDone(this);
    }
}

void TExtColumnGrid::Group(int ColIndex) {
    if (ColIndex < FixedCols() || !InItems(ColIndex)) return;
    if (GroupColumn() >= 0) UnGroup();
    FSaveCol->Assign(FColumnCollection->Items(ColIndex));
    TExtStringGrid::Group(ColIndex);
}

void TExtColumnGrid::UnGroup() {
    const int g = GroupColumn();
    TExtStringGrid::UnGroup();
    if (g >= 0 && InItems(g)) FColumnCollection->Items(g)->Assign(FSaveCol.get());
}

} // namespace grid
