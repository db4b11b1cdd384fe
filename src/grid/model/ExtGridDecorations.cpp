// Cell decorations of TExtStringGrid: pictures, icons, image-list images, progress bars,
// comments, shapes, ratings, cell scroll bars, markers, buttons, expand cells, balloons and
// interfaced cells; the size each kind takes on screen and on paper, and the hit rectangles.
#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/ImgList.h"

namespace grid {

namespace {

bool BesideText(const TCellGraphic& g) { return g.CellHAlign == haBeforeText || g.CellHAlign == haAfterText; }
bool OverText(const TCellGraphic& g) { return g.CellVAlign == vaUnderText || g.CellVAlign == vaAboveText; }

TCellGraphic* OfKind(TCellGraphic* g, TCellType kind) { return g && g->CellType == kind ? g : nullptr; }

} // namespace

// ---- pictures and images -------------------------------------------------------------------

void TExtStringGrid::AddBitmap(int ACol, int ARow, plat::TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

plat::TBitmap* TExtStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val) {
    auto* bmp = new plat::TBitmap;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitmap(bmp, Transparent, hal, val);
    g->CellCreated = true;
    return bmp;
}

plat::TBitmap* TExtStringGrid::GetBitmap(int ACol, int ARow) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctBitmap);
    return g ? dynamic_cast<plat::TBitmap*>(g->CellBitmap) : nullptr;
}

void TExtStringGrid::AddPicture(int ACol, int ARow, plat::TPicture* APicture, bool Transparent,
                                TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

plat::TPicture* TExtStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                              int Padding, TCellHAlign hal, TCellVAlign val) {
    auto* pic = new plat::TPicture;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetPicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->CellCreated = true;
    return pic;
}

plat::TPicture* TExtStringGrid::GetPicture(int ACol, int ARow) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctPicture);
    return g ? dynamic_cast<plat::TPicture*>(g->CellBitmap) : nullptr;
}

void TExtStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetFilePicture(AFilePicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TExtStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val) {
    auto* pic = new TFilePicture;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetFilePicture(pic, Transparent, StretchMode, Padding, hal, val);
    g->CellCreated = true;
    return pic;
}

TFilePicture* TExtStringGrid::GetFilePicture(int ACol, int ARow) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctFilePicture);
    return g ? dynamic_cast<TFilePicture*>(g->CellBitmap) : nullptr;
}

void TExtStringGrid::AddIcon(int ACol, int ARow, plat::TIcon* AIcon, TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

plat::TIcon* TExtStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
    auto* icon = new plat::TIcon;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetIcon(icon, hal, val);
    g->CellCreated = true;
    return icon;
}

void TExtStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages) return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TExtStringGrid::GetImageIdx(int ACol, int ARow, int& idx) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctImageList);
    if (!GridImages || !g) return false;
    idx = g->CellIndex;
    return true;
}

void TExtStringGrid::SetImageIdx(int ACol, int ARow, int Idx) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctImageList);
    if (!GridImages || !g) return;
    g->CellIndex = Idx;
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages) return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (GetCellEx(ACol, ARow).empty()) SetCellEx(ACol, ARow, plat::IntToStr(Aidx));
}

void TExtStringGrid::RemoveDataImage(int ACol, int ARow) {
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage)) SetCellEx(ACol, ARow, String());
}

void TExtStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val) {
    if (!GridImages) return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val, [this](plat::TObject*, int c, int r) {
        RepaintCell(DisplColIndex(c), r);
    });
}

// ---- progress, comments, shapes, ratings, scroll bars ------------------------------------------

void TExtStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgress;
    g->CellColor = FGColor;
    g->CellIconColor = BKColor;
    g->CellHAlign = haLeft;
    g->CellVAlign = vaTop;
    g->CellErrFrom = 0;
    g->CellErrLen = 100;
    g->CellBoolean = false;
    g->CellText.clear();
    if (AutoNumAlign) SetAlignments(ACol, ARow, plat::taRightJustify);
}

void TExtStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor) {
    AddProgress(ACol, ARow, FGColor, BKColor);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellIndex = static_cast<int>(FGTextColor);
    g->CellAngle = static_cast<int>(BKTextColor);
    g->CellBoolean = true;
}

void TExtStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const String& Fmt, int Min, int Max) {
    AddProgressEx(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor);
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    g->CellText = Fmt;
    g->CellErrFrom = Min;
    g->CellErrLen = Max;
}

void TExtStringGrid::AddExtProgress(int ACol, int ARow, int Min, int Max) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctXPProgress;
    g->CellErrFrom = Min;
    g->CellErrLen = Max;
    g->CellText.clear();
}

void TExtStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctProgressPie;
    g->CellColor = Color;
    g->CellAngle = Value;
    g->CellHAlign = haBeforeText;
    g->CellVAlign = vaTop;
}

void TExtStringGrid::SetProgressPie(int ACol, int ARow, int Value) {
    if (TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctProgressPie)) {
        g->CellAngle = Value;
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TExtStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRangeIndicator;
    g->CellIndex = Range;
    g->CellColor = NegColor;
    g->CellIconColor = PosColor;
    g->CellBoolean = ShowValue;
}

void TExtStringGrid::AddComment(int ACol, int ARow, const String& Comment) {
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor);
}

void TExtStringGrid::AddColorComment(int ACol, int ARow, const String& Comment, TColor Color) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctComment;
    g->CellText = Comment;
    g->CellIndex = static_cast<int>(Color);
}

bool TExtStringGrid::IsComment(int ACol, int ARow, String& Comment) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctComment);
    if (!g) return false;
    Comment = g->CellText;
    return true;
}

String TExtStringGrid::GetComment(int ACol, int ARow) {
    String c;
    return IsComment(ACol, ARow, c) ? c : String();
}

void TExtStringGrid::SetComment(int ACol, int ARow, const String& Comment) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        AddComment(ACol, ARow, Comment);
    } else if (g->CellType == ctComment) {
        g->CellText = Comment;
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TExtStringGrid::RemoveAllComments() {
    for (int c = 0; c < AllColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) RemoveComment(c, r);
}

void TExtStringGrid::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctShape;
    g->CellAngle = Shape;
    g->CellIndex = static_cast<int>(FillColor);
    g->CellColor = LineColor;
    g->CellHAlign = hal;
    g->CellVAlign = val;
}

void TExtStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor) {
    if (TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctShape)) {
        g->CellIndex = static_cast<int>(FillColor);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

TColor TExtStringGrid::GetShapeColor(int ACol, int ARow) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctShape);
    return g ? static_cast<TColor>(g->CellIndex) : 0x1FFFFFFF;
}

void TExtStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRating;
    g->CellAngle = Scale;
    g->CellIndex = static_cast<int>(FillColor);
    g->CellColor = EmptyColor;
    g->CellHAlign = haFull;
}

void TExtStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctScrollbar;
    g->CellIndex = 0;
    g->CellAngle = 0;
    g->CellErrFrom = 100;
    g->CellBoolean = AutoRange;
    if (AutoRange) UpdateCellScrollBar(ACol, ARow);
}

