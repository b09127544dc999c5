// Running one statement: the checks before it, one more try on a server
// connected again where that cannot do it twice, and the read for display
// that never waits.
#include "data/db.h"

#include "data/enginecodes.h"
#include "data/failure.h"
#include "data/owntext.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace platform {

namespace {
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
} // namespace

void DbConnection::beforeStatement(const QString& sql)
{
    ensureOpen(sql);
    if (m_txDepth > 0 && !m_txFailed && !engineInTransaction())
        m_txFailed = true; // the engine ended it: what came before may be lost
    if (m_txFailed)
        throw DbError(
            OwnText("cTxAborted", QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan")), sql);
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

} // namespace platform
