// The menu bar's highlight.
#include "core/app.h"
#include "shell/fmain.h"

using namespace platform;

namespace {
const QColor kRestText(51, 51, 51);
const QColor kActiveText(217, 77, 22);
const QColor kActiveFill(245, 245, 245);
} // namespace

void fMain::TabActive(QWidget* menuImage)
{
    if (!menuImage)
        return;
    App& a = app();
    if (!a.MenuKey.isEmpty()) {
        if (Label* l = menuLabel(a.MenuKey))
            l->setForeColor(kRestText);
        if (Panel* s = menuShape(a.MenuKey))
            s->setFillColor(pMenu->palette().color(QPalette::Base));
    }
    a.MenuKey = menuImage->objectName().mid(1);
    if (Label* l = menuLabel(a.MenuKey))
        l->setForeColor(kActiveText);
    if (Panel* s = menuShape(a.MenuKey))
        s->setFillColor(kActiveFill);
}
