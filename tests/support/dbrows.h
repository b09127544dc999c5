#pragma once
// What a query gives on the program's current database, for comparing in
// window tests (support/datarows.h for any connection).
#include "support/datarows.h"

// Every row as its fields' texts joined by "|".
QStringList rowsOf(const QString& sql);
// The first field of the first row as a whole number (a count).
qint64 count(const QString& sql);
