#include "data/dbcopy.h"

#include "data/db.h"
#include "data/owntext.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace platform {

namespace {

// Closes the handle on every path out, also when opening it failed.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close(db); }
};

void open(Handle& h, const QString& path, int flags, int busyTimeoutMs)
{
    if (!QFileInfo(path).isFile())
        throw DbError::missingFile(path);
    const int rc = sqlite3_open_v2(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &h.db, flags, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(OwnText("cDbFileUnreadable", QStringLiteral("Berkas database tidak dapat dibuka: %1")).arg(path),
                      QString(), QString::number(rc),
                      QString::fromUtf8(h.db ? sqlite3_errmsg(h.db) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(h.db, busyTimeoutMs);
}

} // namespace

void CopyDatabaseInto(const QString& source, const QString& target)
{
    const int busyTimeoutMs = DbConnection::busyTimeout();
    Handle from, to;
    open(from, source, SQLITE_OPEN_READONLY, busyTimeoutMs);
    open(to, target, SQLITE_OPEN_READWRITE, busyTimeoutMs);
    sqlite3_backup* backup = sqlite3_backup_init(to.db, "main", from.db, "main");
    if (!backup)
        throw DbError::fromEngine(QString::fromUtf8(sqlite3_errmsg(to.db)), QString(),
                                  QString::number(sqlite3_extended_errcode(to.db)));
    // One step: the whole copy is one write transaction on the target.
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw DbError::fromEngine(QString::fromUtf8(sqlite3_errstr(rc)), QString(), QString::number(rc));
}

} // namespace platform
