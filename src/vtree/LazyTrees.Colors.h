#pragma once
// The tree's colour set: 17 stored colours with their defaults, and the colours the tree
// derives (background, node font, header font). Without a custom style, every getter
// answers the stored value. A setter stores a changed value and, once the tree has a window
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

    // The tree's Color, its font colour.
    plat::TColor BackGroundColor() const;
    plat::TColor NodeFontColor() const;
    plat::TColor HeaderFontColor() const;

private:
    TBaseLazyTree* FOwner;
    std::array<plat::TColor, ColorCount> FColors;
};

} // namespace vtree
