#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ExtCGrid.h"
#include "../GridFixture.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "../../platform/rtl/TestUtil.h"

using namespace grid;
namespace pt = plat::testing;
using plat::test::ThrowsWith;

namespace {

// Counts deletions so ownership can be checked.
struct Tracked : plat::TObject {
    explicit Tracked(int& n) : n_(n) {}
    ~Tracked() override { ++n_; }
    int& n_;
};

TEST(CellGraphicTest, OwnershipByKind) {
    struct Case {
        TCellType kind;
        bool created;
        int angle;
        int freed;
    };
    const Case cases[] = {
        {ctImages, false, 0, 1},   {ctBalloon, false, 0, 1},     {ctBitmap, false, 0, 0},
        {ctBitmap, true, 0, 1},    {ctRadio, true, 0, 1},        {ctRadio, false, 0, 0},
        {ctPicture, true, 0, 1},   {ctFilePicture, true, 0, 1},  {ctBitButton, true, 0, 1},
        {ctCheckBox, true, 0, 0},  {ctCheckBox, false, 1, 1},    {ctDataCheckBox, false, 1, 1},
        {ctRadioButton, false, 1, 1}, {ctInterface, true, 0, 0}, {ctProgress, true, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        int freed = 0;
        auto* object = new Tracked(freed);
        {
            TCellGraphic g;
            g.CellType = c.kind;
            g.CellCreated = c.created;
            g.CellAngle = c.angle;
            g.CellBitmap = object;
        }
        EXPECT_EQ(freed, c.freed);
        if (freed == 0) delete object;  // the caller's object
    }
}

TEST(CellGraphicTest, SettersAngleAssignAndPictureSize) {
    TCellGraphic g;
    g.SetAngle(-30);
    EXPECT_EQ(g.CellAngle, 330);
    g.SetAngle(720);
    EXPECT_EQ(g.CellAngle, 360);
    g.SetAngle(360);
    EXPECT_EQ(g.CellAngle, 360);
    g.SetButton(40, 20, u"Go", haFull, vaCenter);
    EXPECT_EQ(g.CellIndex, (20 << 16) | 40);
    g.CellVar = 3;
    g.CellCheckBoxState = plat::cbGrayed;
    TCellGraphic h;
    h.Assign(&g);
    EXPECT_EQ(h.CellType, ctButton);
    EXPECT_EQ(h.CellText, u"Go");
    EXPECT_EQ(h.CellIndex, g.CellIndex);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(h.CellVar));
    EXPECT_EQ(h.CellCheckBoxState, plat::cbUnchecked);

    plat::TPicture pic;
    pic.Bitmap()->SetSize(200, 100);
    struct Case {
        TStretchMode mode;
        int cw, rh, padding;
        TPoint size;
    };
    const Case cases[] = {
        {ShrinkWithAspectRatio, 100, 100, 0, {100, 50}}, {noStretch, 100, 100, 0, {200, 100}},
        {Stretch, 100, 100, 10, {90, 90}},               {Shrink, 300, 300, 0, {200, 100}},
        {Shrink, 150, 300, 0, {150, 300}},               {StretchWithAspectRatio, 400, 400, 0, {400, 200}},
        {StretchWithAspectRatio, 400, 100, 0, {200, 100}}, {ShrinkWithAspectRatio, 400, 400, 0, {200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        TCellGraphic p;
        p.SetPicture(&pic, false, c.mode, c.padding, haLeft, vaTop);
        TPoint size{-1, -1};
        p.GetPictureSize(c.cw, c.rh, false, size);
        EXPECT_EQ(size.X, c.size.X);
        EXPECT_EQ(size.Y, c.size.Y);
    }
    TPoint untouched{7, 7};
    g.GetPictureSize(10, 10, false, untouched);
    EXPECT_EQ(untouched.X, 7);
}

class ExtGridGraphicsTest : public grid::testing::GridFixture<> {};

TEST_F(ExtGridGraphicsTest, DataCheckBoxes) {
    std::vector<std::pair<int, bool>> changes;
    grid->OnCheckBoxChange = [&](plat::TObject*, int, int ARow, bool State) { changes.emplace_back(ARow, State); };
    struct Case {
        const char* what;
        String text;
        bool addState;
        String afterAdd;
        bool checked;
        String afterToggle;
    };
    const Case cases[] = {
        {"lower-case y reads unchecked", u"y", false, u"N", false, u"Y"},
        {"N kept though added checked", u"N", true, u"N", false, u"Y"},
        {"Y kept", u"Y", false, u"Y", true, u"N"},
        {"other text replaced by state", u"abc", true, u"Y", true, u"N"},
    };
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(1, row, c.text);
        if (c.text == u"y") {
            // A data check box whose text was changed behind it reads by its text.
            grid->AddCheckBox(1, row, false, true);
            grid->SetCells(1, row, u"y");
        } else {
            grid->AddCheckBox(1, row, c.addState, true);
            EXPECT_EQ(grid->Cells(1, row), c.afterAdd);
        }
        bool state = !c.checked;
        EXPECT_TRUE(grid->GetCheckBoxState(1, row, state));
        EXPECT_EQ(state, c.checked);
        EXPECT_TRUE(grid->ToggleCheckBox(1, row));
        EXPECT_EQ(grid->Cells(1, row), c.afterToggle);
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.back(), std::make_pair(row, c.afterToggle == u"Y"));
        ++row;
    }
    // A plain text cell has no check box and leaves the state alone.
    grid->SetCells(2, 1, u"Y");
    bool state = true;
    EXPECT_FALSE(grid->GetCheckBoxState(2, 1, state));
    EXPECT_TRUE(state);
    EXPECT_FALSE(grid->SetCheckBoxState(2, 1, false));
    EXPECT_FALSE(grid->ToggleCheckBox(2, 1));
    EXPECT_EQ(grid->Cells(2, 1), u"Y");
    // Setting writes the check texts and fires nothing.
    const std::size_t before = changes.size();
    EXPECT_TRUE(grid->SetCheckBoxState(1, 1, false));
    EXPECT_EQ(grid->Cells(1, 1), u"N");
    EXPECT_EQ(changes.size(), before);
    EXPECT_TRUE(grid->ChangeCheckBoxState(1, 1, true));
    EXPECT_TRUE(grid->ChangeCheckBoxState(1, 1, true));
    EXPECT_EQ(changes.size(), before + 1);
}

TEST_F(ExtGridGraphicsTest, InvalidCellAndRecordLifeCycle) {
    EXPECT_TRUE(ThrowsWith<plat::Exception>([&] { grid->AddCheckBox(5, 1, true, false); }, u"Invalid cell"));
    EXPECT_TRUE(ThrowsWith<plat::Exception>([&] { grid->AddCheckBox(1, 10, plat::cbChecked); }, u"Invalid cell"));
    EXPECT_TRUE(ThrowsWith<plat::Exception>([&] { grid->AddRadioButton(-1, 1, true); }, u"Invalid cell"));
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(grid->GetCellType(-1, 1), ctEmpty);
    grid->AddCheckBox(1, 1, true, false);
    EXPECT_EQ(grid->Cells(1, 1), u"");  // the empty cell stays empty
    EXPECT_EQ(grid->GetCellType(1, 1), ctCheckBox);
    EXPECT_TRUE(grid->IsChecked(1, 1));
    EXPECT_TRUE(grid->HasCheckBox(1, 1));
    EXPECT_TRUE(grid->IsControlCell(1, 1));
    EXPECT_FALSE(grid->IsDataControlCell(1, 1));
    grid->AddRadioButton(1, 1, false);  // replaces the record
    EXPECT_EQ(grid->GetCellType(1, 1), ctRadioButton);
    EXPECT_FALSE(grid->RemoveCellGraphicOfType(1, 1, ctCheckBox));
    EXPECT_TRUE(grid->RemoveCellGraphic(1, 1));
    EXPECT_FALSE(grid->RemoveCellGraphic(1, 1));
    grid->MergeCells(2, 2, 2, 2);
    grid->AddCheckBox(2, 2, true, false);
    EXPECT_TRUE(grid->HasCheckBox(3, 3));  // kind tests ask the base cell
}

TEST_F(ExtGridGraphicsTest, TriStateCycleAndReadOnlyRefusal) {
    grid->AddCheckBox(1, 1, plat::cbUnchecked);
    const plat::TCheckBoxState cycle[] = {plat::cbGrayed, plat::cbChecked, plat::cbUnchecked};
    for (plat::TCheckBoxState s : cycle) {
        grid->ToggleCheckBox(1, 1);
        plat::TCheckBoxState got = plat::cbChecked;
        ASSERT_TRUE(grid->GetCheckBoxState(1, 1, got));
        EXPECT_EQ(got, s);
    }
    EXPECT_TRUE(grid->SetCheckBoxState(1, 1, plat::cbChecked));
    bool b = false;
    EXPECT_TRUE(grid->GetCheckBoxState(1, 1, b));
    EXPECT_TRUE(b);

    grid->AddCheckBox(2, 1, false, true);
    grid->SetReadOnly(2, 1, true);
    grid->SetOptions(plat::TGridOptions{plat::goEditing});
    EXPECT_FALSE(grid->ToggleCheckBoxCell(2, 1, true));
    EXPECT_EQ(grid->Cells(2, 1), u"N");
    grid->ControlLook()->CheckAlwaysActive = true;
    EXPECT_TRUE(grid->ToggleCheckBoxCell(2, 1, true));
    EXPECT_EQ(grid->Cells(2, 1), u"Y");
}

TEST_F(ExtGridGraphicsTest, HotmailRowCheckBoxes) {
    grid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(grid->GetCellType(0, 4), ctRowCheckBox);
    grid->SetRowSelect(4, true);
    bool state = false;
    EXPECT_TRUE(grid->GetCheckBoxState(0, 4, state));
    EXPECT_TRUE(state);
    TCellGraphic* header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle, 1);  // some rows selected
    EXPECT_FALSE(header->CellBoolean);
    grid->SelectRows(1, 9);
    header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle, 0);
    EXPECT_TRUE(header->CellBoolean);
    EXPECT_TRUE(grid->ToggleCheckBox(0, 4));
    EXPECT_FALSE(grid->GetRowSelect(4));
    EXPECT_FALSE(grid->RemoveCellGraphic(0, 4));  // the shared record is never freed
}

