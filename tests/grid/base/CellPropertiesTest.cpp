#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "CellProperties.h"

using namespace grid;
using plat::TPoint;
using plat::TRect;

namespace {

// A 10 x 8 store with its properties objects, and the repaints they ask for.
struct Cells : TCellPropertiesOwner {
    plat::TGridCellStore store;
    std::vector<std::unique_ptr<TCellProperties>> owned;
    std::vector<TPoint> repaints;
    int cols = 10, rows = 8;

    TCellMap Map() { return TCellMap(store, cols, rows); }
    TCellProperties* Create(int c, int r) {
        if (auto* p = Map().Props(c, r)) return p;
        owned.push_back(std::make_unique<TCellProperties>(this, c, r));
        store.SetObject(c, r, owned.back().get());
        return owned.back().get();
    }
    TCellMap::TCreateProps Creator() { return [this](int c, int r) { return Create(c, r); }; }
    TCellMap::TRepaint Repainter() { return [this](int c, int r) { repaints.push_back({c, r}); }; }
    void RepaintCell(int c, int r) override { repaints.push_back({c, r}); }
    bool GridWordWrap() const override { return false; }
    void Merge(int c, int r, int sx, int sy) { Map().MergeCells(c, r, sx, sy, Creator(), Repainter()); }
    void Split(int c, int r) { Map().SplitCells(c, r, Creator(), Repainter()); }
};

TEST(MergedCells, SpanQueriesOfEveryCellOfAThreeByTwoArea) {
    Cells g;
    g.Merge(2, 3, 3, 2);
    ASSERT_EQ(g.Map().CheckMerges(), u"");
    struct Case { int c, r; bool base; TPoint spanXY, baseCell, span, ext; };
    const Case cases[] = {
        {2, 3, true, {2, 1}, {2, 3}, {2, 1}, {2, 1}},
        {3, 3, false, {1, 0}, {2, 3}, {2, 1}, {1, 1}},
        {4, 3, false, {2, 0}, {2, 3}, {2, 1}, {0, 1}},
        {2, 4, false, {0, 1}, {2, 3}, {2, 1}, {2, 0}},
        {3, 4, false, {1, 1}, {2, 3}, {2, 1}, {1, 0}},
        {4, 4, false, {2, 1}, {2, 3}, {2, 1}, {0, 0}},
    };
    auto map = g.Map();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "cell " << c.c << "," << c.r);
        const TCellProperties* p = map.Props(c.c, c.r);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->IsBaseCell, c.base);
        EXPECT_EQ((TPoint{p->CellSpanX, p->CellSpanY}), c.spanXY);
        EXPECT_EQ(map.BaseCell(c.c, c.r), c.baseCell);
        EXPECT_EQ(map.CellSpan(c.c, c.r), c.span);
        EXPECT_EQ(map.CellExt(c.c, c.r), c.ext);
        EXPECT_EQ(map.FullCell(c.c, c.r), (TRect{2, 3, 4, 4}));
        EXPECT_TRUE(map.IsMergedCell(c.c, c.r) || c.base == false || p->CellSpanX > 0);
        EXPECT_EQ(map.IsMergedNonBaseCell(c.c, c.r), !c.base && (p->CellSpanX > 0 || p->CellSpanY > 0));
        EXPECT_TRUE(map.IsXMergedCell(c.c, c.r));
        EXPECT_TRUE(map.IsYMergedCell(c.c, c.r));
        int bc = -1, br = -1;
        EXPECT_EQ(map.GetBaseCellOf(c.c, c.r, bc, br), c.base);
        EXPECT_EQ((TPoint{bc, br}), c.baseCell);
    }
    // Outside the area nothing is merged and reading created no properties.
    EXPECT_EQ(map.CellSpan(5, 3), (TPoint{0, 0}));
    EXPECT_EQ(map.BaseCell(5, 5), (TPoint{5, 5}));
    EXPECT_FALSE(map.HasCellProperties(5, 5));
    EXPECT_EQ(g.repaints.size(), 6u);
}

TEST(MergedCells, SplitOnAnyCellRestoresTheArea) {
    for (TPoint at : {TPoint{2, 3}, TPoint{4, 4}, TPoint{3, 4}}) {
        Cells g;
        g.Merge(2, 3, 3, 2);
        g.Split(at.X, at.Y);
        auto map = g.Map();
        EXPECT_EQ(map.CheckMerges(), u"");
        for (int c = 2; c <= 4; ++c)
            for (int r = 3; r <= 4; ++r) {
                const TCellProperties* p = map.Props(c, r);
                ASSERT_NE(p, nullptr);
                EXPECT_TRUE(p->IsBaseCell);
                EXPECT_EQ(p->CellSpanX, -1);
                EXPECT_EQ(p->CellSpanY, -1);
                EXPECT_FALSE(map.IsMergedCell(c, r));
            }
    }
}

