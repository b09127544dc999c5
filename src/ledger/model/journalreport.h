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
// The rows of the journal's row query (as the journal builds it), in its
// order, a page of IDs at a time: each page's query of the given columns
// (a select list) is handed to `read`, which reads it whole before the
// next. The export of a year walks it without holding the year or a read
// between pages.
void ForEachJournalPage(platform::DbConnection& db, const QString& journalSql, const QString& columns,
                        const std::function<void(const QString& pageSql)>& read);
// The journal lines of the rows of an ID as the journal shows them now, one
// a row; none when no row has the ID.
QStringList JournalLinesOfId(platform::DbConnection& db, qint64 id, bool warehouseColumn);
Report BuildJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                    bool warehouseColumn);
// The journal view's footer sums over the rows of its query.
QString JournalSumsSql(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter);

} // namespace ledger
