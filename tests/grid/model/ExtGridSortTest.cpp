// Sorting of the string grid: the sort settings, cell comparison by style, every sort entry
// point and undoing a sort.
#include <gtest/gtest.h>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "TestSupport.h"

using namespace grid;
using grid::testing::GridFixture;
using testsupport::ThrowsWith;

namespace {

class SortSettingsTest : public GridFixture<> {};

TEST_F(SortSettingsTest, DefaultsAreThoseAGridStartsWith) {
    const TSortSettings& s = *grid->SortSettings();
    EXPECT_EQ(s.Column, -1);
    EXPECT_FALSE(s.Show());
    EXPECT_FALSE(s.IndexShow);
    EXPECT_EQ(s.IndexColor, 0x0000FFFF);
    EXPECT_EQ(s.IndexSortKey, ikShift);
    EXPECT_TRUE(s.Full);
    EXPECT_FALSE(s.SingleColumn);
    EXPECT_FALSE(s.IgnoreBlanks);
    EXPECT_EQ(s.BlankPos, blFirst);
    EXPECT_TRUE(s.AutoFormat);
    EXPECT_EQ(s.Direction, sdAscending);
    EXPECT_EQ(s.InitSortDirection, sdAscending);
    EXPECT_TRUE(s.UpGlyph()->Empty());
    EXPECT_TRUE(s.IndexDownGlyph()->Empty());
    EXPECT_FALSE(s.NormalCellsOnly);
    EXPECT_FALSE(s.FixedCols);
    EXPECT_EQ(s.Row(), 0);
    EXPECT_FALSE(s.UndoSort);
    EXPECT_FALSE(s.AutoColumnMerge);
    EXPECT_TRUE(s.AutoSortForGrouping);
    EXPECT_TRUE(s.SortOnVirtualCells);
    EXPECT_FALSE(s.IgnoreCase);
    EXPECT_EQ(s.HeaderColor(), TSortSettings::kColorNotSet);
    EXPECT_EQ(s.HeaderMirrorColorTo(), 0x1FFFFFFF);
}

TEST_F(SortSettingsTest, AssignCopiesAllButIgnoreCaseAndSortOnVirtualCells) {
    TSortSettings src(nullptr);
    src.Column = 3;
    src.SetShow(true);
    src.IndexShow = true;
    src.IndexColor = 0x123456;
    src.IndexSortKey = ikCtrl;
    src.Full = false;
    src.SingleColumn = true;
    src.IgnoreBlanks = true;
    src.BlankPos = blLast;
    src.AutoFormat = false;
    src.Direction = sdDescending;
    src.InitSortDirection = sdDescending;
    src.NormalCellsOnly = true;
    src.FixedCols = true;
    src.SetRow(2);
    src.UndoSort = true;
    src.AutoColumnMerge = true;
    src.AutoSortForGrouping = false;
    src.SortOnVirtualCells = false;
    src.IgnoreCase = true;
    src.SetHeaderColor(1);
    src.SetHeaderColorTo(2);
    src.SetHeaderMirrorColor(3);
    src.SetHeaderMirrorColorTo(4);
    src.SetUpGlyph(plat::TBitmap(4, 5));
    src.SetIndexDownGlyph(plat::TBitmap(6, 7));

    TSortSettings& d = *grid->SortSettings();
    d.Assign(&src);
    EXPECT_EQ(d.Column, 3);
    EXPECT_TRUE(d.Show());
    EXPECT_TRUE(d.IndexShow);
    EXPECT_EQ(d.IndexColor, 0x123456);
    EXPECT_EQ(d.IndexSortKey, ikCtrl);
    EXPECT_FALSE(d.Full);
    EXPECT_TRUE(d.SingleColumn);
    EXPECT_TRUE(d.IgnoreBlanks);
    EXPECT_EQ(d.BlankPos, blLast);
    EXPECT_FALSE(d.AutoFormat);
    EXPECT_EQ(d.Direction, sdDescending);
    EXPECT_EQ(d.InitSortDirection, sdDescending);
    EXPECT_TRUE(d.NormalCellsOnly);
    EXPECT_TRUE(d.FixedCols);
    EXPECT_EQ(d.Row(), 2);
    EXPECT_TRUE(d.UndoSort);
    EXPECT_TRUE(d.AutoColumnMerge);
    EXPECT_FALSE(d.AutoSortForGrouping);
    EXPECT_EQ(d.HeaderColor(), 1);
    EXPECT_EQ(d.HeaderColorTo(), 2);
    EXPECT_EQ(d.HeaderMirrorColor(), 3);
    EXPECT_EQ(d.HeaderMirrorColorTo(), 4);
    EXPECT_EQ(d.UpGlyph()->Width(), 4);
    EXPECT_EQ(d.IndexDownGlyph()->Height(), 7);
    EXPECT_TRUE(d.DownGlyph()->Empty());
    // Not copied.
    EXPECT_TRUE(d.SortOnVirtualCells);
    EXPECT_FALSE(d.IgnoreCase);

    // A source of another class changes nothing.
    TGrouping other;
    d.Assign(&other);
    EXPECT_EQ(d.Column, 3);
}

TEST_F(SortSettingsTest, RowMustBeAFixedRow) {
    static constexpr char16_t kMsg[] = u"Sort row should be smaller than number of fixed rows";
    struct Case { int fixedRows; int row; bool ok; };
    const Case cases[] = {
        {1, 0, true}, {1, 1, false}, {1, 2, false}, {2, 1, true}, {2, 2, false}, {0, 0, true}, {0, 1, false},
        {1, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "FixedRows " << c.fixedRows << ", Row " << c.row);
        grid->SetRowCount(5);
        grid->SetFixedRows(c.fixedRows);
        grid->SortSettings()->SetRow(0);
        if (c.ok) {
            grid->SortSettings()->SetRow(c.row);
            EXPECT_EQ(grid->SortSettings()->Row(), c.row);
        } else {
            EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->SortSettings()->SetRow(c.row); }, kMsg));
            EXPECT_EQ(grid->SortSettings()->Row(), 0);
        }
    }
}

TEST_F(SortSettingsTest, RemoveClearsColumnAndSortIndexes) {
    grid->SortSettings()->Column = 2;
    grid->SortIndexes()->AddIndex(2, true);
    grid->SortSettings()->Remove();
    EXPECT_EQ(grid->SortSettings()->Column, -1);
    EXPECT_EQ(grid->SortIndexes()->Count(), 0);
    grid->SortSettings()->ToggleDirection();
    EXPECT_EQ(grid->SortSettings()->Direction, sdDescending);
}

TEST_F(SortSettingsTest, GridAssignCopiesSortSettings) {
    grid->SortSettings()->Column = 4;
    grid->SortSettings()->BlankPos = blLast;
    auto* other = new TExtStringGrid(form.get());
    other->Assign(grid);
    EXPECT_EQ(other->SortSettings()->Column, 4);
    EXPECT_EQ(other->SortSettings()->BlankPos, blLast);
}

} // namespace
