// The catalogue's widget-free module with no window, on database files and
// on a server.
#include "support/testserver.h"

#include <QCoreApplication>

int runModelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return OnBothEngines([&] { return runModelTests(argc, argv); });
}
