// The drop-down edit base on a shown offscreen host form: opening and closing through clicks,
// keys and activation on the fake clock, placement on fake screens, the label, the header
// and footer bars with their buttons, and the modal results of footer buttons.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ExtDropDown.h"
#include "TestSupport.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

// A drop-down whose embedded control is a plain 150 x 60 panel.
class TTestDropDown : public TExtCustomDropDown {
public:
    explicit TTestDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner)
    {
        panel = new TPanel(this);
        SetControl(panel);
    }
    TPanel* panel = nullptr;
    int panelWidth = 150, panelHeight = 60;

protected:
    // As the kinds do: the embedded control gets its size before the form is sized.
    void DoBeforeDropDown() override
    {
        TExtCustomDropDown::DoBeforeDropDown();
        panel->SetAlign(alNone);
        panel->SetBounds(0, 0, panelWidth, panelHeight);
    }
};

class ExtDropDownTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 500, 300);
        other = new TEdit(host.get());
        other->SetParent(host.get());
        other->SetBounds(10, 200, 100, 21);
        dd = new TTestDropDown(host.get());
        dd->SetParent(host.get());
        dd->SetBounds(20, 30, 200, 21);
        dd->DropDownHeader()->SetVisible(false);
        dd->DropDownFooter()->SetVisible(false);
        host->Show();
        dd->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }

    void ClickButton()
    {
        TExtDropDownSpeedButton* b = dd->Button()->SpeedButton();
        pt::Click(b, b->Width() / 2, b->Height() / 2);
        pt::ProcessEvents();
    }
    TDropDownForm* Form() const { return dd->DropDownForm(); }
    bool Open() const { return dd->DroppedDown() && Form()->Visible(); }

    std::unique_ptr<TForm> host;
    TEdit* other = nullptr;
    TTestDropDown* dd = nullptr;
};

// ---- opening and closing ---------------------------------------------------------------------

TEST_F(ExtDropDownTest, TheButtonOpensTheFormBelowTheEditAndTheFirstClickAtTickZeroOpens)
{
    pt::SetTicks(0);
    ClickButton();
    ASSERT_TRUE(Open());
    const TPoint origin = host->ClientToScreen(TPoint{20, 30});
    EXPECT_EQ(Form()->Left(), origin.X);
    EXPECT_EQ(Form()->Top(), origin.Y + 21 - 1);
    // No header or footer: 2 x border + the panel; the panel's width.
    EXPECT_EQ(Form()->Width(), 150);
    EXPECT_EQ(Form()->Height(), 2 + 60);
    EXPECT_EQ(dd->panel->Parent(), Form());
}

TEST_F(ExtDropDownTest, KeysToggleOncePerPress)
{
    struct Case {
        std::uint16_t key;
        TShiftState shift;
    };
    for (const Case c : {Case{VK_F4, 0}, Case{VK_DOWN, ssAlt}, Case{VK_UP, ssAlt}}) {
        SCOPED_TRACE(c.key);
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        EXPECT_TRUE(Open());
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        EXPECT_FALSE(Open());
        EXPECT_FALSE(Form()->Visible());
    }
}

