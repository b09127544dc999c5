#include "ledger/model/reports.h"

#include "platform/db.h"
#include "platform/sqltext.h"
#include "platform/textcells.h"
#include "platform/work.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

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

qint64 LineId(const QString& line)
{
    if (line.size() < 20)
        return 0;
    return QStringView(line).right(20).trimmed().toLongLong();
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

void ForEachJournalRecord(platform::DbConnection& db, const QString& journalSql,
                          const std::function<void(const platform::DbRecordset&)>& each)
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
    auto walk = [&](const QString& sql) {
        for (auto rs = db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
            each(*rs);
    };
    if (work)
        work->setRows(qint64(ids.size()));
    const QString rows = QStringLiteral("select * from cash where ") + condition;
    if (withoutId)
        walk(rows + QStringLiteral(" and ID is null"));
    // Pages end between two IDs, so that rows sharing an ID are read once.
    const size_t page = 2000;
    for (size_t a = 0; a < ids.size();) {
        size_t b = std::min(ids.size(), a + page);
        while (b < ids.size() && ids[b] == ids[b - 1])
            ++b;
        walk(rows + QStringLiteral(" and ID >= ") + QString::number(ids[a]) + QStringLiteral(" and ID <= ") +
             QString::number(ids[b - 1]) + QStringLiteral(" order by ID"));
        a = b;
    }
}

Report HoldReport(const ReportRows& rows)
{
    Report r;
    r.sql = rows.sql;
    platform::ForEachRow(*rows.rows, [&](qsizetype at, const QString& line) {
        r.add(line, at >= rows.idFirst && at < rows.idFirst + rows.idCount ? LineId(line) : 0);
    });
    return r;
}

Report BuildJournal(const ReportContext& ctx, const ReportRange& range, const JournalFilter& filter,
                    bool warehouseColumn)
{
    return HoldReport(OpenJournal(ctx, range, filter, warehouseColumn));
}

// ---------------------------------------------------------------- item reports

QString ItemReportSql(const ReportContext& ctx, const ReportRange& range, int page)
{
    return QStringLiteral("select code, description, avg(price) as avg_price, sum(quantity) as sum_quantity, unit, ") +
           (DebitKind(page) ? QStringLiteral("sum(debit)") : QStringLiteral("sum(credit)")) +
           QStringLiteral(" as total from cash where code <> 'DS' and code <> 'PN' and ") + DateCondition(ctx, range) +
           KindCondition(page) + QStringLiteral(" group by code, description, unit order by description asc");
}

namespace {

// One line of an item report: an item as the grouping gives it.
struct ItemLine {
    QVariant code, description;
    double price = 0;
    QVariant quantity;
    QString unit;
    double total = 0;
};

// The kind's total, its discount rows (the other side) and its tax rows
// (the same side).
struct ItemFooter {
    double total = 0, discount = 0, tax = 0;
};

QString ItemLineText(const ItemLine& l)
{
    const double quantity = platform::DbField(l.quantity).toDouble();
    return QStringList{
        AlignLeft(l.code, Pad(8)), AlignLeft(l.description, Pad(30)), AlignRight(AmountOrDash(l.price), Pad(15)),
        AlignRight(quantity == 0 ? QStringLiteral("-") : NumberText(platform::DbField(l.quantity)) + kBlank + l.unit,
                   Pad(15)),
        AlignRight(FormatAmount(l.total), Pad(15))}
        .join(kBlank);
}

// An item of the grouping: its texts as its first row in the range has
// them, and what the aggregates add up.
struct ItemGroup {
    QByteArray code, description, unit;
    bool descriptionNull = false, unitNull = false;
    QByteArray foldedCode, foldedDescription, foldedUnit;
    double priceSum = 0;
    qint64 prices = 0;
    double quantity = 0;
    bool anyQuantity = false;
    double total = 0;
};

// A NULL sorts before any text; texts by their NOCASE bytes.
int CompareFolded(bool aNull, const QByteArray& a, bool bNull, const QByteArray& b)
{
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    const int c = std::memcmp(a.constData(), b.constData(), size_t(std::min(a.size(), b.size())));
    return c != 0 ? c : int(a.size() > b.size()) - int(a.size() < b.size());
}

// The groups of a report by the hash of their folded texts, in a flat
// table half empty at most: a hundred thousand items are looked up once per
// row, and a lookup touches a slot and the group's key.
class GroupTable {
public:
    // The group of a key, or a new one numbered `count()`.
    size_t place(const std::string& key, bool* added)
    {
        const size_t hash = std::hash<std::string_view>()(key);
        size_t i = hash & (m_slots.size() - 1);
        for (; m_slots[i].second != 0; i = (i + 1) & (m_slots.size() - 1)) {
            const auto& [at, length] = m_at[m_slots[i].second - 1];
            if (m_slots[i].first == hash && std::string_view(m_keys).substr(at, length) == key) {
                *added = false;
                return m_slots[i].second - 1;
            }
        }
        *added = true;
        m_at.emplace_back(m_keys.size(), key.size());
        m_keys += key;
        if (m_at.size() * 2 > m_slots.size()) {
            std::vector<std::pair<size_t, size_t>> old(m_slots.size() * 2);
            old.swap(m_slots);
            for (const auto& [h, group] : old)
                if (group != 0)
                    put(h, group);
        } else {
            m_slots[i] = {hash, m_at.size()};
            return m_at.size() - 1;
        }
        put(hash, m_at.size());
        return m_at.size() - 1;
    }

private:
    void put(size_t hash, size_t number)
    {
        size_t i = hash & (m_slots.size() - 1);
        while (m_slots[i].second != 0)
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = {hash, number};
    }
    // Hash and group number + 1 (0: an empty slot).
    std::vector<std::pair<size_t, size_t>> m_slots = std::vector<std::pair<size_t, size_t>>(size_t(1) << 12);
    std::string m_keys;
    std::vector<std::pair<size_t, size_t>> m_at;
};

// On a database file the range's rows are read once and grouped here: the
// grouping in SQL sorts every row of the range by three NOCASE texts, which
// on a year of a busy shop costs more than reading the rows. What it gives
// is the statement's result to the row: NOCASE groups keeping the texts of
// their first row as the range is walked, the same sums in the same order,
// ordered by description and then as the groups come (code, description,
// unit); rows without a code take part in neither.
bool ScanItemReport(const ReportContext& ctx, const ReportRange& range, int page, std::vector<ItemLine>& lines,
                    ItemFooter& footer)
{
    const bool debit = DebitKind(page);
    std::vector<ItemGroup> groups;
    GroupTable table;
    std::string key;
    const auto put = [&key](QByteArrayView text, bool null) {
        key += null ? '\0' : '\1';
        for (char c : text)
            key += platform::NocaseFolded(c);
        key += '\0';
    };
    const bool scanned = ctx.db.ScanRows(
        QStringLiteral("cash"),
        {QStringLiteral("code"), QStringLiteral("description"), QStringLiteral("price"), QStringLiteral("quantity"),
         QStringLiteral("unit"), debit ? QStringLiteral("debit") : QStringLiteral("credit"),
         debit ? QStringLiteral("credit") : QStringLiteral("debit")},
        [&](const platform::DbScanRow& row) {
            if (row.isNull(0))
                return;
            const QByteArrayView code = row.text(0);
            if (platform::NocaseIs(code, "ds")) {
                footer.discount += row.number(6);
                return;
            }
            if (platform::NocaseIs(code, "pn")) {
                footer.tax += row.number(5);
                return;
            }
            footer.total += row.number(5);
            key.clear();
            put(code, false);
            put(row.text(1), row.isNull(1));
            put(row.text(4), row.isNull(4));
            bool added = false;
            const size_t group = table.place(key, &added);
            if (added) {
                ItemGroup g;
                g.code = code.toByteArray();
                g.description = row.text(1).toByteArray();
                g.unit = row.text(4).toByteArray();
                g.descriptionNull = row.isNull(1);
                g.unitNull = row.isNull(4);
                platform::AppendNocase(g.foldedCode, g.code);
                platform::AppendNocase(g.foldedDescription, g.description);
                platform::AppendNocase(g.foldedUnit, g.unit);
                groups.push_back(std::move(g));
            }
            ItemGroup& g = groups[group];
            if (!row.isNull(2)) {
                g.priceSum += row.number(2);
                ++g.prices;
            }
            if (!row.isNull(3)) {
                g.quantity += row.number(3);
                g.anyQuantity = true;
            }
            g.total += row.number(5);
        },
        DateCondition(ctx, range) + KindCondition(page));
    if (!scanned)
        return false;
    std::vector<const ItemGroup*> order;
    order.reserve(groups.size());
    for (const ItemGroup& g : groups)
        order.push_back(&g);
    std::sort(order.begin(), order.end(), [](const ItemGroup* a, const ItemGroup* b) {
        int c = CompareFolded(a->descriptionNull, a->foldedDescription, b->descriptionNull, b->foldedDescription);
        if (c == 0)
            c = CompareFolded(false, a->foldedCode, false, b->foldedCode);
        if (c == 0)
            c = CompareFolded(a->unitNull, a->foldedUnit, b->unitNull, b->foldedUnit);
        return c < 0;
    });
    const auto text = [](const QByteArray& bytes, bool null) {
        return null ? QVariant() : QVariant(QString::fromUtf8(bytes));
    };
    lines.reserve(order.size());
    for (const ItemGroup* g : order)
        lines.push_back({text(g->code, false), text(g->description, g->descriptionNull),
                         g->prices ? g->priceSum / double(g->prices) : 0.0,
                         g->anyQuantity ? QVariant(g->quantity) : QVariant(), QString::fromUtf8(g->unit), g->total});
    return true;
}

// On a server the engine groups the range, and sums it once more for the
// footer.
void QueryItemReport(const ReportContext& ctx, const ReportRange& range, int page, std::vector<ItemLine>& lines,
                     ItemFooter& footer)
{
    auto rs = ctx.db.OpenRecordset(ItemReportSql(ctx, range, page));
    for (; !rs->Eof(); rs->MoveNext())
        lines.push_back({rs->Fields(QStringLiteral("code")).Value(), rs->Fields(QStringLiteral("description")).Value(),
                         Field(*rs, "avg_price"), rs->Fields(QStringLiteral("sum_quantity")).Value(),
                         rs->Fields(QStringLiteral("unit")).toString(), Field(*rs, "total")});
    if (lines.empty())
        return;
    const QString side = DebitKind(page) ? QStringLiteral("debit") : QStringLiteral("credit");
    const QString other = DebitKind(page) ? QStringLiteral("credit") : QStringLiteral("debit");
    auto sums = ctx.db.OpenRecordset(QStringLiteral("select sum(case when code <> 'DS' and code <> 'PN' then ") + side +
                                     QStringLiteral(" else 0 end) as total, sum(case when code = 'DS' then ") + other +
                                     QStringLiteral(" else 0 end) as discount, sum(case when code = 'PN' then ") +
                                     side + QStringLiteral(" else 0 end) as tax from cash where ") +
                                     DateCondition(ctx, range) + KindCondition(page));
    footer = {Field(*sums, "total"), Field(*sums, "discount"), Field(*sums, "tax")};
}

} // namespace

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
    std::vector<ItemLine> lines;
    ItemFooter sums;
    if (!ScanItemReport(ctx, range, page, lines, sums))
        QueryItemReport(ctx, range, page, lines, sums);
    for (const ItemLine& l : lines)
        r.add(ItemLineText(l));
    if (r.lines.size() <= 2)
        return r;

    const double total = Shown(sums.total);
    const double discount = Shown(sums.discount);
    const double tax = Shown(sums.tax);
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
const QString kRecapKeptSums =
    QString(kRecapSums).replace(QStringLiteral(" from cash "), QStringLiteral(" from cashday "));
const QString kRecapDays =
    QStringLiteral("sale, shop, shop_retur, sale_retur, cash_in, cash_out, debit, credit from cashday where ");

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
    // The database's day totals are the days' sums already: a year is its
    // days, whatever its rows.
    const bool kept = ctx.db.keepsSummaries();
    const QString sums = kept ? kRecapKeptSums + w + QStringLiteral(" and entries > 0") : kRecapSums + w;
    r.sql = kept ? QStringLiteral("select moment as Tanggal, ") + kRecapDays + w +
                       QStringLiteral(" and entries > 0 order by moment")
                 : QStringLiteral("select moment as Tanggal, ") + kRecapSums + w +
                       QStringLiteral(" group by moment order by moment");
    auto rs = ctx.db.OpenRecordset(r.sql);
    for (; !rs->Eof(); rs->MoveNext())
        r.add(AlignLeft(ShowDate(rs->Fields(QStringLiteral("Tanggal")).Value()), Pad(10)) + kBlank + RecapFigures(*rs));
    if (r.lines.size() > 2) {
        auto total = ctx.db.OpenRecordset(QStringLiteral("select ") + sums);
        r.add(Rule());
        r.add(AlignLeft(QStringLiteral("Total"), Pad(10)) + kBlank + RecapFigures(*total));
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

namespace {
ReportRows Held(Report r)
{
    ReportRows rows;
    rows.sql = r.sql;
    rows.rows = std::make_shared<platform::LinesSource>(std::move(r.lines));
    return rows;
}
} // namespace

ReportRows OpenRecap(const ReportContext& ctx, const ReportRange& range)
{
    return Held(BuildRecap(ctx, range));
}

std::optional<ReportRows> OpenReport(const ReportContext& ctx, int page, const ReportRange& range,
                                     const JournalFilter& filter, bool warehouseColumn)
{
    switch (page) {
    case Journal: return OpenJournal(ctx, range, filter, warehouseColumn);
    case Sales:
    case Purchases:
    case CashIn:
    case CashOut: return Held(BuildItemReport(ctx, range, page));
    case Recap: return OpenRecap(ctx, range);
    case Stock: return Held(BuildStock(ctx, range));
    default: return std::nullopt;
    }
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
