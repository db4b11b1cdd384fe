// The string grid's drag and drop through the in-process drag session: drags of cells and
// columns between two grids, text, cell, column and file drops, the drop arrows, and
// scrolling while a control drag is near the grid's edges. Every event test runs once with
// real column 1 hidden, so that shown and real column indexes differ.
#include <gtest/gtest.h>

#include <string>

#include <fstream>
#include <map>
#include <random>

#include "../GridFixture.h"
#include "esgdd.h"
#include "plat/DragDrop.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "TestSupport.h"

using namespace grid;
namespace pt = plat::testing;
using plat::TDropEffect;
using plat::TFormatEtc;
using plat::TStgMedium;
using plat::UINT;

namespace {

TFormatEtc Fmt(UINT f) { return TFormatEtc{f, plat::DVASPECT_CONTENT, -1, plat::TYMED_HGLOBAL}; }

std::vector<std::uint8_t> Wide(const String& s) {
    std::vector<std::uint8_t> b;
    for (char16_t c : s) {
        b.push_back(static_cast<std::uint8_t>(c & 0xFF));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}

std::vector<std::uint8_t> U32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

// A foreign data object offering fixed bytes per format.
class TBytesObject : public plat::IDataObject {
public:
    std::map<UINT, std::vector<std::uint8_t>> data;
    plat::HRESULT GetData(const TFormatEtc& F, TStgMedium& M) override {
        const auto it = data.find(F.Format);
        if (it == data.end()) return plat::DV_E_FORMATETC;
        M.Tymed = plat::TYMED_HGLOBAL;
        M.Global = it->second;
        return plat::S_OK;
    }
    plat::HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return plat::DV_E_FORMATETC; }
    plat::HRESULT QueryGetData(const TFormatEtc& F) override {
        return data.count(F.Format) ? plat::S_OK : plat::DV_E_FORMATETC;
    }
    plat::HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return plat::E_NOTIMPL; }
    plat::HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return plat::DV_E_FORMATETC; }
    plat::HRESULT EnumFormatEtc(int, std::shared_ptr<plat::IEnumFormatEtc>& Out) override {
        class Enum : public plat::IEnumFormatEtc {
        public:
            std::vector<UINT> f;
            std::size_t i = 0;
            plat::HRESULT Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) override {
                std::uint32_t n = 0;
                while (n < Count && i < f.size()) Out[n++] = Fmt(f[i++]);
                if (Fetched) *Fetched = n;
                return n == Count ? plat::S_OK : plat::S_FALSE;
            }
            plat::HRESULT Skip(std::uint32_t) override { return plat::S_FALSE; }
            plat::HRESULT Reset() override {
                i = 0;
                return plat::S_OK;
            }
            plat::HRESULT Clone(std::shared_ptr<plat::IEnumFormatEtc>&) override { return plat::E_NOTIMPL; }
        };
        auto e = std::make_shared<Enum>();
        for (const auto& [f, b] : data) e->f.push_back(f);
        Out = e;
        return plat::S_OK;
    }
};

// Records the formats a drag has data for, and its column, when it enters.
class TRecordingTarget : public plat::IDropTarget {
public:
    std::vector<UINT> formats;
    int column = -2;
    plat::HRESULT DragEnter(const std::shared_ptr<plat::IDataObject>& D, std::uint32_t, plat::TPoint,
                            TDropEffect& E) override {
        TEnumFormats en(D);
        en.Reset();
        std::shared_ptr<plat::IEnumFormatEtc> e;
        D->EnumFormatEtc(plat::DATADIR_GET, e);
        TFormatEtc f;
        std::uint32_t n = 0;
        while (e && e->Next(1, &f, &n) == plat::S_OK)
            if (D->QueryGetData(f) == plat::S_OK) formats.push_back(f.Format);
        column = en.Col();
        E = plat::DROPEFFECT_NONE;
        return plat::S_OK;
    }
    plat::HRESULT DragOver(std::uint32_t, plat::TPoint, TDropEffect& E) override {
        E = plat::DROPEFFECT_NONE;
        return plat::S_OK;
    }
    plat::HRESULT DragLeave() override { return plat::S_OK; }
    plat::HRESULT Drop(const std::shared_ptr<plat::IDataObject>&, std::uint32_t, plat::TPoint, TDropEffect& E) override {
        E = plat::DROPEFFECT_NONE;
        return plat::S_OK;
    }
};

