// Drag and drop between windows through the in-process session the test kit drives: the
// protocol order with key states, points and effects, Escape, refusal, revoking, and the
// shared MIME table for file lists and URLs.
#include <cstring>
#include <string>
#include <vector>

#include "plat/Clipbrd.h"
#include "plat/DragDrop.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TColorBox;
using Log = std::vector<std::string>;

std::string Pt(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }

class TextObject : public IDataObject {
public:
    HRESULT GetData(const TFormatEtc& F, TStgMedium& M) override
    {
        if (F.Format != CF_UNICODETEXT) return DV_E_FORMATETC;
        M.Tymed = TYMED_HGLOBAL;
        M.Global = {'h', 0, 'i', 0, 0, 0};
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& F) override { return F.Format == CF_UNICODETEXT ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return E_NOTIMPL; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int, std::shared_ptr<IEnumFormatEtc>&) override { return E_NOTIMPL; }
};

class Source : public IDropSource {
public:
    explicit Source(Log& log) : log_(log) {}
    HRESULT QueryContinueDrag(bool Escape, std::uint32_t Keys) override
    {
        log_.push_back("query " + std::string(Escape ? "esc " : "") + std::to_string(Keys));
        if (Escape) return DRAGDROP_S_CANCEL;
        return Keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(TDropEffect E) override
    {
        log_.push_back("feedback " + std::to_string(E));
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    Log& log_;
};

class Target : public IDropTarget {
public:
    Target(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    TDropEffect Answer = DROPEFFECT_COPY;
    HRESULT DragEnter(const std::shared_ptr<IDataObject>& D, std::uint32_t Keys, TPoint P, TDropEffect& E) override
    {
        log_.push_back(name_ + " enter " + std::to_string(Keys) + " " + Pt(P) + " " + std::to_string(E) +
                       (D ? "" : " no data"));
        E = Answer;
        return S_OK;
    }
    HRESULT DragOver(std::uint32_t Keys, TPoint P, TDropEffect& E) override
    {
        log_.push_back(name_ + " over " + std::to_string(Keys) + " " + Pt(P) + " " + std::to_string(E));
        E = Answer;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        log_.push_back(name_ + " leave");
        return S_OK;
    }
    HRESULT Drop(const std::shared_ptr<IDataObject>& D, std::uint32_t Keys, TPoint P, TDropEffect& E) override
    {
        TStgMedium m;
        TFormatEtc f;
        f.Format = CF_UNICODETEXT;
        log_.push_back(name_ + " drop " + std::to_string(Keys) + " " + Pt(P) + " " + std::to_string(E) +
                       (D && D->GetData(f, m) == S_OK ? " with data" : ""));
        E = Answer;
        return S_OK;
    }

private:
    Log& log_;
    std::string name_;
};

class DragDropTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        from = Add(10, 10);
        a = Add(150, 10);
        b = Add(260, 10);
        form->Show();
        ta = std::make_shared<Target>(log, "a");
        tb = std::make_shared<Target>(log, "b");
        ASSERT_EQ(RegisterDragDrop(a->Handle(), ta), S_OK);
        ASSERT_EQ(RegisterDragDrop(b->Handle(), tb), S_OK);
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    TColorBox* Add(int l, int t)
    {
        auto* c = new TColorBox(form.get());
        c->SetParent(form.get());
        c->SetBounds(l, t, 80, 80);
        return c;
    }
    HRESULT Drag(TDropEffect ok, TDropEffect& effect)
    {
        Press(from, 5, 5);
        return DoDragDrop(std::make_shared<TextObject>(), std::make_shared<Source>(log), ok, effect);
    }
    TPoint Screen(TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }
    std::unique_ptr<TForm> form;
    TColorBox *from = nullptr, *a = nullptr, *b = nullptr;
    std::shared_ptr<Target> ta, tb;
    Log log;
};

TEST_F(DragDropTest, SessionRunsTheProtocolInOrderWithKeysPointsAndEffects)
{
    ScriptDrag([&] {
        Move(a, 1, 2, ssLeft);
        Move(a, 3, 4, ssLeft | ssCtrl);
        Move(b, 5, 6, ssLeft);
        Release(b, 5, 6);
    });
    TDropEffect effect = 99;
    EXPECT_EQ(Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    const std::string pa1 = Pt(Screen(a, 1, 2)), pa2 = Pt(Screen(a, 3, 4)), pb = Pt(Screen(b, 5, 6));
    EXPECT_EQ(log, (Log{"query 1", "feedback 0",  // the start over the source, which has no target
                        "query 1", "a enter 1 " + pa1 + " 3", "feedback 1",
                        "query 9", "a over 9 " + pa2 + " 3", "feedback 1",
                        "query 1", "a leave", "b enter 1 " + pb + " 3", "feedback 1",
                        "query 0", "b drop 0 " + pb + " 3 with data"}));
    EXPECT_FALSE(DragDropRunning());
}

TEST_F(DragDropTest, EndingsTable)
{
    struct Case {
        const char* name;
        TDropEffect answer;
        bool escape;
        HRESULT result;
        TDropEffect effect;
        std::string last;
    };
    const Case cases[] = {
        {"drop accepted with move", DROPEFFECT_MOVE, false, DRAGDROP_S_DROP, DROPEFFECT_MOVE, "a drop 0"},
        {"an effect the source does not allow counts as none", DROPEFFECT_LINK, false, DRAGDROP_S_CANCEL,
         DROPEFFECT_NONE, "a leave"},
        {"refused", DROPEFFECT_NONE, false, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, "a leave"},
        {"escape", DROPEFFECT_COPY, true, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, "a leave"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        ta->Answer = c.answer;
        ScriptDrag([&] {
            Move(a, 1, 1, ssLeft);
            if (c.escape) Key(VK_ESCAPE);
            Release(a, 1, 1);
        });
        TDropEffect effect = 99;
        EXPECT_EQ(Drag(DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), c.result);
        EXPECT_EQ(effect, c.effect);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().substr(0, c.last.size()), c.last);
        if (c.escape) EXPECT_EQ(log[log.size() - 2], "query esc 1");
    }
}

TEST_F(DragDropTest, RegistrationErrorsAndRevokedOrDestroyedTargetsHearNothing)
{
    EXPECT_EQ(RegisterDragDrop(a->Handle(), ta), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(0x7FFFFFF, ta), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RegisterDragDrop(from->Handle(), nullptr), E_INVALIDARG);
    EXPECT_EQ(RevokeDragDrop(from->Handle()), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RevokeDragDrop(b->Handle()), S_OK);
    EXPECT_EQ(RegisteredDropTarget(b->Handle()), nullptr);

    ScriptDrag([&] {
        Move(b, 1, 1, ssLeft);  // revoked: no target
        Move(a, 1, 1, ssLeft);
        delete a;
        a = nullptr;
        Move(form.get(), 5, 150, ssLeft);
        Release(form.get(), 5, 150);
    });
    TDropEffect effect = 99;
    EXPECT_EQ(Drag(DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    Log seen;
    for (const std::string& s : log)
        if (s[0] == 'a' || s[0] == 'b') seen.push_back(s.substr(0, s.find(' ', 2)));
    EXPECT_EQ(seen, (Log{"a enter"}));
}

TEST_F(DragDropTest, WithoutScriptedInputTheSessionEndsWithTheButtonAsItIs)
{
    TDropEffect effect = 99;
    // The button is held (Press) and no input can come: cancelled.
    EXPECT_EQ(Drag(DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_FALSE(DragDropRunning());
    EXPECT_EQ(DoDragDrop(nullptr, std::make_shared<Source>(log), DROPEFFECT_COPY, effect), E_INVALIDARG);
}

// The picture for the system's drag is kept for its data until that data's drag ends; offscreen
// the in-process session runs the drag, so the caller is told to draw its own picture.
TEST_F(DragDropTest, ASystemDragPictureIsKeptForItsDataUntilItsDragEnds)
{
    auto data = std::make_shared<TextObject>();
    auto other = std::make_shared<TextObject>();
    TBitmap picture(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            auto* p = static_cast<std::uint8_t*>(picture.ScanLine(y)) + 4 * x;
            p[0] = std::uint8_t(10 * x), p[1] = std::uint8_t(20 * y), p[2] = 7, p[3] = std::uint8_t(40 * (x + y));
        }
    TBitmap empty;
    EXPECT_FALSE(SetSystemDragImage(nullptr, picture, {1, 1}));
    EXPECT_FALSE(SetSystemDragImage(data.get(), empty, {1, 1}));
    EXPECT_FALSE(SetSystemDragImage(data.get(), picture, {2, 1})) << "offscreen the session runs the drag";
    TBitmap got;
    TPoint hot{};
    EXPECT_FALSE(SystemDragImage(other.get(), got, hot));
    ASSERT_TRUE(SystemDragImage(data.get(), got, hot));
    EXPECT_EQ(hot, (TPoint{2, 1}));
    ASSERT_EQ(got.Width(), 3);
    ASSERT_EQ(got.Height(), 2);
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(std::memcmp(got.ScanLine(y), picture.ScanLine(y), 12), 0) << "row " << y;
    // Another data object's drag leaves it alone; its own drag ends it.
    Press(from, 5, 5);
    TDropEffect effect = 0;
    DoDragDrop(other, std::make_shared<Source>(log), DROPEFFECT_COPY, effect);
    EXPECT_TRUE(SystemDragImage(data.get(), got, hot));
    Press(from, 5, 5);
    DoDragDrop(data, std::make_shared<Source>(log), DROPEFFECT_COPY, effect);
    EXPECT_FALSE(SystemDragImage(data.get(), got, hot));
}

TEST_F(DragDropTest, FileListsAndUrlsTravelAsUriListsBothWays)
{
    const UINT url = RegisterClipboardFormat(u"UniformResourceLocator");
    std::string files(20, '\0');
    files[0] = 20;
    files[16] = 1;
    for (const char16_t* n : {u"/tmp/a b.csv", u"/tmp/\u00e9.xls"}) {
        for (const char16_t* p = n; *p; ++p) files += {static_cast<char>(*p & 0xFF), static_cast<char>(*p >> 8)};
        files += std::string(2, '\0');
    }
    files += std::string(2, '\0');
    Clipboard().SetAsHandle(CF_HDROP, files);
    EXPECT_EQ(SystemClipboardData("text/uri-list"), "file:///tmp/a%20b.csv\r\nfile:///tmp/%C3%A9.xls\r\n");
    EXPECT_TRUE(Clipboard().HasFormat(CF_HDROP));
    EXPECT_FALSE(Clipboard().HasFormat(url));
    EXPECT_EQ(Clipboard().GetAsHandle(CF_HDROP), files);

    Clipboard().SetAsHandle(url, std::string("https://example.org/x\0", 22));
    EXPECT_EQ(SystemClipboardData("text/uri-list"), "https://example.org/x\r\n");
    EXPECT_FALSE(Clipboard().HasFormat(CF_HDROP));
    EXPECT_EQ(Clipboard().GetAsHandle(url), std::string("https://example.org/x\0", 22));

    const UINT csv = RegisterClipboardFormat(u"CSV");
    Clipboard().SetAsHandle(csv, "a;b\r\n");
    EXPECT_EQ(SystemClipboardData("text/csv"), "a;b\r\n");
}

TEST_F(DragDropTest, MalformedFileListsAreRefusedWhole)
{
    struct Case {
        const char* name;
        std::string block;
    };
    std::string unended(20, '\0');
    unended[0] = 20;
    unended[16] = 1;
    unended += std::string("a\0b\0", 4);  // names never ended by an empty one
    std::string offsetPast(24, '\0');
    offsetPast[0] = 100;
    std::string offsetInHeader(24, '\0');
    offsetInHeader[0] = 4;
    std::string odd = unended.substr(0, 21);  // half a wide character
    const Case cases[] = {{"shorter than the header", std::string(10, '\0')},
                          {"offset past the end", offsetPast},
                          {"offset inside the header", offsetInHeader},
                          {"list not ended", unended},
                          {"half a character", odd}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clipboard().SetAsText(u"before");
        Clipboard().SetAsHandle(CF_HDROP, c.block);
        EXPECT_FALSE(Clipboard().HasFormat(CF_HDROP));
        EXPECT_EQ(SystemClipboardData("text/uri-list"), "");
    }
}

} // namespace
} // namespace plat
