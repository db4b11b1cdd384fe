// The binary cell stream: records of a self-describing object encoding ("TPF0", class name,
// named typed values), one header record, then per cell a cell record, its properties, its
// graphic and the graphic's object. Writer and reader share the field tables below; the
// reader parses from memory and checks every count against the bytes left before it
// allocates anything.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "BinStreamCodec.h"
#include "ExtGrid.h"
#include "GridTextIO.h"
#include "plat/Files.h"
#include "plat/PictureDecode.h"
#include "plat/PictureEncode.h"
#include "plat/Streams.h"

namespace grid {

using namespace grid::io::bin;

namespace {

constexpr const char* kCellTypes[] = {
    "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
    "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress",
    "ctComment", "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary",
    "ctRangeIndicator", "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape",
    "ctRating", "ctTriStateCheckBox", "ctExpand"};
static_assert(std::size(kCellTypes) == kCellTypeCount);

constexpr const char* kEditorTypes[] = {
    "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
    "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
    "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
    "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
    "edDateTimeEdit", "edValidChars", "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown",
    "edTimePickerDropDown", "edDetailDropDown", "edGridDropDown", "edColorPickerDropDown",
    "edImagePickerDropDown", "edExtGridDropDown", "edPositiveFloat", "edNumericUnitEditBtn",
    "edFloatUnitEditBtn", "edMaskEditBtn"};
static_assert(std::size(kEditorTypes) == edMaskEditBtn + 1);

constexpr const char* kAlignments[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr const char* kBrushStyles[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
constexpr const char* kVAlignments[] = {"vtaTop", "vtaCenter", "vtaBottom"};
constexpr const char* kCellVAligns[] = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
constexpr const char* kCellHAligns[] = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
constexpr const char* kCheckBoxStates[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
constexpr const char* kGradientDirections[] = {"GradientVertical", "GradientHorizontal"};
constexpr const char* kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

template <std::size_t N>
TIdents Idents(const char* const (&names)[N]) {
    return TIdents(names, N);
}

// The record classes and their fields, in the order written.
const TFieldNames kPropFields = {"ColCount", "RowCount", "ColWidths", "RowHeights", "FullGrid", "ID"};
const TFieldNames kCellFields = {"Col", "Row", "Cell", "HasProp"};
const TFieldNames kCellPropFields = {
    "CellProperties.IsBaseCell",   "CellProperties.CellSpanX",   "CellProperties.CellSpanY",
    "CellProperties.Alignment",    "CellProperties.BorderColor", "CellProperties.BorderWidth",
    "CellProperties.BrushColor",   "CellProperties.BrushColorTo", "CellProperties.BrushStyle",
    "CellProperties.CellObject",   "CellProperties.FontColor",   "CellProperties.FontName",
    "CellProperties.FontSize",     "CellProperties.FontStyle",   "CellProperties.Editor",
    "CellProperties.GradientDirection", "CellProperties.ReadOnly", "CellProperties.VAlignment",
    "CellProperties.WordWrap",     "CellProperties.NodeLevel",   "CellProperties.Control",
    "HasGraphic"};
const TFieldNames kGraphicFields = {
    "CellGraphic.CellType",      "CellGraphic.CellVAlign",  "CellGraphic.CellHAlign",
    "CellGraphic.CellIndex",     "CellGraphic.CellTransparent", "CellGraphic.CellCreated",
    "CellGraphic.CellBoolean",   "CellGraphic.CellCheckBoxState", "CellGraphic.CellAngle",
    "CellGraphic.CellValue",     "CellGraphic.CellErrFrom", "CellGraphic.CellErrLen",
    "CellGraphic.CellText"};
const TFieldNames kBmpFields = {"Bitmap"};
const TFieldNames kIconFields = {"Icon"};
const TFieldNames kSLFields = {"Strings"};
const TFieldNames kPicFields = {"Picture"};
const TFieldNames kFilePicFields = {"Picture.Filename"};

// Kinds whose graphic carries an object record after it.
bool HasKindRecord(TCellType t) {
    switch (t) {
    case ctBitmap: case ctBitButton: case ctIcon: case ctRadio: case ctImages: case ctPicture:
    case ctFilePicture:
        return true;
    default:
        return false;
    }
}

// A bitmap value: the BMP file's size, then the file.
std::string BitmapData(const plat::TBitmap& b) {
    const std::string bmp = plat::BitmapToBmp(b);
    if (bmp.empty()) return std::string();
    std::string s;
    PutU32(s, static_cast<std::uint32_t>(bmp.size()));
    return s + bmp;
}

// Reads a bitmap value into b; damaged data leaves b empty.
void LoadBitmapData(std::string_view d, plat::TBitmap& b) {
    if (d.size() < 4) return;
    const std::uint32_t n = GetU32(d.data());
    if (n > d.size() - 4) return;
    plat::DecodePicture(d.data() + 4, n, b);
}

std::vector<int> ParseSizes(const std::string& field, const String& text, int count) {
    std::vector<int> v;
    if (text.empty()) {
        if (count > 0) throw plat::EReadError(u"Invalid stream format");
        return v;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(u',', start);
        v.push_back(plat::StrToInt(StringView(text).substr(start, comma == String::npos ? String::npos : comma - start)));
        if (comma == String::npos) break;
        start = comma + 1;
        if (static_cast<int>(v.size()) > count) break;
    }
    (void)field;
    if (static_cast<int>(v.size()) < count) throw plat::EReadError(u"Invalid stream format");
    return v;
}

void Unmerge(TCellProperties* p) {
    p->IsBaseCell = true;
    p->CellSpanX = -1;
    p->CellSpanY = -1;
}

// Loaded cells may bring half of a merged area (a rectangle cut through one, a stream that
// ends early) or spans that do not fit the target. Every area that is not whole afterwards
// is split: a cell that does not point at a base whose area holds it, and every cell of an
// area that lacks one of its cells or leaves the grid, become plain cells.
void RepairMerges(TExtStringGrid& g) {
    const int cols = g.AllColCount(), rows = g.RowCount();
    auto props = [&](int c, int r) -> TCellProperties* {
        return c >= 0 && r >= 0 && c < cols && r < rows && g.HasCellProperties(c, r) ? g.GetCellProperties(c, r)
                                                                                      : nullptr;
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TCellProperties* p = props(c, r);
            if (!p || p->IsBaseCell) continue;
            TCellProperties* b = p->CellSpanX >= 0 && p->CellSpanY >= 0
                                     ? props(c - p->CellSpanX, r - p->CellSpanY) : nullptr;
            if (!b || !b->IsBaseCell || c > c - p->CellSpanX + std::max(0, b->CellSpanX) ||
                r > r - p->CellSpanY + std::max(0, b->CellSpanY))
                Unmerge(p);
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TCellProperties* p = props(c, r);
            if (!p || !p->IsBaseCell) continue;
            if (p->CellSpanX < -1 || p->CellSpanY < -1) {
                Unmerge(p);
                continue;
            }
            const int ex = std::max(0, p->CellSpanX), ey = std::max(0, p->CellSpanY);
            if (ex == 0 && ey == 0) continue;
            bool whole = static_cast<std::int64_t>(c) + ex < cols && static_cast<std::int64_t>(r) + ey < rows;
            for (int y = r; whole && y <= r + ey; ++y)
                for (int x = c; whole && x <= c + ex; ++x) {
                    if (x == c && y == r) continue;
                    TCellProperties* q = props(x, y);
                    whole = q && !q->IsBaseCell && q->CellSpanX == x - c && q->CellSpanY == y - r;
                }
            if (whole) continue;
            for (int y = r; y <= std::min(rows - 1, r + ey); ++y)
                for (int x = c; x <= std::min(cols - 1, c + ex); ++x) {
                    TCellProperties* q = props(x, y);
                    if (q && !q->IsBaseCell && x - q->CellSpanX == c && y - q->CellSpanY == r) Unmerge(q);
                }
            Unmerge(p);
        }
}

class TBinLoader {
public:
    TBinLoader(TExtStringGrid& g, std::string_view bytes) : grid_(g), in_(bytes) {}

    void Load(const plat::TPoint& pt);
    std::size_t Consumed() const { return in_.Pos(); }

private:
    void ReadCell(const plat::TPoint& pt, bool fullGrid, bool& first, int& c0, int& r0, int& lastRow, int& lastPct);
    void ReadGraphic(int tc, int tr, bool place);

    TExtStringGrid& grid_;
    TReader in_;

public:
    bool nodes_ = false;
    bool props_ = false;
};

} // namespace

TBinHeader io::bin::ReadBinHeader(std::string_view Bytes) {
    TReader in(Bytes);
    TRecord head = in.ReadRecord("TGridPropIO", kPropFields);
    const TBinHeader h{head.Int("ColCount", 0), head.Int("RowCount", 0), static_cast<std::int32_t>(head.Int("ID", 0))};
    // As the loader: no rectangle larger than the bytes left could hold records for.
    if (h.ColCount < 0 || h.RowCount < 0 ||
        static_cast<std::int64_t>(h.ColCount) * h.RowCount > static_cast<std::int64_t>(in.Left() / kMinCellRecord))
        throw plat::EReadError(u"Invalid stream format");
    return h;
}

namespace {

void TBinLoader::Load(const plat::TPoint& pt) {
    TRecord head = in_.ReadRecord("TGridPropIO", kPropFields);
    const int cols = head.Int("ColCount", 0);
    const int rows = head.Int("RowCount", 0);
    const bool full = head.Bool("FullGrid", false);
    // Every cell of the rectangle has a record of at least kMinCellRecord bytes.
    if (cols < 0 || rows < 0 ||
        static_cast<std::int64_t>(cols) * rows > static_cast<std::int64_t>(in_.Left() / kMinCellRecord))
        throw plat::EReadError(u"Invalid stream format");
    if (full) {
        if (cols < 1 || rows < 1) throw plat::EReadError(u"Invalid stream format");
        const std::vector<int> widths = ParseSizes("ColWidths", head.Text("ColWidths"), cols);
        const std::vector<int> heights = ParseSizes("RowHeights", head.Text("RowHeights"), rows);
        grid_.Clear();
        grid_.SetRowCount(rows);
        grid_.SetColCount(std::max(1, cols - grid_.NumHiddenColumns()));
        for (int i = 0; i < cols && i < grid_.AllColCount(); ++i) grid_.SetAllColWidths(i, widths[i]);
        for (int i = 0; i < rows; ++i) grid_.SetRowHeights(i, heights[i]);
    }
    bool first = true;
    int c0 = 0, r0 = 0, lastRow = -1, lastPct = -1;
    while (in_.Left() >= 2) ReadCell(pt, full, first, c0, r0, lastRow, lastPct);
}

void TBinLoader::ReadCell(const plat::TPoint& pt, bool fullGrid, bool& first, int& c0, int& r0, int& lastRow,
                          int& lastPct) {
    TRecord rec = in_.ReadRecord("TGridCellIO", kCellFields);
    const int col = rec.Int("Col", 0) & 0xFFFF;
    const int row = rec.Int("Row", 0) & 0xFFFF;
    if (first && !fullGrid) {
        c0 = col;
        r0 = row;
    }
    first = false;
    const int tc = col + pt.X - c0;
    const int tr = row + pt.Y - r0;
    // Cells that fall outside the grid (a full grid saved without its fixed cells carries
    // absolute indexes one beyond its counts) are read and dropped.
    const bool place = tc >= 0 && tr >= 0 && tc < grid_.AllColCount() && tr < grid_.RowCount();
    if (place) {
        grid_.SetCellEx(tc, tr, rec.Text("Cell"));
        if (tr != lastRow && grid_.OnFileProgress) {
            const int pct = static_cast<int>(std::lround(tr * 100.0 / std::max(1, grid_.RowCount())));
            if (pct != lastPct) {
                lastPct = pct;
                grid_.OnFileProgress(&grid_, static_cast<short>(pct));
            }
        }
        lastRow = tr;
    }
    if (!rec.Bool("HasProp", false)) return;

    TRecord pr = in_.ReadRecord("TGridCellPropIO", kCellPropFields);
    if (place) {
        props_ = true;
        TCellProperties* target = grid_.GetCellProperties(tc, tr);
        TCellProperties p(target->OwnerGrid(), tc, tr);
        p.Assign(target);
        // Texts left out of the record are empty in the writer's cell.
        p.FontName.clear();
        p.Control = nullptr;
        p.IsBaseCell = pr.Bool("CellProperties.IsBaseCell", p.IsBaseCell);
        p.CellSpanX = pr.Int("CellProperties.CellSpanX", p.CellSpanX);
        p.CellSpanY = pr.Int("CellProperties.CellSpanY", p.CellSpanY);
        p.Alignment = static_cast<plat::TAlignment>(
            pr.Enum("CellProperties.Alignment", Idents(kAlignments), p.Alignment));
        p.BorderColor = pr.Color("CellProperties.BorderColor", p.BorderColor);
        p.BorderWidth = pr.Int("CellProperties.BorderWidth", p.BorderWidth);
        const TColor brush = pr.Color("CellProperties.BrushColor", p.BrushColor());
        const TColor brushTo = pr.Color("CellProperties.BrushColorTo", p.BrushColorTo());
        p.BrushStyle = static_cast<plat::TBrushStyle>(
            pr.Enum("CellProperties.BrushStyle", Idents(kBrushStyles), p.BrushStyle));
        p.CellObject = static_cast<std::uint32_t>(pr.Int("CellProperties.CellObject", 0));
        p.FontColor = pr.Color("CellProperties.FontColor", p.FontColor);
        p.FontName = pr.Text("CellProperties.FontName");
        p.FontSize = pr.Int("CellProperties.FontSize", p.FontSize);
        if (pr.Has("CellProperties.FontStyle")) {
            const unsigned bits = pr.Set("CellProperties.FontStyle", Idents(kFontStyles));
            p.FontStyle = plat::TFontStyles();
            for (int s = 0; s < 4; ++s)
                if (bits & (1u << s)) p.FontStyle += static_cast<plat::TFontStyle>(s);
        }
        p.Editor = static_cast<TEditorType>(pr.Enum("CellProperties.Editor", Idents(kEditorTypes), p.Editor));
        p.GradientDirection = static_cast<TCellGradientDirection>(
            pr.Enum("CellProperties.GradientDirection", Idents(kGradientDirections), p.GradientDirection));
        p.ReadOnly = pr.Bool("CellProperties.ReadOnly", p.ReadOnly);
        const auto va = static_cast<TVAlignment>(
            pr.Enum("CellProperties.VAlignment", Idents(kVAlignments), p.VAlignment()));
        const bool wrap = pr.Bool("CellProperties.WordWrap", p.WordWrap());
        p.NodeLevel = pr.Int("CellProperties.NodeLevel", p.NodeLevel);
        p.OwnerCol = tc;
        p.OwnerRow = tr;
        target->Assign(&p);
        target->SetBrushColor(brush);
        target->SetBrushColorTo(brushTo);
        target->SetVAlignment(va);
        target->SetWordWrap(wrap);
        // A merge that would reach outside the grid is dropped: the cell stays a cell.
        const bool mergeOk =
            target->IsBaseCell
                ? (target->CellSpanX >= -1 && target->CellSpanY >= -1 &&
                   static_cast<std::int64_t>(tc) + std::max(0, target->CellSpanX) < grid_.AllColCount() &&
                   static_cast<std::int64_t>(tr) + std::max(0, target->CellSpanY) < grid_.RowCount())
                : (target->CellSpanX >= 0 && target->CellSpanY >= 0 && tc - target->CellSpanX >= 0 &&
                   tr - target->CellSpanY >= 0);
        if (!mergeOk) {
            target->IsBaseCell = true;
            target->CellSpanX = -1;
            target->CellSpanY = -1;
        }
    } else {
        // Still checks every value against its field.
        pr.Enum("CellProperties.Alignment", Idents(kAlignments), 0);
        pr.Enum("CellProperties.BrushStyle", Idents(kBrushStyles), 0);
        pr.Enum("CellProperties.Editor", Idents(kEditorTypes), 0);
        pr.Enum("CellProperties.GradientDirection", Idents(kGradientDirections), 0);
        pr.Enum("CellProperties.VAlignment", Idents(kVAlignments), 0);
        if (pr.Has("CellProperties.FontStyle")) pr.Set("CellProperties.FontStyle", Idents(kFontStyles));
    }
    if (pr.Bool("HasGraphic", false)) ReadGraphic(tc, tr, place);
}

void TBinLoader::ReadGraphic(int tc, int tr, bool place) {
    TRecord gr = in_.ReadRecord("TGridGraphicIO", kGraphicFields);
    TCellGraphic rec;
    rec.CellType = static_cast<TCellType>(gr.Enum("CellGraphic.CellType", Idents(kCellTypes), rec.CellType));
    rec.CellVAlign = static_cast<TCellVAlign>(gr.Enum("CellGraphic.CellVAlign", Idents(kCellVAligns), rec.CellVAlign));
    rec.CellHAlign = static_cast<TCellHAlign>(gr.Enum("CellGraphic.CellHAlign", Idents(kCellHAligns), rec.CellHAlign));
    rec.CellIndex = gr.Int("CellGraphic.CellIndex", rec.CellIndex);
    rec.CellTransparent = gr.Bool("CellGraphic.CellTransparent", rec.CellTransparent);
    rec.CellCreated = gr.Bool("CellGraphic.CellCreated", rec.CellCreated);
    rec.CellBoolean = gr.Bool("CellGraphic.CellBoolean", rec.CellBoolean);
    const auto cbs = static_cast<plat::TCheckBoxState>(
        gr.Enum("CellGraphic.CellCheckBoxState", Idents(kCheckBoxStates), rec.CellCheckBoxState));
    rec.CellAngle = gr.Int("CellGraphic.CellAngle", rec.CellAngle);
    rec.CellValue = gr.Float("CellGraphic.CellValue", 0);
    rec.CellErrFrom = gr.Int("CellGraphic.CellErrFrom", rec.CellErrFrom);
    rec.CellErrLen = gr.Int("CellGraphic.CellErrLen", rec.CellErrLen);
    rec.CellText = gr.Text("CellGraphic.CellText");
    // A node glyph is placed only where the grid's node structure can hold it: column 0 of a
    // grid without hidden rows, expanded (the rows it hides do not travel), its span inside
    // the grid and its row at level 1 or deeper.
    const bool placeGraphic = place && (rec.CellType != ctNode || (tc == 0 && grid_.NumHiddenRows() == 0));
    if (placeGraphic && rec.CellType == ctNode) {
        rec.CellBoolean = false;
        rec.CellIndex = std::clamp(rec.CellIndex, 0, grid_.AllRowCount() - tr);
        TCellProperties* p0 = grid_.GetCellProperties(0, tr);
        p0->NodeLevel = std::max(p0->NodeLevel, 1);
        nodes_ = true;
    }
    TCellGraphic* g = nullptr;
    if (placeGraphic) {
        g = grid_.CreateCellGraphic(tc, tr);
        g->Assign(&rec);
        g->CellCheckBoxState = cbs;
        // The object created below belongs to the record; without one nothing is owned.
        g->CellCreated = false;
    }
    switch (rec.CellType) {
    case ctBitmap:
    case ctBitButton: {
        TRecord k = in_.ReadRecord("TGridBMPIO", kBmpFields);
        if (!g) break;
        auto* b = new plat::TBitmap;
        LoadBitmapData(k.Binary("Bitmap"), *b);
        g->CellBitmap = b;
        g->CellCreated = true;
        break;
    }
    case ctIcon: {
        TRecord k = in_.ReadRecord("TGridIconIO", kIconFields);
        if (!g) break;
        auto* ic = new plat::TIcon;
        const std::string_view d = k.Binary("Icon");
        if (!d.empty()) plat::DecodePicture(d.data(), d.size(), *ic);
        g->CellIcon = ic;
        g->CellCreated = true;
        break;
    }
    case ctRadio:
    case ctImages: {
        TRecord k = in_.ReadRecord("TGridSLIO", kSLFields);
        const std::vector<String> items = k.List("Strings");
        if (!g) break;
        if (rec.CellType == ctRadio) {
            auto* sl = new plat::TStringList;
            for (const String& s : items) sl->Add(s);
            g->CellBitmap = sl;
            g->CellCreated = true;
        } else {
            auto* il = new TIntList(tc, tr);
            g->CellBitmap = il;
            g->CellCreated = true;
            for (const String& s : items) {
                int v = 0;
                if (plat::TryStrToInt(s, v)) il->Add(v);
            }
            il->OnChange = [this](plat::TObject*, int c, int r) { grid_.RepaintCell(grid_.DisplColIndex(c), r); };
        }
        break;
    }
    case ctPicture: {
        TRecord k = in_.ReadRecord("TGridPicIO", kPicFields);
        if (!g) break;
        auto* pic = new plat::TPicture;
        const std::string_view d = k.Binary("Picture");
        if (!d.empty()) {
            const std::size_t n = static_cast<unsigned char>(d[0]);
            if (n + 1 <= d.size()) {
                const std::string_view cls = d.substr(1, n);
                const std::string_view data = d.substr(n + 1);
                plat::TBitmap b;
                if (cls == "TBitmap")
                    LoadBitmapData(data, b);
                else if (!data.empty())
                    plat::DecodePicture(data.data(), data.size(), b);
                if (!b.Empty()) pic->SetBitmap(&b);
            }
        }
        g->CellBitmap = pic;
        g->CellCreated = true;
        break;
    }
    case ctFilePicture: {
        TRecord k = in_.ReadRecord("TGridFilePicIO", kFilePicFields);
        if (!g) break;
        auto* fp = new TFilePicture;
        g->CellBitmap = fp;
        g->CellCreated = true;
        const String name = k.Text("Picture.Filename");
        if (!name.empty()) {
            try {
                fp->SetFilename(name);
            } catch (const plat::Exception&) {
                // The name is kept; the picture is measured when its file can be read.
            }
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

std::int32_t TExtStringGrid::GridStreamID() const {
    if (Handle() != 0) return static_cast<std::int32_t>(static_cast<std::uint32_t>(Handle()));
    const auto a = reinterpret_cast<std::uintptr_t>(this);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a ^ (a >> 32)));
}

void TExtStringGrid::SaveRectToBinStream(const plat::TRect& Rect, plat::TStream& Stream) {
    const int left = Rect.Left, top = Rect.Top, right = Rect.Right, bottom = Rect.Bottom;
    const int cols = right - left + 1, rows = bottom - top + 1;
    TWriter w(Stream);
    w.Begin("TGridPropIO");
    w.Int("ColCount", cols);
    w.Int("RowCount", rows);
    String widths, heights;
    for (int c = left; c <= right; ++c) {
        if (c > left) widths += u',';
        widths += plat::IntToStr(AllColWidths(c));
    }
    for (int r = top; r <= bottom; ++r) {
        if (r > top) heights += u',';
        heights += plat::IntToStr(r >= 0 && r < RowCount() ? RowHeights(r) : DefaultRowHeight());
    }
    w.Text("ColWidths", widths);
    w.Text("RowHeights", heights);
    const bool full = SaveFixedCells ? (RowCount() == rows && AllColCount() == cols)
                                     : (RowCount() - FixedRows() == rows && AllColCount() - FixedCols() == cols);
    w.Bool("FullGrid", full);
    w.Int("ID", GridStreamID());
    w.End();
    ExportNotification(esExportStart, top);
    int lastPct = -1;
    for (int r = top; r <= bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = left; c <= right; ++c) {
            const bool inside = c >= 0 && r >= 0 && c < AllColCount() && r < RowCount();
            const bool hasProp = inside && HasCellProperties(c, r);
            w.Begin("TGridCellIO");
            w.Int("Col", c & 0xFFFF);
            w.Int("Row", r & 0xFFFF);
            w.Text("Cell", inside ? GetCellEx(c, r) : String());
            w.Bool("HasProp", hasProp);
            w.End();
            if (hasProp) {
                TCellProperties* p = GetCellProperties(c, r);
                auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject);
                bool hasGraphic = false;
                if (g) {
                    switch (g->CellType) {
                    case ctEmpty: break;
                    case ctBitmap: case ctIcon: case ctRadio: case ctImages: case ctPicture: case ctFilePicture:
                    case ctBitButton:
                        hasGraphic = g->CellCreated;
                        break;
                    default: hasGraphic = true; break;
                    }
                }
                w.Begin("TGridCellPropIO");
                w.Bool("CellProperties.IsBaseCell", p->IsBaseCell);
                w.Int("CellProperties.CellSpanX", p->CellSpanX);
                w.Int("CellProperties.CellSpanY", p->CellSpanY);
                w.Ident("CellProperties.Alignment", kAlignments[p->Alignment]);
                w.Color("CellProperties.BorderColor", p->BorderColor);
                w.Int("CellProperties.BorderWidth", p->BorderWidth);
                w.Color("CellProperties.BrushColor", p->BrushColor());
                w.Color("CellProperties.BrushColorTo", p->BrushColorTo());
                w.Ident("CellProperties.BrushStyle", kBrushStyles[p->BrushStyle]);
                w.Int("CellProperties.CellObject", static_cast<std::int32_t>(static_cast<std::uint32_t>(p->CellObject)));
                w.Color("CellProperties.FontColor", p->FontColor);
                w.Text("CellProperties.FontName", p->FontName);
                w.Int("CellProperties.FontSize", p->FontSize);
                unsigned bits = 0;
                for (int s = 0; s < 4; ++s)
                    if (p->FontStyle.Contains(static_cast<plat::TFontStyle>(s))) bits |= 1u << s;
                w.Set("CellProperties.FontStyle", Idents(kFontStyles), bits);
                w.Ident("CellProperties.Editor", kEditorTypes[p->Editor]);
                w.Ident("CellProperties.GradientDirection", kGradientDirections[p->GradientDirection]);
                w.Bool("CellProperties.ReadOnly", p->ReadOnly);
                w.Ident("CellProperties.VAlignment", kVAlignments[p->VAlignment()]);
                w.Bool("CellProperties.WordWrap", p->WordWrap());
                w.Int("CellProperties.NodeLevel", p->NodeLevel);
                if (p->Control && !p->Control->Name().empty())
                    w.Ident("CellProperties.Control", plat::StringToUtf8(p->Control->Name()));
                w.Bool("HasGraphic", hasGraphic);
                w.End();
                if (hasGraphic) {
                    w.Begin("TGridGraphicIO");
                    w.Ident("CellGraphic.CellType", kCellTypes[g->CellType]);
                    w.Ident("CellGraphic.CellVAlign", kCellVAligns[g->CellVAlign]);
                    w.Ident("CellGraphic.CellHAlign", kCellHAligns[g->CellHAlign]);
                    w.Int("CellGraphic.CellIndex", g->CellIndex);
                    w.Bool("CellGraphic.CellTransparent", g->CellTransparent);
                    w.Bool("CellGraphic.CellCreated", g->CellCreated);
                    w.Bool("CellGraphic.CellBoolean", g->CellBoolean);
                    w.Ident("CellGraphic.CellCheckBoxState", kCheckBoxStates[g->CellCheckBoxState]);
                    w.Int("CellGraphic.CellAngle", g->CellAngle);
                    w.Float("CellGraphic.CellValue", g->CellValue);
                    w.Int("CellGraphic.CellErrFrom", g->CellErrFrom);
                    w.Int("CellGraphic.CellErrLen", g->CellErrLen);
                    w.Text("CellGraphic.CellText", g->CellText);
                    w.End();
                    if (HasKindRecord(g->CellType)) {
                        switch (g->CellType) {
                        case ctBitmap:
                        case ctBitButton: {
                            w.Begin("TGridBMPIO");
                            auto* b = dynamic_cast<plat::TBitmap*>(g->CellBitmap);
                            if (b) w.Binary("Bitmap", BitmapData(*b));
                            w.End();
                            break;
                        }
                        case ctIcon:
                            w.Begin("TGridIconIO");
                            if (g->CellIcon) w.Binary("Icon", plat::IconToIco(*g->CellIcon));
                            w.End();
                            break;
                        case ctRadio:
                        case ctImages: {
                            std::vector<String> items;
                            if (g->CellType == ctRadio) {
                                if (auto* sl = dynamic_cast<plat::TStrings*>(g->CellBitmap))
                                    for (int i = 0; i < sl->Count(); ++i) items.push_back(sl->Strings(i));
                            } else if (auto* il = dynamic_cast<TIntList*>(g->CellBitmap)) {
                                for (int i = 0; i < il->Count(); ++i) items.push_back(plat::IntToStr(il->GetInteger(i)));
                            }
                            w.Begin("TGridSLIO");
                            w.List("Strings", items);
                            w.End();
                            break;
                        }
                        case ctPicture: {
                            w.Begin("TGridPicIO");
                            auto* pic = dynamic_cast<plat::TPicture*>(g->CellBitmap);
                            if (pic && pic->HasGraphic()) {
                                const std::string data = BitmapData(*pic->Bitmap());
                                std::string holder(1, static_cast<char>(7));
                                holder += "TBitmap";
                                w.Binary("Picture", holder + data);
                            }
                            w.End();
                            break;
                        }
                        case ctFilePicture: {
                            w.Begin("TGridFilePicIO");
                            if (auto* fp = dynamic_cast<TFilePicture*>(g->CellBitmap))
                                w.Text("Picture.Filename", fp->Filename());
                            w.End();
                            break;
                        }
                        default:
                            break;
                        }
                    }
                }
            }
        }
        if (OnFileProgress) {
            const int pct = static_cast<int>(std::lround((r - top) * 100.0 / std::max(1, bottom - top)));
            if (pct != lastPct) {
                lastPct = pct;
                OnFileProgress(this, static_cast<short>(pct));
            }
        }
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::LoadAtPointFromBinStream(const plat::TPoint& Point, plat::TStream& Stream) {
    const std::int64_t start = Stream.Position();
    const std::int64_t size = Stream.Size();
    if (size - start > kMaxBinStream) throw plat::EReadError(u"Invalid stream format");
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(0, size - start)), '\0');
    if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), bytes.size());
    TBinLoader loader(*this, bytes);
    try {
        loader.Load(Point);
    } catch (...) {
        Stream.SetPosition(start + static_cast<std::int64_t>(loader.Consumed()));
        if (loader.props_) RepairMerges(*this);
        if (loader.nodes_) RecountNodes();
        throw;
    }
    Stream.SetPosition(start + static_cast<std::int64_t>(loader.Consumed()));
    if (loader.props_) RepairMerges(*this);
    if (loader.nodes_) RecountNodes();
}

void TExtStringGrid::SaveToBinStream(plat::TStream& Stream) {
    const int hidden = NumHiddenColumns();
    SaveRectToBinStream(plat::TRect{SaveStartCol(), SaveStartRow(), SaveEndCol() + hidden, SaveEndRow()}, Stream);
}

void TExtStringGrid::LoadFromBinStream(plat::TStream& Stream) {
    try {
        LoadAtPointFromBinStream(plat::TPoint{0, 0}, Stream);
    } catch (...) {
        RecountNodes();
        throw;
    }
    RecountNodes();
    if (NumNodes() > 0) RepaintCol(0);
}

void TExtStringGrid::SaveToBinFile(const String& FileName) {
    plat::TAtomicFileStream s(FileName);
    SaveToBinStream(s);
    s.Commit();
}

void TExtStringGrid::LoadFromBinFile(const String& FileName) {
    std::string bytes;
    if (!io::ReadGridFile(FileName, bytes)) throw plat::EFileError(u"Cannot open file \"" + FileName + u"\".");
    plat::TCustomMemoryStream s(bytes.data(), bytes.size());
    LoadFromBinStream(s);
}

} // namespace grid
