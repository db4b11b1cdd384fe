// The tree's data object: the tree reference outside the offered formats, rendering of the
// tree's data for drags and the clipboard, stored media (shared, replaced, copied by kind),
// the format enumerator, the QueryGetData codes, the read-only transfer stream, trees that
// die while their object lives, and the checked reading of transferred data.
#include <random>

#include "ExchangeFixture.h"
#include "plat/Streams.h"
#include "TestSupport.h"

using namespace vtree;
using namespace vtree::testing;
using plat::HRESULT;
using Bytes = std::vector<std::uint8_t>;

namespace {

plat::TFormatEtc Fmt(std::uint16_t Format, int Tymed = plat::TYMED_HGLOBAL)
{
    plat::TFormatEtc f;
    f.Format = Format;
    f.Tymed = Tymed;
    return f;
}

class DataObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tree = std::make_unique<TBaseLazyTree>(nullptr);
        MakeExchangeTree(*Tree);
        N1 = AddNumbered(*Tree, nullptr, 1);
        AddNumbered(*Tree, N1, 2);
        N3 = AddNumbered(*Tree, nullptr, 3);
    }
    void TearDown() override { plat::Clipboard().Clear(); }

    std::shared_ptr<TLTDataObject> Drag() { return std::make_shared<TLTDataObject>(Tree.get(), false); }

    std::unique_ptr<TBaseLazyTree> Tree;
    PLazyNode N1 = nullptr;
    PLazyNode N3 = nullptr;
};

TEST_F(DataObjectTest, TreeReferenceIsReadableThoughNeitherEnumeratedNorReported)
{
    auto d = Drag();
    // Whatever else the request says, the reference is answered.
    plat::TFormatEtc odd = Fmt(TreeReferenceFormat, plat::TYMED_FILE);
    odd.Aspect = 4;
    odd.Index = 7;
    plat::TStgMedium m;
    ASSERT_EQ(d->GetData(odd, m), plat::S_OK);
    EXPECT_EQ(m.Tymed, plat::TYMED_HGLOBAL);
    ASSERT_EQ(m.Global.size(), TreeReferenceSize);
    EXPECT_EQ(TreeOfReference(m.Global.data(), m.Global.size()), Tree.get());
    EXPECT_EQ(Tree->TreeFromDataObject(d.get()), Tree.get());

    EXPECT_EQ(d->QueryGetData(Fmt(TreeReferenceFormat)), plat::DV_E_FORMATETC);
    std::shared_ptr<plat::IEnumFormatEtc> en;
    ASSERT_EQ(d->EnumFormatEtc(plat::DATADIR_GET, en), plat::S_OK);
    plat::TFormatEtc f[8];
    std::uint32_t got = 0;
    en->Next(8, f, &got);
    ASSERT_EQ(got, 1u);
    EXPECT_EQ(f[0].Format, TreeDataFormat);
}

TEST_F(DataObjectTest, ReferencesOfOtherProcessesOrDeadTreesNameNoTree)
{
    Bytes ref = MakeTreeReference(*Tree);
    EXPECT_EQ(TreeOfReference(ref.data(), ref.size()), Tree.get());
    Bytes other = ref;
    other[0] ^= 1;
    EXPECT_EQ(TreeOfReference(other.data(), other.size()), nullptr) << "another process";
    EXPECT_EQ(TreeOfReference(ref.data(), 8), nullptr) << "too short";
    auto gone = std::make_unique<TBaseLazyTree>(nullptr);
    Bytes dead = MakeTreeReference(*gone);
    gone.reset();
    // A new tree may take the old one's address; the reference still names no tree.
    auto successor = std::make_unique<TBaseLazyTree>(nullptr);
    EXPECT_EQ(TreeOfReference(dead.data(), dead.size()), nullptr);
}

