// The focus frame of the string grid: a translucent frame in a top-level layered window
// round the edited cell, following every window move of the program.
#include "GridFocus.h"

#include "ExtGrid.h"
#include "plat/Messages.h"

namespace grid {

namespace {

TExtStringGrid* g_focusGrid = nullptr;
int g_hook = 0;
bool g_moving = false;

constexpr TColor kFrameColor = 0xFDD397;
constexpr std::uint8_t kFrameOpacity = 230;

} // namespace

void FocusHelperWndHook(plat::HWND, const plat::TMessage& Message) {
    if (Message.Msg != plat::WM_WINDOWPOSCHANGING && Message.Msg != plat::WM_WINDOWPOSCHANGED) return;
    if (!g_focusGrid || g_moving) return;
    // Moving the frame's own window reports a move too.
    g_moving = true;
    g_focusGrid->MoveFocusHelper();
    g_moving = false;
}

void InstallFocusHelperHook() {
    if (g_hook == 0) g_hook = plat::SetCallWndProcHook(FocusHelperWndHook);
}

void ApplyAlphaMaskToWindow(plat::TWinControl* Window, TGridAlphaMask* Mask) {
    if (!Window || !Mask || Mask->Height() == 0) return;
    Window->SetWindowExStyle(Window->WindowExStyle() | plat::WS_EX_LAYERED);
    plat::SetWindowPos(Window->Handle(), 0, 0, 0, Mask->Width(), Mask->Height(),
                       plat::SWP_NOMOVE | plat::SWP_NOACTIVATE | plat::SWP_NOZORDER);
    plat::UpdateLayeredWindow(Window->Handle(), Mask, Mask->Opacity);
}

void SetWindowTransparentStyle(plat::TWinControl* Window) {
    if (Window) Window->SetWindowExStyle(Window->WindowExStyle() | plat::WS_EX_TRANSPARENT);
}

TExtStringGrid* TExtStringGrid::FocusHelperGrid() { return g_focusGrid; }

void TExtStringGrid::ShowFocusHelper(plat::TRect R) {
    InstallFocusHelperHook();
    if (!FFocusWindow) FFocusWindow = new TGridFocusWindow(this);
    plat::ShowWindow(FFocusWindow->Handle(), plat::SW_HIDE);
    const int w = R.Width() + 9, h = R.Height() + 9;
    FFocusWindow->SetBounds(FFocusWindow->Left(), FFocusWindow->Top(), w, h);
    plat::TBitmap mask;
    MakeAlphaMaskBitmap(&mask, w, h, 3, 5, 4);
    plat::TBitmap colour;
    colour.SetPixelFormat(plat::pf24bit);
    colour.SetSize(w, h);
    colour.Canvas()->Brush()->SetColor(kFrameColor);
    colour.Canvas()->FillRect(plat::Rect(0, 0, w, h));
    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &colour, 0xFFFF);
    alpha.Opacity = kFrameOpacity;
    ApplyAlphaMaskToWindow(FFocusWindow, &alpha);
    // Only the frame shows: the cell itself stays uncovered.
    plat::SetWindowRgn(FFocusWindow->Handle(), plat::Rect(0, 0, w, h),
                       plat::Rect(4, 4, 4 + R.Width(), 4 + R.Height()));
    const TPoint p = ClientToScreen(R.TopLeft());
    FFocusWindow->SetBounds(p.X - 4, p.Y - 4, w, h);
    g_focusGrid = this;
    plat::ShowWindow(FFocusWindow->Handle(), plat::SW_SHOWNOACTIVATE);
}

void TExtStringGrid::HideFocusHelper() {
    if (g_focusGrid == this) g_focusGrid = nullptr;
    if (FFocusWindow) plat::ShowWindow(FFocusWindow->Handle(), plat::SW_HIDE);
}

void TExtStringGrid::MoveFocusHelper() {
    if (!FFocusWindow) return;
    const plat::TRect r = CellRect(Col(), Row());
    const TPoint p = ClientToScreen(r.TopLeft());
    FFocusWindow->SetBounds(p.X - 4, p.Y - 4, r.Width() + 9, r.Height() + 9);
}

} // namespace grid
