// The ledger's tests: the widget-free report builders, the panel, then the
// journal rows written by hand, the totals the database keeps, on database
// files and on a server.
#include "support/testserver.h"

#include <QApplication>
#include <QTest>

int runReportTests(int argc, char** argv);
int runPanelTests(int argc, char** argv);
int runJournalRowTests(int argc, char** argv);
int runSummaryTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    return OnBothEngines([&] {
        int failed = runReportTests(argc, argv);
        failed += runPanelTests(argc, argv);
        failed += runJournalRowTests(argc, argv);
        failed += runSummaryTests(argc, argv);
        return failed;
    });
}