TEST_F(ExtDropDownTest, EnterKeepsAndEscRestoresTheTextLastGivenToSetText)
{
    dd->SetText(u"given");
    pt::Type(u"x");
    EXPECT_EQ(dd->Text(), u"givenx");
    bool cancelled = false;
    int dropUps = 0;
    dd->OnDropUp = [&](TObject*, bool c) {
        cancelled = c;
        ++dropUps;
    };
    pt::Key(VK_F4);
    ASSERT_TRUE(Open());
    pt::Key(VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(Open());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(dd->Text(), u"given");

    pt::Type(u"y");
    pt::Key(VK_F4);
    ASSERT_TRUE(Open());
    pt::Key(VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(dd->Text(), u"giveny");
    EXPECT_EQ(dropUps, 2);
}

TEST_F(ExtDropDownTest, AClickThatClosedByDeactivationReopensOnlyAfter250Ms)
{
    pt::SetTicks(1000);
    ClickButton();
    ASSERT_TRUE(Open());
    // The press on the button activates the host: the form closes, cancelled.
    pt::ActivateForm(host.get());
    EXPECT_FALSE(Open());
    EXPECT_EQ(Form()->DeActivateTime(), 1000u);
    pt::AdvanceClock(100);
    ClickButton();
    EXPECT_FALSE(Open());
    pt::AdvanceClock(151);
    ClickButton();
    EXPECT_TRUE(Open());
}

TEST_F(ExtDropDownTest, TheRuleHoldsAcrossATickCountWrap)
{
    pt::SetTicks(0xFFFFFFF0u);
    ClickButton();
    ASSERT_TRUE(Open());
    pt::ActivateForm(host.get());
    EXPECT_FALSE(Open());
    pt::AdvanceClock(100);  // the tick count wrapped
    ClickButton();
    EXPECT_FALSE(Open());
    pt::AdvanceClock(200);
    ClickButton();
    EXPECT_TRUE(Open());
}

TEST_F(ExtDropDownTest, ActivatingAWindowOwnedByTheFormKeepsItOpen)
{
    dd->SetText(u"kept");
    ClickButton();
    ASSERT_TRUE(Open());
    TForm popup(nullptr);
    popup.SetPopupParent(Form());
    popup.SetBounds(0, 0, 50, 50);
    popup.Show();
    pt::ActivateForm(&popup);
    EXPECT_TRUE(Open());
    popup.Hide();
    // The host closes it, cancelling: the text comes back.
    pt::Type(u"");
    dd->SetEditText(u"typed");
    pt::ActivateForm(host.get());
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->Text(), u"kept");
}

TEST_F(ExtDropDownTest, CancelOnDeActivateOffKeepsTheTextAndBlockActivateSuppressesTheClose)
{
    dd->SetText(u"old");
    ClickButton();
    ASSERT_TRUE(Open());
    Form()->SetBlockActivate(true);
    pt::ActivateForm(host.get());
    EXPECT_TRUE(Open());
    Form()->SetBlockActivate(false);
    pt::ActivateForm(Form());
    Form()->SetCancelOnDeActivate(false);
    dd->SetEditText(u"new");
    pt::ActivateForm(host.get());
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->Text(), u"new");
}

TEST_F(ExtDropDownTest, OnDropDownRefusingLeavesItClosed)
{
    int before = 0;
    dd->OnBeforeDropDown = [&](TObject*) { ++before; };
    dd->OnDropDown = [](TObject*, bool& accept) { accept = false; };
    ClickButton();
    EXPECT_EQ(before, 1);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_FALSE(Form()->Visible());
}

TEST_F(ExtDropDownTest, NothingOpensDisabledOrReadOnly)
{
    dd->SetReadOnly(true);
    dd->ShowDropDown();
    EXPECT_FALSE(Open());
    dd->SetReadOnly(false);
    dd->SetEnabled(false);
    dd->ShowDropDown();
    EXPECT_FALSE(Open());
}

TEST_F(ExtDropDownTest, AResizedFormReopensAtTheUsersSizeUntilDropDownHeightIsAssigned)
{
    dd->ShowDropDown();
    ASSERT_TRUE(Open());
    Form()->SetBounds(Form()->Left(), Form()->Top(), 260, 140);
    dd->HideDropDown(false);
    dd->ShowDropDown();
    EXPECT_EQ(Form()->Width(), 260);
    EXPECT_EQ(Form()->Height(), 140);
    dd->HideDropDown(false);
    dd->SetDropDownHeight(100);
    dd->ShowDropDown();
    EXPECT_EQ(Form()->Width(), 260);
    EXPECT_EQ(Form()->Height(), 100);
}

