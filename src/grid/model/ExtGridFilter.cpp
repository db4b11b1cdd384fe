// Filtering of TExtStringGrid: the condition collection, row tests, filter levels in the
// hidden-row store, incremental narrowing and the filter drop-down's choices.
#include <algorithm>
#include <cmath>
#include <span>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"

namespace grid {

// ---- the condition collection -------------------------------------------------------------------

void TFilterData::Assign(const plat::TPersistent* Source) {
    auto s = dynamic_cast<const TFilterData*>(Source);
    if (!s || s == this) return;
    Column = s->Column;
    Condition = s->Condition;
    CaseSensitive = s->CaseSensitive;
    Data = s->Data;
    Prefix = s->Prefix;
    Suffix = s->Suffix;
    Operation = s->Operation;
}

void TFilter::Assign(const plat::TPersistent* Source) {
    auto s = dynamic_cast<const TFilter*>(Source);
    if (!s || s == this) return;
    FItems.clear();
    for (const auto& item : s->FItems) {
        auto copy = std::make_unique<TFilterData>();
        copy->Assign(item.get());
        copy->Method = item->Method;
        FItems.push_back(std::move(copy));
    }
}

TFilterData* TFilter::Add() {
    FItems.push_back(std::make_unique<TFilterData>());
    FItems.back()->Operation = FItems.size() == 1 ? foNONE : foAND;
    return FItems.back().get();
}

TFilterData* TFilter::Insert(int Index) {
    (void)Index;
    FItems.push_back(std::make_unique<TFilterData>());
    FItems.back()->Operation = foSHORT;
    return FItems.back().get();
}

void TFilter::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
}

TFilterData* TFilter::GetColFilter(int Col) {
    for (const auto& item : FItems)
        if (item->Column == Col) return item.get();
    TFilterData* item = Add();
    item->Column = static_cast<std::int16_t>(Col);
    return item;
}

void TFilter::RemoveColumnFilter(int Col) {
    for (int i = Count() - 1; i >= 0; --i)
        if (FItems[static_cast<std::size_t>(i)]->Column == Col) Delete(i);
    if (FOwner && FOwner->DisplColIndex(Col) < FOwner->ColCount()) FOwner->RepaintCell(FOwner->DisplColIndex(Col), 0);
}

bool TFilter::HasFilter(int Col) const {
    return std::any_of(FItems.begin(), FItems.end(), [Col](const auto& item) { return item->Column == Col; });
}

// ---- row tests ---------------------------------------------------------------------------------

namespace {

bool StartsWith(StringView s, StringView p) { return s.size() >= p.size() && s.substr(0, p.size()) == p; }

// The test of one condition on a prepared text.
bool ConditionMatches(const TFilterData& f, String text) {
    if (f.Data == fcRow) return plat::UpperCase(text).find(plat::UpperCase(f.Condition)) != String::npos;
    if (!f.Prefix.empty() && StartsWith(text, f.Prefix)) text.erase(0, f.Prefix.size());
    if (!f.Suffix.empty()) {
        // Only when its first occurrence ends the text.
        const auto at = text.find(f.Suffix);
        if (at != String::npos && at + f.Suffix.size() == text.size()) text.erase(at);
    }
    if (f.Condition.empty()) return true;
    if (f.Method == fmLiteral) return text == f.Condition;
    return MatchFilterExpression(f.Condition, text, f.CaseSensitive);
}

// A condition made of ASCII letters, digits, "*" and "?" only: a wildcard pattern the
// expression matcher takes as it is, which can be tested on the cell text in place.
bool PlainWildcard(StringView p) {
    if (p.empty()) return false;
    for (char16_t c : p)
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'*' || c == u'?'))
            return false;
    return true;
}

char16_t FoldAZ(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// "*" any run, "?" one character; Fold compares a to z as A to Z.
bool WildMatch(StringView p, StringView t, bool Fold) {
    std::size_t pi = 0, ti = 0, star = StringView::npos, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == u'?' || (Fold ? FoldAZ(p[pi]) == FoldAZ(t[ti]) : p[pi] == t[ti]))) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            mark = ti;
        } else if (star != StringView::npos) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') ++pi;
    return pi == p.size();
}

