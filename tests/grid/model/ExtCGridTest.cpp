#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/IniFiles.h"
#include "plat/Menus.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class ExtCGridTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 400);
        grid = new TExtColumnGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(5);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    void CheckColumns() const { ASSERT_EQ(grid->CheckColumns(), u""); }
    std::unique_ptr<plat::TForm> form;
    TExtColumnGrid* grid = nullptr;
};

TEST_F(ExtCGridTest, ItemStartValues) {
    CheckColumns();
    TGridColumnItem* c = grid->Columns()->Items(2);
    struct Case {
        const char* what;
        std::int64_t actual, expected;
    };
    const Case cases[] = {
        {"Editor", c->Editor(), edNormal},
        {"DropDownCount", c->DropDownCount, 8},
        {"SpinStep", c->SpinStep, 1},
        {"PrintColor", c->PrintColor, plat::clWhite},
        {"BorderPen colour", c->BorderPen()->Color(), plat::clSilver},
        {"BorderPen width", c->BorderPen()->Width(), 1},
        {"PrintBorderPen colour", c->PrintBorderPen()->Color(), plat::clBlack},
        {"PrintBorders all", c->PrintBorders == TCellBorders{cbTop, cbLeft, cbRight, cbBottom}, 1},
        {"Borders none", c->Borders().Empty(), 1},
        {"ReadOnly", c->ReadOnly, 0},
        {"Colour is the grid's", c->Color(), grid->Color()},
        {"ColumnPopupType", c->ColumnPopupType, cpFixedCellsRClick},
        {"PrintFontCustom", c->PrintFontCustom, 1},
    };
    for (const Case& k : cases) EXPECT_EQ(k.actual, k.expected) << k.what;
    EXPECT_EQ(c->CheckTrue, u"Y");
    EXPECT_EQ(c->CheckFalse, u"N");
    EXPECT_EQ(c->DisplayName(), u"Column 2");
    c->Name = u"Topic";
    EXPECT_EQ(c->DisplayName(), u"Col 2: Topic");
    EXPECT_EQ(grid->GetColumnByName(u"Topic"), c);
    EXPECT_EQ(grid->GetColumnByName(u"topic"), nullptr) << "names compare exactly";
    EXPECT_EQ(grid->GetVersionString(), u"3.1.3.1 Aug, 2012");
    EXPECT_TRUE(
        testsupport::ThrowsWith<plat::EListError>([&] { grid->Columns()->Items(5); }, u"List index out of bounds (5)"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { grid->Columns()->Items(-1); },
                                                          u"List index out of bounds (-1)"));
    TGridColumnItem loose(nullptr);
    EXPECT_EQ(loose.Width(), 0) << "an item without a collection has no grid width";
}

