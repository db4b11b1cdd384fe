// The binary cell stream: records byte for byte against hand-written fixtures, rectangles
// and whole grids carried from one grid to another with their properties and graphics, the
// loader's refusals of damaged and hostile streams, and random damage under the sanitizers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BinStreamCodec.h"
#include "ExtGrid.h"
#include "GridFileFixture.h"
#include "plat/ImgList.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;

namespace {

using grid::testing::U8;
using testsupport::ThrowsWith;

// A short name: length byte and the name.
std::string N(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
std::string U32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}
std::string Hex(const std::string& b) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : b) {
        s += d[c >> 4];
        s += d[c & 15];
        s += ' ';
    }
    return s;
}

// The records of a stream, split at their signatures (fixtures hold no "TPF0" in texts).
std::vector<std::string> Records(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = bytes.find("TPF0");
    while (at != std::string::npos) {
        const std::size_t next = bytes.find("TPF0", at + 4);
        out.push_back(bytes.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return out;
}

// Records the export and import hooks.
class TNotifyGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void ExportNotification(TGridExportState AState, int ARow) override { log.push_back({AState, ARow}); }
    std::vector<std::pair<int, int>> log;
};

constexpr std::size_t kPad = grid::io::bin::kMinCellRecord;

class GridBinStreamTest : public grid::testing::GridFileTest {
protected:
    TExtStringGrid* MakeGrid(int cols, int rows) {
        TExtStringGrid* g = NewGrid();
        g->GridImages = &images;
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    static std::string Save(TExtStringGrid& g, int l, int t, int r, int b) {
        plat::TMemoryStream m;
        g.SaveRectToBinStream(plat::TRect{l, t, r, b}, m);
        return m.Bytes();
    }
    static void Load(TExtStringGrid& g, int x, int y, const std::string& bytes) {
        plat::TMemoryStream m;
        m.LoadFromBytes(bytes);
        g.LoadAtPointFromBinStream(plat::TPoint{x, y}, m);
    }
    plat::TImageList images{nullptr};
};

// The records of single cells as the Part lays them out.
TEST_F(GridBinStreamTest, CellRecordsByteForByte) {
    const std::string cellHead = "TPF0" + N("TGridCellIO") + std::string(1, '\0');
    const std::string ends("\0\0", 2);
    struct Case {
        const char* name;
        int col, row;
        std::function<void(TExtStringGrid&, int, int)> setup;
        int record;            // index of the record the fixture is found in
        std::string expected;  // the whole record or a part of it
        bool whole;
    };
    const std::string propsPrefix = "TPF0" + N("TGridCellPropIO") + std::string(1, '\0');
    const std::vector<Case> cases = {
        {"empty cell without properties", 1, 1, [](TExtStringGrid&, int, int) {}, 1,
         cellHead + N("Col") + "\x02\x01" + N("Row") + "\x02\x01" + N("HasProp") + "\x08" + ends, true},
        {"column 100 takes the 8-bit tag", 100, 2, [](TExtStringGrid&, int, int) {}, 1,
         N("Col") + "\x02\x64" + N("Row") + "\x02\x02", false},
        {"column 300 takes the 16-bit tag", 300, 2, [](TExtStringGrid&, int, int) {}, 1,
         N("Col") + std::string("\x03\x2C\x01", 3) + N("Row") + "\x02\x02", false},
        {"ASCII text", 1, 1, [](TExtStringGrid& g, int c, int r) { g.SetCells(c, r, u"abc"); }, 1,
         N("Cell") + "\x06\x03" "abc" + N("HasProp") + "\x08", false},
        {"an accented letter", 1, 1, [](TExtStringGrid& g, int c, int r) { g.SetCells(c, r, u"caf\u00e9"); }, 1,
         N("Cell") + "\x14" + U32(5) + "caf\xC3\xA9", false},
        {"Chinese text", 1, 1, [](TExtStringGrid& g, int c, int r) { g.SetCells(c, r, u"\u4e2d\u6587"); }, 1,
         N("Cell") + "\x12" + U32(2) + "\x2D\x4E\x87\x65", false},
        {"ASCII of 256 bytes", 1, 1, [](TExtStringGrid& g, int c, int r) { g.SetCells(c, r, String(256, u'x')); },
         1, N("Cell") + "\x0C" + U32(256) + std::string(256, 'x'), false},
        {"CellValue 1.5", 1, 1,
         [](TExtStringGrid& g, int c, int r) { g.CreateCellGraphic(c, r)->CellValue = 1.5; }, 3,
         N("CellGraphic.CellValue") + "\x05" + std::string(7, '\0') + "\xC0\xFF\x3F", false},
        {"BrushColor clBtnFace", 1, 1,
         [](TExtStringGrid& g, int c, int r) { g.GetCellProperties(c, r)->SetBrushColor(plat::clBtnFace); }, 2,
         N("CellProperties.BrushColor") + "\x07" + N("clBtnFace"), false},
        {"BrushColor 0x00123456", 1, 1,
         [](TExtStringGrid& g, int c, int r) { g.GetCellProperties(c, r)->SetBrushColor(0x00123456); }, 2,
         N("CellProperties.BrushColor") + "\x04" + U32(0x00123456), false},
        {"a font-style set", 1, 1,
         [](TExtStringGrid& g, int c, int r) {
             g.GetCellProperties(c, r)->FontStyle = plat::TFontStyles{plat::fsUnderline, plat::fsBold};
         },
         2, N("CellProperties.FontStyle") + "\x0B" + N("fsBold") + N("fsUnderline") + std::string(1, '\0'), false},
        {"a properties record", 1, 1,
         [](TExtStringGrid& g, int c, int r) {
             TCellProperties* p = g.GetCellProperties(c, r);
             p->Alignment = plat::taCenter;
             p->Editor = edComboList;
             p->FontName = u"Arial";
         },
         2,
         propsPrefix + N("CellProperties.IsBaseCell") + "\x09" + N("CellProperties.CellSpanX") + "\x02\xFF" +
             N("CellProperties.CellSpanY") + "\x02\xFF" + N("CellProperties.Alignment") + "\x07" + N("taCenter"),
         false},
        {"editor, font name and the record's end", 1, 1,
         [](TExtStringGrid& g, int c, int r) {
             TCellProperties* p = g.GetCellProperties(c, r);
             p->Editor = edComboList;
             p->FontName = u"Arial";
             p->NodeLevel = 2;
         },
         2,
         N("CellProperties.NodeLevel") + "\x02\x02" + N("HasGraphic") + "\x08" + ends, false},
        {"a check-box graphic", 1, 1,
         [](TExtStringGrid& g, int c, int r) { g.AddCheckBox(c, r, plat::cbGrayed); }, 3,
         "TPF0" + N("TGridGraphicIO") + std::string(1, '\0') + N("CellGraphic.CellType") + "\x07" +
             N("ctTriStateCheckBox"),
         false},
        {"check-box state by name", 1, 1,
         [](TExtStringGrid& g, int c, int r) { g.AddCheckBox(c, r, plat::cbGrayed); }, 3,
         N("CellGraphic.CellCheckBoxState") + "\x07" + N("cbGrayed"), false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid* g = MakeGrid(k.col + 2, k.row + 2);
        k.setup(*g, k.col, k.row);
        const std::vector<std::string> recs = Records(Save(*g, k.col, k.row, k.col, k.row));
        ASSERT_GT(recs.size(), static_cast<std::size_t>(k.record));
        const std::string& rec = recs[k.record];
        if (k.whole)
            EXPECT_EQ(Hex(rec), Hex(k.expected));
        else
            EXPECT_NE(rec.find(k.expected), std::string::npos) << Hex(rec) << "\nlacks\n" << Hex(k.expected);
        delete g;
    }
}

// The header names the saved sizes and the writer; a value left out has no field at all.
TEST_F(GridBinStreamTest, HeaderRecord) {
    TExtStringGrid* g = MakeGrid(4, 3);
    g->SetColWidths(1, 70);
    g->SetColWidths(2, 300);
    g->SetRowHeights(1, 30);
    const std::string head = Records(Save(*g, 1, 1, 2, 2))[0];
    const std::string heights = "30," + U8(plat::IntToStr(g->RowHeights(2)));
    const std::string expected = "TPF0" + N("TGridPropIO") + std::string(1, '\0') + N("ColCount") + "\x02\x02" +
                                 N("RowCount") + "\x02\x02" + N("ColWidths") + "\x06\x06" "70,300" +
                                 N("RowHeights") + "\x06" + N(heights) + N("FullGrid") + "\x08" + N("ID");
    EXPECT_EQ(Hex(head.substr(0, expected.size())), Hex(expected));
    EXPECT_EQ(head.substr(head.size() - 2), std::string("\0\0", 2));
    TExtStringGrid* other = MakeGrid(4, 3);
    EXPECT_NE(g->GridStreamID(), other->GridStreamID());
    // The full grid with fixed cells saved.
    EXPECT_NE(Records(Save(*g, 0, 0, 3, 2))[0].find(N("FullGrid") + "\x09"), std::string::npos);
}

TEST(BinStreamCodec, ExtendedPrecision) {
    struct Case {
        double value;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {1.5, std::string(7, '\0') + "\xC0\xFF\x3F"},
        {-2.0, std::string(7, '\0') + std::string("\x80\x00\xC0", 3)},
        {1.0, std::string(7, '\0') + std::string("\x80\xFF\x3F", 3)},
        {std::numeric_limits<double>::infinity(), std::string(7, '\0') + "\x80\xFF\x7F"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.value);
        std::uint8_t x[10];
        grid::io::bin::DoubleToExtended(k.value, x);
        EXPECT_EQ(Hex(std::string(reinterpret_cast<char*>(x), 10)), Hex(k.bytes));
    }
    for (double v : {1.5, -0.1, 1e300, -1e-300, 4.9e-324, 2.2250738585072014e-308, 123456789.125,
                     std::numeric_limits<double>::max(), -std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(v);
        std::uint8_t x[10];
        grid::io::bin::DoubleToExtended(v, x);
        EXPECT_EQ(grid::io::bin::ExtendedToDouble(x), v);
    }
    std::uint8_t nan[10];
    grid::io::bin::DoubleToExtended(std::numeric_limits<double>::quiet_NaN(), nan);
    EXPECT_TRUE(std::isnan(grid::io::bin::ExtendedToDouble(nan)));
}

// A rectangle of columns 3..4, rows 5..6 with a merged pair, properties, a radio group, an
// image list, a bitmap and a cell beside a hidden column lands with its top-left at (1, 1).
TEST_F(GridBinStreamTest, RectangleToAnotherGrid) {
    TExtStringGrid* src = MakeGrid(7, 8);
    src->SetCells(3, 5, u"merged");
    src->MergeCells(3, 5, 2, 1);
    TCellProperties* p = src->GetCellProperties(3, 5);
    p->SetBrushColor(0x00123456);
    p->FontName = u"Courier";
    p->FontStyle = plat::TFontStyles{plat::fsItalic};
    plat::TStrings* radio = src->CreateRadio(3, 6, 0, 1);
    radio->Add(u"one");
    radio->Add(u"two");
    src->SetCells(3, 6, u"r");
    src->AddMultiImage(4, 6, 0, haLeft, vaTop);
    src->GetCellImages(4, 6)->Add(2);
    src->GetCellImages(4, 6)->Add(5);
    plat::TBitmap* bmp = src->CreateBitmap(2, 5, false, haLeft, vaTop);
    bmp->SetSize(5, 3);
    bmp->Canvas()->SetPixels(1, 2, 0x0000FF);
    src->SetCells(2, 6, u"hidden");
    src->HideColumn(2);  // real columns 3 and 4 keep their indexes
    const std::string bytes = Save(*src, 2, 5, 4, 6);

    TExtStringGrid* dst = MakeGrid(6, 6);
    dst->SetCells(3, 2, u"kept");
    Load(*dst, 1, 1, bytes);
    EXPECT_EQ(dst->Cells(1, 2), u"hidden");
    EXPECT_EQ(dst->AllCells(2, 1), u"merged");
    EXPECT_EQ(dst->AllCells(2, 2), u"r");
    EXPECT_EQ(dst->AllCells(3, 2), u"");  // an empty cell of the rectangle overwrites
    EXPECT_TRUE(dst->Map().IsBaseCell(2, 1));
    EXPECT_EQ(dst->Map().CellSpan(2, 1).X, 1);
    EXPECT_EQ(dst->Map().BaseCell(3, 1).X, 2);
    TCellProperties* q = dst->GetCellProperties(2, 1);
    EXPECT_EQ(q->BrushColor(), 0x00123456);
    EXPECT_EQ(q->FontName, u"Courier");
    EXPECT_TRUE(q->FontStyle.Contains(plat::fsItalic));
    EXPECT_FALSE(q->FontStyle.Contains(plat::fsBold));
    TCellGraphic* rg = dst->GetCellGraphic(2, 2);
    ASSERT_TRUE(rg);
    EXPECT_EQ(rg->CellType, ctRadio);
    EXPECT_EQ(rg->CellIndex, 1);
    auto* items = dynamic_cast<plat::TStrings*>(rg->CellBitmap);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Strings(1), u"two");
    TIntList* images = dst->GetCellImages(3, 2);
    ASSERT_TRUE(images);
    EXPECT_EQ(images->StrValue(), u"2,5");
    TCellGraphic* bg = dst->GetCellGraphic(1, 1);
    ASSERT_TRUE(bg);
    ASSERT_EQ(bg->CellType, ctBitmap);
    auto* b = dynamic_cast<plat::TBitmap*>(bg->CellBitmap);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Width(), 5);
    EXPECT_EQ(b->Height(), 3);
    EXPECT_EQ(b->Canvas()->Pixels(1, 2) & 0xFFFFFF, 0x0000FF);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0) & 0xFFFFFF, 0xFFFFFF);
    Check(*dst);
    // A radio group without items, loaded over one with items, has none.
    src->UnHideColumnsAll();
    src->CreateRadio(0, 0, 0, 0);
    Load(*dst, 2, 2, Save(*src, 0, 0, 0, 0));
    auto* none = dynamic_cast<plat::TStrings*>(dst->GetCellGraphic(2, 2)->CellBitmap);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Count(), 0);
}

