// The catalogue's tests: the widget-free module (on database files and on a
// server), then the windows.
#include "support/testserver.h"

#include <QApplication>
#include <QTest>

int runModelTests(int argc, char** argv);
int runWindowTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    int failed = OnBothEngines([&] { return runModelTests(argc, argv); });
    failed += runWindowTests(argc, argv);
    return failed;
}
