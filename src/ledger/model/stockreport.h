#pragma once
// The stock report (page 6): each stock item that moved in the range with
// its balance before it, its movements by kind and its balance after.
#include "ledger/model/reports.h"

#include <QHash>

namespace ledger {

Report BuildStock(const ReportContext& ctx, const ReportRange& range);

// The figures of one stock item over a range.
struct StockFigures {
    double begin = 0;
    double shop = 0;
    double sale = 0;
    double shopRetur = 0;
    double saleRetur = 0;
    double manualPlus = 0;
    double manualMin = 0;
    double end() const { return begin + shop + saleRetur + manualPlus - sale - shopRetur - manualMin; }
};
// The figures of every code and description that moved up to the range's
// last day, in one grouped query; look them up with StockKey.
QHash<QString, StockFigures> StockFiguresOf(const ReportContext& ctx, const ReportRange& range);
// The one query that sums every code's movements for the stock report.
QString StockFiguresSql(const ReportContext& ctx, const ReportRange& range);
// Codes and descriptions compare without regard to case, as the tables do.
QString StockKey(const QString& code, const QString& description);
// The stock items a stock report's row query lists, each code once.
struct StockItem {
    QString code;
    QString description;
    QString unit;
};
QVector<StockItem> StockItems(const ReportContext& ctx, const QString& sql);
// A figure as the stock report shows it: the plain number and the unit.
QString StockCell(double figure, const QString& unit);

} // namespace ledger
