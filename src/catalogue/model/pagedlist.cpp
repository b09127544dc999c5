#include "catalogue/model/pagedlist.h"

#include "catalogue/model/names.h"

#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unordered_map>

namespace catalogue {

namespace {

QString keyAlias(int i)
{
    return QStringLiteral("orv_key%1").arg(i);
}

struct KeptKeys {
    QString sql;
    QByteArray stamp;
    std::shared_ptr<const PagedList::Keys> rows;
};

// The lists kept: every word searched and every code typed is a list of
// its own, so only the last few stay, the most recent first. A list read
// ahead (KeysAhead) lands here from a thread of its own.
constexpr size_t kListsKept = 8;
std::mutex g_keptLock;
std::vector<KeptKeys> g_kept;
// The statements being read ahead, and the sign that one of them is done.
std::vector<QString> g_ahead;
std::condition_variable g_aheadDone;

std::shared_ptr<const PagedList::Keys> keptKeysLocked(const QString& sql, const QByteArray& stamp)
{
    const auto found = std::find_if(g_kept.begin(), g_kept.end(), [&](const KeptKeys& k) { return k.sql == sql; });
    if (found == g_kept.end())
        return nullptr;
    KeptKeys k = std::move(*found);
    g_kept.erase(found);
    if (stamp.isEmpty() || k.stamp != stamp)
        return nullptr;
    g_kept.insert(g_kept.begin(), k);
    return k.rows;
}

// The keys kept of the list under this stamp; an entry of another stamp is
// dropped, as its tables have changed since.
std::shared_ptr<const PagedList::Keys> keptKeys(const QString& sql, const QByteArray& stamp)
{
    const std::lock_guard<std::mutex> lock(g_keptLock);
    return keptKeysLocked(sql, stamp);
}

// The keys of a list being read ahead, once that read is done: the same
// join read a second time beside it would only make both slower. A read
// ahead that takes far longer than a list's own (a server that went away)
// is not waited for.
std::shared_ptr<const PagedList::Keys> keysReadAhead(const QString& sql, const QByteArray& stamp)
{
    std::unique_lock<std::mutex> lock(g_keptLock);
    const auto reading = [&] { return std::find(g_ahead.begin(), g_ahead.end(), sql) != g_ahead.end(); };
    if (!reading())
        return nullptr;
    g_aheadDone.wait_for(lock, std::chrono::seconds(5), [&] { return !reading(); });
    return keptKeysLocked(sql, stamp);
}

// ahead: keys read ahead give way to a list read meanwhile by the list
// itself, which the window may already be showing.
void keepKeys(const QString& sql, const QByteArray& stamp, std::shared_ptr<const PagedList::Keys> rows,
              bool ahead = false)
{
    if (stamp.isEmpty())
        return;
    const std::lock_guard<std::mutex> lock(g_keptLock);
    const auto found = std::find_if(g_kept.begin(), g_kept.end(), [&](const KeptKeys& k) { return k.sql == sql; });
    if (found != g_kept.end()) {
        if (ahead)
            return;
        g_kept.erase(found);
    }
    g_kept.insert(g_kept.begin(), {sql, stamp, std::move(rows)});
    if (g_kept.size() > kListsKept)
        g_kept.pop_back();
}

// The statement that reads a list's keys in the list's order: lo..hi
// bound its outer key when given.
struct KeysQuery {
    QString from;
    QString where;
    QStringList keys;
    QString order;

    int width() const { return int(keys.size()); }
    QString sql(qint64 lo = 0, qint64 hi = -1) const
    {
        QStringList aliased;
        for (int i = 0; i < keys.size(); ++i)
            aliased << keys.at(i) + QStringLiteral(" as ") + keyAlias(i);
        QStringList conds;
        if (!where.isEmpty())
            conds << QLatin1Char('(') + where + QLatin1Char(')');
        if (lo <= hi)
            conds << keys.first() + QStringLiteral(" between %1 and %2").arg(lo).arg(hi);
        // An order over several tables sorts the whole join; by the outer
        // key alone the engine walks that key and stops sorting. It joins
        // each outer row's partners through their code index, whose entries
        // of one code follow the row key: the order of the rest, as a read
        // straight through gives it.
        // A sorted list takes the outer key after its own order: an index on
        // the sorted columns holds the rows of one value in that order.
        const QString sorted = order.isEmpty() ? keys.first() : order + QStringLiteral(", ") + keys.first();
        return QStringLiteral("select ") + aliased.join(QStringLiteral(", ")) + from +
               (conds.isEmpty() ? QString() : QStringLiteral(" where ") + conds.join(QStringLiteral(" and "))) +
               QStringLiteral(" order by ") + sorted;
    }
};

// How another connection reaches the database of one: the connection
// text and what the login found, taken on the connection's own thread.
struct Reach {
    QString text;
    bool odbc = false;
    platform::DbConnection::Kept kept;

