// Mouse and keyboard interaction with the tree's header, driven through the test kit's
// injector at client coordinates (negative Y are the header rows, which arrive as the
// non-client messages), and the drag image that follows a dragged column. The columns'
// bookkeeping (ColumnInvariants.h) is checked after every interaction.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.HintWindow.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Menus.h"
#include "plat/Testing.h"

namespace vtree::testing {
namespace {

using plat::TPoint;

class HeaderMouse : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        PrepareSharedResources();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(40, 40, 420, 260);
        tree = new TLazyStringTree(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 360, 200);
        tree->SetBorderStyle(plat::bsNone);
        tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType, String& T) {
            T = u"text";
        };
        for (int i = 0; i < 4; ++i) C().Add()->SetWidth(100);
        H().SetOptions(H().Options() | HdrBit(hoVisible));
        form->Show();
        plat::testing::ProcessEvents();
        ASSERT_EQ(H().Height(), 19);
        ASSERT_EQ(tree->RangeX(), 400);
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    TLTHeader& H() { return tree->Header(); }
    TLazyTreeColumns& C() { return H().Columns(); }
    void Options(std::initializer_list<TLTHeaderOption> Add, std::initializer_list<TLTHeaderOption> Drop = {})
    {
        TLTHeaderOptions o = H().Options();
        for (auto a : Add) o |= HdrBit(a);
        for (auto d : Drop) o &= ~HdrBit(d);
        H().SetOptions(o);
    }
    void Press(int X, int Y, plat::TMouseButton B = plat::mbLeft)
    {
        plat::testing::Press(tree, X, Y, B);
        EXPECT_COLUMNS_OK(H());
    }
    void Move(int X, int Y)
    {
        plat::testing::Move(tree, X, Y);
        EXPECT_COLUMNS_OK(H());
    }
    void Release(int X, int Y, plat::TMouseButton B = plat::mbLeft)
    {
        plat::testing::Release(tree, X, Y, B);
        EXPECT_COLUMNS_OK(H());
        EXPECT_EQ(H().States() & ~HsBit(hsLoading), 0u);
    }
    void Click(int X, int Y, plat::TMouseButton B = plat::mbLeft)
    {
        Press(X, Y, B);
        Release(X, Y, B);
    }
    std::vector<TColumnIndex> Order() const { return tree->Header().Columns().PositionToIndex(); }

    std::unique_ptr<plat::TForm> form;
    TLazyStringTree* tree = nullptr;
};

// ---- splitters ---------------------------------------------------------------------------------------

