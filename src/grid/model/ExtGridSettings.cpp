#include "ExtGridSettings.h"

#include "ExtGrid.h"

namespace grid {

namespace {
template <class T>
const T* Same(const plat::TPersistent* Source) {
    return dynamic_cast<const T*>(Source);
}
void Fire(const plat::TNotifyEvent& e, plat::TObject* Sender) {
    if (e) e(Sender);
}
} // namespace

void TNavigation::Assign(const plat::TPersistent* Source) {
    auto s = Same<TNavigation>(Source);
    if (!s) return;
    const bool keepScroll = KeepScrollOnSort;
    const plat::TNotifyEvent onChange = OnChange;
    static_cast<TNavigationData&>(*this) = *s;
    FAdvanceDirection = s->FAdvanceDirection;
    FAdvanceInsert = s->FAdvanceInsert;
    FAdvanceAuto = s->FAdvanceAuto;
    KeepScrollOnSort = keepScroll;
    OnChange = onChange;
}

void TNavigation::SetAdvanceAuto(bool Value) {
    if (FAdvanceAuto == Value) return;
    FAdvanceAuto = Value;
    if (Value) AdvanceOnEnter = true;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
    if (FAdvanceDirection == Value) return;
    FAdvanceDirection = Value;
    Fire(OnChange, this);
}

void TNavigation::SetAdvanceInsert(bool Value) {
    if (FAdvanceInsert == Value) return;
    FAdvanceInsert = Value;
    Fire(OnChange, this);
}

void TMouseActions::Assign(const plat::TPersistent* Source) {
    auto s = Same<TMouseActions>(Source);
    if (!s) return;
    ColSelect = s->ColSelect;
    RowSelect = s->RowSelect;
    AllSelect = s->AllSelect;
    DirectEdit = s->DirectEdit;
    DirectComboDrop = s->DirectComboDrop;
    DirectComboClose = s->DirectComboClose;
    DirectDateClose = s->DirectDateClose;
    DirectDateDrop = s->DirectDateDrop;
    FDisjunctRowSelect = s->FDisjunctRowSelect;
    FDisjunctColSelect = s->FDisjunctColSelect;
    AllColumnSize = s->AllColumnSize;
    AllRowSize = s->AllRowSize;
    CaretPositioning = s->CaretPositioning;
    SizeFixedCol = s->SizeFixedCol;
    FDisjunctCellSelect = s->FDisjunctCellSelect;
    FixedRowsEdit = s->FixedRowsEdit;
    FixedColsEdit = s->FixedColsEdit;
    FixedRowsEditor = s->FixedRowsEditor;
    FixedColsEditor = s->FixedColsEditor;
    RangeSelectAndEdit = s->RangeSelectAndEdit;
    NoAutoRangeScroll = s->NoAutoRangeScroll;
    PreciseCheckBoxCheck = s->PreciseCheckBoxCheck;
    PreciseNodeClick = s->PreciseNodeClick;
    CheckAllCheck = s->CheckAllCheck;
    NodeAllExpandContract = s->NodeAllExpandContract;
    MoveRowOnNodeClick = s->MoveRowOnNodeClick;
    RowSelectPersistent = s->RowSelectPersistent;
    SelectOnRightClick = s->SelectOnRightClick;
    NoScrollOnPartialRow = s->NoScrollOnPartialRow;
    WheelIncrement = s->WheelIncrement;
    FWheelAction = s->FWheelAction;
    AutoSizeColOnDblClick = s->AutoSizeColOnDblClick;
    DisjunctRowSelectNoCtrl = s->DisjunctRowSelectNoCtrl;
}

bool TMouseActions::Designing() const {
    bool d = false;
    if (OnIsDesigning) OnIsDesigning(const_cast<TMouseActions*>(this), d);
    return d;
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    Fire(OnInvalidate, this);
}

void TMouseActions::SetDisjunctRowSelect(bool Value) {
    FDisjunctRowSelect = Value;
    if (Value && Designing()) FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool Value) {
    FDisjunctColSelect = Value;
    if (Value && Designing()) FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool Value) {
    FDisjunctCellSelect = Value;
    if (Value && Designing()) FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
    FEditOnDblClickOnly = Value;
    if (Value) Fire(OnDisableEdit, this);
}

void TMouseActions::SetWheelAction(TWheelAction Value) {
    if (FWheelAction == Value) return;
    FWheelAction = Value;
    Fire(OnChange, this);
}

TSearchFooter::TSearchFooter(bool DesignInit) {
    if (!DesignInit) return;
    FTexts[tFindPrev] = u"Find &previous";
    FTexts[tFindNext] = u"Find &next";
    FTexts[tMatchCase] = u"Match case";
    FTexts[tHighLight] = u"Highlight";
    FTexts[tHintClose] = u"Close";
    FTexts[tHintFindNext] = u"Find next occurrence";
    FTexts[tHintFindPrev] = u"Find previous occurrence";
    FTexts[tHintHighlight] = u"Highlight occurrences";
}

void TSearchFooter::Assign(const plat::TPersistent* Source) {
    auto s = Same<TSearchFooter>(Source);
    if (!s) return;
    AlwaysHighLight = s->AlwaysHighLight;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    for (int i = 0; i < tTextCount; ++i) FTexts[i] = s->FTexts[i];
    FShowClose = s->FShowClose;
    FShowFindNext = s->FShowFindNext;
    FShowFindPrev = s->FShowFindPrev;
    FShowHighLight = s->FShowHighLight;
    FShowMatchCase = s->FShowMatchCase;
    SearchActiveColumnOnly = s->SearchActiveColumnOnly;
    SearchMatchStart = s->SearchMatchStart;
    SearchColumn = s->SearchColumn;
    SearchDirection = s->SearchDirection;
    SearchHiddenRows = s->SearchHiddenRows;
    FVisible = s->FVisible;
    FFont.Assign(s->FFont);
}

void TSearchFooter::Changed() { Fire(OnChange, this); }

namespace {
void SetIfChanged(bool& field, bool value, const std::function<void()>& changed) {
    if (field == value) return;
    field = value;
    changed();
}
} // namespace

void TSearchFooter::SetVisible(bool Value) { SetIfChanged(FVisible, Value, [this] { Changed(); }); }
void TSearchFooter::SetShowFindPrev(bool Value) { SetIfChanged(FShowFindPrev, Value, [this] { Changed(); }); }
void TSearchFooter::SetShowFindNext(bool Value) { SetIfChanged(FShowFindNext, Value, [this] { Changed(); }); }
void TSearchFooter::SetShowHighLight(bool Value) { SetIfChanged(FShowHighLight, Value, [this] { Changed(); }); }
void TSearchFooter::SetShowMatchCase(bool Value) { SetIfChanged(FShowMatchCase, Value, [this] { Changed(); }); }

void TSearchFooter::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TSearchFooter::SetColorTo(TColor Value) {
    FColorTo = Value;
    Changed();
}

void TSearchFooter::SetAutoThemeAdapt(bool Value) {
    FAutoThemeAdapt = Value;
    Changed();
}

void TSearchFooter::SetShowClose(bool Value) {
    FShowClose = Value;
    Changed();
}

void TSearchFooter::SetText(TText Which, const String& Value) {
    FTexts[Which] = Value;
    Changed();
}

void TSearchFooter::SetFont(const plat::TFont& Value) {
    FFont.Assign(Value);
    Changed();
}

void TBands::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TBands>(Source)) {
        FActive = s->FActive;
        FPrimaryColor = s->FPrimaryColor;
        FPrimaryLength = s->FPrimaryLength;
        FSecondaryColor = s->FSecondaryColor;
        FSecondaryLength = s->FSecondaryLength;
        Print = s->Print;
    }
}

