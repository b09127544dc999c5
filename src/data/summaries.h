#pragma once
// Running totals that the database keeps up to date by itself, through
// triggers on the journal and the stock movements, so that whoever writes
// (this program, another workstation, a row edited by hand or with the
// engine's own shell) keeps them right, and reading them costs the same on
// the first day as after ten years:
//   cashtotal   one row: the journal's debit and credit sums and how many
//               rows hold each;
//   stockmonth  per code, description and month: the movements' count, the
//               largest id, the in and out sums, the balance and the sums by
//               kind. The month is "yyyy-mm" for a date of that month, ""
//               for a movement without one; a date written otherwise is
//               kept where it sorts among the days (see StockPeriod).
#include <QString>
#include <exception>
#include <functional>
#include <optional>

class QByteArray;
class QByteArrayView;

namespace platform {

class DbConnection;

// How far a build of the totals has come: what is being done, in the
// operator's words, and the share of all of it done so far (0 to 1; below
// 0 when a step starts that cannot tell how far it is, on a server).
using SummaryProgress = std::function<void(const QString& what, double done)>;

// One kept table (or a few) and the triggers that keep it: whether it is
// whole and of the current rule, and how it is made from the rows. The
// build reports the share of its own work done (0 to 1); it runs inside the
// write transaction of EnsureSummaries.
struct SummaryStep {
    QString what;
    std::function<bool(DbConnection&)> whole;
    std::function<void(DbConnection&, const std::function<void(double)>&)> build;
    // The language key of what, which is its Indonesian wording.
    const char* key;
};

// Makes sure the open database keeps its totals: a database made before
// they existed (or one whose totals were damaged or kept by an earlier rule)
// gets the missing ones built once from its rows, inside one write
// transaction, reporting its progress while it works. Records the outcome
// on the connection (keepsSummaries). A database that cannot be given them
// (read only, no right to create triggers on a server) is left as it is and
// false is returned; its readers then sum the rows themselves. A build that
// failed (a full disk, a read-only file, a statement refused) leaves nothing
// of itself behind and is given in failure, where asked for, so that the
// operator can be told; the next call tries again.
bool EnsureSummaries(DbConnection& db, const SummaryProgress& progress = {}, std::exception_ptr* failure = nullptr);

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

// The period under which stockmonth keeps a movement of the given date
// text. The ranges of the stock report compare dates as texts, so a period
// sorts among the months as its date sorts among their days: "yyyy-mm" for
// a date within that month's first and last day; a text after a month's
// last day and before the next month's first ('2026-12-31 08:00:00',
// '2026-12-5') falls between the two months ("2026-12~"); an empty date
// sorts before them all ("!"). A null date gives "". The triggers hold the
// same rule in SQL (StockPeriodSql).
QByteArray StockPeriod(QByteArrayView moment, bool isNull = false);
QString StockPeriodSql(const QString& moment);

} // namespace platform
