// Columns and header of the tree control: display order, width rules, walks, sizing, the
// binary column, collection and header records (hostile ones included). The columns'
// bookkeeping (ColumnInvariants.h) is checked after every change.
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "TestSupport.h"
#include "TreeFixture.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace vtree::testing {
namespace {

class Columns : public ::testing::Test {
protected:
    void SetUp() override { Tree = std::make_unique<TBaseLazyTree>(nullptr); }
    TLTHeader& H() { return Tree->Header(); }
    TLazyTreeColumns& C() { return H().Columns(); }
    void Add(std::initializer_list<int> Widths)
    {
        for (int w : Widths) {
            C().Add()->SetWidth(w);
            ASSERT_COLUMNS_OK(H());
        }
    }
    std::vector<int> Widths()
    {
        std::vector<int> r;
        for (int i = 0; i < C().Count(); ++i) r.push_back(C()[i]->Width());
        return r;
    }
    std::vector<int> Lefts()
    {
        std::vector<int> r;
        for (int i = 0; i < C().Count(); ++i) r.push_back(C()[i]->Left());
        return r;
    }
    std::unique_ptr<TBaseLazyTree> Tree;
};

std::string Bytes(const plat::TMemoryStream& S) { return S.Bytes(); }

void PutInt(std::string& B, std::int32_t V) { B.append(reinterpret_cast<const char*>(&V), 4); }

// ---- display order and walks ---------------------------------------------------------------

TEST_F(Columns, NewTreeHasNoColumnsAndNothingToFind)
{
    EXPECT_EQ(C().TotalWidth(), 0);
    EXPECT_EQ(C().GetFirstVisibleColumn(), InvalidColumn);
    EXPECT_EQ(C().ColumnFromPosition(plat::TPoint{5, 5}), InvalidColumn);
    EXPECT_EQ(C().GetFirstColumn(), InvalidColumn);
    EXPECT_FALSE(H().UseColumns());
    EXPECT_COLUMNS_OK(H());
}

TEST_F(Columns, ThreeColumnsLineUpAndMoveByPosition)
{
    for (int i = 0; i < 3; ++i) C().Add();
    EXPECT_EQ(Lefts(), (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(C().TotalWidth(), 150);
    EXPECT_EQ(H().MainColumn, 0);  // the first column becomes the main column
    C()[0]->SetPosition(2);
    EXPECT_EQ(C().PositionToIndex(), (TIndexArray{1, 2, 0}));
    EXPECT_EQ(Lefts(), (std::vector<int>{100, 0, 50}));
    ASSERT_COLUMNS_OK(H());
    C()[1]->SetPosition(7);  // clamped to the last position
    EXPECT_EQ(C()[1]->Position(), 2u);
    EXPECT_EQ(C().PositionToIndex(), (TIndexArray{2, 0, 1}));
    ASSERT_COLUMNS_OK(H());
    struct Hit {
        int x;
        TColumnIndex column;
    };
    for (const Hit& h : {Hit{0, 2}, Hit{49, 2}, Hit{50, 0}, Hit{149, 1}, Hit{150, InvalidColumn}}) {
        SCOPED_TRACE(h.x);
        EXPECT_EQ(C().ColumnFromPosition(plat::TPoint{h.x, 3}), h.column);
    }
    EXPECT_EQ(C().GetNextColumn(1), InvalidColumn);
    EXPECT_EQ(C().GetPreviousColumn(2), InvalidColumn);
    EXPECT_EQ(C().GetNextColumn(2), 0);
}

// A tree off screen measures no rows, yet its horizontal range follows the columns.
TEST_F(Columns, HorizontalRangeFollowsTheColumnsOffScreen)
{
    Tree->HandleNeeded();
    Add({40, 60});
    EXPECT_EQ(Tree->RangeX(), 100);
    C()[0]->SetWidth(90);
    EXPECT_EQ(Tree->RangeX(), 150);
    C()[1]->SetOptions(TLTColumnOptions(C()[1]->Options() & ~ColBit(coVisible)));
    EXPECT_EQ(Tree->RangeX(), 90);
}

TEST_F(Columns, HiddenColumnKeepsItsPositionAndTakesNoWidth)
{
    Add({50, 50, 50});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coVisible));
    ASSERT_COLUMNS_OK(H());
    EXPECT_EQ(C()[1]->Position(), 1u);
    EXPECT_EQ(C()[2]->Left(), 50);
    EXPECT_EQ(C().GetNextVisibleColumn(0), 2);
    EXPECT_EQ(C().GetPreviousVisibleColumn(2), 0);
    EXPECT_EQ(C().TotalWidth(), 100);
    EXPECT_EQ(C().GetVisibleColumns().size(), 2u);
    // Focus walks skip columns without coAllowFocus.
    C()[2]->SetOptions(C()[2]->Options() & ~ColBit(coAllowFocus));
    EXPECT_EQ(C().GetLastVisibleColumn(true), 0);
    EXPECT_EQ(C().GetLastVisibleColumn(false), 2);
}

TEST_F(Columns, DeletingAColumnRebasesStoredIndexes)
{
    struct Case {
        const char* what;
        TColumnIndex sortBefore, mainBefore;
        TColumnIndex sortAfter, mainAfter;
    };
    const Case cases[] = {
        {"sort column right of the removed one moves left", 2, 1, 1, 0},
        {"sort column removed", 0, 2, NoColumn, 1},
        {"main column removed: the new first column", 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        Add({50, 60, 70});
        H().SetSortColumn(c.sortBefore);
        H().SetMainColumn(c.mainBefore);
        C().Delete(0);
        ASSERT_COLUMNS_OK(H());
        EXPECT_EQ(H().SortColumn, c.sortAfter);
        EXPECT_EQ(H().MainColumn, c.mainAfter);
        EXPECT_EQ(Widths(), (std::vector<int>{60, 70}));
        EXPECT_EQ(C().PositionToIndex(), (TIndexArray{0, 1}));
    }
}

TEST_F(Columns, MovingAColumnAmongFixedOnesMakesItFixed)
{
    Add({50, 50, 50});
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    C()[2]->SetPosition(0);  // dropped before the fixed column
    EXPECT_TRUE(In(C()[2]->Options(), coFixed));
    C()[0]->SetPosition(2);  // the fixed column leaves the fixed block
    EXPECT_FALSE(In(C()[0]->Options(), coFixed));
    EXPECT_COLUMNS_OK(H());
}

// ---- width rules ------------------------------------------------------------------------------

TEST_F(Columns, WidthsAndLimitsClamp)
{
    Add({50});
    TLazyTreeColumn* c = C()[0];
    c->SetWidth(5);
    EXPECT_EQ(c->Width(), 10);
    c->SetMaxWidth(5);
    EXPECT_EQ(c->MaxWidth(), 10);
    c->SetMinWidth(-3);
    EXPECT_EQ(c->MinWidth(), 0);
    c->SetMaxWidth(40);
    c->SetWidth(100);
    EXPECT_EQ(c->Width(), 40);
    c->SetMargin(-1);
    EXPECT_EQ(c->Margin(), 4);
    EXPECT_COLUMNS_OK(H());
}

TEST_F(Columns, AutoSizeColumnFillsTheClientAndIgnoresDirectWidths)
{
    Tree->SetClientWidth(300);
    ASSERT_EQ(Tree->ClientWidth(), 300);
    Add({80, 50});
    H().SetAutoSizeIndex(1);
    H().SetOptions(H().Options() | HdrBit(hoAutoResize));
    EXPECT_EQ(C()[1]->Width(), 220);
    C()[1]->SetWidth(40);
    EXPECT_EQ(C()[1]->Width(), 220);
    C()[0]->SetWidth(100);
    EXPECT_EQ(C()[1]->Width(), 200);
    EXPECT_COLUMNS_OK(H());
}

TEST_F(Columns, FixedAreaPercentageBoundsTheFixedColumns)
{
    Tree->SetClientWidth(200);
    ASSERT_EQ(Tree->ClientWidth(), 200);
    Add({60, 40});
    for (int i = 0; i < 2; ++i) C()[i]->SetOptions(C()[i]->Options() | ColBit(coFixed));
    // The percentage is set as a loaded record sets it: without re-applying the constraints.
    H().SetStates(HsBit(hsLoading), 0);
    H().FixedAreaConstraints().SetMaxWidthPercent(30);
    H().SetStates(0, HsBit(hsLoading));
    C()[0]->SetWidth(100);
    EXPECT_EQ(C()[0]->Width(), 20);  // 30 % of 200 leaves 60 - 40
    EXPECT_EQ(C()[1]->Width(), 40);
}

TEST_F(Columns, ConstraintSettersKeepMinimumBelowMaximum)
{
    auto& k = H().FixedAreaConstraints();
    int changes = 0;
    k.OnChange = [&](plat::TObject*) { ++changes; };
    k.SetMinWidthPercent(40);
    k.SetMaxWidthPercent(20);
    EXPECT_EQ(k.MinWidthPercent(), 20);
    k.SetMinHeightPercent(150);
    EXPECT_EQ(k.MinHeightPercent(), 100);
    k.SetMaxHeightPercent(10);
    EXPECT_EQ(k.MinHeightPercent(), 10);
    k.SetMaxHeightPercent(10);  // unchanged: no event
    EXPECT_EQ(changes, 4);
    k.OnChange = nullptr;
}

TEST_F(Columns, ScrollWidthRoundsHalvesToEven)
{
    struct Case {
        int a, b, expected;
    };
    for (const Case& c : {Case{50, 51, 50}, Case{51, 52, 52}, Case{40, 40, 40}}) {
        SCOPED_TRACE(c.a);
        SetUp();
        Add({c.a, c.b});
        EXPECT_EQ(C().GetScrollWidth(), c.expected);
    }
    SetUp();
    EXPECT_EQ(C().GetScrollWidth(), static_cast<int>(Tree->Indent()));
}

TEST_F(Columns, DisplayNameFallsBackToTheIndex)
{
    Add({50, 50, 50, 50});
    C()[3]->SetText(u"Name \u0416");
    EXPECT_EQ(C()[3]->DisplayName(), u"Column 3");
    C()[2]->SetText(u"Gr\u00FC\u00DFe");
    EXPECT_EQ(C()[2]->DisplayName(), u"Gr\u00FC\u00DFe");
    EXPECT_EQ(C()[1]->DisplayName(), u"");
}

TEST_F(Columns, AssignCopiesAndEqualsCompares)
{
    Add({50, 70});
    TLazyTreeColumn* a = C()[0];
    a->SetText(u"A");
    a->SetCaptionAlignment(taCenter);
    a->SetMinWidth(20);
    a->SetOptions(a->Options() | ColBit(coSmartResize));
    EXPECT_FALSE(C()[1]->Equals(a));
    TBaseLazyTree other(nullptr);
    auto* b = other.Header().Columns().Add();
    b->Assign(a);
    EXPECT_TRUE(b->Equals(a));
    EXPECT_EQ(b->CaptionAlignment(), taCenter);
    other.Header().Columns().Add();
    other.Header().Columns()[1]->SetWidth(70);
    EXPECT_TRUE(other.Header().Columns().Equals(&C()));
}

// ---- sizing ------------------------------------------------------------------------------------

TEST_F(Columns, ResizeColumnsSpreadsPixelsAndRotatesOddOnes)
{
    Add({50, 50, 50});
    EXPECT_EQ(H().ResizeColumns(7, 0, 2), 7);
    EXPECT_EQ(Widths(), (std::vector<int>{53, 52, 52}));
    EXPECT_EQ(H().ResizeColumns(1, 0, 2), 1);
    EXPECT_EQ(Widths(), (std::vector<int>{53, 53, 52}));
    ASSERT_COLUMNS_OK(H());
    SetUp();
    Add({50, 50, 50});
    EXPECT_EQ(H().ResizeColumns(-7, 0, 2), -7);
    EXPECT_EQ(Widths(), (std::vector<int>{48, 48, 47}));
    SetUp();
    Add({50, 50});
    for (int i = 0; i < 2; ++i) C()[i]->SetMaxWidth(60);
    EXPECT_EQ(H().ResizeColumns(30, 0, 1), 20);
    EXPECT_EQ(Widths(), (std::vector<int>{60, 60}));
    EXPECT_EQ(H().ResizeColumns(0, 0, 1), 0);
    ASSERT_COLUMNS_OK(H());
}

TEST_F(Columns, ResizeColumnsLeavesOtherColumnsAndFiresNoResizeEvent)
{
    Add({50, 50, 50});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coVisible));
    int events = 0;
    Tree->OnColumnResize = [&](TLTHeader*, TColumnIndex) { ++events; };
    EXPECT_EQ(H().ResizeColumns(10, 0, 2), 10);
    EXPECT_EQ(Widths(), (std::vector<int>{55, 50, 55}));
    EXPECT_EQ(events, 0);
    C()[0]->SetWidth(60);
    EXPECT_EQ(events, 1);
    Tree->OnColumnResize = nullptr;
}

