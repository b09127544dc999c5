#include "support/testserver.h"

#include "platform/db.h"
#include "platform/serverschema.h"
#include "platform/sqltext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef ORV_DIST_DIR
#define ORV_DIST_DIR "."
#endif

namespace {

Engine g_engine = Engine::File;

QString findProgram(const QString& name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
                                                      QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")});
    return found;
}

// The driver by its file, so that the tests do not depend on what name the
// system's odbcinst.ini gives it.
QString driverFile()
{
    QStringList candidates;
    for (const QString& arch : QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-*")}, QDir::Dirs))
        candidates << QStringLiteral("/usr/lib/%1/odbc/libmaodbc.so").arg(arch);
    candidates << QStringLiteral("/usr/lib64/libmaodbc.so") << QStringLiteral("/usr/lib/odbc/libmaodbc.so")
               << QStringLiteral("/usr/local/lib/libmaodbc.so");
    for (const QString& f : candidates)
        if (QFile::exists(f))
            return f;
    return QString();
}

class Server {
public:
    // caseSensitive: a server that tells table names apart by case, as
    // one set up without lower_case_table_names is.
    explicit Server(bool caseSensitive = false) : m_caseSensitive(caseSensitive) {}
    ~Server() { stop(); }

    bool start(QString* error)
    {
        const QString mariadbd = findProgram(QStringLiteral("mariadbd"));
        const QString installDb = findProgram(QStringLiteral("mariadb-install-db"));
        m_driver = driverFile();
        if (mariadbd.isEmpty() || installDb.isEmpty()) {
            *error = QStringLiteral("mariadbd or mariadb-install-db not found (package mariadb-server)");
            return false;
        }
        if (m_driver.isEmpty()) {
            *error = QStringLiteral("the MariaDB ODBC driver libmaodbc.so not found (package odbc-mariadb)");
            return false;
        }
        // A socket path must fit the 108 bytes of sun_path.
        QString base = QDir::tempPath();
        if (base.size() > 60)
            base = QStringLiteral("/tmp");
        m_dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orv-srv-XXXXXX"));
        if (!m_dir->isValid()) {
            *error = QStringLiteral("no temporary folder for the server");
            return false;
        }
        const QString data = m_dir->filePath(QStringLiteral("data"));
        m_socket = m_dir->filePath(QStringLiteral("s"));
        // Temporary tables of its own: servers of test executables running
        // side by side must not meet in the system's /tmp.
        const QString tmp = m_dir->filePath(QStringLiteral("tmp"));
        QDir().mkpath(tmp);
        QStringList common{QStringLiteral("--tmpdir=") + tmp};
        // The server refuses to run as root unless told to.
        if (::geteuid() == 0)
            common << QStringLiteral("--user=root");

        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(installDb, QStringList{QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + data,
                                             QStringLiteral("--auth-root-authentication-method=normal"),
                                             QStringLiteral("--skip-test-db")} +
                                     common);
        if (!install.waitForFinished(120000) || install.exitStatus() != QProcess::NormalExit ||
            install.exitCode() != 0) {
            *error = QStringLiteral("mariadb-install-db failed:\n") + QString::fromLocal8Bit(install.readAll());
            return false;
        }

        // The data is thrown away afterwards: no flushing to disk, the
        // tables in one shared space instead of a file each.
        QStringList args =
            QStringList{mariadbd,
                        QStringLiteral("--no-defaults"),
                        QStringLiteral("--datadir=") + data,
                        QStringLiteral("--socket=") + m_socket,
                        QStringLiteral("--pid-file=") + m_dir->filePath(QStringLiteral("pid")),
                        QStringLiteral("--log-error=") + m_dir->filePath(QStringLiteral("log")),
                        QStringLiteral("--skip-networking"),
                        QStringLiteral("--lower-case-table-names=") + QLatin1String(m_caseSensitive ? "0" : "1"),
                        QStringLiteral("--innodb-buffer-pool-size=32M"),
                        QStringLiteral("--innodb-file-per-table=0"),
                        QStringLiteral("--innodb-flush-log-at-trx-commit=0"),
                        QStringLiteral("--innodb-doublewrite=0"),
                        QStringLiteral("--skip-log-bin")} +
            common;
        // The program refuses a connection to that server, so its one
        // database is made at start-up.
        if (m_caseSensitive) {
            QFile init(m_dir->filePath(QStringLiteral("init.sql")));
            if (!init.open(QIODevice::WriteOnly) || init.write("create database orvcase;\n") < 0) {
                *error = QStringLiteral("no start-up script for the server");
                return false;
            }
            args << QStringLiteral("--init-file=") + init.fileName();
        }
        std::vector<QByteArray> bytes;
        for (const QString& a : args)
            bytes.push_back(QFile::encodeName(a));
        std::vector<char*> argv;
        for (QByteArray& b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
        const QByteArray out = QFile::encodeName(m_dir->filePath(QStringLiteral("out")));
        m_pid = ::fork();
        if (m_pid == 0) {
            // The server goes with the test, also when the test crashes.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int fd = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd >= 0) {
                ::dup2(fd, 1);
                ::dup2(fd, 2);
            }
            // Nothing of the test's own (the pipes ctest reads the output
            // from) stays open in the server.
            for (int other = 3; other < 1024; ++other)
                ::close(other);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (m_pid < 0) {
            *error = QStringLiteral("fork failed");
            return false;
        }
        for (int waited = 0; !accepts(); waited += 50) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid || waited > 60000) {
                if (waited > 60000)
                    stop();
                m_pid = -1;
                *error = QStringLiteral("mariadbd did not start:\n") + readLog();
                return false;
            }
            QThread::msleep(50);
        }
        if (m_caseSensitive)
            return true;
        try {
            m_admin.OpenOdbc(connectionText(QString()));
        } catch (const platform::DbError& e) {
            *error = QStringLiteral("no ODBC connection to the test server: ") + e.text();
            stop();
            return false;
        }
        return true;
    }

    void stop()
    {
        m_admin.Close();
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        for (int waited = 0; ::waitpid(m_pid, &status, WNOHANG) == 0; waited += 20) {
            if (waited > 30000) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
                break;
            }
            QThread::msleep(20);
        }
        m_pid = -1;
    }

    QString connectionText(const QString& database) const
    {
        QString text = QStringLiteral("DRIVER=%1;SOCKET=%2;UID=root;PWD=").arg(m_driver, m_socket);
        if (!database.isEmpty())
            text += QStringLiteral(";DATABASE=") + database;
        return text;
    }

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

    bool accepts() const
    {
        const QByteArray path = QFile::encodeName(m_socket);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (size_t(path.size()) >= sizeof(addr.sun_path))
            return false;
        std::copy(path.begin(), path.end(), addr.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
        ::close(fd);
        return ok;
    }

    QString readLog() const
    {
        QString text;
        for (const char* name : {"out", "log"}) {
            QFile f(m_dir->filePath(QLatin1String(name)));
            if (f.open(QIODevice::ReadOnly))
                text += QString::fromLocal8Bit(f.readAll().right(4000));
        }
        return text;
    }

    bool m_caseSensitive = false;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_socket;
    QString m_driver;
    pid_t m_pid = -1;
    platform::DbConnection m_admin;
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
    g_engine = Engine::File;
    int failed = run();
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
