// Drag and drop of trees through the layer's in-process session: the event order, effects,
// drop modes, edge scrolling and expansion on the fake clock, moves into the own subtree,
// deleting moved nodes, the framework's control drag, and hostile node data dropped on a tree.
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InputInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragDrop.h"
#include "plat/ScreenCapture.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.SharedResources.h"
#include "TreeInvariants.h"
#include "plat/Forms.h"
#include "plat/Streams.h"
#include "plat/Testing.h"

namespace vtree::testing {
namespace {

using namespace plat;
using Log = std::vector<std::string>;

class DDTree : public TLazyStringTree {
public:
    using TLazyStringTree::TLazyStringTree;
    using TBaseLazyTree::DropModeAt;
    using TBaseLazyTree::ProposeDropEffect;
    using TBaseLazyTree::StoreNode;
    void CallPrepareDragImage(plat::TPoint HotSpot) { PrepareDragImage(HotSpot, nullptr); }
};

// "Lazy Tree Data" handed out as given (a 32-bit size, then node chunks), as another program
// might offer it.
class PayloadData : public IDataObject {
public:
    std::string Payload;
    HRESULT GetData(const plat::TFormatEtc& F, TStgMedium& M) override
    {
        if (F.Format != TreeDataFormat) return DV_E_FORMATETC;
        M.Tymed = TYMED_HGLOBAL;
        M.Global = TGlobalHandle::Alloc(Payload.size());
        if (!Payload.empty()) {
            std::memcpy(GlobalLock(M.Global), Payload.data(), Payload.size());
            GlobalUnlock(M.Global);
        }
        return S_OK;
    }
    HRESULT GetDataHere(const plat::TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const plat::TFormatEtc& F) override { return F.Format == TreeDataFormat ? S_OK : DV_E_FORMATETC; }
    HRESULT GetCanonicalFormatEtc(const plat::TFormatEtc&, plat::TFormatEtc&) override { return E_NOTIMPL; }
    HRESULT SetData(const plat::TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int, std::shared_ptr<IEnumFormatEtc>&) override { return E_NOTIMPL; }
};

// The drag states of a tree and its image after a drag step.
std::string CheckDragInvariants(DDTree& T, bool DragEnded)
{
    if (TLTDragImage* image = T.DragImage()) {
        const auto s = image->States();
        const bool inDrag = s & DisBit(disInDrag), prepared = s & DisBit(disPrepared);
        if (inDrag != prepared) return "disInDrag without disPrepared or the reverse";
        if (prepared != (image->Picture() != nullptr)) return "the picture does not follow disPrepared";
    }
    if (DragEnded) {
        for (TLazyTreeState s : {tsOLEDragging, tsOLEDragPending, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished,
                                 tsUserDragObject})
            if (T.HasState(s)) return "a drag state is left after the drag: " + std::to_string(s);
        if (T.DropTarget()) return "a drop target is left after the drag";
        if (!T.DragSelection().empty()) return "the drag selection is left after the drag";
        if (DragDropRunning()) return "the exchange still runs a drag";
    }
    return CheckTreeInvariants(T);
}

class DragDropTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        plat::testing::UiTest::SetUp();
        PrepareSharedResources();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(20, 20, 520, 300);
        left = AddTree(0);
        right = AddTree(260);
        form->Show();
        plat::testing::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        plat::testing::UiTest::TearDown();
    }
    DDTree* AddTree(int X)
    {
        auto* t = new DDTree(form.get());
        t->SetParent(form.get());
        t->SetBounds(X, 0, 240, 200);
        t->SetBorderStyle(bsNone);
        t->SetDragMode(dmAutomatic);
        TStringList formats;
        formats.Add(u"Lazy Tree Data");
        t->SetClipboardFormats(&formats);
        auto& o = t->TreeOptions();
        o.SetMiscOptions(TLTMiscOptions(o.MiscOptions() | (TLTMiscOptions(1) << toAcceptOLEDrop)));
        o.SetSelectionOptions(TLTSelectionOptions(o.SelectionOptions() | (1u << toMultiSelect)));
        t->OnGetText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, String& T) {
            auto it = texts.find(N);
            T = it == texts.end() ? String(u"n") : it->second;
        };
        return t;
    }
    PLazyNode Add(DDTree* T, PLazyNode Parent, const char16_t* Text)
    {
        PLazyNode n = T->AddChild(Parent);
        texts[n] = Text;
        T->InvalidateNode(n);
        return n;
    }
    // Client point in the middle of a node's text.
    TPoint At(DDTree* T, PLazyNode N)
    {
        const TRect r = T->GetDisplayRect(N, NoColumn, true);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Presses on N, scripts the drag and moves past the threshold, which starts it.
    void DragFrom(DDTree* T, PLazyNode N, std::function<void()> Script)
    {
        const TPoint p = At(T, N);
        plat::testing::Press(T, p.X, p.Y);
        plat::testing::ScriptDrag(std::move(Script));
        plat::testing::Move(T, p.X + 8, p.Y, ssLeft);
    }
    void Over(DDTree* T, TPoint P, TShiftState S = ssLeft)
    {
        plat::testing::Move(T, P.X, P.Y, S);
        EXPECT_EQ(CheckDragInvariants(*left, false), "");
        EXPECT_EQ(CheckDragInvariants(*right, false), "");
    }
    void ExpectDragEnded()
    {
        EXPECT_EQ(CheckDragInvariants(*left, true), "");
        EXPECT_EQ(CheckDragInvariants(*right, true), "");
    }
    // Logs the right tree's drag-over states and drops; the drop copies through ProcessDrop.
    void LogRight(Log& L, bool Accept = true)
    {
        right->OnDragOver = [&L, Accept](TBaseLazyTree*, TObject*, TShiftState, TDragState S, TPoint, TDropMode,
                                         TDropEffect&, bool& A) {
            L.push_back(S == dsDragEnter ? "enter" : S == dsDragMove ? "over" : "leave");
            A = Accept;
        };
        right->OnDragDrop = [&L](TBaseLazyTree* T, TObject*, const std::shared_ptr<IDataObject>& D,
                                 const std::vector<std::uint16_t>&, TShiftState, TPoint, TDropEffect& E, TDropMode M) {
            L.push_back("drop");
            T->ProcessDrop(D, T->DropTarget(), E, M == dmAbove ? amInsertBefore : M == dmBelow ? amInsertAfter
                                                                                               : amAddChildLast);
        };
    }
    std::unique_ptr<TForm> form;
    DDTree *left = nullptr, *right = nullptr;
    std::map<PLazyNode, String> texts;
};

