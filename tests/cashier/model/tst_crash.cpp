// Saves that die at any moment, and two workstations saving at once, on a
// copy of the sample database (a file, or a database on a server): every
// transaction number keeps all its rows or none, ids and numbers stay
// unique, and a file stays sound.
#include "data/db.h"
#include "savechild.h"
#include "support/datafixture.h"
#include "support/testserver.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

class TestCrash : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<platform::DbConnection> db;
    QString file;
    qint64 baseNo = 0;       // the last number before the first test sale
    qint64 baseStock = 0;    // stock-flow rows before it
    QStringList saleCodes;   // the codes of one whole sale's journal rows
    qint64 stockPerSale = 0; // its stock-flow rows

    qint64 count(const QString& sql) { return db->GetValue(sql).toLongLong(); }
    QStringList codesOf(qint64 no)
    {
        QStringList codes;
        auto rs = db->OpenRecordset(QStringLiteral("select Category, Code from cash where no=%1 order by ID").arg(no));
        for (; !rs->Eof(); rs->MoveNext())
            codes << rs->Fields(0).toString() + QLatin1Char('/') + rs->Fields(1).toString();
        return codes;
    }
    QProcess* startChild(const QStringList& args)
    {
        auto* p = new QProcess(this);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(), args);
        return p;
    }
    // Every number since the first test sale whole, its lines out of their
    // carts, ids and numbers unique, the file sound. Gives the sales saved.
    void verify(qint64& sales)
    {
        sales = count(QStringLiteral("select count(distinct no) from cash where no>%1").arg(baseNo));
        QCOMPARE_EQ(count(QStringLiteral("select max(no) from cash")), baseNo + sales);
        for (qint64 no = baseNo + 1; no <= baseNo + sales; ++no)
            QCOMPARE(codesOf(no), saleCodes);
        QCOMPARE_EQ(count(QStringLiteral("select count(*) from stockflow")), baseStock + sales * stockPerSale);
        QCOMPARE_EQ(count(QStringLiteral("select count(*) - count(distinct ID) from cash")), 0);
        QCOMPARE_EQ(count(QStringLiteral("select count(*) - count(distinct id) from stockflow")), 0);
        QCOMPARE_EQ(count(QStringLiteral("select count(*) from Salecart where charge in "
                                         "(select Charge from cash where no>%1)")
                              .arg(baseNo)),
                    0);
        if (!OnServer())
            QCOMPARE(db->GetValue(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
    }

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Velmont Cafe & Resto.cdb")});
        db = std::make_unique<platform::DbConnection>();
        if (OnServer()) {
            file = NewServerSampleDatabase();
            db->OpenOdbc(file);
        } else {
            file = fx->path(QStringLiteral("Velmont Cafe & Resto.cdb"));
            db->Open(file);
        }
        baseNo = count(QStringLiteral("select max(no) from cash"));
        baseStock = count(QStringLiteral("select count(*) from stockflow"));
        // One whole sale, uninterrupted, is what every later one must match.
        const qint64 no = SaveOneSale(*db, QStringLiteral("FIRST"));
        QCOMPARE(no, baseNo + 1);
        saleCodes = codesOf(no);
        QVERIFY(saleCodes.contains(QStringLiteral("Shop/SUSU"))); // the purchase row
        QVERIFY(saleCodes.contains(QStringLiteral("Sale/DS")));
        QVERIFY(saleCodes.contains(QStringLiteral("Sale/PN")));
        stockPerSale = count(QStringLiteral("select count(*) from stockflow")) - baseStock;
        QVERIFY(stockPerSale > 0);
    }
    void cleanup()
    {
        db.reset();
        fx.reset();
    }

    void killedAtRandomMoments()
    {
        auto* rng = QRandomGenerator::global();
        for (int i = 0; i < 30; ++i) {
            QProcess* p = startChild({QStringLiteral("--save-loop"), file});
            QVERIFY(p->waitForStarted());
            QVERIFY(p->waitForReadyRead(60000));
            QThread::msleep(rng->bounded(60));
            p->kill(); // SIGKILL
            QVERIFY(p->waitForFinished());
            QCOMPARE(p->exitStatus(), QProcess::CrashExit);
            delete p;
        }
        qint64 sales = 0;
        verify(sales);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(sales > 30, qPrintable(QStringLiteral("only %1 sales saved").arg(sales)));
    }

    void twoWorkstationsAtOnce()
    {
        QProcess* a = startChild({QStringLiteral("--save-n"), file, QStringLiteral("A"), QStringLiteral("40")});
        QProcess* b = startChild({QStringLiteral("--save-n"), file, QStringLiteral("B"), QStringLiteral("40")});
        for (QProcess* p : {a, b}) {
            QVERIFY(p->waitForFinished(50000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        qint64 sales = 0;
        verify(sales);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(sales, qint64(81));
        for (const char* who : {"A-%", "B-%"})
            QCOMPARE(count(QStringLiteral("select count(distinct no) from cash where Charge like '%1'")
                               .arg(QLatin1String(who))),
                     qint64(40));
    }
};

int runCrashTests(int argc, char** argv)
{
    TestCrash t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_crash.moc"
