// The ledger's tests: the widget-free report builders, then the panel.
#include <QApplication>
#include <QTest>

int runReportTests(int argc, char** argv);
int runPanelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    int failed = runReportTests(argc, argv);
    failed += runPanelTests(argc, argv);
    return failed;
}
