#include "data/summaries.h"

#include "data/daytotals.h"
#include "data/db.h"
#include "data/owntext.h"
#include "data/serverschema.h"
#include "data/sqltext.h"

#include <QHash>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

const char* const kCashTriggers[] = {"cashtotal_insert", "cashtotal_update", "cashtotal_delete"};
// The stock triggers' names carry the edition of their rule: months kept by
// an earlier one (which left a movement with an empty in or out out of the
// balance, and kept a date that is not plain under its first seven
// characters) are built again, and the earlier triggers go.
const char* const kStockTriggers[] = {"stockmonth_insert_v2", "stockmonth_update_v2", "stockmonth_delete_v2"};
const char* const kRetiredStockTriggers[] = {"stockmonth_insert", "stockmonth_update", "stockmonth_delete"};

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

// The kinds of movement the month sums keep apart, by the column each
// takes and the words (in lower case: the tables compare them without
// regard to case) that name it.
struct StockKind {
    const char* sumColumn;
    const char* column;
    const char* words[2];
};

const StockKind kStockKinds[] = {
    {"shop", "in", {"shop", "beli"}},
    {"sale", "out", {"sale", "jual"}},
    {"shop_retur", "out", {"shop retur", "retur beli"}},
    {"sale_retur", "in", {"sale retur", "retur jual"}},
    {"manual_plus", "in", {"opname", nullptr}},
    {"manual_min", "out", {"opname", nullptr}},
};

// What one movement adds to its month, by column, for the row named r
// ("new" or "old"). An empty in or out counts as nothing, each on its own,
// as the sums over the rows count them: the balance is what came in less
// what went out.
struct StockPart {
    QString column;
    QString of;
};

QVector<StockPart> stockParts(const QString& r)
{
    QVector<StockPart> parts{
        {QStringLiteral("in"), QStringLiteral("coalesce(%1.`in`, 0)").arg(r)},
        {QStringLiteral("out"), QStringLiteral("coalesce(%1.`out`, 0)").arg(r)},
        {QStringLiteral("balance"), QStringLiteral("coalesce(%1.`in`, 0) - coalesce(%1.`out`, 0)").arg(r)},
    };
    for (const StockKind& k : kStockKinds) {
        QStringList words;
        for (const char* w : k.words)
            if (w)
                words << QLatin1Char('\'') + QString::fromLatin1(w) + QLatin1Char('\'');
        parts.append({QString::fromLatin1(k.sumColumn),
                      QStringLiteral("case when lower(%1.category) in (%2) then coalesce(%1.`%3`, 0) else 0 end")
                          .arg(r, words.join(QStringLiteral(", ")), QString::fromLatin1(k.column))});
    }
    return parts;
}

QString stockKey(const QString& r)
{
    return QStringLiteral("code = coalesce(%1.code, '') and description = coalesce(%1.description, '') and "
                          "period = %2")
        .arg(r, StockPeriodSql(r + QStringLiteral(".moment")));
}

// Adds (sign "+") or takes away (sign "-") one movement from its month.
QString stockChange(const QString& r, const char* sign)
{
    QStringList set;
    const QString s = QString::fromLatin1(sign);
    set << QStringLiteral("movements = movements %1 1").arg(s);
    for (const StockPart& p : stockParts(r))
        set << QStringLiteral("`%1` = `%1` %2 (%3)").arg(p.column, s, p.of);
    if (s == QLatin1String("+")) {
        set << QStringLiteral("lastid = case when lastid is null or %1.id > lastid then %1.id else lastid end").arg(r);
    } else {
        // The largest id left in the month: the movement is gone already.
        // A month kept under "" (no code or description) looks for the rows
        // without one too; the others go by the index.
        const QString period = StockPeriodSql(QStringLiteral("f.moment"));
        set << QStringLiteral("lastid = case when stockmonth.code = '' or stockmonth.description = '' "
                              "then (select max(f.id) from stockflow f where coalesce(f.code, '') = stockmonth.code "
                              "and coalesce(f.description, '') = stockmonth.description and %1 = stockmonth.period) "
                              "else (select max(f.id) from stockflow f where f.code = stockmonth.code and "
                              "f.description = stockmonth.description and %1 = stockmonth.period) end")
                   .arg(period);
    }
    return QStringLiteral("update stockmonth set ") + set.join(QStringLiteral(", ")) + QStringLiteral(" where ") +
           stockKey(r) + QLatin1Char(';');
}