TEST_F(HeaderMouse, SplitterZoneReachesThreePixelsInsideAndFiveOutside)
{
    // The right edge of column 0 lies at client X 100.
    struct Case {
        int x;
        bool splitter;
        TColumnIndex pressed;
    };
    const Case cases[] = {{96, false, 0}, {97, false, 0}, {98, true, -1}, {100, true, -1},
                          {104, true, -1}, {105, false, 1}, {106, false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Press(c.x, -10);
        EXPECT_EQ(H().HasState(hsColumnWidthTrackPending), c.splitter);
        EXPECT_EQ(C().TrackIndex(), c.splitter ? 0 : NoColumn);
        EXPECT_EQ(C().DownIndex(), c.pressed);
        Release(c.x, -10);
        EXPECT_EQ(C()[0]->Width(), 100);
    }
}

TEST_F(HeaderMouse, DraggingASplitterResizesLiveAndFiresTheTrackingEvents)
{
    std::vector<std::string> events;
    tree->OnBeforeColumnWidthTracking = [&](TLTHeader*, TColumnIndex C, plat::TShiftState) {
        events.push_back("before " + std::to_string(C));
    };
    tree->OnColumnWidthTracking = [&](TLTHeader*, TColumnIndex, plat::TShiftState, TPoint& Track, TPoint P, bool&) {
        events.push_back("track " + std::to_string(Track.X) + "," + std::to_string(P.X));
    };
    tree->OnAfterColumnWidthTracking = [&](TLTHeader*, TColumnIndex C) { events.push_back("after " + std::to_string(C)); };
    Press(201, -5);
    EXPECT_EQ(C().TrackIndex(), 1);
    Move(210, -5);  // the first move only starts tracking
    EXPECT_TRUE(H().HasState(hsColumnWidthTracking));
    EXPECT_EQ(C()[1]->Width(), 100);
    Move(240, 30);
    EXPECT_EQ(C()[1]->Width(), 140);
    EXPECT_EQ(tree->RangeX(), 440);
    Move(105, 30);  // below MinWidth: clamped
    EXPECT_EQ(C()[1]->Width(), 10);
    Release(160, 30);
    EXPECT_EQ(C()[1]->Width(), 10);  // the release itself does not move the edge
    EXPECT_EQ(events, (std::vector<std::string>{"before 1", "track 100,240", "track 100,105", "after 1"}));
    EXPECT_EQ(C().TrackIndex(), NoColumn);
}

TEST_F(HeaderMouse, SplitterOfAScrolledTreeFollowsTheScrolledEdges)
{
    tree->SetOffsetX(-40);
    ASSERT_EQ(tree->EffectiveOffsetX(), 40);
    Press(160, -5);  // column 1's right edge, 200 unscrolled
    EXPECT_EQ(C().TrackIndex(), 1);
    Move(161, -5);
    Move(180, -5);
    Release(180, -5);
    EXPECT_EQ(C()[1]->Width(), 120);
}

TEST_F(HeaderMouse, FixedAreaEdgeCanBeDraggedAlongTheNodes)
{
    for (int i = 0; i < 5; ++i) tree->AddChild(nullptr);
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    // Along the nodes only the fixed area's edge counts; below the last node nothing does.
    struct Case {
        int x, y;
        bool splitter;
    };
    const Case cases[] = {{100, 10, true}, {100, 60, true}, {200, 10, false}, {100, 150, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        Press(c.x, c.y);
        EXPECT_EQ(H().HasState(hsColumnWidthTrackPending), c.splitter);
        Release(c.x, c.y);
    }
    Press(100, 20);
    Move(101, 20);
    Move(80, 20);
    Release(80, 20);
    EXPECT_EQ(C()[0]->Width(), 80);
}

TEST_F(HeaderMouse, SplitterCursorsComeFromTheApplicationTable)
{
    ASSERT_NE(plat::Screen->Cursors(62), nullptr);
    ASSERT_NE(plat::Screen->Cursors(63), nullptr);
    auto shows = [&](int X, int Y, plat::TCursor Id) {
        Move(X, Y);
        return plat::testing::ShowsCursor(tree, X, Y, Id);
    };
    EXPECT_TRUE(shows(100, -10, 63));
    EXPECT_FALSE(shows(50, -10, 63));
    EXPECT_FALSE(shows(50, -1, 62));
    Options({hoHeightResize});
    EXPECT_TRUE(shows(50, -1, 62));
    plat::TCursor asked = 0;
    tree->OnGetHeaderCursor = [&](TLTHeader*, plat::TCursor& Cursor) {
        asked = Cursor;
        Cursor = plat::crHandPoint;
    };
    EXPECT_TRUE(shows(100, -10, plat::crHandPoint));
    EXPECT_EQ(asked, 63);
}

// ---- the bottom edge -----------------------------------------------------------------------------------

TEST_F(HeaderMouse, BottomEdgeZoneIsTheRowsAroundTheClientTop)
{
    Options({hoHeightResize});
    struct Case {
        int y;
        bool edge;
        TColumnIndex pressed;
    };
    const Case cases[] = {{-3, false, 0}, {-2, true, -1}, {1, true, -1}, {2, false, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        Press(50, c.y);
        EXPECT_EQ(H().HasState(hsHeightTrackPending), c.edge);
        EXPECT_EQ(C().DownIndex(), c.pressed);
        Release(50, c.y);
    }
}

TEST_F(HeaderMouse, HeightFollowsTheEdgeAndADoubleClickRestoresTheDefault)
{
    Options({hoHeightResize, hoHeightDblClickResize});
    H().SetDefaultHeight(25);
    ASSERT_EQ(H().Height(), 25);
    int after = 0;
    tree->OnAfterHeaderHeightTracking = [&](TLTHeader*) { ++after; };
    Press(50, 0);
    Move(50, 1);
    Move(50, 15);  // 15 below the client top: the header grows by 15
    EXPECT_EQ(H().Height(), 40);
    Release(50, 0);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(H().Height(), 40);
    // The columns (400) are wider than the client (360): the horizontal bar takes its height too.
    ASSERT_NE(tree->WindowStyle() & plat::WS_HSCROLL, 0u);
    EXPECT_EQ(tree->ClientHeight(), 200 - 40 - plat::GetSystemMetrics(plat::SM_CYHSCROLL));
    plat::testing::DoubleClick(tree, 50, -1);
    EXPECT_EQ(H().Height(), 25);
    EXPECT_COLUMNS_OK(H());
}

// ---- column dragging -------------------------------------------------------------------------------------

// The dragged button shows on the screen whether or not the display blends translucent
// windows: without a compositor its window is shaped by the picture's opaque pixels, which
// for a button are all of them.
TEST_F(HeaderMouse, DragImageShowsWithAndWithoutACompositor)
{
    for (bool composites : {false, true}) {
        SCOPED_TRACE(composites ? "compositor" : "no compositor");
        plat::testing::SetDisplayComposites(composites);
        tree->SetDragThreshold(5);
        Press(30, -10);
        Move(30, -2);
        ASSERT_TRUE(H().HasState(hsDragging));
        ASSERT_NE(H().DragImage(), nullptr);
        plat::TWinControl* w = H().DragImage()->Window();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(plat::IsWindowVisible(w->Handle()));
        int shown = 0;
        for (int y = 0; y < w->Height(); ++y)
            for (int x = 0; x < w->Width(); ++x)
                shown += !plat::testing::HasWindowMask(w) || plat::testing::InWindowMask(w, x, y);
        EXPECT_EQ(shown, w->Width() * w->Height()) << "every pixel of the button shows";
        Release(30, -2);
        plat::testing::SetDisplayComposites(std::nullopt);
    }
}

TEST_F(HeaderMouse, DragStartsOnlyBeyondTheThreshold)
{
    tree->SetDragThreshold(5);
    Press(30, -10);
    EXPECT_TRUE(H().HasState(hsDragPending));
    EXPECT_EQ(C().DownIndex(), 0);
    Move(35, -10);
    Move(30, -5);
    EXPECT_TRUE(H().HasState(hsDragPending));
    ASSERT_EQ(H().DragImage(), nullptr);
    Move(30, -4);  // 6 in Y
    EXPECT_TRUE(H().HasState(hsDragging));
    EXPECT_EQ(C().DownIndex(), NoColumn);
    EXPECT_EQ(C().DragIndex(), 0);
    ASSERT_NE(H().DragImage(), nullptr);
    EXPECT_TRUE(H().DragImage()->Visible());
    // The image is the button: as wide as the column, as high as the header, at its place.
    const plat::TRect r = H().DragImage()->GetDragImageRect();
    const TPoint origin = tree->ClientToScreen(TPoint{0, -19});
    EXPECT_EQ(r, (plat::TRect{origin.X, origin.Y, origin.X + 100, origin.Y + 19}));
    Move(60, -4);
    EXPECT_EQ(H().DragImage()->GetDragImageRect().Left, origin.X + 30);
    Release(60, -4);
    EXPECT_FALSE(H().DragImage()->Visible());
}

TEST_F(HeaderMouse, DragCanBeRefusedByTheEvent)
{
    tree->OnHeaderDragging = [](TLTHeader*, TColumnIndex, bool& Allowed) { Allowed = false; };
    Press(30, -10);
    Move(80, -10);
    EXPECT_TRUE(H().HasState(hsDragPending));
    Release(80, -10);
    EXPECT_EQ(Order(), (std::vector<TColumnIndex>{0, 1, 2, 3}));
}

TEST_F(HeaderMouse, DropSideAndDirectionGiveTheNewPosition)
{
    tree->SetBounds(0, 0, 400, 200);
    struct Case {
        int fromPosition;
        int dropX;  // inside the column at the target position
        int expected;
    };
    const Case cases[] = {
        {0, 275, 2},  // right half of position 2
        {0, 215, 1},  // left half of position 2
        {3, 115, 1},  // left half of position 1
        {3, 175, 2},  // right half of position 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fromPosition) + " to " + std::to_string(c.dropX));
        for (int i = 0; i < 4; ++i) C()[i]->SetPosition(static_cast<TColumnPosition>(i));
        ASSERT_EQ(Order(), (std::vector<TColumnIndex>{0, 1, 2, 3}));
        std::vector<std::pair<TColumnIndex, int>> dragged;
        tree->OnHeaderDragged = [&](TLTHeader*, TColumnIndex Col, int Old) { dragged.push_back({Col, Old}); };
        const int startX = c.fromPosition * 100 + 50;
        Press(startX, -10);
        Move(startX + 10, -10);
        Move(c.dropX, -10);
        EXPECT_EQ(C().DropTarget(), c.dropX / 100);
        Release(c.dropX, -10);
        EXPECT_EQ(static_cast<int>(C()[c.fromPosition]->Position()), c.expected);
        EXPECT_EQ(dragged, (std::vector<std::pair<TColumnIndex, int>>{{c.fromPosition, c.fromPosition}}));
        EXPECT_EQ(C().DropTarget(), NoColumn);
    }
}

TEST_F(HeaderMouse, ReleaseOutsideTheTreeIsADragOutAndKeepsTheOrder)
{
    std::vector<TPoint> out;
    tree->OnHeaderDraggedOut = [&](TLTHeader*, TColumnIndex Col, TPoint P) {
        EXPECT_EQ(Col, 1);
        out.push_back(P);
    };
    bool dragged = false;
    tree->OnHeaderDragged = [&](TLTHeader*, TColumnIndex, int) { dragged = true; };
    Press(150, -10);
    Move(170, -10);
    Move(250, -10);
    Move(380, -10);  // right of the tree, on the form
    Release(380, -10);
    EXPECT_FALSE(dragged);
    EXPECT_EQ(out, (std::vector<TPoint>{tree->ClientToScreen(TPoint{380, -10})}));
    EXPECT_EQ(Order(), (std::vector<TColumnIndex>{0, 1, 2, 3}));
    // Dropped back on itself: also out, nothing moves.
    Press(150, -10);
    Move(170, -10);
    Release(170, -10);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(Order(), (std::vector<TColumnIndex>{0, 1, 2, 3}));
}

TEST_F(HeaderMouse, EscapeCancelsADragAndKeepsATrackedWidth)
{
    tree->SetFocus();
    Press(50, -10);
    Move(60, -10);
    Move(250, -10);
    ASSERT_TRUE(H().HasState(hsDragging));
    plat::testing::Key(plat::VK_ESCAPE);
    EXPECT_EQ(H().States(), 0u);
    EXPECT_FALSE(H().DragImage()->Visible());
    Release(250, -10);
    EXPECT_EQ(Order(), (std::vector<TColumnIndex>{0, 1, 2, 3}));

    int after = 0;
    tree->OnAfterColumnWidthTracking = [&](TLTHeader*, TColumnIndex) { ++after; };
    Press(100, -10);
    Move(101, -10);
    Move(130, -10);
    plat::testing::Key(plat::VK_ESCAPE);
    EXPECT_EQ(H().States(), 0u);
    EXPECT_EQ(after, 1);
    Move(160, -10);
    Release(160, -10);
    EXPECT_EQ(C()[0]->Width(), 130);
    EXPECT_EQ(after, 1);
}

// ---- clicks -----------------------------------------------------------------------------------------------

TEST_F(HeaderMouse, ClicksSortOnlyWithTheLeftButtonAndFlipTheDirection)
{
    Options({hoHeaderClickAutoSort});
    C()[2]->SetDefaultSortDirection(sdDescending);
    std::vector<TLTHeaderHitInfo> clicks;
    tree->OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& Hit) { clicks.push_back(Hit); };
    struct Step {
        int x;
        plat::TMouseButton button;
        TColumnIndex sortColumn;
        TSortDirection direction;
    };
    const Step steps[] = {
        {250, plat::mbLeft, 2, sdDescending},  // its default direction
        {250, plat::mbLeft, 2, sdAscending},   // flipped
        {150, plat::mbRight, 2, sdAscending},  // right clicks never sort
        {150, plat::mbMiddle, 2, sdAscending},
        {150, plat::mbLeft, 1, sdAscending},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.x) + " button " + std::to_string(s.button));
        Click(s.x, -10, s.button);
        EXPECT_EQ(H().SortColumn, s.sortColumn);
        EXPECT_EQ(H().SortDirection, s.direction);
        ASSERT_FALSE(clicks.empty());
        EXPECT_EQ(clicks.back().Button, s.button);
        EXPECT_EQ(clicks.back().Column, s.x / 100);
        EXPECT_EQ(clicks.back().Y, 9);
        EXPECT_EQ(clicks.back().HitPosition, HhiBit(hhiOnColumn));
    }
    EXPECT_EQ(clicks.size(), 5u);
}

