// Node iteration of TBaseLazyTree: the navigation family, relatives, order comparison,
// IterateSubtree and the enumerations.
#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"

namespace vtree {

namespace {

inline void Check(bool Condition, const char16_t* Text)
{
    if (!Condition) throw EAssertionFailed(Text);
}

} // namespace

bool TBaseLazyTree::GetChildrenAbove() const { return In(FOptions->PaintOptions(), toChildrenAbove); }

// ---- first, next, previous, last ------------------------------------------------------

PLazyNode TBaseLazyTree::GetFirst(bool ConsiderChildrenAbove)
{
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        PLazyNode n = FRoot;
        for (;;) {
            if (n != FRoot) InitIfNeeded(n);
            if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
            if (!n->FirstChild) break;
            n = n->FirstChild;
        }
        return n == FRoot ? nullptr : n;
    }
    PLazyNode n = FRoot->FirstChild;
    if (n) InitIfNeeded(n);
    return n;
}

PLazyNode TBaseLazyTree::GetFirstNoInit(bool ConsiderChildrenAbove) const
{
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        if (!FRoot->Has(vsHasChildren) || !FRoot->FirstChild) return nullptr;
        PLazyNode n = FRoot;
        while (n->FirstChild) n = n->FirstChild;
        return n;
    }
    return FRoot->FirstChild;
}

namespace {

// The links a walk follows: forward the first child and the next sibling, backward the last
// child and the previous sibling.
template <bool Forward>
inline PLazyNode EdgeChild(PLazyNode Node)
{
    if constexpr (Forward) return Node->FirstChild;
    else return Node->LastChild;
}

template <bool Forward>
inline PLazyNode SiblingOf(PLazyNode Node)
{
    if constexpr (Forward) return Node->NextSibling;
    else return Node->PrevSibling;
}

// One step through all nodes, in either direction and of either kind. A walk where parents
// come before their children steps into the edge child, else to the nearest sibling in the
// direction of the node or an ancestor; one where children come before their parent steps to
// the sibling's deepest edge descendant, else to the parent. Forward in the normal order and
// backward with children above are the first kind, the other two the second. Prepare(n)
// readies n's children before they are looked at, Init(n) a node stepped on; both do nothing
// for the NoInit kind.
template <bool Forward, class PrepareFn, class InitFn>
PLazyNode StepInOrder(PLazyNode Root, PLazyNode Node, bool ParentsFirst, PrepareFn Prepare, InitFn Init)
{
    PLazyNode result = nullptr;
    if (ParentsFirst) {
        Prepare(Node);
        result = EdgeChild<Forward>(Node);
        for (PLazyNode n = Node; !result && n != Root; n = n->Parent) result = SiblingOf<Forward>(n);
    } else if (SiblingOf<Forward>(Node)) {
        result = SiblingOf<Forward>(Node);
        for (;;) {
            Init(result);
            Prepare(result);
            PLazyNode c = EdgeChild<Forward>(result);
            if (!c) break;
            result = c;
        }
    } else {
        result = Node->Parent == Root ? nullptr : Node->Parent;
    }
    if (result) Init(result);
    return result;
}

constexpr auto NoPreparation = [](PLazyNode) {};

} // namespace

PLazyNode TBaseLazyTree::GetNext(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return StepInOrder<true>(
        FRoot, Node, !(ConsiderChildrenAbove && GetChildrenAbove()),
        [this](PLazyNode n) { if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n); },
        [this](PLazyNode n) { InitIfNeeded(n); });
}

PLazyNode TBaseLazyTree::GetNextNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return StepInOrder<true>(FRoot, Node, !(ConsiderChildrenAbove && GetChildrenAbove()), NoPreparation, NoPreparation);
}

PLazyNode TBaseLazyTree::GetPrevious(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return StepInOrder<false>(
        FRoot, Node, ConsiderChildrenAbove && GetChildrenAbove(),
        [this](PLazyNode n) { if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n); },
        [this](PLazyNode n) { InitIfNeeded(n); });
}

