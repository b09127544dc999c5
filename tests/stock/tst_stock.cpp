// Stock items, counts and recipes: the stock, new stock item, detail and
// link windows driven by keys and clicks after a login. (The stock rules
// without a window are tested in model/.)
#include "cashier/cashierpanel.h"
#include "catalogue/fmaster.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "shell/fmain.h"
#include "stock/fdetail.h"
#include "stock/finout.h"
#include "stock/fio.h"
#include "stock/fstock.h"
#include "stock/model/stockmodel.h"
#include "support/dbrows.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using platform::DbConnection;
using platform::MsgKind;

namespace {

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, mods);
}

QString today()
{
    return QDate::currentDate().toString("yyyy-MM-dd");
}

} // namespace

class TestStock : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    fStock* st() const { return StockWindow(); }
    fDetail* dt() const { return DetailWindow(); }
    fIO* io() const { return app().form<fIO>(); }
    DbConnection& db() const { return app().DbConn(); }

    // A fresh database from the template, logged in as its first operator.
    void loginFresh()
    {
        fx->login(fx->newEntry("Toko"), "Admin", "admin");
        QVERIFY(!fx->main->pLogin->isVisible());
    }
    int rowOf(platform::ListBox* list, const QString& code) const
    {
        for (int i = 0; i < list->ListCount(); ++i)
            if (list->List(i).left(8).trimmed() == code)
                return i;
        return -1;
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        loginFresh();
    }
    void cleanup() { fx.reset(); }

    void newStockItemDialog()
    {
        fIO* f = io();
        fx->ui->scripts["fStock"] = [&](platform::Form*) {
            fx->ui->scripts["fIO"] = [&](platform::Form*) {
                QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->iCode));
                QTest::keyClicks(f->iCode, "kopi");
                press(Qt::Key_Return);
                QTest::keyClicks(f->iDescription, "biji kopi");
                press(Qt::Key_Return);
                QTest::keyClicks(f->iQuantity, "2.5,5");
                QCOMPARE(f->iQuantity->Text(), QString("2,55"));
                press(Qt::Key_Return);
                QTest::keyClicks(f->iUnit->lineEdit(), "kg");
                press(Qt::Key_Return);
                QCOMPARE(f->iCode->Text(), QString());
                QCOMPARE(f->iUnit->List(0), QString("Kg"));
                f->iCode->setText("GULA");
                f->iDescription->setText("Gula");
                f->iQuantity->setText(",");
                f->bSave->click();
                f->iCode->setText("kopi");
                f->iDescription->setText("Lagi");
                f->bSave->click();
                press(Qt::Key_Escape);
            };
            press(Qt::Key_Plus, Qt::KeypadModifier);
            // The list was rebuilt when the dialog closed.
            QCOMPARE(st()->iStock->List(rowOf(st()->iStock, "KOPI")),
                     QString("KOPI     Biji Kopi                              2.55 Kg"));
            QCOMPARE(st()->iStock->List(rowOf(st()->iStock, "GULA")).right(15), QString("             0 "));
            press(Qt::Key_Escape);
        };
        st()->ShowModal();
        QCOMPARE(fx->ui->prompts(), (QStringList{"Stok telah tersimpan", "Stok telah tersimpan",
                                                 "Item dengan Kode 'KOPI' sudah ada, coba Kode lain"}));
        QCOMPARE(rowsOf("select * from stock"), (QStringList{"KOPI|Biji Kopi|Kg", "GULA|Gula|"}));
        QCOMPARE(rowsOf("select * from stockflow"), (QStringList{"1|" + today() + "|Opname|KOPI|Biji Kopi|Kg|2.55|0",
                                                                 "2|" + today() + "|Opname|GULA|Gula||0|0"}));
    }

    void correctionsAndDelete()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        stock::AddStockItem(db(), app().DbKind, "KOPI", "Kopi", "Kg", 10, QDate::currentDate());
        stock::AddStockItem(db(), app().DbKind, "GULA", "Gula", "Kg", 1, QDate::currentDate());
        stock::AddLink(db(), stock::Side::Shop, "KOPI", "KOPI", "1");
        stock::AddLink(db(), stock::Side::Sale, "GULA", "KOPI", "1");
        fStock* f = st();
        fx->ui->scripts["fStock"] = [&](platform::Form*) {
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->iQuantity));
            QCOMPARE(f->iStock->List(0), QString("Code     Description                           Quantity"));
            QCOMPARE(f->iStock->List(1), QString(117, '-'));
            // No record row: the buttons do nothing.
            f->bPlus->click();
            f->bDelete->click();
            QVERIFY(fx->ui->messages.isEmpty());
            const int kopi = rowOf(f->iStock, "KOPI");
            f->iStock->setListIndex(kopi);
            f->iQuantity->selectAll();
            QTest::keyClicks(f->iQuantity, "5");
            f->bPlus->click();
            QCOMPARE(f->iQuantity->Text(), QString("1"));
            QCOMPARE(f->iStock->ListIndex(), kopi);
            f->iQuantity->selectAll();
            QTest::keyClicks(f->iQuantity, "2.5");
            f->bMin->click();
            QVERIFY(f->iStock->List(kopi).endsWith("12.5 Kg"));
            // Nothing typed, or a lone comma: no amount.
            f->iQuantity->setText("");
            QCOMPARE(f->iQuantity->Text(), QString("0"));
            f->bPlus->click();
            f->iQuantity->setText(",");
            f->bMin->click();
            QCOMPARE(fx->ui->prompts(), (QStringList{"Jumlah belum diisi", "Jumlah belum diisi"}));
            // Delete: Cancel keeps it, OK removes it and the links that move it.
            f->iStock->setFocus();
            fx->ui->answers = {2, 1};
            press(Qt::Key_Delete);
            QVERIFY(rowOf(f->iStock, "KOPI") > 1);
            press(Qt::Key_Delete);
            QCOMPARE(rowOf(f->iStock, "KOPI"), -1);
            press(Qt::Key_Escape);
        };
        f->ShowModal();
        QCOMPARE(rowsOf("select category, code, `in`, `out` from stockflow where id > 2"),
                 (QStringList{"Opname|KOPI|5|0", "Opname|KOPI|0|2.5"}));
        QCOMPARE(count("select count(*) from stock where code='KOPI'"), 0);
        QCOMPARE(count("select count(*) from stockshop"), 0);
        // The sale link of another stock item that names KOPI as its item stays.
        QCOMPARE(count("select count(*) from stocksale"), 1);
        QCOMPARE(count("select count(*) from stockflow where code='KOPI'"), 3);
        QVERIFY(!f->isVisible());
    }

    void detailAndLinks()
    {
        mMain::ExecSQL("insert into ShopItems values('BKA', 'Kopi', 'Biji Kopi Arabika', 250000, 0, 'Kg')");
        mMain::ExecSQL("insert into SaleItems values('ESK', 'Minuman', 'Es Kopi', 20000, 0, 'Gelas')");
        stock::AddStockItem(db(), app().DbKind, "BKA", "Biji Kopi", "Kg", 3, QDate::currentDate());
        stock::WriteMovement(db(), app().DbKind, {QDate::currentDate(), "Sale", "BKA", "Kopi Lama", "Kg", 0, 1});
        // A link whose item is gone is not listed.
        stock::AddLink(db(), stock::Side::Shop, "BKA", "HILANG", "1");
        fStock* s = st();
        fDetail* d = dt();
        fInOut* in = InWindow();
        fInOut* out = OutWindow();
        fx->ui->scripts["fStock"] = [&](platform::Form*) {
            s->iStock->setListIndex(rowOf(s->iStock, "BKA"));
            QVERIFY(s->iStock->List(s->iStock->ListIndex()).endsWith("3 Kg"));
            fx->ui->scripts["fDetail"] = [&](platform::Form*) {
                // On hand by code alone counts both descriptions.
                QCOMPARE(d->iDescription->Text(), QString("Biji Kopi"));
                QCOMPARE(d->iQuantity->Text(), QString("2"));
                QCOMPARE(d->iUnit->Caption(), QString("Kg"));
                QCOMPARE(d->iShop->ListCount(), 0);
                fx->ui->scripts["fIn"] = [&](platform::Form*) {
                    QVERIFY(in->bBrowse->isEnabled());
                    QCOMPARE(in->iUnit->Caption(), QString("Kg"));
                    QCOMPARE(in->iCode->ListCount(), 1);
                    QTest::keyClicks(in->iCode->lineEdit(), "bka");
                    QCOMPARE(in->iDescription->Text(), QString("Biji Kopi Arabika"));
                    press(Qt::Key_Return);
                    QTest::keyClicks(in->iQuantity, "1.5");
                    press(Qt::Key_Return);
                    QCOMPARE(in->iCode->Text(), QString());
                    QCOMPARE(d->iShop->ListCount(), 1);
                    press(Qt::Key_Escape);
                };
                d->bAddShop->click();
                fx->ui->scripts["fOut"] = [&](platform::Form*) {
                    out->iCode->setText("ESK");
                    out->iQuantity->setText(",");
                    out->bSave->click();
                    out->iCode->setText("ESK");
                    out->iQuantity->setText("0,02");
                    out->bSave->click();
                    press(Qt::Key_Escape);
                };
                d->bAddSale->click();
                QCOMPARE(d->iShop->List(0),
                         QString("BKA      Biji Kopi Arabika                       1,5 Kg        #2"));
                QCOMPARE(d->iSale->ListCount(), 2);
                QVERIFY(d->iSale->List(1).endsWith("0,02 Kg        #2"));
                // Deleting a sale link leaves the purchase list alone.
                d->iSale->setListIndex(0);
                d->iSale->setFocus();
                fx->ui->answers = {platform::MsgOK};
                press(Qt::Key_Delete);
                QCOMPARE(d->iSale->ListCount(), 1);
                QCOMPARE(d->iShop->ListCount(), 1);
                // A code that is no stock item empties the fields.
                d->iCode->setText("BK");
                QCOMPARE(d->iDescription->Text(), QString());
                QCOMPARE(d->iShop->ListCount(), 0);
                d->bAddShop->click();
                press(Qt::Key_Escape);
            };
            press(Qt::Key_Return);
            press(Qt::Key_Escape);
        };
        s->ShowModal();
        QCOMPARE(fx->ui->shownModal, (QStringList{"fStock", "fDetail", "fIn", "fOut"}));
        QCOMPARE(fx->ui->prompts(), (QStringList{"Telah tersimpan", "Tersimpan", "Tersimpan", "Hapus yang terpilih?"}));
        QCOMPARE(rowsOf("select * from stockshop"), (QStringList{"1|BKA|HILANG|1", "2|BKA|BKA|1,5"}));
        QCOMPARE(rowsOf("select * from stocksale"), (QStringList{"2|BKA|ESK|0,02"}));
    }

    // A link's id goes to the next link when it was the last: Delete acts
    // only on the link shown. A link to no item of its table, or to a stock
    // item deleted meanwhile, is refused; a saved link is announced.
    void linksActOnWhatIsShown()
    {
        mMain::ExecSQL("insert into SaleItems values('SODA', 'Minuman', 'Soda', 8000, 0, 'Gelas')");
        mMain::ExecSQL("insert into SaleItems values('ESP', 'Kopi', 'Espresso', 18000, 0, 'Gelas')");
        stock::AddStockItem(db(), app().DbKind, "SIRUP", "Sirup", "Ml", 0, QDate::currentDate());
        stock::AddStockItem(db(), app().DbKind, "GULA", "Gula Pasir", "Kg", 0, QDate::currentDate());
        const qint64 id = stock::AddLink(db(), stock::Side::Sale, "SIRUP", "SODA", "20");
        QSignalSpy announced(app().Session(), &ShopSession::stockChanged);
        fDetail* d = dt();
        fInOut* out = OutWindow();
        fx->ui->scripts["fDetail"] = [&](platform::Form*) {
            d->iSale->setListIndex(0);
            {
                DbConnection other;
                OpenAnother(other, db());
                other.Execute("delete from stocksale");
                QCOMPARE(stock::AddLink(other, stock::Side::Sale, "GULA", "ESP", "0,01"), id);
            }
            fx->ui->answers = {platform::MsgOK};
            d->bDeleteSale->click();
            QCOMPARE(d->iSale->ListCount(), 0);
            fx->ui->scripts["fOut"] = [&](platform::Form*) {
                out->iCode->setText("ESX");
                out->bSave->click();
                out->iCode->setText(" ESP ");
                out->iQuantity->setText("1");
                out->bSave->click();
                QCOMPARE(announced.count(), 1);
                QCOMPARE(d->iSale->ListCount(), 1);
                db().Execute("delete from stock where code='SIRUP'");
                out->iCode->setText("ESP");
                out->bSave->click();
            };
            d->bAddSale->click();
            press(Qt::Key_Escape);
        };
        d->iCode->setText("SIRUP");
        d->ShowModal();
        QCOMPARE(fx->ui->prompts(), (QStringList{"Hapus yang terpilih?", "Data dengan Kode 'SODA' sudah tidak ada",
                                                 "Item dengan Kode 'ESX' tidak ditemukan, coba Kode lain", "Tersimpan",
                                                 "Data dengan Kode 'SIRUP' sudah tidak ada"}));
        QCOMPARE(rowsOf("select stock, code, quantity from stocksale order by id"),
                 (QStringList{"GULA|ESP|0,01", "SIRUP|ESP|1"}));
    }

    // The browse button lists the dialog's own items table whatever the
    // cashier's action, and the pick looks the item up.
    void linkBrowsePicksFromItsItemsTable()
    {
        mMain::ExecSQL("insert into ShopItems values('BKA', 'Kopi', 'Biji Kopi Arabika', 250000, 0, 'Kg')");
        mMain::ExecSQL("insert into SaleItems values('ESK', 'Minuman', 'Es Kopi', 20000, 0, 'Gelas')");
        fInOut* out = OutWindow();
        fMaster* m = MasterWindow();
        fx->ui->scripts["fOut"] = [&](platform::Form*) {
            fx->ui->scripts["fMaster"] = [&](platform::Form*) {
                QCOMPARE(m->TableName, QString("SaleItems"));
                QCOMPARE(m->iItems->ListCount(), 3);
                m->iItems->setListIndex(2);
                m->bOK->click();
            };
            out->bBrowse->click();
            QCOMPARE(out->iCode->Text(), QString("ESK"));
            QCOMPARE(out->iDescription->Text(), QString("Es Kopi"));
            press(Qt::Key_Escape);
        };
        out->ShowModal();
        QCOMPARE(dynamic_cast<CashierPanelView*>(fx->main->cashierPanel())->ciAction->ListIndex(), 1);
        QCOMPARE(fx->ui->shownModal, (QStringList{"fOut", "fMaster"}));
    }

    void linkBrowseNeedsTheMasterRight()
    {
        mMain::ExecSQL("update operator set master=0");
        fInOut* in = InWindow();
        fx->ui->scripts["fIn"] = [&](platform::Form*) {
            QVERIFY(!in->bBrowse->isEnabled());
            in->bSave->click();
            press(Qt::Key_Escape);
        };
        in->ShowModal();
        QCOMPARE(fx->ui->prompts(), QStringList{"Kode belum diisi"});
        QCOMPARE(count("select count(*) from stockshop"), 0);
    }

    // F4 opens the window; its close hands the menu back and rebuilds the
    // ledger's stock report when that is the page shown.
    void closeRebuildsTheStockReport()
    {
        stock::AddStockItem(db(), app().DbKind, "KOPI", "Kopi", "Kg", 10, QDate::currentDate());
        auto* ledger = dynamic_cast<LedgerPanelView*>(fx->main->ledgerPanel());
        QVERIFY(ledger);
        auto kopi = [ledger] {
            QStringList rows;
            for (int i = 0; i < ledger->liLedger->ListCount(); ++i)
                if (ledger->liLedger->List(i).startsWith(QLatin1String("KOPI")))
                    rows << ledger->liLedger->List(i).simplified();
            return rows.size() == 1 ? rows[0] : QString();
        };
        QTest::keyClick(fx->main, Qt::Key_F3);
        ledger->liPage->setListIndex(6);
        const QString before = kopi();
        QVERIFY2(before.endsWith(" 10 Kg"), qPrintable(before));
        fx->main->bInventory_Click();
        fx->ui->scripts["fStock"] = [&](platform::Form*) {
            st()->iStock->setListIndex(rowOf(st()->iStock, "KOPI"));
            st()->bPlus->click();
            press(Qt::Key_Escape);
        };
        QTest::keyClick(fx->main, Qt::Key_F4);
        QCOMPARE(fx->ui->shownModal, QStringList{"fStock"});
        QCOMPARE(app().MenuKey, QString("Inventory"));
        QCOMPARE(ledger->liPage->ListIndex(), 6);
        // Behind the inventory panel the report waits to be seen: F3 shows
        // it as it stands after the correction.
        QTest::keyClick(fx->main, Qt::Key_F3);
        QVERIFY2(kopi().endsWith(" 11 Kg"), qPrintable(kopi()));
    }
};

// On database files and on a server.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] {
        TestStock t;
        return QTest::qExec(&t, argc, argv);
    });
}
#include "tst_stock.moc"