    explicit Reach(const platform::DbConnection& db) : text(db.path()), odbc(db.isOdbc()), kept(db.kept()) {}
    void open(platform::DbConnection& own) const
    {
        if (odbc)
            own.OpenOdbc(text);
        else
            own.Open(text, true);
        own.adoptKept(kept);
    }
};

void readNumbers(platform::DbConnection& db, const QString& sql, int width, PagedList::Keys& out)
{
    if (db.ReadWholeNumbers(sql, out))
        return;
    for (auto rs = db.OpenCursor(sql); !rs->Eof(); rs->MoveNext())
        for (int i = 0; i < width; ++i)
            out.push_back(rs->Fields(i).Value().toLongLong());
}

// A server joins one statement on one of its cores: a hundred thousand
// items took it half a second. A long list's keys are read in parts of its
// outer key instead, each on a connection of its own, which the server
// joins side by side; in the order of their parts they are the keys the
// one statement gives, the list being ordered by that key. False when the
// list is not read so: a sorted or short one, or a part that failed.
bool readKeysInParts(platform::DbConnection& db, const KeysQuery& q, PagedList::Keys& out)
{
    // Rows the window's own connection holds uncommitted only it can read.
    if (!db.isOdbc() || !q.order.isEmpty() || db.inTransaction())
        return false;
    // The outer key's table: the one its name is prefixed with, or the one
    // the list reads.
    static const QRegularExpression oneTable(QStringLiteral("^ from (`[^`]+`|\\w+)$"));
    const QString& key = q.keys.first();
    const qsizetype dot = key.lastIndexOf(QLatin1Char('.'));
    const auto single = oneTable.match(q.from);
    if (dot < 0 && !single.hasMatch())
        return false;
    const QString table = dot < 0 ? single.captured(1) : key.left(dot);
    constexpr int kParts = 8;
    constexpr qint64 kPartRows = 10000;
    qint64 lo = 0, hi = -1;
    try {
        const auto span = db.PeekRow(QStringLiteral("select min(%1), max(%1) from %2").arg(key.mid(dot + 1), table));
        if (!span || span->size() != 2 || span->at(0).isNull())
            return false;
        lo = span->at(0).toLongLong();
        hi = span->at(1).toLongLong();
    } catch (const platform::DbError&) {
        return false;
    }
    const int parts = int(std::min<qint64>(kParts, (hi - lo + 1) / kPartRows));
    if (parts < 2)
        return false;
    const Reach reach(db);
    std::vector<PagedList::Keys> read(static_cast<size_t>(parts));
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    try {
        for (int i = 0; i < parts; ++i) {
            const qint64 first = lo + (hi - lo + 1) * i / parts;
            const qint64 last = lo + (hi - lo + 1) * (i + 1) / parts - 1;
            threads.emplace_back([&, i, first, last] {
                try {
                    platform::DbConnection own;
                    reach.open(own);
                    readNumbers(own, q.sql(first, last), q.width(), read[size_t(i)]);
                } catch (...) {
                    failed = true;
                }
            });
        }
    } catch (const std::system_error&) {
        // No thread for a part: the parts begun are waited for, and the
        // list read whole.
        failed = true;
    }
    for (std::thread& t : threads)
        t.join();
    if (failed)
        return false;
    size_t all = 0;
    for (const auto& part : read)
        all += part.size();
    out.reserve(all);
    for (const auto& part : read)
        out.insert(out.end(), part.begin(), part.end());
    return true;
}

std::shared_ptr<const PagedList::Keys> readKeys(platform::DbConnection& db, const KeysQuery& q)
{
    auto rows = std::make_shared<PagedList::Keys>();
    if (!readKeysInParts(db, q, *rows))
        readNumbers(db, q.sql(), q.width(), *rows);
    rows->shrink_to_fit();
    return rows;
}

// The keys of a list, read again only once one of its tables changed: the
// login and a change of table ask for the same list several times over.
std::shared_ptr<const PagedList::Keys> keysOf(platform::DbConnection& db, const KeysQuery& q, const QStringList& tables)
{
    const QString sql = q.sql();
    // Stamped before the read: a change that lands while it reads leaves
    // the next stamp different.
    const QByteArray stamp = TablesStamp(db, tables);
    if (auto kept = keptKeys(sql, stamp))
        return kept;
    if (auto ahead = keysReadAhead(sql, stamp))
        return ahead;
    auto rows = readKeys(db, q);
    keepKeys(sql, stamp, rows);
    return rows;
}

// A list query split at its from, and its condition without the "where".
void splitList(const QString& select, const QString& where, QString& columns, QString& from, QString& condition)
{
    const qsizetype at = select.indexOf(QLatin1String(" from "));
    columns = select.left(at);
    from = select.mid(at);
    const QString w = where.trimmed();
    condition = w.startsWith(QLatin1String("where "), Qt::CaseInsensitive) ? w.mid(6) : QString();
}

// A row's keys as one hashable value.
struct KeyHash {
    size_t operator()(const std::vector<qint64>& k) const
    {
        size_t h = 0;
        for (qint64 v : k)
            h = h * 1000003u ^ std::hash<qint64>()(v);
        return h;
    }
};

} // namespace

bool CanPage(platform::DbConnection& db)
{
    return !db.rowKey().isEmpty();
}

PagedList::PagedList(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
                     MakeRow make, const QStringList& tables, const QString& order, qsizetype width)
    : m_db(db), m_keys(keys), m_make(std::move(make)), m_width(width)
{
    splitList(select, where, m_columns, m_from, m_where);
    m_rows = keysOf(db, KeysQuery{m_from, m_where, m_keys, order}, tables);
}

qsizetype PagedList::count() const
{
    return m_keys.isEmpty() ? 0 : qsizetype(m_rows->size()) / m_keys.size();
}

void PagedList::read(qsizetype first, qsizetype n, QStringList& out)
{
    const size_t width = size_t(m_keys.size());
    n = std::clamp<qsizetype>(n, 0, count() - first);
    if (first < 0 || n <= 0)
        return;
    const qint64* keys = m_rows->data() + size_t(first) * width;
    // The rows of the keys of the page, whatever else they hold now; each
    // goes to the place its keys had when the list was made. Every table of
    // a join is bounded by its own keys, so that no plan of the engine (a
    // server's, from figures it may hold wrong) reads a table through.
    QStringList conds;
    if (!m_where.isEmpty())
        conds << QLatin1Char('(') + m_where + QLatin1Char(')');
    for (size_t k = 0; k < width; ++k) {
        std::vector<qint64> values(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            values[size_t(i)] = keys[size_t(i) * width + k];
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        QStringList in;
        for (qint64 v : values)
            in << QString::number(v);
        // SQLite would seek each joined table's code index once for every
        // key of the list (a page of the joined items took 68 ms at 100,000
        // items, 8 ms this way): the first table's keys drive the page, the
        // others' are checked on the rows the join finds ("+" keeps the
        // planner from seeking by them).
        const QString plus = k > 0 && !m_db.isOdbc() ? QStringLiteral("+") : QString();
        conds << plus + m_keys.at(int(k)) + QStringLiteral(" in (") + in.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    QString sql = m_columns;
    for (int i = 0; i < m_keys.size(); ++i)
        sql += QStringLiteral(", ") + m_keys.at(i) + QStringLiteral(" as ") + keyAlias(i);
    sql += m_from + QStringLiteral(" where ") + conds.join(QStringLiteral(" and "));
    std::unordered_map<std::vector<qint64>, QString, KeyHash> found;
    {
        std::vector<int> at(width);
        auto rs = m_db.OpenCursor(sql);
        for (size_t i = 0; i < width; ++i)
            at[i] = rs->FieldIndex(keyAlias(int(i)));
        std::vector<qint64> key(width);
        for (; !rs->Eof(); rs->MoveNext()) {
            for (size_t i = 0; i < width; ++i)
                key[i] = rs->Fields(at[i]).Value().toLongLong();
            found.emplace(key, m_make(*rs));
        }
    }
    std::vector<qint64> key(width);
    for (qsizetype i = 0; i < n; ++i) {
        std::copy_n(keys + size_t(i) * width, width, key.begin());
        const auto it = found.find(key);
        out << (it == found.end() ? QString() : it->second);
    }
}

KeysAhead::KeysAhead(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
                     const QStringList& tables, const QString& order)
{
    QString columns, from, condition;
    splitList(select, where, columns, from, condition);
    const KeysQuery q{from, condition, keys, order};
    const QString sql = q.sql();
    // The connection text and what the login found, taken here: the
    // window's connection is not touched from the other thread.
    const Reach reach(db);
    {
        const std::lock_guard<std::mutex> lock(g_keptLock);
        g_ahead.push_back(sql);
    }
    m_thread = std::thread([this, q, sql, tables, reach] {
        try {
            platform::DbConnection own;
            reach.open(own);
            const QByteArray stamp = TablesStamp(own, tables);
            // Not again when the list was filled meanwhile.
            if (!stamp.isEmpty() && !keptKeys(sql, stamp))
                keepKeys(sql, stamp, readKeys(own, q), true);
        } catch (...) {
            // Nothing is kept, and the list reads its keys itself when it
            // is filled, as it would have without this.
        }
        {
            const std::lock_guard<std::mutex> lock(g_keptLock);
            g_ahead.erase(std::find(g_ahead.begin(), g_ahead.end(), sql));
        }
        g_aheadDone.notify_all();
        m_done = true;
    });
}

KeysAhead::~KeysAhead()
{
    m_thread.join();
}

} // namespace catalogue