PLazyNode TBaseLazyTree::GetPreviousNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return StepInOrder<false>(FRoot, Node, ConsiderChildrenAbove && GetChildrenAbove(), NoPreparation, NoPreparation);
}

PLazyNode TBaseLazyTree::GetLast(PLazyNode Node, bool ConsiderChildrenAbove)
{
    PLazyNode n = ChildOf(Node);
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
        PLazyNode r = n->LastChild;
        if (r) InitIfNeeded(r);
        return r;
    }
    PLazyNode result = nullptr;
    for (;;) {
        if (n != FRoot) InitIfNeeded(n);
        if (n->Has(vsHasChildren) && n->ChildCount == 0 && n != FRoot) InitializeChildren(n);
        if (!n->LastChild) break;
        n = n->LastChild;
        result = n;
    }
    return result;
}

PLazyNode TBaseLazyTree::GetLastNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    PLazyNode n = ChildOf(Node);
    if (ConsiderChildrenAbove && GetChildrenAbove()) return n->LastChild;
    PLazyNode result = nullptr;
    while (n->LastChild) {
        n = n->LastChild;
        result = n;
    }
    return result;
}

// ---- children and siblings -----------------------------------------------------------

PLazyNode TBaseLazyTree::GetFirstChild(PLazyNode Node)
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot) {
        InitIfNeeded(n);
        if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
    }
    PLazyNode r = n->FirstChild;
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetFirstChildNoInit(PLazyNode Node) const
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot && !n->Has(vsHasChildren)) return nullptr;
    return n->FirstChild;
}

PLazyNode TBaseLazyTree::GetLastChild(PLazyNode Node)
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot) {
        InitIfNeeded(n);
        if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
    }
    PLazyNode r = n->LastChild;
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetLastChildNoInit(PLazyNode Node) const
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot && !n->Has(vsHasChildren)) return nullptr;
    return n->LastChild;
}

PLazyNode TBaseLazyTree::GetNextSibling(PLazyNode Node)
{
    PLazyNode r = GetNextSiblingNoInit(Node);
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetNextSiblingNoInit(PLazyNode Node) const
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return Node->NextSibling;
}

