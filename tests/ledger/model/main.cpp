// The ledger's widget-free code with no window: the report builders, print
// lines, export workbooks and amount rebuild, and the journal rows written
// by hand, on database files and on a server.
#include "support/testserver.h"

#include <QCoreApplication>

int runReportTests(int argc, char** argv);
int runJournalEntryTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return OnBothEngines([&] {
        int failed = runReportTests(argc, argv);
        failed += runJournalEntryTests(argc, argv);
        return failed;
    });
}