QString stockAdd(const QString& r)
{
    QStringList zeros;
    for (qsizetype i = 0; i < stockParts(r).size(); ++i)
        zeros << QStringLiteral("0");
    return QStringLiteral("insert into stockmonth select coalesce(%1.code, ''), coalesce(%1.description, ''), "
                          "%2, 0, null, %3 from (select 1 as one) o "
                          "where not exists (select 1 from stockmonth where %4); ")
               .arg(r, StockPeriodSql(r + QStringLiteral(".moment")), zeros.join(QStringLiteral(", ")), stockKey(r)) +
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

QStringList cashTriggers()
{
    const QString n = QStringLiteral("new"), o = QStringLiteral("old");
    return {
        trigger(kCashTriggers[0], "insert", "cash", cashChange(n, "+")),
        trigger(kCashTriggers[1], "update", "cash", cashChange(o, "-") + QLatin1Char(' ') + cashChange(n, "+")),
        trigger(kCashTriggers[2], "delete", "cash", cashChange(o, "-")),
    };
}

QStringList stockTriggers()
{
    const QString n = QStringLiteral("new"), o = QStringLiteral("old");
    return {
        trigger(kStockTriggers[0], "insert", "stockflow", stockAdd(n)),
        trigger(kStockTriggers[1], "update", "stockflow", stockChange(o, "-") + QLatin1Char(' ') + stockAdd(n)),
        trigger(kStockTriggers[2], "delete", "stockflow", stockChange(o, "-")),
    };
}

template <size_t N> QStringList namesOf(const char* const (&names)[N])
{
    QStringList out;
    for (const char* n : names)
        out << QString::fromLatin1(n);
    return out;
}

void createTables(DbConnection& db, const QStringList& statements)
{
    if (db.isOdbc()) {
        for (const QString& s : ServerStatements(statements.join(QStringLiteral(";\n"))))
            db.Execute(s);
    } else {
        for (const QString& s : statements)
            db.Execute(s);
    }
}

void dropTriggers(DbConnection& db, const QStringList& names)
{
    for (const QString& t : names)
        db.Execute(QStringLiteral("drop trigger if exists ") + t);
}

// A number written back exactly as it was summed.
QString exact(double v)
{
    return std::isfinite(v) ? QString::number(v, 'g', 17) : QStringLiteral("0");
}

// Rows are read a pass at a time; progress is told after this many.
constexpr qint64 kProgressRows = 1 << 16;

// ---------------------------------------------------------------- cash

bool cashWhole(DbConnection& db)
{
    return db.hasTable(QStringLiteral("cashtotal")) &&
           db.TriggerCount(namesOf(kCashTriggers), {QStringLiteral("cash")}) == int(std::size(kCashTriggers)) &&
           StoredNumber(db.GetValue(QStringLiteral("select count(*) from cashtotal"))) == 1;
}

void buildCash(DbConnection& db, const std::function<void(double)>& progress)
{
    dropTriggers(db, namesOf(kCashTriggers));
    db.Execute(QStringLiteral("drop table if exists cashtotal"));
    createTables(db, {kCashTable});
    if (!CashDaysComplete(db)) {
        // The days are due as well: one pass over the journal gives both.
        const JournalFigures f = BuildCashDaysWithTotals(db, progress);
        db.Execute(QStringLiteral("insert into cashtotal values (%1, %2, %3, %4)")
                       .arg(exact(f.debit), exact(f.credit))
                       .arg(f.debitRows)
                       .arg(f.creditRows));
    } else if (db.isOdbc()) {
        db.Execute(QStringLiteral("insert into cashtotal select coalesce(sum(Debit), 0), coalesce(sum(Credit), 0), "
                                  "count(Debit), count(Credit) from cash"));
    } else {
        // The journal in slices of its rows' order, so that the operator sees
        // the work go on; each slice is a range of the table itself.
        auto span = db.OpenRecordset(QStringLiteral("select min(rowid), max(rowid) from cash"));
        const qint64 first = qint64(StoredNumber(span->Fields(0).Value())) - 1;
        const qint64 last = qint64(StoredNumber(span->Fields(1).Value()));
        constexpr qint64 slice = 1 << 19;
        double debit = 0, credit = 0;
        qint64 debitRows = 0, creditRows = 0;
        for (qint64 from = first; from < last; from += slice) {
            auto rs = db.OpenRecordset(QStringLiteral("select coalesce(sum(Debit), 0), coalesce(sum(Credit), 0), "
                                                      "count(Debit), count(Credit) from cash where rowid > %1 and "
                                                      "rowid <= %2")
                                           .arg(from)
                                           .arg(from + slice));
            debit += rs->Fields(0).toDouble();
            credit += rs->Fields(1).toDouble();
            debitRows += qint64(StoredNumber(rs->Fields(2).Value()));
            creditRows += qint64(StoredNumber(rs->Fields(3).Value()));
            if (progress)
                progress(double(qMin(from + slice, last) - first) / double(last - first));
        }
        db.Execute(QStringLiteral("insert into cashtotal values (%1, %2, %3, %4)")
                       .arg(exact(debit), exact(credit))
                       .arg(debitRows)
                       .arg(creditRows));
    }
    for (const QString& t : cashTriggers())
        db.Execute(t);
}

// ---------------------------------------------------------------- stock

bool stockWhole(DbConnection& db)
{
    return db.hasTable(QStringLiteral("stockmonth")) &&
           db.TriggerCount(namesOf(kStockTriggers), {QStringLiteral("stockflow")}) == int(std::size(kStockTriggers)) &&
           db.TriggerCount(namesOf(kRetiredStockTriggers), {QStringLiteral("stockflow")}) == 0;
}

// The month sums of every movement, grouped as the tables compare texts
// (without regard to case); a missing code or description is "". The
// server groups them itself.
QString stockFill()
{
    QStringList sums;
    for (const StockPart& p : stockParts(QStringLiteral("stockflow")))
        sums << QStringLiteral("sum(") + p.of + QLatin1Char(')');
    const QString period = StockPeriodSql(QStringLiteral("moment"));
    return QStringLiteral("insert into stockmonth select coalesce(code, ''), coalesce(description, ''), ") + period +
           QStringLiteral(", count(*), max(id), ") + sums.join(QStringLiteral(", ")) +
           QStringLiteral(" from stockflow group by coalesce(code, ''), coalesce(description, ''), ") + period;
}

// The period of a plain date ("yyyy-mm-dd" of a day the month has): its
// first seven characters. Empty for any other text, which StockPeriod
// reads. Nearly every movement has one.
QByteArrayView plainPeriod(QByteArrayView m)
{
    if (m.size() != 10 || m[4] != '-' || m[7] != '-')
        return {};
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (m[i] < '0' || m[i] > '9')
            return {};
    const int month = (m[5] - '0') * 10 + (m[6] - '0');
    const int day = (m[8] - '0') * 10 + (m[9] - '0');
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return {};
    if (day > 28) {
        const int year = (m[0] - '0') * 1000 + (m[1] - '0') * 100 + (m[2] - '0') * 10 + (m[3] - '0');
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int last = month == 2                                              ? (leap ? 29 : 28)
                         : month == 4 || month == 6 || month == 9 || month == 11 ? 30
                                                                                 : 31;
        if (day > last)
            return {};
    }
    return m.first(7);
}

struct MonthSums {
    int item = 0;
    int period = 0;
    qint64 movements = 0;
    std::optional<qint64> lastId;
    double figures[9] = {}; // in, out, balance, then kStockKinds
};

// Texts looked up by their bytes as read, without making a key of them.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view v) const { return std::hash<std::string_view>()(v); }
};
template <typename T> using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