TEST_F(DataObjectTest, RenderingTheSelectionAndTheCutCopySet)
{
    Tree->SetSelected(N3, true);
    auto d = Drag();
    plat::TStgMedium m;
    ASSERT_EQ(d->GetData(Fmt(TreeDataFormat), m), plat::S_OK);
    plat::TMemoryStream expected;
    Tree->SaveToStream(expected, N3);  // header + count + the node's chunk
    const std::string chunk = expected.Bytes().substr(16);
    ASSERT_EQ(m.Global.size(), chunk.size() + 4);
    EXPECT_EQ(m.Global[0] | m.Global[1] << 8, static_cast<int>(chunk.size())) << "the size prefix";
    EXPECT_EQ(std::string(m.Global.begin() + 4, m.Global.end()), chunk);

    plat::TStgMedium s;
    EXPECT_EQ(d->GetData(Fmt(TreeDataFormat, plat::TYMED_ISTREAM), s), plat::DV_E_TYMED) << "offered in memory only";
    ASSERT_EQ(d->GetData(Fmt(TreeDataFormat, plat::TYMED_HGLOBAL | plat::TYMED_ISTREAM), s), plat::S_OK);
    ASSERT_EQ(s.Tymed, plat::TYMED_ISTREAM);
    EXPECT_EQ(s.Stream->Position(), 0);
    EXPECT_EQ(plat::GetHGlobalFromStream(*s.Stream), Bytes(chunk.begin(), chunk.end())) << "chunks alone";

    // A clipboard object renders the cut/copy set, which is empty here.
    auto clip = std::make_shared<TLTDataObject>(Tree.get(), true);
    EXPECT_EQ(clip->GetData(Fmt(TreeDataFormat), m), plat::E_FAIL);
}

TEST_F(DataObjectTest, EmptySelectionDragOffersTreeDataButRendersNothing)
{
    auto d = Drag();
    EXPECT_EQ(d->QueryGetData(Fmt(TreeDataFormat)), plat::S_OK);
    plat::TStgMedium m;
    m.Global = Bytes{9};
    EXPECT_EQ(d->GetData(Fmt(TreeDataFormat), m), plat::E_FAIL);
    EXPECT_FALSE(m.Global) << "the medium is cleared";
}

TEST_F(DataObjectTest, QueryGetDataCodes)
{
    auto d = Drag();
    struct Case {
        const char* Name;
        plat::TFormatEtc Format;
        HRESULT Expected;
    };
    plat::TFormatEtc tymed = Fmt(TreeDataFormat, plat::TYMED_FILE);
    plat::TFormatEtc aspect = Fmt(TreeDataFormat);
    aspect.Aspect = 4;
    plat::TFormatEtc index = Fmt(TreeDataFormat);
    index.Index = 0;
    plat::TFormatEtc device = Fmt(TreeDataFormat);
    static int someDevice;
    device.Ptd = &someDevice;
    const Case cases[] = {
        {"offered", Fmt(TreeDataFormat, plat::TYMED_HGLOBAL | plat::TYMED_FILE), plat::S_OK},
        {"no common medium", tymed, plat::DV_E_TYMED},
        {"other aspect", aspect, plat::DV_E_DVASPECT},
        {"other index", index, plat::DV_E_LINDEX},
        {"unknown format", Fmt(HtmlFormat), plat::DV_E_FORMATETC},
        {"target device not compared", device, plat::S_OK},
    };
    for (const Case& c : cases) EXPECT_EQ(d->QueryGetData(c.Format), c.Expected) << c.Name;
    plat::TStgMedium m;
    Tree->SetSelected(N1, true);
    EXPECT_EQ(d->GetData(device, m), plat::DV_E_FORMATETC) << "no offered descriptor names a target device";
    EXPECT_EQ(d->GetData(aspect, m), plat::DV_E_DVASPECT);
    plat::TFormatEtc out;
    EXPECT_EQ(d->GetCanonicalFormatEtc(Fmt(TreeDataFormat), out), plat::DATA_S_SAMEFORMATETC);
    EXPECT_EQ(d->GetDataHere(Fmt(TreeDataFormat), m), plat::E_NOTIMPL);
}

