// The login on either engine: a new database gets its tables and first
// operator at the first login, the password form compares exactly while
// names ignore case, text and numbers come back as they were written, a
// connection that fails leaves the database open before as it was, and a
// server that tells table names apart by case is refused.
#include "core/app.h"
#include "core/dbcheck.h"
#include "core/mmain.h"
#include "shell/fmain.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace mMain;

class TestLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;

    void logout()
    {
        fx->ui->answers = {platform::MsgOK};
        QTest::keyClick(m, Qt::Key_F9);
        QVERIFY(m->pLogin->isVisible());
        fx->ui->clear();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        m = fx->main;
    }
    void cleanup() { fx.reset(); }

    void firstLoginFillsANewDatabase()
    {
        const QString entry = fx->newEntry(QStringLiteral("Toko"));
        fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->prompts(), QStringList());
        QVERIFY(!m->pLogin->isVisible());
        QCOMPARE(fx->app->DbKind, Fixture::dbKind());
        QCOMPARE(fx->app->DbEntry, entry);
        QCOMPARE(m->Caption(), QStringLiteral("Orvanta 2011 - ") + entry);
        // Every table and column of the template, whatever the engine.
        QCOMPARE(SchemaGaps(fx->app->DbConn()), QStringList());
        QCOMPARE(GetValue(QStringLiteral("select count(*) from operator")).toLongLong(), 1);
        QVERIFY(GetValue(QStringLiteral("select count(*) from config")).toLongLong() > 0);
        QCOMPARE(GetValue(QStringLiteral("select count(*) from cash")).toLongLong(), 0);
        const QString rowKey = OnServer() ? QStringLiteral("orv_row") : QStringLiteral("rowid");
        QCOMPARE(fx->app->DbConn().rowKey(), rowKey);

        // A database that holds the tables is left as it is at the next login,
        // but for the row numbers of its lists where they are missing.
        ExecSQL(QStringLiteral("insert into operator values ('Budi', ") + Quote(PasswordForm(QStringLiteral("budi"))) +
                QStringLiteral(", 1, 0, 0, 0, 0, 0, 0, 0)"));
        if (OnServer())
            ExecSQL(QStringLiteral("alter table Customer drop column orv_row"));
        logout();
        fx->login(entry, QStringLiteral("budi"), QStringLiteral("budi"));
        QCOMPARE(fx->ui->prompts(), QStringList());
        QCOMPARE(fx->app->CurrentUser, QStringLiteral("Budi"));
        QCOMPARE(GetValue(QStringLiteral("select count(*) from operator")).toLongLong(), 2);
        QVERIFY(!m->bUser->isEnabled());
        QCOMPARE(fx->app->DbConn().rowKey(), rowKey);
        QCOMPARE(GetValue(QStringLiteral("select count(%1) from Customer").arg(rowKey)).toLongLong(), 0);
    }

    // Kept totals that cannot be built (a view stands where their table
    // goes) are told at the login, which goes on without them; the next
    // login builds them once it can.
    void keptTotalsThatCannotBeBuiltAreTold()
    {
        if (OnServer())
            QSKIP("a view in place of a kept table, on a database file");
        const QString entry = fx->newEntry(QStringLiteral("Toko"));
        fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
        ExecSQL(QStringLiteral("drop table cashtotal"));
        ExecSQL(QStringLiteral("create view cashtotal as select 0 as debit"));
        for (const bool builds : {false, true}) {
            logout();
            fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
            QVERIFY(!m->pLogin->isVisible());
            QCOMPARE(fx->ui->prompts().size(), builds ? 0 : 1);
            QVERIFY(builds || fx->ui->lastPrompt().startsWith(QStringLiteral("Database ini belum dapat disiapkan")));
            QCOMPARE(fx->app->DbConn().keepsSummaries(), builds);
            if (!builds)
                ExecSQL(QStringLiteral("drop view cashtotal"));
        }
    }

    // The stored form of "?" and of the control character 0x1F differ only
    // in case ('À' and 'à'): one must not open the other's account. The
    // user name ignores case.
    void passwordFormComparesExactly()
    {
        const QString entry = fx->newEntry(QStringLiteral("Toko"));
        fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
        ExecSQL(QStringLiteral("update operator set `password`=") + Quote(PasswordForm(QStringLiteral("\x1f"))));
        QCOMPARE(PasswordForm(QStringLiteral("?")).toLower(), PasswordForm(QStringLiteral("\x1f")));
        logout();
        fx->login(entry, QStringLiteral("aDMIN"), QStringLiteral("?"));
        QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Password salah")});
        fx->ui->clear();
        fx->login(entry, QStringLiteral("aDMIN"), QStringLiteral("\x1f"));
        QCOMPARE(fx->ui->prompts(), QStringList());
        QCOMPARE(fx->app->CurrentUser, QStringLiteral("Admin"));
    }

    void textAndNumbersComeBackAsWritten()
    {
        fx->login(fx->newEntry(QStringLiteral("Toko")), QStringLiteral("admin"), QStringLiteral("admin"));
        const QString name = QStringLiteral("Kopi \u00d1usantara \u2615 \U0001F375 C:\\new 'x'");
        ExecSQL(QStringLiteral("insert into SaleItems values ('K1', 'Minuman', ") + Quote(name) +
                QStringLiteral(", 12.5, 0.1, 'Gelas')"));
        QCOMPARE(GetValue(QStringLiteral("select name from SaleItems")).toString(), QString(name).remove('\''));
        // Names match without regard to case; amounts read back as numbers.
        QCOMPARE(GetValue(QStringLiteral("select count(*) from SaleItems where code='k1' and category='MINUMAN'"))
                     .toLongLong(),
                 1);
        auto rs = OpenRecordset(QStringLiteral("select price, discount, price * 3 as triple, discount / 100 as "
                                               "share, code & '-' & price & '-' & discount as label from SaleItems"));
        QCOMPARE(rs->Fields(QStringLiteral("price")).toDouble(), 12.5);
        QCOMPARE(rs->Fields(QStringLiteral("discount")).toDouble(), 0.1);
        QCOMPARE(rs->Fields(QStringLiteral("triple")).toDouble(), 37.5);
        QCOMPARE(rs->Fields(QStringLiteral("share")).toDouble(), 0.001);
        QCOMPARE(rs->Fields(QStringLiteral("label")).toString(), QStringLiteral("K1-12.5-0.1"));
        QCOMPARE(rs->Fields(QStringLiteral("price")).toString(), QStringLiteral("12.5"));
        // Arithmetic on literals (exact decimals on a server) reads as the
        // number it is, not as "3.00".
        QCOMPARE(platform::DbField(GetValue(QStringLiteral("select 1.50 * 2"))).toString(), QStringLiteral("3"));
        QCOMPARE(platform::DbField(GetValue(QStringLiteral("select sum(price) + 0.25 from SaleItems"))).toString(),
                 QStringLiteral("12.75"));
    }

    void failedConnectionLeavesTheOpenDatabase()
    {
        const QString entry = fx->sampleEntry();
        fx->login(entry, QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->prompts(), QStringList());
        const QString before = fx->app->DbConn().path();
        logout();
        // A server that answers, but without that database; or no such source.
        QString text = QStringLiteral("DSN=NoSuchSource");
        if (OnServer())
            text = NewServerDatabase().replace(QRegularExpression(QStringLiteral("DATABASE=[^;]*")),
                                               QStringLiteral("DATABASE=no_such_database"));
        QFile marker(fx->path(QStringLiteral("Rusak.mdbc")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.write(text.toUtf8());
        marker.close();
        m->ReadDB();
        fx->login(QStringLiteral("Rusak (MySQL-ODBC)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Koneksi database gagal")});
        QVERIFY(m->pLogin->isVisible());
        QVERIFY(fx->app->DbConn().isOpen());
        QCOMPARE(fx->app->DbConn().path(), before);
        QCOMPARE(fx->app->DbEntry, entry);
        QVERIFY(GetValue(QStringLiteral("select count(*) from cash")).toLongLong() > 0);
    }

    // A server that tells table names apart by case would miss tables the
    // program names in another spelling: refused, naming the setting.
    void caseSensitiveServerIsRefused()
    {
        if (!OnServer())
            QSKIP("a setting of a server");
        QFile marker(fx->path(QStringLiteral("Pusat.mdbc")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.write(CaseSensitiveServerDatabase().toUtf8());
        marker.close();
        m->ReadDB();
        fx->login(QStringLiteral("Pusat (MySQL-ODBC)"), QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(fx->ui->messages.size(), 1);
        QVERIFY(fx->ui->lastPrompt().startsWith(QStringLiteral("Koneksi database gagal\n")));
        QVERIFY(fx->ui->lastPrompt().contains(QStringLiteral("lower_case_table_names=1")));
        QVERIFY(m->pLogin->isVisible());
        QVERIFY(!fx->app->DbConn().isOpen());
    }
};

int runLoginTests(int argc, char** argv)
{
    TestLogin t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_login.moc"
