#include "catalogue/picker.h"

#include "catalogue/fmaster.h"
#include "platform/controls.h"
#include "shell/fmain.h"

#include <QHash>
#include <utility>

namespace picker {

namespace {

QHash<QString, Target>& targets()
{
    static QHash<QString, Target> table;
    return table;
}

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
void add(const QString& name, Control* field, Value value, bool runsChange, KindGetter kind, const QString& table)
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
    targets().insert(name, std::move(t));
}

} // namespace

void Register(const QString& name, platform::TextBox* field, Value value, bool runsChange, KindGetter kind,
              const QString& table)
{
    add(name, field, value, runsChange, std::move(kind), table);
}

void Register(const QString& name, platform::ComboBox* field, Value value, bool runsChange, KindGetter kind,
              const QString& table)
{
    add(name, field, value, runsChange, std::move(kind), table);
}

const Target* Find(const QString& name)
{
    auto it = targets().constFind(name);
    if (it == targets().constEnd() || !it->field)
        return nullptr;
    return &*it;
}

QString Kind(const QString& name)
{
    const Target* t = Find(name);
    if (t && t->kind)
        return t->kind();
    return MainWindow() ? MainWindow()->GetAction() : QString();
}

void Open(const QString& mode, const QString& target)
{
    fMaster* m = MasterWindow();
    if (!m)
        return;
    m->Tag = mode;
    m->bOK->Tag = target;
    m->ShowModal();
}

} // namespace picker
