#pragma once
// The records and sets of the tree's paint pass: the paint information handed to every
// painting step and event, the four image slots of a cell, the internal paint options of a
// pass, and the shapes of the tree lines.
#include <array>
#include <cstdint>
#include <vector>

#include "LazyTrees.Nodes.h"
#include "plat/Types.h"

namespace plat {
class TCanvas;
class TCustomImageList;
} // namespace plat

namespace vtree {

using TColumnIndex = int;
using TColumnPosition = unsigned;

enum TLTInternalPaintOption : unsigned {
    poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines,
    poMainOnly, poSelectedOnly, poUnbuffered
};
using TLTInternalPaintOptions = std::uint16_t;
constexpr TLTInternalPaintOptions PaintBit(TLTInternalPaintOption O) { return TLTInternalPaintOptions(1u << O); }
inline TLTInternalPaintOptions PaintSet(std::initializer_list<TLTInternalPaintOption> L)
{
    TLTInternalPaintOptions s = 0;
    for (auto o : L) s = TLTInternalPaintOptions(s | PaintBit(o));
    return s;
}
constexpr bool HasPaint(TLTInternalPaintOptions S, TLTInternalPaintOption O) { return (S & PaintBit(O)) != 0; }

enum TLTImageInfoIndex { imgNormal, imgState, imgCheck, imgOverlay };
enum TLTImageKind { ikNormal, ikSelected, ikState, ikOverlay };
enum TLTLineType { ltNone, ltBottomRight, ltTopDown, ltTopDownRight, ltRight, ltTopRight, ltLeft, ltLeftBottom };
using TLineImage = std::vector<TLTLineType>;
enum TLTLineStyle { lsCustomStyle, lsDotted, lsSolid };
enum TLTLineMode { lmNormal, lmBands };
enum TLTButtonStyle { bsRectangle, bsTriangle };
enum TLTButtonFillMode { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TLTNodeAlignment { naFromBottom, naFromTop, naProportional };
enum TItemEraseAction { eaColor, eaDefault, eaNone };
enum TLTCellPaintMode { cpmPaint, cpmGetContentMargin };
enum TLTCellContentMarginType { ccmtAllSides, ccmtTopLeftOnly, ccmtBottomRightOnly };
enum TLTDrawSelectionMode { smDottedRectangle, smBlendedRectangle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

struct TLTImageSlot {
    int ImageIndex = -1;
    int PosX = 0;
    int PosY = 0;
    bool Ghosted = false;
    plat::TCustomImageList* ImageList = nullptr;
};

struct TLTPaintInfo {
    plat::TCanvas* Canvas = nullptr;
    TLTInternalPaintOptions PaintOptions = 0;
    PLazyNode Node = nullptr;
    TColumnIndex Column = 0;
    TColumnPosition Position = 0;
    plat::TRect CellRect;
    plat::TRect ContentRect;
    int NodeWidth = 0;
    TAlignment Alignment = taLeftJustify;
    TAlignment CaptionAlignment = taLeftJustify;
    TBiDiMode BidiMode = bdLeftToRight;
    plat::TPoint BrushOrigin;
    std::array<TLTImageSlot, 4> ImageInfo;
};

} // namespace vtree
