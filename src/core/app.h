#pragma once
// The process-wide values of the program, in one object that main and each
// test create, so that every test starts clean.
#include "core/model/shopsession.h"
#include "data/db.h"
#include "data/settingsstore.h"
#include "platform/printer.h"
#include "platform/runtime.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

// The eight rights of the operator logged in, as the login read them.
struct OperatorRights {
    bool cashier = false;
    bool master = false;
    bool inventory = false;
    bool ledger = false;
    bool stock = false;
    bool user = false;
    bool db = false;
    bool setting = false;
};

class App : public platform::Runtime {
public:
    // programFolder: where the entries, the template and the language sets
    // lie. settingsFile: "" for the user's own settings store.
    explicit App(const QString& programFolder, const QString& settingsFile = QString());
    ~App() override;

    static App& instance();

    QString AppTitle;
    QString ProgramFolder;
    // "Access" for a database file (direct or through a pointer file),
    // "MySQL" for an ODBC entry; "" before the first login.
    QString DbKind;
    QString DbEntry;
    QString LanPath;
    QString CurrentUser;
    // None while the login panel is shown: what an action needs a right
    // for is refused by the action itself, not only by its menu item.
    OperatorRights Rights;
    // The highlighted menu item ("Cashier", "Inventory" …; "" before the
    // first highlight) and the menu image to highlight again when a dialog
    // opened from the menu closes.
    QString MenuKey;
    QWidget* MenuControl = nullptr;

    // The one connection on the current database, created on first use.
    platform::DbConnection& DbConn();
    bool hasDbConn() const { return static_cast<bool>(m_db); }
    // Drops the connection (backup, restore and drop release it), and the
    // session that works on it.
    void releaseDbConn()
    {
        EndSession();
        m_db.reset();
    }
    // The connection on the current language database.
    platform::DbConnection& LangConn();

    // The login at work on the connection; none while the login panel is
    // shown.
    ShopSession* Session() const { return m_session.get(); }
    // A login has succeeded: every window that shows what a session's
    // writes change connects to the new session.
    void BeginSession(const QString& user);
    void EndSession() { m_session.reset(); }
    // Windows last as long as the program, sessions as long as a login: a
    // window gives here how it connects to each session, from the next one
    // on (and to the present one at once), for as long as it exists.
    void OnSession(QObject* window, std::function<void(ShopSession&)> connect);

    platform::LinePrinter Printer;
    // The operator has been told in this login that print-outs go to PDF
    // files (the machine has no printer).
    bool PdfNoteShown = false;
    platform::SettingsStore Settings;

    // Windows in the order the shut-down unloaded them.
    QStringList unloadLog;
    // Runs once the main window has unloaded (main ends the process).
    std::function<void()> onMainUnloaded;

    void handlerFailed() override { Printer.KillDoc(); }
    bool writeTransactionOpen() const override { return m_db && m_db->inTransaction(); }
    // A database failure is told by what it means (dbcheck.h) and what was
    // therefore not done.
    QString describeFailure(std::exception_ptr e) const override;

    // A file of the program folder.
    QString programFile(const QString& name) const;

private:
    struct SessionWatcher {
        QPointer<QObject> window;
        std::function<void(ShopSession&)> connect;
    };
    std::vector<SessionWatcher> m_watchers;
    std::unique_ptr<ShopSession> m_session;
    std::unique_ptr<platform::DbConnection> m_db;
    std::unique_ptr<platform::DbConnection> m_lang;
};

inline App& app()
{
    return App::instance();
}

// Tells the windows what a committed write changed
// (Announce(&ShopSession::cartChanged)). Without a session nothing is shown
// that could be stale.
inline void Announce(void (ShopSession::*change)())
{
    if (ShopSession* s = app().Session())
        (s->*change)();
}

// The cashier's choices in the login at work; without a login, a till
// that has chosen nothing and that no panel listens to.
inline TillState& Till()
{
    static TillState none;
    ShopSession* s = app().Session();
    return s ? s->till() : none;
}
