#include "data/db.h"

#include "data/failure.h"
#include "data/sqltext.h"
#include "data/sqltranslate.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <atomic>
#include <dlfcn.h>
#include <sqlite3.h>

namespace platform {

namespace {
QString logText(const QString& message, const QString& detail, const QString& sql, const QString& code)
{
    QString out = message;
    if (!detail.isEmpty())
        out += QStringLiteral(" (") + detail + QLatin1Char(')');
    if (!code.isEmpty())
        out += QStringLiteral(" [") + code + QLatin1Char(']');
    if (!sql.isEmpty())
        out += QStringLiteral("\nSQL: ") + sql;
    return out;
}

// A server's error numbers and the ODBC states, as the driver hands them on
// (several joined by ';' or blanks), that say the connection is gone: the
// server not reached, gone away, lost during a statement, a broken write or
// read, a connection not open.
bool lostCode(const QString& code)
{
    static const QStringList lost = {QStringLiteral("2002"), QStringLiteral("2003"),  QStringLiteral("2006"),
                                     QStringLiteral("2013"), QStringLiteral("2055"),  QStringLiteral("5013"),
                                     QStringLiteral("5014"), QStringLiteral("08S01"), QStringLiteral("08003"),
                                     QStringLiteral("08001")};
    const QStringList parts = code.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        if (lost.contains(part, Qt::CaseInsensitive))
            return true;
    return false;
}

// A statement that failed this way never reached the server (the driver
// could not write it, or no longer had a connection to write it on), or
// only reads: run again on a new connection, it cannot be done twice.
bool safeToRepeat(const QString& code, const QString& sql)
{
    const QStringList parts = code.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    if (parts.contains(QStringLiteral("5014")) || parts.contains(QStringLiteral("08003")))
        return true;
    return sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive);
}

std::atomic<quint64> g_openSerial{0};
} // namespace

DbError::DbError(const QString& message, const QString& sql, const QString& nativeCode, const QString& detail)
    : std::runtime_error(logText(message, detail, sql, nativeCode).toStdString()), m_message(message), m_sql(sql),
      m_nativeCode(nativeCode), m_detail(detail)
{
}

DbError DbError::fromEngine(const QString& engineText, const QString& sql, const QString& nativeCode, bool onServer)
{
    DbError e(engineText, sql, nativeCode);
    e.m_byEngine = true;
    e.m_onServer = onServer;
    e.m_connectionLost = onServer && lostCode(nativeCode);
    return e;
}

DbError DbError::lostConnection(const QString& driverText, const QString& sql, const QString& nativeCode)
{
    DbError e = fromEngine(driverText, sql, nativeCode, true);
    e.m_connectionLost = true;
    return e;
}

DbError DbError::missingFile(const QString& path, const QString& sql)
{
    DbError e(QStringLiteral("Berkas database tidak ditemukan: %1").arg(path), sql);
    e.m_missingPath = path;
    return e;
}

QString DbError::text() const
{
    return logText(m_message, m_detail, m_sql, m_nativeCode);
}

QString DbField::toString() const
{
    if (isNull())
        return QString();
    if (m_value.typeId() == QMetaType::Double)
        return Num(m_value.toDouble());
    return m_value.toString();
}

double DbField::toDouble() const
{
    return StoredNumber(m_value);
}

qlonglong DbField::toLongLong() const
{
    return static_cast<qlonglong>(RoundAmount(toDouble()));
}

bool DbField::toBool() const
{
    if (isNull())
        return false;
    const QString s = m_value.toString().trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return toDouble() != 0;
}

namespace {
int g_busyTimeoutMs = 5000;
} // namespace

int DbConnection::busyTimeout()
{
    return g_busyTimeoutMs;
}

void DbConnection::setBusyTimeout(int ms)
{
    g_busyTimeoutMs = ms;
}

DbConnection::DbConnection() : m_name(QStringLiteral("orv-") + QUuid::createUuid().toString(QUuid::Id128)) {}

DbConnection::~DbConnection()
{
    Close();
}

void DbConnection::Close()
{
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    m_path.clear();
    m_odbc = false;
    m_txDepth = 0;
    m_txFailed = false;
    m_summaries = false;
    m_rowKeys = false;
    m_nameStamp = false;
    m_waitingNoLonger = false;
    m_lost = false;
}

bool DbConnection::isOpen() const
{
    // A server entry whose connection is lost stays open: its next statement
    // connects again.
    return QSqlDatabase::contains(m_name) && (m_lost || QSqlDatabase::database(m_name, false).isOpen());
}

