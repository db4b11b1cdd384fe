#pragma once
// TExtPageControl: a page control whose pages (TExtTabSheet) can hide, disable, close and
// reopen their tabs, with its own painting of the tab strip, the page frame and the tabs
// (unless TabBorder3D hands the look back to the tab strip), Ctrl+Tab cycling and close
// boxes. Pages sit on the strip of TCustomTabControl: the strip holds one tab per page whose
// tab is showing, in page order, with the page as the tab's object.
//
// Index words: a page index is the position in the page list (all pages); a tab index is
// the position among the showing tabs.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "TabControl.h"
#include "plat/Graphics.h"

namespace plat {
class TCustomImageList;
}

namespace controls {

class TExtPageControl;

enum TTabStyle { tsClassic, tsDotNet };
enum TGradientDirection { gdVertical, gdHorizontal };

using TMarginSize = std::int32_t;
using TCanChangeEvent = std::function<void(plat::TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;
using TCanCloseEvent = std::function<void(plat::TObject* Sender, bool& CanClose)>;
using TMarginChange = std::function<void(TMarginSize NewValue, TMarginSize OldValue, int Index)>;

class TTabMargin : public plat::TPersistent {
public:
    String ClassName() const override { return u"TTabMargin"; }
    void Assign(const plat::TPersistent* Source) override;

    TMarginSize LeftMargin() const { return margins_[0]; }
    TMarginSize TopMargin() const { return margins_[1]; }
    TMarginSize RightMargin() const { return margins_[2]; }
    void SetLeftMargin(TMarginSize Value) { SetMargin(0, Value); }
    void SetTopMargin(TMarginSize Value) { SetMargin(1, Value); }
    void SetRightMargin(TMarginSize Value) { SetMargin(2, Value); }
    // Notifies OnMarginChange (new, old, index) first, then stores.
    void SetMargin(int Index, TMarginSize Value);

    TMarginChange OnMarginChange;

private:
    TMarginSize margins_[3] = {0, 0, 0};
};

class TExtTabSheet : public plat::TCustomControl {
public:
    explicit TExtTabSheet(plat::TComponent* AOwner);
    ~TExtTabSheet() override;
    String ClassName() const override { return u"TExtTabSheet"; }

    TExtPageControl* ExtPageControl() const { return pageControl_; }
    void SetExtPageControl(TExtPageControl* Value);
    int PageIndex() const;
    // Above PageCount-1: EListError; negative: the list's index error.
    void SetPageIndex(int Value);
    int TabIndex() const;

    // The tab caption; the page keeps it whole, the strip gets TabCaption().
    void SetCaption(const String& Value);
    const String& TabCaption() const { return tabCaption_; }

    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value);
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor Value);
    TColor TabColor() const { return tabColor_; }
    void SetTabColor(TColor Value);
    TColor TabColorTo() const { return tabColorTo_; }
    void SetTabColorTo(TColor Value);
    TGradientDirection TabGradientDirection() const { return tabGradientDirection_; }
    void SetTabGradientDirection(TGradientDirection Value);
    TGradientDirection HoverGradientDirection() const { return hoverGradientDirection_; }
    void SetHoverGradientDirection(TGradientDirection Value) { hoverGradientDirection_ = Value; }
    bool ShowClose() const { return showClose_; }
    void SetShowClose(bool Value);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    // Off: the page cannot become active. The active page refuses: "Can not disable active tab."
    bool TabEnable() const { return tabEnable_; }
    void SetTabEnable(bool Value);
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    // The image index the strip gets: ImageIndex, or 0 when that is negative.
    int ImageIndexDummy() const { return imageIndexDummy_; }
    bool TabShowing() const { return tabShowing_; }

    plat::TNotifyEvent OnClose;
    TCanCloseEvent OnCanClose;
    plat::TNotifyEvent OnShow;
    plat::TNotifyEvent OnHide;

