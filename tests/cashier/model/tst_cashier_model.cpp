// The cashier's widget-free code: the line and transaction arithmetic, the
// receipt lines, and the journal and stock rows of a save, on a fresh copy
// of the template.
#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cart.h"
#include "cashier/model/cartops.h"
#include "cashier/model/cartwrites.h"
#include "cashier/model/journal.h"
#include "cashier/model/receipt.h"
#include "core/model/shopsession.h"
#include "data/db.h"
#include "data/keptdata.h"
#include "data/sqltext.h"
#include "support/datafixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace cashier;

class TestCashierModel : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<platform::DbConnection> db;

    void exec(const QString& sql) { db->Execute(sql); }
    qint64 count(const QString& sql) { return db->GetValue(sql).toLongLong(); }
    void addLine(const QString& action, const QString& charge, const QString& code, const QString& name, double price,
                 double quantity, const QString& unit = QStringLiteral("Pcs"))
    {
        LineEntry e;
        e.charge = charge;
        e.code = code;
        e.name = name;
        e.price = e.subtotal = price;
        e.quantity = quantity;
        e.satuan = unit;
        e.total = price * quantity;
        AddCartLine(*db, action, e);
    }
    SaveHeader header(const QString& action, const QString& charge)
    {
        SaveHeader h;
        h.action = action;
        h.charge = charge;
        h.date = QDate(2010, 1, 1);
        h.note = QStringLiteral("Meja O'Neil");
        h.warehouse = QStringLiteral("Gudang Utama");
        h.cashier = QStringLiteral("Admin");
        return h;
    }
    // Every row of the tables a save touches, as text: "exactly as before".
    QStringList snapshot()
    {
        QStringList rows;
        for (const char* t : {"cash", "stockflow", "Salecart", "pending"}) {
            auto rs = db->OpenRecordset(QStringLiteral("select * from ") + QLatin1String(t));
            for (; !rs->Eof(); rs->MoveNext()) {
                QString r = QLatin1String(t);
                for (int i = 0; i < rs->columnCount(); ++i)
                    r += QLatin1Char('|') + rs->Fields(i).toString();
                rows << r;
            }
        }
        return rows;
    }

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Empty.tdb")});
        db = std::make_unique<platform::DbConnection>();
        fx->openTemplate(*db);
        exec(QStringLiteral("insert into ShopItems values('KOPI', 'Bahan', 'Biji Kopi', 1000, 10, 'Kg')"));
        exec(QStringLiteral("insert into stock values('S1', 'Kopi Bubuk', 'Gram')"));
        exec(QStringLiteral("insert into stocksale values(1, 'S1', 'ESP', '0,5')"));
        exec(QStringLiteral("insert into stockshop values(1, 'S1', 'KOPI', '0.5')"));
    }
    void cleanup()
    {
        db.reset();
        fx.reset();
    }

    void actionWords()
    {
        QCOMPARE(ActionWord(0), QStringLiteral("Sale"));
        QCOMPARE(ActionWord(3), QStringLiteral("Cash Out"));
        QCOMPARE(ActionWord(5), QStringLiteral("Shop Retur"));
        QCOMPARE(ActionWord(-1), QString());
        QCOMPARE(ActionWord(6), QString());
        QCOMPARE(ChargeCaptionKey(QStringLiteral("Sale Retur")), QStringLiteral("cCustomer"));
        QCOMPARE(ChargeCaptionKey(QStringLiteral("Shop")), QStringLiteral("cSupplier"));
        QCOMPARE(ChargeCaptionKey(QStringLiteral("Cash In")), QStringLiteral("cDepositor"));
        QCOMPARE(ChargeCaptionKey(QStringLiteral("Cash Out")), QStringLiteral("cRecipient"));
        QCOMPARE(ChargeCaptionKey(QString()), QStringLiteral("cCharge"));
    }

    void totals_data()
    {
        QTest::addColumn<QString>("cart");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("tax");
        QTest::addColumn<QString>("pay");
        QTest::addColumn<QStringList>("expected"); // discountN, after discount, taxN, due, change
        QTest::newRow("example") << "999"
                                 << "5"
                                 << "10"
                                 << "1,100" << QStringList{"-50", "949", "95", "1,044", "56"};
        QTest::newRow("nothing paid") << "999"
                                      << "5"
                                      << "10"
                                      << "" << QStringList{"-50", "949", "95", "1,044", "-1,044"};
        QTest::newRow("each figure rounded first") << "116"
                                                   << "10"
                                                   << "10"
                                                   << "" << QStringList{"-12", "104", "10", "114", "-114"};
        QTest::newRow("blank percents") << "27,000"
                                        << ""
                                        << ""
                                        << "30,000" << QStringList{"0", "27,000", "0", "27,000", "3,000"};
        QTest::newRow("whole discount") << "5,000"
                                        << "100"
                                        << "10"
                                        << "" << QStringList{"-5,000", "0", "0", "0", "0"};
        QTest::newRow("pasted letters paid") << "1,000"
                                             << "0"
                                             << "0"
                                             << "abc" << QStringList{"0", "1,000", "0", "1,000", "-1,000"};
        // A decimal percent with either separator (a cart of 44,000).
        QTest::newRow("decimal point") << "44,000"
                                       << "7.5"
                                       << "0"
                                       << "" << QStringList{"-3,300", "40,700", "0", "40,700", "-40,700"};
        QTest::newRow("decimal comma") << "44,000"
                                       << "7,5"
                                       << "2,5"
                                       << "" << QStringList{"-3,300", "40,700", "1,018", "41,718", "-41,718"};
        QTest::newRow("pasted minus") << "1,000"
                                      << "-5"
                                      << "-10"
                                      << "" << QStringList{"0", "1,000", "0", "1,000", "-1,000"};
        QTest::newRow("half away from zero") << "5"
                                             << "10"
                                             << "0"
                                             << "" << QStringList{"-1", "4", "0", "4", "-4"};
    }
    void totals()
    {
        QFETCH(QString, cart);
        QFETCH(QString, discount);
        QFETCH(QString, tax);
        QFETCH(QString, pay);
        QFETCH(QStringList, expected);
        const Totals t = ComputeTotals({cart, discount, tax, pay});
        QCOMPARE((QStringList{t.discountN, t.totalDiscount, t.taxN, t.totalTax, t.back}), expected);
    }

    void lineArithmetic()
    {
        QCOMPARE(DiscountAmountText(QStringLiteral("10"), QStringLiteral("10,000")), QStringLiteral("1000"));
        QCOMPARE(NetPriceText(QStringLiteral("10,000"), QStringLiteral("1,000")), QStringLiteral("9000"));
        QCOMPARE(LineTotalText(QStringLiteral("3"), QStringLiteral("9,000")), QStringLiteral("27000"));
        QCOMPARE(DiscountAmountText(QStringLiteral("33"), QStringLiteral("1,000")), QStringLiteral("330"));
        QCOMPARE(DiscountAmountText(QStringLiteral("12.5"), QStringLiteral("1,000")), QStringLiteral("125"));
        // A percent takes either decimal separator; a text that is not a
        // number is no percent at all.
        QCOMPARE(DiscountAmountText(QStringLiteral("2,5"), QStringLiteral("1,000")), QStringLiteral("25"));
        QCOMPARE(DiscountAmountText(QStringLiteral("7.5"), QStringLiteral("44,000")), QStringLiteral("3300"));
        QCOMPARE(DiscountAmountText(QStringLiteral("12.5abc"), QStringLiteral("1,000")), QStringLiteral("0"));
        QCOMPARE(PercentText(QStringLiteral("7,5")), QStringLiteral("7.5"));
        QCOMPARE(PercentText(QStringLiteral("10")), QStringLiteral("10"));
        QCOMPARE(PercentText(QString()), QString());
        // The discount amount of the one net-price rule, to four decimals.
        QCOMPARE(DiscountAmountText(QStringLiteral("3.33333"), QStringLiteral("12,345")), QStringLiteral("411.4996"));
        QCOMPARE(LineTotalText(QStringLiteral("2,5"), QStringLiteral("1,000")), QStringLiteral("2500"));
        QCOMPARE(LineTotalText(QString(), QStringLiteral("1,000")), QStringLiteral("0"));
        // Letters in an unfiltered field and a lone comma read as 0.
        QCOMPARE(NetPriceText(QStringLiteral("12a"), QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(LineTotalText(QStringLiteral(","), QStringLiteral("1,000")), QStringLiteral("0"));

        QCOMPARE(NetFromTotalText(QStringLiteral("7,500"), QStringLiteral("1"), QStringLiteral("0")),
                 std::optional<QString>(QStringLiteral("7500")));
        QCOMPARE(NetFromTotalText(QStringLiteral("5,000"), QStringLiteral("2,5"), QStringLiteral("0")),
                 std::optional<QString>(QStringLiteral("2000")));
        QCOMPARE(NetFromTotalText(QString(), QStringLiteral("1"), QStringLiteral("9")),
                 std::optional<QString>(QStringLiteral("0")));
        // A quantity of 0 leaves the net price as it is.
        QCOMPARE(NetFromTotalText(QStringLiteral("7,500"), QStringLiteral("0,0"), QStringLiteral("3,000")),
                 std::optional<QString>());
    }

    void cartRowsAndMerging()
    {
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("A01"),
                QStringLiteral("A name that is longer than thirty characters"), 1000, 3);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 2"), QStringLiteral("A01"), QStringLiteral("Kopi"), 1000,
                1);
        // Same code under the same charge: merged, priced anew, total from the net price.
        LineEntry e;
        e.charge = QStringLiteral("Meja 1");
        e.code = QStringLiteral("A01");
        e.name = QStringLiteral("Kopi");
        e.price = 1200;
        e.discount = 200;
        e.subtotal = 1000;
        e.quantity = 1.5;
        e.total = 1500;
        QCOMPARE(AddCartLine(*db, QStringLiteral("Sale"), e), qint64(1));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(2));
        const QList<CartLine> lines = CartLines(*db, QStringLiteral("Sale"), QStringLiteral("Meja 1"), false);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].quantity, 4.5);
        QCOMPARE(lines[0].price, 1200.0);
        QCOMPARE(lines[0].total, 4500.0);

        const QString row = CartLineRow(lines[0]);
        QCOMPARE(row.size(), 135);
        QCOMPARE(row.mid(9, 30), QStringLiteral("A name that is longer than t.."));
        QCOMPARE(row.mid(83, 15), QStringLiteral("        4.5 Pcs"));
        QCOMPARE(CartRowId(row), QStringLiteral("1"));
        QCOMPARE(CartRowId(CartRuleRow()), QString());
        QCOMPARE(CartTitleRow({"Code", "Description", "Price", "Discount", "Subtotal", "Quantity", "Total"}).size(),
                 114);
        QCOMPARE(CartRuleRow().size(), 121);

        QCOMPARE(TickedTotal(*db, QStringLiteral("Sale"), QStringLiteral("Meja 1")), QStringLiteral("4500"));
        exec(QStringLiteral("update Salecart set checked=0"));
        QCOMPARE(TickedTotal(*db, QStringLiteral("Sale"), QStringLiteral("Meja 1")), QStringLiteral("0"));
    }

    void receiptLines()
    {
        ReceiptInput in;
        in.actionText = QStringLiteral("Jual");
        in.company = QStringLiteral("Velmont Cafe & Resto");
        in.cashier = QStringLiteral("Administrator");
        in.charge = QStringLiteral("Meja Nomor Dua Belas");
        CartLine l;
        l.name = QStringLiteral("Es Kopi Susu Gula Aren Dengan Topping Keju");
        l.subtotal = 22500;
        l.quantity = 1.5;
        l.satuan = QStringLiteral("Gelas");
        l.total = 12345678;
        in.lines = {l};
        in.total = QStringLiteral("37,125"); // 33,750 with 10 % tax: 50,000 paid, 12,875 back
        in.pay = QStringLiteral("50,000");
        in.back = QStringLiteral("12,875");
        in.now = QStringLiteral("1/1/10 10:00 AM");

        const QStringList bill = ReceiptLines(in);
        QCOMPARE(bill.first(), QString(40, QLatin1Char('-')));
        QCOMPARE(bill[5], QStringLiteral("Cashier: Administr..Charge: Meja Nomor.."));
        QCOMPARE(bill[7], QStringLiteral("01. Es Kopi Susu Gula Aren Dengan Topp.."));
        QCOMPARE(bill[8], QStringLiteral("    22,500 x 1.5 Gelas         12,345,.."));
        QCOMPARE(bill[10], QStringLiteral("    Total                         37,125"));
        QVERIFY(!bill.join(QLatin1Char('\n')).contains(QStringLiteral("Bayar")));
        QCOMPARE(bill.size(), 18);
        for (int i : {5, 7, 8, 10})
            QCOMPARE(bill[i].size(), 40);

        in.no = 17;
        in.port = true;
        const QStringList receipt = ReceiptLines(in);
        QCOMPARE(receipt.first(), QStringLiteral("Jual / 17"));
        QCOMPARE(receipt[12], QStringLiteral("    Bayar                         50,000"));
        QCOMPARE(receipt[13], QStringLiteral("    Sisa                          12,875"));
        QCOMPARE(receipt.last().toLatin1(), QByteArray("\x1D\x56\x42\x00", 4));

        // A hundredth line does not fit its two-character number.
        in.lines = QList<CartLine>(100, l);
        QVERIFY(
            ReceiptLines(in).contains(QStringLiteral("... ") + QStringLiteral("Es Kopi Susu Gula Aren Dengan Topp..")));
    }

    // With a discount or a tax the paper shows a line for each between the
    // items and the total, so that they add up; without them, none.
    void receiptAddsUpOnPaper()
    {
        ReceiptInput in;
        in.actionText = QStringLiteral("Jual");
        in.no = 4;
        CartLine a;
        a.name = QStringLiteral("Ayam Bakar Madu");
        a.subtotal = 18000;
        a.quantity = 2;
        a.satuan = QStringLiteral("Porsi");
        a.total = 36000;
        CartLine b = a;
        b.name = QStringLiteral("Nasi Goreng Kampung");
        b.subtotal = b.total = 35000;
        b.quantity = 1;
        in.lines = {a, b};
        const auto paper = [&](const QString& discount, const QString& tax) {
            const Totals t = ComputeTotals({QStringLiteral("71,000"), discount, tax, QStringLiteral("100,000")});
            in.discount = PercentOf(discount);
            in.discountN = t.discountN;
            in.tax = PercentOf(tax);
            in.taxN = t.taxN;
            in.total = t.totalTax;
            in.pay = QStringLiteral("100,000");
            in.back = t.back;
            const QStringList lines = ReceiptLines(in);
            // From the rule under the items to the change.
            const qsizetype from = lines.indexOf(QString(40, QLatin1Char('-')), 8);
            return lines.mid(from + 1, lines.indexOf(QString(40, QLatin1Char('-')), from + 1) - from - 1);
        };
        const auto line = [](const QString& caption, const QString& amount) {
            return QStringLiteral("    ") + caption.leftJustified(27) + amount.rightJustified(9);
        };
        QCOMPARE(paper(QStringLiteral("0"), QStringLiteral("10")),
                 (QStringList{line(QStringLiteral("PPN 10%"), QStringLiteral("7,100")),
                              line(QStringLiteral("Total"), QStringLiteral("78,100")),
                              line(QStringLiteral("Bayar"), QStringLiteral("100,000")),
                              line(QStringLiteral("Sisa"), QStringLiteral("21,900"))}));
        // 71,000 - 5,325 + 6,568 = 72,243.
        QCOMPARE(paper(QStringLiteral("7,5"), QStringLiteral("10")),
                 (QStringList{line(QStringLiteral("Diskon 7.5%"), QStringLiteral("-5,325")),
                              line(QStringLiteral("PPN 10%"), QStringLiteral("6,568")),
                              line(QStringLiteral("Total"), QStringLiteral("72,243")),
                              line(QStringLiteral("Bayar"), QStringLiteral("100,000")),
                              line(QStringLiteral("Sisa"), QStringLiteral("27,757"))}));
        in.no = 0;
        QCOMPARE(paper(QString(), QStringLiteral("0")),
                 QStringList{line(QStringLiteral("Total"), QStringLiteral("71,000"))});
    }

    // A negative price, net price, total or quantity on any kind refuses
    // the whole save and writes nothing. Whatever is written, each row's
    // sides agree with the signs of its amount columns, so that the cash
    // balance moves by what the columns say.
    void negativeLinesAndTheSidesOfTheJournal()
    {
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, 2);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("X"), QStringLiteral("Titipan"),
                -35000, 1);
        addLine(QStringLiteral("Shop"), QStringLiteral("Toko"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 1000,
                -3);
        addLine(QStringLiteral("Sale Retur"), QStringLiteral("Budi"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, -1);
        const QStringList before = snapshot();
        for (const char* action : {"Sale", "Shop", "Sale Retur"}) {
            const QString charge = QLatin1String(action) == QLatin1String("Sale")   ? QStringLiteral("Meja 1")
                                   : QLatin1String(action) == QLatin1String("Shop") ? QStringLiteral("Toko")
                                                                                    : QStringLiteral("Budi");
            const SaveResult r = SaveTransaction(*db, header(QLatin1String(action), charge));
            QVERIFY(!r.saved);
            QVERIFY(r.negativeLine);
        }
        QCOMPARE(snapshot(), before);
        QVERIFY(!db->inTransaction());

        // The sale without its negative line, with a discount and a tax; the
        // buying cost by the one net price (12,345 at 3.33333 %).
        exec(QStringLiteral("delete from Salecart where code='X'"));
        exec(QStringLiteral("delete from Shopcart"));
        exec(QStringLiteral("delete from `Sale Returcart`"));
        exec(QStringLiteral("update ShopItems set price=12345, discount=3.33333"));
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 15000,
                2);
        SaveHeader h = header(QStringLiteral("Sale"), QStringLiteral("Meja 1"));
        const Totals t = ComputeTotals({QStringLiteral("66,000"), QStringLiteral("7,5"), QStringLiteral("10"), {}});
        h.discount = QStringLiteral("7,5");
        h.discountN = t.discountN;
        h.tax = QStringLiteral("10");
        h.taxN = t.taxN;
        const SaveResult sale = SaveTransaction(*db, h);
        QVERIFY(sale.saved);
        const JournalRow& cost = sale.rows.journal[2];
        QCOMPARE(cost.code, QStringLiteral("KOPI"));
        QCOMPARE(cost.subtotal, platform::NetPrice(12345, 3.33333));
        QCOMPARE(platform::Num(cost.subtotal), QStringLiteral("11933.5004"));
        QCOMPARE(db->GetValue(QStringLiteral("select SubTotal from cash where Category='Shop'")).toDouble(),
                 11933.5004);
        QCOMPARE(sale.rows.journal.last().code, QStringLiteral("PN"));
        QCOMPARE(sale.rows.journal[3].quantity, 7.5);

        // A cash kind as well; a return books its own side.
        addLine(QStringLiteral("Cash In"), QStringLiteral("Budi"), QStringLiteral("K"), QStringLiteral("Koreksi"),
                -5000, 1);
        QVERIFY(SaveTransaction(*db, header(QStringLiteral("Cash In"), QStringLiteral("Budi"))).negativeLine);
        addLine(QStringLiteral("Sale Retur"), QStringLiteral("Budi"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, 1);
        QVERIFY(SaveTransaction(*db, header(QStringLiteral("Sale Retur"), QStringLiteral("Budi"))).saved);

        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(6));
        QCOMPARE(count(QStringLiteral("select count(*) from cash where Debit < 0 or Credit < 0 or abs((Debit - "
                                      "Credit) - (Sale + Cash_In + Shop_Retur - Shop - Cash_Out - Sale_Retur)) > "
                                      "0.00001")),
                 qint64(0));
    }

    void saleRowsWithPurchaseStockDiscountAndTax()
    {
        exec(QStringLiteral("insert into pending values('Sale', 'Meja 1', 'Gudang Utama')"));
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 3000,
                2);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, 3, QStringLiteral("Gelas"));
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("TEH"), QStringLiteral("Teh"), 5000,
                1);
        exec(QStringLiteral("update Salecart set checked=0 where code='TEH'"));

        // Cart 60,000; 5 % and 10 %: -3,000, 57,000, 5,700, 62,700.
        SaveHeader h = header(QStringLiteral("Sale"), QStringLiteral("Meja 1"));
        const Totals t = ComputeTotals({QStringLiteral("60,000"), QStringLiteral("5"), QStringLiteral("10"), {}});
        h.discount = QStringLiteral("5");
        h.discountN = t.discountN;
        h.tax = QStringLiteral("10");
        h.taxN = t.taxN;
        const SaveResult r = SaveTransaction(*db, h);
        QVERIFY(r.saved);
        QCOMPARE(r.no, qint64(1));
        QCOMPARE(r.rows.lastId, qint64(5));

        const QList<JournalRow>& j = r.rows.journal;
        QCOMPARE(j.size(), 5);
        QCOMPARE(j[0].category, QStringLiteral("Sale"));
        QCOMPARE(j[0].sale, 6000.0);
        QCOMPARE(j[0].debit, 6000.0);
        // The sold item that is also bought: its buying cost.
        QCOMPARE(j[1].category, QStringLiteral("Shop"));
        QCOMPARE(j[1].price, 1000.0);
        QCOMPARE(j[1].discount, 10.0);
        QCOMPARE(j[1].subtotal, 900.0);
        QCOMPARE(j[1].shop, 1800.0);
        QCOMPARE(j[1].credit, 1800.0);
        QCOMPARE(j[1].sale, 0.0);
        QCOMPARE(j[2].code, QStringLiteral("ESP"));
        QCOMPARE(j[3].code, QStringLiteral("DS"));
        QCOMPARE(j[3].sale, -3000.0);
        QCOMPARE(j[3].credit, 3000.0);
        QCOMPARE(j[3].debit, 0.0);
        QCOMPARE(j[3].price, 60000.0);
        QCOMPARE(j[3].quantity, 5.0);
        QCOMPARE(j[4].code, QStringLiteral("PN"));
        QCOMPARE(j[4].sale, 5700.0);
        QCOMPARE(j[4].debit, 5700.0);
        QCOMPARE(j[4].subtotal, 57000.0);

        // 3 units through a recipe of 0,5: 1.5 out.
        QCOMPARE(r.rows.stock.size(), 1);
        QCOMPARE(r.rows.stock[0].movement.out, 1.5);
        QCOMPARE(r.rows.stock[0].movement.in, 0.0);

        // What was written: ids 1..5 under one number, the note without its
        // apostrophe, the saved lines and the held warehouse gone, the
        // unticked line kept.
        QCOMPARE(count(QStringLiteral("select count(*) from cash where no=1")), qint64(5));
        QCOMPARE(count(QStringLiteral("select max(ID) from cash")), qint64(5));
        QCOMPARE(db->GetValue(QStringLiteral("select Keterangan from cash where ID=1")).toString(),
                 QStringLiteral("Meja ONeil"));
        QCOMPARE(db->GetValue(QStringLiteral("select Moment from cash where ID=3")).toString(),
                 QStringLiteral("2010-01-01"));
        QCOMPARE(db->GetValue(QStringLiteral("select sum(Sale) from cash")).toDouble(), 62700.0);
        QCOMPARE(db->GetValue(QStringLiteral("select `out` from stockflow where category='Sale'")).toDouble(), 1.5);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(1));
        QCOMPARE(count(QStringLiteral("select count(*) from pending")), qint64(0));

        // The next save continues the ids and numbers; nothing ticked writes nothing.
        exec(QStringLiteral("update Salecart set checked=1"));
        const SaveResult second = SaveTransaction(*db, header(QStringLiteral("Sale"), QStringLiteral("Meja 1")));
        QCOMPARE(second.no, qint64(2));
        QCOMPARE(second.rows.journal.first().id, qint64(6));
        QVERIFY(!SaveTransaction(*db, header(QStringLiteral("Sale"), QStringLiteral("Meja 1"))).saved);
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(6));
    }

    void purchaseCashAndReturnRows()
    {
        addLine(QStringLiteral("Shop"), QStringLiteral("Toko"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 1000,
                3);
        SaveResult r = SaveTransaction(*db, header(QStringLiteral("Shop"), QStringLiteral("Toko")));
        QCOMPARE(r.rows.journal.size(), 1);
        QCOMPARE(r.rows.journal[0].shop, 3000.0);
        QCOMPARE(r.rows.journal[0].credit, 3000.0);
        QCOMPARE(r.rows.stock[0].movement.in, 1.5);
        QCOMPARE(r.rows.stock[0].movement.out, 0.0);

        for (const char* action : {"Cash In", "Cash Out"}) {
            addLine(QLatin1String(action), QStringLiteral("Budi"), QStringLiteral("X"), QStringLiteral("Setoran"),
                    50000, 1);
            r = SaveTransaction(*db, header(QLatin1String(action), QStringLiteral("Budi")));
            QCOMPARE(r.rows.journal.size(), 1);
            QVERIFY(r.rows.stock.isEmpty());
            const JournalRow& row = r.rows.journal[0];
            QCOMPARE(action == QLatin1String("Cash In") ? row.cashIn : row.cashOut, 50000.0);
            QCOMPARE(action == QLatin1String("Cash In") ? row.debit : row.credit, 50000.0);
        }

        // A sale return books no buying cost and brings the stock back in.
        addLine(QStringLiteral("Sale Retur"), QStringLiteral("Budi"), QStringLiteral("KOPI"), QStringLiteral("Kopi"),
                3000, 1);
        addLine(QStringLiteral("Sale Retur"), QStringLiteral("Budi"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, 2);
        r = SaveTransaction(*db, header(QStringLiteral("Sale Retur"), QStringLiteral("Budi")));
        QCOMPARE(r.rows.journal.size(), 2);
        QCOMPARE(r.rows.journal[0].saleRetur, 3000.0);
        QCOMPARE(r.rows.journal[0].credit, 3000.0);
        QCOMPARE(r.rows.stock[0].movement.in, 1.0);
        QCOMPARE(count(QStringLiteral("select count(*) from cash where no=4")), qint64(2));
    }

    // The catalogue is read once for the whole cart: each line still finds
    // its buying price and its recipe as a lookup of its own code would, in
    // another case too, and a code on two lines finds them twice.
    void saveReadsTheCatalogueForEveryLine()
    {
        exec(QStringLiteral("insert into stock values('S2', 'Gula', 'Gram')"));
        exec(QStringLiteral("insert into stocksale values(2, 'S2', 'ESP', '1')"));
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("esp"), QStringLiteral("Espresso"),
                18000, 2);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("kopi"), QStringLiteral("Kopi"), 3000,
                1);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 2"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 3000,
                3);
        exec(QStringLiteral("update Salecart set charge='Meja 1'"));
        const SaveResult r = SaveTransaction(*db, header(QStringLiteral("Sale"), QStringLiteral("Meja 1")));
        QVERIFY(r.saved);
        QStringList journal;
        for (const JournalRow& j : r.rows.journal)
            journal << j.category + QLatin1Char(' ') + j.code + QLatin1Char(' ') + platform::Num(j.credit);
        QCOMPARE(journal, (QStringList{QStringLiteral("Sale esp 0"), QStringLiteral("Sale kopi 0"),
                                       QStringLiteral("Shop kopi 900"), QStringLiteral("Sale KOPI 0"),
                                       QStringLiteral("Shop KOPI 2700")}));
        QStringList moved;
        for (const StockRow& s : r.rows.stock)
            moved << s.movement.code + QLatin1Char(' ') + platform::Num(s.movement.out);
        QCOMPARE(moved, (QStringList{QStringLiteral("S1 1"), QStringLiteral("S2 2")}));
    }

    // The suggestion list read a page at a time gives the rows of the whole
    // read, in its order: walked down, jumped to its end, a code on two
    // rows across a page's end, and rows added, changed and deleted between
    // two pages (each row keeps its place).
    void itemSuggestionsByPage()
    {
        // As at a login: a server's tables take the numbers the list is read by.
        QVERIFY(platform::EnsureRowKeys(*db));
        {
            platform::DbTransaction tx(*db);
            for (int i = 0; i < 600; ++i)
                exec(QStringLiteral("insert into SaleItems values('A%1', 'Minum', 'Item %1', 1000, 0, 'Pcs')")
                         .arg(i, 4, 10, QLatin1Char('0')));
            exec(QStringLiteral("insert into SaleItems values('A0255', 'Minum', 'Item 0255', 1000, 0, 'Pcs')"));
            exec(QStringLiteral("insert into SaleItems values('b0001', 'Minum', 'Lain', 1000, 0, 'Pcs')"));
            exec(QStringLiteral("insert into SaleItems values('a0700', 'Minum', 'Kecil', 1000, 0, 'Pcs')"));
            tx.commit();
        }
        const QString sale = QStringLiteral("Sale");
        const QStringList whole = ItemSuggestionRows(*db, sale, QStringLiteral("A"));
        QCOMPARE(whole.size(), 602);
        auto walk = [](platform::RowSource& source) {
            QStringList rows;
            platform::ForEachRow(source, [&](qsizetype, const QString& row) { rows << row; });
            return rows;
        };
        auto source = ItemSuggestionSource(*db, sale, QStringLiteral("A"));
        QCOMPARE(source->count(), whole.size());
        QCOMPARE(walk(*source), whole);
        QCOMPARE(whole[255].left(5), QStringLiteral("A0255"));
        QCOMPARE(whole[256].left(5), QStringLiteral("A0255"));

        auto page = [](platform::RowSource& source, qsizetype first, qsizetype n) {
            QStringList rows;
            source.read(first, n, rows);
            return rows;
        };
        source = ItemSuggestionSource(*db, sale, QStringLiteral("A"));
        QCOMPARE(page(*source, 512, 90), whole.mid(512));
        QCOMPARE(page(*source, 0, 256), whole.mid(0, 256));
        QCOMPARE(page(*source, 256, 256), whole.mid(256, 256));

        source = ItemSuggestionSource(*db, sale, QStringLiteral("A"));
        QCOMPARE(page(*source, 0, 256), whole.mid(0, 256));
        exec(QStringLiteral("delete from SaleItems where code='A0300'"));
        exec(QStringLiteral("insert into SaleItems values('A0100X', 'Minum', 'Baru', 1000, 0, 'Pcs')"));
        exec(QStringLiteral("update SaleItems set `name`='Ganti' where code='A0400'"));
        // Each row keeps its place: the deleted one shows empty, the new
        // one is not listed, the renamed one shows its new name.
        const QStringList next = page(*source, 256, 256);
        QCOMPARE(next.size(), 256);
        QStringList expected = whole.mid(256, 256);
        expected[expected.indexOf(QStringLiteral("A0300    Item 0300                     "))] = QString();
        expected[expected.indexOf(QStringLiteral("A0400    Item 0400                     "))] =
            QStringLiteral("A0400    Ganti                         ");
        QCOMPARE(next, expected);

        QVERIFY(!ItemSuggestionSource(*db, sale, QString()));
        QCOMPARE(ItemSuggestionSource(*db, sale, QStringLiteral("Z"))->count(), 0);
    }

    void failureMidSaveLeavesEverythingAsBefore()
    {
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("KOPI"), QStringLiteral("Kopi"), 3000,
                2);
        addLine(QStringLiteral("Sale"), QStringLiteral("Meja 1"), QStringLiteral("ESP"), QStringLiteral("Espresso"),
                18000, 1);
        exec(QStringLiteral("insert into pending values('Sale', 'Meja 1', 'Gudang Utama')"));
        exec(QStringLiteral("insert into cash (ID, no, Category) values(7, 3, 'Sale')"));
        // The stock rows fail after the journal rows of the first line.
        exec(QStringLiteral("alter table stockflow rename to stockflow_gone"));
        exec(QStringLiteral("create table stockflow (id INTEGER, moment TEXT, category TEXT CHECK (category <> "
                            "'Sale'), code TEXT, description TEXT, unit TEXT, `in` REAL, `out` REAL)"));
        const QStringList before = snapshot();
        QVERIFY_THROWS_EXCEPTION(platform::DbError,
                                 SaveTransaction(*db, header(QStringLiteral("Sale"), QStringLiteral("Meja 1"))));
        QCOMPARE(snapshot(), before);
        QVERIFY(!db->inTransaction());
    }

    // Two tills on one held cart. Another till deletes AMR (number 2) and
    // adds Cappuccino to Meja 02, which takes number 2; it re-prices ESP.
    // Every write of the first till names the lines it showed and touches
    // nothing, the catalogue included.
    void cartWritesNameTheLinesShown()
    {
        platform::DbConnection other;
        OpenAnother(other, *db);
        const QString sale = QStringLiteral("Sale"), table = QStringLiteral("Meja 01");
        exec(QStringLiteral("insert into SaleItems values('ESP', 'Minuman', 'Espresso', 18000, 0, 'Gelas')"));
        addLine(sale, table, QStringLiteral("ESP"), QStringLiteral("Espresso"), 18000, 2);
        addLine(sale, table, QStringLiteral("AMR"), QStringLiteral("Americano"), 22000, 1);
        const QList<CartLine> shown = CartLines(*db, sale, table, false);
        other.Execute(QStringLiteral("delete from Salecart where id=2"));
        LineEntry cap{QStringLiteral("Meja 02"),
                      QStringLiteral("CAP"),
                      {},
                      QStringLiteral("Cappuccino"),
                      20000,
                      0,
                      20000,
                      4,
                      QStringLiteral("Gelas"),
                      80000};
        QCOMPARE(AddCartLine(other, sale, cap), qint64(2));
        QCOMPARE(EditCartLine(other, sale, CartLines(other, sale, table, false).at(0), {20000, 2, 40000}),
                 EditOutcome::PriceChanged);
        const QStringList before = snapshot();
        for (const CartLine& line : shown) {
            QVERIFY(!DeleteCartLine(*db, sale, line));
            QCOMPARE(EditCartLine(*db, sale, line, {line.subtotal, 3, line.subtotal * 3}), EditOutcome::Gone);
            QVERIFY(!SplitCartLine(*db, sale, line));
            QVERIFY(!TickLine(*db, sale, line, false));
        }
        QVERIFY(!TickCharge(*db, sale, table, shown, 0));
        QVERIFY(!ClearTickedLines(*db, sale, table, shown));
        QVERIFY(!MoveCharge(*db, sale, table, QStringLiteral("Meja 03"), shown));
        QCOMPARE(snapshot(), before);
        QCOMPARE(db->GetValue(QStringLiteral("select price from SaleItems where code='ESP'")).toDouble(), 20000.0);
    }

    // Paid as shown or not at all: a line added, grown or gone at another
    // till, or figures that are not the shown lines', book nothing; as
    // shown, the journal books the shown total with the tax on it.
    void paidAsShownOrNotAtAll()
    {
        platform::DbConnection other;
        OpenAnother(other, *db);
        const QString sale = QStringLiteral("Sale"), table = QStringLiteral("Meja 09");
        addLine(sale, table, QStringLiteral("NGA"), QStringLiteral("Nasi Goreng Ayam"), 30000, 2);
        SaveHeader h = header(sale, table);
        h.tax = QStringLiteral("10");
        const Totals t = ComputeTotals({QStringLiteral("60,000"), QString(), h.tax, QString()});
        std::tie(h.discountN, h.taxN, h.due) = std::tie(t.discountN, t.taxN, t.totalTax);
        h.shown = CartLines(*db, sale, table, true);
        const QList<std::pair<const char*, const char*>> changes = {
            {"insert into Salecart values(5, 'Meja 09', 'NGS', '', 'Nasi', 20000, 0, 20000, 1, '', 20000, 1)",
             "delete from Salecart where id=5"},
            {"update Salecart set quantity=3, total=90000", "update Salecart set quantity=2, total=60000"},
            {"update Salecart set checked=0", "update Salecart set checked=1"}};
        for (const auto& [change, undo] : changes) {
            other.Execute(QLatin1String(change));
            QVERIFY(SaveTransaction(*db, h).changed);
            other.Execute(QLatin1String(undo));
        }
        SaveHeader wrongDue = h;
        wrongDue.due = QStringLiteral("60,000");
        QVERIFY(SaveTransaction(*db, wrongDue).changed);
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));
        QVERIFY(SaveTransaction(*db, h).saved);
        QCOMPARE(db->GetValue(QStringLiteral("select sum(debit) from cash where category='Sale'")).toDouble(), 66000.0);
    }

    // A save whose COMMIT got no answer is told by what the database holds:
    // its rows under its No, or its lines still held, or neither.
    void fateOfASaveFromTheDatabase()
    {
        const QString sale = QStringLiteral("Sale"), table = QStringLiteral("Meja 1");
        addLine(sale, table, QStringLiteral("ESP"), QStringLiteral("Espresso"), 18000, 1);
        const SaveHeader h = header(sale, table);
        const SaveResult saved = SaveTransaction(*db, h);
        QVERIFY(saved.saved);
        QCOMPARE(FateOfSave(*db, h, saved), SaveFate::Saved);
        // The same cart again, its COMMIT lost; another till's sale takes
        // the No.
        addLine(sale, table, QStringLiteral("ESP"), QStringLiteral("Espresso"), 18000, 1);
        SaveResult lost = saved;
        lost.lines = CartLines(*db, sale, table, true);
        exec(QStringLiteral("update cash set cashier='Budi'"));
        QCOMPARE(FateOfSave(*db, h, lost), SaveFate::NotSaved);
        exec(QStringLiteral("delete from Salecart"));
        QCOMPARE(FateOfSave(*db, h, lost), SaveFate::Unknown);
    }

    // Each cart write tells the session what it changed, a refused one that
    // the cart changed; a new price is the catalogue's news too.
    void cartWritesTellTheSession()
    {
        ShopSession s(*db, QStringLiteral("Admin"));
        QSignalSpy cart(&s, &ShopSession::cartChanged), items(&s, &ShopSession::catalogueChanged),
            journal(&s, &ShopSession::journalChanged), stock(&s, &ShopSession::stockChanged);
        const QString sale = QStringLiteral("Sale"), table = QStringLiteral("Meja 1");
        exec(QStringLiteral("insert into SaleItems values('ESP', 'Minuman', 'Espresso', 18000, 0, 'Gelas')"));
        AddCartLine(s, sale, {table, QStringLiteral("ESP"), {}, {}, 18000, 0, 18000, 3, {}, 54000});
        QVERIFY(ScanIntoCart(s, sale, table, QStringLiteral("ESP")));
        CartLine line = CartLines(*db, sale, table, false).at(0);
        QVERIFY(TickLine(s, sale, line, true));
        QCOMPARE(EditCartLine(s, sale, line, {18000, 2, 36000}), EditOutcome::Quantity);
        QCOMPARE(items.size(), 0);
        QCOMPARE(EditCartLine(s, sale, line, {20000, 2, 40000}), EditOutcome::Gone);
        line = CartLines(*db, sale, table, false).at(0);
        QCOMPARE(EditCartLine(s, sale, line, {20000, 2, 40000}), EditOutcome::PriceChanged);
        QCOMPARE(items.size(), 1);
        QCOMPARE(SplitCartLine(s, sale, CartLines(*db, sale, table, false).at(0)), std::optional<int>(2));
        QVERIFY(MoveCharge(s, sale, table, QStringLiteral("Meja 2"), CartLines(*db, sale, table, false)));
        QCOMPARE(cart.size(), 8);
        QVERIFY(SaveTransaction(s, header(sale, QStringLiteral("Meja 2"))).saved);
        QCOMPARE(cart.size(), 9);
        QCOMPARE(journal.size(), 1);
        QCOMPARE(stock.size(), 1);
    }
};

int runCashierModelTests(int argc, char** argv)
{
    TestCashierModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_cashier_model.moc"
