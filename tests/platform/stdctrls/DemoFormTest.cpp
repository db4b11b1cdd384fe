// A form with every standard control, rendered to stdctrls_demo.png in the test folder of
// the build for a reviewer to look at. The pixel probes guard what a glance would catch:
// texts drawn, the combo's button, the checked box, the selected list item.
#include <gtest/gtest.h>

#include <memory>

#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/ImgList.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

constexpr TColor FormColor = RGB(248, 247, 237);

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int l, int t, int w, int h)
{
    T* c = new T(owner);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

void VerdanaGrey(TFont* f, int pixels, bool bold)
{
    f->SetName(u"Verdana");
    f->SetHeight(-pixels);
    f->SetColor(clGray);
    if (bold)
        f->SetStyle({fsBold});
}

// 16 x 16 pictures: a filled circle and a filled square on a magenta mask.
void MakePictures(TImageList* list)
{
    TBitmap strip(32, 16);
    TCanvas* c = strip.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect({0, 0, 32, 16});
    c->Pen()->SetColor(clGreen);
    c->Brush()->SetColor(clLime);
    c->Ellipse(2, 2, 14, 14);
    c->Pen()->SetColor(clMaroon);
    c->Brush()->SetColor(clRed);
    c->Rectangle(19, 3, 29, 13);
    list->AddMasked(&strip, clFuchsia);
}

class DemoForm : public pt::UiTest {};

TEST_F(DemoForm, EveryStandardControlRenders)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetClientSize(700, 520);
    form->SetColor(FormColor);
    form->Font()->SetName(u"Verdana");
    form->Font()->SetHeight(-11);

    auto* title = Place<TPanel>(form.get(), form.get(), 0, 0, 700, 69);
    title->SetAlign(alTop);
    title->SetBevelOuter(bvNone);
    title->SetColor(clWhite);
    auto* code = Place<TLabel>(form.get(), title, 16, 8, 10, 10);
    VerdanaGrey(code->Font(), 32, false);
    code->SetCaption(u"QR40518");
    auto* desc = Place<TLabel>(form.get(), title, 16, 42, 10, 10);
    VerdanaGrey(desc->Font(), 11, true);
    desc->SetCaption(u"Set Communication");
    auto* link = Place<TLinkLabel>(form.get(), title, 420, 20, 10, 10);
    link->SetCaption(u"New version: <a href=\"http://host/download\">download now</a>");

    auto* shape = Place<TShape>(form.get(), form.get(), 10, 78, 240, 36);
    shape->Pen()->SetColor(clSilver);
    shape->Brush()->SetStyle(bsClear);
    auto* conf = Place<TLabel>(form.get(), form.get(), 17, 83, 10, 10);
    conf->SetCaption(u"Configuration: &Plant_North");
    auto* line = Place<TShape>(form.get(), form.get(), 10, 120, 680, 1);
    line->Pen()->SetColor(clSilver);

    auto* nameLabel = Place<TLabel>(form.get(), form.get(), 10, 132, 10, 10);
    nameLabel->SetCaption(u"Name:");
    auto* edit = Place<TEdit>(form.get(), form.get(), 80, 128, 160, 21);
    edit->SetText(u"Plant_North");
    auto* pass = Place<TRichEdit>(form.get(), form.get(), 80, 156, 160, 23);
    pass->SetWordWrap(false);
    pass->SetText(u"cert_client.pem");
    auto* memo = Place<TRichEdit>(form.get(), form.get(), 80, 186, 160, 60);
    memo->SetScrollBars(ssVertical);
    memo->SetText(u"{\r\n  \"value\": %VALUE%\r\n}");

    auto* comboList = Place<TComboBox>(form.get(), form.get(), 260, 128, 190, 22);
    comboList->SetStyle(csDropDownList);
    for (const char16_t* s : {u"Firmware + Configuration", u"Firmware", u"Configuration"})
        comboList->Items()->Add(s);
    comboList->SetItemIndex(0);
    auto* comboEdit = Place<TComboBox>(form.get(), form.get(), 260, 156, 190, 22);
    for (const char16_t* s : {u"9600", u"19200", u"115200"})
        comboEdit->Items()->Add(s);
    comboEdit->SetText(u"115200");

    auto* check1 = Place<TCheckBox>(form.get(), form.get(), 260, 186, 190, 17);
    check1->SetCaption(u"Read &back after writing");
    check1->SetChecked(true);
    auto* check2 = Place<TCheckBox>(form.get(), form.get(), 260, 206, 190, 17);
    check2->SetCaption(u"Clean Session");
    auto* check3 = Place<TCheckBox>(form.get(), form.get(), 260, 226, 190, 17);
    check3->SetCaption(u"Disabled, ticked");
    check3->SetChecked(true);
    check3->SetEnabled(false);
    auto* radio1 = Place<TRadioButton>(form.get(), form.get(), 470, 186, 100, 17);
    radio1->SetCaption(u"Station");
    auto* radio2 = Place<TRadioButton>(form.get(), form.get(), 470, 206, 120, 17);
    radio2->SetCaption(u"Access Point");
    radio2->SetChecked(true);

    auto* list = Place<TListBox>(form.get(), form.get(), 470, 78, 220, 100);
    for (const char16_t* s : {u"Plant_North", u"Plant_South", u"Warehouse", u"Test bench", u"Office", u"Lab 2", u"Spare", u"Old"})
        list->Items()->Add(s);
    list->SetItemIndex(1);
    list->SetAnchors(akAll);

    auto* images = new TImageList(form.get());
    MakePictures(images);

    auto* pages = Place<TPageControl>(form.get(), form.get(), 10, 256, 330, 200);
    for (const char16_t* caption : {u"Language", u"Connection Options", u"Settings"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    pages->SetActivePageIndex(1);
    auto* onPage = Place<TCheckBox>(form.get(), pages->Pages(1), 8, 8, 220, 17);
    onPage->SetCaption(u"Check for updates at start-up");
    onPage->SetChecked(true);
    auto* image = Place<TImage>(form.get(), pages->Pages(1), 8, 40, 48, 48);
    images->GetBitmap(0, image->Picture()->Bitmap());
    image->SetStretch(true);
    image->SetTransparent(true);
    auto* button = Place<TButton>(form.get(), pages->Pages(1), 200, 130, 110, 28);
    button->SetCaption(u"&Check now");

    auto* group = Place<TCategoryPanelGroup>(form.get(), form.get(), 350, 256, 340, 200);
    group->SetColor(FormColor);
    group->SetGradientColor(RGB(231, 216, 216));
    group->SetImages(images);
    VerdanaGrey(group->HeaderFont(), 15, true);
    const char16_t* captions[] = {u"1. Select Device", u"2. Ethernet Connection", u"3. Working Mode", u"9. Wi-Fi"};
    const int heights[] = {67, 120, 67, 90};
    TCategoryPanel* prev = nullptr;
    for (int i = 0; i < 4; ++i) {
        auto* p = group->CreatePanel(form.get());
        p->SetCaption(captions[i]);
        p->SetExpandedImageIndex(0);
        p->SetCollapsedImageIndex(1);
        p->SetHeight(heights[i]);
        p->SetTop(prev ? prev->Top() + prev->Height() : 0);
        prev = p;
        auto* l = Place<TLabel>(form.get(), p->Surface(), 10, 8, 10, 10);
        l->SetCaption(u"Field of panel " + String(1, static_cast<char16_t>(u'1' + i)));
        auto* c = Place<TComboBox>(form.get(), p->Surface(), 150, 5, 150, 22);
        c->SetStyle(csDropDownList);
        c->Items()->Add(u"Only Ethernet Cable ");
        c->SetItemIndex(0);
        if (i == 1)
            p->Collapse();
        if (i == 3) {
            p->Collapse();
            p->SetEnabled(false);
        }
    }

    auto* bottom = Place<TPanel>(form.get(), form.get(), 0, 480, 700, 40);
    bottom->SetAlign(alBottom);
    bottom->SetBevelOuter(bvNone);
    bottom->SetColor(FormColor);
    auto* splitter = Place<TSplitter>(form.get(), bottom, 0, 0, 3, 40);
    splitter->SetBeveled(true);
    auto* ok = Place<TButton>(form.get(), bottom, 475, 6, 110, 28);
    ok->SetCaption(u"OK");
    ok->SetDefault(true);
    auto* cancel = Place<TButton>(form.get(), bottom, 585, 6, 110, 28);
    cancel->SetCaption(u"Cancel");

    form->Show();
    comboList->SetFocus();
    pt::ProcessEvents();
    pt::SaveGrab(form.get(), u"stdctrls_demo.png");

    // Open drop-down list on a second picture.
    comboEdit->SetDroppedDown(true);
    pt::ProcessEvents();
    pt::SaveGrab(form.get(), u"stdctrls_demo_dropped.png");
    comboEdit->SetDroppedDown(false);

    auto grab = pt::Grab(form.get());
    auto inkIn = [&](const TControl* c, TColor background) {
        const TPoint o = form->ScreenToClient(c->ClientToScreen({0, 0}));
        int ink = 0;
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                if (pt::PixelOf(*grab, o.X + x, o.Y + y) != background)
                    ++ink;
        return ink;
    };
    EXPECT_GT(inkIn(code, clWhite), 50) << "the big title label shows its text";
    EXPECT_GT(inkIn(check1, FormColor), 30);
    EXPECT_GT(inkIn(onPage, ColorToRGB(clBtnFace)), 30) << "controls on the active page show";
    // The one-pixel line shape is a silver line of its full width, nothing above or below.
    EXPECT_EQ(pt::PixelOf(*grab, 10, 120), clSilver);
    EXPECT_EQ(pt::PixelOf(*grab, 465, 120), clSilver);  // the list box covers the rest
    EXPECT_EQ(pt::PixelOf(*grab, 300, 119), FormColor);
    EXPECT_EQ(pt::PixelOf(*grab, 300, 121), FormColor);
    // The selected list item is highlighted to its right end, past the text.
    const TPoint li = form->ScreenToClient(list->ClientToScreen({list->ClientWidth() - 3, list->ItemRect(1).Top + 3}));
    EXPECT_EQ(pt::PixelOf(*grab, li.X, li.Y), ColorToRGB(clHighlight));
}

} // namespace
