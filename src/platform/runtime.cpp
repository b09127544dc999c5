#include "platform/runtime.h"

#include "data/db.h"
#include "data/failure.h"
#include "data/owntext.h"
#include "platform/backend.h"
#include "platform/form.h"

#include <QDebug>

namespace platform {

namespace {
Runtime* g_current = nullptr;
int g_depth = 0;
std::exception_ptr g_pending;
QString g_pendingWhat;
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

QString Runtime::describeFailure(std::exception_ptr e) const
{
    try {
        std::rethrow_exception(e);
    } catch (const Failure& f) {
        return f.text();
    } catch (const DbError& err) {
        if (!err.byEngine())
            return err.message();
    } catch (...) {
    }
    return OwnText("cProgramError", QStringLiteral("Terjadi kesalahan di dalam program; tindakan ini tidak selesai."));
}

QString FailureText(std::exception_ptr e)
{
    Runtime* rt = Runtime::current();
    return rt ? rt->describeFailure(e) : describe(e);
}

void LogFailure(const QString& what, std::exception_ptr e)
{
    Log(what + QStringLiteral(" gagal: ") + describe(e));
}

namespace {

void report(const QString& what, std::exception_ptr e)
{
    LogFailure(what, e);
    if (Runtime* rt = Runtime::current()) {
        rt->handlerFailed();
        rt->backend().messageBox(MsgKind::Warning, rt->describeFailure(e), MsgTitleWarn);
    }
}

} // namespace

void runHandler(const QString& what, const std::function<void()>& fn)
{
    if (g_current && g_current->tearingDown())
        return;
    ++g_depth;
    try {
        fn();
    } catch (...) {
        if (g_depth > 1) {
            // Nested under another handler: the code that raised this event
            // gets the error back once Qt has returned (rethrowPending).
            if (!g_pending) {
                g_pending = std::current_exception();
                g_pendingWhat = what;
            }
            --g_depth;
            return;
        }
        // The outermost handler failed: that error is the one to tell, and
        // one left behind by a nested handler is part of it.
        g_pending = nullptr;
        --g_depth;
        report(what, std::current_exception());
        return;
    }
    --g_depth;
    if (g_depth == 0 && g_pending) {
        // A nested handler failed where no setter could hand the error back
        // (an activation, a focus change): it is told on its own.
        const std::exception_ptr e = g_pending;
        g_pending = nullptr;
        report(g_pendingWhat, e);
    }
}

void runTimerHandler(const QString& what, bool& reported, const std::function<void()>& fn)
{
    // A tick that came while a write transaction is open (a handler waiting
    // in a nested loop) would read or write half of it: the next one runs.
    if (g_current && (g_current->tearingDown() || g_current->writeTransactionOpen()))
        return;
    // A tick is an event of its own: what fails in it, also in a handler
    // it raises, is logged once and never shown in a box.
    const int savedDepth = g_depth;
    const std::exception_ptr savedPending = g_pending;
    g_depth = 1;
    g_pending = nullptr;
    std::exception_ptr failure;
    try {
        fn();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!failure)
        failure = g_pending;
    g_depth = savedDepth;
    g_pending = savedPending;
    if (failure && !reported) {
        reported = true;
        LogFailure(what, failure);
    }
}

void assertNoWriteTransaction(const char* dialog)
{
    if (g_current && g_current->writeTransactionOpen()) {
        qCritical("%s opened while a write transaction is open", dialog);
        Q_ASSERT_X(false, dialog, "opened while a write transaction is open");
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
