#pragma once
// The grid's light controls: TExtGridButton, a flat speed button with gradient faces, state
// glyphs, a drop-down part and seven preset looks, and TExtCheckBox, a check box drawn in
// the classic style (the layer draws no themes). The placement of glyph and caption and the
// grey glyph are plain functions, so tests reach them without a window.
#include <memory>

#include "ExtObj.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

namespace plat { class TPopupMenu; }

namespace grid {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLeftRight { taLeftJustifyBox, taRightJustifyBox };

// Glyph and caption places inside a content rectangle of Width x Height, relative to its
// top-left corner. Margin -1 centres; Spacing -1 spaces evenly. Without a caption the glyph
// sits at (0, 0).
struct TButtonContentInput {
    int Width = 0, Height = 0;
    int GlyphWidth = 0, GlyphHeight = 0;  // 0 for no glyph
    int TextWidth = 0, TextHeight = 0;    // 0 for no caption
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
    bool RightToLeft = false;  // swaps left and right layouts
};
struct TButtonContentPlaces {
    plat::TPoint Glyph;
    plat::TPoint Text;
};
TButtonContentPlaces CalcButtonContent(const TButtonContentInput& In);

// A grey copy: each pixel v = round(mean of R, G, B) div 2 + 96, as R = G = B = v (halves
// rounded to even).
void MakeGreyGlyph(const plat::TBitmap& Source, plat::TBitmap& Grey);
int GreyGlyphValue(TColor Colour);

// Vertical (or horizontal) bands from FromColor to ToColor; Steps 0 counts as 1; a frame in
// FrameColor unless that is clNone.
void DrawButtonGradient(plat::TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                        const plat::TRect& R, int Steps, TColor FrameColor);

class TExtGridButton : public plat::TGraphicControl {
public:
    explicit TExtGridButton(plat::TComponent* AOwner);
    ~TExtGridButton() override;
    String ClassName() const override { return u"TExtGridButton"; }

    plat::TBitmap* Glyph() const { return FGlyph.get(); }
    // Copies; an empty GlyphDisabled becomes the grey copy, and with Shaded the shade is
    // rebuilt.
    void SetGlyph(const plat::TBitmap* Value);
    plat::TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    plat::TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    plat::TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    plat::TBitmap* GlyphShade() const { return FGlyphShade.get(); }

    bool Down() const { return FDown; }
    // Stays False unless GroupIndex <> 0 or Style = tasCheck; in a group without AllowAllUp
    // a pressed button cannot be released by writing False.
    void SetDown(bool Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    // Values below -1 are refused (nothing changes).
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    TExtGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TExtGridButtonStyle Value);
    int Look() const { return FLook; }
    // 0..6 set the preset colours; other values change nothing.
    void SetLook(int Value);
    bool Transparent = true;
    bool Rounded = false;
    bool DropDownButton = false;
    bool AutoThemeAdapt = false;
    bool AutoXPStyle = false;
    plat::TPopupMenu* DropDownMenu = nullptr;

    TColor ButtonColor = plat::clBtnFace;  // the Part's Color
    TColor ColorTo = plat::clNone;
    TColor ColorHot = 0xCAC7C7, ColorHotTo = plat::clNone;
    TColor ColorDown = 0xD8D3D2, ColorDownTo = plat::clNone;
    TColor ColorChecked = 0x808080, ColorCheckedTo = plat::clNone;
    TColor BorderColor = plat::clNone, BorderDownColor = plat::clNone, BorderHotColor = plat::clNone;

    plat::TNotifyEvent OnDropDown;

    enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    void Click() override;

protected:
    void Paint() override;
    void WndProc(plat::TMessage& Message) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    void UpdateExclusive();
    void ButtonPressed(int Group, TExtGridButton* Sender);
    void BuildShade();
    void PaintFace(plat::TRect& R);

    std::unique_ptr<plat::TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShade;
    bool FDown = false;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FFlat = true;
    bool FShaded = true;
    bool FShowCaption = true;
    TExtGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    TButtonState FState = bsUp;
    bool FDragging = false;
    bool FMouseInControl = false;
};

class TExtCheckBox : public plat::TCustomControl {
public:
    explicit TExtCheckBox(plat::TComponent* AOwner);
    String ClassName() const override { return u"TExtCheckBox"; }

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight Value);
    plat::TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(plat::TTextLayout Value);
    bool Checked() const { return FState == plat::cbChecked; }
    void SetChecked(bool Value);
    plat::TCheckBoxState State() const { return FState; }
    void SetState(plat::TCheckBoxState Value);
    bool Ellipsis = false;
    bool ReadOnly = false;
    bool ReturnIsTab = false;
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool TransparentChaching = false;
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // Inverts Checked unless ReadOnly.
    virtual void Toggle();

    // The classic box (13 x 13) and the caption rectangle for the current size and settings.
    plat::TRect BoxRect() const;
    plat::TRect CaptionRect() const;

protected:
    void Paint() override;
    void WndProc(plat::TMessage& Message) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;

private:
    void InvalidateBox();

    TLeftRight FAlignment = taLeftJustifyBox;
    plat::TTextLayout FButtonVertAlign = plat::tlTop;
    plat::TCheckBoxState FState = plat::cbUnchecked;
    bool FTransparent = false;
    bool FDown = false;
    bool FHot = false;
    bool FMouseDown = false;
    bool FBackgroundCached = false;
};

} // namespace grid
