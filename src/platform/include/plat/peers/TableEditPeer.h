#pragma once
// Benchmark peer only: the toolkit's table view over a standard item model whose default
// delegate edits texts with a line edit, for comparing the string grid's editor show and hide
// with: one cycle opens a persistent editor on a cell (the line edit is created, filled with
// the cell's text and shown) and closes it again.
#include <memory>

namespace plat::peers {

class TableEditPeer {
public:
    TableEditPeer(int Cols, int Rows);
    ~TableEditPeer();
    TableEditPeer(const TableEditPeer&) = delete;
    TableEditPeer& operator=(const TableEditPeer&) = delete;

    // openPersistentEditor and closePersistentEditor on the cell, events processed between.
    void OpenCloseEditor(int Col, int Row);
    // Whether an editor is open on the cell now.
    bool EditorOpen(int Col, int Row) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plat::peers
