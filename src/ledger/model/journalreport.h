#pragma once
// The journal (page 0): every row of the cash journal in a range, read a
// page at a time as the list shows it.
#include "ledger/model/reports.h"

namespace platform {
class DbRecordset;
}

namespace ledger {

ReportRows OpenJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                       bool warehouseColumn);
// Every record of the journal's row query (as the journal builds it), in
// its order, read a page of IDs at a time: the export of a year walks it
// without holding the year or a read between pages.
void ForEachJournalRecord(platform::DbConnection& db, const QString& journalSql,
                          const std::function<void(const platform::DbRecordset&)>& each);
Report BuildJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                    bool warehouseColumn);
// The journal view's footer sums over the rows of its query.
QString JournalSumsSql(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter);

} // namespace ledger
