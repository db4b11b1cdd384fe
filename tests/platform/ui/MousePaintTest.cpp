// Mouse pipeline (graphic children, capture, enter/leave, wheel, double clicks) and the
// painting model (paint at once, transparency, z-order, redraw switch).
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TColorBox;
using testctl::TColorSpot;
using testctl::TTestButton;

class MouseTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 300, 200);
        form->SetColor(clWhite);
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    template <class T>
    T* Add(int l, int t, int w, int h, TColor color)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(l, t, w, h);
        c->SetColor(color);
        return c;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(MouseTest, ReleaseOutsideReachesTheCapturingControlWithoutAClick)
{
    auto* box = Add<TColorBox>(10, 10, 50, 50, clBlue);
    std::vector<std::string> log;
    box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log.push_back("down " + std::to_string(x) + "," + std::to_string(y)); };
    box->OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
        if (shift & ssLeft) log.push_back("drag " + std::to_string(x) + "," + std::to_string(y));
    };
    box->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log.push_back("up " + std::to_string(x) + "," + std::to_string(y)); };
    box->OnClick = [&](TObject*) { log.push_back("click"); };
    form->Show();
    Press(box, 5, 5);
    EXPECT_TRUE(box->MouseCapture());
    Move(form.get(), 200, 150);  // over the form, outside the box
    Release(form.get(), 200, 150);
    EXPECT_FALSE(box->MouseCapture());
    const std::vector<std::string> expected = {"down 5,5", "drag 190,140", "up 190,140"};
    EXPECT_EQ(log, expected);
    log.clear();
    Click(box, 7, 8);
    EXPECT_EQ(log, (std::vector<std::string>{"down 7,8", "click", "up 7,8"}));
}

TEST_F(MouseTest, GraphicChildrenGetTheirParentsMouseMessagesInTheirCoordinates)
{
    auto* spot = Add<TColorSpot>(100, 40, 30, 20, clRed);
    int clicks = 0, dbl = 0;
    TPoint at;
    spot->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { at = {x, y}; };
    spot->OnClick = [&](TObject*) { ++clicks; };
    spot->OnDblClick = [&](TObject*) { ++dbl; };
    int formDowns = 0;
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
    form->Show();
    Click(spot, 3, 4);
    EXPECT_EQ(at, Point(3, 4));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(formDowns, 0);
    DoubleClick(spot, 3, 4);
    EXPECT_EQ(dbl, 1);
    // A disabled graphic control lets the parent have the message.
    spot->SetEnabled(false);
    Click(spot, 3, 4);
    EXPECT_EQ(formDowns, 1);
}

TEST_F(MouseTest, EnterAndLeaveFollowThePointer)
{
    auto* box = Add<TColorBox>(10, 10, 50, 50, clBlue);
    auto* spot = Add<TColorSpot>(100, 40, 30, 20, clRed);
    std::vector<std::string> log;
    box->OnMouseEnter = [&](TObject*) { log.push_back("enter box"); };
    box->OnMouseLeave = [&](TObject*) { log.push_back("leave box"); };
    spot->OnMouseEnter = [&](TObject*) { log.push_back("enter spot"); };
    spot->OnMouseLeave = [&](TObject*) { log.push_back("leave spot"); };
    form->Show();
    Move(box, 5, 5);
    Move(box, 6, 6);
    Move(spot, 1, 1);
    Move(form.get(), 250, 150);
    Move(spot, 2, 2);
    MoveAway();
    const std::vector<std::string> expected = {"enter box", "leave box", "enter spot", "leave spot", "enter spot", "leave spot"};
    EXPECT_EQ(log, expected);
}

class SeeThroughBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_NCHITTEST) {
            m.Result = HTTRANSPARENT;
            return;
        }
        TColorBox::WndProc(m);
    }
};

