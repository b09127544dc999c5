#include "platform/daytotals.h"

#include "platform/db.h"
#include "platform/serverschema.h"
#include "platform/sqltext.h"

#include <QStringList>

namespace platform {

namespace {

const char* const kTriggers[] = {"cashday_insert", "cashday_update", "cashday_delete"};

// The stored columns summed per day, and the cashday column of each.
struct Sum {
    const char* column;
    const char* as;
};
const Sum kSums[] = {
    {"Sale", "sale"},       {"Shop", "shop"},         {"Shop_Retur", "shop_retur"}, {"Sale_Retur", "sale_retur"},
    {"Cash_In", "cash_in"}, {"Cash_Out", "cash_out"}, {"Debit", "debit"},           {"Credit", "credit"}};

QString table()
{
    QStringList columns{QStringLiteral("  moment TEXT"), QStringLiteral("  entries INTEGER"),
                        QStringLiteral("  partial INTEGER"), QStringLiteral("  minid INTEGER"),
                        QStringLiteral("  maxid INTEGER")};
    for (const Sum& s : kSums)
        columns << QStringLiteral("  %1 REAL").arg(QString::fromLatin1(s.as));
    return QStringLiteral("create table cashday (\n") + columns.join(QStringLiteral(",\n")) + QStringLiteral("\n)");
}

const QString kIndex = QStringLiteral("create unique index cashday_moment on cashday(moment)");

// A row the journal's column filter may pass over: one of its five filter
// columns, or its id, is missing.
QString partial(const QString& r)
{
    return QStringLiteral("(case when %1.Cashier is null or %1.Charge is null or %1.Category is null or %1.Code is "
                          "null or %1.Description is null or %1.ID is null then 1 else 0 end)")
        .arg(r);
}

QString day(const QString& r)
{
    return QStringLiteral("coalesce(%1.Moment, '')").arg(r);
}

// Takes the row named r ("old") away from its day. The smallest and the
// largest id are looked up again among the day's rows when the row held
// one of them.
QString take(const QString& r)
{
    QStringList set{QStringLiteral("entries = entries - 1"), QStringLiteral("partial = partial - ") + partial(r)};
    for (const Sum& s : kSums)
        set << QStringLiteral("%1 = %1 - coalesce(%2.%3, 0)")
                   .arg(QString::fromLatin1(s.as), r, QString::fromLatin1(s.column));
    for (const char* m : {"min", "max"})
        set << QStringLiteral("%2id = case when %1.ID is not null and %1.ID = %2id then (select %2(c.ID) from cash c "
                              "where c.Moment = cashday.moment) else %2id end")
                   .arg(r, QString::fromLatin1(m));
    return QStringLiteral("update cashday set ") + set.join(QStringLiteral(", ")) + QStringLiteral(" where moment = ") +
           day(r) + QLatin1Char(';');
}

// Adds the row named r ("new") to its day, making the day first.
QString add(const QString& r)
{
    QStringList zeros;
    for (size_t i = 0; i < std::size(kSums); ++i)
        zeros << QStringLiteral("0");
    QStringList set{QStringLiteral("entries = entries + 1"), QStringLiteral("partial = partial + ") + partial(r),
                    QStringLiteral("minid = case when %1.ID is not null and (minid is null or %1.ID < minid) then "
                                   "%1.ID else minid end")
                        .arg(r),
                    QStringLiteral("maxid = case when %1.ID is not null and (maxid is null or %1.ID > maxid) then "
                                   "%1.ID else maxid end")
                        .arg(r)};
    for (const Sum& s : kSums)
        set << QStringLiteral("%1 = %1 + coalesce(%2.%3, 0)")
                   .arg(QString::fromLatin1(s.as), r, QString::fromLatin1(s.column));
    return QStringLiteral("insert into cashday select %1, 0, 0, null, null, %2 from (select 1 as one) o where not "
                          "exists (select 1 from cashday where moment = %1); ")
               .arg(day(r), zeros.join(QStringLiteral(", "))) +
           QStringLiteral("update cashday set ") + set.join(QStringLiteral(", ")) + QStringLiteral(" where moment = ") +
           day(r) + QLatin1Char(';');
}

QString trigger(const char* name, const char* event, const QString& body)
{
    return QStringLiteral("create trigger %1 after %2 on cash for each row begin %3 end")
        .arg(QString::fromLatin1(name), QString::fromLatin1(event), body);
}

} // namespace

void BuildCashDays(DbConnection& db)
{
    for (const char* t : kTriggers)
        db.Execute(QStringLiteral("drop trigger if exists ") + QString::fromLatin1(t));
    db.Execute(QStringLiteral("drop table if exists cashday"));
    if (db.isOdbc()) {
        for (const QString& s : ServerStatements(table() + QStringLiteral(";\n") + kIndex))
            db.Execute(s);
    } else {
        db.Execute(table());
        db.Execute(kIndex);
    }
    QStringList sums;
    for (const Sum& s : kSums)
        sums << QStringLiteral("coalesce(sum(%1), 0)").arg(QString::fromLatin1(s.column));
    const QString figures = QStringLiteral("count(*), sum(") + partial(QStringLiteral("cash")) +
                            QStringLiteral("), min(ID), max(ID), ") + sums.join(QStringLiteral(", "));
    // Grouped by the stored day itself, so that the index on it gives the
    // groups in order instead of a sort of every row (a walk of the rows
    // summing them here took twice as long); the rows without a day are
    // kept under "" with those of an empty one.
    db.Execute(QStringLiteral("insert into cashday select Moment, ") + figures +
               QStringLiteral(" from cash where Moment > '' group by Moment"));
    db.Execute(QStringLiteral("insert into cashday select '', ") + figures +
               QStringLiteral(" from cash where Moment is null or Moment = '' having count(*) > 0"));
    const QString n = QStringLiteral("new"), o = QStringLiteral("old");
    db.Execute(trigger("cashday_insert", "insert", add(n)));
    db.Execute(trigger("cashday_update", "update", take(o) + QLatin1Char(' ') + add(n)));
    db.Execute(trigger("cashday_delete", "delete", take(o)));
}

bool CashDaysComplete(DbConnection& db)
{
    if (!db.hasTable(QStringLiteral("cashday")))
        return false;
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
    return int(StoredNumber(db.GetValue(sql))) == int(std::size(kTriggers));
}

} // namespace platform