TEST_F(ExtCGridTest, NewColumnsTakeTheVisualsOfTheLastOne) {
    TGridColumnItem* last = grid->Columns()->Items(4);
    last->SetHeader(u"Last");
    last->Name = u"last";
    last->Tag = 7;
    last->DropDownCount = 3;
    last->ComboItems()->Add(u"one");
    last->SetEditor(edComboList);
    last->SetAlignment(plat::taRightJustify);
    last->ReadOnly = true;
    last->CheckTrue = u"1";
    last->SetColor(plat::clRed);
    last->HeaderFont()->SetSize(20);
    last->Font()->SetSize(17);
    grid->SetColCount(8);
    CheckColumns();
    for (int i = 5; i < 8; ++i) {
        TGridColumnItem* c = grid->Columns()->Items(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(c->Editor(), edComboList);
        EXPECT_EQ(c->Alignment(), plat::taRightJustify);
        EXPECT_TRUE(c->ReadOnly);
        EXPECT_EQ(c->CheckTrue, u"1");
        EXPECT_EQ(c->Header(), u"");
        EXPECT_EQ(c->Name, u"");
        EXPECT_EQ(c->Tag, 0);
        EXPECT_EQ(c->DropDownCount, 8);
        EXPECT_EQ(c->ComboItems()->Count(), 0);
        EXPECT_NE(c->HeaderFont()->Size(), 20);
        EXPECT_EQ(c->Color(), grid->Color()) << "colour and font come from the grid";
        EXPECT_EQ(c->Font()->Size(), grid->Font()->Size());
    }
    grid->SetColCount(3);
    CheckColumns();
}

TEST_F(ExtCGridTest, LoadingRecordsEachColumnsLaidOutPosition) {
    grid->BeginLoading();
    grid->SetColCount(6);
    grid->SetCells(4, 0, u"From layout");
    grid->EndLoading();
    CheckColumns();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(grid->Columns()->Items(i)->DefIdx, i);
    // A header cell written by the layout becomes the empty header of its column.
    grid->SyncColumnHeaders();
    EXPECT_EQ(grid->Columns()->Items(4)->Header(), u"From layout");
}

TEST_F(ExtCGridTest, HeaderIsWrittenIntoRowZeroAndTheHeaderList) {
    grid->Columns()->Items(2)->SetHeader(u"Topic");
    EXPECT_EQ(grid->Cells(2, 0), u"Topic");
    ASSERT_GT(grid->ColumnHeaders()->Count(), 2);
    EXPECT_EQ(grid->ColumnHeaders()->Strings(2), u"Topic");
    EXPECT_EQ(grid->Columns()->Items(2)->Header(), u"Topic");
    CheckColumns();

    // Without a header row the text is kept but no cell is written.
    grid->SetFixedRows(0);
    grid->SetCells(3, 0, u"data");
    grid->Columns()->Items(3)->SetHeader(u"Hidden");
    EXPECT_EQ(grid->Cells(3, 0), u"data");
    EXPECT_EQ(grid->Columns()->Items(3)->Header(), u"Hidden");
}

TEST_F(ExtCGridTest, HooksAreAnsweredByTheColumns) {
    grid->SetRowCount(6);
    auto* combo = grid->Columns()->Items(1);
    combo->SetEditor(edComboList);
    combo->ComboItems()->Add(u"a");
    combo->ComboItems()->Add(u"b");
    auto* check = grid->Columns()->Items(2);
    check->SetEditor(edDataCheckBox);
    auto* ro = grid->Columns()->Items(3);
    ro->ReadOnly = true;
    ro->SetPassword(true);
    auto* fixed = grid->Columns()->Items(4);
    fixed->SetFixed(true);
    fixed->SetAlignment(plat::taCenter);
    fixed->SetHeaderAlignment(plat::taRightJustify);

    struct Case {
        int col, row;
        TEditorType editor;
        bool combo, canEdit, password, isFixed;
        plat::TAlignment align;
    };
    const Case cases[] = {
        {1, 2, edComboList, true, true, false, false, plat::taLeftJustify},
        {1, 0, edNormal, false, false, false, true, plat::taLeftJustify},
        {2, 2, edDataCheckBox, false, true, false, false, plat::taLeftJustify},
        {3, 2, edNormal, false, false, true, false, plat::taLeftJustify},
        {4, 2, edNormal, false, false, false, true, plat::taCenter},
        {4, 0, edNormal, false, false, false, true, plat::taRightJustify},
        {0, 2, edNormal, false, false, false, true, plat::taLeftJustify},
    };
    // goEditing is off: the column grid decides editability from its columns alone.
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Exclude(plat::goEditing));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row));
        TEditorType e = edNormal;
        grid->GetCellEditorType(c.col, c.row, e);
        EXPECT_EQ(e, c.editor);
        EXPECT_EQ(grid->HasComboBox(c.col, c.row), c.combo);
        bool can = false;
        grid->CheckCanEdit(c.col, c.row, can);
        EXPECT_EQ(can, c.canEdit);
        bool pw = false;
        grid->IsPasswordCell(c.col, c.row, pw);
        EXPECT_EQ(pw, c.password);
        bool f = false;
        grid->IsFixedCell(c.col, c.row, f);
        EXPECT_EQ(f, c.isFixed);
        plat::TAlignment h = plat::taLeftJustify;
        TVAlignment v = vtaTop;
        grid->GetCellAlignment(c.col, c.row, h, v);
        EXPECT_EQ(h, c.align);
    }
    // A read-only cell of an editable column.
    grid->GetCellProperties(1, 3)->ReadOnly = true;
    bool can = true;
    grid->CheckCanEdit(1, 3, can);
    EXPECT_FALSE(can);
    // The combo's items are the column's, in order.
    EXPECT_EQ(combo->ComboItems()->Strings(1), u"b");
}