std::string_view view(QByteArrayView v);

// Pairs of texts (a code and a description, as read) numbered, held flat
// in one open table: a lookup is one hash and, nearly always, one compare.
class PairNumbers {
public:
    static size_t hashOf(QByteArrayView first, QByteArrayView second)
    {
        return size_t(mix(mix(kMultiplier, first), second));
    }
    // The number of a pair, or -1 when it was not met yet.
    int find(QByteArrayView first, QByteArrayView second, size_t hash) const
    {
        if (m_slots.empty())
            return -1;
        for (size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const Slot& s = m_slots[i];
            if (s.number < 0)
                return -1;
            if (s.hash == hash && s.firstSize == size_t(first.size()) && s.secondSize == size_t(second.size()) &&
                view(first) == std::string_view(m_bytes).substr(s.at, s.firstSize) &&
                view(second) == std::string_view(m_bytes).substr(s.at + s.firstSize, s.secondSize))
                return s.number;
        }
    }
    void add(QByteArrayView first, QByteArrayView second, size_t hash, int number)
    {
        if (2 * (m_used + 1) > m_slots.size())
            grow();
        const Slot s{hash, m_bytes.size(), size_t(first.size()), size_t(second.size()), number};
        m_bytes.append(view(first));
        m_bytes.append(view(second));
        place(s);
        ++m_used;
    }

private:
    static constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ull;
    // A few bytes at a time, inline: the texts are short.
    static quint64 mix(quint64 h, QByteArrayView text)
    {
        const char* p = text.data();
        size_t n = size_t(text.size());
        for (; n >= 8; p += 8, n -= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            h = (h ^ w) * kMultiplier;
            h ^= h >> 29;
        }
        // The last bytes one by one: a copy of a length known only here
        // would be a call, and its result read back through memory.
        quint64 w = quint64(n) << 56;
        for (size_t i = 0; i < n; ++i)
            w |= quint64(uchar(p[i])) << (8 * i);
        h = (h ^ w) * kMultiplier;
        return h ^ (h >> 29);
    }
    struct Slot {
        size_t hash = 0;
        size_t at = 0;
        size_t firstSize = 0;
        size_t secondSize = 0;
        int number = -1;
    };
    void place(const Slot& s)
    {
        size_t i = s.hash & m_mask;
        while (m_slots[i].number >= 0)
            i = (i + 1) & m_mask;
        m_slots[i] = s;
    }
    void grow()
    {
        std::vector<Slot> old(qMax<size_t>(1024, 2 * m_slots.size()));
        old.swap(m_slots);
        m_mask = m_slots.size() - 1;
        for (const Slot& s : old)
            if (s.number >= 0)
                place(s);
    }
    std::vector<Slot> m_slots;
    size_t m_mask = 0;
    size_t m_used = 0;
    std::string m_bytes;
};

