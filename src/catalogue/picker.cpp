#include "catalogue/picker.h"

#include "catalogue/fmaster.h"
#include "core/app.h"
#include "platform/controls.h"

#include <QHash>
#include <utility>

namespace picker {

// The rows by name. A row registered again under its name replaces the
// entry here; the handles given out for the old row keep it.
class Registry {
public:
    static Handle add(Target t)
    {
        auto row = std::make_shared<const Target>(std::move(t));
        rows().insert(row->name, row);
        return Handle(row);
    }
    static Handle find(const QString& name) { return Handle(rows().value(name)); }

private:
    static QHash<QString, std::shared_ptr<const Target>>& rows()
    {
        static QHash<QString, std::shared_ptr<const Target>> table;
        return table;
    }
};

namespace {

// Sets a control's text; without runsChange its change handler is held back
// for the one write.
template <class Control> void writeTo(QPointer<Control> box, const QString& value, bool runsChange)
{
    if (!box)
        return;
    if (runsChange) {
        box->setText(value);
        return;
    }
    platform::Handler held = std::exchange(box->Change, platform::Handler());
    box->setText(value);
    box->Change = std::move(held);
}

template <class Control>
Handle add(const QString& name, Control* field, Value value, bool runsChange, KindGetter kind, const QString& table)
{
    Target t;
    t.name = name;
    t.field = field;
    t.value = value;
    t.runsChange = runsChange;
    t.kind = std::move(kind);
    t.table = table;
    QPointer<Control> box(field);
    t.write = [box, runsChange](const QString& v) { writeTo(box, v, runsChange); };
    return Registry::add(std::move(t));
}

} // namespace

Handle Register(const QString& name, platform::TextBox* field, Value value, bool runsChange, KindGetter kind,
                const QString& table)
{
    return add(name, field, value, runsChange, std::move(kind), table);
}

Handle Register(const QString& name, platform::ComboBox* field, Value value, bool runsChange, KindGetter kind,
                const QString& table)
{
    return add(name, field, value, runsChange, std::move(kind), table);
}

Handle Find(const QString& name)
{
    return Registry::find(name);
}

QString Kind(const Handle& target)
{
    if (target && target->kind)
        return target->kind();
    return Till().action();
}

void Open(const QString& mode, const Handle& target)
{
    fMaster* m = MasterWindow();
    m->Tag = mode;
    m->setTarget(target);
    m->ShowModal();
}

} // namespace picker
