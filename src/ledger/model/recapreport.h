#pragma once
// The daily recapitulation (page 5): the range's sums by day.
#include "ledger/model/reports.h"

namespace ledger {

ReportRows OpenRecap(const ReportContext& ctx, const ReportRange& range);
Report BuildRecap(const ReportContext& ctx, const ReportRange& range);

} // namespace ledger
