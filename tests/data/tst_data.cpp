// The widget-free data part: the number rules under the Indonesian and the
// English locale, quoting and canonical numbers, fixed-width cells, stored
// values read back, what opening a database refuses, and the template read
// for a server.
#include "data/db.h"
#include "data/serverschema.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "support/datafixture.h"

#include <QFile>
#include <QLocale>
#include <QTest>
#include <cmath>
#include <limits>

using namespace platform;

namespace {

QLocale localeNamed(const QString& name)
{
    return name == QLatin1String("id") ? QLocale(QLocale::Indonesian, QLocale::Indonesia)
                                       : QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace

class TestData : public QObject {
    Q_OBJECT

private slots:
    // The template read for a server: every script statement kept, types in
    // the server's words (exact password column), the password form as the
    // characters it stands for, literals untouched.
    void serverStatementsOfTheTemplate()
    {
        const QStringList s = platform::ServerStatements(
            QStringLiteral("-- a comment; with a semicolon\ncreate table operator (\n  username TEXT COLLATE NOCASE,\n"
                           "  password TEXT,\n  cashier INTEGER,\n  price REAL\n);\n"
                           "insert into config values('Port', 'TEXT; REAL -- not a comment');\n"
                           "insert into operator values('Admin', char(158,155,146,150,145), 1);\n"));
        QCOMPARE(s.size(), 3);
        QVERIFY(
            s[0].contains(QLatin1String("username VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci,")));
        QVERIFY(s[0].contains(QLatin1String("password VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin,")));
        QVERIFY(s[0].contains(QLatin1String("cashier BIGINT,")) && s[0].contains(QLatin1String("price DOUBLE")));
        QVERIFY(!s[0].contains(QLatin1String("NOCASE")) && !s[0].contains(QLatin1String("comment")));
        QCOMPARE(s[1], QStringLiteral("insert into config values('Port', 'TEXT; REAL -- not a comment')"));
        QString admin;
        for (char16_t c : {158, 155, 146, 150, 145})
            admin += QChar(c);
        QCOMPARE(s[2], QStringLiteral("insert into operator values('Admin', '") + admin + QStringLiteral("', 1)"));
        // The real scripts: every table of the template, no SQLite words left.
        QFile schema(QStringLiteral(":/orvsql/schema.sql"));
        QVERIFY(schema.open(QIODevice::ReadOnly));
        const QStringList all = platform::ServerStatements(QString::fromUtf8(schema.readAll()));
        QVERIFY(all.filter(QStringLiteral("create table"), Qt::CaseInsensitive).size() >= 15);
        for (const QString& st : all)
            QVERIFY2(!st.contains(QLatin1String("NOCASE")) && !st.contains(QLatin1String(" REAL")), qPrintable(st));
        // An index over more text than a server key holds keeps the first
        // characters of each text column; a short one stays whole.
        QCOMPARE(all.filter(QStringLiteral("stockflow_report")),
                 QStringList(QStringLiteral("create index stockflow_report on stockflow(code(190), description(190), "
                                            "moment(190), category(190), `in`, `out`)")));
        QVERIFY(all.contains(QStringLiteral("create index cash_category on cash(Category, Moment)")));
    }

    void odbcMarkerText()
    {
        DataFixture fx;
        const QString marker = fx.path(QStringLiteral("Server.mdbc"));
        QFile f(marker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(platform::OdbcConnectionText(marker, QStringLiteral("Server")), QStringLiteral("DSN=Server"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("  DRIVER={MariaDB Unicode};SERVER=db;DATABASE=toko;UID=kasir;PWD=x\r\n");
        f.close();
        QCOMPARE(platform::OdbcConnectionText(marker, QStringLiteral("Server")),
                 QStringLiteral("DRIVER={MariaDB Unicode};SERVER=db;DATABASE=toko;UID=kasir;PWD=x"));
    }

    void init() { QLocale::setDefault(localeNamed(QStringLiteral("en"))); }
    void cleanup() { QLocale::setDefault(localeNamed(QStringLiteral("en"))); }

    void parseAmount_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        auto row = [](const char* name, const char* loc, const char* text, bool ok, double value) {
            QTest::newRow(name) << QString::fromLatin1(loc) << QString::fromUtf8(text) << ok << value;
        };
        row("en plain", "en", "1500", true, 1500);
        row("en grouped", "en", "1,500", true, 1500);
        row("en grouped decimals", "en", "1,234,567.25", true, 1234567.25);
        row("en negative", "en", "-1,500", true, -1500);
        row("en blanks around", "en", "  12 ", true, 12);
        row("en decimal only", "en", "0.5", true, 0.5);
        row("en group out of place", "en", "1,5", false, 0);
        row("en group of two", "en", "1,50,000", false, 0);
        row("en first group too long", "en", "1500,000", false, 0);
        row("en leading group", "en", ",500", false, 0);
        row("en trailing group", "en", "1,000,", false, 0);
        row("en double group", "en", "1,,000", false, 0);
        row("en two decimal points", "en", "1.2.3", false, 0);
        row("en decimal point without digits", "en", "12.", true, 12);
        row("en decimal point alone", "en", ".", false, 0);
        row("en other locale's form", "en", "1.500,5", false, 0);
        row("en exponent", "en", "1e5", false, 0);
        row("en exponent upper", "en", "2E3", false, 0);
        row("en nan", "en", "nan", false, 0);
        row("en inf", "en", "inf", false, 0);
        row("en hex", "en", "0x10", false, 0);
        row("en stray characters", "en", "12abc", false, 0);
        row("en injection", "en", "12; drop table cash", false, 0);
        row("en empty", "en", "", false, 0);
        row("en sign only", "en", "-", false, 0);
        row("en blank inside", "en", "1 500", false, 0);
        row("id plain", "id", "1500", true, 1500);
        row("id grouped", "id", "1.500", true, 1500);
        row("id grouped decimals", "id", "1.234.567,25", true, 1234567.25);
        row("id decimal comma", "id", "1,5", true, 1.5);
        row("id comma after three", "id", "1,500", true, 1.5);
        row("id negative", "id", "-2.500", true, -2500);
        row("id point as decimal", "id", "12.5", false, 0);
        row("id group of two", "id", "1.50.000", false, 0);
        row("id two decimal commas", "id", "1,2,3", false, 0);
        row("id english form", "id", "1,234.5", false, 0);
        row("id exponent", "id", "1e5", false, 0);
        row("id nan", "id", "NaN", false, 0);
        row("id infinity", "id", "Infinity", false, 0);
        row("id stray characters", "id", "Rp 1.500", false, 0);
    }
    void parseAmount()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QLocale::setDefault(localeNamed(locale));
        bool good = !ok;
        QCOMPARE(ParseAmount(text, &good), value);
        QCOMPARE(good, ok);
    }

    // A figure written elsewhere (pasted, or typed into a box without a key
    // filter) is read as written, in either convention and either locale,
    // or refused: never ten or a thousand times what was written. "-" marks
    // a refusal; a field with decimals takes a fraction, one without none.
    void readWrittenFigure_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("decimal");
        auto row = [](const char* text, const char* whole, const char* decimal) {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromLatin1(whole)
                                << QString::fromLatin1(decimal);
        };
        row("1,000,000.50", "-", "1000000.5");
        row("18.000,50", "-", "18000.5");
        row("1,5", "-", "1.5");
        row(".5", "-", "0.5");
        row("0,250", "-", "0.25");
        row("1,000", "1000", "-");
        row("1.000.000", "1000000", "1000000");
        row("Rp 1.500", "-", "-");
        row("12\n34", "-", "-");
        row("12 34", "-", "-");
        row("1e308", "-", "-");
        row("1.5,5", "-", "-");
        row("1,2,3", "-", "-");
        row("-2500", "-", "-");
        row("0012", "12", "12");
    }
    void readWrittenFigure()
    {
        QFETCH(QString, text);
        QFETCH(QString, whole);
        QFETCH(QString, decimal);
        for (const char* loc : {"en", "id"}) {
            QLocale::setDefault(localeNamed(QString::fromLatin1(loc)));
            for (const bool decimals : {false, true}) {
                const std::optional<Figure> f = ReadFigure(text, {decimals, false}, FigureSource::Written);
                QCOMPARE(f ? Num(f->value) : QStringLiteral("-"), decimals ? decimal : whole);
            }
        }
    }

    void parseQuantity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5" << true << 1.5;
        QTest::newRow("point") << "0.25" << true << 0.25;
        QTest::newRow("whole") << "3" << true << 3.0;
        QTest::newRow("two separators") << "1,5.2" << false << 0.0;
        QTest::newRow("exponent") << "1e2" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("inf") << "-inf" << false << 0.0;
        QTest::newRow("text") << "dua" << false << 0.0;
    }
    void parseQuantity()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        for (const char* loc : {"en", "id"}) {
            QLocale::setDefault(localeNamed(QString::fromLatin1(loc)));
            bool good = !ok;
            QCOMPARE(ParseQuantity(text, &good), value);
            QCOMPARE(good, ok);
        }
    }

