#pragma once
// Whole-database copies that respect the other workstations on a shared
// file: they go through the engine's own locks instead of the file system.
#include <QString>

namespace platform {

// Replaces the content of the database file target with that of source,
// page by page through SQLite's online backup. Target must exist. Every
// connection on target (this program's own and other workstations') sees
// the old database or the new one, never a mix; while another connection
// holds a lock on either file the copy waits as a statement would
// (DbConnection::busyTimeout), then raises DbError with the engine's busy
// code, having changed nothing.
void CopyDatabaseInto(const QString& source, const QString& target);

} // namespace platform
