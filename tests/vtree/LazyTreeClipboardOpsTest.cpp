// Copy, cut and paste of nodes through the offscreen clipboard: marks and pending states,
// pastes into the same and another tree, the cut that completes in its own tree, another
// program taking the clipboard, flushing, refusals and the clipboard messages.
#include "ExchangeFixture.h"
#include "TestSupport.h"

using namespace vtree;
using namespace vtree::testing;

namespace {

class ClipboardOpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::Clipboard().Clear();
        A = std::make_unique<TBaseLazyTree>(nullptr);
        B = std::make_unique<TBaseLazyTree>(nullptr);
        MakeExchangeTree(*A);
        MakeExchangeTree(*B);
        N1 = AddNumbered(*A, nullptr, 1);
        N2 = AddNumbered(*A, N1, 2);
        N3 = AddNumbered(*A, nullptr, 3);
        N4 = AddNumbered(*A, nullptr, 4);
        AddNumbered(*B, nullptr, 10);
    }
    void TearDown() override
    {
        plat::FailClipboardRead(false);
        plat::HoldClipboard(false);
        plat::Clipboard().Clear();
    }
    void Ok()
    {
        EXPECT_EXCHANGE_OK(*A);
        EXPECT_EXCHANGE_OK(*B);
    }
    void Select(TBaseLazyTree& T, std::initializer_list<PLazyNode> Nodes)
    {
        T.ClearSelection();
        for (PLazyNode n : Nodes) T.SetSelected(n, true);
    }
    // The numbers of the nodes the clipboard's tree data holds, pasted into a scratch tree.
    std::string ClipboardNodes()
    {
        TBaseLazyTree scratch(nullptr);
        MakeExchangeTree(scratch);
        std::shared_ptr<plat::IDataObject> data;
        EXPECT_EQ(plat::OleGetClipboard(data), plat::S_OK);
        scratch.ProcessOLEData(nullptr, data, nullptr, amAddChildLast, false);
        return Shape(scratch);
    }

    std::unique_ptr<TBaseLazyTree> A, B;
    PLazyNode N1 = nullptr, N2 = nullptr, N3 = nullptr, N4 = nullptr;
};

TEST_F(ClipboardOpsTest, CopyWithAnEmptySelectionChangesNothing)
{
    plat::Clipboard().SetAsText(u"before");
    A->CopyToClipboard();
    A->CutToClipboard();
    EXPECT_EQ(plat::Clipboard().AsText(), u"before");
    EXPECT_FALSE(A->HasState(tsCopyPending));
    EXPECT_FALSE(A->HasState(tsCutPending));
    EXPECT_EQ(Shape(*A), "1(2) 3 4");
    Ok();
}

TEST_F(ClipboardOpsTest, CopyThenPasteTwiceIntoTheSameTree)
{
    Select(*A, {N1, N3});
    A->CopyToClipboard();
    EXPECT_TRUE(A->HasState(tsCopyPending));
    EXPECT_EQ(Shape(*A), "1*(2) 3* 4");
    EXPECT_EQ(A->CutCopyCount(), 2u);
    Ok();
    A->SetFocusedNode(nullptr);
    EXPECT_TRUE(A->PasteFromClipboard());
    Ok();
    EXPECT_TRUE(A->PasteFromClipboard());
    EXPECT_EQ(Shape(*A), "1*(2) 3* 4 1(2) 3 1(2) 3") << "two copies; the originals stay marked";
    EXPECT_TRUE(A->HasState(tsCopyPending));
    EXPECT_EQ(A->SelectedCount(), 6) << "copies of selected nodes come selected, merged once per paste";
    Ok();
}

