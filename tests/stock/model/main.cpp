// The stock rules with no window, on database files and on a server.
#include "support/testserver.h"

#include <QCoreApplication>

int runStockModelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return OnBothEngines([&] { return runStockModelTests(argc, argv); });
}
