// The main window's side of its panels, with stand-in panels that record
// what the main window asks of them: the login's panel steps, the Ctrl
// shortcuts only with exactly Ctrl held, and the add keys by the active panel.
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/fakeledger.h"
#include "support/fixture.h"

#include <QTest>

namespace {

struct FakeCashier : CashierPanel {
    QStringList calls;
    platform::ComboBox* ciAction;
    platform::ComboBox* ciCharge;
    platform::CheckBox* ciPrintNote;
    platform::ComboBox* ciWarehouse;
    platform::WanButton* cbBrowse;
    explicit FakeCashier(QWidget* parent)
    {
        ciAction = new platform::ComboBox(parent, QStringLiteral("ciAction"), false);
        ciAction->AddItem(QStringLiteral("Jual"));
        ciCharge = new platform::ComboBox(parent, QStringLiteral("ciCharge"), true);
        ciPrintNote = new platform::CheckBox(parent, QStringLiteral("ciPrintNote"), QString());
        ciWarehouse = new platform::ComboBox(parent, QStringLiteral("ciWarehouse"), true);
        cbBrowse = new platform::WanButton(parent, QStringLiteral("cbBrowse"), QString());
    }
    QString GetAction() const override { return QStringLiteral("Sale"); }
    void ciAction_Click() override { calls << QStringLiteral("ciAction_Click"); }
    void FillCiCharge() override { calls << QStringLiteral("FillCiCharge"); }
    void FillCiCart() override { calls << QStringLiteral("FillCiCart"); }
    void FillCiWarehouse() override { calls << QStringLiteral("FillCiWarehouse"); }
    void cbBarcode_Click() override { calls << QStringLiteral("cbBarcode_Click"); }
    void cbPrint_Click() override { calls << QStringLiteral("cbPrint_Click"); }
    void cbMove_Click() override { calls << QStringLiteral("cbMove_Click"); }
    void ShowAddLine() override { calls << QStringLiteral("ShowAddLine"); }
    void cPrintNote(qint64) override {}
    void tCount_Timer() override {}
    QString ActionCaption() const override { return ciAction->currentText(); }
    QString CurrentCharge() const override { return ciCharge->Text(); }
    void SetCharge(const QString& charge) override { ciCharge->setText(charge); }
    void SelectAction(const QString& action) override { ciAction->setListIndex(action == "Shop" ? 1 : 0); }
    void StartSession() override { ciAction->setListIndex(0); }
    void SetRates(const QString&, const QString&) override {}
    void SetBrowseEnabled(bool enabled) override { cbBrowse->setEnabled(enabled); }
    void ApplySettings(int printNote, bool warehouse) override
    {
        ciPrintNote->setValue(printNote);
        ciWarehouse->setVisible(warehouse);
    }
    void FocusAction() override { ciAction->setFocus(); }
    void FocusCharge() override { ciCharge->setFocus(); }
    void FocusCart() override {}
    void TogglePrintNote() override { ciPrintNote->setValue(ciPrintNote->Value() == 1 ? 0 : 1); }
};

struct FakeInventory : InventoryPanel {
    QStringList calls;
    platform::ComboBox* iiTable;
    explicit FakeInventory(QWidget* parent)
    {
        iiTable = new platform::ComboBox(parent, QStringLiteral("iiTable"), false);
        for (int i = 0; i < 8; ++i)
            iiTable->AddItem(QString::number(i));
    }
    QString GetTable() const override { return QString(); }
    void FilliItems() override { calls << QStringLiteral("FilliItems"); }
    void FilliiCategory() override {}
    void FilliiCategory2() override { calls << QStringLiteral("FilliiCategory2"); }
    void ibRefresh_Click() override { calls << QStringLiteral("ibRefresh_Click"); }
    void ibAdd_Click() override { calls << QStringLiteral("ibAdd_Click"); }
    QString GetSelectediiItemsCode() const override { return QString(); }
    void StartSession() override { iiTable->setListIndex(0); }
    void ShowWarehouseTable(bool shown) override
    {
        if (shown && iiTable->ListCount() == 8)
            iiTable->AddItem(QStringLiteral("Gudang"));
        else if (!shown && iiTable->ListCount() == 9)
            iiTable->RemoveItem(8);
    }
};

} // namespace