    void WndProc(plat::TMessage& Message) override;

protected:
    void Paint() override;

private:
    friend class TExtPageControl;
    void SetTabShowing(bool Value);
    void RefreshTabText();
    void ApplyCaption(const String& Value);

    String tabCaption_;
    TColor textColor_ = 0;
    TColor tabColor_ = plat::clNone;
    TColor tabColorTo_ = plat::clNone;
    bool showClose_ = false;
    TGradientDirection tabGradientDirection_ = gdVertical;
    TGradientDirection hoverGradientDirection_ = gdVertical;
    int imageIndex_ = -1;
    int imageIndexDummy_ = 0;
    TExtPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    bool tabShowing_ = false;
    bool highlighted_ = false;
    bool tabEnable_ = true;
    TColor colorTo_ = plat::clNone;
};

class TExtPageControl : public TCustomTabControl {
public:
    explicit TExtPageControl(plat::TComponent* AOwner);
    ~TExtPageControl() override;
    String ClassName() const override { return u"TExtPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TExtTabSheet* GetPage(int Index) const;
    TExtTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TExtTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    TExtTabSheet* FindNextPage(TExtTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward);
    bool OpenClosedTab(const String& TabName);
    void OpenAllClosedTabs();
    // Closed pages by name, in closing order (a page closed twice is listed twice).
    const std::vector<std::pair<String, TExtTabSheet*>>& ClosedTabs() const { return closedTabs_; }
    // Page index under a point (-1 for none) and the tab rectangle of a page index.
    int PageAtPos(int X, int Y) const;
    TRect PageTabRect(int PageIndex) const;
    // Close box of a page's tab, the area a release must hit.
    bool CloseButtonHit(int PageIndex, plat::TPoint P) const;
    int HoverTab() const { return hoverTab_; }
    bool HoverCloseButton() const { return hoverClosedButton_; }
    virtual void UpdateActivePage();
    // Makes a page of this control active, and shows the page this control stands on when it
    // is itself on a page.
    void ShowControl(plat::TControl* Control);

    static constexpr std::uint32_t GetVersionNr() { return 0x01040000; }
    String Version() const;
    void SetVersion(const String&) {}

    plat::TFont* ActiveFont() const { return activeFont_.get(); }
    void SetActiveFont(const plat::TFont* Value);
    plat::TBitmap* CloseGlyph() const { return closeGlyph_.get(); }
    void SetCloseGlyph(const plat::TBitmap* Value);
    bool FreeOnClose() const { return freeOnClose_; }
    void SetFreeOnClose(bool Value) { freeOnClose_ = Value; }
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool Value) { showFocus_ = Value; }
    TColor DefaultTextColor() const { return defaultTextColor_; }
    void SetDefaultTextColor(TColor Value);
    TColor DefaultTabColor() const { return defaultTabColor_; }
    void SetDefaultTabColor(TColor Value);
    TColor DefaultTabColorTo() const { return defaultTabColorTo_; }
    void SetDefaultTabColorTo(TColor Value);
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor Value);
    TColor ActiveColorTo() const { return activeColorTo_; }
    void SetActiveColorTo(TColor Value);
    bool TabBorder3D() const { return tabBorder3D_; }
    void SetTabBorder3D(bool Value);
    TColor TabBorderColor() const { return tabBorderColor_; }
    void SetTabBorderColor(TColor Value);
    bool TabSheet3D() const { return tabSheet3D_; }
    void SetTabSheet3D(bool Value);
    TColor TabSheetBorderColor() const { return tabSheetBorderColor_; }
    void SetTabSheetBorderColor(TColor Value);
    TColor TabHoverColor() const { return tabHoverColor_; }
    void SetTabHoverColor(TColor Value) { tabHoverColor_ = Value; }
    TColor TabHoverColorTo() const { return tabHoverColorTo_; }
    void SetTabHoverColorTo(TColor Value) { tabHoverColorTo_ = Value; }
    TColor TabHoverBorder() const { return tabHoverBorder_; }
    void SetTabHoverBorder(TColor Value) { tabHoverBorder_ = Value; }
    TColor TabBackGroundColor() const { return tabBackGroundColor_; }
    void SetTabBackGroundColor(TColor Value);
    plat::TBitmap* TabBackGround() const { return tabBackGround_.get(); }
    void SetTabBackGround(const plat::TBitmap* Value);
    plat::TBitmap* TabBackGroundActive() const { return tabBackGroundActive_.get(); }
    void SetTabBackGroundActive(const plat::TBitmap* Value);
    TTabMargin* TabMargin() const { return tabMargin_.get(); }
    void SetTabMargin(const TTabMargin* Value);
    int TabOverlap() const { return tabOverlap_; }
    void SetTabOverlap(int Value);
    // On with tsDotNet: "TabSplitLine must be false when TabStyle is tsDotNet".
    bool TabSplitLine() const { return tabSplitLine_; }
    void SetTabSplitLine(bool Value);
    bool RoundEdges() const { return roundEdges_; }
    void SetRoundEdges(bool Value);
    TTabStyle TabStyle() const { return tabStyle_; }
    void SetTabStyle(TTabStyle Value);
    int LowerActive() const { return lowerActive_; }
    void SetLowerActive(int Value);
    plat::TCustomImageList* Images() const { return images_; }
    void SetImages(plat::TCustomImageList* Value);
    void SetTabPosition(TTabPosition Value) override;
    // Extent of the spacing images that make room for the tab content (images and margins):
    // the width counts with tabs on top or at the bottom, the height with tabs on the sides.
    int SpacingWidth() const { return spacingWidth_; }
    int SpacingHeight() const { return spacingHeight_; }

    TCanChangeEvent OnCanChange;

    void WndProc(plat::TMessage& Message) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

    // Painting routines the whole paint pass shares.
    static void DrawTabGradient(plat::TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal);
    static void DrawTransparentBitmap(plat::TCanvas* Dest, plat::TBitmap* Bitmap, int DestX, int DestY, int Width, int Height, int SrcX, int SrcY, TColor TransparentColor);
    static void StretchTransparentBitmap(plat::TCanvas* Dest, plat::TBitmap* Bitmap, int DestX, int DestY, int DestWidth, int DestHeight, int SrcX, int SrcY, int SrcWidth, int SrcHeight, TColor TransparentColor);
    static void StretchBitmapVertically(plat::TBitmap* Bitmap, plat::TCanvas* Canvas, int X, int Y, int Length);
    static void StretchBitmapHorizontally(plat::TBitmap* Bitmap, plat::TCanvas* Canvas, int X, int Y, int Length);