PLazyNode TBaseLazyTree::GetPreviousSibling(PLazyNode Node)
{
    PLazyNode r = GetPreviousSiblingNoInit(Node);
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetPreviousSiblingNoInit(PLazyNode Node) const
{
    if (!Node) return nullptr;
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    return Node->PrevSibling;
}

// ---- filtered walks ------------------------------------------------------------------

PLazyNode TBaseLazyTree::GetFirstInitialized(bool ConsiderChildrenAbove) const
{
    PLazyNode n = GetFirstNoInit(ConsiderChildrenAbove);
    while (n && !n->Has(vsInitialized)) n = GetNextNoInit(n, ConsiderChildrenAbove);
    return n;
}

PLazyNode TBaseLazyTree::GetNextInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    PLazyNode n = GetNextNoInit(Node, ConsiderChildrenAbove);
    while (n && !n->Has(vsInitialized)) n = GetNextNoInit(n, ConsiderChildrenAbove);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    PLazyNode n = GetPreviousNoInit(Node, ConsiderChildrenAbove);
    while (n && !n->Has(vsInitialized)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
    return n;
}

PLazyNode TBaseLazyTree::GetLastInitialized(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    PLazyNode n = GetLastNoInit(Node, ConsiderChildrenAbove);
    while (n && n != Node && !n->Has(vsInitialized)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
    return n == Node ? nullptr : n;
}

PLazyNode TBaseLazyTree::GetFirstLeaf() { return GetNextLeaf(nullptr); }

PLazyNode TBaseLazyTree::GetNextLeaf(PLazyNode Node)
{
    PLazyNode n = (!Node || Node == FRoot) ? GetFirst() : GetNext(Node);
    while (n && n->Has(vsHasChildren)) n = GetNext(n);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousLeaf(PLazyNode Node)
{
    PLazyNode n;
    if (!Node || Node == FRoot) {
        n = FRoot->LastChild;
        if (n) InitIfNeeded(n);
    } else {
        n = GetPrevious(Node);
    }
    while (n && n->Has(vsHasChildren)) n = GetPrevious(n);
    return n;
}

PLazyNode TBaseLazyTree::GetFirstLevel(unsigned Level)
{
    PLazyNode n = GetFirstNoInit(true);
    while (n && GetNodeLevel(n) != Level) n = GetNextNoInit(n, true);
    if (n) InitIfNeeded(n);
    return n;
}

PLazyNode TBaseLazyTree::GetNextLevel(PLazyNode Node, unsigned Level)
{
    if (!Node || Node == FRoot) return nullptr;
    // A node below the level climbs to its ancestor on the level first.
    while (GetNodeLevel(Node) > Level) Node = Node->Parent;
    PLazyNode n = GetNext(Node);
    while (n && GetNodeLevel(n) != Level) n = GetNext(n);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousLevel(PLazyNode Node, unsigned Level)
{
    if (!Node || Node == FRoot) return nullptr;
    while (GetNodeLevel(Node) > Level) Node = Node->Parent;
    PLazyNode n = GetPrevious(Node);
    while (n && GetNodeLevel(n) != Level) n = GetPrevious(n);
    return n;
}

PLazyNode TBaseLazyTree::GetFirstChecked(TCheckState State, bool ConsiderChildrenAbove)
{
    return GetNextChecked(nullptr, State, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextChecked(PLazyNode Node, TCheckState State, bool ConsiderChildrenAbove)
{
    PLazyNode n = (!Node || Node == FRoot) ? GetFirstNoInit(ConsiderChildrenAbove) : GetNextNoInit(Node, ConsiderChildrenAbove);
    while (n && n->CheckState != State) n = GetNextNoInit(n, ConsiderChildrenAbove);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousChecked(PLazyNode Node, TCheckState State, bool ConsiderChildrenAbove)
{
    PLazyNode n = (!Node || Node == FRoot) ? GetLastNoInit(nullptr, ConsiderChildrenAbove) : GetPreviousNoInit(Node, ConsiderChildrenAbove);
    while (n && n->CheckState != State) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
    return n;
}

// ---- visible walks -------------------------------------------------------------------

namespace {

// The walk shared by both kinds: Init creates and initialises what it steps on.
template <class Tree, class InitFn, class ChildrenFn>
PLazyNode NextVisibleWalk(Tree& T, PLazyNode Root, PLazyNode Node, InitFn Init, ChildrenFn CreateChildren)
{
    PLazyNode result = Node;
    for (;;) {
        // Step into the children of an expanded node.
        if (result->Has(vsExpanded)) {
            CreateChildren(result);
            if (result->FirstChild) {
                PLazyNode c = result->FirstChild;
                Init(c);
                if (c->Has(vsVisible)) {
                    result = c;
                    goto accepted;
                }
                result = c;
                goto siblings;
            }
        }
    siblings:
        for (;;) {
            PLazyNode s = result->NextSibling;
            while (s) {
                Init(s);
                if (s->Has(vsVisible)) break;
                s = s->NextSibling;
            }
            if (s) {
                result = s;
                goto accepted;
            }
            result = result->Parent;
            if (result == Root) return nullptr;
        }
    accepted:
        if (!T.GetEffectivelyFiltered(result)) return result;
    }
}

} // namespace

PLazyNode TBaseLazyTree::GetNextVisible(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (!Node || Node == FRoot) return nullptr;
    if (!GetFullyVisible(Node)) Node = GetVisibleParent(Node, true);
    if (Node == FRoot) return nullptr;
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        for (;;) {
            PLazyNode r;
            if (Node->NextSibling) {
                r = Node->NextSibling;
                InitIfNeeded(r);
                while (!r->Has(vsVisible) && r->NextSibling) {
                    r = r->NextSibling;
                    InitIfNeeded(r);
                }
                if (!r->Has(vsVisible)) {
                    Node = r;
                    r = r->Parent == FRoot ? nullptr : r->Parent;
                } else {
                    for (;;) {
                        if (r->Has(vsExpanded) && r->Has(vsHasChildren) && r->ChildCount == 0) InitializeChildren(r);
                        if (!r->Has(vsExpanded) || !r->FirstChild) break;
                        PLazyNode c = r->FirstChild;
                        InitIfNeeded(c);
                        while (c && !c->Has(vsVisible)) {
                            c = c->NextSibling;
                            if (c) InitIfNeeded(c);
                        }
                        if (!c) break;
                        r = c;
                    }
                }
            } else {
                r = Node->Parent == FRoot ? nullptr : Node->Parent;
            }
            if (!r || !GetEffectivelyFiltered(r)) return r;
            Node = r;
        }
    }
    return NextVisibleWalk(
        *this, FRoot, Node, [this](PLazyNode n) { InitIfNeeded(n); },
        [this](PLazyNode n) {
            if (n->Has(vsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
        });
}

PLazyNode TBaseLazyTree::GetNextVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    if (!Node || Node == FRoot) return nullptr;
    if (!GetFullyVisible(Node)) Node = GetVisibleParent(Node, true);
    if (Node == FRoot) return nullptr;
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        for (;;) {
            PLazyNode r;
            if (Node->NextSibling) {
                r = Node->NextSibling;
                while (!r->Has(vsVisible) && r->NextSibling) r = r->NextSibling;
                if (!r->Has(vsVisible)) r = r->Parent == FRoot ? nullptr : r->Parent;
                else
                    for (;;) {
                        if (!r->Has(vsExpanded) || !r->FirstChild) break;
                        PLazyNode c = r->FirstChild;
                        while (c && !c->Has(vsVisible)) c = c->NextSibling;
                        if (!c) break;
                        r = c;
                    }
            } else {
                r = Node->Parent == FRoot ? nullptr : Node->Parent;
            }
            if (!r || !GetEffectivelyFiltered(r)) return r;
            Node = r;
        }
    }
    return NextVisibleWalk(*this, FRoot, Node, [](PLazyNode) {}, [](PLazyNode) {});
}

PLazyNode TBaseLazyTree::NextVisibleRow(PLazyNode Node) const
{
    // The caller's node is a row already, so the fully-visible test (a climb to the root)
    // is skipped: in deep trees that test would cost more than the step.
    if (GetChildrenAbove()) return GetNextVisibleNoInit(Node, true);
    return NextVisibleWalk(*this, FRoot, Node, [](PLazyNode) {}, [](PLazyNode) {});
}

PLazyNode TBaseLazyTree::GetPreviousVisible(PLazyNode Node, bool ConsiderChildrenAbove)
{
    PLazyNode r = GetPreviousVisibleNoInit(Node, ConsiderChildrenAbove);
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove) const
{
    if (!Node || Node == FRoot) return nullptr;
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        // Children above: the previous row is the last visible child's deepest... walk the
        // plain order backwards and take the first effectively visible fully visible node.
        for (PLazyNode n = GetPreviousNoInit(Node, true); n; n = GetPreviousNoInit(n, true))
            if (GetFullyVisible(n) && !GetEffectivelyFiltered(n)) return n;
        return nullptr;
    }
    PLazyNode n = Node;
    if (!GetFullyVisible(n)) {
        n = GetVisibleParent(n, true);
        if (n == FRoot) return nullptr;
        PLazyNode last = GetLastVisibleNoInit(n, false, true);
        if (last && !GetEffectivelyFiltered(last)) return last;
        if (!GetEffectivelyFiltered(n)) return n;
    }
    for (;;) {
        PLazyNode p = n->PrevSibling;
        while (p && !p->Has(vsVisible)) p = p->PrevSibling;
        if (p) {
            // Deepest last visible descendant of p.
            for (;;) {
                if (!p->Has(vsExpanded)) break;
                PLazyNode c = p->LastChild;
                while (c && !c->Has(vsVisible)) c = c->PrevSibling;
                if (!c) break;
                p = c;
            }
            n = p;
        } else {
            n = n->Parent;
            if (n == FRoot) return nullptr;
        }
        if (!GetEffectivelyFiltered(n)) return n;
    }
}

PLazyNode TBaseLazyTree::GetFirstVisible(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered)
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot) {
        if (!n->Has(vsHasChildren)) return nullptr;
        InitIfNeeded(n);
        if (n->ChildCount == 0) InitializeChildren(n);
    }
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        PLazyNode r = GetFirstVisibleNoInit(Node, true, IncludeFiltered);
        if (r) InitIfNeeded(r);
        return r;
    }
    PLazyNode r = n->FirstChild;
    if (!r) return nullptr;
    InitIfNeeded(r);
    if (!r->Has(vsVisible)) {
        for (;;) {
            PLazyNode s = r->NextSibling;
            while (s) {
                InitIfNeeded(s);
                if (s->Has(vsVisible)) break;
                s = s->NextSibling;
            }
            if (s) {
                r = s;
                break;
            }
            r = r->Parent;
            if (r == FRoot) return nullptr;
        }
    }
    if (!IncludeFiltered && GetEffectivelyFiltered(r)) r = GetNextVisible(r, false);
    return r;
}

PLazyNode TBaseLazyTree::GetFirstVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered) const
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot && !n->Has(vsHasChildren)) return nullptr;
    PLazyNode r = n->FirstChild;
    if (!r) return nullptr;
    if (!r->Has(vsVisible)) {
        for (;;) {
            PLazyNode s = r->NextSibling;
            while (s && !s->Has(vsVisible)) s = s->NextSibling;
            if (s) {
                r = s;
                break;
            }
            r = r->Parent;
            if (r == FRoot) return nullptr;
        }
    }
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        // The first row shows the deepest first visible descendant of expanded nodes.
        for (;;) {
            if (!r->Has(vsExpanded)) break;
            PLazyNode c = r->FirstChild;
            while (c && !c->Has(vsVisible)) c = c->NextSibling;
            if (!c) break;
            r = c;
        }
    }
    if (!IncludeFiltered && GetEffectivelyFiltered(r)) r = GetNextVisibleNoInit(r, ConsiderChildrenAbove);
    return r;
}

