#pragma once
// SQL text values and the number rules: how a typed number is read, how an
// amount is rounded and shown, how a number is written into SQL and how a
// stored value is read back. Widget-free, so that the report builders, the
// arithmetic and the journal rows can use them without a window.
//
// One rounding rule holds everywhere: a value is first taken at 15
// significant digits (what Num writes and what the database keeps), then
// rounded half away from zero. Binary noise such as 45 * 0.7 =
// 31.499999999999996 therefore rounds as the 31.5 it is stored and shown as.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

namespace platform {

// A text literal: apostrophes are dropped (not doubled), the rest quoted.
QString Quote(const QString& text);
// The date literal of the database kind ("Access" or "MySQL"); "" for any
// other kind.
QString DateLiteral(const QString& kind, const QVariant& value);
// A number as SQL reads it: "." as decimal point, no grouping, no exponent,
// at most 15 significant digits. A value that is not finite writes "0".
QString Num(double value);
// The rounding rule above, to the given number of decimals (0: whole units).
double RoundAmount(double value, int decimals = 0);
// The discount of a price at a percent: price x percent / 100, kept to four
// decimals by the rounding rule, as an amount column holds it.
double DiscountAmount(double price, double percent);
// The net price of a price at a discount percent: the price less that
// discount. The one rule for the cart, the catalogue and the buying cost
// a sale books, so that one item never has two net prices.
double NetPrice(double price, double percent);
// The leading decimal number of a text ("12.5abc" gives 12.5; none gives 0).
double Val(const QString& text);
// An amount as the operator typed it, read strictly in the locale the
// program displays with: an optional sign, digits with group separators only
// between groups of three, at most one decimal separator followed by digits.
// Anything else (an exponent, "nan", "inf", a stray character, an empty
// text) is not a number: *ok is false and the result 0.
double ParseAmount(const QString& text, bool* ok = nullptr);
// A quantity typed with a decimal comma (a point is taken as well); no
// grouping. Strict as ParseAmount.
double ParseQuantity(const QString& text, bool* ok = nullptr);

// What a figure field takes besides digits.
struct FigureRule {
    bool decimals = false; // a fraction
    bool negative = false; // a minus sign
};
// Where a figure's text was written.
enum class FigureSource {
    // The field's own text, as its keys and the program write it: an amount
    // field in the display locale's form (ParseAmount), a field that takes
    // decimals with one decimal comma or point and no grouping
    // (ParseQuantity).
    Field,
    // Written elsewhere (pasted, dropped, typed into a box without a key
    // filter), in either convention: "1,000,000.50" and "18.000,50" are read
    // as written. A separator that stands as a group of three groups, any
    // other one is the decimal separator; where two kinds stand, the last is
    // the decimal separator. A field without decimals refuses a fraction
    // ("1,5" is no whole figure); a field with decimals refuses a lone
    // separator before three digits ("1,000" is a thousand or one).
    Written,
};
// A figure read: its value, and its text without grouping ("-1234.5", the
// digits as written, "." before the fraction).
struct Figure {
    double value = 0;
    QString plain;
};
// The one reader of figures: the text read by the field's rule, or nothing
// when it is no figure for that field (an exponent, "nan", a line break,
// letters, a sign the rule does not take, separators out of place, an
// empty text). ParseAmount and ParseQuantity read a field's own text by it.
std::optional<Figure> ReadFigure(const QString& text, FigureRule rule, FigureSource source);
// "#,##0": whole units after the rounding rule, with the display locale's
// group separator.
QString FormatAmount(double value);
// A number for a field, in the display locale: its decimal separator, no
// grouping, at most 15 significant digits. ParseAmount reads it back.
QString FormatNumber(double value);
// A value read from the database as a number: null gives 0, a number itself,
// a text that holds one number (either decimal separator, no grouping) its
// value. Any other stored value raises DbError instead of passing as 0.
double StoredNumber(const QVariant& value);
// A character as a NOCASE column compares it: SQLite folds A to Z only, so
// "Teh" and "TEH" are one, "é" and "É" are not.
constexpr char NocaseFolded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
// A text so folded, appended to a key.
void AppendNocase(QByteArray& key, QByteArrayView text);
// A text equals a word in lower case as a NOCASE column compares them.
bool NocaseIs(QByteArrayView text, const char* word);

} // namespace platform