TEST_F(ExtCGridTest, NewCellPropertiesTakeTheColumnButNeverFixedColours) {
    grid->SetRowCount(4);
    grid->Columns()->Items(2)->SetColor(plat::clYellow);
    grid->Columns()->Items(2)->SetAlignment(plat::taRightJustify);
    grid->Columns()->Items(3)->SetColor(plat::clAqua);
    grid->Columns()->Items(3)->SetFixed(true);
    grid->Columns()->Items(4)->SetColor(plat::clLime);
    grid->Columns()->Items(4)->SetShowBands(true);
    grid->Bands()->SetActive(true);
    struct Case {
        int col, row;
        TColor brush;
        plat::TAlignment align;
    };
    const Case cases[] = {
        {2, 2, plat::clYellow, plat::taRightJustify},
        {2, 0, plat::clNone, plat::taLeftJustify},   // header row: fixed
        {0, 2, plat::clNone, plat::taLeftJustify},   // fixed column
        {3, 2, plat::clNone, plat::taLeftJustify},   // a Fixed column counts as fixed
        {4, 2, plat::clNone, plat::taLeftJustify},   // banded
    };
    for (const Case& c : cases) {
        TCellProperties* p = grid->GetCellProperties(c.col, c.row);
        EXPECT_EQ(p->BrushColor(), c.brush) << c.col << "," << c.row;
        EXPECT_EQ(p->Alignment, c.align) << c.col << "," << c.row;
    }
}

TEST_F(ExtCGridTest, EditLimitAndMaskComeFromTheCurrentColumn) {
    grid->SetRowCount(4);
    grid->Columns()->Items(2)->EditLength = 12;
    grid->Columns()->Items(2)->EditMask = u"000;1;_";
    grid->Columns()->Items(0)->EditLength = 99;  // fixed column: not used
    grid->SetCol(2);
    EXPECT_EQ(grid->GetEditLimit(), 12);
    EXPECT_EQ(grid->GetEditMask(2, 1), u"000;1;_");
    grid->SetCol(3);
    EXPECT_EQ(grid->GetEditLimit(), 0);
    EXPECT_EQ(grid->GetEditMask(0, 1), u"");
}