TEST_F(MouseTest, WindowAnsweringTransparentPassesThePointerToTheWindowBelow)
{
    auto* lower = Add<TColorBox>(10, 10, 50, 50, clBlue);
    auto* upper = Add<SeeThroughBox>(30, 30, 50, 50, clRed);
    TPoint lowerAt{-1, -1};
    int upperDowns = 0, formDowns = 0;
    lower->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { lowerAt = {x, y}; };
    upper->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++upperDowns; };
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
    form->Show();
    Click(upper, 5, 5);  // over both
    EXPECT_EQ(lowerAt, Point(25, 25));
    Click(upper, 40, 40);  // over the form only
    EXPECT_EQ(upperDowns, 0);
    EXPECT_EQ(formDowns, 1);
}

TEST_F(MouseTest, WheelGoesToTheFocusedControlThenUpToTheForm)
{
    auto* button = Add<TTestButton>(10, 10, 75, 25, clBtnFace);
    std::vector<int> formDeltas;
    form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        formDeltas.push_back(delta);
        handled = true;
    };
    int buttonWheels = 0;
    bool buttonHandles = false;
    button->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        ++buttonWheels;
        handled = buttonHandles;
    };
    form->Show();
    ASSERT_TRUE(button->Focused());
    Wheel(form.get(), -120, 200, 100);
    Wheel(button, 240, 5, 5);
    EXPECT_EQ(buttonWheels, 2);
    EXPECT_EQ(formDeltas, (std::vector<int>{-120, 240}));
    buttonHandles = true;
    Wheel(form.get(), 120, 200, 100);
    EXPECT_EQ(formDeltas.size(), 2u);
}

// ---- hints -------------------------------------------------------------------------------

class HintBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    String replace;
    bool refuse = false;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_HINTSHOW) {
            auto* hi = reinterpret_cast<THintInfo*>(m.LParam);
            if (!replace.empty()) hi->HintStr = replace;
            m.Result = refuse ? 1 : 0;
            return;
        }
        TColorBox::WndProc(m);
    }
};

class HintTest : public MouseTest {};

TEST_F(HintTest, HintShowsAfterThePauseAndHidesAfterTheHidePause)
{
    auto* box = Add<HintBox>(10, 10, 60, 40, clBlue);
    box->SetHint(u"Save the file|Writes the configuration");
    box->SetShowHint(true);
    auto* plain = Add<TColorBox>(100, 10, 60, 40, clLime);
    form->Show();
    Move(box, 5, 5);
    AdvanceClock(Application->HintPause() - 1);
    EXPECT_EQ(Application->ActiveHintWindow(), nullptr);
    Move(box, 6, 6);  // small moves inside the control keep the pause running
    AdvanceClock(1);
    THintWindow* hint = Application->ActiveHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Caption(), u"Save the file");
    SaveGrab(hint, u"ui-hint.png");
    const TPoint cursor = box->ClientToScreen({6, 6});
    EXPECT_EQ(hint->Left(), cursor.X);
    EXPECT_GT(hint->Top(), cursor.Y);
    AdvanceClock(Application->HintHidePause());
    EXPECT_EQ(Application->ActiveHintWindow(), nullptr);

    // Leaving for a control without a hint hides it at once and shows nothing there.
    Move(plain, 1, 1);
    Move(box, 5, 5);
    AdvanceClock(Application->HintPause());
    ASSERT_NE(Application->ActiveHintWindow(), nullptr);
    Move(plain, 1, 1);
    EXPECT_EQ(Application->ActiveHintWindow(), nullptr);
    AdvanceClock(Application->HintPause());
    EXPECT_EQ(Application->ActiveHintWindow(), nullptr);

    // A press cancels the hint.
    Move(box, 5, 5);
    AdvanceClock(Application->HintPause());
    ASSERT_NE(Application->ActiveHintWindow(), nullptr);
    Press(box, 5, 5);
    EXPECT_EQ(Application->ActiveHintWindow(), nullptr);
    Release(box, 5, 5);
}

