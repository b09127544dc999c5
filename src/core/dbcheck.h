#pragma once
// What a database failure means for the operator, and whether a database
// file has the tables and columns the program reads.
#include "data/db.h"

#include <QString>
#include <QStringList>

// Another workstation holds the database (a file busy or locked, a lock on
// the server not granted in time).
bool IsBusy(const platform::DbError& e);
// The file (or its folder) may be read but not written.
bool IsReadOnly(const platform::DbError& e);
// What went wrong, in words an operator acts on: the database in use at
// another workstation, read-only, a full disk, the file gone (with its
// path), a damaged file, a lost server. Never the engine's text or the
// statement; the program's own words of a failure as they stand.
QString DbProblemText(const platform::DbError& e);
// The problem and what was therefore not done, for a failure that stopped
// an action.
QString DbFailureText(const platform::DbError& e);
// "Another workstation is using the database", for whatever could not be
// done because of it.
QString DbBusyText();
extern const QString kBusyText;
extern const QString kReadOnlyText;

// The tables "table" and columns "table.column" that a program database must
// hold and db lacks: those of the template database of the program folder,
// and in any case every column of `operator` and `config`. tables limits the
// check to those tables ("" for all).
QStringList SchemaGaps(platform::DbConnection& db, const QStringList& tables = QStringList());