StringView TrimView(StringView t) {
    while (!t.empty() && t.front() <= u' ') t.remove_prefix(1);
    while (!t.empty() && t.back() <= u' ') t.remove_suffix(1);
    return t;
}

} // namespace

// The test of a plain wildcard condition on the stored text where it lies; false when the
// text needs the general path (escaped wide text, or letters beyond ASCII without case).
bool TExtStringGrid::FastFilterMatch(const TFilterData& f, int ARow, bool& Match) {
    if (f.Method != fmExpression || !PlainWildcard(f.Condition)) return false;
    if (f.Data != fcNormal &&
        !(f.Data == fcVirtual && !OnGetDisplText && !OnGetDisplWideText && MergeCount() == 0))
        return false;
    StringView t = TrimView(Store().CellView(f.Column, ARow));
    if (t.find(u"|\\") != StringView::npos) return false;
    if (!f.Prefix.empty() && StartsWith(t, f.Prefix)) t.remove_prefix(f.Prefix.size());
    if (!f.Suffix.empty()) {
        const auto at = t.find(f.Suffix);
        if (at != StringView::npos && at + f.Suffix.size() == t.size()) t = t.substr(0, at);
    }
    if (!f.CaseSensitive)
        for (char16_t c : t)
            if (c >= 0x80) return false;
    Match = WildMatch(f.Condition, t, !f.CaseSensitive);
    return true;
}

bool TExtStringGrid::GeneralFilterMatch(const TFilterData& f, int ARow) {
    try {
        String text;
        const int col = f.Column;
        switch (f.Data) {
        case fcVirtual: text = GetCellEx(col, ARow); break;
        case fcNormal: text = Store().Cell(col, ARow); break;
        case fcStripHTML: text = MarkupToPlainText(Store().CellView(col, ARow)); break;
        case fcCalculated: text = GetFormattedCell(col, ARow); break;
        case fcRow:
            for (int c = 0; c < AllColCount(); ++c) {
                if (c > 0) text += u"\r\n";
                text += Store().CellView(c, ARow);
            }
            break;
        }
        text = plat::Trim(text);
        if (text.find(u"|\\") != String::npos) text = DecodeEscapedUnicode(text);
        return ConditionMatches(f, std::move(text));
    } catch (const std::exception&) {
        return false;
    }
}

bool TExtStringGrid::RowMatchesFilter(int ARow) {
    bool outcome = true;
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& f = *FFilter->Items(i);
        bool match = false;
        if (!FastFilterMatch(f, ARow, match)) match = GeneralFilterMatch(f, ARow);
        switch (f.Operation) {
        case foSHORT:
            outcome = match;
            if (!match) i = FFilter->Count();
            break;
        case foNONE: outcome = match; break;
        case foAND: outcome = outcome && match; break;
        case foXOR: outcome = outcome != match; break;
        case foOR: outcome = outcome || match; break;
        }
    }
    if (OnCustomFilter) OnCustomFilter(this, ARow, outcome);
    return outcome;
}

void TExtStringGrid::FilterRow(int ARow) {
    if (ARow >= 0 && ARow < RowCount() && !RowMatchesFilter(ARow)) HideRow(RealRowIndex(ARow));
}

void TExtStringGrid::ApplyFilter() {
    FFilterFixedRows = FixedRows();
    const int first = FixedRows(), last = RowCount() - FixedFooters - 1;
    const int normal = RowCount() - FixedFooters - FixedRows();
    std::vector<int> hide;
    hide.reserve(static_cast<std::size_t>(std::max(last - first + 1, 0)));
    int tested = 0;
    const bool skipNodes = FilterNormalCellsOnly && HasNodes();
    for (int r = first; r <= last; ++r) {
        if (skipNodes && (IsNode(r) || IsSummary(r))) continue;
        if (!RowMatchesFilter(r)) hide.push_back(r);
        ++tested;
        if (OnFilterProgress && normal > 0)
            OnFilterProgress(this, static_cast<short>(std::lround(tested * 100.0 / normal)));
    }
    HideRowList(hide);
    if (OnFilterProgress && normal > 0) OnFilterProgress(this, static_cast<short>(std::lround(tested * 100.0 / normal)));
}

