#pragma once
// Panels, shapes, images, paint boxes, splitters, link labels and the category panel group.
//
// Category panels stack inside their group in the order of their Top, one directly below
// the other; a collapsed panel shows only its header (HeaderHeight of the group, 24 by
// default) and keeps its full height for when it opens again. Setting Height of a
// collapsed panel changes that full height. A disabled panel cannot be opened or closed by
// the user. The controls of a panel go on its Surface(), whose top is the header's bottom.
// The group scrolls vertically (line = 8 pixels, thumb tracking) and brings a panel that
// opens into view.
#include <functional>
#include <memory>
#include <vector>

#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

namespace plat {

class TImageList;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// ---- TPanel ----------------------------------------------------------------------------

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    String ClassName() const override { return u"TPanel"; }

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---- TShape ----------------------------------------------------------------------------

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    String ClassName() const override { return u"TShape"; }

    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType Value);
    // Changes repaint the shape.
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }

protected:
    void Paint() override;

private:
    TShapeType shape_ = stRectangle;
    TPen pen_;
    TBrush brush_;
};

// ---- TImage / TPaintBox ----------------------------------------------------------------

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    String ClassName() const override { return u"TImage"; }

    // Changes repaint the image (and resize it with AutoSize).
    TPicture* Picture() { return &picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    bool Center() const { return center_; }
    void SetCenter(bool Value);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool Value);
    // The picture's transparent colour is left out.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    // Where the picture lands in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();
    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    String ClassName() const override { return u"TPaintBox"; }
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// ---- TSplitter -------------------------------------------------------------------------

// Aligned like the control it resizes (the nearest one aligned to the same side, before it
// in the alignment order). Dragging resizes that control live, never below MinSize, and
// fires OnMoved at the release.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    String ClassName() const override { return u"TSplitter"; }

    int MinSize() const { return minSize_; }
    void SetMinSize(int Value) { minSize_ = Value; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool Value);
    TNotifyEvent OnMoved;

    // The control the splitter resizes, or null.
    TControl* FindResizeControl() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    int minSize_ = 30;
    bool beveled_ = false;
    TControl* control_ = nullptr;
    TPoint downPos_{};
    int startSize_ = 0;
    bool dragging_ = false;
};

// ---- TLinkLabel ------------------------------------------------------------------------

enum TSysLinkType { sltURL, sltID };
using TSysLinkEvent = std::function<void(TObject* Sender, const String& Link, TSysLinkType LinkType)>;

// Caption with links written as <a href="target">text</a> (or <a>text</a>, whose link is
// the text itself). Link parts are underlined in the link colour; a click on one fires
// OnLinkClick with the target.
class TLinkLabel : public TCustomControl {
public:
    explicit TLinkLabel(TComponent* AOwner);
    String ClassName() const override { return u"TLinkLabel"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    // Caption without the markup.
    String PlainText() const;
    // The target of the link under a client point; false when there is none.
    bool LinkAt(TPoint P, String& Link, TSysLinkType& Type) const;

    TSysLinkEvent OnLinkClick;

    void WndProc(TMessage& Message) override;

    struct Segment {
        String text;
        String link;  // empty for plain text
        bool isLink = false;
        bool hasHref = false;
        int left = 0, width = 0;
    };

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void Parse();
    void Measure();
    std::vector<Segment> parts_;
    bool autoSize_ = true;
    int hot_ = -1;
};

// Splits a link-label caption into plain and link parts (no measuring).
std::vector<TLinkLabel::Segment> ParseLinkMarkup(StringView Caption);

// ---- category panels ---------------------------------------------------------------------

class TCategoryPanelGroup;
class TCategoryPanel;

// The client area of a category panel below its header.
class TCategoryPanelSurface : public TCustomControl {
public:
    explicit TCategoryPanelSurface(TComponent* AOwner);
    String ClassName() const override { return u"TCategoryPanelSurface"; }

protected:
    void Paint() override;
};

class TCategoryPanel : public TCustomControl {
public:
    explicit TCategoryPanel(TComponent* AOwner);
    ~TCategoryPanel() override;
    String ClassName() const override { return u"TCategoryPanel"; }