TEST_F(HeaderMouse, ClickOnAColumnThatCannotBeClickedReportsNowhere)
{
    // Without column dragging the release is the header's own click.
    Options({hoHeaderClickAutoSort}, {hoDrag});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coAllowClick));
    std::vector<TLTHeaderHitInfo> clicks;
    tree->OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& Hit) { clicks.push_back(Hit); };
    Click(150, -10);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Column, NoColumn);
    EXPECT_EQ(clicks[0].HitPosition, HhiBit(hhiNoWhere));
    EXPECT_EQ(H().SortColumn, NoColumn);
    EXPECT_EQ(C().ClickIndex(), NoColumn);
}

TEST_F(HeaderMouse, CheckBoxClickAdvancesTheStateWithoutSorting)
{
    Options({hoHeaderClickAutoSort, hoShowImages});
    C()[1]->SetCheckBox(true);
    tree->Invalidate();
    plat::testing::ProcessEvents();
    ASSERT_TRUE(C()[1]->HasImage());
    const plat::TRect img = C()[1]->ImageRect();  // window coordinates, Y from the header's top
    std::vector<TLTHeaderHitInfo> clicks;
    tree->OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& Hit) { clicks.push_back(Hit); };
    const int x = img.Left + 3, y = img.Top + 3 - H().Height();
    Press(x, y);
    EXPECT_TRUE(C().CheckBoxHit());
    Release(x, y);
    EXPECT_EQ(C()[1]->CheckState(), csCheckedNormal);
    EXPECT_EQ(H().SortColumn, NoColumn);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].HitPosition, HhiBit(hhiOnColumn) | HhiBit(hhiOnIcon) | HhiBit(hhiOnCheckbox));
    // A right click on the box reports it but leaves the state.
    Click(x, y, plat::mbRight);
    EXPECT_EQ(C()[1]->CheckState(), csCheckedNormal);
    // Beside the box the column sorts.
    Click(img.Right + 20, y);
    EXPECT_EQ(H().SortColumn, 1);
}

