// Geometry: exact bounds, the framework's alignment order, anchors, client sizes.
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TBox;

class GeometryTest : public UiTest {};

TEST_F(GeometryTest, TopPanelsFollowTheVisibleSetWithoutGaps)
{
    struct Case {
        const char* name;
        bool visible[3];          // the three top panels (69, 49, 72)
        int tops[3];              // expected tops, -1 = hidden
    };
    // One panel changes at a time, as the windows do it.
    const Case cases[] = {
        {"all shown", {true, true, true}, {0, 69, 118}},
        {"middle hidden", {true, false, true}, {0, -1, 69}},
        {"middle shown again", {true, true, true}, {0, 69, 118}},
        {"first hidden", {false, true, true}, {-1, 0, 49}},
        {"first shown again", {true, true, true}, {0, 69, 118}},
        {"last hidden", {true, true, false}, {0, 69, -1}},
        {"last shown again", {true, true, true}, {0, 69, 118}},
    };
    TForm form(nullptr);
    form.SetClientWidth(460);
    TBox* top[3];
    const int heights[3] = {69, 49, 72};
    for (int i = 0; i < 3; ++i) {
        top[i] = new TBox(&form);
        // As in a form description: the designed tops give the order.
        top[i]->SetBounds(0, 100 * i, 460, heights[i]);
        top[i]->SetAlign(alTop);
        top[i]->SetParent(&form);
    }
    auto* bottom = new TBox(&form);
    bottom->SetHeight(40);
    bottom->SetAlign(alBottom);
    bottom->SetParent(&form);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int sum = 40;
        for (int i = 0; i < 3; ++i) {
            top[i]->SetVisible(c.visible[i]);
            if (c.visible[i]) sum += heights[i];
        }
        // The window's height is computed from the visible panels, as the update window does.
        form.SetClientHeight(sum);
        for (int i = 0; i < 3; ++i) {
            if (c.tops[i] < 0) continue;
            EXPECT_EQ(top[i]->Top(), c.tops[i]) << "panel " << i;
            EXPECT_EQ(top[i]->Width(), 460);
        }
        EXPECT_EQ(bottom->Top(), sum - 40);
        EXPECT_EQ(bottom->Height(), 40);
    }
}

TEST_F(GeometryTest, AlignmentOrderTopBottomLeftRightClient)
{
    TForm form(nullptr);
    form.SetClientWidth(300);
    form.SetClientHeight(200);
    auto make = [&](TAlign a, int w, int h) {
        auto* b = new TBox(&form);
        b->SetBounds(0, 0, w, h);
        b->SetAlign(a);
        b->SetParent(&form);
        return b;
    };
    TBox* client = make(alClient, 10, 10);
    TBox* right = make(alRight, 30, 10);
    TBox* left = make(alLeft, 20, 10);
    TBox* bottom = make(alBottom, 10, 25);
    TBox* top = make(alTop, 10, 15);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 300, 15));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 175, 300, 25));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 15, 20, 160));
    EXPECT_EQ(right->BoundsRect(), Bounds(270, 15, 30, 160));
    EXPECT_EQ(client->BoundsRect(), Bounds(20, 15, 250, 160));

    form.SetClientWidth(400);
    EXPECT_EQ(client->BoundsRect(), Bounds(20, 15, 350, 160));
    EXPECT_EQ(right->Left(), 370);

    // Back to no alignment: the control keeps where it is.
    right->SetAlign(alNone);
    EXPECT_EQ(right->BoundsRect(), Bounds(370, 15, 30, 160));
    EXPECT_EQ(client->BoundsRect(), Bounds(20, 15, 380, 160));
}

