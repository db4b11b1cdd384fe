#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ExtGridSettings.h"

using namespace grid;

namespace {

struct Counter {
    int n = 0;
    plat::TNotifyEvent Event() {
        return [this](plat::TObject*) { ++n; };
    }
};

TEST(NavigationTest, DefaultsThatAreNotFalse) {
    TNavigation n;
    struct Case {
        const char* what;
        bool actual;
    };
    const Case trueOnes[] = {
        {"AllowClipboardColGrow", n.AllowClipboardColGrow}, {"AllowClipboardRowGrow", n.AllowClipboardRowGrow},
        {"CopyHTMLTagsToClipboard", n.CopyHTMLTagsToClipboard}, {"AdvanceAutoEdit", n.AdvanceAutoEdit},
        {"CursorWalkAlwaysEdit", n.CursorWalkAlwaysEdit}, {"EditSelectAll", n.EditSelectAll},
        {"SkipFixedCells", n.SkipFixedCells}, {"SkipDisabledRows", n.SkipDisabledRows},
        {"AllowCtrlEnter", n.AllowCtrlEnter}, {"LeftRightRowSelect", n.LeftRightRowSelect},
        {"ComboGetUpDown", n.ComboGetUpDown}, {"AdvanceOnEnterLoop", n.AdvanceOnEnterLoop},
        {"AdvanceSkipReadOnlyCells", n.AdvanceSkipReadOnlyCells},
    };
    for (const Case& c : trueOnes) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.actual);
    }
    EXPECT_FALSE(n.AdvanceOnEnter);
    EXPECT_FALSE(n.AdvanceAuto());
    EXPECT_EQ(n.ClipboardPasteAction, paReplace);
    EXPECT_EQ(n.HomeEndKey, heFirstLastColumn);
    EXPECT_EQ(n.InsertPosition, pInsertBefore);
    EXPECT_EQ(n.CursorAdvance, caDefault);
}

TEST(NavigationTest, SetterSideEffects) {
    TNavigation n;
    Counter c;
    n.OnChange = c.Event();
    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter);
    EXPECT_EQ(c.n, 0);
    n.AdvanceOnEnter = false;
    n.SetAdvanceAuto(true);  // unchanged: AdvanceOnEnter stays off
    EXPECT_FALSE(n.AdvanceOnEnter);
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceInsert(true);
    n.SetAdvanceInsert(true);
    EXPECT_EQ(c.n, 2);
}

TEST(NavigationTest, AssignCopiesAllButKeepScrollOnSortAndTheEvent) {
    TNavigation a, b;
    Counter ca, cb;
    a.OnChange = ca.Event();
    b.OnChange = cb.Event();
    a.KeepScrollOnSort = true;
    a.AllowInsertRow = true;
    a.EditSelectAll = false;
    a.CursorMoveRows = true;
    a.TabAdvanceDirection = adTopBottomInCol;
    a.SetAdvanceDirection(adLeftRightInRow);
    a.SetAdvanceInsert(true);
    a.SetAdvanceAuto(true);
    b.Assign(&a);
    EXPECT_FALSE(b.KeepScrollOnSort);
    EXPECT_TRUE(b.AllowInsertRow);
    EXPECT_FALSE(b.EditSelectAll);
    EXPECT_TRUE(b.CursorMoveRows);
    EXPECT_EQ(b.TabAdvanceDirection, adTopBottomInCol);
    EXPECT_EQ(b.AdvanceDirection(), adLeftRightInRow);
    EXPECT_TRUE(b.AdvanceInsert());
    EXPECT_TRUE(b.AdvanceAuto());
    EXPECT_EQ(cb.n, 0);
    b.SetAdvanceDirection(adLeftRight);  // b keeps its own event
    EXPECT_EQ(cb.n, 1);
    EXPECT_EQ(ca.n, 2);
}

TEST(MouseActionsTest, DefaultsThatAreNotFalse) {
    TMouseActions m;
    EXPECT_TRUE(m.PreciseNodeClick);
    EXPECT_TRUE(m.AutoSizeColOnDblClick);
    EXPECT_EQ(m.WheelAction(), waMoveSelection);
    EXPECT_EQ(m.WheelIncrement, 0);
    EXPECT_EQ(m.FixedRowsEdit, fceNone);
    EXPECT_EQ(m.FixedColsEditor, fceEdit);
    EXPECT_EQ(m.FixedComboValues()->Count(), 0);
    EXPECT_FALSE(m.HotmailRowSelect());
    EXPECT_FALSE(m.DisjunctRowSelect());
}

