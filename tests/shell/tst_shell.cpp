// The main window through its real controls: start-up, the database list,
// login and logout, menu and function keys, the clock, the exit question and
// the dialog close rule, and the users window.
#include "cashier/cashierpanel.h"
#include "catalogue/inventorypanel.h"
#include "core/app.h"
#include "core/dbcheck.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "manage/fdb.h"
#include "manage/fuser.h"
#include "shell/fmain.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace mMain;

namespace {
const QString kSample = QStringLiteral("Velmont Cafe & Resto");

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QStringList entries(fMain* m)
{
    QStringList out;
    for (int i = 0; i < m->iDatabase->ListCount(); ++i)
        out << m->iDatabase->List(i);
    return out;
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;

    void key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget*>(m);
        QTest::keyClick(target, Qt::Key(qtKey), mods);
    }
    QString customersShown()
    {
        auto* charge = dynamic_cast<CashierPanelView*>(m->cashierPanel())->ciCharge;
        auto* panel = dynamic_cast<InventoryPanelView*>(m->inventoryPanel());
        key(Qt::Key_F2);
        panel->iiTable->setListIndex(5);
        QStringList shown;
        for (int i = 0; i < charge->ListCount(); ++i)
            shown << charge->List(i);
        for (int i = 2; i < panel->iiItems->ListCount(); ++i)
            shown << panel->iiItems->List(i);
        return shown.join(QLatin1Char('\n'));
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        m = fx->main;
    }
    void cleanup() { fx.reset(); }

    void startUpShowsTheLoginPanel()
    {
        QCOMPARE(m->Caption(), QStringLiteral("Orvanta - Login"));
        QVERIFY(m->isVisible());
        QVERIFY(m->pLogin->isVisible());
        QVERIFY(m->pcLogo->isVisible());
        QCOMPARE(m->pcLogo->pos(), QPoint(0, 0));
        // The logo lies above the login panel.
        const QObjectList kids = m->children();
        QVERIFY(kids.indexOf(m->pcLogo) > kids.indexOf(m->pLogin));
        QVERIFY(!m->tClock->Enabled());
        QVERIFY(!m->tCount->Enabled());
        // The dialogs exist from the start, hidden.
        auto* user = fx->app->form<fUser>();
        QVERIFY(user);
        QVERIFY(!user->isVisible());
        // The database list: the sample only, nothing selected.
        QCOMPARE(entries(m), QStringList{kSample});
        QCOMPARE(m->iDatabase->ListIndex(), -1);
        QCOMPARE(m->focusWidget(), m->iDatabase);
    }

    void databaseListByKindInNameOrder()
    {
        writeFile(fx->path(QStringLiteral("toko.cdb")), "");
        writeFile(fx->path(QStringLiteral("Cabang.lan")), "/srv/shop.cdb\r\n");
        writeFile(fx->path(QStringLiteral("Server.mdbc")), "");
        writeFile(fx->path(QStringLiteral("Capital.CDB")), "");
        writeFile(fx->path(QStringLiteral("notes.txt")), "");
        QDir(fx->dir.path()).mkdir(QStringLiteral("Folder.cdb"));
        m->ReadDB();
        QCOMPARE(entries(m), (QStringList{QStringLiteral("Cabang (LAN)"), QStringLiteral("Folder"),
                                          QStringLiteral("Server (MySQL-ODBC)"), QStringLiteral("toko"), kSample}));
        QCOMPARE(m->iDatabase->ListIndex(), -1);
    }

    void sampleHint()
    {
        QVERIFY(!m->pInfo->isVisible());
        m->iDatabase->setText(kSample);
        QVERIFY(m->pInfo->isVisible());
        m->cInfo_Click();
        QVERIFY(!m->pInfo->isVisible());
        m->iDatabase->setListIndex(-1);
        m->iDatabase->setText(kSample);
        QVERIFY(m->pInfo->isVisible());
        m->iUsername->setFocus();
        QVERIFY(!m->pInfo->isVisible());
    }

    void loginRefusalsInOrder()
    {
        m->bLogin->click();
        QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Database belum diisi")});
        QCOMPARE(fx->ui->messages.last().title, QStringLiteral("Peringatan"));
        m->iDatabase->setText(kSample);
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Username belum diisi"));
        m->iUsername->setText(QStringLiteral("   "));
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Username belum diisi"));
        m->iUsername->setText(QStringLiteral("admin"));
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Password belum diisi"));
        QCOMPARE(m->focusWidget(), m->iPassword);
        m->iUsername->setText(QStringLiteral("nobody"));
        m->iPassword->setText(QStringLiteral("x"));
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Username tidak ditemukan"));
        // Blanks around a name are not part of it.
        m->iUsername->setText(QStringLiteral(" admin "));
        m->iPassword->setText(QStringLiteral("wrong"));
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Password salah"));
        QVERIFY(m->pLogin->isVisible());
        // Two operators of one name: refused as unknown.
        ExecSQL(QStringLiteral("insert into operator select * from operator where username='Admin'"));
        m->iPassword->setText(QStringLiteral("admin"));
        m->bLogin->click();
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Username tidak ditemukan"));
    }

