#include "plat/StdCtrls.h"

#include "StdCommon.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

namespace plat {

using namespace std_detail;

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque | csReplicatable);
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (autoSize_ == Value)
        return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (layout_ == Value)
        return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (wordWrap_ == Value)
        return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (transparent_ == Value)
        return;
    transparent_ = Value;
    if (Value)
        SetControlStyle(ControlStyle() & ~csOpaque);
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (showAccelChar_ == Value)
        return;
    showAccelChar_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
    if (focusControl_)
        focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomLabel::SetParent(TWinControl* AParent)
{
    TGraphicControl::SetParent(AParent);
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::SetEllipsisPosition(TEllipsisPosition Value)
{
    if (ellipsis_ == Value)
        return;
    ellipsis_ = Value;
    Invalidate();
}

unsigned TCustomLabel::TextFlags() const
{
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_ || HasState(csLoading))
        return;
    String text = Caption();
    // An empty caption still measures one line, so the label keeps its height.
    if (text.empty() || (showAccelChar_ && text == u"&"))
        text += u' ';
    const TSize ext = MeasureText(Font(), text, TextFlags(), wordWrap_ ? Width() : 0);
    int left = Left();
    const int w = wordWrap_ ? Width() : ext.cx;
    if (!wordWrap_ && alignment_ == taRightJustify)
        left += Width() - w;
    else if (!wordWrap_ && alignment_ == taCenter)
        left += (Width() - w) / 2;
    SetBounds(left, Top(), w, ext.cy);
}

void TCustomLabel::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(client);
    }
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    const String text = Caption();
    unsigned flags = TextFlags();
    if (ellipsis_ == epEndEllipsis && !autoSize_ && !wordWrap_)
        flags |= DT_END_ELLIPSIS | DT_SINGLELINE;
    TRect r = client;
    if (layout_ != tlTop) {
        TRect calc = client;
        c->DrawText(text.empty() ? String(u" ") : text, calc, flags | DT_CALCRECT);
        const int h = calc.Height();
        const int dy = layout_ == tlCenter ? (client.Height() - h) / 2 : client.Height() - h;
        r.Top += dy;
        r.Bottom = r.Top + h;
    }
    if (Enabled()) {
        c->DrawText(text, r, flags);
    } else {
        // The platform's engraved look of disabled text.
        TRect shifted{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, shifted, flags);
        c->Font()->SetColor(clBtnShadow);
        c->DrawText(text, r, flags);
    }
}

void TCustomLabel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
        TGraphicControl::WndProc(Message);
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(Message.WParam, Caption())) {
            if (focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                Message.Result = 1;
            }
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(Message);
}

} // namespace plat
