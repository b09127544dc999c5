// The write transaction: nested levels joining one, all of it or none of
// it, the server's write lock, and the new id taken inside it.
#include "data/db.h"

#include "data/enginecodes.h"
#include "data/owntext.h"
#include "data/sqltext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace platform {

bool DbConnection::engineInTransaction() const
{
    if (auto* h = static_cast<sqlite3*>(sqliteHandle()))
        return sqlite3_get_autocommit(h) == 0;
    // An ODBC source does not say; its own error ends the transaction.
    return m_txDepth > 0 && !m_txFailed;
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

void DbConnection::Begin()
{
    const QString begin = m_odbc ? QStringLiteral("START TRANSACTION") : QStringLiteral("BEGIN IMMEDIATE");
    ensureOpen(begin);
    followFile(begin);
    if (m_txDepth > 0) {
        if (m_txFailed || !engineInTransaction()) {
            m_txFailed = true;
            throw DbError(
                OwnText("cTxAborted", QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan")),
                begin);
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
            throw DbError(
                OwnText("cWriteLockTimeout", QStringLiteral("Kunci tulis database tidak didapat dalam waktu tunggu")),
                begin, QStringLiteral("5"));
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
        throw DbError(OwnText("cNoTransaction", QStringLiteral("Tidak ada transaksi yang terbuka")),
                      QStringLiteral("COMMIT"));
    if (m_txFailed || !engineInTransaction()) {
        m_txFailed = true;
        // The outermost level ends here; an inner one stays for its Rollback.
        if (m_txDepth == 1)
            Rollback();
        throw DbError(OwnText("cTxCancelled", QStringLiteral("Transaksi dibatalkan: tidak ada yang disimpan")),
                      QStringLiteral("COMMIT"));
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
    throw DbError(OwnText("cTxGivenUp", QStringLiteral("Transaksi dibatalkan, tidak ada yang disimpan")),
                  QStringLiteral("COMMIT"), code, error);
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
