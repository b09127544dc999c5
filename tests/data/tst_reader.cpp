// The reader of queries on a database file: rows read straight from the
// engine as Qt's driver gave them, all at once or walked one at a time, and
// a read that fails part-way leaving nothing held.
#include "data/db.h"
#include "support/datafixture.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace platform;

class TestReader : public QObject {
    Q_OBJECT

private slots:
    // Rows read straight from the engine come as Qt's driver gave them:
    // the same names, types and null cells; a failed read fails the
    // transaction around it, and a file held by another workstation is
    // told as busy.
    void readsRowsAsTheDriverDid()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        const QString file = fx.path(QStringLiteral("Empty.tdb"));
        const int busy = DbConnection::busyTimeout();
        DbConnection::setBusyTimeout(50);
        DbConnection db;
        db.Open(file);
        DbConnection::setBusyTimeout(busy);
        db.Execute(QStringLiteral("insert into config values('Harga', '12.5')"));
        const QString sql =
            QStringLiteral("select config.`key`, setting as \"Nilai\", 7 as whole, 2.5 as half, null as empty, "
                           "'Kopi ☕ ''Aren''' as name, x'00ff' as raw from config where `key`='Harga'");
        auto rs = db.OpenRecordset(sql);
        {
            QSqlDatabase qt = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("viaQt"));
            qt.setDatabaseName(file);
            QVERIFY(qt.open());
            QSqlQuery viaQt(qt);
            QVERIFY(viaQt.exec(sql) && viaQt.next());
            const QSqlRecord rec = viaQt.record();
            QCOMPARE(rs->columnCount(), rec.count());
            for (int i = 0; i < rec.count(); ++i) {
                QCOMPARE(rs->names().at(i), rec.fieldName(i));
                const QVariant mine = rs->Fields(i).Value(), theirs = viaQt.value(i);
                QCOMPARE(mine.typeId(), theirs.typeId());
                QCOMPARE(mine.isNull(), theirs.isNull());
                QCOMPARE(mine, theirs);
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("viaQt"));
        QCOMPARE(rs->names(), (QStringList{"key", "Nilai", "whole", "half", "empty", "name", "raw"}));
        QCOMPARE(rs->Fields(QStringLiteral("name")).toString(), QStringLiteral("Kopi ☕ 'Aren'"));
        // Read in place, the same cells with the kinds they came as.
        int rows = 0;
        QVERIFY(db.ReadRows(sql, [&](const DbScanRow& row) {
            ++rows;
            QCOMPARE(row.kind(0), DbScanRow::Text);
            QCOMPARE(row.kind(2), DbScanRow::Whole);
            QCOMPARE(row.kind(3), DbScanRow::Real);
            QCOMPARE(row.number(3), 2.5);
            QVERIFY(row.isNull(4));
            QCOMPARE(QString::fromUtf8(row.text(5)), rs->Fields(5).toString());
            QCOMPARE(row.kind(6), DbScanRow::Bytes);
            QCOMPARE(row.text(6).toByteArray(), QByteArray("\x00\xff", 2));
        }));
        QCOMPARE(rows, 1);
        QVERIFY_THROWS_EXCEPTION(DbError, db.ReadRows(QStringLiteral("select * from nosuch"), [](const DbScanRow&) {}));

        db.Begin();
        db.Execute(QStringLiteral("insert into config values('A', '1')"));
        QVERIFY_THROWS_EXCEPTION(DbError, db.OpenRecordset(QStringLiteral("select * from nosuch")));
        QVERIFY_THROWS_EXCEPTION(DbError, db.Commit());
        QCOMPARE(db.GetValue(QStringLiteral("select count(*) from config where `key`='A'")).toInt(), 0);