class TPlainSource : public TESGDropSource {
public:
    int ended = 0;
    void DragEnded() override { ++ended; }
};

class GridDragDropTest : public grid::testing::GridFixture<TExtStringGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 280, 200);
        Fill(5, 6);
        other = new TExtStringGrid(form.get());
        other->SetParent(form.get());
        other->SetBounds(300, 4, 280, 200);
        other->SetColCount(5);
        other->SetRowCount(6);
        for (TExtStringGrid* g : {grid, other}) {
            for (int r = 0; r < 6; ++r) g->SetRowHeights(r, 20);
            g->SetDefaultColWidth(50);
            plat::TGridOptions o = g->Options();
            o.Include(plat::goEditing);
            g->SetOptions(o);
            if (GetParam()) g->HideColumn(1);
        }
        other->DragDropSettings()->SetOleDropTarget(true);
        grid->DragDropSettings()->SetOleDropTarget(true);
        grid->DragDropSettings()->OleDropSource = true;
        form->Show();
        pt::ProcessEvents();
    }
    int D(TExtStringGrid* g, int real) { return g->DisplColIndex(real); }
    // Client point in the middle of the shown cell of a real column.
    plat::TPoint Mid(TExtStringGrid* g, int real, int row) {
        const plat::TRect r = g->CellRect(D(g, real), row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void DropAt(TExtStringGrid* g, plat::TPoint p, plat::TShiftState shift = 0) {
        pt::ScriptDrag([=] {
            pt::Move(g, p.X, p.Y, plat::ssLeft | shift);
            pt::Move(g, p.X + 1, p.Y, plat::ssLeft | shift);
            pt::Release(g, p.X + 1, p.Y, plat::mbLeft, shift);
        });
    }
    plat::HRESULT DragObject(std::shared_ptr<plat::IDataObject> data, TDropEffect& effect,
                             TDropEffect ok = plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE) {
        HoldButton();
        return plat::DoDragDrop(std::move(data), std::make_shared<TPlainSource>(), ok, effect);
    }
    // The left button held down where no grid takes the press, as when a drag starts.
    void HoldButton() { pt::Press(form.get(), 500, 400); }
    TExtStringGrid* other = nullptr;
};

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridDragDropTest, ::testing::Values(false, true));

