#pragma once
// The tree's bookkeeping against a recount: run after every mutation in the tree tests.
// Returns an empty text when everything holds, else the first broken rule with its node.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

#include "LazyTrees.BaseTree.h"

namespace vtree::testing {

struct Recount {
    std::uint64_t Count = 0;
    std::uint64_t Height = 0;
};

inline std::string CheckTreeInvariants(TBaseLazyTree& T)
{
    std::ostringstream err;
    PLazyNode root = T.RootNode();
    if (root->PrevSibling != root || root->NextSibling != root) return "root self-links broken";
    if (reinterpret_cast<TBaseLazyTree*>(root->Parent) != &T) return "root parent is not the tree";
    const bool showFiltered = In(T.TreeOptions().PaintOptions(), toShowFilteredNodes);
    auto effFiltered = [&](PLazyNode n) { return n->Has(vsFiltered) && !showFiltered; };
    auto effVisible = [&](PLazyNode n) { return n->Has(vsVisible) && !effFiltered(n); };
    std::uint64_t visibleRows = 0;
    std::uint64_t selected = 0;
    const bool updating = T.UpdateCount() > 0;
    // Iterative post-order over every node, root included.
    struct Frame {
        PLazyNode Node;
        PLazyNode Child;
        Recount Sum;
        std::uint32_t Children;
        bool RowsShown;  // children of this node are rows (path expanded and visible)
    };
    std::vector<Frame> stack;
    stack.push_back({root, root->FirstChild, {}, 0, true});
    std::string problem;
    auto fail = [&](PLazyNode n, const std::string& what) {
        if (problem.empty()) {
            std::ostringstream o;
            o << what << " at node " << static_cast<const void*>(n) << " (level " << T.GetNodeLevel(n == root ? nullptr : n)
              << ", index " << (n == root ? 0 : n->Index) << ")";
            problem = o.str();
        }
    };
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.Child) {
            PLazyNode c = f.Child;
            f.Child = c->NextSibling;
            if (c->Parent != f.Node) fail(c, "Parent link wrong");
            if (c->Index != f.Children) fail(c, "Index not dense");
            if (c->PrevSibling ? c->PrevSibling->NextSibling != c : f.Node->FirstChild != c) fail(c, "sibling links broken");
            if (!c->NextSibling && f.Node->LastChild != c) fail(c, "LastChild wrong");
            ++f.Children;
            const bool shown = f.RowsShown && c->Has(vsVisible);
            if (shown && !effFiltered(c)) ++visibleRows;
            if (c->Has(vsSelected)) ++selected;
            if (stack.size() > 100000) return "tree deeper than 100000 levels";
            stack.push_back({c, c->FirstChild, {}, 0, shown && c->Has(vsExpanded)});
            continue;
        }
        PLazyNode n = f.Node;
        if (n->ChildCount != f.Children) fail(n, "ChildCount differs from the linked children");
        if (f.Children == 0 && (n->FirstChild || n->LastChild)) fail(n, "first/last child set without children");
        std::uint64_t count = 1 + f.Sum.Count;
        std::uint64_t own = n == root ? root->NodeHeight : (effFiltered(n) ? 0 : n->NodeHeight);
        std::uint64_t height = own + (n->Has(vsExpanded) ? f.Sum.Height : 0);
        if (n->TotalCount != count) fail(n, "TotalCount " + std::to_string(n->TotalCount) + " != recount " + std::to_string(count));
        if (n->TotalHeight != height) fail(n, "TotalHeight " + std::to_string(n->TotalHeight) + " != recount " + std::to_string(height));
        // A node with children has the flag exactly when none of them is effectively
        // visible; a childless node that announces children never has it.
        if (n != root && !updating && !T.HasState(tsUpdateHiddenChildrenNeeded)) {
            if (n->ChildCount > 0) {
                bool hidden = true;
                for (PLazyNode c = n->FirstChild; c; c = c->NextSibling)
                    if (effVisible(c)) hidden = false;
                if (hidden != n->Has(vsAllChildrenHidden)) fail(n, "vsAllChildrenHidden wrong");
            } else if (n->Has(vsHasChildren) && n->Has(vsAllChildrenHidden)) {
                fail(n, "vsAllChildrenHidden on a node that announces children");
            }
        }
        const Recount mine{n->TotalCount, n->TotalHeight};
        const bool visible = n->Has(vsVisible);
        stack.pop_back();
        if (!stack.empty()) {
            stack.back().Sum.Count += mine.Count;
            if (visible) stack.back().Sum.Height += mine.Height;
        }
    }
    if (!problem.empty()) return problem;
    if (T.VisibleCount() != visibleRows)
        return "VisibleCount " + std::to_string(T.VisibleCount()) + " != recount " + std::to_string(visibleRows);
    // Selection: sorted, unique, exactly the selected nodes.
    const TNodeArray& sel = T.SelectionArray();
    if (std::uint64_t(T.SelectedCount()) != selected && !updating)
        return "SelectedCount " + std::to_string(T.SelectedCount()) + " != vsSelected nodes " + std::to_string(selected);
    for (int i = 0; i < T.SelectedCount(); ++i) {
        if (i > 0 && reinterpret_cast<std::uintptr_t>(sel[i - 1]) >= reinterpret_cast<std::uintptr_t>(sel[i]))
            return "selection array not sorted and unique";
        const auto raw = reinterpret_cast<std::uintptr_t>(sel[i]);
        if (!updating && ((raw & 1u) || !sel[i]->Has(vsSelected))) return "selection entry without vsSelected";
    }
    // Position cache: every entry against a walk.
    if (T.HasState(tsUseCache)) {
        const TCache& cache = T.PositionCache();
        std::uint32_t k = 0, top = 0, number = 0;
        PLazyNode last = nullptr;
        for (PLazyNode n = T.GetFirstVisibleNoInit(nullptr, true); n; n = T.GetNextVisibleNoInit(n, true)) {
            if (number % CacheThreshold == 0) {
                if (k >= cache.size()) return "cache shorter than the visible rows ask for";
                if (cache[k].Node != n || cache[k].AbsoluteTop != top)
                    return "cache entry " + std::to_string(k) + " disagrees with a recount";
                ++k;
            }
            top += n->NodeHeight;
            last = n;
            ++number;
        }
        if (k + 1 == cache.size()) {
            if (cache[k].Node != last || cache[k].AbsoluteTop != top) return "closing cache entry wrong";
        } else if (k != cache.size()) {
            return "cache has extra entries";
        }
    }
    return {};
}

} // namespace vtree::testing

// Use inside a test: EXPECT_TREE_OK(tree).
#define EXPECT_TREE_OK(T) EXPECT_EQ(::vtree::testing::CheckTreeInvariants(T), "")
#define ASSERT_TREE_OK(T) ASSERT_EQ(::vtree::testing::CheckTreeInvariants(T), "")
