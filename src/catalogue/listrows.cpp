#include "catalogue/listrows.h"

#include "catalogue/model/catalogue.h"
#include "core/mmain.h"
#include "platform/controls.h"

#include <QSignalBlocker>

namespace catalogue {

std::optional<QString> ChosenCode(platform::ListBox& list)
{
    const int row = list.ListIndex();
    if (row < 2)
        return std::nullopt;
    const QString shown = list.List(row);
    list.forgetRows();
    const QString now = list.List(row);
    if (now.isEmpty()) {
        mMain::MsgWarn(GoneMessage(RowCode(shown)), mMain::MsgTitleWarn);
        return std::nullopt;
    }
    return RowCode(now);
}

QStringList MarkedCodes(platform::ListBox& list, int& gone)
{
    gone = 0;
    list.forgetRows();
    QStringList codes;
    for (int i = 2; i < list.ListCount(); ++i) {
        if (!list.Selected(i))
            continue;
        const QString row = list.List(i);
        if (row.isEmpty())
            ++gone;
        else
            codes << RowCode(row);
    }
    return codes;
}

void ShowMarkState(platform::CheckBox& all, const platform::ListBox& list)
{
    const int value = list.ListCount() > 0 && list.SelCount() == list.ListCount() ? 1 : 0;
    if (all.Value() == value)
        return;
    QSignalBlocker block(&all);
    all.setValue(value);
}

void TellGone(int gone)
{
    if (gone > 0)
        mMain::MsgWarn(GoneMarkedMessage(gone), mMain::MsgTitleWarn);
}

} // namespace catalogue