TEST_F(HintTest, HintShowMessageCanChangeOrRefuseTheHint)
{
    struct Case {
        const char* name;
        const char16_t* hint;
        const char16_t* replace;
        bool refuse;
        const char16_t* shown;  // nullptr = no hint
    };
    const Case cases[] = {
        {"plain", u"Short|Long", u"", false, u"Short"},
        {"text given by the control", u"", u"Cell 3, 4", false, u"Cell 3, 4"},
        {"refused", u"Short", u"", true, nullptr},
        {"nothing to show", u"", u"", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* box = Add<HintBox>(10, 10, 60, 40, clBlue);
        box->SetHint(c.hint);
        box->SetShowHint(true);
        box->replace = c.replace;
        box->refuse = c.refuse;
        form->Show();
        Move(box, 5, 5);
        AdvanceClock(Application->HintPause());
        THintWindow* hint = Application->ActiveHintWindow();
        if (c.shown) {
            ASSERT_NE(hint, nullptr);
            EXPECT_EQ(hint->Caption(), c.shown);
        } else {
            EXPECT_EQ(hint, nullptr);
        }
        MoveAway();
        delete box;
    }
}

// ---- painting ----------------------------------------------------------------------------

class PaintTest : public MouseTest {};

// Draws a setting's look at once from the setter, without waiting for a paint message.
class TSwatch : public TColorBox {
public:
    using TColorBox::TColorBox;
    void SetShade(TColor c)
    {
        shade = c;
        Paint();
    }
    TColor shade = clWhite;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(shade);
        Canvas()->FillRect(ClientRect());
    }
};

TEST_F(PaintTest, PaintCalledFromASetterShowsAtOnce)
{
    auto* swatch = Add<TSwatch>(10, 10, 40, 30, clWhite);
    form->Show();
    ProcessEvents();
    EXPECT_EQ(PixelOf(*Grab(swatch), 5, 5), clWhite);
    swatch->SetShade(clRed);
    EXPECT_EQ(PixelOf(*Grab(swatch), 5, 5), clRed);
    EXPECT_EQ(PixelOf(*Grab(form.get()), 15, 15), clRed);
}

// The same for a graphic control, which draws on its parent's surface.
class TGraphicSwatch : public TColorSpot {
public:
    using TColorSpot::TColorSpot;
    void SetShade(TColor c)
    {
        shade = c;
        Paint();
    }
    TColor shade = clWhite;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(shade);
        Canvas()->FillRect(Rect(0, 0, Width() + 10, Height() + 10));  // clipped to the control
    }
};

TEST_F(PaintTest, GraphicControlPaintCalledFromASetterShowsAtOnceInsideItsBounds)
{
    auto* swatch = Add<TGraphicSwatch>(10, 10, 20, 20, clWhite);
    form->Show();
    ProcessEvents();
    swatch->SetShade(clRed);
    auto g = Grab(form.get());
    EXPECT_EQ(PixelOf(*g, 10, 10), clRed);
    EXPECT_EQ(PixelOf(*g, 29, 29), clRed);
    EXPECT_EQ(PixelOf(*g, 30, 30), clWhite);
    // Moving it paints it at its new place; the old place gets the parent again.
    swatch->SetBounds(50, 10, 20, 20);
    g = Grab(form.get());
    EXPECT_EQ(PixelOf(*g, 15, 15), clWhite);
    EXPECT_EQ(PixelOf(*g, 55, 15), clRed);
}

// Paints only its centre; the rest stays see-through.
class TRing : public TCustomControl {
public:
    explicit TRing(TComponent* o) : TCustomControl(o) { SetWindowExStyle(WindowExStyle() | WS_EX_TRANSPARENT); }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(5, 5, Width() - 5, Height() - 5));
    }
};

