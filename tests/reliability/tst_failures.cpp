// Failures of the database file as the operator meets them at the till: a
// full disk and a file deleted while logged in (directly and through a
// pointer file) are told in the program's words, with what was not done;
// the statement and the engine's words go to the log; a file put back is
// used again without a new login.
#include "cashier/cashierpanel.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/db.h"
#include "shell/fmain.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace mMain;

class TestFailures : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    CashierPanelView* p = nullptr;

    void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }
    void setCharge(const QString& charge)
    {
        p->ciCharge->lineEdit()->selectAll();
        key(p->ciCharge->lineEdit(), Qt::Key_Backspace);
        QTest::keyClicks(p->ciCharge->lineEdit(), charge);
    }
    // One Espresso into the cart of the charge shown, at the keyboard.
    void addEspresso()
    {
        p->ciCode->selectAll();
        key(p->ciCode, Qt::Key_Backspace);
        QTest::keyClicks(p->ciCode, QStringLiteral("ESP"));
        key(p->ciCode, Qt::Key_Return);
        key(p->ciQuantity, Qt::Key_Return);
    }
    void logIn(const QString& entry)
    {
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        p = dynamic_cast<CashierPanelView*>(fx->main->cashierPanel());
        QVERIFY(p);
        QVERIFY(!fx->main->pLogin->isVisible());
        fx->ui->clear();
    }
    // What no box of the program may show.
    static void plainWords(const QString& told)
    {
        for (const char* inner : {"SQL", "insert", "select", "gagal:", "KeyDown", "Form_", ".Click", "database or disk",
                                  "readonly", "read-only", "attempt to write"})
            QVERIFY2(!told.contains(QLatin1String(inner), Qt::CaseInsensitive), qPrintable(told));
    }
    qint64 cartRows(const QString& file)
    {
        Workstation other(file);
        return other.value(QStringLiteral("select count(*) from Salecart")).toLongLong();
    }

private slots:
    void init() { fx = std::make_unique<Fixture>(); }
    void cleanup() { fx.reset(); }

    // The disk under the database is full (the engine's page limit makes it
    // so): adding a cart line says so and that it was not saved.
    void fullDatabase()
    {
        logIn(QStringLiteral("Velmont Cafe & Resto"));
        setCharge(QStringLiteral("Meja 1"));
        addEspresso();
        QCOMPARE(p->ciCart->ListCount(), 3);
        QVERIFY(fx->ui->messages.isEmpty());

        // No page left to take: first the free ones, then the room at the
        // end of the cart table and its indexes, by rows the size of the
        // line that comes next.
        ExecSQL(QStringLiteral("create table filler(x)"));
        const qint64 pages = GetValue(QStringLiteral("pragma page_count")).toLongLong();
        ExecSQL(QStringLiteral("pragma max_page_count=%1").arg(pages));
        const auto fill = [](const QString& sql) {
            for (int i = 0; i < 100000; ++i) {
                try {
                    ExecSQL(sql);
                } catch (const platform::DbError& e) {
                    QCOMPARE(e.nativeCode().toInt() & 0xff, 13); // full
                    return;
                }
            }
            QFAIL("the database never filled up");
        };
        fill(QStringLiteral("insert into filler values(randomblob(1000))"));
        fill(QStringLiteral("insert into Salecart select (select max(id) + 1 from Salecart), 'Meja 2', code, "
                            "category, name, price, discount, subtotal, quantity, satuan, total, checked "
                            "from Salecart where charge='Meja 1'"));
        const qint64 before = GetValue(QStringLiteral("select count(*) from Salecart")).toLongLong();

        setCharge(QStringLiteral("Meja 3"));
        fx->ui->clear();
        addEspresso();
        QCOMPARE(fx->ui->messages.size(), 1);
        const RecordedMessage told = fx->ui->messages.first();
        QCOMPARE(told.kind, platform::MsgKind::Warning);
        QCOMPARE(told.title, QStringLiteral("Peringatan"));
        QVERIFY2(told.prompt.startsWith(QStringLiteral("Database penuh")), qPrintable(told.prompt));
        QVERIFY2(told.prompt.contains(QStringLiteral("Perubahan ini tidak tersimpan")), qPrintable(told.prompt));
        plainWords(told.prompt);
        QCOMPARE(GetValue(QStringLiteral("select count(*) from Salecart")).toLongLong(), before);
        QCOMPARE(p->ciCart->ListCount(), 2);
        // What the engine said, and the statement, are in the log.
        const QString log = fx->log();
        QVERIFY2(log.contains(QStringLiteral("database or disk is full")), qPrintable(log));
        QVERIFY(log.contains(QStringLiteral("SQL: insert into `Salecart`"), Qt::CaseInsensitive));
        QVERIFY(!app().DbConn().inTransaction());
    }

    // The database file deleted while logged in, the entry a file of the
    // program folder or a pointer to a shared path: the operator is told the
    // file is missing, where it was, and that nothing was saved; once it is
    // back, the next action works without a new login.
    void deletedDatabaseFile_data()
    {
        QTest::addColumn<bool>("pointer");
        QTest::newRow("entry file") << false;
        QTest::newRow("pointer file") << true;
    }
    void deletedDatabaseFile()
    {
        QFETCH(bool, pointer);
        QString file = fx->path(QStringLiteral("Velmont Cafe & Resto.cdb"));
        QString entry = QStringLiteral("Velmont Cafe & Resto");
        if (pointer) {
            QDir(fx->dir.path()).mkdir(QStringLiteral("shared"));
            QVERIFY(QFile::rename(file, fx->path(QStringLiteral("shared/pusat.cdb"))));
            file = fx->path(QStringLiteral("shared/pusat.cdb"));
            QFile lan(fx->path(QStringLiteral("Pusat.lan")));
            QVERIFY(lan.open(QIODevice::WriteOnly));
            lan.write(file.toUtf8() + "\r\n");
            lan.close();
            fx->main->ReadDB();
            entry = QStringLiteral("Pusat (LAN)");
        }
        logIn(entry);
        const QString kept = fx->path(QStringLiteral("kept.cdb"));
        QVERIFY(QFile::copy(file, kept));
        QVERIFY(QFile::remove(file));

        setCharge(QStringLiteral("Meja 1"));
        fx->ui->clear();
        addEspresso();
        QVERIFY(!fx->ui->messages.isEmpty());
        const QString told = fx->ui->messages.first().prompt;
        QVERIFY2(told.contains(QStringLiteral("Berkas database tidak ditemukan")), qPrintable(told));
        QVERIFY2(told.contains(QDir::toNativeSeparators(file)), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("tidak tersimpan")) || told.contains(QStringLiteral("tidak selesai")),
                 qPrintable(told));
        plainWords(told);
        QVERIFY(!QFile::exists(file));

        // Put back: the same session goes on.
        QVERIFY(QFile::copy(kept, file));
        fx->ui->clear();
        addEspresso();
        QVERIFY2(fx->ui->messages.isEmpty(), qPrintable(fx->ui->lastPrompt()));
        QCOMPARE(p->ciCart->ListCount(), 3);
        QCOMPARE(cartRows(file), qint64(1));
        QCOMPARE(app().DbConn().path(), QFileInfo(file).absoluteFilePath());
    }
};

int runFailureTests(int argc, char** argv)
{
    TestFailures t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_failures.moc"
