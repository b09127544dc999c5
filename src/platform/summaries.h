#pragma once
// Running totals that the database keeps up to date by itself, through
// triggers on the journal and the stock movements, so that whoever writes
// (this program, another workstation, a row edited by hand or with the
// engine's own shell) keeps them right, and reading them costs the same on
// the first day as after ten years:
//   cashtotal   one row: the journal's debit and credit sums and how many
//               rows hold each;
//   stockmonth  per code, description and month ("yyyy-mm"; "" for a
//               movement without a date): the movements' count, the largest
//               id, the in and out sums, the balance and the sums by kind.
#include <QString>
#include <optional>

namespace platform {

class DbConnection;

// Makes sure the open database keeps its totals: a database made before
// they existed (or one whose totals were damaged) gets them built once from
// its rows, inside one write transaction. Records the outcome on the
// connection (keepsSummaries). A database that cannot be given them (read
// only, no right to create triggers on a server) is left as it is and
// false is returned; its readers then sum the rows themselves.
bool EnsureSummaries(DbConnection& db);

// Whether the totals are still whole (tables, triggers, the one row of
// cash totals); a few catalogue reads. Records a loss on the connection; a
// failed read is no loss.
bool SummariesIntact(DbConnection& db);

// The journal's sums as the two whole-journal sums would give them.
struct CashTotals {
    double debit = 0;
    double credit = 0;
    qint64 debitRows = 0;
    qint64 creditRows = 0;
    // Debit less credit; empty when either side has no figure at all, as a
    // sum over no figures has none.
    std::optional<double> balance() const;
};

// The totals now, or nothing while another workstation holds the database
// (the caller keeps what it showed). Read from cashtotal where the database
// keeps it, else summed from the journal.
std::optional<CashTotals> PeekCashTotals(DbConnection& db);

// The same, read from the journal's rows: the reference the totals must
// always equal.
CashTotals SumCashRows(DbConnection& db);

} // namespace platform
