// The string tree's texts: asking for them, default text, static text, paths, the cached
// width, shortening, multi-line height, the font hook around text handlers, the caption
// chunk of the stream, and the owner-drawn tree's content and widths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "TestSupport.h"
#include "TreeInvariants.h"
#include "ViewInvariants.h"
#include "plat/Graphics.h"
#include "plat/Streams.h"
#include "plat/Threads.h"

namespace vtree {
namespace {

using namespace plat;

class TextProbe : public TLazyStringTree {
public:
    explicit TextProbe(TComponent* Owner) : TLazyStringTree(Owner) {}
    using TCustomLazyStringTree::DoShortenString;
    int Drawn = 0;
    std::vector<String> Texts;
    std::vector<unsigned> Formats;

protected:
    void DoDrawText(TLTPaintInfo& PaintInfo, const String& Text, TRect CellRect, unsigned DrawFormat) override
    {
        ++Drawn;
        Texts.push_back(Text);
        Formats.push_back(DrawFormat);
        TCustomLazyStringTree::DoDrawText(PaintInfo, Text, CellRect, DrawFormat);
    }
};

class StringTreeText : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareSharedResources();
        RestoreSysColors();
        Tree = std::make_unique<TextProbe>(nullptr);
        Tree->SetColor(clWhite);
    }
    void Paint(int W = 200, int H = 60)
    {
        TBitmap t(W, H);
        testing::FontHookProbe font(t.Canvas());
        Tree->PaintTree(t.Canvas(), {0, 0, W, H}, {0, 0}, PaintBit(poGridLines));
        EXPECT_VIEW_OK(*Tree, &font);
    }
    // The view's own invariants (ViewInvariants.h), after an invalidation.
    void CheckView() { EXPECT_VIEW_OK(*Tree); }
    std::unique_ptr<TextProbe> Tree;
};

TEST_F(StringTreeText, WithoutHandlersNothingIsPaintedButTextIsTheDefault)
{
    PLazyNode n = Tree->AddChild(nullptr);
    EXPECT_EQ(Tree->GetText(n, NoColumn), u"Node");
    EXPECT_EQ(Tree->GetStaticText(n, NoColumn), u"");
    Paint();
    EXPECT_EQ(Tree->Drawn, 0);
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>([&] { Tree->GetText(nullptr, NoColumn); },
                                                          u"Node must not be nil."));
}

TEST_F(StringTreeText, CellTextHandlerSuppressesTheOtherOne)
{
    PLazyNode n = Tree->AddChild(nullptr);
    int plain = 0, cell = 0;
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        ++plain;
        S = T == ttNormal ? u"plain" : u"static";
    };
    EXPECT_EQ(Tree->GetText(n, NoColumn), u"plain");
    EXPECT_EQ(Tree->GetStaticText(n, NoColumn), u"static");
    EXPECT_EQ(plain, 4);   // both texts are asked each time
    Tree->OnGetCellText = [&](TCustomLazyStringTree*, TVSTGetCellTextEventArgs& E) {
        ++cell;
        E.CellText = u"cell";
    };
    plain = 0;
    EXPECT_EQ(Tree->GetText(n, NoColumn), u"cell");
    Paint();
    EXPECT_EQ(plain, 0);
    EXPECT_GE(cell, 2);
    ASSERT_EQ(Tree->Texts.size(), 1u);
    EXPECT_EQ(Tree->Texts[0], u"cell");
}

TEST_F(StringTreeText, PathRunsFromTheTopLevelDown)
{
    PLazyNode a = Tree->AddChild(nullptr);
    PLazyNode b = Tree->AddChild(a);
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = N == a ? u"top" : u"child";
    };
    EXPECT_EQ(Tree->Path(b, NoColumn, u'/'), u"top/child/");
    EXPECT_EQ(Tree->Path(nullptr, NoColumn, u'/'), u"/");
    EXPECT_EQ(Tree->Path(Tree->RootNode(), NoColumn, u'\\'), u"\\");
}

