// The caption map and the language sets as data, with no window: every row
// names a control once and a text that each shipped language holds, the
// language sets hold the same keys once each, and every text the engine asks
// for by key is there in each language.
#include "cashier/model/actions.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/inventory.h"
#include "data/db.h"
#include "data/sqltext.h"
#include "lang/model/captionmap.h"
#include "ledger/model/reports.h"
#include "support/datafixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using mLang::CaptionRow;
using mLang::Property;

namespace {

const QStringList kSections = {"MENU", "BUTTON", "CAPTION", "CHECK", "TGRID"};

// The language sets the program folder ships, by name.
QStringList languages()
{
    QStringList out;
    for (const QString& f : QDir(distFile(QString())).entryList({QStringLiteral("*.ldb")}, QDir::Files))
        out << f.chopped(4);
    return out;
}

// "section/key" of every text of a language set.
QSet<QString> keysOf(platform::DbConnection& db)
{
    QSet<QString> keys;
    for (const QString& s : kSections)
        for (auto rs = db.OpenRecordset(QStringLiteral("select `Key` from `%1`").arg(s)); !rs->Eof(); rs->MoveNext())
            keys.insert(s + QLatin1Char('/') + rs->Fields(0).toString());
    return keys;
}

// The one non-empty text of a key, as a lookup reads it.
bool holds(platform::DbConnection& db, const QString& section, const QString& key)
{
    return db.GetValue(QStringLiteral("select count(*) from `%1` where `Key`=%2 and Value is not null and Value <> ''")
                           .arg(section, platform::Quote(key)))
               .toLongLong() == 1;
}

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    QHash<QString, std::shared_ptr<platform::DbConnection>> sets;

private slots:
    void initTestCase()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Empty.tdb")});
        QCOMPARE(languages(), (QStringList{"English", "Indonesia"}));
        for (const QString& name : languages()) {
            auto db = std::make_shared<platform::DbConnection>();
            db->Open(distFile(name + QStringLiteral(".ldb")), true);
            sets.insert(name, db);
        }
    }
    void cleanupTestCase()
    {
        sets.clear();
        fx.reset();
    }

    // Each row names a window, a control, a section of the language sets
    // and a key; only the login panel's information text is set as text.
    void rowsAreWhole()
    {
        QVERIFY(mLang::CaptionMap().size() > 100);
        for (const CaptionRow& row : mLang::CaptionMap()) {
            const QByteArray what = QByteArray(row.window) + '.' + row.control;
            QVERIFY2(*row.window && *row.control && *row.key, what);
            QVERIFY2(kSections.mid(0, 4).contains(QLatin1String(row.section)), what);
            QVERIFY2(row.property == Property::Caption || QByteArray(row.section) == "CAPTION", what);
        }
    }

    // A control given two texts would show whichever came last.
    void noControlTwice()
    {
        QSet<QByteArray> seen;
        for (const CaptionRow& row : mLang::CaptionMap()) {
            const QByteArray what = QByteArray(row.window) + '.' + row.control;
            QVERIFY2(!seen.contains(what), what);
            seen.insert(what);
        }
    }

    // Every key the map uses reads a text of its own in each language.
    void everyRowInEveryLanguage()
    {
        for (auto it = sets.begin(); it != sets.end(); ++it)
            for (const CaptionRow& row : mLang::CaptionMap())
                QVERIFY2(holds(*it.value(), QLatin1String(row.section), QLatin1String(row.key)),
                         qPrintable(it.key() + QLatin1Char(' ') + QLatin1String(row.section) + QLatin1Char('/') +
                                    QLatin1String(row.key)));
    }

    // The language sets hold the same keys, each once and with a text: a
    // key only one language has reads "Undifined" in the other.
    void languagesHoldTheSameKeysOnce()
    {
        QSet<QString> first;
        for (auto it = sets.begin(); it != sets.end(); ++it) {
            platform::DbConnection& db = *it.value();
            for (const QString& s : kSections) {
                auto dup = db.OpenRecordset(
                    QStringLiteral("select `Key` from `%1` group by `Key` having count(*) > 1").arg(s));
                QVERIFY2(dup->Eof(), qPrintable(it.key() + QLatin1Char(' ') + s + QLatin1Char('/') +
                                                (dup->Eof() ? QString() : dup->Fields(0).toString())));
            }
            const QSet<QString> keys = keysOf(db);
            for (const QString& k : keys)
                QVERIFY2(holds(db, k.section(QLatin1Char('/'), 0, 0), k.section(QLatin1Char('/'), 1)),
                         qPrintable(it.key() + QLatin1Char(' ') + k));
            if (first.isEmpty())
                first = keys;
            QCOMPARE(keys - first, QSet<QString>());
            QCOMPARE(first - keys, QSet<QString>());
        }
    }

    // Every text the code words by key is in each language, and the
    // Indonesian set words it as the code does, which a set made before the
    // text existed shows in its place.
    void ownTextsInEveryLanguage()
    {
        static const QRegularExpression call(QStringLiteral(
            "OwnText\\(\\s*\"(\\w+)\",\\s*(?:QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\s*\\))?"));
        int calls = 0;
        QDirIterator files(QStringLiteral(ORV_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile f(files.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch& m : call.globalMatch(QString::fromUtf8(f.readAll()))) {
                ++calls;
                QString words;
                for (const QRegularExpressionMatch& piece :
                     QRegularExpression(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\"")).globalMatch(m.captured(2)))
                    words += piece.captured(1);
                words.replace(QLatin1String("\\\""), QLatin1String("\""))
                    .replace(QLatin1String("\\u00ff"), QStringLiteral("\u00ff"));
                words.replace(QLatin1String("\\\\"), QLatin1String("\\"));
                for (auto it = sets.begin(); it != sets.end(); ++it) {
                    const QString what = it.key() + QLatin1Char(' ') + m.captured(1);
                    QVERIFY2(holds(*it.value(), QStringLiteral("CAPTION"), m.captured(1)), qPrintable(what));
                    if (it.key() == u"Indonesia" && !words.isEmpty())
                        QCOMPARE(it.value()
                                     ->GetValue(QStringLiteral("select Value from `CAPTION` where `Key`=") +
                                                platform::Quote(m.captured(1)))
                                     .toString(),
                                 words);
                }
            }
        }
        QVERIFY(calls > 90);
    }

    // The column titles of the lists and reports and the charge captions of
    // the actions, as the engine asks for them.
    void engineLookupsResolve()
    {
        QSet<QString> grid{QStringLiteral("tGlobal")};
        for (const QStringList& keys :
             {catalogue::ItemTitleKeys(), catalogue::ContactTitleKeys(),
              inventory::TitleKeys(inventory::Layout::Joined), inventory::TitleKeys(inventory::Layout::Items),
              inventory::TitleKeys(inventory::Layout::Contacts)})
            for (const QString& k : keys)
                grid.insert(k);
        platform::DbConnection db;
        fx->openTemplate(db);
        const ledger::ReportContext ctx{db, DataFixture::dbKind(), [&grid](const QString& key) {
                                            grid.insert(key);
                                            return key;
                                        }};
        for (int page = ledger::Journal; page <= ledger::Stock; ++page)
            QVERIFY(ledger::BuildReport(ctx, page, {QDate(2010, 1, 1), QDate(2010, 12, 31)}, {}, true));
        QVERIFY(grid.size() > 30);

        QSet<QString> captions{cashier::ChargeCaptionKey(QString())};
        for (int i = 0; !cashier::ActionWord(i).isEmpty(); ++i)
            captions.insert(cashier::ChargeCaptionKey(cashier::ActionWord(i)));
        QCOMPARE(captions.size(), 5);

        for (auto it = sets.begin(); it != sets.end(); ++it) {
            for (const QString& k : grid)
                QVERIFY2(holds(*it.value(), QStringLiteral("TGRID"), k), qPrintable(it.key() + QLatin1Char(' ') + k));
            for (const QString& k : captions)
                QVERIFY2(holds(*it.value(), QStringLiteral("CAPTION"), k), qPrintable(it.key() + QLatin1Char(' ') + k));
        }
    }
};

QTEST_GUILESS_MAIN(TestCaptions)
#include "tst_captions.moc"
