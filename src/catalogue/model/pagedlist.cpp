#include "catalogue/model/pagedlist.h"

#include "catalogue/model/names.h"
#include "platform/sqltext.h"

namespace catalogue {

namespace {

QString keyAlias(int i)
{
    return QStringLiteral("orv_key%1").arg(i);
}

// Rows after a key in the order of the keys: the first key bounds the scan,
// the rest settle rows of the same outer row.
QString afterKey(const QStringList& keys, const std::vector<qint64>& at)
{
    QString tail;
    for (int i = int(keys.size()) - 1; i >= 0; --i) {
        const QString k = keys.at(i), v = QString::number(at[size_t(i)]);
        tail = tail.isEmpty() ? QStringLiteral("%1 > %2").arg(k, v)
                              : QStringLiteral("%1 > %2 or (%1 = %2 and (%3))").arg(k, v, tail);
    }
    return QStringLiteral("%1 >= %2 and (%3)").arg(keys.first(), QString::number(at.front()), tail);
}

} // namespace

bool CanPage(platform::DbConnection& db)
{
    return !db.rowKey().isEmpty();
}

PagedList::PagedList(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
                     MakeRow make, const QStringList& tables)
    : m_db(db), m_keys(keys), m_make(std::move(make))
{
    const qsizetype from = select.indexOf(QLatin1String(" from "));
    m_columns = select.left(from);
    m_from = select.mid(from);
    const QString w = where.trimmed();
    if (w.startsWith(QLatin1String("where "), Qt::CaseInsensitive))
        m_where = w.mid(6);
    const QString cond = m_where.isEmpty() ? QString() : QStringLiteral(" where (") + m_where + QLatin1Char(')');
    // Counting a join of every item is a pass over all of them: done once
    // while its tables stay as they were.
    m_count = qsizetype(KeptCount(db, QStringLiteral("select count(*)") + m_from + cond, tables));
}

void PagedList::read(qsizetype first, qsizetype n, QStringList& out)
{
    QStringList conds;
    if (!m_where.isEmpty())
        conds << QLatin1Char('(') + m_where + QLatin1Char(')');
    // Straight after a page read before: by its last key. Anywhere else
    // (a jump to the end, the scroll bar dragged), by position.
    qsizetype skip = first;
    if (const auto before = m_after.find(first - 1); before != m_after.end()) {
        conds << afterKey(m_keys, before->second);
        skip = 0;
    }
    QString sql = m_columns;
    for (int i = 0; i < m_keys.size(); ++i)
        sql += QStringLiteral(", ") + m_keys.at(i) + QStringLiteral(" as ") + keyAlias(i);
    sql += m_from;
    if (!conds.isEmpty())
        sql += QStringLiteral(" where ") + conds.join(QStringLiteral(" and "));
    // A server sorts the whole join for an order over several tables; by
    // the outer key alone it walks that key's index and stops after the
    // page. It joins each outer row's partners through their code index,
    // whose entries of one code follow the row key: the order of the rest.
    const QStringList order = m_db.isOdbc() ? m_keys.mid(0, 1) : m_keys;
    sql += QStringLiteral(" order by ") + order.join(QStringLiteral(", ")) + QStringLiteral(" limit ") +
           QString::number(n);
    if (skip > 0)
        sql += QStringLiteral(" offset ") + QString::number(skip);
    qsizetype got = 0;
    std::vector<qint64> last(size_t(m_keys.size()));
    {
        auto rs = m_db.OpenCursor(sql);
        for (; !rs->Eof() && got < n; rs->MoveNext(), ++got) {
            out << m_make(*rs);
            for (int i = 0; i < m_keys.size(); ++i)
                last[size_t(i)] = rs->Fields(keyAlias(i)).Value().toLongLong();
        }
    }
    if (got > 0)
        m_after[first + got - 1] = last;
    // Rows deleted meanwhile elsewhere: the list keeps its length.
    for (; got < n; ++got)
        out << QString();
}

} // namespace catalogue
