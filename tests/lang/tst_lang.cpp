// Languages: the language box, the remembered choice, lookups and captions.
#include "data/spreadsheet.h"
#include "lang/mlang.h"
#include "shell/fmain.h"
#include "support/fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QString lines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The control kind a row's section writes to.
bool fits(const QWidget* w, const mLang::CaptionRow& row)
{
    const QByteArray s(row.section), kind(w ? w->metaObject()->className() : "");
    if (row.property == mLang::Property::Text)
        return kind == "platform::MemoBox";
    return s == "MENU"     ? kind == "platform::Label"
           : s == "BUTTON" ? kind == "platform::WanButton"
           : s == "CHECK"  ? kind == "platform::CheckBox"
                           : kind == "platform::Label" || kind == "platform::Frame";
}

QString shown(const QWidget* w)
{
    const char* property = w->inherits("QGroupBox") ? "title" : w->inherits("QPlainTextEdit") ? "plainText" : "text";
    return lines(w->property(property).toString());
}

// A database file made by the statements; false when one is refused.
bool makeDatabase(const QString& path, std::initializer_list<const char*> statements)
{
    Workstation maker(path);
    for (const char* sql : statements)
        if (!maker.exec(QString::fromLatin1(sql))) {
            qWarning() << "refused:" << sql;
            return false;
        }
    return true;
}

} // namespace

