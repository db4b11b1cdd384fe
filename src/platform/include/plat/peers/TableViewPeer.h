#pragma once
// Benchmark peer only: the toolkit's own table view over a standard item model, for
// comparing the string grid's paint figures with. The view shows Cols x Rows cells of
// CellWidth x CellHeight pixels (one header row and column among them), every cell holding
// a short text, in the given font.
#include <memory>
#include <string>

namespace plat::peers {

class TableViewPeer {
public:
    TableViewPeer(int Cols, int Rows, int CellWidth, int CellHeight, const std::string& FontFamily, int FontPointSize);
    ~TableViewPeer();
    TableViewPeer(const TableViewPeer&) = delete;
    TableViewPeer& operator=(const TableViewPeer&) = delete;

    // Paints the visible cells once into an offscreen image of the viewport's size.
    void RenderViewport();
    int VisibleCells() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plat::peers