TEST_F(DataObjectTest, EnumeratorTable)
{
    // Two application descriptors after the tree's one: three in all.
    Tree->OnGetUserClipboardFormats = [](TBaseLazyTree*, std::vector<plat::TFormatEtc>& F) {
        F.push_back(Fmt(0xC101));
        F.push_back(Fmt(0xC102));
    };
    auto d = Drag();
    std::shared_ptr<plat::IEnumFormatEtc> en;
    EXPECT_EQ(d->EnumFormatEtc(plat::DATADIR_SET, en), plat::OLE_S_USEREG);
    EXPECT_EQ(en, nullptr);
    ASSERT_EQ(d->EnumFormatEtc(plat::DATADIR_GET, en), plat::S_OK);
    plat::TFormatEtc f[5];
    std::uint32_t got = 99;
    ASSERT_EQ(en->Next(1, f, &got), plat::S_OK);
    EXPECT_EQ(f[0].Format, TreeDataFormat);
    std::shared_ptr<plat::IEnumFormatEtc> clone;
    ASSERT_EQ(en->Clone(clone), plat::S_OK);
    EXPECT_EQ(en->Next(5, f, &got), plat::S_FALSE) << "5 asked, 2 left";
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(f[0].Format, 0xC101u);
    EXPECT_EQ(f[1].Format, 0xC102u);
    EXPECT_EQ(en->Next(1, f, &got), plat::S_FALSE);
    EXPECT_EQ(got, 0u);

    // The clone stands where the original stood.
    EXPECT_EQ(clone->Skip(3), plat::S_FALSE) << "more than remain: no move";
    EXPECT_EQ(clone->Next(1, f, nullptr), plat::S_OK);
    EXPECT_EQ(f[0].Format, 0xC101u);
    EXPECT_EQ(clone->Skip(1), plat::S_OK) << "exactly the rest";
    EXPECT_EQ(clone->Next(1, f, &got), plat::S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(clone->Reset(), plat::S_OK);
    EXPECT_EQ(clone->Next(3, f, &got), plat::S_OK);
    EXPECT_EQ(got, 3u);
}

TEST_F(DataObjectTest, SetDataOfANewFormatIsOfferedSharedAndReplaced)
{
    auto d = Drag();
    const plat::TFormatEtc own = Fmt(0xC200);
    auto firstOwner = std::make_shared<int>(1);
    std::weak_ptr<int> first = firstOwner;
    plat::TStgMedium given;
    given.Tymed = plat::TYMED_HGLOBAL;
    given.Global = Bytes{1, 2, 3};
    given.ReleaseObject = std::move(firstOwner);
    ASSERT_EQ(d->SetData(own, given, true), plat::S_OK);
    given = plat::TStgMedium{};
    EXPECT_EQ(d->QueryGetData(own), plat::S_OK);
    EXPECT_EQ(CheckDataObject(*d), "");

    plat::TStgMedium a, b;
    ASSERT_EQ(d->GetData(own, a), plat::S_OK);
    ASSERT_EQ(d->GetData(own, b), plat::S_OK);
    EXPECT_TRUE(a.Global.SameBlock(b.Global)) << "both consumers share the stored block";
    EXPECT_EQ(a.Global, (Bytes{1, 2, 3}));
    EXPECT_EQ(a.ReleaseObject.get(), static_cast<void*>(d.get())) << "the consumer keeps the object alive";
    plat::ReleaseStgMedium(a);
    plat::ReleaseStgMedium(b);

    // Setting it again releases the earlier medium; without Release the bytes are copied.
    plat::TStgMedium second;
    second.Tymed = plat::TYMED_HGLOBAL;
    second.Global = Bytes{7};
    ASSERT_EQ(d->SetData(own, second, false), plat::S_OK);
    EXPECT_TRUE(first.expired());
    ASSERT_EQ(d->GetData(own, a), plat::S_OK);
    EXPECT_EQ(a.Global, (Bytes{7}));
    EXPECT_FALSE(a.Global.SameBlock(second.Global));
    EXPECT_EQ(d->FormatEtcArray().size(), 2u) << "offered once";
}

TEST_F(DataObjectTest, SetDataForARenderedFormatIsHandedOutFromThenOn)
{
    Tree->SetSelected(N1, true);
    auto d = Drag();
    plat::TStgMedium given;
    given.Tymed = plat::TYMED_HGLOBAL;
    given.Global = Bytes{4, 0, 0, 0, 'a', 'b', 'c', 'd'};
    ASSERT_EQ(d->SetData(Fmt(TreeDataFormat), given, false), plat::S_OK);
    plat::TStgMedium m;
    ASSERT_EQ(d->GetData(Fmt(TreeDataFormat), m), plat::S_OK);
    EXPECT_EQ(m.Global, (Bytes{4, 0, 0, 0, 'a', 'b', 'c', 'd'}));
    EXPECT_EQ(d->FormatEtcArray().size(), 1u);
    EXPECT_EQ(CheckDataObject(*d), "");
}

TEST_F(DataObjectTest, SetDataCopyRulesByMediumKind)
{
    auto d = Drag();
    struct Case {
        int Tymed;
        bool Release;
        HRESULT Expected;
    };
    const Case cases[] = {
        {plat::TYMED_GDI, false, plat::DV_E_TYMED},     {plat::TYMED_ENHMF, false, plat::DV_E_TYMED},
        {plat::TYMED_NULL, false, plat::DV_E_TYMED},    {plat::TYMED_FILE, false, plat::S_OK},
        {plat::TYMED_ISTREAM, false, plat::S_OK},       {plat::TYMED_GDI, true, plat::S_OK},
    };
    std::uint16_t id = 0xC300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Tymed);
        plat::TStgMedium m;
        m.Tymed = c.Tymed;
        m.FileName = u"/tmp/x";
        m.Stream = plat::CreateStreamOnHGlobal(plat::TGlobalHandle(), true);
        EXPECT_EQ(d->SetData(Fmt(id++, c.Tymed ? c.Tymed : plat::TYMED_HGLOBAL), m, c.Release), c.Expected);
    }
    plat::TStgMedium file;
    ASSERT_EQ(d->GetData(Fmt(0xC303, plat::TYMED_FILE), file), plat::S_OK);
    EXPECT_EQ(file.FileName, u"/tmp/x");
}

