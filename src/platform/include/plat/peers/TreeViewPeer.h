#pragma once
// Benchmark peer only: the toolkit's own tree view over a lazy item model, for comparing the
// tree control's figures with. Shapes are given as fan-outs per level ({1000000} is a flat
// list, {1000, 1000} a thousand parents of a thousand children each). Children are fetched
// on demand (canFetchMore/fetchMore), as a lazy model does.
#include <cstddef>
#include <memory>
#include <vector>

namespace plat::peers {

class TreeViewPeer {
public:
    explicit TreeViewPeer(std::vector<int> Fanouts);
    ~TreeViewPeer();
    TreeViewPeer(const TreeViewPeer&) = delete;
    TreeViewPeer& operator=(const TreeViewPeer&) = delete;

    // Shows the view offscreen and paints it once.
    void ShowAndPaint();
    void ExpandAll();
    void CollapseAll();
    void ScrollToEnd();
    // Scrolls the vertical bar to the middle of its range.
    void ScrollToMiddle();
    void RenderViewport();
    // Selects every row of the view (its selectAll) and clears the selection again.
    void SelectAll();
    void ClearSelection();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Heap bytes in use by the process (allocator statistics).
std::size_t HeapInUse();
// Bytes per item of a filled standard item model (flat list of Count items with a text).
double StandardItemModelBytesPerItem(int Count);

} // namespace plat::peers