namespace {
// A trial connection that was refused goes without a trace.
void dropTrial(QSqlDatabase& db, const QString& trial)
{
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(trial);
}
} // namespace

void DbConnection::adoptTrial(const QString& trial, const QString& refusal, const QString& path, bool odbc,
                              bool readOnly)
{
    Close();
    {
        QSqlDatabase db = QSqlDatabase::database(trial, false);
        QSqlDatabase::cloneDatabase(db, m_name);
    }
    QSqlDatabase::removeDatabase(trial);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.open())
        throw DbError(refusal, QString(), db.lastError().nativeErrorCode(), db.lastError().text());
    m_path = path;
    m_odbc = odbc;
    m_readOnly = readOnly;
    m_openSerial = ++g_openSerial;
    m_nameStamp = false;
}

void DbConnection::Open(const QString& path, bool readOnly)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError::missingFile(path);
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("Berkas database tidak dapat dibuka: %1").arg(path));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw DbError(QStringLiteral("Berkas ini bukan database: %1").arg(path));
    }
    // A trial connection first, so that a refused file leaves the database
    // that was open before untouched.
    const QString trial = m_name + QStringLiteral("-next");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), trial);
        QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
        url.setQuery(readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout()) +
                             (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
        QString failure, code;
        if (!db.open()) {
            failure = db.lastError().text();
            code = db.lastError().nativeErrorCode();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("select count(*) from sqlite_master"))) {
                failure = q.lastError().text();
                code = q.lastError().nativeErrorCode();
            }
        }
        if (!failure.isEmpty()) {
            dropTrial(db, trial);
            throw DbError(QStringLiteral("Berkas ini bukan database yang dapat dibuka: %1").arg(path), QString(), code,
                          failure);
        }
    }
    adoptTrial(trial, QStringLiteral("Database tidak dapat dibuka: %1").arg(path), info.absoluteFilePath(), false,
               readOnly);
    if (auto* h = static_cast<sqlite3*>(sqliteHandle())) {
        AddJoinFunction(h);
        // A whole catalogue's list or a sale's refill of the names reads the
        // same pages again and again: with SQLite's 2 MB a hundred thousand
        // contacts come back from the system each time. The cache grows only
        // as pages are read.
        sqlite3_exec(h, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    }
}

void DbConnection::OpenOdbc(const QString& connectionText)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(QStringLiteral("Driver ODBC tidak terpasang"));
    const QString trial = m_name + QStringLiteral("-next");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), trial);
        db.setDatabaseName(connectionText);
        if (!db.open()) {
            const QSqlError refused = db.lastError();
            dropTrial(db, trial);
            throw DbError(QStringLiteral("Koneksi ODBC gagal"), QString(), refused.nativeErrorCode(), refused.text());
        }
        // The program names its tables in more than one spelling; a server
        // that tells them apart by case would see missing tables.
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select @@lower_case_table_names")) && q.next() && q.value(0).toInt() == 0) {
            q = QSqlQuery();
            dropTrial(db, trial);
            throw DbError(QStringLiteral("Server database membedakan huruf besar/kecil pada nama tabel; "
                                         "setel lower_case_table_names=1 pada server"));
        }
        q = QSqlQuery();
        db.close();
    }
    adoptTrial(trial, QStringLiteral("Koneksi ODBC gagal"), connectionText, true, false);
    try {
        setUpSession();
    } catch (...) {
        Close();
        throw;
    }
}

void DbConnection::setUpSession()
{
    // The session reads the program's SQL as the shared file does: '||'
    // joins text, a backslash is an ordinary character inside a literal,
    // and a grouped query may name columns it does not group by. The
    // character set is the driver's to choose (its Unicode calls carry any
    // text; the MariaDB driver refuses SET NAMES).
    Execute(QStringLiteral("SET SESSION sql_mode='PIPES_AS_CONCAT,NO_BACKSLASH_ESCAPES,NO_ENGINE_SUBSTITUTION'"));
}

void DbConnection::followServer(const QString& sql)
{
    if (!m_odbc || !m_lost || m_txDepth > 0)
        return;
    // A read for display only never connects: a server far away and down
    // could hold the window for the whole connect timeout every second.
    if (m_peeking)
        throw DbError::lostConnection(m_lostText, sql, m_lostCode);
    reconnect(sql);
}

