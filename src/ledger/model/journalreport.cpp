#include "ledger/model/journalreport.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "data/work.h"
#include "ledger/model/reportcommon.h"

#include <algorithm>

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Pad;
using platform::Quote;
using platform::Str;

namespace ledger {

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

namespace {

const qsizetype kIdWidth = 20;

// One journal line of the current row of a recordset; the columns are
// found once per recordset.
class JournalLines {
public:
    JournalLines(const platform::DbRecordset& rs, bool warehouseColumn) : m_warehouse(warehouseColumn)
    {
        auto column = [&](const char* name) { return rs.FieldIndex(QString::fromLatin1(name)); };
        cNo = column("no"), cMoment = column("moment"), cCashier = column("Cashier"), cWarehouse = column("warehouse"),
        cCharge = column("charge"), cCategory = column("Category"), cCode = column("Code"),
        cDescription = column("Description"), cSubTotal = column("SubTotal"), cQuantity = column("quantity"),
        cUnit = column("Unit"), cDebit = column("Debit"), cCredit = column("Credit"), cId = column("ID");
    }

    QString line(const platform::DbRecordset& rs) const
    {
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
        left(Str(rs.Fields(cNo).Value()), 10);
        left(ShowDate(rs.Fields(cMoment).Value()), 10);
        left(Str(rs.Fields(cCashier).Value()), 12);
        if (m_warehouse)
            left(Str(rs.Fields(cWarehouse).Value()), 12);
        left(Str(rs.Fields(cCharge).Value()), 12);
        left(ShownCategory(rs.Fields(cCategory).toString()), 10);
        left(Str(rs.Fields(cCode).Value()), 8);
        left(Str(rs.Fields(cDescription).Value()), 30);
        right(AmountOrDash(rs.Fields(cSubTotal).toDouble()), 15);
        const platform::DbField quantity = rs.Fields(cQuantity);
        right(quantity.toDouble() == 0 ? QStringLiteral("-")
                                       : (NumberText(quantity) + kBlank + rs.Fields(cUnit).toString()).trimmed(),
              15);
        right(FormatAmount(rs.Fields(cDebit).toDouble()), 15);
        right(FormatAmount(rs.Fields(cCredit).toDouble()), 15);
        platform::AppendRight(line, Str(rs.Fields(cId).Value()), kIdWidth);
        return line;
    }

    // The row's ID; nothing for a row without one.
    std::optional<qint64> id(const platform::DbRecordset& rs) const
    {
        const platform::DbField f = rs.Fields(cId);
        if (f.isNull())
            return std::nullopt;
        return f.toLongLong();
    }

    int width() const { return m_warehouse ? 196 : 183; }

private:
    bool m_warehouse;
    int cNo, cMoment, cCashier, cWarehouse, cCharge, cCategory, cCode, cDescription, cSubTotal, cQuantity, cUnit,
        cDebit, cCredit, cId;
};

// The journal rows of a condition, each in the place its ID had when the
// IDs were read (once, in order): a page reads the rows of its IDs, so a
// row added since is not in the list, a place whose row is gone shows
// empty, and no row ever moves to another place or shows twice.
class IdPlaces {
public:
    // places: how many places the list has for these rows (-1: as many as
    // there are IDs). idSql reads the IDs; `condition` the rows.
    IdPlaces(platform::DbConnection& db, const QString& idSql, QString condition, bool warehouseColumn,
             qsizetype places = -1)
        : m_db(db), m_condition(std::move(condition)), m_warehouse(warehouseColumn)
    {
        auto rs = m_db.OpenCursor(idSql);
        for (; !rs->Eof(); rs->MoveNext()) {
            const platform::DbField f = rs->Fields(0);
            if (!f.isNull())
                m_ids.push_back(f.toLongLong());
            else if (places < 0)
                ++m_withoutId;
        }
        m_ids.shrink_to_fit();
        m_places = places < 0 ? m_withoutId + qsizetype(m_ids.size()) : places;
    }