    void roundAmount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("rounded");
        QTest::newRow("45 x 0.7 stored as 31.5") << 45 * 0.7 << 0 << 32.0;
        QTest::newRow("half up") << 2.5 << 0 << 3.0;
        QTest::newRow("half away from zero") << -2.5 << 0 << -3.0;
        QTest::newRow("below half") << 0.4999 << 0 << 0.0;
        QTest::newRow("negative below half") << -0.4 << 0 << 0.0;
        QTest::newRow("1.005 to cents") << 1.005 << 2 << 1.01;
        QTest::newRow("2.675 to cents") << 2.675 << 2 << 2.68;
        QTest::newRow("four decimals") << 1234.56785 << 4 << 1234.5679;
        QTest::newRow("whole stays") << 1500.0 << 0 << 1500.0;
        QTest::newRow("large") << 1e20 << 0 << 1e20;
        QTest::newRow("tiny") << 1e-20 << 0 << 0.0;
        QTest::newRow("0.1 + 0.2 to one decimal") << 0.1 + 0.2 << 1 << 0.3;
    }
    void roundAmount()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, rounded);
        QCOMPARE(RoundAmount(value, decimals), rounded);
        QVERIFY(!std::signbit(RoundAmount(value, decimals)) || rounded < 0);
    }

    void formatAmount_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en grouped") << "en" << 1500.0 << "1,500";
        QTest::newRow("en 45 x 0.7") << "en" << 45 * 0.7 << "32";
        QTest::newRow("en half") << "en" << 1234567.5 << "1,234,568";
        QTest::newRow("en negative half") << "en" << -2.5 << "-3";
        QTest::newRow("en no minus zero") << "en" << -0.4 << "0";
        QTest::newRow("en beyond whole numbers") << "en" << 2e15 << "2,000,000,000,000,000";
        QTest::newRow("id grouped") << "id" << 1500.0 << "1.500";
        QTest::newRow("id 45 x 0.7") << "id" << 45 * 0.7 << "32";
        QTest::newRow("id millions") << "id" << -1234567.0 << "-1.234.567";
        QTest::newRow("id small") << "id" << 999.0 << "999";
        QTest::newRow("id thousand") << "id" << -1000.0 << "-1.000";
        QTest::newRow("en fifteen digits") << "en" << -999999999999999.0 << "-999,999,999,999,999";
        QTest::newRow("id zero") << "id" << 0.0 << "0";
        QTest::newRow("id hundred thousand") << "id" << 100000.0 << "100.000";
    }
    void formatAmount()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, shown);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(FormatAmount(value), shown);
        // What the field shows reads back as what is stored.
        bool ok = false;
        QCOMPARE(ParseAmount(FormatAmount(value), &ok), RoundAmount(value));
        QVERIFY(ok);
    }

    void numWritesAtMostFifteenDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 1500.0 << "1500";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("45 x 0.7") << 45 * 0.7 << "31.5";
        QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("long whole") << 123456789012345678.0 << "123456789012346000";
        QTest::newRow("long mixed") << 9876543.21012345678 << "9876543.21012346";
        QTest::newRow("small") << 0.0000001 << "0.0000001";
        QTest::newRow("large") << 1e20 << "100000000000000000000";
        QTest::newRow("minus zero") << -0.0 << "0";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0";
    }
    void numWritesAtMostFifteenDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Num(value), text);
    }

    void formatNumberReadsBack()
    {
        for (const char* loc : {"en", "id"}) {
            QLocale::setDefault(localeNamed(QString::fromLatin1(loc)));
            for (double v : {1500.25, -0.5, 45 * 0.7, 1234567.0}) {
                bool ok = false;
                QCOMPARE(ParseAmount(FormatNumber(v), &ok), StoredNumber(Num(v)));
                QVERIFY(ok);
            }
        }
        QLocale::setDefault(localeNamed(QStringLiteral("id")));
        QCOMPARE(FormatNumber(1500.25), QStringLiteral("1500,25"));
    }

    void storedValuesReadStrictly()
    {
        QCOMPARE(StoredNumber(QVariant()), 0.0);
        QCOMPARE(StoredNumber(QVariant(qlonglong(7))), 7.0);
        QCOMPARE(StoredNumber(QVariant(2.5)), 2.5);
        QCOMPARE(StoredNumber(QVariant(QStringLiteral("12.5"))), 12.5);
        QCOMPARE(StoredNumber(QVariant(QStringLiteral("0,5"))), 0.5); // a recipe quantity as typed
        QCOMPARE(StoredNumber(QVariant(QStringLiteral(" -3 "))), -3.0);
        for (const char* bad : {"abc", "", "1e5", "nan", "1,234.5", "12 kg"})
            QVERIFY_THROWS_EXCEPTION(DbError, StoredNumber(QVariant(QString::fromLatin1(bad))));

        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        db.Execute(QStringLiteral("insert into saleitems values('A', 'K', 'Kopi', 'sepuluh', 0, 'Gelas')"));
        db.Execute(QStringLiteral("insert into saleitems values('B', 'K', 'Teh', 0.1 + 0.2, 0, 'Gelas')"));
        auto rs = db.OpenRecordset(QStringLiteral("select price from saleitems order by code"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs->Fields(0).toDouble());
        rs->MoveNext();
        QCOMPARE(rs->Fields(0).toString(), QStringLiteral("0.3"));
        QCOMPARE(rs->Fields(0).toLongLong(), 0);
    }

    void quote_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << "Kopi"
                               << "'Kopi'";
        QTest::newRow("apostrophe dropped") << "O'Brien"
                                            << "'OBrien'";
        QTest::newRow("only apostrophes") << "'''"
                                          << "''";
        QTest::newRow("empty") << ""
                               << "''";
    }
    void quote()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(Quote(text), literal);
    }

    void numbersAreCanonical()
    {
        QCOMPARE(Num(1500), QStringLiteral("1500"));
        QCOMPARE(Num(-2.5), QStringLiteral("-2.5"));
        QCOMPARE(Num(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(Num(1234567.125), QStringLiteral("1234567.125"));
        QCOMPARE(Val(QStringLiteral("12.5abc")), 12.5);
        QCOMPARE(Val(QStringLiteral("abc")), 0.0);
        QCOMPARE(ParseAmount(QStringLiteral("1,234,567")), 1234567.0);
        bool ok = true;
        ParseAmount(QStringLiteral("12; drop table cash"), &ok);
        QVERIFY(!ok);
        QCOMPARE(ParseQuantity(QStringLiteral("1,5")), 1.5);
        QCOMPARE(FormatAmount(1500), QStringLiteral("1,500"));
        QCOMPARE(FormatAmount(-1234567), QStringLiteral("-1,234,567"));
    }

    void alignCells()
    {
        QCOMPARE(AlignLeft(QStringLiteral("ABC"), Pad(8)), QStringLiteral("ABC     "));
        QCOMPARE(AlignRight(QStringLiteral("ABC"), Pad(8)), QStringLiteral("     ABC"));
        const QString name = QStringLiteral("A name that is thirty-five chars!!");
        QCOMPARE(name.size(), 34);
        const QString longer = name + QStringLiteral("X");
        QCOMPARE(AlignLeft(longer, Pad(30)), longer.left(28) + QStringLiteral(".."));
        QCOMPARE(AlignRight(longer, Pad(30)), longer.left(28) + QStringLiteral(".."));
        QCOMPARE(AlignLeft(QStringLiteral("12345678"), Pad(8)), QStringLiteral("12345678"));
        QCOMPARE(AlignRight(FormatAmount(1500), Pad(8)), QStringLiteral("   1,500"));
        QCOMPARE(AlignLeft(QVariant(), Pad(4)), QStringLiteral("    "));
        QCOMPARE(AlignRight(QVariant(), Pad(4)), QStringLiteral("    "));
        QCOMPARE(AlignRight(QStringLiteral("7"), QStringLiteral("00")), QStringLiteral("07"));
        QCOMPARE(AlignLeft(QStringLiteral("long"), Pad(1)).size(), 1);
    }

    void openRefusesWhatIsNotADatabase()
    {
        DataFixture fx({QStringLiteral("Empty.tdb")});
        platform::DbConnection db;
        QVERIFY_THROWS_EXCEPTION(platform::DbError, db.Open(fx.path(QStringLiteral("missing.cdb"))));
        QVERIFY(!QFile::exists(fx.path(QStringLiteral("missing.cdb"))));
        QFile text(fx.path(QStringLiteral("notes.cdb")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("just some text, not a database\n");
        text.close();
        QVERIFY_THROWS_EXCEPTION(platform::DbError, db.Open(text.fileName()));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, db.Open(fx.dir.path()));
        // A refused file leaves the open one in place.
        db.Open(fx.path(QStringLiteral("Empty.tdb")));
        QVERIFY_THROWS_EXCEPTION(platform::DbError, db.Open(fx.path(QStringLiteral("missing.cdb"))));
        QVERIFY(db.isOpen());
        QCOMPARE(db.GetValue(QStringLiteral("select count(*) from operator")).toInt(), 1);
    }
};

int runDataTests(int argc, char** argv)
{
    TestData t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_data.moc"
