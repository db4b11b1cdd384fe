// Node rows of the string grid: levels, expanding and contracting through the hidden-row
// store, parents, child rows, and spans through structural operations.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class NodesTest : public grid::testing::GridFixture<> {
protected:
    // Rows 0 .. rows-1 hold "r<real row>" in column 1.
    void Fill(int rows) {
        grid->SetColCount(3);
        grid->SetRowCount(rows);
        grid->SetFixedRows(1);
        for (int r = 0; r < rows; ++r) grid->SetCells(1, r, u"r" + plat::IntToStr(r));
    }
    std::vector<plat::String> Shown() {
        std::vector<plat::String> v;
        for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(1, r));
        return v;
    }
    // (real row, span, sub-nodes, contracted) of every node.
    std::vector<std::tuple<int, int, int, bool>> Books() {
        std::vector<std::tuple<int, int, int, bool>> v;
        for (int n : grid->NodeRealRows()) {
            const TCellGraphic* g = grid->NodeRecordReal(n);
            v.emplace_back(n, g->CellIndex, g->CellErrFrom, g->CellBoolean);
        }
        return v;
    }
};

TEST_F(NodesTest, AddNodeGivesItsSpanALevelAndContractingHidesTheRowsBelow) {
    Fill(10);
    grid->SetCol(0);
    grid->AddNode(2, 3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumNodes(), 1);
    EXPECT_TRUE(grid->HasNodes());
    EXPECT_EQ(grid->Col(), 1);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->RealRowLevel(r), r >= 2 && r <= 4 ? 1 : 0) << r;
    EXPECT_EQ(grid->GetNodeLevel(2), 1);
    EXPECT_EQ(grid->GetNodeSpan(2), 3);
    EXPECT_EQ(grid->GetCellType(0, 2), ctNode);
    EXPECT_FALSE(grid->GetNodeState(2));

    grid->ContractNode(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_TRUE(grid->GetNodeState(2));
    EXPECT_TRUE(grid->IsHiddenRow(3));
    EXPECT_TRUE(grid->IsHiddenRow(4));
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r2", u"r5", u"r6", u"r7", u"r8", u"r9"}));

    grid->SetNodeState(2, false);
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->GetNodeState(2));
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->Cells(1, 4), u"r4");
}

TEST_F(NodesTest, PlainRowsAndGridsWithoutNodesAnswerTheirDefaults) {
    Fill(6);
    EXPECT_EQ(grid->GetParentRow(3), -1);
    EXPECT_EQ(grid->GetRowIndent(3), 0);
    grid->AddNode(1, 2);
    EXPECT_GRID_OK(*grid);
    struct Case {
        int row;
        bool node;
        int span, level, subs;
    };
    const Case cases[] = {{1, true, 2, 1, 0}, {2, false, -1, -1, 0}, {4, false, -1, -1, 0}, {-1, false, -1, -1, 0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.row);
        EXPECT_EQ(grid->IsNode(k.row), k.node);
        EXPECT_EQ(grid->GetNodeSpan(k.row), k.span);
        EXPECT_EQ(grid->GetNodeLevel(k.row), k.level);
        EXPECT_EQ(grid->GetSubNodeCount(k.row), k.subs);
        EXPECT_FALSE(grid->IsSummary(k.row));
    }
    EXPECT_EQ(grid->GetParentRow(4), -1);
    grid->SetNodeSpan(2, 5);  // not a node: nothing changes
    EXPECT_EQ(grid->GetNodeSpan(2), -1);
    grid->UpdateNodeSpan(1, 1);
    grid->UpdateSubNodeCount(1, 2);
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
    EXPECT_EQ(grid->GetSubNodeCount(1), 2);
    grid->SetNodeSpan(1, 40);  // kept inside the grid
    EXPECT_EQ(grid->GetNodeSpan(1), 5);
    EXPECT_GRID_OK(*grid);
}

TEST_F(NodesTest, ExpandOneContractsTheOtherExpandedNodes) {
    Fill(10);
    grid->CellNode()->ExpandOne = true;
    grid->AddNode(1, 3);
    grid->AddNode(4, 3);
    grid->AddNode(7, 3);
    grid->ContractNode(4);
    EXPECT_GRID_OK(*grid);
    grid->ExpandNode(4);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r4", u"r5", u"r6", u"r7"}));
    EXPECT_TRUE(grid->NodeRecordReal(1)->CellBoolean);
    EXPECT_FALSE(grid->NodeRecordReal(4)->CellBoolean);
    EXPECT_TRUE(grid->NodeRecordReal(7)->CellBoolean);
    grid->ExpandAll();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_TRUE(grid->CellNode()->ExpandOne);
}

