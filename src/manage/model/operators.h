#pragma once
// The users window's rules: adding, changing and deleting operators, and
// never leaving the program without an operator who may manage them.
#include "shell/model/operators.h"

#include <QString>
#include <QStringList>
#include <array>

namespace platform {
class DbConnection;
}

namespace manage {

// Every operator's name, in the table's order.
QStringList OperatorNames(platform::DbConnection& db);

enum class OperatorSave { Added, Changed, LastManager };
// Adds the operator of the name or changes the one there, the password in
// its stored form and the rights (0 or 1) in the table's column order. An
// operator who is the last with the right to manage operators keeps it:
// nothing is written then (LastManager).
OperatorSave SaveOperator(platform::DbConnection& db, const QString& name, const QString& storedPassword,
                          const std::array<int, shell::RightCount>& rights);
// Whether the operator of the name is the only one who may manage operators.
bool IsLastUserManager(platform::DbConnection& db, const QString& name);
void DeleteOperator(platform::DbConnection& db, const QString& name);

} // namespace manage
