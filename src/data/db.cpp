// The connection's life: a database file or a server opened (a trial
// connection first, so that a refused one leaves the open database as it
// was), closed, and taken up again when the file is put back or the server
// is back.
#include "data/db.h"

#include "data/failure.h"
#include "data/owntext.h"
#include "data/sqltranslate.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <atomic>
#include <sqlite3.h>

namespace platform {

namespace {
std::atomic<quint64> g_openSerial{0};
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
            throw DbError(
                OwnText("cDbFileUnreadable", QStringLiteral("Berkas database tidak dapat dibuka: %1")).arg(path));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw DbError(OwnText("cNotADatabase", QStringLiteral("Berkas ini bukan database: %1")).arg(path));
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
            throw DbError(
                OwnText("cDbNotOpenable", QStringLiteral("Berkas ini bukan database yang dapat dibuka: %1")).arg(path),
                QString(), code, failure);
        }
    }
    adoptTrial(trial, OwnText("cDbCannotOpen", QStringLiteral("Database tidak dapat dibuka: %1")).arg(path),
               info.absoluteFilePath(), false, readOnly);
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
        throw DbError(OwnText("cNoOdbcDriver", QStringLiteral("Driver ODBC tidak terpasang")));
    const QString trial = m_name + QStringLiteral("-next");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), trial);
        db.setDatabaseName(connectionText);
        if (!db.open()) {
            const QSqlError refused = db.lastError();
            dropTrial(db, trial);
            throw DbError(OwnText("cOdbcFailed", QStringLiteral("Koneksi ODBC gagal")), QString(),
                          refused.nativeErrorCode(), refused.text());
        }
        // The program names its tables in more than one spelling; a server
        // that tells them apart by case would see missing tables.
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select @@lower_case_table_names")) && q.next() && q.value(0).toInt() == 0) {
            q = QSqlQuery();
            dropTrial(db, trial);
            throw DbError(OwnText("cServerCaseSensitive",
                                  QStringLiteral("Server database membedakan huruf besar/kecil pada nama tabel; "
                                                 "setel lower_case_table_names=1 pada server")));
        }
        q = QSqlQuery();
        db.close();
    }
    adoptTrial(trial, OwnText("cOdbcFailed", QStringLiteral("Koneksi ODBC gagal")), connectionText, true, false);
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

void DbConnection::ensureOpen(const QString& sql) const
{
    if (!isOpen())
        throw DbError(OwnText("cNoDatabaseOpen", QStringLiteral("Belum ada database yang terbuka")), sql);
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

} // namespace platform