    void loginPanelKeys()
    {
        // Letters are not typed into the database list; Enter walks on.
        m->iDatabase->setText(kSample);
        m->iDatabase->setFocus();
        QTest::keyClicks(m->iDatabase, QStringLiteral("zz"));
        QCOMPARE(m->iDatabase->Text(), kSample);
        QTest::keyClick(m->iDatabase, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m->iUsername);
        QTest::keyClicks(m->iUsername, QStringLiteral("admin"));
        QCOMPARE(m->iUsername->Text(), QStringLiteral("Admin"));
        QTest::keyClick(m->iUsername, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m->iPassword);
        QCOMPARE(m->iPassword->echoMode(), QLineEdit::Password);
        // No key of the menu acts while the login panel is in front.
        for (Qt::Key k : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F5, Qt::Key_F9, Qt::Key_Escape})
            QTest::keyClick(m->iPassword, k);
        QVERIFY(fx->ui->messages.isEmpty() && fx->ui->shownModal.isEmpty());
        QVERIFY(m->pLogin->isVisible());
        // Reset empties the three fields.
        QTest::keyClicks(m->iPassword, QStringLiteral("x"));
        m->bReset->click();
        QCOMPARE(m->iDatabase->ListIndex(), -1);
        QVERIFY(m->iUsername->Text().isEmpty() && m->iPassword->Text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), m->iDatabase);
        // Enter in the password logs in.
        m->iDatabase->setText(kSample);
        m->iUsername->setText(QStringLiteral("Admin"));
        m->iPassword->setFocus();
        QTest::keyClicks(m->iPassword, QStringLiteral("admin"));
        QTest::keyClick(m->iPassword, Qt::Key_Return);
        QVERIFY(!m->pLogin->isVisible());
        QVERIFY(fx->ui->messages.isEmpty());
    }

    void loginAsAdminAndLogout()
    {
        // Passwords ignore case; the user name leaves its box capitalised.
        fx->login(kSample, QStringLiteral("aDMIN"), QStringLiteral("ADMIN"));
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(m->Caption(), QStringLiteral("Orvanta 2011 - Velmont Cafe & Resto"));
        QCOMPARE(fx->app->CurrentUser, QStringLiteral("Admin"));
        QCOMPARE(fx->app->DbEntry, kSample);
        QCOMPARE(fx->app->DbKind, QStringLiteral("Access"));
        QCOMPARE(m->iCashier->Caption(), QStringLiteral("Cashier: Admin"));
        QVERIFY(!m->pLogin->isVisible());
        QVERIFY(!m->pcLogo->isVisible());
        QVERIFY(m->tClock->Enabled() && m->tCount->Enabled());
        QVERIFY(m->iUsername->Text().isEmpty() && m->iPassword->Text().isEmpty());
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Cashier"));
        QCOMPARE(m->lCashier->ForeColor(), QColor(217, 77, 22));
        for (auto* b : {m->bCashier, m->bInventory, m->bLedger, m->bStock, m->bUser, m->bDB, m->bSetting})
            QVERIFY(b->isEnabled());
        // The sample's trading history: the balance of its journal.
        const double balance = GetValue(QStringLiteral("select sum(Debit) - sum(Credit) from cash")).toDouble();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: ") + FormatAmount(balance));

        // F2, F3, F8 switch panels; the highlight follows.
        key(Qt::Key_F2);
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Inventory"));
        QCOMPARE(m->lCashier->ForeColor(), QColor(51, 51, 51));
        key(Qt::Key_F8);
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Help"));
        key(Qt::Key_F3);
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));

        // Cancel at the logout question changes nothing.
        fx->ui->answers = {platform::MsgCancel};
        key(Qt::Key_F9);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Logout dari sesi ini?"));
        QVERIFY(!m->pLogin->isVisible());
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        QCOMPARE(m->lLogout->ForeColor(), QColor(51, 51, 51));
        QCOMPARE(m->menuShape(QStringLiteral("Logout"))->FillColor(), m->pMenu->palette().color(QPalette::Base));
        QCOMPARE(m->menuShape(QStringLiteral("Ledger"))->FillColor(), QColor(245, 245, 245));
        QVERIFY(m->tClock->Enabled());

        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_F9);
        QVERIFY(m->pLogin->isVisible());
        QVERIFY(m->pcLogo->isVisible());
        QCOMPARE(m->Caption(), QStringLiteral("Orvanta 2011 - Login"));
        QVERIFY(!m->tClock->Enabled() && !m->tCount->Enabled());
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        QCOMPARE(m->focusWidget(), m->iUsername);
        // The connection stays open; the keys rest on the login panel.
        QVERIFY(fx->app->DbConn().isOpen());
        const int before = fx->ui->messages.size();
        key(Qt::Key_F1);
        key(Qt::Key_Escape);
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        QCOMPARE(fx->ui->messages.size(), before);
    }

    void altLettersPressTheFrontPanelsButtons()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        fx->login(kSample, QStringLiteral("Admin"), QStringLiteral("admin"));
        // One press each, though covered panels hold buttons with the same
        // letters; a button pressed by its letter clicks a moment later.
        const auto alt = [this](const QAbstractButton* b) {
            QTest::keyClick(m, QKeySequence::mnemonic(b->text())[0].key(), Qt::AltModifier);
        };
        key(Qt::Key_F3);
        alt(dynamic_cast<LedgerPanelView*>(m->ledgerPanel())->lbPrint);
        QTRY_COMPARE(fx->ui->printed.size(), 1);
        key(Qt::Key_F2);
        alt(dynamic_cast<InventoryPanelView*>(m->inventoryPanel())->ibPrint);
        QTRY_COMPARE(fx->ui->printed.size(), 2);
        key(Qt::Key_G, Qt::ControlModifier); // the cashier's field from any panel
        QVERIFY(dynamic_cast<CashierPanelView*>(m->cashierPanel())->ciCharge->hasFocus());
    }

    void cashierAccountSeesItsItemsOnly()
    {
        fx->login(kSample, QStringLiteral("Kasir"), QStringLiteral("kasir"));
        QVERIFY(fx->ui->messages.isEmpty());
        QVERIFY(m->bCashier->isEnabled());
        for (auto* b : {m->bInventory, m->bLedger, m->bStock, m->bUser, m->bDB, m->bSetting})
            QVERIFY(!b->isEnabled());
        QVERIFY(m->bHelp->isEnabled() && m->bLogout->isEnabled());
        key(Qt::Key_F5);
        key(Qt::Key_F2);
        QVERIFY(fx->ui->shownModal.isEmpty());
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Cashier"));
        // An operator without the cashier right lands on the first panel
        // his rights open, and F1 does nothing for him.
        ExecSQL(QStringLiteral("update operator set cashier=0, ledger=1 where username='Kasir'"));
        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_F9);
        fx->login(kSample, QStringLiteral("Kasir"), QStringLiteral("kasir"));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        QVERIFY(!m->bCashier->isEnabled());
        key(Qt::Key_F1);
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
    }

    // A right restricts whatever way leads to what it guards: the panel the
    // operator lands on, the shortcuts that act behind the panel in front,
    // the fields Tab reaches, and the cashier's save itself.
    void rightsHold()
    {
        const auto loginAs = [&](const QString& rights) {
            fx->ui->answers = {platform::MsgOK};
            if (!m->pLogin->isVisible())
                key(Qt::Key_F9);
            ExecSQL(QStringLiteral("update operator set ") + rights + QStringLiteral(" where username='Kasir'"));
            fx->login(kSample, QStringLiteral("Kasir"), QStringLiteral("kasir"));
            QVERIFY(!m->pLogin->isVisible());
            fx->ui->clear();
        };
        // A held cart, ticked, as the cashier left it.
        fx->login(kSample, QStringLiteral("Admin"), QStringLiteral("admin"));
        SetConfig(QStringLiteral("Port"), QStringLiteral("Default"));
        auto* cashier = dynamic_cast<CashierPanelView*>(m->cashierPanel());
        QVERIFY(cashier);
        cashier->ciCharge->setText(QStringLiteral("Meja 5"));
        ExecSQL(QStringLiteral("insert into Salecart values (900001, 'Meja 5', 'ESP', 'Minuman', 'Espresso', 18000, 0, "
                               "18000, 1, 'Gelas', 18000, 1)"));
        const qint64 journal = GetValue(QStringLiteral("select count(*) from cash")).toLongLong();

        const QString none = QStringLiteral("cashier=0, master=0, inventory=0, ledger=0, stock=0, user=0, db=0, "
                                            "setting=0");
        loginAs(none + QStringLiteral(", stock=1"));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Help"));
        QCOMPARE(m->focusWidget(), m->hiHelp);
        loginAs(none + QStringLiteral(", inventory=1"));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Inventory"));

        // Neither the bill nor the report, neither focus nor a line in the
        // cashier's fields; Tab stays out of the panels without their right.
        for (Qt::Key k : {Qt::Key_P, Qt::Key_E, Qt::Key_G, Qt::Key_S, Qt::Key_M, Qt::Key_N})
            key(k, Qt::ControlModifier);
        QVERIFY(fx->ui->printed.isEmpty());
        QVERIFY(fx->ui->shownModal.isEmpty());
        for (int i = 0; i < 200; ++i) {
            key(Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(!focus || (!m->pCashier->isAncestorOf(focus) && !m->pLedger->isAncestorOf(focus)));
        }
        // The save refuses on its own, whoever calls it.
        cashier->cbOK_Click();
        QCOMPARE(fx->ui->prompts(),
                 QStringList{QStringLiteral("User ini tidak memiliki hak Kasir; transaksi tidak disimpan")});
        QCOMPARE(GetValue(QStringLiteral("select count(*) from cash")).toLongLong(), journal);
        QCOMPARE(GetValue(QStringLiteral("select count(*) from Salecart where charge='Meja 5'")).toLongLong(), 1);

        // Each shortcut with the right behind what it prints.
        loginAs(none + QStringLiteral(", ledger=1"));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        // F11 as the Add button it stands for, grey beside a report.
        dynamic_cast<LedgerPanelView*>(m->ledgerPanel())->liPage->setListIndex(1);
        key(Qt::Key_F11);
        QVERIFY(fx->ui->shownModal.isEmpty());
        dynamic_cast<LedgerPanelView*>(m->ledgerPanel())->liPage->setListIndex(0);
        key(Qt::Key_P, Qt::ControlModifier);
        QVERIFY(fx->ui->printed.isEmpty());
        key(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(fx->ui->printed.size(), 1);
        loginAs(none + QStringLiteral(", cashier=1"));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Cashier"));
        key(Qt::Key_E, Qt::ControlModifier);
        QVERIFY(fx->ui->printed.isEmpty());
        cashier->ciCharge->setText(QStringLiteral("Meja 5"));
        key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(fx->ui->printed.size(), 1);
    }

    void entriesOfEveryKind()
    {
        // A name holding " (" logs in as a plain entry.
        QVERIFY(QFile::copy(fx->path(kSample + QStringLiteral(".cdb")), fx->path(QStringLiteral("Toko (Pusat).cdb"))));
        m->ReadDB();
        fx->login(QStringLiteral("Toko (Pusat)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(m->Caption(), QStringLiteral("Orvanta 2011 - Toko (Pusat)"));
        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_F9);

        // A pointer to a missing file is refused; the open database stays.
        writeFile(fx->path(QStringLiteral("Gudang (Dua).lan")), "/no/such/shop.cdb\r\n");
        // A pointer to a shared file opens that file.
        const QString shared = fx->path(QStringLiteral("shared/shop.cdb"));
        QDir(fx->dir.path()).mkdir(QStringLiteral("shared"));
        QVERIFY(QFile::copy(fx->path(kSample + QStringLiteral(".cdb")), shared));
        writeFile(fx->path(QStringLiteral("Cabang.lan")), "\"" + shared.toUtf8() + "\", other\r\n");
        writeFile(fx->path(QStringLiteral("Server.mdbc")), "");
        m->ReadDB();
        const QString before = fx->app->DbConn().path();
        fx->login(QStringLiteral("Gudang (Dua) (LAN)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Koneksi database gagal"));
        QCOMPARE(fx->app->DbConn().path(), before);
        fx->login(QStringLiteral("Server (MySQL-ODBC)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Koneksi database gagal"));
        QCOMPARE(fx->app->DbConn().path(), before);
        QVERIFY(m->pLogin->isVisible());
        // A database of another program (no operators): refused, and the
        // database open before stays open.
        {
            platform::DbConnection other;
            QVERIFY(QFile::copy(fx->path(kSample + QStringLiteral(".cdb")), fx->path(QStringLiteral("Lain.cdb"))));
            other.Open(fx->path(QStringLiteral("Lain.cdb")));
            other.Execute(QStringLiteral("drop table operator"));
        }
        m->ReadDB();
        fx->login(QStringLiteral("Lain"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Koneksi database gagal"));
        QCOMPARE(QApplication::focusWidget(), m->iDatabase);
        QCOMPARE(fx->app->DbConn().path(), before);
        // A plain entry whose file is not a database, or a database cut
        // short: the operator reads why.
        writeFile(fx->path(QStringLiteral("Rusak.cdb")), "not a database");
        {
            QFile sample(fx->path(kSample + QStringLiteral(".cdb")));
            QVERIFY(sample.open(QIODevice::ReadOnly));
            writeFile(fx->path(QStringLiteral("Terpotong.cdb")), sample.read(sample.size() * 9 / 10));
        }
        m->ReadDB();
        fx->login(QStringLiteral("Rusak"), QStringLiteral("admin"), QStringLiteral("admin"));
        QVERIFY2(fx->ui->lastPrompt().startsWith(QStringLiteral("Koneksi database gagal\nBerkas ini bukan database")),
                 qPrintable(fx->ui->lastPrompt()));
        QCOMPARE(fx->app->DbConn().path(), before);
        fx->login(QStringLiteral("Terpotong"), QStringLiteral("admin"), QStringLiteral("admin"));
        QVERIFY2(fx->ui->lastPrompt().startsWith(QStringLiteral("Koneksi database gagal\nBerkas database tidak dapat "
                                                                "dibaca")),
                 qPrintable(fx->ui->lastPrompt()));
        QCOMPARE(fx->app->DbConn().path(), before);
        fx->ui->clear();
        fx->login(QStringLiteral("Cabang (LAN)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(fx->app->LanPath, shared);
        QCOMPARE(QFileInfo(fx->app->DbConn().path()), QFileInfo(shared));
    }

    void clockShowsTheCashBalance()
    {
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        ExecSQL(QStringLiteral("delete from cash"));
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: 0"));
        ExecSQL(QStringLiteral("insert into cash (ID, Debit, Credit) values (1, 2000, 0)"));
        ExecSQL(QStringLiteral("insert into cash (ID, Debit, Credit) values (2, 0, 500)"));
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: 1,500"));
        ExecSQL(QStringLiteral("insert into cash (ID, Debit, Credit) values (3, 0, 3000)"));
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: -1,500"));
        QVERIFY(m->iClock->Caption().contains(QString::number(QDate::currentDate().year())));
        // A tick reads the one row of totals, whatever the journal holds.
        const quint64 ran = fx->app->DbConn().statementCount();
        m->tClock_Timer();
        m->tClock_Timer();
        QCOMPARE(fx->app->DbConn().statementCount(), ran + 2);
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: -1,500"));
        {
            // Another workstation's write is seen at the next tick.
            platform::DbConnection other;
            other.Open(fx->app->DbConn().path());
            other.Execute(QStringLiteral("insert into cash (ID, Debit, Credit) values (4, 4000, 0)"));
        }
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: 2,500"));
        // A database without a journal: no box every second, a zero balance.
        ExecSQL(QStringLiteral("drop table cash"));
        m->tClock_Timer();
        QCOMPARE(m->iCash->Caption(), QStringLiteral("Cash: 0"));
    }

    void resizeCentresThePanels()
    {
        m->resize(1400, 800);
        for (QWidget* p :
             {static_cast<QWidget*>(m->pMenu), static_cast<QWidget*>(m->pLogin), static_cast<QWidget*>(m->pCashier),
              static_cast<QWidget*>(m->pInventory), static_cast<QWidget*>(m->pLedger), static_cast<QWidget*>(m->pHelp)})
            QCOMPARE(p->x(), 1400 / 2 - p->width() / 2);
        QCOMPARE(m->pcLogo->pos(), QPoint(0, 0));
    }

    void exitQuestion()
    {
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        fx->ui->answers = {platform::MsgCancel};
        QVERIFY(!m->close());
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Keluar dari Aplikasi?"));
        QCOMPARE(fx->ui->messages.last().title, QStringLiteral("Konfirmasi"));
        QVERIFY(!fx->app->IsClosing);
        QVERIFY(m->isVisible());
        QVERIFY(fx->app->unloadLog.isEmpty());
        QCOMPARE(fx->app->CurrentUser, QStringLiteral("Admin"));
        QVERIFY(fx->app->DbConn().isOpen());
        QVERIFY(m->tClock->Enabled());

        // Esc asks the same question; OK unloads every window in order, the
        // main window last, without showing any.
        bool ended = false;
        fx->app->onMainUnloaded = [&ended] { ended = true; };
        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_Escape);
        QVERIFY(fx->app->IsClosing);
        QVERIFY(!m->isVisible());
        QStringList expected;
        for (const QString& name : fMain::UnloadOrder)
            if (fx->app->form(name))
                expected << name;
        expected << QStringLiteral("fMain");
        // Every window is in the order: a name written wrong there would
        // leave its window out of the shut-down.
        QCOMPARE(expected.size(), fx->app->forms().size());
        QCOMPARE(fx->app->unloadLog, expected);
        QVERIFY(fx->ui->shownModal.isEmpty());
        QTRY_VERIFY(ended);
    }

    void exitFromTheLoginPanel()
    {
        // The cursor stands in the user name: once the exit is confirmed no
        // handler runs, also not while the windows are destroyed (the field
        // losing the focus inside a half-destroyed main window).
        m->iUsername->setFocus();
        QTest::keyClicks(m->iUsername, QStringLiteral("adm"));
        QCOMPARE(QApplication::focusWidget(), m->iUsername);
        int lateRuns = 0;
        const auto lostFocus = m->iUsername->events.LostFocus;
        m->iUsername->events.LostFocus = [&] {
            if (fx->app->IsClosing)
                ++lateRuns;
            lostFocus();
        };
        fx->ui->answers = {platform::MsgOK};
        QVERIFY(m->close());
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Keluar dari Aplikasi?"));
        QVERIFY(fx->app->IsClosing);
        fx.reset();
        QCOMPARE(lateRuns, 0);
    }

    void dialogCloseRule()
    {
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        key(Qt::Key_F3);
        auto* user = fx->app->form<fUser>();
        fx->ui->scripts[QStringLiteral("fUser")] = [&](platform::Form* f) {
            QCOMPARE(fx->app->MenuKey, QStringLiteral("User"));
            QVERIFY(user->iUsername->ListCount() >= 2);
            // The main window owns the dialog, so it stays in front of it.
            QCOMPARE(f->parentWidget(), m);
            QVERIFY(f->isWindow());
            user->iCashier->setFocus();
            // The close box is a close request: refused, and the window hides.
            QVERIFY(!f->close());
            QVERIFY(!f->isVisible());
        };
        key(Qt::Key_F5);
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fUser")});
        QVERIFY(!user->isUnloaded());
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));
        QCOMPARE(m->lLedger->ForeColor(), QColor(217, 77, 22));
        QCOMPARE(m->lUser->ForeColor(), QColor(51, 51, 51));

        // F6 and F7 open the database and settings windows the same way;
        // Esc closes each and the ledger item is highlighted again.
        QStringList highlighted;
        for (const QString& name : {QStringLiteral("fDB"), QStringLiteral("fSetting")})
            fx->ui->scripts[name] = [&](platform::Form* f) {
                highlighted << fx->app->MenuKey;
                QTest::keyClick(f, Qt::Key_Escape);
                QVERIFY(!f->isVisible());
            };
        key(Qt::Key_F6);
        key(Qt::Key_F7);
        QCOMPARE(fx->ui->shownModal,
                 (QStringList{QStringLiteral("fUser"), QStringLiteral("fDB"), QStringLiteral("fSetting")}));
        QCOMPARE(highlighted, (QStringList{QStringLiteral("DB"), QStringLiteral("Setting")}));
        QCOMPARE(fx->app->MenuKey, QStringLiteral("Ledger"));

        // The login panel's New opens the new-database window.
        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_F9);
        m->bNew->click();
        QCOMPARE(fx->ui->shownModal.last(), QStringLiteral("fNew"));
    }

    void usersWindow()
    {
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        auto* u = fx->app->form<fUser>();
        fx->ui->scripts[QStringLiteral("fUser")] = [&](platform::Form*) {
            // Typing a name reloads the operator on every keystroke.
            QTest::keyClicks(u->iUsername->lineEdit(), QStringLiteral("kas"));
            QCOMPARE(u->iUsername->Text(), QStringLiteral("Kas"));
            QVERIFY(u->iPassword->Text().isEmpty());
            QCOMPARE(u->iCashier->Value(), 0);
            QTest::keyClicks(u->iUsername->lineEdit(), QStringLiteral("ir"));
            QCOMPARE(u->iPassword->Text(), QStringLiteral("kasir"));
            QCOMPARE(u->iCashier->Value(), 1);
            QCOMPARE(u->iMaster->Value(), 1);
            QCOMPARE(u->iSetting->Value(), 0);

            // A new operator through the Enter chain; the password is kept
            // in lower case, the apostrophe of the name dropped.
            u->iUsername->setText(QStringLiteral("Bu'di"));
            u->iPassword->setText(QStringLiteral("RaHaSia"));
            u->iLedger->setValue(1);
            u->iSetting->setFocus();
            QTest::keyClick(u->iSetting, Qt::Key_Return);
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("User telah tersimpan"));
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator where username='Budi'")).toInt(), 1);
            QCOMPARE(GetValue(QStringLiteral("select `password` from operator where username='Budi'")).toString(),
                     InvertChars(QStringLiteral("rahasia")));
            QCOMPARE(GetValue(QStringLiteral("select ledger + cashier from operator where username='Budi'")).toInt(),
                     1);
            // Saved again: updated in place.
            u->iUsername->setText(QStringLiteral("Budi"));
            u->iStock->setValue(1);
            u->bSave->click();
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator where username='Budi'")).toInt(), 1);
            QCOMPARE(GetValue(QStringLiteral("select stock from operator where username='Budi'")).toInt(), 1);

            // Refusals.
            u->iUsername->setText(QStringLiteral("   "));
            u->iPassword->setText(QStringLiteral("x"));
            u->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Username belum diisi"));
            u->iUsername->setText(QStringLiteral("Nobody"));
            u->iPassword->setText(QString());
            u->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Password belum diisi"));
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator")).toInt(), 3);

            // Delete: an unknown name does nothing; a confirmed delete goes.
            const int shown = fx->ui->messages.size();
            u->bDelete->click();
            QCOMPARE(fx->ui->messages.size(), shown);
            u->iUsername->setText(QStringLiteral("Budi"));
            fx->ui->answers = {platform::MsgCancel};
            u->bDelete->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Hapus User 'Budi'?"));
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator where username='Budi'")).toInt(), 1);
            u->iUsername->setText(QStringLiteral("Budi"));
            fx->ui->answers = {platform::MsgOK};
            u->bDelete->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("User 'Budi' sudah di hapus"));
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator where username='Budi'")).toInt(), 0);
            QVERIFY(u->iUsername->Text().isEmpty());

            // The last operator with the user right stays.
            u->iUsername->setText(QStringLiteral("Admin"));
            u->bDelete->click();
            QVERIFY(fx->ui->lastPrompt().contains(QLatin1String("tidak dapat dihapus")));
            QCOMPARE(GetValue(QStringLiteral("select count(*) from operator where username='Admin'")).toInt(), 1);
            QTest::keyClick(u->iUsername->lineEdit(), Qt::Key_Escape);
        };
        key(Qt::Key_F5);
        QVERIFY(fx->ui->prompts().contains(QStringLiteral("User 'Budi' sudah di hapus")));
        QVERIFY(!u->isVisible());
        QVERIFY(u->iUsername->Text().isEmpty());
        QVERIFY(u->iPassword->Text().isEmpty());
    }

    // A login that cannot finish keeps no right of the operator before it,
    // and shows nothing of the new database before its reads succeeded.
    void loginThatFailsHalfWayLeavesNoRight()
    {
        const QList<QWidget*> rights = {m->bCashier, m->bInventory, m->bLedger, m->bStock,
                                        m->bUser,    m->bDB,        m->bSetting};
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        fx->ui->answers = {platform::MsgOK};
        key(Qt::Key_F9);
        for (QWidget* b : rights)
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));

        // An operator table without the rights columns.
        {
            Workstation maker(fx->path(QStringLiteral("Lama.cdb")));
            for (const QString& sql : {QStringLiteral("create table operator (username text, password text)"),
                                       QStringLiteral("create table config (`key` text, setting text)"),
                                       QStringLiteral("insert into config values ('Note', '0'), ('Warehouse', '0')"),
                                       QStringLiteral("insert into operator values ('Admin', '") +
                                           PasswordForm(QStringLiteral("admin")) + QStringLiteral("')")})
                QVERIFY2(maker.exec(sql), qPrintable(sql));
        }
        // A database of the program whose journal is gone: its panels cannot
        // be set up.
        QFile::copy(fx->path(QStringLiteral("Empty.tdb")), fx->path(QStringLiteral("Kosong.cdb")));
        QVERIFY(Workstation(fx->path(QStringLiteral("Kosong.cdb"))).exec(QStringLiteral("drop table cash")));
        m->ReadDB();
        for (const QString& entry : {QStringLiteral("Lama"), QStringLiteral("Kosong")}) {
            fx->ui->clear();
            fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
            QCOMPARE(fx->ui->messages.size(), 1);
            QCOMPARE(fx->ui->messages.first().kind, platform::MsgKind::Warning);
            QVERIFY(m->pLogin->isVisible() && m->pcLogo->isVisible());
            QCOMPARE(m->Caption(), QStringLiteral("Orvanta 2011 - Login"));
            QVERIFY(!m->tClock->Enabled() && !m->tCount->Enabled());
            for (QWidget* b : rights)
                QVERIFY2(!b->isEnabled(), qPrintable(entry + QLatin1Char(' ') + b->objectName()));
        }
        fx->ui->clear();
        fx->login(QStringLiteral("Lama"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Koneksi database gagal")});
        QCOMPARE(fx->app->DbEntry, kSample);
    }

    // Another workstation holds the file: said in words, and the login can
    // be tried again at once; a password without a stored form is only wrong.
    void loginOnABusyDatabaseAndUnstorablePasswords()
    {
        {
            Workstation other(fx->path(kSample + QStringLiteral(".cdb")));
            QVERIFY(other.exec(QStringLiteral("begin exclusive")));
            fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
            QCOMPARE(fx->ui->prompts(), QStringList{kBusyText});
            QVERIFY(m->pLogin->isVisible());
        }
        for (const QString& password :
             {QStringLiteral("admin\u00ff"), QStringLiteral("\u0178"), QStringLiteral("\u0101")}) {
            fx->ui->clear();
            fx->login(kSample, QStringLiteral("admin"), password);
            QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Password salah")});
        }
        fx->ui->clear();
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        QVERIFY(fx->ui->messages.isEmpty());
        QVERIFY(!m->pLogin->isVisible());
    }

    // Another workstation holds the file for a long while: the clock keeps
    // the figure it showed and waits for nothing; an event that reads waits
    // the busy timeout once, and what else it reads fails at once; once the
    // event is over the next one waits again, and after the lock the clock
    // follows.
    void lockedDatabaseNeverStallsTheWindow()
    {
        if (OnServer())
            QSKIP("a lock on a database file");
        fx->login(kSample, QStringLiteral("admin"), QStringLiteral("admin"));
        const QString shown = m->iCash->Caption();
        QVERIFY(shown != QStringLiteral("Cash: 0"));
        const int busy = platform::DbConnection::busyTimeout();
        {
            Workstation other(fx->path(kSample + QStringLiteral(".cdb")));
            QVERIFY(other.exec(QStringLiteral("begin exclusive")));
            QElapsedTimer clock;
            clock.start();
            for (int tick = 0; tick < 5; ++tick)
                m->tClock_Timer();
            QVERIFY2(clock.elapsed() < busy, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(m->iCash->Caption(), shown);

            clock.restart();
            int refused = 0;
            for (int read = 0; read < 4; ++read) {
                try {
                    GetValue(QStringLiteral("select count(*) from SaleItems"));
                } catch (const platform::DbError& e) {
                    refused += IsBusy(e) ? 1 : 0;
                }
            }
            QCOMPARE(refused, 4);
            QVERIFY2(clock.elapsed() >= busy - 50 && clock.elapsed() < 2 * busy,
                     qPrintable(QString::number(clock.elapsed())));
            QCoreApplication::processEvents();
            clock.restart();
            QVERIFY_THROWS_EXCEPTION(platform::DbError, GetValue(QStringLiteral("select count(*) from SaleItems")));
            QVERIFY2(clock.elapsed() >= busy - 50, qPrintable(QString::number(clock.elapsed())));
            QCoreApplication::processEvents();
            QVERIFY(other.exec(QStringLiteral("insert into cash (ID, Debit, Credit) values (99001, 1000000, 0)")));
            QVERIFY(other.exec(QStringLiteral("commit")));
        }
        m->tClock_Timer();
        QVERIFY(m->iCash->Caption() != shown);
        QCOMPARE(
            m->iCash->Caption(),
            QStringLiteral("Cash: ") +
                mMain::FormatAmount(GetValue(QStringLiteral("select sum(debit) - sum(credit) from cash")).toDouble()));
    }
    // A copy of a database file (a branch, a backup opened as one), each
    // changed as often since, shows its own customers after a logout; a
    // restore ends the session, and the next login shows what it put back.
    void shownDataFollowsTheDatabase()
    {
        fx->login(kSample, QStringLiteral("Admin"), QStringLiteral("admin"));
        const QString copy = fx->path(QStringLiteral("Cabang.cdb")), empty = fx->path(QStringLiteral("kosong.cdb"));
        QVERIFY(QFile::copy(fx->app->DbConn().path(), copy) &&
                QFile::copy(fx->path(QStringLiteral("Empty.tdb")), empty));
        m->ReadDB();
        ExecSQL(QStringLiteral("delete from Customer where `name`='Andi Wijaya'"));
        QVERIFY(Workstation(copy).exec(QStringLiteral("insert into Customer values('CX1', 'Alfa Prima', '', '', '')")));
        for (const QString& entry : {kSample, QStringLiteral("Cabang")}) {
            fx->ui->answers = {platform::MsgOK};
            key(Qt::Key_F9);
            fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
            const QString shown = customersShown();
            QCOMPARE(shown.count(QStringLiteral("Andi Wijaya")) + shown.count(QStringLiteral("Alfa Prima")),
                     entry == kSample ? 0 : 4);
        }
        QSignalSpy ended(fx->app->Session(), &QObject::destroyed);
        fx->ui->fileAnswers = {empty};
        fx->ui->answers = {platform::MsgOK};
        fx->ui->scripts[QStringLiteral("fDB")] = [](platform::Form* f) { static_cast<fDB*>(f)->bRestore_Click(); };
        key(Qt::Key_F6);
        QVERIFY(ended.size() == 1 && m->pLogin->isVisible() && !m->tClock->Enabled());
        QCOMPARE(dynamic_cast<LedgerPanelView*>(m->ledgerPanel())->liLedger->ListCount(), 0);
        fx->login(QStringLiteral("Cabang"), QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(!customersShown().contains(QStringLiteral("Alfa Prima")));
    }
};

int runShellTests(int argc, char** argv)
{
    TestShell t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_shell.moc"