TEST_F(ExtGridGraphicsTest, RadioButtonsAndGroups) {
    grid->AddRadioButtonColumn(2);
    grid->SetRadioButtonColumnIndex(2, 3);
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 3);
    EXPECT_TRUE(grid->SelectRadioButtonCell(2, 5, false));
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 5);
    EXPECT_FALSE(grid->IsRadioButtonChecked(2, 3));
    EXPECT_FALSE(grid->SelectRadioButtonCell(1, 5, false));

    plat::TStrings* items = grid->CreateRadio(1, 1, 0, -1);
    items->Add(u"a");
    items->Add(u"b");
    grid->SetCells(1, 1, u"b");
    grid->SelectNextRadioItem(1, 1, false);  // from the text "b": wraps to "a"
    EXPECT_EQ(grid->Cells(1, 1), u"a");
    int idx = -5;
    EXPECT_TRUE(grid->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    grid->SelectNextRadioItem(1, 1, false);
    EXPECT_EQ(grid->Cells(1, 1), u"b");
    EXPECT_TRUE(grid->SetRadioIdx(1, 1, -1));
    EXPECT_EQ(grid->Cells(1, 1), u"");
    EXPECT_EQ(grid->GetRadioStrings(1, 1), items);

    // A group without items selects nothing and leaves the text.
    grid->CreateRadio(3, 1, 1, 0);
    grid->SetCells(3, 1, u"x");
    grid->SelectNextRadioItem(3, 1, true);
    EXPECT_EQ(grid->Cells(3, 1), u"x");
}