TEST_F(DataObjectTest, SetDataTellsTheAdviseSinks)
{
    struct Sink : plat::IAdviseSink {
        int Told = 0;
        void OnDataChange(const plat::TFormatEtc&, const plat::TStgMedium&) override { ++Told; }
    };
    auto d = Drag();
    EXPECT_EQ(d->DUnadvise(1), plat::E_NOTIMPL);
    EXPECT_EQ(d->EnumDAdvise(), plat::OLE_E_ADVISENOTSUPPORTED);
    auto sink = std::make_shared<Sink>();
    std::uint32_t c = 0;
    ASSERT_EQ(d->DAdvise(Fmt(TreeDataFormat), plat::ADVF_NODATA, sink, c), plat::S_OK);
    plat::TStgMedium m;
    m.Tymed = plat::TYMED_HGLOBAL;
    m.Global = Bytes{1};
    d->SetData(Fmt(0xC400), m, false);
    EXPECT_EQ(sink->Told, 1);
    EXPECT_EQ(d->DUnadvise(c), plat::S_OK);
    d->SetData(Fmt(0xC400), m, false);
    EXPECT_EQ(sink->Told, 1);
}

TEST_F(DataObjectTest, ApplicationRendersOtherFormats)
{
    Tree->OnGetUserClipboardFormats = [](TBaseLazyTree*, std::vector<plat::TFormatEtc>& F) { F.push_back(Fmt(0xC500)); };
    auto d = Drag();
    plat::TStgMedium m;
    EXPECT_EQ(d->GetData(Fmt(0xC500), m), plat::E_FAIL) << "no handler";
    bool sawForClipboard = true;
    Tree->OnRenderOLEData = [&](TBaseLazyTree*, const plat::TFormatEtc& F, plat::TStgMedium& M, bool ForClipboard,
                                HRESULT& Result) {
        EXPECT_EQ(Result, plat::E_FAIL);
        sawForClipboard = ForClipboard;
        M.Tymed = plat::TYMED_HGLOBAL;
        M.Global = Bytes{static_cast<std::uint8_t>(F.Format & 0xFF)};
        Result = plat::S_OK;
    };
    ASSERT_EQ(d->GetData(Fmt(0xC500), m), plat::S_OK);
    EXPECT_EQ(m.Global, (Bytes{0}));
    EXPECT_FALSE(sawForClipboard);
    Tree->OnRenderOLEData = [](TBaseLazyTree*, const plat::TFormatEtc&, plat::TStgMedium&, bool, HRESULT&) {
        throw plat::Exception(u"renderer failed");
    };
    EXPECT_EQ(d->GetData(Fmt(0xC500), m), plat::E_FAIL) << "exceptions become E_FAIL";
}