protected:
    void Loaded() override;
    bool CanChange() override;
    void Change() override;
    bool CanShowTab(int TabIndex) override;
    int GetImageIndex(int TabIndex) override;
    int ImageExtent(int TabIndex) override;
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;

private:
    friend class TExtTabSheet;
    void InsertPage(TExtTabSheet* Page);
    void RemovePage(TExtTabSheet* Page);
    void ChangeActivePage(TExtTabSheet* Page);
    void PadActiveTabText(TExtTabSheet* Page);
    bool Designing() const { return HasState(plat::csDesigning); }
    bool UserCanChange(int ToPage);
    void MarginChanged(TMarginSize NewValue, TMarginSize OldValue, int Index);
    void UpdateSpacing();
    int ImagesWidth() const;
    int ImagesHeight() const;
    void InvalidateTab(int PageIndex);

    // Paint pass (in the painting file). DrawTabs runs the steps in order; MeasureStrip
    // leaves the strip's extent (maxB_, minT_, minL_, maxR_) that the later steps read, and
    // the geometry routines map the tab position to coordinates once for all steps.
    struct TFrameGeometry;
    struct TTabGeometry;
    void DrawTabs(plat::TCanvas* Canvas);
    TFrameGeometry FrameGeometry() const;
    TTabGeometry TabGeometry(const TRect& Tab, bool Active, bool ShowClose, bool Horizontal) const;
    void MeasureStrip(plat::TCanvas* Canvas);
    void DrawStripBackground(plat::TCanvas* Canvas, const TFrameGeometry& G);
    void DrawSheetBands(plat::TCanvas* Canvas, const TFrameGeometry& G);
    void DrawPageFrame(plat::TCanvas* Canvas, const TFrameGeometry& G, bool SheetPainted);
    void JoinTabsToPage(plat::TCanvas* Canvas, const TFrameGeometry& G, bool SheetPainted);
    // Draws the tab of page Index; true (and its caption origin) when it is the active tab
    // with a picture of its own, which DrawActivePictureTab paints after all others.
    bool DrawTab(plat::TCanvas* Canvas, int Index, plat::TPoint& TextOrigin);
    void DrawTabOutline(plat::TCanvas* Canvas, const TTabGeometry& G, TExtTabSheet* Page, bool Active);
    void DrawTabImage(plat::TCanvas* Canvas, TExtTabSheet* Page, int& X, int& Y);
    void DrawActivePictureTab(plat::TCanvas* Canvas, int Index, plat::TPoint TextOrigin);
    void DrawHoverOutline(plat::TCanvas* Canvas);
    void DrawCloseButton(plat::TCanvas* Canvas, const TRect& R, bool Active);
    void DrawCloseButtonHot(plat::TCanvas* Canvas, const TRect& R);
    void DrawCloseButtonDown(plat::TCanvas* Canvas, const TRect& R);
    void DrawCloseBox(plat::TCanvas* Canvas, int X0, int Y0, TColor Fill, TColor Outline, TColor Cross);
    void DrawCloseGlyph(plat::TCanvas* Canvas, int X, int Y);
    void DrawFocusFrame(plat::TCanvas* Canvas, const TRect& R, bool Active, int B);

    std::vector<TExtTabSheet*> pages_;
    TExtTabSheet* activePage_ = nullptr;
    std::unique_ptr<TTabMargin> tabMargin_;
    std::vector<std::pair<String, TExtTabSheet*>> closedTabs_;
    plat::TCustomImageList* images_ = nullptr;
    int spacingWidth_ = 0, spacingHeight_ = 0;
    bool stripUsesSpacing_ = false;  // the strip sizes image room from the spacing extent
    int changeTarget_ = -1;          // page under the mouse when the user changes the tab
    TColor defaultTextColor_ = 0;
    TColor defaultTabColor_ = plat::clBtnFace;
    TColor defaultTabColorTo_ = plat::clNone;
    TColor activeColor_ = plat::clBtnFace;
    TColor activeColorTo_ = plat::clNone;
    bool tabBorder3D_ = false;
    TColor tabBorderColor_ = 0x808080;
    TColor tabHoverColor_ = plat::clNone;
    TColor tabHoverColorTo_ = plat::clNone;
    TColor tabHoverBorder_ = plat::clNone;
    bool showFocus_ = false;
    bool hoverClosedButton_ = false;
    int tabOverlap_ = 0;
    bool tabSheet3D_ = false;
    TColor tabSheetBorderColor_ = 0x808080;
    TColor tabBackGroundColor_ = plat::clBtnFace;
    bool tabSplitLine_ = false;
    bool roundEdges_ = false;
    int hoverTab_ = -1;
    std::unique_ptr<plat::TBitmap> tabBackGround_;
    std::unique_ptr<plat::TBitmap> tabBackGroundActive_;
    TTabStyle tabStyle_ = tsClassic;
    int lowerActive_ = 2;
    bool propertiesLoaded_ = false;
    bool freeOnClose_ = false;
    std::unique_ptr<plat::TFont> activeFont_;
    std::unique_ptr<plat::TBitmap> closeGlyph_;
    bool destroying_ = false;
    // Paint pass state shared by its two halves.
    int maxB_ = 0, minT_ = 0, minL_ = 0, maxR_ = 0, joinFlag_ = 0;
};

} // namespace controls