PLazyNode TBaseLazyTree::GetLastVisible(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered)
{
    PLazyNode r = GetLastVisibleNoInit(Node, ConsiderChildrenAbove, IncludeFiltered);
    if (r) {
        PLazyNode stop = ChildOf(Node);
        for (PLazyNode n = r; n && n != stop && n != FRoot; n = n->Parent) InitIfNeeded(n);
    }
    return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleNoInit(PLazyNode Node, bool ConsiderChildrenAbove, bool IncludeFiltered) const
{
    PLazyNode top = ChildOf(Node);
    if (top != FRoot && !GetFullyVisible(top)) return nullptr;
    PLazyNode cur = top;
    // Descend through the last visible child of every expanded node.
    for (;;) {
        if (cur != FRoot && !cur->Has(vsExpanded)) break;
        PLazyNode c = cur->LastChild;
        while (c && !c->Has(vsVisible)) c = c->PrevSibling;
        if (!c) break;
        cur = c;
    }
    if (cur == top) return nullptr;
    if (ConsiderChildrenAbove && GetChildrenAbove()) {
        // With children above, the last row of a subtree is its last visible top node.
        PLazyNode c = top->LastChild;
        while (c && !c->Has(vsVisible)) c = c->PrevSibling;
        cur = c;
    }
    while (cur && cur != top && !IncludeFiltered && GetEffectivelyFiltered(cur))
        cur = GetPreviousVisibleNoInit(cur, ConsiderChildrenAbove);
    if (!cur || cur == top || (top != FRoot && !HasAsParent(cur, top))) return nullptr;
    return cur;
}

PLazyNode TBaseLazyTree::GetFirstVisibleChild(PLazyNode Node, bool IncludeFiltered)
{
    PLazyNode r = GetFirstChild(Node);
    if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(Node ? Node : nullptr))))
        r = GetNextVisibleSibling(r, IncludeFiltered);
    return r;
}

