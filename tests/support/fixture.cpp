#include "support/fixture.h"

#include "program/program.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

QString distFile(const QString& name)
{
    return QDir(QStringLiteral(ORV_DIST_DIR)).filePath(name);
}

Fixture::Fixture(const QStringList& files, bool startNow)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDir dist(QStringLiteral(ORV_DIST_DIR));
    QStringList names = files;
    if (names.isEmpty()) {
        for (const QString& n : dist.entryList(QDir::Files))
            if (!n.startsWith(QLatin1String("orvanta")))
                names << n;
    }
    for (const QString& n : names)
        QFile::copy(dist.filePath(n), dir.filePath(n));
    app = std::make_unique<App>(dir.path(), dir.filePath(QStringLiteral("settings.ini")));
    ui = new TestBackend;
    app->setBackend(std::unique_ptr<platform::Backend>(ui));
    if (startNow)
        start();
}

Fixture::~Fixture()
{
    app.reset();
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
