// The catalogue's windows driven as an operator would: the picker's table of
// targets, the item and contact dialogs, the list window.
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/fixture.h"

#include <QTest>

class TestCatalogueWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

private slots:
    void init() { fx = std::make_unique<Fixture>(); }
    void cleanup() { fx.reset(); }

    // A target's row decides whether the write runs the field's handler and
    // which action decides the table; a field that is gone is no target.
    void targetTable()
    {
        auto* box = new platform::TextBox(fx->main, QStringLiteral("tCode"));
        auto* combo = new platform::ComboBox(fx->main, QStringLiteral("tCharge"), true);
        int boxChanges = 0, comboChanges = 0;
        box->Change = [&] { ++boxChanges; };
        combo->Change = [&] { ++comboChanges; };
        picker::Register(QStringLiteral("t.code"), box, picker::Value::Code, true);
        picker::Register(QStringLiteral("t.charge"), combo, picker::Value::Name, false,
                         [] { return QStringLiteral("Cash Out"); });

        const picker::Target* code = picker::Find(QStringLiteral("t.code"));
        QVERIFY(code);
        code->write(QStringLiteral("K01"));
        QCOMPARE(box->Text(), QStringLiteral("K01"));
        QCOMPARE(boxChanges, 1);

        const picker::Target* charge = picker::Find(QStringLiteral("t.charge"));
        QVERIFY(charge);
        charge->write(QStringLiteral("Ani"));
        QCOMPARE(combo->Text(), QStringLiteral("Ani"));
        QCOMPARE(comboChanges, 0);
        combo->setText(QStringLiteral("Budi")); // the handler is back for the operator
        QCOMPARE(comboChanges, 1);

        QCOMPARE(picker::Kind(QStringLiteral("t.charge")), QStringLiteral("Cash Out"));
        QCOMPARE(picker::Kind(QStringLiteral("t.code")), fx->main->GetAction());
        QVERIFY(!picker::Find(QStringLiteral("none")));
        delete box;
        QVERIFY(!picker::Find(QStringLiteral("t.code")));
    }
};

int runWindowTests(int argc, char** argv)
{
    TestCatalogueWindows t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_windows.moc"
