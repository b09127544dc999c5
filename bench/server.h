#pragma once
// A till on a MariaDB entry holding the same journal: its login, and the
// server's share of a core while the till waits, read from the server's
// /proc entry.
#include "data.h"
#include "figures.h"

#include <QStringList>

// files: the data of each scale, whose journal the server's databases are
// given ("" for a size left out); folder: where the server keeps its data between runs ("" for a
// temporary one).
void MeasureServer(const QString& folder, const QStringList& files, Table& table);
