// The ledger panel driven as an operator would, on the sample database with
// a few journal rows of its trading day added by hand: the login's view, the
// pickers, the filter, the kinds, printing (Ctrl+E) and the export.
#include "core/app.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/fixture.h"
#include "support/xlsxread.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestLedgerPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;
    LedgerPanelView* l = nullptr;

    void journalRow(int id, const QString& category, const QString& code, double debit, double credit)
    {
        mMain::ExecSQL(
            QStringLiteral("insert into cash values(%1, %1, '%2', '2010-01-01', '', 'Admin', 'Gudang Utama', "
                           "'Meja 1', '%3', 'Barang %3', 1000, 0, 1000, 1, 'Porsi', 0, 0, 0, 0, 0, 0, %4, %5)")
                .arg(id)
                .arg(category, code)
                .arg(debit)
                .arg(credit));
    }
    void showTradingDay()
    {
        l->liFrom->setValue(QDate(2010, 1, 1));
        l->liTo->setValue(QDate(2010, 1, 1));
        // Enter shows the range without waiting for the dates to rest.
        QTest::keyClick(l->liTo, Qt::Key_Return);
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        m = fx->main;
        l = dynamic_cast<LedgerPanelView*>(m->ledgerPanel());
        QVERIFY(l);
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        mMain::ExecSQL(QStringLiteral("delete from cash"));
        journalRow(1, QStringLiteral("Sale"), QStringLiteral("ES"), 15000, 0);
        journalRow(2, QStringLiteral("Cash Out"), QStringLiteral("GAS"), 0, 210000);
        QTest::keyClick(m, Qt::Key_F3);
        fx->ui->clear();
    }
    void cleanup() { fx.reset(); }

    // The login shows the journal up to tomorrow, its controls usable; the
    // pickers rebuild it; F3 brings the panel with the kind list focused.
    void loginAndRange()
    {
        QCOMPARE(l->liPage->ListIndex(), 0);
        QCOMPARE(l->liCategory->ListIndex(), 0);
        QCOMPARE(l->liTo->Value(), QDate::currentDate().addDays(1));
        QCOMPARE(l->liLedger->ListCount(), 2);
        QVERIFY(l->ReportSql.startsWith(QStringLiteral("select * from cash where moment between")));
        QVERIFY(l->liFilter->isEnabled() && l->lbAdd->isEnabled() && l->lbDelete->isEnabled());

        showTradingDay();
        // The sample shows the warehouse column: no balance line.
        QCOMPARE(l->liLedger->ListCount(), 2 + 2 + 2);
        QCOMPARE(l->liLedger->List(2).size(), 196);
        QCOMPARE(l->liLedger->List(3).right(20).trimmed(), QStringLiteral("2"));
        QCOMPARE(l->LineIds.value(2), 1);
        QVERIFY(l->liLedger->List(5).contains(QStringLiteral("210,000")));

        // A setting that is not a number reads as 0: no warehouse column,
        // a balance line.
        mMain::SetConfig(QStringLiteral("Warehouse"), QStringLiteral("ya"));
        l->lbRefresh->click();
        QCOMPARE(l->liLedger->ListCount(), 2 + 2 + 3);
        QCOMPARE(l->liLedger->List(2).size(), 183);

        QTest::keyClick(m, Qt::Key_F3);
        QVERIFY(m->pLedger->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(l->liPage));
    }

    // Behind another panel a save does not rebuild the report: F3 shows it
    // with the new row, rebuilt once, and Ctrl+E from another panel prints
    // the report as it stands.
    void hiddenReportWaitsToBeSeen()
    {
        showTradingDay();
        const int lines = l->liLedger->ListCount();
        platform::DbConnection& db = fx->app->DbConn();
        QTest::keyClick(m, Qt::Key_F1);
        const quint64 ran = db.statementCount();
        journalRow(3, QStringLiteral("Sale"), QStringLiteral("ROTI"), 20000, 0);
        m->liPage_Click(); // as a save does once it has written
        QCOMPARE(db.statementCount(), ran + 1);
        QCOMPARE(l->liLedger->ListCount(), lines);
        QTest::keyClick(m, Qt::Key_F3);
        QCOMPARE(l->liLedger->ListCount(), lines + 1);
        QTest::keyClick(m, Qt::Key_F1);
        const quint64 shown = db.statementCount();
        QTest::keyClick(m, Qt::Key_F3);
        QCOMPARE(db.statementCount(), shown);

        QTest::keyClick(m, Qt::Key_F1);
        journalRow(4, QStringLiteral("Sale"), QStringLiteral("MIE"), 30000, 0);
        m->liPage_Click();
        fx->ui->printed.clear();
        QTest::keyClick(m, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(fx->ui->printed.size(), 1);
        QVERIFY(fx->ui->printed.last().join(QLatin1Char('\n')).contains(QStringLiteral("Barang MIE")));
    }

    // Date steps come many a second: the report follows once the dates have
    // rested, once, for the dates they came to; Enter does not wait.
    void datesRebuildOnceRested()
    {
        platform::DbConnection& db = fx->app->DbConn();
        // The clock's reading each second would count among the report's
        // statements.
        m->tClock->setEnabled(false);
        const quint64 ran = db.statementCount();
        for (int step = 0; step < 10; ++step)
            l->liFrom->setValue(QDate(2010, 1, 10).addDays(-step));
        QCOMPARE(db.statementCount(), ran);
        QTRY_VERIFY_WITH_TIMEOUT(db.statementCount() > ran, 2000);
        // The list reads the rows in sight as it paints, which a slow build
        // does only after the count above: the rebuild includes it.
        QCoreApplication::sendPostedEvents();
        l->liLedger->viewport()->repaint();
        const quint64 rebuilt = db.statementCount();
        QTest::qWait(400);
        QCOMPARE(db.statementCount(), rebuilt);
        QVERIFY(l->ReportSql.contains(QStringLiteral("'2010-01-01'")));

        l->liTo->setValue(QDate(2010, 1, 2));
        QTest::keyClick(l->liTo, Qt::Key_Return);
        QVERIFY(l->ReportSql.contains(QStringLiteral("'2010-01-02'")));
        m->tClock->setEnabled(true);
    }

    // Another kind disables the journal's controls; typing a filter brings
    // the journal back, filtered; Enter in the column list moves to it.
    void kindsAndFilter()
    {
        showTradingDay();
        l->liPage->setListIndex(6);
        QVERIFY(!l->liFilter->isEnabled() && !l->liCategory->isEnabled() && !l->lbEdit->isEnabled());
        QVERIFY(l->ReportSql.contains(QStringLiteral("from stockflow")));
        QVERIFY(l->liLedger->ListCount() > 2); // the sample's stock counts of the day
        l->liPage->setListIndex(5);
        QCOMPARE(l->liLedger->List(2).left(10), QStringLiteral("01/01/2010"));
        QVERIFY(l->liLedger->List(l->liLedger->ListCount() - 1).startsWith(QStringLiteral("Total")));

        l->liPage->setListIndex(1);
        l->liCategory->setListIndex(3);
        l->liFilter->setText(QStringLiteral("G"));
        QCOMPARE(l->liPage->ListIndex(), 0);
        QCOMPARE(l->liLedger->ListCount(), 2 + 1 + 2);
        QCOMPARE(l->liLedger->List(2).right(20).trimmed(), QStringLiteral("2"));

        l->liCategory->setFocus();
        QTest::keyClick(l->liCategory, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(l->liFilter));
        QTest::keyClicks(l->liFilter, QStringLiteral("X"));
        QCOMPARE(l->liLedger->ListCount(), 2);
    }

    // Ctrl+E from any panel prints the view as it stands: landscape for the
    // journal, portrait for an item report, portrait again afterwards.
    void printing()
    {
        showTradingDay();
        m->bCashier_Click();
        QTest::keyClick(m, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(fx->ui->printed.size(), 1);
        const QStringList lines = fx->ui->printed[0];
        QCOMPARE(lines[0], QStringLiteral("LAPORAN UMUM"));
        QCOMPARE(lines[1], QStringLiteral("01/01/2010 - 01/01/2010"));
        QCOMPARE(lines.size(), 4 + l->liLedger->ListCount() + 1);
        QCOMPARE(lines[4], l->liLedger->List(0));
        QCOMPARE(fx->ui->printedLandscape, QList<bool>{true});
        QCOMPARE(app().Printer.Orientation(), 1);

        l->liPage->setListIndex(1);
        l->lbPrint->click();
        QCOMPARE(fx->ui->printed[1][0], QStringLiteral("LAPORAN PENJUALAN"));
        QCOMPARE(fx->ui->printedLandscape, (QList<bool>{true, false}));
        // The print queue tells one report from another by title and range.
        QCOMPARE(fx->ui->printedNames, (QStringList{QStringLiteral("LAPORAN UMUM 01/01/2010 - 01/01/2010"),
                                                    QStringLiteral("LAPORAN PENJUALAN 01/01/2010 - 01/01/2010")}));
        QVERIFY(fx->ui->messages.isEmpty());
    }

    // A port that cannot be written: every line is tried, the operator is
    // told once, and no document is left behind.
    void printFailure()
    {
        mMain::SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("missing/dir/port")));
        l->lbPrint->click();
        QCOMPARE(fx->ui->messages.size(), 1);
        QVERIFY(fx->ui->lastPrompt().startsWith(QStringLiteral("Laporan tidak tercetak seluruhnya")));
        QVERIFY(fx->ui->printed.isEmpty());
        QCOMPARE(app().Printer.Orientation(), 1);

        const QString file = fx->path(QStringLiteral("port.txt"));
        mMain::SetConfig(QStringLiteral("Port"), file);
        fx->ui->clear();
        l->lbPrint->click();
        QVERIFY(fx->ui->messages.isEmpty());
        QVERIFY(fx->ui->printed.isEmpty()); // no document for the printer
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("LAPORAN UMUM\r\n"));
    }

    // A port that stops taking data: the report stops at the first line
    // that timed out, and the operator hears once, in words, within about
    // one timeout, however long the journal.
    void stalledPortCostsOneTimeout()
    {
        showTradingDay();
        const QString fifo = fx->path(QStringLiteral("lp"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const int filler = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(filler >= 0);
        const QByteArray block(4096, 'x');
        while (::write(filler, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(filler);
        mMain::SetConfig(QStringLiteral("Port"), fifo);
        QVERIFY(l->liLedger->ListCount() >= 4);
        QElapsedTimer clock;
        clock.start();
        l->lbPrint->click();
        const qint64 took = clock.elapsed();
        ::close(reader);
        QVERIFY2(took < 3 * platform::portTimeout(), qPrintable(QString::number(took)));
        QCOMPARE(fx->ui->messages.size(), 1);
        QVERIFY(fx->ui->lastPrompt().startsWith(QStringLiteral("Laporan tidak tercetak seluruhnya")));
        QVERIFY2(fx->ui->lastPrompt().contains(QStringLiteral("tidak menerima data lagi")),
                 qPrintable(fx->ui->lastPrompt()));
        QVERIFY(fx->ui->printed.isEmpty());
        QCOMPARE(app().Printer.Orientation(), 1);
    }

    // A print-out or an export the operator stopped leaves nothing half
    // made: no line reaches the port, the printer's job is withdrawn, no
    // workbook is left or opened, and the next one is whole.
    void stoppedWorkLeavesNothing()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        showTradingDay();
        const QString file = fx->path(QStringLiteral("port.txt"));
        mMain::SetConfig(QStringLiteral("Port"), file);
        fx->ui->cancelAtReport = 1;
        QTest::keyClick(m, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(!QFile::exists(file) || QFileInfo(file).size() == 0);
        // The box speaks the operator's language.
        QCOMPARE(fx->ui->progressTitles, QStringList{QStringLiteral("Printing")});
        fx->ui->cancelAtReport = 0;
        l->lbPrint->click();
        QFile port(file);
        QVERIFY(port.open(QIODevice::ReadOnly));
        QCOMPARE(port.readAll().count("\r\n"), 4 + l->liLedger->ListCount() + 1);

        // Stopped at its first page: all its lines were gathered.
        mMain::SetConfig(QStringLiteral("Port"), QStringLiteral("Default"));
        fx->ui->cancelAtReport = 2;
        l->lbPrint->click();
        QCOMPARE(fx->ui->withdrawnPrints, 1);
        QVERIFY(fx->ui->printed.isEmpty());
        QVERIFY(fx->ui->progressReports.last().startsWith(QStringLiteral("Page 1 of ")));
        fx->ui->cancelAtReport = 0;
        l->lbPrint->click();
        QCOMPARE(fx->ui->printed.size(), 1);
        QCOMPARE(fx->ui->printed[0].size(), 4 + l->liLedger->ListCount() + 1);

        const QDir folder(QFileInfo(fx->path(QStringLiteral("x"))).path());
        const QStringList before = folder.entryList({QStringLiteral("*.xlsx")}, QDir::Files);
        fx->ui->cancelAtReport = 1;
        l->lbExcel->click();
        QVERIFY(fx->ui->opened.isEmpty());
        QCOMPARE(folder.entryList({QStringLiteral("*.xlsx")}, QDir::Files), before);
        QVERIFY(fx->ui->messages.isEmpty());
    }

    // A disk that takes no more (filled by the rows, or while the workbook
    // is packed) and a stop leave no file, named or half made, and no
    // temporary file held open; the failures are told.
    void failedExportLeavesNothing()
    {
        showTradingDay();
        const QDir folder(QFileInfo(fx->path(QStringLiteral("x"))).path());
        const auto entries = [&] { return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
        const auto held = [] {
            QStringList files;
            for (const QString& fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System)) {
                char target[4096];
                const ssize_t n = ::readlink(QFile::encodeName(QStringLiteral("/proc/self/fd/") + fd).constData(),
                                             target, sizeof target);
                const QString file = QFile::decodeName(QByteArray(target, int(std::max<ssize_t>(n, 0))));
                if (file.endsWith(QStringLiteral(" (deleted)")) || file.contains(QStringLiteral(".xlsx")))
                    files << file;
            }
            return files;
        };
        const QStringList before = entries();
        rlimit was{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &was), 0);
        ::signal(SIGXFSZ, SIG_IGN);
        for (const rlim_t size : {rlim_t(256), rlim_t(4096), was.rlim_cur}) {
            fx->ui->cancelAtReport = size == was.rlim_cur ? 1 : 0;
            rlimit full = was;
            full.rlim_cur = size;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
            l->lbExcel->click();
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &was), 0);
            QVERIFY(fx->ui->opened.isEmpty());
            QCOMPARE(entries(), before);
            QCOMPARE(held(), QStringList());
        }
        ::signal(SIGXFSZ, SIG_DFL);
        QCOMPARE(fx->ui->messages.size(), 2);
        QVERIFY(fx->ui->lastPrompt().startsWith(QStringLiteral("Laporan tidak dapat diekspor")));
    }

    // The export opens a new workbook of the view's kind; one that cannot
    // be opened is reported with its path.
    void exportToSpreadsheet()
    {
        showTradingDay();
        l->lbExcel->click();
        QCOMPARE(fx->ui->opened.size(), 1);
        // Its progress box is gone before the file is opened or told.
        QCOMPARE(fx->ui->boxesAtOpen, QList<int>{0});
        const XlsxSheet sheet(fx->ui->opened[0]);
        QVERIFY(sheet.ok());
        QCOMPARE(sheet.number(QStringLiteral("K2")), 15000.0);
        QCOMPARE(sheet.text(QStringLiteral("F3")), QStringLiteral("Cash Out"));
        QVERIFY(!sheet.has(QStringLiteral("A4")));
        QFile::remove(fx->ui->opened[0]);

        fx->ui->openSucceeds = false;
        l->lbExcel->click();
        QCOMPARE(fx->ui->messages.size(), 1);
        QVERIFY(fx->ui->lastPrompt().contains(fx->ui->opened[1]));
        // The file was written: where it lies is information, not a failure.
        QCOMPARE(fx->ui->messages.last().kind, platform::MsgKind::Info);
        QCOMPARE(fx->ui->messages.last().title, QStringLiteral("Informasi"));
        QVERIFY(!fx->ui->lastPrompt().contains(QStringLiteral("gagal")));
        QFile::remove(fx->ui->opened[1]);
    }

    // Every kind over the sample's trading day shows, prints and exports,
    // and the figures agree with the journal they come from.
    void sampleTradingDay()
    {
        fx.reset();
        fx = std::make_unique<Fixture>();
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        m = fx->main;
        l = dynamic_cast<LedgerPanelView*>(m->ledgerPanel());
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        QTest::keyClick(m, Qt::Key_F3);
        const QString day = QStringLiteral(" from cash where moment='2010-01-01'");
        QVERIFY(mMain::GetValue(QStringLiteral("select count(*)") + day).toInt() > 0);
        fx->ui->clear();
        showTradingDay();
        const QString debit =
            mMain::FormatAmount(mMain::GetValue(QStringLiteral("select sum(debit)") + day).toDouble());
        const QString credit =
            mMain::FormatAmount(mMain::GetValue(QStringLiteral("select sum(credit)") + day).toDouble());
        const QString total = l->liLedger->List(l->liLedger->ListCount() - 1);
        QCOMPARE(total.mid(144, 15).trimmed(), debit);
        QCOMPARE(total.mid(160, 15).trimmed(), credit);

        QString saleDue;
        for (int page = 0; page <= 6; ++page) {
            l->liPage->setListIndex(page);
            QVERIFY2(l->liLedger->ListCount() > 2, qPrintable(l->liPage->Text()));
            const QString last = l->liLedger->List(l->liLedger->ListCount() - 1);
            if (page == 1) {
                // The day's sale with discount and tax: the final total is
                // what the sales booked, which the recapitulation shows.
                QVERIFY(l->liLedger->List(l->liLedger->ListCount() - 4).startsWith(QString(63, ' ') + "Discount"));
                saleDue = last.right(15).trimmed();
            }
            if (page == 5) {
                // Its only day is the total.
                QCOMPARE(l->liLedger->List(2).mid(10), l->liLedger->List(4).mid(10));
                QCOMPARE(l->liLedger->List(2).mid(11, 15).trimmed(), saleDue);
                QCOMPARE(l->liLedger->List(2).mid(112, 15).trimmed(), debit);
            }
            l->lbPrint->click();
            l->lbExcel->click();
            QCOMPARE(fx->ui->printed.size(), page + 1);
            QCOMPARE(fx->ui->printed.last().mid(4, l->liLedger->ListCount()), [this] {
                QStringList v;
                for (int i = 0; i < l->liLedger->ListCount(); ++i)
                    v << l->liLedger->List(i);
                return v;
            }());
            const XlsxSheet sheet(fx->ui->opened.last());
            QVERIFY(sheet.ok());
            QVERIFY(sheet.bold(QStringLiteral("A1")));
            QCOMPARE(sheet.rowRefs(2).isEmpty(), l->liLedger->ListCount() == 2);
            QFile::remove(fx->ui->opened.last());
        }
        QVERIFY(fx->ui->messages.isEmpty());
    }

    // The first language of the folder (English) gave the captions.
    void captions()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        QCOMPARE(l->lcTo->Caption(), QStringLiteral("To:"));
        QCOMPARE(l->lbExcel->Caption(), QStringLiteral("&Excel"));
        QCOMPARE(l->lbDelete->Caption(), QStringLiteral("&Delete"));
    }
};

int runPanelTests(int argc, char** argv)
{
    TestLedgerPanel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_panel.moc"