TEST_F(HeaderMouse, DoubleClickOnASplitterFitsTheColumn)
{
    tree->AddChild(nullptr);
    Options({hoDblClickResize});
    std::vector<TColumnIndex> asked;
    tree->OnColumnWidthDblClickResize = [&](TLTHeader*, TColumnIndex C, plat::TShiftState, TPoint, bool&) {
        asked.push_back(C);
    };
    const int fitted = tree->GetMaxColumnWidth(1, true);
    ASSERT_NE(fitted, 100);
    plat::testing::DoubleClick(tree, 200, -10);
    EXPECT_EQ(asked, (std::vector<TColumnIndex>{1}));
    EXPECT_EQ(C()[1]->Width(), fitted);
    EXPECT_EQ(C()[0]->Width(), 100);
    EXPECT_COLUMNS_OK(H());
}

TEST_F(HeaderMouse, DoubleClickOnAButtonFiresTheDoubleClickEvent)
{
    std::vector<TLTHeaderHitInfo> dbl;
    tree->OnHeaderDblClick = [&](TLTHeader*, const TLTHeaderHitInfo& Hit) { dbl.push_back(Hit); };
    plat::testing::DoubleClick(tree, 250, -10);
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0].Column, 2);
    EXPECT_TRUE(dbl[0].Shift & plat::ssDouble);
}