TEST_F(ClipboardOpsTest, RefusedCopiesAreNotInserted)
{
    Select(*A, {N1, N3, N4});
    A->CopyToClipboard();
    B->OnNodeCopying = [](TBaseLazyTree* T, PLazyNode N, PLazyNode, bool& Allowed) { Allowed = Id(*T, N) != 3; };
    EXPECT_TRUE(B->PasteFromClipboard());
    EXPECT_EQ(Shape(*B), "10 1(2) 4");
    EXPECT_EQ(B->SelectedCount(), 2);
    Ok();
}

TEST_F(ClipboardOpsTest, PasteGoesWhereDefaultPasteModeSaysFromTheFocusedNode)
{
    Select(*A, {N4});
    A->CopyToClipboard();
    struct Case {
        TLTNodeAttachMode Mode;
        const char* Shape;
    };
    for (Case c : {Case{amAddChildLast, "10(4)"}, Case{amAddChildFirst, "10(4)"}, Case{amInsertBefore, "4 10"},
                   Case{amInsertAfter, "10 4"}}) {
        TBaseLazyTree t(nullptr);
        MakeExchangeTree(t);
        t.SetFocusedNode(AddNumbered(t, nullptr, 10));
        t.SetDefaultPasteMode(c.Mode);
        EXPECT_TRUE(t.PasteFromClipboard());
        EXPECT_EQ(Shape(t), c.Shape);
        EXPECT_EXCHANGE_OK(t);
    }
}

TEST_F(ClipboardOpsTest, CutThenPasteIntoAnotherTreeMovesTheNodes)
{
    Select(*A, {N1, N4});
    A->CutToClipboard();
    EXPECT_TRUE(A->HasState(tsCutPending));
    EXPECT_EQ(Shape(*A), "1*(2) 3 4*");
    Ok();
    B->SetFocusedNode(nullptr);
    EXPECT_TRUE(B->PasteFromClipboard());
    EXPECT_EQ(Shape(*A), "3");
    EXPECT_EQ(Shape(*B), "10 1(2) 4") << "moved, not marked in their new tree";
    EXPECT_FALSE(A->HasState(tsCutPending));
    Ok();
}

TEST_F(ClipboardOpsTest, CutPastedIntoItsOwnTreeLeavesNoMarksBehind)
{
    Select(*A, {N3});
    A->CutToClipboard();
    A->SetFocusedNode(N1);
    EXPECT_TRUE(A->PasteFromClipboard());
    EXPECT_EQ(Shape(*A), "1(2 3) 4") << "moved under the focused node, marks gone";
    EXPECT_FALSE(A->HasState(tsCutPending));
    Ok();
    // A later copy puts only its own node on the clipboard.
    Select(*A, {N4});
    A->CopyToClipboard();
    EXPECT_EQ(Shape(*A), "1(2 3) 4*");
    EXPECT_EQ(ClipboardNodes(), "4");
    Ok();
}

TEST_F(ClipboardOpsTest, AnotherProgramTakingTheClipboardClearsTheMarks)
{
    for (bool cut : {false, true}) {
        SCOPED_TRACE(cut);
        Select(*A, {N1, N3});
        if (cut) A->CutToClipboard();
        else A->CopyToClipboard();
        plat::Clipboard().SetAsText(u"someone else");
        EXPECT_EQ(Shape(*A), "1(2) 3 4") << "marks gone, nodes stay";
        EXPECT_FALSE(A->HasState(tsCopyPending));
        EXPECT_FALSE(A->HasState(tsCutPending));
        Ok();
    }
}

TEST_F(ClipboardOpsTest, ACopyReplacingTheTreesOwnKeepsOnlyTheNewMarks)
{
    Select(*A, {N1});
    A->CopyToClipboard();
    Select(*A, {N3});
    A->CutToClipboard();
    EXPECT_EQ(Shape(*A), "1(2) 3* 4");
    EXPECT_TRUE(A->HasState(tsCutPending));
    EXPECT_FALSE(A->HasState(tsCopyPending));
    Select(*B, {B->GetFirst()});
    B->CopyToClipboard();
    EXPECT_EQ(Shape(*A), "1(2) 3 4") << "another tree took the clipboard";
    EXPECT_EQ(Shape(*B), "10*");
    Ok();
}

