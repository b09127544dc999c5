#pragma once
// The item reports of sales, purchases, cash in and cash out (pages 1 to 4):
// the range's rows of the kind grouped by item.
#include "ledger/model/reports.h"

namespace ledger {

// page: Sales, Purchases, CashIn or CashOut.
Report BuildItemReport(const ReportContext& ctx, const ReportRange& range, int page);
// The item report's row query of a page.
QString ItemReportSql(const ReportContext& ctx, const ReportRange& range, int page);

} // namespace ledger
