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
#include <QtGlobal>
#include <functional>

namespace platform {

class DbConnection;

// Makes the table and its triggers anew and fills it from the journal's
// rows. Inside the caller's write transaction; progress (0 to 1) is told
// as the rows are read.
void BuildCashDays(DbConnection& db, const std::function<void(double)>& progress = {});

// The whole journal's debit and credit sums and how many rows hold each,
// as the cash totals keep them.
struct JournalFigures {
    double debit = 0;
    double credit = 0;
    qint64 debitRows = 0;
    qint64 creditRows = 0;
};
// The same build, giving the whole journal's figures from the same pass
// over its rows (one pass instead of two when a database gets both at
// once).
JournalFigures BuildCashDaysWithTotals(DbConnection& db, const std::function<void(double)>& progress);

// Whether the table and its triggers are all there.
bool CashDaysComplete(DbConnection& db);

// The columns of cashday a reader sums, in the order of the recap.
inline const char* const kCashDaySums[] = {"sale",    "shop",     "shop_retur", "sale_retur",
                                           "cash_in", "cash_out", "debit",      "credit"};

} // namespace platform