PLazyNode TBaseLazyTree::GetFirstVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered) const
{
    PLazyNode r = ChildOf(Node)->FirstChild;
    if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(Node))))
        r = GetNextVisibleSiblingNoInit(r, IncludeFiltered);
    return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleChild(PLazyNode Node, bool IncludeFiltered)
{
    PLazyNode r = GetLastVisibleChildNoInit(Node, IncludeFiltered);
    if (r) InitIfNeeded(r);
    return r;
}

PLazyNode TBaseLazyTree::GetLastVisibleChildNoInit(PLazyNode Node, bool IncludeFiltered) const
{
    PLazyNode n = ChildOf(Node);
    if (n != FRoot && !(GetFullyVisible(n) && n->Has(vsExpanded))) return nullptr;
    PLazyNode r = n->LastChild;
    if (r && (!r->Has(vsVisible) || (!IncludeFiltered && GetEffectivelyFiltered(r))))
        r = GetPreviousVisibleSiblingNoInit(r, IncludeFiltered);
    return r;
}

PLazyNode TBaseLazyTree::GetNextVisibleSibling(PLazyNode Node, bool IncludeFiltered)
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    PLazyNode n = Node->NextSibling;
    while (n) {
        InitIfNeeded(n);
        if (n->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(n))) break;
        n = n->NextSibling;
    }
    return n;
}