void TBands::ChangedWhileActive() {
    if (FActive) Fire(OnChange, this);
}

void TBands::SetActive(bool Value) {
    if (FActive == Value) return;
    FActive = Value;
    Fire(OnChange, this);
}

void TBands::SetPrimaryColor(TColor Value) {
    if (FPrimaryColor == Value) return;
    FPrimaryColor = Value;
    ChangedWhileActive();
}

void TBands::SetSecondaryColor(TColor Value) {
    if (FSecondaryColor == Value) return;
    FSecondaryColor = Value;
    ChangedWhileActive();
}

void TBands::SetPrimaryLength(int Value) {
    if (FPrimaryLength == Value) return;
    FPrimaryLength = Value;
    ChangedWhileActive();
}

void TBands::SetSecondaryLength(int Value) {
    if (FSecondaryLength == Value) return;
    FSecondaryLength = Value;
    ChangedWhileActive();
}

void TSyncGrid::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TSyncGrid>(Source)) {
        SetGrid(s->FGrid);
        ScrollHorizontal = s->ScrollHorizontal;
        ScrollVertical = s->ScrollVertical;
        SelectionRow = s->SelectionRow;
        SelectionColumn = s->SelectionColumn;
        MoveRow = s->MoveRow;
        MoveColumn = s->MoveColumn;
    }
}

