#pragma once
#include <QStringList>

namespace platform {
class DbConnection;
}

// The sale every child saves: two lines under a charge of its own (an item
// with a recipe, an item that is also bought), 5 % discount and 10 % tax.
// Returns the transaction number.
qint64 SaveOneSale(platform::DbConnection& db, const QString& charge);

// args: program, "--save-loop" file | "--save-n" file prefix count.
int runSaveChild(const QStringList& args);
