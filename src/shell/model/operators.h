#pragma once
// The operators' table as the login and the users window read it. A
// password is always given and returned in its stored form.
#include "data/db.h"

#include <QString>
#include <array>
#include <optional>

namespace shell {

// The eight rights in the table's column order.
enum Right { Cashier, Master, Inventory, Ledger, Stock, User, DB, Setting, RightCount };

struct OperatorRecord {
    QString password;
    // As stored: the users window shows them as numbers, the login takes
    // them as yes or no.
    std::array<platform::DbField, RightCount> rights;
};

// How many operators have the name (which the table does not keep unique).
qint64 OperatorCount(platform::DbConnection& db, const QString& name);
// Whether the operator of the name has that stored password.
bool PasswordMatches(platform::DbConnection& db, const QString& name, const QString& storedPassword);
// The first operator of the name; nothing when there is none.
std::optional<OperatorRecord> FindOperator(platform::DbConnection& db, const QString& name);

} // namespace shell
