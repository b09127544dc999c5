// The operators on a fresh database: what the users window writes is what
// the login reads, and the last operator who may manage operators keeps the
// right, whichever way it would be taken.
#include "data/db.h"
#include "manage/model/operators.h"
#include "manage/model/settings.h"
#include "shell/model/operators.h"
#include "support/datafixture.h"

#include <QTest>

namespace {

// The stored form of a password, as the template stores Admin's.
QString stored(const QString& typed)
{
    QString out = typed;
    for (QChar& c : out)
        c = QChar(255 - c.unicode());
    return out;
}

std::array<int, shell::RightCount> rights(int user)
{
    return {1, 0, 1, 0, 1, user, 0, 1};
}

} // namespace

class TestManageModel : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    platform::DbConnection* db = nullptr;

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Empty.tdb")});
        fx->newEntry(QStringLiteral("Toko"));
        db = &fx->openAsLogin(QStringLiteral("Toko"));
    }
    void cleanup() { fx.reset(); }

    void savedOperatorIsWhatTheLoginReads()
    {
        QVERIFY(shell::PasswordMatches(*db, "Admin", stored("admin")));
        QCOMPARE(manage::SaveOperator(*db, "Budi", std::nullopt, {stored("rahasia"), rights(0)}),
                 manage::OperatorSave::Added);
        QCOMPARE(shell::OperatorCount(*db, "Budi"), 1);
        QVERIFY(shell::PasswordMatches(*db, "Budi", stored("rahasia")));
        QVERIFY(!shell::PasswordMatches(*db, "Budi", stored("admin")));
        auto op = shell::FindOperator(*db, "Budi");
        QVERIFY(op);
        QCOMPARE(op->password, stored("rahasia"));
        const std::array<int, shell::RightCount> expected = rights(0);
        for (size_t r = 0; r < expected.size(); ++r)
            QCOMPARE(int(op->rights[r].toLongLong()), expected[r]);

        QCOMPARE(manage::SaveOperator(*db, "Budi", {{stored("rahasia"), rights(0)}}, {stored("baru"), rights(1)}),
                 manage::OperatorSave::Changed);
        QCOMPARE(shell::OperatorCount(*db, "Budi"), 1);
        QVERIFY(shell::PasswordMatches(*db, "Budi", stored("baru")));
        QVERIFY(shell::FindOperator(*db, "Budi")->rights[shell::User].toBool());
        QVERIFY(!shell::FindOperator(*db, "Nobody"));
        QCOMPARE(manage::OperatorNames(*db), QStringList({"Admin", "Budi"}));
    }

    void lastManagerKeepsTheRight()
    {
        QVERIFY(manage::IsLastUserManager(*db, "Admin"));
        // Nothing of the change is written, the password included.
        QCOMPARE(manage::SaveOperator(*db, "Admin", {{stored("admin"), rights(1)}}, {stored("lain"), rights(0)}),
                 manage::OperatorSave::LastManager);
        QVERIFY(shell::PasswordMatches(*db, "Admin", stored("admin")));
        QVERIFY(shell::FindOperator(*db, "Admin")->rights[shell::User].toBool());

        manage::SaveOperator(*db, "Budi", std::nullopt, {stored("x"), rights(1)});
        QVERIFY(!manage::IsLastUserManager(*db, "Admin"));
        QCOMPARE(manage::SaveOperator(*db, "Admin", {{stored("admin"), rights(1)}}, {stored("admin"), rights(0)}),
                 manage::OperatorSave::Changed);
        QVERIFY(manage::IsLastUserManager(*db, "Budi"));
        QCOMPARE(manage::DeleteOperator(*db, "Admin"), manage::OperatorDelete::Deleted);
        QCOMPARE(shell::OperatorCount(*db, "Admin"), 0);
        QCOMPARE(manage::DeleteOperator(*db, "Admin"), manage::OperatorDelete::Gone);

        // Another till takes the right from the other holder after this
        // one asked: the delete itself still refuses.
        manage::SaveOperator(*db, "Citra", std::nullopt, {stored("x"), rights(1)});
        QVERIFY(!manage::IsLastUserManager(*db, "Citra"));
        Workstation other(fx->database(QStringLiteral("Toko")));
        QVERIFY(other.exec(QStringLiteral("update operator set `user`=0 where username='Budi'")));
        QCOMPARE(manage::DeleteOperator(*db, "Citra"), manage::OperatorDelete::LastManager);
        QCOMPARE(shell::OperatorCount(*db, "Citra"), 1);
    }
};

int runManageModelTests(int argc, char** argv)
{
    TestManageModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_manage_model.moc"
