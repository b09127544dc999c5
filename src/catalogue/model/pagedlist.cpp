#include "catalogue/model/pagedlist.h"

#include "catalogue/model/names.h"

#include <algorithm>
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
// its own, so only the last few stay, the most recent first.
constexpr size_t kListsKept = 8;

// The keys of a list, read again only once one of its tables changed: the
// login and a change of table ask for the same list several times over.
std::shared_ptr<const PagedList::Keys> keysOf(platform::DbConnection& db, const QString& sql, int width,
                                              const QStringList& tables)
{
    static std::vector<KeptKeys> kept;
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const KeptKeys& k) { return k.sql == sql; });
    // Stamped before the read: a change that lands while it reads leaves
    // the next stamp different.
    const QByteArray stamp = TablesStamp(db, tables);
    if (found != kept.end()) {
        KeptKeys k = std::move(*found);
        kept.erase(found);
        if (!stamp.isEmpty() && k.stamp == stamp) {
            kept.insert(kept.begin(), k);
            return k.rows;
        }
    }
    auto rows = std::make_shared<PagedList::Keys>();
    if (!db.ReadWholeNumbers(sql, *rows)) {
        auto rs = db.OpenCursor(sql);
        for (; !rs->Eof(); rs->MoveNext())
            for (int i = 0; i < width; ++i)
                rows->push_back(rs->Fields(i).Value().toLongLong());
    }
    rows->shrink_to_fit();
    if (!stamp.isEmpty()) {
        kept.insert(kept.begin(), {sql, stamp, rows});
        if (kept.size() > kListsKept)
            kept.pop_back();
    }
    return rows;
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
    const qsizetype from = select.indexOf(QLatin1String(" from "));
    m_columns = select.left(from);
    m_from = select.mid(from);
    const QString w = where.trimmed();
    if (w.startsWith(QLatin1String("where "), Qt::CaseInsensitive))
        m_where = w.mid(6);
    QStringList aliased;
    for (int i = 0; i < m_keys.size(); ++i)
        aliased << m_keys.at(i) + QStringLiteral(" as ") + keyAlias(i);
    // An order over several tables sorts the whole join; by the outer key
    // alone the engine walks that key and stops sorting. It joins each
    // outer row's partners through their code index, whose entries of one
    // code follow the row key: the order of the rest, as a read straight
    // through gives it.
    // A sorted list takes the outer key after its own order: an index on
    // the sorted columns holds the rows of one value in that order.
    const QString sorted = order.isEmpty() ? m_keys.first() : order + QStringLiteral(", ") + m_keys.first();
    const QString sql = QStringLiteral("select ") + aliased.join(QStringLiteral(", ")) + m_from +
                        (m_where.isEmpty() ? QString() : QStringLiteral(" where (") + m_where + QLatin1Char(')')) +
                        QStringLiteral(" order by ") + sorted;
    m_rows = keysOf(db, sql, int(m_keys.size()), tables);
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
        conds << m_keys.at(int(k)) + QStringLiteral(" in (") + in.join(QLatin1Char(',')) + QLatin1Char(')');
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

} // namespace catalogue
