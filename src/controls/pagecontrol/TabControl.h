#pragma once
// TCustomTabControl: a tab strip with an own geometry model, the base of TExtPageControl.
//
// - Tabs are texts with an object each; TabIndex is the selected tab (-1 for none).
// - Tab size: TabWidth (0 = caption width + 12, plus the image extent + 3 when the tab has an
//   image) along the strip and TabHeight (0 = text height + 6) across it. With tabs on the left
//   or right the strip runs top to bottom and the extents are swapped.
// - Rows: a single row (MultiLine off; tabs past the end are cut off) or as many rows as the
//   tabs need; the row of the selected tab lies next to the page. Without RaggedRight every
//   row of a multi-row strip is stretched to the full length.
// - The user changes the tab by a left press on another tab: CanChange (OnChanging) may
//   refuse; after the change Change fires OnChange.
// - TCM_HIGHLIGHTITEM (WParam tab index, LParam state) sets the highlight state of a tab.
// - Pages (alClient children) fill DisplayRect.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "plat/ComCtrls.h"
#include "plat/Controls.h"

namespace plat {
class TCustomImageList;
class TBitmap;
}

namespace controls {

using plat::String;
using plat::TColor;
using plat::TRect;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

constexpr plat::UINT TCM_FIRST = 0x1300;
constexpr plat::UINT TCM_HIGHLIGHTITEM = TCM_FIRST + 51;

using TTabGetImageEvent = std::function<void(plat::TObject* Sender, int TabIndex, int& ImageIndex)>;
using TDrawTabEvent = std::function<void(class TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

class TCustomTabControl : public plat::TCustomControl {
public:
    explicit TCustomTabControl(plat::TComponent* AOwner);
    ~TCustomTabControl() override;
    String ClassName() const override { return u"TCustomTabControl"; }

    // Tabs.
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    String TabText(int Index) const;
    void SetTabText(int Index, const String& Text);
    plat::TObject* TabObject(int Index) const;
    void InsertTab(int Index, const String& Text, plat::TObject* Object);
    void DeleteTab(int Index);
    void MoveTab(int From, int To);
    bool TabHighlighted(int Index) const;

    // Selected tab; setting it fires nothing. Out of range = none.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int Value);

    TTabPosition TabPosition() const { return tabPosition_; }
    virtual void SetTabPosition(TTabPosition Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int Value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int Value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool Value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value) { hotTrack_ = Value; }
    bool ScrollOpposite() const { return scrollOpposite_; }
    void SetScrollOpposite(bool Value) { scrollOpposite_ = Value; }
    // On: the control draws no tab face of its own and asks OnDrawTab.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    // The strip's image list; the tab size reserves its extent for tabs with an image.
    plat::TCustomImageList* TabImages() const { return tabImages_; }
    void SetTabImages(plat::TCustomImageList* Value);

    // Geometry, client coordinates.
    TRect TabRect(int Index) const;
    int IndexOfTabAt(int X, int Y) const;
    int RowCount() const;
    TRect DisplayRect() const;

    plat::TTabChangingEvent OnChanging;
    plat::TNotifyEvent OnChange;
    TTabGetImageEvent OnGetImageIndex;
    TDrawTabEvent OnDrawTab;

    void WndProc(plat::TMessage& Message) override;
    void AlignControls(plat::TControl* AControl, TRect& Rect) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    virtual bool CanChange();
    virtual void Change();
    virtual bool CanShowTab(int TabIndex);
    virtual int GetImageIndex(int TabIndex);
    // Room a tab reserves for its image along the strip (0 for none).
    virtual int ImageExtent(int TabIndex);
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void Resize() override;
    // Tab geometry must be computed again (texts, fonts, sizes changed).
    void TabsChanged();

private:
    struct Tab {
        String text;
        plat::TObject* object = nullptr;
        bool highlighted = false;
    };
    void Layout() const;
    int TabLength(int Index) const;
    int TabThickness() const;

    std::vector<Tab> tabs_;
    int tabIndex_ = -1;
    TTabPosition tabPosition_ = tpTop;
    bool multiLine_ = false;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    bool raggedRight_ = false;
    bool hotTrack_ = false;
    bool scrollOpposite_ = false;
    bool ownerDraw_ = false;
    plat::TCustomImageList* tabImages_ = nullptr;
    mutable bool layoutValid_ = false;
    mutable int rows_ = 0;
    mutable std::vector<TRect> rects_;
    std::unique_ptr<plat::TBitmap> measure_;  // canvas for text widths
};

} // namespace controls
