#include "server.h"

#include "bare.h"
#include "core/dbentry.h"
#include "data/db.h"
#include "data/serverschema.h"
#include "program.h"
#include "shell/fmain.h"
#include "support/mariadb.h"
#include "till.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// A table of a data file as tab-separated text, the form the server loads
// fastest; gives its columns.
QStringList WriteTable(const QString& file, const QString& table, const QString& text)
{
    Bare db(file);
    QFile out(text);
    if (!out.open(QIODevice::WriteOnly))
        throw std::runtime_error("no file for the table's text");
    Statement st(db, QStringLiteral("select * from `%1`").arg(table).toUtf8().constData());
    const int n = sqlite3_column_count(st);
    QStringList columns;
    for (int i = 0; i < n; ++i)
        columns << QString::fromUtf8(sqlite3_column_name(st, i));
    QByteArray buffer;
    buffer.reserve(1 << 20);
    char number[32];
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            if (i)
                buffer += '\t';
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_NULL: buffer += "\\N"; break;
            case SQLITE_INTEGER: buffer += QByteArray::number(sqlite3_column_int64(st, i)); break;
            case SQLITE_FLOAT:
                buffer.append(number, std::snprintf(number, sizeof number, "%.17g", sqlite3_column_double(st, i)));
                break;
            default: {
                QByteArray value(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                 sqlite3_column_bytes(st, i));
                buffer += value.replace('\\', "\\\\").replace('\t', "\\t").replace('\n', "\\n");
            }
            }
        }
        buffer += '\n';
        if (buffer.size() > (1 << 20) - 4096) {
            out.write(buffer);
            buffer.clear();
        }
    }
    out.write(buffer);
    return columns;
}

// The tables of the lists, loaded by their columns: a table that numbers
// its rows numbers the loaded ones as they come.
void LoadTable(MariaDbServer& server, const QString& database, const QString& file, const QString& table,
               const QString& text)
{
    QStringList columns = WriteTable(file, table, text);
    for (QString& c : columns)
        c = QLatin1Char('`') + c + QLatin1Char('`');
    server.admin().Execute(QStringLiteral("delete from `%1`.`%2`").arg(database, table));
    server.admin().Execute(QStringLiteral("load data infile '%1' into table `%2`.`%3` (%4)")
                               .arg(text, database, table, columns.join(QLatin1Char(','))));
}

QString DatabaseName(const Scale& scale)
{
    return QStringLiteral("orvbench_") + QString::fromLatin1(scale.name).toLower();
}

bool Loaded(MariaDbServer& server, const Scale& scale)
{
    try {
        return server.admin()
                   .GetValue(QStringLiteral("select max(ID) from `%1`.cash").arg(DatabaseName(scale)))
                   .toLongLong() == scale.journal;
    } catch (const platform::DbError&) {
        return false;
    }
}

// A server database made as the program makes one at its first login,
// holding the journal of the file.
void Load(MariaDbServer& server, const Scale& scale, const QString& file, Table& table)
{
    const QString name = DatabaseName(scale);
    QTemporaryDir scratch;
    const QString text = scratch.filePath(QStringLiteral("cash.txt"));
    const double made = Seconds([&] {
        server.admin().Execute(QStringLiteral("drop database if exists `%1`").arg(name));
        server.admin().Execute(QStringLiteral("create database `%1` character set utf8mb4").arg(name));
        platform::DbConnection db;
        db.OpenOdbc(server.connectionText(name));
        platform::PrepareServerDatabase(db);
        LoadTable(server, name, file, QStringLiteral("cash"), text);
    });
    table.notes << QStringLiteral("%1: the server's journal loaded in %2")
                       .arg(QLatin1String(scale.name), Shown(made, Unit::Time));
}

const char* const kListTables[] = {"inventory", "ShopItems", "SaleItems", "Customer"};

bool ListsLoaded(MariaDbServer& server, const Scale& scale)
{
    try {
        const QString name = DatabaseName(scale);
        return server.admin().GetValue(QStringLiteral("select count(*) from `%1`.inventory").arg(name)).toLongLong() >=
                   scale.items &&
               server.admin().GetValue(QStringLiteral("select count(*) from `%1`.Customer").arg(name)).toLongLong() >=
                   scale.contacts;
    } catch (const platform::DbError&) {
        return false;
    }
}

// The file's items and customers, for the lists on the server.
void LoadLists(MariaDbServer& server, const Scale& scale, const QString& file, Table& table)
{
    QTemporaryDir scratch;
    const double made = Seconds([&] {
        for (const char* t : kListTables)
            LoadTable(server, DatabaseName(scale), file, QString::fromLatin1(t),
                      scratch.filePath(QString::fromLatin1(t) + QStringLiteral(".txt")));
    });
    table.notes << QStringLiteral("%1: the server's items and customers loaded in %2")
                       .arg(QLatin1String(scale.name), Shown(made, Unit::Time));
}

} // namespace

