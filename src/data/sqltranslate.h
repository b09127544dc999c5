#pragma once
// The SQL text translator of the database component: the text the windows
// build, in the words the engine reads. DbConnection::translate rewrites the
// text; a SQLite connection gets here the joining function that '&' becomes.
struct sqlite3;

namespace platform {

// Adds orv_concat, the function that '&' becomes on the file engine, to a
// newly opened SQLite connection.
void AddJoinFunction(sqlite3* handle);

} // namespace platform
