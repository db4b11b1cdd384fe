// The floating footer: visibility and the fixed footer row, the calculations, templates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "plat/ExtCtrls.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// One fixed row, rows 1 .. 9 holding 1 .. 9 in column 1, the footer row 10.
class GridFooterTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 400, 300);
        grid->SetColCount(4);
        grid->SetRowCount(11);
        grid->SetFixedRows(1);
        for (int r = 1; r <= 9; ++r) grid->SetCells(1, r, plat::IntToStr(r));
    }
};

TEST_F(GridFooterTest, VisibleFooterTakesTheLastRowAsFixedFooter) {
    TFloatingFooter* ff = grid->FloatingFooter();
    ff->SetVisible(true);
    EXPECT_EQ(grid->FixedFooters, 1);
    EXPECT_TRUE(grid->HideLastRow());
    ASSERT_NE(grid->FooterPanel(), nullptr);
    EXPECT_TRUE(grid->FooterPanel()->Visible());
    EXPECT_EQ(grid->FooterPanel()->Height(), ff->Height() - 1);
    ff->SetFooterStyle(fsColumnPreview);
    EXPECT_FALSE(grid->HideLastRow()) << "a preview leaves the last row to the grid";
    ff->SetFooterStyle(fsFixedLastRow);
    ff->SetVisible(false);
    EXPECT_EQ(grid->FixedFooters, 0);
    EXPECT_FALSE(grid->HideLastRow());
    EXPECT_FALSE(grid->FooterPanel()->Visible());
}

TEST_F(GridFooterTest, Calculations) {
    TFloatingFooter* ff = grid->FloatingFooter();
    ff->SetColumnCalc(1, acSUM);
    EXPECT_EQ(grid->Cells(1, 10), u"") << "nothing while the footer is invisible";
    ff->SetVisible(true);
    ff->EnableCalculation = false;
    grid->CalcFooter(-1);
    EXPECT_EQ(grid->Cells(1, 10), u"") << "nothing with EnableCalculation off";
    ff->EnableCalculation = true;
    ff->SetColumnCalc(2, acCOUNT);
    EXPECT_EQ(grid->Cells(2, 10), u"9") << "acCOUNT: RowCount - FixedRows - 1";
    grid->CalcFooter(1);
    EXPECT_DOUBLE_EQ(grid->Floats(1, 10), 45);
    ff->SetColumnCalc(3, acCUSTOM);
    grid->OnFooterCalc = [](plat::TObject*, int ACol, int ARow, String& Value) {
        Value = u"c" + plat::IntToStr(ACol) + u"r" + plat::IntToStr(ARow);
    };
    grid->CalcFooter(3);
    EXPECT_EQ(grid->Cells(3, 10), u"c3r10");
    EXPECT_EQ(ff->GetColumnCalc(3), acCUSTOM);
    EXPECT_EQ(ff->GetColumnCalc(0), acNONE);
}

TEST_F(GridFooterTest, HiddenRowsExtendTheSummedRange) {
    TFloatingFooter* ff = grid->FloatingFooter();
    ff->SetVisible(true);
    grid->HideRows(2, 4);
    ASSERT_EQ(grid->NumHiddenRows(), 3);
    ff->SetColumnCalc(1, acSUM);
    EXPECT_DOUBLE_EQ(grid->Floats(1, grid->RowCount() - 1), 45) << "the three hidden rows are summed too";
    ff->SetColumnCalc(2, acCOUNT);
    EXPECT_EQ(grid->Cells(2, grid->RowCount() - 1), u"9");
    ff->CalculateHiddenRows = false;
    grid->CalcFooter(1);
    EXPECT_DOUBLE_EQ(grid->Floats(1, grid->RowCount() - 1), 45 - 2 - 3 - 4);
}

TEST(FooterTemplate, ColumnTagsAreFilled) {
    auto text = [](int n) { return n == 2 ? String(u"15") : u"col" + plat::IntToStr(n); };
    EXPECT_EQ(FillFooterTemplate(u"Total <#2> units", text), u"Total 15 units");
    EXPECT_EQ(FillFooterTemplate(u"a <#x> b", text), u"a  b") << "a non-numeric tag is dropped";
    EXPECT_EQ(FillFooterTemplate(u"<#0><#1>", text), u"col0col1");
    EXPECT_EQ(FillFooterTemplate(u"open <#2", text), u"open <#2") << "an unclosed tag stays";
}

TEST_F(GridFooterTest, FooterStylesRenderOnRequest) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to render";
    TFloatingFooter* ff = grid->FloatingFooter();
    ff->SetVisible(true);
    ff->SetBorderColor(plat::clNavy);
    ff->SetColumnCalc(1, acSUM);
    grid->SetCells(0, 10, u"Total");
    grid->SetRow(3);
    struct Style {
        TFooterStyle style;
        const char* name;
    } styles[] = {{fsFixedLastRow, "footer_last_row"}, {fsColumnPreview, "footer_column"}, {fsCustomPreview, "footer_template"}};
    ff->SetColumn(1);
    ff->SetCustomTemplate(u"Row value <B><#1></B> of <I>nine</I>");
    form->Show();
    for (const Style& s : styles) {
        ff->SetFooterStyle(s.style);
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + s.name + ".png"));
    }
}

} // namespace
