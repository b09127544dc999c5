#pragma once
// The users window's rules: adding, changing and deleting operators, and
// never leaving the program without an operator who may manage them.
#include "shell/model/operators.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace platform {
class DbConnection;
}

namespace manage {

// Every operator's name, in the table's order.
QStringList OperatorNames(platform::DbConnection& db);
// The name as it is stored and looked up: without apostrophes (the quoting
// drops them) and without blanks around it, which nobody types at the
// login. Empty for a name of blanks or apostrophes alone.
QString OperatorName(const QString& typed);

// An operator's password in its stored form and the rights (0 or 1) in the
// table's column order.
struct OperatorValues {
    QString password;
    std::array<int, shell::RightCount> rights{};
};

enum class OperatorSave { Added, Changed, LastManager, Gone, Taken };
// Saves the operator of the name as the window edited them. `loaded` is
// what the window loaded for the name (nothing for a name not there then):
// only what the operator changed is written, so a password or right that
// another till changed meanwhile stays. Nothing is written when the
// operator loaded has been deleted meanwhile (Gone: a save never brings
// them back), when a name loaded as new has been added meanwhile (Taken),
// or when the last operator with the right to manage operators would lose
// it (LastManager). The checks run in the save's transaction.
OperatorSave SaveOperator(platform::DbConnection& db, const QString& name, const std::optional<OperatorValues>& loaded,
                          const OperatorValues& edited);
// Whether the operator of the name is the only one who may manage operators.
bool IsLastUserManager(platform::DbConnection& db, const QString& name);
enum class OperatorDelete { Deleted, Gone, LastManager };
// Deletes the operator of the name unless they are gone or the last who
// may manage operators, checked in the delete's transaction.
OperatorDelete DeleteOperator(platform::DbConnection& db, const QString& name);

} // namespace manage
