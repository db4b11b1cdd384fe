// Contact sheets of the drop-down kinds, one per colour style: each kind closed and open with
// a header and footer holding a markup caption and buttons, composed with the host form at
// their screen places, plus a focused selection-only edit, a disabled edit with
// DisabledBorder and a hot flat edit. The pictures are written only with TEST_PICTURES; the
// test checks that every open form lies below its edit and shows on the sheet at that place.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtMemoDropDown.h"
#include "ExtTrackBarDropDown.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

struct StyleName {
    grid::TExtStyle style;
    const char* name;
};
const StyleName kStyles[] = {
    {grid::tsOffice2003Blue, "Office2003Blue"},     {grid::tsOffice2003Silver, "Office2003Silver"},
    {grid::tsOffice2003Olive, "Office2003Olive"},   {grid::tsOffice2003Classic, "Office2003Classic"},
    {grid::tsOffice2007Luna, "Office2007Luna"},     {grid::tsOffice2007Obsidian, "Office2007Obsidian"},
    {grid::tsWindowsXP, "WindowsXP"},               {grid::tsWhidbey, "Whidbey"},
    {grid::tsCustom, "Custom"},                     {grid::tsOffice2007Silver, "Office2007Silver"},
    {grid::tsWindowsVista, "WindowsVista"},         {grid::tsWindows7, "Windows7"},
    {grid::tsTerminal, "Terminal"},                 {grid::tsOffice2010Blue, "Office2010Blue"},
    {grid::tsOffice2010Silver, "Office2010Silver"}, {grid::tsOffice2010Black, "Office2010Black"},
};

// Header and footer as the sheets show them: a markup caption, a header button, OK and
// Cancel in the footer.
void DressBars(TExtCustomDropDown* D, const String& Caption)
{
    D->DropDownHeader()->SetVisible(true);
    D->DropDownHeader()->SetCaption(u"<b>" + Caption + u"</b> <i>drop-down</i>");
    D->DropDownHeader()->Buttons()->Add()->SetCaption(u"?");
    D->DropDownFooter()->SetVisible(true);
    D->DropDownFooter()->SetCaption(u"<font color=\"clRed\">3</font> lines");
    TFooterButton* ok = D->DropDownFooter()->Buttons()->Add();
    ok->SetCaption(u"OK");
    ok->SetModalResult(mrOk);
    TFooterButton* cancel = D->DropDownFooter()->Buttons()->Add();
    cancel->SetCaption(u"Cancel");
    cancel->SetModalResult(mrCancel);
}

class ExtDropDownContactSheetTest : public pt::UiTest {
protected:
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }

    // One kind twice: closed at (X, 20) and opened at (X, 60).
    template <class Kind>
    Kind* AddKind(int X, const String& Caption, std::vector<TExtCustomDropDown*>& Opened)
    {
        auto* closed = new Kind(host.get());
        closed->SetParent(host.get());
        closed->SetBounds(X, 20, 180, 21);
        DressBars(closed, Caption);
        auto* open = new Kind(host.get());
        open->SetParent(host.get());
        open->SetBounds(X, 60, 180, 21);
        DressBars(open, Caption);
        all.push_back(closed);
        all.push_back(open);
        Opened.push_back(open);
        return open;
    }

    std::unique_ptr<TForm> host;
    std::vector<TExtCustomDropDown*> all;
};

