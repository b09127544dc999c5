#include "catalogue/listrows.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"

#include <QSignalBlocker>

namespace catalogue {

std::optional<QString> ChosenRow(platform::ListBox& list, const std::function<bool(const QString&)>& shown)
{
    const int row = list.ListIndex();
    if (row < 2)
        return std::nullopt;
    const QString seen = list.List(row);
    list.forgetRows();
    if (list.List(row) == seen && shown(seen))
        return seen;
    mMain::MsgWarn(GoneMessage(RowCode(seen)), mMain::MsgTitleWarn);
    return std::nullopt;
}

QStringList MarkedRows(platform::ListBox& list)
{
    QStringList rows;
    for (int i = 2; i < list.ListCount(); ++i)
        if (list.Selected(i))
            rows << list.List(i);
    return rows;
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

void Announce(const Wrote& wrote)
{
    if (wrote.catalogue)
        ::Announce(&ShopSession::catalogueChanged);
    if (wrote.stock)
        ::Announce(&ShopSession::stockChanged);
}

} // namespace catalogue