TEST_P(GridDragDropTest, CellsDraggedToAnotherGridMoveOrWithCtrlCopy) {
    struct Case {
        const char* name;
        plat::TShiftState shift;
        bool copyAlways;
        int effect;
        bool sourceCleared;
    };
    const Case cases[] = {
        {"move", 0, false, plat::DROPEFFECT_MOVE, true},
        {"ctrl copies", plat::ssCtrl, false, plat::DROPEFFECT_COPY, false},
        {"copy always keeps the source", 0, true, plat::DROPEFFECT_MOVE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(5, 6);
        for (int r = 1; r < 6; ++r)
            for (int col = 0; col < 5; ++col) other->SetCells(col, r, String());
        grid->DragDropSettings()->OleCopyAlways = c.copyAlways;
        grid->SetSelection({D(grid, 2), 1, D(grid, 3), 2});
        std::vector<int> stops;
        grid->OnOleDragStop = [&](plat::TObject*, int e) { stops.push_back(e); };
        int blocked = 0, brackets = 0;
        grid->OnStartBlockFocus = [&](plat::TObject*) { ++blocked, ++brackets; };
        grid->OnEndBlockFocus = [&](plat::TObject*) { --blocked; };
        DropAt(other, Mid(other, 2, 3), c.shift);
        HoldButton();
        EXPECT_TRUE(grid->OleDragFromCell(D(grid, 2), 1));
        EXPECT_EQ(blocked, 0);
        EXPECT_EQ(brackets, 1);
        EXPECT_EQ(stops, std::vector<int>{c.effect});
        EXPECT_EQ(other->Cells(2, 3), u"2:1");
        EXPECT_EQ(other->Cells(3, 4), u"3:2");
        EXPECT_EQ(grid->Cells(2, 1), c.sourceCleared ? u"" : u"2:1");
        const plat::TGridRect sel = other->Selection();
        EXPECT_EQ(sel.Left, D(other, 2));
        EXPECT_EQ(sel.Top, 3);
        EXPECT_EQ(sel.Bottom, 4);
    }
}

// A grid that cannot be edited stores nothing of a text drop; the moving source then keeps its
// cells instead of losing them.
TEST_P(GridDragDropTest, AMoveOntoAGridThatStoresNothingKeepsTheSourceCells) {
    struct Case {
        const char* name;
        bool editable, refuse;
        bool stored;
    };
    const Case cases[] = {
        {"target without editing", false, false, false},
        {"OnOleDrop refusing", true, true, false},
        {"editable target", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(5, 6);
        for (int r = 1; r < 6; ++r)
            for (int col = 0; col < 5; ++col) other->SetCells(col, r, String());
        plat::TGridOptions o = other->Options();
        if (c.editable) o.Include(plat::goEditing);
        else o.Exclude(plat::goEditing);
        other->SetOptions(o);
        other->OnOleDrop = [&](plat::TObject*, int, int, const String&, bool& allow) { allow = !c.refuse; };
        grid->SetSelection({D(grid, 2), 1, D(grid, 2), 1});
        std::vector<int> stops;
        grid->OnOleDragStop = [&](plat::TObject*, int e) { stops.push_back(e); };
        DropAt(other, Mid(other, 2, 3));
        HoldButton();
        EXPECT_TRUE(grid->OleDragFromCell(D(grid, 2), 1));
        EXPECT_EQ(other->Cells(2, 3), c.stored ? u"2:1" : u"");
        EXPECT_EQ(grid->Cells(2, 1), c.stored ? u"" : u"2:1");
        if (c.stored) EXPECT_EQ(stops, std::vector<int>{plat::DROPEFFECT_MOVE});
        else EXPECT_TRUE(stops.empty() || stops == std::vector<int>{plat::DROPEFFECT_NONE});
        other->OnOleDrop = nullptr;
    }
}

TEST_P(GridDragDropTest, MoveWithRemoveRowsRemovesTheDraggedRowsUnlessCopyAlways) {
    for (bool copyAlways : {false, true}) {
        SCOPED_TRACE(copyAlways ? "copy always" : "remove rows");
        Fill(5, 6);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goRowSelect);
        grid->SetOptions(o);
        grid->DragDropSettings()->OleRemoveRows = true;
        grid->DragDropSettings()->OleCopyAlways = copyAlways;
        grid->SetSelection({1, 2, 4, 3});
        DropAt(other, Mid(other, 0, 1));
        HoldButton();
        EXPECT_TRUE(grid->OleDragFromCell(1, 2));
        EXPECT_EQ(grid->RowCount(), copyAlways ? 6 : 4);
        EXPECT_EQ(grid->Cells(0, 2), copyAlways ? u"0:2" : u"0:4");
    }
}

TEST_P(GridDragDropTest, ColumnDragOffersOnlyTheRealColumnAndEscapeCancels) {
    auto* panel = new plat::TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(4, 300, 100, 100);
    auto rec = std::make_shared<TRecordingTarget>();
    ASSERT_EQ(plat::RegisterDragDrop(panel->Handle(), rec), plat::S_OK);
    grid->DragDropSettings()->OleColumnDragDrop = true;
    int stops = 0;
    grid->OnOleDragStop = [&](plat::TObject*, int) { ++stops; };
    // The drag is bracketed by one block-focus start and one end, also when cancelled.
    std::vector<std::string> log;
    grid->OnStartBlockFocus = [&](plat::TObject*) { log.push_back("start"); };
    grid->OnEndBlockFocus = [&](plat::TObject*) { log.push_back("end"); };
    pt::ScriptDrag([&] {
        log.push_back("drag");
        pt::Move(panel, 10, 10, plat::ssLeft);
        pt::Key(plat::VK_ESCAPE);
    });
    HoldButton();
    EXPECT_TRUE(grid->OleDragFromCell(D(grid, 3), 0));
    EXPECT_EQ(rec->formats, std::vector<UINT>{CF_GRIDCOLUMN()});
    EXPECT_EQ(rec->column, 3);
    EXPECT_EQ(stops, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"start", "drag", "end"}));
}

