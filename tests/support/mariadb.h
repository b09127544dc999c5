#pragma once
// A private MariaDB server on a socket in a folder of its own, without
// network, that goes with the process that started it: the tests' server,
// and the bench's.
#include "data/db.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <sys/types.h>

struct MariaDbSettings {
    // A server that tells table names apart by case, as one set up without
    // lower_case_table_names is.
    bool caseSensitive = false;
    // Where the server keeps its data for a later start; empty for a
    // temporary folder, thrown away with the server.
    QString dataFolder;
    QString bufferPool = QStringLiteral("32M");
};

class MariaDbServer {
public:
    explicit MariaDbServer(MariaDbSettings settings = MariaDbSettings());
    ~MariaDbServer();
    MariaDbServer(const MariaDbServer&) = delete;
    MariaDbServer& operator=(const MariaDbServer&) = delete;

    // A start after a stop brings the same server back, with its data, on
    // the same socket.
    bool start(QString* error);
    void stop();
    QString connectionText(const QString& database) const;
    // A connection as root, open once the server has started (not on a
    // server that tells table names apart by case).
    platform::DbConnection& admin() { return m_admin; }
    pid_t pid() const { return m_pid; }

    // mariadbd, mariadb-install-db and the ODBC driver: what is missing of
    // them ("" when nothing is).
    static QString missing();

private:
    bool accepts() const;
    QString readLog() const;

    MariaDbSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_socket;
    QString m_driver;
    pid_t m_pid = -1;
    platform::DbConnection m_admin;
};