TEST_F(Columns, SpringColumnsShareAWidthChange)
{
    Tree->SetBounds(0, 0, 200, 100);
    Add({50, 50, 50});
    for (int i : {0, 2}) C()[i]->SetOptions(C()[i]->Options() | ColBit(coAutoSpring));
    H().SetOptions(H().Options() | HdrBit(hoVisible) | HdrBit(hoAutoSpring));
    H().UpdateSpringColumns();  // remembers the width
    Tree->SetBounds(0, 0, 203, 100);
    H().UpdateHeaderRect();
    H().UpdateSpringColumns();
    EXPECT_EQ(Widths(), (std::vector<int>{51, 50, 51}));
    EXPECT_FLOAT_EQ(C()[0]->SpringRest(), 0.5f);
    EXPECT_FLOAT_EQ(C()[2]->SpringRest(), 0.5f);
    EXPECT_COLUMNS_OK(H());
}

TEST_F(Columns, RestoreColumnsGivesBackTheLastWidths)
{
    H().SetOptions(H().Options() | HdrBit(hoDisableAnimatedResize));
    Add({50, 50});
    C()[0]->SetWidth(80);
    C()[1]->SetWidth(30);
    H().RestoreColumns();
    EXPECT_EQ(Widths(), (std::vector<int>{50, 50}));
    EXPECT_COLUMNS_OK(H());
}

