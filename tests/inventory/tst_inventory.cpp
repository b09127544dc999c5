// The inventory panel over its nine tables and the inventory item dialog,
// driven by keys and clicks on a fresh database: the item invariant after
// add, edit and delete, the code checks, the lists with their filters and
// search, the print-out and the export, and writes that fail half way.
#include "catalogue/fadd.h"
#include "catalogue/fcharge.h"
#include "catalogue/finventory.h"
#include "catalogue/inventorypanel.h"
#include "catalogue/model/inventory.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/dbrows.h"
#include "support/fixture.h"
#include "support/testserver.h"
#include "support/xlsxread.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using platform::DbConnection;

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, mods);
}

QStringList holdings(const QString& code)
{
    return itemHoldings(app().DbConn(), code);
}

const QStringList kAll = {"1", "1", "1", "1", "1", "1"};
const QStringList kNone = {"0", "0", "0", "0", "0", "0"};

} // namespace

class TestInventory : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    InventoryPanelView* panel() const { return static_cast<InventoryPanelView*>(fx->main->inventoryPanel()); }
    fInventory* dlg() const { return InventoryWindow(); }
    DbConnection& db() const { return app().DbConn(); }
    platform::ListBox* list() const { return panel()->iiItems; }
    int rowOf(const QString& code) const
    {
        for (int i = 2; i < list()->ListCount(); ++i)
            if (list()->List(i).left(8).trimmed() == code)
                return i;
        return -1;
    }

    void seed()
    {
        inventory::AddItem(db(), {"AIR", "Minuman", "Air Mineral", "Botol", 3000, 0, 5000, 10});
        inventory::AddItem(db(), {"TEH", "Minuman", "Teh Botol", "Botol", 4000, 5, 7000, 0});
        inventory::AddItem(db(), {"ROTI", "Roti", "Roti Tawar", "Pack", 12000, 0, 18000, 0});
        mMain::ExecSQL("insert into SaleItems values('ESK', 'Kopi', 'Es Kopi Susu', 20000, 0, 'Gelas')");
        mMain::ExecSQL("insert into Customer values('C1', 'Budi O''Hara', 'Jl. Mawar', '0812', '')");
        mMain::ExecSQL("insert into Warehouse values('G1', 'Gudang Utama', 'Jl. Raya', '', '')");
        // The login chose the first table before these rows existed.
        panel()->iiTable_Click();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        const QString entry = fx->newEntry("Toko");
        {
            DbConnection c;
            fx->openEntry(c, "Toko");
            c.Execute("update config set setting='1' where `key`='Warehouse'");
        }
        fx->login(entry, "Admin", "admin");
        QVERIFY(!fx->main->pLogin->isVisible());
        QCOMPARE(panel()->iiTable->ListCount(), 9);
        // The operator works on the list with the panel shown (F2).
        QTest::keyClick(fx->main, Qt::Key_F2);
    }
    void cleanup() { fx.reset(); }

    void addEditDeleteKeepTheItemWhole()
    {
        fInventory* f = dlg();
        fx->main->bInventory_Click();
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            QCOMPARE(f->Caption(), QString("Tambah"));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->iCode));
            QTest::keyClicks(f->iCode, "kopi");
            press(Qt::Key_Return);
            QTest::keyClicks(f->iCategory->lineEdit(), "minuman");
            press(Qt::Key_Return);
            QTest::keyClicks(f->iName, "kopi susu");
            press(Qt::Key_Return);
            QTest::keyClicks(f->iUnit->lineEdit(), "gelas");
            press(Qt::Key_Return);
            QTest::keyClicks(f->iPriceSH, "10000");
            QCOMPARE(f->iPriceSH->Text(), QString("10,000"));
            press(Qt::Key_Return);
            QTest::keyClicks(f->iDiscountSH, "5");
            QCOMPARE(f->iDiscountSHN->Text(), QString("500"));
            QCOMPARE(f->iTotalSH->Text(), QString("9,500"));
            press(Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->iPriceSL));
            QTest::keyClicks(f->iPriceSL, "15000");
            press(Qt::Key_Return);
            press(Qt::Key_Return);
            // Saved: the fields empty, the lists offer the new entries.
            QCOMPARE(f->iCode->Text(), QString());
            QCOMPARE(f->iCategory->List(0), QString("Minuman"));
            QCOMPARE(f->iUnit->List(0), QString("Gelas"));
            QCOMPARE(f->iTotalSL->Text(), QString("0"));
            press(Qt::Key_Escape);
        };
        QTest::keyClick(fx->main, Qt::Key_F11);
        QCOMPARE(fx->ui->shownModal, QStringList{"fInventory"});
        QCOMPARE(holdings("KOPI"), kAll);
        QCOMPARE(rowsOf("select * from shopitems"), QStringList{"KOPI|Minuman|Kopi Susu|10000|5|Gelas"});
        QCOMPARE(rowsOf("select * from saleitems"), QStringList{"KOPI|Minuman|Kopi Susu|15000|0|Gelas"});
        QVERIFY(rowOf("KOPI") == 2);

        // Another stock item that a cup of KOPI also takes out follows the
        // new code; it still moves the same stock item.
        mMain::ExecSQL("insert into stock values('GULA', 'Gula', 'Kg')");
        mMain::ExecSQL("insert into stocksale values(9, 'GULA', 'KOPI', '0,02')");
        list()->setListIndex(rowOf("KOPI"));
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            QCOMPARE(f->Caption(), QString("Ubah"));
            QCOMPARE(f->iPriceSH->Text(), QString("10,000"));
            QCOMPARE(f->iDiscountSH->Text(), QString("5"));
            QCOMPARE(f->iTotalSH->Text(), QString("9,500"));
            f->iCode->setText("KOPI2");
            f->iName->setText("Kopi Susu Gula Aren");
            f->iPriceSL->setText("18000");
            f->bSave->click();
            QVERIFY(!f->isVisible());
        };
        list()->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(f->iCode->Text(), QString());
        QCOMPARE(holdings("KOPI"), kNone);
        QCOMPARE(holdings("KOPI2"), kAll);
        QCOMPARE(rowsOf("select * from saleitems"), QStringList{"KOPI2|Minuman|Kopi Susu Gula Aren|18000|0|Gelas"});
        QCOMPARE(rowsOf("select * from stock where code='KOPI2'"), QStringList{"KOPI2|Kopi Susu Gula Aren|Gelas"});
        QCOMPARE(rowsOf("select stock, code from stocksale where ID=9"), QStringList{"GULA|KOPI2"});
        QVERIFY(list()->List(rowOf("KOPI2")).contains("Kopi Susu Gula Aren"));

        // Delete: Cancel keeps it, OK removes all six; movements stay.
        mMain::ExecSQL("insert into stockflow values(1, '2026-01-01', 'Opname', 'KOPI2', 'x', 'Gelas', 5, 0)");
        list()->setListIndex(rowOf("KOPI2"));
        fx->ui->answers = {2};
        press(Qt::Key_Delete);
        QCOMPARE(holdings("KOPI2"), kAll);
        list()->setListIndex(rowOf("KOPI2"));
        fx->ui->answers = {1};
        press(Qt::Key_Delete);
        QCOMPARE(fx->ui->lastPrompt(), QString("Hapus item terpilih?"));
        QCOMPARE(holdings("KOPI2"), kNone);
        QCOMPARE(rowOf("KOPI2"), -1);
        QCOMPARE(count("select count(*) from stockflow"), 1);
        // The link of the other stock item is not its own: it stays.
        QCOMPARE(count("select count(*) from stocksale"), 1);
    }

    // The items and contact tables open the item and contact dialogs, told
    // that the panel opened them; the warehouses are not added from here.
    void itemsAndContactsOpenTheirDialogs()
    {
        seed();
        InventoryPanelView* p = panel();
        fx->main->bInventory_Click();
        p->iiTable->setListIndex(1);
        fAdd* a = AddWindow();
        fx->ui->scripts["fAdd"] = [&](platform::Form*) {
            QCOMPARE(a->Caption(), QString("Tambah"));
            QCOMPARE(a->bSave->Tag, QString("fMain"));
            QCOMPARE(a->TableName, QString("SaleItems"));
            press(Qt::Key_Escape);
        };
        press(Qt::Key_Plus, Qt::KeypadModifier);
        list()->setListIndex(rowOf("ESK"));
        fx->ui->scripts["fAdd"] = [&](platform::Form*) {
            QCOMPARE(a->Caption(), QString("Ubah"));
            QCOMPARE(a->iName->Text(), QString("Es Kopi Susu"));
            QCOMPARE(a->iPrice->Text(), QString("20,000"));
            a->iName->setText("Es Kopi Aren");
            a->bSave->click();
        };
        list()->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(rowsOf("select `name` from saleitems where code='ESK'"), QStringList{"Es Kopi Aren"});
        QVERIFY(list()->List(rowOf("ESK")).contains("Es Kopi Aren"));

        p->iiTable->setListIndex(5);
        fCharge* c = ChargeWindow();
        list()->setListIndex(2);
        fx->ui->scripts["fCharge"] = [&](platform::Form*) {
            QCOMPARE(c->Caption(), QString("Ubah"));
            QCOMPARE(c->TableName, QString("Customer"));
            QCOMPARE(c->iAddress->Text(), QString("Jl. Mawar"));
            press(Qt::Key_Escape);
        };
        panel()->ibEdit->click();

        p->iiTable->setListIndex(8);
        panel()->ibAdd->click();
        QCOMPARE(fx->ui->shownModal, (QStringList{"fAdd", "fAdd", "fCharge"}));

        // A record gone meanwhile: told, and the list rebuilt without it.
        p->iiTable->setListIndex(1);
        list()->setListIndex(rowOf("ESK"));
        mMain::ExecSQL("delete from saleitems where code='ESK'");
        panel()->ibEdit->click();
        QCOMPARE(fx->ui->lastPrompt(), catalogue::GoneMessage("ESK"));
        QCOMPARE(rowOf("ESK"), -1);
        QCOMPARE(fx->ui->shownModal.size(), 3);
    }

    // A double click opens the edit and leaves the row's mark as it was.
    void doubleClickEdits()
    {
        seed();
        fx->main->bInventory_Click();
        const int row = rowOf("TEH");
        list()->setSelected(row, true);
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            QCOMPARE(dlg()->iCode->Text(), QString("TEH"));
            press(Qt::Key_Escape);
        };
        const QModelIndex item = list()->model()->index(row, 0);
        list()->scrollTo(item);
        const QPoint at = list()->visualRect(item).center() + QPoint(100, 0);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(fx->ui->shownModal, QStringList{"fInventory"});
        QVERIFY(list()->Selected(row));
        QCOMPARE(dlg()->iCode->Text(), QString());
    }

    void codesAlreadyUsedOrReservedAreRefused()
    {
        seed();
        mMain::ExecSQL("insert into stock values('STK', 'Stok', '')");
        mMain::ExecSQL("insert into ShopItems values('BELI', 'A', 'Beli', 1, 0, '')");
        fInventory* f = dlg();
        auto attempt = [&](const QString& code) {
            f->setCaption("Tambah");
            fx->ui->scripts["fInventory"] = [&, code](platform::Form*) {
                f->iCode->setText(code);
                f->iCategory->setText("Umum");
                f->iName->setText("Barang");
                f->iPriceSH->setText("1");
                f->iPriceSL->setText("2");
                f->bSave->click();
                press(Qt::Key_Escape);
            };
            f->ShowModal();
        };
        for (const QString code : {"STK", "BELI", "ESK", "AIR", "ds"})
            attempt(code);
        QCOMPARE(fx->ui->prompts(), (QStringList{"Item dengan Kode 'STK' sudah ada, coba Kode lain",
                                                 "Item dengan Kode 'BELI' sudah ada, coba Kode lain",
                                                 "Item dengan Kode 'ESK' sudah ada, coba Kode lain",
                                                 "Item dengan Kode 'AIR' sudah ada, coba Kode lain",
                                                 "Kode 'DS' ataupun 'PN' tidak dapat digunakan\r\nKarena "
                                                 "digunakan untuk Diskon dan PPN"}));
        QCOMPARE(count("select count(*) from inventory"), 3);
        attempt("DSX");
        QCOMPARE(holdings("DSX"), kAll);

        // Missing fields, in order; a price of 0 is no price.
        fx->ui->clear();
        f->setCaption("Tambah");
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            f->bSave->click();
            f->iCode->setText("BARU");
            f->bSave->click();
            f->iCategory->setText("Umum");
            f->bSave->click();
            f->iName->setText("Baru");
            f->iPriceSH->setText("0");
            f->bSave->click();
            f->iPriceSH->setText("5");
            f->bSave->click();
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->iPriceSL));
            press(Qt::Key_Escape);
        };
        f->ShowModal();
        QCOMPARE(fx->ui->prompts(), (QStringList{"Kode belum diisi", "Kategori belum diisi", "Deskripsi belum diisi",
                                                 "Harga Beli belum diisi", "Harga Jual belum diisi"}));

        // An edit onto another item's code would merge the two.
        fx->ui->clear();
        fx->main->bInventory_Click();
        list()->setListIndex(rowOf("TEH"));
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            f->iCode->setText("AIR");
            f->bSave->click();
            press(Qt::Key_Escape);
        };
        panel()->ibEdit->click();
        QCOMPARE(fx->ui->prompts(), QStringList{"Item dengan Kode 'AIR' sudah ada, coba Kode lain"});
        QCOMPARE(holdings("TEH"), kAll);
    }

    void nominalDiscountAndTotals()
    {
        fInventory* f = dlg();
        f->setCaption("Tambah");
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            QCOMPARE(f->iDiscountSHN->Text(), QString("0"));
            QCOMPARE(f->iTotalSH->Text(), QString("0"));
            // No price: the button does nothing; a price of 0 neither.
            fx->ui->inputAnswers = {"100"};
            f->bDiscountSH->click();
            QCOMPARE(f->iDiscountSH->Text(), QString());
            f->iPriceSH->setText("0");
            fx->ui->inputAnswers = {"100"};
            f->bDiscountSH->click();
            QCOMPARE(f->iDiscountSH->Text(), QString());
            f->iPriceSH->setText("10000");
            fx->ui->inputAnswers = {"2500"};
            f->bDiscountSH->click();
            QCOMPARE(f->iDiscountSH->Text(), QString("25"));
            QCOMPARE(f->iDiscountSHN->Text(), QString("2,500"));
            QCOMPARE(f->iTotalSH->Text(), QString("7,500"));
            f->iPriceSL->setText("3000");
            fx->ui->inputAnswers = {"1000"};
            f->bDiscountSL->click();
            QCOMPARE(f->iDiscountSL->Text(), QString("33.3333"));
            QCOMPARE(f->iTotalSL->Text(), QString("2,000"));
            press(Qt::Key_Escape);
        };
        f->ShowModal();
        QCOMPARE(fx->ui->messages.size(), 0);
    }

    void eachTableWithItsColumns()
    {
        seed();
        InventoryPanelView* p = panel();
        struct Case {
            int index;
            QString word;
            int rowLength;
            int rule;
            int records;
            bool categoryShown;
        };
        const Case cases[] = {
            {0, "Sale Shop", 159, 265, 3, true},  {1, "Sale", 114, 197, 4, true},
            {2, "Shop", 114, 197, 3, true},       {3, "Cash In", 114, 197, 0, true},
            {4, "Cash Out", 114, 197, 0, true},   {5, "Customer", 102, 197, 1, false},
            {6, "Supplier", 102, 197, 0, false},  {7, "Person", 102, 197, 0, false},
            {8, "Warehouse", 102, 197, 1, false},
        };
        for (const Case& c : cases) {
            p->iiTable->setListIndex(c.index);
            QCOMPARE(p->GetTable(), c.word);
            QCOMPARE(list()->ListCount(), 2 + c.records);
            QCOMPARE(list()->List(0).size(), c.rowLength);
            QCOMPARE(list()->List(1), QString(c.rule, '-'));
            for (int i = 2; i < list()->ListCount(); ++i)
                QCOMPARE(list()->List(i).size(), c.rowLength);
            QCOMPARE(p->iiCategory2->isVisibleTo(fx->main->pInventory), c.categoryShown);
            QCOMPARE(p->icCategory2->Caption(), QString(c.categoryShown ? "Kategori:" : "Gudang:"));
            QCOMPARE(p->iiCategory->ListCount(), c.index == 0 ? 10 : c.index <= 4 ? 7 : c.index <= 7 ? 5 : 0);
            QCOMPARE(p->iiItemsSql.isEmpty(), false);
        }
        p->iiTable->setListIndex(0);
        QCOMPARE(
            list()->List(rowOf("AIR")),
            QString("AIR      Minuman      Air Mineral                    Botol                3,000              0%  "
                    "         3,000           5,000             10%           4,500"));
        p->iiTable->setListIndex(5);
        QVERIFY(list()->List(2).startsWith("C1       Budi O'Hara          Jl. Mawar"));
    }

    // Behind another panel nothing is read, whatever asks for the list and
    // its categories; F2 shows them as they stand, and again unchanged (a
    // cart line in between) without reading them again from a file.
    void aHiddenPanelReadsNothing()
    {
        InventoryPanelView* p = panel();
        QTest::keyClick(fx->main, Qt::Key_F1);
        seed();
        DbConnection& c = db();
        quint64 ran = c.statementCount();
        p->iiTable->setListIndex(1);
        p->iiTable->setListIndex(0);
        fx->main->FilliiCategory2();
        fx->main->FilliItems();
        QCOMPARE(c.statementCount(), ran);
        QCOMPARE(p->iiCategory2->ListCount(), 1);

        QTest::keyClick(fx->main, Qt::Key_F2);
        QCOMPARE(p->iiCategory2->ListCount(), 3);
        QCOMPARE(p->iiCategory2->List(2), QString("Roti"));
        QCOMPARE(p->iiCategory2->ListIndex(), 0);
        QCOMPARE(list()->ListCount(), 2 + 3);
        mMain::ExecSQL("insert into Salecart (id, charge) values(1, 'Meja 1')");
        QTest::keyClick(fx->main, Qt::Key_F1);
        ran = c.statementCount();
        QTest::keyClick(fx->main, Qt::Key_F2);
        if (!c.isOdbc())
            QCOMPARE(c.statementCount(), ran);
        QCOMPARE(list()->ListCount(), 2 + 3);
        QCOMPARE(p->iiCategory2->ListCount(), 3);
        // A new category is read with the item that brings it.
        inventory::AddItem(c, {"SUS", "Susu", "Susu Segar", "Botol", 6000, 0, 9000, 0});
        fx->main->FilliiCategory2();
        QCOMPARE(p->iiCategory2->ListCount(), 4);
        QCOMPARE(list()->ListCount(), 2 + 4);
    }

    void categoryFilterAndSearch()
    {
        seed();
        InventoryPanelView* p = panel();
        fx->main->bInventory_Click();
        p->iiTable->setListIndex(0);
        QCOMPARE(p->iiCategory2->ListCount(), 3);
        p->iiCategory2->setListIndex(p->iiCategory2->findText("Roti"));
        QCOMPARE(list()->ListCount(), 3);
        QCOMPARE(rowOf("ROTI"), 2);

        // Typing a filter puts the category back on "all" and filters by the
        // start of the chosen column.
        // The list follows once typing pauses, or at Enter.
        p->iiCategory->setListIndex(2);
        p->iiFilter->setFocus();
        QTest::keyClicks(p->iiFilter, "te");
        QCOMPARE(p->iiCategory2->ListIndex(), 0);
        QCOMPARE(rowOf("ROTI"), 2);
        QTRY_COMPARE(rowOf("TEH"), 2);
        QCOMPARE(list()->ListCount(), 3);
        // Another column re-applies the text; an empty text lists them all.
        p->iiCategory->setListIndex(0);
        p->iiFilter->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(list()->ListCount(), 3);
        p->iiFilter->setText("x");
        press(Qt::Key_Return);
        QCOMPARE(list()->ListCount(), 2);
        p->iiFilter->setText("");
        list()->setFocus(); // moving to the list
        QCOMPARE(list()->ListCount(), 5);
        // A filter still waiting never overrides the list filled after it.
        p->iiFilter->setText("te");
        p->iiCategory2->setListIndex(p->iiCategory2->findText("Roti"));
        QTest::qWait(400);
        QCOMPARE(rowOf("ROTI"), 2);
        QCOMPARE(list()->ListCount(), 3);

        // Entering the search box clears the filter; the keyword is found
        // anywhere, a "%" matches itself.
        p->iiFilter->setText("r");
        p->iiSearch->setFocus();
        QCOMPARE(p->iiFilter->Text(), QString());
        QTest::keyClicks(p->iiSearch, "botol");
        press(Qt::Key_Return);
        QCOMPARE(list()->ListCount(), 4);
        p->iiSearch->setText("%");
        p->ibSearch->click();
        QCOMPARE(list()->ListCount(), 2);
        // Refresh lists all and clears nothing.
        p->iiSearch->setText("botol");
        p->ibRefresh->click();
        QCOMPARE(list()->ListCount(), 5);
        QCOMPARE(p->iiSearch->Text(), QString("botol"));

        // Contacts: a typed apostrophe is dropped, as it is from every name
        // the program stores, so "o'h" finds "Ohara" (and not the apostrophe
        // that only a foreign writer could have left).
        mMain::ExecSQL("insert into Customer values('C2', 'Warung Ohara', 'Jl. Melati', '', '')");
        p->iiTable->setListIndex(5);
        p->iiSearch->setFocus();
        QTest::keyClicks(p->iiSearch, "o'h");
        press(Qt::Key_Return);
        QCOMPARE(list()->ListCount(), 3);
        QCOMPARE(rowOf("C2"), 2);
    }

    void markAllAndClear()
    {
        seed();
        InventoryPanelView* p = panel();
        p->iiTable->setListIndex(1);
        p->iiSearch->setText("es");
        p->ibSearch->click();
        QCOMPARE(list()->ListCount(), 3);
        p->iiCheck->setValue(1);
        for (int i = 0; i < list()->ListCount(); ++i)
            QVERIFY(list()->Selected(i));
        // Cancel leaves the list as it is.
        fx->ui->answers = {2};
        p->ibClear->click();
        QCOMPARE(list()->ListCount(), 3);
        fx->ui->answers = {1};
        p->ibClear->click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Hapus semua Item yang ditandai?"));
        // Only the listed, marked selling item went; the others stay.
        QCOMPARE(count("select count(*) from saleitems"), 3);
        QCOMPARE(count("select count(*) from saleitems where code='ESK'"), 0);
        QCOMPARE(list()->ListCount(), 5);

        // Marked joined rows go with their stock and links, all in one.
        p->iiTable->setListIndex(0);
        list()->setSelected(rowOf("AIR"), true);
        list()->setSelected(rowOf("TEH"), true);
        fx->ui->answers = {1};
        p->ibClear->click();
        QCOMPARE(holdings("AIR"), kNone);
        QCOMPARE(holdings("TEH"), kNone);
        QCOMPARE(holdings("ROTI"), kAll);
    }

    // A list longer than the pages it keeps: what the operator marked or
    // chose is what goes or opens, whatever another workstation deleted or
    // added in the meantime; a marked row gone meanwhile is told, and
    // nothing else goes in its place.
    void commandsActOnTheRowsChosenWhileOthersWrite()
    {
        seed();
        {
            Workstation other(fx->database("Toko"));
            for (int from = 1; from <= 5000; from += 500) {
                QStringList values;
                for (int i = from; i < from + 500; ++i)
                    values << QString("('S%1', 'Pemasok', '', '', '')").arg(i, 4, 10, QChar('0'));
                QVERIFY(other.exec("insert into Supplier values " + values.join(',')));
            }
        }
        InventoryPanelView* p = panel();
        p->iiTable->setListIndex(6);
        const int rows = list()->ListCount();
        QCOMPARE(rows, 5002);
        const auto suppliers = [&] { return count("select count(*) from Supplier"); };
        // Each step: the row chosen, every page read past it (rowOf walks
        // them all), another workstation deletes a row before it and adds
        // one.
        const auto meanwhile = [&](const QString& gone, const QString& added) {
            rowOf("S5000");
            Workstation other(fx->database("Toko"));
            QVERIFY(other.exec("delete from Supplier where code='" + gone + "'"));
            QVERIFY(other.exec("insert into Supplier values('" + added + "', 'Baru', '', '', '')"));
        };

        list()->setSelected(rowOf("S0006"), true);
        meanwhile("S0004", "A0001");
        fx->ui->answers = {1};
        p->ibClear->click();
        QCOMPARE(count("select count(*) from Supplier where code in ('S0005','S0006','S0007')"), 2);
        QCOMPARE(count("select count(*) from Supplier where code='S0006'"), 0);
        QCOMPARE(suppliers(), 5000 - 2 + 1);

        list()->setListIndex(rowOf("S0010"));
        meanwhile("S0008", "A0002");
        fx->ui->answers = {1};
        p->ibDelete->click();
        QCOMPARE(count("select count(*) from Supplier where code in ('S0009','S0010','S0011')"), 2);
        QCOMPARE(count("select count(*) from Supplier where code='S0010'"), 0);

        list()->setListIndex(rowOf("S0020"));
        meanwhile("S0012", "A0003");
        QString opened;
        fx->ui->scripts["fCharge"] = [&](platform::Form*) {
            opened = ChargeWindow()->iCode->Text();
            press(Qt::Key_Escape);
        };
        p->ibEdit->click();
        QCOMPARE(opened, QString("S0020"));

        // Marked, then deleted elsewhere: told, and no other row goes.
        list()->setSelected(rowOf("S0030"), true);
        list()->setSelected(rowOf("S0031"), true);
        meanwhile("S0030", "A0004");
        const int before = suppliers();
        fx->ui->answers = {1, 1};
        p->ibClear->click();
        QCOMPARE(fx->ui->lastPrompt(), QString("1 data yang ditandai sudah tidak ada"));
        QCOMPARE(suppliers(), before - 1);
        QCOMPARE(count("select count(*) from Supplier where code='S0031'"), 0);
        QCOMPARE(p->iiCheck->Value(), 0);

        // Letters typed in quick succession find a row far out of sight.
        list()->setFocus();
        QTest::keyClicks(list(), "s49");
        QCOMPARE(list()->List(list()->ListIndex()).left(8).trimmed(), QString("S4900"));
    }

    // A file gives a record added meanwhile the number of a deleted last
    // one: Delete, Edit and Clear on a row another till replaced touch
    // neither record and say so.
    void rowsReplacedMeanwhileAreLeftAlone()
    {
        seed();
        panel()->iiTable->setListIndex(5);
        const auto replace = [&](const QString& row, const QString& gone, const QString& added) {
            list()->setListIndex(rowOf(row));
            list()->setFocus();
            Workstation other(fx->database("Toko"));
            QVERIFY(other.exec("delete from Customer where code='" + gone + "'"));
            QVERIFY(other.exec("insert into Customer values('" + added + "', 'Baru', '', '', '')"));
        };
        replace("C1", "C1", "C2");
        fx->ui->answers = {1};
        press(Qt::Key_Delete);
        QCOMPARE(fx->ui->lastPrompt(), QString("Data dengan Kode 'C1' sudah tidak ada"));
        replace("C2", "C2", "C3");
        fx->ui->shownModal.clear();
        press(Qt::Key_Return);
        QCOMPARE(fx->ui->shownModal, QStringList());
        QCOMPARE(fx->ui->lastPrompt(), QString("Data dengan Kode 'C2' sudah tidak ada"));
        replace("C3", "C3", "C4");
        list()->setSelected(rowOf("C3"), true);
        fx->ui->answers = {1};
        panel()->ibClear->click();
        QCOMPARE(fx->ui->lastPrompt(), QString("1 data yang ditandai sudah tidak ada"));
        QCOMPARE(rowsOf("select code from Customer"), QStringList{"C4"});
    }

    // The item dialog writes what the operator changed, so another till's
    // new price stays; the item is stock too, and its writes say so.
    void itemWritesKeepOthersAndAnnounceStock()
    {
        seed();
        QSignalSpy catalogue(app().Session(), &ShopSession::catalogueChanged);
        QSignalSpy stock(app().Session(), &ShopSession::stockChanged);
        list()->setListIndex(rowOf("AIR"));
        list()->setFocus();
        fx->ui->scripts["fInventory"] = [&](platform::Form*) {
            Workstation(fx->database("Toko")).exec("update SaleItems set price=6000 where code='AIR'");
            dlg()->iName->setText("Air Putih");
            dlg()->bSave->click();
        };
        press(Qt::Key_Return);
        QCOMPARE(rowsOf("select `name`, price from SaleItems where code='AIR'"), QStringList{"Air Putih|6000"});
        QCOMPARE(rowsOf("select description from stock where code='AIR'"), QStringList{"Air Putih"});
        QCOMPARE(stock.count(), 1);
        list()->setListIndex(rowOf("TEH"));
        fx->ui->answers = {1};
        press(Qt::Key_Delete);
        QCOMPARE(count("select count(*) from stock where code='TEH'"), 0);
        QCOMPARE(stock.count(), 2);
        QCOMPARE(catalogue.count(), 2);
    }

    // The list is not read again when nothing changed, but a refresh still
    // shows what another workstation wrote and drops marks and the current
    // row.
    void refreshReadsOnlyWhatChanged()
    {
        seed();
        InventoryPanelView* p = panel();
        p->iiTable->setListIndex(0);
        const int rows = list()->ListCount();
        p->ibRefresh->click();
        QCOMPARE(list()->ListCount(), rows);

        {
            Workstation other(fx->database("Toko"));
            QVERIFY(other.exec("insert into inventory values('KOPI')"));
            QVERIFY(other.exec("insert into ShopItems values('KOPI', 'Kopi', 'Kopi Bubuk', 9000, 0, 'Pack')"));
            QVERIFY(other.exec("insert into SaleItems values('KOPI', 'Kopi', 'Kopi Bubuk', 12000, 0, 'Pack')"));
        }
        p->ibRefresh->click();
        QCOMPARE(list()->ListCount(), rows + 1);
        QVERIFY(rowOf("KOPI") > 0);

        list()->setSelected(rowOf("AIR"), true);
        list()->setListIndex(rowOf("TEH"));
        p->FilliItems(QString());
        QCOMPARE(list()->SelCount(), 0);
        QCOMPARE(list()->ListIndex(), -1);
        QCOMPARE(list()->ListCount(), rows + 1);
    }

    void printAndExport()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        seed();
        InventoryPanelView* p = panel();
        p->iiTable->setListIndex(0);
        p->ibPrint->click();
        QCOMPARE(fx->ui->printed.size(), 1);
        QStringList lines = fx->ui->printed.last();
        QCOMPARE(lines.mid(0, 3), (QStringList{"DATA JUAL BELI", "", QString(212, '-')}));
        QCOMPARE(fx->ui->printedNames, QStringList{"Data Jual Beli"});
        QCOMPARE(lines.size(), 3 + 5 + 1);
        QCOMPARE(lines[3], list()->List(0));
        QCOMPARE(lines.last(), QString(212, '-'));
        // Ten columns do not fit a portrait page: the page turns rather than
        // the font shrinking to where nobody can read it.
        QCOMPARE(fx->ui->printedLandscape, QList<bool>{true});
        QCOMPARE(app().Printer.Orientation(), 1);

        p->iiCategory2->setListIndex(p->iiCategory2->findText("Minuman"));
        p->iiSearch->setText("air");
        p->ibPrint->click();
        lines = fx->ui->printed.last();
        QCOMPARE(lines[1], QString(91, ' ') + "Kategori: Minuman        ");
        QCOMPARE(lines[2], QString(82, ' ') + "Keyword Pencarian: air            ");

        p->iiCategory->setListIndex(1);
        p->iiFilter->setFocus();
        p->iiFilter->setText("min");
        p->ibPrint->setFocus();
        p->ibPrint->click();
        lines = fx->ui->printed.last();
        QVERIFY(lines[1].endsWith("Filter By Category: min            "));
        QCOMPARE(lines[1].size(), 116);

        p->bExcel->click();
        QCOMPARE(fx->ui->opened.size(), 1);
        XlsxSheet sheet(fx->ui->opened.last());
        QVERIFY(sheet.ok());
        QCOMPARE(sheet.text("A1"), QString("Code"));
        QCOMPARE(sheet.text("J1"), QString("Selling Total"));
        QVERIFY(sheet.bold("A1"));
        QCOMPARE(sheet.text("A2"), QString("AIR"));
        QCOMPARE(sheet.number("E2"), 3000.0);
        QCOMPARE(sheet.format("E2"), QString("#,##0"));
        QCOMPARE(sheet.number("I2"), 0.1);
        QCOMPARE(sheet.format("I2"), QString("#0 %"));
        QCOMPARE(sheet.number("J2"), 4500.0);
        QVERIFY(!sheet.has("A4"));
        QVERIFY(sheet.border("D2"));

        p->iiTable->setListIndex(5);
        p->bExcel->click();
        XlsxSheet contacts(fx->ui->opened.last());
        QCOMPARE(contacts.text("B2"), QString("Budi O'Hara"));
        QCOMPARE(contacts.text("D2"), QString("0812"));
        QVERIFY(!contacts.has("F1"));
    }

    // A long list is read while it prints, under the box with Cancel: the
    // box stands before its first row is read.
    void printShowsItsBoxFirst()
    {
        struct Rows : platform::RowSource {
            TestBackend* ui = nullptr;
            QList<int> boxesAtRead;
            qsizetype count() const override { return 1000; }
            void read(qsizetype, qsizetype n, QStringList& out) override
            {
                boxesAtRead << ui->boxesShown;
                for (qsizetype i = 0; i < n; ++i)
                    out << QStringLiteral("row");
            }
            qsizetype width() const override { return 3; }
        };
        auto rows = std::make_shared<Rows>();
        rows->ui = fx->ui;
        list()->setSource(rows);
        rows->boxesAtRead.clear();
        panel()->ibPrint->click();
        QCOMPARE(fx->ui->printed.last().size(), 3 + 1000 + 1);
        QVERIFY(!rows->boxesAtRead.isEmpty() && !rows->boxesAtRead.contains(0));
    }
};

// On database files and on a server.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] {
        TestInventory t;
        return QTest::qExec(&t, argc, argv);
    });
}
#include "tst_inventory.moc"
