#include "UAbout.h"

#include "UComon.h"
#include "UFormKit.h"
#include "UTralvexeFirmWare.h"
#include "UVersionCheck.h"
#include "plat/ExtCtrls.h"
#include "plat/Graphics.h"
#include "plat/Process.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFAbout* FAbout = nullptr;

namespace {

constexpr TColor Logo_Blue = 0x8B4A00;  // 0x00BBGGRR: a dark blue

TLabel* New_Label(TFAbout* form, int left, int top, const char16_t* text)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetCaption(text);
    return l;
}

// The maker's mark: a white "V" on a dark-blue rounded square, drawn once at its shown size.
void Draw_Logo(TBitmap& bmp)
{
    bmp.SetSize(81, 81);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(Program_Color);
    c->FillRect(TRect{0, 0, 81, 81});
    c->Brush()->SetColor(Logo_Blue);
    c->Pen()->SetColor(Logo_Blue);
    c->RoundRect(2, 2, 79, 79, 18, 18);
    c->Brush()->SetColor(clWhite);
    c->Pen()->SetColor(clWhite);
    c->Polygon({TPoint{17, 18}, TPoint{30, 18}, TPoint{40, 50}, TPoint{50, 18}, TPoint{63, 18}, TPoint{46, 64},
                TPoint{34, 64}});
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

    Image2 = new TImage(this);
    Image2->SetParent(this);
    Image2->SetBounds(12, 12, 81, 81);
    Image2->SetStretch(true);
    Draw_Logo(*Image2->Picture()->Bitmap());
    Image2->SetCursor(crHandPoint);
    Image2->OnClick = [this](TObject* Sender) { Label4Click(Sender); };

    Label1 = New_Label(this, 104, 12, u"Software Tralvex ");
    {
        TFont bold;
        bold.SetName(u"Verdana");
        bold.SetSize(8);
        bold.SetStyle(TFontStyles{fsBold});
        Label1->SetFont(&bold);
    }
    Label2 = New_Label(this, 104, 30, u"");
    Label3 = New_Label(this, 104, 52, u"Version :");
    Label10 = New_Label(this, 230, 52, u"");
    Label6 = New_Label(this, 104, 70, u"Software Code : ");
    Label9 = New_Label(this, 230, 70, u"");
    Label8 = New_Label(this, 104, 88, u"Document Code :");
    Label12 = New_Label(this, 230, 88, u"");
    Label4 = New_Label(this, 12, 120, u"www.varnok.com");
    {
        TFont link;
        link.SetName(u"Verdana");
        link.SetSize(8);
        link.SetColor(clBlue);
        link.SetStyle(TFontStyles{fsUnderline});
        Label4->SetFont(&link);
    }
    Label4->SetCursor(crHandPoint);
    Label4->OnClick = [this](TObject* Sender) { Label4Click(Sender); };

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
    Label10->SetCaption(SW_Version);
    Label12->SetCaption(u"DL40518");
    SetClientSize(425, 148);
    TForm::DoShow();
}

void TFAbout::Label4Click(TObject*)
{
    ShellOpen(Home_Page_URL);
}