TEST_F(HeaderMouse, MouseEventsReportHeaderCoordinates)
{
    Options({}, {hoDrag});
    std::vector<std::string> events;
    tree->OnHeaderMouseDown = [&](TLTHeader*, plat::TMouseButton B, plat::TShiftState, int X, int Y) {
        events.push_back("down " + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y));
    };
    tree->OnHeaderMouseUp = [&](TLTHeader*, plat::TMouseButton B, plat::TShiftState, int X, int Y) {
        events.push_back("up " + std::to_string(B) + " " + std::to_string(X) + "," + std::to_string(Y));
    };
    Click(30, -15);
    Click(40, -4, plat::mbMiddle);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 30,4", "up 0 30,4", "down 2 40,15", "up 2 40,15"}));
    // With column dragging the press takes the capture and the release arrives as a client
    // message: it is still reported in header coordinates.
    events.clear();
    Options({hoDrag});
    Click(30, -15);
    EXPECT_EQ(events, (std::vector<std::string>{"up 0 30,4"}));
}

TEST_F(HeaderMouse, RightClickShowsTheAssignedMenuElseTheAutomaticOne)
{
    Options({hoAutoColumnPopupMenu});
    responder().AnswerPopup(-1);
    Click(150, -10, plat::mbRight);
    ASSERT_EQ(responder().Popups().size(), 1u);
    ASSERT_NE(C().ColumnPopupMenu(), nullptr);
    EXPECT_EQ(C().ColumnPopupMenu()->Items()->Count(), 4);

    plat::TPopupMenu own(form.get());
    own.Items()->Add(new plat::TMenuItem(&own));
    H().SetPopupMenu(&own);
    Options({}, {hoAutoColumnPopupMenu});
    responder().AnswerPopup(-1);
    Click(150, -10, plat::mbRight);
    ASSERT_EQ(responder().Popups().size(), 2u);
    H().SetPopupMenu(nullptr);
}

