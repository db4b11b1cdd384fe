#pragma once
// The tree's colour set: 17 stored colours with their defaults, and the colours the tree
// derives (background, node font, header font). Without a custom style, every getter
// answers the stored value; under one (never on this platform, whose style query answers
// no) the getters answer the style's colours (StyledColor). A setter stores a changed value and, once the tree has a window
// and is not loading, makes the tree repaint: the tree line colour also rebuilds the button
// bitmaps, the border colour repaints the frame only.
#include <array>

#include "plat/Classes.h"
#include "plat/Types.h"

namespace vtree {

class TBaseLazyTree;

enum TLTColorIndex : int {
    ciDisabledColor, ciDropMarkColor, ciDropTargetColor, ciFocusedSelectionColor, ciGridLineColor,
    ciTreeLineColor, ciUnfocusedSelectionColor, ciBorderColor, ciHotColor, ciFocusedSelectionBorderColor,
    ciUnfocusedSelectionBorderColor, ciDropTargetBorderColor, ciSelectionRectangleBlendColor,
    ciSelectionRectangleBorderColor, ciHeaderHotColor, ciSelectionTextColor, ciUnfocusedColor
};
constexpr int ColorCount = 17;

// What a custom style reports, for the styled colours. The platform has no style engine, so
// a tree asks one only when a stand-in is given (TBaseLazyTree::SetStyleQuery).
enum TLTStyleElement { seFont = 1, seClient = 2, seBorder = 4 };
using TLTStyleElements = unsigned;
constexpr TLTStyleElements AllStyleElements = seFont | seClient | seBorder;
enum TLTStyledElement {
    steItemNormal, steItemDisabled, steItemHot, steItemSelected, steBranch, steHeaderItemNormal
};
class TLTStyleQuery {
public:
    virtual ~TLTStyleQuery() = default;
    // The style's colour for a system colour (clHighlight, clBtnFace, ...).
    virtual plat::TColor SystemColor(plat::TColor Color) const = 0;
    // The style's tree-view background (scTreeView).
    virtual plat::TColor TreeViewColor() const = 0;
    // Colours of an element; false when the style reports none.
    virtual bool TextColor(TLTStyledElement Element, plat::TColor& Color) const = 0;
    virtual plat::TColor BorderColor(TLTStyledElement Element) const = 0;
    virtual plat::TColor FillColor(TLTStyledElement Element) const = 0;
};

// The colour a custom style shows for colour Index stored as Stored; NodeFontColor is the
// styled node font colour (HotColor and SelectionTextColor fall back to it).
plat::TColor StyledColor(int Index, plat::TColor Stored, const TLTStyleQuery& Style, TLTStyleElements Elements,
                         plat::TColor NodeFontColor);
// The styled background, node font and header font colours (Plain: the unstyled colour).
plat::TColor StyledBackGroundColor(const TLTStyleQuery& Style, TLTStyleElements Elements, plat::TColor Plain);
plat::TColor StyledNodeFontColor(const TLTStyleQuery& Style, TLTStyleElements Elements, plat::TColor Plain);
plat::TColor StyledHeaderFontColor(const TLTStyleQuery& Style, TLTStyleElements Elements, plat::TColor Plain);

class TLTColors : public plat::TPersistent {
public:
    explicit TLTColors(TBaseLazyTree* AOwner);
    plat::String ClassName() const override { return u"TLTColors"; }
    // From another colour set: all 17 values, then the owner repaints unless it is inside
    // an update.
    void Assign(const plat::TPersistent* Source) override;

    plat::TColor GetColor(int Index) const;
    void SetColor(int Index, plat::TColor Value);

    plat::TColor DisabledColor() const { return GetColor(ciDisabledColor); }
    plat::TColor DropMarkColor() const { return GetColor(ciDropMarkColor); }
    plat::TColor DropTargetColor() const { return GetColor(ciDropTargetColor); }
    plat::TColor FocusedSelectionColor() const { return GetColor(ciFocusedSelectionColor); }
    plat::TColor GridLineColor() const { return GetColor(ciGridLineColor); }
    plat::TColor TreeLineColor() const { return GetColor(ciTreeLineColor); }
    plat::TColor UnfocusedSelectionColor() const { return GetColor(ciUnfocusedSelectionColor); }
    plat::TColor BorderColor() const { return GetColor(ciBorderColor); }
    plat::TColor HotColor() const { return GetColor(ciHotColor); }
    plat::TColor FocusedSelectionBorderColor() const { return GetColor(ciFocusedSelectionBorderColor); }
    plat::TColor UnfocusedSelectionBorderColor() const { return GetColor(ciUnfocusedSelectionBorderColor); }
    plat::TColor DropTargetBorderColor() const { return GetColor(ciDropTargetBorderColor); }
    plat::TColor SelectionRectangleBlendColor() const { return GetColor(ciSelectionRectangleBlendColor); }
    plat::TColor SelectionRectangleBorderColor() const { return GetColor(ciSelectionRectangleBorderColor); }
    plat::TColor HeaderHotColor() const { return GetColor(ciHeaderHotColor); }
    plat::TColor SelectionTextColor() const { return GetColor(ciSelectionTextColor); }
    plat::TColor UnfocusedColor() const { return GetColor(ciUnfocusedColor); }

    // The tree's Color, its font colour (under a custom style, the style's colours).
    plat::TColor BackGroundColor() const;
    plat::TColor NodeFontColor() const;
    plat::TColor HeaderFontColor() const;

private:
    TBaseLazyTree* FOwner;
    std::array<plat::TColor, ColorCount> FColors;
};

} // namespace vtree