void DbConnection::reconnect(const QString& sql)
{
    if (m_reconnectTried)
        throw DbError::lostConnection(m_lostText, sql, m_lostCode);
    if (QCoreApplication::instance()) {
        m_reconnectTried = true;
        if (!m_eventGuard)
            m_eventGuard = std::make_unique<QObject>();
        QTimer::singleShot(0, m_eventGuard.get(), [this] { m_reconnectTried = false; });
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    db.close();
    if (!db.open()) {
        const QSqlError refused = db.lastError();
        m_lostText = refused.text();
        m_lostCode = refused.nativeErrorCode();
        throw DbError::lostConnection(m_lostText, sql, m_lostCode);
    }
    m_lost = false;
    m_openSerial = ++g_openSerial;
    Log(QStringLiteral("Koneksi ke server database tersambung lagi"));
    setUpSession();
}

QString DbConnection::driverWords(QString* code) const
{
    // The driver manager is already loaded with Qt's ODBC driver; it is
    // asked for the diagnostics of the connection handle (SQLGetDiagRec,
    // SQL_HANDLE_DBC), which Qt only passes to its own warnings.
    using GetDiagRec = short (*)(short, void*, short, unsigned char*, int*, unsigned char*, short, short*);
    static const GetDiagRec getDiagRec = []() -> GetDiagRec {
        void* lib = dlopen("libodbc.so.2", RTLD_LAZY | RTLD_NOLOAD);
        return lib ? reinterpret_cast<GetDiagRec>(dlsym(lib, "SQLGetDiagRec")) : nullptr;
    }();
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!getDiagRec || !db.driver())
        return QString();
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "void*") != 0)
        return QString();
    void* dbc = *static_cast<void* const*>(handle.data());
    QStringList words, codes;
    for (short record = 1; dbc && record <= 4; ++record) {
        unsigned char state[6] = {};
        int native = 0;
        unsigned char text[512] = {};
        short length = 0;
        const short rc = getDiagRec(2 /* SQL_HANDLE_DBC */, dbc, record, state, &native, text, sizeof text, &length);
        if (rc != 0 && rc != 1) // SQL_SUCCESS, SQL_SUCCESS_WITH_INFO
            break;
        words << QString::fromUtf8(reinterpret_cast<const char*>(text), qBound<int>(0, length, sizeof text - 1));
        if (native != 0)
            codes << QString::number(native);
        codes << QString::fromLatin1(reinterpret_cast<const char*>(state));
    }
    if (code)
        *code = codes.join(QLatin1Char(';'));
    return words.join(QStringLiteral("; "));
}

void DbConnection::ensureOpen(const QString& sql) const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Belum ada database yang terbuka"), sql);
}