// A rectangle through a merged area carries half of it: the half lands as plain cells, and an
// area of the target that the pasted cells cut through is split too.
TEST_F(GridBinStreamTest, HalfOfAMergedAreaIsSplit) {
    TExtStringGrid* src = MakeGrid(4, 4);
    src->MergeCells(0, 0, 2, 2);
    TExtStringGrid* dst = MakeGrid(5, 5);
    dst->MergeCells(2, 2, 2, 2);
    Load(*dst, 3, 2, Save(*src, 0, 0, 0, 1));
    for (int c = 2; c <= 4; ++c)
        for (int r = 2; r <= 3; ++r) {
            SCOPED_TRACE(c * 10 + r);
            EXPECT_FALSE(dst->Map().IsMergedCell(c, r));
        }
    Check(*dst);
    // A whole area stays merged.
    Load(*dst, 0, 0, Save(*src, 0, 0, 1, 1));
    EXPECT_EQ(dst->Map().CellSpan(0, 0).X, 1);
    EXPECT_EQ(dst->Map().BaseCell(1, 1).X, 0);
    Check(*dst);
}

// A field left out is empty in the writer's cell, whatever the target cell held.
TEST_F(GridBinStreamTest, OmittedTextsDoNotKeepTheTargetsValues) {
    TExtStringGrid* src = MakeGrid(2, 2);
    src->GetCellProperties(0, 0)->FontName.clear();
    src->CreateCellGraphic(0, 0)->CellType = ctComment;
    TExtStringGrid* dst = MakeGrid(2, 2);
    dst->SetCells(0, 0, u"old");
    dst->GetCellProperties(0, 0)->FontName = u"Arial";
    dst->CreateCellGraphic(0, 0)->CellText = u"old comment";
    Load(*dst, 0, 0, Save(*src, 0, 0, 0, 0));
    EXPECT_EQ(dst->Cells(0, 0), u"");
    EXPECT_EQ(dst->GetCellProperties(0, 0)->FontName, u"");
    EXPECT_EQ(dst->GetCellGraphic(0, 0)->CellText, u"");
    EXPECT_EQ(dst->GetCellGraphic(0, 0)->CellType, ctComment);
}

