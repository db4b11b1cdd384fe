#include "LazyTrees.PositionCache.h"

namespace vtree {

TCacheHit CacheLookupByPosition(const TCache& Cache, std::uint32_t Position)
{
    std::size_t lo = 0, hi = Cache.size();
    // First entry whose top is above Position; the one before it is the answer.
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (Cache[mid].AbsoluteTop <= Position) lo = mid + 1;
        else hi = mid;
    }
    if (lo == 0 || !Cache[lo - 1].Node) return {};
    return {true, Cache[lo - 1]};
}

TCacheHit CacheLookupByNode(const TCache& Cache, std::size_t Count, PLazyNode Node,
                            const std::function<int(PLazyNode, PLazyNode)>& Compare)
{
    std::size_t lo = 0, hi = Count < Cache.size() ? Count : Cache.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (Cache[mid].Node && Compare(Cache[mid].Node, Node) <= 0) lo = mid + 1;
        else hi = mid;
    }
    if (lo == 0) return {};
    return {true, Cache[lo - 1]};
}

} // namespace vtree
