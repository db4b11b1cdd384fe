// Drag-and-drop objects: what the data object offers, the format enumerator, the drop
// source's end and feedback rules, the drop target's format choice and effects, and the
// bounded reading of foreign cell blocks and file lists (with a mutation test).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "esgdd.h"
#include "plat/Controls.h"

using namespace grid;
using plat::String;
using plat::TFormatEtc;
using plat::TStgMedium;
using plat::UINT;

namespace {

TFormatEtc Fmt(UINT f) { return TFormatEtc{f, plat::DVASPECT_CONTENT, -1, plat::TYMED_HGLOBAL}; }

std::vector<UINT> Enumerate(plat::IDataObject& d) {
    std::shared_ptr<plat::IEnumFormatEtc> e;
    EXPECT_EQ(d.EnumFormatEtc(plat::DATADIR_GET, e), plat::S_OK);
    std::vector<UINT> out;
    TFormatEtc f;
    std::uint32_t n = 0;
    while (e->Next(1, &f, &n) == plat::S_OK) out.push_back(f.Format);
    return out;
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
    plat::HRESULT QueryGetData(const TFormatEtc& F) override { return data.count(F.Format) ? plat::S_OK : plat::DV_E_FORMATETC; }
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

// Records every hook of the target.
class RecordingTarget : public TESGDropTarget {
public:
    std::vector<std::string> log;
    bool refuseOver = false;
    std::string cells;
    std::vector<String> files;
    void DropText(plat::TPoint, const String& t) override { log.push_back("text " + plat::StringToUtf8(t)); }
    void DropStream(plat::TPoint, std::unique_ptr<plat::TMemoryStream> s) override {
        cells = s->Bytes();
        log.push_back("stream " + std::to_string(cells.size()));
    }
    void DropCol(plat::TPoint, int c) override { log.push_back("col " + std::to_string(c)); }
    void DropRTF(plat::TPoint, const String&) override { log.push_back("rtf"); }
    void DropFiles(plat::TPoint, const std::vector<String>& f) override {
        files = f;
        log.push_back("files " + std::to_string(f.size()));
    }
    void DropURL(plat::TPoint, const String& u) override { log.push_back("url " + plat::StringToUtf8(u)); }
    void DragMouseMove(plat::TPoint, bool& allow, TDropFormats) override {
        if (refuseOver) allow = false;
    }
};

TEST(SourceDataObject, AColumnDragOffersOnlyTheColumn) {
    TSourceDataObject d(u"", u"", 7, nullptr);
    EXPECT_EQ(d.QueryGetData(Fmt(CF_GRIDCOLUMN())), plat::S_OK);
    for (UINT f : {plat::CF_TEXT, plat::CF_UNICODETEXT, CF_RTF(), CF_GRIDCELLS()}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(d.QueryGetData(Fmt(f)), plat::DV_E_FORMATETC);
        TStgMedium m;
        m.Global = {1, 2};
        EXPECT_EQ(d.GetData(Fmt(f), m), plat::DV_E_FORMATETC);
        EXPECT_TRUE(m.Global.empty()) << "the medium is cleared";
    }
    TStgMedium m;
    ASSERT_EQ(d.GetData(Fmt(CF_GRIDCOLUMN()), m), plat::S_OK);
    EXPECT_EQ(m.Global, (std::vector<std::uint8_t>{7, 0, 0, 0}));
    EXPECT_EQ(Enumerate(d), (std::vector<UINT>{plat::CF_TEXT, plat::CF_UNICODETEXT, CF_RTF(), CF_GRIDCOLUMN()}));
    // Only content held in global memory.
    TFormatEtc other = Fmt(CF_GRIDCOLUMN());
    other.Aspect = 4;
    EXPECT_EQ(d.QueryGetData(other), plat::DV_E_FORMATETC);
    std::shared_ptr<plat::IEnumFormatEtc> e;
    EXPECT_EQ(d.EnumFormatEtc(plat::DATADIR_SET, e), plat::E_NOTIMPL);
    EXPECT_EQ(e, nullptr);
}

TEST(SourceDataObject, TextAndCellsInTheirBlocks) {
    plat::TMemoryStream empty;
    TSourceDataObject d(u"a\u00e9\u4e2d", u"{\\rtf1 x}", -1, &empty);
    TStgMedium m;
    ASSERT_EQ(d.GetData(Fmt(CF_GRIDCELLS()), m), plat::S_OK);
    EXPECT_EQ(m.Global, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0})) << "count 0, zero field, no bytes";
    ASSERT_EQ(d.GetData(Fmt(plat::CF_UNICODETEXT), m), plat::S_OK);
    EXPECT_EQ(m.Global, Wide(u"a\u00e9\u4e2d"));
    ASSERT_EQ(d.GetData(Fmt(plat::CF_TEXT), m), plat::S_OK);
    EXPECT_EQ(m.Global.back(), 0);
    // Rich text only with the switch on.
    EXPECT_EQ(d.QueryGetData(Fmt(CF_RTF())), plat::DV_E_FORMATETC);
    SetOleDropRTF(true);
    ASSERT_EQ(d.GetData(Fmt(CF_RTF()), m), plat::S_OK);
    SetOleDropRTF(false);
    EXPECT_EQ(std::string(m.Global.begin(), m.Global.end()), std::string("{\\rtf1 x}") + '\0');
    EXPECT_EQ(Enumerate(d), (std::vector<UINT>{plat::CF_TEXT, plat::CF_UNICODETEXT, CF_RTF(), CF_GRIDCELLS()}));
}

