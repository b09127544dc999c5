// The cashier's tests at the keyboard: the panel and the cart line
// operations, on database files and on a server. (Its widget-free model is
// tested in model/, without a window.)
#include "support/testserver.h"

#include <QApplication>

int runCashierPanelTests(int argc, char** argv);
int runCartOpsTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] {
        int failed = runCashierPanelTests(argc, argv);
        failed += runCartOpsTests(argc, argv);
        return failed;
    });
}
