#pragma once
// Benchmark peer only: the toolkit's sort and filter proxy over its standard item model, for
// comparing the string grid's sorting and filtering with. The model holds one column of
// rows, as texts or as numbers.
#include <memory>
#include <string>
#include <vector>

namespace plat::peers {

class SortFilterPeer {
public:
    explicit SortFilterPeer(const std::vector<std::u16string>& Texts);
    explicit SortFilterPeer(const std::vector<double>& Numbers);
    ~SortFilterPeer();
    SortFilterPeer(const SortFilterPeer&) = delete;
    SortFilterPeer& operator=(const SortFilterPeer&) = delete;

    // Sorts the proxy on the column.
    void Sort(bool Ascending);
    // Back to the model's order.
    void UnSort();
    // Wildcard filter on the column; returns the rows the proxy keeps. An empty pattern
    // removes the filter.
    int FilterWildcard(const std::u16string& Pattern);
    int RowCount() const;
    // The model row shown at proxy row Row.
    int SourceRow(int Row) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plat::peers