TEST_F(ExtCGridTest, ColumnPopupOpensUnderTheClickedCellOfItsKind) {
    grid->SetRowCount(4);
    grid->SetBounds(0, 0, 420, 160);
    auto* menu = new plat::TPopupMenu(form.get());
    auto* item = new plat::TMenuItem(menu);
    item->SetCaption(u"Clear column");
    menu->Items()->Add(item);
    grid->Columns()->Items(2)->ColumnPopup = menu;
    grid->Columns()->Items(2)->ColumnPopupType = cpNormalCellsRClick;
    std::vector<std::pair<int, int>> events;
    grid->OnColumnPopup = [&](plat::TObject*, int ACol, int ARow, plat::TPopupMenu* m) {
        EXPECT_EQ(m, menu);
        events.push_back({ACol, ARow});
    };
    form->Show();
    pt::ProcessEvents();
    struct Case {
        int col, row;
        plat::TMouseButton button;
        bool event, popup;
    };
    const Case cases[] = {
        {2, 2, plat::mbRight, true, true},
        {2, 0, plat::mbRight, true, false},  // the event fires where this kind shows no menu
        {2, 2, plat::mbLeft, false, false},
        {3, 2, plat::mbRight, false, false},  // no menu in that column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row) + (c.button == plat::mbLeft ? " left" : " right"));
        events.clear();
        const size_t popups = responder().Popups().size();
        if (c.popup) responder().AnswerPopup(-1);
        const plat::TRect r = grid->CellRect(c.col, c.row);
        pt::Click(grid, r.Left + 5, r.Top + 5, c.button);
        pt::ProcessEvents();
        EXPECT_EQ(events.size(), c.event ? 1u : 0u);
        ASSERT_EQ(responder().Popups().size(), popups + (c.popup ? 1 : 0));
        if (c.popup) {
            const plat::TPoint at = grid->ClientToScreen(plat::TPoint{r.Left, r.Bottom});
            EXPECT_EQ(responder().Popups().back().Request.ScreenPos.X, at.X);
            EXPECT_EQ(responder().Popups().back().Request.ScreenPos.Y, at.Y);
        }
    }
    // A menu that goes away is forgotten by its column.
    delete menu;
    EXPECT_EQ(grid->Columns()->Items(2)->ColumnPopup, nullptr);
}

TEST_F(ExtCGridTest, ColumnCheckValuesOverrideTheGridEvent) {
    grid->SetRowCount(4);
    grid->Columns()->Items(2)->CheckTrue = u"On";
    grid->OnGetCheckTrue = [](plat::TObject*, int, int, plat::String& v) { v = u"event"; };
    struct Case {
        int col, row;
        const char16_t* expected;
    };
    for (const Case& c : {Case{2, 2, u"On"}, Case{3, 2, u"Y"}, Case{2, 0, u"event"}, Case{0, 2, u"event"}}) {
        EXPECT_EQ(grid->GetCheckTrue(c.col, c.row), c.expected) << c.col << "," << c.row;
    }
    EXPECT_EQ(grid->GetCheckFalse(2, 2), u"N");
}

TEST_F(ExtCGridTest, ColumnFilterEntriesAreCutAtTheEqualsSign) {
    grid->Columns()->Items(1)->Filter()->Add(u"Low=<10");
    grid->Columns()->Items(1)->Filter()->Add(u"All");
    ASSERT_TRUE(grid->GetColumnFilter(1));
    ASSERT_EQ(grid->FilterList()->Count(), 2);
    EXPECT_EQ(grid->FilterList()->Strings(0), u"Low");
    EXPECT_EQ(grid->FilterList()->Strings(1), u"All");
    EXPECT_FALSE(grid->GetColumnFilter(2));
    EXPECT_FALSE(grid->GetColumnFilter(9));
}

TEST_F(ExtCGridTest, MovedColumnTakesItsSettingsAlong) {
    auto* c1 = grid->Columns()->Items(1);
    c1->SetHeader(u"Moved");
    c1->SetEditor(edComboEdit);
    c1->ComboItems()->Add(u"x");
    c1->ColumnPopupType = cpAllCellsLClick;
    c1->PrintFontCustom = false;
    c1->PrintBorderCustom = false;
    grid->Columns()->Items(3)->SetHeader(u"Three");
    int from = -1, to = -1;
    grid->OnAfterColumnMoved = [&](plat::TObject*, int f, int t) { from = f; to = t; };
    grid->MoveColumn(1, 3);
    CheckColumns();
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    auto* m = grid->Columns()->Items(3);
    EXPECT_EQ(m->Header(), u"Moved");
    EXPECT_EQ(m->Editor(), edComboEdit);
    EXPECT_EQ(m->ComboItems()->Count(), 1);
    EXPECT_EQ(m->ColumnPopupType, cpAllCellsLClick);
    EXPECT_FALSE(m->PrintFontCustom);
    EXPECT_FALSE(m->PrintBorderCustom);
    EXPECT_EQ(grid->Cells(3, 0), u"Moved");
    EXPECT_EQ(grid->Columns()->Items(2)->Header(), u"Three");
}