class TestSeam : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;
    FakeCashier* cashier = nullptr;
    FakeInventory* inventory = nullptr;
    FakeLedger ledger;

    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(m, k, mods); }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        m = fx->main;
        cashier = new FakeCashier(m->pCashier);
        inventory = new FakeInventory(m->pInventory);
        m->setPanels(cashier, inventory, &ledger);
    }
    void cleanup()
    {
        fx.reset();
        delete cashier;
        delete inventory;
    }

    void loginRunsThePanelStepsAndReadsTheSettings()
    {
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        mMain::SetConfig(QStringLiteral("Warehouse"), QStringLiteral("1"));
        fx->ui->answers = {1};
        m->bLogout_Click();
        cashier->calls.clear();
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(!m->pLogin->isVisible());
        QCOMPARE(cashier->calls.mid(0, 2),
                 (QStringList{QStringLiteral("FillCiCart"), QStringLiteral("ciAction_Click")}));
        QVERIFY(inventory->calls.contains(QStringLiteral("FilliItems")));
        QCOMPARE(inventory->iiTable->ListCount(), 9);
        QVERIFY(!cashier->ciWarehouse->isHidden());
        QVERIFY(cashier->cbBrowse->isEnabled());
        QVERIFY(cashier->calls.contains(QStringLiteral("FillCiWarehouse"))); // F1's part of the landing

        // A second login with the setting off removes "Gudang" again; a
        // setting that is not a number reads as 0.
        mMain::SetConfig(QStringLiteral("Warehouse"), QStringLiteral("ya"));
        fx->ui->answers = {1};
        m->bLogout_Click();
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        QCOMPARE(inventory->iiTable->ListCount(), 8);
        QVERIFY(cashier->ciWarehouse->isHidden());
    }

    void ctrlShortcutsOnlyWithExactlyCtrl()
    {
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        cashier->calls.clear();
        key(Qt::Key_P, Qt::ControlModifier);
        key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        key(Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(cashier->calls, (QStringList{QStringLiteral("cbPrint_Click"), QStringLiteral("cbMove_Click")}));

        const int note = cashier->ciPrintNote->Value();
        key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(cashier->ciPrintNote->Value(), note == 1 ? 0 : 1);

        // Ctrl+B only while the cashier item is highlighted.
        cashier->calls.clear();
        key(Qt::Key_F2);
        key(Qt::Key_B, Qt::ControlModifier);
        QVERIFY(!cashier->calls.contains(QStringLiteral("cbBarcode_Click")));
        key(Qt::Key_F1);
        key(Qt::Key_B, Qt::ControlModifier);
        QVERIFY(cashier->calls.contains(QStringLiteral("cbBarcode_Click")));
    }

    void addKeysFollowTheActivePanel()
    {
        fx->login(QStringLiteral("Velmont Cafe & Resto"), QStringLiteral("Admin"), QStringLiteral("admin"));
        key(Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(cashier->calls.count(QStringLiteral("ShowAddLine")), 1);
        key(Qt::Key_F2);
        QVERIFY(inventory->calls.contains(QStringLiteral("ibRefresh_Click")));
        key(Qt::Key_F11);
        QCOMPARE(inventory->calls.count(QStringLiteral("ibAdd_Click")), 1);
        key(Qt::Key_F8);
        key(Qt::Key_F11);
        QCOMPARE(inventory->calls.count(QStringLiteral("ibAdd_Click")), 1);
        QCOMPARE(cashier->calls.count(QStringLiteral("ShowAddLine")), 1);
    }

    void nothingOnTheLoginPanel()
    {
        key(Qt::Key_P, Qt::ControlModifier);
        key(Qt::Key_F11);
        QVERIFY(cashier->calls.isEmpty());
        QVERIFY(inventory->calls.isEmpty());
    }
};

QTEST_MAIN(TestSeam)
#include "tst_seam.moc"