PLazyNode TBaseLazyTree::GetNextVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered) const
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    PLazyNode n = Node->NextSibling;
    while (n && !(n->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(n)))) n = n->NextSibling;
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSibling(PLazyNode Node, bool IncludeFiltered)
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    PLazyNode n = Node->PrevSibling;
    while (n) {
        InitIfNeeded(n);
        if (n->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(n))) break;
        n = n->PrevSibling;
    }
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousVisibleSiblingNoInit(PLazyNode Node, bool IncludeFiltered) const
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    PLazyNode n = Node->PrevSibling;
    while (n && !(n->Has(vsVisible) && (IncludeFiltered || !GetEffectivelyFiltered(n)))) n = n->PrevSibling;
    return n;
}

// ---- relatives -----------------------------------------------------------------------

PLazyNode TBaseLazyTree::GetNodeParent(PLazyNode Node) const
{
    if (!Node || Node == FRoot || Node->Parent == FRoot) return nullptr;
    return Node->Parent;
}

PLazyNode TBaseLazyTree::GetVisibleParent(PLazyNode Node, bool IncludeFiltered) const
{
    Check(Node != nullptr, u"Node must not be nil.");
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    PLazyNode p = Node->Parent;
    while (p != FRoot && (!GetFullyVisible(p) || (!IncludeFiltered && GetEffectivelyFiltered(p)))) p = p->Parent;
    return p;
}

bool TBaseLazyTree::HasAsParent(PLazyNode Node, PLazyNode PotentialParent) const
{
    if (!Node || !PotentialParent || Node == PotentialParent) return false;
    for (PLazyNode n = Node; n != FRoot;) {
        n = n->Parent;
        if (n == PotentialParent) return true;
    }
    return false;
}

unsigned TBaseLazyTree::GetNodeLevel(PLazyNode Node) const
{
    if (!Node || Node == FRoot) return 0;
    unsigned level = 0;
    for (PLazyNode n = Node->Parent; n != FRoot; n = n->Parent) ++level;
    return level;
}

int TBaseLazyTree::LevelDistance(PLazyNode Node1, PLazyNode Node2) const
{
    Check(Node1 && Node2, u"Both nodes must be Assigned.");
    return int(GetNodeLevel(Node2)) - int(GetNodeLevel(Node1));
}

std::uint32_t TBaseLazyTree::AbsoluteIndex(PLazyNode Node)
{
    std::uint32_t result = 0;
    if (!Node) return 0;
    while (Node && Node != FRoot) {
        InitIfNeeded(Node);
        if (Node->PrevSibling) {
            Node = Node->PrevSibling;
            result += Node->TotalCount;
        } else {
            Node = Node->Parent;
            if (Node != FRoot) ++result;
        }
    }
    return result;
}

