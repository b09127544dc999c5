#include "support/testserver.h"

#include "data/db.h"
#include "data/serverschema.h"
#include "data/sqltext.h"
#include "support/mariadb.h"

#include <QDir>
#include <QFile>
#include <memory>
#include <stdexcept>

#ifndef ORV_DIST_DIR
#define ORV_DIST_DIR "."
#endif

namespace {

Engine g_engine = Engine::File;

class Server {
public:
    // caseSensitive: a server that tells table names apart by case, as
    // one set up without lower_case_table_names is.
    explicit Server(bool caseSensitive = false) : m_server(MariaDbSettings{caseSensitive, QString()}) {}

    bool start(QString* error) { return m_server.start(error); }
    void stop() { m_server.stop(); }

    QString connectionText(const QString& database) const { return m_server.connectionText(database); }

    QString newDatabase()
    {
        const QString name = QStringLiteral("orv%1").arg(++m_serial);
        m_admin.Execute(QStringLiteral("create database `%1` character set utf8mb4").arg(name));
        return name;
    }

    // A new database as a copy of another, table by table on the server.
    QString copyOf(const QString& source)
    {
        const QString name = newDatabase();
        auto rs = m_admin.OpenRecordset(
            QStringLiteral("select table_name from information_schema.tables where table_schema=") +
            platform::Quote(source));
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString table = rs->Fields(0).toString();
            m_admin.Execute(QStringLiteral("create table `%1`.`%3` like `%2`.`%3`").arg(name, source, table));
            m_admin.Execute(QStringLiteral("insert into `%1`.`%3` select * from `%2`.`%3`").arg(name, source, table));
        }
        return name;
    }

    QString templateDatabase()
    {
        if (m_template.isEmpty()) {
            const QString name = newDatabase();
            platform::DbConnection db;
            db.OpenOdbc(connectionText(name));
            platform::PrepareServerDatabase(db);
            m_template = name;
        }
        return m_template;
    }

    // The sample file's rows, copied value by value into a database that
    // has the template's tables.
    QString sampleDatabase()
    {
        if (!m_sample.isEmpty())
            return m_sample;
        const QString name = copyOf(templateDatabase());
        platform::DbConnection file;
        file.Open(QDir(QStringLiteral(ORV_DIST_DIR)).filePath(QStringLiteral("Velmont Cafe & Resto.cdb")), true);
        platform::DbConnection db;
        db.OpenOdbc(connectionText(name));
        auto tables = file.OpenRecordset(QStringLiteral("select name from sqlite_master where type='table'"));
        platform::DbTransaction tx(db);
        for (; !tables->Eof(); tables->MoveNext()) {
            const QString table = tables->Fields(0).toString();
            db.Execute(QStringLiteral("delete from `%1`").arg(table));
            auto rs = file.OpenRecordset(QStringLiteral("select * from `%1`").arg(table));
            QStringList rows;
            auto flush = [&] {
                if (!rows.isEmpty())
                    db.Execute(QStringLiteral("insert into `%1` values ").arg(table) + rows.join(QLatin1Char(',')));
                rows.clear();
            };
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList values;
                for (int i = 0; i < rs->columnCount(); ++i)
                    values << literal(rs->Fields(i).Value());
                rows << QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
                if (rows.size() >= 200)
                    flush();
            }
            flush();
        }
        tx.commit();
        m_sample = name;
        return m_sample;
    }

private:
    static QString literal(const QVariant& v)
    {
        if (v.isNull() || !v.isValid())
            return QStringLiteral("NULL");
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong: return QString::number(v.toLongLong());
        case QMetaType::Double: return platform::Num(v.toDouble());
        default: return QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + '\'';
        }
    }

    MariaDbServer m_server;
    platform::DbConnection& m_admin = m_server.admin();
    int m_serial = 0;
    QString m_template;
    QString m_sample;
};

Server* g_server = nullptr;
std::unique_ptr<Server> g_caseSensitive;

Server& server()
{
    if (!g_server)
        throw std::logic_error("a server database outside the server pass");
    return *g_server;
}

} // namespace

Engine CurrentEngine()
{
    return g_engine;
}

int OnBothEngines(const std::function<int()>& run)
{
    // ctest runs each half as a test of its own (ORV_ENGINES=file or
    // server), so that the quick loop leaves the servers out.
    const QString engines = qEnvironmentVariable("ORV_ENGINES");
    int failed = 0;
    g_engine = Engine::File;
    if (engines != QLatin1String("server"))
        failed += run();
    if (engines == QLatin1String("file"))
        return failed;
    if (qEnvironmentVariable("ORV_NO_SERVER") == QLatin1String("1")) {
        qInfo("ORV_NO_SERVER=1: the same tests on a MariaDB server are left out");
        return failed;
    }
    Server s;
    QString error;
    if (!s.start(&error)) {
        qCritical("FAIL: no MariaDB server for the server half of the tests (set ORV_NO_SERVER=1 to leave it "
                  "out on a machine without one): %s",
                  qPrintable(error));
        return failed + 1;
    }
    qInfo("The same tests on a private MariaDB server");
    g_server = &s;
    g_engine = Engine::Server;
    failed += run();
    g_engine = Engine::File;
    g_server = nullptr;
    g_caseSensitive.reset();
    return failed;
}

int OnFiles(const std::function<int()>& run)
{
    return qEnvironmentVariable("ORV_ENGINES") == QLatin1String("server") ? 0 : run();
}

QString NewServerDatabase()
{
    return server().connectionText(server().newDatabase());
}

QString NewServerTemplateDatabase()
{
    return server().connectionText(server().copyOf(server().templateDatabase()));
}

QString NewServerSampleDatabase()
{
    return server().connectionText(server().copyOf(server().sampleDatabase()));
}

QString CaseSensitiveServerDatabase()
{
    server();
    if (!g_caseSensitive) {
        auto other = std::make_unique<Server>(true);
        QString error;
        if (!other->start(&error))
            throw std::runtime_error(error.toStdString());
        g_caseSensitive = std::move(other);
    }
    return g_caseSensitive->connectionText(QStringLiteral("orvcase"));
}

void StopServer()
{
    server().stop();
}

void StartServerAgain()
{
    QString error;
    if (!server().start(&error))
        throw std::runtime_error(error.toStdString());
}