TEST_F(ClipboardOpsTest, DisabledSelectedNodesAreNotMarked)
{
    Select(*A, {N1, N2, N3});
    A->SetDisabled(N3, true);
    A->CopyToClipboard();
    EXPECT_EQ(Shape(*A), "1*(2*) 3 4") << "a selected child is marked too; the disabled node is not";
    EXPECT_EQ(ClipboardNodes(), "1(2)") << "the child goes with its parent";
    Ok();
}

TEST_F(ClipboardOpsTest, CutCopyWalksAnswerNothingWhileNothingIsPending)
{
    N3->Include(vsCutOrCopy);
    EXPECT_EQ(A->GetFirstCutCopy(), nullptr);
    EXPECT_EQ(A->CutCopyCount(), 0u);
    N3->Exclude(vsCutOrCopy);
    Select(*A, {N2, N4});
    A->CopyToClipboard();
    EXPECT_EQ(A->GetFirstCutCopy(), N2);
    EXPECT_EQ(A->GetNextCutCopy(N2), N4);
    EXPECT_EQ(A->GetNextCutCopy(N4), nullptr);
    EXPECT_EQ(A->GetPreviousCutCopy(nullptr), N4);
    EXPECT_EQ(A->GetPreviousCutCopy(N4), N2);
    EXPECT_EQ(A->GetSortedCutCopySet(false), (TNodeArray{N2, N4}));
    Select(*A, {N1, N2});
    A->CopyToClipboard();
    EXPECT_EQ(A->GetSortedCutCopySet(false), (TNodeArray{N1, N2}));
    EXPECT_EQ(A->GetSortedCutCopySet(true), (TNodeArray{N1})) << "resolved: descendants left out";
}

TEST_F(ClipboardOpsTest, PasteRefusals)
{
    plat::Clipboard().SetAsText(u"no tree data");
    EXPECT_FALSE(B->PasteFromClipboard());
    EXPECT_EQ(Shape(*B), "10");

    Select(*A, {N3});
    A->CopyToClipboard();
    B->TreeOptions().SetMiscOptions(WithMiscOption(B->TreeOptions().MiscOptions(), toReadOnly));
    EXPECT_FALSE(B->PasteFromClipboard());
    B->CutToClipboard();
    EXPECT_FALSE(B->HasState(tsCutPending)) << "a read-only tree does not cut";

    plat::FailClipboardRead(true);
    EXPECT_TRUE(testsupport::ThrowsWith<ELazyTreeError>([&] { A->PasteFromClipboard(); }, u"Clipboard operation failed."));
    plat::FailClipboardRead(false);
    Ok();
}

TEST_F(ClipboardOpsTest, ARefusedClipboardLeavesTheTreeAsItWas)
{
    Select(*A, {N3});
    plat::HoldClipboard(true);
    A->CopyToClipboard();
    A->CutToClipboard();
    plat::HoldClipboard(false);
    EXPECT_EQ(Shape(*A), "1(2) 3 4");
    EXPECT_FALSE(A->HasState(tsCopyPending) || A->HasState(tsCutPending));
    Ok();
}

TEST_F(ClipboardOpsTest, FlushingKeepsTheDataAndEndsTheMarks)
{
    Select(*A, {N1});
    A->CopyToClipboard();
    A->FlushClipboard();
    EXPECT_EQ(Shape(*A), "1(2) 3 4");
    EXPECT_FALSE(A->HasState(tsCopyPending));
    EXPECT_FALSE(A->HasState(tsClipboardFlushing));
    Ok();
    A.reset();
    EXPECT_TRUE(B->PasteFromClipboard()) << "the data no longer needs its tree";
    EXPECT_EQ(Shape(*B), "10 1(2)");
    EXPECT_EXCHANGE_OK(*B);
}

