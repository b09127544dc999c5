// The process entry: the program folder is the executable's own folder.
#include "core/app.h"
#include "program/program.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

namespace {

QIcon programIcon()
{
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icon"), {QStringLiteral("orvanta.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(programIcon());
    // Wayland desktops match the window to its menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvanta"));
    int rc = 0;
    {
        App app(QCoreApplication::applicationDirPath());
        app.onMainUnloaded = [] { QCoreApplication::quit(); };
        mMain::Main();
        rc = QApplication::exec();
    }
    return rc;
}
