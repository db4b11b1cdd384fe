#include "plat/peers/TableViewPeer.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>

namespace plat::peers {

namespace {

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

struct TableViewPeer::Impl {
    QStandardItemModel Model;
    QTableView View;
    int Cols, Rows;
    Impl(int C, int R, int W, int H, const std::string& Family, int Points) : Cols(C), Rows(R)
    {
        // The grid's fixed row and column are the view's headers.
        Model.setRowCount(R - 1);
        Model.setColumnCount(C - 1);
        for (int r = 0; r < R - 1; ++r)
            for (int c = 0; c < C - 1; ++c) Model.setItem(r, c, new QStandardItem(QString::number((r * 7 + c) % 997)));
        for (int c = 0; c < C - 1; ++c) Model.setHeaderData(c, Qt::Horizontal, QStringLiteral("Col %1").arg(c + 1));
        View.setModel(&Model);
        View.setFont(QFont(QString::fromStdString(Family), Points));
        View.horizontalHeader()->setDefaultSectionSize(W);
        View.horizontalHeader()->setMinimumSectionSize(1);
        View.verticalHeader()->setMinimumSectionSize(1);
        View.verticalHeader()->setDefaultSectionSize(H);
        View.verticalHeader()->setFixedWidth(W);
        View.horizontalHeader()->setFixedHeight(H);
        View.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        View.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        View.setFrameShape(QFrame::NoFrame);
        View.resize(C * W, R * H);
        View.show();
        QApplication::processEvents();
    }
};

TableViewPeer::TableViewPeer(int Cols, int Rows, int CellWidth, int CellHeight, const std::string& FontFamily,
                             int FontPointSize)
{
    EnsureApplication();
    impl_ = std::make_unique<Impl>(Cols, Rows, CellWidth, CellHeight, FontFamily, FontPointSize);
}

TableViewPeer::~TableViewPeer() = default;

void TableViewPeer::RenderViewport()
{
    // The whole view: headers and cells, as the grid paints its fixed and normal cells.
    QImage image(impl_->View.size(), QImage::Format_ARGB32);
    impl_->View.render(&image);
}

int TableViewPeer::VisibleCells() const
{
    const QHeaderView* h = impl_->View.horizontalHeader();
    const QHeaderView* v = impl_->View.verticalHeader();
    int cols = 0, rows = 0;
    for (int c = 0; c < impl_->Model.columnCount(); ++c) cols += h->sectionViewportPosition(c) < impl_->View.viewport()->width();
    for (int r = 0; r < impl_->Model.rowCount(); ++r) rows += v->sectionViewportPosition(r) < impl_->View.viewport()->height();
    return (cols + 1) * (rows + 1);
}

} // namespace plat::peers