// ---- filter levels in the hidden-row store ------------------------------------------------------

void TExtStringGrid::HideRowList(const std::vector<int>& RowList) {
    // Every listed row must be a display row, ascending and distinct; others are ignored.
    // A list that is already so is used as it is.
    const int count = RowCount();
    bool valid = true;
    for (std::size_t i = 0; i < RowList.size() && valid; ++i)
        valid = RowList[i] >= 0 && RowList[i] < count && (i == 0 || RowList[i] > RowList[i - 1]);
    std::vector<int> kept;
    if (!valid)
        for (int r : RowList)
            if (r >= 0 && r < count && (kept.empty() || r > kept.back())) kept.push_back(r);
    std::span<const int> rows = valid ? std::span<const int>(RowList) : std::span<const int>(kept);
    ++FFilterLevel;
    const int oldCount = RowCount();
    // The framework keeps one row: the last one stays shown when every row would go.
    if (static_cast<int>(rows.size()) >= oldCount) rows = rows.first(rows.size() - 1);
    if (rows.empty()) return;
    BeginUpdate();
    std::vector<TGridItem> items;
    items.reserve(rows.size());
    // Real indexes by one walk along the store (the rows ascend): display row d is real row
    // d + j, j the first item with Idx - j > d, the rule of THiddenRows::RealRow.
    const std::vector<TGridItem>& store = FGridItems.Items();
    std::size_t j = 0;
    for (int d : rows) {
        while (j < store.size() && store[j].Idx - static_cast<int>(j) <= d) ++j;
        TGridItem item;
        item.Idx = d + static_cast<int>(j);
        item.Height = RowHeights(d);
        item.Level = FFilterLevel;
        TakeRowCells(d, item);
        items.push_back(std::move(item));
    }
    // Close up: every row that stays moves up to the next free position with its height.
    int w = rows.front();
    std::size_t li = 0;
    for (int r = rows.front(); r < oldCount; ++r) {
        if (li < rows.size() && rows[li] == r) {
            ++li;
            continue;
        }
        if (w != r) {
            Store().SwapRows(w, r);
            const int h = RowHeights(r);
            if (RowHeights(w) != h) SetRowHeights(w, h);
        }
        ++w;
    }
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) {
        li = 0;
        int lw = rows.front();
        for (int r = rows.front(); r < l->Count(); ++r) {
            if (li < rows.size() && rows[li] == r) {
                ++li;
                continue;
            }
            l->SetInteger(lw++, l->GetInteger(r));
        }
        while (l->Count() > lw) l->Delete(l->Count() - 1);
    }
    Store().RemoveRows(w, oldCount - w);
    TCustomGrid::SetRowCount(std::max(w, 1));
    FGridItems.InsertSorted(std::move(items));
    if (Row() >= RowCount()) SetRowEx(std::max(RowCount() - 1, 0));
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, rows.front(), ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::UnHideRowList() {
    if (FFilterLevel <= 0) return;
    std::vector<TGridItem> mine = FGridItems.TakeLevel(FFilterLevel);
    if (mine.empty()) return;
    BeginUpdate();
    if (Row() >= RowCount() + static_cast<int>(mine.size()) || Row() < 0) MoveColRow(FixedCols(), FixedRows(), true, false);
    const int first = DisplRowIndex(mine.front().Idx);
    RestoreHiddenRows(mine);
    EndUpdate();
    Invalidate();
    CellsChanged(plat::TRect{0, first, ColCount() - 1, RowCount() - 1});
}

