#pragma once
// The picker: the list window fMaster opened for a field of another window.
// The caller names a mode ("Items", "Charge" or "Warehouse") and a target,
// and opens the window modally; the pick is written straight into the
// target's field, whose change handler (where it runs) does the rest of the
// caller's work. The caller receives nothing back.
//
// Every target is registered once by the window that owns its field, when
// it builds its controls; the window keeps the handle it gets back and opens
// the picker with it. The cashier panel:
//
//     codeTarget = picker::Register(QStringLiteral("ciCode"), ciCode, picker::Value::Code, true);
//
// the journal row dialog, whose own action decides the table:
//
//     auto kind = [this] { return GetAction(); };
//     codeTarget = picker::Register(QStringLiteral("fLedger.iCode"), iCode, picker::Value::Code, true, kind);
//
// and a recipe link dialog, which always lists one table:
//
//     codeTarget = picker::Register(QStringLiteral("fIn.iCode"), iCode, picker::Value::StoredCode, true, {},
//                                   QStringLiteral("ShopItems"));
//
// and opens the picker from its browse button:
//
//     picker::Open(QStringLiteral("Items"), codeTarget);
//
// The name only labels the row (Find, for a look at what is registered).
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

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

// A registered target, as its window keeps it. An empty handle, or one
// whose field has gone, stands for no target: a pick writes nothing.
class Handle {
public:
    Handle() = default;
    // The row, while its field exists; nullptr otherwise.
    const Target* get() const { return m_row && m_row->field ? m_row.get() : nullptr; }
    const Target* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    explicit Handle(std::shared_ptr<const Target> row) : m_row(std::move(row)) {}
    std::shared_ptr<const Target> m_row;
    friend class Registry;
};

// Adds the row of a target, or replaces the row of that name.
Handle Register(const QString& name, platform::TextBox* field, Value value, bool runsChange, KindGetter kind = {},
                const QString& table = QString());
Handle Register(const QString& name, platform::ComboBox* field, Value value, bool runsChange, KindGetter kind = {},
                const QString& table = QString());
// The row registered under a name; an empty handle for an unknown name.
Handle Find(const QString& name);
// The action word that decides the table for a target: its own getter, else
// the cashier's action.
QString Kind(const Handle& target);

// Opens the list window as a picker for the target (mode "Items", "Charge"
// or "Warehouse"); returns when it has closed.
void Open(const QString& mode, const Handle& target);

} // namespace picker
