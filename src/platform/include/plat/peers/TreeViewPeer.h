#pragma once
// Benchmark peer only: the toolkit's own tree view over a lazy item model, for comparing the
// tree control's figures with. Shapes are given as fan-outs per level ({1000000} is a flat
// list, {1000, 1000} a thousand parents of a thousand children each). Children are fetched
// on demand (canFetchMore/fetchMore), as a lazy model does.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace plat::peers {

class TreeViewPeer {
public:
    // Columns > 1: every row has that many cells under the view's header.
    explicit TreeViewPeer(std::vector<int> Fanouts, int Columns = 1);
    ~TreeViewPeer();
    TreeViewPeer(const TreeViewPeer&) = delete;
    TreeViewPeer& operator=(const TreeViewPeer&) = delete;

    // Shows the view offscreen and paints it once.
    void ShowAndPaint();
    void ExpandAll();
    void CollapseAll();
    void ScrollToEnd();
    void ScrollToTop();
    // Scrolls the vertical bar to the middle of its range.
    void ScrollToMiddle();
    void RenderViewport();
    // Selects every row of the view (its selectAll) and clears the selection again.
    void SelectAll();
    // The header: every section Width wide (no stretching), one section resized, fitted to its
    // content, the section under a viewport X (-1 past the end), and a section moved.
    void SetViewSize(int Width, int Height);
    void SetSectionWidths(int Width);
    void ResizeSection(int Logical, int Width);
    void ResizeColumnToContents(int Column);
    int SectionWidth(int Logical) const;
    int SectionAt(int X) const;
    void MoveSection(int From, int To);
    void ClearSelection();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The toolkit's own transfer of item-model rows (what its views put on the clipboard and into
// drags): the first Count rows of a flat lazy model encoded by the model's mimeData, and
// such bytes decoded into an empty standard item model as copies (dropMimeData); the second
// answers the rows added.
std::string EncodeModelRows(int Count);
int DecodeModelRows(const std::string& Bytes);

// Heap bytes in use by the process (allocator statistics).
std::size_t HeapInUse();
// Bytes per item of a filled standard item model (flat list of Count items with a text).
double StandardItemModelBytesPerItem(int Count);

} // namespace plat::peers
