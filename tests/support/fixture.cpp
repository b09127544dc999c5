#include "support/fixture.h"

#include "data/failure.h"
#include "program/program.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QFile>

Fixture::Fixture(const QStringList& files, bool startNow) : DataFixture(files)
{
    // A port that takes no more is given up after this wait.
    platform::setPortTimeout(300);
    // The user's settings, and the log beside them, lie outside the program
    // folder as they do on a till.
    app = std::make_unique<App>(dir.path(), dir.filePath(QStringLiteral("user/settings.ini")));
    // The tests read the program's words in the language they are written in.
    app->Settings.SaveSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Language"),
                              QStringLiteral("Indonesia"));
    ui = new TestBackend;
    app->setBackend(std::unique_ptr<platform::Backend>(ui));
    if (startNow)
        start();
}

Fixture::~Fixture()
{
    app.reset();
}

QString Fixture::log() const
{
    QFile f(platform::LogFile());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void Fixture::start()
{
    main = mMain::Main();
    QApplication::setActiveWindow(main);
}

void Fixture::login(const QString& entry, const QString& user, const QString& password)
{
    main->iDatabase->setText(entry);
    main->iUsername->setText(user);
    main->iPassword->setText(password);
    main->bLogin->click();
}

void Fixture::entriesChanged()
{
    if (main)
        main->ReadDB();
}