TEST_F(StringTreeText, WidthIsCachedUntilTheNodeIsInvalidated)
{
    PLazyNode n = Tree->AddChild(nullptr);
    String text = u"short";
    int asked = 0;
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) {
            ++asked;
            S = text;
        }
    };
    TBitmap probe(1, 1);
    const int w1 = Tree->DoGetNodeWidth(n, NoColumn, probe.Canvas());
    EXPECT_EQ(static_cast<int>(Tree->CachedTextWidth(n)), w1);
    text = u"a much longer text";
    const int again = asked;
    EXPECT_EQ(Tree->DoGetNodeWidth(n, NoColumn, probe.Canvas()), w1);   // from the cache
    EXPECT_EQ(asked, again);
    Tree->BeginUpdate();
    EXPECT_EQ(Tree->InvalidateNode(n), (TRect{-1, -1, -1, -1}));   // nothing repainted during an update
    Tree->EndUpdate();
    EXPECT_EQ(Tree->CachedTextWidth(n), 0u);
    CheckView();
    Tree->DoGetNodeWidth(n, NoColumn, probe.Canvas());
    EXPECT_EQ(Tree->InvalidateNode(n), (TRect{-1, -1, -1, -1}));   // not on screen: nothing repainted
    EXPECT_EQ(Tree->CachedTextWidth(n), 0u);
    CheckView();
    EXPECT_GT(Tree->DoGetNodeWidth(n, NoColumn, probe.Canvas()), w1);
    Tree->ResetAllTextWidths();
    EXPECT_EQ(Tree->CachedTextWidth(n), 0u);
}

TEST_F(StringTreeText, MeasureItemHeightAskedOnceUntilInvalidated)
{
    TLTMiscOptions misc = Tree->TreeOptions().MiscOptions() | (TLTMiscOptions(1) << toVariableNodeHeight);
    Tree->TreeOptions().SetMiscOptions(misc);
    int measured = 0;
    Tree->OnMeasureItem = [&](TBaseLazyTree*, TCanvas*, PLazyNode, int& H) {
        ++measured;
        H = 24;
    };
    PLazyNode n = Tree->AddChild(nullptr);
    measured = 0;
    n->Exclude(vsHeightMeasured);
    Paint();
    Paint();
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(n->NodeHeight, 24);
    Tree->InvalidateNode(n);
    CheckView();
    Paint();
    EXPECT_EQ(measured, 2);
}

TEST_F(StringTreeText, TooWideTextIsShortenedAndLeftAligned)
{
    Tree->SetWidth(80);
    PLazyNode n = Tree->AddChild(nullptr);
    (void)n;
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = u"A text that cannot fit into eighty pixels";
    };
    struct Case {
        TAlignment alignment;
        unsigned expectedAlign;
    };
    const Case cases[] = {{taLeftJustify, DT_LEFT}, {taCenter, DT_LEFT}, {taRightJustify, DT_RIGHT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.alignment));
        Tree->SetAlignment(c.alignment);
        Tree->Texts.clear();
        Tree->Formats.clear();
        TBitmap t(80, 18);
        Tree->PaintTree(t.Canvas(), {0, 0, 80, 18}, {0, 0}, 0);
        ASSERT_EQ(Tree->Texts.size(), 1u);
        const String& shown = Tree->Texts[0];
        ASSERT_GE(shown.size(), 3u);
        EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
        EXPECT_EQ(Tree->Formats[0] & (DT_CENTER | DT_RIGHT), c.expectedAlign);
        EXPECT_TRUE(Tree->Formats[0] & DT_SINGLELINE);
    }
    // A text that fits keeps its alignment.
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = u"ok";
    };
    Tree->ResetAllTextWidths();
    Tree->SetAlignment(taCenter);
    Tree->Texts.clear();
    Tree->Formats.clear();
    TBitmap t(80, 18);
    Tree->PaintTree(t.Canvas(), {0, 0, 80, 18}, {0, 0}, 0);
    ASSERT_EQ(Tree->Texts.size(), 1u);
    EXPECT_EQ(Tree->Texts[0], u"ok");
    EXPECT_EQ(Tree->Formats[0] & (DT_CENTER | DT_RIGHT), DT_CENTER);
}

TEST_F(StringTreeText, ShortenStringHandlerDecides)
{
    PLazyNode n = Tree->AddChild(nullptr);
    TBitmap probe(1, 1);
    Tree->OnShortenString = [](TCustomLazyStringTree*, TCanvas*, PLazyNode, TColumnIndex, const String&, int, String& R,
                               bool& Done) {
        R = u"mine";
        Done = true;
    };
    EXPECT_EQ(Tree->DoShortenString(probe.Canvas(), n, NoColumn, u"anything long", 10), u"mine");
    Tree->OnShortenString = nullptr;
    const String built = Tree->DoShortenString(probe.Canvas(), n, NoColumn, u"anything long", 30);
    EXPECT_NE(built, u"anything long");
}

