#include "ledger/model/stockreport.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "ledger/model/reportcommon.h"

using platform::AlignLeft;
using platform::AlignRight;
using platform::Pad;
using platform::Quote;

namespace ledger {

QString StockKey(const QString& code, const QString& description)
{
    return code.toCaseFolded() + QChar(0x1f) + description.toCaseFolded();
}

QString StockCell(double figure, const QString& unit)
{
    return (platform::FormatNumber(figure) + kBlank + unit).trimmed();
}

QString StockFiguresSql(const ReportContext& ctx, const ReportRange& range)
{
    const QString from = Date(ctx, range.from);
    const QString inRange = QStringLiteral("moment >= ") + from;
    auto sum = [&](const QString& column, const QString& categories, const char* as) {
        return QStringLiteral("sum(case when ") + inRange + QStringLiteral(" and (") + categories +
               QStringLiteral(") then `") + column + QStringLiteral("` else 0 end) as ") + QString::fromLatin1(as);
    };
    const QString sql =
        QStringLiteral("select code, description, sum(case when moment < ") + from +
        QStringLiteral(" then coalesce(`in`, 0) - coalesce(`out`, 0) else 0 end) as begin_balance, ") +
        sum(QStringLiteral("in"), QStringLiteral("category='Shop' or category='Beli'"), "shop") + QStringLiteral(", ") +
        sum(QStringLiteral("out"), QStringLiteral("category='Sale' or category='Jual'"), "sale") +
        QStringLiteral(", ") +
        sum(QStringLiteral("out"), QStringLiteral("category='Shop Retur' or category='Retur Beli'"), "shop_retur") +
        QStringLiteral(", ") +
        sum(QStringLiteral("in"), QStringLiteral("category='Sale Retur' or category='Retur Jual'"), "sale_retur") +
        QStringLiteral(", ") + sum(QStringLiteral("in"), QStringLiteral("category='Opname'"), "manual_plus") +
        QStringLiteral(", ") + sum(QStringLiteral("out"), QStringLiteral("category='Opname'"), "manual_min") +
        QStringLiteral(" from stockflow where moment <= ") + Date(ctx, range.to) +
        QStringLiteral(" group by code, description");
    return sql;
}

namespace {

const char* const kFigureColumns[] = {"begin_balance", "shop",        "sale",      "shop_retur",
                                      "sale_retur",    "manual_plus", "manual_min"};

// Float noise of long sums is no stock: every figure is held to six
// decimal places, purchases and sales (currency) to four.
StockFigures Held(StockFigures f)
{
    auto quantity = [](double v) { return platform::RoundAmount(v, 6); };
    auto currency = [](double v) { return platform::RoundAmount(v, 4); };
    f.begin = quantity(f.begin);
    f.shop = currency(f.shop);
    f.sale = currency(f.sale);
    f.shopRetur = quantity(f.shopRetur);
    f.saleRetur = quantity(f.saleRetur);
    f.manualPlus = quantity(f.manualPlus);
    f.manualMin = quantity(f.manualMin);
    return f;
}

// Adds the figures of each row of a query grouped by code and description
// that names some of kFigureColumns.
void AddFigures(const ReportContext& ctx, const QString& sql, QHash<QString, StockFigures>& figures)
{
    auto rs = ctx.db.OpenRecordset(sql);
    int at[std::size(kFigureColumns)];
    for (size_t i = 0; i < std::size(kFigureColumns); ++i) {
        at[i] = -1;
        for (int c = 0; c < rs->columnCount(); ++c)
            if (rs->names().at(c).compare(QLatin1String(kFigureColumns[i]), Qt::CaseInsensitive) == 0)
                at[i] = c;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        StockFigures& f = figures[StockKey(rs->Fields(QStringLiteral("code")).toString(),
                                           rs->Fields(QStringLiteral("description")).toString())];
        double* into[] = {&f.begin, &f.shop, &f.sale, &f.shopRetur, &f.saleRetur, &f.manualPlus, &f.manualMin};
        for (size_t i = 0; i < std::size(kFigureColumns); ++i)
            if (at[i] >= 0)
                *into[i] += rs->Fields(at[i]).toDouble();
    }
}

// The sums of a range's movements by kind, from the rows.
QString KindSumsOfRows(const QString& condition)
{
    auto sum = [](const char* column, const char* categories, const char* as) {
        return QStringLiteral("sum(case when ") + QString::fromLatin1(categories) + QStringLiteral(" then `") +
               QString::fromLatin1(column) + QStringLiteral("` else 0 end) as ") + QString::fromLatin1(as);
    };
    return QStringLiteral("select code, description, ") +
           QStringList{sum("in", "category='Shop' or category='Beli'", "shop"),
                       sum("out", "category='Sale' or category='Jual'", "sale"),
                       sum("out", "category='Shop Retur' or category='Retur Beli'", "shop_retur"),
                       sum("in", "category='Sale Retur' or category='Retur Jual'", "sale_retur"),
                       sum("in", "category='Opname'", "manual_plus"),
                       sum("out", "category='Opname'", "manual_min")}
               .join(QStringLiteral(", ")) +
           QStringLiteral(" from stockflow where ") + condition + QStringLiteral(" group by code, description");
}

QString Period(const QDate& d)
{
    return Quote(d.toString(QStringLiteral("yyyy-MM")));
}

QDate LastDay(const QDate& d)
{
    return QDate(d.year(), d.month(), d.daysInMonth());
}

// A range read as the months the database sums whole, and the rows at its
// ends read one by one. Dates compare as texts, as the range's own
// condition compares them, so a date the program did not write
// ('2026-12-31 08:00:00', '2026-12-5') that sorts after a month's last day
// is kept between that month and the next: the rows before the first whole
// month are read up to its first day, those after the last whole month from
// just after its last day, and nothing falls between the parts.
struct StockSpans {
    QStringList rows; // conditions on the movements
    QDate firstMonth; // null: no whole month
    QDate lastMonth;
};

StockSpans SpansOf(const ReportContext& ctx, const ReportRange& range)
{
    StockSpans s;
    const QDate& f = range.from;
    const QDate& t = range.to;
    if (!f.isValid() || !t.isValid() || f > t)
        return s;
    QDate first(f.year(), f.month(), 1);
    if (f.day() != 1)
        first = first.addMonths(1);
    QDate last(t.year(), t.month(), 1);
    if (t != LastDay(t))
        last = last.addMonths(-1);
    if (first > last) {
        s.rows << QStringLiteral("moment >= ") + Date(ctx, f) + QStringLiteral(" and moment <= ") + Date(ctx, t);
        return s;
    }
    s.firstMonth = first;
    s.lastMonth = last;
    if (f < first)
        s.rows << QStringLiteral("moment >= ") + Date(ctx, f) + QStringLiteral(" and moment < ") + Date(ctx, first);
    if (t > LastDay(last))
        s.rows << QStringLiteral("moment > ") + Date(ctx, LastDay(last)) + QStringLiteral(" and moment <= ") +
                      Date(ctx, t);
    return s;
}

// SQLite, knowing nothing of how the months spread, reads a long span
// through the index on period with one table lookup per row, which costs a
// ten-year report ten times what the scan of stockmonth_key does (it holds
// period too). "+period" keeps SQLite off that index; a server plans by its
// own statistics.
QString PeriodColumn(const ReportContext& ctx, bool longSpan)
{
    return longSpan && !ctx.db.isOdbc() ? QStringLiteral("+period") : QStringLiteral("period");
}

QString MonthCondition(const ReportContext& ctx, const StockSpans& s)
{
    const QString column = PeriodColumn(ctx, s.firstMonth.addMonths(12) <= s.lastMonth);
    return column + QStringLiteral(" >= ") + Period(s.firstMonth) + QStringLiteral(" and ") + column +
           QStringLiteral(" <= ") + Period(s.lastMonth);
}

// The same figures from the months the database keeps: the balance before
// the range is every earlier month plus the range's first month up to its
// first day; the range's movements are its whole months plus its part
// months' rows. Nothing here grows with the history before the range.
QHash<QString, StockFigures> StockFiguresFromMonths(const ReportContext& ctx, const ReportRange& range)
{
    QHash<QString, StockFigures> figures;
    if (!range.from.isValid() || !range.to.isValid() || range.from > range.to)
        return figures;
    const QDate monthStart(range.from.year(), range.from.month(), 1);
    AddFigures(ctx,
               QStringLiteral("select code, description, sum(balance) as begin_balance from stockmonth where ") +
                   PeriodColumn(ctx, true) + QStringLiteral(" > '' and ") + PeriodColumn(ctx, true) +
                   QStringLiteral(" < ") + Period(monthStart) + QStringLiteral(" group by code, description"),
               figures);
    if (range.from > monthStart)
        AddFigures(ctx,
                   QStringLiteral("select code, description, sum(coalesce(`in`, 0) - coalesce(`out`, 0)) as "
                                  "begin_balance from stockflow where moment >= ") +
                       Date(ctx, monthStart) + QStringLiteral(" and moment < ") + Date(ctx, range.from) +
                       QStringLiteral(" group by code, description"),
                   figures);
    const StockSpans spans = SpansOf(ctx, range);
    if (spans.firstMonth.isValid())
        AddFigures(ctx,
                   QStringLiteral("select code, description, sum(shop) as shop, sum(sale) as sale, sum(shop_retur) "
                                  "as shop_retur, sum(sale_retur) as sale_retur, sum(manual_plus) as manual_plus, "
                                  "sum(manual_min) as manual_min from stockmonth where ") +
                       MonthCondition(ctx, spans) + QStringLiteral(" group by code, description"),
                   figures);
    for (const QString& rows : spans.rows)
        AddFigures(ctx, KindSumsOfRows(rows), figures);
    return figures;
}

// The row query of the stock items that moved in the range: each code
// named by its latest movement there.
QString StockItemsSql(const ReportContext& ctx, const ReportRange& range)
{
    const QString w = DateCondition(ctx, range);
    if (!ctx.db.keepsSummaries())
        return QStringLiteral("select code, description, unit from stockflow where ") + w +
               QStringLiteral(" and id in (select max(id) from stockflow where ") + w +
               QStringLiteral(" group by code) order by code asc");
    // The latest movement of each code, from the whole months' largest ids
    // and the part months' rows.
    const StockSpans spans = SpansOf(ctx, range);
    QStringList parts;
    if (spans.firstMonth.isValid())
        parts << QStringLiteral("select code, max(lastid) as id from stockmonth where ") + MonthCondition(ctx, spans) +
                     QStringLiteral(" and movements > 0 group by code");
    for (const QString& rows : spans.rows)
        parts << QStringLiteral("select code, max(id) as id from stockflow where ") + rows +
                     QStringLiteral(" group by code");
    QHash<QString, qint64> latest;
    for (const QString& sql : parts) {
        auto rs = ctx.db.OpenRecordset(sql);
        for (; !rs->Eof(); rs->MoveNext()) {
            if (rs->Fields(1).isNull())
                continue;
            const qint64 id = qint64(rs->Fields(1).toDouble());
            qint64& best = latest[rs->Fields(0).toString().toCaseFolded()];
            best = qMax(best, id);
        }
    }
    QStringList ids;
    ids.reserve(latest.size());
    for (qint64 id : std::as_const(latest))
        ids << QString::number(id);
    if (ids.isEmpty())
        ids << QStringLiteral("null");
    return QStringLiteral("select code, description, unit from stockflow where ") + w + QStringLiteral(" and id in (") +
           ids.join(QLatin1Char(',')) + QStringLiteral(") order by code asc");
}

} // namespace

QHash<QString, StockFigures> StockFiguresOf(const ReportContext& ctx, const ReportRange& range)
{
    QHash<QString, StockFigures> figures;
    if (ctx.db.keepsSummaries())
        figures = StockFiguresFromMonths(ctx, range);
    else
        AddFigures(ctx, StockFiguresSql(ctx, range), figures);
    for (StockFigures& f : figures)
        f = Held(f);
    return figures;
}

QVector<StockItem> StockItems(const ReportContext& ctx, const QString& sql)
{
    QVector<StockItem> items;
    auto rs = ctx.db.OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        StockItem item{rs->Fields(QStringLiteral("code")).toString(),
                       rs->Fields(QStringLiteral("description")).toString(),
                       rs->Fields(QStringLiteral("unit")).toString()};
        // Two movements sharing the highest id would list their code twice.
        if (!items.isEmpty() && items.last().code.compare(item.code, Qt::CaseInsensitive) == 0)
            continue;
        items.append(item);
    }
    return items;
}