// The movements' stock items, periods and kinds, each text met once made
// into a number: the pass over ten years of movements then costs a few
// lookups a row.
class MonthIndex {
public:
    int item(QByteArrayView code, QByteArrayView description)
    {
        const size_t hash = PairNumbers::hashOf(code, description);
        const int known = m_read.find(code, description, hash);
        if (known >= 0)
            return known;
        QByteArray folded;
        AppendNocase(folded, code);
        folded += '\x1f';
        AppendNocase(folded, description);
        auto f = m_folded.find(view(folded));
        if (f == m_folded.end()) {
            f = m_folded.emplace(std::string(view(folded)), int(items.size())).first;
            items.append({code.toByteArray(), description.toByteArray()});
        }
        m_read.add(code, description, hash, f->second);
        return f->second;
    }
    // Plain months by their number, any other period by a number past them.
    int period(QByteArrayView moment, bool isNull)
    {
        const QByteArrayView plain = plainPeriod(moment);
        if (!plain.isEmpty()) {
            const int year =
                (plain[0] - '0') * 1000 + (plain[1] - '0') * 100 + (plain[2] - '0') * 10 + (plain[3] - '0');
            return year * 12 + (plain[5] - '0') * 10 + (plain[6] - '0') - 1;
        }
        const QByteArray other = StockPeriod(moment, isNull);
        auto o = m_others.find(view(other));
        if (o == m_others.end()) {
            o = m_others.emplace(std::string(view(other)), kOther + int(others.size())).first;
            others.append(other);
        }
        return o->second;
    }
    QByteArray periodText(int period) const
    {
        if (period >= kOther)
            return others.at(period - kOther);
        return QByteArray::number(period / 12).rightJustified(4, '0') + '-' +
               QByteArray::number(period % 12 + 1).rightJustified(2, '0');
    }
    // The kinds (bits of kStockKinds) a category names.
    // A shop uses a handful of categories: the first few met are looked
    // through before any hash.
    int kinds(QByteArrayView category)
    {
        for (const auto& [text, bits] : m_firstKinds)
            if (text == view(category))
                return bits;
        auto k = m_kinds.find(view(category));
        if (k != m_kinds.end())
            return k->second;
        int bits = 0;
        for (size_t i = 0; i < std::size(kStockKinds); ++i)
            for (const char* w : kStockKinds[i].words)
                if (w && NocaseIs(category, w))
                    bits |= 1 << i;
        if (m_firstKinds.size() < 16)
            m_firstKinds.emplace_back(std::string(view(category)), bits);
        else
            m_kinds.emplace(std::string(view(category)), bits);
        return bits;
    }

