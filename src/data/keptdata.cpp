#include "data/keptdata.h"

#include "data/db.h"
#include "data/sqltext.h"

#include <QSet>
#include <QUuid>
#include <iterator>

namespace platform {

namespace {

// The tables whose names are kept in memory, as the triggers name them.
const char* const kNamedTables[] = {"Customer",  "Supplier",  "Person",       "Warehouse",    "SaleItems",
                                    "ShopItems", "inventory", "Cash InItems", "Cash OutItems"};
const char* const kNameEvents[] = {"insert", "update", "delete"};

// A write to one of those tables draws a new number at random instead of
// counting one on: two copies of a database (a branch begun from a shop's
// file, a backup opened as a database of its own) changed as often since
// would count alike, and a program that kept one's names would show them
// for the other. The triggers that counted had the prefix "namestamp"; a
// database that still has them gets these at its next login.
QString nameTrigger(const char* table, const char* event, const char* prefix = "namedraw")
{
    QString id = QString::fromLatin1(table).toLower();
    id.remove(QLatin1Char(' '));
    return QStringLiteral("%1_%2_%3").arg(QLatin1String(prefix), id, QLatin1String(event));
}

// The number and every trigger that draws it are there.
bool nameStampWhole(DbConnection& db)
{
    QStringList names, tables;
    for (const char* t : kNamedTables) {
        tables << QString::fromLatin1(t);
        for (const char* e : kNameEvents)
            names << nameTrigger(t, e);
    }
    if (!db.hasTable(QStringLiteral("namestamp")) ||
        db.TriggerCount(names, tables) != int(std::size(kNamedTables) * std::size(kNameEvents)))
        return false;
    try {
        return int(StoredNumber(db.GetValue(QStringLiteral("select count(origin) from namestamp")))) == 1;
    } catch (const DbError&) {
        return false; // a table of another shape
    }
}

// The row numbers' column, as the connection reads the lists by it.
const char* const kRowKey = "orv_row";

} // namespace

bool EnsureNameStamp(DbConnection& db, bool renew)
{
    bool whole = false;
    try {
        for (const char* t : kNamedTables)
            if (!db.hasTable(QString::fromLatin1(t))) {
                db.keepNameStamp({}, {});
                return false;
            }
        if (!nameStampWhole(db)) {
            // Writers take turns: no name is written between the number made
            // here and the triggers that draw it again.
            DbTransaction tx(db);
            for (const char* t : kNamedTables)
                for (const char* e : kNameEvents)
                    for (const char* prefix : {"namedraw", "namestamp"})
                        db.Execute(QStringLiteral("drop trigger if exists ") + nameTrigger(t, e, prefix));
            db.Execute(QStringLiteral("drop table if exists namestamp"));
            db.Execute(db.isOdbc() ? QStringLiteral("create table namestamp (changes BIGINT, origin VARCHAR(40))")
                                   : QStringLiteral("create table namestamp (changes INTEGER, origin TEXT)"));
            db.Execute(QStringLiteral("insert into namestamp values (0, ") +
                       Quote(QUuid::createUuid().toString(QUuid::Id128)) + QLatin1Char(')'));
            // 53 bits on a server: its random number is a double.
            const QString draw =
                db.isOdbc() ? QStringLiteral("floor(rand() * 9007199254740992)") : QStringLiteral("random()");
            for (const char* t : kNamedTables)
                for (const char* e : kNameEvents)
                    db.Execute(QStringLiteral("create trigger %1 after %2 on `%3` for each row begin "
                                              "update namestamp set changes = %4; end")
                                   .arg(nameTrigger(t, e), QLatin1String(e), QLatin1String(t), draw));
            tx.commit();
        } else if (renew) {
            db.Execute(QStringLiteral("update namestamp set origin = ") +
                       Quote(QUuid::createUuid().toString(QUuid::Id128)));
        }
        whole = nameStampWhole(db);
    } catch (const DbError&) {
        // Read only, or no right to create triggers: stamps follow every commit.
        whole = false;
    }
    QSet<QString> tables;
    if (whole)
        for (const char* t : kNamedTables)
            tables.insert(QString::fromLatin1(t).toLower());
    db.keepNameStamp(tables, whole ? std::function<bool(DbConnection&)>(nameStampWhole) : nullptr);
    return whole;
}

bool EnsureRowKeys(DbConnection& db)
{
    if (!db.isOdbc()) {
        db.keepRowKeys(true);
        return true;
    }
    const auto keyed = [&db] {
        QSet<QString> out;
        for (auto rs = db.OpenRecordset(QStringLiteral("select lower(table_name) from information_schema.columns where "
                                                       "table_schema = database() and column_name = ") +
                                        Quote(QLatin1String(kRowKey)));
             !rs->Eof(); rs->MoveNext())
            out.insert(rs->Fields(0).toString());
        return out;
    };
    bool all = false;
    try {
        QSet<QString> have = keyed();
        QStringList lacking;
        for (const char* t : kNamedTables)
            if (!have.contains(QString::fromLatin1(t).toLower()) && db.hasTable(QString::fromLatin1(t)))
                lacking << QString::fromLatin1(t);
        // A table is altered outside any transaction (the server would
        // commit it), and without waiting long for another workstation that
        // holds the table in a transaction of its own: the next login tries
        // again.
        if (!lacking.isEmpty() && !db.inTransaction()) {
            const QVariant wait = db.GetValue(QStringLiteral("select @@session.lock_wait_timeout"));
            db.Execute(QStringLiteral("set session lock_wait_timeout = 10"));
            // The copy the server makes numbers the rows in the order it
            // keeps them; the unique key then becomes the table's own order
            // (the first unique key of a table without a primary key is).
            for (const QString& t : lacking) {
                try {
                    db.Execute(QStringLiteral("alter table `%1` add column %2 bigint unsigned not null "
                                              "auto_increment invisible, add unique key %2 (%2)")
                                   .arg(t, QLatin1String(kRowKey)));
                } catch (const DbError&) {
                    // Another workstation may have added it just now; a
                    // refusal leaves the rest as they are.
                    if (!keyed().contains(t.toLower()))
                        break;
                }
            }
            db.Execute(QStringLiteral("set session lock_wait_timeout = ") +
                       QString::number(qint64(StoredNumber(wait))));
            have = keyed();
        }
        all = true;
        for (const QString& t : lacking)
            all = all && have.contains(t.toLower());
    } catch (const DbError&) {
        all = false;
    }
    db.keepRowKeys(all);
    return all;
}

void EnsureKeptData(DbConnection& db, bool restored, const SummaryProgress& progress, std::exception_ptr* failure)
{
    EnsureSummaries(db, progress, failure);
    EnsureNameStamp(db, restored);
    EnsureRowKeys(db);
}

} // namespace platform
