#include "core/app.h"

#include "core/dbcheck.h"
#include "data/failure.h"
#include "data/owntext.h"
#include "platform/form.h"

#include <QDir>
#include <stdexcept>

App::App(const QString& programFolder, const QString& settingsFile)
    : ProgramFolder(QDir(programFolder).absolutePath()), Settings(settingsFile)
{
    platform::SetLogFile(QDir(Settings.folder(QStringLiteral("OV"))).filePath(QStringLiteral("Orvanta.log")));
}

App::~App()
{
    beginTearDown();
    platform::SetLogFile(QString());
    // Windows go before the connections they may still use.
    const QList<platform::Form*> windows = forms();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        delete *it;
    m_session.reset();
    m_db.reset();
    m_lang.reset();
    // The words of this program's language go with it.
    platform::SetTextLookup({});
}

App& App::instance()
{
    auto* a = dynamic_cast<App*>(platform::Runtime::current());
    if (!a)
        throw std::logic_error("no application object");
    return *a;
}

platform::DbConnection& App::DbConn()
{
    if (!m_db)
        m_db = std::make_unique<platform::DbConnection>();
    return *m_db;
}

void App::BeginSession(const QString& user)
{
    m_session = std::make_unique<ShopSession>(DbConn(), user);
    // A window gone meanwhile leaves its entry behind.
    std::erase_if(m_watchers, [](const SessionWatcher& w) { return w.window.isNull(); });
    for (const SessionWatcher& w : std::vector<SessionWatcher>(m_watchers))
        if (w.window)
            w.connect(*m_session);
}

void App::OnSession(QObject* window, std::function<void(ShopSession&)> connect)
{
    if (m_session)
        connect(*m_session);
    m_watchers.push_back({window, std::move(connect)});
}

platform::DbConnection& App::LangConn()
{
    if (!m_lang)
        m_lang = std::make_unique<platform::DbConnection>();
    return *m_lang;
}

QString App::describeFailure(std::exception_ptr e) const
{
    try {
        std::rethrow_exception(e);
    } catch (const platform::DbError& err) {
        return DbFailureText(err);
    } catch (...) {
    }
    return Runtime::describeFailure(e);
}

QString App::programFile(const QString& name) const
{
    return QDir(ProgramFolder).filePath(name);
}