        Workstation other(file);
        QVERIFY(other.exec(QStringLiteral("begin exclusive")));
        try {
            db.OpenRecordset(QStringLiteral("select * from config"));
            QFAIL("a read of a file held exclusively succeeded");
        } catch (const DbError& e) {
            QCOMPARE(e.nativeCode().toInt() & 0xff, 5);
        }
    }

    // A cursor gives the rows the recordset gives, holding one at a time;
    // past the last row there is no field to read.
    void aCursorWalksTheRowsOfTheRecordset()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        db.Execute(QStringLiteral("insert into saleitems values('A', 'K', 'Kopi', 10000, 10, 'Gelas'), "
                                  "('B', 'K', 'Teh', 45 * 0.7, 12.5, null), ('C', null, 'Roti', 0, 0, 'Pcs')"));
        const QString sql = QStringLiteral("select code, category, price, discount, satuan, 1 as one from saleitems "
                                           "order by code");
        auto all = db.OpenRecordset(sql);
        auto walked = db.OpenCursor(sql);
        QCOMPARE(all->rowCount(), 3);
        QCOMPARE(walked->names(), all->names());
        int n = 0;
        for (; !walked->Eof(); walked->MoveNext(), all->MoveNext(), ++n) {
            QVERIFY(!all->Eof());
            QCOMPARE(walked->rowCount(), 1);
            for (int i = 0; i < all->columnCount(); ++i) {
                const QVariant mine = walked->Fields(i).Value(), theirs = all->Fields(i).Value();
                QCOMPARE(mine.typeId(), theirs.typeId());
                QCOMPARE(mine.isNull(), theirs.isNull());
                QCOMPARE(mine, theirs);
            }
        }
        QCOMPARE(n, 3);
        QVERIFY(all->Eof());
        QCOMPARE(walked->rowCount(), 0);
        walked->MoveNext();
        QVERIFY(walked->Eof());
        QVERIFY_THROWS_EXCEPTION(DbError, walked->Fields(0));

        // No row at all: at the end at once, with the columns named.
        auto none = db.OpenCursor(QStringLiteral("select code, price from saleitems where 1 = 0"));
        QVERIFY(none->Eof());
        QCOMPARE(none->names(), (QStringList{"code", "price"}));
    }

    // A read that fails at its first row or a later one is raised with its
    // statement and holds no lock afterwards: another workstation writes at
    // once. A cursor given up half-way holds none either.
    void aFailedReadLeavesTheFileFree()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        const QString file = fx.path(QStringLiteral("Empty.tdb"));
        DbConnection db;
        db.Open(file);
        db.Execute(
            QStringLiteral("insert into saleitems values('A', 'K', 'Kopi', 1, 0, ''), ('B', 'K', 'Teh', 2, 0, '')"));
        // The second row holds a text that json() refuses.
        const QString sql = QStringLiteral("select code, json(case when code = 'B' then 'x{' else '1' end) as j "
                                           "from saleitems order by code");
        Workstation other(file);
        const auto free = [&] {
            return other.exec(QStringLiteral("begin exclusive")) && other.exec(QStringLiteral("rollback"));
        };
        try {
            db.OpenRecordset(sql);
            QFAIL("a read that failed at its second row gave a recordset");
        } catch (const DbError& e) {
            QCOMPARE(e.sql(), sql);
            QVERIFY(e.byEngine());
        }
        QVERIFY(free());
        {
            auto walked = db.OpenCursor(sql);
            QCOMPARE(walked->Fields(QStringLiteral("code")).toString(), QStringLiteral("A"));
            QVERIFY_THROWS_EXCEPTION(DbError, walked->MoveNext());
        }
        QVERIFY(free());
        {
            auto walked = db.OpenCursor(QStringLiteral("select code from saleitems order by code"));
            QVERIFY(!walked->Eof());
        }
        QVERIFY(free());
        try {
            db.OpenCursor(QStringLiteral("select nosuch from saleitems"));
            QFAIL("a statement that does not prepare gave a cursor");
        } catch (const DbError& e) {
            QCOMPARE(e.sql(), QStringLiteral("select nosuch from saleitems"));
        }
        QVERIFY(free());
    }

    // Rows written through one prepared insert store what their statements'
    // text would: the same values and types in text, integer and real
    // columns (a quote inside a text, a whole number, a real, a text in a
    // real column, null); a literal it cannot read goes as the text itself.
    void insertsStoreWhatTheirTextWould()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        for (const char* t : {"bound", "typed"})
            db.Execute(QStringLiteral("create table %1 (a TEXT, b INTEGER, c REAL, d REAL, e TEXT)").arg(t));
        const QList<QStringList> rows{
            {"'It''s'", "7", "-0.1", "'2'", "null"},
            {"'Kopi ☕'", "-5", "1e5", "12345678901234567890", "'x'"},
            {"''", "2.5", "0.30000000000000004", "'1,5'", "3"},
            {"'a'", "1 + 1", "7", "1000", "'b'"},
        };
        {
            DbTransaction tx(db);
            DbInserts bound(db, QStringLiteral("insert into bound values("));
            for (const QStringList& r : rows) {
                bound.insert(r);
                db.Execute(QStringLiteral("insert into typed values(") + r.join(QStringLiteral(", ")) +
                           QLatin1Char(')'));
            }
            tx.commit();
        }
        auto read = [&](const char* t) {
            QList<QVariantList> out;
            for (auto rs = db.OpenRecordset(QStringLiteral("select a, typeof(a), b, typeof(b), c, typeof(c), d, "
                                                           "typeof(d), e, typeof(e) from %1 order by rowid")
                                                .arg(t));
                 !rs->Eof(); rs->MoveNext()) {
                QVariantList r;
                for (int i = 0; i < rs->columnCount(); ++i)
                    r << rs->Fields(i).Value();
                out << r;
            }
            return out;
        };
        QCOMPARE(read("bound").size(), rows.size());
        QCOMPARE(read("bound"), read("typed"));
    }

    // A statement that does more than read goes through Qt's driver: it runs
    // once, is counted once, and gives its rows all the same.
    void statementsThatWriteGoThroughTheDriver()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        quint64 ran = db.statementCount();
        auto rs = db.OpenRecordset(QStringLiteral("insert into config values('A', '1') returning `key`, setting"));
        QCOMPARE(db.statementCount(), ran + 1);
        QCOMPARE(rs->names(), (QStringList{"key", "setting"}));
        QCOMPARE(rs->rowCount(), 1);
        QCOMPARE(rs->Fields(QStringLiteral("setting")).toString(), QStringLiteral("1"));
        ran = db.statementCount();
        auto walked = db.OpenCursor(QStringLiteral("insert into config values('B', '2') returning `key`"));
        QCOMPARE(db.statementCount(), ran + 1);
        QCOMPARE(walked->Fields(0).toString(), QStringLiteral("B"));
        walked->MoveNext();
        QVERIFY(walked->Eof());
        walked.reset();
        QCOMPARE(db.GetValue(QStringLiteral("select count(*) from config where `key` in ('A', 'B')")).toInt(), 2);
        ran = db.statementCount();
        db.OpenRecordset(QStringLiteral("select 1"));
        QCOMPARE(db.statementCount(), ran + 1);
    }
};

int runReaderTests(int argc, char** argv)
{
    TestReader t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_reader.moc"
