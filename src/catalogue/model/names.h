#pragma once
// Lists of names (the contacts a charge is picked from, the categories, the
// units) held in memory and read again only once a table they come from may
// have changed: a cart line or a panel shown again reads none of them.
#include "data/db.h"

#include <QString>
#include <QStringList>

namespace catalogue {

// The first column of every row of a query, as text, in the order the
// database returns them; `tables` are the tables the query reads. Where the
// engine cannot tell a table's changes the query is run each time.
// The tables' change stamps in one (platform::DbConnection::tableStamp);
// empty when any of them cannot be told.
QByteArray TablesStamp(platform::DbConnection& db, const QStringList& tables);

QStringList KeptNames(platform::DbConnection& db, const QString& sql, const QStringList& tables);

} // namespace catalogue
