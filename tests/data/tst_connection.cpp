// The connection: what an open takes and what a refused one leaves, on
// database files and on a server; transactions against a second connection
// that holds a lock.
#include "data/db.h"
#include "data/keptdata.h"
#include "data/serverschema.h"
#include "data/sqltext.h"
#include "support/datafixture.h"
#include "support/testserver.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <functional>

using namespace platform;

namespace {

qint64 rows(DbConnection& db, const QString& where)
{
    return static_cast<qint64>(StoredNumber(db.GetValue(QStringLiteral("select count(*) from config where ") + where)));
}

// Whether the Customer table's stamp moved since it was last asked (the
// name looked up in another case each time).
class CustomerStamp {
public:
    explicit CustomerStamp(DbConnection& db) : m_db(db), m_stamp(db.tableStamp(QStringLiteral("Customer"))) {}
    bool known() const { return !m_stamp.isEmpty(); }
    bool moved()
    {
        const QByteArray now = m_db.tableStamp(QStringLiteral("CUSTOMER"));
        const bool did = now != m_stamp;
        m_stamp = now;
        return did;
    }

private:
    DbConnection& m_db;
    QByteArray m_stamp;
};

// With the count the database keeps, another workstation's commit moves
// the stamp of a table of names only when it wrote that table, and a new
// login keeps it; without its triggers (dropped by hand) the stamps follow
// every commit again.
void keptNameStamp(DbConnection& db)
{
    QVERIFY(platform::EnsureNameStamp(db));
    QVERIFY(platform::EnsureNameStamp(db));
    DbConnection other;
    OpenAnother(other, db);
    CustomerStamp stamp(db);
    QVERIFY(stamp.known());
    other.Execute(QStringLiteral("insert into Salecart (id, charge) values(4, 'Meja 1')"));
    db.Execute(QStringLiteral("insert into Salecart (id, charge) values(5, 'Meja 1')"));
    QVERIFY(!stamp.moved());
    other.Execute(QStringLiteral("update Supplier set `name`='x' where 1=0"));
    QVERIFY(!stamp.moved());
    other.Execute(QStringLiteral("insert into `Cash InItems` values('K', 'A', 'B', 1, 0, 'C')"));
    QVERIFY(stamp.moved());
    other.Execute(QStringLiteral("insert into Customer values('C7', 'Tono', '', '', '')"));
    QVERIFY(stamp.moved());
    other.Execute(QStringLiteral("update Customer set `name`='Toni' where code='C7'"));
    QVERIFY(stamp.moved());
    db.Execute(QStringLiteral("delete from Customer"));
    QVERIFY(stamp.moved());
    // The same database logged in to again keeps its stamp; one put back
    // from a copy gets a new one.
    const QString path = db.path();
    if (db.isOdbc())
        db.OpenOdbc(path);
    else
        db.Open(path);
    QVERIFY(platform::EnsureNameStamp(db));
    QVERIFY(!stamp.moved());
    QVERIFY(platform::EnsureNameStamp(db, true));
    QVERIFY(stamp.moved());
    if (db.isOdbc())
        return;
    other.Execute(QStringLiteral("drop trigger namedraw_customer_update"));
    QVERIFY(stamp.moved());
    other.Execute(QStringLiteral("insert into Salecart (id, charge) values(6, 'Meja 1')"));
    QVERIFY(stamp.moved());
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    // A database opened after another takes its place whole: its path and
    // engine, '&' joining texts, writes that land in it and not in the one
    // before, and a new change stamp even for the same file again.
    void anOpenTakesThePlaceOfTheOneBefore()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        const QString first = fx.path(QStringLiteral("first.cdb")), second = fx.path(QStringLiteral("second.cdb"));
        QVERIFY(QFile::copy(fx.path(QStringLiteral("Empty.tdb")), first));
        QVERIFY(QFile::copy(fx.path(QStringLiteral("Empty.tdb")), second));
        DbConnection db;
        db.Open(first);
        const QByteArray stamp = db.changeStamp();
        QVERIFY(!stamp.isEmpty());
        db.Open(first);
        QVERIFY(db.changeStamp() != stamp);
        db.Open(second);
        QVERIFY(db.isOpen());
        QVERIFY(!db.isOdbc());
        QCOMPARE(db.path(), QFileInfo(second).absoluteFilePath());
        QCOMPARE(db.GetValue(QStringLiteral("select 'a' & 1")).toString(), QStringLiteral("a1"));
        db.Execute(QStringLiteral("insert into config values('Only', 'second')"));
        {
            DbConnection check;
            check.Open(first);
            QCOMPARE(rows(check, QStringLiteral("`key`='Only'")), 0);
        }
        if (!OnServer())
            return;

        // From a file to a server and back.
        const QString server = NewServerTemplateDatabase();
        db.OpenOdbc(server);
        QVERIFY(db.isOdbc());
        QCOMPARE(db.path(), server);
        QVERIFY(db.changeStamp().isEmpty());
        QCOMPARE(rows(db, QStringLiteral("`key`='Only'")), 0);
        // The session reads '||' as joining, as the file engine does.
        QCOMPARE(db.GetValue(QStringLiteral("select 'a' || 'b' & 1")).toString(), QStringLiteral("ab1"));
        db.Open(second);
        QVERIFY(!db.isOdbc());
        QCOMPARE(db.path(), QFileInfo(second).absoluteFilePath());
        QVERIFY(!db.changeStamp().isEmpty());
        QCOMPARE(db.GetValue(QStringLiteral("select 'a' & 1")).toString(), QStringLiteral("a1"));
        QCOMPARE(rows(db, QStringLiteral("`key`='Only'")), 1);
    }