    qsizetype count() const { return m_places; }

    void read(qsizetype first, qsizetype n, QStringList& out)
    {
        const qsizetype end = first + n;
        const qsizetype before = out.size();
        // Rows without an ID sort first; they are read by their place.
        if (first < m_withoutId) {
            const qsizetype take = std::min(end, m_withoutId) - first;
            readRows(QStringLiteral(" and ID is null limit ") + QString::number(take) + QStringLiteral(" offset ") +
                         QString::number(first),
                     take, {}, 0, out);
            first += take;
        }
        const qsizetype a = first - m_withoutId;
        const qsizetype b = std::min(end - m_withoutId, qsizetype(m_ids.size()));
        if (a < b) {
            const auto ids = m_ids.begin() + a;
            // Rows of the first ID that belong to places before this page.
            const qsizetype skip = a - (std::lower_bound(m_ids.begin(), m_ids.end(), *ids) - m_ids.begin());
            readRows(QStringLiteral(" and ID >= ") + QString::number(*ids) + QStringLiteral(" and ID <= ") +
                         QString::number(m_ids[size_t(b - 1)]) + QStringLiteral(" order by ID"),
                     b - a, std::vector<qint64>(ids, m_ids.begin() + b), skip, out);
        }
        while (out.size() < before + n)
            out << QString();
    }

private:
    void readRows(const QString& tail, qsizetype take, const std::vector<qint64>& ids, qsizetype skip, QStringList& out)
    {
        auto rs = m_db.OpenRecordset(QStringLiteral("select * from cash where ") + m_condition + tail);
        const JournalLines lines(*rs, m_warehouse);
        qsizetype got = 0;
        for (; !rs->Eof() && got < take; rs->MoveNext()) {
            if (ids.empty()) {
                out << lines.line(*rs);
                ++got;
                continue;
            }
            const std::optional<qint64> id = lines.id(*rs);
            if (!id)
                continue;
            if (*id == ids.front() && skip > 0) {
                --skip;
                continue;
            }
            for (; got < take && ids[size_t(got)] < *id; ++got)
                out << QString();
            if (got < take && ids[size_t(got)] == *id) {
                out << lines.line(*rs);
                ++got;
            }
        }
        for (; got < take; ++got)
            out << QString();
    }

    platform::DbConnection& m_db;
    QString m_condition;
    bool m_warehouse;
    qsizetype m_withoutId = 0;
    qsizetype m_places = 0;
    std::vector<qint64> m_ids;
};

// The journal's rows of a range when the database's day totals cover them
// exactly (no filter text, every row with its filter columns and its ID)
// and the IDs follow the days (each day's IDs above the day before's): the
// rows in ID order are then the days in order, each in ID order. A place
// is found through the days' counts, and a day's IDs are read only when a
// page of it is shown: the first screen of a year reads its first day.
class JournalByDays : public platform::RowSource {
public:
    struct Day {
        QString moment;
        qsizetype first; // place of the day's first row
        qsizetype count;
        std::shared_ptr<IdPlaces> places;
    };

    JournalByDays(const ReportContext& ctx, std::vector<Day> days, qsizetype count, bool warehouseColumn)
        : m_db(ctx.db), m_days(std::move(days)), m_count(count), m_warehouse(warehouseColumn)
    {
    }

    qsizetype count() const override { return m_count; }
    qsizetype width() const override { return m_warehouse ? 196 : 183; }