Report BuildStock(const ReportContext& ctx, const ReportRange& range)
{
    Report r;
    const auto& t = ctx.title;
    QStringList head{AlignLeft(t(QStringLiteral("tCode")), Pad(8)),
                     AlignLeft(t(QStringLiteral("tDescription")), Pad(30))};
    for (const char* key : {"tBegin", "tShop", "tSale", "tManualPlus", "tManualMin", "tChange"})
        head << AlignRight(t(QString::fromLatin1(key)), Pad(18));
    r.add(head.join(kBlank));
    r.add(Rule());

    // One row per code that moved in the range, named by its latest
    // movement there, so that the same data always gives the same report.
    r.sql = StockItemsSql(ctx, range);
    const QHash<QString, StockFigures> figures = StockFiguresOf(ctx, range);
    for (const StockItem& item : StockItems(ctx, r.sql)) {
        const StockFigures f = figures.value(StockKey(item.code, item.description));
        QStringList cells{AlignLeft(item.code, Pad(8)), AlignLeft(item.description, Pad(30))};
        for (double v : {f.begin, f.shop, f.sale, f.manualPlus, f.manualMin, f.end()})
            cells << AlignRight(StockCell(v, item.unit), Pad(18));
        r.add(cells.join(kBlank));
    }
    return r;
}

} // namespace ledger