TEST_F(DataObjectTest, ObjectOutlivingItsTreeAnswersFailForWhatTheTreeRendered)
{
    Tree->SetSelected(N1, true);
    auto d = Drag();
    plat::TStgMedium stored;
    stored.Tymed = plat::TYMED_HGLOBAL;
    stored.Global = Bytes{5};
    d->SetData(Fmt(0xC600), stored, false);
    Tree.reset();
    EXPECT_EQ(d->Owner(), nullptr);
    plat::TStgMedium m;
    EXPECT_EQ(d->GetData(Fmt(TreeDataFormat), m), plat::E_FAIL);
    EXPECT_EQ(d->GetData(Fmt(TreeReferenceFormat), m), plat::E_FAIL);
    ASSERT_EQ(d->GetData(Fmt(0xC600), m), plat::S_OK) << "stored media stay";
    EXPECT_EQ(m.Global, (Bytes{5}));
    TBaseLazyTree other(nullptr);
    EXPECT_EQ(other.TreeFromDataObject(d.get()), nullptr);
}

TEST(OLEMemoryStreamTest, ReadsButRefusesWrites)
{
    const char bytes[] = "abc";
    TOLEMemoryStream s(bytes, 3);
    char two[2];
    s.ReadBuffer(two, 2);
    EXPECT_EQ(std::string(two, 2), "ab");
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EStreamError>([&] { s.Write("x", 1); },
                                                            u"Can't write to a read-only resource stream"));
}

// ---- reading transferred data --------------------------------------------------------------

// A data object holding one "Lazy Tree Data" block, as another program would offer it.
class BlockObject : public plat::IDataObject {
public:
    explicit BlockObject(Bytes b) : block_(std::move(b)) {}
    HRESULT GetData(const plat::TFormatEtc& F, plat::TStgMedium& M) override
    {
        if (F.Format != TreeDataFormat) return plat::DV_E_FORMATETC;
        M.Tymed = plat::TYMED_HGLOBAL;
        M.Global = block_;
        return plat::S_OK;
    }
    HRESULT GetDataHere(const plat::TFormatEtc&, plat::TStgMedium&) override { return plat::E_NOTIMPL; }
    HRESULT QueryGetData(const plat::TFormatEtc& F) override
    {
        return F.Format == TreeDataFormat ? plat::S_OK : plat::DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const plat::TFormatEtc&, plat::TFormatEtc&) override { return plat::E_NOTIMPL; }
    HRESULT SetData(const plat::TFormatEtc&, const plat::TStgMedium&, bool) override { return plat::E_NOTIMPL; }
    HRESULT EnumFormatEtc(int, std::shared_ptr<plat::IEnumFormatEtc>&) override { return plat::E_NOTIMPL; }

private:
    Bytes block_;
};

