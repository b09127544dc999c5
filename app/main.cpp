// The process entry: the program folder is the executable's own folder.
#include "core/app.h"
#include "program/program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int rc = 0;
    {
        App app(QCoreApplication::applicationDirPath());
        app.onMainUnloaded = [] { QCoreApplication::quit(); };
        mMain::Main();
        rc = QApplication::exec();
    }
    return rc;
}
