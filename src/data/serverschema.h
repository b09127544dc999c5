#pragma once
// A database on a MySQL or MariaDB server gets the tables, config rows and
// first operator of a new local database from the same scripts that build
// the template file, read in that server's dialect.
#include <QString>
#include <QStringList>

namespace platform {

class DbConnection;

// The statements of a script (comments dropped, split at ';' outside quotes)
// in MySQL's dialect: REAL as DOUBLE, INTEGER as BIGINT, text without case
// as a case-insensitive VARCHAR, other text (the password form) compared
// exactly, char(...) as the literal it makes.
QStringList ServerStatements(const QString& script);

// The connection text of an ODBC marker: its text, blanks trimmed, or, for
// an empty marker, the data source named like the entry.
QString OdbcConnectionText(const QString& markerFile, const QString& entryName);

// Gives a database of the server that holds none of the program's tables
// the template's tables and rows; a database that holds some is left alone.
void PrepareServerDatabase(DbConnection& db);

} // namespace platform
