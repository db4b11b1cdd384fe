#include "plat/MessageForm.h"

#include <algorithm>

#include "StdCommon.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"
#include "plat/UiResponder.h"

namespace plat {

using namespace std_detail;

namespace {

constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 6;
constexpr int MinButtonWidth = 75;

struct ButtonInfo {
    TMsgDlgBtn button;
    const char16_t* caption;
    TModalResult result;
};

// In the order the platform lines them up.
constexpr ButtonInfo ButtonTable[] = {
    {mbYes, u"&Yes", mrYes},         {mbNo, u"&No", mrNo},          {mbOK, u"OK", mrOk},
    {mbCancel, u"Cancel", mrCancel}, {mbAbort, u"&Abort", mrAbort}, {mbRetry, u"&Retry", mrRetry},
    {mbIgnore, u"&Ignore", mrIgnore}, {mbAll, u"&All", mrAll},      {mbNoToAll, u"N&o to All", mrNoToAll},
    {mbYesToAll, u"Yes to &All", mrYesToAll}, {mbHelp, u"&Help", mrNone}, {mbClose, u"&Close", mrClose},
};

// The kind's picture, drawn with the canvas: a red disc with a cross, a yellow triangle
// with "!", a blue disc with "i" or "?".
class TMessageIcon : public TGraphicControl {
public:
    TMessageIcon(TComponent* AOwner, TMsgDlgType Kind) : TGraphicControl(AOwner), kind_(Kind) {}

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        const TRect r{0, 0, IconSize, IconSize};
        if (kind_ == mtWarning) {
            c->Pen()->SetColor(RGB(128, 96, 0));
            c->Brush()->SetColor(RGB(255, 210, 0));
            c->Polygon({{16, 1}, {31, 29}, {1, 29}});
            Glyph(c, u"!", clBlack, 5);
            return;
        }
        const TColor fill = kind_ == mtError ? RGB(220, 40, 40) : RGB(40, 100, 210);
        c->Pen()->SetColor(kind_ == mtError ? RGB(140, 20, 20) : RGB(20, 60, 140));
        c->Brush()->SetColor(fill);
        c->Ellipse(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        if (kind_ == mtError) {
            c->Pen()->SetColor(clWhite);
            for (int d = -1; d <= 1; ++d) {
                c->MoveTo(10 + d, 10);
                c->LineTo(22 + d, 22);
                c->MoveTo(21 + d, 10);
                c->LineTo(9 + d, 22);
            }
            return;
        }
        Glyph(c, kind_ == mtConfirmation ? u"?" : u"i", clWhite, 0);
    }

private:
    void Glyph(TCanvas* C, const char16_t* Text, TColor Color, int Dy)
    {
        TFont f;
        f.SetName(u"Times New Roman");
        f.SetHeight(-22);
        f.SetStyle({fsBold});
        f.SetColor(Color);
        C->SetFont(&f);
        C->Brush()->SetStyle(bsClear);
        TRect t{0, Dy, IconSize, IconSize};
        C->DrawText(Text, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    TMsgDlgType kind_;
};

} // namespace

std::unique_ptr<TForm> CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    return CreateMessageDialog(String(), Msg, DlgType, Buttons);
}

std::unique_ptr<TForm> CreateMessageDialog(const String& Caption, const String& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons(biSystemMenu);
    form->SetPosition(poScreenCenter);
    form->SetColor(clBtnFace);
    form->SetCaption(Caption.empty() ? MsgDlgCaption(DlgType) : Caption);
    form->SetName(u"MessageDlg");

    int textLeft = Margin;
    int iconBottom = Margin;
    if (DlgType != mtCustom) {
        auto* icon = new TMessageIcon(form.get(), DlgType);
        icon->SetName(u"Image");
        icon->SetParent(form.get());
        icon->SetBounds(Margin, Margin, IconSize, IconSize);
        textLeft = Margin + IconSize + Margin;
        iconBottom = Margin + IconSize;
    }

    // Text wraps at a third of the screen, never narrower than the buttons need.
    const int wrap = std::max(200, (Screen ? Screen->Width() : 1280) / 3);
    auto* label = new TLabel(form.get());
    label->SetName(u"Message");
    label->SetParent(form.get());
    label->SetShowAccelChar(false);
    const TSize text = MeasureText(form->Font(), Msg.empty() ? String(u" ") : Msg, DT_WORDBREAK | DT_NOPREFIX, wrap);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetCaption(Msg);
    const int textTop = text.cy < IconSize ? Margin + (IconSize - text.cy) / 2 : Margin;
    label->SetBounds(textLeft, textTop, text.cx + 1, text.cy);

    std::vector<const ButtonInfo*> buttons;
    for (const ButtonInfo& b : ButtonTable)
        if (Buttons.Contains(b.button))
            buttons.push_back(&b);
    if (buttons.empty())
        buttons.push_back(&ButtonTable[2]);  // OK

    TCanvas* m = MeasureCanvas(form->Font());
    int rowWidth = 0;
    std::vector<int> widths;
    for (const ButtonInfo* b : buttons) {
        TRect r{0, 0, 1000, 0};
        m->DrawText(b->caption, r, DT_SINGLELINE | DT_CALCRECT);
        widths.push_back(std::max(MinButtonWidth, r.Width() + 16));
        rowWidth += widths.back();
    }
    rowWidth += ButtonGap * static_cast<int>(buttons.size() - 1);

    const int clientWidth = std::max(textLeft + text.cx + Margin, rowWidth + 2 * Margin);
    const int buttonTop = std::max(iconBottom, textTop + text.cy) + 16;
    form->SetClientSize(clientWidth, buttonTop + ButtonHeight + Margin);

    const bool hasCancel = Buttons.Contains(mbCancel);
    const bool hasNo = Buttons.Contains(mbNo);
    int x = (clientWidth - rowWidth) / 2;
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* b = new TButton(form.get());
        b->SetParent(form.get());
        b->SetCaption(buttons[i]->caption);
        b->SetModalResult(buttons[i]->result);
        b->SetBounds(x, buttonTop, widths[i], ButtonHeight);
        b->SetTabOrder(static_cast<int>(i));
        if (i == 0)
            b->SetDefault(true);
        const TMsgDlgBtn kind = buttons[i]->button;
        if ((kind == mbCancel) || (kind == mbNo && !hasCancel) || (kind == mbOK && buttons.size() == 1) ||
            (kind == mbOK && !hasCancel && !hasNo))
            b->SetCancel(true);
        if (i == 0)
            form->SetActiveControl(b);
        x += widths[i] + ButtonGap;
    }
    return form;
}

namespace {

class TMessageFormResponder final : public TUiResponder {
public:
    void SetNext(TUiResponder* Next) { next_ = Next; }

    int MessageBox(const MessageBoxRequest& Request) override
    {
        auto form = CreateMessageDialog(Request.Caption, Request.Text, Request.Kind, Request.Buttons);
        const TModalResult r = form->ShowModal();
        if (r != mrCancel || Request.Buttons.Contains(mbCancel))
            return r;
        // The close box without a Cancel button: No when offered, else OK.
        return Request.Buttons.Contains(mbNo) ? mrNo : mrOk;
    }
    FileDialogAnswer FileDialog(const FileDialogRequest& Request) override { return next_->FileDialog(Request); }
    int PopupMenu(const PopupMenuRequest& Request) override { return next_->PopupMenu(Request); }
    bool RunModal(TCustomForm& Form) override { return next_->RunModal(Form); }

private:
    TUiResponder* next_ = nullptr;
};

} // namespace

void UseMessageForms()
{
    static TMessageFormResponder responder;
    TUiResponder& current = UiResponder();
    if (&current == &responder)
        return;
    responder.SetNext(&current);
    SetUiResponder(&responder);
}

} // namespace plat