TEST_F(ExtDropDownTest, HeaderAndFooterAddToTheHeightAndTheFormKeepsItsMinimum)
{
    dd->DropDownHeader()->SetVisible(true);
    dd->DropDownFooter()->SetVisible(true);
    dd->ShowDropDown();
    ASSERT_TRUE(Open());
    EXPECT_EQ(Form()->Height(), 2 * 1 + 22 + 22 + 60);
    ASSERT_NE(Form()->Header(), nullptr);
    EXPECT_EQ(Form()->Header()->Top(), 1);
    EXPECT_EQ(Form()->Footer()->Top(), Form()->Height() - 1 - 22);
    dd->HideDropDown(false);

    dd->panelWidth = 20;
    dd->panelHeight = 0;
    dd->DropDownHeader()->SetVisible(false);
    dd->DropDownFooter()->SetVisible(false);
    dd->SetDropDownWidth(-1);   // a new value forgets the user's size
    dd->SetDropDownHeight(-1);
    dd->ShowDropDown();
    EXPECT_EQ(Form()->Width(), 80);
    EXPECT_EQ(Form()->Height(), 50);
}

// ---- placement on fake screens ------------------------------------------------------------

TEST_F(ExtDropDownTest, PlacementFollowsThePrimaryScreenAndTheWorkArea)
{
    struct Case {
        const char* name;
        TDropPosition position;
        int screenHeight;      // primary screen height
        TRect workArea;        // of the only monitor
        int editLeft;          // client coordinates in the host
        int formWidth;
        bool above;
        int expectedLeft;      // screen coordinates; -1: the edit's own left
    };
    const TPoint client = host->ClientToScreen(TPoint{0, 0});
    const int editTop = 30;
    const int bottom = client.Y + editTop + 10;  // the edit's top is 10 px above the screen's end
    const Case cases[] = {
        {"auto above", dpAuto, bottom, Rect(0, 0, 1280, bottom), 20, 200, true, -1},
        {"down below", dpDown, bottom, Rect(0, 0, 1280, bottom), 20, 200, false, -1},
        {"up", dpUp, 1024, Rect(0, 0, 1280, 1024), 20, 200, true, -1},
        {"right edge", dpDown, 1024, Rect(0, 0, client.X + 20 + 150, 1024), 20, 200, false, client.X + 20 - 50},
        {"starts right", dpDown, 1024, Rect(0, 0, client.X + 10, 1024), 20, 200, false, -1},
        {"negative left", dpDown, 1024, Rect(-1280, 0, client.X + 100, 1024), 20, 200, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pt::SetFakeScreens({{Rect(c.workArea.Left, 0, c.workArea.Right, c.screenHeight), c.workArea}});
        dd->SetDropPosition(c.position);
        dd->SetDropDownWidth(c.formWidth);
        dd->ShowDropDown();
        ASSERT_TRUE(Open());
        const TPoint p = host->ClientToScreen(TPoint{c.editLeft, editTop});
        EXPECT_EQ(Form()->Top(), c.above ? p.Y - Form()->Height() : p.Y + 21 - 1);
        EXPECT_EQ(Form()->Left(), c.expectedLeft < 0 ? p.X : c.expectedLeft);
        dd->HideDropDown(false);
    }
}

// ---- the label -----------------------------------------------------------------------------

TEST(ExtDropDownLabel, PlacementTable)
{
    struct Case {
        TLabelPosition position;
        int left, top;
    };
    // A 200 x 21 edit at (100, 100), a 40 x 13 label whose caption measures 40, margin 4.
    const Case cases[] = {
        {lpLeftTop, 56, 100},      {lpLeftCenter, 56, 104},  {lpLeftBottom, 56, 108},
        {lpTopLeft, 100, 83},      {lpBottomLeft, 100, 125}, {lpLeftTopLeft, 96, 100},
        {lpLeftCenterLeft, 96, 104}, {lpLeftBottomLeft, 96, 108}, {lpTopCenter, 180, 83},
        {lpBottomCenter, 180, 125}, {lpRightTop, 304, 100},  {lpRightCenter, 304, 104},
        {lpRighBottom, 304, 108},  {lpTopRight, 260, 83},    {lpBottomRight, 260, 125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        const TPoint p = LabelPlacement(c.position, 100, 100, 200, 21, 40, 13, 40, 4);
        EXPECT_EQ(p.X, c.left);
        EXPECT_EQ(p.Y, c.top);
    }
}

TEST_F(ExtDropDownTest, TheLabelSitsBesideTheEditAndFollowsIt)
{
    dd->SetBounds(100, 100, 200, 21);
    dd->SetLabelMargin(4);
    dd->SetLabelCaption(u"Name");
    TLabel* l = dd->EditLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), host.get());
    EXPECT_EQ(l->Top(), 100);
    EXPECT_EQ(l->Left() + l->Width(), 100 - 4);
    dd->SetLabelPosition(lpTopLeft);
    EXPECT_EQ(l->Left(), 100);
    EXPECT_EQ(l->Top(), 100 - l->Height() - 4);
    dd->SetBounds(10, 60, 200, 21);
    EXPECT_EQ(l->Left(), 10);
    int clicks = 0;
    dd->OnLabelClick = [&](TObject*) { ++clicks; };
    pt::Click(l, 2, 2);
    EXPECT_EQ(clicks, 1);
}

