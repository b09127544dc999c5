#include "ledger/model/reports.h"

#include "platform/db.h"
#include "platform/sqltext.h"
#include "platform/textcells.h"

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Pad;
using platform::Quote;
using platform::Str;

namespace ledger {

namespace {

const QString kBlank = QStringLiteral(" ");

// An amount cell that shows "-" for nothing.
QString AmountOrDash(double v)
{
    return v == 0 ? QStringLiteral("-") : FormatAmount(v);
}

double Field(const platform::DbRecordset& rs, const char* name)
{
    return rs.Fields(QString::fromLatin1(name)).toDouble();
}

QString Date(const ReportContext& ctx, const QDate& d)
{
    return platform::DateLiteral(ctx.dbKind, d);
}

// The figure that a sum over rows holds as the view shows it: whole units.
double Shown(double v)
{
    return platform::RoundAmount(v);
}

// A kind's category words, Indonesian or English.
QString KindCondition(int page)
{
    return QStringLiteral(" and (category=") + Quote(GetPage(page)) + QStringLiteral(" or category=") +
           Quote(GetPage2(page)) + QLatin1Char(')');
}

// The item reports add up the side the kind books on; its discount rows
// stand on the other side and its tax rows on the same one.
bool DebitKind(int page)
{
    return page == Sales || page == CashIn;
}

} // namespace

QString GetPage(int index)
{
    static const char* const words[] = {"General",    "Jual",       "Beli",    "Kas Masuk", "Kas Keluar",
                                        "Retur Jual", "Retur Beli", "Summary", "Stok"};
    return index >= 0 && index < 9 ? QString::fromLatin1(words[index]) : QString();
}

QString GetPage2(int index)
{
    static const char* const words[] = {"General",    "Sale",       "Shop", "Cash In", "Cash Out",
                                        "Sale Retur", "Shop Retur", "",     ""};
    return index >= 0 && index < 9 ? QString::fromLatin1(words[index]) : QString();
}

QString ShownCategory(const QString& category)
{
    static const QHash<QString, QString> shown = {
        {QStringLiteral("Sale"), QStringLiteral("Jual")},
        {QStringLiteral("Shop"), QStringLiteral("Beli")},
        {QStringLiteral("Cash In"), QStringLiteral("Kas Masuk")},
        {QStringLiteral("Cash Out"), QStringLiteral("Kas Keluar")},
        {QStringLiteral("Sale Retur"), QStringLiteral("Retur Jual")},
        {QStringLiteral("Shop Retur"), QStringLiteral("Retur Beli")},
    };
    return shown.value(category, category);
}

QString FilterColumn(int index)
{
    static const char* const columns[] = {"Cashier", "Charge", "Category", "Code", "Description"};
    return index >= 0 && index < 5 ? QString::fromLatin1(columns[index]) : QString();
}

QString DateCondition(const ReportContext& ctx, const ReportRange& range)
{
    return QStringLiteral("moment between ") + Date(ctx, range.from) + QStringLiteral(" and ") + Date(ctx, range.to);
}

QString ShowDate(const QVariant& moment)
{
    // Read by hand: a format string parsed for every row of a month's
    // journal costs more than the rest of the row.
    const QString text = Str(moment);
    if (text.size() < 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return text;
    const QStringView t(text);
    bool y = false, m = false, d = false;
    const QDate date(t.left(4).toInt(&y), t.mid(5, 2).toInt(&m), t.mid(8, 2).toInt(&d));
    if (!y || !m || !d || !date.isValid())
        return text;
    QString out;
    out.reserve(10);
    out.append(t.mid(8, 2)).append(QLatin1Char('/')).append(t.mid(5, 2)).append(QLatin1Char('/')).append(t.left(4));
    return out;
}

QString NumberText(const platform::DbField& field)
{
    const int type = field.Value().typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
        return platform::FormatNumber(field.toDouble());
    return field.toString();
}

QString Rule()
{
    return QString(184, QLatin1Char('-'));
}

// ---------------------------------------------------------------- journal

namespace {
QString JournalCondition(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter)
{
    return DateCondition(ctx, range) + QStringLiteral(" and `") + FilterColumn(filter.column) +
           QStringLiteral("` like ") + Quote(filter.text + QLatin1Char('%'));
}
} // namespace

QString JournalSumsSql(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter)
{
    return QStringLiteral("select sum(debit) as debit, sum(credit) as credit from cash where ") +
           JournalCondition(ctx, range, filter);
}

Report BuildJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                    bool warehouseColumn)
{
    Report r;
    const QString idPad = Pad(20);
    const auto& t = ctx.title;

    QStringList head{AlignLeft(t(QStringLiteral("tNum")), Pad(10)), AlignLeft(t(QStringLiteral("tDate")), Pad(10)),
                     AlignLeft(t(QStringLiteral("tCashier")), Pad(12))};
    if (warehouseColumn)
        head << AlignLeft(t(QStringLiteral("tWarehouse")), Pad(12));
    head << AlignLeft(t(QStringLiteral("tCharge")), Pad(12)) << AlignLeft(t(QStringLiteral("tAction")), Pad(10))
         << AlignLeft(t(QStringLiteral("tCode")), Pad(8)) << AlignLeft(t(QStringLiteral("tDescription")), Pad(30))
         << AlignRight(t(QStringLiteral("tPrice")), Pad(15)) << AlignRight(t(QStringLiteral("tQuantity")), Pad(15))
         << AlignRight(t(QStringLiteral("tDebit")), Pad(15)) << AlignRight(t(QStringLiteral("tCredit")), Pad(15))
         << idPad;
    r.add(head.join(kBlank));
    r.add(Rule() + idPad);

    r.sql = QStringLiteral("select * from cash where ") + JournalCondition(ctx, range, filter) +
            QStringLiteral(" order by ID");
    auto rs = ctx.db.OpenRecordset(r.sql);
    // A month holds thousands of rows: the columns are found, and the cells'
    // widths made, once.
    auto column = [&](const char* name) { return rs->FieldIndex(QString::fromLatin1(name)); };
    const int cNo = column("no"), cMoment = column("moment"), cCashier = column("Cashier"),
              cWarehouse = column("warehouse"), cCharge = column("charge"), cCategory = column("Category"),
              cCode = column("Code"), cDescription = column("Description"), cSubTotal = column("SubTotal"),
              cQuantity = column("quantity"), cUnit = column("Unit"), cDebit = column("Debit"),
              cCredit = column("Credit"), cId = column("ID");
    const QString dash = QStringLiteral("-");
    for (; !rs->Eof(); rs->MoveNext()) {
        QString line;
        line.reserve(240);
        auto left = [&](const QString& text, int width) {
            platform::AppendLeft(line, text, width);
            line += kBlank;
        };
        auto right = [&](const QString& text, int width) {
            platform::AppendRight(line, text, width);
            line += kBlank;
        };
        left(Str(rs->Fields(cNo).Value()), 10);
        left(ShowDate(rs->Fields(cMoment).Value()), 10);
        left(Str(rs->Fields(cCashier).Value()), 12);
        if (warehouseColumn)
            left(Str(rs->Fields(cWarehouse).Value()), 12);
        left(Str(rs->Fields(cCharge).Value()), 12);
        left(ShownCategory(rs->Fields(cCategory).toString()), 10);
        left(Str(rs->Fields(cCode).Value()), 8);
        left(Str(rs->Fields(cDescription).Value()), 30);
        right(AmountOrDash(rs->Fields(cSubTotal).toDouble()), 15);
        const platform::DbField quantity = rs->Fields(cQuantity);
        right(quantity.toDouble() == 0 ? dash
                                       : (NumberText(quantity) + kBlank + rs->Fields(cUnit).toString()).trimmed(),
              15);
        right(FormatAmount(rs->Fields(cDebit).toDouble()), 15);
        right(FormatAmount(rs->Fields(cCredit).toDouble()), 15);
        const platform::DbField id = rs->Fields(cId);
        platform::AppendRight(line, Str(id.Value()), idPad.size());
        r.add(line, id.toLongLong());
    }

    if (r.lines.size() > 2) {
        // A sum over no rows is null, which reads as 0.
        auto sums = ctx.db.OpenRecordset(JournalSumsSql(ctx, range, filter));
        const double debit = Field(*sums, "debit");
        const double credit = Field(*sums, "credit");
        const int titleWidth = warehouseColumn ? 143 : 130;
        r.add(Rule() + idPad);
        r.add(AlignRight(t(QStringLiteral("tTotal")), Pad(titleWidth)) + kBlank +
              AlignRight(FormatAmount(debit), Pad(15)) + kBlank + AlignRight(FormatAmount(credit), Pad(15)) + kBlank +
              idPad);
        if (!warehouseColumn)
            r.add(AlignRight(t(QStringLiteral("tSaldo")), Pad(130)) + kBlank +
                  AlignRight(FormatAmount(debit - credit), Pad(31)) + kBlank + idPad);
    }
    return r;
}

// ---------------------------------------------------------------- item reports

QString ItemReportSql(const ReportContext& ctx, const ReportRange& range, int page)
{
    return QStringLiteral("select code, description, avg(price) as avg_price, sum(quantity) as sum_quantity, unit, ") +
           (DebitKind(page) ? QStringLiteral("sum(debit)") : QStringLiteral("sum(credit)")) +
           QStringLiteral(" as total from cash where code <> 'DS' and code <> 'PN' and ") + DateCondition(ctx, range) +
           KindCondition(page) + QStringLiteral(" group by code, description, unit order by description asc");
}

Report BuildItemReport(const ReportContext& ctx, const ReportRange& range, int page)
{
    Report r;
    const auto& t = ctx.title;
    r.add(QStringList{
        AlignLeft(t(QStringLiteral("tCode")), Pad(8)), AlignLeft(t(QStringLiteral("tDescription")), Pad(30)),
        AlignRight(t(QStringLiteral("tPrice")), Pad(15)), AlignRight(t(QStringLiteral("tQuantity")), Pad(15)),
        AlignRight(t(QStringLiteral("tTotal")), Pad(15))}
              .join(kBlank));
    r.add(Rule());

    r.sql = ItemReportSql(ctx, range, page);
    auto rs = ctx.db.OpenRecordset(r.sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        const double quantity = Field(*rs, "sum_quantity");
        r.add(QStringList{AlignLeft(rs->Fields(QStringLiteral("code")).Value(), Pad(8)),
                          AlignLeft(rs->Fields(QStringLiteral("description")).Value(), Pad(30)),
                          AlignRight(AmountOrDash(Field(*rs, "avg_price")), Pad(15)),
                          AlignRight(quantity == 0 ? QStringLiteral("-")
                                                   : NumberText(rs->Fields(QStringLiteral("sum_quantity"))) + kBlank +
                                                         rs->Fields(QStringLiteral("unit")).toString(),
                                     Pad(15)),
                          AlignRight(FormatAmount(Field(*rs, "total")), Pad(15))}
                  .join(kBlank));
    }
    if (r.lines.size() <= 2)
        return r;

    // The kind's total, its discount rows (the other side) and its tax rows
    // (the same side), in one pass over the range.
    const QString side = DebitKind(page) ? QStringLiteral("debit") : QStringLiteral("credit");
    const QString other = DebitKind(page) ? QStringLiteral("credit") : QStringLiteral("debit");
    auto sums = ctx.db.OpenRecordset(QStringLiteral("select sum(case when code <> 'DS' and code <> 'PN' then ") + side +
                                     QStringLiteral(" else 0 end) as total, sum(case when code = 'DS' then ") + other +
                                     QStringLiteral(" else 0 end) as discount, sum(case when code = 'PN' then ") +
                                     side + QStringLiteral(" else 0 end) as tax from cash where ") +
                                     DateCondition(ctx, range) + KindCondition(page));
    const double total = Shown(Field(*sums, "total"));
    const double discount = Shown(Field(*sums, "discount"));
    const double tax = Shown(Field(*sums, "tax"));
    auto footer = [&](const QString& title, double figure) {
        r.add(AlignRight(title, Pad(71)) + kBlank + AlignRight(FormatAmount(figure), Pad(15)));
    };
    r.add(Rule());
    footer(t(QStringLiteral("tTotal")), total);
    if (discount > 0 || tax > 0)
        r.add(QString());
    if (discount > 0)
        footer(t(QStringLiteral("tDiscount")), discount);
    if (tax > 0)
        footer(t(QStringLiteral("tTax")), tax);
    if (discount > 0 || tax > 0) {
        r.add(QString());
        footer(t(QStringLiteral("tTotal")), total - discount + tax);
    }
    return r;
}

// ---------------------------------------------------------------- recapitulation

namespace {

QString RecapFigures(const platform::DbRecordset& rs)
{
    const double sale = Field(rs, "sale"), shop = Field(rs, "shop");
    const double in = Field(rs, "cash_in"), out = Field(rs, "cash_out");
    const double debit = Field(rs, "debit"), credit = Field(rs, "credit");
    QStringList cells;
    for (double v : {sale, shop, sale - shop, in, out, in - out, debit, credit, debit - credit})
        cells << AlignRight(FormatAmount(v), Pad(15));
    return cells.join(kBlank);
}

const QString kRecapSums = QStringLiteral(
    "sum(sale) as sale, sum(shop) as shop, sum(shop_retur) as shop_retur, sum(sale_retur) as sale_retur, "
    "sum(cash_in) as cash_in, sum(cash_out) as cash_out, sum(debit) as debit, sum(credit) as credit from cash where ");

} // namespace

Report BuildRecap(const ReportContext& ctx, const ReportRange& range)
{
    Report r;
    const auto& t = ctx.title;
    QStringList head{AlignLeft(t(QStringLiteral("tDate")), Pad(10))};
    for (const char* key : {"tSale", "tShop", "tSaldo", "tCashIn", "tCashOut", "tSaldo", "tDebit", "tCredit", "tSaldo"})
        head << AlignRight(t(QString::fromLatin1(key)), Pad(15));
    r.add(head.join(kBlank));
    r.add(Rule());

    const QString w = DateCondition(ctx, range);
    r.sql = QStringLiteral("select moment as Tanggal, ") + kRecapSums + w +
            QStringLiteral(" group by moment order by moment");
    auto rs = ctx.db.OpenRecordset(r.sql);
    for (; !rs->Eof(); rs->MoveNext())
        r.add(AlignLeft(ShowDate(rs->Fields(QStringLiteral("Tanggal")).Value()), Pad(10)) + kBlank + RecapFigures(*rs));
    if (r.lines.size() > 2) {
        auto sums = ctx.db.OpenRecordset(QStringLiteral("select ") + kRecapSums + w);
        r.add(Rule());
        r.add(AlignLeft(QStringLiteral("Total"), Pad(10)) + kBlank + RecapFigures(*sums));
    }
    return r;
}

// ---------------------------------------------------------------- stock

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

std::optional<Report> BuildReport(const ReportContext& ctx, int page, const ReportRange& range,
                                  const JournalFilter& filter, bool warehouseColumn)
{
    switch (page) {
    case Journal: return BuildJournal(ctx, range, filter, warehouseColumn);
    case Sales:
    case Purchases:
    case CashIn:
    case CashOut: return BuildItemReport(ctx, range, page);
    case Recap: return BuildRecap(ctx, range);
    case Stock: return BuildStock(ctx, range);
    default: return std::nullopt;
    }
}

} // namespace ledger
