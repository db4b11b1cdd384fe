#pragma once
// The tree's scroll bars under a custom visual style. The hook lays two bar windows exactly
// over the tree's window scroll bars, paints arrows, track and thumb in the style's look,
// tracks hot and pressed states itself and turns thumb dragging into scroll messages for the
// tree; scrolling stays the tree's.
// The layer has no style engine: CustomStyleActive() answers false, so RegisterStyleHooks
// attaches the hook to no tree, the system bars show and the hook paints nothing. The class
// works for whatever style it is given: tests drive it with a stand-in style.
// - Bar rectangles come from the layer's GetScrollBarInfo of the tree window.
// - A dragged thumb never passes maximum - page + 1; the position a scroll message carries is
//   at most 32767. Points in the tree's header are never bar clicks.
#include <cstdint>

#include "LazyTrees.BaseTree.h"
#include "plat/Messages.h"
#include "plat/ScrollBarInfo.h"

namespace vtree {

// After the tree updated its scroll bars and after every scroll: recompute and repaint.
constexpr plat::UINT WM_STYLESCROLLBARSCHANGED = 0xB802;

enum TThemedScrollBar {
    tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
    tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
    tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
    tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled,
    tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed,
    tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed,
    tsUpperTrackHorzNormal, tsUpperTrackVertNormal
};

// The style engine's active style as the hook uses it.
class TLTScrollBarStyle {
public:
    virtual ~TLTScrollBarStyle() = default;
    virtual bool Available() const = 0;
    virtual void DrawElement(plat::TCanvas* Canvas, TThemedScrollBar Element, const plat::TRect& R) = 0;
};

class TVclStyleScrollBarsHook {
public:
    // The record of a bar window: where it is shown over the tree's bar, and whether the bar
    // is visible and enabled.
    struct TVclStyleScrollBarWindow {
        TVclStyleScrollBarsHook* FScrollBarWindowOwner = nullptr;
        bool FScrollBarVertical = false;
        bool FScrollBarVisible = false;
        bool FScrollBarEnabled = false;
        bool Shown = false;
        plat::TRect Bounds{};  // screen coordinates while shown
        // WM_NCHITTEST of a bar window: the pointer acts on the tree below.
        static plat::LRESULT HitTest() { return plat::HTTRANSPARENT; }
        // WM_PAINT: the owner paints the bar with the canvas origin at the bar's top-left.
        void Paint(plat::TCanvas* Canvas);
    };

    TVclStyleScrollBarsHook(TBaseLazyTree* Tree, TLTScrollBarStyle* Style);
    virtual ~TVclStyleScrollBarsHook();
    TVclStyleScrollBarsHook(const TVclStyleScrollBarsHook&) = delete;
    TVclStyleScrollBarsHook& operator=(const TVclStyleScrollBarsHook&) = delete;

    // A message of the tree; true when the hook handled it.
    bool HandleMessage(plat::TMessage& Message);
    // The pointer left the tree: every Hot state returns to Normal.
    virtual void MouseLeave();
    virtual void ComputeScrollBarRects();
    virtual void PaintHorzScrollBar(plat::TCanvas* Canvas);
    virtual void PaintVertScrollBar(plat::TCanvas* Canvas);
    virtual void RepaintScrollBarWindows();
    void PlaceScrollBarWindows();
    plat::TRect HorzThumbRect() const;
    plat::TRect VertThumbRect() const;

    // State, for the tree's painting and for tests.
    const TVclStyleScrollBarWindow& VertScrollBarWindow() const { return FVertScrollBarWindow; }
    const TVclStyleScrollBarWindow& HorzScrollBarWindow() const { return FHorzScrollBarWindow; }
    plat::TRect FHorzScrollBarDownButtonRect{}, FHorzScrollBarUpButtonRect{}, FHorzScrollBarRect{},
        FHorzScrollBarSliderTrackRect{};
    TThemedScrollBar FHorzScrollBarDownButtonState = tsArrowBtnRightNormal;
    TThemedScrollBar FHorzScrollBarUpButtonState = tsArrowBtnLeftNormal;
    TThemedScrollBar FHorzScrollBarSliderState = tsThumbBtnHorzNormal;
    plat::TRect FVertScrollBarDownButtonRect{}, FVertScrollBarUpButtonRect{}, FVertScrollBarRect{},
        FVertScrollBarSliderTrackRect{};
    TThemedScrollBar FVertScrollBarDownButtonState = tsArrowBtnDownNormal;
    TThemedScrollBar FVertScrollBarUpButtonState = tsArrowBtnUpNormal;
    TThemedScrollBar FVertScrollBarSliderState = tsThumbBtnVertNormal;
    bool FLeftMouseButtonDown = false;
    std::int32_t FPrevScrollPos = 0;
    float FScrollPos = 0;
    int RepaintCount() const { return FRepaintCount; }

protected:
    // The tree's own handling of a message the hook passes on.
    virtual void CallDefaultProc(plat::TMessage& Message);
    // Posts a scroll message to the tree.
    virtual void PostScrollMessage(plat::UINT Msg, plat::WPARAM WParam);

private:
    int BorderOffset() const;
    bool HasBorder() const;
    bool HasClientEdge() const;
    bool InHeader(plat::TPoint ClientPoint) const;
    plat::TPoint NonClientPoint(const plat::TMessage& Message) const;
    void ThumbMove(bool Vertical, plat::TPoint Pointer);
    void PaintBar(plat::TCanvas* Canvas, bool Vertical);

    TBaseLazyTree* FTree;
    TLTScrollBarStyle* FStyle;
    TVclStyleScrollBarWindow FVertScrollBarWindow;
    TVclStyleScrollBarWindow FHorzScrollBarWindow;
    int FRepaintCount = 0;
};

// Attaches the hook to the string and draw trees while the style engine runs a custom style.
// The layer has none (CustomStyleActive() is false): no tree gets a hook. Answers whether
// hooks are attached.
bool RegisterStyleHooks();

} // namespace vtree