TEST_F(ExtCGridTest, WritingColumnsCopiesTheItemsAndFollowsTheirCount) {
    auto other = std::make_unique<TExtColumnGrid>(nullptr);
    other->SetColCount(7);
    other->Columns()->Items(6)->SetHeader(u"Six");
    other->Columns()->Items(2)->SetEditor(edComboEdit);
    grid->SetColumns(other->Columns());
    CheckColumns();
    EXPECT_EQ(grid->ColCount(), 7);
    EXPECT_EQ(grid->Columns()->Items(6)->Header(), u"Six");
    EXPECT_EQ(grid->Cells(6, 0), u"Six");
    EXPECT_EQ(grid->Columns()->Items(2)->Editor(), edComboEdit);
    // Deleting an item takes the column away.
    grid->Columns()->Delete(6);
    CheckColumns();
    EXPECT_EQ(grid->ColCount(), 6);
}

TEST_F(ExtCGridTest, ColumnsRoundTripThroughTheirStream) {
    auto* c = grid->Columns()->Items(2);
    c->SetHeader(u"Topic #1\r\nsecond line");
    c->SetWidth(87);
    c->SetEditor(edComboEdit);
    c->ComboItems()->Add(u"a, b");
    c->ComboItems()->Add(u"\"quoted\"");
    c->Filter()->Add(u"Low=<10");
    c->CheckTrue = u"1";
    c->SetBorders({cbTop, cbBottom});
    c->BorderPen()->SetColor(plat::clRed);
    c->BorderPen()->SetWidth(3);
    c->HeaderFont()->SetStyle({plat::fsItalic, plat::fsUnderline});
    c->Font()->SetColor(plat::clBlue);
    c->SetFloatFormat(u"%.3f");
    c->ColumnPopupType = cpAllCellsLClick;
    c->SortStyle = ssNumeric;
    c->Name = u"topic";
    grid->SetColCount(6);
    plat::TStringList stream;
    grid->SaveColumnsToStream(stream);

    auto other = std::make_unique<TExtColumnGrid>(nullptr);
    other->SetFixedRows(1);
    other->LoadColumnsFromStream(stream);
    EXPECT_EQ(other->CheckColumns(), u"");
    EXPECT_EQ(other->ColCount(), 6);
    plat::TStringList again;
    other->SaveColumnsToStream(again);
    ASSERT_EQ(again.Count(), stream.Count());
    for (int i = 0; i < stream.Count(); ++i) EXPECT_EQ(again.Strings(i), stream.Strings(i)) << "line " << i;
    auto* d = other->Columns()->Items(2);
    EXPECT_EQ(d->Header(), u"Topic #1\r\nsecond line");
    EXPECT_EQ(other->Cells(2, 0), d->Header());
    EXPECT_EQ(d->Width(), 87);
    EXPECT_EQ(d->ComboItems()->Strings(0), u"a, b");
    EXPECT_EQ(d->ComboItems()->Strings(1), u"\"quoted\"");
    EXPECT_EQ(d->BorderPen()->Width(), 3);

    // Unknown lines and values that do not read leave the defaults.
    plat::TStringList odd;
    odd.Add(u"Width=12");  // before any column: ignored
    odd.Add(u"[Column]");
    odd.Add(u"Editor=999");
    odd.Add(u"SpinStep=x");
    odd.Add(u"Colour=5");
    odd.Add(u"[Column]");
    odd.Add(u"[Column]");
    auto third = std::make_unique<TExtColumnGrid>(nullptr);
    third->LoadColumnsFromStream(odd);
    EXPECT_EQ(third->CheckColumns(), u"");
    EXPECT_EQ(third->ColCount(), 3);
    EXPECT_EQ(third->Columns()->Items(0)->Editor(), edNormal);
    EXPECT_EQ(third->Columns()->Items(0)->SpinStep, 1);
}

