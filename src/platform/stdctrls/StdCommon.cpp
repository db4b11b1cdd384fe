#include "StdCommon.h"

#include <memory>

#include "plat/Messages.h"

namespace plat::std_detail {

TCanvas* MeasureCanvas(const TFont* Font)
{
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap)
        bitmap = std::make_unique<TBitmap>(4, 4);
    TCanvas* c = bitmap->Canvas();
    if (Font)
        c->SetFont(Font);
    return c;
}

int FontPixels(const TFont* Font)
{
    if (!Font)
        return 11;
    const int h = Font->Height();
    return h < 0 ? -h : (h > 0 ? h : 11);
}

TSize MeasureText(const TFont* Font, StringView Text, unsigned Flags, int WrapWidth)
{
    TCanvas* c = MeasureCanvas(Font);
    TRect r{0, 0, WrapWidth > 0 ? WrapWidth : 0x3FFFFFFF, 0};
    c->DrawText(Text, r, Flags | DT_CALCRECT);
    return {r.Width(), r.Height()};
}

bool NotifyParent(TWinControl* Control, int Code)
{
    TWinControl* parent = Control->Parent();
    if (!parent)
        return false;
    SendMessage(parent->Handle(), WM_COMMAND, MakeWParam(0, Code), static_cast<LPARAM>(Control->Handle()));
    return true;
}

TColor BackgroundColor(const TControl* Control)
{
    return ColorToRGB(Control->Color());
}

void DrawClientEdge(TCanvas* Canvas, TRect& R)
{
    DrawEdge(Canvas, R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

bool RepaintOnChange(TCustomControl* Control, TMessage& Message, unsigned On)
{
    unsigned kind = 0;
    switch (Message.Msg) {
    case CM_TEXTCHANGED: kind = roText; break;
    case CM_FONTCHANGED: kind = roFont; break;
    case CM_COLORCHANGED: kind = roColor; break;
    case CM_ENABLEDCHANGED: kind = roEnabled; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: kind = roFocus; break;
    default: return false;
    }
    if (!(On & kind))
        return false;
    Control->TWinControl::WndProc(Message);
    Control->Invalidate();
    return true;
}

} // namespace plat::std_detail