void TFocusHelper::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TFocusHelper>(Source)) Enabled = s->Enabled;
}

void TPrintSettings::Assign(const plat::TPersistent* Source) {
    auto s = Same<TPrintSettings>(Source);
    if (!s) return;
    Time = s->Time;
    Date = s->Date;
    PageNr = s->PageNr;
    PageNumSep = s->PageNumSep;
    DateFormat = s->DateFormat;
    Title = s->Title;
    Font.Assign(s->Font);
    HeaderFont.Assign(s->HeaderFont);
    FooterFont.Assign(s->FooterFont);
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    TitleText = s->TitleText;
    TitleLines.Assign(&s->TitleLines);
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    FooterSize = s->FooterSize;
    HeaderSize = s->HeaderSize;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    FixedHeight = s->FixedHeight;
    UseFixedHeight = s->UseFixedHeight;
    FixedWidth = s->FixedWidth;
    UseFixedWidth = s->UseFixedWidth;
    FitToPage = s->FitToPage;
    NoAutoSize = s->NoAutoSize;
    PrintGraphics = s->PrintGraphics;
    JobName = s->JobName;
    NoAutoSizeRow = s->NoAutoSizeRow;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    FixedFont.Assign(s->FixedFont);
    UseDisplayFont = s->UseDisplayFont;
    UseDefaultOrientation = s->UseDefaultOrientation;
    BorderColor = s->BorderColor;
}

void THTMLSettings::Assign(const plat::TPersistent* Source) {
    const auto* s = dynamic_cast<const THTMLSettings*>(Source);
    if (!s) return;
    AutoPreview = s->AutoPreview;
    BorderSize = s->BorderSize;
    CellSpacing = s->CellSpacing;
    CellPadding = s->CellPadding;
    ConvertSpecialChars = s->ConvertSpecialChars;
    FooterFile = s->FooterFile;
    HeaderFile = s->HeaderFile;
    NonBreakingText = s->NonBreakingText;
    PrefixTag = s->PrefixTag;
    SaveColor = s->SaveColor;
    SaveFonts = s->SaveFonts;
    SuffixTag = s->SuffixTag;
    Summary = s->Summary;
    TableStyle = s->TableStyle;
    Width = s->Width;
    XHTML = s->XHTML;
}

TControlLook::TControlLook(TExtStringGrid* AGrid) : FGrid(nullptr) {
    for (TColor& c : FFixed) c = plat::clNone;
    for (auto& g : FGlyphs) g = std::make_unique<plat::TBitmap>();
    FGrid = AGrid;
    Init();
}

void TControlLook::Init() {
    static constexpr TColor kDefaults[kFixedGradientCount] = {
        plat::clNone, plat::clNone, plat::clNone, plat::clNone,                 // from, to, mirrors
        0x808080,     plat::clWhite, plat::clNone, plat::clNone, 0xC0C0C0,      // hover
        0x808080,     0xC0C0C0,      plat::clNone, plat::clNone, 0x808080};     // pressed
    for (int i = 0; i < kFixedGradientCount; ++i) SetFixedGradient(static_cast<TFixedGradient>(i), kDefaults[i]);
}

