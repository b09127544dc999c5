#pragma once
// The engines a test body runs on: database files, and a private MariaDB
// server that the test executable starts for itself on a socket in a
// temporary folder (no network, table names without case) and stops at the
// end. Each test gets a database of its own on that server.
#include <QString>
#include <functional>

enum class Engine { File, Server };

// The engine of the pass that is running.
Engine CurrentEngine();
inline bool OnServer()
{
    return CurrentEngine() == Engine::Server;
}

// Runs the tests once on files, then once more on the server. Without
// mariadbd (or the MariaDB ODBC driver) the server pass fails loudly, unless
// ORV_NO_SERVER=1 says this machine has none. ORV_ENGINES=file or server
// runs one pass only. Gives the failures of both.
int OnBothEngines(const std::function<int()>& run);
// Tests of database files only: left out of the server's pass.
int OnFiles(const std::function<int()>& run);

// A new empty database on the running server; gives its ODBC connection
// text. Only during the server pass.
QString NewServerDatabase();
// A new database holding the template's tables and rows.
QString NewServerTemplateDatabase();
// A new database holding the sample database's tables and rows.
QString NewServerSampleDatabase();
// An empty database on a second server that tells table names apart by
// case (started at the first call).
QString CaseSensitiveServerDatabase();

// The running server goes down (its clients' connections with it) and comes
// back with its databases, on the same socket. Only during the server pass.
void StopServer();
void StartServerAgain();