    // A database that cannot be opened is refused in words of its own; the
    // one open before stays open, on the same engine, and in use.
    void aRefusedOpenLeavesTheOneBefore()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        fx.openTemplate(db);
        const QString before = db.path();
        const bool odbc = db.isOdbc();
        const auto refused = [&](const std::function<void()>& open) -> QString {
            QString message;
            try {
                open();
            } catch (const DbError& e) {
                message = e.message();
            }
            if (!db.isOpen() || db.path() != before || db.isOdbc() != odbc ||
                db.GetValue(QStringLiteral("select count(*) from operator")).toInt() != 1)
                return QStringLiteral("the open database was lost");
            return message;
        };

        const QString missing = fx.path(QStringLiteral("missing.cdb"));
        QCOMPARE(refused([&] { db.Open(missing); }), QStringLiteral("Berkas database tidak ditemukan: ") + missing);
        QVERIFY(!QFile::exists(missing));
        const QString text = fx.path(QStringLiteral("notes.cdb"));
        const QString broken = fx.path(QStringLiteral("broken.cdb"));
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Catatan kasir, bukan database\n");
            QFile g(broken);
            QVERIFY(g.open(QIODevice::WriteOnly));
            g.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 'x'));
        }
        QCOMPARE(refused([&] { db.Open(text); }), QStringLiteral("Berkas ini bukan database: ") + text);
        QCOMPARE(refused([&] { db.Open(broken); }),
                 QStringLiteral("Berkas ini bukan database yang dapat dibuka: ") + broken);
        QCOMPARE(refused([&] { db.OpenOdbc(QStringLiteral("DSN=orv-no-such-source")); }),
                 QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))
                     ? QStringLiteral("Koneksi ODBC gagal")
                     : QStringLiteral("Driver ODBC tidak terpasang"));
        if (OnServer())
            QCOMPARE(refused([&] { db.OpenOdbc(CaseSensitiveServerDatabase()); }),
                     QStringLiteral("Server database membedakan huruf besar/kecil pada nama tabel; "
                                    "setel lower_case_table_names=1 pada server"));
    }

    // Read-only holds until the next open says otherwise, also when the
    // file is put back under the open connection and opened again.
    void readOnlyLastsUntilTheNextOpen()
    {
        if (OnServer())
            QSKIP("the mode of a database file");
        DataFixture fx({QStringLiteral("Empty.tdb")});
        const QString file = fx.path(QStringLiteral("Empty.tdb"));
        const QString insert = QStringLiteral("insert into config values('A', '1')");
        DbConnection db;
        db.Open(file, true);
        QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(insert));
        QVERIFY(QFile::rename(file, file + QStringLiteral(".old")));
        QVERIFY(QFile::copy(file + QStringLiteral(".old"), file));
        QVERIFY(rows(db, QStringLiteral("1=1")) > 0);
        QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(insert));
        db.Open(file);
        db.Execute(insert);
        QCOMPARE(rows(db, QStringLiteral("`key`='A'")), 1);
    }

    // A table's stamp stays while this connection writes other tables (a
    // cart line leaves the contacts' names where they were read) and moves
    // with a write to it under any spelling of its name, a rollback, a
    // schema change and another workstation's commit of any table.
    void aTableStampMovesWithWhatMayChangeTheTable()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        fx.openTemplate(db);
        if (db.isOdbc()) {
            QVERIFY(db.tableStamp(QStringLiteral("Customer")).isEmpty());
            keptNameStamp(db);
            return;
        }
        CustomerStamp stamp(db);
        QVERIFY(stamp.known());
        db.Execute(QStringLiteral("insert into `Salecart` (id, charge) values(1, 'Meja 1')"));
        db.Execute(QStringLiteral("update Salecart set charge='Meja 2'"));
        db.Execute(QStringLiteral("delete from \"Salecart\" where id=1"));
        db.GetValue(QStringLiteral("select count(*) from Customer"));
        QVERIFY(!stamp.moved());
        for (const char* write :
             {"insert into `Customer` values('C1', 'Ani', '', '', '')",
              "INSERT OR REPLACE INTO main.Customer values('C2', 'Budi', '', '', '')",
              "update  customer set `name`='Anik' where code='C1'", "delete from [CUSTOMER] where code='C2'"}) {
            db.Execute(QString::fromLatin1(write));
            QVERIFY2(stamp.moved(), write);
        }
        db.Begin();
        db.Execute(QStringLiteral("insert into Salecart (id, charge) values(2, 'Meja 1')"));
        db.Rollback();
        QVERIFY(stamp.moved());
        db.Execute(QStringLiteral("create table scratch (a)"));
        QVERIFY(stamp.moved());
        DbConnection other;
        other.Open(db.path());
        other.Execute(QStringLiteral("insert into Salecart (id, charge) values(3, 'Meja 1')"));
        QVERIFY(stamp.moved());
        QVERIFY(!stamp.moved());
        keptNameStamp(db);
    }

    // A server database made before the lists were read by pages gets the
    // column that numbers its listed tables' rows at the next login: the
    // rows keep the order the server gave them, `select *` and an insert
    // without a column list (from another workstation too) see the table as
    // before, a new row gets a higher number. A login without the right to
    // alter a table goes on without it.
    void aServerDatabaseGetsItsRowNumbersOnce()
    {
        if (!OnServer())
            QSKIP("a file numbers its rows itself");
        const QString text = NewServerDatabase();
        const QString name = text.mid(text.lastIndexOf(QLatin1Char('=')) + 1);
        DbConnection db;
        db.OpenOdbc(text);
        PrepareServerDatabase(db);
        QCOMPARE(db.rowKey(), QStringLiteral("orv_row"));
        const auto column = [&](const QString& sql) {
            QStringList out;
            for (auto rs = db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
                out << rs->Fields(0).toString();
            return out;
        };
        const QStringList listed =
            column(QStringLiteral("select lower(table_name) from information_schema.columns "
                                  "where table_schema = database() and column_name = 'orv_row'"));
        QCOMPARE(listed.size(), 9);
        for (const QString& t : listed)
            db.Execute(QStringLiteral("alter table `%1` drop column orv_row").arg(t));
        for (const char* row : {"'C5', 'Eko'", "'C3', 'Cici'", "'C9', 'Ina'", "'C1', 'Ani'"})
            db.Execute(QStringLiteral("insert into Customer values(%1, '', '', '')").arg(QLatin1String(row)));
        db.Execute(QStringLiteral("delete from Customer where code = 'C3'"));
        db.Execute(QStringLiteral("insert into Customer values('C2', 'Budi', '', '', '')"));
        const QStringList before = column(QStringLiteral("select code, `name` from Customer"));

        // Without the right to alter a table.
        db.Execute(QStringLiteral("create user if not exists orvclerk@localhost identified by 'clerk'"));
        db.Execute(QStringLiteral("grant select, insert, update, delete on `%1`.* to orvclerk@localhost").arg(name));
        {
            DbConnection clerk;
            clerk.OpenOdbc(
                QString(text).replace(QStringLiteral("UID=root;PWD="), QStringLiteral("UID=orvclerk;PWD=clerk")));
            QVERIFY(!platform::EnsureRowKeys(clerk));
            QVERIFY(clerk.rowKey().isEmpty());
            QCOMPARE(StoredNumber(clerk.GetValue(QStringLiteral("select count(*) from Customer"))), 4.0);
        }

        db.OpenOdbc(text);
        QVERIFY(db.rowKey().isEmpty());
        QVERIFY(platform::EnsureRowKeys(db));
        QCOMPARE(db.rowKey(), QStringLiteral("orv_row"));
        QCOMPARE(column(QStringLiteral("select code, `name` from Customer order by orv_row")), before);
        QCOMPARE(db.OpenRecordset(QStringLiteral("select * from Customer"))->columnCount(), 5);
        DbConnection other;
        other.OpenOdbc(text);
        other.Execute(QStringLiteral("insert into Customer values('C0', 'Zed', '', '', '')"));
        db.Execute(QStringLiteral("insert into Customer (code, `name`) values('C4', 'Dodi')"));
        const QStringList after = before + QStringList{QStringLiteral("C0"), QStringLiteral("C4")};
        QCOMPARE(column(QStringLiteral("select code, `name` from Customer order by orv_row")), after);
        QCOMPARE(column(QStringLiteral("select code, `name` from Customer")), after);
        QVERIFY(platform::EnsureRowKeys(other));
    }

    void failedCommitRollsBackAndFreesTheFile()
    {
        if (OnServer())
            QSKIP("a read lock on a database file");
        DataFixture fx({QStringLiteral("Empty.tdb")});
        const QString file = fx.path(QStringLiteral("Empty.tdb"));
        const int busy = DbConnection::busyTimeout();
        DbConnection::setBusyTimeout(50);
        DbConnection db;
        db.Open(file);
        DbConnection third;
        third.Open(file);
        DbConnection::setBusyTimeout(busy);
        {
            // Another workstation reads inside its own transaction, so its
            // read lock outlasts the busy timeout of the writer's COMMIT.
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
            other.setDatabaseName(file);
            QVERIFY(other.open());
            QSqlQuery reader(other);
            QVERIFY(reader.exec(QStringLiteral("begin")));
            QVERIFY(reader.exec(QStringLiteral("select count(*) from config")));
            QVERIFY(reader.next());
            reader.finish();

            db.Begin();
            db.Execute(QStringLiteral("insert into config values('A', '1')"));
            QVERIFY_THROWS_EXCEPTION(DbError, db.Commit());
            QVERIFY(!db.inTransaction());
            QVERIFY(reader.exec(QStringLiteral("commit")));
            reader = QSqlQuery();
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));
        // Nothing of it was written, and the file is free for the others.
        third.Execute(QStringLiteral("insert into config values('B', '2')"));
        QCOMPARE(rows(third, QStringLiteral("`key`='A'")), 0);
        // The next write of the first workstation is no longer swallowed by
        // a transaction left open.
        db.Execute(QStringLiteral("insert into config values('C', '3')"));
        QCOMPARE(rows(third, QStringLiteral("`key` in ('B', 'C')")), 2);
        db.Begin();
        db.Execute(QStringLiteral("insert into config values('D', '4')"));
        db.Commit();
        QCOMPARE(rows(third, QStringLiteral("`key`='D'")), 1);
    }

    void aFailedPartFailsTheWholeTransaction()
    {
        if (OnServer())
            QSKIP("the file engine's own word on its transaction");
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        DbConnection other;
        other.Open(fx.path(QStringLiteral("Empty.tdb")));
        const QString none = QStringLiteral("`key` in ('A', 'B', 'C')");

        // An inner roll-back: every later statement, Begin and the outer
        // Commit raise, and nothing is stored.
        db.Begin();
        db.Execute(QStringLiteral("insert into config values('A', '1')"));
        db.Begin();
        db.Execute(QStringLiteral("insert into config values('B', '2')"));
        db.Rollback();
        QVERIFY(db.inTransaction());
        QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(QStringLiteral("insert into config values('C', '3')")));
        QVERIFY_THROWS_EXCEPTION(DbError, db.GetValue(QStringLiteral("select count(*) from config")));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Begin());
        QVERIFY_THROWS_EXCEPTION(DbError, db.Commit());
        QVERIFY(!db.inTransaction());
        QCOMPARE(rows(other, none), 0);

        // The same through DbTransaction, with the inner failure caught.
        {
            DbTransaction outer(db);
            db.Execute(QStringLiteral("insert into config values('A', '1')"));
            try {
                DbTransaction inner(db);
                db.Execute(QStringLiteral("insert into nosuch values(1)"));
                inner.commit();
            } catch (const DbError&) {
            }
            QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(QStringLiteral("insert into config values('B', '2')")));
            QVERIFY_THROWS_EXCEPTION(DbError, outer.commit());
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(rows(other, none), 0);

        // A failed statement that the caller passes over fails its
        // transaction too.
        db.Begin();
        db.Execute(QStringLiteral("insert into config values('A', '1')"));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(QStringLiteral("insert into nosuch values(1)")));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Commit());
        QCOMPARE(rows(other, none), 0);

        // The engine's word counts over the depth: a transaction ended behind
        // the component's back does not go on in pieces.
        db.Begin();
        db.Execute(QStringLiteral("insert into config values('A', '1')"));
        db.Execute(QStringLiteral("rollback"));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Execute(QStringLiteral("insert into config values('B', '2')")));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Commit());
        QCOMPARE(rows(other, none), 0);

        // And afterwards the connection works as before.
        {
            DbTransaction tx(db);
            db.Execute(QStringLiteral("insert into config values('C', '3')"));
            DbTransaction inner(db);
            db.Execute(QStringLiteral("insert into config values('B', '2')"));
            inner.commit();
            tx.commit();
        }
        QCOMPARE(rows(other, none), 2);
    }
};

int runConnectionTests(int argc, char** argv)
{
    TestConnection t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_connection.moc"