TEST_F(ExtCGridTest, ItemAssignCopiesIdentityAndWidth) {
    auto* src = grid->Columns()->Items(1);
    src->SetHeader(u"H");
    src->ComboItems()->Add(u"a");
    src->SetWidth(93);
    src->CheckFalse = u"0";
    src->ColumnPopupType = cpNormalCellsLClick;
    TGridColumnItem copy(nullptr);
    copy.Assign(src);
    EXPECT_EQ(copy.Header(), u"H");
    EXPECT_EQ(copy.ComboItems()->Count(), 1);
    EXPECT_EQ(copy.CheckFalse, u"0");
    EXPECT_EQ(copy.ColumnPopupType, cpFixedCellsRClick);
    grid->Columns()->Items(2)->Assign(&copy);
    EXPECT_EQ(grid->Columns()->Items(2)->Header(), u"H");
    EXPECT_EQ(grid->Columns()->Items(1)->Width(), 93);
    EXPECT_EQ(grid->ColWidths(1), 93);
}

TEST_F(ExtCGridTest, RenderWithHeaderRowAndFixedColumn) {
    grid->SetRowCount(6);
    grid->SetBounds(0, 0, 420, 160);
    const char16_t* heads[] = {u"", u"Topic", u"QoS", u"Retain", u"Position"};
    for (int i = 1; i < 5; ++i) grid->Columns()->Items(i)->SetHeader(heads[i]);
    grid->Columns()->Items(3)->SetEditor(edDataCheckBox);
    grid->Columns()->Items(4)->SetColor(plat::clYellow);
    for (int r = 1; r < 6; ++r) {
        grid->SetCells(0, r, plat::IntToStr(r));
        grid->SetCells(1, r, u"plant/line" + plat::IntToStr(r));
        grid->SetCells(2, r, u"1");
        grid->SetCells(3, r, r % 2 ? u"Y" : u"N");
        grid->SetCells(4, r, plat::IntToStr(r * 10));
    }
    form->Show();
    pt::ProcessEvents();
    grid->Repaint();
    pt::ProcessEvents();
    pt::SaveGrab(grid, u"column_grid.png");
    auto bmp = pt::Grab(grid);
    const plat::TRect yellow = grid->CellRect(4, 3);
    EXPECT_EQ(pt::PixelOf(*bmp, yellow.Left + 3, yellow.Top + 3), plat::clYellow) << "the column's colour";
    const plat::TRect head = grid->CellRect(4, 0);
    EXPECT_NE(pt::PixelOf(*bmp, head.Left + 3, head.Top + 3), plat::clYellow) << "the header keeps the fixed colour";
}

} // namespace

