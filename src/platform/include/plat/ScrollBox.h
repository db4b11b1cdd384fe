#pragma once
// Scrolling container: a windowed control whose window scroll bars move its children. With
// AutoScroll the ranges follow the children's extent (their right and bottom edges at
// position 0); a bar shows while its range exceeds the client size. Positions are clamped to
// 0 .. range - client size; changing one moves every child by the difference.
#include "plat/Controls.h"

namespace plat {

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

// One of the container's two bars.
class TControlScrollBar {
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : control_(Control), kind_(Kind) {}
    TScrollBarKind Kind() const { return kind_; }
    int Position() const { return position_; }
    void SetPosition(int Value);
    // Extent of the scrolled content; computed by the container while AutoScroll is on.
    int Range() const { return range_; }
    void SetRange(int Value);
    // Room kept between an item and the edge when a caller scrolls it into view.
    int Margin() const { return margin_; }
    void SetMargin(int Value) { margin_ = Value < 0 ? 0 : Value; }
    // Pixels of one arrow step.
    int Increment() const { return increment_; }
    void SetIncrement(int Value) { increment_ = Value < 1 ? 1 : Value; }
    // Whether the content follows the thumb while it is dragged (else on release).
    bool Tracking() const { return tracking_; }
    void SetTracking(bool Value) { tracking_ = Value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    // Whether the window shows this bar now.
    bool IsScrollBarVisible() const;

private:
    friend class TScrollingWinControl;
    int ClientExtent() const;
    int MaxPosition() const;
    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    int position_ = 0;
    int range_ = 0;
    int margin_ = 0;
    int increment_ = 8;
    bool tracking_ = false;
    bool visible_ = true;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;
    String ClassName() const override { return u"TScrollingWinControl"; }

    TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
    TControlScrollBar* VertScrollBar() const { return vert_.get(); }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value);
    // Recomputes the ranges (AutoScroll) and applies ranges, pages and positions to the bars.
    void UpdateScrollBars();

    void AlignControls(TControl* AControl, TRect& Rect) override;

protected:
    void WndProc(TMessage& Message) override;
    void Resize() override;

private:
    friend class TControlScrollBar;
    void ScrollChildren(int Dx, int Dy);
    void ApplyBar(TControlScrollBar& Bar);
    void ScrollMessage(TControlScrollBar& Bar, int Code);
    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    bool updating_ = false;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    String ClassName() const override { return u"TScrollBox"; }
};

} // namespace plat
