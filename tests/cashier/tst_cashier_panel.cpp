#include <QObject>
int runCashierPanelTests(int, char**)
{
    return 0;
}
