// The cart line operations at the keyboard: delete and clear, split, the
// edit-line dialog, moving a held charge, the add-line dialog and barcode
// input, on a fresh database after a login.
#include "cashier/cashierpanel.h"
#include "cashier/fbarcode.h"
#include "cashier/fcart.h"
#include "cashier/fedit.h"
#include "cashier/fmove.h"
#include "cashier/model/cart.h"
#include "cashier/model/cartops.h"
#include "cashier/model/cartwrites.h"
#include "core/mmain.h"
#include "shell/fmain.h"
#include "support/datafixture.h"
#include "support/fixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>

using namespace cashier;
using platform::MsgCancel;
using platform::MsgOK;

namespace {

// Every row of a query as "a|b|c" texts.
QStringList rowsOf(const QString& sql)
{
    QStringList out;
    for (auto rs = mMain::OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs->columnCount(); ++i)
            cells << rs->Fields(i).toString();
        out << cells.join('|');
    }
    return out;
}

const QString kLines = QStringLiteral("select id, charge, code, price, discount, subtotal, quantity, total, checked "
                                      "from Salecart order by id");

} // namespace

class TestCartOps : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    CashierPanelView* panel() const { return static_cast<CashierPanelView*>(fx->main->cashierPanel()); }
    platform::DbConnection& db() const { return app().DbConn(); }

    void line(const QString& charge, const QString& code, double price, double discount, double subtotal,
              double quantity, bool ticked = true)
    {
        LineEntry e;
        e.charge = charge;
        e.code = code;
        e.name = code + QStringLiteral(" name");
        e.price = price;
        e.discount = discount;
        e.subtotal = subtotal;
        e.quantity = quantity;
        e.satuan = QStringLiteral("Pcs");
        e.total = subtotal * quantity;
        const qint64 id = AddCartLine(db(), QStringLiteral("Sale"), e);
        if (!ticked)
            mMain::ExecSQL(QStringLiteral("update Salecart set checked=0 where id=%1").arg(id));
    }
    // Shows the charge on the panel, as the operator picks it.
    void show(const QString& charge)
    {
        panel()->ciCharge->setText(QString());
        panel()->ciCharge->setText(charge);
        panel()->FillCiCart();
    }
    int rowOfId(qint64 id) const
    {
        for (int i = 2; i < panel()->ciCart->ListCount(); ++i)
            if (CartRowId(panel()->ciCart->List(i)) == QString::number(id))
                return i;
        return -1;
    }
    // The cursor on a line, the focus in the list, and a key.
    void keyOnLine(qint64 id, Qt::Key key)
    {
        panel()->ciCart->setFocus();
        panel()->ciCart->setListIndex(rowOfId(id));
        QTest::keyClick(panel()->ciCart, key);
    }
    static void type(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
    static void retype(platform::TextBox* w, const QString& text)
    {
        w->setFocus();
        w->selectAll();
        QTest::keyClick(w, Qt::Key_Backspace);
        QTest::keyClicks(w, text);
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->login(fx->newEntry("Toko"), "Admin", "admin");
        QVERIFY(!fx->main->pLogin->isVisible());
        for (const char* sql : {"insert into SaleItems values('A01', 'Makanan', 'Nasi Goreng', 10000, 10, 'Porsi')",
                                "insert into SaleItems values('KOPI', 'Minuman', 'Kopi Tubruk', 5000, 20, 'Gelas')",
                                "insert into SaleItems values('AB1', 'Makanan', 'Roti', 3000, 0, 'Pcs')",
                                "insert into SaleItems values('AB2', 'Makanan', 'Roti Bakar', 4000, 0, 'Pcs')",
                                "insert into Customer values('C1', 'Budi', '', '', '')"})
            mMain::ExecSQL(QLatin1String(sql));
        fx->ui->clear();
    }
    void cleanup() { fx.reset(); }

    // Delete asks, takes the line under the cursor only; the title row does
    // nothing and asks nothing; clear takes the ticked lines of the charge.
    void deleteAndClear()
    {
        line("Meja 1", "A01", 10000, 1000, 9000, 1);
        line("Meja 1", "KOPI", 5000, 0, 5000, 2, false);
        line("Meja 1", "AB1", 3000, 0, 3000, 1);
        line("Meja 2", "AB2", 4000, 0, 4000, 1);
        show("Meja 1");
        QCOMPARE(panel()->ciCart->ListCount(), 5);

        panel()->ciCart->setFocus();
        panel()->ciCart->setListIndex(0);
        QTest::keyClick(panel()->ciCart, Qt::Key_Delete);
        panel()->cbSplit->click();
        panel()->cbEdit->click();
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(rowsOf(kLines).size(), 4);

        fx->ui->answers = {MsgCancel, MsgOK};
        keyOnLine(1, Qt::Key_Delete);
        QCOMPARE(rowsOf(kLines).size(), 4);
        keyOnLine(1, Qt::Key_Delete);
        QCOMPARE(fx->ui->prompts(), (QStringList{"Hapus Item yang terpilih?", "Hapus Item yang terpilih?"}));
        QCOMPARE(fx->ui->messages.last().title, QString("Konfirmasi"));
        QCOMPARE(rowsOf("select id from Salecart order by id"), (QStringList{"2", "3", "4"}));
        QCOMPARE(panel()->ciCart->ListCount(), 4);

        fx->ui->answers = {MsgOK};
        panel()->cbClear->click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Hapus semua Item yang ditandai?"));
        QCOMPARE(rowsOf("select id, charge from Salecart order by id"), (QStringList{"2|Meja 1", "4|Meja 2"}));
        QCOMPARE(panel()->ciCart->ListCount(), 3);
        QCOMPARE(panel()->ciTotalCart->Text(), QString("0"));
    }

    // The last line of a charge that is no contact's name: the charge leaves
    // the list, its text stays in the box.
    void deletingTheLastLineDropsTheCharge()
    {
        line("Meja 7", "A01", 10000, 0, 10000, 1);
        show("Meja 7");
        panel()->FillCiCharge();
        QVERIFY(panel()->ciCharge->findText("Meja 7") >= 0);
        fx->ui->answers = {MsgOK};
        keyOnLine(1, Qt::Key_Delete);
        QCOMPARE(panel()->ciCharge->Text(), QString("Meja 7"));
        QCOMPARE(panel()->ciCharge->findText("Meja 7"), -1);
        QVERIFY(panel()->ciCharge->findText("Budi") >= 0);
        QCOMPARE(panel()->ciCart->ListCount(), 2);
    }

    // The contacts' names are kept from one refill to the next, and read
    // again once their table changes: a customer added, renamed here or
    // deleted at another workstation is offered as it now stands.
    void theChargeListFollowsTheContacts()
    {
        line("Meja 1", "A01", 10000, 0, 10000, 1);
        show("Meja 1");
        const auto offered = [&](const char* name) {
            panel()->FillCiCharge();
            return panel()->ciCharge->findText(QString::fromLatin1(name)) >= 0;
        };
        QVERIFY(offered("Meja 1"));
        mMain::ExecSQL("insert into Customer values('C9', 'Zaki', '', '', '')");
        QVERIFY(offered("Zaki"));
        mMain::ExecSQL("update `customer` set `name`='Zakia' where code='C9'");
        QVERIFY(offered("Zakia"));
        QVERIFY(!offered("Zaki"));
        {
            platform::DbConnection other;
            OpenAnother(other, db());
            other.Execute("delete from Customer where code='C9'");
        }
        QVERIFY(!offered("Zakia"));
        QVERIFY(offered("Meja 1"));
        QCOMPARE(panel()->ciCharge->Text(), QString("Meja 1"));
    }

    // Whole units become lines of 1 with the highest ids; a fraction stays a
    // line of its own; a line of 1 is left alone without a question.
    void split()
    {
        line("Meja 1", "A01", 5000, 0, 5000, 3, false);
        line("Meja 1", "KOPI", 5000, 20, 4000, 3.5);
        line("Meja 1", "AB1", 3000, 0, 3000, 1);
        show("Meja 1");

        fx->ui->answers = {MsgOK};
        panel()->ciCart->setListIndex(rowOfId(1));
        panel()->cbSplit->click();
        QCOMPARE(fx->ui->lastPrompt(), QString("Pisahkan Item yang terpilih?"));
        QCOMPARE(rowsOf(kLines),
                 (QStringList{"2|Meja 1|KOPI|5000|20|4000|3.5|14000|1", "3|Meja 1|AB1|3000|0|3000|1|3000|1",
                              "4|Meja 1|A01|5000|0|5000|1|5000|1", "5|Meja 1|A01|5000|0|5000|1|5000|1",
                              "6|Meja 1|A01|5000|0|5000|1|5000|1"}));

        fx->ui->answers = {MsgOK};
        panel()->ciCart->setListIndex(rowOfId(2));
        panel()->cbSplit->click();
        QCOMPARE(rowsOf("select id, quantity, total from Salecart where code='KOPI' order by id"),
                 (QStringList{"7|1|4000", "8|1|4000", "9|1|4000", "10|0.5|2000"}));
        QCOMPARE(mMain::GetValue("select sum(total) from Salecart where code='KOPI'").toDouble(), 14000.0);

        fx->ui->clear();
        panel()->ciCart->setListIndex(rowOfId(3));
        panel()->cbSplit->click();
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(rowsOf("select id from Salecart where code='AB1'"), QStringList{"3"});
        QCOMPARE(panel()->ciCart->ListCount(), 2 + 8);
    }

    // A quantity edit writes quantity and total only; a new net price
    // becomes the line's price without discount and the catalogue's price.
    void editQuantityAndNetPrice()
    {
        line("Meja 1", "A01", 10000, 10, 9000, 1);
        show("Meja 1");
        fx->ui->scripts["fEdit"] = [this](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            QCOMPARE(QApplication::focusWidget(), e->iQuantity);
            QCOMPARE(e->iSubtotal->Text(), QString("9,000"));
            QCOMPARE(e->iUnit->Caption(), QString("Pcs"));
            retype(e->iQuantity, "2.5");
            QCOMPARE(e->iQuantity->Text(), QString("2,5"));
            QCOMPARE(e->iTotal->Text(), QString("22,500"));
            QTest::keyClick(e->iQuantity, Qt::Key_Return);
        };
        keyOnLine(1, Qt::Key_Return);
        QCOMPARE(fx->ui->shownModal, QStringList{"fEdit"});
        QCOMPARE(rowsOf(kLines), QStringList{"1|Meja 1|A01|10000|10|9000|2.5|22500|1"});
        QCOMPARE(rowsOf("select price, discount from SaleItems where code='A01'"), QStringList{"10000|10"});
        QCOMPARE(EditWindow()->iQuantity->Text(), QString("1"));
        QCOMPARE(EditWindow()->iSubtotal->Text(), QString("0"));

        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            QTest::keyClick(e->iQuantity, Qt::Key_Up);
            retype(e->iSubtotal, "8000");
            QCOMPARE(e->iTotal->Text(), QString("20,000"));
            QTest::keyClick(e->iSubtotal, Qt::Key_Return);
        };
        keyOnLine(1, Qt::Key_Return);
        QCOMPARE(rowsOf(kLines), QStringList{"1|Meja 1|A01|8000|0|8000|2.5|20000|1"});
        QCOMPARE(rowsOf("select price, discount from SaleItems where code='A01'"), QStringList{"8000|0"});
        QVERIFY(panel()->ciCart->List(2).contains("20,000"));
    }

    // A typed total sets the net price (total / quantity), and the save
    // writes both as shown; a double click opens the dialog and leaves the
    // line's tick alone.
    void editTotal()
    {
        line("Meja 1", "KOPI", 5000, 20, 4000, 2);
        show("Meja 1");
        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            QTest::keyClick(e->iQuantity, Qt::Key_Down);
            retype(e->iTotal, "9000");
            QCOMPARE(e->iSubtotal->Text(), QString("4,500"));
            QTest::keyClick(e->iTotal, Qt::Key_Return);
        };
        panel()->ciCart->setListIndex(rowOfId(1));
        const QRect cell = panel()->ciCart->visualRect(panel()->ciCart->model()->index(rowOfId(1), 0));
        QTest::mouseDClick(panel()->ciCart->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(fx->ui->shownModal, QStringList{"fEdit"});
        QCOMPARE(rowsOf(kLines), QStringList{"1|Meja 1|KOPI|4500|0|4500|2|9000|1"});
        QCOMPARE(rowsOf("select price, discount from SaleItems where code='KOPI'"), QStringList{"4500|0"});
    }

    // A stored net price with a fraction shows rounded; saving only a new
    // quantity keeps it and the catalogue.
    void editKeepsAFractionalNetPrice()
    {
        line("Meja 1", "A01", 10000, 0.004, 9999.6, 1);
        show("Meja 1");
        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            QCOMPARE(e->iSubtotal->Text(), QString("10,000"));
            retype(e->iQuantity, "3");
            QTest::keyClick(e->iQuantity, Qt::Key_Return);
        };
        keyOnLine(1, Qt::Key_Return);
        QCOMPARE(rowsOf(kLines), QStringList{"1|Meja 1|A01|10000|0.004|9999.6|3|30000|1"});
        QCOMPARE(rowsOf("select price, discount from SaleItems where code='A01'"), QStringList{"10000|10"});
    }

    // No quantity, a quantity of 0 or no number: refused, nothing written;
    // a line deleted while the dialog is open is written to no line.
    void editRefusesAndFindsNoLine()
    {
        line("Meja 1", "A01", 10000, 10, 9000, 2);
        show("Meja 1");
        const QStringList before = rowsOf(kLines);
        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            for (const char* q : {"", "0", ","}) {
                retype(e->iQuantity, QLatin1String(q));
                QTest::keyClick(e->iQuantity, Qt::Key_Return);
                QVERIFY(e->isVisible());
                QCOMPARE(QApplication::focusWidget(), e->iQuantity);
            }
            e->iSubtotal->setText("abc");
            retype(e->iQuantity, "2");
            QTest::keyClick(e->iQuantity, Qt::Key_Return);
            QVERIFY(e->isVisible());
            QTest::keyClick(e->iQuantity, Qt::Key_Escape);
        };
        keyOnLine(1, Qt::Key_Return);
        QCOMPARE(fx->ui->prompts(),
                 (QStringList{"Jumlah belum diisi", "Jumlah belum diisi", "Jumlah belum diisi", "Harga belum diisi"}));
        QCOMPARE(rowsOf(kLines), before);

        line("Meja 1", "KOPI", 5000, 0, 5000, 1);
        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            mMain::ExecSQL("delete from Salecart where id=1");
            retype(e->iSubtotal, "1");
            QTest::keyClick(e->iSubtotal, Qt::Key_Return);
        };
        keyOnLine(1, Qt::Key_Return);
        QCOMPARE(rowsOf(kLines), QStringList{"2|Meja 1|KOPI|5000|0|5000|1|5000|1"});
        QCOMPARE(rowsOf("select price from SaleItems where code='A01'"), QStringList{"10000"});
    }

    // Another till deletes KOPI (number 2) and adds a line to Meja 2 that
    // takes number 2: Delete, Split, Edit and the tick of the KOPI row shown
    // touch nothing and say so in one sentence; the bill is not printed over
    // lines it does not show. Another till's change is shown within about a
    // second, no key pressed.
    void actsOnlyOnTheLinesShown()
    {
        line("Meja 1", "A01", 10000, 0, 10000, 1);
        line("Meja 1", "KOPI", 5000, 0, 5000, 4);
        show("Meja 1");
        panel()->tCart->setEnabled(false);
        platform::DbConnection other;
        OpenAnother(other, db());
        fx->ui->answers = {MsgOK, MsgOK, MsgOK};
        fx->ui->scripts["fEdit"] = [](platform::Form* f) {
            auto* e = static_cast<fEdit*>(f);
            retype(e->iSubtotal, "1");
            QTest::keyClick(e->iSubtotal, Qt::Key_Return);
        };
        auto* p = panel();
        const QList<std::function<void()>> acts = {[p] { p->cbDelete_Click(); }, [p] { p->cbSplit_Click(); },
                                                   [p] { p->cbEdit_Click(); },
                                                   [p] { p->ciCart->setSelected(p->ciCart->ListIndex(), false); }};
        for (const auto& act : acts) {
            other.Execute("update Salecart set charge='Meja 1', code='KOPI', price=5000, subtotal=5000, total=20000 "
                          "where id=2");
            show("Meja 1");
            other.Execute("update Salecart set charge='Meja 2', code='AB2', price=4000, subtotal=4000, total=16000 "
                          "where id=2");
            const QStringList before = rowsOf(kLines);
            panel()->ciCart->setListIndex(rowOfId(2));
            fx->ui->messages.clear();
            act();
            QCOMPARE(fx->ui->lastPrompt(), CartChangedText());
            QCOMPARE(rowsOf(kLines), before);
        }
        QCOMPARE(rowsOf("select price from SaleItems where code='AB2'"), QStringList{"4000"});

        other.Execute("update Salecart set quantity=5, total=50000 where id=1");
        mMain::SetConfig("Port", fx->path("port.txt"));
        fx->ui->messages.clear();
        QTest::keyClick(fx->main, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(fx->ui->lastPrompt(), CartChangedText());
        QVERIFY(!QFile::exists(fx->path("port.txt")));

        panel()->tCart->setEnabled(true);
        other.Execute("update Salecart set quantity=6, total=60000 where id=1");
        QTRY_VERIFY_WITH_TIMEOUT(panel()->ciCart->List(2).contains("60,000"), 1500);
        QCOMPARE(panel()->ciTotalCart->Text(), QString("60,000"));
    }

    // Ctrl+M moves the charge to a new name with its warehouse; to a held
    // charge it joins that cart, which keeps its own warehouse.
    void moveHeldCharge()
    {
        line("Meja 1", "A01", 10000, 0, 10000, 1);
        line("Meja 1", "KOPI", 5000, 0, 5000, 1, false);
        line("Meja 2", "AB1", 3000, 0, 3000, 1);
        mMain::ExecSQL("insert into pending values('Sale', 'Meja 1', 'Gudang A')");
        mMain::ExecSQL("insert into pending values('Sale', 'Meja 2', 'Gudang B')");
        show("Meja 1");
        QCOMPARE(panel()->ciWarehouse->Text(), QString("Gudang A"));

        fx->ui->scripts["fMove"] = [](platform::Form* f) {
            auto* m = static_cast<fMove*>(f);
            QCOMPARE(QApplication::focusWidget(), m->iCharge);
            QVERIFY(m->iCharge->findText("Meja 2") >= 0);
            QVERIFY(m->iCharge->findText("Budi") >= 0);
            QTest::keyClicks(QApplication::focusWidget(), "meja 9");
            QCOMPARE(m->iCharge->Text(), QString("Meja 9"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        panel()->ciCart->setFocus();
        QTest::keyClick(panel()->ciCart, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(fx->ui->shownModal, QStringList{"fMove"});
        QCOMPARE(rowsOf("select charge, code from Salecart order by id"),
                 (QStringList{"Meja 9|A01", "Meja 9|KOPI", "Meja 2|AB1"}));
        QCOMPARE(panel()->ciCharge->Text(), QString("Meja 9"));
        QCOMPARE(panel()->ciWarehouse->Text(), QString("Gudang A"));
        QCOMPARE(panel()->ciCart->ListCount(), 4);
        QCOMPARE(rowsOf("select charge, warehouse from pending order by charge"),
                 (QStringList{"Meja 2|Gudang B", "Meja 9|Gudang A"}));
        QCOMPARE(panel()->ciCharge->findText("Meja 1"), -1);
        QVERIFY(MoveWindow()->iCharge->Text().isEmpty());

        fx->ui->scripts["fMove"] = [](platform::Form* f) {
            auto* m = static_cast<fMove*>(f);
            m->iCharge->setText("Meja 2");
            m->bSave->click();
        };
        panel()->cbMove->click();
        QCOMPARE(rowsOf("select charge, code from Salecart order by id"),
                 (QStringList{"Meja 2|A01", "Meja 2|KOPI", "Meja 2|AB1"}));
        QCOMPARE(panel()->ciCharge->Text(), QString("Meja 2"));
        QCOMPARE(panel()->ciWarehouse->Text(), QString("Gudang B"));
        QCOMPARE(rowsOf("select charge, warehouse from pending"), QStringList{"Meja 2|Gudang B"});
        QCOMPARE(panel()->ciCart->ListCount(), 5);

        // Esc hides the dialog and empties the name.
        fx->ui->scripts["fMove"] = [](platform::Form* f) {
            auto* m = static_cast<fMove*>(f);
            QTest::keyClicks(QApplication::focusWidget(), "Meja 5");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!m->isVisible());
        };
        panel()->cbMove->click();
        QVERIFY(MoveWindow()->iCharge->Text().isEmpty());
        QCOMPARE(rowsOf("select distinct charge from Salecart"), QStringList{"Meja 2"});
    }

    // A charge chosen from the panel's list (a click, no typing) is the one
    // the add-line dialog adds under.
    void addLineUnderChosenCharge()
    {
        show("Meja 1");
        panel()->FillCiCharge();
        panel()->ciCharge->setListIndex(panel()->ciCharge->findText("Budi"));
        QCOMPARE(panel()->CurrentCharge(), QString("Budi"));
        fx->ui->scripts["fCart"] = [](platform::Form* f) {
            auto* c = static_cast<fCart*>(f);
            QTest::keyClicks(c->ciCode, "KOPI");
            c->bSave->click();
            c->bClose->click();
        };
        panel()->ShowAddLine();
        QCOMPARE(rowsOf("select charge, code from Salecart"), QStringList{"Budi|KOPI"});
    }

    // Keypad "+" opens the add-line dialog; lines are added and merged with
    // the percent in `discount`, and the dialog stays open for the next one.
    void addLineDialog()
    {
        show("Meja 1");
        fx->ui->scripts["fCart"] = [this](platform::Form* f) {
            auto* c = static_cast<fCart*>(f);
            QCOMPARE(QApplication::focusWidget(), c->ciCode);
            QTest::keyClicks(c->ciCode, "ab");
            QVERIFY(c->ciItems->isVisible());
            QCOMPARE(c->ciItems->ListCount(), 2);
            QVERIFY(c->ciName->Text().isEmpty());
            QTest::keyClick(c->ciCode, Qt::Key_Backspace);
            QTest::keyClick(c->ciCode, Qt::Key_Backspace);

            QTest::keyClicks(c->ciCode, "a01");
            QVERIFY(!c->ciItems->isVisible());
            QCOMPARE(c->ciName->Text(), QString("Nasi Goreng"));
            QCOMPARE(c->ciDiscountN->Text(), QString("1,000"));
            QCOMPARE(c->ciSubtotal->Text(), QString("9,000"));
            QTest::keyClick(c->ciCode, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), c->ciQuantity);
            retype(c->ciQuantity, "2");
            QCOMPARE(c->ciTotal->Text(), QString("18,000"));
            QTest::keyClick(c->ciQuantity, Qt::Key_Return);
            QVERIFY(c->isVisible());
            QVERIFY(c->ciCode->Text().isEmpty());
            QCOMPARE(c->ciQuantity->Text(), QString("1"));
            QCOMPARE(QApplication::focusWidget(), c->ciCode);
            QCOMPARE(panel()->ciCart->ListCount(), 3);

            QTest::keyClicks(c->ciCode, "A01");
            retype(c->ciQuantity, "1.5");
            QTest::keyClick(c->ciQuantity, Qt::Key_Return);
            QTest::keyClicks(c->ciCode, "XYZ");
            QTest::keyClick(c->ciCode, Qt::Key_Return);
            QTest::keyClick(c->ciQuantity, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), c->ciCode);
            c->ciCode->setText("KOPI");
            retype(c->ciQuantity, "0");
            QTest::keyClick(c->ciQuantity, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), c->ciQuantity);
            QTest::keyClick(c->ciQuantity, Qt::Key_Escape);
            QVERIFY(!c->isVisible());
        };
        QTest::keyClick(panel()->ciCart, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(fx->ui->shownModal, QStringList{"fCart"});
        QCOMPARE(fx->ui->prompts(),
                 (QStringList{"Item dengan Kode 'XYZ' tidak ditemukan, coba Kode lain", "Jumlah belum diisi"}));
        QCOMPARE(rowsOf(kLines), QStringList{"1|Meja 1|A01|10000|10|9000|3.5|31500|1"});
        QVERIFY(CartWindow()->ciCode->Text().isEmpty());
        QCOMPARE(panel()->ciTotalCart->Text(), QString("31,500"));

        // F11 opens it again, empty; a line under the empty charge shows at once.
        show(QString());
        fx->ui->scripts["fCart"] = [this](platform::Form* f) {
            auto* c = static_cast<fCart*>(f);
            QCOMPARE(c->ciQuantity->Text(), QString("1"));
            QTest::keyClicks(c->ciCode, "KOPI");
            c->bSave->click();
            QCOMPARE(panel()->ciCart->ListCount(), 3);
        };
        QTest::keyClick(panel()->ciCart, Qt::Key_F11);
        QCOMPARE(rowsOf("select id, charge, code, discount, subtotal from Salecart where id=2"),
                 QStringList{"2||KOPI|20|4000"});
    }

    // The barcode window takes a code that has come to rest, one unit a
    // scan; a code still arriving waits, an unknown one is dropped.
    void barcodeScans()
    {
        line("Meja 1", "A01", 10000, 1000, 9000, 1);
        show("Meja 1");
        // The window's clock is the test's: a code rests exactly as long as
        // the test says, however busy the machine.
        auto now = std::make_shared<qint64>(0);
        fx->ui->scripts["fBarcode"] = [now](platform::Form* f) {
            auto* b = static_cast<fBarcode*>(f);
            b->tScan->setEnabled(false);
            b->setClock([now] { return *now; });
            QCOMPARE(QApplication::focusWidget(), b->iCode);
            QTest::keyClicks(b->iCode, "ko");
            *now += fBarcode::SettleMs - 1;
            b->tScan_Timer();
            QCOMPARE(b->iCode->Text(), QString("KO"));
            QTest::keyClicks(b->iCode, "pi");
            QTest::keyClick(b->iCode, Qt::Key_Return);
            *now += fBarcode::SettleMs;
            b->tScan_Timer();
            QVERIFY(b->iCode->Text().isEmpty());
            QTest::keyClicks(b->iCode, "KOPI");
            *now += fBarcode::SettleMs;
            b->tScan_Timer();
            QTest::keyClicks(b->iCode, "ZZZ");
            *now += fBarcode::SettleMs;
            b->tScan_Timer();
            QVERIFY(b->iCode->Text().isEmpty());
            QTest::keyClicks(b->iCode, "A01");
            *now += fBarcode::SettleMs;
            b->tScan_Timer();
            QTest::keyClick(b->iCode, Qt::Key_Escape);
        };
        panel()->ciCart->setFocus();
        QTest::keyClick(panel()->ciCart, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(fx->ui->shownModal, QStringList{"fBarcode"});
        QVERIFY(fx->ui->messages.isEmpty());
        QCOMPARE(rowsOf(kLines),
                 (QStringList{"1|Meja 1|A01|10000|1000|9000|2|18000|1", "2|Meja 1|KOPI|5000|20|5000|2|10000|1"}));
        QCOMPARE(panel()->ciCart->ListCount(), 4);
        QCOMPARE(QApplication::focusWidget(), panel()->ciCart);
        QVERIFY(BarcodeWindow()->iCode->Text().isEmpty());
    }
};

int runCartOpsTests(int argc, char** argv)
{
    TestCartOps t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_cart_ops.moc"