TEST_F(PaintTest, TransparentChildShowsTheParentWhereItDoesNotPaint)
{
    form->SetColor(clRed);
    auto* ring = new TRing(form.get());
    ring->SetParent(form.get());
    ring->SetBounds(20, 20, 40, 40);
    form->Show();
    auto g = Grab(form.get());
    EXPECT_EQ(PixelOf(*g, 21, 21), clRed);
    EXPECT_EQ(PixelOf(*g, 40, 40), clBlue);
    EXPECT_EQ(PixelOf(*g, 58, 58), clRed);
}

TEST_F(PaintTest, WindowedSiblingIsAboveAGraphicControl)
{
    Add<TColorBox>(25, 25, 50, 50, clBlue);
    Add<TColorSpot>(0, 0, 50, 50, clLime);  // created later, still below
    form->Show();
    auto g = Grab(form.get());
    EXPECT_EQ(PixelOf(*g, 10, 10), clLime);
    EXPECT_EQ(PixelOf(*g, 30, 30), clBlue);
    EXPECT_EQ(PixelOf(*g, 80, 80), clWhite);
}

TEST_F(PaintTest, RedrawSwitchedOffHoldsPaintingBack)
{
    auto* box = Add<TColorBox>(10, 10, 50, 50, clBlue);
    form->Show();
    ProcessEvents();
    box->Perform(WM_SETREDRAW, 0, 0);
    const int before = box->Paints;
    box->SetColor(clLime);
    box->Invalidate();
    ProcessEvents();
    box->Update();
    EXPECT_EQ(box->Paints, before);
    box->Perform(WM_SETREDRAW, 1, 0);
    box->Update();
    EXPECT_GT(box->Paints, before);
    EXPECT_EQ(PixelOf(*Grab(box), 1, 1), clLime);
}

TEST_F(PaintTest, ClientEdgeFrameIsDrawnAroundTheClientArea)
{
    auto* box = Add<TColorBox>(10, 10, 40, 30, clYellow);
    box->SetBorderStyle(bsSingle);
    form->Show();
    auto g = Grab(box);
    EXPECT_EQ(PixelOf(*g, 2, 2), clYellow);
    EXPECT_EQ(PixelOf(*g, 37, 27), clYellow);
    EXPECT_NE(PixelOf(*g, 0, 0), clYellow);
    EXPECT_NE(PixelOf(*g, 39, 29), clYellow);
}

TEST_F(PaintTest, PrintClientRendersTheControlIntoAGivenCanvas)
{
    auto* box = Add<TColorBox>(10, 10, 40, 30, clBlue);
    box->SetBorderStyle(bsSingle);
    form->Show();
    TBitmap client(36, 26), whole(40, 30);
    box->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(client.Canvas()), 0);
    box->Perform(WM_PRINT, reinterpret_cast<WPARAM>(whole.Canvas()), 0);
    EXPECT_EQ(client.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(client.Canvas()->Pixels(35, 25), clBlue);
    EXPECT_NE(whole.Canvas()->Pixels(0, 0), clBlue);  // the frame
    EXPECT_EQ(whole.Canvas()->Pixels(2, 2), clBlue);
}

TEST_F(PaintTest, DemoFormRendersToPng)
{
    form->SetCaption(u"Demo");
    form->SetColor(clBtnFace);
    auto* ok = Add<TTestButton>(120, 150, 75, 25, clBtnFace);
    ok->SetCaption(u"OK");
    auto* cancel = Add<TTestButton>(210, 150, 75, 25, clBtnFace);
    cancel->SetCaption(u"Cancel");
    auto* framed = Add<TColorBox>(10, 10, 120, 80, clWindow);
    framed->SetBorderStyle(bsSingle);
    Add<TColorSpot>(150, 10, 40, 40, clNavy);
    Add<TRing>(200, 10, 40, 40, clNone);
    form->Show();
    SaveGrab(form.get(), u"ui-demo-form.png");
    auto g = Grab(form.get());
    EXPECT_EQ(g->Width(), 300);
    EXPECT_EQ(g->Height(), 200);
}

} // namespace
} // namespace plat
