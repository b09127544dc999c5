#pragma once
// The copy a backup takes of an open database file.
#include <QString>

namespace platform {
class DbConnection;
}

namespace manage {

// Writes a consistent copy of the database open on the connection into a
// new file: SQLite's own snapshot never sees half of another workstation's
// transaction, as a byte copy could.
void CopyInto(platform::DbConnection& source, const QString& file);

} // namespace manage
