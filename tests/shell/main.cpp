// The shell's tests: the main window on database files, then the login on
// both engines, database files and a server.
#include "support/testserver.h"

#include <QApplication>

int runShellTests(int argc, char** argv);
int runLoginTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = OnFiles([&] { return runShellTests(argc, argv); });
    failed += OnBothEngines([&] { return runLoginTests(argc, argv); });
    return failed;
}