// ---- header properties -------------------------------------------------------------------------

TEST_F(Columns, NewHeaderIsHiddenWithAnEmptyRectangle)
{
    const auto& r = H().HeaderRect();
    EXPECT_EQ(r.Bottom - r.Top, 0);
    EXPECT_EQ(H().Height(), 19);
    EXPECT_EQ(H().GetMainColumn(), NoColumn);
    EXPECT_FALSE(In(H().Options(), hoVisible));
    EXPECT_EQ(H().Options(), HeaderOptions({hoColumnResize, hoDrag, hoShowSortGlyphs}));
    H().SetOptions(H().Options() | HdrBit(hoVisible));
    EXPECT_EQ(H().HeaderRect().Bottom - H().HeaderRect().Top, 19);
    EXPECT_COLUMNS_OK(H());
}

TEST_F(Columns, HeightClampsToLimitsAndPercentages)
{
    struct Case {
        const char* what;
        int value, expected;
    };
    for (const Case& c : {Case{"below MinHeight", 5, 10}, Case{"above MaxHeight", 20000, 10000}, Case{"inside", 30, 30}}) {
        SCOPED_TRACE(c.what);
        SetUp();
        H().SetHeight(c.value);
        EXPECT_EQ(H().Height(), c.expected);
    }
    SetUp();
    Tree->SetClientHeight(81);
    ASSERT_EQ(Tree->ClientHeight(), 81);
    H().FixedAreaConstraints().SetMaxHeightPercent(50);
    H().SetHeight(80);
    EXPECT_EQ(H().Height(), 50);  // half of 81 + 19
    SetUp();
    H().SetDefaultHeight(25);
    EXPECT_EQ(H().Height(), 25);
    EXPECT_EQ(H().DefaultHeight(), 25);
    H().SetHeight(30);
    H().SetDefaultHeight(20);
    EXPECT_EQ(H().Height(), 30);  // only a height at the old default follows
}

