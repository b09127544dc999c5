// The cashier's tests: the widget-free model, then the panel at the keyboard,
// on database files and on a server.
#include "support/testserver.h"

#include <QApplication>

int runCashierModelTests(int argc, char** argv);
int runCashierPanelTests(int argc, char** argv);
int runCartOpsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] {
        int failed = runCashierModelTests(argc, argv);
        failed += runCashierPanelTests(argc, argv);
        failed += runCartOpsTests(argc, argv);
        return failed;
    });
}
