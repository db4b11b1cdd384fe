#include "CellGraphic.h"

#include <algorithm>
#include <cmath>

#include "ExtObjWindows.h"

namespace grid {

TCellGraphic::~TCellGraphic() { FreeOwned(); }

void TCellGraphic::FreeOwned() {
    switch (CellType) {
    case ctImages:
    case ctBalloon:
        delete CellBitmap;
        break;
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (CellCreated) delete CellBitmap;
        break;
    case ctIcon:
        if (CellCreated) delete CellIcon;
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        if (CellAngle == 1) delete CellBitmap;
        break;
    default:
        break;
    }
    CellBitmap = nullptr;
    CellIcon = nullptr;
}

void TCellGraphic::Assign(const plat::TPersistent* Source) {
    auto s = dynamic_cast<const TCellGraphic*>(Source);
    if (!s) return;
    CellType = s->CellType;
    CellHAlign = s->CellHAlign;
    CellVAlign = s->CellVAlign;
    CellIndex = s->CellIndex;
    CellTransparent = s->CellTransparent;
    CellValue = s->CellValue;
    CellAngle = s->CellAngle;
    CellBoolean = s->CellBoolean;
    CellErrFrom = s->CellErrFrom;
    CellErrLen = s->CellErrLen;
    CellText = s->CellText;
    CellCreated = s->CellCreated;
}

void TCellGraphic::SetBitmap(plat::TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    CellType = ctBitmap;
    CellBitmap = ABmp;
    CellTransparent = Transparent;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetPicture(plat::TPicture* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val) {
    CellType = ctPicture;
    CellBitmap = APicture;
    CellTransparent = Transparent;
    CellAngle = StretchMode;
    CellIndex = padding;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetFilePicture(plat::TPersistent* APicture, bool Transparent, TStretchMode StretchMode,
                                  int padding, TCellHAlign hal, TCellVAlign val) {
    SetPicture(nullptr, Transparent, StretchMode, padding, hal, val);
    CellType = ctFilePicture;
    CellBitmap = APicture;
}

void TCellGraphic::SetIcon(plat::TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CellType = ctIcon;
    CellIcon = AIcon;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctImageList;
    CellIndex = idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val) {
    CellType = ctDataImage;
    CellIndex = idx;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val,
                                 TImageChangeEvent Notifier) {
    CellType = ctImages;
    auto* list = new TIntList(Col, Row);
    list->OnChange = std::move(Notifier);
    CellBitmap = list;
    CellBoolean = dir == 0;
    CellCreated = true;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = Data ? ctDataCheckBox : ctCheckBox;
    CellAngle = 0;
    CellBoolean = Value;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetCheckBox(plat::TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctTriStateCheckBox;
    CellCheckBoxState = Value;
    CellBoolean = false;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
    CellType = ctRadioButton;
    CellAngle = 0;
    CellBoolean = Value;
    CellTransparent = Flat;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetButton(int bw, int bh, const String& caption, TCellHAlign hal, TCellVAlign val) {
    CellType = ctButton;
    CellIndex = static_cast<int>((static_cast<unsigned>(bh) << 16) | (static_cast<unsigned>(bw) & 0xFFFFu));
    CellBoolean = false;
    CellText = caption;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetBitButton(int bw, int bh, const String& caption, plat::TBitmap* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
    SetButton(bw, bh, caption, hal, val);
    CellType = ctBitButton;
    CellBitmap = Glyph;
}

void TCellGraphic::SetInterfacedCell(plat::TObject* AObject) {
    CellType = ctInterface;
    CellBitmap = AObject;
}

void TCellGraphic::SetAngle(int AAngle) {
    CellType = ctRotated;
    while (AAngle < 0) AAngle += 360;
    while (AAngle > 360) AAngle -= 360;
    CellAngle = AAngle;
}

void TCellGraphic::GetPictureSize(int cw, int rh, bool hastext, TPoint& Size) const {
    (void)hastext;
    if (CellType != ctPicture && CellType != ctFilePicture) return;
    int w = 0, h = 0;
    if (CellType == ctPicture) {
        if (auto* p = dynamic_cast<plat::TPicture*>(CellBitmap)) {
            w = p->Width();
            h = p->Height();
        }
    } else if (auto* f = dynamic_cast<TFilePicture*>(CellBitmap)) {
        w = f->Width();
        h = f->Height();
    }
    const int a = cw - CellIndex;
    const int b = rh - CellIndex;
    const bool fits = a >= w && b >= h;
    auto aspect = [&](bool capAtOne) {
        double rx = w > 0 ? static_cast<double>(a) / w : 1.0;
        double ry = h > 0 ? static_cast<double>(b) / h : 1.0;
        if (capAtOne) {
            rx = std::min(rx, 1.0);
            ry = std::min(ry, 1.0);
        }
        if (rx >= ry)
            Size = {static_cast<int>(std::nearbyint(w * ry)), b};
        else
            Size = {a, static_cast<int>(std::nearbyint(h * rx))};
    };
    switch (static_cast<TStretchMode>(CellAngle)) {
    case noStretch: Size = {w, h}; break;
    case Stretch: Size = {a, b}; break;
    case StretchWithAspectRatio: aspect(false); break;
    case Shrink: Size = fits ? TPoint{w, h} : TPoint{a, b}; break;
    case ShrinkWithAspectRatio:
        if (fits)
            Size = {w, h};
        else
            aspect(true);
        break;
    }
}

} // namespace grid
