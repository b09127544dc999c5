#pragma once
// The process-wide host of the platform layer: the replaceable backend for
// everything that waits for a person, the close flag that decides whether a
// window hides or unloads, the stack of modal windows and the error boundary
// of event handlers.
#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <memory>

namespace platform {

class Backend;
class Form;

class Runtime {
public:
    Runtime();
    virtual ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    static Runtime* current();

    Backend& backend() const { return *m_backend; }
    // Takes ownership; a test installs its scripted backend here.
    void setBackend(std::unique_ptr<Backend> backend);

    // False until the main window's close is confirmed; dialogs then unload
    // instead of hiding.
    bool IsClosing = false;

    // Windows in the order they were created (the caption map and the
    // shut-down find them here by name).
    const QList<Form*>& forms() const { return m_forms; }
    Form* form(const QString& name) const;
    // The window of class F: every window exists once, so its class names
    // it, and a window that does not exist is a name that does not compile.
    // Null before the window is created and once it is destroyed.
    template <class F> F* form() const
    {
        for (Form* f : m_forms)
            if (auto* w = dynamic_cast<F*>(f))
                return w;
        return nullptr;
    }
    void registerForm(Form* f);
    void unregisterForm(Form* f);

    // From here on the windows are being destroyed: no handler runs any
    // more, since a focus change inside a half-destroyed window would run a
    // handler of a window that no longer exists as its own class.
    void beginTearDown() { m_tearingDown = true; }
    bool tearingDown() const { return m_tearingDown; }

    // True while the program's database has a write transaction open. No
    // dialog may wait for a person then (the other workstations would wait
    // with it), and timer ticks are skipped.
    virtual bool writeTransactionOpen() const { return false; }

    // Runs when a handler's error reached the event boundary: what the
    // failed action left half done (a print document) is dropped.
    virtual void handlerFailed() {}
    // The words the operator is shown for a failure: the program's own,
    // never an engine's text, a statement or a handler's name.
    virtual QString describeFailure(std::exception_ptr e) const;

    // Modal stack: the bottom is the main window, the top the window the
    // operator is working in. A closing modal window activates the one below.
    QList<Form*> modalStack;

private:
    std::unique_ptr<Backend> m_backend;
    QList<Form*> m_forms;
    bool m_tearingDown = false;
};

// Runs an event handler. The outermost handler of an event catches any error
// and shows it as a warning in the operator's words (the handler's name and
// the error's whole text go to the log); the program goes on. A handler raised from code inside another handler (a text
// set from code runs the field's change handler) passes its error on to the code that set the value, once control is
// back outside Qt.
void runHandler(const QString& what, const std::function<void()>& fn);
// Timer ticks must never raise a message box every tick: their errors are
// logged once per timer and otherwise ignored.
void runTimerHandler(const QString& what, bool& reported, const std::function<void()>& fn);
// Re-raises an error that a nested handler left behind.
void rethrowPending();
// The real backend's guard before a message, input or file dialog opens: a
// dialog inside a write transaction is a fault of the program.
void assertNoWriteTransaction(const char* dialog);

// Resets the nesting level while a nested event loop (a modal window) runs,
// so that the operator's events inside it have their own boundary.
class NestedLoopScope {
public:
    NestedLoopScope();
    ~NestedLoopScope();

private:
    int m_saved;
    std::exception_ptr m_savedPending;
};

// Everything known of an error (a statement, an engine's words), for the log.
QString describe(std::exception_ptr e);
// What the operator is told of an error (Runtime::describeFailure).
QString FailureText(std::exception_ptr e);
// Logs an error of the named action with everything known of it.
void LogFailure(const QString& what, std::exception_ptr e);

} // namespace platform