int TBaseLazyTree::CompareNodeOrder(PLazyNode Node1, PLazyNode Node2, bool ConsiderChildrenAbove) const
{
    Check(Node1 && Node2, u"Nodes must never be nil.");
    if (Node1 == Node2) return 0;
    const bool above = ConsiderChildrenAbove && GetChildrenAbove();
    if (HasAsParent(Node1, Node2)) return above ? -1 : 1;
    if (HasAsParent(Node2, Node1)) return above ? 1 : -1;
    unsigned l1 = GetNodeLevel(Node1), l2 = GetNodeLevel(Node2);
    PLazyNode a = Node1, b = Node2;
    while (l1 > l2) { a = a->Parent; --l1; }
    while (l2 > l1) { b = b->Parent; --l2; }
    while (a->Parent != b->Parent) {
        a = a->Parent;
        b = b->Parent;
    }
    return int(std::int64_t(a->Index) - std::int64_t(b->Index));
}

PLazyNode TBaseLazyTree::IterateSubtree(PLazyNode Node,
                                        const std::function<void(TBaseLazyTree*, PLazyNode, void*, bool&)>& Callback,
                                        void* Data, TLazyNodeStates Filter, bool DoInit, bool ChildNodesOnly)
{
    Check(Node != FRoot, u"Node must not be the hidden root node.");
    const bool wasIterating = HasState(tsIterating);
    DoStateChange(TreeBit(tsIterating));
    struct Finally {
        TBaseLazyTree* T;
        bool Was;
        ~Finally()
        {
            if (!Was) T->DoStateChange(0, TreeBit(tsIterating));
        }
    } finally{this, wasIterating};
    auto next = [&](PLazyNode n) { return DoInit ? GetNext(n) : GetNextNoInit(n); };
    PLazyNode stop = nullptr;
    PLazyNode run;
    if (Node) {
        for (PLazyNode n = Node; n != FRoot && !stop; n = n->Parent) stop = n->NextSibling;
        run = Node;
    } else {
        run = GetFirstNoInit();
    }
    if (run && DoInit) InitIfNeeded(run);
    if (run && ChildNodesOnly) {
        if (DoInit && run->Has(vsHasChildren) && run->ChildCount == 0) InitializeChildren(run);
        run = run->ChildCount > 0 ? next(run) : nullptr;
    }
    while (run && run != stop) {
        if (Filter == 0 || (run->States & Filter) == Filter) {
            bool abort = false;
            Callback(this, run, Data, abort);
            if (abort) return run;
        }
        run = next(run);
    }
    return nullptr;
}

// ---- enumerations --------------------------------------------------------------------

namespace {
TLTLazyNodeEnumeration MakeEnum(TLTLazyNodeEnumerationMode Mode, TBaseLazyTree* Tree)
{
    TLTLazyNodeEnumeration e;
    e.FMode = Mode;
    e.FTree = Tree;
    return e;
}
} // namespace

