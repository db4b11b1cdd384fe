// The media of the data exchange (global memory shared by handle, the medium release, a
// stream on global memory, the advise holder) and the clipboard of data objects on the
// offscreen clipboard: rendering on demand, the formats as MIME types, the object let go
// when other data takes the clipboard, flushing, and a clipboard that cannot be opened.
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "plat/Clipbrd.h"
#include "plat/DragDrop.h"
#include "plat/Testing.h"
#include "TestSupport.h"

namespace plat {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(GlobalMemoryTest, HandlesShareOneBlockThatLocksAndFrees)
{
    TGlobalHandle a = TGlobalHandle::Alloc(4);
    ASSERT_TRUE(a);
    EXPECT_EQ(a, (Bytes{0, 0, 0, 0})) << "zero-initialised";
    TGlobalHandle b = a;
    EXPECT_TRUE(b.SameBlock(a));
    std::uint8_t* p = GlobalLock(b);
    ASSERT_NE(p, nullptr);
    p[2] = 7;
    EXPECT_EQ(a.LockCount(), 1);
    EXPECT_TRUE(GlobalUnlock(b));
    EXPECT_FALSE(GlobalUnlock(b)) << "not locked any more";
    EXPECT_EQ(a, (Bytes{0, 0, 7, 0})) << "a write through one handle is seen through the other";

    b = Bytes{1, 2};
    EXPECT_FALSE(b.SameBlock(a)) << "assigning bytes names a new block";
    EXPECT_EQ(GlobalSize(a), 4u);

    TGlobalHandle none;
    EXPECT_EQ(GlobalLock(none), nullptr);
    EXPECT_EQ(GlobalSize(none), 0u);
    EXPECT_NE(GlobalLock(TGlobalHandle::Alloc(0)), nullptr) << "an empty block still locks";
}

TEST(GlobalMemoryTest, ReleasingAMediumDropsItsReleaseObjectOrItsData)
{
    auto owner = std::make_shared<int>(1);
    std::weak_ptr<int> watch = owner;
    TStgMedium shared;
    shared.Tymed = TYMED_HGLOBAL;
    shared.Global = Bytes{1, 2, 3};
    shared.ReleaseObject = std::move(owner);
    TGlobalHandle block = shared.Global;
    ReleaseStgMedium(shared);
    EXPECT_TRUE(watch.expired()) << "the release object is let go";
    EXPECT_EQ(shared.Tymed, TYMED_NULL);
    EXPECT_FALSE(shared.Global);
    EXPECT_EQ(block.UseCount(), 1) << "only the test's handle names the block";

    TStgMedium stream;
    stream.Tymed = TYMED_ISTREAM;
    stream.Stream = CreateStreamOnHGlobal(TGlobalHandle(), true);
    std::weak_ptr<TStream> streamWatch = stream.Stream;
    ReleaseStgMedium(stream);
    EXPECT_TRUE(streamWatch.expired());
}

TEST(GlobalMemoryTest, StreamOnGlobalMemoryGrowsTheBlock)
{
    TGlobalHandle block = Bytes{9};
    auto s = CreateStreamOnHGlobal(block, false);
    s->SetPosition(1);
    s->WriteBuffer("abc", 3);
    EXPECT_EQ(block, (Bytes{9, 'a', 'b', 'c'})) << "the stream writes into the caller's block";
    EXPECT_TRUE(GetHGlobalFromStream(*s).SameBlock(block));
    s->Seek(-2, soEnd);
    char two[2];
    s->ReadBuffer(two, 2);
    EXPECT_EQ(std::string(two, 2), "bc");
    EXPECT_EQ(s->Read(two, 2), 0u);
    s->SetSize(2);
    EXPECT_EQ(block, (Bytes{9, 'a'}));
    // Past the end the gap is zero; across the end the write overwrites, then appends.
    s->Seek(2, soEnd);
    s->WriteBuffer("z", 1);
    EXPECT_EQ(block, (Bytes{9, 'a', 0, 0, 'z'}));
    s->Seek(-1, soEnd);
    s->WriteBuffer("rs", 2);
    EXPECT_EQ(block, (Bytes{9, 'a', 0, 0, 'r', 's'}));
    s->SetPosition(1);
    s->WriteBuffer("b", 1);
    EXPECT_EQ(block, (Bytes{9, 'b', 0, 0, 'r', 's'}));

    auto fresh = CreateStreamOnHGlobal(TGlobalHandle(), true);
    fresh->WriteBuffer("x", 1);
    EXPECT_EQ(GetHGlobalFromStream(*fresh), (Bytes{'x'}));
    TMemoryStream other;
    EXPECT_FALSE(GetHGlobalFromStream(other));
}

// A data object with fixed bytes per format that counts its renderings.
class CountingObject : public IDataObject {
public:
    std::map<UINT, std::string> Data;
    mutable std::map<UINT, int> Rendered;