TEST_P(GridDragDropTest, EscapeEndsTheDragOncePerQuery) {
    auto source = std::make_shared<TPlainSource>();
    pt::ScriptDrag([&] {
        pt::Move(other, 20, 30, plat::ssLeft);
        pt::Key(plat::VK_ESCAPE);
    });
    HoldButton();
    TDropEffect effect = 99;
    EXPECT_EQ(BeginTextDragDrop(source, u"x", u"", effect, plat::DROPEFFECT_COPY, nullptr), plat::DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, plat::DROPEFFECT_NONE);
    EXPECT_EQ(source->ended, 1);
    EXPECT_EQ(other->Cells(0, 1), u"");
}

TEST_P(GridDragDropTest, ColumnAndTextTogetherOnlyMoveTheColumn) {
    auto data = std::make_shared<TBytesObject>();
    data->data[CF_GRIDCOLUMN()] = U32(3);
    data->data[plat::CF_UNICODETEXT] = Wide(u"text");
    other->DragDropSettings()->OleColumnReorder = true;
    other->SetCells(3, 0, u"H3");
    std::vector<int> cols;
    int textDrops = 0;
    other->OnOleDropCol = [&](plat::TObject*, int, int c, int dc) { cols = {c, dc}; };
    other->OnOleDrop = [&](plat::TObject*, int, int, const String&, bool&) { ++textDrops; };
    const int target = D(other, 2);
    DropAt(other, Mid(other, 2, 0));
    TDropEffect effect = 0;
    EXPECT_EQ(DragObject(data, effect), plat::DRAGDROP_S_DROP);
    EXPECT_EQ(textDrops, 0);
    EXPECT_EQ(cols, (std::vector<int>{target, 3}));
    EXPECT_EQ(other->Cells(other->RealColIndex(target), 0), u"H3");
}

