#pragma once
// The slim scroll indicator of the ssMetro scroll type: a thin thumb over the grid's edge
// that pages on a press beside it and drags the top row (left column) with the thumb.
#include "plat/Controls.h"
#include "plat/String.h"

namespace grid {

class TExtStringGrid;

enum TScrollDirection { sdVertical, sdHorizontal };

class TScrollControl : public plat::TCustomControl {
public:
    TScrollControl(plat::TComponent* AOwner, TExtStringGrid* AGrid, TScrollDirection ADirection);
    plat::String ClassName() const override { return u"TScrollControl"; }
    plat::TColor Color() const { return FColor; }
    // Repaints only on a change.
    void SetColor(plat::TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    TScrollDirection Direction() const { return FDirection; }
    // The thumb along the track: start and length in client pixels; Length 0 when every
    // scrollable row (column) is visible and no thumb shows.
    struct TThumb {
        int Start = 0;
        int Length = 0;
    };
    TThumb Thumb() const;

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    // Along the direction: the control's extent, the track's start and length.
    int Extent() const;
    int TrackStart() const;
    int TrackLength() const;
    bool AllVisible() const;
    TExtStringGrid* FGrid;
    plat::TColor FColor = 0xC0C0C0;
    int FScrollWidth = 4;
    TScrollDirection FDirection;
    bool FDownOnScroller = false;
    int FDownPos = 0;
    int FDownRow = 0;
};

} // namespace grid