TEST_F(DragDropTest, EnterOverAndDropInOrderAndEscapeLeavesInstead)
{
    PLazyNode a = Add(left, nullptr, u"a");
    Add(left, nullptr, u"b");
    PLazyNode x = Add(right, nullptr, u"x");
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "escape" : "drop");
        Log log;
        LogRight(log);
        const std::uint32_t before = right->TotalCount();
        DragFrom(left, a, [&] {
            Over(right, At(right, x));
            Over(right, {At(right, x).X, At(right, x).Y + 1});
            if (escape) plat::testing::Key(VK_ESCAPE);
            plat::testing::Release(right, At(right, x).X, At(right, x).Y + 1);
        });
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log.front(), "enter");
        for (std::size_t i = 1; i + 1 < log.size(); ++i) EXPECT_EQ(log[i], "over");
        EXPECT_EQ(log.back(), escape ? "leave" : "drop");
        // The drop copied "a" from the other tree below or onto x.
        EXPECT_EQ(right->TotalCount(), before + (escape ? 0 : 1));
        EXPECT_EQ(left->LastDragEffect(), escape ? DROPEFFECT_NONE : DROPEFFECT_COPY);
        ExpectDragEnded();
        EXPECT_FALSE(left->HasState(tsLeftButtonDown));
    }
}

TEST_F(DragDropTest, WithoutAnOnDragOverHandlerNothingIsDropped)
{
    PLazyNode a = Add(left, nullptr, u"a");
    PLazyNode x = Add(right, nullptr, u"x");
    bool dropped = false;
    right->OnDragDrop = [&](TBaseLazyTree*, TObject*, const std::shared_ptr<IDataObject>&,
                            const std::vector<std::uint16_t>&, TShiftState, TPoint, TDropEffect&, TDropMode) {
        dropped = true;
    };
    DragFrom(left, a, [&] {
        Over(right, At(right, x));
        plat::testing::Release(right, At(right, x).X, At(right, x).Y);
    });
    EXPECT_FALSE(dropped);
    EXPECT_EQ(left->LastDragEffect(), DROPEFFECT_NONE);
    EXPECT_EQ(right->TotalCount(), 1u);
    ExpectDragEnded();
}