TEST(SourceEnumFormatEtc, NextSkipResetAndClone) {
    TSourceEnumFormatEtc e(true, true);
    TFormatEtc f[8];
    std::uint32_t n = 0;
    EXPECT_EQ(e.Next(2, f, &n), plat::S_OK);
    EXPECT_EQ(n, 2u);
    std::shared_ptr<plat::IEnumFormatEtc> c;
    ASSERT_EQ(e.Clone(c), plat::S_OK);
    EXPECT_EQ(e.Skip(2), plat::S_OK);
    EXPECT_EQ(e.Next(4, f, &n), plat::S_FALSE);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(f[0].Format, CF_GRIDCELLS());
    EXPECT_EQ(e.Skip(1), plat::S_FALSE);
    EXPECT_EQ(c->Next(8, f, nullptr), plat::S_FALSE);
    EXPECT_EQ(f[0].Format, CF_RTF()) << "the clone goes on from the same place";
    e.Reset();
    EXPECT_EQ(e.Next(5, f, &n), plat::S_OK);
    EXPECT_EQ(f[4].Index, -1);
}

TEST(DropSource, EscapeCancelsAReleasedButtonDropsEachEndingTheDragPerQuery) {
    struct Source : TESGDropSource {
        int ended = 0, queried = 0;
        std::vector<plat::TDropEffect> effects;
        void DragEnded() override { ++ended; }
        void QueryDrag() override { ++queried; }
        void CurrentEffect(plat::TDropEffect e) override { effects.push_back(e); }
    } s;
    EXPECT_EQ(s.QueryContinueDrag(false, plat::MK_LBUTTON), plat::S_OK);
    EXPECT_EQ(s.ended, 0);
    EXPECT_EQ(s.QueryContinueDrag(true, plat::MK_LBUTTON), plat::DRAGDROP_S_CANCEL);
    EXPECT_EQ(s.QueryContinueDrag(true, plat::MK_LBUTTON), plat::DRAGDROP_S_CANCEL);
    EXPECT_EQ(s.ended, 2);
    EXPECT_EQ(s.QueryContinueDrag(false, 0), plat::DRAGDROP_S_DROP);
    EXPECT_EQ(s.ended, 3);
    EXPECT_EQ(s.queried, 4);
    EXPECT_EQ(s.GiveFeedback(plat::DROPEFFECT_NONE), plat::DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s.NoAccept());
    s.GiveFeedback(plat::DROPEFFECT_COPY);
    EXPECT_FALSE(s.NoAccept());
    EXPECT_EQ(s.effects, (std::vector<plat::TDropEffect>{0, 1}));
}