TEST_F(Columns, SortColumnClampsAndMainColumnStaysInside)
{
    Add({50, 50, 50});
    H().SetSortColumn(10);
    EXPECT_EQ(H().SortColumn, 2);
    H().SetSortColumn(-5);
    EXPECT_EQ(H().SortColumn, NoColumn);
    H().SetMainColumn(9);
    EXPECT_EQ(H().MainColumn, 2);
    H().SetMainColumn(-4);
    EXPECT_EQ(H().MainColumn, 0);
    EXPECT_COLUMNS_OK(H());
    C().Clear();
    EXPECT_EQ(H().GetMainColumn(), NoColumn);
    EXPECT_EQ(H().SortColumn, NoColumn);
    EXPECT_COLUMNS_OK(H());
}

// ---- records -------------------------------------------------------------------------------------

// A column record of the given version with the given options and nothing else set.
std::string ColumnRecord(int Version, std::uint32_t Options, bool WithCaptionAlignment,
                         plat::TColor Color = plat::clWindow)
{
    std::string b;
    PutInt(b, 1);
    b.append("X\0", 2);  // text "X"
    PutInt(b, 0);         // no hint
    for (int v : {60, 10, 10000, 0, -1, 0, 4, 3, 0}) PutInt(b, v);
    PutInt(b, static_cast<std::int32_t>(Options));
    if (Version > 0) {
        PutInt(b, 7);  // tag
        PutInt(b, 1);  // right aligned
    }
    if (Version > 1) PutInt(b, static_cast<std::int32_t>(Color));
    if (WithCaptionAlignment) PutInt(b, 2);
    return b;
}