TEST_F(HeaderMouse, HoverFollowsTheMouseAndTheTimerClearsItOutside)
{
    Move(150, -10);
    EXPECT_EQ(C().HoverIndex(), 1);
    Move(250, -10);
    EXPECT_EQ(C().HoverIndex(), 2);
    Move(250, 50);  // into the node area: no header message, the timer notices
    EXPECT_EQ(C().HoverIndex(), 2);
    plat::testing::AdvanceClock(60);
    EXPECT_EQ(C().HoverIndex(), NoColumn);
}

// A move onto another header button reaches the application's hint handling only with
// hoShowHint: the tree's hint shows after the pause, and stays while the mouse stays over the
// button.
TEST_F(HeaderMouse, HeaderMovesReachTheHintHandlingWithShowHint)
{
    tree->SetHint(u"columns");
    tree->SetShowHint(true);
    C()[1]->SetHint(u"the second column");
    for (bool showHint : {false, true}) {
        SCOPED_TRACE(showHint);
        if (showHint) Options({hoShowHint});
        else Options({}, {hoShowHint});
        Move(600, 100);                    // away: the hover timer clears the hover column
        plat::testing::AdvanceClock(60);
        plat::Application->CancelHint();
        Move(150, -10);
        plat::testing::AdvanceClock(static_cast<std::uint32_t>(plat::Application->HintPause()));
        plat::THintWindow* hint = plat::Application->ActiveHintWindow();
        EXPECT_EQ(hint != nullptr, showHint);
        if (!hint) continue;
        // The hovered column's hint, below the header.
        auto* lazy = dynamic_cast<TLazyTreeHintWindow*>(hint);
        ASSERT_NE(lazy, nullptr);
        EXPECT_EQ(lazy->HintData().HintText, u"the second column");
        EXPECT_GE(hint->Top(), tree->ClientToScreen(TPoint{0, 0}).Y);
        Move(160, -8);  // the same button
        EXPECT_NE(plat::Application->ActiveHintWindow(), nullptr);
        Move(250, -8);  // the next button: the hint belonged to the column it left
        EXPECT_EQ(plat::Application->ActiveHintWindow(), nullptr);
        // A column without a hint shows none.
        plat::testing::AdvanceClock(static_cast<std::uint32_t>(plat::Application->HintPause()));
        EXPECT_EQ(plat::Application->ActiveHintWindow(), nullptr);
    }
    plat::Application->CancelHint();
}

// ---- sizing keys -------------------------------------------------------------------------------------------

TEST_F(HeaderMouse, CtrlKeypadPlusFitsTheColumnsAndMinusRestoresThem)
{
    tree->AddChild(nullptr);
    tree->SetFocus();
    const int fitted = tree->GetMaxColumnWidth(2, false);
    ASSERT_NE(fitted, 100);
    plat::testing::Key(plat::VK_ADD, plat::ssCtrl);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(C()[i]->Width(), tree->GetMaxColumnWidth(i, false)) << i;
    EXPECT_EQ(C()[2]->Width(), fitted);
    EXPECT_COLUMNS_OK(H());
    plat::testing::Key(plat::VK_SUBTRACT, plat::ssCtrl);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(C()[i]->Width(), 100) << i;
    EXPECT_COLUMNS_OK(H());
}

// ---- window size ---------------------------------------------------------------------------------------------

