#pragma once
// The sparse position index of a tree: entry k holds visible node 2000*k (display order)
// and the summed height of the visible nodes above it. A build may add one last entry with
// the last visible node and the bottom of the content. Lookups bisect the entries; the
// caller then walks at most 2000 visible nodes. Plain data, no tree or thread needed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "LazyTrees.Nodes.h"

namespace vtree {

constexpr std::uint32_t CacheThreshold = 2000;
// A second, finer index built beside the cache (entry k: visible node 25*k, 16 bytes per 25
// nodes), so a position lookup bisects it and walks fewer than 25 nodes; the step divides the
// cache's, so a build resumed at a cache entry resumes the fine index at the same node.
constexpr std::uint32_t FineCacheStep = 25;
static_assert(CacheThreshold % FineCacheStep == 0, "fine entries fall on every cache entry");

struct TCacheEntry {
    PLazyNode Node = nullptr;
    std::uint32_t AbsoluteTop = 0;
};
using TCache = std::vector<TCacheEntry>;

// 0 when fewer than 2 nodes are visible, else VisibleCount / 2000 rounded up.
inline std::uint32_t PositionCacheSlots(std::uint32_t VisibleCount)
{
    return VisibleCount < 2 ? 0 : (VisibleCount + CacheThreshold - 1) / CacheThreshold;
}

// The last entry whose top is not below Position; Found false when Position lies before the
// first entry or the cache is empty.
struct TCacheHit {
    bool Found = false;
    TCacheEntry Entry;
};
TCacheHit CacheLookupByPosition(const TCache& Cache, std::uint32_t Position);
// The last entry whose node does not come after Node in Compare's order (negative: the
// first argument comes first). Only the first Count entries are searched, so a closing
// bottom-of-content entry can be left out.
TCacheHit CacheLookupByNode(const TCache& Cache, std::size_t Count, PLazyNode Node,
                            const std::function<int(PLazyNode, PLazyNode)>& Compare);

} // namespace vtree
