// The cashier's tests: the widget-free model, then the panel at the keyboard.
#include <QApplication>

int runCashierModelTests(int argc, char** argv);
int runCashierPanelTests(int argc, char** argv);
int runCartOpsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = runCashierModelTests(argc, argv);
    failed += runCashierPanelTests(argc, argv);
    failed += runCartOpsTests(argc, argv);
    return failed;
}
