// The SQL text translator: '&' as text concatenation outside literals and
// quoted names, in the joining call of each engine, and what the joined
// texts read as on the engine of the pass.
#include "data/db.h"
#include "support/datafixture.h"
#include "support/testserver.h"

#include <QTest>

using platform::DbConnection;

class TestTranslator : public QObject {
    Q_OBJECT

private slots:
    void concatenationStatements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("engine");
        QTest::newRow("one") << "select discount & '%' from t"
                             << "select orv_concat(discount, '%') from t";
        QTest::newRow("chained") << "select a & ' ' & b as c"
                                 << "select orv_concat(a, ' ', b) as c";
        QTest::newRow("arithmetic inside") << "select price - discount & '%' from t"
                                           << "select orv_concat(price - discount, '%') from t";
        QTest::newRow("comparison outside") << "where code = 'K' & x and n like a & '%'"
                                            << "where code = orv_concat('K', x) and n like orv_concat(a, '%')";
        QTest::newRow("values and groups")
            << "insert into t values((a & (b & c)), 'x&y', `A & B`)"
            << "insert into t values((orv_concat(a, (orv_concat(b, c)))), 'x&y', `A & B`)";
        QTest::newRow("calls") << "select sum(x) & '' from t"
                               << "select orv_concat(sum(x), '') from t";
        QTest::newRow("quoted only") << "select 'Cafe & Resto', \"a&b\" from `Cash & Carry`"
                                     << "select 'Cafe & Resto', \"a&b\" from `Cash & Carry`";
    }
    void concatenationStatements()
    {
        QFETCH(QString, sql);
        QFETCH(QString, engine);
        QCOMPARE(DbConnection::translate(sql), engine);
    }

    void concatenationReadsNumbersAsTheProgramDid()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        fx.openTemplate(db);
        db.Execute(QStringLiteral("insert into saleitems values('A', 'K', 'Kopi', 10000, 10, 'Gelas')"));
        db.Execute(QStringLiteral("insert into saleitems values('B', 'K', 'Teh', 45 * 0.7, 12.5, null)"));
        auto rs = db.OpenRecordset(QStringLiteral(
            "select discount & '%' as pct, price & ' / ' & satuan & '.' as line, `name` & ' & ' & code as tag "
            "from saleitems order by code"));
        QCOMPARE(rs->Fields(QStringLiteral("pct")).toString(), QStringLiteral("10%"));
        QCOMPARE(rs->Fields(QStringLiteral("line")).toString(), QStringLiteral("10000 / Gelas."));
        QCOMPARE(rs->Fields(QStringLiteral("tag")).toString(), QStringLiteral("Kopi & A"));
        rs->MoveNext();
        QCOMPARE(rs->Fields(QStringLiteral("pct")).toString(), QStringLiteral("12.5%"));
        QCOMPARE(rs->Fields(QStringLiteral("line")).toString(), QStringLiteral("31.5 / ."));
        QCOMPARE(db.GetValue(QStringLiteral("select 10 & '%'")).toString(), QStringLiteral("10%"));
        QCOMPARE(db.GetValue(QStringLiteral("select null & 'x' & null")).toString(), QStringLiteral("x"));
        QCOMPARE(db.GetValue(QStringLiteral("select count(*) from saleitems where code & '%' like 'a%'")).toInt(), 1);
    }

    // Where a chain ends and what an operand holds, in both engines' words.
    void chainBoundaries_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("server");
        auto row = [](const char* name, const char* sql, const char* file) {
            const QString f = QString::fromUtf8(file);
            QString s = f;
            s.replace(QLatin1String("orv_concat("), QLatin1String("concat_ws('', "));
            QTest::newRow(name) << QString::fromUtf8(sql) << f << s;
        };
        row("no ampersand", "select a, b from t where x = 'y'", "select a, b from t where x = 'y'");
        row("call with commas inside", "select coalesce(a, b) & c from t",
            "select orv_concat(coalesce(a, b), c) from t");
        row("case branches", "select case when x = 1 then a & b else c & d end from t",
            "select case when x = 1 then orv_concat(a, b) else orv_concat(c, d) end from t");
        row("doubled quote inside a literal", "select 'it''s & x' & a from t",
            "select orv_concat('it''s & x', a) from t");
        row("order and group words", "select a & b from t group by a & b order by a & b desc",
            "select orv_concat(a, b) from t group by orv_concat(a, b) order by orv_concat(a, b) desc");
        row("two statements", "select a & b; select c & d", "select orv_concat(a, b); select orv_concat(c, d)");
        row("qualified names", "select t.a & u.b from t join u on t.id = u.id",
            "select orv_concat(t.a, u.b) from t join u on t.id = u.id");
        row("literal left open", "select a & 'b & c", "select orv_concat(a, 'b & c)");
        row("blanks kept outside the chain", "select  a  &  b  ,  c", "select  orv_concat(a, b)  ,  c");
        row("non-ASCII names", "select nama_barang & ' – ' & satuan from t",
            "select orv_concat(nama_barang, ' – ', satuan) from t");
    }
    void chainBoundaries()
    {
        QFETCH(QString, sql);
        QFETCH(QString, file);
        QFETCH(QString, server);
        QCOMPARE(DbConnection::translate(sql), file);
        QCOMPARE(DbConnection::translate(sql, true), server);
    }

    // The same joined texts on the engine of the pass: a number without a
    // trailing ".0", NULL as nothing, a literal's '&' and quotes untouched.
    void joinedTextsOnTheEngine()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        fx.openTemplate(db);
        db.Execute(QStringLiteral("insert into saleitems values('C''1', 'K', 'Kopi & Teh', 2500, 0, null)"));
        auto rs = db.OpenRecordset(QStringLiteral("select code & ':' & (price * 2) & '/' & satuan & '/' & discount "
                                                  "& ' ' & 'it''s & ok' as line from saleitems"));
        QCOMPARE(rs->Fields(QStringLiteral("line")).toString(), QStringLiteral("C'1:5000//0 it's & ok"));
        QCOMPARE(
            db.GetValue(QStringLiteral("select count(*) from saleitems where `name` = 'Kopi' & ' & ' & 'Teh'")).toInt(),
            1);
        // In a write as well: the joined text is what is stored.
        db.Execute(QStringLiteral("update saleitems set satuan = 'Gelas' & ' ' & (price / 100) where code = 'C''1'"));
        QCOMPARE(db.GetValue(QStringLiteral("select satuan from saleitems")).toString(), QStringLiteral("Gelas 25"));
    }
};

int runTranslatorTests(int argc, char** argv)
{
    TestTranslator t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_translator.moc"
