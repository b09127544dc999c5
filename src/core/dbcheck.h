#pragma once
// What a database failure means for the operator, and whether a database
// file has the tables and columns the program reads.
#include "platform/db.h"

#include <QString>
#include <QStringList>

// Another workstation holds the file (SQLite busy or locked).
bool IsBusy(const platform::DbError& e);
// The file (or its folder) may be read but not written.
bool IsReadOnly(const platform::DbError& e);
// Busy and read-only failures in words an operator acts on; any other
// failure as the database component tells it.
QString DbFailureText(const platform::DbError& e);
extern const QString kBusyText;
extern const QString kReadOnlyText;

// The tables "table" and columns "table.column" that a program database must
// hold and db lacks: those of the template database of the program folder,
// and in any case every column of `operator` and `config`. tables limits the
// check to those tables ("" for all).
QStringList SchemaGaps(platform::DbConnection& db, const QStringList& tables = QStringList());
