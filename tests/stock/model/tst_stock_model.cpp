// The stock rules on a fresh database as a login leaves it: ids, quantities
// on hand by code and by description, typed quantities, list rows and link
// ids, and writes of several rows that are all or nothing.
#include "data/db.h"
#include "data/sqltext.h"
#include "stock/model/stockmodel.h"
#include "support/datafixture.h"
#include "support/datarows.h"

#include <QTest>

class TestStockModel : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    platform::DbConnection* db = nullptr;

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Empty.tdb")});
        fx->newEntry(QStringLiteral("Toko"));
        db = &fx->openAsLogin(QStringLiteral("Toko"));
    }
    void cleanup() { fx.reset(); }

    void idsStartAtOneAndFollowTheLargest()
    {
        QCOMPARE(platform::NewId(*db, "stockflow", "id"), 1);
        QCOMPARE(stock::AddLink(*db, stock::Side::Shop, "A", "B", "1"), 1);
        QCOMPARE(stock::AddLink(*db, stock::Side::Shop, "A", "C", "1"), 2);
        QCOMPARE(stock::AddLink(*db, stock::Side::Sale, "A", "C", "1"), 1);
        db->Execute("insert into stockshop values(40, 'X', 'Y', '1')");
        QCOMPARE(stock::AddLink(*db, stock::Side::Shop, "A", "D", "1"), 41);
    }

    void onHandByCodeAndByDescription()
    {
        QCOMPARE(stock::OnHand(*db, "KOPI"), 0.0);
        stock::Movement m{QDate(2026, 1, 2), "Opname", "KOPI", "Kopi", "Kg", 10, 0};
        stock::WriteMovement(*db, DataFixture::dbKind(), m);
        m.in = 0;
        m.out = 12.5;
        m.description = "Kopi Lama";
        stock::WriteMovement(*db, DataFixture::dbKind(), m);
        QCOMPARE(stock::OnHand(*db, "KOPI"), -2.5);
        QCOMPARE(stock::OnHand(*db, "KOPI", "Kopi"), 10.0);
        QCOMPARE(stock::QuantityText(-2.5), QString("-2.5"));
        QCOMPARE(stock::QuantityText(13.0), QString("13"));
        QCOMPARE(rowsOf(*db, "select id, moment, category, `in`, `out` from stockflow"),
                 (QStringList{"1|2026-01-02|Opname|10|0", "2|2026-01-02|Opname|0|12.5"}));
    }

    void typedQuantities_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "2,5" << true << 2.5;
        QTest::newRow("point") << "2.5" << true << 2.5;
        QTest::newRow("trailing comma") << "5," << true << 5.0;
        QTest::newRow("lone comma") << "," << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "1a" << false << 0.0;
    }
    void typedQuantities()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        bool good = !ok;
        QCOMPARE(stock::TypedQuantity(text, &good), value);
        QCOMPARE(good, ok);
    }

    void rowsAndLinkIds()
    {
        QCOMPARE(stock::StockRow(stock::StockLine{"KOPI", "Kopi Arabika", "Kg", 0}),
                 QString("KOPI     Kopi Arabika                              0 Kg"));
        QCOMPARE(stock::StockRow(stock::StockLine{"KOPI", "Kopi", "Kg", 0}).size(), 55);
        const QString row = stock::LinkRow(stock::LinkLine{7, "ES#1", "Es Kopi #2", "2"}, "Kg");
        QCOMPARE(row.size(), 65);
        QVERIFY(row.endsWith("           2 Kg        #7"));
        qint64 id = 0;
        QVERIFY(stock::LinkRowId(row, id));
        QCOMPARE(id, 7);
        QVERIFY(!stock::LinkRowId("no id here", id));
    }

    // Each multi-row write is all or nothing: a failing last statement
    // leaves the earlier ones undone.
    void failedWritesLeaveNothing()
    {
        db->Execute("alter table stockflow rename to stockflow_gone");
        QVERIFY_THROWS_EXCEPTION(platform::DbError, stock::AddStockItem(*db, DataFixture::dbKind(), "KOPI", "Kopi",
                                                                        "Kg", 5, QDate::currentDate()));
        QCOMPARE(count(*db, "select count(*) from stock"), 0);
        db->Execute("alter table stockflow_gone rename to stockflow");

        stock::AddStockItem(*db, DataFixture::dbKind(), "KOPI", "Kopi", "Kg", 5, QDate::currentDate());
        stock::AddLink(*db, stock::Side::Sale, "KOPI", "ES", "1");
        db->Execute("alter table stockshop rename to stockshop_gone");
        QVERIFY_THROWS_EXCEPTION(platform::DbError, stock::DeleteStockItem(*db, "KOPI"));
        QCOMPARE(count(*db, "select count(*) from stock"), 1);
        QCOMPARE(count(*db, "select count(*) from stocksale"), 1);
    }
};

int runStockModelTests(int argc, char** argv)
{
    TestStockModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_stock_model.moc"
