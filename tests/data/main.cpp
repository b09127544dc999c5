// The data part's tests: the number rules and the reader of queries on
// database files, then the connection, the SQL text translator and the
// kept stock months' periods on database files and on a server.
#include "support/testserver.h"

#include <QCoreApplication>

int runDataTests(int argc, char** argv);
int runReaderTests(int argc, char** argv);
int runConnectionTests(int argc, char** argv);
int runTranslatorTests(int argc, char** argv);
int runPeriodTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = OnFiles([&] { return runDataTests(argc, argv) + runReaderTests(argc, argv); });
    failed += OnBothEngines(
        [&] { return runConnectionTests(argc, argv) + runTranslatorTests(argc, argv) + runPeriodTests(argc, argv); });
    return failed;
}