    TCategoryPanelGroup* PanelGroup() const { return group_; }
    // Moves the panel into a group (as its child), null takes it out.
    void SetPanelGroup(TCategoryPanelGroup* Value);
    TCategoryPanelSurface* Surface() const { return surface_; }

    bool Collapsed() const { return collapsed_; }
    void SetCollapsed(bool Value);
    void Collapse() { SetCollapsed(true); }
    void Expand() { SetCollapsed(false); }
    // Height when open, header included.
    int FullHeight() const { return fullHeight_; }
    int CollapsedImageIndex() const { return collapsedImage_; }
    void SetCollapsedImageIndex(int Value);
    int ExpandedImageIndex() const { return expandedImage_; }
    void SetExpandedImageIndex(int Value);
    // Header rectangle in client coordinates.
    TRect HeaderRect() const;
    TRect ChevronRect() const;

    TNotifyEvent OnExpand;
    TNotifyEvent OnCollapse;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void BoundsChanged() override;

private:
    friend class TCategoryPanelGroup;
    void LayoutSurface();
    int HeaderHeight() const;

    TCategoryPanelGroup* group_ = nullptr;
    TCategoryPanelSurface* surface_ = nullptr;
    bool collapsed_ = false;
    int fullHeight_ = 200;
    int requestedTop_ = 0;
    int collapsedImage_ = -1;
    int expandedImage_ = -1;
    bool chevronHot_ = false;
};

class TCategoryPanelGroup : public TCustomControl {
public:
    explicit TCategoryPanelGroup(TComponent* AOwner);
    ~TCategoryPanelGroup() override;
    String ClassName() const override { return u"TCategoryPanelGroup"; }

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TCategoryPanel* Panels(int Index) const { return panels_.at(static_cast<size_t>(Index)); }
    // Creates a panel owned by the group's owner, last in the stack.
    TCategoryPanel* CreatePanel(TComponent* AOwner);

    int HeaderHeight() const { return headerHeight_; }
    void SetHeaderHeight(int Value);
    TFont* HeaderFont() { return &headerFont_; }
    TColor GradientBaseColor() const { return gradientBase_; }
    void SetGradientBaseColor(TColor Value);
    TColor GradientColor() const { return gradientColor_; }
    void SetGradientColor(TColor Value);
    TColor ChevronColor() const { return chevronColor_; }
    void SetChevronColor(TColor Value);
    TColor ChevronHotColor() const { return chevronHotColor_; }
    void SetChevronHotColor(TColor Value);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* Value);

    // Vertical scrolling of the content, in pixels.
    int ScrollPos() const { return scrollPos_; }
    void SetScrollPos(int Value);
    int ContentHeight() const { return contentHeight_; }
    int MaxScrollPos() const;
    void ScrollIntoView(TCategoryPanel* Panel);
    void CollapseAll();
    void ExpandAll();

    // Re-stacks the panels; runs by itself after every change of a panel.
    void Restack() { Restack(nullptr); }

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void Paint() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;

private:
    friend class TCategoryPanel;
    void Restack(TCategoryPanel* Moved);
    void AddPanel(TCategoryPanel* Panel);
    void RemovePanel(TCategoryPanel* Panel);
    void UpdateScrollBar();

    std::vector<TCategoryPanel*> panels_;
    int headerHeight_ = 24;
    TFont headerFont_;
    TColor gradientBase_ = clWhite;
    TColor gradientColor_ = static_cast<TColor>(0xD9D9D9);
    TColor chevronColor_ = clBlack;
    TColor chevronHotColor_ = clRed;
    TImageList* images_ = nullptr;
    int scrollPos_ = 0;
    int contentHeight_ = 0;
    bool restacking_ = false;
};

} // namespace plat
