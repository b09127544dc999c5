#pragma once
// What an engine's error code tells beyond the failure itself, for the
// parts of the database component that meet such codes.
#include <QString>

namespace platform {

// A server's or the ODBC driver's code that says the connection is gone.
bool lostCode(const QString& code);
// SQLite's own code for a file another connection holds (busy or locked).
bool busyCode(const QString& code);

} // namespace platform
