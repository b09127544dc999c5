// Not built into anything: the widget_guard test compiles it as widget-free
// code is compiled, and passes only when the guard stops it.
#include <QtCore/QString>
#include <QtWidgets/QMessageBox>

int probe()
{
    return QMessageBox::Ok;
}
