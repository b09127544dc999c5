#include "core/dbcheck.h"

#include "core/app.h"
#include "data/owntext.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

using platform::DbConnection;
using platform::DbError;

const QString kBusyText = QStringLiteral("Database sedang dipakai workstation lain, coba lagi");
const QString kReadOnlyText =
    QStringLiteral("Database tidak dapat ditulis dari workstation ini (berkas atau foldernya hanya dapat dibaca)");

namespace {

// The primary SQLite result code; the extended codes keep it in the low byte.
int primaryCode(const DbError& e)
{
    if (e.onServer())
        return -1;
    bool ok = false;
    const int code = e.nativeCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

// A server's error numbers and states as the ODBC driver hands them on
// (several joined by ';' or blanks).
bool serverCodeIn(const DbError& e, std::initializer_list<const char*> codes)
{
    if (!e.onServer())
        return false;
    const QStringList parts = e.nativeCode().split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    for (const char* c : codes)
        if (parts.contains(QLatin1String(c), Qt::CaseInsensitive))
            return true;
    return false;
}

enum class Problem { Missing, Busy, ReadOnly, Full, Damaged, Disconnected, Other };

Problem problemOf(const DbError& e)
{
    if (!e.missingPath().isEmpty())
        return Problem::Missing;
    // The server gone away, the connection lost or not made again.
    if (e.connectionLost())
        return Problem::Disconnected;
    if (IsBusy(e))
        return Problem::Busy;
    if (IsReadOnly(e))
        return Problem::ReadOnly;
    const int code = primaryCode(e);
    // SQLite's FULL; a server's "table is full", "disk full".
    if (code == 13 || serverCodeIn(e, {"1114", "1021"}))
        return Problem::Full;
    // SQLite's IOERR, CORRUPT, NOTADB.
    if (code == 10 || code == 11 || code == 26)
        return Problem::Damaged;
    return Problem::Other;
}

using Schema = QMap<QString, QStringList>; // lower-case table name → lower-case columns

Schema schemaOf(DbConnection& db)
{
    Schema out;
    for (const QString& t : db.tableNames()) {
        QStringList columns;
        for (const QString& c : db.columnNames(t))
            columns << c.toLower();
        out.insert(t.toLower(), columns);
    }
    return out;
}

// What the login and the users window read by name, whatever the template.
Schema builtIn()
{
    return {{QStringLiteral("operator"),
             {QStringLiteral("username"), QStringLiteral("password"), QStringLiteral("cashier"),
              QStringLiteral("master"), QStringLiteral("inventory"), QStringLiteral("ledger"), QStringLiteral("stock"),
              QStringLiteral("user"), QStringLiteral("db"), QStringLiteral("setting")}},
            {QStringLiteral("config"), {QStringLiteral("key"), QStringLiteral("setting")}}};
}

Schema required()
{
    Schema out = builtIn();
    const QString templ = app().programFile(QStringLiteral("Empty.tdb"));
    if (!QFileInfo(templ).isFile())
        return out;
    try {
        DbConnection t;
        t.Open(templ, true);
        const Schema fromTemplate = schemaOf(t);
        for (auto it = fromTemplate.begin(); it != fromTemplate.end(); ++it)
            out.insert(it.key(), it.value());
    } catch (const DbError&) {
        // An unreadable template leaves the columns the program reads by name.
    }
    return out;
}

} // namespace

bool IsBusy(const DbError& e)
{
    const int code = primaryCode(e);
    // SQLite's BUSY and LOCKED; a server's lock wait timeout and deadlock.
    return code == 5 || code == 6 || serverCodeIn(e, {"1205", "1213", "HYT00", "40001"});
}

bool IsReadOnly(const DbError& e)
{
    // A statement on an open file that cannot open a file is one that cannot
    // make its journal beside the database: the folder takes no files.
    const int code = primaryCode(e);
    return code == 8 /* SQLITE_READONLY */ || (code == 14 /* SQLITE_CANTOPEN */ && !e.sql().isEmpty()) ||
           serverCodeIn(e, {"1290", "1036", "1792"});
}

QString DbBusyText()
{
    return platform::OwnText("cDbBusy", kBusyText);
}

QString DbProblemText(const DbError& e)
{
    switch (problemOf(e)) {
    case Problem::Missing:
        return platform::OwnText(
                   "cDbFileGone",
                   QStringLiteral("Berkas database tidak ditemukan:\n%1\nBegitu berkas itu ada lagi di tempatnya, "
                                  "program memakainya lagi tanpa login ulang."))
            .arg(QDir::toNativeSeparators(e.missingPath()));
    case Problem::Busy: return DbBusyText();
    case Problem::ReadOnly: return platform::OwnText("cDbReadOnly", kReadOnlyText);
    case Problem::Full:
        return platform::OwnText(
            "cDbFull", QStringLiteral("Database penuh: disk tempat database disimpan tidak punya ruang lagi"));
    case Problem::Damaged:
        return platform::OwnText(
            "cDbDamaged",
            QStringLiteral("Berkas database tidak dapat dibaca atau ditulis dengan benar (berkas rusak, atau "
                           "disk atau jaringan bermasalah)"));
    case Problem::Disconnected:
        return platform::OwnText("cServerLost", QStringLiteral("Koneksi ke server database terputus"));
    case Problem::Other: break;
    }
    if (!e.byEngine())
        return e.message();
    return platform::OwnText("cDbRefused", QStringLiteral("Database menolak perintah ini"));
}

QString DbFailureText(const DbError& e)
{
    const QString verb = e.sql().trimmed().section(QLatin1Char(' '), 0, 0).toLower();
    static const QStringList writes = {QStringLiteral("insert"),  QStringLiteral("update"), QStringLiteral("delete"),
                                       QStringLiteral("replace"), QStringLiteral("begin"),  QStringLiteral("start"),
                                       QStringLiteral("commit"),  QStringLiteral("create"), QStringLiteral("drop"),
                                       QStringLiteral("alter")};
    QString notDone;
    // A COMMIT the server took and then went before it could answer is
    // durable: whether it did is for the database to tell once it answers.
    if (verb == QLatin1String("commit") && e.connectionLost())
        notDone = platform::OwnText("cCommitUnanswered",
                                    QStringLiteral("Belum dapat dipastikan apakah perubahan ini tersimpan."));
    else if (writes.contains(verb))
        notDone = platform::OwnText("cNotSaved", QStringLiteral("Perubahan ini tidak tersimpan."));
    else if (!verb.isEmpty())
        notDone = platform::OwnText("cNotDone", QStringLiteral("Tindakan ini tidak selesai."));
    const QString problem = DbProblemText(e);
    if (notDone.isEmpty())
        return problem;
    return problem + (problem.endsWith(QLatin1Char('.')) ? QStringLiteral("\n") : QStringLiteral(".\n")) + notDone;
}

QStringList SchemaGaps(DbConnection& db, const QStringList& tables)
{
    const Schema want = required();
    const Schema have = schemaOf(db);
    QStringList gaps;
    for (auto it = want.begin(); it != want.end(); ++it) {
        if (!tables.isEmpty() && !tables.contains(it.key(), Qt::CaseInsensitive))
            continue;
        if (!have.contains(it.key())) {
            gaps << it.key();
            continue;
        }
        const QStringList& present = have[it.key()];
        for (const QString& column : it.value())
            if (!present.contains(column))
                gaps << it.key() + QLatin1Char('.') + column;
    }
    return gaps;
}
