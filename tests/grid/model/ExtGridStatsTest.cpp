// Column and row statistics of the string grid, checked against values computed
// independently (math.fsum, statistics.mean, statistics.pstdev, min, max).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

struct StatsCase {
    const char* name;
    std::vector<plat::String> cells;
    double sum, avg, min, max, stdev;
};

const StatsCase kGenerated[] = {
#include "data/ColumnStatsCases.inc"
};

class StatsTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    // Column 1 of rows 1 .. n holds the texts; row 0 is fixed.
    void Column(const std::vector<plat::String>& texts) {
        grid->SetColCount(3);
        grid->SetRowCount(static_cast<int>(texts.size()) + 1);
        grid->SetFixedRows(1);
        grid->SetCells(1, 0, u"header");
        for (std::size_t i = 0; i < texts.size(); ++i) grid->SetCells(1, static_cast<int>(i) + 1, texts[i]);
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

void ExpectNear(double got, double want, const char* what) {
    const double tol = 1e-9 * std::max(1.0, std::fabs(want));
    EXPECT_NEAR(got, want, tol) << what;
}

TEST_F(StatsTest, GeneratedColumnsMatchTheReference) {
    for (const StatsCase& k : kGenerated) {
        SCOPED_TRACE(k.name);
        Column(k.cells);
        ExpectNear(grid->ColumnSum(1, -1, -1), k.sum, "sum");
        ExpectNear(grid->ColumnAvg(1, -1, -1), k.avg, "avg");
        ExpectNear(grid->ColumnMin(1, -1, -1), k.min, "min");
        ExpectNear(grid->ColumnMax(1, -1, -1), k.max, "max");
        ExpectNear(grid->ColumnStdDev(1, -1, -1), k.stdev, "stdev");
    }
}

TEST_F(StatsTest, NodeAndSummaryRowsStayOutOfSumsAndDivisors) {
    Column({u"10", u"1", u"2", u"3", u"6", u"20", u"4", u"6"});
    // Rows 1 and 6 head groups; rows 5 and 8 are summary rows.
    grid->AddNode(1, 4);
    grid->AddNode(6, 2);
    grid->AddSummary(5);
    grid->AddSummary(8);
    EXPECT_GRID_OK(*grid);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 10.0);
    EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, -1, -1), 2.5);
    EXPECT_DOUBLE_EQ(grid->ColumnMin(1, -1, -1), 1.0);
    EXPECT_DOUBLE_EQ(grid->ColumnMax(1, -1, -1), 4.0);
    EXPECT_DOUBLE_EQ(grid->ColumnStdDev(1, -1, -1), std::sqrt(1.25));
    // A contracted group's hidden rows count over a real range; its node row is shown and
    // stays out.
    grid->ContractNode(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 4.0);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, grid->AllRowCount() - 1), 10.0);
}

TEST_F(StatsTest, RangesHiddenColumnsAndMerges) {
    grid->SetColCount(4);
    grid->SetRowCount(6);
    grid->SetFixedRows(1);
    const char16_t* texts[] = {u"h", u"1", u"2", u"4", u"8", u"16"};
    for (int r = 0; r < 6; ++r) grid->SetCells(2, r, texts[r]);
    grid->HideColumn(1);
    // Display column 1 is real column 2.
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 31.0);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 2, 3), 6.0);
    EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, 3, 2), 0.0);
    grid->MergeCells(2, 3, 1, 2);  // row 4 is covered
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 23.0);
    EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, -1, -1), 23.0 / 4);
    grid->HideRow(5);
    EXPECT_GRID_OK(*grid);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, -1, -1), 7.0);
    EXPECT_DOUBLE_EQ(grid->ColumnSum(1, 1, 5), 23.0);
}

TEST_F(StatsTest, DistinctCustomAndRowStatistics) {
    Column({u"a", u"A", u"b"});
    EXPECT_DOUBLE_EQ(grid->ColumnDistinct(1, -1, -1), 2.0);
    EXPECT_DOUBLE_EQ(grid->ColumnCustomCalc(1, -1, -1), 0.0);
    grid->OnColumnCalc = [](plat::TObject*, int ACol, int FromRow, int ToRow, double& Res) {
        Res = ACol * 100 + FromRow * 10 + ToRow;
    };
    EXPECT_DOUBLE_EQ(grid->ColumnCustomCalc(1, 2, 3), 123.0);

    grid->SetColCount(6);
    const char16_t* row[] = {u"x", u"5", u"1-2", u"-3", u"7", u"2"};
    for (int c = 0; c < 6; ++c) grid->SetCells(c, 2, row[c]);
    EXPECT_DOUBLE_EQ(grid->RowSum(2, 1, 5), 11.0);
    EXPECT_DOUBLE_EQ(grid->RowAvg(2, 1, 5), 11.0 / 5);
    EXPECT_DOUBLE_EQ(grid->RowMin(2, 1, 5), -3.0);
    EXPECT_DOUBLE_EQ(grid->RowMax(2, 1, 5), 7.0);
    grid->MergeCells(3, 2, 2, 1);  // column 4 is covered
    EXPECT_DOUBLE_EQ(grid->RowMax(2, 1, 5), 5.0);
    EXPECT_TRUE(testsupport::ThrowsWith<EExtGridError>([&] { grid->RowMin(2, 2, 5); },
                                                      u"Cell does not contain a float value"));
}

} // namespace
