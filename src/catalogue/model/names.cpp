#include "catalogue/model/names.h"

#include "data/sqltext.h"

#include <QHash>
#include <QPair>

namespace catalogue {

namespace {

struct Kept {
    QByteArray stamp;
    QStringList rows;
};

// By query text; a handful of queries, one per table and kind of name.
QHash<QString, Kept>& kept()
{
    static QHash<QString, Kept> lists;
    return lists;
}

} // namespace

QByteArray TablesStamp(platform::DbConnection& db, const QStringList& tables)
{
    QByteArray stamp;
    for (const QString& t : tables) {
        const QByteArray s = db.tableStamp(t);
        if (s.isEmpty())
            return QByteArray();
        stamp += s + '|';
    }
    return stamp;
}

QStringList KeptNames(platform::DbConnection& db, const QString& sql, const QStringList& tables)
{
    // Stamped before the read: a change that lands while it reads leaves
    // the next stamp different, so it is read again then.
    const QByteArray stamp = TablesStamp(db, tables);
    if (!stamp.isEmpty()) {
        const auto it = kept().constFind(sql);
        if (it != kept().cend() && it->stamp == stamp)
            return it->rows;
    }
    const QStringList rows = db.ReadTexts(sql);
    if (stamp.isEmpty())
        kept().remove(sql);
    else
        kept().insert(sql, Kept{stamp, rows});
    return rows;
}

} // namespace catalogue
