#pragma once
// The spreadsheet of the report the ledger panel shows: the column titles in
// bold in row 1, a record of the report's row query per row from row 2,
// amounts "#,##0", dates as dates, borders on the report's columns, Tahoma 9
// and fitted widths on columns A to L.
#include "ledger/model/reports.h"
#include "platform/spreadsheet.h"

#include <optional>

namespace ledger {

// reportSql: the row query the view ran last. Nothing for a page outside 0
// to 6.
std::optional<platform::Workbook> ReportWorkbook(const ReportContext& ctx, int page, const QString& reportSql,
                                                 const ReportRange& range, bool warehouseColumn);

} // namespace ledger