namespace {

class ColumnPositionsTest : public pt::UiTest {
protected:
    std::unique_ptr<TExtColumnGrid> MakeGrid() {
        auto g = std::make_unique<TExtColumnGrid>(nullptr);
        g->SetColCount(5);
        g->SetFixedRows(1);
        for (int i = 0; i < 5; ++i) g->Columns()->Items(i)->SetHeader(u"H" + plat::IntToStr(i));
        g->SetOrganization();
        return g;
    }
    static std::vector<plat::String> Headers(const TExtColumnGrid& g) {
        std::vector<plat::String> r;
        for (int i = 0; i < g.Columns()->Count(); ++i) r.push_back(g.Columns()->Items(i)->Header());
        return r;
    }
    void SetUp() override {
        pt::UiTest::SetUp();
        ini = dir / u"pos.ini";
    }
    testsupport::TempDir dir;
    plat::String ini;
};

TEST_F(ColumnPositionsTest, SavedOrderIsRestoredOnAFreshGrid) {
    auto a = MakeGrid();
    a->MoveColumn(1, 3);
    const std::vector<plat::String> moved{u"H0", u"H2", u"H3", u"H1", u"H4"};
    ASSERT_EQ(Headers(*a), moved);
    a->SaveColumnPositions(ini, u"Cols");

    auto b = MakeGrid();
    b->LoadColumnPositions(ini, u"Cols");
    EXPECT_EQ(Headers(*b), moved);
    EXPECT_EQ(b->Cells(3, 0), u"H1");
    EXPECT_EQ(b->CheckColumns(), u"");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(b->Columns()->Items(i)->DefIdx, a->Columns()->Items(i)->DefIdx) << i;
}

TEST_F(ColumnPositionsTest, IncompleteOrBrokenPositionsChangeNothing) {
    struct Case {
        const char* what;
        std::vector<int> stored;  // -1: key missing
    };
    const Case cases[] = {
        {"missing key", {0, 1, -1, 3, 4}},
        {"duplicate position", {0, 1, 1, 3, 4}},
        {"position beyond the columns", {0, 1, 2, 3, 9}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir / std::string("pos.ini"));
        plat::TIniFile f(ini);
        for (size_t i = 0; i < c.stored.size(); ++i)
            if (c.stored[i] >= 0) f.WriteInteger(u"Cols", u"CP" + plat::IntToStr(static_cast<int>(i)), c.stored[i]);
        auto g = MakeGrid();
        const auto before = Headers(*g);
        g->LoadColumnPositions(ini, u"Cols");
        EXPECT_EQ(Headers(*g), before) << c.what;
        EXPECT_EQ(g->CheckColumns(), u"") << c.what;
    }
}

TEST_F(ExtCGridTest, ItemsFollowColumnsMovedInsertedAndRemovedWithAHiddenColumn) {
    for (int i = 0; i < 5; ++i) grid->Columns()->Items(i)->SetHeader(plat::IntToStr(i));
    grid->HideColumn(1);
    int from = -1, to = -1;
    grid->OnAfterColumnMoved = [&](plat::TObject*, int f, int t) { from = f; to = t; };
    grid->MoveColumn(1, 2);  // display columns: real 2 goes to real 3
    CheckColumns();
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 3);
    EXPECT_EQ(grid->Columns()->Items(3)->Header(), u"2");
    EXPECT_EQ(grid->Columns()->Items(1)->Header(), u"1");
    grid->InsertCols(1, 2);
    CheckColumns();
    EXPECT_EQ(grid->Columns()->Count(), grid->AllColCount());
    EXPECT_EQ(grid->Columns()->Items(3)->Header(), u"1");
    EXPECT_TRUE(grid->IsHiddenColumn(3));
    grid->RemoveCols(0, 1);
    CheckColumns();
    EXPECT_EQ(grid->Columns()->Items(2)->Header(), u"1");
    grid->SwapColumns(2, 3);
    CheckColumns();
    EXPECT_EQ(grid->Columns()->Items(3)->Header(), u"1");
}

TEST_F(ExtCGridTest, EditorTypeLeavesTheGridsFloatFormat) {
    grid->Columns()->Items(2)->SetFloatFormat(u"%.4f");
    TEditorType e = edNormal;
    grid->GetCellEditorType(2, 1, e);
    EXPECT_EQ(grid->FloatFormat, u"%.2f");
    EXPECT_EQ(grid->GetFloatFormat(2), u"%.4f");
}

TEST_F(ExtCGridTest, CheckBoxToggleRegistersOneUndoableChange) {
    TExtGridUndoRedo undo(form.get());
    grid->SetUndoRedo(&undo);
    grid->Columns()->Items(2)->SetEditor(edDataCheckBox);
    grid->SetCells(2, 1, u"N");
    ASSERT_TRUE(grid->ToggleCheckBox(2, 1));
    ASSERT_EQ(undo.Items()->Count(), 1);
    EXPECT_EQ(undo.Items()->Items(0)->Value, u"Y");
    EXPECT_EQ(undo.Items()->Items(0)->OrigValue, u"N");
    undo.Undo();
    EXPECT_EQ(grid->Cells(2, 1), u"N");
    grid->SetUndoRedo(nullptr);
}

} // namespace