// The whole grid: sizes, widths and heights are reset; cells keep their indexes. Saved
// without fixed cells, the last row and column fall outside the sized grid and are dropped.
TEST_F(GridBinStreamTest, FullGridStreams) {
    TExtStringGrid* src = MakeGrid(4, 5);
    src->SetColWidths(3, 111);
    src->SetRowHeights(4, 44);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 5; ++r) src->SetCells(c, r, plat::IntToStr(c * 10 + r));
    src->AddCheckBox(2, 3, true, false);
    plat::TMemoryStream m;
    src->SaveToBinStream(m);
    TExtStringGrid* dst = MakeGrid(2, 2);
    dst->SetCells(1, 1, u"gone");
    m.SetPosition(0);
    dst->LoadFromBinStream(m);
    EXPECT_EQ(dst->ColCount(), 4);
    EXPECT_EQ(dst->RowCount(), 5);
    EXPECT_EQ(dst->ColWidths(3), 111);
    EXPECT_EQ(dst->RowHeights(4), 44);
    EXPECT_EQ(dst->Cells(1, 1), u"11");
    EXPECT_EQ(dst->Cells(3, 4), u"34");
    EXPECT_TRUE(dst->HasCheckBox(2, 3));
    Check(*dst);

    src->SaveFixedCells = false;
    plat::TMemoryStream m2;
    src->SaveToBinStream(m2);
    m2.SetPosition(0);
    TExtStringGrid* dst2 = MakeGrid(9, 9);
    dst2->LoadFromBinStream(m2);
    EXPECT_EQ(dst2->ColCount(), 3);
    EXPECT_EQ(dst2->RowCount(), 4);
    EXPECT_EQ(dst2->Cells(1, 1), u"11");
    EXPECT_EQ(dst2->Cells(2, 3), u"23");
    EXPECT_EQ(m2.Position(), m2.Size());
    Check(*dst2);
}

