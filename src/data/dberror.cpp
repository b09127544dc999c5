// A failed statement: the error raised and the words it carries for the
// log, what a server's driver says of a statement it could not start, and
// what a failure tells of the connection (gone) or the file (busy).
#include "data/db.h"

#include "data/enginecodes.h"
#include "data/failure.h"
#include "data/owntext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>
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
} // namespace

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

bool busyCode(const QString& code)
{
    const int primary = code.toInt() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

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
    DbError e(OwnText("cDbFileMissing", QStringLiteral("Berkas database tidak ditemukan: %1")).arg(path), sql);
    e.m_missingPath = path;
    return e;
}

QString DbError::text() const
{
    return logText(m_message, m_detail, m_sql, m_nativeCode);
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

DbError DbConnection::engineError(const QString& text, const QString& sql, const QString& code) const
{
    if (!m_odbc && !m_path.isEmpty() && !QFileInfo(m_path).isFile())
        return DbError::missingFile(m_path, sql);
    return DbError::fromEngine(text, sql, code, m_odbc);
}

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

} // namespace platform
