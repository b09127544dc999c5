#pragma once
// What the report builders share among themselves; the panel and the export
// see only the reports' own headers.
#include "ledger/model/reports.h"

namespace ledger {

// The gap between two cells of a line.
extern const QString kBlank;
// An amount cell that shows "-" for nothing.
QString AmountOrDash(double v);
// A figure of the current record by its column's name.
double Field(const platform::DbRecordset& rs, const char* name);
// A date as the database's date literal.
QString Date(const ReportContext& ctx, const QDate& d);
// A report's lines as the list reads them.
ReportRows Held(Report r);
// A stored day ("yyyy-mm-dd", anything after it left aside) read by hand:
// a format parsed for every row of a year's journal costs more than the
// row. Anything but digits in its places gives no date.
QDate StoredDay(QStringView text);
QDate StoredDay(QByteArrayView text);

} // namespace ledger
