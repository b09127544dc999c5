#pragma once
#include <QString>

// Copies the database `in` to `out` and books a few days of trading into
// the copy through the cashier's own save: purchases, sales to tables and
// take-away with their recipes moving stock, cash in and out. Returns 0 on
// success, 1 on failure (then `out` does not exist).
int addTradingHistory(const QString& out, const QString& in);