// ---- bars and buttons -------------------------------------------------------------------------

TEST_F(ExtDropDownTest, HeaderButtonsRunRightToLeftAndTheCaptionEndsBeforeTheLast)
{
    dd->DropDownHeader()->SetVisible(true);
    for (const char16_t* caption : {u"One", u"Two", u"Three"}) dd->DropDownHeader()->Buttons()->Add()->SetCaption(caption);
    dd->ShowDropDown();
    TExtHeader* h = Form()->Header();
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->ButtonList().Count(), 3);
    const TRect area = h->ButtonArea();
    EXPECT_EQ(area.Right, h->ClientWidth() - 2);
    EXPECT_EQ(area.Bottom - area.Top, 17);
    EXPECT_EQ(h->ButtonAt(0)->Left() + h->ButtonAt(0)->Width(), area.Right);
    EXPECT_EQ(h->ButtonAt(1)->Left() + h->ButtonAt(1)->Width(), h->ButtonAt(0)->Left());
    EXPECT_EQ(h->ButtonAt(2)->Left() + h->ButtonAt(2)->Width(), h->ButtonAt(1)->Left());
    int clicked = -1;
    dd->OnDropDownHeaderButtonClick = [&](TObject* s, int i) {
        EXPECT_EQ(s, dd);
        clicked = i;
    };
    pt::Click(h->ButtonAt(2), 3, 3);
    EXPECT_EQ(clicked, 2);
    EXPECT_TRUE(Open());
}

TEST_F(ExtDropDownTest, ButtonSizesFromCaptionAndItem)
{
    dd->DropDownHeader()->SetVisible(true);
    THeaderButton* a = dd->DropDownHeader()->Buttons()->Add();
    a->SetCaption(u"Measured");
    THeaderButton* b = dd->DropDownHeader()->Buttons()->Add();
    b->SetCaption(u"Tall");
    b->SetHeight(40);
    b->SetWidth(30);
    dd->ShowDropDown();
    TExtHeader* h = Form()->Header();
    TCanvas* c = h->ButtonAt(0)->Canvas();
    c->Font()->Assign(dd->ButtonAppearance()->Font());
    const TSize text = MeasureText(c, u"Measured");
    EXPECT_EQ(h->ButtonAt(0)->Width(), text.cx + 8);
    EXPECT_EQ(h->ButtonAt(0)->Height(), text.cy + 4);
    EXPECT_EQ(h->ButtonAt(1)->Width(), 30);
    EXPECT_EQ(h->ButtonAt(1)->Height(), 17);
}