TEST_F(Columns, ColumnRecordOptionsFollowTheVersion)
{
    struct Case {
        int version;
        std::uint32_t stored, expected;
    };
    const Case cases[] = {
        {1, 0x1F, 0x2F},       // bit 4 moves up, parent colour cleared
        {0, 0x7F, 0xEF},       // bits 4..6 move to 5..7
        {2, 0xFFFF, 0x00FF},   // only the low byte
        {3, 0x1FFFF, 0xFFFF},  // sixteen bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        SetUp();
        const bool caption = c.version > 5;
        std::string b;
        PutInt(b, 1);
        b += ColumnRecord(c.version, c.stored, caption, Tree->Color());  // a colour of its own would clear coParentColor
        PutInt(b, 0);
        plat::TMemoryStream s;
        s.LoadFromBytes(b);
        C().LoadFromStream(s, c.version);
        ASSERT_EQ(C().Count(), 1);
        EXPECT_EQ(C()[0]->Options(), c.expected);
        EXPECT_EQ(C()[0]->GetText(), u"X");
        EXPECT_EQ(C()[0]->Width(), 60);
        EXPECT_EQ(C()[0]->Tag(), c.version > 0 ? 7 : 0);
        EXPECT_EQ(s.Position(), s.Size());
        EXPECT_COLUMNS_OK(H());
    }
}

TEST_F(Columns, CaptionAlignmentIsStoredOnlyWhenUsed)
{
    Add({50});
    plat::TMemoryStream plain, withCaption;
    C()[0]->SaveToStream(plain);
    C()[0]->SetCaptionAlignment(taRightJustify);
    C()[0]->SaveToStream(withCaption);
    EXPECT_EQ(withCaption.Size(), plain.Size() + 4);
    for (bool used : {false, true}) {
        SCOPED_TRACE(used);
        plat::TMemoryStream& src = used ? withCaption : plain;
        TBaseLazyTree t(nullptr);
        auto* c = t.Header().Columns().Add();
        src.SetPosition(0);
        c->LoadFromStream(src, 6);
        EXPECT_EQ(src.Position(), src.Size());
        EXPECT_EQ(c->CaptionAlignment(), used ? taRightJustify : taLeftJustify);
    }
}

