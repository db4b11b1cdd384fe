#include "plat/peers/TableEditPeer.h"

#include <QApplication>
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

struct TableEditPeer::Impl {
    QStandardItemModel Model;
    QTableView View;
    Impl(int C, int R)
    {
        Model.setRowCount(R);
        Model.setColumnCount(C);
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) Model.setItem(r, c, new QStandardItem(QString::number((r * 7 + c) % 997)));
        View.setModel(&Model);
        View.resize(600, 400);
        View.show();
        View.setFocus();
        QApplication::processEvents();
    }
};

TableEditPeer::TableEditPeer(int Cols, int Rows)
{
    EnsureApplication();
    impl_ = std::make_unique<Impl>(Cols, Rows);
}

TableEditPeer::~TableEditPeer() = default;

void TableEditPeer::OpenCloseEditor(int Col, int Row)
{
    const QModelIndex i = impl_->Model.index(Row, Col);
    impl_->View.openPersistentEditor(i);
    QApplication::processEvents();
    impl_->View.closePersistentEditor(i);
    QApplication::processEvents();
}

bool TableEditPeer::EditorOpen(int Col, int Row) const
{
    return impl_->View.isPersistentEditorOpen(impl_->Model.index(Row, Col));
}

} // namespace plat::peers
