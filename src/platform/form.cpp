#include "platform/form.h"

#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

namespace platform {

namespace {

// Gives each window its keys before the focused control sees them. The key
// is then delivered as usual, marked so that its way up through the parent
// widgets does not show it to the window a second time.
class KeyPreviewFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress || e == m_delivering || !o->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(o);
        QPointer<Form> form = qobject_cast<Form*>(w->window());
        if (!form || !form->KeyPreview)
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        int code = keyCodeOf(ke);
        if (code == 0)
            return false;
        const int shift = shiftOf(ke->modifiers());
        runHandler(form->objectName() + QStringLiteral(".Form_KeyDown"), [&] { form->Form_KeyDown(code, shift); });
        if (code == 0) {
            ke->accept();
            return true;
        }
        QPointer<QObject> target = o;
        if (!target)
            return true;
        QEvent* outer = m_delivering;
        m_delivering = e;
        QCoreApplication::sendEvent(target, e);
        m_delivering = outer;
        ke->accept();
        return true;
    }

private:
    QEvent* m_delivering = nullptr;
};

void installKeyPreview()
{
    static QPointer<QObject> filter;
    if (!filter && qApp) {
        filter = new KeyPreviewFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace

Form::Form(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(false);
    installKeyPreview();
    if (Runtime* rt = Runtime::current())
        rt->registerForm(this);
}

Form::~Form()
{
    if (Runtime* rt = Runtime::current())
        rt->unregisterForm(this);
}

void Form::Activate()
{
    runHandler(objectName() + QStringLiteral(".Form_Activate"), [this] { Form_Activate(); });
}

void Form::ShowModal()
{
    Runtime* rt = Runtime::current();
    Form* below = rt->modalStack.isEmpty() ? nullptr : rt->modalStack.last();
    // Owned by the main window (the bottom of the stack), so that the window
    // manager keeps the dialog in front of it and not behind.
    Form* main = rt->modalStack.isEmpty() ? nullptr : rt->modalStack.first();
    if (main && main != this && !parentWidget())
        setParent(main, windowFlags());
    rt->modalStack.append(this);
    setModal(true);
    m_activatePending = true;
    rt->backend().showModal(this);
    m_activatePending = false;
    if (isVisible())
        QDialog::hide();
    rt->modalStack.removeAll(this);
    if (below && !below->isUnloaded() && below->isVisible())
        below->Activate();
}

void Form::Show()
{
    Runtime* rt = Runtime::current();
    if (!rt->modalStack.contains(this))
        rt->modalStack.append(this);
    m_activatePending = true;
    show();
    m_activatePending = false;
}

void Form::Hide()
{
    QDialog::hide();
}

void Form::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_activatePending) {
        m_activatePending = false;
        Activate();
    }
}

void Form::SendTab()
{
    focusNextPrevChild(true);
}

void Form::Form_QueryUnload(bool& Cancel)
{
    Runtime* rt = Runtime::current();
    if (rt && rt->IsClosing)
        return;
    Cancel = true;
    CloseAction();
}

bool Form::Unload()
{
    if (m_unloaded)
        return true;
    bool cancel = false;
    runHandler(objectName() + QStringLiteral(".Form_QueryUnload"), [&] { Form_QueryUnload(cancel); });
    if (cancel)
        return false;
    m_unloaded = true;
    QDialog::hide();
    if (Runtime* rt = Runtime::current())
        rt->modalStack.removeAll(this);
    return true;
}

void Form::closeEvent(QCloseEvent* e)
{
    if (m_unloaded || Unload())
        e->accept();
    else
        e->ignore();
}

void Form::keyPressEvent(QKeyEvent* e)
{
    // No dialog defaults: Enter and Esc mean what the window's handlers say.
    e->accept();
}

void Form::reject()
{
    // Esc is the window's own key (its key handler closes it); a dialog's
    // built-in reject would hide it behind the handlers' back.
}

} // namespace platform