    HRESULT GetData(const TFormatEtc& F, TStgMedium& M) override
    {
        auto it = Data.find(F.Format);
        if (it == Data.end()) return DV_E_FORMATETC;
        ++Rendered[F.Format];
        M.Tymed = TYMED_HGLOBAL;
        M.Global = Bytes(it->second.begin(), it->second.end());
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& F) override { return Data.count(F.Format) ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return E_NOTIMPL; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int, std::shared_ptr<IEnumFormatEtc>& Out) override
    {
        class Enum : public IEnumFormatEtc {
        public:
            explicit Enum(std::vector<UINT> f) : f_(std::move(f)) {}
            HRESULT Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) override
            {
                std::uint32_t n = 0;
                for (; n < Count && at_ < f_.size(); ++n) Out[n].Format = f_[at_++];
                if (Fetched) *Fetched = n;
                return n == Count ? S_OK : S_FALSE;
            }
            HRESULT Skip(std::uint32_t) override { return E_NOTIMPL; }
            HRESULT Reset() override { return S_OK; }
            HRESULT Clone(std::shared_ptr<IEnumFormatEtc>&) override { return E_NOTIMPL; }

        private:
            std::vector<UINT> f_;
            std::size_t at_ = 0;
        };
        std::vector<UINT> f;
        for (const auto& [id, bytes] : Data) f.push_back(id);
        Out = std::make_shared<Enum>(std::move(f));
        return S_OK;
    }
};

std::string Utf16(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

class ClipboardObjectTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        HoldClipboard(false);
        FailClipboardRead(false);
        Clipboard().Clear();
    }
};

TEST_F(ClipboardObjectTest, FormatsAreOfferedAsMimeTypesAndRenderedOnlyWhenRead)
{
    const UINT own = RegisterClipboardFormat(u"Lazy Tree Data");
    const UINT html = RegisterClipboardFormat(u"HTML Format");
    const UINT csv = RegisterClipboardFormat(u"CSV");
    const UINT rtf = RegisterClipboardFormat(u"Rich Text Format");
    auto data = std::make_shared<CountingObject>();
    // StartFragment at 59, EndFragment at 67: the header is 59 bytes long.
    const std::string block = "Version:0.9\r\nStartFragment:00000059\r\nEndFragment:00000067\r\n<b>x</b>";
    ASSERT_EQ(block.find("<b>"), 59u);
    data->Data = {{CF_UNICODETEXT, Utf16(u"a\tb\u00e9")}, {own, std::string("\x03\x00\x00\x00xyz", 7)},
                  {html, block}, {csv, "a;b\r\n"}, {rtf, "{\\rtf1 r}"}};
    ASSERT_EQ(OleSetClipboard(data), S_OK);
    EXPECT_TRUE(data->Rendered.empty()) << "nothing is rendered before someone reads";
    EXPECT_EQ(OleIsCurrentClipboard(data.get()), S_OK);

    EXPECT_EQ(testing::SystemClipboardData("text/plain"), "a\tb\xC3\xA9");
    EXPECT_EQ(testing::SystemClipboardData("application/x-configurator-lazy-tree-data"), std::string("\x03\x00\x00\x00xyz", 7));
    EXPECT_EQ(testing::SystemClipboardData("text/html"), "<b>x</b>");
    EXPECT_EQ(testing::SystemClipboardData("application/x-configurator-html-format"), block);
    EXPECT_EQ(testing::SystemClipboardData("text/csv"), "a;b\r\n");
    EXPECT_EQ(testing::SystemClipboardData("text/rtf"), "{\\rtf1 r}");
    EXPECT_EQ(data->Rendered[csv], 1);
    // The layer's clipboard object reads the same data.
    EXPECT_EQ(Clipboard().AsText(), u"a\tb\u00e9");
    EXPECT_TRUE(Clipboard().HasFormat(own));

    std::shared_ptr<IDataObject> got;
    ASSERT_EQ(OleGetClipboard(got), S_OK);
    EXPECT_EQ(got.get(), data.get()) << "this process reads its own object back";
}

