// The cashier panel at the keyboard, on the sample database: lookup by
// prefix, the offered list, the Enter chain, merging, refusals, held carts
// per charge with their warehouse, ticks, totals, the bill on a port file,
// and the paid and unpaid saves.
#include "cashier/cashierpanel.h"
#include "cashier/fback.h"
#include "cashier/fedit.h"
#include "catalogue/fcharge.h"
#include "catalogue/fmaster.h"
#include "core/app.h"
#include "core/dbcheck.h"
#include "core/mmain.h"
#include "core/model/shopsession.h"
#include "lang/mlang.h"
#include "shell/fmain.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace mMain;

class TestCashierPanel : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    CashierPanelView* p = nullptr;

    qint64 count(const QString& sql) { return GetValue(sql).toLongLong(); }
    void type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }
    void clearAndType(platform::TextBox* box, const QString& text)
    {
        box->selectAll();
        key(box, Qt::Key_Backspace);
        type(box, text);
    }
    void setCharge(const QString& charge)
    {
        p->ciCharge->lineEdit()->selectAll();
        key(p->ciCharge->lineEdit(), Qt::Key_Backspace);
        type(p->ciCharge->lineEdit(), charge);
    }
    // A line added at the keyboard: code, Enter, quantity, Enter.
    void addLine(const QString& code, const QString& quantity)
    {
        type(p->ciCode, code);
        key(p->ciCode, Qt::Key_Return);
        clearAndType(p->ciQuantity, quantity);
        key(p->ciQuantity, Qt::Key_Return);
    }
    QByteArray portFile()
    {
        QFile f(fx->path(QStringLiteral("port.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        p = dynamic_cast<CashierPanelView*>(fx->main->cashierPanel());
        QVERIFY(p);
        QVERIFY(!fx->main->pLogin->isVisible());
        // The journal starts empty here, so that ids and sums are this test's own.
        ExecSQL(QStringLiteral("delete from cash"));
    }
    void cleanup() { fx.reset(); }

    // The contact dialog knows nothing of the cashier: the customer it
    // saves reaches the charge list through the session, also in a session
    // after a logout, and while the list window is still open over it.
    void aContactSavedInThePickerIsOfferedAsACharge()
    {
        fx->ui->answers = {1};
        fx->main->bLogout_Click();
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        fMaster* master = MasterWindow();
        fCharge* contact = ChargeWindow();
        QVERIFY(master && contact);
        QStringList offered;
        fx->ui->scripts[QStringLiteral("fCharge")] = [&](platform::Form*) {
            contact->iCode->setText(QStringLiteral("MEJA99"));
            contact->iName->setText(QStringLiteral("Meja 99"));
            contact->bSave->click();
            for (int i = 0; i < p->ciCharge->ListCount(); ++i)
                offered << p->ciCharge->List(i);
            QTest::keyClick(contact->iName, Qt::Key_Escape);
        };
        fx->ui->scripts[QStringLiteral("fMaster")] = [&](platform::Form*) {
            master->bAdd->click();
            QTest::keyClick(master->iItems, Qt::Key_Escape);
        };
        p->cbCharge_Click();
        QCOMPARE(count(QStringLiteral("select count(*) from Customer where code='MEJA99'")), 1);
        QVERIFY(offered.contains(QStringLiteral("Meja 99")));
    }

    void loginStepsOnThePanel()
    {
        QCOMPARE(p->GetAction(), QStringLiteral("Sale"));
        QCOMPARE(p->ccCharge->Caption(), mLang::LangCaption(QStringLiteral("cCustomer")));
        QCOMPARE(p->ciTax->Text(), QStringLiteral("10"));
        QVERIFY(!p->ciWarehouse->isHidden());
        QCOMPARE(p->ciCart->ListCount(), 2);
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("0"));
        // The charge list holds the customers and nothing else.
        QCOMPARE(p->ciCharge->ListCount(), int(count(QStringLiteral("select count(*) from Customer"))));
        p->ciAction->setListIndex(1);
        QCOMPARE(p->GetAction(), QStringLiteral("Shop"));
        QCOMPARE(p->ciCharge->ListCount(), int(count(QStringLiteral("select count(*) from Supplier"))));
        QCOMPARE(p->ccCharge->Caption(), mLang::LangCaption(QStringLiteral("cSupplier")));
    }

    void lookupOfferedListAndEnterChain()
    {
        type(p->ciCode, QStringLiteral("ay"));
        QCOMPARE(p->ciCode->Text(), QStringLiteral("AY"));
        QVERIFY(p->ciName->Text().isEmpty());
        QVERIFY(!p->ciItems->isHidden());
        QCOMPARE(p->ciItems->ListCount(), 2);
        QCOMPARE(p->ciItems->List(0).left(8), QStringLiteral("AYBM    "));
        key(p->ciCode, Qt::Key_Down);
        key(p->ciItems, Qt::Key_Return);
        QCOMPARE(p->ciCode->Text(), QStringLiteral("AYBM"));
        QCOMPARE(p->ciName->Text(), QStringLiteral("Ayam Bakar Madu"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("38,000"));
        QCOMPARE(p->ciSatuan->Caption(), QStringLiteral("Porsi"));
        QVERIFY(p->ciItems->isHidden());
        QCOMPARE(QApplication::focusWidget(), p->ciQuantity);
        clearAndType(p->ciQuantity, QStringLiteral("2"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("76,000"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(p->ciCart->ListCount(), 3);
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("76,000"));
        QCOMPARE(p->ciCode->Text(), QString());
        QCOMPARE(p->ciQuantity->Text(), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), p->ciCode);

        // The whole code: the list goes; the same code merges into the line.
        type(p->ciCode, QStringLiteral("aybm"));
        QVERIFY(p->ciItems->isHidden());
        key(p->ciCode, Qt::Key_Return);
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(p->ciCart->ListCount(), 3);
        QCOMPARE(count(QStringLiteral("select quantity from Salecart")), qint64(3));
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("114,000"));

        // A catalogue discount: 25,000 at 10 % gives 2,500 off; a typed
        // quantity with a point becomes a comma.
        type(p->ciCode, QStringLiteral("KSGA"));
        QCOMPARE(p->ciDiscountN->Text(), QStringLiteral("2,500"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("22,500"));
        clearAndType(p->ciQuantity, QStringLiteral("1.5."));
        QCOMPARE(p->ciQuantity->Text(), QStringLiteral("1,5"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("33,750"));
        // A typed net price drops the discount and becomes the price.
        clearAndType(p->ciSubtotal, QStringLiteral("20000"));
        QCOMPARE(p->ciDiscount->Text(), QStringLiteral("0"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("20,000"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("30,000"));
        key(p->ciSubtotal, Qt::Key_Return);
        QCOMPARE(GetValue(QStringLiteral("select quantity from Salecart where code='KSGA'")).toDouble(), 1.5);
        QCOMPARE(GetValue(QStringLiteral("select total from Salecart where code='KSGA'")).toDouble(), 30000.0);
    }

    // F12 opens the list window on the action's table; the pick lands in the
    // field and runs its change handling.
    void pickersFillTheirTargets()
    {
        fx->ui->scripts[QStringLiteral("fMaster")] = [](platform::Form*) {
            fMaster* m = MasterWindow();
            m->iItems->setListIndex(2);
            m->bOK_Click();
        };
        key(p->ciCode, Qt::Key_F12);
        QCOMPARE(MasterWindow()->TableName, QStringLiteral("SaleItems"));
        QVERIFY(!p->ciCode->Text().isEmpty());
        QVERIFY(!p->ciName->Text().isEmpty());
        key(p->ciCharge->lineEdit(), Qt::Key_F12);
        QCOMPARE(MasterWindow()->TableName, QStringLiteral("Customer"));
        QCOMPARE(count(QStringLiteral("select count(*) from Customer where name=") + Quote(p->ciCharge->Text())),
                 qint64(1));
        key(p->ciWarehouse->lineEdit(), Qt::Key_F12);
        QCOMPARE(MasterWindow()->TableName, QStringLiteral("Warehouse"));
        QCOMPARE(GetValue(QStringLiteral("select warehouse from pending where charge=") + Quote(p->ciCharge->Text()))
                     .toString(),
                 p->ciWarehouse->Text());
        QVERIFY(!p->ciWarehouse->Text().isEmpty());
    }

    void addRefusalsInTheirOrder()
    {
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Kode belum diisi"));
        QCOMPARE(QApplication::focusWidget(), p->ciCode);
        type(p->ciCode, QStringLiteral("ZZ"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Item dengan Kode 'ZZ' tidak ditemukan, coba Kode lain"));
        p->ciCode->setText(QStringLiteral("ESP"));
        clearAndType(p->ciQuantity, QStringLiteral("0"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Jumlah belum diisi"));
        QCOMPARE(QApplication::focusWidget(), p->ciQuantity);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
    }

    // The panel's own writes of a held warehouse and its settings are told
    // to the other windows, and only when a value changed.
    void warehouseAndSettingsAreAnnounced()
    {
        QSignalSpy cart(app().Session(), &ShopSession::cartChanged);
        QSignalSpy settings(app().Session(), &ShopSession::settingsChanged);
        p->ciWarehouse->setText(QStringLiteral("Gudang Utama"));
        p->ciWarehouse_Click();
        p->ciTax->setText(QStringLiteral("11"));
        p->ciTax_Change();
        p->ciPrintNote->setValue(1 - p->ciPrintNote->Value());
        QCOMPARE(cart.count(), 1);
        QCOMPARE(settings.count(), 2);
    }

    void heldChargesKeepTheirWarehouse()
    {
        setCharge(QStringLiteral("meja 1"));
        QCOMPARE(p->ciCharge->Text(), QStringLiteral("Meja 1"));
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        p->ciWarehouse->setText(QStringLiteral("Gudang Utama"));
        QCOMPARE(GetValue(QStringLiteral("select warehouse from pending where charge='Meja 1'")).toString(),
                 QStringLiteral("Gudang Utama"));
        // Showing the panel again keeps the warehouse and writes nothing.
        key(fx->main, Qt::Key_F1);
        QCOMPARE(p->ciWarehouse->Text(), QStringLiteral("Gudang Utama"));
        QCOMPARE(count(QStringLiteral("select count(*) from pending")), qint64(1));

        setCharge(QStringLiteral("Meja 2"));
        QCOMPARE(p->ciCart->ListCount(), 2);
        QCOMPARE(p->ciWarehouse->Text(), QString());
        setCharge(QStringLiteral("Meja 1"));
        QCOMPARE(p->ciCart->ListCount(), 3);
        QCOMPARE(p->ciWarehouse->Text(), QStringLiteral("Gudang Utama"));
        // The held charge is offered once, beside the customers.
        QCOMPARE(p->ciCharge->findText(QStringLiteral("Meja 1")) >= 0, true);
        QCOMPARE(p->ciCharge->findText(QString()), -1);

        key(fx->main, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(p->ciCharge->hasFocus());
    }

    void ticksWriteTheToggledRow()
    {
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        addLine(QStringLiteral("AMR"), QStringLiteral("1"));
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("40,000"));
        p->ciCart->setListIndex(2);
        p->ciCart->setSelected(3, false);
        QCOMPARE(count(QStringLiteral("select checked from Salecart where code='AMR'")), qint64(0));
        QCOMPARE(count(QStringLiteral("select checked from Salecart where code='ESP'")), qint64(1));
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("18,000"));
        p->ciCart->setSelected(0, false); // the title row writes nothing
        QCOMPARE(count(QStringLiteral("select sum(checked) from Salecart")), qint64(1));
        p->FillCiCart();
        QVERIFY(!p->ciCart->Selected(3));
        // The tick-all box unticked and ticked again ticks every line.
        p->ciCheck->setValue(0);
        p->ciCheck->setValue(1);
        QCOMPARE(count(QStringLiteral("select sum(checked) from Salecart")), qint64(2));
    }

    void totalsFollowTheFields()
    {
        ExecSQL(QStringLiteral("insert into Salecart values(1, '', 'X', '', 'X', 999, 0, 999, 1, '', 999, 1)"));
        p->FillCiCart();
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("999"));
        clearAndType(p->ciDiscount2, QStringLiteral("5x"));
        clearAndType(p->ciTax, QStringLiteral("10"));
        clearAndType(p->ciPay, QStringLiteral("1100"));
        QCOMPARE(p->ciPay->Text(), QStringLiteral("1,100"));
        QCOMPARE(GetConfig(QStringLiteral("Discount")), QStringLiteral("5"));
        p->tCount_Timer();
        QCOMPARE(p->ciDiscount2N->Text(), QStringLiteral("-50"));
        QCOMPARE(p->ciTotalDiscount->Text(), QStringLiteral("949"));
        QCOMPARE(p->ciTaxN->Text(), QStringLiteral("95"));
        QCOMPARE(p->ciTotalTax->Text(), QStringLiteral("1,044"));
        QCOMPARE(p->ciTotal2->Caption(), QStringLiteral("1,044"));
        QCOMPARE(p->ciBack->Text(), QStringLiteral("56"));
        // A typed computed field is overwritten by the next tick.
        p->ciBack->setText(QStringLiteral("7"));
        p->tCount_Timer();
        QCOMPARE(p->ciBack->Text(), QStringLiteral("56"));
        p->ciPay->setText(QString());
        p->tCount_Timer();
        QCOMPARE(p->ciBack->Text(), QStringLiteral("-1,044"));
    }

    void billOnAPortEndsWithTheCut()
    {
        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("port.txt")));
        key(fx->main, Qt::Key_P, Qt::ControlModifier); // nothing ticked: nothing printed
        QVERIFY(portFile().isEmpty());
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        key(fx->main, Qt::Key_P, Qt::ControlModifier);
        const QByteArray out = portFile();
        QVERIFY(out.startsWith(QByteArray(40, '-') + "\r\nVelmont Cafe & Resto\r\n"));
        QVERIFY(out.contains("01. Espresso"));
        QVERIFY(out.contains("    18,000 x 2 Porsi") || out.contains("    18,000 x 2 Gelas"));
        QVERIFY(!out.contains("Bayar"));
        QVERIFY(out.endsWith(QByteArray("\x1D\x56\x42\x00\r\n", 6)));
    }

    void saveRefusalsThenPaidSave()
    {
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Keranjang Belanja belum diisi"));
        setCharge(QStringLiteral("Meja 3"));
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        addLine(QStringLiteral("AMR"), QStringLiteral("1"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Uang yang dibayarkan belum diisi"));
        type(p->ciPay, QStringLiteral("50000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Uang yang dibayarkan tidak cukup"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));

        // 58,000 with 10 % tax: 63,800 due, 70,000 paid.
        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("port.txt")));
        p->ciPrintNote->setValue(1);
        QString shownChange;
        fx->ui->scripts[QStringLiteral("fBack")] = [&](platform::Form*) {
            shownChange = BackWindow()->iBack->Caption();
            key(BackWindow(), Qt::Key_Return);
        };
        clearAndType(p->ciPay, QStringLiteral("70000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(shownChange, QStringLiteral("6,200"));
        QVERIFY(BackWindow()->isHidden());
        const qint64 last = count(QStringLiteral("select max(ID) from cash"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(3)); // two lines and the tax
        QCOMPARE(GetValue(QStringLiteral("select sum(Sale) from cash")).toDouble(), 63800.0);
        QCOMPARE(GetValue(QStringLiteral("select Charge from cash where ID=1")).toString(), QStringLiteral("Meja 3"));
        QVERIFY(count(QStringLiteral("select count(*) from stockflow where category='Sale'")) > 0);
        const QByteArray out = portFile();
        QVERIFY(out.startsWith("Jual / " + QByteArray::number(last) + "\r\n"));
        QVERIFY(out.contains("    Total                         63,800\r\n"
                             "    Bayar                         70,000\r\n"
                             "    Sisa                           6,200\r\n"));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
        QCOMPARE(p->ciCart->ListCount(), 2);
        QCOMPARE(p->ciPay->Text(), QString());
        QCOMPARE(QApplication::focusWidget(), p->ciCode);
    }

    // A taxed cart with a transaction discount on paper: the Total line is
    // the amount due, so that Total, Bayar and Sisa add up, on the bill
    // (asked for before the totals' next tick) as on the receipt; the layout
    // stays as it was.
    void receiptOfATaxedCartAddsUp()
    {
        setCharge(QStringLiteral("Meja 5"));
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        addLine(QStringLiteral("AMR"), QStringLiteral("1"));
        clearAndType(p->ciDiscount2, QStringLiteral("5"));
        clearAndType(p->ciTax, QStringLiteral("10"));
        QCOMPARE(p->ciTotalCart->Text(), QStringLiteral("58,000"));
        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("port.txt")));
        key(fx->main, Qt::Key_P, Qt::ControlModifier);
        // 58,000 less 5 % is 55,100; with 10 % tax 60,610.
        QCOMPARE(p->ciTotalTax->Text(), QStringLiteral("60,610"));
        const QList<QByteArray> bill = portFile().split('\n');
        QCOMPARE(bill.size(), 1 + 16 + 2 * 2 + 2 + 1); // two items, discount and tax, the cut, the last line's end
        // 58,000 - 2,900 + 5,510 = 60,610.
        QVERIFY2(portFile().contains("    Diskon 5%                     -2,900\r\n"
                                     "    PPN 10%                        5,510\r\n"
                                     "    Total                         60,610\r\n"),
                 portFile().constData());
        QVERIFY(!portFile().contains("58,000"));
        QVERIFY(!portFile().contains("Bayar"));
        QFile::remove(fx->path(QStringLiteral("port.txt")));

        p->ciPrintNote->setValue(1);
        fx->ui->scripts[QStringLiteral("fBack")] = [&](platform::Form*) { key(BackWindow(), Qt::Key_Return); };
        clearAndType(p->ciPay, QStringLiteral("100000"));
        key(p->ciPay, Qt::Key_Return);
        QVERIFY(fx->ui->messages.isEmpty());
        const QByteArray out = portFile();
        QVERIFY2(out.contains("    Total                         60,610\r\n"
                              "    Bayar                        100,000\r\n"
                              "    Sisa                          39,390\r\n"),
                 out.constData());
        QCOMPARE(out.split('\n').size(), 1 + 19 + 2 * 2 + 2 + 1);
    }

    // The percent boxes take a decimal separator, typed either way, and the
    // setting keeps the number in canonical form.
    void percentsTakeADecimalSeparator()
    {
        ExecSQL(QStringLiteral("insert into Salecart values(1, '', 'X', '', 'X', 44000, 0, 44000, 1, '', 44000, 1)"));
        p->FillCiCart();
        clearAndType(p->ciTax, QStringLiteral("0"));
        clearAndType(p->ciDiscount2, QStringLiteral("7.5"));
        QCOMPARE(p->ciDiscount2->Text(), QStringLiteral("7,5"));
        QCOMPARE(GetConfig(QStringLiteral("Discount")), QStringLiteral("7.5"));
        p->tCount_Timer();
        QCOMPARE(p->ciDiscount2N->Text(), QStringLiteral("-3,300"));
        QCOMPARE(p->ciTotal2->Caption(), QStringLiteral("40,700"));
        // One separator only, within the three characters.
        clearAndType(p->ciTax, QStringLiteral("2,.5"));
        QCOMPARE(p->ciTax->Text(), QStringLiteral("2,5"));
        QCOMPARE(GetConfig(QStringLiteral("Tax")), QStringLiteral("2.5"));

        // The line's percent: 2.5 % of 18,000 is 450.
        type(p->ciCode, QStringLiteral("ESP"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("18,000"));
        clearAndType(p->ciDiscount, QStringLiteral("2.5"));
        QCOMPARE(p->ciDiscount->Text(), QStringLiteral("2,5"));
        QCOMPARE(p->ciDiscountN->Text(), QStringLiteral("450"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("17,550"));
    }

    // A negative figure on a sale line is refused where it is typed, and a
    // cart holding one (written elsewhere) is refused at the save; so is an
    // amount due below zero. Nothing is written.
    void negativeFiguresAreRefused()
    {
        setCharge(QStringLiteral("Meja 7"));
        type(p->ciCode, QStringLiteral("ESP"));
        clearAndType(p->ciPrice, QStringLiteral("-35000"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("-35,000"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Harga tidak boleh negatif"));
        QCOMPARE(QApplication::focusWidget(), p->ciPrice);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
        p->ciCode->setText(QString());

        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        ExecSQL(QStringLiteral("insert into Salecart values(9, 'Meja 7', 'X', '', 'Titipan', -5000, 0, -5000, 1, "
                               "'', -5000, 1)"));
        p->FillCiCart();
        type(p->ciPay, QStringLiteral("50000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(),
                 QStringLiteral("Harga, Jumlah atau Total Item dengan Kode 'X' tidak boleh negatif"));
        key(p->ciDescription, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(),
                 QStringLiteral("Harga, Jumlah atau Total Item dengan Kode 'X' tidak boleh negatif"));
        QCOMPARE(p->ciPay->Text(), QStringLiteral("50,000"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(2));

        ExecSQL(QStringLiteral("delete from Salecart where code='X'"));
        p->FillCiCart();
        clearAndType(p->ciDiscount2, QStringLiteral("150"));
        p->ciPay->setText(QString());
        key(p->ciDescription, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Total yang harus dibayar tidak boleh negatif"));
        QCOMPARE(QApplication::focusWidget(), p->ciDiscount2);
        QCOMPARE(p->ciPay->Text(), QString());
        type(p->ciPay, QStringLiteral("1000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Total yang harus dibayar tidak boleh negatif"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(1));
    }

    // A cash out line below zero is refused as a sale's is: added, and
    // edited in the edit dialog (a line written elsewhere).
    void negativeCashOutLineIsRefused()
    {
        p->ciAction->setListIndex(3);
        setCharge(QStringLiteral("Dewi Lestari"));
        type(p->ciCode, QStringLiteral("GAS"));
        clearAndType(p->ciPrice, QStringLiteral("-210000"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(fx->ui->prompts(), QStringList{QStringLiteral("Harga tidak boleh negatif")});
        ExecSQL(QStringLiteral("insert into `Cash Outcart` values(9, 'Dewi Lestari', 'GAS', '', 'Gas', -210000, 0, "
                               "-210000, 1, '', -210000, 1)"));
        p->FillCiCart();
        fx->ui->scripts[QStringLiteral("fEdit")] = [this](platform::Form* f) {
            key(static_cast<fEdit*>(f)->iQuantity, Qt::Key_Return);
            key(f, Qt::Key_Escape);
        };
        p->ciCart->setFocus();
        p->ciCart->setListIndex(2);
        key(p->ciCart, Qt::Key_Return);
        QCOMPARE(fx->ui->prompts().size(), 2);
        QCOMPARE(count(QStringLiteral("select count(*) from `Cash OutItems` where price < 0")), qint64(0));
        QCOMPARE(count(QStringLiteral("select count(*) from `Cash Outcart` where total = -210000")), qint64(1));
    }

    // A charge pasted from several lines is one line, as the operator saw
    // it, and no longer than a contact's name.
    void pastedChargeIsOneLineOfANamesLength()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("Meja\nBaris2\r\nBaris3\n"));
        p->ciCharge->setFocus();
        QWidget* field = QApplication::focusWidget();
        QVERIFY(field == p->ciCharge || field == p->ciCharge->lineEdit());
        key(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciCharge->Text(), QStringLiteral("Meja Baris2 Baris3"));
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        key(p->ciDescription, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Transaksi telah tersimpan"));
        QCOMPARE(GetValue(QStringLiteral("select Charge from cash where ID=1")).toString(),
                 QStringLiteral("Meja Baris2 Baris3"));

        QGuiApplication::clipboard()->setText(QString(10000, QLatin1Char('a')));
        p->ciCharge->lineEdit()->selectAll();
        key(field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciCharge->Text().size(), 50);
        type(p->ciCharge->lineEdit(), QStringLiteral("bc"));
        QCOMPARE(p->ciCharge->Text().size(), 50);
    }

    // A till without a printer: the print-outs go to PDF files. The operator
    // hears it once a login, the first time, not before every change
    // window; the log has the path of each one.
    void pdfInPlaceOfAPrinterToldOncePerLogin()
    {
        fx->ui->printNote = fx->path(QStringLiteral("Orvanta-1.pdf"));
        p->ciPrintNote->setValue(1);
        fx->ui->scripts[QStringLiteral("fBack")] = [&](platform::Form*) { key(BackWindow(), Qt::Key_Return); };
        const auto sell = [&] {
            addLine(QStringLiteral("ESP"), QStringLiteral("1"));
            clearAndType(p->ciPay, QStringLiteral("50000"));
            key(p->ciPay, Qt::Key_Return);
        };
        for (int i = 0; i < 3; ++i)
            sell();
        QCOMPARE(fx->ui->printed.size(), 3);
        QCOMPARE(fx->ui->shownModal.count(QStringLiteral("fBack")), 3);
        QCOMPARE(fx->ui->messages.size(), 1);
        QCOMPARE(fx->ui->messages[0].kind, platform::MsgKind::Info);
        QVERIFY(fx->ui->messages[0].prompt.contains(fx->ui->printNote));
        QCOMPARE(fx->log().count(fx->ui->printNote), 3);
        // In the print queue each receipt is named by its transaction's No,
        // not by the id its paper carries.
        const qint64 last = count(QStringLiteral("select max(no) from cash"));
        QCOMPARE(fx->ui->printedNames.size(), 3);
        QCOMPARE(fx->ui->printedNames.last(), QStringLiteral("Nota Jual / %1").arg(last));
        QCOMPARE(fx->ui->printedNames.removeDuplicates(), 0);

        // The next login is told again, once.
        const QString entry = app().DbEntry;
        fx->ui->answers = {platform::MsgOK};
        fx->main->bLogout_Click();
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        QCOMPARE(p->ciPrintNote->Value(), 1);
        fx->ui->clear();
        sell();
        sell();
        QCOMPARE(fx->ui->printed.size(), 2);
        QCOMPARE(fx->ui->messages.size(), 1);
        QCOMPARE(fx->ui->messages[0].kind, platform::MsgKind::Info);

        // A bill, with no transaction yet, by its charge.
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        key(fx->main, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(fx->ui->printedNames.last(), QStringLiteral("Nota Jual - ") + p->ciCharge->Text());
    }

    // A failing statement part-way through the save: the operator is told,
    // and nothing of the sale is written or removed.
    void failedSaveLeavesTheCart()
    {
        addLine(QStringLiteral("ESP"), QStringLiteral("2"));
        ExecSQL(OnServer() ? QStringLiteral("create trigger refuse after insert on stockflow for each row "
                                            "signal sqlstate '45000' set message_text='disk full'")
                           : QStringLiteral("create trigger refuse after insert on stockflow begin select raise(abort, "
                                            "'disk full'); end"));
        fx->ui->clear();
        type(p->ciPay, QStringLiteral("100000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->messages.size(), 1);
        // The operator reads that the sale was not saved; the engine's words
        // and the statement are in the log.
        QVERIFY2(fx->ui->lastPrompt().contains(QStringLiteral("Perubahan ini tidak tersimpan")),
                 qPrintable(fx->ui->lastPrompt()));
        QVERIFY(!fx->ui->lastPrompt().contains(QStringLiteral("disk full")));
        QVERIFY(fx->log().contains(QStringLiteral("disk full")));
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(1));
        QCOMPARE(p->ciCart->ListCount(), 3);
        QVERIFY(!app().DbConn().inTransaction());
    }

    // A COMMIT whose answer was lost with the server may have been made
    // durable: it is not told as a change that was not saved.
    void lostCommitIsNotToldAsNotSaved()
    {
        using platform::DbError;
        const QString lost = DbFailureText(DbError::lostConnection("gone away", "COMMIT", "2006"));
        QVERIFY2(!lost.contains(QStringLiteral("tidak tersimpan")), qPrintable(lost));
        QVERIFY(DbFailureText(DbError::lostConnection("gone away", "insert into cash values(1)", "2006"))
                    .contains(QStringLiteral("Perubahan ini tidak tersimpan")));
    }

    // A port that cannot be written only warns: the sale stays saved and the
    // change is shown.
    void printerFailureAfterTheSaveOnlyWarns()
    {
        SetConfig(QStringLiteral("Port"), fx->path(QStringLiteral("no/such/folder/port.txt")));
        p->ciPrintNote->setValue(1);
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        fx->ui->clear();
        type(p->ciPay, QStringLiteral("20000"));
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(fx->ui->messages.size(), 1);
        QCOMPARE(fx->ui->messages[0].title, QStringLiteral("Peringatan"));
        QVERIFY(fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QCOMPARE(count(QStringLiteral("select count(*) from cash where Code='ESP'")), qint64(1));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
    }

    void changeWindowBlinksAndClosesByKey()
    {
        fBack* b = BackWindow();
        // The colour is what the window shows, around the change and the button.
        const auto shown = [b] { return b->grab().toImage().pixelColor(2, 2); };
        QCOMPARE(b->BackColor(), 0);
        QCOMPARE(shown(), QColor(Qt::black));
        b->tBlink_Timer();
        QCOMPARE(b->BackColor(), 255);
        QCOMPARE(shown(), QColor(Qt::red));
        b->tBlink_Timer();
        QCOMPARE(b->BackColor(), 0);
        QCOMPARE(shown(), QColor(Qt::black));
        for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return}) {
            fx->ui->scripts[QStringLiteral("fBack")] = [this, k](platform::Form* f) {
                QCOMPARE(QApplication::focusWidget(), BackWindow()->bClose);
                key(f, k);
                QVERIFY(f->isHidden());
            };
            b->ShowModal();
        }
    }

    void unpaidSaveFromTheNote()
    {
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        type(p->ciDescription, QStringLiteral("bungkus"));
        QCOMPARE(p->ciDescription->Text(), QStringLiteral("Bungkus"));
        key(p->ciDescription, Qt::Key_Return);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Transaksi telah tersimpan"));
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QCOMPARE(GetValue(QStringLiteral("select Keterangan from cash where ID=1")).toString(),
                 QStringLiteral("Bungkus"));
        QCOMPARE(p->ciDescription->Text(), QString());
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
    }
};

int runCashierPanelTests(int argc, char** argv)
{
    TestCashierPanel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_cashier_panel.moc"