void TExtStringGrid::SetFilterActive(bool Value) {
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount()) MoveColRow(FixedCols(), FixedRows(), true, false);
            BeginUpdate();
            ApplyFilter();
            EndUpdate();
            FSelHidden = false;
        } else {
            UnHideRowList();
            if (FixedRows() != FFilterFixedRows && FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
            if (FSelHidden) UnHideSelection();
        }
        if (FixedRows() < RowCount()) SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TExtStringGrid::RemoveLastFilter() {
    if (FFilterLevel <= 0) return false;
    UnHideRowList();
    if (FixedRows() != FFilterFixedRows && FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
    if (FSelHidden) UnHideSelection();
    CalcFooter(-1);
    --FFilterLevel;
    return FFilterLevel > 0;
}

void TExtStringGrid::RemoveAllFilters() {
    if (FFilterLevel > 0) {
        while (FFilterLevel > 0) RemoveLastFilter();
    } else {
        FFilter->Clear();
    }
}

void TExtStringGrid::NarrowDown(const String& ACondition, int AColumn) {
    FixedRowAlways = true;
    const auto build = [&] {
        FFilter->Clear();
        TFilterData* f = FFilter->Add();
        if (AColumn == -1) {
            f->Data = fcRow;
            f->Condition = ACondition;
        } else {
            f->Data = fcNormal;
            const String c = u"*" + ACondition + u"*";
            f->Condition = c.find(u' ') != String::npos ? u"\"" + c + u"\"" : c;
        }
        f->CaseSensitive = false;
        f->Column = static_cast<std::int16_t>(AColumn);
    };
    const String& last = FLastFilter;
    if (!last.empty() && ACondition.size() == last.size() + 1 && StartsWith(ACondition, last)) {
        build();
        ApplyFilter();
    } else if (!ACondition.empty() && last.size() == ACondition.size() + 1 && StartsWith(last, ACondition)) {
        RemoveLastFilter();
    } else {
        RemoveAllFilters();
        if (!ACondition.empty()) {
            build();
            ApplyFilter();
        }
    }
    FLastFilter = ACondition;
}

// ---- the filter drop-down's choices --------------------------------------------------------------

void TExtStringGrid::SplitFilterEntry(const String& Entry, String& Shown, String& Condition) {
    const auto eq = Entry.find(u'=');
    Shown = eq == String::npos ? Entry : Entry.substr(0, eq);
    Condition = eq == String::npos ? Entry : Entry.substr(eq + 1);
}

void TExtStringGrid::FilterSelect(int ItemIndex) {
    // A grid off screen cannot take the focus; the choice applies all the same.
    if (Showing() && CanFocus()) SetFocus();
    const int col = FFilterCol;
    FFilterCol = -1;
    if (col < 0 || col >= AllColCount()) return;
    GetColumnFilter(col);
    if (ItemIndex < 0 || ItemIndex >= FilterList()->Count()) return;
    String shown, condition;
    SplitFilterEntry(FilterList()->Strings(ItemIndex), shown, condition);
    if (AutoFilterUpdate) SetFilterActive(false);
    if (condition == FilterDropDownClear) condition.clear();
    if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, shown, condition);
    if (!condition.empty())
        FFilter->GetColFilter(col)->Condition = condition;
    else
        FFilter->RemoveColumnFilter(col);
    if (AutoFilterUpdate) {
        FixedRowAlways = true;
        SetFilterActive(true);
        if (RowCount() > FixedRows() && !(FixedRowAlways && RowCount() == 1)) SetRowEx(FixedRows());
        if (OnFilterDone) OnFilterDone(this);
    }
}

void TExtStringGrid::FilterCheck(const std::vector<int>& Checked) {
    const int col = FFilterCol;
    if (col < 0 || col >= AllColCount()) return;
    GetColumnFilter(col);
    if (AutoFilterUpdate) SetFilterActive(false);
    FFilter->Clear();
    for (int index : Checked) {
        if (index < 0 || index >= FilterList()->Count()) continue;
        String shown, condition;
        SplitFilterEntry(FilterList()->Strings(index), shown, condition);
        if (condition == FilterDropDownClear) condition.clear();
        if (OnFilterCheck) OnFilterCheck(this, col, index, shown, condition);
        TFilterData* f = FFilter->Add();
        f->Condition = condition;
        f->Column = static_cast<std::int16_t>(col);
        f->Operation = FFilter->Count() == 1 ? foNONE : foOR;
    }
    SetFilterActive(true);
}

void TExtStringGrid::SetFilterDropDownRow(int Value) {
    if (Value < 0 || Value >= FixedRows()) return;
    FFilterRow = Value;
    Invalidate();
}

} // namespace grid
