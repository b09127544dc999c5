#pragma once
// The journal's sums by day, kept by the database through triggers on the
// journal like the cash totals, so that the journal's footer, its row count
// and the daily recapitulation of any range cost the days of the range, not
// its rows:
//   cashday  per stored day ("" for a row without one): how many rows, how
//            many of them have no cashier, charge, kind, code, description
//            or id (a filter on a column passes over a row without it, so
//            the day's sums are exact for the journal's lists only while
//            this is 0), the smallest and largest id, and the sums of the
//            amount columns.
#include <QString>

namespace platform {

class DbConnection;

// Makes the table and its triggers anew and fills it from the journal's
// rows. Inside the caller's write transaction.
void BuildCashDays(DbConnection& db);

// Whether the table and its triggers are all there.
bool CashDaysComplete(DbConnection& db);

// The columns of cashday a reader sums, in the order of the recap.
inline const char* const kCashDaySums[] = {"sale",    "shop",     "shop_retur", "sale_retur",
                                           "cash_in", "cash_out", "debit",      "credit"};

} // namespace platform
