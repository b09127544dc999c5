#pragma once
// A list of a whole table (or of one category of it) read a page at a time
// as it comes into sight: the count first, then each page by key after the
// last row of the page before, every read a statement of its own. The rows
// and their order are those of the list query read straight through: the
// keys are the row ids of its tables in the order a scan returns them.
#include "platform/db.h"
#include "platform/rowsource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace catalogue {

class PagedList : public platform::RowSource {
public:
    // A row's text from the list query's record.
    using MakeRow = std::function<QString(const platform::DbRecordset&)>;
    // select: the list query without its condition ("select … from …");
    // where: "" or "where …"; keys: the row keys that order it (rowKey, or
    // the tables' row ids of a join, outer first); tables: those it reads,
    // whose stamps keep its count from one filling to the next.
    PagedList(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
              MakeRow make, const QStringList& tables = {});
    qsizetype count() const override { return m_count; }
    void read(qsizetype first, qsizetype n, QStringList& out) override;
    // Not told: the rule above the rows is wider than any of them.
    qsizetype width() const override { return -1; }

private:
    platform::DbConnection& m_db;
    QString m_columns; // "select …" up to its from
    QString m_from;    // " from …"
    QString m_where;   // the condition without its "where"
    QStringList m_keys;
    MakeRow m_make;
    qsizetype m_count = 0;
    // The key of the last row of each page read, by that row's position.
    std::map<qsizetype, std::vector<qint64>> m_after;
};

// Whether a list can be read by pages: a database file, or a server whose
// tables took the column that numbers their rows (see rowKey).
bool CanPage(platform::DbConnection& db);

} // namespace catalogue
