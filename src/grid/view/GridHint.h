#pragma once
// The grid's hint window: measures and draws hint texts with the markup renderer (and the
// grid's escaped Unicode form), for cell hints and the scroll hints.
#include "ExtGrid.h"
#include "plat/Forms.h"

namespace grid {

class THTMLHintWindow : public plat::THintWindow {
public:
    explicit THTMLHintWindow(plat::TComponent* AOwner);
    String ClassName() const override { return u"THTMLHintWindow"; }
    // (0, 0, width, height) of the text laid out within MaxWidth.
    plat::TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
    // Sized to the text + 16 (+ 8 for escaped Unicode) by the text + 4, kept 2 pixels inside
    // the monitor of its top-left corner, shown without activation.
    void ActivateHint(plat::TRect R, const String& AHint) override;
    // AData a string grid: its images are used for IDX: pictures.
    void ActivateHintData(plat::TRect R, const String& AHint, void* AData) override;
    int TextWidth() const { return FTextWidth; }
    int TextHeight() const { return FTextHeight; }
    // The face of escaped-Unicode hints: the font name of the grid that showed a hint last.
    static String& LastGridFontName();

protected:
    void Paint() override;

private:
    plat::TPoint Measure(const String& AHint, int MaxWidth, bool& Wide);
    plat::TCustomImageList* FImages = nullptr;  // borrowed
    int FTextWidth = 0, FTextHeight = 0;
    String FWideCaption;
};

// Makes THTMLHintWindow the application's hint window class (off: the layer's own).
void SetUseHTMLHints(bool Value);
bool UseHTMLHints();

} // namespace grid