Bytes WithPrefix(std::int32_t Size, const std::string& Chunks)
{
    Bytes b(4);
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::uint32_t(Size) >> (8 * i));
    b.insert(b.end(), Chunks.begin(), Chunks.end());
    return b;
}

TEST_F(DataObjectTest, SizePrefixOfTransferredDataIsChecked)
{
    Tree->SetSelected(N1, true);
    Tree->SetSelected(N3, true);
    plat::TStgMedium m;
    ASSERT_EQ(Drag()->GetData(Fmt(TreeDataFormat), m), plat::S_OK);
    const std::string chunks(m.Global.begin() + 4, m.Global.end());
    plat::TMemoryStream one;
    Tree->SaveToStream(one, N3);
    const auto n3Size = static_cast<std::int32_t>(one.Bytes().size() - 16);
    const auto all = static_cast<std::int32_t>(chunks.size());
    struct Case {
        const char* Name;
        Bytes Block;
        bool Result;
        const char* Shape;
    };
    const Case cases[] = {
        {"whole", WithPrefix(all, chunks), true, "1(2) 3"},
        {"negative size", WithPrefix(-1, chunks), false, ""},
        {"larger than the block", WithPrefix(all + 1, chunks), false, ""},
        {"huge", WithPrefix(0x7FFFFFFF, chunks), false, ""},
        {"shorter than the prefix", Bytes{1, 0}, false, ""},
        {"only the first node counted", WithPrefix(all - n3Size, chunks), true, "1(2)"},
        {"nothing counted", WithPrefix(0, chunks), true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBaseLazyTree target(nullptr);
        MakeExchangeTree(target);
        auto data = std::make_shared<BlockObject>(c.Block);
        EXPECT_EQ(target.ProcessOLEData(nullptr, data, nullptr, amAddChildLast, false), c.Result);
        EXPECT_EQ(Shape(target), c.Shape);
        EXPECT_EXCHANGE_OK(target);
    }
}

TEST_F(DataObjectTest, MutatedTransferredDataNeverBreaksTheTree)
{
    PLazyNode deep = AddNumbered(*Tree, N3, 4);
    AddNumbered(*Tree, deep, 5);
    Tree->SetSelected(N1, true);
    Tree->SetSelected(N3, true);
    plat::TStgMedium m;
    ASSERT_EQ(Drag()->GetData(Fmt(TreeDataFormat), m), plat::S_OK);
    const Bytes valid = m.Global;
    std::mt19937 rng(2024);
    for (int round = 0; round < 3000; ++round) {
        Bytes b = valid;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            switch (rng() % 4) {
            case 0: b[rng() % b.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
            case 1: b[rng() % b.size()] = static_cast<std::uint8_t>(rng()); break;
            case 2: b.resize(rng() % (b.size() + 1)); break;
            default: b[rng() % std::min<std::size_t>(4, b.size() ? b.size() : 1)] = 0xFF; break;
            }
            if (b.empty()) b.push_back(0);
        }
        TBaseLazyTree target(nullptr);
        MakeExchangeTree(target);
        AddNumbered(target, nullptr, 9);
        auto data = std::make_shared<BlockObject>(b);
        try {
            target.ProcessOLEData(nullptr, data, target.GetFirst(), amInsertAfter, false);
        } catch (const plat::Exception&) {
            // Refused as damaged; the tree must still be whole.
        }
        const std::string problem = CheckExchangeInvariants(target);
        ASSERT_EQ(problem, "") << "round " << round;
    }
}

} // namespace