TEST_F(StringTreeText, FontHookIsRestoredAfterAnExceptionInThePaintTextHandler)
{
    Tree->AddChild(nullptr);
    Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = u"text";
    };
    TBitmap t(100, 18);
    // Widths are measured (and cached) first, so the handlers below are reached while the
    // cell's text is painted, inside the hook.
    Tree->PaintTree(t.Canvas(), {0, 0, 100, 18}, {0, 0}, 0);
    int ownHandler = 0;
    t.Canvas()->Font()->OnChange = [&](TObject*) { ++ownHandler; };
    bool changedSeen = false;
    Tree->OnPaintText = [&](TCustomLazyStringTree* T, TCanvas* C, PLazyNode, TColumnIndex, TVSTTextType) {
        C->Font()->SetStyle({fsBold});   // goes through the hook
        changedSeen = T->FontChanged();
        throw plat::Exception(u"paint text failed");
    };
    // Buffered, the row bitmap's canvas is hooked.
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>(
        [&] { Tree->PaintTree(t.Canvas(), {0, 0, 100, 18}, {0, 0}, 0); }, u"paint text failed"));
    EXPECT_TRUE(changedSeen);
    EXPECT_FALSE(Tree->HasState(tsPainting));
    // Unbuffered, the target canvas itself is hooked and gets its handler back.
    Tree->OnPaintText = [&](TCustomLazyStringTree*, TCanvas* C, PLazyNode, TColumnIndex, TVSTTextType) {
        C->Font()->SetStyle({fsItalic});
        throw plat::Exception(u"paint text failed");
    };
    ownHandler = 0;
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>(
        [&] { Tree->PaintTree(t.Canvas(), {0, 0, 100, 18}, {0, 0}, PaintBit(poUnbuffered)); }, u"paint text failed"));
    EXPECT_GE(ownHandler, 1);   // the displaced handler still saw the change
    const int before = ownHandler;
    t.Canvas()->Font()->SetStyle({fsStrikeOut});
    EXPECT_EQ(ownHandler, before + 1);   // and it is the font's handler again
}

TEST_F(StringTreeText, MultilineHeightAndStaticTextRules)
{
    PLazyNode n = Tree->AddChild(nullptr);
    Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        S = T == ttNormal ? u"first line\r\nsecond line" : u"static";
    };
    TBitmap probe(1, 1);
    probe.Canvas()->SetFont(Tree->Font());
    const int single = Tree->ComputeNodeHeight(probe.Canvas(), n, NoColumn);
    Tree->SetMultiline(n, true);
    EXPECT_TRUE(Tree->GetMultiline(n));
    const int multi = Tree->ComputeNodeHeight(probe.Canvas(), n, NoColumn);
    EXPECT_GT(multi, single);
    EXPECT_FALSE(Tree->GetMultiline(nullptr));
    EXPECT_FALSE(Tree->GetMultiline(Tree->RootNode()));
    // Static text: none for multi-line nodes or centred trees, or without the option.
    auto options = Tree->TreeOptions().StringOptions();
    Tree->TreeOptions().SetStringOptions(TLTStringOptions(options | (1u << toShowStaticText)));
    EXPECT_EQ(Tree->StaticTextWidth(probe.Canvas(), n, NoColumn, u"static"), 0);
    Tree->SetMultiline(n, false);
    EXPECT_GT(Tree->StaticTextWidth(probe.Canvas(), n, NoColumn, u"static"), 0);
    Tree->SetAlignment(taCenter);
    EXPECT_EQ(Tree->StaticTextWidth(probe.Canvas(), n, NoColumn, u"static"), 0);
}

TEST_F(StringTreeText, SettingTextGoesThroughTheNewTextHandler)
{
    PLazyNode n = Tree->AddChild(nullptr);
    String stored = u"old";
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = stored;
    };
    TBitmap probe(1, 1);
    Tree->DoGetNodeWidth(n, NoColumn, probe.Canvas());
    ASSERT_NE(Tree->CachedTextWidth(n), 0u);
    Tree->SetText(n, NoColumn, u"new");   // no handler: the shown text stays
    EXPECT_EQ(Tree->GetText(n, NoColumn), u"old");
    EXPECT_EQ(Tree->CachedTextWidth(n), 0u);
    Tree->OnNewText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, const String& V) { stored = V; };
    Tree->SetText(n, NoColumn, u"new");
    EXPECT_EQ(Tree->GetText(n, NoColumn), u"new");
}

// ---- the caption chunk

std::vector<std::uint8_t> Bytes(TMemoryStream& S)
{
    std::vector<std::uint8_t> b(static_cast<std::size_t>(S.Size()));
    S.Seek(0, soBeginning);
    if (!b.empty()) S.ReadBuffer(b.data(), static_cast<std::int64_t>(b.size()));
    return b;
}

