#pragma once
// A fresh program folder in a temporary directory and the databases on it,
// on the engine of the running pass: all that the engine's tests need, with
// no application object and no window. The window fixture (fixture.h) is
// built on it.
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

namespace platform {
class DbConnection;
}

class DataFixture {
public:
    // files: the program folder's files to copy from the build's program
    // folder; empty copies all of them.
    explicit DataFixture(const QStringList& files = QStringList());
    virtual ~DataFixture();
    DataFixture(const DataFixture&) = delete;
    DataFixture& operator=(const DataFixture&) = delete;

    QString path(const QString& name) const { return dir.filePath(name); }

    // The engine of the running pass (support/testserver.h) decides what
    // these give: a database file, or a database of its own on the test
    // server reached through an ODBC marker.
    //
    // The login-list text of a new entry made from the template (Admin /
    // admin): a copy of Empty.tdb as <name>.cdb, or a marker <name>.mdbc
    // for an empty server database that the login fills from the template.
    QString newEntry(const QString& name);
    // Where the database of an entry made by newEntry or sampleEntry lies:
    // its file, or the connection text of its server database (for another
    // connection or a Workstation on it).
    QString database(const QString& name) const { return m_databases.value(name); }
    // Opens the database of an entry made by newEntry or sampleEntry on db,
    // before any login; a server database gets the template's tables first,
    // as the login would give them.
    void openEntry(platform::DbConnection& db, const QString& name);
    // Opens it as a login leaves it: with the running totals the database
    // keeps.
    void openAsLogin(platform::DbConnection& db, const QString& name);
    // The same on the fixture's own connection, which closes before the
    // folder goes.
    platform::DbConnection& openAsLogin(const QString& name);
    // The login-list text of the sample database (a copy of it on the
    // server); its name for database() and openEntry() is kSample.
    QString sampleEntry();
    static const QString kSample;
    // Opens a new database holding the template on db: Empty.tdb of the
    // program folder, or a new server database.
    void openTemplate(platform::DbConnection& db);
    // The DbKind a login on this engine sets.
    static QString dbKind();

    QTemporaryDir dir;

protected:
    // The entries of the program folder changed.
    virtual void entriesChanged() {}

private:
    QHash<QString, QString> m_databases;
    std::unique_ptr<platform::DbConnection> m_db;
};

// The build's program folder.
QString distFile(const QString& name);

// Opens other on the database db has open, as another workstation would.
void OpenAnother(platform::DbConnection& other, const platform::DbConnection& db);

// Another workstation on a database file: a connection of its own that
// holds locks ("begin exclusive", "begin immediate" …) until it rolls back or
// is destroyed. Given an ODBC connection text it connects to that server
// database instead.
class Workstation {
public:
    explicit Workstation(const QString& file);
    ~Workstation();
    Workstation(const Workstation&) = delete;
    Workstation& operator=(const Workstation&) = delete;
    // Runs a statement; false when the engine refused it.
    bool exec(const QString& sql);
    // First column of the first row; invalid when the query failed.
    QVariant value(const QString& sql);

private:
    QString m_name;
};