// Node A in row 1 spans rows 1 .. 7; node B in row 3 spans rows 3 .. 5.
class NestedNodesTest : public NodesTest {
protected:
    void SetUp() override {
        NodesTest::SetUp();
        Fill(10);
        grid->AddNode(1, 7);
        grid->AddNode(3, 3);
        EXPECT_GRID_OK(*grid);
    }
};

TEST_F(NestedNodesTest, LevelsAndParents) {
    const int levels[] = {0, 1, 1, 2, 2, 2, 1, 1, 0, 0};
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->RealRowLevel(r), levels[r]) << r;
    struct Case {
        int row, parent;
    };
    for (const Case k : {Case{4, 3}, Case{5, 3}, Case{6, 1}, Case{3, 1}, Case{1, 1}, Case{2, 1}, Case{8, -1}}) {
        SCOPED_TRACE(k.row);
        EXPECT_EQ(grid->GetParentRow(k.row), k.parent);
    }
    grid->ContractNode(3);
    EXPECT_GRID_OK(*grid);
    // Display row 4 is real row 6 now.
    EXPECT_EQ(grid->GetParentRow(4), 1);
    grid->CellNode()->SetNodeIndent(10);
    EXPECT_EQ(grid->GetRowIndent(3), 20);
    EXPECT_EQ(grid->GetRowIndent(4), 10);
    EXPECT_EQ(grid->GetRowIndent(0), 0);
}

TEST_F(NestedNodesTest, ContractingTheOuterNodeOpensTheInnerOneAndExpandingShowsAll) {
    grid->ContractNode(3);
    grid->ContractNode(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r8", u"r9"}));
    EXPECT_FALSE(grid->NodeRecordReal(3)->CellBoolean);
    grid->ExpandNode(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 10);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->Cells(1, r), u"r" + plat::IntToStr(r));
}

TEST_F(NestedNodesTest, AfterContractAllExpandingTheOuterNodeKeepsTheInnerRowsHidden) {
    grid->ContractAll();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r8", u"r9"}));
    EXPECT_TRUE(grid->NodeRecordReal(3)->CellBoolean);
    grid->ExpandNode(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r2", u"r3", u"r6", u"r7", u"r8", u"r9"}));
    EXPECT_TRUE(grid->GetNodeState(3));
    grid->ExpandNode(3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 10);
    grid->ContractAll();
    grid->ExpandAll();
    EXPECT_GRID_OK(*grid);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->Cells(1, r), u"r" + plat::IntToStr(r));
}

TEST_F(NestedNodesTest, RemoveNodeExpandsAndLowersTheLevels) {
    grid->ContractNode(3);
    grid->RemoveNode(3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->NumNodes(), 1);
    for (int r = 3; r <= 5; ++r) EXPECT_EQ(grid->RealRowLevel(r), 1);
    grid->ContractNode(1);
    grid->RemoveAllNodes();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumNodes(), 0);
    EXPECT_EQ(grid->RowCount(), 10);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->RealRowLevel(r), 0);
    grid->AddNode(2, 2);
    grid->Clear();
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->HasNodes());
}

TEST_F(NestedNodesTest, ChildRowsAreInverse) {
    const auto before = Books();
    // A child row in front of real row 4, inside B: B and A both grow.
    grid->InsertChildRow(4, 0);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(Books(), (std::vector<std::tuple<int, int, int, bool>>{{1, 8, 1, false}, {3, 4, 1, false}}));
    EXPECT_EQ(grid->RealRowLevel(4), 2);
    EXPECT_EQ(grid->Cells(1, 4), u"");
    EXPECT_EQ(grid->Cells(1, 5), u"r4");
    grid->RemoveChildRow(4);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Books(), before);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->Cells(1, r), u"r" + plat::IntToStr(r));
}