TEST_F(ClipboardOpsTest, ATreeDestroyedWhileOnTheClipboardIsNotRead)
{
    Select(*A, {N1});
    A->CutToClipboard();
    A.reset();
    EXPECT_FALSE(B->PasteFromClipboard());
    EXPECT_EQ(Shape(*B), "10");
    EXPECT_EXCHANGE_OK(*B);
}

TEST_F(ClipboardOpsTest, ClipboardMessagesCallTheOperations)
{
    Select(*A, {N4});
    A->Perform(plat::WM_COPY);
    EXPECT_TRUE(A->HasState(tsCopyPending));
    B->Perform(plat::WM_PASTE);
    EXPECT_EQ(Shape(*B), "10 4");
    A->Perform(plat::WM_CUT);
    EXPECT_TRUE(A->HasState(tsCutPending));
    Ok();
}

TEST_F(ClipboardOpsTest, TheClipboardOffersTheTreeFormatUnderItsPrivateType)
{
    Select(*A, {N3});
    A->CopyToClipboard();
    const std::string bytes = plat::testing::SystemClipboardData("application/x-configurator-lazy-tree-data");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<std::size_t>(static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8),
              bytes.size() - 4);
}

// A string tree of two columns offering every format it can render: other programs read
// the cut/copy set as text, HTML, RTF and CSV from the clipboard.
TEST(StringTreeClipboardTest, TheClipboardOffersTheTextFormats)
{
    plat::Clipboard().Clear();
    TLazyStringTree tree(nullptr);
    MakeExchangeTree(tree);
    plat::TStringList formats;
    for (const char16_t* f : {u"Lazy Tree Data", u"HTML Format", u"Rich Text Format", u"Rich Text Format Without Objects",
                              u"CSV", u"Unicode text", u"Plain text"})
        formats.Add(f);
    tree.SetClipboardFormats(&formats);
    for (const char16_t* c : {u"Name", u"Value"}) tree.Header().Columns().Add()->SetText(c);
    tree.Header().SetMainColumn(0);
    tree.OnGetText = [&](TCustomLazyStringTree* t, PLazyNode n, TColumnIndex column, TVSTTextType, plat::String& text) {
        text = (column == 1 ? u"v" : u"n") + plat::String(1, char16_t(u'0' + Id(*t, n)));
    };
    PLazyNode a = AddNumbered(tree, nullptr, 1);
    AddNumbered(tree, nullptr, 2);
    PLazyNode c = AddNumbered(tree, nullptr, 3);
    tree.SetSelected(a, true);
    tree.SetSelected(c, true);
    tree.CopyToClipboard();
    tree.ClearSelection();  // the clipboard renders the copy set, not the selection

    EXPECT_EQ(plat::testing::SystemClipboardData("text/plain"), "Name\tValue\r\nn1\tv1\r\nn3\tv3\r\n");
    EXPECT_EQ(plat::Clipboard().AsText(), u"Name\tValue\r\nn1\tv1\r\nn3\tv3\r\n");
    const std::string html = plat::testing::SystemClipboardData("text/html");
    EXPECT_NE(html.find("n3"), std::string::npos);
    EXPECT_EQ(html.find("n2"), std::string::npos);
    EXPECT_NE(html.find("<table"), std::string::npos);
    EXPECT_EQ(html.find("StartFragment"), std::string::npos) << "the fragment alone, without the block's header";
    EXPECT_EQ(plat::testing::SystemClipboardData("application/x-configurator-html-format").rfind("Version:", 0), 0u);
    EXPECT_EQ(plat::testing::SystemClipboardData("text/rtf").rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(plat::testing::SystemClipboardData("text/csv").find("n3"), std::string::npos);
    EXPECT_FALSE(plat::testing::SystemClipboardData("application/x-configurator-lazy-tree-data").empty());
    EXPECT_EXCHANGE_OK(tree);
}

} // namespace
