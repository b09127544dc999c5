#include "support/datafixture.h"

#include "data/db.h"
#include "data/serverschema.h"
#include "data/spreadsheet.h"
#include "data/summaries.h"
#include "support/testserver.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

const QString DataFixture::kSample = QStringLiteral("Velmont Cafe & Resto");

QString distFile(const QString& name)
{
    return QDir(QStringLiteral(ORV_DIST_DIR)).filePath(name);
}

void OpenAnother(platform::DbConnection& other, const platform::DbConnection& db)
{
    if (db.isOdbc())
        other.OpenOdbc(db.path());
    else
        other.Open(db.path());
}

DataFixture::DataFixture(const QStringList& files)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // A refusal under another workstation's lock comes after this wait; the
    // tests that hold locks need not spend five seconds on each.
    platform::DbConnection::setBusyTimeout(300);
    // Exports go with the test's folder instead of piling up in the
    // system's.
    platform::SetExportFolder(dir.path());
    const QDir dist(QStringLiteral(ORV_DIST_DIR));
    QStringList names = files;
    if (names.isEmpty()) {
        for (const QString& n : dist.entryList(QDir::Files))
            if (!n.startsWith(QLatin1String("orvanta")))
                names << n;
    }
    for (const QString& n : names)
        QFile::copy(dist.filePath(n), dir.filePath(n));
}

DataFixture::~DataFixture()
{
    platform::SetExportFolder(QString());
}

namespace {

bool writeMarker(const QString& file, const QString& text)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

QString DataFixture::newEntry(const QString& name)
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
    entriesChanged();
    return entry;
}

void DataFixture::openEntry(platform::DbConnection& db, const QString& name)
{
    if (OnServer()) {
        db.OpenOdbc(database(name));
        platform::PrepareServerDatabase(db);
    } else {
        db.Open(database(name));
    }
}

void DataFixture::openAsLogin(platform::DbConnection& db, const QString& name)
{
    openEntry(db, name);
    platform::EnsureSummaries(db);
}

platform::DbConnection& DataFixture::openAsLogin(const QString& name)
{
    m_db = std::make_unique<platform::DbConnection>();
    openAsLogin(*m_db, name);
    return *m_db;
}

QString DataFixture::sampleEntry()
{
    if (!OnServer()) {
        m_databases.insert(kSample, path(kSample + QStringLiteral(".cdb")));
        return kSample;
    }
    const QString text = NewServerSampleDatabase();
    if (!writeMarker(path(kSample + QStringLiteral(".mdbc")), text))
        qFatal("no marker for the sample");
    m_databases.insert(kSample, text);
    entriesChanged();
    return kSample + QStringLiteral(" (MySQL-ODBC)");
}

void DataFixture::openTemplate(platform::DbConnection& db)
{
    if (OnServer())
        db.OpenOdbc(NewServerTemplateDatabase());
    else
        db.Open(path(QStringLiteral("Empty.tdb")));
}

QString DataFixture::dbKind()
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