TEST_F(Columns, HeaderRecordRoundTrips)
{
    Add({40, 60, 80});
    C()[2]->SetPosition(0);
    C()[1]->SetText(u"Gr\u00FC\u00DFe \u0416");
    C()[1]->SetHint(u"hint");
    H().SetMainColumn(1);
    H().SetSortColumn(2);
    H().SetSortDirection(sdDescending);
    H().SetStyle(hsPlates);
    H().SetBackground(plat::clRed);
    H().SetOptions(H().Options() | HdrBit(hoHotTrack) | HdrBit(hoAutoColumnPopupMenu));
    H().Font().SetName(u"Caf\u00E9 Sans");
    H().Font().SetStyle({plat::fsBold, plat::fsStrikeOut});
    H().FixedAreaConstraints().SetMaxWidthPercent(70);
    H().FixedAreaConstraints().SetMinHeightPercent(5);
    H().SetMaxHeight(90);
    H().SetHeight(33);
    C().SetDefaultWidth(77);
    plat::TMemoryStream s;
    H().SaveToStream(s);
    TBaseLazyTree t(nullptr);
    TLTHeader& h = t.Header();
    s.SetPosition(0);
    h.LoadFromStream(s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_TRUE(h.Columns().Equals(&C()));
    EXPECT_EQ(h.Columns().PositionToIndex(), (TIndexArray{2, 0, 1}));
    EXPECT_EQ(h.MainColumn, 1);
    EXPECT_EQ(h.SortColumn, 2);
    EXPECT_EQ(h.SortDirection, sdDescending);
    EXPECT_EQ(h.Style(), hsPlates);
    EXPECT_EQ(h.Background(), plat::clRed);
    EXPECT_EQ(h.Options(), H().Options());
    EXPECT_EQ(h.Font().Name(), u"Caf\u00E9 Sans");
    EXPECT_TRUE(h.Font().Style() == (plat::TFontStyles{plat::fsBold, plat::fsStrikeOut}));
    EXPECT_EQ(h.Height(), 33);
    EXPECT_EQ(h.MaxHeight(), 90);
    EXPECT_EQ(h.FixedAreaConstraints().MaxWidthPercent(), 70);
    EXPECT_EQ(h.FixedAreaConstraints().MinHeightPercent(), 5);
    EXPECT_EQ(h.Columns().DefaultWidth(), 77);
    EXPECT_FALSE(h.HasState(hsLoading));
    EXPECT_COLUMNS_OK(h);
}

// The oldest layout: the collection record first, no marker, no main or sort column. The
// main and sort columns stay as they were while they name loaded columns.
TEST_F(Columns, OldestHeaderLayoutKeepsMainAndSortColumns)
{
    struct Case {
        int columns;
        TColumnIndex main, sort;
    };
    for (const Case& c : {Case{3, 2, 1}, Case{2, 1, 1}, Case{1, 0, 0}}) {
        SCOPED_TRACE(c.columns);
        SetUp();
        Add({50, 50, 50});
        H().SetMainColumn(2);
        H().SetSortColumn(1);
        std::string b;
        PutInt(b, c.columns);
        for (int i = 0; i < c.columns; ++i) b += ColumnRecord(-1, 0xFF, false);
        for (int i = c.columns - 1; i >= 0; --i) PutInt(b, i);  // reversed positions
        PutInt(b, 1);          // auto-size index
        PutInt(b, 0x00FF00);   // background
        PutInt(b, 24);         // height
        PutInt(b, static_cast<std::int32_t>(HeaderOptions({hoDrag, hoVisible})));
        PutInt(b, 1);          // flat buttons
        PutInt(b, 0);          // font colour
        PutInt(b, -13);        // font height
        PutInt(b, 4);
        b += "Mono";
        PutInt(b, 2);  // fixed pitch
        PutInt(b, 2);  // italic
        plat::TMemoryStream s;
        s.LoadFromBytes(b);
        H().LoadFromStream(s);
        EXPECT_EQ(s.Position(), s.Size());
        EXPECT_EQ(C().Count(), c.columns);
        EXPECT_EQ(C().PositionToIndex().front(), c.columns - 1);
        EXPECT_EQ(H().MainColumn, c.main);
        EXPECT_EQ(H().SortColumn, c.sort);
        EXPECT_EQ(H().Style(), hsFlatButtons);
        EXPECT_EQ(H().Height(), 24);
        EXPECT_EQ(H().Font().Name(), u"Mono");
        EXPECT_TRUE(H().Font().Style() == plat::TFontStyles{plat::fsItalic});
        EXPECT_TRUE(In(H().Options(), hoVisible));
        EXPECT_COLUMNS_OK(H());
    }
}

TEST_F(Columns, HeaderRecordCutBeforeItsOptionsKeepsTheOptions)
{
    Add({50, 50});
    const TLTHeaderOptions before = H().Options() | HdrBit(hoVisible);
    H().SetOptions(before);
    plat::TMemoryStream full;
    H().SaveToStream(full);
    // Marker, version, collection record, auto-size index, background, height: then cut.
    const std::string b = Bytes(full);
    plat::TMemoryStream cols;
    C().SaveToStream(cols);
    const std::size_t cut = 8 + cols.Bytes().size() + 12;
    int resizes = 0;
    Tree->OnColumnResize = [&](TLTHeader*, TColumnIndex c) { resizes += c == NoColumn; };
    plat::TMemoryStream s;
    s.LoadFromBytes(b.substr(0, cut));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EReadError>([&] { H().LoadFromStream(s); }, u"Stream read error"));
    EXPECT_EQ(H().Options(), before);
    EXPECT_FALSE(H().HasState(hsLoading));
    EXPECT_EQ(resizes, 1);
    EXPECT_COLUMNS_OK(H());
    Tree->OnColumnResize = nullptr;
}

