#include "plat/peers/TreeViewPeer.h"

#include <malloc.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QHeaderView>
#include <QTreeView>
#include <unordered_map>

namespace plat::peers {

namespace {

// Node ids: level in the top 8 bits, the node's number on its level below.
class LazyModel : public QAbstractItemModel {
public:
    LazyModel(std::vector<int> F, int Columns) : fanouts_(std::move(F)), columns_(Columns) {}

    static quintptr Id(int Level, qint64 Number) { return (quintptr(Level) << 56) | quintptr(Number); }
    static int LevelOf(quintptr Id) { return int(Id >> 56); }
    static qint64 NumberOf(quintptr Id) { return qint64(Id & ((quintptr(1) << 56) - 1)); }

    QModelIndex index(int Row, int Column, const QModelIndex& Parent) const override
    {
        if (Column < 0 || Column >= columns_ || Row < 0) return {};
        if (!Parent.isValid()) return createIndex(Row, Column, Id(0, Row));
        const int level = LevelOf(Parent.internalId()) + 1;
        if (level >= int(fanouts_.size())) return {};
        return createIndex(Row, Column, Id(level, NumberOf(Parent.internalId()) * fanouts_[level] + Row));
    }
    QModelIndex parent(const QModelIndex& Child) const override
    {
        if (!Child.isValid()) return {};
        const int level = LevelOf(Child.internalId());
        if (level == 0) return {};
        const qint64 parentNumber = NumberOf(Child.internalId()) / fanouts_[level];
        const int row = level - 1 == 0 ? int(parentNumber) : int(parentNumber % fanouts_[level - 1]);
        return createIndex(row, 0, Id(level - 1, parentNumber));
    }
    int rowCount(const QModelIndex& Parent) const override
    {
        const quintptr key = Parent.isValid() ? Parent.internalId() : ~quintptr(0);
        auto it = fetched_.find(key);
        return it == fetched_.end() ? 0 : it->second;
    }
    int columnCount(const QModelIndex&) const override { return columns_; }
    bool hasChildren(const QModelIndex& Parent) const override
    {
        if (!Parent.isValid()) return true;
        if (Parent.column() != 0) return false;
        return LevelOf(Parent.internalId()) + 1 < int(fanouts_.size());
    }
    bool canFetchMore(const QModelIndex& Parent) const override
    {
        return hasChildren(Parent) && rowCount(Parent) == 0;
    }
    void fetchMore(const QModelIndex& Parent) override
    {
        const int level = Parent.isValid() ? LevelOf(Parent.internalId()) + 1 : 0;
        const int count = fanouts_[level];
        beginInsertRows(Parent, 0, count - 1);
        fetched_[Parent.isValid() ? Parent.internalId() : ~quintptr(0)] = count;
        endInsertRows();
    }
    QVariant data(const QModelIndex& Index, int Role) const override
    {
        if (Role != Qt::DisplayRole) return {};
        if (Index.column() > 0) return QStringLiteral("Cell %1.%2").arg(Index.row()).arg(Index.column());
        return QStringLiteral("Node %1").arg(Index.row());
    }

private:
    std::vector<int> fanouts_;
    int columns_ = 1;
    std::unordered_map<quintptr, int> fetched_;
};

int ArgcZero = 0;
char* ArgvNone[] = {nullptr};

void EnsureApplication()
{
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(ArgcZero, ArgvNone);
    }
}

} // namespace

struct TreeViewPeer::Impl {
    LazyModel Model;
    QTreeView View;
    Impl(std::vector<int> F, int Columns) : Model(std::move(F), Columns)
    {
        View.setUniformRowHeights(true);
        View.resize(400, 600);
        View.setModel(&Model);
    }
};

TreeViewPeer::TreeViewPeer(std::vector<int> Fanouts, int Columns)
{
    EnsureApplication();
    impl_ = std::make_unique<Impl>(std::move(Fanouts), Columns);
}

void TreeViewPeer::SetViewSize(int Width, int Height) { impl_->View.resize(Width, Height); }

void TreeViewPeer::SetSectionWidths(int Width)
{
    QHeaderView* h = impl_->View.header();
    h->setStretchLastSection(false);
    for (int i = 0; i < h->count(); ++i) h->resizeSection(i, Width);
}

void TreeViewPeer::ResizeSection(int Logical, int Width) { impl_->View.header()->resizeSection(Logical, Width); }

void TreeViewPeer::ResizeColumnToContents(int Column) { impl_->View.resizeColumnToContents(Column); }

int TreeViewPeer::SectionWidth(int Logical) const { return impl_->View.header()->sectionSize(Logical); }

int TreeViewPeer::SectionAt(int X) const { return impl_->View.header()->logicalIndexAt(X); }

void TreeViewPeer::MoveSection(int From, int To) { impl_->View.header()->moveSection(From, To); }

TreeViewPeer::~TreeViewPeer() = default;

void TreeViewPeer::ShowAndPaint()
{
    impl_->View.show();
    RenderViewport();
}

void TreeViewPeer::ExpandAll()
{
    impl_->View.expandAll();
    QApplication::processEvents();
}

void TreeViewPeer::CollapseAll()
{
    impl_->View.collapseAll();
    QApplication::processEvents();
}

void TreeViewPeer::SelectAll()
{
    impl_->View.setSelectionMode(QAbstractItemView::ExtendedSelection);
    impl_->View.selectAll();
}

void TreeViewPeer::ClearSelection() { impl_->View.clearSelection(); }

void TreeViewPeer::ScrollToEnd()
{
    impl_->View.scrollToBottom();
    QApplication::processEvents();
}

void TreeViewPeer::ScrollToTop()
{
    impl_->View.scrollToTop();
    QApplication::processEvents();
}

void TreeViewPeer::ScrollToMiddle()
{
    QScrollBar* bar = impl_->View.verticalScrollBar();
    bar->setValue((bar->minimum() + bar->maximum()) / 2);
    QApplication::processEvents();
}

void TreeViewPeer::RenderViewport()
{
    QImage image(impl_->View.viewport()->size(), QImage::Format_ARGB32);
    impl_->View.viewport()->render(&image);
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks + mallinfo2().hblkhd;
}

double StandardItemModelBytesPerItem(int Count)
{
    EnsureApplication();
    const std::size_t before = HeapInUse();
    auto* model = new QStandardItemModel;
    for (int i = 0; i < Count; ++i) model->appendRow(new QStandardItem(QStringLiteral("Node")));
    const std::size_t after = HeapInUse();
    delete model;
    return double(after - before) / Count;
}

std::string EncodeModelRows(int Count)
{
    LazyModel model({Count}, 1);
    model.fetchMore(QModelIndex());
    QModelIndexList rows;
    rows.reserve(Count);
    for (int r = 0; r < Count; ++r) rows.append(model.index(r, 0, QModelIndex()));
    std::unique_ptr<QMimeData> mime(model.mimeData(rows));
    if (!mime) return {};
    return mime->data(model.mimeTypes().value(0)).toStdString();
}

int DecodeModelRows(const std::string& Bytes)
{
    QStandardItemModel model;
    QMimeData mime;
    mime.setData(model.mimeTypes().value(0), QByteArray::fromStdString(Bytes));
    model.dropMimeData(&mime, Qt::CopyAction, 0, 0, QModelIndex());
    return model.rowCount();
}

} // namespace plat::peers
