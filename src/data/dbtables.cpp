// What the database holds, as its engine's catalogue tells it: tables,
// their columns, triggers, and the column that orders a table's rows.
#include "data/db.h"

#include "data/sqltext.h"

#include <QSqlDatabase>
#include <QSqlRecord>

namespace platform {

int DbConnection::TriggerCount(const QStringList& names, const QStringList& tables)
{
    QStringList quoted;
    for (const QString& n : names)
        quoted << Quote(n);
    if (!m_odbc)
        return int(StoredNumber(
            GetValue(QStringLiteral("select count(*) from sqlite_master where type = 'trigger' and name in (%1)")
                         .arg(quoted.join(QStringLiteral(", "))))));
    // The server opens every table whose triggers it may have to tell
    // unless the schema and the tables are given as it stores their names
    // (lower case: a server that keeps case is refused at the connection).
    QStringList on;
    for (const QString& t : tables)
        on << Quote(t.toLower());
    return int(StoredNumber(GetValue(
        QStringLiteral("select count(*) from information_schema.triggers where event_object_schema = database() and "
                       "event_object_table in (%1) and trigger_schema = database() and trigger_name in (%2)")
            .arg(on.join(QStringLiteral(", ")), quoted.join(QStringLiteral(", "))))));
}

namespace {

const char* const kRowKey = "orv_row";

} // namespace

QString DbConnection::rowKey() const
{
    if (!m_odbc)
        return QStringLiteral("rowid");
    return m_rowKeys ? QString::fromLatin1(kRowKey) : QString();
}

bool DbConnection::hasTable(const QString& name)
{
    if (!isOpen())
        return false;
    const QStringList tables = tableNames();
    for (const QString& t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The ODBC catalogue calls list every database of the server; the program
// sees only the one it is connected to.
QStringList DbConnection::tableNames()
{
    ensureOpen(QString());
    if (!m_odbc)
        return QSqlDatabase::database(m_name, false).tables();
    QStringList out;
    auto rs =
        OpenRecordset(QStringLiteral("select table_name from information_schema.tables where table_schema=database()"));
    for (; !rs->Eof(); rs->MoveNext())
        out << rs->Fields(0).toString();
    return out;
}

QStringList DbConnection::columnNames(const QString& table)
{
    ensureOpen(QString());
    QStringList out;
    if (m_odbc) {
        auto rs = OpenRecordset(QStringLiteral("select column_name from information_schema.columns where "
                                               "table_schema=database() and table_name=") +
                                Quote(table) + QStringLiteral(" order by ordinal_position"));
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->Fields(0).toString();
        return out;
    }
    const QSqlRecord rec = QSqlDatabase::database(m_name, false).record(table);
    for (int i = 0; i < rec.count(); ++i)
        out << rec.fieldName(i);
    return out;
}

} // namespace platform
