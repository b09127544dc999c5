#pragma once
// The money of a cart line and of a transaction, as functions of the texts
// the fields show. Every reader parses with the one strict parser: a text
// that is not a number (pasted letters, a lone comma, nothing) counts as 0.
// Results are plain number text in the display locale; the field's own "#,##0" form then shows
// them rounded, and every later step reads that shown whole number.
#include <QString>
#include <optional>

namespace cashier {

// The value of an amount field ("#,##0" grouping ignored).
double AmountOf(const QString& text);
// The value of a quantity field (a decimal comma or point).
double QuantityOf(const QString& text);
// A quantity as its field shows it: a decimal comma.
QString QuantityFieldText(double quantity);
// The value of a percent field ("7,5" or "7.5"); a text that is not a
// number, or is below zero, counts as 0.
double PercentOf(const QString& text);
// A percent field's text as the settings keep it: the number in canonical
// form ("7.5"), "" for an empty field.
QString PercentText(const QString& fieldText);

// ---- One cart line (the item row of the panel and the add-line dialog)

// Discount amount per unit: percent / 100 × price.
QString DiscountAmountText(const QString& percent, const QString& price);
// Net price per unit: price − discount amount.
QString NetPriceText(const QString& price, const QString& discountAmount);
// Line total: quantity × net price; "0" for an empty quantity.
QString LineTotalText(const QString& quantity, const QString& netPrice);
// Net price from a typed total: total / quantity. Nothing when the total or
// the quantity is empty ("0" then); no value when the quantity reads as 0,
// where the net price stays as it is.
std::optional<QString> NetFromTotalText(const QString& total, const QString& quantity, const QString& netPrice);

// ---- The transaction's totals (one tick of the totals timer)

struct TotalsInput {
    QString totalCart; // sum of the ticked lines, as shown
    QString discount;  // transaction discount percent
    QString tax;       // tax percent
    QString pay;       // amount paid
    bool operator==(const TotalsInput&) const = default;
};

struct Totals {
    QString discountN;     // discount amount, 0 or negative
    QString totalDiscount; // total after discount
    QString taxN;          // tax amount
    QString totalTax;      // total with tax = amount due
    QString back;          // change: paid − due
    bool operator==(const Totals&) const = default;
};

// Each figure is rounded to whole units before the next one reads it.
Totals ComputeTotals(const TotalsInput& in);

} // namespace cashier
