// Hostile text in every field of every window, each followed by Enter: the
// program neither crashes nor shows a database error, and no number column
// ends up holding text. The fields are found on the windows themselves, so
// a field added later is covered too.
#include "cashier/fedit.h"
#include "cashier/model/cart.h"
#include "catalogue/fcharge.h"
#include "core/app.h"
#include "data/db.h"
#include "platform/backend.h"
#include "platform/form.h"
#include "platform/runtime.h"
#include "shell/fmain.h"
#include "support/fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

namespace {

const QStringList kWindows = {
    QStringLiteral("fEdit"),    QStringLiteral("fCharge"), QStringLiteral("fCart"),    QStringLiteral("fMove"),
    QStringLiteral("fBarcode"), QStringLiteral("fAdd"),    QStringLiteral("fMaster"),  QStringLiteral("fInventory"),
    QStringLiteral("fStock"),   QStringLiteral("fIO"),     QStringLiteral("fIn"),      QStringLiteral("fOut"),
    QStringLiteral("fLedger"),  QStringLiteral("fUser"),   QStringLiteral("fSetting"), QStringLiteral("fNew"),
    QStringLiteral("fDetail"),  QStringLiteral("fBack"),
};

QStringList hostileTexts()
{
    return {QStringLiteral("O'Neil"),
            QStringLiteral("'"),
            QStringLiteral("say \"hi\""),
            QStringLiteral("`cash`"),
            QStringLiteral("100%"),
            QStringLiteral("a_b%"),
            QStringLiteral("x'); drop table cash; --"),
            QStringLiteral("1 or 1=1"),
            QStringLiteral("abc"),
            QStringLiteral(","),
            QString(10000, QLatin1Char('W'))};
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    QStringList faults;
    qsizetype logSeen = 0; // how much of the log has been looked at

    platform::DbConnection& db() { return app().DbConn(); }

    // Per number column of every table: its rows that hold text.
    QMap<QString, qint64> textInNumbers()
    {
        QMap<QString, qint64> found;
        QStringList tables;
        auto rs = db().OpenRecordset(QStringLiteral("select name from sqlite_master where type='table'"));
        for (; !rs->Eof(); rs->MoveNext())
            tables << rs->Fields(0).toString();
        for (const QString& t : tables) {
            auto cols = db().OpenRecordset(QStringLiteral("pragma table_info(`%1`)").arg(t));
            for (; !cols->Eof(); cols->MoveNext()) {
                const QString type = cols->Fields(QStringLiteral("type")).toString().toUpper();
                if (type != QLatin1String("REAL") && type != QLatin1String("INTEGER"))
                    continue;
                const QString c = cols->Fields(QStringLiteral("name")).toString();
                found[t + QLatin1Char('.') + c] =
                    db().GetValue(QStringLiteral("select count(*) from `%1` where typeof(`%2`)='text'").arg(t, c))
                        .toLongLong();
            }
        }
        return found;
    }

    void check(const QString& where, const QString& text)
    {
        for (const RecordedMessage& m : fx->ui->messages)
            if (m.prompt.contains(QLatin1String("SQL:")))
                faults << QStringLiteral("%1 with %2: %3").arg(where, text.left(30), m.prompt.left(300));
        // A database failure is told in words; its statement is in the log.
        const QString log = fx->log();
        const QString fresh = log.mid(logSeen);
        logSeen = log.size();
        if (fresh.contains(QLatin1String("SQL:")))
            faults << QStringLiteral("%1 with %2: %3").arg(where, text.left(30), fresh.left(300));
        fx->ui->messages.clear();
        fx->ui->answers = QList<int>(200, platform::MsgCancel);
    }

    template <typename Edit> static bool usable(Edit* e, QWidget* top)
    {
        return e->isVisibleTo(top) && e->isEnabled() && !e->isReadOnly();
    }

    // One field: each text typed (the long one set), then Enter.
    void feed(QWidget* field, const QString& where)
    {
        for (const QString& text : hostileTexts()) {
            QPointer<QWidget> f(field);
            if (!f || !f->isVisible())
                return;
            f->setFocus();
            if (auto* line = qobject_cast<QLineEdit*>(f.data())) {
                line->selectAll();
                if (text.size() > 100)
                    line->setText(text);
                else
                    QTest::keyClicks(line, text);
            } else if (auto* memo = qobject_cast<QPlainTextEdit*>(f.data())) {
                memo->setPlainText(text);
            }
            if (f)
                QTest::keyClick(f.data(), Qt::Key_Return);
            check(where, text);
        }
    }

    // What a panel sets before it opens the window: the cart line fEdit
    // rewrites, the contact table fCharge adds to.
    void prepare(platform::Form* form)
    {
        if (auto* edit = qobject_cast<fEdit*>(form)) {
            cashier::LineEntry e;
            e.charge = QStringLiteral("Meja 9");
            e.code = QStringLiteral("ESP");
            e.name = QStringLiteral("Espresso");
            e.price = e.subtotal = e.total = 18000;
            e.quantity = 1;
            e.satuan = QStringLiteral("Gelas");
            edit->LineAction = QStringLiteral("Sale");
            edit->Line = *cashier::CartLineById(db(), QStringLiteral("Sale"),
                                                cashier::AddCartLine(db(), QStringLiteral("Sale"), e));
        } else if (auto* charge = qobject_cast<fCharge*>(form)) {
            charge->TableName = QStringLiteral("Customer");
            charge->bSave->Tag = QStringLiteral("fMain");
            charge->setCaption(QStringLiteral("Tambah"));
        }
    }

    // The fields of a window, by index, so that each is fed on a fresh show.
    static QList<QWidget*> fieldsOf(QWidget* top)
    {
        QList<QWidget*> fields;
        for (QLineEdit* e : top->findChildren<QLineEdit*>())
            if (e->window() == top->window() && usable(e, top))
                fields << e;
        for (QPlainTextEdit* e : top->findChildren<QPlainTextEdit*>())
            if (e->window() == top->window() && usable(e, top))
                fields << e;
        return fields;
    }

private slots:
    void initTestCase()
    {
        fx = std::make_unique<Fixture>();
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(!fx->main->pLogin->isVisible());
    }
    void cleanupTestCase() { fx.reset(); }

    void everyFieldOfEveryWindow()
    {
        const QMap<QString, qint64> before = textInNumbers();
        fx->ui->answers = QList<int>(200, platform::MsgCancel);

        // The main window's panels.
        const QList<std::pair<const char*, void (fMain::*)()>> panels = {{"cashier", &fMain::bCashier_Click},
                                                                         {"inventory", &fMain::bInventory_Click},
                                                                         {"ledger", &fMain::bLedger_Click}};
        for (const auto& [name, open] : panels) {
            (fx->main->*open)();
            const QList<QWidget*> fields = fieldsOf(fx->main);
            for (QWidget* f : fields)
                feed(f, QStringLiteral("%1 panel %2").arg(QLatin1String(name), f->objectName()));
        }

        // Every window, a fresh show per field.
        for (const QString& name : kWindows) {
            platform::Form* form = platform::Runtime::current()->form(name);
            if (!form)
                continue;
            int count = 0;
            fx->ui->scripts[name] = [&](platform::Form* f) { count = int(fieldsOf(f).size()); };
            prepare(form);
            form->ShowModal();
            for (int i = 0; i < count; ++i) {
                fx->ui->scripts[name] = [&, i](platform::Form* f) {
                    const QList<QWidget*> fields = fieldsOf(f);
                    if (i < fields.size())
                        feed(fields[i], QStringLiteral("%1.%2").arg(name, fields[i]->objectName()));
                };
                prepare(form);
                form->ShowModal();
                check(name, QString());
            }
            fx->ui->scripts.remove(name);
        }

        for (const QString& f : faults)
            qWarning("%s", qPrintable(f.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(" | ") +
                                      f.section(QStringLiteral("SQL:"), 1).left(120)));
        QVERIFY2(faults.isEmpty(), "database errors shown");
        QCOMPARE(textInNumbers(), before);
        QCOMPARE(db().GetValue(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
    }
};

int runHostileInputTests(int argc, char** argv)
{
    TestHostile t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_hostile.moc"