TEST(MergedCells, MergingOverAnAreaReplacesIt) {
    Cells g;
    g.Merge(1, 1, 3, 3);
    g.Merge(3, 3, 2, 2);  // shares (3,3) with the first area
    auto map = g.Map();
    EXPECT_EQ(map.CheckMerges(), u"");
    EXPECT_EQ(map.BaseCell(4, 4), (TPoint{3, 3}));
    EXPECT_EQ(map.BaseCell(2, 2), (TPoint{2, 2})) << "the old area is gone";
    EXPECT_FALSE(map.IsMergedCell(1, 1));
}

TEST(MergedCells, SpansBelowOneChangeNothing) {
    Cells g;
    g.Merge(2, 2, 0, 3);
    g.Merge(2, 2, 3, -1);
    EXPECT_EQ(g.store.CellCount(), 0u);
}

TEST(MergedCells, CheckerFindsCorruptEncodings) {
    struct Case { const char* name; void (*corrupt)(Cells&); };
    const Case cases[] = {
        {"non-base cell outside its base's spans", [](Cells& g) { g.Create(6, 6)->CellSpanX = 0; g.Create(6, 6)->CellSpanY = 0;
             auto* p = g.Create(7, 6); p->IsBaseCell = false; p->CellSpanX = 1; p->CellSpanY = 0; }},
        {"area cell pointing at another base", [](Cells& g) { g.Merge(1, 1, 2, 2); g.Create(2, 2)->CellSpanX = 0; }},
        {"one span only", [](Cells& g) { g.Create(0, 0)->CellSpanX = 2; }},
        {"overlapping areas written directly", [](Cells& g) {
             g.Merge(1, 1, 2, 2);
             auto* p = g.Create(3, 1); p->CellSpanX = 1; p->CellSpanY = 0;  // base at (3,1) ...
             auto* q = g.Create(2, 1); q->IsBaseCell = false; q->CellSpanX = 1; q->CellSpanY = 0; }},
    };
    for (const auto& c : cases) {
        Cells g;
        c.corrupt(g);
        EXPECT_NE(g.Map().CheckMerges(), u"") << c.name;
    }
}

TEST(MergedCells, RowAndColumnSpanComparisons) {
    Cells g;
    g.Merge(1, 2, 2, 3);  // rows 2..4 in columns 1..2
    g.Merge(5, 3, 1, 2);  // rows 3..4 in column 5
    auto map = g.Map();
    EXPECT_EQ(map.MinRowSpan(3), 1);
    EXPECT_EQ(map.MaxRowSpan(3), 2);
    EXPECT_EQ(map.MinRowSpan(0), g.rows);
    EXPECT_TRUE(map.RowSpanIdentical(2, 4));
    EXPECT_FALSE(map.RowSpanIdentical(0, 1));
    bool found = true;
    EXPECT_TRUE(map.ColSpanIdentical(1, 2, found));
    EXPECT_TRUE(found);
    EXPECT_TRUE(map.ColSpanIdentical(7, 8, found));
    EXPECT_FALSE(found) << "no merged cell in either column";
    EXPECT_FALSE(map.ColSpanIdentical(1, 3, found));
}

TEST(CellProperties, DefaultsAssignAndRepaints) {
    Cells g;
    TCellProperties p(&g, 3, 4);
    EXPECT_TRUE(p.IsBaseCell);
    EXPECT_EQ(p.CellSpanX, -1);
    EXPECT_EQ(p.BrushColor(), plat::clNone);
    EXPECT_FALSE(p.WordWrap()) << "taken from the grid";
    p.SetBrushColor(plat::clRed);
    p.Alignment = plat::taCenter;
    EXPECT_EQ(g.repaints, (std::vector<TPoint>{{3, 4}}));
    p.SetBrushColorTo(plat::clBlue);
    p.CalcType = acSUM;
    p.ReadOnly = true;
    TCellProperties q(nullptr, 0, 0);
    q.Assign(&p);
    EXPECT_EQ(q.BrushColor(), plat::clRed);
    EXPECT_EQ(q.Alignment, plat::taCenter);
    EXPECT_TRUE(q.ReadOnly);
    EXPECT_EQ(q.OwnerCol, 3);
    EXPECT_EQ(q.BrushColorTo(), plat::clNone) << "gradient end is not copied";
    EXPECT_EQ(q.CalcType, acNONE);
}

} // namespace

namespace {

// Random merges and splits: the encoding stays consistent after every one of them.
TEST(MergedCells, RandomMergesAndSplitsKeepTheEncoding) {
    std::mt19937 rng(777);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    Cells g;
    for (int step = 0; step < 400; ++step) {
        const int c = pick(8), r = pick(6);
        if (pick(3) == 0) g.Split(c, r);
        else g.Merge(c, r, 1 + pick(3), 1 + pick(3));
        const plat::String fault = g.Map().CheckMerges();
        ASSERT_EQ(fault, u"") << "step " << step << ": " << plat::StringToUtf8(fault);
    }
}

} // namespace