TEST_F(HeaderMouse, WindowSizeChangesResizeTheAutoSizeAndSpringColumns)
{
    // hoAutoResize: the auto-size column takes what the client has left.
    H().SetAutoSizeIndex(3);
    Options({hoAutoResize});
    EXPECT_EQ(C()[3]->Width(), 360 - 300);
    tree->SetBounds(0, 0, 380, 200);
    EXPECT_EQ(C()[3]->Width(), 380 - 300);
    tree->SetBounds(0, 0, 350, 200);
    EXPECT_EQ(C()[3]->Width(), 50);
    EXPECT_COLUMNS_OK(H());
    Options({hoAutoSpring}, {hoAutoResize});
    C()[1]->SetOptions(C()[1]->Options() | ColBit(coAutoSpring));
    C()[3]->SetOptions(C()[3]->Options() | ColBit(coAutoSpring));
    C()[3]->SetWidth(100);
    tree->SetBounds(0, 0, 360, 200);  // records the width the springs start from
    const int w1 = C()[1]->Width(), w3 = C()[3]->Width();
    tree->SetBounds(0, 0, 366, 200);
    EXPECT_EQ(C()[1]->Width(), w1 + 3);
    EXPECT_EQ(C()[3]->Width(), w3 + 3);
    tree->SetBounds(0, 0, 369, 200);  // 1.5 each: one pixel now, the half kept
    EXPECT_EQ(C()[1]->Width(), w1 + 4);
    EXPECT_FLOAT_EQ(C()[1]->SpringRest(), 0.5f);
    EXPECT_EQ(C()[0]->Width(), 100);
    EXPECT_COLUMNS_OK(H());
}

// ---- pictures (only when TEST_PICTURES names a folder) -------------------------------------------------

TEST_F(HeaderMouse, PicturesOfADragAndOfATreeWithColumns)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "pictures only on request";
    Options({hoShowSortGlyphs, hoShowImages, hoHotTrack});
    C()[1]->SetCheckBox(true);
    C()[1]->SetCheckState(csCheckedNormal);
    H().SetSortColumn(2);
    for (int i = 0; i < 4; ++i) C()[i]->SetText(String(u"Column ") + String(1, char16_t(u'A' + i)));
    // Mid-drag: column 0 over the right half of column 2 (drop mark), the image under the pointer.
    Press(50, -10);
    Move(60, -10);
    Move(270, -10);
    plat::testing::ProcessEvents();
    plat::testing::SaveGrab(tree, u"header-drag-tree.png");
    const plat::TBitmap* picture = H().DragImage()->Picture();
    ASSERT_NE(picture, nullptr);
    // The image blended over a checkered ground at the drag image's master alpha.
    plat::TBitmap shown(picture->Width() + 20, picture->Height() + 20);
    shown.SetPixelFormat(plat::pf32bit);
    const int master = H().DragImage()->Transparency();
    for (int y = 0; y < shown.Height(); ++y) {
        auto* d = static_cast<std::uint8_t*>(shown.ScanLine(y));
        for (int x = 0; x < shown.Width(); ++x) {
            const std::uint8_t ground = ((x / 8 + y / 8) % 2) ? 255 : 200;
            int px[3] = {ground, ground, ground};
            const int ix = x - 10, iy = y - 10;
            if (ix >= 0 && iy >= 0 && ix < picture->Width() && iy < picture->Height()) {
                const auto* sp = static_cast<const std::uint8_t*>(picture->ScanLine(iy)) + 4 * ix;
                const int a = sp[3] * master / 255;
                for (int c = 0; c < 3; ++c) px[c] = (sp[c] * a + px[c] * (255 - a)) / 255;
            }
            for (int c = 0; c < 3; ++c) d[4 * x + c] = static_cast<std::uint8_t>(px[c]);
            d[4 * x + 3] = 255;
        }
    }
    const std::string path = std::string(dir) + "/header-drag-image.png";
    shown.SaveToFile(String(path.begin(), path.end()));
    Release(270, -10);

    // A tree with columns: grid lines, column colours, auto-spanned text, a fixed column over
    // horizontally scrolled cells, and a pressed button.
    for (int i = 0; i < 12; ++i) tree->AddChild(nullptr);
    tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex C, TVSTTextType, String& T) {
        if (C == 1 && N->Index % 3 == 0) T = u"";  // spanned over by column 0's long text
        else if (C == 0 && N->Index % 3 == 0) T = u"A long text spanning the empty cell beside it";
        else T = String(u"Cell ") + String(1, char16_t(u'0' + N->Index % 10)) + String(1, char16_t(u'a' + C));
    };
    auto& o = tree->TreeOptions();
    o.SetAutoOptions(o.AutoOptions() | (TLTAutoOptions(1) << toAutoSpanColumns));
    o.SetPaintOptions(o.PaintOptions() | (TLTPaintOptions(1) << toShowVertGridLines) |
                      (TLTPaintOptions(1) << toShowHorzGridLines));
    for (int i = 0; i < 4; ++i) C()[i]->SetPosition(static_cast<TColumnPosition>(i));
    C()[0]->SetOptions((C()[0]->Options() | ColBit(coFixed)) & ~ColBit(coParentColor));
    C()[2]->SetOptions(C()[2]->Options() & ~ColBit(coParentColor));
    C()[0]->SetColor(0xE0F0FF);
    C()[2]->SetColor(0xE0FFE0);
    tree->SetOffsetX(-40);
    C().SetPaintIndexes(NoColumn, 2, false);
    tree->Invalidate();
    plat::testing::ProcessEvents();
    plat::testing::SaveGrab(tree, u"tree-columns.png");
    C().SetPaintIndexes(NoColumn, NoColumn, false);
}