void* DbConnection::sqliteHandle() const
{
    if (m_odbc || !QSqlDatabase::contains(m_name))
        return nullptr;
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

bool DbConnection::engineInTransaction() const
{
    if (auto* h = static_cast<sqlite3*>(sqliteHandle()))
        return sqlite3_get_autocommit(h) == 0;
    // An ODBC source does not say; its own error ends the transaction.
    return m_txDepth > 0 && !m_txFailed;
}

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

void DbConnection::keepNameStamp(QSet<QString> tables, std::function<bool(DbConnection&)> whole)
{
    m_stampTables = std::move(tables);
    m_stampWhole = std::move(whole);
    m_nameStamp = !m_stampTables.isEmpty();
    m_nameStampSchema = m_nameStamp ? schemaVersion() : -1;
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

QByteArray DbConnection::tableStamp(const QString& table)
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (m_nameStamp && m_stampTables.contains(table.toLower())) {
        // The count the triggers keep, whoever wrote; a schema changed since
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
            // The database itself says which it is and how far its names
            // have come: a new login to it keeps what was read before.
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

int DbConnection::control(const char* statement, QString* error, QString* code)
{
    if (auto* h = static_cast<sqlite3*>(sqliteHandle())) {
        const int rc = sqlite3_exec(h, statement, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            if (error)
                *error = QString::fromUtf8(sqlite3_errmsg(h));
            if (code)
                *code = QString::number(sqlite3_extended_errcode(h));
        }
        return rc;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (q.exec(QString::fromLatin1(statement)))
        return 0;
    QString text = q.lastError().text(), native = q.lastError().nativeErrorCode();
    if (m_odbc && text.trimmed().isEmpty() && native.isEmpty())
        text = driverWords(&native);
    if (m_odbc && lostCode(native)) {
        m_lost = true;
        m_lostText = text;
        m_lostCode = native;
    }
    if (error)
        *error = text;
    if (code)
        *code = native;
    return 1;
}

void DbConnection::followFile(const QString& sql)
{
    if (m_txDepth > 0)
        return;
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return;
    // The engine's own test: the file it holds open is no longer the one at
    // its path. Writing on would go into a deleted file, and the engine
    // refuses that for as long as this connection lives.
    int moved = 0;
    if (sqlite3_file_control(h, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || !moved)
        return;
    const QString path = m_path;
    if (!QFileInfo(path).isFile())
        throw DbError::missingFile(path, sql);
    Open(path, m_readOnly);
}

DbError DbConnection::engineError(const QString& text, const QString& sql, const QString& code) const
{
    if (!m_odbc && !m_path.isEmpty() && !QFileInfo(m_path).isFile())
        return DbError::missingFile(m_path, sql);
    return DbError::fromEngine(text, sql, code, m_odbc);
}

void DbConnection::beforeStatement(const QString& sql)
{
    ensureOpen(sql);
    if (m_txDepth > 0 && !m_txFailed && !engineInTransaction())
        m_txFailed = true; // the engine ended it: what came before may be lost
    if (m_txFailed)
        throw DbError(QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan"), sql);
    ++m_statements;
    countWrite(sql);
}

void DbConnection::run(QSqlQuery& q, const QString& sql)
{
    followServer(sql);
    beforeStatement(sql);
    const QString text = translate(sql, m_odbc);
    if (q.exec(text))
        return;
    DbError e = failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
    // A server restarted since the last statement: found by this one, outside
    // a transaction, the connection is made again and the statement runs on
    // it when running it again cannot do it twice. Inside a transaction
    // the whole of it is lost instead.
    if (!e.connectionLost() || m_txDepth > 0 || m_peeking || m_reconnectTried || !safeToRepeat(e.nativeCode(), sql))
        throw e;
    Log(QStringLiteral("Koneksi ke server database terputus: ") + e.text());
    reconnect(sql);
    if (!q.exec(text))
        throw failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
}

namespace {
bool busyCode(const QString& code)
{
    const int primary = code.toInt() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}
} // namespace

DbError DbConnection::failure(const QString& message, const QString& sql, const QString& code)
{
    if (m_txDepth > 0)
        m_txFailed = true;
    if (!m_odbc && !m_peeking && busyCode(code))
        waitNoLonger();
    // Qt's ODBC driver says nothing of a statement it could not even start
    // (no connection to start it on); the driver said it on the connection.
    QString text = message, native = code;
    if (m_odbc && text.trimmed().isEmpty() && native.isEmpty())
        text = driverWords(&native);
    DbError e = engineError(text, sql, native);
    if (e.connectionLost()) {
        m_lost = true;
        m_lostText = text;
        m_lostCode = native;
    }
    return e;
}

// Another workstation holds the file: whatever else this event reads would
// wait the whole timeout again for the same lock, and the window would
// answer once in many seconds. Until the event loop turns, statements fail
// at once; the one message of the event says why.
void DbConnection::waitNoLonger()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h || m_waitingNoLonger || !QCoreApplication::instance())
        return;
    sqlite3_busy_timeout(h, 0);
    m_waitingNoLonger = true;
    if (!m_eventGuard)
        m_eventGuard = std::make_unique<QObject>();
    QTimer::singleShot(0, m_eventGuard.get(), [this] {
        m_waitingNoLonger = false;
        if (auto* handle = static_cast<sqlite3*>(sqliteHandle()))
            sqlite3_busy_timeout(handle, busyTimeout());
    });
}

std::optional<QVector<QVariant>> DbConnection::PeekRow(const QString& sql)
{
    // A file put back is opened again first: the handle below stays the one
    // the query runs on.
    followFile(sql);
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (h)
        sqlite3_busy_timeout(h, 0);
    m_peeking = true;
    auto restore = [&] {
        m_peeking = false;
        if (h && !m_waitingNoLonger)
            sqlite3_busy_timeout(h, busyTimeout());
    };
    std::unique_ptr<DbRecordset> rs;
    try {
        rs = OpenRecordset(sql);
    } catch (const DbError& e) {
        restore();
        // A lost server connection is made again by the next action, not
        // by a display: the figure shown stays until then.
        if (busyCode(e.nativeCode()) || e.connectionLost())
            return std::nullopt;
        throw;
    }
    restore();
    QVector<QVariant> row(rs->columnCount());
    if (!rs->Eof())
        for (int i = 0; i < row.size(); ++i)
            row[i] = rs->Fields(i).Value();
    return row;
}

void DbConnection::Execute(const QString& sql)
{
    followFile(sql);
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    run(q, sql);
}

QVariant DbConnection::GetValue(const QString& sql)
{
    followFile(sql);
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    run(q, sql);
    if (!q.next()) {
        if (q.lastError().isValid())
            throw failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
        return QVariant();
    }
    return q.value(0);
}

void DbConnection::Begin()
{
    const QString begin = m_odbc ? QStringLiteral("START TRANSACTION") : QStringLiteral("BEGIN IMMEDIATE");
    ensureOpen(begin);
    followFile(begin);
    if (m_txDepth > 0) {
        if (m_txFailed || !engineInTransaction()) {
            m_txFailed = true;
            throw DbError(QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan"), begin);
        }
        ++m_txDepth;
        return;
    }
    if (m_odbc) {
        // Writers on the server take turns, as they do on a shared file:
        // one named lock for the whole database, held to the end.
        const QVariant got = GetValue(
            QStringLiteral("select get_lock(concat('orv-write-', database()), %1)").arg(qMax(1, busyTimeout() / 1000)));
        if (got.toInt() != 1)
            throw DbError(QStringLiteral("Kunci tulis database tidak didapat dalam waktu tunggu"), begin,
                          QStringLiteral("5"));
    }
    QString error, code;
    if (control(m_odbc ? "START TRANSACTION" : "BEGIN IMMEDIATE", &error, &code) != 0) {
        releaseWriteLock();
        throw failure(error, begin, code);
    }
    m_txDepth = 1;
    m_txFailed = false;
}

void DbConnection::Commit()
{
    if (m_txDepth == 0)
        throw DbError(QStringLiteral("Tidak ada transaksi yang terbuka"), QStringLiteral("COMMIT"));
    if (m_txFailed || !engineInTransaction()) {
        m_txFailed = true;
        // The outermost level ends here; an inner one stays for its Rollback.
        if (m_txDepth == 1)
            Rollback();
        throw DbError(QStringLiteral("Transaksi dibatalkan: tidak ada yang disimpan"), QStringLiteral("COMMIT"));
    }
    if (m_txDepth > 1) {
        --m_txDepth;
        return;
    }
    // A reader elsewhere may hold the file a moment longer than the busy
    // timeout; after a few tries the writes are given up as a whole.
    QString error, code;
    int rc = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        rc = control("COMMIT", &error, &code);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
    }
    if (rc == 0) {
        m_txDepth = 0;
        m_txFailed = false;
        if (!engineInTransaction()) {
            releaseWriteLock();
            return;
        }
        error = QStringLiteral("COMMIT tidak menutup transaksi");
        m_txDepth = 1;
    }
    const bool lost = m_lost;
    Rollback();
    if (lost)
        throw DbError::lostConnection(error, QStringLiteral("COMMIT"), code);
    throw DbError(QStringLiteral("Transaksi dibatalkan, tidak ada yang disimpan"), QStringLiteral("COMMIT"), code,
                  error);
}

void DbConnection::Rollback()
{
    if (m_txDepth == 0)
        return;
    // Whatever level gives up, the engine's transaction goes now: nothing of
    // it may be committed in pieces, and other workstations wait no longer.
    if (isOpen() && (m_odbc || engineInTransaction()))
        control("ROLLBACK", nullptr);
    // What was written is gone again, whichever tables it was in.
    ++m_writesAnywhere;
    if (--m_txDepth > 0) {
        m_txFailed = true;
    } else {
        m_txFailed = false;
        releaseWriteLock();
    }
}

void DbConnection::releaseWriteLock()
{
    if (!m_odbc || !isOpen())
        return;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.exec(QStringLiteral("do release_lock(concat('orv-write-', database()))"));
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

DbTransaction::~DbTransaction()
{
    if (!m_done)
        m_db.Rollback();
}

void DbTransaction::commit()
{
    m_db.Commit();
    m_done = true;
}

qint64 NewId(DbConnection& db, const QString& table, const QString& idColumn)
{
    const QString col = QLatin1Char('`') + idColumn + QLatin1Char('`');
    QString from = QStringLiteral(" from `") + table + QLatin1Char('`');
    // On a server the rows read are locked to the commit as well.
    if (db.isOdbc() && db.inTransaction())
        from += QStringLiteral(" for update");
    // max() of an indexed column reads one index entry, and is NULL (0 here)
    // on an empty table; count() would read the whole table on every save.
    return static_cast<qint64>(
               StoredNumber(db.GetValue(QStringLiteral("select max(") + col + QLatin1Char(')') + from))) +
           1;
}

} // namespace platform
