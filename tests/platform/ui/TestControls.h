#pragma once
// Small controls for the window-framework tests: a push button with the framework's button
// rules (default/cancel keys, accelerator, modal result) and a panel that paints one colour.
#include <vector>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

namespace plat::testctl {

class TTestButton : public TCustomControl {
public:
    explicit TTestButton(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 75, 25);
        SetControlStyle(ControlStyle() & ~csClickEvents);
    }
    String ClassName() const override { return u"TTestButton"; }

    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    int KeyDownsSeen = 0;

    void Click() override
    {
        TCustomControl::Click();
        if (ModalResult != mrNone) {
            if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(ModalResult);
        }
    }

    void WndProc(TMessage& m) override
    {
        switch (m.Msg) {
        case CM_DIALOGKEY:
            if ((m.WParam == VK_RETURN && Default) ||
                (m.WParam == VK_ESCAPE && Cancel && GetKeyState(static_cast<int>(VK_SHIFT)) >= 0 && Visible() && Enabled())) {
                // A focused button takes Enter itself.
                TCustomForm* f = GetParentForm(this);
                TWinControl* ac = f ? f->ActiveControl() : nullptr;
                if (!(ac && ac->ClassName().find(u"Button") != String::npos)) {
                    Click();
                    m.Result = 1;
                    return;
                }
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(m.WParam, Caption()) && Visible() && Enabled()) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        case CN_KEYDOWN:
            if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) ++KeyDownsSeen;
            break;
        case CN_KEYUP:
            if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) Click();
            break;
        default:
            break;
        }
        TCustomControl::WndProc(m);
    }

protected:
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        if (Button == mbLeft && ClientRect().Contains({X, Y})) Click();
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBtnFace);
        Canvas()->Pen()->SetColor(clBlack);
        Canvas()->Rectangle(ClientRect());
        TRect r = ClientRect();
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

// A windowed control filled with one colour.
class TColorBox : public TCustomControl {
public:
    explicit TColorBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    String ClassName() const override { return u"TColorBox"; }
    std::vector<TMessage> Received;
    bool Record = false;
    void WndProc(TMessage& m) override
    {
        if (Record) Received.push_back(m);
        TCustomControl::WndProc(m);
    }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A graphic control filled with one colour.
class TColorSpot : public TGraphicControl {
public:
    explicit TColorSpot(TComponent* AOwner) : TGraphicControl(AOwner) {}
    String ClassName() const override { return u"TColorSpot"; }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A plain windowed container (no focus of its own).
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    String ClassName() const override { return u"TBox"; }
};

// A focusable windowed control (stands in for an edit).
class TFocusBox : public TCustomControl {
public:
    explicit TFocusBox(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 100, 21);
    }
    String ClassName() const override { return u"TFocusBox"; }
    String Typed;
    LRESULT DlgCode = 0;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = DlgCode;
            return;
        }
        TCustomControl::WndProc(m);
    }
    void DefaultHandler(TMessage& m) override
    {
        if (m.Msg == WM_CHAR) Typed += static_cast<char16_t>(m.WParam);
        TCustomControl::DefaultHandler(m);
    }
};

} // namespace plat::testctl