// ---- the drag image ---------------------------------------------------------------------------------------

TEST(DragImage, AlphaFadesFromTheCentreAndTheColourKeyIsClear)
{
    TLTDragImage image(nullptr);
    plat::TBitmap picture(40, 20);
    picture.SetPixelFormat(plat::pf32bit);
    picture.Canvas()->Brush()->SetColor(plat::clRed);
    picture.Canvas()->FillRect(plat::TRect{0, 0, 40, 20});
    picture.Canvas()->Brush()->SetColor(plat::clLime);
    picture.Canvas()->FillRect(plat::TRect{0, 0, 5, 5});
    image.SetColorKey(plat::clLime);
    image.PrepareDrag(&picture, TPoint{100, 100}, TPoint{120, 110});
    EXPECT_EQ(image.States(), DisBit(disHidden) | DisBit(disInDrag) | DisBit(disPrepared));
    EXPECT_FALSE(image.Visible());
    EXPECT_TRUE(image.GetDragImageRect().IsEmpty());
    const plat::TBitmap* p = image.Picture();
    ASSERT_NE(p, nullptr);
    auto alpha = [&](int x, int y) { return static_cast<const std::uint8_t*>(p->ScanLine(y))[4 * x + 3]; };
    auto red = [&](int x, int y) { return static_cast<const std::uint8_t*>(p->ScanLine(y))[4 * x + 2]; };
    EXPECT_EQ(alpha(20, 10), 255);
    EXPECT_EQ(alpha(2, 2), 0);  // colour key
    // 255 * e^(-8 * 0.5): the right edge's middle, half the larger side away.
    EXPECT_EQ(alpha(39, 10), static_cast<int>(std::lround(255 * std::exp(-8 * 19.0 / 40))));
    EXPECT_EQ(red(20, 10), 255);
    image.EndDrag();
    EXPECT_EQ(image.States() & (DisBit(disInDrag) | DisBit(disPrepared)), 0u);
    EXPECT_EQ(image.Picture(), nullptr);
}

TEST(DragImage, MovesFollowTheRestrictedAxis)
{
    TLTDragImage image(nullptr);
    plat::TBitmap picture(10, 10);
    picture.SetPixelFormat(plat::pf32bit);
    struct Case {
        TLTDragMoveRestriction restriction;
        TPoint to;
        bool moves;
        TPoint position;
    };
    const Case cases[] = {
        {dmrNone, {55, 57}, true, {5, 7}},
        {dmrHorizontalOnly, {55, 57}, true, {5, 0}},
        {dmrHorizontalOnly, {50, 57}, false, {0, 0}},
        {dmrVerticalOnly, {55, 50}, false, {0, 0}},
        {dmrVerticalOnly, {55, 40}, true, {0, -10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.restriction) + " " + std::to_string(c.to.X) + "," + std::to_string(c.to.Y));
        image.SetMoveRestriction(c.restriction);
        image.PrepareDrag(&picture, TPoint{0, 0}, TPoint{50, 50});
        EXPECT_FALSE(image.WillMove(c.to));  // hidden images never move
        image.ShowDragImage();
        ASSERT_TRUE(image.Visible());
        EXPECT_EQ(image.WillMove(c.to), c.moves);
        EXPECT_EQ(image.DragTo(c.to), c.moves);
        EXPECT_EQ(image.ImagePosition(), c.position);
        EXPECT_EQ(image.GetDragImageRect(),
                  (plat::TRect{c.position.X, c.position.Y, c.position.X + 10, c.position.Y + 10}));
        ASSERT_NE(image.Window(), nullptr);
        EXPECT_EQ(image.Window()->Left(), c.position.X);
        EXPECT_EQ(image.Window()->Top(), c.position.Y);
        image.EndDrag();
    }
}

} // namespace
} // namespace vtree::testing
