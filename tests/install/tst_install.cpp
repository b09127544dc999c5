// The program as a desktop installs it: the executable started with and
// without a desktop session, and the rights of what it makes in a program
// folder shared by a group of operators.
#include "manage/fnew.h"
#include "support/fixture.h"

#include <QProcess>
#include <QTest>

namespace {

const QByteArray NoSession =
    "Orvanta needs a desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set; start it from the desktop.\n"
    "Orvanta perlu sesi desktop: DISPLAY dan WAYLAND_DISPLAY tidak ada; jalankan dari desktop.\n";

// The built executable, alone in a program folder of its own, so nothing it
// does at start touches the build's sample database.
struct Started {
    QTemporaryDir dir;
    QProcess process;

    Started(const QStringList& args, const QHash<QString, QString>& env)
    {
        QVERIFY(QFile::copy(distFile(QStringLiteral("orvanta")), dir.filePath(QStringLiteral("orvanta"))));
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            e.remove(QString::fromLatin1(name));
        // Per-user settings land in the temporary folder, not the tester's home.
        e.insert(QStringLiteral("HOME"), dir.path());
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral(".config")));
        for (auto it = env.begin(); it != env.end(); ++it)
            e.insert(it.key(), it.value());
        process.setProcessEnvironment(e);
        process.start(dir.filePath(QStringLiteral("orvanta")), args);
        QVERIFY(process.waitForStarted());
    }
    ~Started()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void startWithoutDesktopSession_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("platform");
        QTest::newRow("nothing set") << QStringList() << QString() << QString();
        QTest::newRow("empty DISPLAY") << QStringList() << QStringLiteral("") << QString();
        QTest::newRow("the desktop's platforms") << QStringList() << QString() << QStringLiteral("wayland;xcb");
        QTest::newRow("xcb on the command line") << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb")}
                                                 << QString() << QStringLiteral("offscreen");
    }

    // What is missing, in English and then in Indonesian, and a failure
    // status, instead of Qt's advice to reinstall the program.
    void startWithoutDesktopSession()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, display);
        QFETCH(QString, platform);
        QHash<QString, QString> env;
        if (!display.isNull())
            env.insert(QStringLiteral("DISPLAY"), display);
        if (!platform.isNull())
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        Started run(args, env);
        QVERIFY(run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 1);
        QCOMPARE(run.process.readAllStandardError(), NoSession);
        QCOMPARE(run.process.readAllStandardOutput(), QByteArray());
    }

    // A display named but not answering is told as plainly, with the same
    // status, instead of Qt's abort.
    void startOnADisplayThatDoesNotAnswer()
    {
        Started run({}, {{QStringLiteral("DISPLAY"), QStringLiteral(":4711")}});
        QVERIFY(run.process.waitForFinished(30000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 1);
        QCOMPARE(run.process.readAllStandardError(),
                 QByteArray("Orvanta needs a desktop session: DISPLAY=:4711 cannot be reached; start it from the "
                            "desktop.\nOrvanta perlu sesi desktop: DISPLAY=:4711 tidak dapat dihubungi; jalankan "
                            "dari desktop.\n"));
    }

    // Headless runs (the tests, a kiosk's frame buffer) start as before: the
    // program is still running once the refusal would long have come. The
    // platform by the environment and on the command line, side by side.
    void startOnAPlatformThatNeedsNoSession()
    {
        Started byEnvironment({}, {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}});
        Started byArgument({QStringLiteral("--platform"), QStringLiteral("offscreen")}, {});
        for (Started* run : {&byEnvironment, &byArgument}) {
            QVERIFY(!run->process.waitForFinished(run == &byEnvironment ? 1500 : 0));
            QCOMPARE(run->process.state(), QProcess::Running);
            QVERIFY(!run->process.readAllStandardError().contains("sesi desktop"));
        }
    }

    // The operators of an installed program share its folder through a
    // group: the package gives the template the group's write right, and a
    // database made from it must keep that right, or the next operator
    // could only read what the first one made.
    void newDatabaseTakesTheTemplatesRights()
    {
        Fixture fx;
        const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                          QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther;
        QVERIFY(QFile::setPermissions(fx.path(QStringLiteral("Empty.tdb")), shared));
        auto* nw = app().form<fNew>();
        QVERIFY(nw);
        nw->show();
        nw->iODBC->setValue(false);
        nw->iConnect->setValue(false);
        nw->iDB->setText(QStringLiteral("Toko"));
        nw->bOK_Click();
        QVERIFY(QFile::exists(fx.path(QStringLiteral("Toko.cdb"))));
        QCOMPARE(QFile::permissions(fx.path(QStringLiteral("Toko.cdb"))), shared);
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
