// A demo window of the drop-down kinds for a look on a real display: each kind with a header
// and footer (markup caption, buttons, size grip), placed so that its form opens below the
// edit and over the window. Not a test: run it on a display and use the mouse.
#include "ExtMemoDropDown.h"
#include "ExtTrackBarDropDown.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"

using namespace dropdown;
using namespace plat;

namespace {

void DressBars(TExtCustomDropDown* D, const String& Caption)
{
    D->DropDownHeader()->SetVisible(true);
    D->DropDownHeader()->SetCaption(u"<b>" + Caption + u"</b>");
    D->DropDownFooter()->SetVisible(true);
    TFooterButton* ok = D->DropDownFooter()->Buttons()->Add();
    ok->SetCaption(u"OK");
    ok->SetModalResult(mrOk);
    TFooterButton* cancel = D->DropDownFooter()->Buttons()->Add();
    cancel->SetCaption(u"Cancel");
    cancel->SetModalResult(mrCancel);
}

} // namespace

int main()
{
    Application->Initialize();
    auto* form = new TForm(nullptr);
    form->SetCaption(u"Drop-down demo");
    form->SetBounds(40, 40, 520, 360);

    auto* trackLabel = new TLabel(form);
    trackLabel->SetParent(form);
    trackLabel->SetBounds(20, 16, 200, 16);
    trackLabel->SetCaption(u"Track bar");
    auto* track = new TExtTrackBarDropDown(form);
    track->SetParent(form);
    track->SetBounds(20, 36, 200, 21);
    track->SetMax(20);
    track->SetPosition(5);
    DressBars(track, u"Position");

    auto* memoLabel = new TLabel(form);
    memoLabel->SetParent(form);
    memoLabel->SetBounds(260, 16, 200, 16);
    memoLabel->SetCaption(u"Memo");
    auto* memo = new TExtMemoDropDown(form);
    memo->SetParent(form);
    memo->SetBounds(260, 36, 200, 21);
    memo->SetEditorEnabled(false);
    TStringList lines;
    lines.SetText(u"First line of the note\r\nsecond line\r\nthird line");
    memo->SetMemoText(&lines);
    DressBars(memo, u"Note");

    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(20, 300, 200, 21);
    other->SetText(u"another field");

    Application->SetMainForm(form);
    Application->Run();
    delete form;
    return 0;
}