TLTLazyNodeEnumeration TBaseLazyTree::Nodes(bool C) { auto e = MakeEnum(vneAll, this); e.FConsiderChildrenAbove = C; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::CheckedNodes(TCheckState S, bool C) { auto e = MakeEnum(vneChecked, this); e.FState = S; e.FConsiderChildrenAbove = C; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::ChildNodes(PLazyNode N) { auto e = MakeEnum(vneChild, this); e.FNode = N; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::InitializedNodes(bool C) { auto e = MakeEnum(vneInitialized, this); e.FConsiderChildrenAbove = C; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::LeafNodes() { return MakeEnum(vneLeaf, this); }
TLTLazyNodeEnumeration TBaseLazyTree::LevelNodes(unsigned L) { auto e = MakeEnum(vneLevel, this); e.FNodeLevel = L; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::NoInitNodes(bool C) { auto e = MakeEnum(vneNoInit, this); e.FConsiderChildrenAbove = C; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::SelectedNodes(bool C) { auto e = MakeEnum(vneSelected, this); e.FConsiderChildrenAbove = C; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::VisibleNodes(PLazyNode N, bool C, bool F) { auto e = MakeEnum(vneVisible, this); e.FNode = N; e.FConsiderChildrenAbove = C; e.FIncludeFiltered = F; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::VisibleChildNodes(PLazyNode N, bool F) { auto e = MakeEnum(vneVisibleChild, this); e.FNode = N; e.FIncludeFiltered = F; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::VisibleChildNoInitNodes(PLazyNode N, bool F) { auto e = MakeEnum(vneVisibleNoInitChild, this); e.FNode = N; e.FIncludeFiltered = F; return e; }
TLTLazyNodeEnumeration TBaseLazyTree::VisibleNoInitNodes(PLazyNode N, bool C, bool F) { auto e = MakeEnum(vneVisibleNoInit, this); e.FNode = N; e.FConsiderChildrenAbove = C; e.FIncludeFiltered = F; return e; }

bool TLTLazyNodeEnumerator::MoveNext()
{
    if (!FCanModeNext) return false;
    const TLTLazyNodeEnumeration& e = *FEnumeration;
    TBaseLazyTree& t = *e.FTree;
    PLazyNode n = FNode;
    const bool first = n == nullptr;
    switch (e.FMode) {
    case vneAll: n = first ? t.GetFirst(e.FConsiderChildrenAbove) : t.GetNext(n, e.FConsiderChildrenAbove); break;
    case vneChecked: n = first ? t.GetFirstChecked(e.FState, e.FConsiderChildrenAbove) : t.GetNextChecked(n, e.FState, e.FConsiderChildrenAbove); break;
    case vneChild: n = first ? t.GetFirstChild(e.FNode) : t.GetNextSibling(n); break;
    case vneCutCopy:
        do n = first && n == FNode ? t.GetFirstNoInit(e.FConsiderChildrenAbove) : t.GetNextNoInit(n, e.FConsiderChildrenAbove);
        while (n && !n->Has(vsCutOrCopy));
        break;
    case vneInitialized: n = first ? t.GetFirstInitialized(e.FConsiderChildrenAbove) : t.GetNextInitialized(n, e.FConsiderChildrenAbove); break;
    case vneLeaf: n = first ? t.GetFirstLeaf() : t.GetNextLeaf(n); break;
    case vneLevel: n = first ? t.GetFirstLevel(e.FNodeLevel) : t.GetNextLevel(n, e.FNodeLevel); break;
    case vneNoInit: n = first ? t.GetFirstNoInit(e.FConsiderChildrenAbove) : t.GetNextNoInit(n, e.FConsiderChildrenAbove); break;
    case vneSelected: n = first ? t.GetFirstSelected(e.FConsiderChildrenAbove) : t.GetNextSelected(n, e.FConsiderChildrenAbove); break;
    case vneVisible:
        if (first) n = t.GetFirstVisible(e.FNode, e.FConsiderChildrenAbove, e.FIncludeFiltered);
        else {
            n = t.GetNextVisible(n, true);
            while (n && !e.FIncludeFiltered && t.GetEffectivelyFiltered(n)) n = t.GetNextVisible(n, true);
        }
        break;
    case vneVisibleChild: n = first ? t.GetFirstVisibleChild(e.FNode, e.FIncludeFiltered) : t.GetNextVisibleSibling(n, e.FIncludeFiltered); break;
    case vneVisibleNoInitChild: n = first ? t.GetFirstVisibleChildNoInit(e.FNode, e.FIncludeFiltered) : t.GetNextVisibleSiblingNoInit(n, e.FIncludeFiltered); break;
    case vneVisibleNoInit:
        if (first) n = t.GetFirstVisibleNoInit(e.FNode, e.FConsiderChildrenAbove, e.FIncludeFiltered);
        else {
            n = t.GetNextVisibleNoInit(n, e.FConsiderChildrenAbove);
            while (n && !e.FIncludeFiltered && t.GetEffectivelyFiltered(n)) n = t.GetNextVisibleNoInit(n, e.FConsiderChildrenAbove);
        }
        break;
    }
    FNode = n;
    FCanModeNext = n != nullptr;
    return FCanModeNext;
}

} // namespace vtree
