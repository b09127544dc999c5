// The ledger's tests: the widget-free report builders, the panel, then the
// journal rows written by hand.
#include <QApplication>
#include <QTest>

int runReportTests(int argc, char** argv);
int runPanelTests(int argc, char** argv);
int runJournalRowTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    int failed = runReportTests(argc, argv);
    failed += runPanelTests(argc, argv);
    failed += runJournalRowTests(argc, argv);
    return failed;
}
