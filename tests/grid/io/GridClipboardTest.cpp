// Copying cells to the clipboard: the text form, the grid's own cell format beside it, filling
// cells from the text, and a clipboard held by another program.
#include <gtest/gtest.h>

#include <string>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "GridFileFixture.h"
#include "plat/Clipbrd.h"
#include "plat/Controls.h"
#include "plat/Streams.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;

namespace {

using testsupport::ThrowsWith;

class GridClipboardTest : public grid::testing::GridFileTest {
protected:
    TExtStringGrid* MakeGrid(int cols, int rows) {
        TExtStringGrid* g = NewGrid();
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    void TearDown() override {
        plat::HoldClipboard(false);
        grid::testing::GridFileTest::TearDown();
    }
};

TEST_F(GridClipboardTest, TextForm) {
    TExtStringGrid* g = MakeGrid(4, 4);
    g->SetCells(1, 1, u"a");
    g->SetCells(2, 1, u"b");
    g->SetCells(1, 2, u"c");
    g->SetCells(2, 2, u"d");
    g->SetCells(3, 3, u"x\r\ny");
    g->SetCells(1, 3, u"p\rq\nr");
    struct Case {
        const char* name;
        plat::TGridRect sel;
        const char16_t* text;
    };
    const std::vector<Case> cases = {
        {"two by two", {1, 1, 2, 2}, u"a\tb\r\nc\td\r\n"},
        {"one row", {1, 1, 2, 1}, u"a\tb"},
        {"one LF per line break", {3, 3, 3, 3}, u"\"x\ny\""},
        {"CR, LF alone", {1, 3, 1, 3}, u"\"p\nq\nr\""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        g->SetSelection(k.sel);
        g->CopySelectionToClipboard();
        EXPECT_EQ(plat::Clipboard().AsText(), k.text);
        EXPECT_EQ(g->GetSelectionAsText(), k.text);
        EXPECT_EQ(g->ClipTopLeft.X, k.sel.Left);
        EXPECT_EQ(g->ClipTopLeft.Y, k.sel.Top);
    }
    EXPECT_EQ(g->ClipLastOp, TExtStringGrid::coCopy);
    // Without the grid's own format the clipboard holds only text.
    EXPECT_FALSE(plat::Clipboard().HasFormat(plat::RegisterClipboardFormat(u"TExtStringGrid Cells")));
}

// Text copied from one grid fills another with the same texts, multi-line cells included,
// and the hidden column's cells stay in their real column.
TEST_F(GridClipboardTest, TextRoundTrip) {
    TExtStringGrid* g = MakeGrid(4, 3);
    g->SetCells(0, 0, u"a");
    g->SetCells(1, 0, u"hidden");
    g->SetCells(2, 0, u"x\r\ny");
    g->SetCells(3, 0, EncodeEscapedUnicode(u"\u4e2dz"));
    ASSERT_EQ(g->Cells(3, 0).substr(0, 2), u"|\\");  // a wide cell: "|\\" and the escaped characters
    g->SetCells(0, 1, u"c");
    g->SetCells(3, 1, u"d");
    g->HideColumn(1);
    g->SetSelection(plat::TGridRect{0, 0, 2, 1});
    g->CopySelectionToClipboard();
    EXPECT_EQ(plat::Clipboard().AsText(), u"a\t\"x\ny\"\t\u4e2dz\r\nc\t\td\r\n");
    TExtStringGrid* h = MakeGrid(4, 2);
    h->SetSelection(plat::TGridRect{1, 0, 1, 0});
    h->SetSelectionAsText(plat::Clipboard().AsText());
    EXPECT_EQ(h->Cells(1, 0), u"a");
    EXPECT_EQ(h->Cells(2, 0), u"x\r\ny");
    EXPECT_EQ(h->Cells(3, 0), u"\u4e2dz");
    EXPECT_EQ(h->Cells(1, 1), u"c");
    EXPECT_EQ(h->Cells(3, 1), u"d");
    EXPECT_EQ(h->RowCount(), 2);  // the final line end adds no row
    Check(*h);
    // Columns grow to hold every field; rows grow while more lines follow.
    h->SetSelection(plat::TGridRect{3, 1, 3, 1});
    h->SetSelectionAsText(u"1\t2\r\n3");
    EXPECT_EQ(h->ColCount(), 5);
    EXPECT_EQ(h->RowCount(), 3);
    EXPECT_EQ(h->Cells(4, 1), u"2");
    EXPECT_EQ(h->Cells(3, 2), u"3");
}

// With AllowFmtClipboard the cells travel with their properties in the cell format.
TEST_F(GridClipboardTest, CellFormat) {
    TExtStringGrid* g = MakeGrid(4, 4);
    g->Navigation()->AllowFmtClipboard = true;
    g->SetCells(2, 2, u"prop");
    g->GetCellProperties(2, 2)->SetBrushColor(0x00123456);
    g->SetSelection(plat::TGridRect{2, 2, 3, 3});
    g->CopySelectionToClipboard();
    const plat::UINT fmt = plat::RegisterClipboardFormat(u"TExtStringGrid Cells");
    ASSERT_TRUE(plat::Clipboard().HasFormat(fmt));
    EXPECT_EQ(plat::Clipboard().AsText(), u"prop\t\r\n\t\r\n");
    plat::TMemoryStream m;
    m.LoadFromBytes(plat::Clipboard().GetAsHandle(fmt));
    TExtStringGrid* h = MakeGrid(3, 3);
    h->LoadAtPointFromBinStream(plat::TPoint{0, 0}, m);
    EXPECT_EQ(h->Cells(0, 0), u"prop");
    EXPECT_EQ(h->GetCellProperties(0, 0)->BrushColor(), 0x00123456);
}

TEST_F(GridClipboardTest, MergedCornersWidenTheSelection) {
    TExtStringGrid* g = MakeGrid(5, 5);
    g->SetCells(1, 1, u"m");
    g->MergeCells(1, 1, 2, 2);
    g->SetCells(3, 3, u"n");
    g->MergeCells(3, 3, 2, 1);
    g->SetSelection(plat::TGridRect{2, 2, 3, 3});
    g->CopySelectionToClipboard();
    EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 1, 4, 3}));
}

TEST_F(GridClipboardTest, HeldClipboard) {
    TExtStringGrid* g = MakeGrid(2, 2);
    plat::HoldClipboard(true);
    EXPECT_TRUE(ThrowsWith<plat::EClipboardException>([&] { g->CopyToClipBoard(); }, u"Cannot open clipboard"));
}

} // namespace
