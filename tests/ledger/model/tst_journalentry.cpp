// The journal rows written by hand, on the sample database as a login leaves
// it.
#include "cashier/model/journal.h"
#include "data/db.h"
#include "ledger/model/journalentry.h"
#include "support/datafixture.h"

#include <QTest>

class TestJournalEntry : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    platform::DbConnection* db = nullptr;

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{DataFixture::kSample + QStringLiteral(".cdb")});
        fx->sampleEntry();
        db = &fx->openAsLogin(DataFixture::kSample);
        db->Execute(QStringLiteral("delete from cash"));
    }
    void cleanup() { fx.reset(); }

    // What an entry becomes, for the six kind words: its amount in the
    // kind's column and on the kind's side; price and discount from the
    // items table now, 0 for a code it does not hold; a quantity with a
    // decimal comma; an empty price or total as 0.
    void rowOfAnEntry()
    {
        ledger::JournalEntry e;
        e.code = QStringLiteral("KSGA");
        e.name = QStringLiteral("Es Kopi Susu");
        e.price = QStringLiteral("22,500");
        e.quantity = QStringLiteral("1,5");
        e.total = QStringLiteral("33,750");
        struct Kind {
            const char* word;
            double cashier::JournalRow::*column;
            bool debit;
        };
        const Kind kinds[] = {
            {"Sale", &cashier::JournalRow::sale, true},
            {"Shop", &cashier::JournalRow::shop, false},
            {"Cash In", &cashier::JournalRow::cashIn, true},
            {"Cash Out", &cashier::JournalRow::cashOut, false},
            {"Sale Retur", &cashier::JournalRow::saleRetur, false},
            {"Shop Retur", &cashier::JournalRow::shopRetur, true},
        };
        for (const Kind& k : kinds) {
            e.action = QLatin1String(k.word);
            const cashier::JournalRow r = ledger::MakeJournalRow(*db, e);
            const double sum = r.sale + r.shop + r.cashIn + r.cashOut + r.saleRetur + r.shopRetur;
            QCOMPARE(r.*k.column, 33750.0);
            QCOMPARE(sum, 33750.0);
            QCOMPARE(k.debit ? r.debit : r.credit, 33750.0);
            QCOMPARE(k.debit ? r.credit : r.debit, 0.0);
            QCOMPARE(r.subtotal, 22500.0);
            QCOMPARE(r.quantity, 1.5);
        }
        e.action = QStringLiteral("Sale");
        cashier::JournalRow r = ledger::MakeJournalRow(*db, e);
        QCOMPARE(r.price, 25000.0);
        QCOMPARE(r.discount, 10.0);
        e.action = QStringLiteral("Shop"); // not a buying item
        e.price.clear();
        e.total.clear();
        r = ledger::MakeJournalRow(*db, e);
        QCOMPARE(r.price, 0.0);
        QCOMPARE(r.discount, 0.0);
        QCOMPARE(r.subtotal, 0.0);
        QCOMPARE(r.credit, 0.0);

        r.moment = QDate(2010, 1, 2);
        QCOMPARE(
            ledger::JournalUpdateSql(r, 7, QStringLiteral("Access")),
            QStringLiteral("update cash set Category='Shop', Moment='2010-01-02', Keterangan='', Cashier='', "
                           "Warehouse='', Charge='', Code='KSGA', Description='Es Kopi Susu', Price=0, Discount=0, "
                           "SubTotal=0, Quantity=1.5, Unit='', Sale=0, Shop=0, Shop_Retur=0, Sale_Retur=0, "
                           "Cash_In=0, Cash_Out=0, Debit=0, Credit=0 where ID=7"));
    }
};

int runJournalEntryTests(int argc, char** argv)
{
    TestJournalEntry t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_journalentry.moc"