TEST_F(ExtDropDownTest, TheFooterButtonAreaLeavesRoomForTheGripOnlyWhenSizeable)
{
    dd->DropDownFooter()->SetVisible(true);
    dd->ShowDropDown();
    TExtFooter* f = Form()->Footer();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->GripShown());
    EXPECT_EQ(f->ButtonArea().Right, f->ClientWidth() - 14);
    dd->HideDropDown(false);
    dd->SetDropDownSizeable(false);
    dd->ShowDropDown();
    EXPECT_FALSE(f->GripShown());
    EXPECT_EQ(f->ButtonArea().Right, f->ClientWidth() - 2);
}

TEST_F(ExtDropDownTest, FooterModalResultsCloseKeepingOrCancellingOrStayOpen)
{
    struct Case {
        TModalResult result;
        bool closes;
        bool cancels;
    };
    const Case cases[] = {
        {mrOk, true, false},     {mrYes, true, false},     {mrAll, true, false},   {mrYesToAll, true, false},
        {mrCancel, true, true},  {mrAbort, true, true},    {mrIgnore, true, true}, {mrNo, true, true},
        {mrNoToAll, true, true}, {mrRetry, false, false},  {mrClose, false, false}, {9, false, false} /* help */, {10, false, false} /* try again */, {11, false, false} /* continue */,
        {mrNone, false, false},
    };
    dd->DropDownFooter()->SetVisible(true);
    TFooterButton* item = dd->DropDownFooter()->Buttons()->Add();
    item->SetCaption(u"Go");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        item->SetModalResult(c.result);
        dd->SetText(u"before");
        dd->ShowDropDown();
        ASSERT_TRUE(Open());
        dd->SetEditText(u"during");
        std::vector<bool> openAtClick;
        dd->OnDropDownFooterButtonClick = [&](TObject*, int i) {
            EXPECT_EQ(i, 0);
            openAtClick.push_back(dd->DroppedDown());
        };
        TExtButton* b = Form()->Footer()->ButtonAt(0);
        pt::Click(b, 2, 2);
        pt::ProcessEvents();
        EXPECT_EQ(!Open(), c.closes);
        EXPECT_EQ(dd->Text(), c.cancels ? u"before" : u"during");
        // The footer's click event comes after the close.
        ASSERT_EQ(openAtClick.size(), 1u);
        EXPECT_EQ(openAtClick[0], !c.closes);
        // The modal result is the drop-down form's, never the host's.
        EXPECT_EQ(host->ModalResult(), mrNone);
        dd->HideDropDown(false);
    }
}

TEST_F(ExtDropDownTest, SpaceOnACancelButtonClosesWithoutAClickEvent)
{
    dd->DropDownFooter()->SetVisible(true);
    dd->DropDownFooter()->Buttons()->Add()->SetModalResult(mrCancel);
    dd->SetText(u"before");
    dd->ShowDropDown();
    dd->SetEditText(u"during");
    int clicks = 0;
    dd->OnDropDownFooterButtonClick = [&](TObject*, int) { ++clicks; };
    TExtButton* b = Form()->Footer()->ButtonAt(0);
    std::uint16_t key = VK_SPACE;
    b->Perform(WM_KEYDOWN, key, 0);
    EXPECT_FALSE(Open());
    EXPECT_EQ(dd->Text(), u"before");
    EXPECT_EQ(clicks, 0);
}

TEST_F(ExtDropDownTest, APressOnTheArrowReleasedOutsideStillClicks)
{
    TExtDropDownSpeedButton* b = dd->Button()->SpeedButton();
    pt::Press(b, 5, 5);
    pt::Release(b, -40, 30);
    pt::ProcessEvents();
    EXPECT_TRUE(Open());
}

TEST_F(ExtDropDownTest, DropDownButtonWidthSizesButtonAndSpeedButton)
{
    dd->SetDropDownButtonWidth(30);
    EXPECT_EQ(dd->Button()->Width(), 30);
    EXPECT_EQ(dd->Button()->SpeedButton()->Width(), 30);
    EXPECT_EQ(dd->Button()->Left(), dd->Width() - 30 - 4);
    EXPECT_EQ(dd->GetEditRect().Right, dd->ClientWidth() - 30 - 3);
}


// ---- the size grip and the pictures of bars and buttons ---------------------------------------