    QVector<std::pair<QByteArray, QByteArray>> items;
    QVector<QByteArray> others;

private:
    static constexpr int kOther = 1 << 20;
    PairNumbers m_read;
    TextMap<int> m_folded;
    TextMap<int> m_others;
    std::vector<std::pair<std::string, int>> m_firstKinds;
    TextMap<int> m_kinds;
};

// On a database file the movements are read once in the table's own order
// and summed by month in memory: a grouping in SQL would sort every
// movement first, which takes minutes on a shop's ten years.
void fillStockFromFile(DbConnection& db, const std::function<void(double)>& progress)
{
    const qint64 last = qint64(StoredNumber(db.GetValue(QStringLiteral("select max(rowid) from stockflow"))));
    MonthIndex index;
    std::unordered_map<quint64, int> at;
    QVector<MonthSums> months;
    std::vector<std::pair<int, int>> lastMonth; // by item: its period and month
    qint64 seen = 0;
    bool inColumn[std::size(kStockKinds)];
    for (size_t k = 0; k < std::size(kStockKinds); ++k)
        inColumn[k] = qstrcmp(kStockKinds[k].column, "in") == 0;
    const QStringList columns{QStringLiteral("id"),     QStringLiteral("code"),     QStringLiteral("description"),
                              QStringLiteral("moment"), QStringLiteral("category"), QStringLiteral("`in`"),
                              QStringLiteral("`out`")};
    db.ScanRows(QStringLiteral("stockflow"), columns, [&](const DbScanRow& row) {
        const int item = index.item(row.text(1), row.text(2));
        const QByteArrayView moment = row.text(3);
        const int period = index.period(moment, moment.isNull());
        // An item's movements mostly follow each other by month: its last
        // month is looked at first.
        if (size_t(item) >= lastMonth.size())
            lastMonth.resize(size_t(item) + 1, {-1, -1});
        auto& [lastPeriod, monthAt] = lastMonth[size_t(item)];
        if (lastPeriod != period) {
            const quint64 key = (quint64(quint32(item)) << 32) | quint32(period);
            auto found = at.find(key);
            if (found == at.end()) {
                found = at.emplace(key, int(months.size())).first;
                months.append(MonthSums{item, period, 0, std::nullopt, {}});
            }
            lastPeriod = period;
            monthAt = found->second;
        }
        MonthSums& m = months[monthAt];
        ++m.movements;
        if (!row.isNull(0)) {
            const qint64 id = row.whole(0);
            if (!m.lastId || id > *m.lastId)
                m.lastId = id;
        }
        const double in = row.number(5), out = row.number(6);
        m.figures[0] += in;
        m.figures[1] += out;
        m.figures[2] += in - out;
        const QByteArrayView category = row.text(4);
        const int kinds = category.isNull() ? 0 : index.kinds(category);
        if (kinds)
            for (size_t k = 0; k < std::size(kStockKinds); ++k)
                if (kinds & (1 << k))
                    m.figures[3 + k] += inColumn[k] ? in : out;
        if (++seen % kProgressRows == 0 && progress && last > 0)
            progress(qMin(1.0, double(seen) / double(last)));
    });
    QVector<QVector<QVariant>> rows;
    rows.reserve(months.size());
    for (const MonthSums& m : std::as_const(months)) {
        const auto& [code, description] = index.items.at(m.item);
        QVector<QVariant> cells{QString::fromUtf8(code), QString::fromUtf8(description),
                                QString::fromUtf8(index.periodText(m.period)), QVariant(m.movements),
                                m.lastId ? QVariant(*m.lastId) : QVariant()};
        for (double f : m.figures)
            cells << QVariant(f);
        rows.append(std::move(cells));
    }
    db.ExecuteEach(QStringLiteral("insert into stockmonth values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
                                  "?13, ?14)"),
                   rows);
}

