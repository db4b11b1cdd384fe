#pragma once
// TCellGraphic: the one graphic or control record a cell may carry (a bitmap, an icon, an
// image-list image, a check box, a radio group, a progress bar, a button, a node glyph …).
// CellType tells the kind; the other fields mean different things per kind. The record is
// kept in the cell's properties and owned by them; it owns the object in CellBitmap or
// CellIcon only as its kind says (see the destructor). The kind ordinals are stable: kind
// sets are bit sets over them.
#include <cstdint>
#include <variant>

#include "ExtObj.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

namespace grid {

using plat::TPoint;

enum TCellType : std::uint8_t {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
constexpr int kCellTypeCount = ctExpand + 1;

class TCellTypes {
public:
    constexpr TCellTypes() = default;
    constexpr TCellTypes(std::initializer_list<TCellType> kinds) {
        for (auto k : kinds) bits_ |= std::uint64_t{1} << k;
    }
    constexpr bool Contains(TCellType k) const { return (bits_ >> k) & 1u; }

private:
    std::uint64_t bits_ = 0;
};

enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TBalloonIcon { biNone, biInfo, biWarning, biError };

// Expand state (bool), last selected radio item (int), -1 on a node (int).
using TCellVar = std::variant<std::monostate, bool, int>;

class TCellGraphic : public plat::TPersistent {
public:
    TCellGraphic() = default;
    // Frees what the kind owns: ctImages and ctBalloon always their CellBitmap; ctBitmap,
    // ctRadio, ctPicture, ctFilePicture and ctBitButton their CellBitmap when CellCreated;
    // ctIcon its CellIcon when CellCreated; check boxes and radio buttons an attached balloon.
    ~TCellGraphic() override;
    String ClassName() const override { return u"TCellGraphic"; }
    // Copies kind, alignments, CellIndex, CellTransparent, CellValue, CellAngle, CellBoolean,
    // the marker, CellText and CellCreated; never the objects, CellVar or CellCheckBoxState.
    void Assign(const plat::TPersistent* Source) override;

    void SetBitmap(plat::TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetPicture(plat::TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(plat::TPersistent* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                        TCellHAlign hal, TCellVAlign val);
    void SetIcon(plat::TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // Creates the owned integer list of (Col, Row) with Notifier as its change event.
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(plat::TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetButton(int bw, int bh, const String& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const String& caption, plat::TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    void SetInterfacedCell(plat::TObject* AObject);
    // Brings the angle into 0 .. 360 (360 stays 360).
    void SetAngle(int AAngle);
    // Drawn size of a picture kind in an area of cw x rh pixels; other kinds leave Size.
    void GetPictureSize(int cw, int rh, bool hastext, TPoint& Size) const;

    TCellType CellType = ctNone;
    plat::TObject* CellBitmap = nullptr;
    TColor CellColor = 0;        // the colour kinds keep their first colour here
    plat::TIcon* CellIcon = nullptr;
    TColor CellIconColor = 0;    // … and their second colour here
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    int CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    int CellAngle = 0;
    double CellValue = 0;
    int CellErrFrom = 0, CellErrLen = 0;
    String CellText;
    TCellVar CellVar;
    plat::TCheckBoxState CellCheckBoxState = plat::cbUnchecked;

private:
    void FreeOwned();
};

} // namespace grid
