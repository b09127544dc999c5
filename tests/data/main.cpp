// The data part's tests: the number rules and the reader of queries on
// database files, then the connection and the SQL text translator on
// database files and on a server.
#include "support/testserver.h"

#include <QCoreApplication>

int runDataTests(int argc, char** argv);
int runReaderTests(int argc, char** argv);
int runConnectionTests(int argc, char** argv);
int runTranslatorTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = OnFiles([&] { return runDataTests(argc, argv) + runReaderTests(argc, argv); });
    failed += OnBothEngines([&] { return runConnectionTests(argc, argv) + runTranslatorTests(argc, argv); });
    return failed;
}