    void read(qsizetype first, qsizetype n, QStringList& out) override
    {
        const qsizetype end = first + n;
        auto day = std::upper_bound(m_days.begin(), m_days.end(), first,
                                    [](qsizetype p, const Day& d) { return p < d.first; });
        if (day != m_days.begin())
            --day;
        for (qsizetype at = first; at < end && day != m_days.end(); ++day) {
            const qsizetype offset = at - day->first;
            const qsizetype take = std::min(end - at, day->count - offset);
            if (!day->places) {
                // The date index finds the day's IDs; its rows are read by
                // the ID index, which holds them together.
                const QString moment = Quote(day->moment);
                day->places = std::make_shared<IdPlaces>(
                    m_db,
                    QStringLiteral("select ID from cash where Moment = ") + moment + QStringLiteral(" order by ID"),
                    (m_db.isOdbc() ? QStringLiteral("Moment = ") : QStringLiteral("+Moment = ")) + moment, m_warehouse,
                    day->count);
            }
            day->places->read(offset, take, out);
            at += take;
        }
    }

private:
    platform::DbConnection& m_db;
    std::vector<Day> m_days;
    qsizetype m_count;
    bool m_warehouse;
};

// The journal's rows of a range in any other case: their IDs read once.
class JournalByIds : public platform::RowSource {
public:
    JournalByIds(const ReportContext& ctx, const QString& condition, bool warehouseColumn)
        : m_places(ctx.db, QStringLiteral("select ID from cash where ") + condition + QStringLiteral(" order by ID"),
                   condition, warehouseColumn),
          m_warehouse(warehouseColumn)
    {
    }
    qsizetype count() const override { return m_places.count(); }
    qsizetype width() const override { return m_warehouse ? 196 : 183; }
    void read(qsizetype first, qsizetype n, QStringList& out) override { m_places.read(first, n, out); }

private:
    IdPlaces m_places;
    bool m_warehouse;
};

struct JournalSums {
    qsizetype rows = 0;
    double debit = 0;
    double credit = 0;
};

// The days of the range from the day totals, when they cover the journal's
// rows exactly and their IDs follow the days.
std::optional<std::vector<JournalByDays::Day>> DaysOf(const ReportContext& ctx, const ReportRange& range,
                                                      const JournalFilter& filter, JournalSums& sums)
{
    if (!filter.text.isEmpty() || !ctx.db.keepsSummaries())
        return std::nullopt;
    auto rs = ctx.db.OpenRecordset(
        QStringLiteral("select moment, entries, partial, minid, maxid, debit, credit from cashday where ") +
        DateCondition(ctx, range) + QStringLiteral(" and entries > 0 order by moment"));
    std::vector<JournalByDays::Day> days;
    JournalSums s;
    qint64 lastMax = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        JournalByDays::Day d{rs->Fields(0).toString(), s.rows, rs->Fields(1).toLongLong(), nullptr};
        const qint64 minId = rs->Fields(3).toLongLong();
        if (rs->Fields(2).toLongLong() != 0 || rs->Fields(3).isNull() || (!days.empty() && lastMax >= minId))
            return std::nullopt;
        lastMax = rs->Fields(4).toLongLong();
        s.rows += d.count;
        s.debit += rs->Fields(5).toDouble();
        s.credit += rs->Fields(6).toDouble();
        days.push_back(std::move(d));
    }
    sums = s;
    return days;
}

} // namespace

