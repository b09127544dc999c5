#pragma once

#include <QList>
#include <QString>

// One statement of an SQL script, with the line it starts on for messages.
struct SqlStatement {
    QString text;
    int line = 0;
};

// Splits a script into statements at every ';' that stands outside a quoted
// text or identifier ('...', "...", `...`, [...]). Comments (-- to the end of
// the line, /* ... */) are dropped; empty statements are skipped.
QList<SqlStatement> splitSqlScript(const QString& script);