TEST_F(ExtDropDownTest, DraggingTheFooterGripResizesAndTheNextOpeningKeepsTheSize)
{
    dd->DropDownFooter()->SetVisible(true);
    int sizings = 0;
    Form()->OnSizing = [&](TObject*) { ++sizings; };
    dd->ShowDropDown();
    TExtFooter* f = Form()->Footer();
    ASSERT_NE(f, nullptr);
    const int w = Form()->Width(), h = Form()->Height();
    EXPECT_TRUE(pt::ShowsCursor(f, f->Width() - 3, f->Height() - 3, crDefault));
    pt::Move(f, f->Width() - 3, f->Height() - 3);
    EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
    pt::Press(f, f->Width() - 3, f->Height() - 3);
    pt::Move(f, f->Width() - 3 + 40, f->Height() - 3 + 30);
    pt::Release(f, f->Width() - 3, f->Height() - 3);
    EXPECT_EQ(Form()->Width(), w + 40);
    EXPECT_EQ(Form()->Height(), h + 30);
    EXPECT_GE(sizings, 1);
    pt::MoveAway();
    EXPECT_EQ(Screen->Cursor(), crDefault);
    dd->HideDropDown(false);
    dd->ShowDropDown();
    EXPECT_EQ(Form()->Width(), w + 40);
    EXPECT_EQ(Form()->Height(), h + 30);
}

TEST_F(ExtDropDownTest, BarPixels)
{
    THeaderAppearance* ha = dd->DropDownHeader();
    ha->SetVisible(true);
    ha->SetColor(0x0000C0);
    ha->SetColorTo(clNoColor);
    ha->SetBorderColor(0x000000);
    TFooterAppearance* fa = dd->DropDownFooter();
    fa->SetVisible(true);
    fa->SetColor(0x000000);
    fa->SetColorTo(0xFFFFFF);
    fa->SetGradientDirection(gdHorizontal);
    fa->SetBorderColor(0x800000);
    dd->ShowDropDown();
    pt::ProcessEvents();
    TExtHeader* h = Form()->Header();
    auto g = pt::Grab(h);
    const int W = h->Width(), H = h->Height();
    EXPECT_EQ(pt::PixelOf(*g, W / 2, H / 2), 0x0000C0);           // solid face
    EXPECT_EQ(pt::PixelOf(*g, W / 2, H - 1), 0x000000);           // the bottom line
    EXPECT_EQ(pt::PixelOf(*g, 0, 5), MixColors(0, clWhite, 20));  // the 20 % inner rectangle
    EXPECT_EQ(pt::PixelOf(*g, W / 2, 0), MixColors(0, clWhite, 20));

    TExtFooter* f = Form()->Footer();
    g = pt::Grab(f);
    const int FW = f->Width(), FH = f->Height();
    EXPECT_EQ(pt::PixelOf(*g, FW / 2, 0), 0x800000);  // the top line
    // A horizontal gradient from black: darker on the left than in the middle.
    EXPECT_LT(GetRValue(pt::PixelOf(*g, 3, FH / 2)), GetRValue(pt::PixelOf(*g, FW / 2, FH / 2)));
    // The grip: white squares with border-colour squares one pixel up and left.
    const int L = FW - 1 - 16, B = FH;
    EXPECT_EQ(pt::PixelOf(*g, L + 14, B - 11), clWhite);
    EXPECT_EQ(pt::PixelOf(*g, L + 12, B - 13), 0x800000);
    EXPECT_EQ(pt::PixelOf(*g, L + 6, B - 3), clWhite);
    EXPECT_EQ(pt::PixelOf(*g, L + 4, B - 5), 0x800000);
    pt::SaveGrab(Form(), u"dropdown-bars.png");
}

