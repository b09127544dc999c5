#pragma once
// The database's settings table (key, setting), read and written on a
// connection, for the code that has no window as for the windows.
#include <QString>

namespace platform {

class DbConnection;

// "" for a key that has no row.
QString ConfigValue(DbConnection& db, const QString& key);
// Returns whether a row was written: the value already stored writes
// nothing.
bool SetConfigValue(DbConnection& db, const QString& key, const QString& value);
// A setting read as a whole number (either decimal separator, rounded by
// RoundAmount); missing or not a number reads as 0.
int ConfigWholeNumber(DbConnection& db, const QString& key);

} // namespace platform