TEST_F(ClipboardObjectTest, OtherDataTakingTheClipboardLetsTheObjectGo)
{
    auto data = std::make_shared<CountingObject>();
    data->Data = {{CF_UNICODETEXT, Utf16(u"mine")}};
    std::weak_ptr<CountingObject> watch = data;
    ASSERT_EQ(OleSetClipboard(std::move(data)), S_OK);
    EXPECT_FALSE(watch.expired()) << "the clipboard holds the object";
    Clipboard().SetAsText(u"theirs");
    EXPECT_TRUE(watch.expired());

    std::shared_ptr<IDataObject> got;
    ASSERT_EQ(OleGetClipboard(got), S_OK);
    TFormatEtc f;
    f.Format = CF_UNICODETEXT;
    TStgMedium m;
    ASSERT_EQ(got->GetData(f, m), S_OK);
    EXPECT_EQ(std::string(m.Global.begin(), m.Global.end()), Utf16(u"theirs"));
    f.Format = RegisterClipboardFormat(u"Lazy Tree Data");
    EXPECT_EQ(got->QueryGetData(f), DV_E_FORMATETC);
}

TEST_F(ClipboardObjectTest, FlushingRendersEverythingAndLetsTheObjectGo)
{
    const UINT own = RegisterClipboardFormat(u"Lazy Tree Reference");
    auto data = std::make_shared<CountingObject>();
    data->Data = {{CF_UNICODETEXT, Utf16(u"kept")}, {own, "ref"}};
    std::weak_ptr<CountingObject> watch = data;
    CountingObject* raw = data.get();
    ASSERT_EQ(OleSetClipboard(data), S_OK);
    data.reset();
    std::map<UINT, int> rendered;
    // The object goes with the flush: read its counts while it is alive.
    {
        std::shared_ptr<IDataObject> held;
        ASSERT_EQ(OleGetClipboard(held), S_OK);
        ASSERT_EQ(held.get(), raw);
        ASSERT_EQ(OleFlushClipboard(), S_OK);
        rendered = raw->Rendered;
    }
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(rendered[CF_UNICODETEXT], 1);
    EXPECT_EQ(rendered[own], 1);
    EXPECT_EQ(Clipboard().AsText(), u"kept");
    EXPECT_EQ(Clipboard().GetAsHandle(own), "ref");
}

TEST_F(ClipboardObjectTest, AHeldOrUnreadableClipboardRefuses)
{
    auto data = std::make_shared<CountingObject>();
    HoldClipboard(true);
    EXPECT_EQ(OleSetClipboard(data), CLIPBRD_E_CANT_OPEN);
    std::shared_ptr<IDataObject> got;
    EXPECT_EQ(OleGetClipboard(got), CLIPBRD_E_CANT_OPEN);
    HoldClipboard(false);
    FailClipboardRead(true);
    EXPECT_EQ(OleGetClipboard(got), CLIPBRD_E_CANT_OPEN);
    EXPECT_EQ(got, nullptr);
    FailClipboardRead(false);
    EXPECT_EQ(OleGetClipboard(got), S_OK);
}

TEST(AdviseHolderTest, SinksHearChangesUntilTheyUnadvise)
{
    struct Sink : IAdviseSink {
        std::vector<std::string> Heard;
        void OnDataChange(const TFormatEtc& F, const TStgMedium& M) override
        {
            Heard.push_back(std::to_string(F.Format) + ":" + std::string(M.Global.begin(), M.Global.end()));
        }
    };
    auto data = std::make_shared<CountingObject>();
    data->Data = {{CF_UNICODETEXT, "v1"}};
    std::shared_ptr<IDataAdviseHolder> holder;
    ASSERT_EQ(CreateDataAdviseHolder(holder), S_OK);
    auto withData = std::make_shared<Sink>();
    auto noData = std::make_shared<Sink>();
    TFormatEtc f;
    f.Format = CF_UNICODETEXT;
    std::uint32_t c1 = 0, c2 = 0;
    ASSERT_EQ(holder->Advise(data.get(), f, 0, withData, c1), S_OK);
    ASSERT_EQ(holder->Advise(data.get(), f, ADVF_NODATA, noData, c2), S_OK);
    EXPECT_NE(c1, c2);
    holder->SendOnDataChange(data.get(), 0, 0);
    EXPECT_EQ(withData->Heard, (std::vector<std::string>{"13:v1"}));
    EXPECT_EQ(noData->Heard, (std::vector<std::string>{"13:"}));
    EXPECT_EQ(holder->Unadvise(c1), S_OK);
    EXPECT_EQ(holder->Unadvise(c1), OLE_E_NOCONNECTION);
    holder->SendOnDataChange(data.get(), 0, 0);
    EXPECT_EQ(withData->Heard.size(), 1u);
    EXPECT_EQ(noData->Heard.size(), 2u);
}

TEST(ProcessIdTest, IsTheProcessesOwn)
{
    EXPECT_EQ(GetCurrentProcessId(), static_cast<std::uint32_t>(::getpid()));
}

} // namespace
} // namespace plat
