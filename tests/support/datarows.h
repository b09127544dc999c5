#pragma once
// What a query gives on a database, for comparing in tests.
#include <QString>
#include <QStringList>

namespace platform {
class DbConnection;
}

// Every row as its fields' texts joined by "|".
QStringList rowsOf(platform::DbConnection& db, const QString& sql);
// The first field of the first row as a whole number (a count).
qint64 count(platform::DbConnection& db, const QString& sql);
// What the tables hold of one inventory code, each "1" or "0": inventory,
// ShopItems, SaleItems, stock, and the self-links of quantity 1.
QStringList itemHoldings(platform::DbConnection& db, const QString& code);
