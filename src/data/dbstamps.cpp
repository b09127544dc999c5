// What may have changed since an earlier look: the stamp of the database
// and of one table, the writes of this connection by table, the number the
// name stamp's triggers draw, the schema's version.
#include "data/db.h"

#include <sqlite3.h>

namespace platform {

namespace {

// SQLite's two counters of what other connections committed and of schema
// changes; false when they cannot be read.
bool readVersions(sqlite3* h, qint64& data, qint64& schema)
{
    qint64* into[] = {&data, &schema};
    int i = 0;
    for (const char* pragma : {"PRAGMA data_version", "PRAGMA schema_version"}) {
        sqlite3_stmt* st = nullptr;
        const bool read =
            sqlite3_prepare_v2(h, pragma, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW;
        if (read)
            *into[i++] = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        if (!read)
            return false;
    }
    return true;
}

// The next word of a statement (letters, digits, "_"), lower case.
QString nextWord(const QString& sql, int& at)
{
    while (at < sql.size() && sql.at(at).isSpace())
        ++at;
    const int from = at;
    while (at < sql.size() && (sql.at(at).isLetterOrNumber() || sql.at(at) == QLatin1Char('_')))
        ++at;
    return sql.mid(from, at - from).toLower();
}

// The table name at `at`, quoted or bare, without a schema before it.
QString tableAt(const QString& sql, int at)
{
    QString name;
    while (true) {
        while (at < sql.size() && sql.at(at).isSpace())
            ++at;
        if (at >= sql.size())
            break;
        const QChar open = sql.at(at);
        const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
        if (open == QLatin1Char('`') || open == QLatin1Char('"') || open == QLatin1Char('[')) {
            const int end = sql.indexOf(close, at + 1);
            if (end < 0)
                return QString();
            name = sql.mid(at + 1, end - at - 1);
            at = end + 1;
        } else {
            const int from = at;
            while (at < sql.size() && !sql.at(at).isSpace() && sql.at(at) != QLatin1Char('(') &&
                   sql.at(at) != QLatin1Char('.') && sql.at(at) != QLatin1Char(';') && sql.at(at) != QLatin1Char(','))
                ++at;
            name = sql.mid(from, at - from);
        }
        if (at < sql.size() && sql.at(at) == QLatin1Char('.')) {
            ++at; // a schema's name came first
            continue;
        }
        break;
    }
    return name.toLower();
}

// The table a statement writes: "" for one that writes none (a read, the
// bounds of a transaction), "*" where it cannot be told (a schema change,
// anything unknown).
QString writtenTable(const QString& sql)
{
    int at = 0;
    const QString first = nextWord(sql, at);
    static const QStringList reads = {"select", "begin", "commit", "end",  "rollback", "savepoint", "release",
                                      "start",  "do",    "set",    "show", "explain",  "pragma",    "analyze"};
    if (reads.contains(first))
        return QString();
    QString until;
    if (first == QLatin1String("insert") || first == QLatin1String("replace"))
        until = QStringLiteral("into");
    else if (first == QLatin1String("delete"))
        until = QStringLiteral("from");
    else if (first != QLatin1String("update"))
        return QStringLiteral("*");
    // "or replace", "ignore", "low_priority" and the like stand before the
    // table; an update names it at once after them.
    static const QStringList modifiers = {"or",     "rollback",     "abort", "replace", "fail",
                                          "ignore", "low_priority", "quick", "delayed", "high_priority"};
    while (true) {
        const int before = at;
        const QString word = nextWord(sql, at);
        if (!until.isEmpty() && word == until)
            return tableAt(sql, at);
        if (word.isEmpty() || !modifiers.contains(word)) {
            if (until.isEmpty())
                return tableAt(sql, before);
            return QStringLiteral("*");
        }
    }
}

} // namespace

QByteArray DbConnection::changeStamp()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return QByteArray();
    qint64 data = 0, schema = 0;
    if (!readVersions(h, data, schema))
        return QByteArray();
    return QByteArray::number(m_openSerial) + ':' + QByteArray::number(sqlite3_total_changes64(h)) + ':' +
           QByteArray::number(data) + ':' + QByteArray::number(schema);
}

void DbConnection::countWrite(const QString& sql)
{
    const QString table = writtenTable(sql);
    if (table == QLatin1String("*"))
        ++m_writesAnywhere;
    else if (!table.isEmpty())
        ++m_writes[table];
}

void DbConnection::keepNameStamp(QSet<QString> tables, std::function<bool(DbConnection&)> whole)
{
    m_stampTables = std::move(tables);
    m_stampWhole = std::move(whole);
    m_nameStamp = !m_stampTables.isEmpty();
    m_nameStampSchema = m_nameStamp ? schemaVersion() : -1;
}

QByteArray DbConnection::tableStamp(const QString& table)
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (m_nameStamp && m_stampTables.contains(table.toLower())) {
        // The number the triggers drew, whoever wrote; a schema changed since
        // (triggers dropped, a file restored into this one) is checked first.
        if (h) {
            const qint64 schema = schemaVersion();
            if (schema < 0)
                return QByteArray();
            if (schema != m_nameStampSchema) {
                try {
                    m_nameStamp = m_stampWhole && m_stampWhole(*this);
                } catch (const DbError&) {
                    return QByteArray();
                }
                m_nameStampSchema = schema;
            }
        }
        if (m_nameStamp) {
            QVariant changes;
            QByteArray origin;
            if (h) {
                // Read past the statement count: asking costs no statement.
                sqlite3_stmt* st = nullptr;
                if (sqlite3_prepare_v2(h, "select changes, origin from namestamp", -1, &st, nullptr) == SQLITE_OK &&
                    sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL) {
                    changes = qint64(sqlite3_column_int64(st, 0));
                    origin = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
                }
                sqlite3_finalize(st);
            } else {
                try {
                    if (const auto row = PeekRow(QStringLiteral("select changes, origin from namestamp"));
                        row && row->size() == 2) {
                        changes = row->at(0);
                        origin = row->at(1).toString().toUtf8();
                    }
                } catch (const DbError&) {
                }
            }
            if (changes.isNull() || origin.isEmpty())
                return QByteArray();
            // The database itself says which it is and what its names
            // last drew: a new login to it keeps what was read before, and
            // a copy of it changed since draws other numbers.
            return "n:" + origin + ':' + QByteArray::number(m_nameStampSchema) + ':' +
                   QByteArray::number(changes.toLongLong());
        }
    }
    qint64 data = 0, schema = 0;
    if (!h || !readVersions(h, data, schema))
        return QByteArray();
    return QByteArray::number(m_openSerial) + ':' + QByteArray::number(data) + ':' + QByteArray::number(schema) + ':' +
           QByteArray::number(m_writesAnywhere) + ':' + QByteArray::number(m_writes.value(table.toLower()));
}

qint64 DbConnection::schemaVersion()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return -1;
    // Asked for display's sake: never waits on another workstation's lock.
    sqlite3_busy_timeout(h, 0);
    sqlite3_stmt* st = nullptr;
    qint64 version = -2;
    if (sqlite3_prepare_v2(h, "PRAGMA schema_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    if (!m_waitingNoLonger)
        sqlite3_busy_timeout(h, busyTimeout());
    return version;
}

} // namespace platform
