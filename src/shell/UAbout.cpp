#include "UAbout.h"

#include "UComon.h"
#include "UFormKit.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFAbout* FAbout = nullptr;

namespace {

TLabel* New_Label(TFAbout* form, int left, int top, const char16_t* text)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetCaption(text);
    return l;
}

} // namespace

TFAbout::TFAbout(TComponent* owner) : TForm(owner)
{
    FAbout = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetColor(Program_Color);
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    SetFont(&f);
    SetCaption(u"About");
    Label1 = New_Label(this, 104, 12, u"Software Tralvex ");
    Label2 = New_Label(this, 104, 30, u"");
    Label3 = New_Label(this, 104, 52, u"Version :");
    Label10 = New_Label(this, 230, 52, u"");
    Label6 = New_Label(this, 104, 70, u"Software Code : ");
    Label9 = New_Label(this, 230, 70, u"");
    Label8 = New_Label(this, 104, 88, u"Document Code :");
    Label12 = New_Label(this, 230, 88, u"");
    FadeButton1 = New_Button(this, this, 299, 110, 110, 28);
    FadeButton1->SetCaption(u"OK");
    FadeButton1->SetModalResult(mrOk);
    SetClientSize(425, 148);
}

TFAbout::~TFAbout()
{
    if (FAbout == this) FAbout = nullptr;
}

void TFAbout::DoShow()
{
    Label2->SetCaption(SW_Desc_Const);
    Label9->SetCaption(SW_Code_Const);
    Label10->SetCaption(u"1.114");
    Label12->SetCaption(u"DL40518");
    SetClientSize(425, 148);
    TForm::DoShow();
}