struct DropCase {
    const char* name;
    std::map<UINT, std::vector<std::uint8_t>> data;
    std::uint32_t keys;
    plat::TDropEffect allowed;
    plat::TDropEffect effect;
    std::vector<std::string> log;
};

TEST(DropTarget, ChoosesOneFormatAndTheEffectByTheKeys) {
    const auto cells = MakeGridCellsBlock("abc");
    const auto files = MakeFileDropList({u"/tmp/a.csv", u"/tmp/b\u00e9.txt"}, true);
    const std::vector<DropCase> cases = {
        {"column and text", {{CF_GRIDCOLUMN(), {3, 0, 0, 0}}, {plat::CF_UNICODETEXT, Wide(u"x")}}, 0, 3, 2, {"col 3"}},
        {"cells before text", {{CF_GRIDCELLS(), cells}, {plat::CF_UNICODETEXT, Wide(u"x")}}, 0, 3, 2, {"stream 3"}},
        {"text", {{plat::CF_UNICODETEXT, Wide(u"x\ty")}}, 0, 3, 2, {"text x\ty"}},
        {"ctrl copies", {{plat::CF_UNICODETEXT, Wide(u"x")}}, plat::MK_CONTROL, 2, 1, {"text x"}},
        {"copy only", {{plat::CF_UNICODETEXT, Wide(u"x")}}, 0, 1, 1, {"text x"}},
        {"files", {{plat::CF_HDROP, files}}, 0, 3, 2, {"files 2"}},
        {"url with its text", {{CF_URL(), {}}, {plat::CF_UNICODETEXT, Wide(u"https://e.org")}}, 0, 3, 2,
         {"text https://e.org", "url https://e.org"}},
        {"nothing acceptable", {{plat::CF_TEXT, {'a', 0}}}, 0, 3, 0, {}},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto data = std::make_shared<TBytesObject>();
        data->data = c.data;
        RecordingTarget t;
        plat::TDropEffect e = c.allowed;
        t.DragEnter(data, c.keys, {}, e);
        EXPECT_EQ(e, c.effect);
        e = c.allowed;
        t.DragOver(c.keys, {}, e);
        EXPECT_EQ(e, c.effect);
        e = c.allowed;
        t.Drop(data, c.keys, {}, e);
        EXPECT_EQ(e, c.effect);
        EXPECT_EQ(t.log, c.log);
    }
}

TEST(DropTarget, FormatsAndRefusals) {
    auto data = std::make_shared<TBytesObject>();
    data->data = {{CF_GRIDCOLUMN(), {1, 0, 0, 0}}, {plat::CF_UNICODETEXT, Wide(u"x")}, {plat::CF_HDROP, MakeFileDropList({}, false)}};
    RecordingTarget t;
    plat::TDropEffect e = 3;
    t.DragEnter(data, 0, {}, e);
    EXPECT_EQ(t.DropFormats(), DropFormatBit(dfText) | DropFormatBit(dfFile) | DropFormatBit(dfCol));
    // A hook refusing the position shows no effect.
    t.refuseOver = true;
    e = 3;
    t.DragOver(0, {}, e);
    EXPECT_EQ(e, 0u);
    // With text refused the file list still makes the drag acceptable; the column alone does not.
    t.AcceptText = false;
    e = 3;
    t.DragEnter(data, 0, {}, e);
    EXPECT_EQ(e, 2u);
    t.AcceptFiles = false;
    e = 3;
    t.DragEnter(data, 0, {}, e);
    EXPECT_EQ(e, 0u);
    e = 3;
    t.Drop(data, 0, {}, e);
    EXPECT_TRUE(t.log.empty());
    t.AcceptCols = true;
    e = 3;
    t.DragEnter(data, 0, {}, e);
    t.Drop(data, 0, {}, e);
    EXPECT_EQ(t.log, (std::vector<std::string>{"col 1"})) << "an empty file list drops no files";
}

