// Undo and redo of cell changes through the grid's undo link.
#include <gtest/gtest.h>

#include <memory>

#include "BaseGrid.h"
#include "BaseGridUndo.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class UndoTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TBaseGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(4);
        grid->SetRowCount(4);
        undo = new TExtGridUndoRedo(form.get());
        grid->SetUndoRedo(undo);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    // Writes the cell and registers the change, as the edit commit does.
    void Change(int c, int r, const plat::String& v) {
        const plat::String old = grid->Cells(c, r);
        grid->SetCells(c, r, v);
        undo->RegisterChange(c, r, v, old);
    }
    std::unique_ptr<plat::TForm> form;
    TBaseGrid* grid = nullptr;
    TExtGridUndoRedo* undo = nullptr;
};

TEST_F(UndoTest, TheLinkIsTwoWayAndClearedWhenEitherSideGoes) {
    EXPECT_EQ(undo->Grid(), grid);
    delete undo;
    EXPECT_EQ(grid->UndoRedo(), nullptr);
    auto* other = new TExtGridUndoRedo(form.get());
    grid->SetUndoRedo(other);
    delete grid;
    EXPECT_EQ(other->Grid(), nullptr);
}

TEST_F(UndoTest, SingleChangesUndoAndRedoInOrder) {
    Change(1, 1, u"a");
    Change(2, 1, u"b");
    Change(3, 1, u"c");
    undo->Undo();
    undo->Undo();
    undo->Redo();
    EXPECT_EQ(grid->Cells(1, 1), u"a");
    EXPECT_EQ(grid->Cells(2, 1), u"b");
    EXPECT_EQ(grid->Cells(3, 1), u"");
    EXPECT_TRUE(undo->CanRedo());
    EXPECT_EQ(undo->Level(), 2);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(UndoTest, ASequenceGoesBackAndForthAsOne) {
    undo->StartSequence();
    Change(1, 1, u"x");
    Change(1, 2, u"y");
    undo->StopSequence();
    EXPECT_EQ(undo->Level(), 4);
    undo->Undo();
    EXPECT_EQ(undo->Level(), 0);
    EXPECT_EQ(grid->Cells(1, 1), u"");
    EXPECT_EQ(grid->Cells(1, 2), u"");
    undo->Redo();
    EXPECT_EQ(undo->Level(), 4);
    EXPECT_EQ(grid->Cells(1, 1), u"x");
    EXPECT_EQ(grid->Cells(1, 2), u"y");
}

TEST_F(UndoTest, MaxLevelDropsTheOldestChange) {
    undo->MaxLevel = 2;
    Change(1, 1, u"a");
    Change(1, 2, u"b");
    Change(1, 3, u"c");
    ASSERT_EQ(undo->Items()->Count(), 2);
    EXPECT_EQ(undo->Items()->Items(0)->Value, u"b");
    EXPECT_EQ(undo->Level(), 2);
}

TEST_F(UndoTest, ResetLeavesNothingToUndo) {
    Change(1, 1, u"a");
    undo->Reset();
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_FALSE(undo->CanRedo());
    undo->Undo();
    EXPECT_EQ(grid->Cells(1, 1), u"a");
}

TEST_F(UndoTest, AChangeAfterAnUndoDropsTheUndoneChanges) {
    Change(1, 1, u"a");
    Change(1, 1, u"b");
    undo->Undo();  // back to "a"
    Change(2, 2, u"z");
    EXPECT_FALSE(undo->CanRedo());
    undo->Undo();
    undo->Undo();
    EXPECT_EQ(grid->Cells(1, 1), u"");  // "b" is never applied again
    EXPECT_EQ(grid->Cells(2, 2), u"");
    EXPECT_FALSE(undo->CanUndo());
}

TEST_F(UndoTest, EventsSeeThePresentAndTheNextText) {
    Change(1, 1, u"new");
    plat::String seen;
    undo->OnUndo = [&](plat::TObject*, TBaseGrid* g, int c, int r, const plat::String& o, const plat::String& n) {
        EXPECT_EQ(g, grid);
        seen = plat::IntToStr(c) + u"," + plat::IntToStr(r) + u":" + o + u">" + n;
    };
    undo->Undo();
    EXPECT_EQ(seen, u"1,1:new>");
    undo->OnRedo = [&](plat::TObject*, TBaseGrid*, int, int, const plat::String& o, const plat::String& n) {
        seen = o + u">" + n;
    };
    undo->Redo();
    EXPECT_EQ(seen, u">new");
}

} // namespace