TEST_F(DragDropTest, ProposedEffectTable)
{
    const TDropEffect all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    const TDropEffect copyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    struct Case {
        const char* name;
        bool ownTree;
        TShiftState shift;
        TDropEffect allowed;
        TDropEffect expected;
    } cases[] = {
        {"own tree moves", true, 0, copyMove, DROPEFFECT_MOVE},
        {"foreign source copies", false, 0, copyMove, DROPEFFECT_COPY},
        {"own tree, Ctrl copies", true, ssCtrl, copyMove, DROPEFFECT_COPY},
        {"own tree, Ctrl+Alt copies", true, ssCtrl | ssAlt, all, DROPEFFECT_COPY},
        {"Ctrl+Shift links", true, ssCtrl | ssShift, all, DROPEFFECT_LINK},
        {"Ctrl+Shift without link: the default", true, ssCtrl | ssShift, copyMove, DROPEFFECT_MOVE},
        {"Alt links", false, ssAlt, all, DROPEFFECT_LINK},
        {"Shift moves a foreign drag", false, ssShift, all, DROPEFFECT_MOVE},
        {"own tree without move: allowed unchanged", true, 0, DROPEFFECT_COPY | DROPEFFECT_LINK,
         DROPEFFECT_COPY | DROPEFFECT_LINK},
        {"foreign without copy: allowed unchanged", false, 0, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(right->ProposeDropEffect(c.ownTree ? static_cast<TObject*>(right) : left, c.shift, c.allowed, {0, 0}),
                  c.expected);
    }
}

TEST_F(DragDropTest, AnEmptyDragOperationsSetOffersAllThree)
{
    PLazyNode a = Add(left, nullptr, u"a");
    PLazyNode x = Add(right, nullptr, u"x");
    TDropEffect offered = 0;
    right->OnDragOver = [&](TBaseLazyTree*, TObject*, TShiftState, TDragState S, TPoint, TDropMode, TDropEffect& E,
                            bool& A) {
        if (S == dsDragEnter) offered = E;
        A = true;
    };
    for (TDragOperations ops : {TDragOperations(0), TDragOperations(doCopy | doMove)}) {
        left->SetDragOperations(ops);
        // The shift makes the proposal keep every allowed effect except move.
        DragFrom(left, a, [&] {
            Over(right, At(right, x), ssLeft | ssCtrl | ssShift);
            plat::testing::Key(VK_ESCAPE);
            plat::testing::Release(right, At(right, x).X, At(right, x).Y);
        });
        EXPECT_EQ(offered, ops == 0 ? DROPEFFECT_LINK : DROPEFFECT_COPY);
        ExpectDragEnded();
    }
}

TEST_F(DragDropTest, DropModeTable)
{
    PLazyNode x = Add(right, nullptr, u"x");
    const TRect row = right->GetDisplayRect(x, NoColumn, false);
    const int mid = (row.Top + row.Bottom) / 2;
    struct Case {
        const char* name;
        bool dropMark;
        bool reportMode;
        bool fullRow;
        THitPositions where;
        int y;
        TDropMode expected;
    } cases[] = {
        {"no drop mark: on the node", false, false, false, HitBit(hiOnItem) | HitBit(hiOnItemRight), row.Top, dmOnNode},
        {"label: on the node", true, false, false, HitBit(hiOnItem) | HitBit(hiOnItemLabel), row.Top, dmOnNode},
        {"icon: on the node", true, false, false, HitBit(hiOnItem) | HitBit(hiOnNormalIcon), row.Top, dmOnNode},
        {"upper half: above", true, false, false, HitBit(hiOnItem) | HitBit(hiOnItemRight), mid - 1, dmAbove},
        {"exact middle: below", true, false, false, HitBit(hiOnItem) | HitBit(hiOnItemRight), mid, dmBelow},
        {"lower half: below", true, false, false, HitBit(hiOnItem) | HitBit(hiOnItemRight), row.Bottom - 1, dmBelow},
        {"report mode off the label: nowhere", true, true, false, HitBit(hiOnItem) | HitBit(hiOnItemRight), mid,
         dmNowhere},
        {"report mode on the label: on the node", true, true, false, HitBit(hiOnItem) | HitBit(hiOnItemLabel), mid,
         dmOnNode},
        {"report mode, full-row drag: below", true, true, true, HitBit(hiOnItem) | HitBit(hiOnItemRight), mid, dmBelow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto& o = right->TreeOptions();
        TLTPaintOptions po = o.PaintOptions() & ~(TLTPaintOptions(1) << toShowDropmark);
        if (c.dropMark) po |= TLTPaintOptions(1) << toShowDropmark;
        o.SetPaintOptions(po);
        TLTMiscOptions mo = o.MiscOptions() & ~((TLTMiscOptions(1) << toReportMode) | (TLTMiscOptions(1) << toFullRowDrag));
        if (c.reportMode) mo |= TLTMiscOptions(1) << toReportMode;
        if (c.fullRow) mo |= TLTMiscOptions(1) << toFullRowDrag;
        o.SetMiscOptions(mo);
        THitInfo hit;
        hit.HitNode = x;
        hit.HitPositions = c.where;
        hit.HitColumn = right->Header().MainColumn;
        EXPECT_EQ(right->DropModeAt({10, c.y}, hit, row), c.expected);
        if (c.expected == dmNowhere) EXPECT_EQ(hit.HitNode, nullptr);
    }
    THitInfo none;
    EXPECT_EQ(right->DropModeAt({10, 10}, none, {}), dmNowhere);
}

TEST_F(DragDropTest, HoveringExpandsAfterAutoExpandDelayAndEdgesScrollAfterAutoScrollDelay)
{
    plat::testing::SetTicks(5000);
    auto& o = right->TreeOptions();
    o.SetAutoOptions(o.AutoOptions() | (TLTAutoOptions(1) << toAutoDropExpand) | (TLTAutoOptions(1) << toAutoScroll));
    right->SetAutoExpandDelay(700);
    right->SetAutoScrollDelay(300);
    PLazyNode a = Add(left, nullptr, u"a");
    PLazyNode folder = Add(right, nullptr, u"folder");
    Add(right, folder, u"inside");
    for (int i = 0; i < 40; ++i) Add(right, nullptr, u"row");
    Log log;
    LogRight(log);
    bool expandedEarly = true, expandedLate = false;
    int offsetEarly = -1, offsetLate = 0;
    DragFrom(left, a, [&] {
        Over(right, At(right, folder));
        plat::testing::AdvanceClock(699);
        expandedEarly = folder->Has(vsExpanded);
        plat::testing::AdvanceClock(1);
        expandedLate = folder->Has(vsExpanded);
        // The bottom edge: no scrolling before the delay.
        const TPoint edge{60, right->ClientHeight() - 3};
        Over(right, edge);
        plat::testing::AdvanceClock(299);
        Over(right, {edge.X + 1, edge.Y});
        offsetEarly = right->OffsetY();
        plat::testing::AdvanceClock(1);
        Over(right, edge);
        offsetLate = right->OffsetY();
        plat::testing::Key(VK_ESCAPE);
        plat::testing::Release(right, edge.X, edge.Y);
    });
    EXPECT_FALSE(expandedEarly);
    EXPECT_TRUE(expandedLate);
    EXPECT_EQ(offsetEarly, 0);
    EXPECT_LT(offsetLate, 0);
    ExpectDragEnded();
}

TEST_F(DragDropTest, AMoveIntoTheOwnSubtreeSkipsTheTargetsAncestors)
{
    PLazyNode a = Add(left, nullptr, u"a");
    PLazyNode a1 = Add(left, a, u"a1");
    PLazyNode b = Add(left, nullptr, u"b");
    left->FullExpand();
    left->AddToSelection(a);
    left->AddToSelection(b);
    left->OnDragOver = [](TBaseLazyTree*, TObject*, TShiftState, TDragState, TPoint, TDropMode, TDropEffect&,
                          bool& A) { A = true; };
    left->OnDragDrop = [&](TBaseLazyTree* T, TObject* S, const std::shared_ptr<IDataObject>& D,
                           const std::vector<std::uint16_t>&, TShiftState, TPoint, TDropEffect& E, TDropMode) {
        EXPECT_EQ(S, left);
        EXPECT_EQ(E, DROPEFFECT_MOVE);
        EXPECT_TRUE(T->ProcessDrop(D, a1, E, amAddChildLast));
    };
    const TPoint onA1 = At(left, a1);
    DragFrom(left, b, [&] {
        Over(left, onA1);
        plat::testing::Release(left, onA1.X, onA1.Y);
    });
    // "a" holds the target and stays; "b" went under a1; the move reported no effect back.
    EXPECT_EQ(PLazyNode(a->Parent), left->RootNode());
    EXPECT_EQ(PLazyNode(b->Parent), a1);
    EXPECT_EQ(left->LastDragEffect(), DROPEFFECT_NONE);
    EXPECT_EQ(left->TotalCount(), 3u);
    ExpectDragEnded();
}

TEST_F(DragDropTest, AutoDeleteMovedNodesRemovesTheSourcesNodesAfterAMove)
{
    for (bool autoDelete : {false, true}) {
        SCOPED_TRACE(autoDelete);
        left->Clear();
        right->Clear();
        PLazyNode a = Add(left, nullptr, u"a");
        Add(left, nullptr, u"b");
        PLazyNode x = Add(right, nullptr, u"x");
        auto& o = left->TreeOptions();
        TLTAutoOptions ao = o.AutoOptions() & ~(TLTAutoOptions(1) << toAutoDeleteMovedNodes);
        if (autoDelete) ao |= TLTAutoOptions(1) << toAutoDeleteMovedNodes;
        o.SetAutoOptions(ao);
        right->OnDragOver = [](TBaseLazyTree*, TObject*, TShiftState, TDragState, TPoint, TDropMode, TDropEffect& E,
                               bool& A) {
            E = DROPEFFECT_MOVE;
            A = true;
        };
        // The target copies from the node data and leaves the move to the source.
        right->OnDragDrop = [&](TBaseLazyTree* T, TObject*, const std::shared_ptr<IDataObject>& D,
                                const std::vector<std::uint16_t>&, TShiftState, TPoint, TDropEffect& E, TDropMode) {
            EXPECT_TRUE(T->ProcessOLEData(nullptr, D, x, amInsertAfter, false));
            E = DROPEFFECT_MOVE;
        };
        DragFrom(left, a, [&] {
            Over(right, At(right, x));
            plat::testing::Release(right, At(right, x).X, At(right, x).Y);
        });
        EXPECT_EQ(left->LastDragEffect(), DROPEFFECT_MOVE);
        EXPECT_EQ(right->TotalCount(), 2u);
        EXPECT_EQ(left->TotalCount(), autoDelete ? 1u : 2u);
        ExpectDragEnded();
    }
}

TEST_F(DragDropTest, AControlDragEntersMovesDropsAndReleasesTheButtonState)
{
    left->SetDragType(dtVCL);
    PLazyNode a = Add(left, nullptr, u"a");
    PLazyNode x = Add(right, nullptr, u"x");
    Log log;
    TObject* seenSource = nullptr;
    right->OnDragOver = [&](TBaseLazyTree*, TObject* S, TShiftState, TDragState St, TPoint, TDropMode,
                            TDropEffect&, bool& A) {
        log.push_back(St == dsDragEnter ? "enter" : St == dsDragMove ? "over" : "leave");
        seenSource = S;
        A = true;
    };
    right->OnDragDrop = [&](TBaseLazyTree* T, TObject* S, const std::shared_ptr<IDataObject>& D,
                            const std::vector<std::uint16_t>& F, TShiftState, TPoint, TDropEffect& E, TDropMode) {
        log.push_back("drop");
        EXPECT_EQ(S, left);
        EXPECT_EQ(D, nullptr);
        EXPECT_TRUE(F.empty());
        EXPECT_EQ(E, DROPEFFECT_MOVE);  // the proposal for a foreign source with Shift
        EXPECT_EQ(T->DropTarget(), x);
    };
    const TPoint p = At(left, a);
    plat::testing::Press(left, p.X, p.Y);
    EXPECT_TRUE(left->Dragging());
    plat::testing::Move(left, p.X + 10, p.Y, ssLeft);
    const TPoint onX = At(right, x);
    plat::testing::Move(right, onX.X, onX.Y, ssLeft);
    EXPECT_TRUE(right->HasState(tsVCLDragging));
    plat::testing::KeyDown(VK_SHIFT);
    plat::testing::Move(right, onX.X + 1, onX.Y, ssLeft | ssShift);
    plat::testing::Release(right, onX.X + 1, onX.Y, mbLeft, ssShift);
    plat::testing::KeyUp(VK_SHIFT);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "enter");
    EXPECT_EQ(log.back(), "drop");
    EXPECT_EQ(seenSource, left);
    EXPECT_FALSE(left->HasState(tsLeftButtonDown));
    EXPECT_FALSE(left->Dragging());
    ExpectDragEnded();
    EXPECT_EQ(CheckInputInvariants(*left, true), "");
}

// Node data from another program may be anything: mutated payloads (size prefix and chunks)
// dropped on a tree never crash it, and the tree stays whole.
TEST_F(DragDropTest, MutatedNodeDataDroppedOnATreeKeepsItWhole)
{
    PLazyNode a = Add(left, nullptr, u"a");
    Add(left, a, u"a1");
    Add(left, a, u"a2");
    PLazyNode b = Add(left, nullptr, u"b");
    left->FullExpand();
    TMemoryStream s;
    left->StoreNode(s, a);
    left->StoreNode(s, b);
    const std::string chunks = s.Bytes();
    auto payload = [](std::int32_t Size, const std::string& Body) {
        return std::string(reinterpret_cast<const char*>(&Size), 4) + Body;
    };
    const std::int32_t n = static_cast<std::int32_t>(chunks.size());
    PLazyNode x = Add(right, nullptr, u"x");
    auto data = std::make_shared<PayloadData>();
    auto drop = [&](const std::string& Payload) {
        data->Payload = Payload;
        TDropEffect e = DROPEFFECT_COPY;
        right->ProcessDrop(data, x, e, amAddChildLast);
        EXPECT_TREE_OK(*right);
    };
    // The sound payload first: both nodes with their children arrive.
    drop(payload(n, chunks));
    EXPECT_EQ(right->GetChildCount(x), 2u);
    EXPECT_EQ(right->TotalCount(), 1u + 4u);
    // Size prefixes that lie: negative, larger than the block, absent.
    for (std::int32_t size : {-1, std::int32_t(0x80000000), n + 1, n + 1000, 0x7FFFFFFF}) {
        SCOPED_TRACE(size);
        const std::uint32_t before = right->TotalCount();
        drop(payload(size, chunks));
        EXPECT_EQ(right->TotalCount(), before);
    }
    drop(std::string("\x01\x02", 2));
    drop(payload(0, ""));
    // Random byte changes, cuts and insertions of the chunks.
    std::mt19937 rng(24);
    for (int round = 0; round < 400; ++round) {
        std::string body = chunks;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % body.size();
            switch (rng() % 3) {
            case 0: body[at] = static_cast<char>(rng()); break;
            case 1: body.erase(at, 1 + rng() % 8); break;
            default: body.insert(at, 1 + rng() % 4, static_cast<char>(rng())); break;
            }
            if (body.empty()) body = "x";
        }
        drop(payload(static_cast<std::int32_t>(body.size()), body));
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "round " << round;
            break;
        }
    }
}