bool TExtStringGrid::HasAutoRangeScrollBar(int ACol, int ARow) {
    if (!HasScrollBar(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellGraphic(b.X, b.Y)->CellBoolean;
}

void TExtStringGrid::SetScrollPosition(int ACol, int ARow, int Pos) {
    const TPoint b = BaseCell(ACol, ARow);
    if (TCellGraphic* g = OfKind(GetCellGraphic(b.X, b.Y), ctScrollbar)) {
        g->CellIndex = Pos;
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

int TExtStringGrid::GetScrollPosition(int ACol, int ARow) {
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = OfKind(GetCellGraphic(b.X, b.Y), ctScrollbar);
    return g ? g->CellIndex : -1;
}

void TExtStringGrid::SetScrollProp(int ACol, int ARow, TScrollProp Prop) {
    const TPoint b = BaseCell(ACol, ARow);
    if (TCellGraphic* g = OfKind(GetCellGraphic(b.X, b.Y), ctScrollbar)) {
        g->CellAngle = Prop.PageSize;
        g->CellErrFrom = Prop.Range;
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

TScrollProp TExtStringGrid::GetScrollProp(int ACol, int ARow) {
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = OfKind(GetCellGraphic(b.X, b.Y), ctScrollbar);
    return g ? TScrollProp{g->CellAngle, g->CellErrFrom} : TScrollProp{-1, -1};
}

void TExtStringGrid::UpdateCellScrollBar(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0 || !HasAutoRangeScrollBar(ACol, ARow)) return;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    g->CellAngle = RowHeights(ARow);
    const int lines = std::max(1, LineCount(GetCellEx(b.X, b.Y), true));
    g->CellErrFrom = lines * Canvas()->TextHeight(u"gh");
}

// ---- markers ---------------------------------------------------------------------------------

void TExtStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->CellType = ctEmpty;
    }
    g->CellErrFrom = ErrPos;
    g->CellErrLen = ErrLen;
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom : 0;
    ErrLen = g ? g->CellErrLen : 0;
}

void TExtStringGrid::RemoveMarker(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    if (g->CellType == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->CellErrFrom = 0;
    g->CellErrLen = 0;
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TExtStringGrid::RemoveAllMarkers() {
    for (int c = 0; c < AllColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r)
            if (GetGraphicObjectEx(c, r)) RemoveMarker(c, r);
}

// ---- buttons and expand cells ---------------------------------------------------------------

void TExtStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                               TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TExtStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, plat::TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val) {
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

plat::TBitmap* TExtStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption,
                                               TCellHAlign hal, TCellVAlign val) {
    auto* glyph = new plat::TBitmap;
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, glyph, hal, val);
    g->CellCreated = true;
    return glyph;
}

void TExtStringGrid::SetButtonText(int ACol, int ARow, const String& Caption) {
    if (TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow)) {
        g->CellText = Caption;
        RepaintCell(ACol, ARow);
    }
}

String TExtStringGrid::GetButtonText(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    return g ? g->CellText : String();
}

void TExtStringGrid::PushButton(int ACol, int ARow, bool Push) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g || g->CellType == ctNode) return;
    g->CellBoolean = Push;
    RepaintCell(ACol, ARow);
}

void TExtStringGrid::RemoveButton(int ACol, int ARow) {
    if (!RemoveCellGraphicOfType(ACol, ARow, ctButton)) RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TExtStringGrid::RemoveAllButtons() {
    for (int c = 0; c < AllColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) RemoveButton(c, r);
}

void TExtStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctExpand;
    g->CellAngle = ExpandedHeight;
    g->CellIndex = RowHeights(ARow);
    g->CellVar = false;
}

