#include "support/fixture.h"

#include "program/program.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

QString distFile(const QString& name)
{
    return QDir(QStringLiteral(ORV_DIST_DIR)).filePath(name);
}

Fixture::Fixture(const QStringList& files, bool startNow)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // A refusal under another workstation's lock comes after this wait; the
    // tests that hold locks need not spend five seconds on each.
    platform::DbConnection::setBusyTimeout(300);
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

Workstation::Workstation(const QString& file)
    : m_name(QStringLiteral("ws-") + QUuid::createUuid().toString(QUuid::Id128))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(file);
    db.open();
}

Workstation::~Workstation()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        QSqlQuery(db).exec(QStringLiteral("rollback"));
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool Workstation::exec(const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(sql);
}

QVariant Workstation::value(const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}
