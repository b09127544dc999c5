// Journal rows by hand, on the sample database with an emptied journal: the
// journal row dialog opened from the ledger panel (F11, the buttons, Enter, double click, Delete) and driven at the
// keyboard, with the pickers, the refusals, and the journal view and the
// clock's cash balance that follow. (The rows an entry becomes are tested
// without a window in model/.)
#include "catalogue/fmaster.h"
#include "core/app.h"
#include "core/mmain.h"
#include "ledger/fledger.h"
#include "ledger/ledgerpanel.h"
#include "ledger/model/journalentry.h"
#include "platform/controls.h"
#include "shell/fmain.h"
#include "support/dbrows.h"
#include "support/fixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace mMain;

class TestJournalRows : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    fMain* m = nullptr;
    LedgerPanelView* l = nullptr;
    fLedger* d = nullptr;

    static void type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
    static void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }
    static void clearAndType(platform::TextBox* box, const QString& text)
    {
        box->selectAll();
        key(box, Qt::Key_Backspace);
        type(box, text);
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
    void script(const std::function<void()>& s)
    {
        fx->ui->scripts[QStringLiteral("fLedger")] = [s](platform::Form*) { s(); };
    }
    // The columns that an entry sets, of one row.
    QString row(qint64 id)
    {
        const QStringList r = rowsOf(
            QStringLiteral("select no, Category, Cashier, Warehouse, Charge, Code, Description, Price, Discount, "
                           "SubTotal, Quantity, Unit, Sale, Shop, Shop_Retur, Sale_Retur, Cash_In, Cash_Out, "
                           "Debit, Credit, Keterangan from cash where ID=") +
            QString::number(id));
        return r.value(0);
    }
    // A row as a save of the cashier writes it.
    void stored(int id, int no, const QString& category, const QString& code, double subtotal, double quantity,
                double amount, bool debit)
    {
        const QString column = QString(category).replace(QLatin1Char(' '), QLatin1Char('_'));
        QStringList amounts;
        for (const char* c : {"Sale", "Shop", "Shop_Retur", "Sale_Retur", "Cash_In", "Cash_Out"})
            amounts << Num(column == QLatin1String(c) ? amount : 0);
        ExecSQL(QStringLiteral("insert into cash values(%1, %2, %3, '2010-01-02', 'Catatan', 'Kasir2', 'Gudang Utama', "
                               "'Meja 01', %4, 'Kopi Tubruk', 15000, 0, %5, '%6', 'Gelas', %7, %8, %9)")
                    .arg(id)
                    .arg(no)
                    .arg(Quote(category), Quote(code), Num(subtotal), Num(quantity), amounts.join(QStringLiteral(", ")),
                         Num(debit ? std::abs(amount) : 0), Num(debit ? 0 : std::abs(amount))));
    }
    // Selects the line of a journal row in the view.
    void select(qint64 id)
    {
        const int at = l->LineIds.indexOf(id);
        QVERIFY(at >= 2);
        l->liLedger->setListIndex(at);
        l->liLedger->setFocus();
    }
    QString cash()
    {
        m->tClock_Timer();
        return m->iCash->Caption();
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        m = fx->main;
        l = dynamic_cast<LedgerPanelView*>(m->ledgerPanel());
        d = LedgerWindow();
        QVERIFY(l && d);
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        ExecSQL(QStringLiteral("delete from cash"));
        l->liFrom->setValue(QDate(2010, 1, 1));
        m->bLedger_Click();
        fx->ui->clear();
    }
    void cleanup() { fx.reset(); }

    // F11 on the ledger panel adds rows of the four kinds at the keyboard:
    // each on its own side and column, with consecutive ids and numbers; the
    // kind and date stay, the rest starts empty. The view and the clock's
    // cash balance follow.
    void addsEveryKind()
    {
        const QDate today = QDate::currentDate();
        struct Entry {
            int kind;
            const char* caption;
            const char* charge;
            const char* code;
            const char* quantity;
            const char* total; // typed over the computed one; "" keeps it
        };
        const Entry entries[] = {
            {
                0,
                "Pelanggan:",
                "Meja 01",
                "KSGA",
                "2",
                "",
            },
            {1, "Supplier:", "CV Kopi Nusantara", "BKA", "3", "700000"},
            {2, "Penyetor:", "Hendra Gunawan", "SETOR", "1", ""},
            {3, "Penerima:", "Dewi Lestari", "GAJI", "1", ""},
        };
        script([&] {
            QCOMPARE(d->Caption(), QStringLiteral("Tambah"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iAction));
            QVERIFY(d->iWarehouse->isVisible()); // the sample keeps warehouses
            QCOMPARE(d->cCharge->Caption(), QStringLiteral("Charge:"));
            for (const Entry& e : entries) {
                d->iAction->setListIndex(e.kind);
                QCOMPARE(d->cCharge->Caption(), QLatin1String(e.caption));
                key(d->iAction, Qt::Key_Return);
                QCOMPARE(focused(), static_cast<QWidget*>(d->iWarehouse));
                type(d->iWarehouse->lineEdit(), QStringLiteral("gudang utama"));
                QCOMPARE(d->iWarehouse->Text(), QStringLiteral("Gudang Utama"));
                key(d->iWarehouse->lineEdit(), Qt::Key_Return);
                QCOMPARE(focused(), static_cast<QWidget*>(d->iCharge));
                type(d->iCharge->lineEdit(), QLatin1String(e.charge));
                key(d->iCharge->lineEdit(), Qt::Key_Return);
                QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));
                type(d->iCode, QString::fromLatin1(e.code).toLower());
                QCOMPARE(d->iCode->Text(), QLatin1String(e.code));
                key(d->iCode, Qt::Key_Return);
                key(d->iName, Qt::Key_Return);
                key(d->iPrice, Qt::Key_Return);
                QCOMPARE(focused(), static_cast<QWidget*>(d->iQuantity));
                clearAndType(d->iQuantity, QLatin1String(e.quantity));
                key(d->iQuantity, Qt::Key_Return);
                QCOMPARE(focused(), static_cast<QWidget*>(d->iTotal));
                if (*e.total)
                    clearAndType(d->iTotal, QLatin1String(e.total));
                key(d->iTotal, Qt::Key_Return);
                // Saved: ready for the next row of the same kind and day.
                QCOMPARE(d->iAction->ListIndex(), e.kind);
                QCOMPARE(d->iMoment->Value(), today);
                QVERIFY(d->iCode->Text().isEmpty() && d->iCharge->Text().isEmpty() && d->iWarehouse->Text().isEmpty() &&
                        d->iName->Text().isEmpty());
                QCOMPARE(d->iTotal->Text(), QStringLiteral("0"));
                QCOMPARE(focused(), static_cast<QWidget*>(d->iAction));
            }
            key(d->iAction, Qt::Key_Escape);
        });
        QTest::keyClick(m, Qt::Key_F11);
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fLedger")});
        QVERIFY(fx->ui->messages.isEmpty());
        QVERIFY(!d->isVisible());

        const QString head = QStringLiteral("|Admin|Gudang Utama|");
        QCOMPARE(row(1), QStringLiteral("1|Sale") + head +
                             QStringLiteral("Meja 01|KSGA|Es Kopi Susu Gula Aren|25000|10|22500|2|Gelas|"
                                            "45000|0|0|0|0|0|45000|0|"));
        QCOMPARE(row(2), QStringLiteral("2|Shop") + head +
                             QStringLiteral("CV Kopi Nusantara|BKA|Biji Kopi Arabika Gayo|250000|0|250000|3|Kg|"
                                            "0|700000|0|0|0|0|0|700000|"));
        QCOMPARE(row(3), QStringLiteral("3|Cash In") + head +
                             QStringLiteral("Hendra Gunawan|SETOR|Setoran Pemilik|1000000|0|1000000|1||"
                                            "0|0|0|0|1000000|0|1000000|0|"));
        QCOMPARE(row(4), QStringLiteral("4|Cash Out") + head +
                             QStringLiteral("Dewi Lestari|GAJI|Gaji Karyawan|2500000|0|2500000|1||"
                                            "0|0|0|0|0|2500000|0|2500000|"));
        QCOMPARE(
            GetValue(QStringLiteral("select count(*) from cash where moment=") + SqlDate(today.toString(Qt::ISODate)))
                .toInt(),
            4);

        // The journal shows the rows; the balance is debit less credit.
        QCOMPARE(l->liPage->ListIndex(), 0);
        QCOMPARE(l->LineIds.mid(2, 4), (QVector<qint64>{1, 2, 3, 4}));
        QCOMPARE(cash(), QStringLiteral("Cash: ") + FormatAmount(45000 - 700000 + 1000000 - 2500000));
    }

    // The checks in their order, each with its field; nothing is written.
    // The warehouse setting off hides the warehouse.
    // A quantity that is no number is refused like an empty one; a code
    // the items table does not hold, with a name typed by hand, is saved
    // with no list price.
    void refusalsInOrder()
    {
        SetConfig(QStringLiteral("Warehouse"), QStringLiteral("0"));
        script([&] {
            // Without warehouses, Enter on the kind goes to the charge.
            QVERIFY(!d->iWarehouse->isVisible() && !d->bWarehouse->isVisible());
            key(d->iAction, Qt::Key_Return);
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCharge));
            d->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Aksi belum diisi"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iAction));
            d->iAction->setListIndex(2);
            d->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Kode belum diisi"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));
            type(d->iCode, QStringLiteral("hibah"));
            QVERIFY(d->iName->Text().isEmpty());
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("1"));
            d->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Deskripsi belum diisi"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));
            type(d->iName, QStringLiteral("Hibah Alat"));
            for (const char* quantity : {"", "0", "1x", "1,2,3"}) {
                d->iQuantity->setText(QLatin1String(quantity)); // pasted text passes no key filter
                d->bSave->click();
                QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Quantity belum diisi"));
                QCOMPARE(focused(), static_cast<QWidget*>(d->iQuantity));
            }
            // A negative quantity would book the row on the other side.
            d->iQuantity->setText(QStringLiteral("-2"));
            d->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Total tidak boleh negatif"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iQuantity));
            QCOMPARE(count(QStringLiteral("select count(*) from cash")), 0);
            QCOMPARE(fx->ui->messages.size(), 8);

            // Digits only in the number fields, and a decimal comma in the
            // quantity.
            clearAndType(d->iQuantity, QStringLiteral("2a,"));
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("2,"));
            d->iPrice->setText(QString());
            d->iTotal->setText(QString());
            type(d->iTotal, QStringLiteral("1250000"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("1,250,000"));
            key(d->iTotal, Qt::Key_Return);
            d->bClose->click();
        });
        l->lbAdd->click();
        QCOMPARE(row(1), QStringLiteral("1|Cash In|Admin|||HIBAH|Hibah Alat|0|0|0|2||0|0|0|0|1250000|0|1250000|0|"));
    }

    // The offered codes: several that begin with the typed code show, Down
    // moves into them and Enter takes one; an exact single code hides them.
    // With no kind the code finds nothing and the pickers do not open.
    void lookupAndOfferedList()
    {
        script([&] {
            type(d->iCode, QStringLiteral("K"));
            QVERIFY(!d->iItems->isVisible());
            QVERIFY(d->iName->Text().isEmpty());
            d->bBrowse->click();
            d->bCharge->click();
            d->bWarehouse->click();
            key(d->iCode, Qt::Key_F12);
            d->iCode->setText(QString());

            d->iAction->setListIndex(0);
            type(d->iCode, QStringLiteral("k"));
            QVERIFY(d->iItems->isVisible());
            QCOMPARE(d->iItems->ListCount(), 3); // KSGA KTB KTGG, of the sales items only
            QVERIFY(d->iItems->List(1).startsWith(QStringLiteral("KTB      Kopi Tubruk")));
            key(d->iCode, Qt::Key_Down);
            QCOMPARE(focused(), static_cast<QWidget*>(d->iItems));
            key(d->iItems, Qt::Key_Down);
            key(d->iItems, Qt::Key_Return);
            QCOMPARE(d->iCode->Text(), QStringLiteral("KTB"));
            QVERIFY(!d->iItems->isVisible());
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));
            QCOMPARE(d->iName->Text(), QStringLiteral("Kopi Tubruk"));
            QCOMPARE(d->iPrice->Text(), QStringLiteral("15,000"));
            QCOMPARE(d->iUnit->Caption(), QStringLiteral("Gelas"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("15,000"));
            clearAndType(d->iQuantity, QStringLiteral("3"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("45,000"));
            // Another code found keeps the quantity typed.
            d->iCode->setText(QStringLiteral("ESP"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("54,000"));
            d->iCode->setFocus();
            key(d->iCode, Qt::Key_Down);
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));

            // A code that is not there resets the item.
            type(d->iCode, QStringLiteral("X"));
            QVERIFY(d->iName->Text().isEmpty() && d->iUnit->Caption().isEmpty());
            QCOMPARE(d->iPrice->Text(), QStringLiteral("0"));
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("1"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("0"));
            key(d, Qt::Key_Escape);
        });
        l->lbAdd->click();
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fLedger")});
        // The close left no kind and no code behind.
        QCOMPARE(d->iAction->ListIndex(), -1);
        QVERIFY(d->iCode->Text().isEmpty());
    }

    // The pickers list the dialog's kind's tables and write back into its
    // fields: the code runs the lookup, charge and warehouse take the name.
    void pickersWriteBack()
    {
        fMaster* master = MasterWindow();
        auto pickRow = [&](const QString& code) {
            for (int i = 2; i < master->iItems->ListCount(); ++i)
                if (master->GetIItemsCode(i) == code) {
                    master->iItems->setListIndex(i);
                    key(master->iItems, Qt::Key_Return);
                    return;
                }
            QFAIL(qPrintable(code));
        };
        QStringList tables;
        fx->ui->scripts[QStringLiteral("fMaster")] = [&](platform::Form*) {
            tables << master->TableName;
            pickRow(tables.size() == 1   ? QStringLiteral("SUSU")
                    : tables.size() == 2 ? QStringLiteral("SUP04")
                                         : QStringLiteral("GD02"));
        };
        script([&] {
            d->iAction->setListIndex(1);
            d->bBrowse->click();
            QCOMPARE(d->iCode->Text(), QStringLiteral("SUSU"));
            QCOMPARE(d->iName->Text(), QStringLiteral("Susu Segar Lembang"));
            QCOMPARE(d->iUnit->Caption(), QStringLiteral("Liter"));
            QCOMPARE(focused(), static_cast<QWidget*>(d->iCode));
            key(d->iCharge->lineEdit(), Qt::Key_F12);
            QCOMPARE(d->iCharge->Text(), QStringLiteral("KPBS Susu Lembang"));
            d->bWarehouse->click();
            QCOMPARE(d->iWarehouse->Text(), QStringLiteral("Gudang Dapur"));
            QVERIFY(d->iWarehouse->hasFocus());
            d->bSave->click();
            d->bClose->click();
        });
        l->lbAdd->click();
        QCOMPARE(tables, (QStringList{"ShopItems", "Supplier", "Warehouse"}));
        QVERIFY(row(1).startsWith(QStringLiteral("1|Shop|Admin|Gudang Dapur|KPBS Susu Lembang|SUSU|")));
    }

    // Opening a row and saving it unchanged writes its amount again, even a
    // total typed over price times quantity; the operator and the item's
    // price now are written, id and number stay. Enter in the list opens.
    void editRoundTrip()
    {
        stored(5, 3, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 2, 25000, true);
        l->lbRefresh->click();
        const QString balance = cash();
        select(5);
        script([&] {
            QCOMPARE(d->Caption(), QStringLiteral("Ubah"));
            QCOMPARE(d->iAction->ListIndex(), 0);
            QCOMPARE(d->iMoment->Value(), QDate(2010, 1, 2));
            QCOMPARE(d->iCharge->Text(), QStringLiteral("Meja 01"));
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("2"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("25,000"));
            QCOMPARE(d->iDescription->Text(), QStringLiteral("Catatan"));
            d->bSave->click();
            QVERIFY(!d->isVisible());
        });
        key(l->liLedger, Qt::Key_Return);
        QCOMPARE(fx->ui->shownModal.size(), 1);
        QCOMPARE(row(5), QStringLiteral("3|Sale|Admin|Gudang Utama|Meja 01|KTB|Kopi Tubruk|15000|0|15000|2|Gelas|"
                                        "25000|0|0|0|0|0|25000|0|Catatan"));
        QCOMPARE(cash(), balance);
        QVERIFY(fx->ui->messages.isEmpty());
    }

    // A quantity with a fraction is booked as written, typed with a point
    // or a comma, also when part of a stored one is typed over.
    void fractionalQuantityAsWritten()
    {
        stored(1, 1, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 1.5, 22500, true);
        l->lbRefresh->click();
        select(1);
        script([&] {
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("1,5"));
            clearAndType(d->iQuantity, QStringLiteral("2.5"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("37,500"));
            d->bSave->click();
        });
        l->lbEdit->click();
        QVERIFY2(row(1).contains(QStringLiteral("|15000|2.5|Gelas|37500|")), qPrintable(row(1)));
        select(1);
        script([&] {
            key(d->iQuantity, Qt::Key_Home);
            QTest::keyClick(d->iQuantity, Qt::Key_Right, Qt::ShiftModifier);
            type(d->iQuantity, QStringLiteral("3"));
            QCOMPARE(d->iQuantity->Text(), QStringLiteral("3,5"));
            d->bSave->click();
        });
        l->lbEdit->click();
        QVERIFY2(row(1).contains(QStringLiteral("|15000|3.5|Gelas|52500|")), qPrintable(row(1)));
    }

    // A double click opens the row; a new quantity computes the total, a
    // typed total is kept; the kind may change side. Another page leaves
    // the shortcuts without effect.
    void editChangesQuantityAndTotal()
    {
        stored(1, 1, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 1, 15000, true);
        stored(2, 1, QStringLiteral("Sale"), QStringLiteral("ESP"), 18000, 1, 18000, true);
        l->lbRefresh->click();
        select(1);
        script([&] {
            clearAndType(d->iQuantity, QStringLiteral("3"));
            QCOMPARE(d->iTotal->Text(), QStringLiteral("45,000"));
            d->bSave->click();
        });
        QTest::mouseDClick(l->liLedger->viewport(), Qt::LeftButton, {},
                           l->liLedger->visualRect(l->liLedger->currentIndex()).center());
        QCOMPARE(fx->ui->shownModal.size(), 1);
        QVERIFY(row(1).endsWith(QStringLiteral("|15000|3|Gelas|45000|0|0|0|0|0|45000|0|Catatan")));
        QCOMPARE(cash(), QStringLiteral("Cash: ") + FormatAmount(45000 + 18000));

        select(2);
        script([&] {
            d->iAction->setListIndex(1);
            d->iCode->setText(QString());
            d->iCode->setText(QStringLiteral("ESP")); // not bought: a name by hand
            type(d->iName, QStringLiteral("Espresso Retur"));
            clearAndType(d->iTotal, QStringLiteral("9000"));
            key(d->iDescription, Qt::Key_Return);
        });
        l->lbEdit->click();
        QCOMPARE(row(2), QStringLiteral("1|Shop|Admin|Gudang Utama|Meja 01|ESP|Espresso Retur|0|0|0|1||"
                                        "0|9000|0|0|0|0|0|9000|Catatan"));

        l->liPage->setListIndex(1);
        l->liLedger->setListIndex(2);
        key(l->liLedger, Qt::Key_Return);
        key(l->liLedger, Qt::Key_Delete);
        QVERIFY(fx->ui->shownModal.size() == 2 && fx->ui->messages.isEmpty());
    }

    // Rows the dialog cannot rewrite, or gone meanwhile, are told and
    // nothing is written; the view is rebuilt. A row in another word opens
    // with no kind and asks for one.
    void editRefusals()
    {
        stored(1, 1, QStringLiteral("Sale Retur"), QStringLiteral("KTB"), 15000, 1, 15000, false);
        stored(2, 2, QStringLiteral("Sale"), QStringLiteral("DS"), 50000, 10, -5000, false);
        stored(3, 2, QStringLiteral("Sale"), QStringLiteral("PN"), 45000, 10, 4500, true);
        stored(4, 3, QStringLiteral("Jual"), QStringLiteral("KTB"), 15000, 1, 15000, true);
        stored(5, 4, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 1, 15000, true);
        l->lbRefresh->click();
        const QStringList before = rowsOf(QStringLiteral("select * from cash order by ID"));

        const char* expected[] = {"Baris Retur Jual tidak dapat diubah di sini",
                                  "Baris Diskon tidak dapat diubah di sini", "Baris PPN tidak dapat diubah di sini"};
        for (int id = 1; id <= 3; ++id) {
            select(id);
            l->lbEdit->click();
            QCOMPARE(fx->ui->lastPrompt(), QLatin1String(expected[id - 1]));
        }
        QVERIFY(fx->ui->shownModal.isEmpty());
        QCOMPARE(fx->ui->messages.size(), 3);

        select(4);
        script([&] {
            QCOMPARE(d->iAction->ListIndex(), -1);
            QCOMPARE(d->iCharge->ListCount(), 0);
            d->bSave->click();
            QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Aksi belum diisi"));
            // Deleted from another workstation while the dialog is open.
            ExecSQL(QStringLiteral("delete from cash where ID=4"));
            d->iAction->setListIndex(0);
            d->bSave->click();
        });
        l->lbEdit->click();
        QCOMPARE(fx->ui->lastPrompt(), ledger::GoneMessage(4));
        QVERIFY(!d->isVisible());
        QVERIFY(!l->LineIds.contains(4));

        // Gone before the line is opened: told, and the view drops it.
        select(5);
        ExecSQL(QStringLiteral("delete from cash where ID=5"));
        l->lbEdit->click();
        QCOMPARE(fx->ui->lastPrompt(), ledger::GoneMessage(5));
        QVERIFY(!l->LineIds.contains(5));
        QCOMPARE(fx->ui->shownModal.size(), 1);
        QCOMPARE(rowsOf(QStringLiteral("select * from cash order by ID")), before.mid(0, 3));
    }

    // Delete asks first: Cancel keeps the row, OK removes that one row and
    // no other of its transaction; the view and the balance follow. The
    // header line holds no row.
    void deleteWithConfirmation()
    {
        stored(1, 1, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 2, 30000, true);
        stored(2, 1, QStringLiteral("Sale"), QStringLiteral("DS"), 30000, 10, -3000, false);
        l->lbRefresh->click();
        QCOMPARE(cash(), QStringLiteral("Cash: 27,000"));

        l->liLedger->setListIndex(0);
        key(l->liLedger, Qt::Key_Delete);
        QVERIFY(fx->ui->messages.isEmpty());

        select(2);
        fx->ui->answers = {2};
        key(l->liLedger, Qt::Key_Delete);
        QCOMPARE(fx->ui->lastPrompt(), QStringLiteral("Hapus Item terpilih?"));
        QCOMPARE(fx->ui->messages.last().title, QStringLiteral("Konfirmasi"));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), 2);

        fx->ui->answers = {1};
        l->lbDelete->click();
        QCOMPARE(rowsOf(QStringLiteral("select ID from cash")), QStringList{QStringLiteral("1")});
        QCOMPARE(l->LineIds.mid(2, 2), (QVector<qint64>{1, 0}));
        QCOMPARE(cash(), QStringLiteral("Cash: 30,000"));
    }

    // Another till deletes the row shown and its next sale takes the ID:
    // Delete, Edit and the dialog's save touch nothing, say so, announce
    // nothing; the row as shown now goes.
    void rowReplacedAtAnotherTill()
    {
        stored(1, 1, QStringLiteral("Sale"), QStringLiteral("KTB"), 15000, 1, 15000, true);
        stored(2, 2, QStringLiteral("Sale"), QStringLiteral("ESP"), 18000, 1, 18000, true);
        QStringList rows;
        const auto replace = [&](int quantity) {
            ExecSQL(QStringLiteral("delete from cash where ID=2"));
            stored(2, 3, QStringLiteral("Sale"), QStringLiteral("NGA"), 33000, quantity, 33000 * quantity, true);
            rows = rowsOf(QStringLiteral("select * from cash order by ID"));
        };
        const auto told = [&] {
            QCOMPARE(fx->ui->lastPrompt(), ledger::GoneMessage(2));
            QCOMPARE(rowsOf(QStringLiteral("select * from cash order by ID")), rows);
        };
        QSignalSpy journal(app().Session(), &ShopSession::journalChanged);
        l->lbRefresh->click();
        select(2);
        replace(2);
        fx->ui->answers = {1};
        l->lbDelete->click();
        told();
        select(2); // rebuilt: the new row, which grows meanwhile
        replace(3);
        l->lbEdit->click();
        told();
        select(2);
        script([&] {
            replace(4);
            d->bSave->click();
        });
        l->lbEdit->click();
        told();
        QCOMPARE(fx->ui->shownModal.size(), 1);
        QCOMPARE(journal.count(), 0);
        select(2);
        fx->ui->answers = {1};
        l->lbDelete->click();
        QCOMPARE(rowsOf(QStringLiteral("select ID from cash")), QStringList{QStringLiteral("1")});
        QCOMPARE(journal.count(), 1);
    }

    // The dialog's captions come from the language set, the charge's from
    // its kind.
    void captions()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        QCOMPARE(d->cSubtotal->Caption(), QStringLiteral("Subtotal:"));
        QCOMPARE(d->bSave->Caption(), QStringLiteral("&Save"));
        QCOMPARE(d->cWarehouse->Caption(), QStringLiteral("Gudang:"));
    }
};

int runJournalRowTests(int argc, char** argv)
{
    TestJournalRows t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_journalrows.moc"
