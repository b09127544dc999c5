#pragma once
// The picker: the list window fMaster opened for a field of another window.
// The caller names a mode ("Items", "Charge" or "Warehouse") and a target,
// and opens the window modally; the pick is written straight into the
// target's field, whose change handler (where it runs) does the rest of the
// caller's work. The caller receives nothing back.
//
// Every target is one row of one table, kept here. A window that owns a
// target field adds its row when it builds its controls, for example the
// cashier panel:
//
//     picker::Register(QStringLiteral("ciCode"), ciCode, picker::Value::Code, true);
//     picker::Register(QStringLiteral("ciCharge"), ciCharge, picker::Value::Name, true);
//
// the journal row dialog, whose own action decides the table:
//
//     auto kind = [this] { return GetAction(); };
//     picker::Register(QStringLiteral("fLedger.iCode"), iCode, picker::Value::Code, true, kind);
//     picker::Register(QStringLiteral("fLedger.iCharge"), iCharge, picker::Value::Name, false, kind);
//
// and a recipe link dialog, which always lists one table:
//
//     picker::Register(QStringLiteral("fIn.iCode"), iCode, picker::Value::StoredCode, true, {},
//                      QStringLiteral("ShopItems"));
//
// and opens the picker from its browse button:
//
//     picker::Open(QStringLiteral("Items"), QStringLiteral("fIn.iCode"));
//
// The targets: "ciCode", "ciCharge", "ciWarehouse" (cashier panel),
// "fCart.ciCode", "fMove.iCharge", "fLedger.iCode", "fLedger.iCharge",
// "fLedger.iWarehouse", "fIn.iCode", "fOut.iCode".
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace platform {
class ComboBox;
class TextBox;
} // namespace platform

namespace picker {

// What the pick writes into the target's field.
enum class Value {
    Code,       // the picked row's code
    Name,       // the record's `name` (a contact or a warehouse)
    StoredCode, // the code as the table stores it
};

// The action word ("Sale", "Shop", "Cash In", "Cash Out", "Sale Retur",
// "Shop Retur") that decides the items or contact table.
using KindGetter = std::function<QString()>;

struct Target {
    QString name;
    // The field written; it takes the focus once the picker has closed.
    QPointer<QWidget> field;
    Value value = Value::Code;
    // Whether writing the value runs the field's change handler.
    bool runsChange = true;
    // Empty: the cashier's action (fMain.GetAction).
    KindGetter kind;
    // A table listed whatever the kind ("" for none).
    QString table;
    // Writes a value into the field, with or without its change handler.
    std::function<void(const QString& value)> write;
};

// Adds the row of a target, or replaces the row of that name.
void Register(const QString& name, platform::TextBox* field, Value value, bool runsChange, KindGetter kind = {},
              const QString& table = QString());
void Register(const QString& name, platform::ComboBox* field, Value value, bool runsChange, KindGetter kind = {},
              const QString& table = QString());
// The row of a target whose field still exists; nullptr for an unknown name.
const Target* Find(const QString& name);
// The action word that decides the table for a target: its own getter, else
// the cashier's action.
QString Kind(const QString& name);

// Opens the list window as a picker for the target (mode "Items", "Charge"
// or "Warehouse"); returns when it has closed.
void Open(const QString& mode, const QString& target);

} // namespace picker
