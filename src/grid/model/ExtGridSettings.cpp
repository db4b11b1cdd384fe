#include "ExtGridSettings.h"

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
    if (auto s = Same<TNavigation>(Source)) {
        AlwaysEdit = s->AlwaysEdit;
        AllowClipboardAlways = s->AllowClipboardAlways;
        AllowFmtClipboard = s->AllowFmtClipboard;
    }
}

void TMouseActions::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TMouseActions>(Source)) {
        DisjunctRowSelect = s->DisjunctRowSelect;
        RangeSelectAndEdit = s->RangeSelectAndEdit;
        CheckAllCheck = s->CheckAllCheck;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
    FHotmailRowSelect = Value;
    if (Value) {
        DisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    Fire(OnInvalidate, this);
}

TSearchFooter::TSearchFooter(bool DesignInit) {
    if (!DesignInit) return;
    FindPrevCaption = u"Find &previous";
    FindNextCaption = u"Find &next";
    MatchCaseCaption = u"Match case";
    HighLightCaption = u"Highlight";
    HintClose = u"Close";
    HintFindNext = u"Find next occurrence";
    HintFindPrev = u"Find previous occurrence";
    HintHighlight = u"Highlight occurrences";
}

void TSearchFooter::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TSearchFooter>(Source)) {
        FindNextCaption = s->FindNextCaption;
        FindPrevCaption = s->FindPrevCaption;
        MatchCaseCaption = s->MatchCaseCaption;
        HighLightCaption = s->HighLightCaption;
        HintClose = s->HintClose;
        HintFindNext = s->HintFindNext;
        HintFindPrev = s->HintFindPrev;
        HintHighlight = s->HintHighlight;
        FVisible = s->FVisible;
    }
}

void TSearchFooter::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    Fire(OnChange, this);
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
    if (auto s = Same<TPrintSettings>(Source)) {
        Font.Assign(s->Font);
        FixedFont.Assign(s->FixedFont);
    }
}

void THTMLSettings::Assign(const plat::TPersistent*) {}

void TControlLook::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TControlLook>(Source)) {
        ControlStyle = s->ControlStyle;
        DropDownAlwaysVisible = s->DropDownAlwaysVisible;
        SpinButtonsAlwaysVisible = s->SpinButtonsAlwaysVisible;
        DropDownCount = s->DropDownCount;
    }
}

void TGrouping::Assign(const plat::TPersistent* Source) {
    // Line widths and colours stay with the target.
    if (auto s = Same<TGrouping>(Source)) {
        HeaderUnderline = s->HeaderUnderline;
        SummaryLine = s->SummaryLine;
    }
}

void TColumnSize::Assign(const plat::TPersistent* Source) {
    if (auto s = Same<TColumnSize>(Source)) {
        Save = s->Save;
        Key = s->Key;
        Section = s->Section;
        Stretch = s->Stretch;
        StretchColumn = s->StretchColumn;
        SynchWithGrid = s->SynchWithGrid;
        SynchNormalCellsOnly = s->SynchNormalCellsOnly;
        Location = s->Location;
        Rows = s->Rows;
    }
}

} // namespace grid