void buildStock(DbConnection& db, const std::function<void(double)>& progress)
{
    dropTriggers(db, namesOf(kRetiredStockTriggers) + namesOf(kStockTriggers));
    db.Execute(QStringLiteral("drop table if exists stockmonth"));
    if (db.isOdbc()) {
        createTables(db, {kStockTable, kStockKeyIndex, kStockPeriodIndex});
        db.Execute(stockFill());
    } else {
        // The month sums are written before their indexes are made.
        createTables(db, {kStockTable});
        fillStockFromFile(db, progress);
        createTables(db, {kStockKeyIndex, kStockPeriodIndex});
    }
    for (const QString& t : stockTriggers())
        db.Execute(t);
}

// What a database keeps, in the order it is built.
const QVector<SummaryStep>& steps()
{
    static const QVector<SummaryStep> list{
        {QStringLiteral("Menghitung saldo kas dari jurnal"), cashWhole, buildCash, "cBuildCash"},
        {QStringLiteral("Menghitung stok per bulan dari mutasi stok"), stockWhole, buildStock, "cBuildStock"},
        {QStringLiteral("Menghitung jumlah harian jurnal"), CashDaysComplete,
         [](DbConnection& db, const std::function<void(double)>& progress) { BuildCashDays(db, progress); },
         "cBuildCashDays"},
    };
    return list;
}

bool complete(DbConnection& db)
{
    for (const SummaryStep& s : steps())
        if (!s.whole(db))
            return false;
    return true;
}

} // namespace

QString StockPeriodSql(const QString& moment)
{
    const QString& m = moment;
    const QString p = QStringLiteral("substr(%1, 1, 7)").arg(m);
    const QString year = QStringLiteral("substr(%1, 1, 4)").arg(m);
    const QString month = QStringLiteral("substr(%1, 6, 2)").arg(m);
    const QString lastDay =
        QStringLiteral("(case %2 when '02' then (case when (%1 % 4 = 0 and %1 % 100 <> 0) or %1 % 400 = 0 "
                       "then '-29' else '-28' end) when '04' then '-30' when '06' then '-30' when '09' then '-30' "
                       "when '11' then '-30' else '-31' end)")
            .arg(year, month);
    QStringList digits;
    for (int i = 1; i <= 4; ++i)
        digits << QStringLiteral("substr(%1, %2, 1) between '0' and '9'").arg(m).arg(i);
    const QString realMonth = digits.join(QStringLiteral(" and ")) +
                              QStringLiteral(" and substr(%1, 5, 1) = '-' and %2 in ('01', '02', '03', '04', '05', "
                                             "'06', '07', '08', '09', '10', '11', '12')")
                                  .arg(m, month);
    const QString previous = QStringLiteral("(case when %2 = '01' then (substr('000' || (%1 - 1), -4) || '-12') else "
                                            "(substr(%3, 1, 5) || substr('0' || (%2 - 1), -2)) end)")
                                 .arg(year, month, m);
    return QStringLiteral("(case when %1 is null then '' when %1 < (%2 || '-01') then (case when %3 then (%4 || '~') "
                          "when %1 = '' then '!' else %1 end) when %1 <= (%2 || %5) then %2 else (%2 || '~') end)")
        .arg(m, p, realMonth, previous, lastDay);
}

