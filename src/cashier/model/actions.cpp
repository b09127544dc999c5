#include "cashier/model/actions.h"

#include "catalogue/model/catalogue.h"

#include <QStringList>

namespace cashier {

namespace {
const QStringList kWords = {QStringLiteral("Sale"),     QStringLiteral("Shop"),       QStringLiteral("Cash In"),
                            QStringLiteral("Cash Out"), QStringLiteral("Sale Retur"), QStringLiteral("Shop Retur")};
} // namespace

QString ActionWord(int listIndex)
{
    return listIndex >= 0 && listIndex < kWords.size() ? kWords[listIndex] : QString();
}

QString CartTable(const QString& action)
{
    return action + QStringLiteral("cart");
}

QString QuotedCartTable(const QString& action)
{
    return QLatin1Char('`') + CartTable(action) + QLatin1Char('`');
}

QString ChargeCaptionKey(const QString& action)
{
    const QString t = catalogue::ContactTable(action);
    if (t == QLatin1String("Customer"))
        return QStringLiteral("cCustomer");
    if (t == QLatin1String("Supplier"))
        return QStringLiteral("cSupplier");
    if (action == QLatin1String("Cash In"))
        return QStringLiteral("cDepositor");
    if (action == QLatin1String("Cash Out"))
        return QStringLiteral("cRecipient");
    return QStringLiteral("cCharge");
}

bool DebitSide(const QString& action)
{
    return action == QLatin1String("Sale") || action == QLatin1String("Cash In") ||
           action == QLatin1String("Shop Retur");
}

QString AmountColumn(const QString& action)
{
    QString c = action;
    return c.replace(QLatin1Char(' '), QLatin1Char('_'));
}

} // namespace cashier
