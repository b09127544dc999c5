// The shared services: SQL dates, the settings table, the database
// component on the program's connection, key filters and line printing.
// (Quoting, numbers, fixed-width cells and opening a database are the data
// platform's, tested without a window in tests/data.)
#include "core/app.h"
#include "core/mmain.h"
#include "core/model/printerport.h"
#include "data/db.h"
#include "data/failure.h"
#include "platform/controls.h"
#include "platform/printer.h"
#include "support/fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace mMain;

class TestCore : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    void openTemplate()
    {
        app().DbKind = QStringLiteral("Access");
        app().DbConn().Open(fx->path(QStringLiteral("Empty.tdb")));
    }

private slots:
    void init() { fx = std::make_unique<Fixture>(QStringList{QStringLiteral("Empty.tdb")}, false); }
    void cleanup() { fx.reset(); }

    void sqlDate()
    {
        app().DbKind = QString();
        QCOMPARE(SqlDate(QStringLiteral("2026-12-08")), QString());
        app().DbKind = QStringLiteral("Access");
        QCOMPARE(SqlDate(QStringLiteral("2026-12-08")), QStringLiteral("'2026-12-08'"));
        QCOMPARE(SqlDate(QStringLiteral("2026-12-08 13:05:09")), QStringLiteral("'2026-12-08 13:05:09'"));
        QCOMPARE(SqlDate(QDate(2026, 1, 2)), QStringLiteral("'2026-01-02'"));
        app().DbKind = QStringLiteral("MySQL");
        QCOMPARE(SqlDate(QStringLiteral("2026-12-08")), QStringLiteral("'2026-12-08'"));
    }

    void configStore()
    {
        openTemplate();
        QCOMPARE(GetConfig(QStringLiteral("Nothing")), QString());
        QCOMPARE(GetValue(QStringLiteral("select count(*) from config where `key`='Nothing'")).toInt(), 0);
        QCOMPARE(GetConfig(QStringLiteral("note")), QStringLiteral("0")); // keys ignore case
        SetConfig(QStringLiteral("Company"), QStringLiteral("Toko 'Maju'"));
        QCOMPARE(GetValue(QStringLiteral("select count(*) from config where `key`='Company'")).toInt(), 1);
        QCOMPARE(GetConfig(QStringLiteral("Company")), QStringLiteral("Toko Maju"));
        SetConfig(QStringLiteral("Company"), QStringLiteral("Toko Baru"));
        QCOMPARE(GetValue(QStringLiteral("select count(*) from config where `key`='Company'")).toInt(), 1);
        QCOMPARE(GetConfig(QStringLiteral("Company")), QStringLiteral("Toko Baru"));
        // The same value again writes nothing; a change of case is a change.
        const QByteArray stamp = app().DbConn().changeStamp();
        SetConfig(QStringLiteral("Company"), QStringLiteral("Toko Baru"));
        QCOMPARE(app().DbConn().changeStamp(), stamp);
        SetConfig(QStringLiteral("Company"), QStringLiteral("TOKO BARU"));
        QCOMPARE(GetConfig(QStringLiteral("Company")), QStringLiteral("TOKO BARU"));
        // A failed write leaves no half transaction behind.
        ExecSQL(QStringLiteral("create trigger refuse before insert on config begin select raise(abort, 'full'); end"));
        ExecSQL(
            QStringLiteral("create trigger refuse2 before update on config begin select raise(abort, 'full'); end"));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, SetConfig(QStringLiteral("Tax"), QStringLiteral("10")));
        QVERIFY(!app().DbConn().inTransaction());
        QCOMPARE(GetConfig(QStringLiteral("Tax")), QStringLiteral("0"));
        ExecSQL(QStringLiteral("delete from config where `key`='Tax'"));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, SetConfig(QStringLiteral("Tax"), QStringLiteral("10")));
        QCOMPARE(GetValue(QStringLiteral("select count(*) from config where `key`='Tax'")).toInt(), 0);
    }

    // A setting read as a number: the strict reader (either decimal
    // separator, nothing else) and the one rounding rule; a text that is no
    // number, or a number beyond the range, reads as 0 or the nearest end.
    void configNumbers_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("number");
        QTest::newRow("on") << "1" << 1;
        QTest::newRow("off") << "0" << 0;
        QTest::newRow("blanks around") << " 1 " << 1;
        QTest::newRow("half rounds up") << "0.5" << 1;
        QTest::newRow("below half") << "0.49" << 0;
        QTest::newRow("decimal comma") << "1,5" << 2;
        QTest::newRow("negative half") << "-2.5" << -3;
        QTest::newRow("word") << "ya" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("nan") << "nan" << 0;
        QTest::newRow("infinity") << "inf" << 0;
        QTest::newRow("exponent") << "1e5" << 0;
        QTest::newRow("grouping") << "1,000,000" << 0;
        QTest::newRow("beyond the range") << "99999999999" << std::numeric_limits<int>::max();
        QTest::newRow("beyond the range, negative") << "-99999999999" << std::numeric_limits<int>::min();
    }
    void configNumbers()
    {
        QFETCH(QString, stored);
        QFETCH(int, number);
        openTemplate();
        SetConfig(QStringLiteral("Warehouse"), stored);
        QCOMPARE(ConfigNumber(QStringLiteral("Warehouse")), number);
        ExecSQL(QStringLiteral("delete from config where `key`='Warehouse'"));
        QCOMPARE(ConfigNumber(QStringLiteral("Warehouse")), 0);
    }

    void databaseComponent()
    {
        openTemplate();
        // Names in any case, backticked names with blanks.
        ExecSQL(QStringLiteral("insert into `Cash InItems` values('MODAL', 'Kas', 'Modal Awal', 100000, 0, '')"));
        ExecSQL(QStringLiteral("insert into saleitems values('KOPI', 'Minuman', 'Kopi Hitam', 10000, 10, 'Gelas')"));
        ExecSQL(QStringLiteral("insert into shopitems values('KOPI', 'Bahan', 'Kopi Bubuk', 4000, 0, 'Gelas')"));
        ExecSQL(QStringLiteral("insert into inventory values('KOPI')"));
        QCOMPARE(GetValue(QStringLiteral("select count(code) from `cash initems` where code='modal'")).toInt(), 1);
        auto rs = OpenRecordset(QStringLiteral(
            "select code, category, `name`, price, discount, price - ((discount / 100) * price) as total, "
            "discount & '%' as pct from `Saleitems` where `code` like 'KO%' order by code"));
        QVERIFY(!rs->Eof());
        QCOMPARE(rs->Fields(QStringLiteral("NAME")).toString(), QStringLiteral("Kopi Hitam"));
        QCOMPARE(rs->Fields(QStringLiteral("Total")).toDouble(), 9000.0);
        QVERIFY(rs->Fields(QStringLiteral("pct")).toString().endsWith(QLatin1Char('%')));
        QCOMPARE(rs->Fields(0).toString(), QStringLiteral("KOPI"));
        rs->MoveNext();
        QVERIFY(rs->Eof());
        // Nested joins in parentheses.
        auto joined = OpenRecordset(QStringLiteral(
            "select inventory.code, shopitems.price as buy, saleitems.price as sell from (inventory inner join "
            "shopitems on inventory.code=shopitems.code) inner join saleitems on inventory.code=saleitems.code"));
        QCOMPARE(joined->Fields(QStringLiteral("buy")).toDouble(), 4000.0);
        QCOMPARE(joined->Fields(QStringLiteral("sell")).toDouble(), 10000.0);
        // '&' inside a literal stays as it is.
        ExecSQL(QStringLiteral("insert into Customer values('C1', 'Velmont Cafe & Resto', '', '', '')"));
        QCOMPARE(GetValue(QStringLiteral("select `name` from customer where code='C1'")).toString(),
                 QStringLiteral("Velmont Cafe & Resto"));
        // A query without rows gives null; a sum over no rows too.
        QVERIFY(GetValue(QStringLiteral("select `name` from customer where code='none'")).isNull());
        QVERIFY(GetValue(QStringLiteral("select sum(debit) from cash")).isNull());
        // An error carries its statement.
        try {
            ExecSQL(QStringLiteral("select * from nosuchtable"));
            QFAIL("no error");
        } catch (const platform::DbError& e) {
            QCOMPARE(e.sql(), QStringLiteral("select * from nosuchtable"));
            QVERIFY(e.text().contains(QLatin1String("nosuchtable")));
        }
    }

    void newIdsAndTransactions()
    {
        openTemplate();
        auto insert = [](qint64 id) {
            return QStringLiteral("insert into stockflow values(%1, '2026-12-08', 'Opname', 'A', 'A', 'Kg', 1, 0)")
                .arg(id);
        };
        QCOMPARE(InsertWithNewId(QStringLiteral("stockflow"), QStringLiteral("id"), insert), 1);
        QCOMPARE(InsertWithNewId(QStringLiteral("stockflow"), QStringLiteral("id"), insert), 2);
        ExecSQL(QStringLiteral("update stockflow set id=10 where id=2"));
        QCOMPARE(InsertWithNewId(QStringLiteral("stockflow"), QStringLiteral("id"), insert), 11);
        // A failing insert rolls its transaction back.
        QVERIFY_THROWS_EXCEPTION(
            platform::DbError, InsertWithNewId(QStringLiteral("stockflow"), QStringLiteral("id"),
                                               [](qint64) { return QStringLiteral("insert into nosuch values(1)"); }));
        QVERIFY(!app().DbConn().inTransaction());
        {
            platform::DbTransaction tx(app().DbConn());
            ExecSQL(QStringLiteral("delete from stockflow"));
        }
        QCOMPARE(GetValue(QStringLiteral("select count(*) from stockflow")).toInt(), 3);
    }

    void keyFilters()
    {
        QCOMPARE(NumericOnly('5', false), int('5'));
        QCOMPARE(NumericOnly(',', false), 0);
        QCOMPARE(NumericOnly(',', true), int(','));
        QCOMPARE(NumericOnly('.', true), 0);
        QCOMPARE(NumericOnly(8, false), 8);
        QCOMPARE(NumericOnly('a', true), 0);
        QCOMPARE(UpperKey('a'), int('A'));
        QCOMPARE(UpperKey('1'), int('1'));
        QCOMPARE(ProperKey('s', QStringLiteral("budi ")), int('S'));
        QCOMPARE(ProperKey('s', QStringLiteral("budi")), int('s'));
        QCOMPARE(ProperKey('b', QString()), int('B'));
    }

    void fieldsThroughTheControls()
    {
        platform::TextBox box(nullptr, QStringLiteral("iName"));
        box.events.KeyPress = [&box](int& k) { k = ProperKey(k, box.Text()); };
        QTest::keyClicks(&box, QStringLiteral("budi santoso"));
        QCOMPARE(box.Text(), QStringLiteral("Budi Santoso"));

        platform::TextBox amount(nullptr, QStringLiteral("iAmount"));
        amount.Change = [&amount] { FormatNumberBox(&amount); };
        QTest::keyClicks(&amount, QStringLiteral("1234567"));
        QCOMPARE(amount.Text(), QStringLiteral("1,234,567"));
        QCOMPARE(amount.cursorPosition(), amount.Text().size());
        amount.setText(QString());
        QCOMPARE(amount.Text(), QString());
        // Where "." groups, the same typing reads back as the same amount.
        QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
        QTest::keyClicks(&amount, QStringLiteral("1234567"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(amount.Text(), QStringLiteral("1.234.567"));
        amount.setText(QString());

        FocusOn(&box);
        QCOMPARE(platform::backColor(&box), QColor(216, 236, 254));
        FocusOff(&box);
        QCOMPARE(platform::backColor(&box), QColor(Qt::white));
    }

    void filesAndPasswords()
    {
        QCOMPARE(GetExt(QStringLiteral("shop.backup.cdb")), QStringLiteral("cdb"));
        QCOMPARE(GetExt(QStringLiteral("README")), QString());
        QCOMPARE(GetExt(QStringLiteral("name.")), QString());
        QVERIFY(!FileExists(fx->dir.path()));
        QVERIFY(FileExists(fx->path(QStringLiteral("Empty.tdb"))));
        QVERIFY(!FileExists(fx->path(QStringLiteral("nothing"))));
        QCOMPARE(InvertChars(QStringLiteral("a")).at(0).unicode(), ushort(158));
        QCOMPARE(InvertChars(InvertChars(QStringLiteral("Rahasia 'x' 123"))), QStringLiteral("Rahasia 'x' 123"));
        QString filter = QStringLiteral("*.cdb");
        ShowOpen(nullptr, filter, QStringLiteral("Restore"), QStringLiteral("/"));
        QCOMPARE(filter, QStringLiteral("*.cdb") + QChar(0));
        QCOMPARE(fx->ui->fileFilters.last(), filter);
        QCOMPARE(platform::qtFilter(filter), QStringLiteral("*.cdb"));
    }

    void messageBoxes()
    {
        fx->ui->answers = {platform::MsgCancel, platform::MsgOK};
        QCOMPARE(MsgConfirm(QStringLiteral("Yakin?"), QStringLiteral("Konfirmasi")), 2);
        QCOMPARE(MsgConfirm(QStringLiteral("Yakin?"), QStringLiteral("Konfirmasi")), 1);
        MsgWarn(QStringLiteral("Kode belum diisi"), QStringLiteral("Peringatan"));
        QCOMPARE(fx->ui->messages.last().kind, platform::MsgKind::Warning);
        QCOMPARE(fx->ui->messages.last().title, QStringLiteral("Peringatan"));
    }

    void printLineToPorts()
    {
        openTemplate();
        const QString port = fx->path(QStringLiteral("receipt.txt"));
        SetConfig(QStringLiteral("Port"), port);
        PrintLine(QStringLiteral("Velmont Cafe"));
        PrintLine(QStringLiteral("Terima kasih"));
        QFile f(port);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Velmont Cafe\r\nTerima kasih\r\n"));
        EndPrint(); // a port has no document to end
        QVERIFY(fx->ui->printed.isEmpty());

        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("no/such/folder/lpt")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, PrintLine(QStringLiteral("x")));

        // A port that nobody reads never hangs the program: one without a
        // reader is refused at once, one that stops taking bytes gives its
        // warning once the wait is over.
        const QString fifo = fx->path(QStringLiteral("lp0"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        SetConfig(QStringLiteral("Port"), fifo);
        QElapsedTimer clock;
        clock.start();
        platform::WanButton print(nullptr, QStringLiteral("bPrint"), QStringLiteral("Print"));
        print.Click = [] { PrintLine(QStringLiteral("Velmont Cafe")); };
        print.click();
        QVERIFY(fx->ui->lastPrompt().contains(QStringLiteral("Port printer '%1'").arg(fifo)));
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 platform::writePortLine(fifo, QString(1 << 20, QLatin1Char('x')), 300));
        ::close(reader);
        QVERIFY(clock.elapsed() < 5000);

        QCOMPARE(platform::portDevice(QStringLiteral("LPT1")), QStringLiteral("/dev/lp0"));
        QCOMPARE(platform::portDevice(QStringLiteral("lpt2")), QStringLiteral("/dev/lp1"));
        QCOMPARE(platform::portDevice(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(platform::portDevice(QStringLiteral("COM2")), QStringLiteral("/dev/ttyS1"));

        // "Default", empty or missing: the printer document, sent at the end.
        for (const QString& setting : {QStringLiteral("Default"), QString()}) {
            SetConfig(QStringLiteral("Port"), setting);
            PrintLine(QStringLiteral("line 1"));
            PrintLine(QStringLiteral("line 2"));
            QVERIFY(fx->ui->printed.isEmpty());
            EndPrint();
            QCOMPARE(fx->ui->printed.size(), 1);
            QCOMPARE(fx->ui->printed.takeFirst(), (QStringList{QStringLiteral("line 1"), QStringLiteral("line 2")}));
        }
        ExecSQL(QStringLiteral("delete from config where `key`='Port'"));
        PrintLine(QStringLiteral("no setting"));
        EndPrint();
        QCOMPARE(fx->ui->printed.size(), 1);

        // A print command that fails halfway leaves nothing for the next one.
        print.Click = [] {
            PrintLine(QStringLiteral("half a report"));
            throw platform::DbError(QStringLiteral("no such table: cash"));
        };
        print.click();
        QVERIFY(fx->ui->lastPrompt().contains(QLatin1String("no such table: cash")));
        PrintLine(QStringLiteral("receipt"));
        EndPrint();
        QCOMPARE(fx->ui->printed.last(), QStringList{QStringLiteral("receipt")});

        // A port that cannot be written: one warning, the rest not printed.
        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("no/such/folder/lpt")));
        int sent = 0;
        print.Click = [&sent] {
            for (int i = 0; i < 3; ++i) {
                PrintLine(QStringLiteral("line"));
                ++sent;
            }
            EndPrint();
        };
        const qsizetype before = fx->ui->messages.size();
        print.click();
        QCOMPARE(sent, 0);
        QCOMPARE(fx->ui->messages.size(), before + 1);
        QCOMPARE(fx->ui->messages.last().kind, platform::MsgKind::Warning);
    }

    // A port without a reader, and one that stops taking data: the box says
    // so in the program's words (the system's go to the log), and after the
    // first line that timed out the rest of the print-out is not tried.
    void portFailuresInWordsAndNoLongerThanOneTimeout()
    {
        openTemplate();
        const QString fifo = fx->path(QStringLiteral("lp0"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        SetConfig(QStringLiteral("Port"), fifo);
        platform::WanButton print(nullptr, QStringLiteral("bPrint"), QStringLiteral("Print"));
        print.Click = [] {
            PrintLine(QStringLiteral("Velmont Cafe"));
            EndPrint();
        };
        print.click();
        QCOMPARE(fx->ui->messages.size(), 1);
        const QString told = fx->ui->lastPrompt();
        QVERIFY2(told.contains(QStringLiteral("tidak ada yang membaca")), qPrintable(told));
        QVERIFY2(!told.contains(QStringLiteral("No such device")) && !told.contains(QStringLiteral("bPrint")),
                 qPrintable(told));
        QVERIFY(fx->log().contains(QStringLiteral("bPrint.Click gagal")));
        QVERIFY(fx->log().contains(QStringLiteral("No such device or address")));

        // A reader that reads nothing: the pipe is full before the first line.
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        const int filler = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(filler >= 0);
        const QByteArray block(4096, 'x');
        while (::write(filler, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(filler);
        QElapsedTimer clock;
        clock.start();
        int failed = 0;
        for (int i = 0; i < 20; ++i) {
            try {
                PrintLine(QStringLiteral("line %1").arg(i));
            } catch (const platform::Failure& e) {
                ++failed;
                QVERIFY2(e.text().contains(QStringLiteral("tidak menerima data lagi")), qPrintable(e.text()));
            }
        }
        EndPrint();
        QCOMPARE(failed, 20);
        QVERIFY2(clock.elapsed() < 3 * platform::portTimeout(), qPrintable(QString::number(clock.elapsed())));

        // The next print-out tries the port afresh.
        char sink[4096];
        while (::read(reader, sink, sizeof sink) > 0) {
        }
        PrintLine(QStringLiteral("again"));
        EndPrint();
        QByteArray got;
        for (ssize_t n; (n = ::read(reader, sink, sizeof sink)) > 0;)
            got.append(sink, n);
        ::close(reader);
        QCOMPARE(got, QByteArray("again\r\n"));
    }

    // "LPT1" and the other port names stand for devices: one that this
    // machine lacks is told as missing and never made as a file, whose
    // content every later print-out would silently go into.
    void portNamesNeverCreateTheirDevice()
    {
        openTemplate();
        platform::WanButton print(nullptr, QStringLiteral("bPrint"), QStringLiteral("Print"));
        print.Click = [] {
            PrintLine(QStringLiteral("Velmont Cafe"));
            EndPrint();
        };
        // Nor does a port stored otherwise (an older program, another
        // workstation) that names the open database print into it.
        const QString file = app().DbConn().path();
        SetConfig(QStringLiteral("Port"), file);
        const qint64 size = QFileInfo(file).size();
        print.click();
        QCOMPARE(QFileInfo(file).size(), size);
        QVERIFY(fx->ui->lastPrompt().contains(QStringLiteral("adalah file database")));
        int tried = 0;
        for (const QString& name :
             {QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("COM1"), QStringLiteral("COM2")}) {
            const QString device = platform::portDevice(name);
            if (QFileInfo::exists(device))
                continue;
            ++tried;
            SetConfig(QStringLiteral("Port"), name);
            fx->ui->clear();
            print.click();
            const bool made = QFileInfo(device).isFile();
            if (made)
                QFile::remove(device);
            QVERIFY2(!made, qPrintable(device));
            QCOMPARE(fx->ui->messages.size(), 1);
            QVERIFY2(fx->ui->lastPrompt().contains(name) &&
                         fx->ui->lastPrompt().contains(QStringLiteral("tidak ada di komputer ini")),
                     qPrintable(fx->ui->lastPrompt()));
        }
        if (tried == 0)
            QSKIP("this machine has every port device");
    }

    // A printer port never names a database file the program keeps, under
    // any of its names, nor climbs with "..".
    void portNeverNamesADatabase()
    {
        openTemplate();
        for (const char* name : {"Pusat.lan", "pusat.dat"})
            QVERIFY(QFile(fx->path(name)).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(app().DbConn().path(), fx->path("struk.prn")));
        const QStringList kept = KeptDatabaseFiles(fx->dir.path(), {app().DbConn().path()}, [](const QString& lan) {
            return lan.endsWith("Pusat.lan") ? QStringLiteral("pusat.dat") : QString();
        });
        for (const QString& port : {QString(), QString("Default"), QString("lpt1"), QString("COM2:"),
                                    QString("/dev/usb/lp0"), fx->path("nota.prn"), QString("\\\\kasir\\Epson")})
            QVERIFY2(PortRefusal(port, kept).isEmpty(), qPrintable(port));
        for (const QString& port : {app().DbConn().path(), app().DbConn().path() + "-journal", fx->path("Empty.tdb"),
                                    fx->path("struk.prn"), fx->path("pusat.dat"), " " + fx->path("Pusat.lan"),
                                    QString("lain.MDBC"), QString("../../escape.prn"), fx->path("a/../nota.prn")})
            QVERIFY2(PortRefusal(port, kept).startsWith("Port printer"), qPrintable(port));
    }

    // A portrait document with a line wider than the page turns the page; a
    // rule of dashes does not count, and a narrow document stays portrait.
    void widePrintOutsTurnThePage()
    {
        openTemplate();
        SetConfig(QStringLiteral("Port"), QStringLiteral("Default"));
        const QString rule(212, QLatin1Char('-'));
        const auto printed = [&](const QStringList& lines) {
            for (const QString& line : lines)
                PrintLine(line);
            EndPrint();
            return fx->ui->printedLandscape.takeLast();
        };
        QVERIFY(!printed({QString(40, QLatin1Char('x')), rule}));
        QVERIFY(!printed({QString(100, QLatin1Char('x'))}));
        QVERIFY(printed({QString(150, QLatin1Char('x'))}));
        QVERIFY(printed({QStringLiteral("DATA"), QString(200, QLatin1Char('x'))}));
        // Landscape asked for stays landscape, and the next one is portrait
        // again unless it is wide.
        app().Printer.setOrientation(2);
        QVERIFY(printed({QStringLiteral("x")}));
        app().Printer.setOrientation(1);
        QVERIFY(!printed({QStringLiteral("x")}));
        QVERIFY(platform::LinesFit({QString(150, QLatin1Char('x'))}, app().Printer.font(), true));
        QVERIFY(!platform::LinesFit({QString(150, QLatin1Char('x'))}, app().Printer.font(), false));
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
