// The administration windows (new database, backup/restore/drop, settings),
// driven as the operator drives them against a fresh program folder.
#include "core/dbcheck.h"
#include "core/dbentry.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "manage/fdb.h"
#include "manage/fnew.h"
#include "manage/fsetting.h"
#include "manage/fuser.h"
#include "shell/fmain.h"
#include "support/datafixture.h"
#include "support/dbrows.h"
#include "support/fixture.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <unistd.h>

using platform::MsgKind;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Rows of a table read on a connection of its own; -1 for a file that does
// not open as a database.
int rows(const QString& file, const QString& table)
{
    try {
        platform::DbConnection db;
        db.Open(file, true);
        return db.GetValue("select count(*) from " + table).toInt();
    } catch (const platform::DbError&) {
        return -1;
    }
}

void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

class TestManage : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    fNew* nw() const { return app().form<fNew>(); }
    fDB* db() const { return app().form<fDB>(); }
    fSetting* st() const { return app().form<fSetting>(); }
    fUser* us() const { return app().form<fUser>(); }
    QString at(const QString& name) const { return fx->path(name); }
    QString sample() const { return at("Velmont Cafe & Resto.cdb"); }
    QStringList folder() const
    {
        return QDir(fx->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < fx->main->iDatabase->ListCount(); ++i)
            out << fx->main->iDatabase->List(i);
        return out;
    }
    // What a login leaves behind, set directly.
    void logIn(const QString& entry, const QString& file)
    {
        app().DbKind = "Access";
        app().DbEntry = entry;
        if (!file.isEmpty())
            app().DbConn().Open(file);
        fx->main->pLogin->hide();
        fx->main->pcLogo->hide();
        fx->main->tClock->setEnabled(true);
        fx->main->tCount->setEnabled(true);
    }
    // A shared database (a copy of the sample) and "<name>.lan" naming it.
    QString sharedEntry(const QString& name)
    {
        QDir(fx->dir.path()).mkpath("shared");
        QFile::copy(sample(), at("shared/pusat.cdb"));
        writeFile(at(name + ".lan"), at("shared/pusat.cdb").toUtf8() + "\r\n");
        return at("shared/pusat.cdb");
    }
    void activeIsOpenOn(const QString& file)
    {
        QVERIFY(app().hasDbConn());
        QCOMPARE(app().DbConn().path(), file);
        QVERIFY(mMain::GetValue("select count(*) from operator").toInt() > 0);
    }
    void warned(const QString& part)
    {
        QCOMPARE(fx->ui->messages.last().kind, MsgKind::Warning);
        QVERIFY2(fx->ui->lastPrompt().contains(part), qPrintable(fx->ui->lastPrompt()));
    }
    // The program folder read-only (also for root, through the immutable
    // flag); false when the machine cannot do it.
    bool lockFolder(bool on)
    {
        const QString folder = fx->dir.path();
        QFile::setPermissions(folder, on ? QFile::ReadOwner | QFile::ExeOwner
                                         : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (::geteuid() == 0)
            QProcess::execute("chattr", {on ? "+i" : "-i", folder});
        if (!on)
            return true;
        QFile probe(at("probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            lockFolder(false);
            return false;
        }
        return true;
    }
    void create(const QString& name, bool lan, bool odbc, const QString& path = QString())
    {
        nw()->show();
        nw()->iODBC->setValue(odbc);
        nw()->iConnect->setValue(lan);
        nw()->iDB->setText(name);
        if (lan)
            nw()->iPath->setText(path);
        nw()->bOK_Click();
    }

private slots:
    void init() { fx = std::make_unique<Fixture>(); }
    void cleanup() { fx.reset(); }

    void pointerFileFirstField()
    {
        const QList<QPair<QByteArray, QString>> cases = {{"/srv/pos/Toko.cdb\r\n", "/srv/pos/Toko.cdb"},
                                                         {"  \"/srv/a b.cdb\" \r\n", "/srv/a b.cdb"},
                                                         {" /srv/x.cdb , y\r\nz\r\n", "/srv/x.cdb"},
                                                         {"\"/srv/a,b.cdb\",x\n", "/srv/a,b.cdb"}};
        for (const auto& [content, path] : cases) {
            writeFile(at("p.lan"), content);
            QCOMPARE(ReadLanPath(at("p.lan")), path);
        }
        QCOMPARE(ReadLanPath(at("none.lan")), QString());
    }

    void newRefusesNamesAndWritesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Nama Database belum diisi";
        QTest::newRow("blanks") << "   "
                                << "Nama Database belum diisi";
        QTest::newRow("out of the folder") << "../escape"
                                           << "tidak boleh";
        QTest::newRow("dots") << "x..y"
                              << "tidak boleh";
        for (QChar c : QStringLiteral("/\\:*?\"<>|\t\x01") + QChar(0))
            QTest::addRow("char %d", c.unicode()) << QString("a") + c + "b"
                                                  << "tidak boleh";
    }
    void newRefusesNamesAndWritesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        const QStringList before = folder();
        for (int kind = 0; kind < 3; ++kind) {
            create(name, kind == 1, kind == 2, "/srv/x.cdb");
            warned(message);
            QVERIFY(nw()->isVisible());
        }
        QCOMPARE(folder(), before);
        for (const char* ext : {".cdb", ".lan", ".mdbc"})
            QVERIFY(!QFile::exists(at(QStringLiteral("../escape") + QLatin1String(ext))));
    }

    void newFailuresLeaveNoFile()
    {
        QDir(fx->dir.path()).mkdir("Kafe.cdb"); // the copy cannot land
        const QStringList before = folder();
        create("Kafe", false, false);
        warned("tidak dapat dibuat");
        QCOMPARE(folder(), before);
        QVERIFY(nw()->isVisible());
        QCOMPARE(nw()->iDB->Text(), QString("Kafe"));
        QFile::remove(at("Empty.tdb"));
        create("Toko", false, false);
        warned("Empty.tdb");
        QVERIFY(!QFile::exists(at("Toko.cdb")));
        app().ProgramFolder = at("gone"); // a folder that takes no files
        create("Toko", true, false, "/srv/Toko.cdb");
        warned("tidak dapat dibuat");
        create("Toko", false, true);
        warned("tidak dapat dibuat");
        QVERIFY(!QFileInfo::exists(at("gone")));
    }

    void newCreatesEachKind()
    {
        create("  Toko Baru ", false, false);
        QCOMPARE(readFile(at("Toko Baru.cdb")), readFile(at("Empty.tdb")));
        QCOMPARE(rows(at("Toko Baru.cdb"), "operator"), 1);
        QVERIFY(!nw()->isVisible());
        create("Toko", true, false, "/srv/pos/Toko.cdb");
        QCOMPARE(readFile(at("Toko.lan")), QByteArray("/srv/pos/Toko.cdb\r\n"));
        // A path holding a comma is quoted, so it reads back whole.
        create("Koma", true, false, "/srv/a,b.cdb");
        QCOMPARE(readFile(at("Koma.lan")), QByteArray("\"/srv/a,b.cdb\"\r\n"));
        QCOMPARE(ReadLanPath(at("Koma.lan")), QStringLiteral("/srv/a,b.cdb"));
        // Both boxes: only the marker, without a word.
        fx->ui->clear();
        create("Server", true, true, "/srv/x.cdb");
        QCOMPARE(readFile(at("Server.mdbc")), QByteArray());
        QVERIFY(!QFile::exists(at("Server.lan")) && fx->ui->messages.isEmpty());
        QCOMPARE(nw()->iDB->Text(), QString());
        QCOMPARE(nw()->iConnect->Value(), 0);
        QCOMPARE(nw()->iODBC->Value(), 1);
        for (const char* e : {"Toko Baru", "Toko (LAN)", "Server (MySQL-ODBC)"})
            QVERIFY2(listed().contains(e), e);

        // Each kind tests only its own file.
        const QStringList before = folder();
        create("Toko Baru", false, false);
        warned("Database dengan Nama 'Toko Baru' sudah ada, coba dengan Nama lain");
        create("Toko", true, false, "/other");
        warned("'Toko' sudah ada");
        QCOMPARE(folder(), before);
        create("Toko", false, false);
        QVERIFY(QFile::exists(at("Toko.cdb")));
    }

    // A marker holds its connection text: New with its name and the ODBC
    // kind is refused as the other kinds are, and the marker stays whole.
    void newOdbcNeverOverwritesAMarker()
    {
        const QByteArray text = "DRIVER={MariaDB Unicode};SERVER=db.example;DATABASE=toko;UID=kasir;PWD=rahasia";
        writeFile(at("Toko.mdbc"), text);
        writeFile(at("Kosong.mdbc"), QByteArray()); // a data source of odbc.ini: an entry too
        const QStringList before = folder();
        for (const char* name : {"Toko", "Kosong"}) {
            fx->ui->clear();
            create(name, false, true);
            warned(QStringLiteral("Database dengan Nama '%1' sudah ada, coba dengan Nama lain").arg(name));
            QVERIFY(nw()->isVisible());
        }
        create("Toko", true, true, "/srv/x.cdb");
        warned("'Toko' sudah ada");
        QCOMPARE(readFile(at("Toko.mdbc")), text);
        QCOMPARE(readFile(at("Kosong.mdbc")), QByteArray());
        QCOMPARE(folder(), before);
        // A local entry of the same name is another kind's file.
        create("Toko", false, false);
        QVERIFY(QFile::exists(at("Toko.cdb")));
        QCOMPARE(readFile(at("Toko.mdbc")), text);
    }

    void newDialogFieldsAndKeys()
    {
        fNew* f = nw();
        f->iDB->setText("Toko");
        QCOMPARE(f->iPath->Text(), app().programFile("Toko.cdb"));
        QVERIFY(!f->iPath->isEnabled() && !f->bConnect->isEnabled());
        f->iConnect->setValue(1);
        QCOMPARE(f->iPath->Text(), QString());
        QVERIFY(f->iPath->isEnabled() && f->bConnect->isEnabled());
        for (const QString& p : {fx->dir.path(), at("none.cdb"), sample()}) {
            f->iPath->setText(p);
            f->bConnect_Click();
        }
        QCOMPARE(fx->ui->prompts(),
                 (QStringList{"Koneksi Database gagal", "Koneksi Database gagal", "Koneksi Database berhasil"}));
        f->iConnect->setValue(0);
        QCOMPARE(f->iPath->Text(), app().programFile("Toko.cdb"));

        fx->ui->scripts["fNew"] = [&](platform::Form*) {
            f->iDB->setText("");
            f->iDB->setFocus();
            QTest::keyClicks(f->iDB, "toko kopi");
            press(Qt::Key_Return);
        };
        f->ShowModal();
        QVERIFY(QFile::exists(at("Toko Kopi.cdb")));
        // Esc and the close box clear and hide; the window stays loaded.
        for (bool closeBox : {false, true}) {
            fx->ui->scripts["fNew"] = [&](platform::Form*) {
                f->iConnect->setValue(1);
                f->iDB->setText("Sisa");
                closeBox ? void(f->close()) : press(Qt::Key_Escape);
                QVERIFY(!f->isVisible());
            };
            f->ShowModal();
            QCOMPARE(f->iDB->Text(), QString());
            QCOMPARE(f->iConnect->Value(), 0);
            QVERIFY(!f->isUnloaded());
        }
    }

    void backupLandsInACdbFile()
    {
        logIn("Velmont Cafe & Resto", sample());
        const int items = rows(sample(), "saleitems");
        QDir(fx->dir.path()).mkdir("out");
        const QString out = at("out/copy");
        fx->ui->fileAnswers = {out, out + "2.cdb", out + ".CDB"};
        db()->bBackup_Click();
        QCOMPARE(db()->iFilename->Text(), out);
        db()->bBackup_Click();
        QCOMPARE(db()->iFilename->Text(), out + "2");
        db()->bBackup_Click();
        const QStringList made = QDir(at("out")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(made, (QStringList{"copy.CDB.cdb", "copy.cdb", "copy2.cdb"}));
        for (const QString& name : made)
            QCOMPARE(rows(at("out/" + name), "saleitems"), items);
        QCOMPARE(fx->ui->prompts().count("Backup Database sukses"), 3);
        activeIsOpenOn(sample());

        // Over an earlier backup whose name the dialog was not asked about
        // (the ending comes after it): asked first; Cancel writes nothing.
        mMain::ExecSQL("delete from saleitems");
        fx->ui->clear();
        fx->ui->fileAnswers = {out, out};
        fx->ui->answers = {platform::MsgCancel, platform::MsgOK};
        db()->bBackup_Click();
        QCOMPARE(fx->ui->messages.size(), 1);
        QCOMPARE(fx->ui->messages.first().kind, MsgKind::Question);
        QVERIFY(fx->ui->lastPrompt().contains(QDir::toNativeSeparators(out + ".cdb")));
        QCOMPARE(rows(out + ".cdb", "saleitems"), items);
        db()->bBackup_Click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Backup Database sukses"));
        QCOMPARE(rows(out + ".cdb", "saleitems"), 0);
        QCOMPARE(QDir(at("out")).entryList(QDir::Files | QDir::Hidden, QDir::Name), made);

        // A copy that fails: said so, and the active database stays open.
        fx->ui->fileAnswers = {at("no/such/folder/copy")};
        db()->bBackup_Click();
        QCOMPARE(fx->ui->messages.last().kind, MsgKind::Warning);
        QVERIFY(fx->ui->lastPrompt().contains("gagal"));
        QVERIFY(!fx->ui->lastPrompt().contains("sukses"));
        activeIsOpenOn(sample());
    }

    void restoreAndItsRefusals()
    {
        logIn("Velmont Cafe & Resto", sample());
        const QByteArray original = readFile(sample());
        writeFile(at("notes.cdb"), "not a database\n");
        for (const char* copy : {"nooperator.cdb", "fresh.cdb"})
            QFile::copy(at("Empty.tdb"), at(copy));
        {
            platform::DbConnection c;
            c.Open(at("nooperator.cdb"));
            c.Execute("drop table operator");
        }
        const QStringList before = folder();
        // Backup onto the active file, with or without its ending; restore
        // from it, from a text file, from a database without operators.
        fx->ui->fileAnswers = {sample(), sample().chopped(4), sample(), at("notes.cdb"), at("nooperator.cdb")};
        for (int i = 0; i < 5; ++i) {
            i < 2 ? db()->bBackup_Click() : db()->bRestore_Click();
            QCOMPARE(fx->ui->messages.last().kind, MsgKind::Warning);
            QVERIFY(!fx->ui->lastPrompt().contains("sukses"));
        }
        // Cancelled file dialogs, a declined question.
        fx->ui->clear();
        fx->ui->fileAnswers = {"", "", at("fresh.cdb")};
        fx->ui->answers = {platform::MsgCancel};
        db()->bBackup_Click();
        db()->bRestore_Click();
        db()->bRestore_Click();
        QCOMPARE(fx->ui->messages.size(), 1);
        QCOMPARE(readFile(sample()), original);
        QCOMPARE(folder(), before);
        activeIsOpenOn(sample());
        // A good file replaces the data; nothing else is left in the folder.
        fx->ui->fileAnswers = {at("fresh.cdb")};
        fx->ui->answers = {platform::MsgOK};
        db()->bRestore_Click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Restore Database sukses"));
        QCOMPARE(mMain::GetValue("select count(*) from saleitems").toInt(), 0);
        mMain::SetConfig("Company", "Baru");
        activeIsOpenOn(sample());
        QCOMPARE(folder(), before);
        // An ODBC entry has no file: refused before any file dialog.
        app().DbEntry = "Server (MySQL-ODBC)";
        fx->ui->fileFilters.clear();
        db()->bBackup_Click();
        warned("ODBC");
        db()->bRestore_Click();
        warned("ODBC");
        QVERIFY(fx->ui->fileFilters.isEmpty());
    }

    void lanEntryWorksOnTheSharedFile()
    {
        const QString shared = sharedEntry("Cabang");
        const QByteArray pointer = readFile(at("Cabang.lan"));
        logIn("Cabang (LAN)", shared);
        mMain::SetConfig("Where", "shared");
        QFile::copy(at("Empty.tdb"), at("fresh.cdb"));
        fx->ui->fileAnswers = {at("lan"), at("fresh.cdb")};
        db()->bBackup_Click();
        QCOMPARE(rows(at("lan.cdb"), "config where `key`='Where'"), 1);
        fx->ui->answers = {platform::MsgOK};
        db()->bRestore_Click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Restore Database sukses"));
        QCOMPARE(rows(shared, "saleitems"), 0);
        QCOMPARE(readFile(at("Cabang.lan")), pointer);
        activeIsOpenOn(shared);
    }

    void dropDeletesOnlyTheEntrysFile_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("gone");
        QTest::newRow("plain") << "Toko"
                               << "Toko.cdb";
        QTest::newRow("pointer") << "Toko (LAN)"
                                 << "Toko.lan";
        QTest::newRow("odbc") << "Toko (MySQL-ODBC)"
                              << "Toko.mdbc";
        QTest::newRow("bracket in the name") << "Toko (Baru) (LAN)"
                                             << "Toko (Baru).lan";
    }
    void dropDeletesOnlyTheEntrysFile()
    {
        QFETCH(QString, entry);
        QFETCH(QString, gone);
        const QString shared = sharedEntry("Toko");
        sharedEntry("Toko (Baru)");
        QFile::copy(at("Empty.tdb"), at("Toko.cdb"));
        writeFile(at("Toko.mdbc"), "");
        QStringList expected = folder();
        expected.removeOne(gone);
        logIn(entry, gone.endsWith(".cdb") ? at(gone) : gone.endsWith(".lan") ? shared : QString());
        fMain* m = fx->main;
        app().MenuControl = m->bLedger;
        m->TabActive(m->bDB);
        fx->ui->answers = {platform::MsgCancel};
        db()->bDrop_Click();
        QVERIFY(QFile::exists(at(gone)) && m->tClock->Enabled());

        fx->ui->scripts["fDB"] = [this](platform::Form*) {
            QCOMPARE(db()->focusWidget(), static_cast<QWidget*>(db()->bClose));
            db()->bDrop->click();
        };
        fx->ui->answers = {platform::MsgOK};
        db()->ShowModal();
        QCOMPARE(folder(), expected);
        QCOMPARE(rows(shared, "operator"), 2);
        QVERIFY(!listed().contains(entry));
        QCOMPARE(m->Caption(), QString("Orvanta 2011 - Login"));
        QVERIFY(!m->tClock->Enabled() && !m->tCount->Enabled() && !app().hasDbConn());
        QVERIFY(m->pLogin->isVisible() && m->pcLogo->isVisible());
        QVERIFY(!db()->isVisible() && !db()->isUnloaded());
        QCOMPARE(app().MenuKey, QString("Ledger"));
        QTRY_COMPARE(m->focusWidget(), static_cast<QWidget*>(m->iUsername));
    }

    void settingsLoadSaveAndEnterChain()
    {
        logIn("Velmont Cafe & Resto", sample());
        mMain::ExecSQL("delete from config where `key`='Port'");
        mMain::SetConfig("Warehouse", "ya");
        fSetting* f = st();
        QList<QWidget*> walk;
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            QCOMPARE(f->iCompany->Text(), QString("Velmont Cafe & Resto"));
            QCOMPARE(f->iMessage3->Text(), QString("Sampai Jumpa Kembali"));
            QCOMPARE(f->iPort->Text(), QString());
            QCOMPARE(f->iWarehouse->Value(), 0);
            f->iAddress->setText("");
            QTest::keyClicks(f->iAddress, "jl. baru");
            f->iCompany->setFocus();
            for (int i = 0; i < 7; ++i) {
                walk << QApplication::focusWidget();
                press(Qt::Key_Return);
            }
        };
        f->ShowModal();
        QCOMPARE(walk, (QList<QWidget*>{f->iCompany, f->iAddress, f->iPhone, f->iMessage1, f->iMessage2, f->iMessage3,
                                        f->iPort}));
        QCOMPARE(fx->ui->lastPrompt(), QString("Setting telah tersimpan"));
        QCOMPARE(mMain::GetConfig("Address"), QString("Jl. Baru"));
        QCOMPARE(mMain::GetConfig("Port"), QString());
        QCOMPARE(mMain::GetConfig("Warehouse"), QString("0"));

        // Every showing reloads; a typed port stays as typed; saving twice
        // adds no rows; unsaved edits are gone at the next showing.
        mMain::SetConfig("Company", "Velmont");
        mMain::SetConfig("Warehouse", "1");
        const QString port = "\\\\kasir\\Epson TM";
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            QCOMPARE(f->iCompany->Text(), QString("Velmont"));
            QCOMPARE(f->iWarehouse->Value(), 1);
            QTest::keyClicks(f->iPort->lineEdit(), port);
            f->bSave->click();
            f->bSave->click();
            f->iCompany->setText("Unsaved");
            press(Qt::Key_Escape);
        };
        f->ShowModal();
        QCOMPARE(mMain::GetConfig("Port"), port);
        QCOMPARE(mMain::GetValue("select count(*) - count(distinct `key`) from config").toInt(), 0);
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            QCOMPARE(f->iCompany->Text(), QString("Velmont"));
            QCOMPARE(f->iPort->Text(), port);
        };
        f->ShowModal();
        QVERIFY(!f->isVisible() && !f->isUnloaded());

        // The box reads the setting as the login does: any whole number but
        // 0 is on; a text that only looks like a number to a lax reader is
        // off.
        QList<int> shown;
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            shown << f->iWarehouse->Value();
            press(Qt::Key_Escape);
        };
        for (const char* stored : {"2", "0.4", "0.5", "nan", "1e3", " 1 "}) {
            mMain::SetConfig("Warehouse", stored);
            f->ShowModal();
        }
        QCOMPARE(shown, (QList<int>{1, 0, 1, 0, 0, 1}));
        mMain::SetConfig("Warehouse", "1");

        // A save that fails on its seventh key changes none of the eight.
        mMain::ExecSQL("create trigger noport before update on config when new.`key`='Port' "
                       "begin select raise(abort, 'read-only'); end");
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            f->iCompany->setText("Toko O'Baru");
            f->iPort->setText("LPT2");
            f->bSave->click();
            // The engine's words go to the log; the operator reads that
            // nothing of the save was kept.
            QVERIFY2(fx->ui->lastPrompt().contains("Perubahan ini tidak tersimpan"), qPrintable(fx->ui->lastPrompt()));
            QVERIFY(!fx->ui->lastPrompt().contains("read-only"));
            QVERIFY(fx->log().contains("read-only"));
            QCOMPARE(fx->ui->messages.last().kind, MsgKind::Warning);
        };
        f->ShowModal();
        QCOMPARE(mMain::GetConfig("Company"), QString("Velmont"));
        QCOMPARE(mMain::GetConfig("Port"), port);
        mMain::ExecSQL("drop trigger noport");
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            f->iCompany->setText("Toko O'Baru");
            f->bSave->click();
        };
        f->ShowModal();
        QCOMPARE(mMain::GetConfig("Company"), QString("Toko OBaru"));
    }

    // Another workstation writes, or commits, while this one backs up: the
    // session keeps its connection whatever happens to the copy.
    void backupBesideAnotherWorkstation()
    {
        logIn("Velmont Cafe & Resto", sample());
        QDir(fx->dir.path()).mkdir("out");
        Workstation other(sample());
        QVERIFY(other.exec("begin immediate"));
        QVERIFY(other.exec("insert into config values('Pending', '1')"));
        fx->ui->fileAnswers = {at("out/while-writing")};
        db()->bBackup_Click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Backup Database sukses"));
        QCOMPARE(rows(at("out/while-writing.cdb"), "config where `key`='Pending'"), 0);
        activeIsOpenOn(sample());

        QVERIFY(other.exec("commit"));
        QVERIFY(other.exec("begin exclusive"));
        fx->ui->fileAnswers = {at("out/while-committing")};
        db()->bBackup_Click();
        warned(kBusyText);
        QVERIFY(!fx->ui->lastPrompt().contains("SQL"));
        QCOMPARE(QDir(at("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"while-writing.cdb"});
        QVERIFY(app().hasDbConn() && app().DbConn().isOpen());
        QVERIFY(other.exec("rollback"));
        activeIsOpenOn(sample());
        QCOMPARE(mMain::GetConfig("Pending"), QString("1"));
    }

    // A restore never pulls the file from under a workstation that writes;
    // once that one is done, it goes into the open database.
    void restoreGivesWayToAWorkstationWriting()
    {
        logIn("Velmont Cafe & Resto", sample());
        QFile::copy(at("Empty.tdb"), at("fresh.cdb"));
        const QStringList before = folder();
        {
            Workstation other(sample());
            QVERIFY(other.exec("begin immediate"));
            QVERIFY(other.exec("insert into config values('Pending', '1')"));
            fx->ui->fileAnswers = {at("fresh.cdb")};
            fx->ui->answers = {platform::MsgOK};
            db()->bRestore_Click();
            warned(kBusyText);
            QVERIFY(!fx->ui->prompts().contains("Restore Database sukses"));
            QVERIFY(other.exec("commit"));
        }
        QCOMPARE(rows(sample(), "config where `key`='Pending'"), 1);
        activeIsOpenOn(sample());

        Workstation idle(sample());
        QVERIFY(idle.value("select count(*) from saleitems").toInt() > 0);
        fx->ui->fileAnswers = {at("fresh.cdb")};
        fx->ui->answers = {platform::MsgOK};
        db()->bRestore_Click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Restore Database sukses"));
        QCOMPARE(mMain::GetValue("select count(*) from saleitems").toInt(), 0);
        QCOMPARE(idle.value("select count(*) from saleitems").toInt(), 0);
        QCOMPARE(rows(sample(), "config where `key`='Pending'"), 0);
        QCOMPARE(folder(), before);
    }

    void restoreTakesOnlyADatabaseOfThisProgram_data()
    {
        QTest::addColumn<QStringList>("make");
        QTest::addColumn<QString>("missing");
        QTest::newRow("foreign operator and config")
            << QStringList{"create table operator (name text, pass text)", "create table config (k text, v text)"}
            << "operator.username";
        QTest::newRow("journal without a column")
            << QStringList{"drop index cash_debit_credit", "alter table cash drop column Credit"} << "cash.credit";
        QTest::newRow("no stock table") << QStringList{"drop table stock"} << "stock";
    }
    void restoreTakesOnlyADatabaseOfThisProgram()
    {
        QFETCH(QStringList, make);
        QFETCH(QString, missing);
        logIn("Velmont Cafe & Resto", sample());
        const QByteArray original = readFile(sample());
        if (make.first().startsWith("create"))
            writeFile(at("other.cdb"), QByteArray());
        else
            QFile::copy(sample(), at("other.cdb"));
        {
            Workstation maker(at("other.cdb"));
            for (const QString& sql : make)
                QVERIFY2(maker.exec(sql), qPrintable(sql));
        }
        fx->ui->fileAnswers = {at("other.cdb")};
        fx->ui->answers = {platform::MsgOK};
        db()->bRestore_Click();
        warned(missing);
        QCOMPARE(readFile(sample()), original);
        activeIsOpenOn(sample());
    }

    // Locked by another workstation: told once, in words, and the windows
    // stay usable; a busy restore file is not called "not a database".
    void busyDatabaseToldOnceInWords()
    {
        logIn("Velmont Cafe & Resto", sample());
        QFile::copy(at("Empty.tdb"), at("fresh.cdb"));
        {
            Workstation restoreFile(at("fresh.cdb"));
            QVERIFY(restoreFile.exec("begin exclusive"));
            fx->ui->fileAnswers = {at("fresh.cdb")};
            db()->bRestore_Click();
            QCOMPARE(fx->ui->messages.size(), 1);
            warned(kBusyText);
            QVERIFY(!fx->ui->lastPrompt().contains("bukan"));
        }
        Workstation other(sample());
        QVERIFY(other.exec("begin exclusive"));
        for (platform::Form* window : QList<platform::Form*>{us(), st()}) {
            fx->ui->clear();
            bool usable = false;
            fx->ui->scripts[window->objectName()] = [&](platform::Form* f) {
                usable = f->isVisible() && f->isEnabled();
                QCOMPARE(fx->ui->messages.size(), 1);
                fx->ui->clear();
                QTest::mouseClick(window == us() ? static_cast<QWidget*>(us()->bSave) : st()->bSave, Qt::LeftButton);
                QCOMPARE(fx->ui->messages.size(), 1);
                press(Qt::Key_Escape);
            };
            window->ShowModal();
            QVERIFY(usable);
            QVERIFY(!window->isVisible());
            for (const RecordedMessage& m : fx->ui->messages) {
                QVERIFY2(m.prompt.contains(kBusyText) || m.prompt.contains("belum diisi"), qPrintable(m.prompt));
                QVERIFY2(!m.prompt.contains("SQL"), qPrintable(m.prompt));
            }
        }
    }

    // A file this workstation may only read: saving says so in words.
    void readOnlyDatabaseSaysItCannotBeWritten()
    {
        logIn("Velmont Cafe & Resto", QString());
        app().DbConn().Open(sample(), true);
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            st()->iCompany->setText("Baru");
            QTest::mouseClick(st()->bSave, Qt::LeftButton);
            press(Qt::Key_Escape);
        };
        st()->ShowModal();
        fx->ui->scripts["fUser"] = [&](platform::Form*) {
            us()->iUsername->setText("Budi");
            us()->iPassword->setText("rahasia");
            QTest::mouseClick(us()->bSave, Qt::LeftButton);
            press(Qt::Key_Escape);
        };
        us()->ShowModal();
        QCOMPARE(fx->ui->messages.size(), 2);
        for (const RecordedMessage& m : fx->ui->messages) {
            QVERIFY2(m.prompt.contains(kReadOnlyText) && !m.prompt.contains("SQL"), qPrintable(m.prompt));
            QCOMPARE(m.kind, MsgKind::Warning);
        }
        QCOMPARE(mMain::GetConfig("Company"), QString("Velmont Cafe & Resto"));

        // The file may be written, its folder takes no journal.
        app().DbConn().Open(sample());
        if (!lockFolder(true))
            QSKIP("this machine cannot make a folder read-only");
        fx->ui->clear();
        st()->ShowModal();
        lockFolder(false);
        QCOMPARE(fx->ui->messages.size(), 1);
        QVERIFY2(fx->ui->lastPrompt().contains(kReadOnlyText), qPrintable(fx->ui->lastPrompt()));
        QCOMPARE(mMain::GetConfig("Company"), QString("Velmont Cafe & Resto"));
    }

    // What the users window must not store: a name that is blank once stored,
    // a password whose stored form the database cannot keep, and the last
    // `user` right taken away.
    void usersWindowRefusesWhatWouldLockOperatorsOut()
    {
        logIn("Velmont Cafe & Resto", sample());
        fUser* u = us();
        const auto save = [&](const QString& name, const QString& password, int userRight) {
            fx->ui->clear();
            fx->ui->scripts["fUser"] = [&](platform::Form*) {
                u->iUsername->setText(name);
                press(Qt::Key_Return); // on to the password: the operator's row is loaded
                u->iPassword->setText(password);
                u->iUser->setValue(userRight);
                QTest::mouseClick(u->bSave, Qt::LeftButton);
                press(Qt::Key_Escape);
            };
            u->ShowModal();
        };
        const QString operators = "select group_concat(username || ':' || `user`, ' ') from operator";
        const QString before = mMain::GetValue(operators).toString();
        save("'''", "x", 1);
        warned("Username belum diisi");
        save(" ' ", "x", 1);
        warned("Username belum diisi");
        for (const QString& password : {QString("caf\u00ff"), QString("\u0178"), QString("k\u0101sir")}) {
            save("Budi", password, 0);
            warned("Password tidak boleh");
            QVERIFY(!fx->ui->lastPrompt().contains("SQL"));
        }
        QCOMPARE(mMain::GetValue(operators).toString(), before);
        // Admin is the one operator with the `user` right: saving it without
        // the right is refused as deleting it is, and allowed once another
        // operator holds the right.
        save("Admin", "admin", 0);
        warned("satu-satunya");
        QCOMPARE(mMain::GetValue(operators).toString(), before);
        fx->ui->answers = {platform::MsgOK};
        fx->ui->scripts["fUser"] = [&](platform::Form*) {
            u->iUsername->setText("Admin");
            QTest::mouseClick(u->bDelete, Qt::LeftButton);
            press(Qt::Key_Escape);
        };
        u->ShowModal();
        warned("satu-satunya");
        save("Kasir", "kasir", 1);
        save("Admin", "admin", 0);
        QCOMPARE(fx->ui->lastPrompt(), QString("User telah tersimpan"));
        QCOMPARE(mMain::GetValue(operators).toString(), QString("Admin:0 Kasir:1"));
        // A password with characters past the ASCII range that do have a
        // stored form keeps them.
        save("Kasir", "Caf\u00e9 \u00d8", 1);
        QCOMPARE(fx->ui->lastPrompt(), QString("User telah tersimpan"));
        QCOMPARE(mMain::GetValue("select password from operator where username='Kasir'").toString(),
                 mMain::PasswordForm("caf\u00e9 \u00f8"));
    }

    // The users and settings windows after another till's save write only
    // what the operator changed; an operator deleted there stays deleted; a
    // name with blanks around it logs in; a port naming the database file
    // is refused; the ledger hears of the warehouse setting at once.
    void formsAfterAnotherTill()
    {
        fx->login("Velmont Cafe & Resto", "Admin", "admin");
        QSignalSpy changed(app().Session(), &ShopSession::settingsChanged);
        fx->main->bLedger_Click();
        const platform::ListBox* report = dynamic_cast<LedgerPanelView*>(fx->main->ledgerPanel())->liLedger;
        const qsizetype heading = report->List(0).size();
        Workstation other(sample());
        fx->ui->scripts["fUser"] = [&](platform::Form*) {
            for (const char* meanwhile : {"update operator set master=0 where username='Kasir'",
                                          "delete from operator where username='Kasir'"}) {
                us()->iUsername->setText("Kasir");
                QVERIFY(other.exec(meanwhile));
                us()->iLedger->setValue(1);
                us()->bSave->click();
                QCOMPARE(mMain::GetValue("select master from operator where username='Kasir'").toInt(), 0);
            }
            warned("User 'Kasir' sudah tidak ada");
            us()->iUsername->setText(" kasir dua ");
            us()->iPassword->setText("dua");
            us()->bSave->click();
        };
        us()->ShowModal();
        QCOMPARE(rowsOf("select username from operator"), QStringList({"Admin", "kasir dua"}));
        fx->ui->scripts["fSetting"] = [&](platform::Form*) {
            QVERIFY(other.exec("update config set setting='COM2' where `key`='Port'"));
            st()->iWarehouse->setValue(0);
            st()->bSave->click();
            st()->bSave->click();
            st()->iPort->setText(app().DbConn().path());
            st()->bSave->click();
            warned("file database");
        };
        st()->ShowModal();
        QCOMPARE(rowsOf("select setting from config where `key` in ('Port', 'Warehouse') order by `key`"),
                 QStringList({"COM2", "0"}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(report->List(0).size(), heading - 13);
        fx->ui->answers = {platform::MsgOK};
        fx->main->bLogout_Click();
        fx->login("Velmont Cafe & Resto", "kasir dua", "dua");
        QCOMPARE(app().CurrentUser, QString("Kasir dua"));
    }

    void pointerPathsReadBackExactly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/srv/pos/Toko.cdb";
        QTest::newRow("comma") << "/srv/a,b.cdb";
        QTest::newRow("quote") << "/srv/a\"b.cdb";
        QTest::newRow("quote then comma") << "/srv/a\",b.cdb";
        QTest::newRow("quoted whole") << "\"/srv/q.cdb\"";
        QTest::newRow("blank at the ends") << " /srv/x.cdb ";
        QTest::newRow("windows share") << "\\\\server\\data\\Toko, Pusat.cdb";
    }
    void pointerPathsReadBackExactly()
    {
        QFETCH(QString, path);
        create("Toko", true, false, path);
        QVERIFY2(QFile::exists(at("Toko.lan")), qPrintable(fx->ui->lastPrompt()));
        QCOMPARE(ReadLanPath(at("Toko.lan")), path);
    }

    void newRefusesPointerWithoutPathAndLookAlikeNames()
    {
        const QStringList before = folder();
        create("Kosong", true, false, "");
        warned("Lokasi Database belum diisi");
        create("Kosong", true, false, "   ");
        warned("Lokasi Database belum diisi");
        for (const QString& name :
             {QString("Toko\u200b"), QString("Toko\u202eokoT"), QString("To\u00a0ko"), QString("Toko\u2028")}) {
            create(name, false, false);
            warned("tidak terlihat");
        }
        QCOMPARE(folder(), before);
    }

    // A drop that cannot delete the entry's file says so while the session
    // goes on, rather than logging out first.
    void dropInAFolderThatCannotBeWritten()
    {
        QFile::copy(at("Empty.tdb"), at("Toko.cdb"));
        logIn("Toko", at("Toko.cdb"));
        if (!lockFolder(true))
            QSKIP("this machine cannot make a folder read-only");
        fx->ui->answers = {platform::MsgOK};
        db()->bDrop_Click();
        lockFolder(false);
        QCOMPARE(fx->ui->messages.size(), 2);
        warned("tidak dapat dihapus");
        QVERIFY(QFile::exists(at("Toko.cdb")));
        QVERIFY(fx->main->pLogin->isHidden() && fx->main->tClock->Enabled());
        activeIsOpenOn(at("Toko.cdb"));
    }
};

QTEST_MAIN(TestManage)
#include "tst_manage.moc"