TEST(MouseActionsTest, DisjunctSelectionsExcludeEachOtherOnlyInDesignState) {
    struct Case {
        bool designing;
        bool rowAfter, colAfter, cellAfter;
    };
    for (const Case& c : {Case{false, true, true, false}, Case{true, false, true, false}}) {
        SCOPED_TRACE(c.designing ? "designing" : "run time");
        TMouseActions m;
        m.OnIsDesigning = [&](plat::TObject*, bool& d) { d = c.designing; };
        m.SetDisjunctRowSelect(true);
        m.SetDisjunctColSelect(true);
        EXPECT_EQ(m.DisjunctRowSelect(), c.rowAfter);
        EXPECT_EQ(m.DisjunctColSelect(), c.colAfter);
        EXPECT_EQ(m.DisjunctCellSelect(), c.cellAfter);
    }
}

TEST(MouseActionsTest, HotmailEditOnDblClickAndWheelSetters) {
    TMouseActions m;
    Counter inval, disable, change;
    m.OnInvalidate = inval.Event();
    m.OnDisableEdit = disable.Event();
    m.OnChange = change.Event();
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck);
    m.SetHotmailRowSelect(false);  // leaves both as they were, still repaints
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck);
    EXPECT_EQ(inval.n, 2);
    m.SetEditOnDblClickOnly(false);
    m.SetEditOnDblClickOnly(true);
    EXPECT_EQ(disable.n, 1);
    m.SetWheelAction(waMoveSelection);
    m.SetWheelAction(waScroll);
    EXPECT_EQ(change.n, 1);
    m.SetDisjunctRowSelectDirect(false);
    EXPECT_FALSE(m.DisjunctRowSelect());
}

TEST(MouseActionsTest, AssignLeavesOutTheExcludedSettings) {
    TMouseActions a, b;
    a.SizeFixedRow = true;
    a.SetHotmailRowSelect(true);
    a.SetEditOnDblClickOnly(true);
    a.FixedComboValues()->Add(u"x");
    a.SizeFixedCol = true;
    a.SetWheelAction(waScroll);
    a.WheelIncrement = 3;
    a.FixedColsEditor = fceComboList;
    b.Assign(&a);
    EXPECT_FALSE(b.SizeFixedRow);
    EXPECT_FALSE(b.HotmailRowSelect());
    EXPECT_FALSE(b.EditOnDblClickOnly());
    EXPECT_EQ(b.FixedComboValues()->Count(), 0);
    EXPECT_TRUE(b.SizeFixedCol);
    EXPECT_TRUE(b.DisjunctRowSelect());  // turned on by a's HotmailRowSelect and copied
    EXPECT_TRUE(b.CheckAllCheck);
    EXPECT_EQ(b.WheelAction(), waScroll);
    EXPECT_EQ(b.WheelIncrement, 3);
    EXPECT_EQ(b.FixedColsEditor, fceComboList);
}

TEST(SearchFooterTest, DefaultsAndCaptions) {
    TSearchFooter run(false), design(true);
    EXPECT_TRUE(run.ShowFindPrev() && run.ShowFindNext() && run.ShowClose() && run.ShowHighLight() &&
                run.ShowMatchCase());
    EXPECT_EQ(run.ColorTo(), plat::clBtnFace);
    EXPECT_EQ(run.Color(), plat::clWhite);
    EXPECT_EQ(run.SearchColumn, -1);
    EXPECT_TRUE(run.AutoSearch);
    EXPECT_EQ(run.SearchDirection, sdTopBottom);
    EXPECT_EQ(run.FindNextCaption(), u"");
    EXPECT_EQ(design.FindPrevCaption(), u"Find &previous");
    EXPECT_EQ(design.FindNextCaption(), u"Find &next");
    EXPECT_EQ(design.MatchCaseCaption(), u"Match case");
    EXPECT_EQ(design.HighLightCaption(), u"Highlight");
    EXPECT_EQ(design.HintClose(), u"Close");
    EXPECT_EQ(design.HintFindNext(), u"Find next occurrence");
    EXPECT_EQ(design.HintFindPrev(), u"Find previous occurrence");
    EXPECT_EQ(design.HintHighlight(), u"Highlight occurrences");
}