TEST_F(StringTreeText, CaptionChunkRoundTrip)
{
    PLazyNode a = Tree->AddChild(nullptr);
    Tree->AddChild(nullptr);
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = N == a ? u"Zähler" : u"";
    };
    Tree->OnSaveNode = [](TBaseLazyTree*, PLazyNode, TStream& S) {
        const std::uint8_t user[2] = {0xAB, 0xCD};
        S.WriteBuffer(user, 2);
    };
    Tree->GetFirst();
    Tree->GetNext(a);
    TMemoryStream stream;
    Tree->SaveToStream(stream);
    const std::vector<std::uint8_t> bytes = Bytes(stream);
    // Node a: base chunk, user chunk (type 4), then the caption chunk (type 3).
    const std::uint8_t caption[] = {3, 0, 0, 0, 12, 0, 0, 0, 'Z', 0, 0xE4, 0, 'h', 0, 'l', 0, 'e', 0, 'r', 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(caption), std::end(caption));
    ASSERT_NE(at, bytes.end());
    const std::uint8_t userChunk[] = {4, 0, 0, 0, 2, 0, 0, 0, 0xAB, 0xCD};
    auto user = std::search(bytes.begin(), bytes.end(), std::begin(userChunk), std::end(userChunk));
    ASSERT_NE(user, bytes.end());
    EXPECT_EQ(user + sizeof userChunk, at);
    // The empty text of b writes no caption chunk: one type-3 header in all.
    const std::uint8_t type3[] = {3, 0, 0, 0};
    int headers = 0;
    for (auto it = bytes.begin(); (it = std::search(it, bytes.end(), std::begin(type3), std::end(type3))) != bytes.end(); ++it)
        ++headers;
    EXPECT_EQ(headers, 1);

    // Reading sets the text through the setter.
    TextProbe reader(nullptr);
    std::vector<String> received;
    reader.OnNewText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, const String& V) { received.push_back(V); };
    stream.Seek(0, soBeginning);
    reader.LoadFromStream(stream);
    EXPECT_EQ(received, std::vector<String>{u"Zähler"});
    EXPECT_TREE_OK(reader);
}

TEST_F(StringTreeText, OddSizedCaptionChunkIsReadWithoutOverrun)
{
    PLazyNode a = Tree->AddChild(nullptr);
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = u"AB";
    };
    Tree->GetFirst();
    (void)a;
    TMemoryStream stream;
    Tree->SaveToStream(stream);
    std::vector<std::uint8_t> bytes = Bytes(stream);
    // Make the caption chunk 5 bytes: one more byte inside it, and every enclosing size
    // grows by one (the node chunk's size at offset 20).
    const std::uint8_t caption[] = {3, 0, 0, 0, 4, 0, 0, 0, 'A', 0, 'B', 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(caption), std::end(caption));
    ASSERT_NE(at, bytes.end());
    at[4] = 5;
    bytes.insert(at + sizeof caption, 0x7F);
    bytes[20] = static_cast<std::uint8_t>(bytes[20] + 1);
    TMemoryStream damaged;
    damaged.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    damaged.Seek(0, soBeginning);
    TextProbe reader(nullptr);
    std::vector<String> received;
    reader.OnNewText = [&](TCustomLazyStringTree*, PLazyNode, TColumnIndex, const String& V) { received.push_back(V); };
    reader.LoadFromStream(damaged);
    EXPECT_EQ(received, std::vector<String>{u"AB"});
    EXPECT_EQ(reader.RootNodeCount(), 1u);
}

TEST_F(StringTreeText, LookMultilineAndStaticText)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "pictures are rendered on request (TEST_PICTURES)";
    Tree->SetWidth(160);
    auto options = Tree->TreeOptions().StringOptions();
    Tree->TreeOptions().SetStringOptions(TLTStringOptions(options | (1u << toShowStaticText)));
    PLazyNode a = Tree->AddChild(nullptr);
    PLazyNode b = Tree->AddChild(a);
    PLazyNode c = Tree->AddChild(a);
    Tree->AddChild(nullptr);
    Tree->FullExpand();
    Tree->SetMultiline(b, true);
    Tree->SetNodeHeight(b, 48);
    Tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttStatic) {
            S = N == c ? u"(3 devices)" : u"";
            return;
        }
        S = N == b ? u"A multi-line node whose text wraps inside the narrow tree"
                   : N == c ? u"Meters" : N == a ? u"Converter with a long name" : u"Port";
    };
    Tree->SetSelected(c, true);
    TBitmap t(160, 120);
    Tree->PaintTree(t.Canvas(), {0, 0, 160, 120}, {0, 0}, PaintSet({poDrawSelection, poGridLines, poDrawFocusRect}));
    const std::string p = std::string(dir) + "/string-tree-text.png";
    t.SaveToFile(String(p.begin(), p.end()));
}

