#pragma once
// What a query gives on the current database, for comparing in tests.
#include <QString>
#include <QStringList>

// Every row as its fields' texts joined by "|".
QStringList rowsOf(const QString& sql);
// The first field of the first row as a whole number (a count).
qint64 count(const QString& sql);
