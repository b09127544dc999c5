#include "cashier/model/arithmetic.h"

#include "data/sqltext.h"

#include <algorithm>

namespace cashier {

using platform::FormatAmount;
using platform::FormatNumber;

double AmountOf(const QString& text)
{
    return platform::ParseAmount(text);
}

double QuantityOf(const QString& text)
{
    return platform::ParseQuantity(text);
}

QString QuantityFieldText(double quantity)
{
    return platform::Num(quantity).replace(QLatin1Char('.'), QLatin1Char(','));
}

// A percent takes a decimal comma or point, as a quantity does. No percent
// is below zero: a pasted minus would add to a total a discount the journal
// never books.
double PercentOf(const QString& text)
{
    return std::max(0.0, platform::ParseQuantity(text));
}

QString PercentText(const QString& fieldText)
{
    if (fieldText.trimmed().isEmpty())
        return QString();
    return platform::Num(PercentOf(fieldText));
}

QString DiscountAmountText(const QString& percent, const QString& price)
{
    return FormatNumber(platform::DiscountAmount(AmountOf(price), PercentOf(percent)));
}

QString NetPriceText(const QString& price, const QString& discountAmount)
{
    return FormatNumber(AmountOf(price) - AmountOf(discountAmount));
}

QString LineTotalText(const QString& quantity, const QString& netPrice)
{
    if (quantity.isEmpty())
        return QStringLiteral("0");
    return FormatNumber(QuantityOf(quantity) * AmountOf(netPrice));
}

std::optional<QString> NetFromTotalText(const QString& total, const QString& quantity, const QString& netPrice)
{
    if (total.isEmpty() || quantity.isEmpty())
        return QStringLiteral("0");
    const double q = QuantityOf(quantity);
    if (q == 0)
        return netPrice.isEmpty() ? std::optional<QString>(QStringLiteral("0")) : std::nullopt;
    return FormatNumber(AmountOf(total) / q);
}

Totals ComputeTotals(const TotalsInput& in)
{
    Totals t;
    const double cart = AmountOf(in.totalCart);
    t.discountN = FormatAmount(-(cart * (PercentOf(in.discount) / 100)));
    t.totalDiscount = FormatAmount(cart + AmountOf(t.discountN));
    const double afterDiscount = AmountOf(t.totalDiscount);
    t.taxN = FormatAmount(afterDiscount * (PercentOf(in.tax) / 100));
    t.totalTax = FormatAmount(afterDiscount + AmountOf(t.taxN));
    const double due = AmountOf(t.totalTax);
    t.back = in.pay.isEmpty() ? FormatAmount(-due) : FormatAmount(AmountOf(in.pay) - due);
    return t;
}

} // namespace cashier
