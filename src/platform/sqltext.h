#pragma once
// SQL text values and the number rules: how a typed number is read, how an
// amount is shown and how a number is written into SQL. Widget-free, so that
// the report builders, the arithmetic and the journal rows can use them
// without a window.
#include <QString>
#include <QVariant>

namespace platform {

// A text literal: apostrophes are dropped (not doubled), the rest quoted.
QString Quote(const QString& text);
// The date literal of the database kind ("Access" or "MySQL"); "" for any
// other kind.
QString DateLiteral(const QString& kind, const QVariant& value);
// A number as SQL reads it: "." as decimal point, no grouping, up to 15
// significant digits.
QString Num(double value);
// The leading decimal number of a text ("12.5abc" gives 12.5; none gives 0).
double Val(const QString& text);
// An amount typed in the regional format: grouping separators ignored.
// *ok is false for a text that is not a number (which then gives 0).
double ParseAmount(const QString& text, bool* ok = nullptr);
// A quantity typed with a decimal comma (a point is taken as well).
double ParseQuantity(const QString& text, bool* ok = nullptr);
// "#,##0": whole units with the regional thousands separator.
QString FormatAmount(double value);

} // namespace platform