TEST_F(DragDropTest, TheTreeIsADropTargetExactlyWhileAcceptOLEDropIsSet)
{
    EXPECT_NE(RegisteredDropTarget(right->Handle()), nullptr);
    auto& o = right->TreeOptions();
    o.SetMiscOptions(TLTMiscOptions(o.MiscOptions() & ~(TLTMiscOptions(1) << toAcceptOLEDrop)));
    EXPECT_EQ(RegisteredDropTarget(right->Handle()), nullptr);
    o.SetMiscOptions(TLTMiscOptions(o.MiscOptions() | (TLTMiscOptions(1) << toAcceptOLEDrop)));
    EXPECT_NE(RegisteredDropTarget(right->Handle()), nullptr);
    right->RecreateWnd();
    EXPECT_NE(RegisteredDropTarget(right->Handle()), nullptr);
}

} // namespace
} // namespace vtree::testing

namespace vtree::testing {
namespace {

using namespace plat;

// A screen of one colour per pixel column band that records what the image exchanges with it.
class FakeScreen : public TLTDragImageScreen {
public:
    struct Call {
        std::string What;
        TRect R;  // screen coordinates
        bool operator==(const Call&) const = default;
    };
    std::vector<Call>& Calls;
    explicit FakeScreen(std::vector<Call>& C) : Calls(C) {}
    // The screen's pixel at (x, y): blue carries x, green carries y.
    static TColor At(int X, int Y) { return TColor((X & 0xFF) << 16 | (Y & 0xFF) << 8); }
    void Capture(const TRect& R, TBitmap& Into, TPoint At_) override
    {
        Calls.push_back({"capture", R});
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) {
                auto* p = static_cast<std::uint8_t*>(Into.ScanLine(At_.Y + y - R.Top)) + 4 * (At_.X + x - R.Left);
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(y);
                p[2] = 0;
                p[3] = 255;
            }
    }
    void Restore(const TBitmap&, const TRect& Part, TPoint Position) override
    {
        Calls.push_back({"restore", {Position.X + Part.Left, Position.Y + Part.Top, Position.X + Part.Right,
                                     Position.Y + Part.Bottom}});
    }
    void Present(const TBitmap&, TPoint Position) override { Calls.push_back({"present", {Position.X, Position.Y, 0, 0}}); }
};

std::unique_ptr<TBitmap> Solid(int W, int H, TColor C)
{
    auto b = std::make_unique<TBitmap>(W, H);
    b->SetPixelFormat(pf32bit);
    b->Canvas()->Brush()->SetColor(C);
    b->Canvas()->FillRect({0, 0, W, H});
    return b;
}

// The background under the image always equals the screen under it (FakeScreen::At).
std::string BackMatchesScreen(const TLTDragImage& Image)
{
    const TBitmap* back = Image.BackImage();
    const TPoint pos = Image.ImagePosition();
    for (int y = 0; y < back->Height(); ++y)
        for (int x = 0; x < back->Width(); ++x) {
            const auto* p = static_cast<const std::uint8_t*>(back->ScanLine(y)) + 4 * x;
            if (p[0] != std::uint8_t(pos.X + x) || p[1] != std::uint8_t(pos.Y + y))
                return "background pixel " + std::to_string(x) + "," + std::to_string(y) + " is stale";
        }
    return "";
}

TEST(DragImageScreen, SmallMovesExchangeOnlyTheStripsAndLargeMovesTheWholeBackground)
{
    std::vector<FakeScreen::Call> calls;
    TLTDragImage image(nullptr);
    image.SetScreen(std::make_unique<FakeScreen>(calls));
    auto picture = Solid(40, 30, clRed);
    image.PrepareDrag(picture.get(), {100, 100}, {120, 115});
    EXPECT_TRUE(calls.empty()) << "a prepared image is hidden";
    image.ShowDragImage();
    using C = FakeScreen::Call;
    EXPECT_EQ(calls, (std::vector<C>{{"capture", {100, 100, 140, 130}}, {"present", {100, 100, 0, 0}}}));
    EXPECT_EQ(BackMatchesScreen(image), "");
    struct Case {
        const char* name;
        TPoint to;
        std::vector<C> expected;
    } cases[] = {
        {"right by 5: the left strip back, the right strip new",
         {125, 115},
         {{"restore", {100, 100, 105, 130}}, {"capture", {140, 105 - 5, 145, 130}}, {"present", {105, 100, 0, 0}}}},
        {"down by 4: the top strip back, the bottom strip new",
         {125, 119},
         {{"restore", {105, 100, 145, 104}}, {"capture", {105, 130, 145, 134}}, {"present", {105, 104, 0, 0}}}},
        {"right 40 (the image's width): all back, all new",
         {165, 119},
         {{"restore", {105, 104, 145, 134}}, {"capture", {145, 104, 185, 134}}, {"present", {145, 104, 0, 0}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calls.clear();
        EXPECT_TRUE(image.DragTo(c.to));
        EXPECT_EQ(calls, c.expected);
        EXPECT_EQ(BackMatchesScreen(image), "");
    }
    // A diagonal small move exchanges two strips each way and keeps the background right.
    calls.clear();
    EXPECT_TRUE(image.DragTo({160, 122}));
    int restores = 0, captures = 0;
    for (const C& c : calls) {
        restores += c.What == "restore";
        captures += c.What == "capture";
    }
    EXPECT_EQ(restores, 2);
    EXPECT_EQ(captures, 2);
    EXPECT_EQ(BackMatchesScreen(image), "");
    // The same point again: nothing moves and nothing is exchanged.
    calls.clear();
    EXPECT_FALSE(image.DragTo({160, 122}));
    EXPECT_TRUE(calls.empty());
    // Hiding gives the whole background back.
    image.HideDragImage();
    EXPECT_EQ(calls, (std::vector<C>{{"restore", {140, 107, 180, 137}}}));
}

// Without a compositor the screen shows the captured background with the picture blended on
// it: read back from the layer's composed screen, the image's centre is the picture's colour
// at the master alpha over the form below, and its colour-keyed corner is the form itself.
TEST_F(DragDropTest, TheShownImageIsThePictureBlendedOntoTheScreenBelow)
{
    form->SetColor(clWhite);
    form->Invalidate();
    plat::testing::ProcessEvents();
    TLTDragImage* image = left->DragImage();
    auto picture = Solid(40, 40, clBlue);
    picture->Canvas()->Brush()->SetColor(clLime);
    picture->Canvas()->FillRect({0, 0, 6, 6});
    image->SetColorKey(clLime);
    const TPoint at = form->ClientToScreen({300, 230});
    TBitmap before;
    CaptureScreen({at.X, at.Y, at.X + 40, at.Y + 40}, before);
    image->PrepareDrag(picture.get(), at, {at.X + 20, at.Y + 20});
    image->ShowDragImage();
    ASSERT_TRUE(image->Visible());
    TBitmap shown;
    CaptureScreen({at.X, at.Y, at.X + 40, at.Y + 40}, shown);
    const int a = 255 * image->Transparency() >> 8;  // the centre is opaque: the master alpha alone
    const TColor below = plat::testing::PixelOf(before, 20, 20);
    const TColor centre = plat::testing::PixelOf(shown, 20, 20);
    EXPECT_NEAR(GetBValue(centre), (255 * a + GetBValue(below) * (256 - a)) >> 8, 2);
    EXPECT_NEAR(GetRValue(centre), (GetRValue(below) * (256 - a)) >> 8, 2);
    EXPECT_EQ(plat::testing::PixelOf(shown, 2, 2), plat::testing::PixelOf(before, 2, 2));
    // The screen below the image's own window is the form alone, as the image's captures see it.
    ASSERT_NE(image->Window(), nullptr);
    TBitmap under;
    CaptureScreen({at.X, at.Y, at.X + 40, at.Y + 40}, under, image->Window()->Handle());
    for (TPoint p : {TPoint{20, 20}, TPoint{2, 2}, TPoint{39, 0}})
        EXPECT_EQ(plat::testing::PixelOf(under, p.X, p.Y), plat::testing::PixelOf(before, p.X, p.Y)) << p.X << "," << p.Y;
    image->EndDrag();
    TBitmap after;
    CaptureScreen({at.X, at.Y, at.X + 40, at.Y + 40}, after);
    EXPECT_EQ(plat::testing::PixelOf(after, 20, 20), below);
}

// With data to drag, the picture goes to the system's drag with the alpha the blend would use
// (per pixel times the master alpha, keyed pixels clear) and the hot spot within it. Offscreen
// no system drag runs, so the tree shows its own image and does not enter disSystemSupport.
TEST_F(DragDropTest, ThePictureGoesToTheSystemDragWithTheBlendsAlpha)
{
    TLTDragImage* image = left->DragImage();
    auto picture = Solid(40, 40, clBlue);
    picture->Canvas()->Brush()->SetColor(clLime);
    picture->Canvas()->FillRect({0, 0, 6, 6});
    image->SetColorKey(clLime);
    image->SetFade(true);
    image->SetTransparency(200);
    std::shared_ptr<plat::IDataObject> data = left->DragManager()->CurrentDataObject();
    const TPoint at = form->ClientToScreen({300, 230});
    image->PrepareDrag(picture.get(), at, {at.X + 20, at.Y + 15}, data.get());
    EXPECT_EQ(image->States() & DisBit(disSystemSupport), 0u);
    image->ShowDragImage();
    EXPECT_TRUE(image->Visible());
    TBitmap shown;
    TPoint hot{};
    ASSERT_TRUE(plat::SystemDragImage(data.get(), shown, hot));
    EXPECT_EQ(hot, (TPoint{20, 15}));
    ASSERT_EQ(shown.Width(), 40);
    struct Case {
        int X, Y;
        int Alpha;
    };
    const double far = std::exp(-8.0 * std::sqrt(19.0 * 19.0 * 2) / 40.0);
    for (Case c : {Case{20, 20, 200}, Case{2, 2, 0}, Case{39, 39, int((std::lround(255 * far) * 200 + 127) / 255)}}) {
        const auto* p = static_cast<const std::uint8_t*>(shown.ScanLine(c.Y)) + 4 * c.X;
        EXPECT_EQ(p[3], c.Alpha) << c.X << "," << c.Y;
        if (c.Alpha) EXPECT_EQ(p[0], 255) << "blue stays blue";
    }
    image->EndDrag();
    EXPECT_EQ(image->States() & (DisBit(disInDrag) | DisBit(disPrepared) | DisBit(disSystemSupport)), 0u);
}

TEST_F(DragDropTest, NoImageKindPreparesNothingAndAPreparedImageCoversTheHotSpot)
{
    PLazyNode a = Add(left, nullptr, u"a");
    left->AddToSelection(a);
    const TPoint p = At(left, a);
    left->SetDragImageKind(diNoImage);
    left->CallPrepareDragImage(p);
    EXPECT_EQ(left->DragImage()->States(), 0u);
    EXPECT_EQ(left->DragImage()->Picture(), nullptr);
    left->SetDragImageKind(diComplete);
    left->CallPrepareDragImage(p);
    ASSERT_NE(left->DragImage()->Picture(), nullptr);
    EXPECT_EQ(left->DragImage()->Picture()->Width(), left->DragWidth());
    EXPECT_EQ(left->DragImage()->Picture()->Height(), left->DragHeight());
    EXPECT_EQ(left->DragImage()->LastPosition(), left->ClientToScreen(p));
    // The hot spot sits at the picture's centre, also near the tree's corner.
    const TPoint pos = left->DragImage()->ImagePosition();
    EXPECT_EQ(left->ClientToScreen(p).X - pos.X, left->DragWidth() / 2);
    EXPECT_EQ(left->ClientToScreen(p).Y - pos.Y, left->DragHeight() / 2);
    left->DragImage()->EndDrag();
}

} // namespace
} // namespace vtree::testing