// ---- the owner-drawn tree

// A tree past the cache threshold: paints at the top, the middle and the end, and node
// invalidations, each followed by the view checks, which then look up positions through the
// position cache as well as without it.
TEST_F(StringTreeText, PaintsAndInvalidationsKeepTheViewConsistentWithTheCache)
{
    Tree->OnInitNode = [](TBaseLazyTree*, PLazyNode Parent, PLazyNode, TLazyNodeInitStates& S) {
        if (!Parent) S |= InitBit(ivsHasChildren) | InitBit(ivsExpanded);
    };
    Tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& C) { C = 49; };
    Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, String& S) {
        if (T == ttNormal) S = u"Row " + String(1, char16_t(u'a' + N->Index % 26));
    };
    Tree->SetRootNodeCount(100);  // 5,000 rows
    Tree->FullExpand();
    Tree->MarkCacheStale();
    Tree->RequestCacheValidation();
    for (int i = 0; i < 5000 && !Tree->HasState(tsUseCache); ++i) plat::CheckSynchronize(2);
    ASSERT_TRUE(Tree->HasState(tsUseCache));
    ASSERT_EQ(Tree->VisibleCount(), 5000u);
    const int range = static_cast<int>(Tree->RootNode()->TotalHeight) - static_cast<int>(Tree->DefaultNodeHeight());
    for (int top : {0, range / 2, range - 60}) {
        SCOPED_TRACE(top);
        TBitmap t(200, 60);
        testing::FontHookProbe font(t.Canvas());
        Tree->PaintTree(t.Canvas(), {0, top, 200, top + 60}, {0, 0}, PaintBit(poGridLines));
        EXPECT_VIEW_OK(*Tree, &font, 200);
    }
    int nodeTop = 0;
    PLazyNode middle = Tree->GetNodeAt(0, range / 2, false, nodeTop);
    ASSERT_NE(middle, nullptr);
    Tree->InvalidateNode(middle);
    EXPECT_VIEW_OK(*Tree, nullptr, 200);
    Tree->BeginUpdate();
    EXPECT_EQ(Tree->InvalidateNode(middle), (TRect{-1, -1, -1, -1}));
    Tree->EndUpdate();
    EXPECT_VIEW_OK(*Tree, nullptr, 200);
}

TEST(DrawTree, ContentWidthAndMarginComeFromItsHandlers)
{
    {
        TLazyDrawTree drawn(nullptr);
        TLazyStringTree texts(nullptr);
        EXPECT_EQ(drawn.DefaultHintKind(), vhkOwnerDraw);
        EXPECT_EQ(texts.DefaultHintKind(), vhkText);
    }
    PrepareSharedResources();
    TLazyDrawTree tree(nullptr);
    PLazyNode n = tree.AddChild(nullptr);
    TBitmap probe(1, 1);
    EXPECT_EQ(tree.DoGetNodeWidth(n, NoColumn, probe.Canvas()), 2 * tree.TextMargin());
    tree.OnGetNodeWidth = [](TCustomLazyDrawTree*, TCanvas*, PLazyNode, TColumnIndex, int& W) { W += 50; };
    EXPECT_EQ(tree.DoGetNodeWidth(n, NoColumn, probe.Canvas()), 2 * tree.TextMargin() + 50);
    EXPECT_EQ(tree.GetCellContentMargin(n, NoColumn, ccmtAllSides, probe.Canvas()), (TPoint{0, 0}));
    tree.FOnGetCellContentMargin = [](TCustomLazyDrawTree*, TCanvas*, PLazyNode, TColumnIndex, TLTCellContentMarginType,
                                      TPoint& M) { M = {3, 4}; };
    EXPECT_EQ(tree.GetCellContentMargin(n, NoColumn, ccmtAllSides, probe.Canvas()), (TPoint{3, 4}));
    int drawn = 0;
    TBitmap t(100, 18);
    tree.PaintTree(t.Canvas(), {0, 0, 100, 18}, {0, 0}, 0);   // no handler: no content, no failure
    tree.OnDrawNode = [&](TCustomLazyDrawTree*, const TLTPaintInfo& P) {
        ++drawn;
        EXPECT_EQ(P.Node, n);
        P.Canvas->Brush()->SetColor(clRed);
        P.Canvas->FillRect(P.ContentRect);
    };
    tree.PaintTree(t.Canvas(), {0, 0, 100, 18}, {0, 0}, 0);
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(t.Canvas()->Pixels(90, 9), clRed);
}

} // namespace
} // namespace vtree
