#include "plat/peers/ListPopupPeer.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>

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

struct ListPopupPeer::Impl {
    QListWidget List;
    Impl(const std::vector<std::string>& Captions, int W, int H)
    {
        List.setWindowFlags(Qt::Popup);
        List.setUniformItemSizes(true);
        QStringList items;
        items.reserve(static_cast<qsizetype>(Captions.size()));
        for (const std::string& c : Captions) items << QString::fromStdString(c);
        List.addItems(items);
        List.resize(W, H);
    }
};

ListPopupPeer::ListPopupPeer(const std::vector<std::string>& Captions, int Width, int Height)
{
    EnsureApplication();
    impl_ = std::make_unique<Impl>(Captions, Width, Height);
}

ListPopupPeer::~ListPopupPeer() = default;

void ListPopupPeer::Open(int CurrentIndex)
{
    QListWidget& l = impl_->List;
    l.setCurrentRow(CurrentIndex);
    l.show();
    l.scrollToItem(l.currentItem());
    QImage image(l.size(), QImage::Format_ARGB32);
    l.render(&image);
}

void ListPopupPeer::Close() { impl_->List.hide(); }

} // namespace plat::peers