TEST_F(ExtDropDownContactSheetTest, EveryKindClosedAndOpenInEachStyle)
{
    for (const StyleName& s : kStyles) {
        SCOPED_TRACE(s.name);
        all.clear();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(40, 40, 460, 420);
        host->SetCaption(String(u"Drop-downs: ") + String(s.name, s.name + std::char_traits<char>::length(s.name)));
        std::vector<TExtCustomDropDown*> opened;
        auto* track = AddKind<TExtTrackBarDropDown>(20, u"Track", opened);
        track->SetPosition(4);
        auto* memo = AddKind<TExtMemoDropDown>(240, u"Memo", opened);
        TStringList lines;
        lines.SetText(u"First line\r\nsecond line\r\nthird");
        memo->SetMemoText(&lines);
        for (auto* d : all) {
            if (auto* m = dynamic_cast<TExtMemoDropDown*>(d); m && m != memo) m->SetMemoText(&lines);
        }

        // The three looks of the edit itself, at the bottom.
        auto* selectionOnly = new TExtTrackBarDropDown(host.get());
        selectionOnly->SetParent(host.get());
        selectionOnly->SetBounds(20, 330, 120, 21);
        selectionOnly->SetPosition(7);
        auto* disabled = new TExtMemoDropDown(host.get());
        disabled->SetParent(host.get());
        disabled->SetBounds(160, 330, 120, 21);
        disabled->SetMemoText(&lines);
        disabled->SetDisabledBorder(true);
        disabled->SetEnabled(false);
        auto* flat = new TExtMemoDropDown(host.get());
        flat->SetParent(host.get());
        flat->SetBounds(300, 330, 120, 21);
        flat->SetFlat(true);
        flat->SetMemoText(&lines);
        all.push_back(selectionOnly);
        all.push_back(disabled);
        all.push_back(flat);
        for (auto* d : all) d->SetComponentStyle(s.style);

        host->Show();
        pt::ProcessEvents();
        pt::Move(flat, 30, 10);
        pt::ProcessEvents();
        EXPECT_TRUE(flat->MouseInControl());
        std::vector<TCustomForm*> forms{host.get()};
        for (TExtCustomDropDown* d : opened) {
            d->ShowDropDown();
            pt::ProcessEvents();
            ASSERT_TRUE(d->DroppedDown());
            // Kept open while the next one opens and the host takes the focus back.
            d->DropDownForm()->SetBlockActivate(true);
            forms.push_back(d->DropDownForm());
        }
        selectionOnly->SetFocus();
        pt::ProcessEvents();
        EXPECT_TRUE(selectionOnly->Focused());
        for (TExtCustomDropDown* d : opened) EXPECT_TRUE(d->DroppedDown());

        const std::unique_ptr<TBitmap> sheet = pt::GrabForms(forms);
        // The sheet starts at the host's outer corner; every open form sits below its edit.
        const TPoint origin = host->ClientToScreen(TPoint{0, 0});
        int left = origin.X, top = origin.Y;
        for (TCustomForm* f : forms) {
            left = std::min(left, f->Left());
            top = std::min(top, f->Top());
        }
        for (TExtCustomDropDown* d : opened) {
            TDropDownForm* f = d->DropDownForm();
            const TPoint edit = host->ClientToScreen(TPoint{d->Left(), d->Top()});
            EXPECT_EQ(f->Left(), edit.X);
            EXPECT_EQ(f->Top(), edit.Y + d->Height() - 1);
            // The form's own pixels at its place on the sheet, above the host.
            const std::unique_ptr<TBitmap> own = pt::Grab(f);
            for (const TPoint p : {TPoint{0, 0}, TPoint{f->Width() - 1, f->Height() - 1}, TPoint{f->Width() / 2, 30},
                                   TPoint{5, f->Height() - 5}}) {
                SCOPED_TRACE(::testing::Message() << p.X << "," << p.Y);
                EXPECT_EQ(pt::PixelOf(*sheet, f->Left() + p.X - left, f->Top() + p.Y - top), pt::PixelOf(*own, p.X, p.Y));
            }
        }
        pt::SaveFormsGrab(forms, String(u"dropdown_sheet_") + String(s.name, s.name + std::char_traits<char>::length(s.name)) + u".png");

        for (TExtCustomDropDown* d : opened) {
            d->DropDownForm()->SetBlockActivate(false);
            d->HideDropDown(false);
        }
        host.reset();
        pt::ProcessEvents();
    }
}

} // namespace
