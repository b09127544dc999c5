#include "platform/summaries.h"

#include "platform/daytotals.h"
#include "platform/db.h"
#include "platform/serverschema.h"
#include "platform/sqltext.h"

#include <QStringList>

namespace platform {

namespace {

const char* const kTriggers[] = {"cashtotal_insert",  "cashtotal_update",  "cashtotal_delete",
                                 "stockmonth_insert", "stockmonth_update", "stockmonth_delete"};

const QString kCashTable = QStringLiteral("create table cashtotal (\n"
                                          "  debit REAL,\n"
                                          "  credit REAL,\n"
                                          "  debitrows INTEGER,\n"
                                          "  creditrows INTEGER\n"
                                          ")");

const QString kStockTable = QStringLiteral("create table stockmonth (\n"
                                           "  code TEXT COLLATE NOCASE,\n"
                                           "  description TEXT COLLATE NOCASE,\n"
                                           "  period TEXT,\n"
                                           "  movements INTEGER,\n"
                                           "  lastid INTEGER,\n"
                                           "  `in` REAL,\n"
                                           "  `out` REAL,\n"
                                           "  balance REAL,\n"
                                           "  shop REAL,\n"
                                           "  sale REAL,\n"
                                           "  shop_retur REAL,\n"
                                           "  sale_retur REAL,\n"
                                           "  manual_plus REAL,\n"
                                           "  manual_min REAL\n"
                                           ")");

const QString kStockKeyIndex = QStringLiteral("create index stockmonth_key on stockmonth(code, description, period)");
const QString kStockPeriodIndex = QStringLiteral("create index stockmonth_period on stockmonth(period)");

// What one movement adds to its month, by column, for the row named r
// ("new" or "old"). Kinds are compared in lower case, as the tables compare
// them without regard to case. A NULL in or out counts as nothing; the
// balance takes a movement only when both are present, as in - out does.
struct StockPart {
    const char* column;
    QString (*of)(const QString& r);
};

QString kindSum(const QString& r, const char* column, const char* kinds)
{
    return QStringLiteral("case when lower(%1.category) in (%2) then coalesce(%1.`%3`, 0) else 0 end")
        .arg(r, QString::fromLatin1(kinds), QString::fromLatin1(column));
}

const StockPart kStockParts[] = {
    {"in", [](const QString& r) { return QStringLiteral("coalesce(%1.`in`, 0)").arg(r); }},
    {"out", [](const QString& r) { return QStringLiteral("coalesce(%1.`out`, 0)").arg(r); }},
    {"balance", [](const QString& r) { return QStringLiteral("coalesce(%1.`in` - %1.`out`, 0)").arg(r); }},
    {"shop", [](const QString& r) { return kindSum(r, "in", "'shop', 'beli'"); }},
    {"sale", [](const QString& r) { return kindSum(r, "out", "'sale', 'jual'"); }},
    {"shop_retur", [](const QString& r) { return kindSum(r, "out", "'shop retur', 'retur beli'"); }},
    {"sale_retur", [](const QString& r) { return kindSum(r, "in", "'sale retur', 'retur jual'"); }},
    {"manual_plus", [](const QString& r) { return kindSum(r, "in", "'opname'"); }},
    {"manual_min", [](const QString& r) { return kindSum(r, "out", "'opname'"); }},
};

QString stockKey(const QString& r)
{
    return QStringLiteral("code = coalesce(%1.code, '') and description = coalesce(%1.description, '') and "
                          "period = coalesce(substr(%1.moment, 1, 7), '')")
        .arg(r);
}

// Adds (sign "+") or takes away (sign "-") one movement from its month.
QString stockChange(const QString& r, const char* sign)
{
    QStringList set;
    const QString s = QString::fromLatin1(sign);
    set << QStringLiteral("movements = movements %1 1").arg(s);
    for (const StockPart& p : kStockParts)
        set << QStringLiteral("`%1` = `%1` %2 %3").arg(QString::fromLatin1(p.column), s, p.of(r));
    if (s == QLatin1String("+")) {
        set << QStringLiteral("lastid = case when lastid is null or %1.id > lastid then %1.id else lastid end").arg(r);
    } else {
        // The largest id left in the month: the movement is gone already.
        // A month kept under "" (no code, description or date) looks for
        // the rows without one too; the others go by the index.
        set << QStringLiteral(
            "lastid = case when stockmonth.code = '' or stockmonth.description = '' or stockmonth.period = '' "
            "then (select max(f.id) from stockflow f where coalesce(f.code, '') = stockmonth.code and "
            "coalesce(f.description, '') = stockmonth.description and "
            "coalesce(substr(f.moment, 1, 7), '') = stockmonth.period) "
            "else (select max(f.id) from stockflow f where f.code = stockmonth.code and "
            "f.description = stockmonth.description and substr(f.moment, 1, 7) = stockmonth.period) end");
    }
    return QStringLiteral("update stockmonth set ") + set.join(QStringLiteral(", ")) + QStringLiteral(" where ") +
           stockKey(r) + QLatin1Char(';');
}

QString stockAdd(const QString& r)
{
    QStringList zeros;
    for (size_t i = 0; i < std::size(kStockParts); ++i)
        zeros << QStringLiteral("0");
    return QStringLiteral("insert into stockmonth select coalesce(%1.code, ''), coalesce(%1.description, ''), "
                          "coalesce(substr(%1.moment, 1, 7), ''), 0, null, %2 from (select 1 as one) o "
                          "where not exists (select 1 from stockmonth where %3); ")
               .arg(r, zeros.join(QStringLiteral(", ")), stockKey(r)) +
           stockChange(r, "+");
}

QString cashChange(const QString& r, const char* sign)
{
    return QStringLiteral("update cashtotal set debit = debit %2 coalesce(%1.Debit, 0), "
                          "credit = credit %2 coalesce(%1.Credit, 0), "
                          "debitrows = debitrows %2 (case when %1.Debit is null then 0 else 1 end), "
                          "creditrows = creditrows %2 (case when %1.Credit is null then 0 else 1 end);")
        .arg(r, QString::fromLatin1(sign));
}

QString trigger(const char* name, const char* event, const char* table, const QString& body)
{
    return QStringLiteral("create trigger %1 after %2 on %3 for each row begin %4 end")
        .arg(QString::fromLatin1(name), QString::fromLatin1(event), QString::fromLatin1(table), body);
}

QStringList triggerStatements()
{
    const QString n = QStringLiteral("new"), o = QStringLiteral("old");
    return {
        trigger("cashtotal_insert", "insert", "cash", cashChange(n, "+")),
        trigger("cashtotal_update", "update", "cash", cashChange(o, "-") + QLatin1Char(' ') + cashChange(n, "+")),
        trigger("cashtotal_delete", "delete", "cash", cashChange(o, "-")),
        trigger("stockmonth_insert", "insert", "stockflow", stockAdd(n)),
        trigger("stockmonth_update", "update", "stockflow", stockChange(o, "-") + QLatin1Char(' ') + stockAdd(n)),
        trigger("stockmonth_delete", "delete", "stockflow", stockChange(o, "-")),
    };
}

// The month sums of every movement, grouped as the tables compare texts
// (without regard to case); a missing code, description or date is "".
QString stockFill(const DbConnection& db)
{
    // A server's expression keeps its column's comparison; SQLite's needs
    // to be told.
    const QString nocase = db.isOdbc() ? QString() : QStringLiteral(" collate nocase");
    QStringList sums;
    for (const StockPart& p : kStockParts)
        sums << QStringLiteral("sum(") + p.of(QStringLiteral("stockflow")) + QLatin1Char(')');
    return QStringLiteral("insert into stockmonth select coalesce(code, ''), coalesce(description, ''), "
                          "coalesce(substr(moment, 1, 7), ''), count(*), max(id), ") +
           sums.join(QStringLiteral(", ")) + QStringLiteral(" from stockflow group by coalesce(code, '')") + nocase +
           QStringLiteral(", coalesce(description, '')") + nocase +
           QStringLiteral(", coalesce(substr(moment, 1, 7), '')");
}

int triggerCount(DbConnection& db)
{
    QStringList names;
    for (const char* t : kTriggers)
        names << Quote(QString::fromLatin1(t));
    const QString in = names.join(QStringLiteral(", "));
    const QString sql = db.isOdbc() ? QStringLiteral("select count(*) from information_schema.triggers where "
                                                     "trigger_schema = database() and trigger_name in (%1)")
                                          .arg(in)
                                    : QStringLiteral("select count(*) from sqlite_master where type = 'trigger' and "
                                                     "name in (%1)")
                                          .arg(in);
    return int(StoredNumber(db.GetValue(sql)));
}

bool kept(DbConnection& db)
{
    if (!db.hasTable(QStringLiteral("cashtotal")) || !db.hasTable(QStringLiteral("stockmonth")))
        return false;
    if (triggerCount(db) != int(std::size(kTriggers)))
        return false;
    return StoredNumber(db.GetValue(QStringLiteral("select count(*) from cashtotal"))) == 1;
}

bool complete(DbConnection& db)
{
    return kept(db) && CashDaysComplete(db);
}

void build(DbConnection& db)
{
    for (const char* t : kTriggers)
        db.Execute(QStringLiteral("drop trigger if exists ") + QString::fromLatin1(t));
    db.Execute(QStringLiteral("drop table if exists cashtotal"));
    db.Execute(QStringLiteral("drop table if exists stockmonth"));
    if (db.isOdbc()) {
        for (const QString& s :
             ServerStatements(kCashTable + QStringLiteral(";\n") + kStockTable + QStringLiteral(";\n") +
                              kStockKeyIndex + QStringLiteral(";\n") + kStockPeriodIndex))
            db.Execute(s);
    } else {
        for (const QString& s : {kCashTable, kStockTable, kStockKeyIndex, kStockPeriodIndex})
            db.Execute(s);
    }
    db.Execute(QStringLiteral("insert into cashtotal select coalesce(sum(Debit), 0), coalesce(sum(Credit), 0), "
                              "count(Debit), count(Credit) from cash"));
    db.Execute(stockFill(db));
    for (const QString& t : triggerStatements())
        db.Execute(t);
    BuildCashDays(db);
}

} // namespace

bool EnsureSummaries(DbConnection& db)
{
    db.setKeepsSummaries(false);
    try {
        if (!db.hasTable(QStringLiteral("cash")) || !db.hasTable(QStringLiteral("stockflow")))
            return false;
        if (!complete(db)) {
            // Writers take turns: no journal row or movement can be written
            // between the sums read here and the triggers that keep them.
            DbTransaction tx(db);
            // The day totals came later than the others: a database that
            // keeps those gets only the day totals.
            if (kept(db) && !CashDaysComplete(db))
                BuildCashDays(db);
            else if (!complete(db))
                build(db);
            tx.commit();
        }
        db.setKeepsSummaries(complete(db));
    } catch (const DbError&) {
        // Read only, or no right to create triggers: the readers sum rows.
        db.setKeepsSummaries(false);
    }
    return db.keepsSummaries();
}

bool SummariesIntact(DbConnection& db)
{
    try {
        if (!complete(db))
            db.setKeepsSummaries(false);
    } catch (const DbError&) {
        // Not known to be lost: a read that failed for a moment.
    }
    return db.keepsSummaries();
}

std::optional<double> CashTotals::balance() const
{
    if (debitRows == 0 || creditRows == 0)
        return std::nullopt;
    return debit - credit;
}

namespace {
CashTotals totalsOf(const QVector<QVariant>& row)
{
    CashTotals t;
    t.debit = StoredNumber(row.value(0));
    t.credit = StoredNumber(row.value(1));
    t.debitRows = qint64(StoredNumber(row.value(2)));
    t.creditRows = qint64(StoredNumber(row.value(3)));
    return t;
}

const QString kCashRowsSql = QStringLiteral("select sum(Debit), sum(Credit), count(Debit), count(Credit) from cash");
} // namespace

std::optional<CashTotals> PeekCashTotals(DbConnection& db)
{
    const std::optional<QVector<QVariant>> row =
        db.PeekRow(db.keepsSummaries() ? QStringLiteral("select debit, credit, debitrows, creditrows from cashtotal")
                                       : kCashRowsSql);
    if (!row)
        return std::nullopt;
    return totalsOf(*row);
}

CashTotals SumCashRows(DbConnection& db)
{
    auto rs = db.OpenRecordset(kCashRowsSql);
    QVector<QVariant> row(4);
    if (!rs->Eof())
        for (int i = 0; i < 4; ++i)
            row[i] = rs->Fields(i).Value();
    return totalsOf(row);
}

} // namespace platform