namespace {

QByteArrayView firstChars(QByteArrayView text, qsizetype from, qsizetype count)
{
    // SQLite's substr counts characters: UTF-8 lead bytes.
    qsizetype at = 0, chars = 0;
    auto step = [&] {
        ++at;
        while (at < text.size() && (uchar(text[at]) & 0xC0) == 0x80)
            ++at;
    };
    while (at < text.size() && chars < from) {
        step();
        ++chars;
    }
    const qsizetype start = at;
    chars = 0;
    while (at < text.size() && chars < count) {
        step();
        ++chars;
    }
    return text.sliced(start, at - start);
}

std::string_view view(QByteArrayView v)
{
    return std::string_view(v.data(), size_t(v.size()));
}

// A text's leading whole number, as the engine's arithmetic reads it.
qint64 leadingNumber(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    qint64 v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = v * 10 + (text[i] - '0');
    return negative ? -v : v;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QByteArray StockPeriod(QByteArrayView moment, bool isNull)
{
    if (isNull)
        return QByteArray();
    const QByteArrayView p = firstChars(moment, 0, 7);
    const QByteArrayView month = firstChars(moment, 5, 2);
    const QByteArray first = p.toByteArray() + "-01";
    if (view(moment) < view(first)) {
        const QByteArrayView year = firstChars(moment, 0, 4);
        bool real = year.size() == 4 && firstChars(moment, 4, 1) == "-" && month.size() == 2 && isDigit(month[0]) &&
                    isDigit(month[1]);
        for (char c : year)
            real = real && isDigit(c);
        const int m = real ? (month[0] - '0') * 10 + (month[1] - '0') : 0;
        if (real && m >= 1 && m <= 12) {
            const qint64 y = leadingNumber(year);
            if (m == 1)
                return (QByteArray("000") + QByteArray::number(y - 1)).right(4) + "-12~";
            return firstChars(moment, 0, 5).toByteArray() + (QByteArray("0") + QByteArray::number(m - 1)).right(2) +
                   '~';
        }
        // An empty date sorts before every day, as "" (a null date) does
        // not: it is kept under a sign that sorts before the digits (a
        // server that pads texts with blanks takes a blank for "").
        return moment.isEmpty() ? QByteArray("!") : moment.toByteArray();
    }
    const char* lastDay = "-31";
    if (month == "02") {
        const qint64 y = leadingNumber(firstChars(moment, 0, 4));
        lastDay = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? "-29" : "-28";
    } else if (month == "04" || month == "06" || month == "09" || month == "11") {
        lastDay = "-30";
    }
    if (view(moment) <= view(p.toByteArray() + lastDay))
        return p.toByteArray();
    return p.toByteArray() + '~';
}

bool EnsureSummaries(DbConnection& db, const SummaryProgress& progress, std::exception_ptr* failure)
{
    db.setKeepsSummaries(false);
    try {
        if (!db.hasTable(QStringLiteral("cash")) || !db.hasTable(QStringLiteral("stockflow")))
            return false;
        if (!complete(db)) {
            // Writers take turns: no journal row or movement can be written
            // between the sums read here and the triggers that keep them.
            DbTransaction tx(db);
            QVector<const SummaryStep*> due;
            for (const SummaryStep& s : steps())
                if (!s.whole(db))
                    due.append(&s);
            for (qsizetype i = 0; i < due.size(); ++i) {
                const SummaryStep& s = *due[i];
                // An earlier step may have built this one on its way.
                if (i > 0 && s.whole(db))
                    continue;
                const QString what = OwnText(s.key, s.what);
                auto told = [&](double share) {
                    if (progress)
                        progress(what, (double(i) + qBound(0.0, share, 1.0)) / double(due.size()));
                };
                told(0);
                // A server builds each table in a statement or two that
                // tell nothing while they run.
                if (progress && db.isOdbc())
                    progress(what, -1);
                s.build(db, told);
                told(1);
            }
            tx.commit();
        }
        db.setKeepsSummaries(complete(db));
    } catch (const DbError&) {
        // Read only, or no right to create triggers: the readers sum rows.
        db.setKeepsSummaries(false);
        if (failure)
            *failure = std::current_exception();
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

} // namespace platform