class TestLang : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m() const { return fx->main; }
    QString remembered() const { return fx->app->Settings.GetSetting("OV", "Global", "Language"); }
    QStringList folder() const { return QDir(fx->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }
    void startWith(const QString& stored, const QStringList& files = {})
    {
        fx = std::make_unique<Fixture>(files, false);
        fx->app->Settings.SaveSetting("OV", "Global", "Language", stored);
        fx->start();
    }

private slots:
    void cleanup() { fx.reset(); }

    void startSelectsRememberedOrFirst_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::newRow("first start") << ""
                                     << "English";
        QTest::newRow("kept") << "Indonesia"
                              << "Indonesia";
        QTest::newRow("gone") << "Klingon"
                              << "English";
        QTest::newRow("case counts") << "indonesia"
                                     << "English";
    }
    void startSelectsRememberedOrFirst()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        startWith(stored);
        QCOMPARE(m()->iLanguage->ListCount(), 2);
        QCOMPARE(m()->iLanguage->Text(), selected);
        QCOMPARE(remembered(), selected);
        QCOMPARE(m()->lCashier->Caption(), QString::fromLatin1(selected == u"English" ? "CASHIER" : "KASIR"));
        QVERIFY(!m()->pFlag->pixmap().isNull());
        QVERIFY(fx->ui->messages.isEmpty());
    }

    void pickingAndTypingApplyALanguage()
    {
        startWith(QString());
        m()->iLanguage->setListIndex(1);
        QCOMPARE(remembered(), QStringLiteral("Indonesia"));
        QCOMPARE(m()->cLanguage->Caption(), QStringLiteral("Bahasa:"));
        QVERIFY(m()->hiHelp->Text().startsWith(QStringLiteral("ORVANTA 2011 - BANTUAN\n")));
        const QStringList info = lines(m()->cInfo->Text()).split(u'\n');
        QCOMPARE(info.size(), 3);
        QVERIFY(info[0].contains(u"Velmont Cafe & Resto") && info[1].contains(u"Username: Admin") &&
                info[1].contains(u"Password: admin") && info[2].contains(u"01/01/2010"));

        // A partial name opens (and creates) nothing; the whole name applies.
        const QStringList files = folder();
        m()->iLanguage->lineEdit()->selectAll();
        QTest::keyClicks(m()->iLanguage->lineEdit(), QStringLiteral("Engl"));
        QCOMPARE(folder(), files);
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("KASIR"));
        QCOMPARE(remembered(), QStringLiteral("Indonesia"));
        QTest::keyClicks(m()->iLanguage->lineEdit(), QStringLiteral("ish"));
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("CASHIER"));
        QCOMPARE(remembered(), QStringLiteral("English"));
        QTest::keyClick(m()->iLanguage->lineEdit(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m()->iDatabase);

        // The row that stood selected before the typing can be picked again.
        m()->iLanguage->setListIndex(1);
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("KASIR"));
        QCOMPARE(remembered(), QStringLiteral("Indonesia"));
        QTest::keyClick(m()->iLanguage->lineEdit(), Qt::Key_Up);
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("CASHIER"));
    }

    // The program's own messages follow the language, line breaks and all,
    // failures told by the database layer too.
    void ownTextsFollowTheLanguage()
    {
        startWith(QStringLiteral("English"));
        fx->ui->openSucceeds = false;
        QFile junk(fx->path(QStringLiteral("Junk.cdb")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("no database") > 0);
        junk.close();
        m()->ReadDB();
        for (const char* saved : {"The file was saved in:\n", "Berkas sudah disimpan di:\n"}) {
            const QString path = platform::OpenWorkbook([](const QString&) {}, QStringLiteral("x"));
            QVERIFY(fx->ui->lastPrompt().startsWith(QLatin1String(saved) + QDir::toNativeSeparators(path) + u'\n'));
            fx->login(QStringLiteral("Junk"), QStringLiteral("Admin"), QStringLiteral("admin"));
            QVERIFY(fx->ui->lastPrompt().startsWith(QLatin1String(*saved == 'T'
                                                                      ? "Koneksi database gagal\nThis file is not a"
                                                                      : "Koneksi database gagal\nBerkas ini bukan")));
            m()->iLanguage->setListIndex(1);
        }
    }

    // The main window's rows, and those of every other window that exists.
    void captionMapReachesEveryExistingWindow()
    {
        startWith(QStringLiteral("Indonesia"));
        int mainRows = 0;
        for (const mLang::CaptionRow& row : mLang::CaptionMap()) {
            if (!fx->app->form(QString::fromLatin1(row.window)))
                continue;
            mainRows += QByteArray(row.window) == "fMain";
            const QWidget* w = mLang::CaptionTarget(row);
            QVERIFY2(fits(w, row), row.control);
            QString text = mLang::LangText(QString::fromLatin1(row.section), QString::fromLatin1(row.key));
            QVERIFY2(text != u"Undifined", row.key);
            QCOMPARE(shown(w), text.replace(QStringLiteral("\\n"), QStringLiteral("\n")));
        }
        // The menu's and the login panel's rows; the working panels add theirs.
        QVERIFY(mainRows >= 16);
    }

    void incompleteLanguageSet_data()
    {
        QTest::addColumn<QByteArray>("helpFile"); // null: none
        QTest::addColumn<QString>("help");
        QTest::newRow("no help file") << QByteArray() << "";
        QTest::newRow("empty help") << QByteArray("") << "";
        QTest::newRow("three lines") << QByteArray("one\n\r\nthree") << "one\n\nthree\n";
    }
    void incompleteLanguageSet()
    {
        QFETCH(QByteArray, helpFile);
        QFETCH(QString, help);
        startWith(QString());
        QVERIFY(makeDatabase(
            fx->path("Tiny.ldb"),
            {"create table MENU (`Key` text, Value text)", "create table CAPTION (`Key` text, Value text)",
             "create table BUTTON (`Key` text, Value text)", "create table `CHECK` (`Key` text, Value text)",
             "create table TGRID (`Key` text, Value text)",
             "insert into MENU values ('mCashier', 'first'), ('mCashier', 'x'), ('mLedger', null)",
             "insert into CAPTION values ('cLanguage', 'one\\ntwo')"}));
        QFile txt(fx->path("Tiny.txt"));
        QVERIFY(helpFile.isNull() || (txt.open(QIODevice::WriteOnly) && txt.write(helpFile) >= 0 && txt.flush()));
        m()->iLanguage->setText(QStringLiteral("Tiny"));
        QCOMPARE(remembered(), QStringLiteral("Tiny"));
        QCOMPARE(lines(m()->hiHelp->Text()), help);
        QVERIFY(m()->pFlag->pixmap().isNull());
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("first"));
        QCOMPARE(m()->cLanguage->Caption(), QStringLiteral("one\\ntwo"));
        for (const QString& t : {m()->lLedger->Caption(), m()->lStock->Caption(), m()->bLogin->Caption(),
                                 m()->cInfo->Text(), mLang::LangGrid(QStringLiteral("tCode"))})
            QCOMPARE(t, QStringLiteral("Undifined"));
    }

    void listingTakesLowerCaseLdbInNameOrder()
    {
        fx = std::make_unique<Fixture>(QStringList(), false);
        fx->app->Settings.SaveSetting("OV", "Global", "Language", QString());
        QVERIFY(QDir(fx->dir.path()).mkdir("x.ldb"));
        QVERIFY(QFile::copy(fx->path("English.ldb"), fx->path("Y.LDB")));
        QVERIFY(QFile::copy(fx->path("Indonesia.ldb"), fx->path("alpha.ldb")));
        fx->start();
        QStringList listed;
        for (int i = 0; i < m()->iLanguage->ListCount(); ++i)
            listed << m()->iLanguage->List(i);
        QCOMPARE(listed, QStringList({"alpha", "English", "Indonesia", "x"}));
        QCOMPARE(mLang::LangGrid(QStringLiteral("tGlobal")), QStringLiteral("Semua"));
        m()->iLanguage->setListIndex(3); // a folder is no language database
        QCOMPARE(m()->lCashier->Caption(), QStringLiteral("KASIR"));
        QCOMPARE(remembered(), QStringLiteral("alpha"));
    }

    void noLanguageKeepsDesignCaptions()
    {
        startWith(QString(), {QStringLiteral("Empty.tdb")});
        QCOMPARE(m()->iLanguage->ListCount(), 0);
        QCOMPARE(m()->bLogin->Caption(), QStringLiteral("&Login"));
        QCOMPARE(remembered(), QString());
        QCOMPARE(mLang::LangCaption(QStringLiteral("cCode")), QStringLiteral("Undifined"));
    }

    // A stray .ldb without the tables of texts is no language: choosing it
    // keeps the language in use, its captions and the remembered choice.
    void languageDatabaseWithoutItsTablesIsNotApplied()
    {
        startWith(QStringLiteral("English"));
        const QString caption = m()->bLogin->Caption();
        const QString help = m()->hiHelp->Text();
        QVERIFY(caption != QStringLiteral("Undifined"));
        QVERIFY(makeDatabase(fx->path("Stray.ldb"),
                             {"create table MENU (`Key` text, Value text)", "create table BUTTON (k text, v text)",
                              "create table CAPTION (`Key` text, Value text)",
                              "create table `CHECK` (`Key` text, Value text)",
                              "create table TGRID (`Key` text, Value text)"}));
        QFile::copy(fx->path("English.txt"), fx->path("Stray.txt"));
        m()->iLanguage->setText(QStringLiteral("Stray"));
        QCOMPARE(remembered(), QStringLiteral("English"));
        QCOMPARE(m()->bLogin->Caption(), caption);
        QCOMPARE(m()->hiHelp->Text(), help);
    }
};

QTEST_MAIN(TestLang)
#include "tst_lang.moc"
