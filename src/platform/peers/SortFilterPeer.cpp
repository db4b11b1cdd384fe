#include "plat/peers/SortFilterPeer.h"

#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace plat::peers {

struct SortFilterPeer::Impl {
    QStandardItemModel model;
    QSortFilterProxyModel proxy;
    Impl() {
        proxy.setDynamicSortFilter(false);
        proxy.setSourceModel(&model);
    }
};

SortFilterPeer::SortFilterPeer(const std::vector<std::u16string>& Texts) : impl_(std::make_unique<Impl>()) {
    impl_->model.setColumnCount(1);
    impl_->model.setRowCount(int(Texts.size()));
    for (int r = 0; r < int(Texts.size()); ++r)
        impl_->model.setItem(r, 0, new QStandardItem(QString::fromUtf16(Texts[std::size_t(r)].data(),
                                                                        qsizetype(Texts[std::size_t(r)].size()))));
}

SortFilterPeer::SortFilterPeer(const std::vector<double>& Numbers) : impl_(std::make_unique<Impl>()) {
    impl_->model.setColumnCount(1);
    impl_->model.setRowCount(int(Numbers.size()));
    for (int r = 0; r < int(Numbers.size()); ++r) {
        auto* item = new QStandardItem;
        item->setData(Numbers[std::size_t(r)], Qt::DisplayRole);
        impl_->model.setItem(r, 0, item);
    }
}

SortFilterPeer::~SortFilterPeer() = default;

void SortFilterPeer::Sort(bool Ascending) { impl_->proxy.sort(0, Ascending ? Qt::AscendingOrder : Qt::DescendingOrder); }

void SortFilterPeer::UnSort() { impl_->proxy.sort(-1); }

int SortFilterPeer::FilterWildcard(const std::u16string& Pattern) {
    impl_->proxy.setFilterKeyColumn(0);
    impl_->proxy.setFilterCaseSensitivity(Qt::CaseSensitive);
    impl_->proxy.setFilterWildcard(QString::fromUtf16(Pattern.data(), qsizetype(Pattern.size())));
    return impl_->proxy.rowCount();
}

int SortFilterPeer::RowCount() const { return impl_->proxy.rowCount(); }

int SortFilterPeer::SourceRow(int Row) const { return impl_->proxy.mapToSource(impl_->proxy.index(Row, 0)).row(); }

} // namespace plat::peers
