// The catalogue's windows driven as an operator would: the list window and
// picker, the item dialog and the contact dialog, over a fresh copy of the
// sample database. The cashier panel and the inventory panel are stand-ins
// that register their picker targets as the real ones do.
#include "cashier/cashierpanel.h"
#include "catalogue/fadd.h"
#include "catalogue/fcharge.h"
#include "catalogue/fmaster.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/fakeledger.h"
#include "support/fixture.h"
#include "support/xlsxread.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace {

// The stand-ins connect to the session as the panels do, so that what the
// catalogue's windows announce reaches them.
struct FakeCashier : QObject, CashierPanel {
    QString action = QStringLiteral("Sale");
    int chargeFills = 0;
    QStringList changes;
    platform::TextBox* ciCode;
    platform::ComboBox* ciCharge;
    platform::ComboBox* ciWarehouse;
    explicit FakeCashier(QWidget* parent)
    {
        ciCode = new platform::TextBox(parent, QStringLiteral("ciCode"));
        ciCharge = new platform::ComboBox(parent, QStringLiteral("ciCharge"), true);
        ciWarehouse = new platform::ComboBox(parent, QStringLiteral("ciWarehouse"), true);
        for (QWidget* w : std::initializer_list<QWidget*>{ciCode, ciCharge, ciWarehouse})
            w->show();
        ciCode->Change = [this] { changes << QStringLiteral("ciCode_Change ") + ciCode->Text(); };
        ciCharge->Change = [this] { changes << QStringLiteral("ciCharge_Change ") + ciCharge->Text(); };
        ciWarehouse->Change = [this] { changes << QStringLiteral("ciWarehouse_Change ") + ciWarehouse->Text(); };
        picker::Register(QStringLiteral("ciCode"), ciCode, picker::Value::Code, true);
        picker::Register(QStringLiteral("ciCharge"), ciCharge, picker::Value::Name, true);
        picker::Register(QStringLiteral("ciWarehouse"), ciWarehouse, picker::Value::Name, true);
        app().OnSession(this, [this](ShopSession& s) {
            connect(&s, &ShopSession::catalogueChanged, this, [this] { FillCiCharge(); });
            s.till().setAction(action, action);
        });
    }
    // The action as the real panel keeps it: in its list and at the till.
    void setAction(const QString& a)
    {
        action = a;
        Till().setAction(a, a);
    }
    QString GetAction() const override { return action; }
    void ciAction_Click() override {}
    void FillCiCharge() override { ++chargeFills; }
    void FillCiCart() override {}
    void FillCiWarehouse() override {}
    void cbBarcode_Click() override {}
    void cbPrint_Click() override {}
    void cbMove_Click() override {}
    void ShowAddLine() override {}
    void cPrintNote(qint64) override {}
    void tCount_Timer() override {}
    QString ActionCaption() const override { return action; }
    QString CurrentCharge() const override { return ciCharge->Text(); }
    void SetCharge(const QString& charge) override { ciCharge->setText(charge); }
    void SelectAction(const QString&) override {}
    void StartSession() override {}
    void SetRates(const QString&, const QString&) override {}
    void SetBrowseEnabled(bool) override {}
    void ApplySettings(int, bool) override {}
    void FocusAction() override {}
    void FocusCharge() override {}
    void FocusCart() override {}
    void TogglePrintNote() override {}
};

struct FakeInventory : QObject, InventoryPanel {
    QString table;
    QStringList calls;
    QString selected;
    FakeInventory()
    {
        app().OnSession(this, [this](ShopSession& s) {
            connect(&s, &ShopSession::catalogueChanged, this, [this] {
                FilliiCategory2();
                FilliItems();
            });
        });
    }
    QString GetTable() const override { return table; }
    void FilliItems() override { calls << QStringLiteral("FilliItems "); }
    void FilliiCategory() override {}
    void FilliiCategory2() override { calls << QStringLiteral("FilliiCategory2"); }
    void ibRefresh_Click() override {}
    void ibAdd_Click() override {}
    QString GetSelectediiItemsCode() const override { return selected; }
    void StartSession() override {}
    void ShowWarehouseTable(bool) override {}
};

} // namespace

class TestCatalogueWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    FakeCashier* cashier = nullptr;
    FakeInventory* inventory = nullptr;
    FakeLedger ledger;
    fMaster* m = nullptr;
    fAdd* add = nullptr;
    fCharge* charge = nullptr;

    TestBackend& ui() { return *fx->ui; }
    QVariant value(const QString& sql) { return app().DbConn().GetValue(sql); }
    int count(const QString& table, const QString& where = QString())
    {
        return value(QStringLiteral("select count(*) from `%1` %2").arg(table, where)).toInt();
    }
    // Opens the picker and runs the script while it is shown.
    void pick(const QString& mode, const QString& target, const std::function<void()>& script)
    {
        ui().scripts[QStringLiteral("fMaster")] = [script](platform::Form*) { script(); };
        picker::Open(mode, picker::Find(target));
    }
    int rowOf(const QString& code)
    {
        for (int i = 2; i < m->iItems->ListCount(); ++i)
            if (m->GetIItemsCode(i) == code)
                return i;
        return -1;
    }
    QStringList listCodes()
    {
        QStringList out;
        for (int i = 2; i < m->iItems->ListCount(); ++i)
            out << m->GetIItemsCode(i);
        return out;
    }
    static void type(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
    static void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
    QWidget* focused() const { return QApplication::focusWidget(); }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        cashier = nullptr;
        inventory = nullptr;
        // The program's own panels register their targets; the other tests
        // put stand-ins in their place.
        if (QLatin1String(QTest::currentTestFunction()) != QLatin1String("programTargets")) {
            cashier = new FakeCashier(fx->main->pCashier);
            inventory = new FakeInventory;
            fx->main->setPanels(cashier, inventory, &ledger);
        }
        app().DbKind = QStringLiteral("Access");
        app().DbConn().Open(fx->path(QStringLiteral("Velmont Cafe & Resto.cdb")));
        app().BeginSession(QStringLiteral("Admin"));
        app().Rights.master = true;
        fx->main->pLogin->hide();
        fx->main->pcLogo->hide();
        fx->main->pCashier->show();
        fx->main->pCashier->raise();
        m = MasterWindow();
        add = AddWindow();
        charge = ChargeWindow();
        QVERIFY(m && add && charge);
    }
    void cleanup()
    {
        fx.reset();
        delete inventory;
        delete cashier;
        cashier = nullptr;
        inventory = nullptr;
    }

    // The windows of the program register the targets they own with the
    // value and handler rule of their row; a pick from the cashier's browse
    // button runs the cashier's item lookup.
    void programTargets()
    {
        struct Row {
            const char* name;
            picker::Value value;
            bool runsChange;
        };
        const Row rows[] = {
            {"ciCode", picker::Value::Code, true},
            {"fCart.ciCode", picker::Value::Code, true},
            {"fLedger.iCode", picker::Value::Code, true},
            {"ciCharge", picker::Value::Name, true},
            {"fMove.iCharge", picker::Value::Name, false},
            {"ciWarehouse", picker::Value::Name, true},
            {"fLedger.iWarehouse", picker::Value::Name, false},
            {"fLedger.iCharge", picker::Value::Name, false},
            {"fIn.iCode", picker::Value::StoredCode, true},
            {"fOut.iCode", picker::Value::StoredCode, true},
        };
        int registered = 0;
        for (const Row& r : rows) {
            const picker::Target* t = picker::Find(QLatin1String(r.name)).get();
            if (!t)
                continue;
            ++registered;
            QVERIFY2(t->value == r.value, r.name);
            QVERIFY2(t->runsChange == r.runsChange, r.name);
        }
        QVERIFY(registered >= 5); // the cashier panel's three, fIn and fOut
        QCOMPARE(picker::Find("fIn.iCode")->table, QStringLiteral("ShopItems"));
        QCOMPARE(picker::Find("fOut.iCode")->table, QStringLiteral("SaleItems"));

        auto* panel = dynamic_cast<CashierPanelView*>(fx->main->cashierPanel());
        QVERIFY(panel && panel->cbBrowse);
        panel->ciAction->setListIndex(0);
        pick("Items", "ciCode", [&] {
            QCOMPARE(m->TableName, QStringLiteral("SaleItems"));
            m->iItems->setListIndex(rowOf("KTB"));
            enter(m->iItems);
        });
        QCOMPARE(panel->ciCode->Text(), QStringLiteral("KTB"));
        auto* name = fx->main->findChild<platform::TextBox*>(QStringLiteral("ciName"));
        QVERIFY(name);
        QCOMPARE(name->Text(), QStringLiteral("Kopi Tubruk"));
    }

    // Which table each target and action lists, under which caption; the
    // filter-field list follows the mode whatever the previous one was.
    void activationChoosesTable()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        auto* ledgerCode = new platform::TextBox(fx->main, QStringLiteral("lCode"));
        auto* ledgerCharge = new platform::ComboBox(fx->main, QStringLiteral("lCharge"), true);
        QString ledgerAction = QStringLiteral("Sale Retur");
        auto kind = [&] { return ledgerAction; };
        picker::Register(QStringLiteral("fLedger.iCode"), ledgerCode, picker::Value::Code, true, kind);
        picker::Register(QStringLiteral("fLedger.iCharge"), ledgerCharge, picker::Value::Name, false, kind);
        auto* recipe = new platform::ComboBox(fx->main, QStringLiteral("rCode"), true);
        picker::Register(QStringLiteral("fIn.iCode"), recipe, picker::Value::StoredCode, true, {},
                         QStringLiteral("ShopItems"));

        struct Case {
            QString action, mode, target, table, caption;
        };
        const QList<Case> cases = {
            {"Sale", "Items", "ciCode", "SaleItems", "Data Penjualan"},
            {"Cash Out", "Items", "ciCode", "Cash OutItems", "Data Kas Keluar"},
            {"Cash Out", "Charge", "ciCharge", "Person", "Data Karyawan"},
            {"Shop Retur", "Items", "ciCode", "ShopItems", "Data Pembelian"},
            {"Cash In", "Items", "fLedger.iCode", "SaleItems", "Data Penjualan"},
            {"Cash In", "Charge", "fLedger.iCharge", "Customer", "Data Pelanggan"},
            {"Sale", "Items", "fIn.iCode", "ShopItems", "Data Pembelian"},
            {"Sale", "Warehouse", "ciWarehouse", "Warehouse", "Data Gudang"},
            {"Shop", "Charge", "ciCharge", "Supplier", "Data Supplier"},
        };
        for (const Case& c : cases) {
            cashier->setAction(c.action);
            QString caption, table, firstField;
            int rows = 0;
            bool categories = false;
            pick(c.mode, c.target, [&] {
                caption = m->Caption();
                table = m->TableName;
                rows = m->iItems->ListCount();
                firstField = m->iCategory->List(1);
                categories = m->iCategory2->isVisibleTo(m);
            });
            QCOMPARE(table, c.table);
            QCOMPARE(caption, c.caption);
            QCOMPARE(rows, count(c.table) + 2);
            QCOMPARE(categories, c.mode == QLatin1String("Items"));
            QCOMPARE(firstField,
                     c.mode == QLatin1String("Items") ? QStringLiteral("Category") : QStringLiteral("Name"));
        }
    }

    // The pick goes into the target's field: a code, or the record's name;
    // the handler runs where the row says so; the picker closes and the
    // field gets the focus. A pick or Esc writes no names, so the cashier's
    // charges are not read again.
    void writeBack()
    {
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("KTB"));
            enter(m->iItems);
        });
        QCOMPARE(cashier->ciCode->Text(), QStringLiteral("KTB"));
        QCOMPARE(cashier->changes, QStringList{"ciCode_Change KTB"});
        QVERIFY(!m->isVisible());
        QCOMPARE(focused(), cashier->ciCode);
        QCOMPARE(cashier->chargeFills, 0);

        pick("Charge", "ciCharge", [&] {
            m->iItems->setListIndex(rowOf("MEJA02"));
            m->bOK->click();
        });
        QCOMPARE(cashier->ciCharge->Text(), QStringLiteral("Meja 02"));
        QCOMPARE(cashier->changes.last(), QStringLiteral("ciCharge_Change Meja 02"));

        // A target whose handler does not run (the move dialog's charge).
        auto* moveCharge = new platform::ComboBox(fx->main, QStringLiteral("mCharge"), true);
        int moveChanges = 0;
        moveCharge->Change = [&] { ++moveChanges; };
        picker::Register(QStringLiteral("fMove.iCharge"), moveCharge, picker::Value::Name, false);
        pick("Charge", "fMove.iCharge", [&] {
            m->iItems->setListIndex(rowOf("MEJA03"));
            QTest::mouseDClick(m->iItems->viewport(), Qt::LeftButton, {},
                               m->iItems->visualRect(m->iItems->model()->index(rowOf("MEJA03"), 0)).center());
        });
        QCOMPARE(moveCharge->Text(), QStringLiteral("Meja 03"));
        QCOMPARE(moveChanges, 0);

        // The stored code of a recipe item, not the row text.
        auto* recipe = new platform::ComboBox(fx->main, QStringLiteral("rCode"), true);
        picker::Register(QStringLiteral("fOut.iCode"), recipe, picker::Value::StoredCode, true, {},
                         QStringLiteral("SaleItems"));
        app().DbConn().Execute("update SaleItems set code='esp' where code='ESP'");
        pick("Items", "fOut.iCode", [&] {
            m->iItems->setListIndex(rowOf("esp"));
            m->bOK->click();
        });
        QCOMPARE(recipe->Text(), QStringLiteral("esp"));

        // Nothing selected, the title row, an unknown target, Esc, a record
        // deleted meanwhile: nothing is written.
        const int fills = cashier->chargeFills;
        bool stillOpen = false;
        cashier->ciCharge->setText(QString());
        pick("Charge", "ciCharge", [&] {
            m->bOK->click();
            m->iItems->setListIndex(0);
            m->bOK->click();
            m->iItems->setListIndex(rowOf("MEJA04"));
            app().DbConn().Execute("delete from Customer where code='MEJA04'");
            m->bOK->click();
            stillOpen = m->isVisible();
            QTest::keyClick(m->iItems, Qt::Key_Escape);
        });
        QVERIFY(stillOpen);
        QCOMPARE(cashier->ciCharge->Text(), QString());
        QCOMPARE(cashier->chargeFills, fills);
        pick("Charge", "noSuchTarget", [&] {
            m->iItems->setListIndex(2);
            m->bOK->click();
            stillOpen = m->isVisible();
        });
        QVERIFY(stillOpen);
    }

    // Add through the list window: keys as typed, the live net price, the
    // row written, the dialog left empty and open, the list and categories
    // refreshed.
    void addItem()
    {
        QStringList shownRows, categories;
        QString discountN, total, displayedPrice;
        bool stayedOpen = false;
        QWidget* focusAfter = nullptr;
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            type(add->iCode, "k'01");
            enter(add->iCode);
            QTest::keyClicks(focused(), "kue basah");
            enter(focused());
            QTest::keyClicks(focused(), "bolu pandan");
            enter(focused());
            QTest::keyClicks(focused(), "15a000");
            displayedPrice = add->iPrice->Text();
            enter(focused());
            QTest::keyClicks(focused(), "1x5");
            discountN = add->iDiscountN->Text();
            total = add->iTotal->Text();
            enter(focused());
            enter(focused()); // iTotal
            QTest::keyClicks(focused(), "potong");
            enter(focused());
            stayedOpen = add->isVisible();
            focusAfter = focused();
        };
        pick("Items", "ciCode", [&] {
            QTest::keyClick(m->iItems, Qt::Key_F11);
            shownRows = listCodes();
            for (int i = 0; i < m->iCategory2->ListCount(); ++i)
                categories << m->iCategory2->List(i);
        });
        QCOMPARE(displayedPrice, QStringLiteral("15,000"));
        QCOMPARE(discountN, QStringLiteral("2,250"));
        QCOMPARE(total, QStringLiteral("12,750"));
        QVERIFY(stayedOpen);
        QCOMPARE(focusAfter, add->iCode);
        auto rs = app().DbConn().OpenRecordset("select * from SaleItems where code='K01'");
        QVERIFY(!rs->Eof());
        QCOMPARE(rs->Fields("category").toString(), QStringLiteral("Kue Basah"));
        QCOMPARE(rs->Fields("name").toString(), QStringLiteral("Bolu Pandan"));
        QCOMPARE(rs->Fields("price").toDouble(), 15000.0);
        QCOMPARE(rs->Fields("discount").toDouble(), 15.0);
        QCOMPARE(rs->Fields("satuan").toString(), QStringLiteral("Potong"));
        QVERIFY(shownRows.contains("K01"));
        QVERIFY(categories.contains("Kue Basah"));
        QCOMPARE(add->iCode->Text(), QString());
        QCOMPARE(add->iTotal->Text(), QStringLiteral("0"));
        QCOMPARE(add->TableName, QStringLiteral("SaleItems"));

        // An empty discount is written as 0, an empty unit as ''.
        add->PanelTable = QStringLiteral("Cash Out");
        inventory->calls.clear();
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            add->iCode->setText("CO1");
            add->iCategory->setText("Gaji");
            add->iName->setText("Gaji Harian");
            add->iPrice->setText("50000");
            add->bSave->click();
            QTest::keyClick(add->iName, Qt::Key_Escape);
        };
        add->bSave->Tag = "fMain";
        add->setCaption("Tambah");
        add->ShowModal();
        QCOMPARE(value("select discount from `Cash OutItems` where code='CO1'").toDouble(), 0.0);
        QCOMPARE(value("select satuan from `Cash OutItems` where code='CO1'").toString(), QString());
        QCOMPARE(inventory->calls, (QStringList{"FilliiCategory2", "FilliItems "}));
    }

    // Each refusal in its order, with its message and focus; nothing written.
    void itemRefusals()
    {
        struct Step {
            const char *code, *category, *name, *price, *message;
            QWidget* focus;
        };
        const QString reserved = QStringLiteral("Kode 'DS' ataupun 'PN' tidak dapat digunakan\r\n"
                                                "Karena digunakan untuk Diskon dan PPN");
        const QList<Step> steps = {
            {"", "A", "B", "1", "Kode belum diisi", add->iCode},
            {"X1", "", "B", "1", "Kategori belum diisi", add->iCategory},
            {"X1", "A", "", "1", "Deskripsi belum diisi", add->iName},
            {"X1", "A", "B", "", "Harga belum diisi", add->iPrice},
            {"X1", "A", "B", "0", "Harga belum diisi", add->iPrice},
            {"ds", "A", "B", "1", nullptr, add->iCode},
            {"Pn", "A", "B", "1", nullptr, add->iCode},
            {"ESP", "A", "B", "1", "Item dengan Kode 'ESP' sudah ada, coba Kode lain", add->iCode},
            {"esp", "A", "B", "1", "Item dengan Kode 'esp' sudah ada, coba Kode lain", add->iCode},
        };
        const int before = count("SaleItems");
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            for (const Step& s : steps) {
                add->iCode->setText(s.code);
                add->iCategory->setText(s.category);
                add->iName->setText(s.name);
                add->iPrice->setText(s.price);
                add->iUnit->setFocus();
                enter(add->iUnit);
                QCOMPARE(ui().messages.last().prompt, s.message ? QString::fromLatin1(s.message) : reserved);
                QCOMPARE(ui().messages.last().title, QStringLiteral("Peringatan"));
                QCOMPARE(focused(), s.focus);
                QCOMPARE(add->iName->Text(), QString::fromLatin1(s.name));
            }
            QTest::keyClick(add->iCode, Qt::Key_Escape);
        };
        pick("Items", "ciCode", [&] { m->bAdd->click(); });
        QCOMPARE(ui().messages.size(), steps.size());
        QCOMPARE(count("SaleItems"), before);
        QCOMPARE(add->iName->Text(), QString()); // Esc cleared the fields
    }

    // Edit finds the record by the code it was loaded with; a code another
    // record holds is refused; a record deleted meanwhile is told, nothing is
    // written and the list is refilled; reserved codes are refused on an edit.
    void editItem()
    {
        QString loadedPrice, loadedName;
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            loadedPrice = add->iPrice->Text();
            loadedName = add->iName->Text();
            add->iCode->setText("AMR");
            add->bSave->click();
            QCOMPARE(ui().lastPrompt(), QStringLiteral("Item dengan Kode 'AMR' sudah ada, coba Kode lain"));
            add->iCode->setText("DS");
            add->bSave->click();
            QVERIFY(ui().lastPrompt().startsWith("Kode 'DS'"));
            add->iCode->setText("ESP2");
            add->iPrice->setText("19000");
            add->bSave->click();
        };
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("ESP"));
            m->bEdit->click();
            QVERIFY(rowOf("ESP2") >= 2);
            QCOMPARE(rowOf("ESP"), -1);
        });
        QCOMPARE(loadedPrice, QStringLiteral("18,000"));
        QCOMPARE(loadedName, QStringLiteral("Espresso"));
        QCOMPARE(count("SaleItems", "where code='ESP'"), 0);
        QCOMPARE(value("select price from SaleItems where code='ESP2'").toDouble(), 19000.0);
        QVERIFY(!add->isVisible());

        // Deleted by another workstation while the dialog is open.
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            app().DbConn().Execute("delete from SaleItems where code='AMR'");
            add->iName->setText("Americano Besar");
            add->bSave->click();
        };
        bool listed = true;
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("AMR"));
            m->bEdit->click();
            listed = rowOf("AMR") >= 0;
        });
        QCOMPARE(ui().lastPrompt(), QStringLiteral("Data dengan Kode 'AMR' sudah tidak ada"));
        QCOMPARE(count("SaleItems", "where name='Americano Besar'"), 0);
        QVERIFY(!listed);

        // Deleted before the edit opens: the dialog is not shown.
        ui().shownModal.clear();
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("CPC"));
            app().DbConn().Execute("delete from SaleItems where code='CPC'");
            m->bEdit->click();
        });
        QCOMPARE(ui().shownModal, QStringList{"fMaster"});
        QCOMPARE(ui().lastPrompt(), QStringLiteral("Data dengan Kode 'CPC' sudah tidak ada"));
    }

    // An edit writes only what the operator changed: another till's price
    // and rename stay. A code typed with blanks is stored without them, so
    // that its row can be edited and deleted; blanks alone are no code. The
    // picker's OK on a record gone meanwhile says so and writes nothing.
    void editsKeepOthersAndCodesAreTrimmed()
    {
        auto& db = app().DbConn();
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            db.Execute("update SaleItems set price=20000 where code='ESP'");
            add->iName->setText("Espresso Dobel");
            add->bSave->click();
        };
        ui().scripts[QStringLiteral("fCharge")] = [&](platform::Form*) {
            db.Execute("update Customer set `name`='Meja Teras' where code='MEJA01'");
            charge->iAddress->setText("Jl. B");
            charge->bSave->click();
        };
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("ESP"));
            m->bEdit->click();
        });
        pick("Charge", "ciCharge", [&] {
            m->iItems->setListIndex(rowOf("MEJA01"));
            m->bEdit->click();
        });
        QCOMPARE(value("select `name` || '|' || price from SaleItems where code='ESP'").toString(),
                 QStringLiteral("Espresso Dobel|20000.0"));
        QCOMPARE(value("select `name` || '|' || address from Customer where code='MEJA01'").toString(),
                 QStringLiteral("Meja Teras|Jl. B"));

        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            add->iCode->setText("   ");
            add->iCategory->setText("Kopi");
            add->iName->setText("Kopi Z");
            add->iPrice->setText("1000");
            add->bSave->click();
            add->iCode->setText(" Z9 ");
            add->bSave->click();
            add->bClose->click();
        };
        pick("Items", "ciCode", [&] {
            m->bAdd->click();
            m->iItems->setListIndex(rowOf("Z9"));
            ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
                add->iPrice->setText("1500");
                add->bSave->click();
            };
            m->bEdit->click();
            QCOMPARE(value("select price from SaleItems where code='Z9'").toDouble(), 1500.0);
            m->iItems->setListIndex(rowOf("Z9"));
            ui().answers = {platform::MsgOK};
            m->bDelete->click();
            m->iItems->setListIndex(rowOf("LAT"));
            db.Execute("delete from SaleItems where code='LAT'");
            m->bOK->click();
            QVERIFY(m->isVisible());
        });
        QCOMPARE(ui().prompts(),
                 (QStringList{"Kode belum diisi", "Hapus Item terpilih?", "Data dengan Kode 'LAT' sudah tidak ada"}));
        QCOMPARE(count("SaleItems", "where code like '%Z9%'"), 0);
        QVERIFY(!cashier->changes.contains("ciCode_Change LAT"));
    }

    // The nominal discount becomes a percent of the price; Cancel, an empty
    // price and a price of 0 change nothing.
    void nominalDiscount()
    {
        QStringList seen;
        ui().scripts[QStringLiteral("fAdd")] = [&](platform::Form*) {
            add->iPrice->setText("10000");
            ui().inputAnswers = {"2500"};
            add->bDiscount->click();
            seen << add->iDiscount->Text() << add->iTotal->Text();
            ui().inputAnswers = {""};
            add->bDiscount->click();
            seen << add->iDiscount->Text();
            add->iPrice->setText("15000");
            ui().inputAnswers = {"1000"};
            add->bDiscount->click();
            seen << add->iDiscount->Text() << add->iTotal->Text();
            add->iPrice->setText("0");
            ui().inputAnswers = {"500"};
            add->bDiscount->click();
            seen << add->iDiscount->Text();
            add->iPrice->setText("");
            ui().inputAnswers = {"500"};
            add->bDiscount->click();
            seen << add->iDiscount->Text();
            add->bClose->click();
        };
        pick("Items", "ciCode", [&] { m->bAdd->click(); });
        QCOMPARE(seen, (QStringList{"25", "7,500", "25", "6.66667", "14,000", "6.66667", "6.66667"}));
    }

    // Delete asks first; delete of the marked rows removes exactly those,
    // starting at the first record row, in one transaction.
    void deleteAndClear()
    {
        const int before = count("SaleItems");
        pick("Items", "ciCode", [&] {
            m->iItems->setListIndex(rowOf("LAT"));
            ui().answers = {platform::MsgCancel, platform::MsgOK};
            QTest::keyClick(m->iItems, Qt::Key_Delete);
            QCOMPARE(rowOf("LAT") >= 0, true);
            m->iItems->setListIndex(rowOf("LAT"));
            m->bDelete->click();
            QCOMPARE(rowOf("LAT"), -1);
            m->iItems->setListIndex(1);
            m->bDelete->click(); // the rule row: nothing
        });
        QCOMPARE(ui().prompts().count("Hapus Item terpilih?"), 2);
        QCOMPARE(count("SaleItems"), before - 1);

        pick("Items", "ciCode", [&] {
            ui().answers = {platform::MsgOK};
            m->iCheck->setValue(1);
            QVERIFY(m->iItems->Selected(0) && m->iItems->Selected(1));
            for (int i = 2; i < m->iItems->ListCount(); ++i)
                if (m->GetIItemsCode(i) != "KTB" && m->GetIItemsCode(i) != "TMP")
                    m->iItems->setSelected(i, false);
            m->bClear->click();
            QCOMPARE(listCodes().size(), before - 3);
        });
        QCOMPARE(ui().lastPrompt(), QStringLiteral("Hapus semua Item yang ditandai?"));
        QCOMPARE(count("SaleItems", "where code in ('KTB','TMP')"), 0);
        QCOMPARE(count("SaleItems"), before - 3);

        // A failure halfway leaves every row.
        app().DbConn().Execute("create trigger stop before delete on Customer when old.code='MEJA05' "
                               "begin select raise(abort, 'stop'); end");
        const int customers = count("Customer");
        pick("Charge", "ciCharge", [&] {
            ui().answers = {platform::MsgOK};
            // The box shows the new list's state: nothing marked yet.
            QCOMPARE(m->iCheck->Value(), 0);
            m->iCheck->setValue(1);
            m->bClear->click();
        });
        QCOMPARE(count("Customer"), customers);
        const qsizetype told = ui().prompts().size();

        // A table without records: title and rule only, the commands do nothing.
        app().DbConn().Execute("delete from Person");
        cashier->setAction("Cash In");
        pick("Charge", "ciCharge", [&] {
            QCOMPARE(m->iItems->ListCount(), 2);
            m->bClear->click();
            m->iItems->setListIndex(1);
            m->bDelete->click();
        });
        QCOMPARE(ui().prompts().size(), told);
    }

    // Category, field filter and search; the operator's % and _ are literal,
    // an apostrophe is dropped as it is from the names stored.
    void filtersAndSearch()
    {
        auto& db = app().DbConn();
        db.Execute("insert into SaleItems values('P1', 'Promo', 'Diskon 50% Kopi', 1000, 0, '')");
        db.Execute("insert into SaleItems values('P2', 'Promo', 'Diskon 500 Kopi', 1000, 0, '')");
        db.Execute("insert into SaleItems values('P_3', 'Promo', 'Kue Ibu''s', 1000, 0, '')");
        db.Execute("insert into SaleItems values('PX3', 'Promo', 'Kue Ibus', 1500, 0, '')");
        pick("Items", "ciCode", [&] {
            m->iCategory2->setListIndex(m->iCategory2->findText("Promo"));
            QCOMPARE(listCodes(), (QStringList{"P1", "P2", "P_3", "PX3"}));
            {
                QSignalBlocker quiet(m->iFilter);
                m->iFilter->setText("x");
            }
            m->iSearch->setText("y");
            m->iCategory2->setListIndex(0);
            QCOMPARE(m->iFilter->Text(), QString());
            QCOMPARE(m->iSearch->Text(), QString());
            QCOMPARE(listCodes().size(), count("SaleItems"));

            // The field filter: the beginning of the chosen field.
            m->iCategory2->setListIndex(m->iCategory2->findText("Promo"));
            m->iCategory->setListIndex(0);
            // It waits for a pause in typing, or Enter.
            type(m->iFilter, "P_");
            QVERIFY(listCodes().size() > 1);
            QTRY_COMPARE(listCodes(), QStringList{"P_3"});
            QCOMPARE(m->iCategory2->ListIndex(), 0);
            QCOMPARE(m->iFilter->Text(), QStringLiteral("P_"));
            m->iCategory->setListIndex(2); // the same text on the name
            enter(m->iFilter);
            QCOMPARE(listCodes(), QStringList());
            m->iFilter->setText("kue ibu's");
            enter(m->iFilter);
            QCOMPARE(listCodes(), QStringList{"PX3"});
            m->iCategory->setListIndex(5); // net price
            m->iFilter->setText("15");
            m->iItems->setFocus(); // moving to the list
            QVERIFY(listCodes().contains("PX3"));
            QVERIFY(!listCodes().contains("P1"));

            // The search anywhere in code, category and name.
            type(m->iSearch, "50%");
            QCOMPARE(m->iFilter->Text(), QString());
            enter(m->iSearch);
            QCOMPARE(listCodes(), QStringList{"P1"});
            m->iSearch->setText("ibu's");
            m->bSearch->click();
            QCOMPARE(listCodes(), QStringList{"PX3"});
            m->bRefresh->click();
            QCOMPARE(listCodes().size(), count("SaleItems"));
            QCOMPARE(m->iSearch->Text(), QStringLiteral("ibu's"));
        });

        db.Execute("insert into Customer values('C%', 'Ani', 'Jl. 100%', '', '')");
        pick("Charge", "ciCharge", [&] {
            m->iSearch->setText("0%");
            m->bSearch->click();
            QCOMPARE(listCodes(), QStringList{"C%"});
            m->iCategory->setListIndex(1);
            m->iFilter->setText("meja 1");
            enter(m->iFilter);
            QCOMPARE(listCodes().size(), count("Customer", "where name like 'Meja 1%'"));
        });
    }

    // The contact dialog from the list window writes the table shown (the
    // warehouses whatever the cashier's action); edit loads all five fields.
    void contacts()
    {
        cashier->setAction("Sale");
        ui().scripts[QStringLiteral("fCharge")] = [&](platform::Form*) {
            QCOMPARE(charge->TableName, QStringLiteral("Warehouse"));
            charge->bSave->click();
            QCOMPARE(ui().lastPrompt(), QStringLiteral("Kode belum diisi"));
            QCOMPARE(focused(), charge->iCode);
            type(charge->iCode, "ds");
            enter(charge->iCode);
            charge->bSave->click();
            QCOMPARE(ui().lastPrompt(), QStringLiteral("Nama belum diisi"));
            QCOMPARE(focused(), charge->iName);
            QTest::keyClicks(charge->iName, "gudang belakang");
            enter(charge->iName);
            QTest::keyClicks(focused(), "jl. mawar");
            enter(focused());
            enter(focused());
            enter(focused()); // iFax saves
            QCOMPARE(charge->iCode->Text(), QString());
            QCOMPARE(focused(), charge->iCode);
            charge->iCode->setText("DS");
            charge->iName->setText("Lagi");
            charge->bSave->click();
            QCOMPARE(ui().lastPrompt(), QStringLiteral("Item dengan Kode 'DS' sudah ada, coba Kode lain"));
            QTest::keyClick(charge->iName, Qt::Key_Escape);
        };
        QStringList listed;
        pick("Warehouse", "ciWarehouse", [&] {
            m->bAdd->click();
            listed = listCodes();
        });
        QVERIFY(listed.contains("DS"));
        auto rs = app().DbConn().OpenRecordset("select * from Warehouse where code='DS'");
        QCOMPARE(rs->Fields("name").toString(), QStringLiteral("Gudang Belakang"));
        QCOMPARE(rs->Fields("address").toString(), QStringLiteral("Jl. Mawar"));
        QCOMPARE(rs->Fields("phone").toString(), QString());

        app().DbConn().Execute("update Customer set address='Jl. A', phone='0812', fax='021' where code='MEJA01'");
        QStringList loaded;
        const int fills = cashier->chargeFills;
        ui().scripts[QStringLiteral("fCharge")] = [&](platform::Form*) {
            loaded = {charge->iCode->Text(), charge->iName->Text(), charge->iAddress->Text(), charge->iPhone->Text(),
                      charge->iFax->Text()};
            charge->iName->setText("Meja Satu");
            charge->bSave->click();
        };
        pick("Charge", "ciCharge", [&] {
            m->iItems->setListIndex(rowOf("MEJA01"));
            m->bEdit->click();
        });
        QCOMPARE(loaded, (QStringList{"MEJA01", "Meja 01", "Jl. A", "0812", "021"}));
        // The renamed customer is offered among the cashier's charges.
        QCOMPARE(cashier->chargeFills, fills + 1);
        QCOMPARE(value("select name from Customer where code='MEJA01'").toString(), QStringLiteral("Meja Satu"));
        QVERIFY(!charge->isVisible());

        // From the inventory panel: the panel's table, its list rebuilt.
        charge->PanelTable = "Warehouse";
        inventory->calls.clear();
        ui().scripts[QStringLiteral("fCharge")] = [&](platform::Form*) {
            charge->iName->setText("Gudang Depan");
            charge->bSave->click();
        };
        charge->bSave->Tag = "fMain";
        charge->setCaption("Ubah");
        charge->iCode->setText("DS");
        charge->ShowModal();
        QCOMPARE(value("select name from Warehouse where code='DS'").toString(), QStringLiteral("Gudang Depan"));
        QCOMPARE(inventory->calls, (QStringList{"FilliiCategory2", "FilliItems "}));
    }

    // The print-out: caption, the filters in force, the rule, every row.
    void print()
    {
        QStringList rows;
        pick("Items", "ciCode", [&] {
            m->iCategory2->setListIndex(m->iCategory2->findText("Makanan"));
            for (int i = 0; i < m->iItems->ListCount(); ++i)
                rows << m->iItems->List(i);
            m->bPrint->click();
            m->iCategory->setListIndex(0);
            m->bPrint->click(); // a field without a filter text prints no filter line
        });
        QCOMPARE(ui().printed.size(), 2);
        const QStringList lines = ui().printed.first();
        QCOMPARE(lines.at(0), QStringLiteral("DATA PENJUALAN"));
        QCOMPARE(ui().printedNames, (QStringList{QStringLiteral("Data Penjualan"), QStringLiteral("Data Penjualan")}));
        QCOMPARE(lines.at(1).trimmed(), QStringLiteral("Kategori: Makanan"));
        QCOMPARE(lines.at(2), QString());
        QCOMPARE(lines.at(3), QString(212, '-'));
        QCOMPARE(lines.mid(4, rows.size()), rows);
        QCOMPARE(lines.last(), QString(212, '-'));
        for (const QString& line : ui().printed.last())
            QVERIFY(!line.trimmed().startsWith("Filter By"));
    }

    // The export holds every record of the last filling, in a new workbook
    // handed to the desktop; a failure is told with the path.
    void exportList()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        pick("Items", "ciCode", [&] {
            m->iSearch->setText("kopi");
            m->bSearch->click();
            m->bExcel->click();
        });
        QCOMPARE(ui().opened.size(), 1);
        const QString file = ui().opened.first();
        XlsxSheet sheet(file);
        QVERIFY(sheet.ok());
        QCOMPARE(sheet.text("A1"), QStringLiteral("Code"));
        QCOMPARE(sheet.text("G1"), QStringLiteral("Unit"));
        const int found =
            count("SaleItems", "where code like '%kopi%' or category like '%kopi%' or name like '%kopi%'");
        QVERIFY(found > 0);
        QVERIFY(sheet.has(QStringLiteral("A%1").arg(found + 1)));
        QVERIFY(!sheet.has(QStringLiteral("A%1").arg(found + 2)));
        QCOMPARE(sheet.format("D2"), QStringLiteral("#,##0"));
        QCOMPARE(sheet.format("E2"), QStringLiteral("#0 %"));
        QCOMPARE(sheet.font("A2"), QStringLiteral("Tahoma"));
        QVERIFY(sheet.border("A1"));
        QVERIFY(sheet.columnWidth(3) > sheet.columnWidth(1));
        QFile::remove(file);

        ui().openSucceeds = false;
        pick("Warehouse", "ciWarehouse", [&] { m->bExcel->click(); });
        QVERIFY(ui().lastPrompt().contains(ui().opened.last()));
        // The file was written: where it lies is information, not a failure.
        QCOMPARE(ui().messages.last().kind, platform::MsgKind::Info);
        QVERIFY(!ui().lastPrompt().contains(QStringLiteral("gagal")));
        XlsxSheet people(ui().opened.last());
        QCOMPARE(people.text("E1"), QStringLiteral("Fax"));
        QVERIFY(people.format("A2").isEmpty() || people.format("A2") == QLatin1String("General"));
        QFile::remove(ui().opened.last());
    }
};

int runWindowTests(int argc, char** argv)
{
    TestCatalogueWindows t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_windows.moc"
