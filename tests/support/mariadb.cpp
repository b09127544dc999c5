#include "support/mariadb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

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

// A program started with fork and exec, its output into the file `out`,
// ended with its starter (also when that one crashes); the process id, or
// -1. Not through QProcess: Qt starts a program from a child that shares
// the starter's memory until it execs, and the thread sanitizer then loses
// track of the starting thread's locks for the rest of the run (a lock
// taken afterwards looks as if none were held).
pid_t spawn(const QStringList& args, const QString& out)
{
    std::vector<QByteArray> bytes;
    for (const QString& a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray outFile = QFile::encodeName(out);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int fd = ::open(outFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        // Nothing of the starter's own (the pipes ctest reads the output
        // from) stays open in the child.
        for (int other = 3; other < 1024; ++other)
            ::close(other);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

} // namespace

MariaDbServer::MariaDbServer(MariaDbSettings settings) : m_settings(std::move(settings)) {}

MariaDbServer::~MariaDbServer()
{
    stop();
}

QString MariaDbServer::missing()
{
    if (findProgram(QStringLiteral("mariadbd")).isEmpty() ||
        findProgram(QStringLiteral("mariadb-install-db")).isEmpty())
        return QStringLiteral("mariadbd or mariadb-install-db not found (package mariadb-server)");
    if (driverFile().isEmpty())
        return QStringLiteral("the MariaDB ODBC driver libmaodbc.so not found (package odbc-mariadb)");
    return QString();
}

bool MariaDbServer::start(QString* error)
{
    if (m_pid > 0)
        return true;
    const QString mariadbd = findProgram(QStringLiteral("mariadbd"));
    const QString installDb = findProgram(QStringLiteral("mariadb-install-db"));
    m_driver = driverFile();
    if (const QString lacking = missing(); !lacking.isEmpty()) {
        *error = lacking;
        return false;
    }
    // A socket path must fit the 108 bytes of sun_path.
    QString base = QDir::tempPath();
    if (base.size() > 60)
        base = QStringLiteral("/tmp");
    // Started again after a stop: the same folder, data and socket.
    if (!m_dir)
        m_dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orv-srv-XXXXXX"));
    if (!m_dir->isValid()) {
        *error = QStringLiteral("no temporary folder for the server");
        return false;
    }
    const QString data =
        m_settings.dataFolder.isEmpty() ? m_dir->filePath(QStringLiteral("data")) : m_settings.dataFolder;
    m_socket = m_dir->filePath(QStringLiteral("s"));
    // Temporary tables of its own: servers of test executables running
    // side by side must not meet in the system's /tmp.
    const QString tmp = m_dir->filePath(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    QStringList common{QStringLiteral("--tmpdir=") + tmp};
    // The server refuses to run as root unless told to.
    if (::geteuid() == 0)
        common << QStringLiteral("--user=root");

    // A kept data folder is set up once.
    if (!QFileInfo::exists(QDir(data).filePath(QStringLiteral("mysql")))) {
        const QString out = m_dir->filePath(QStringLiteral("install"));
        const pid_t pid = spawn(
            QStringList{installDb, QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + data,
                        QStringLiteral("--auth-root-authentication-method=normal"), QStringLiteral("--skip-test-db")} +
                common,
            out);
        int status = -1;
        for (int waited = 0; pid > 0 && ::waitpid(pid, &status, WNOHANG) == 0; waited += 50) {
            if (waited > 120000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                status = -1;
                break;
            }
            QThread::msleep(50);
        }
        if (pid <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            QFile log(out);
            *error = QStringLiteral("mariadb-install-db failed:\n") +
                     (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
            return false;
        }
    }

    // The data is thrown away afterwards, or made again when lost: no
    // flushing to disk, the tables in one shared space instead of a file
    // each.
    QStringList args =
        QStringList{mariadbd,
                    QStringLiteral("--no-defaults"),
                    QStringLiteral("--datadir=") + data,
                    QStringLiteral("--socket=") + m_socket,
                    QStringLiteral("--pid-file=") + m_dir->filePath(QStringLiteral("pid")),
                    QStringLiteral("--log-error=") + m_dir->filePath(QStringLiteral("log")),
                    QStringLiteral("--skip-networking"),
                    QStringLiteral("--lower-case-table-names=") + QLatin1String(m_settings.caseSensitive ? "0" : "1"),
                    QStringLiteral("--innodb-buffer-pool-size=") + m_settings.bufferPool,
                    QStringLiteral("--innodb-file-per-table=0"),
                    QStringLiteral("--innodb-flush-log-at-trx-commit=0"),
                    QStringLiteral("--innodb-doublewrite=0"),
                    QStringLiteral("--skip-log-bin")} +
        common;
    // The program refuses a connection to that server, so its one
    // database is made at start-up.
    if (m_settings.caseSensitive) {
        QFile init(m_dir->filePath(QStringLiteral("init.sql")));
        if (!init.open(QIODevice::WriteOnly) || init.write("create database if not exists orvcase;\n") < 0) {
            *error = QStringLiteral("no start-up script for the server");
            return false;
        }
        args << QStringLiteral("--init-file=") + init.fileName();
    }
    m_pid = spawn(args, m_dir->filePath(QStringLiteral("out")));
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
    if (m_settings.caseSensitive)
        return true;
    try {
        m_admin.OpenOdbc(connectionText(QString()));
    } catch (const platform::DbError& e) {
        *error = QStringLiteral("no ODBC connection to the server: ") + e.text();
        stop();
        return false;
    }
    return true;
}

void MariaDbServer::stop()
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

QString MariaDbServer::connectionText(const QString& database) const
{
    QString text = QStringLiteral("DRIVER=%1;SOCKET=%2;UID=root;PWD=").arg(m_driver, m_socket);
    if (!database.isEmpty())
        text += QStringLiteral(";DATABASE=") + database;
    return text;
}

bool MariaDbServer::accepts() const
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

QString MariaDbServer::readLog() const
{
    QString text;
    for (const char* name : {"out", "log"}) {
        QFile f(m_dir->filePath(QLatin1String(name)));
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromLocal8Bit(f.readAll().right(4000));
    }
    return text;
}
