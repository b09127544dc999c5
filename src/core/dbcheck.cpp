#include "core/dbcheck.h"

#include "core/app.h"

#include <QFileInfo>
#include <QMap>

using platform::DbConnection;
using platform::DbError;

const QString kBusyText = QStringLiteral("database sedang dipakai workstation lain, coba lagi");
const QString kReadOnlyText =
    QStringLiteral("database tidak dapat ditulis dari workstation ini (berkas atau foldernya hanya dapat dibaca)");

namespace {

// The primary SQLite result code; the extended codes keep it in the low byte.
int primaryCode(const DbError& e)
{
    bool ok = false;
    const int code = e.nativeCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
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
    return code == 5 /* SQLITE_BUSY */ || code == 6 /* SQLITE_LOCKED */;
}

bool IsReadOnly(const DbError& e)
{
    // A statement on an open file that cannot open a file is one that cannot
    // make its journal beside the database: the folder takes no files.
    const int code = primaryCode(e);
    return code == 8 /* SQLITE_READONLY */ || (code == 14 /* SQLITE_CANTOPEN */ && !e.sql().isEmpty());
}

QString DbFailureText(const DbError& e)
{
    if (IsBusy(e))
        return kBusyText;
    if (IsReadOnly(e))
        return kReadOnlyText;
    return e.text();
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