TEST_P(GridDragDropTest, TextDropsInsertOrAppendRowsAndSelectTheBlock) {
    struct Case {
        const char* name;
        bool append;
        int targetRow;    // the row under the pointer (-1: below the last row)
        int firstRow;     // where the text lands
    };
    const Case cases[] = {{"insert at the target row", false, 2, 2}, {"append below the last row", true, -1, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        other->SetRowCount(6);
        for (int r = 1; r < 6; ++r)
            for (int col = 0; col < 5; ++col) other->SetCells(col, r, grid::testing::Tag(col, r));
        TDragDropSettings* s = other->DragDropSettings();
        s->OleInsertRows = true;
        s->OleEntireRows = c.append;
        s->OleAppendRows = c.append;
        auto data = std::make_shared<TBytesObject>();
        data->data[plat::CF_UNICODETEXT] = Wide(u"a\tb\r\nc\td");
        plat::TRect dropped{};
        other->OnOleDropped = [&](plat::TObject*, const plat::TRect& r) { dropped = r; };
        const plat::TRect last = other->CellRect(2, 5);
        DropAt(other, c.targetRow < 0 ? plat::TPoint{last.Left + 5, last.Bottom + 5} : Mid(other, 2, c.targetRow));
        TDropEffect effect = 0;
        EXPECT_EQ(DragObject(data, effect, plat::DROPEFFECT_COPY), plat::DRAGDROP_S_DROP);
        EXPECT_EQ(other->RowCount(), 8);
        const int col = c.append ? other->FixedCols() : D(other, 2);
        EXPECT_EQ(other->Cells(other->RealColIndex(col), c.firstRow), u"a");
        EXPECT_EQ(other->Cells(other->RealColIndex(col + 1), c.firstRow), u"b");
        EXPECT_EQ(other->Cells(other->RealColIndex(col), c.firstRow + 1), u"c");
        if (!c.append) EXPECT_EQ(other->Cells(0, 4), u"0:2");  // the old row moved down two
        const plat::TGridRect sel = other->Selection();
        EXPECT_EQ(sel.Left, col);
        EXPECT_EQ(sel.Right, col + 1);
        EXPECT_EQ(sel.Top, c.firstRow);
        EXPECT_EQ(sel.Bottom, c.firstRow + 1);
        EXPECT_EQ(dropped.Top, c.firstRow);
    }
}

TEST_P(GridDragDropTest, RefusingDragOverShowsNoArrowAndDropsNothing) {
    auto data = std::make_shared<TBytesObject>();
    data->data[plat::CF_UNICODETEXT] = Wide(u"zz");
    int asked = 0;
    other->OnOleDragOver = [&](plat::TObject*, int r, int c, bool& allow) {
        ++asked;
        EXPECT_EQ(r, 2);
        EXPECT_EQ(c, D(other, 3));
        allow = false;
    };
    bool arrowShown = true;
    const plat::TPoint p = Mid(other, 3, 2);
    pt::ScriptDrag([&] {
        pt::Move(other, p.X, p.Y, plat::ssLeft);
        pt::Move(other, p.X + 1, p.Y, plat::ssLeft);
        arrowShown = other->ArwL && other->ArwL->Visible();
        pt::Release(other, p.X + 1, p.Y);
    });
    TDropEffect effect = 0;
    EXPECT_EQ(DragObject(data, effect), plat::DRAGDROP_S_CANCEL);
    EXPECT_GT(asked, 0);
    EXPECT_FALSE(arrowShown);
    EXPECT_EQ(other->Cells(3, 2), u"");

    other->OnOleDragOver = nullptr;
    pt::ScriptDrag([&] {
        pt::Move(other, p.X, p.Y, plat::ssLeft);
        pt::Move(other, p.X + 1, p.Y, plat::ssLeft);
        arrowShown = other->ArwL && other->ArwL->Visible();
        pt::Release(other, p.X + 1, p.Y);
    });
    EXPECT_EQ(DragObject(data, effect), plat::DRAGDROP_S_DROP);
    EXPECT_TRUE(arrowShown);
    EXPECT_FALSE(other->ArwL->Visible());
    EXPECT_EQ(other->Cells(3, 2), u"zz");
}

TEST_P(GridDragDropTest, OneCsvFileLoadsTwoFilesLoadNothing) {
    testsupport::TempDir tmp;
    const String csv = tmp / plat::StringView(u"cells.csv");
    {
        std::ofstream f(tmp / std::string("cells.csv"), std::ios::binary);
        f << "x,y\r\nz,w\r\n";
    }
    std::vector<String> seen;
    other->OnOleDropFile = [&](plat::TObject*, int, int, const String& name, bool&) { seen.push_back(name); };
    for (const std::vector<String>& files : {std::vector<String>{csv, csv}, std::vector<String>{csv}}) {
        SCOPED_TRACE(files.size());
        auto data = std::make_shared<TBytesObject>();
        data->data[plat::CF_HDROP] = MakeFileDropList(files, true);
        DropAt(other, Mid(other, 2, 2));
        TDropEffect effect = 0;
        EXPECT_EQ(DragObject(data, effect, plat::DROPEFFECT_COPY), plat::DRAGDROP_S_DROP);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(other->Cells(0, 0), u"x");
    EXPECT_EQ(other->Cells(other->RealColIndex(1), 1), u"w");
}

TEST_P(GridDragDropTest, ForeignCellsAreLoadedWhenWholeAndRefusedWhenTheCountExceedsTheBytes) {
    plat::TMemoryStream cells;
    grid->SaveRectToBinStream({2, 1, 3, 1}, cells);
    std::string bytes(static_cast<std::size_t>(cells.Size()), '\0');
    cells.SetPosition(0);
    cells.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    auto whole = std::make_shared<TBytesObject>();
    whole->data[CF_GRIDCELLS()] = MakeGridCellsBlock(bytes);
    DropAt(other, Mid(other, 0, 4));
    TDropEffect effect = 0;
    EXPECT_EQ(DragObject(whole, effect), plat::DRAGDROP_S_DROP);
    EXPECT_EQ(other->Cells(0, 4), u"2:1");

    auto lying = std::make_shared<TBytesObject>();
    std::vector<std::uint8_t> block = MakeGridCellsBlock(bytes);
    const std::vector<std::uint8_t> huge = U32(0x7FFFFFF0u);
    std::copy(huge.begin(), huge.end(), block.begin());
    lying->data[CF_GRIDCELLS()] = block;
    DropAt(other, Mid(other, 0, 1));
    EXPECT_EQ(DragObject(lying, effect), plat::DRAGDROP_S_DROP);
    EXPECT_EQ(other->Cells(0, 1), u"");
}

// Mutations of a valid cell block dropped on a grid: every drop ends without a fault and
// leaves a grid of the same shape.
TEST_P(GridDragDropTest, MutatedCellBlocksDropWithoutFault) {
    plat::TMemoryStream cells;
    grid->SaveRectToBinStream({0, 0, 4, 5}, cells);
    std::string bytes(static_cast<std::size_t>(cells.Size()), '\0');
    cells.SetPosition(0);
    cells.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    const std::vector<std::uint8_t> valid = MakeGridCellsBlock(bytes);
    // A block the loader refuses reports its error once (the loop's error box) and the
    // drag ends.
    int errors = 0;
    plat::Application->OnException = [&](plat::TObject*, const std::exception&) { ++errors; };
    std::mt19937 rng(GetParam() ? 7 : 11);
    for (int i = 0; i < 60; ++i) {
        std::vector<std::uint8_t> m = valid;
        switch (i % 3) {
        case 0:
            for (int k = 0; k < 4; ++k) m[rng() % m.size()] = static_cast<std::uint8_t>(rng());
            break;
        case 1: m.resize(rng() % m.size()); break;
        default: m.insert(m.begin() + static_cast<long>(rng() % m.size()), 8, static_cast<std::uint8_t>(rng()));
        }
        auto data = std::make_shared<TBytesObject>();
        data->data[CF_GRIDCELLS()] = m;
        DropAt(other, Mid(other, 0, 1));
        TDropEffect effect = 0;
        DragObject(data, effect);
        EXPECT_FALSE(plat::DragDropRunning());
        EXPECT_EQ(other->ColCount(), 5 - (GetParam() ? 1 : 0));
    }
    plat::Application->OnException = nullptr;
    EXPECT_GT(errors, 0);
}

// Scrolling while a control drag is near an edge: after the initial delay, then at the
// repeat delay, one row up until the first scrollable row; OnDragScroll may refuse.
TEST_P(GridDragDropTest, ControlDragNearTheTopScrollsUpAfterTheDelays) {
    other->SetRowCount(40);
    other->SetTopRow(5);
    TDragScrollOptions* o = other->DragScrollOptions();
    o->Active = true;
    o->Margins()->TopMargin = 10;
    other->OnDragOver = [](plat::TObject*, plat::TObject*, int, int, plat::TDragState, bool& accept) { accept = true; };
    bool refuse = false;
    other->OnDragScroll = [&](plat::TObject*, int, int, TDragScrollDirection& dir, bool& can) {
        EXPECT_EQ(dir, dsdUp);
        can = !refuse;
    };
    HoldButton();
    grid->BeginDrag(true);
    pt::Move(other, 100, 5, plat::ssLeft);
    pt::AdvanceClock(999);
    EXPECT_EQ(other->TopRow(), 5);
    pt::AdvanceClock(1);
    EXPECT_EQ(other->TopRow(), 4);
    pt::AdvanceClock(250);
    EXPECT_EQ(other->TopRow(), 3);
    refuse = true;
    pt::AdvanceClock(250);
    EXPECT_EQ(other->TopRow(), 3);
    refuse = false;
    pt::AdvanceClock(250 * 5);
    EXPECT_EQ(other->TopRow(), other->FixedRows());
    pt::Move(other, 100, 100, plat::ssLeft);  // away from the edges: no more scrolling
    other->SetTopRow(6);
    pt::AdvanceClock(2000);
    EXPECT_EQ(other->TopRow(), 6);
    pt::Release(other, 100, 100);
}

} // namespace