TEST_F(NodesTest, ChildRowUnderANodeRowTakesTheNodeRowsCells) {
    Fill(6);
    grid->AddNode(1, 3);
    grid->SetCells(2, 1, u"value");
    grid->SetColors(2, 1, plat::clRed);
    grid->ContractNode(1);
    EXPECT_GRID_OK(*grid);
    grid->InsertChildRow(1, 0);
    EXPECT_GRID_OK(*grid);
    EXPECT_TRUE(grid->IsNode(1));
    EXPECT_FALSE(grid->GetNodeState(1));
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    EXPECT_EQ(grid->GetSubNodeCount(1), 1);
    EXPECT_EQ(grid->Cells(1, 1), u"");
    EXPECT_EQ(grid->Cells(2, 1), u"");
    EXPECT_EQ(grid->Cells(1, 2), u"r1");
    EXPECT_EQ(grid->Cells(2, 2), u"value");
    EXPECT_EQ(grid->Colors(2, 2), plat::clRed);
    EXPECT_EQ(grid->RealRowLevel(2), 1);
    grid->RemoveChildRow(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
    EXPECT_EQ(grid->GetSubNodeCount(1), 0);
}

TEST_F(NodesTest, SpansFollowInsertedRemovedAndMovedRows) {
    struct Case {
        const char* what;
        void (*op)(TExtStringGrid&);
        int span;     // of the node in display row 2 afterwards
        int rows;     // RowCount afterwards
    };
    const Case cases[] = {
        {"insert inside the span", [](TExtStringGrid& g) { g.InsertRows(3, 2); }, 5, 12},
        {"insert right after the span", [](TExtStringGrid& g) { g.InsertRows(5, 2); }, 3, 12},
        {"insert before the node", [](TExtStringGrid& g) { g.InsertRows(1, 1); }, 3, 11},
        {"remove inside the span", [](TExtStringGrid& g) { g.RemoveRows(3, 1); }, 2, 9},
        {"remove across the span's end", [](TExtStringGrid& g) { g.RemoveRows(4, 3); }, 2, 7},
        {"swap rows", [](TExtStringGrid& g) { g.SwapRows(3, 7); }, 3, 10},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        grid->RemoveAllNodes();
        Fill(10);
        grid->AddNode(2, 3);
        k.op(*grid);
        EXPECT_GRID_OK(*grid);
        EXPECT_EQ(grid->RowCount(), k.rows);
        const int d = grid->Cells(1, 2) == u"r2" ? 2 : 3;
        EXPECT_EQ(grid->GetNodeSpan(d), k.span);
    }
    // Rows inserted inside a span take the level of the innermost node holding them.
    grid->RemoveAllNodes();
    Fill(10);
    grid->AddNode(1, 6);
    grid->AddNode(2, 3);
    grid->InsertRows(3, 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RealRowLevel(3), 2);
    grid->ContractNode(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(Shown(), (std::vector<plat::String>{u"r0", u"r1", u"r7", u"r8", u"r9"}));
}

TEST_F(NodesTest, RemovingOrMovingNodeRowsKeepsCountAndSpansInsideTheGrid) {
    Fill(10);
    grid->AddNode(2, 3);
    grid->AddNode(6, 4);
    grid->ContractNode(2);
    EXPECT_GRID_OK(*grid);
    // Display row 2 is the contracted node; removing it brings its hidden rows back, as no
    // node holds them any more.
    grid->RemoveRows(2, 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumNodes(), 1);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(grid->Cells(1, 2), u"r3");
    EXPECT_EQ(grid->Cells(1, 3), u"r4");
    // The remaining node, now real row 5, moved to the last row: its span is cut there.
    grid->MoveRow(5, grid->RowCount() - 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->GetNodeSpan(grid->RowCount() - 1), 1);
    grid->MoveRows(1, 8, 2);
    EXPECT_GRID_OK(*grid);
    grid->RemoveRows(1, grid->RowCount() - 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumNodes(), 0);
}

TEST_F(NodesTest, NodeButtonHitByNodeType) {
    Fill(6);
    grid->AddNode(1, 3);
    grid->AddNode(2, 2);  // level 2
    grid->CellNode()->SetNodeIndent(12);
    struct Case {
        TNodeType type;
        int row, x;
        bool hit;
    };
    const Case cases[] = {
        {cnXP, 1, 4, false},   {cnXP, 1, 5, true},    {cnXP, 1, 15, true},   {cnXP, 1, 16, false},
        {cn3D, 1, 0, false},   {cn3D, 1, 1, true},    {cn3D, 1, 17, true},   {cn3D, 1, 18, false},
        {cnLeaf, 1, 2, false}, {cnLeaf, 1, 3, true},  {cnLeaf, 1, 19, true}, {cnLeaf, 1, 20, false},
        {cnGlyph, 1, 0, false}, {cnGlyph, 1, 1, true}, {cnGlyph, 1, 11, true}, {cnGlyph, 1, 12, false},
        {cnXP, 2, 16, false},  {cnXP, 2, 17, true},   {cnXP, 2, 27, true},   {cnXP, 2, 28, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.type << " row " << k.row << " x " << k.x);
        grid->CellNode()->SetNodeType(k.type);
        EXPECT_EQ(grid->IsNodeButtonHit(k.row, k.x), k.hit);
    }
    grid->MouseActions()->PreciseNodeClick = false;
    EXPECT_TRUE(grid->IsNodeButtonHit(1, 500));
}

TEST_F(NodesTest, NodeSpanTypesForTreeLines) {
    Fill(8);
    grid->AddNode(1, 4);
    grid->AddNode(2, 2);
    // rows: 1 node L1, 2 node L2, 3 L2, 4 L1, 5.. no properties
    const int types[] = {1, 0, 0, 1, 1, 1, 1, 1};
    for (int r = 1; r < 8; ++r) EXPECT_EQ(grid->GetNodeSpanType(r), types[r]) << r;
    grid->AddNode(5, 2);
    EXPECT_EQ(grid->GetNodeSpanType(4), 2);
}

TEST_F(NodesTest, CellNodeDefaultsAssignAndRepaint) {
    TCellNode* n = grid->CellNode();
    EXPECT_EQ(n->Color, 0xC0C0C0u);
    EXPECT_EQ(n->NodeType(), cnXP);
    EXPECT_EQ(n->NodeColor, 0u);
    EXPECT_FALSE(n->ExpandOne);
    EXPECT_TRUE(n->ShowTree());
    EXPECT_TRUE(n->ShowTreeFull());
    EXPECT_EQ(n->NodeIndent(), 12);
    EXPECT_EQ(n->TreeColor(), 0x808080u);
    EXPECT_TRUE(n->ExpandGlyph()->Empty());
    EXPECT_EQ(n->Owner, grid);
    TCellNode other;
    other.SetNodeType(cnLeaf);
    other.SetTreeColor(plat::clSilver);
    other.SetNodeIndent(20);
    other.ExpandOne = true;
    plat::TBitmap glyph(9, 9);
    other.SetExpandGlyph(glyph);
    n->Assign(&other);
    EXPECT_EQ(n->NodeType(), cnLeaf);
    EXPECT_EQ(n->TreeColor(), plat::clSilver);
    EXPECT_EQ(n->NodeIndent(), 20);
    EXPECT_TRUE(n->ExpandOne);
    EXPECT_EQ(n->ExpandGlyph()->Width(), 9);
    EXPECT_EQ(n->Owner, grid);
    EXPECT_NE(n->ExpandGlyph(), other.ExpandGlyph());
    int changes = 0;
    other.OnChange = [&] { ++changes; };
    other.SetShowTree(false);
    other.SetShowTree(false);
    other.Color = 1;
    EXPECT_EQ(changes, 1);
}

// Seeded random node operations mixed with structural row operations: the checker holds after
// every step, and expanding everything brings every row back.
TEST_F(NodesTest, RandomNodeAndRowOperationsKeepTheInvariants) {
    for (unsigned seed : {1u, 5u, 7u, 42u, 2026u}) {
        SCOPED_TRACE(seed);
        grid->RemoveAllNodes();
        grid->UnHideRowsAll();
        Fill(24);
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
        int rows = 24;
        for (int step = 0; step < 300; ++step) {
            const std::vector<int> nodes = grid->NodeRealRows();
            const int node = nodes.empty() ? -1 : nodes[static_cast<std::size_t>(pick(static_cast<int>(nodes.size())))];
            const int op = pick(11);
            SCOPED_TRACE(::testing::Message() << "step " << step << " op " << op);
            switch (op) {
            case 0:
            case 1: grid->AddNode(1 + pick(grid->AllRowCount() - 1), pick(7)); break;
            case 2: if (node >= 0) grid->RemoveNode(node); break;
            case 3:
            case 4: if (node >= 0) grid->ContractNode(node); break;
            case 5: if (node >= 0) grid->ExpandNode(node); break;
            case 6: {
                const int n = 1 + pick(2);
                grid->InsertRows(1 + pick(grid->RowCount() - 1), n);
                rows += n;
                break;
            }
            case 7:
                if (grid->RowCount() > 4) {
                    const int before = grid->AllRowCount();
                    grid->RemoveRows(1 + pick(grid->RowCount() - 2), 1);
                    rows -= before - grid->AllRowCount();
                }
                break;
            case 8: grid->SwapRows(1 + pick(grid->RowCount() - 1), 1 + pick(grid->RowCount() - 1)); break;
            case 9: pick(2) ? grid->ContractAll() : grid->ExpandAll(); break;
            case 10: {
                const int d = 1 + pick(grid->RowCount() - 1);
                const int before = grid->AllRowCount();
                if (pick(2))
                    grid->InsertChildRow(grid->RealRowIndex(d), pick(2));
                else if (grid->RowCount() > 4)
                    grid->RemoveChildRow(grid->RealRowIndex(d));
                rows += grid->AllRowCount() - before;
                break;
            }
            }
            EXPECT_GRID_OK(*grid);
            ASSERT_EQ(grid->AllRowCount(), rows);
            // Only nodes hide rows here: every hidden row lies in a contracted node's span.
            for (const TGridItem& item : grid->GridItems().Items()) {
                bool held = false;
                for (int n : grid->NodeRealRows())
                    held = held || (grid->NodeRecordReal(n)->CellBoolean && item.Idx > n && item.Idx <= grid->NodeGroupEnd(n));
                ASSERT_TRUE(held) << "hidden real row " << item.Idx << " is held by no contracted node";
            }
        }
        grid->ExpandAll();
        EXPECT_GRID_OK(*grid);
        EXPECT_EQ(grid->NumHiddenRows(), 0);
        EXPECT_EQ(grid->RowCount(), rows);
    }
}

} // namespace