TEST_F(GeometryTest, AnchorsKeepEdgeDistancesWhenTheParentResizes)
{
    struct Case {
        const char* name;
        TAnchors anchors;
        TRect expected;  // after the parent grows by (+20, +10)
    };
    const Case cases[] = {
        {"left top", akLeft | akTop, Bounds(8, 8, 200, 100)},
        {"all four", akAll, Bounds(8, 8, 220, 110)},
        {"right bottom", akRight | akBottom, Bounds(28, 18, 200, 100)},
        {"left right", akLeft | akRight, Bounds(8, 8, 220, 100)},
        {"top bottom right", akTop | akBottom | akRight, Bounds(28, 8, 200, 110)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TForm form(nullptr);
        form.SetClientWidth(400);
        form.SetClientHeight(300);
        auto* list = new TBox(&form);
        list->SetParent(&form);
        list->SetBounds(8, 8, 200, 100);
        list->SetAnchors(c.anchors);
        form.SetClientWidth(420);
        form.SetClientHeight(310);
        EXPECT_EQ(list->BoundsRect(), c.expected);
        // Shrinking below the control and growing back loses nothing.
        form.SetClientWidth(50);
        form.SetClientHeight(20);
        form.SetClientWidth(420);
        form.SetClientHeight(310);
        EXPECT_EQ(list->BoundsRect(), c.expected);
    }
}

TEST_F(GeometryTest, BoundsStayExactlyAsSet)
{
    TForm form(nullptr);
    auto* combo = new TBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(10, 20, 145, 22);
    auto* edit = new TBox(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 50, 145, 21);
    form.Show();
    ProcessEvents();
    EXPECT_EQ(combo->BoundsRect(), Bounds(10, 20, 145, 22));
    EXPECT_EQ(edit->BoundsRect(), Bounds(10, 50, 145, 21));
    auto g = Grab(edit);
    EXPECT_EQ(g->Width(), 145);
    EXPECT_EQ(g->Height(), 21);
    form.Hide();
}

TEST_F(GeometryTest, ClientWidthSnappedBackInOnResize)
{
    TForm form(nullptr);
    form.SetClientWidth(460);
    form.SetClientHeight(700);
    int resizes = 0;
    form.OnResize = [&](TObject*) {
        ++resizes;
        if (form.ClientWidth() != 460) form.SetClientWidth(460);
    };
    form.SetClientWidth(500);
    EXPECT_EQ(form.ClientWidth(), 460);
    EXPECT_GE(resizes, 1);
    form.SetClientHeight(650);
    EXPECT_EQ(form.ClientWidth(), 460);
    EXPECT_EQ(form.ClientHeight(), 650);
}

TEST_F(GeometryTest, BorderedControlsHaveTheirFrameOutsideTheClientArea)
{
    struct Case {
        const char* name;
        TBorderStyle border;
        bool ctl3d;
        int frame;
    };
    const Case cases[] = {
        {"no border", bsNone, true, 0},
        {"client edge", bsSingle, true, 2},
        {"flat border", bsSingle, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TForm form(nullptr);
        auto* box = new TBox(&form);
        box->SetParent(&form);
        box->SetBounds(10, 10, 100, 50);
        box->SetCtl3D(c.ctl3d);
        box->SetBorderStyle(c.border);
        EXPECT_EQ(box->ClientRect(), Rect(0, 0, 100 - 2 * c.frame, 50 - 2 * c.frame));
        const TPoint o = box->ClientOrigin();
        const TPoint fo = form.ClientOrigin();
        EXPECT_EQ(o.X - fo.X, 10 + c.frame);
        EXPECT_EQ(o.Y - fo.Y, 10 + c.frame);
        box->SetClientWidth(80);
        EXPECT_EQ(box->Width(), 80 + 2 * c.frame);
    }
}

class FontWatch : public TBox {
public:
    using TBox::TBox;
    int fontChanges = 0, colorChanges = 0;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_FONTCHANGED) ++fontChanges;
        if (m.Msg == CM_COLORCHANGED) ++colorChanges;
        TBox::WndProc(m);
    }
};

TEST_F(GeometryTest, ParentFontAndParentColorFollowTheParentUntilSetOwnValues)
{
    TForm form(nullptr);
    auto* panel = new FontWatch(&form);
    panel->SetParent(&form);
    auto* inner = new FontWatch(&form);
    inner->SetParent(panel);
    inner->SetParentColor(true);
    panel->SetParentColor(true);
    form.Font()->SetName(u"Verdana");
    form.Font()->SetHeight(-11);
    form.SetColor(clWhite);
    EXPECT_EQ(inner->Font()->Name(), u"Verdana");
    EXPECT_EQ(inner->Font()->Height(), -11);
    EXPECT_TRUE(inner->ParentFont());
    EXPECT_EQ(inner->Color(), clWhite);
    EXPECT_GE(inner->fontChanges, 1);
    EXPECT_GE(inner->colorChanges, 1);

    // An own font or colour ends the inheritance of that property only.
    inner->Font()->SetHeight(-32);
    EXPECT_FALSE(inner->ParentFont());
    inner->SetColor(clRed);
    EXPECT_FALSE(inner->ParentColor());
    form.Font()->SetName(u"Tahoma");
    form.SetColor(clBtnFace);
    EXPECT_EQ(panel->Font()->Name(), u"Tahoma");
    EXPECT_EQ(panel->Color(), clBtnFace);
    EXPECT_EQ(inner->Font()->Name(), u"Verdana");
    EXPECT_EQ(inner->Font()->Height(), -32);
    EXPECT_EQ(inner->Color(), clRed);

    // Back to the parent's values on request.
    inner->SetParentFont(true);
    inner->SetParentColor(true);
    EXPECT_EQ(inner->Font()->Name(), u"Tahoma");
    EXPECT_EQ(inner->Color(), clBtnFace);
}

} // namespace
} // namespace plat
