#pragma once
// The view's bookkeeping, checked after every paint and invalidation in the view tests.
// Returns an empty text when everything holds, else the first broken rule.
// - No paint pass is left running (tsPainting clear).
// - The target canvas's font has its own change handler back (FontHookProbe).
// - Every cached main-column width of a string tree is 0 (unmeasured) or a fresh measurement.
// - For sampled visible nodes, GetDisplayRect's top equals a linear recount, with the
//   position cache (when the tree has one) and without it, and GetNodeAt at that top gives
//   the node.
// - The node bookkeeping of TreeInvariants.h.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "LazyTrees.BaseTree.h"
#include "TreeInvariants.h"
#include "plat/Graphics.h"

namespace vtree::testing {

// Installs a counting handler as a canvas font's own change handler; a paint pass that put
// its hook in place and took it out again leaves this one reachable.
class FontHookProbe {
public:
    explicit FontHookProbe(plat::TCanvas* Canvas) : FCanvas(Canvas)
    {
        FCanvas->Font()->OnChange = [this](plat::TObject*) { ++FCalls; };
    }
    ~FontHookProbe() { FCanvas->Font()->OnChange = nullptr; }
    FontHookProbe(const FontHookProbe&) = delete;
    FontHookProbe& operator=(const FontHookProbe&) = delete;
    plat::TCanvas* Canvas() const { return FCanvas; }
    // Changes the font twice (and back): both changes must reach this handler.
    bool StillInPlace()
    {
        const int before = FCalls;
        const plat::TColor c = FCanvas->Font()->Color();
        FCanvas->Font()->SetColor(c ^ 1);
        FCanvas->Font()->SetColor(c);
        return FCalls == before + 2;
    }

private:
    plat::TCanvas* FCanvas;
    int FCalls = 0;
};

namespace detail {

inline std::string CheckDisplayTops(TBaseLazyTree& T, const std::vector<PLazyNode>& Nodes,
                                    const std::vector<std::uint32_t>& Tops, const char* Way)
{
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        const int expected = static_cast<int>(Tops[i]) + T.OffsetY();
        const plat::TRect r = T.GetDisplayRect(Nodes[i], NoColumn, false);
        if (r.Top != expected)
            return std::string("GetDisplayRect top ") + std::to_string(r.Top) + " != recount " + std::to_string(expected) +
                   " (" + Way + ", row " + std::to_string(i) + ")";
        int nodeTop = 0;
        PLazyNode hit = T.GetNodeAt(0, static_cast<int>(Tops[i]), false, nodeTop);
        if (hit != Nodes[i] || nodeTop != static_cast<int>(Tops[i]))
            return std::string("GetNodeAt at a row's top misses its node (") + Way + ", row " + std::to_string(i) + ")";
    }
    return {};
}

} // namespace detail

inline std::string CheckViewInvariants(TBaseLazyTree& T, FontHookProbe* Font = nullptr, std::size_t Samples = 40)
{
    if (T.HasState(tsPainting)) return "tsPainting still set";
    if (Font && !Font->StillInPlace()) return "the canvas font's own change handler is not back in place";
    if (auto* str = dynamic_cast<TCustomLazyStringTree*>(&T)) {
        plat::TBitmap probe(1, 1);
        for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n)) {
            const std::uint32_t cached = str->CachedTextWidth(n);
            if (cached == 0) continue;
            const int fresh = str->NodeTextWidth(probe.Canvas(), n, NoColumn, str->GetText(n, NoColumn));
            if (static_cast<int>(cached) != fresh)
                return "cached text width " + std::to_string(cached) + " != fresh " + std::to_string(fresh) + " at index " +
                       std::to_string(n->Index);
        }
    }
    // Visible rows with their tops, by a linear walk; a sample of them spread over the content.
    std::vector<PLazyNode> rows;
    std::vector<std::uint32_t> tops;
    std::uint32_t top = 0;
    for (PLazyNode n = T.GetFirstVisibleNoInit(nullptr, true); n; n = T.GetNextVisibleNoInit(n, true)) {
        rows.push_back(n);
        tops.push_back(top);
        top += T.GetNodeHeight(n);  // measures as the lookups do
    }
    std::vector<PLazyNode> nodes;
    std::vector<std::uint32_t> nodeTops;
    const std::size_t step = std::max<std::size_t>(1, rows.size() / std::max<std::size_t>(1, Samples));
    for (std::size_t i = 0; i < rows.size(); i += step) {
        nodes.push_back(rows[i]);
        nodeTops.push_back(tops[i]);
    }
    if (!rows.empty()) {
        nodes.push_back(rows.back());
        nodeTops.push_back(tops.back());
    }
    const bool cached = T.HasState(tsUseCache);
    std::string problem = detail::CheckDisplayTops(T, nodes, nodeTops, cached ? "with the cache" : "without a cache");
    if (problem.empty() && cached) {
        T.DoStateChange(0, TreeBit(tsUseCache));
        problem = detail::CheckDisplayTops(T, nodes, nodeTops, "cache set aside");
        T.DoStateChange(TreeBit(tsUseCache));
    }
    if (!problem.empty()) return problem;
    return CheckTreeInvariants(T);
}

} // namespace vtree::testing

// Use inside a test: EXPECT_VIEW_OK(tree, &probe).
#define EXPECT_VIEW_OK(T, ...) EXPECT_EQ(::vtree::testing::CheckViewInvariants(T, ##__VA_ARGS__), "")