TEST_F(Columns, HostileRecordsLoadSafely)
{
    auto collection = [](std::int32_t Count, const std::vector<std::int32_t>& Positions) {
        std::string b;
        PutInt(b, Count);
        for (int i = 0; i < Count; ++i) b += ColumnRecord(6, 0xFF, false);
        for (std::int32_t p : Positions) PutInt(b, p);
        PutInt(b, 50);
        return b;
    };
    struct Case {
        const char* what;
        std::string bytes;
        bool raises;
        TIndexArray positions;
    };
    std::string hugeText;
    PutInt(hugeText, 1);
    PutInt(hugeText, 0x7FFFFFFF);  // text length far beyond the bytes
    std::string hugeCount;
    PutInt(hugeCount, 0x40000000);
    std::string negativeCount;
    PutInt(negativeCount, -3);
    std::string badEnum = collection(1, {0});
    badEnum[4 + 4 + 2 + 4 + 12] = 9;  // style ordinal 9
    const Case cases[] = {
        {"positions repeated", collection(3, {0, 0, 2}), false, {0, 1, 2}},
        {"positions out of range", collection(3, {2, 7, -1}), false, {0, 1, 2}},
        {"a permutation is kept", collection(3, {2, 0, 1}), false, {2, 0, 1}},
        {"text length beyond the bytes", hugeText, true, {}},
        {"column count beyond the bytes", hugeCount, true, {}},
        {"negative column count", negativeCount, true, {}},
        {"enumeration out of range", badEnum, true, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        plat::TMemoryStream s;
        s.LoadFromBytes(c.bytes);
        if (c.raises) EXPECT_TRUE(testsupport::ThrowsWith<plat::EReadError>([&] { C().LoadFromStream(s, 6); }, u"Stream read error"));
        else C().LoadFromStream(s, 6);
        EXPECT_EQ(C().PositionToIndex(), c.positions);
        EXPECT_FALSE(H().HasState(hsLoading));
        EXPECT_COLUMNS_OK(H());
    }
}

// Every mutant of valid header records loads into sound columns or raises the stream's read
// error; none crashes or allocates out of proportion to its size.
TEST_F(Columns, MutatedHeaderRecordsLoadSoundlyOrRaise)
{
    std::mt19937 rng(2310);
    std::vector<std::string> seeds;
    for (int n : {0, 1, 4}) {
        TBaseLazyTree t(nullptr);
        for (int i = 0; i < n; ++i) {
            auto* c = t.Header().Columns().Add();
            c->SetText(u"C" + plat::IntToStr(i));
            c->SetHint(u"h");
            if (i == 2) c->SetCaptionAlignment(taCenter);
        }
        if (n > 2) t.Header().Columns()[0]->SetPosition(2);
        t.Header().SetSortColumn(n - 1);
        plat::TMemoryStream s;
        t.Header().SaveToStream(s);
        seeds.push_back(s.Bytes());
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    int loaded = 0, raised = 0;
    for (int round = 0; round < 20000 && std::chrono::steady_clock::now() < deadline; ++round) {
        std::string m = seeds[rng() % seeds.size()];
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits && !m.empty(); ++e) {
            switch (rng() % 4) {
            case 0: m[rng() % m.size()] ^= char(1u << (rng() % 8)); break;
            case 1: m[rng() % m.size()] = char(rng()); break;
            case 2: m.resize(rng() % m.size()); break;
            case 3: m.insert(m.begin() + long(rng() % (m.size() + 1)), char(rng())); break;
            }
        }
        TBaseLazyTree t(nullptr);
        plat::TMemoryStream s;
        s.LoadFromBytes(m);
        try {
            t.Header().LoadFromStream(s);
            ++loaded;
        } catch (const plat::EReadError&) {
            ++raised;
        }
        ASSERT_EQ(CheckColumnInvariants(t.Header()), "") << "round " << round;
        ASSERT_FALSE(t.Header().HasState(hsLoading));
        ASSERT_LE(t.Header().Columns().Count(), static_cast<int>(m.size() / 48 + 1));
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(raised, 0);
}

} // namespace
} // namespace vtree::testing