// One trailing byte ends the reading; the stream is left behind the last record.
TEST_F(GridBinStreamTest, TrailingByte) {
    TExtStringGrid* src = MakeGrid(3, 3);
    src->SetCells(2, 2, u"x");
    const std::string bytes = Save(*src, 1, 1, 2, 2) + "Z";
    TExtStringGrid* dst = MakeGrid(3, 3);
    plat::TMemoryStream m;
    m.LoadFromBytes(bytes);
    dst->LoadAtPointFromBinStream(plat::TPoint{0, 0}, m);
    EXPECT_EQ(dst->Cells(1, 1), u"x");
    EXPECT_EQ(m.Position(), m.Size() - 1);
}

TEST_F(GridBinStreamTest, DamagedAndHostileStreams) {
    TExtStringGrid* src = MakeGrid(3, 3);
    src->SetCells(0, 0, u"a");
    src->SetCells(1, 0, u"b");
    const std::string valid = Save(*src, 0, 0, 2, 2);
    const std::vector<std::string> recs = Records(valid);
    // The header of a single cell, so that the records after it need not fill a rectangle.
    const std::string one = Save(*src, 0, 0, 0, 0);
    const std::string head = Records(one)[0];
    const std::string pad(kPad, '\0');
    const std::string full = "TPF0" + N("TGridPropIO") + std::string(1, '\0');
    struct Case {
        const char* name;
        std::string bytes;
        const char16_t* message;
        bool readError;  // else a conversion error
    };
    const std::vector<Case> cases = {
        {"bad signature", "TPF1" + valid.substr(4), u"Invalid stream format", true},
        {"truncated record", one.substr(0, one.size() - 3), u"Stream read error", true},
        {"unknown field",
         head + "TPF0" + N("TGridCellIO") + std::string(1, '\0') + N("Colour") + "\x02\x01" + std::string(2, '\0') + pad,
         u"Property Colour does not exist", true},
        {"wrong record class", head + "TPF0" + N("TGridBMPIO") + pad, u"Invalid stream format",
         true},
        {"header counts beyond the bytes left",
         full + N("ColCount") + "\x04" + U32(60000) + N("RowCount") + "\x04" + U32(60000) + N("FullGrid") + "\x09" +
             std::string(2, '\0') + valid.substr(head.size()),
         u"Invalid stream format", true},
        {"negative count", full + N("ColCount") + "\x02\xFF" + N("RowCount") + "\x02\x01" + std::string(2, '\0'),
         u"Invalid stream format", true},
        {"too few widths",
         full + N("ColCount") + "\x02\x02" + N("RowCount") + "\x02\x01" + N("ColWidths") + "\x06\x02" "64" +
             N("RowHeights") + "\x06\x02" "20" + N("FullGrid") + "\x09" + std::string(2, '\0') +
             recs[1] + recs[2],
         u"Invalid stream format", true},
        {"width that is no number",
         full + N("ColCount") + "\x02\x01" + N("RowCount") + "\x02\x01" + N("ColWidths") + "\x06\x02" "6x" +
             N("RowHeights") + "\x06\x02" "20" + N("FullGrid") + "\x09" + std::string(2, '\0') + recs[1],
         u"'6x' is not a valid integer value", false},
        {"text count beyond the bytes",
         head + "TPF0" + N("TGridCellIO") + std::string(1, '\0') + N("Cell") + "\x14" + U32(0x7FFFFFFF) + pad,
         u"Stream read error", true},
        {"UTF-16 count beyond the bytes",
         head + "TPF0" + N("TGridCellIO") + std::string(1, '\0') + N("Cell") + "\x12" + U32(0x80000000) + pad,
         u"Stream read error", true},
        {"unknown identifier",
         head + recs[1].substr(0, recs[1].size() - 3) + "\x09" + std::string(2, '\0') + "TPF0" +
             N("TGridCellPropIO") + std::string(1, '\0') + N("CellProperties.Alignment") + "\x07" + N("taNowhere") +
             std::string(2, '\0'),
         u"Invalid property value", true},
        {"Boolean as an integer",
         head + "TPF0" + N("TGridCellIO") + std::string(1, '\0') + N("HasProp") + "\x02\x01" + std::string(2, '\0') + pad,
         u"Invalid property value", true},
        {"unknown value tag",
         head + "TPF0" + N("TGridCellIO") + std::string(1, '\0') + N("Col") + "\x13" + pad,
         u"Invalid stream format", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid* g = MakeGrid(4, 4);
        g->SetCells(3, 3, u"untouched");
        g->SetColWidths(0, 50);
        if (k.readError)
            EXPECT_TRUE(ThrowsWith<plat::EReadError>([&] { Load(*g, 0, 0, k.bytes); }, k.message));
        else
            EXPECT_TRUE(ThrowsWith<plat::EConvertError>([&] { Load(*g, 0, 0, k.bytes); }, k.message));
        // Header faults are found before the full-grid load clears and resizes.
        EXPECT_EQ(g->Cells(3, 3), u"untouched");
        EXPECT_EQ(g->ColCount(), 4);
        EXPECT_EQ(g->ColWidths(0), 50);
        Check(*g);
        delete g;
    }
}

// Progress counts from the first saved row; the hooks see start, each row and the end.
TEST_F(GridBinStreamTest, ProgressAndNotifications) {
    auto* g = new TNotifyGrid(form.get());
    g->SetParent(form.get());
    g->SetColCount(2);
    g->SetRowCount(10);
    std::vector<int> saved;
    g->OnFileProgress = [&](plat::TObject*, short p) { saved.push_back(p); };
    plat::TMemoryStream m;
    g->SaveRectToBinStream(plat::TRect{0, 6, 1, 8}, m);
    EXPECT_EQ(saved, (std::vector<int>{0, 50, 100}));
    const std::vector<std::pair<int, int>> log = {
        {esExportStart, 6}, {esExportNextRow, 6}, {esExportNextRow, 7}, {esExportNextRow, 8}, {esExportDone, -1}};
    EXPECT_EQ(g->log, log);
    saved.clear();
    g->SaveRectToBinStream(plat::TRect{0, 3, 1, 3}, m);  // one row divides by 1
    EXPECT_EQ(saved, (std::vector<int>{0}));

    TExtStringGrid* dst = MakeGrid(2, 4);
    std::vector<int> loaded;
    dst->OnFileProgress = [&](plat::TObject*, short p) { loaded.push_back(p); };
    Load(*dst, 0, 1, Save(*g, 0, 6, 1, 8));
    EXPECT_EQ(loaded, (std::vector<int>{25, 50, 75}));
}

TEST_F(GridBinStreamTest, Files) {
    TExtStringGrid* src = MakeGrid(3, 3);
    src->SetCells(2, 1, u"\u00e9t\u00e9");
    const String f = File("cells.bin");
    src->SaveToBinFile(f);
    TExtStringGrid* dst = MakeGrid(5, 5);
    dst->LoadFromBinFile(f);
    EXPECT_EQ(dst->ColCount(), 3);
    EXPECT_EQ(dst->Cells(2, 1), u"\u00e9t\u00e9");
    EXPECT_EQ(Read(f).substr(0, 4), "TPF0");
    dst->SetCells(0, 0, u"stays");
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { dst->LoadFromBinFile(File("missing.bin")); },
                                             u"Cannot open file \"" + File("missing.bin") + u"\"."));
    EXPECT_EQ(dst->Cells(0, 0), u"stays");
}

