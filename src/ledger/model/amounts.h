#pragma once
// The rebuild of the journal's six amount columns from each row's kind word
// and its debit or credit.
#include <QString>

namespace platform {
class DbConnection;
}

namespace ledger {

struct KindAmounts {
    double sale = 0;
    double shop = 0;
    double shopRetur = 0;
    double saleRetur = 0;
    double cashIn = 0;
    double cashOut = 0;
};

// The amount columns of one row. A kind books on one side, so its amount is
// that side less the other: a discount row, whose amount stands on the other
// side, keeps its negative amount. A word that is none of the six English
// kind words (compared exactly) gives 0 in all six.
KindAmounts AmountsOf(const QString& category, double debit, double credit);

// Rewrites the six amount columns of every journal row, all rows or none.
// Returns the number of rows rewritten.
int Ex(platform::DbConnection& db);

} // namespace ledger
