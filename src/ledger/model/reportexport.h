#pragma once
// The spreadsheet of the report the ledger panel shows: the column titles in
// bold in row 1, a record of the report's row query per row from row 2,
// amounts "#,##0", dates as dates, borders on the report's columns, Tahoma 9
// and fitted widths on columns A to L.
#include "data/spreadsheet.h"
#include "ledger/model/reports.h"

#include <functional>
#include <optional>

namespace ledger {

// reportSql: the row query the view ran last. Nothing for a page outside 0
// to 6.
// Where an export's cells go, row after row.
using CellSink = std::function<void(int row, int col, const platform::Cell& cell)>;

// How many columns the export of a page has; 0 for a page outside 0 to 6.
int ReportColumnCount(int page, bool warehouseColumn);
// The export's cells in row order, each with its own style only (the title
// row bold, amounts "#,##0"); false for a page outside 0 to 6.
bool WriteReport(const ReportContext& ctx, int page, const QString& reportSql, const ReportRange& range,
                 bool warehouseColumn, const CellSink& put);

// The same written straight into an .xlsx file as the rows are read, with
// fitted widths on A to L: a year's journal is never held. False for a
// page outside 0 to 6 (no file); throws Failure when the file fails.
bool ExportReport(const ReportContext& ctx, int page, const QString& reportSql, const ReportRange& range,
                  bool warehouseColumn, const QString& path);

} // namespace ledger
