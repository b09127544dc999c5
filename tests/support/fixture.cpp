#include "support/fixture.h"

#include "platform/failure.h"
#include "platform/serverschema.h"
#include "platform/spreadsheet.h"
#include "program/program.h"
#include "shell/fmain.h"
#include "support/testserver.h"

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
    // A port that takes no more is given up after this wait.
    platform::setPortTimeout(300);
    // Exports go with the test's folder instead of piling up in the
    // system's.
    platform::Workbook::setExportFolder(dir.path());
    const QDir dist(QStringLiteral(ORV_DIST_DIR));
    QStringList names = files;
    if (names.isEmpty()) {
        for (const QString& n : dist.entryList(QDir::Files))
            if (!n.startsWith(QLatin1String("orvanta")))
                names << n;
    }
    for (const QString& n : names)
        QFile::copy(dist.filePath(n), dir.filePath(n));
    // The user's settings, and the log beside them, lie outside the program
    // folder as they do on a till.
    app = std::make_unique<App>(dir.path(), dir.filePath(QStringLiteral("user/settings.ini")));
    ui = new TestBackend;
    app->setBackend(std::unique_ptr<platform::Backend>(ui));
    if (startNow)
        start();
}

Fixture::~Fixture()
{
    app.reset();
    platform::Workbook::setExportFolder(QString());
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

namespace {

bool writeMarker(const QString& file, const QString& text)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

QString Fixture::newEntry(const QString& name)
{
    QString entry = name;
    if (OnServer()) {
        const QString text = NewServerDatabase();
        if (!writeMarker(path(name + QStringLiteral(".mdbc")), text))
            qFatal("no marker for %s", qPrintable(name));
        entry = name + QStringLiteral(" (MySQL-ODBC)");
        m_databases.insert(name, text);
    } else {
        const QString file = path(name + QStringLiteral(".cdb"));
        if (!QFile::copy(distFile(QStringLiteral("Empty.tdb")), file))
            qFatal("no copy of the template for %s", qPrintable(name));
        m_databases.insert(name, file);
    }
    if (main)
        main->ReadDB();
    return entry;
}

void Fixture::openEntry(platform::DbConnection& db, const QString& name)
{
    if (OnServer()) {
        db.OpenOdbc(database(name));
        platform::PrepareServerDatabase(db);
    } else {
        db.Open(database(name));
    }
}

QString Fixture::sampleEntry()
{
    const QString name = QStringLiteral("Velmont Cafe & Resto");
    if (!OnServer())
        return name;
    if (!writeMarker(path(name + QStringLiteral(".mdbc")), NewServerSampleDatabase()))
        qFatal("no marker for the sample");
    if (main)
        main->ReadDB();
    return name + QStringLiteral(" (MySQL-ODBC)");
}

void Fixture::openTemplate(platform::DbConnection& db)
{
    if (OnServer())
        db.OpenOdbc(NewServerTemplateDatabase());
    else
        db.Open(path(QStringLiteral("Empty.tdb")));
}

QString Fixture::dbKind()
{
    return OnServer() ? QStringLiteral("MySQL") : QStringLiteral("Access");
}

Workstation::Workstation(const QString& file)
    : m_name(QStringLiteral("ws-") + QUuid::createUuid().toString(QUuid::Id128))
{
    const bool server = file.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive);
    QSqlDatabase db = QSqlDatabase::addDatabase(server ? QStringLiteral("QODBC") : QStringLiteral("QSQLITE"), m_name);
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