// Random damage to a valid stream of every record kind: each load ends with an error or a
// grid that keeps its invariants, never a crash or a runaway allocation.
TEST_F(GridBinStreamTest, MutatedStreams) {
    TExtStringGrid* src = MakeGrid(5, 4);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) src->SetCells(c, r, plat::IntToStr(c * 10 + r));
    src->MergeCells(1, 1, 2, 2);
    src->CreateRadio(3, 1, 0, 0)->Add(u"x");
    src->AddMultiImage(4, 1, 0, haLeft, vaTop);
    src->GetCellImages(4, 1)->Add(3);
    src->CreateBitmap(3, 2, false, haLeft, vaTop)->SetSize(3, 2);
    src->CreateIcon(4, 2, haLeft, vaTop)->SetSize(2, 2);
    src->CreatePicture(0, 3, false, noStretch, 0, haLeft, vaTop)->Bitmap()->SetSize(2, 2);
    src->AddCheckBox(1, 3, plat::cbChecked);
    src->CreateCellGraphic(2, 3)->CellValue = 2.5;
    src->GetCellProperties(3, 3)->FontStyle = plat::TFontStyles{plat::fsBold};
    plat::TMemoryStream m;
    src->SaveToBinStream(m);
    const std::string valid = m.Bytes();

    std::mt19937 rng(20261211);
    auto mutate = [&](std::string b) {
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 5) {
            case 0: b[at] = static_cast<char>(rng()); break;
            case 1: b.erase(at, 1 + rng() % 8); break;
            case 2: b.insert(at, std::string(1 + rng() % 4, "\x02\x04\x09\xFF\x00TPF0"[rng() % 9])); break;
            case 3: b[at] = static_cast<char>(b[at] + 1); break;
            default: b.resize(at); break;
            }
        }
        return b;
    };
    for (int i = 0; i < 600; ++i) {
        SCOPED_TRACE(i);
        TExtStringGrid* g = MakeGrid(4, 4);
        plat::TMemoryStream s;
        s.LoadFromBytes(mutate(valid));
        try {
            g->LoadFromBinStream(s);
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(static_cast<long long>(g->ColCount()) * g->RowCount(), 1'000'000);
        EXPECT_LE(s.Position(), s.Size());
        for (int c = 0; c < g->AllColCount(); ++c)
            for (int r = 0; r < g->RowCount(); ++r) (void)g->Cells(c, r);
        Check(*g);
        delete g;
    }
}

} // namespace
