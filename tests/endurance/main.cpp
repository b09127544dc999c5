// A till left running: many sales in one process, on database files and on
// a server. Its own executable, so that its long run goes beside the others.
#include "support/testserver.h"

#include <QApplication>

int runTillMemoryTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] { return runTillMemoryTests(argc, argv); });
}
