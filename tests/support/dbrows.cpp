#include "support/dbrows.h"

#include "core/app.h"

QStringList rowsOf(const QString& sql)
{
    return rowsOf(app().DbConn(), sql);
}

qint64 count(const QString& sql)
{
    return count(app().DbConn(), sql);
}