void MeasureServer(const QString& folder, const QStringList& files, Table& table)
{
    const QString missing = MariaDbServer::missing();
    if (!missing.isEmpty()) {
        table.row(figure::ServerIdle, Unit::Share).skipped = QStringLiteral("no mariadbd");
        table.row(figure::ServerLogin).skipped = QStringLiteral("no mariadbd");
        table.row(figure::ServerLoginAgain).skipped = QStringLiteral("no mariadbd");
        table.notes << QStringLiteral("The server's figure is left out: ") + missing;
        return;
    }
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    MariaDbServer server(MariaDbSettings{false, folder, QStringLiteral("1G")});
    QString error;
    if (!server.start(&error))
        throw std::runtime_error(("the bench's MariaDB server did not start: " + error).toStdString());
    for (int size = 0; size < int(files.size()); ++size) {
        if (files[size].isEmpty())
            continue;
        const Scale& scale = kScales[size];
        if (!Loaded(server, scale))
            Load(server, scale, files[size], table);
        if (!ListsLoaded(server, scale))
            LoadLists(server, scale, files[size], table);
        // The server alone, then with one till logged in and waiting.
        auto share = [&](int ms) {
            const double before = CpuSeconds(server.pid());
            QElapsedTimer t;
            t.start();
            Wait(ms);
            return (CpuSeconds(server.pid()) - before) / (double(t.nsecsElapsed()) / 1e9);
        };
        // A server that has just loaded ten million rows tidies up for a
        // while: the figure waits until it rests.
        double alone = share(5000);
        for (int waited = 5; alone > 0.01 && waited < 300; waited += 5)
            alone = share(5000);
        Program program;
        const QString entry = QStringLiteral("Toko");
        program.addServer(entry, server.connectionText(DatabaseName(scale)));
        // The first login gives the database what the program keeps beside
        // its tables, once, as the file's first login does; the figures are
        // logins on a database that has them: the first of a new process,
        // and one after a logout.
        program.start();
        const double first = Seconds([&] { program.login(EntryText(EntryKind::Odbc, entry)); });
        std::vector<Cost> logins, again;
        std::vector<double> namesRead;
        NamesShown names;
        for (int i = 0; i < kRuns; ++i) {
            logins.push_back(LoginInAProcess(program.path(QString()), EntryText(EntryKind::Odbc, entry), &names));
            namesRead.push_back(names.wall);
            program.logout();
            again.push_back(Take([&] {
                program.login(EntryText(EntryKind::Odbc, entry));
                PaintNow(program.main);
            }));
        }
        if (names.count < scale.contacts)
            throw std::runtime_error("the login's Charge box on the server did not offer every customer");
        // The server works in a process of its own: the wall time is judged.
        for (const auto& [what, costs] :
             {std::pair{figure::ServerLogin, logins}, std::pair{figure::ServerLoginAgain, again}}) {
            const Cost login = Median(costs);
            QString note = QStringLiteral("(till CPU %1)").arg(Shown(login.cpu, Unit::Time));
            if (what == figure::ServerLogin)
                note += QLatin1Char(' ') + NamesNote(Median(namesRead));
            table.row(what).at[size] = {login.wall, note};
        }
        table.notes << QStringLiteral("%1: the first login on the server entry took %2")
                           .arg(QLatin1String(scale.name), Shown(first, Unit::Time));
        // F2 as an operator presses it, a second after the first panel
        // came, and beside it a key pressed the moment the panel is painted.
        std::vector<Cost> firstF2, atOnce;
        for (int i = 0; i < kRuns; ++i) {
            firstF2.push_back(FirstF2InAProcess(program.path(QString()), EntryText(EntryKind::Odbc, entry), 1000));
            atOnce.push_back(FirstF2InAProcess(program.path(QString()), EntryText(EntryKind::Odbc, entry)));
        }
        const Cost f2 = Median(firstF2);
        table.row(figure::ServerFirstF2).at[size] = {
            f2.wall, QStringLiteral("(till CPU %1; pressed at once: %2)")
                         .arg(Shown(f2.cpu, Unit::Time), Shown(Median(atOnce).wall, Unit::Time))};
        Wait(2000);
        const double tillBefore = CpuSeconds();
        QElapsedTimer t;
        t.start();
        const double withTill = share(10000);
        const double till = (CpuSeconds() - tillBefore) / (double(t.nsecsElapsed()) / 1e9);
        program.setTimers(false);
        {
            ListsShown lists(program.main);
            int listed = 0;
            const Cost items = MedianOf([&] { listed = lists.inventory(); });
            if (listed < scale.items)
                throw std::runtime_error("the inventory panel did not list every item on the server");
            table.row(figure::ServerInventory).at[size] = {
                items.cpu, QStringLiteral("(wall %1)").arg(Shown(items.wall, Unit::Time))};
            const Cost contacts = MedianOf([&] { listed = lists.contacts(); });
            if (listed < scale.contacts)
                throw std::runtime_error("the list window did not list every contact on the server");
            table.row(figure::ServerContacts).at[size] = {
                contacts.cpu, QStringLiteral("(wall %1)").arg(Shown(contacts.wall, Unit::Time))};
        }
        program.stop();
        Row& row = table.row(figure::ServerIdle, Unit::Share);
        row.at[size] = {withTill, QString()};
        row.floor[size] = {alone, QString()};
        table.notes << QStringLiteral("%1: the till itself on the server entry: %2 of a core")
                           .arg(QLatin1String(scale.name), Shown(till, Unit::Share));
    }
    table.notes << QStringLiteral("The server's floor is the same server with no till logged in.");
}
