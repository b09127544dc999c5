#pragma once
// The warehouse held for an action and charge while its cart is open, so
// that the panel shows it again when the charge is picked again.
#include <QString>

namespace platform {
class DbConnection;
}

namespace cashier {

// "" when none is held.
QString HeldWarehouse(platform::DbConnection& db, const QString& action, const QString& charge);
// Stores or replaces the held warehouse: the count and the insert or update
// are one write, so two workstations never store the pair twice. Returns
// whether a row was written: the warehouse already held writes nothing.
bool HoldWarehouse(platform::DbConnection& db, const QString& action, const QString& charge, const QString& warehouse);

} // namespace cashier
