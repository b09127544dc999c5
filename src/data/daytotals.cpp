#include "data/daytotals.h"

#include "data/db.h"
#include "data/serverschema.h"
#include "data/sqltext.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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

// The figures of one day as the grouped sums give them.
struct DayFigures {
    qint64 entries = 0;
    qint64 partial = 0;
    std::optional<qint64> minId, maxId;
    double sums[std::size(kSums)] = {};
};

// On a database file the journal is read once in the table's own order and
// summed by day in memory: grouping in SQL walks the day index with a
// lookup of the table per row, several times the cost on ten years. Within
// a day the rows are added in the same order as the index gives them, so
// the sums are the same to the last bit.
JournalFigures fillFromFile(DbConnection& db, const std::function<void(double)>& progress)
{
    JournalFigures whole;
    const qint64 last = qint64(StoredNumber(db.GetValue(QStringLiteral("select max(rowid) from cash"))));
    // Whether a row is partial is asked of the engine: it then looks at the
    // five texts' kinds only, never reading them.
    QStringList columns{QStringLiteral("Moment"), QStringLiteral("ID"), partial(QStringLiteral("cash"))};
    for (const Sum& s : kSums)
        columns << QString::fromLatin1(s.column);
    constexpr int kFirstSum = 3;
    // Debit and credit are the last two sums.
    constexpr int kDebit = kFirstSum + int(std::size(kSums)) - 2;
    std::unordered_map<std::string, size_t> at;
    std::vector<std::string> days;
    std::vector<DayFigures> figures;
    std::string lastDay;
    size_t lastAt = 0;
    bool any = false;
    qint64 seen = 0;
    db.ScanRows(QStringLiteral("cash"), columns, [&](const DbScanRow& row) {
        // A day's rows mostly follow each other: the last day is
        // looked at first.
        const QByteArrayView moment = row.text(0);
        const char* text = moment.isNull() ? "" : moment.data();
        const size_t length = size_t(moment.size());
        if (!any || lastDay.size() != length || lastDay.compare(0, length, text, length) != 0) {
            lastDay.assign(text, length);
            auto found = at.find(lastDay);
            if (found == at.end()) {
                found = at.emplace(lastDay, figures.size()).first;
                days.push_back(lastDay);
                figures.emplace_back();
            }
            lastAt = found->second;
            any = true;
        }
        DayFigures& d = figures[lastAt];
        ++d.entries;
        d.partial += row.whole(2);
        if (!row.isNull(1)) {
            const qint64 id = row.whole(1);
            if (!d.minId || id < *d.minId)
                d.minId = id;
            if (!d.maxId || id > *d.maxId)
                d.maxId = id;
        }
        double figures[std::size(kSums)];
        for (size_t s = 0; s < std::size(kSums); ++s) {
            figures[s] = row.number(kFirstSum + int(s));
            d.sums[s] += figures[s];
        }
        if (!row.isNull(kDebit)) {
            whole.debit += figures[kDebit - kFirstSum];
            ++whole.debitRows;
        }
        if (!row.isNull(kDebit + 1)) {
            whole.credit += figures[kDebit + 1 - kFirstSum];
            ++whole.creditRows;
        }
        if (++seen % (1 << 16) == 0 && progress && last > 0)
            progress(qMin(1.0, double(seen) / double(last)));
    });
    QVector<QVector<QVariant>> rows;
    rows.reserve(qsizetype(figures.size()));
    for (size_t i = 0; i < figures.size(); ++i) {
        const DayFigures& d = figures[i];
        QVector<QVariant> cells{QString::fromUtf8(days[i].data(), qsizetype(days[i].size())), QVariant(d.entries),
                                QVariant(d.partial), d.minId ? QVariant(*d.minId) : QVariant(),
                                d.maxId ? QVariant(*d.maxId) : QVariant()};
        for (double s : d.sums)
            cells << QVariant(s);
        rows.append(std::move(cells));
    }
    QStringList marks;
    for (int i = 1; i <= 5 + int(std::size(kSums)); ++i)
        marks << QStringLiteral("?%1").arg(i);
    db.ExecuteEach(QStringLiteral("insert into cashday values (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                   rows);
    return whole;
}

// On a server the engine groups the journal by its stored day in one pass
// over the table, and the days come here to give the whole journal's
// figures as well: the cash totals then need no pass of their own. A row
// without a day and one with an empty day are kept under "" together.
JournalFigures fillFromServer(DbConnection& db)
{
    QStringList sums;
    for (const Sum& s : kSums)
        sums << QStringLiteral("coalesce(sum(%1), 0)").arg(QString::fromLatin1(s.column));
    // A walk of the day index looks the table up for every row; the
    // table read in its own order with a few thousand days held aside
    // costs a third less.
    const bool dayIndex = StoredNumber(db.GetValue(
                              QStringLiteral("select count(*) from information_schema.statistics where table_schema = "
                                             "database() and table_name = 'cash' and index_name = 'cash_moment'"))) > 0;
    auto rs = db.OpenRecordset(QStringLiteral("select Moment, count(*), sum(") + partial(QStringLiteral("cash")) +
                               QStringLiteral("), min(ID), max(ID), ") + sums.join(QStringLiteral(", ")) +
                               QStringLiteral(", count(Debit), count(Credit) from cash") +
                               (dayIndex ? QStringLiteral(" ignore index (cash_moment)") : QString()) +
                               QStringLiteral(" group by Moment"));
    constexpr int kFirstSum = 5;
    constexpr int kDebit = kFirstSum + int(std::size(kSums)) - 2;
    constexpr int kCounts = kFirstSum + int(std::size(kSums));
    std::map<QString, DayFigures> days;
    JournalFigures whole;
    const auto id = [](const DbField& f) { return f.Value().isNull() ? std::optional<qint64>() : f.toLongLong(); };
    for (; !rs->Eof(); rs->MoveNext()) {
        // The server compares texts without their trailing blanks: a day
        // of blanks is the empty one.
        QString moment = rs->Fields(0).toString();
        if (std::all_of(moment.cbegin(), moment.cend(), [](QChar c) { return c == QLatin1Char(' '); }))
            moment.clear();
        DayFigures& d = days[moment];
        d.entries += qint64(StoredNumber(rs->Fields(1).Value()));
        d.partial += qint64(StoredNumber(rs->Fields(2).Value()));
        if (const auto low = id(rs->Fields(3)); low && (!d.minId || *low < *d.minId))
            d.minId = low;
        if (const auto high = id(rs->Fields(4)); high && (!d.maxId || *high > *d.maxId))
            d.maxId = high;
        for (size_t i = 0; i < std::size(kSums); ++i)
            d.sums[i] += StoredNumber(rs->Fields(kFirstSum + int(i)).Value());
        whole.debit += StoredNumber(rs->Fields(kDebit).Value());
        whole.credit += StoredNumber(rs->Fields(kDebit + 1).Value());
        whole.debitRows += qint64(StoredNumber(rs->Fields(kCounts).Value()));
        whole.creditRows += qint64(StoredNumber(rs->Fields(kCounts + 1).Value()));
    }
    rs.reset();
    // A few hundred days a statement.
    QStringList values;
    const auto flush = [&db, &values] {
        if (!values.isEmpty())
            db.Execute(QStringLiteral("insert into cashday values ") + values.join(QStringLiteral(", ")));
        values.clear();
    };
    const auto whole64 = [](const std::optional<qint64>& v) {
        return v ? QString::number(*v) : QStringLiteral("null");
    };
    for (const auto& [moment, d] : days) {
        QStringList cells{Quote(moment), QString::number(d.entries), QString::number(d.partial), whole64(d.minId),
                          whole64(d.maxId)};
        for (double v : d.sums)
            cells << (std::isfinite(v) ? QString::number(v, 'g', 17) : QStringLiteral("0"));
        values << QLatin1Char('(') + cells.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (values.size() >= 500)
            flush();
    }
    flush();
    return whole;
}

} // namespace

JournalFigures BuildCashDaysWithTotals(DbConnection& db, const std::function<void(double)>& progress)
{
    for (const char* t : kTriggers)
        db.Execute(QStringLiteral("drop trigger if exists ") + QString::fromLatin1(t));
    db.Execute(QStringLiteral("drop table if exists cashday"));
    // The days are written before their index is made.
    JournalFigures whole;
    if (db.isOdbc()) {
        for (const QString& s : ServerStatements(table()))
            db.Execute(s);
        whole = fillFromServer(db);
        for (const QString& s : ServerStatements(kIndex))
            db.Execute(s);
    } else {
        db.Execute(table());
        whole = fillFromFile(db, progress);
        db.Execute(kIndex);
    }
    const QString n = QStringLiteral("new"), o = QStringLiteral("old");
    db.Execute(trigger("cashday_insert", "insert", add(n)));
    db.Execute(trigger("cashday_update", "update", take(o) + QLatin1Char(' ') + add(n)));
    db.Execute(trigger("cashday_delete", "delete", take(o)));
    return whole;
}

void BuildCashDays(DbConnection& db, const std::function<void(double)>& progress)
{
    BuildCashDaysWithTotals(db, progress);
}

bool CashDaysComplete(DbConnection& db)
{
    if (!db.hasTable(QStringLiteral("cashday")))
        return false;
    QStringList names;
    for (const char* t : kTriggers)
        names << QString::fromLatin1(t);
    return db.TriggerCount(names, {QStringLiteral("cash")}) == int(std::size(kTriggers));
}

} // namespace platform
