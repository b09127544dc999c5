// The ledger's tests: the panel, the journal rows written by hand at the
// keyboard, the totals the database keeps, on database files and on a
// server. (Its widget-free code is tested in model/, without a window.)
#include "support/testserver.h"

#include <QApplication>
#include <QTest>

int runPanelTests(int argc, char** argv);
int runJournalRowTests(int argc, char** argv);
int runSummaryTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    return OnBothEngines([&] {
        int failed = runPanelTests(argc, argv);
        failed += runJournalRowTests(argc, argv);
        failed += runSummaryTests(argc, argv);
        return failed;
    });
}