namespace vtree::testing {
namespace {

TEST_F(Columns, VisibleHeaderTakesTheTopOfTheNonClientArea)
{
    Tree->SetBounds(0, 0, 200, 100);
    const int before = Tree->ClientHeight();
    H().SetOptions(H().Options() | HdrBit(hoVisible));
    EXPECT_EQ(Tree->ClientHeight(), before - 19);
    H().SetHeight(30);
    EXPECT_EQ(Tree->ClientHeight(), before - 30);
    EXPECT_COLUMNS_OK(H());
    struct Case {
        int y;
        bool inHeader, onEdge;
        plat::LRESULT hit;
    };
    const Case cases[] = {
        {-30, true, false, plat::HTBORDER}, {-3, true, false, plat::HTBORDER}, {-2, true, true, plat::HTBORDER},
        {-1, true, true, plat::HTBORDER},   {0, false, true, plat::HTCLIENT},  {1, false, true, plat::HTCLIENT},
        {2, false, false, plat::HTCLIENT},  {40, false, false, plat::HTCLIENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        const plat::TPoint p{20, c.y};
        EXPECT_EQ(H().InHeader(p), c.inHeader);
        EXPECT_EQ(H().InHeaderSplitterArea(p), c.onEdge);
        EXPECT_EQ(Tree->Perform(plat::WM_NCHITTEST, 0, plat::PointToLParam(Tree->ClientToScreen(p))), c.hit);
    }
    H().SetOptions(H().Options() & ~HdrBit(hoVisible));
    EXPECT_EQ(Tree->ClientHeight(), before);
    EXPECT_FALSE(H().InHeaderSplitterArea(plat::TPoint{20, 0}));
}

} // namespace
} // namespace vtree::testing