class CheckColumnGridTest : public grid::testing::GridFixture<TExtColumnGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->Columns()->Items(2)->SetEditor(edDataCheckBox);
    }
};

TEST_F(CheckColumnGridTest, DataCheckBoxColumnNeedsNoRecord) {
    grid->SetCells(2, 3, u"Y");
    bool state = false;
    EXPECT_TRUE(grid->GetCheckBoxState(2, 3, state));
    EXPECT_TRUE(state);
    EXPECT_FALSE(grid->HasCellProperties(2, 3));
    EXPECT_EQ(grid->GetCellType(2, 3), ctDataCheckBox);
    EXPECT_EQ(grid->GetCellType(2, 0), ctEmpty);  // fixed row
    EXPECT_EQ(grid->GetCellType(1, 3), ctEmpty);
    int clicks = 0, lastCol = -1;
    grid->OnCheckBoxClick = [&](plat::TObject*, int ACol, int, bool) {
        ++clicks;
        lastCol = ACol;
    };
    EXPECT_TRUE(grid->ToggleCheckBoxCell(2, 3, true));
    EXPECT_EQ(grid->Cells(2, 3), u"N");
    grid->CheckBoxClick(2, 3, false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lastCol, 2);
    grid->Columns()->Items(2)->ReadOnly = true;
    EXPECT_FALSE(grid->ToggleCheckBoxCell(2, 3, true));
    EXPECT_EQ(grid->Cells(2, 3), u"N");
    EXPECT_FALSE(grid->HasCellProperties(2, 3));
}

} // namespace
