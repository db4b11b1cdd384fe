// main() of the GUI test executables: the offscreen platform with one 1280x1024 screen at
// 96 DPI and device pixel ratio 1, the fonts registered, then the GoogleTest cases.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "plat/Forms.h"

namespace plat::testing {
void InstallStrictResponders();
}

int main(int argc, char** argv)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString config;
    if (platform.isEmpty() || platform == "offscreen") {
        const QString path = QDir::temp().filePath(QStringLiteral("configurator-offscreen-%1.json").arg(QCoreApplication::applicationPid()));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(R"({"synchronousWindowSystemEvents": true, "windowFrameMargins": false,
  "screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280, "height": 1024,
               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            f.close();
            config = path;
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.toUtf8());
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_FONT_DPI", "96");
    plat::Application->Initialize();
    plat::testing::InstallStrictResponders();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    if (!config.isEmpty()) QFile::remove(config);
    return rc;
}
