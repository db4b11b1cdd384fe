#pragma once
// Page control with tab sheets, and the plain-text rich edit.
//
// Pages fill the page control's display area (client area below the tab row, inside the
// frame); only the active page is visible, the first page added until the program picks
// another. A page whose TabVisible is off has no tab and cannot be activated by the user;
// hiding the active page's tab activates the next page that has one. Setting ActivePage in code fires nothing; a user's tab
// click (or Ctrl+Tab, or the arrow keys on a focused tab row) asks OnChanging, then
// switches and fires OnChange.
//
// TRichEdit edits plain text; Text and Lines use CR LF line ends; with WordWrap off and no
// line breaks it serves as a single-line field. LoadRichText reads rich text (plat/RichText.h)
// and keeps its character and paragraph formats until the text is changed otherwise; the
// formatted document renders into a canvas rectangle given in twips and reports the size its
// content requests.
#include <vector>

#include "plat/RichText.h"
#include "plat/StdCtrls.h"

namespace plat {

class TPageControl;
class TImageList;

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// ---- track bar ---------------------------------------------------------------------------

struct HostedSlider;  // the toolkit slider behind a track bar; defined inside the layer
enum TTrackBarOrientation { trHorizontal, trVertical };

// A slider between Min and Max (a hosted toolkit slider). Position is clamped to the range;
// OnChange fires on every change of Position, whether by code, a key or the mouse. Keys:
// arrows move by LineSize (Up and Left towards Min), Page Up / Page Down by PageSize, Home and
// End to Min and Max.
class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    ~TTrackBar() override;
    String ClassName() const override { return u"TTrackBar"; }

    int Min() const { return min_; }
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position() const { return position_; }
    void SetPosition(int Value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    int LineSize() const { return lineSize_; }
    void SetLineSize(int Value) { lineSize_ = Value; }
    // Distance between tick marks (0: none).
    int Frequency() const { return frequency_; }
    void SetFrequency(int Value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation Value);

    TNotifyEvent OnChange;

    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void Changed();
    void BoundsChanged() override;

private:
    void ApplyRange();
    std::unique_ptr<HostedSlider> host_;
    int min_ = 0, max_ = 10, position_ = 0;
    int pageSize_ = 2, lineSize_ = 1, frequency_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    String ClassName() const override { return u"TTabSheet"; }

    TPageControl* PageControl() const { return pageControl_; }
    // Adds the sheet as the last page of the control (null removes it).
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;
    void SetPageIndex(int Value);
    // Index among the visible tabs; -1 without a tab.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    String ClassName() const override { return u"TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    // No event; a page without a tab can still be activated in code.
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    // Index of the active page among the visible tabs, -1 when none.
    int TabIndex() const;
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    int TabHeight() const;
    void SetTabHeight(int Value);  // 0 = from the font
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* Value);
    // Area the pages fill, client coordinates.
    TRect DisplayRect() const;
    // Tab rectangle of a page (empty when it has no tab) and the page of a tab under a point.
    TRect TabRect(int PageIndex) const;
    int IndexOfTabAt(int X, int Y) const;

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void Resize() override;
    // A change the user asked for: OnChanging may refuse it.
    bool ChangeActivePage(TTabSheet* Page);

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void LayoutPages();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    int tabHeight_ = 0;
    TImageList* images_ = nullptr;
};

class TCustomRichEdit : public TCustomMemo {
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    String ClassName() const override { return u"TRichEdit"; }
    // Editing is plain text; kept for callers that switch it off.
    bool PlainText() const { return true; }
    void SetPlainText(bool) {}

    // Reads rich text, or plain text when it does not begin with "{\rtf"; Text becomes its
    // plain text. False when the rich text was damaged (what was read is kept).
    bool LoadRichText(StringView Value);
    // The formatted text: the loaded document while Text is still its plain text, else Text
    // in the control's font.
    const TRichDocument& Document() const;
    // Colours the first MaxChars characters.
    void SetTextColor(TColor Color, int MaxChars);
    // Formats the whole text into Rect, given in twips of the canvas's resolution, and returns
    // the size in pixels that the content requests (see RenderRichText).
    TSize FormatRange(TCanvas* Canvas, const TRect& TwipsRect);
    // The size the content requests at the control's width (with WordWrap) or unbounded.
    TSize RequestSize() const;

private:
    mutable TRichDocument doc_;
    mutable String docText_;
    mutable bool docValid_ = false;
};

class TRichEdit : public TCustomRichEdit {
public:
    explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};

} // namespace plat