bool TExtStringGrid::GetExpandState(int ACol, int ARow) {
    if (!HasExpand(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellVar& v = GetCellGraphic(b.X, b.Y)->CellVar;
    return std::holds_alternative<bool>(v) && std::get<bool>(v);
}

bool TExtStringGrid::ToggleExpand(int ACol, int ARow) {
    if (!HasExpand(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    const bool now = !GetExpandState(ACol, ARow);
    g->CellVar = now;
    return now;
}

int TExtStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return DefaultRowHeight();
    return Expanded ? g->CellAngle : g->CellIndex;
}

void TExtStringGrid::ExpandClick(int ACol, int ARow, bool Expanded) {
    if (OnExpandClick) OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TExtStringGrid::SearchFooterAction(const String& Value, int ACol, int ARow, int Action) {
    if (OnSearchFooterAction) OnSearchFooterAction(this, Value, ACol, ARow, Action);
}

// ---- balloons and interfaced cells ----------------------------------------------------------

void TExtStringGrid::AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon) {
    auto makeList = [&] {
        auto* sl = new plat::TStringList;
        sl->Add(Title);
        sl->Add(Text);
        return sl;
    };
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (g && TCellTypes{ctCheckBox, ctDataCheckBox, ctRadioButton}.Contains(g->CellType) &&
        g == GetGraphicObjectEx(ACol, ARow)) {
        if (g->CellAngle == 1) delete g->CellBitmap;
        g->CellBitmap = makeList();
        g->CellAngle = 1;
        g->CellIndex = Icon;
        return;
    }
    if (g) return;
    g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctBalloon;
    g->CellBitmap = makeList();
    g->CellIndex = Icon;
}

bool TExtStringGrid::IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    const bool attached =
        TCellTypes{ctCheckBox, ctDataCheckBox, ctRadioButton}.Contains(g->CellType) && g->CellAngle == 1;
    if (g->CellType != ctBalloon && !attached) return false;
    auto* sl = dynamic_cast<plat::TStrings*>(g->CellBitmap);
    if (!sl) return false;
    Title = sl->Count() > 0 ? sl->Strings(0) : String();
    Text = sl->Count() > 1 ? sl->Strings(1) : String();
    Icon = static_cast<TBalloonIcon>(g->CellIndex);
    return true;
}

void TExtStringGrid::RemoveBalloon(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    if (TCellTypes{ctCheckBox, ctDataCheckBox, ctRadioButton}.Contains(g->CellType) && g->CellAngle == 1) {
        delete g->CellBitmap;
        g->CellBitmap = nullptr;
        g->CellAngle = 0;
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

void TExtStringGrid::AddInterfacedCell(int ACol, int ARow, plat::TObject* AObject) {
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

plat::TObject* TExtStringGrid::GetInterfacedCell(int ACol, int ARow) {
    TCellGraphic* g = OfKind(GetCellGraphic(ACol, ARow), ctInterface);
    return g ? g->CellBitmap : nullptr;
}

// ---- sizes ----------------------------------------------------------------------------------

TPoint TExtStringGrid::GetCellGraphicSize(int ACol, int ARow) {
    TPoint size{0, 0};
    CalcCellGraphicSize(ACol, ARow, size, 0);
    return size;
}

void TExtStringGrid::CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int Reserve) {
    Size = {0, 0};
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    const bool noText = GetCellEx(ACol, ARow).empty();
    const TPoint cell = CellSize(DisplColIndex(ACol), ARow);  // ACol is a real column
    bool stretchable = true;
    plat::TCanvas* canvas = Canvas();
    switch (g->CellType) {
    case ctBitmap:
        if (auto* b = dynamic_cast<plat::TBitmap*>(g->CellBitmap)) {
            Size.X = BesideText(*g) || noText ? b->Width() : 0;
            Size.Y = OverText(*g) || noText ? b->Height() : 0;
        }
        break;
    case ctIcon:
        if (g->CellIcon) {
            Size.X = BesideText(*g) || noText ? g->CellIcon->Width() : 0;
            Size.Y = g->CellIcon->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (GridImages) {
            Size.X = BesideText(*g) || noText ? GridImages->Width() : 0;
            Size.Y = OverText(*g) || noText ? GridImages->Height() : 0;
        }
        break;
    case ctPicture:
    case ctFilePicture:
        g->GetPictureSize(cell.X - TotalXOffset() - 1, cell.Y - TotalYOffset() - Reserve - 1, !noText, Size);
        break;
    case ctButton:
    case ctBitButton: {
        const int bw = g->CellIndex & 0xFFFF;
        const int bh = (g->CellIndex >> 16) & 0xFFFF;
        if (noText) {
            Size = {bw, bh};
            if (g->CellType == ctButton && g->CellHAlign == haFull) {
                canvas->SetFont(Font());
                Size.X = canvas->TextWidth(g->CellText) + 4;
                stretchable = false;
            }
        } else {
            Size.X = g->CellHAlign == haCenter ? 0 : g->CellHAlign == haFull ? canvas->TextWidth(g->CellText) + 4 : bw;
            if (OverText(*g)) Size.X = 0;
            Size.Y = OverText(*g) ? bh : 0;
        }
        break;
    }
    case ctInterface:
        Size = cell;
        break;
    case ctProgressPie:
        Size = {20, 20};
        break;
    case ctRadioButton:
        Size = {FControlLook->RadioSize, FControlLook->RadioSize};
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        Size = {FControlLook->CheckSize, FControlLook->CheckSize};
        break;
    case ctRadio:
        if (auto* items = dynamic_cast<plat::TStrings*>(g->CellBitmap)) {
            const int th = canvas->TextHeight(u"gh");
            if (!g->CellBoolean) {
                for (int i = 0; i < items->Count(); ++i) Size.X += canvas->TextWidth(items->Strings(i)) + 12;
                Size.Y = th;
            } else {
                Size.X = 12;
                for (int i = 0; i < items->Count(); ++i)
                    Size.X = std::max(Size.X, canvas->TextWidth(items->Strings(i)) + 12);
                Size.Y = std::max(16, th) * items->Count();
            }
        }
        break;
    case ctRating:
        Size = {18 * g->CellAngle, 16};
        stretchable = false;
        break;
    case ctImages:
        if (auto* list = dynamic_cast<TIntList*>(g->CellBitmap); list && GridImages) {
            if (g->CellBoolean)
                Size = {list->Count() * GridImages->Width(), GridImages->Height()};
            else
                Size = {GridImages->Width(), list->Count() * GridImages->Height()};
        }
        break;
    default:
        break;
    }
    if (stretchable) {
        if (g->CellVAlign == vaFull) Size.Y = cell.Y;
        if (g->CellHAlign == haFull) Size.X = cell.X;
    }
}

void TExtStringGrid::CalcCellGraphicPrintSize(int ACol, int ARow, TPoint& Size, double ScaleFactor, int ColWidth,
                                              int RowHeight) {
    Size = {0, 0};
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return;
    const TPoint cell = CellSize(DisplColIndex(ACol), ARow);  // ACol is a real column
    switch (g->CellType) {
    case ctBitmap:
        if (auto* b = dynamic_cast<plat::TBitmap*>(g->CellBitmap)) Size = {b->Width(), b->Height()};
        break;
    case ctIcon:
        if (g->CellIcon) Size = {g->CellIcon->Width(), g->CellIcon->Height()};
        break;
    case ctImageList: {
        TPoint screen;
        CalcCellGraphicSize(ACol, ARow, screen, 0);
        Size = {screen.X, GridImages ? GridImages->Height() : 0};
        break;
    }
    case ctDataImage:
        if (GridImages) Size = {GridImages->Width(), GridImages->Height()};
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        Size = {FControlLook->CheckSize, FControlLook->CheckSize};
        break;
    case ctRadioButton:
        Size = {FControlLook->RadioSize, FControlLook->RadioSize};
        break;
    case ctNode:
    case ctProgressPie:
        Size = {20, 20};
        break;
    case ctRadio:
        CalcCellGraphicSize(ACol, ARow, Size, 0);
        if (auto* items = dynamic_cast<plat::TStrings*>(g->CellBitmap); items && g->CellBoolean)
            Size.Y = Canvas()->TextHeight(u"gh") * items->Count();
        break;
    case ctImages:
        CalcCellGraphicSize(ACol, ARow, Size, 0);
        break;
    case ctPicture:
    case ctFilePicture: {
        TPoint p;
        g->GetPictureSize(ColWidth, RowHeight, false, p);
        const double f = ScaleFactor != 0 ? ScaleFactor : 1;
        Size = {static_cast<int>(std::nearbyint(p.X / f)), static_cast<int>(std::nearbyint(p.Y / f))};
        break;
    }
    case ctProgress:
    case ctXPProgress:
        Size = {cell.X, cell.Y};
        break;
    case ctButton:
    case ctBitButton:
        Size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
        break;
    case ctInterface:
        Size = cell;
        break;
    case ctShape: {
        const int side = RowHeights(ARow) - 2 * XYOffset().Y;
        Size = {side, side};
        break;
    }
    default:
        break;
    }
}

// ---- hit rectangles -------------------------------------------------------------------------

plat::TRect TExtStringGrid::GetExpandRect(int ACol, int ARow) {
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    if (!OfKind(GetCellGraphic(b.X, b.Y), ctExpand)) return {};
    const plat::TRect r = CellRect(ACol, ARow);
    return {r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13};
}

plat::TRect TExtStringGrid::GetGraphicRect(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!g) return {};
    const plat::TRect r = CellRect(ACol, ARow);
    const auto packed = static_cast<long long>(g->CellValue);
    const int top = static_cast<int>(packed / 65536);
    const int left = static_cast<int>(packed % 65536);
    const int w = g->CellIndex & 0xFFFF;
    const int h = (g->CellIndex >> 16) & 0xFFFF;
    plat::TRect hit{r.Left + left, r.Top + top, r.Left + left + w, r.Top + top + h};
    if (g->CellVAlign == vaFull) {
        hit.Top = r.Top;
        hit.Bottom = r.Bottom;
    }
    if (g->CellHAlign == haFull) {
        hit.Left = r.Left;
        hit.Right = r.Right;
    }
    return hit;
}

} // namespace grid
