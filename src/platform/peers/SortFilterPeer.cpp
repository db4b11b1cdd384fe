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

// The items are made first and handed to the model as one column: one insertion instead of
// a change notice per row.
SortFilterPeer::SortFilterPeer(const std::vector<std::u16string>& Texts) : impl_(std::make_unique<Impl>()) {
    QList<QStandardItem*> items;
    items.reserve(qsizetype(Texts.size()));
    for (const std::u16string& t : Texts)
        items.append(new QStandardItem(QString::fromUtf16(t.data(), qsizetype(t.size()))));
    impl_->model.appendColumn(items);
}

SortFilterPeer::SortFilterPeer(const std::vector<double>& Numbers) : impl_(std::make_unique<Impl>()) {
    QList<QStandardItem*> items;
    items.reserve(qsizetype(Numbers.size()));
    for (double v : Numbers) {
        auto* item = new QStandardItem;
        item->setData(v, Qt::DisplayRole);
        items.append(item);
    }
    impl_->model.appendColumn(items);
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