TEST_F(ExtDropDownTest, ButtonFacesFollowTheState)
{
    TExtButtonAppearance* a = dd->ButtonAppearance();
    a->SetColor(0x00C000);
    a->SetBorderColor(0x000000);
    // Solid faces: the drop-down's style gave every state a gradient.
    a->SetColorTo(clNoColor);
    a->SetColorHotTo(clNoColor);
    a->SetColorDownTo(clNoColor);
    a->SetColorDisabledTo(clNoColor);
    dd->DropDownFooter()->SetVisible(true);
    for (int i = 0; i < 2; ++i) {
        TFooterButton* item = dd->DropDownFooter()->Buttons()->Add();
        item->SetWidth(30);
        item->SetHeight(16);
    }
    dd->DropDownFooter()->Buttons()->Items(1)->SetEnabled(false);
    dd->ShowDropDown();
    TExtButton* b = Form()->Footer()->ButtonAt(0);
    TExtButton* off = Form()->Footer()->ButtonAt(1);
    auto face = [](TControl* c) {
        pt::ProcessEvents();
        auto g = pt::Grab(c);
        return pt::PixelOf(*g, c->Width() / 2, c->Height() / 2);
    };
    EXPECT_EQ(face(b), 0x00C000);
    EXPECT_EQ(face(off), a->ColorDisabled());
    pt::Move(b, 5, 5);
    EXPECT_EQ(face(b), a->ColorHot());
    pt::Press(b, 5, 5);
    EXPECT_EQ(b->State(), absDown);
    EXPECT_EQ(face(b), a->ColorDown());
    pt::Release(b, 5, 5);
    pt::MoveAway();
    EXPECT_EQ(face(b), 0x00C000);
}

TEST_F(ExtDropDownTest, AReadOnlyDropDownDrawsADisabledArrow)
{
    TExtDropDownSpeedButton* s = dd->Button()->SpeedButton();
    auto arrow = [&] {
        pt::ProcessEvents();
        auto g = pt::Grab(s);
        return pt::PixelOf(*g, 8, 8);
    };
    EXPECT_EQ(arrow(), clBlack);
    dd->SetReadOnly(true);
    s->Invalidate();
    EXPECT_EQ(arrow(), ColorToRGB(clGrayText));
}

TEST_F(ExtDropDownTest, ASelectionOnlyEditOpensOnAPressAndPaintsItsTextSelected)
{
    dd->SetEditorEnabled(false);
    dd->SetText(u"abc");
    dd->SetFocus();
    dd->Invalidate();
    pt::ProcessEvents();
    auto g = pt::Grab(dd);
    EXPECT_EQ(pt::PixelOf(*g, 3, 10), ColorToRGB(clHighlight));
    EXPECT_EQ(pt::PixelOf(*g, 2, 10), clBlack);  // the outline
    pt::Type(u"x");
    EXPECT_EQ(dd->Text(), u"abc");  // typing is ignored
    pt::Click(dd, 30, 10);
    EXPECT_TRUE(Open());
    pt::Key(VK_ESCAPE);
    EXPECT_FALSE(Open());
    dd->SetFocusDraw(false);
    dd->Invalidate();
    pt::ProcessEvents();
    g = pt::Grab(dd);
    EXPECT_NE(pt::PixelOf(*g, 3, 10), ColorToRGB(clHighlight));
}

// ---- TDbgList -------------------------------------------------------------------------------

TEST(ExtDropDownDbgList, IndexesOutsideTheListRaise)
{
    TDbgList list;
    int a = 1, b = 2;
    list.Add(&a);
    EXPECT_EQ(list.ItemsEx(0), &a);
    list.SetItemsEx(0, &b);
    EXPECT_EQ(list.ItemsEx(0), &b);
    for (int i : {-1, 1, 5}) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { list.ItemsEx(i); }, u"Index out of bounds in list read access"));
        EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { list.SetItemsEx(i, &a); },
                                                       u"Index out of bounds in list write access"));
    }
    TDbgList copy;
    copy.Add(&b);
    TList source;
    source.Add(&a);
    source.Add(&b);
    copy.AssignList(&source);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.ItemsEx(0), &a);
    EXPECT_EQ(copy.ItemsEx(1), &b);
}

} // namespace
