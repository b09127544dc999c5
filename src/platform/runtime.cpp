#include "platform/runtime.h"

#include "platform/backend.h"
#include "platform/db.h"
#include "platform/form.h"

#include <QDebug>

namespace platform {

namespace {
Runtime* g_current = nullptr;
int g_depth = 0;
std::exception_ptr g_pending;
} // namespace

Runtime::Runtime() : m_backend(std::make_unique<QtBackend>())
{
    g_current = this;
}

Runtime::~Runtime()
{
    if (g_current == this)
        g_current = nullptr;
    g_depth = 0;
    g_pending = nullptr;
}

Runtime* Runtime::current()
{
    return g_current;
}

void Runtime::setBackend(std::unique_ptr<Backend> backend)
{
    m_backend = std::move(backend);
}

Form* Runtime::form(const QString& name) const
{
    for (Form* f : m_forms)
        if (f->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

void Runtime::registerForm(Form* f)
{
    m_forms.append(f);
}

void Runtime::unregisterForm(Form* f)
{
    m_forms.removeAll(f);
    modalStack.removeAll(f);
}

QString describe(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const DbError& err) {
        return err.text();
    } catch (const std::exception& err) {
        return QString::fromLocal8Bit(err.what());
    } catch (...) {
        return QStringLiteral("Kesalahan yang tidak dikenal");
    }
}

void runHandler(const QString& what, const std::function<void()>& fn)
{
    ++g_depth;
    try {
        fn();
    } catch (...) {
        if (g_depth > 1) {
            // Nested under another handler: the code that raised this event
            // gets the error back once Qt has returned (rethrowPending).
            if (!g_pending)
                g_pending = std::current_exception();
        } else {
            --g_depth;
            const QString text = QStringLiteral("%1 gagal:\n%2").arg(what, describe(std::current_exception()));
            qWarning().noquote() << text;
            if (Runtime* rt = Runtime::current())
                rt->backend().messageBox(MsgKind::Warning, text, QStringLiteral("Peringatan"));
            return;
        }
    }
    --g_depth;
}

void runTimerHandler(const QString& what, bool& reported, const std::function<void()>& fn)
{
    try {
        fn();
    } catch (...) {
        if (!reported) {
            reported = true;
            qWarning().noquote() << what << "gagal:" << describe(std::current_exception());
        }
    }
}

void rethrowPending()
{
    if (g_pending && g_depth > 0) {
        std::exception_ptr e = g_pending;
        g_pending = nullptr;
        std::rethrow_exception(e);
    }
}

NestedLoopScope::NestedLoopScope() : m_saved(g_depth), m_savedPending(g_pending)
{
    g_depth = 0;
    g_pending = nullptr;
}

NestedLoopScope::~NestedLoopScope()
{
    g_depth = m_saved;
    g_pending = m_savedPending;
}

} // namespace platform