TEST(SearchFooterTest, WhichSettersFireOnEveryWrite) {
    struct Case {
        const char* what;
        std::function<void(TSearchFooter&)> write;
        int eventsForTwoEqualWrites;
    };
    const Case cases[] = {
        {"Visible", [](TSearchFooter& f) { f.SetVisible(true); }, 1},
        {"ShowFindPrev", [](TSearchFooter& f) { f.SetShowFindPrev(false); }, 1},
        {"ShowFindNext", [](TSearchFooter& f) { f.SetShowFindNext(false); }, 1},
        {"ShowHighLight", [](TSearchFooter& f) { f.SetShowHighLight(false); }, 1},
        {"ShowMatchCase", [](TSearchFooter& f) { f.SetShowMatchCase(false); }, 1},
        {"Color", [](TSearchFooter& f) { f.SetColor(1); }, 2},
        {"ColorTo", [](TSearchFooter& f) { f.SetColorTo(1); }, 2},
        {"AutoThemeAdapt", [](TSearchFooter& f) { f.SetAutoThemeAdapt(false); }, 2},
        {"ShowClose", [](TSearchFooter& f) { f.SetShowClose(true); }, 2},
        {"HintClose", [](TSearchFooter& f) { f.SetText(TSearchFooter::tHintClose, u"x"); }, 2},
        {"Font", [](TSearchFooter& f) { f.SetFont(plat::TFont()); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSearchFooter f(false);
        Counter n;
        f.OnChange = n.Event();
        c.write(f);
        c.write(f);
        EXPECT_EQ(n.n, c.eventsForTwoEqualWrites);
    }
}

TEST(SearchFooterTest, AssignLeavesOutSearchStateAndAutoSettings) {
    TSearchFooter a(true), b(false);
    a.SetVisible(true);
    a.SetShowClose(false);
    a.SetColor(0x123456);
    a.SearchColumn = 4;
    a.SearchHiddenRows = true;
    a.AutoSearch = false;
    a.SetAutoThemeAdapt(true);
    a.SearchFixedCells = true;
    a.LastSearch = u"abc";
    a.Font()->SetName(u"Tahoma");
    Counter n;
    b.OnChange = n.Event();
    b.Assign(&a);
    EXPECT_TRUE(b.Visible());
    EXPECT_FALSE(b.ShowClose());
    EXPECT_EQ(b.Color(), 0x123456u);
    EXPECT_EQ(b.SearchColumn, 4);
    EXPECT_TRUE(b.SearchHiddenRows);
    EXPECT_EQ(b.HintFindNext(), u"Find next occurrence");
    EXPECT_EQ(b.Font()->Name(), u"Tahoma");
    EXPECT_TRUE(b.AutoSearch);
    EXPECT_FALSE(b.AutoThemeAdapt());
    EXPECT_FALSE(b.SearchFixedCells);
    EXPECT_EQ(b.LastSearch, u"");
    EXPECT_EQ(n.n, 0);
}

TEST(BandsTest, TotalLengthAndEventsOnlyWhileActive) {
    TBands b;
    Counter n;
    b.OnChange = n.Event();
    EXPECT_EQ(b.TotalLength(), 2);
    EXPECT_EQ(b.PrimaryColor(), plat::clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), plat::clWindow);
    b.SetPrimaryLength(3);
    b.SetSecondaryColor(5);
    EXPECT_EQ(b.TotalLength(), 4);
    EXPECT_EQ(n.n, 0);
    b.SetActive(true);
    b.SetActive(true);
    b.SetSecondaryLength(2);
    b.SetSecondaryLength(2);
    b.SetPrimaryColor(7);
    EXPECT_EQ(b.TotalLength(), 5);
    EXPECT_EQ(n.n, 3);
    TBands c;
    c.Assign(&b);
    EXPECT_TRUE(c.Active());
    EXPECT_EQ(c.TotalLength(), 5);
    EXPECT_EQ(c.PrimaryColor(), 7u);
}

TEST(ControlLookTest, DefaultsAndAssign) {
    TControlLook a;
    EXPECT_EQ(a.CheckSize, 15);
    EXPECT_EQ(a.RadioSize, 10);
    EXPECT_EQ(a.ControlStyle, csTheme);
    EXPECT_EQ(a.CommentColor, 0x0000FFu);
    EXPECT_FALSE(a.CheckAlwaysActive);
    EXPECT_FALSE(a.RadioAlwaysActive);
    a.CheckSize = 20;
    a.RadioAlwaysActive = true;
    TControlLook b;
    b.Assign(&a);
    EXPECT_EQ(b.CheckSize, 20);
    EXPECT_TRUE(b.RadioAlwaysActive);
}

} // namespace