ReportRows OpenJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                       bool warehouseColumn)
{
    ReportRows r;
    const QString idPad = Pad(int(kIdWidth));
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

    const QString condition = JournalCondition(ctx, range, filter);
    r.sql = QStringLiteral("select * from cash where ") + condition + QStringLiteral(" order by ID");

    // The footer's sums and the row count come with the days where the
    // database keeps them; otherwise the IDs are read once and the sums
    // taken over the same rows.
    JournalSums sums;
    std::shared_ptr<platform::RowSource> rows;
    if (std::optional<std::vector<JournalByDays::Day>> days = DaysOf(ctx, range, filter, sums)) {
        rows = std::make_shared<JournalByDays>(ctx, std::move(*days), sums.rows, warehouseColumn);
    } else {
        rows = std::make_shared<JournalByIds>(ctx, condition, warehouseColumn);
        sums.rows = rows->count();
        if (sums.rows > 0) {
            // A sum over no rows is null, which reads as 0.
            auto rs = ctx.db.OpenRecordset(JournalSumsSql(ctx, range, filter));
            sums.debit = Field(*rs, "debit");
            sums.credit = Field(*rs, "credit");
        }
    }

    QStringList foot;
    if (sums.rows > 0) {
        const int titleWidth = warehouseColumn ? 143 : 130;
        foot << Rule() + idPad;
        foot << AlignRight(t(QStringLiteral("tTotal")), Pad(titleWidth)) + kBlank +
                    AlignRight(FormatAmount(sums.debit), Pad(15)) + kBlank +
                    AlignRight(FormatAmount(sums.credit), Pad(15)) + kBlank + idPad;
        if (!warehouseColumn)
            foot << AlignRight(t(QStringLiteral("tSaldo")), Pad(130)) + kBlank +
                        AlignRight(FormatAmount(sums.debit - sums.credit), Pad(31)) + kBlank + idPad;
    }
    r.idFirst = 2;
    r.idCount = rows->count();
    r.rows = std::make_shared<platform::JoinedSource>(std::vector<std::shared_ptr<platform::RowSource>>{
        std::make_shared<platform::LinesSource>(QStringList{head.join(kBlank), Rule() + idPad}), rows,
        std::make_shared<platform::LinesSource>(foot)});
    return r;
}

void ForEachJournalPage(platform::DbConnection& db, const QString& journalSql, const QString& columns,
                        const std::function<void(const QString& pageSql)>& read)
{
    // The condition as the journal wrote it: between its fixed head and
    // its order, whatever the filter's text holds.
    const QString head = QStringLiteral("select * from cash where "), order = QStringLiteral(" order by ID");
    if (!journalSql.startsWith(head) || !journalSql.endsWith(order))
        return;
    const QString condition = journalSql.mid(head.size(), journalSql.size() - head.size() - order.size());
    std::vector<qint64> ids;
    bool withoutId = false;
    // The work this read is for (an export) hears of it while the IDs are
    // read, and learns how many rows are to come.
    platform::Work* work = platform::Work::current();
    for (auto rs =
             db.OpenCursor(QStringLiteral("select ID from cash where ") + condition + QStringLiteral(" order by ID"));
         !rs->Eof(); rs->MoveNext()) {
        if (work && !work->row(0))
            throw platform::Cancelled();
        if (rs->Fields(0).isNull())
            withoutId = true;
        else
            ids.push_back(rs->Fields(0).toLongLong());
    }
    if (work)
        work->setRows(qint64(ids.size()));
    const QString rows = QStringLiteral("select ") + columns + QStringLiteral(" from cash where ") + condition;
    if (withoutId)
        read(rows + QStringLiteral(" and ID is null"));
    // Pages end between two IDs, so that rows sharing an ID are read once.
    const size_t page = 2000;
    for (size_t a = 0; a < ids.size();) {
        size_t b = std::min(ids.size(), a + page);
        while (b < ids.size() && ids[b] == ids[b - 1])
            ++b;
        read(rows + QStringLiteral(" and ID >= ") + QString::number(ids[a]) + QStringLiteral(" and ID <= ") +
             QString::number(ids[b - 1]) + QStringLiteral(" order by ID"));
        a = b;
    }
}

QStringList JournalLinesOfId(platform::DbConnection& db, qint64 id, bool warehouseColumn)
{
    QStringList out;
    auto rs = db.OpenRecordset(QStringLiteral("select * from cash where ID=") + QString::number(id));
    const JournalLines lines(*rs, warehouseColumn);
    for (; !rs->Eof(); rs->MoveNext())
        out << lines.line(*rs);
    return out;
}

Report BuildJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                    bool warehouseColumn)
{
    return HoldReport(OpenJournal(ctx, range, filter, warehouseColumn));
}

} // namespace ledger