void TControlLook::SetFixedGradient(TFixedGradient Which, TColor Value) {
    FFixed[Which] = Value;
    if (!FGrid) return;
    TExtStringGrid& g = *FGrid;
    const bool mirror = Which == fgMirrorFrom || Which == fgMirrorTo || Which == fgHoverMirrorFrom ||
                        Which == fgHoverMirrorTo || Which == fgDownMirrorFrom || Which == fgDownMirrorTo;
    if (!mirror && Value == plat::clNone) return;
    switch (Which) {
    case fgFrom: g.SetZODGradientFrom(Value); break;
    case fgTo: g.SetZODGradientTo(Value); break;
    case fgMirrorFrom: g.SetZODGradientMirrorFrom(Value); break;
    case fgMirrorTo: g.SetZODGradientMirrorTo(Value); break;
    case fgHoverFrom: g.ZODGradientHoverFrom = Value; break;
    case fgHoverTo: g.ZODGradientHoverTo = Value; break;
    case fgHoverMirrorFrom: g.ZODGradientHoverMirrorFrom = Value; break;
    case fgHoverMirrorTo: g.ZODGradientHoverMirrorTo = Value; break;
    case fgHoverBorder: g.ZODGradientHoverBorder = Value; break;
    case fgDownFrom: g.ZODGradientDownFrom = Value; break;
    case fgDownTo: g.ZODGradientDownTo = Value; break;
    case fgDownMirrorFrom: g.ZODGradientDownMirrorFrom = Value; break;
    case fgDownMirrorTo: g.ZODGradientDownMirrorTo = Value; break;
    case fgDownBorder: g.ZODGradientDownBorder = Value; break;
    case kFixedGradientCount: break;
    }
}

void TControlLook::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TControlLook>(Source)) {
        static_cast<TControlLookData&>(*this) = *s;
        for (int i = 0; i < kFixedGradientCount; ++i) FFixed[i] = s->FFixed[i];
        for (int i = 0; i < 4; ++i) FGlyphs[i]->Assign(*s->FGlyphs[i]);
    }
}

void TGridProgressAppearance::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TGridProgressAppearance>(Source)) {
        FValues = s->FValues;
        if (OnChange) OnChange(this);
    }
}

void TGridProgressAppearance::Set(const Values& Value) {
    if (FValues == Value) return;
    FValues = Value;
    if (OnChange) OnChange(this);
}

void TShowModified::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TShowModified>(Source)) {
        FColor = s->FColor;
        FEnabled = s->FEnabled;
    }
}

void TShowModified::SetColor(TColor Value) {
    FColor = Value;
    if (OnChange) OnChange(this);
}

void TGrouping::Assign(const plat::TPersistent* Source) {
    // Line widths, line colours and Summary stay with the target.
    if (auto s = Same<TGrouping>(Source)) {
        GroupCountFormat = s->GroupCountFormat;
        HeaderColor = s->HeaderColor;
        HeaderColorTo = s->HeaderColorTo;
        HeaderTextColor = s->HeaderTextColor;
        MergeHeader = s->MergeHeader;
        MergeSummary = s->MergeSummary;
        ShowGroupCount = s->ShowGroupCount;
        SummaryColor = s->SummaryColor;
        SummaryColorTo = s->SummaryColorTo;
        SummaryTextColor = s->SummaryTextColor;
        HeaderUnderline = s->HeaderUnderline;
        SummaryLine = s->SummaryLine;
        AutoCheckGroup = s->AutoCheckGroup;
        AutoSelectGroup = s->AutoSelectGroup;
    }
}

void TColumnSize::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TColumnSize>(Source)) {
        Save = s->Save;
        Key = s->Key;
        Section = s->Section;
        FStretch = s->FStretch;
        StretchColumn = s->StretchColumn;
        SynchWithGrid = s->SynchWithGrid;
        SynchNormalCellsOnly = s->SynchNormalCellsOnly;
        Location = s->Location;
        Rows = s->Rows;
    }
}

} // namespace grid