TEST(DropTarget, AForeignCellBlockLongerThanItsBytesIsRefused) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> block;
        bool dropped;
    };
    std::vector<std::uint8_t> over = MakeGridCellsBlock("abcd");
    over[0] = 5;
    std::vector<std::uint8_t> huge = MakeGridCellsBlock("abcd");
    huge[3] = 0xFF;
    const Case cases[] = {
        {"exact", MakeGridCellsBlock("abcd"), true},
        {"count one past", over, false},
        {"count near 4 GB", huge, false},
        {"shorter than the header", {4, 0, 0, 0, 0}, false},
        {"trailing bytes", [] { auto b = MakeGridCellsBlock("ab"); b.push_back(9); return b; }(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto data = std::make_shared<TBytesObject>();
        data->data = {{CF_GRIDCELLS(), c.block}};
        RecordingTarget t;
        plat::TDropEffect e = 3;
        t.DragEnter(data, 0, {}, e);
        t.Drop(data, 0, {}, e);
        EXPECT_EQ(!t.log.empty(), c.dropped);
        if (c.dropped) {
            std::string expected;
            ASSERT_TRUE(ReadGridCellsBlock(c.block, expected));
            EXPECT_EQ(t.cells, expected);
        }
    }
}

TEST(FileDropList, NamesRoundTripAndBadOffsetsOrEndsAreRefused) {
    const std::vector<String> names = {u"/data/one.csv", u"/data/tw\u00f6.xls"};
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide);
        std::vector<String> read;
        ASSERT_TRUE(ReadFileDropList(MakeFileDropList(names, wide), read));
        EXPECT_EQ(read, names);
    }
    auto block = MakeFileDropList(names, true);
    std::vector<String> read;
    auto past = block;
    past[0] = static_cast<std::uint8_t>(past.size() + 1);
    EXPECT_FALSE(ReadFileDropList(past, read));
    auto inHeader = block;
    inHeader[0] = 4;
    EXPECT_FALSE(ReadFileDropList(inHeader, read));
    auto unended = block;
    unended.resize(unended.size() - 2);  // no empty name at the end
    EXPECT_FALSE(ReadFileDropList(unended, read));
    auto odd = block;
    odd.resize(odd.size() - 1);
    EXPECT_FALSE(ReadFileDropList(odd, read));
    EXPECT_FALSE(ReadFileDropList(std::vector<std::uint8_t>(19, 0), read));
    EXPECT_TRUE(read.empty());
}

// Mutations of valid blocks (bytes changed, cut, extended) are read without a fault: an
// accepted cell block never claims more bytes than it holds, an accepted file list only
// names that lie inside it.
TEST(DragDropMutation, MutatedBlocksAreReadWithinTheirBytes) {
    std::mt19937 rng(20261211);
    const std::vector<std::vector<std::uint8_t>> seeds = {
        MakeGridCellsBlock(""), MakeGridCellsBlock(std::string("cells\0with\0zeros", 16)),
        MakeFileDropList({u"/a", u"/bb/c"}, true), MakeFileDropList({u"/a", u"/bb/c"}, false),
        MakeFileDropList({}, true)};
    int accepted = 0, refused = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> b = seeds[static_cast<std::size_t>(round) % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < edits; ++k) {
            switch (rng() % 4) {
            case 0:
                if (!b.empty()) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
                break;
            case 1:
                if (!b.empty()) b.resize(rng() % b.size());
                break;
            case 2: b.push_back(static_cast<std::uint8_t>(rng())); break;
            default:
                if (b.size() >= 4) b[rng() % 4] = static_cast<std::uint8_t>(rng());  // the count or offset
                break;
            }
        }
        std::string cells;
        if (ReadGridCellsBlock(b, cells)) {
            ++accepted;
            ASSERT_LE(cells.size() + 8, b.size());
        } else {
            ++refused;
        }
        std::vector<String> names;
        if (ReadFileDropList(b, names)) {
            std::size_t units = 0;
            for (const String& n : names) units += n.size() + 1;
            ASSERT_LE(20 + units, b.size());
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
