// A till on a database server that goes away and comes back: every action
// while it is gone says the connection is lost, in the program's words, and
// leaves the figures shown; the driver's words go to the log; a save is
// refused whole; the next action once the server is back connects again
// and saves the held cart whole; the logout returns to the login panel.
#include "cashier/cashierpanel.h"
#include "catalogue/inventorypanel.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/db.h"
#include "shell/fmain.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QCoreApplication>
#include <QTest>

using namespace mMain;

namespace {
const QString kLost = QStringLiteral("Koneksi ke server database terputus");
} // namespace

class TestServerLost : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;
    CashierPanelView* p = nullptr;
    QString entry;

    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(w, k, mods); }
    void type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
    void addLine(const QString& code, const QString& quantity)
    {
        p->ciCode->selectAll();
        key(p->ciCode, Qt::Key_Backspace);
        type(p->ciCode, code);
        key(p->ciCode, Qt::Key_Return);
        p->ciQuantity->selectAll();
        type(p->ciQuantity, quantity);
        key(p->ciQuantity, Qt::Key_Return);
    }
    // What the operator was told by one action, the box cleared for the next;
    // the event loop turns as between two keys of a person.
    QStringList told()
    {
        const QStringList prompts = fx->ui->prompts();
        fx->ui->clear();
        QCoreApplication::processEvents();
        return prompts;
    }
    qint64 count(const QString& sql) { return GetValue(sql).toLongLong(); }

private slots:
    void init()
    {
        if (!OnServer())
            QSKIP("a database server that goes away");
        fx = std::make_unique<Fixture>();
        m = fx->main;
        entry = fx->sampleEntry();
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        p = dynamic_cast<CashierPanelView*>(m->cashierPanel());
        QVERIFY(p);
        QVERIFY(!m->pLogin->isVisible());
        p->ciPrintNote->setValue(0);
        fx->ui->clear();
    }
    void cleanup()
    {
        fx.reset();
        // However a test ended, the next finds the server up.
        try {
            StartServerAgain();
        } catch (...) {
        }
    }

    void tillOutlivesItsServer()
    {
        p->ciCharge->lineEdit()->selectAll();
        type(p->ciCharge->lineEdit(), QStringLiteral("Meja 7"));
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        addLine(QStringLiteral("AMR"), QStringLiteral("1"));
        QCOMPARE(told(), QStringList());
        const qint64 journal = count(QStringLiteral("select count(*) from cash"));
        m->tClock_Timer();
        const QString cash = m->iCash->Caption();
        QVERIFY(cash != QStringLiteral("Cash: 0"));

        StopServer();
        // A paid save of the held cart, and the list of another panel.
        type(p->ciPay, QStringLiteral("100000"));
        key(p->ciPay, Qt::Key_Return);
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QStringList prompts = told();
        QCOMPARE(prompts.size(), 1);
        QVERIFY2(prompts.first().startsWith(kLost), qPrintable(prompts.first()));
        QVERIFY(!app().DbConn().inTransaction());
        key(m, Qt::Key_F2);
        prompts = told();
        QCOMPARE(prompts.size(), 1);
        QVERIFY2(prompts.first().startsWith(kLost), qPrintable(prompts.first()));
        // The clock keeps the figure it showed.
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), cash);
        // The driver's own words, with the statement, in the log; no line
        // that stops at its reason.
        const QString log = fx->log();
        QVERIFY2(log.contains(QLatin1String("Can't connect")), qPrintable(log));
        QVERIFY2(!log.contains(QLatin1String("gagal: \n")), qPrintable(log));

        // Back: the next action connects again, and the held cart is saved
        // as a whole, the rows of the refused save nowhere.
        StartServerAgain();
        key(m, Qt::Key_F2);
        QCOMPARE(told(), QStringList());
        QVERIFY(dynamic_cast<InventoryPanelView*>(m->inventoryPanel())->iiItems->ListCount() > 2);
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), journal);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart where charge='Meja 7'")), qint64(2));
        key(m, Qt::Key_F1);
        fx->ui->scripts[QStringLiteral("fBack")] = [this](platform::Form* f) { key(f, Qt::Key_Return); };
        p->ciPay->selectAll();
        type(p->ciPay, QStringLiteral("100000"));
        key(p->ciPay, Qt::Key_Return);
        QVERIFY(fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QCOMPARE(told(), QStringList());
        const qint64 no = count(QStringLiteral("select max(no) from cash"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash where no=%1 and code in ('ESP', 'AMR')").arg(no)),
                 qint64(2));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart where charge='Meja 7'")), qint64(0));

        // Gone again: the logout still returns to the login panel, and the
        // login after it works once the server is back.
        StopServer();
        fx->ui->answers = {platform::MsgOK};
        key(m, Qt::Key_F9);
        QVERIFY(m->pLogin->isVisible());
        QCOMPARE(told(), QStringList{QStringLiteral("Logout dari sesi ini?")});
        StartServerAgain();
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        QCOMPARE(told(), QStringList());
        QVERIFY(!m->pLogin->isVisible());
    }

    // The connection lost inside a write transaction: nothing of it is
    // written, and no statement of it runs on a new connection, even once
    // the server is back; the statement after the transaction connects
    // again, at most once in an action.
    void lostInsideATransaction()
    {
        platform::DbConnection& db = app().DbConn();
        const qint64 before = count(QStringLiteral("select count(*) from Salecart"));
        const QString row = QStringLiteral("insert into Salecart values (%1, 'Meja 9', 'ESP', 'Minuman', 'Espresso', "
                                           "18000, 0, 18000, 1, 'Gelas', 18000, 1)");
        {
            platform::DbTransaction tx(db);
            db.Execute(row.arg(900001));
            StopServer();
            try {
                db.Execute(row.arg(900002));
                QFAIL("a statement without a server");
            } catch (const platform::DbError& e) {
                QVERIFY(e.connectionLost());
            }
            StartServerAgain();
            QVERIFY_THROWS_EXCEPTION(platform::DbError, db.Execute(row.arg(900003)));
            QVERIFY_THROWS_EXCEPTION(platform::DbError, tx.commit());
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), before);

        // Down in the middle of an action: one attempt to connect, then the
        // rest of the action fails at once, also once the server is back.
        told();
        StopServer();
        QVERIFY_THROWS_EXCEPTION(platform::DbError, count(QStringLiteral("select count(*) from cash")));
        StartServerAgain();
        try {
            count(QStringLiteral("select count(*) from cash"));
            QFAIL("a second connect in one action");
        } catch (const platform::DbError& e) {
            QVERIFY(e.connectionLost());
        }
        QCoreApplication::processEvents();
        QVERIFY(count(QStringLiteral("select count(*) from cash")) > 0);
    }
};

int runServerLostTests(int argc, char** argv)
{
    TestServerLost t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_serverlost.moc"
