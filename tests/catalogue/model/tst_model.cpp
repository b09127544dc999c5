// The widget-free catalogue module on a fresh copy of the template database:
// table naming, codes, statements, literal filters, list rows, print lines,
// the export workbook, and the inventory item's writes that fail half way.
#include "catalogue/model/catalogue.h"
#include "catalogue/model/inventory.h"
#include "catalogue/model/pagedlist.h"
#include "data/keptdata.h"
#include "data/summaries.h"
#include "support/datafixture.h"
#include "support/datarows.h"
#include "support/testserver.h"
#include "support/xlsxread.h"

#include <QLocale>
#include <QTest>
#include <algorithm>

using namespace catalogue;

namespace {
// Whether a charge is a contact: "select count(code) from `T` where `name`=…".
QString CountByNameSql(const QString& table, const QString& name)
{
    return QStringLiteral("select count(code) from %1 where `name`=%2")
        .arg(QLatin1Char('`') + table + QLatin1Char('`'), platform::Quote(name));
}
} // namespace

class TestCatalogueModel : public QObject {
    Q_OBJECT

    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<platform::DbConnection> db;

    int count(const QString& table, const QString& where = QString())
    {
        return db->GetValue(QStringLiteral("select count(*) from `%1` %2").arg(table, where)).toInt();
    }
    QStringList codes(const QString& sql)
    {
        QStringList out;
        for (auto rs = db->OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
            out << rs->Fields(QStringLiteral("code")).toString();
        return out;
    }

private slots:
    void init()
    {
        fx = std::make_unique<DataFixture>(QStringList{QStringLiteral("Empty.tdb")});
        db = std::make_unique<platform::DbConnection>();
        fx->openTemplate(*db);
    }
    void cleanup()
    {
        db.reset();
        fx.reset();
    }

    void tablesOfWords()
    {
        const QList<std::tuple<QString, QString, QString>> rows = {
            {"Sale", "SaleItems", "Customer"},
            {"Shop", "ShopItems", "Supplier"},
            {"Cash In", "Cash InItems", "Person"},
            {"Cash Out", "Cash OutItems", "Person"},
            {"Sale Retur", "SaleItems", "Customer"},
            {"Shop Retur", "ShopItems", "Supplier"},
            {"Unknown", "", ""},
            {"", "", ""},
        };
        for (const auto& [word, items, contacts] : rows) {
            QCOMPARE(ItemsTable(word), items);
            QCOMPARE(ContactTable(word), contacts);
        }
        QCOMPARE(ListCaption(QStringLiteral("Cash OutItems")), QStringLiteral("Data Kas Keluar"));
        QCOMPARE(ListCaption(QStringLiteral("Warehouse")), QStringLiteral("Data Gudang"));
        QCOMPARE(ListCaption(QStringLiteral("saleitems")), QString());
        QVERIFY(IsContactTable(QStringLiteral("warehouse")));
        QVERIFY(!IsContactTable(QStringLiteral("SaleItems")));
    }

    void reservedCodesInAnyCase()
    {
        for (const char* c : {"DS", "PN", "ds", "Pn", "pN"})
            QVERIFY2(IsReservedCode(QLatin1String(c)), c);
        for (const char* c : {"", "D", "DSX", "PPN", " DS"})
            QVERIFY2(!IsReservedCode(QLatin1String(c)), c);
        QCOMPARE(ReservedCodeMessage(), QStringLiteral("Kode 'DS' ataupun 'PN' tidak dapat digunakan\r\n"
                                                       "Karena digunakan untuk Diskon dan PPN"));
        QCOMPARE(DuplicateMessage(QStringLiteral("K'01")),
                 QStringLiteral("Item dengan Kode 'K01' sudah ada, coba Kode lain"));
    }

    // The discount amount is rounded to four decimals by the one rule: a
    // half in the fifth decimal goes up even where the product's binary form
    // lies just below it (1,500 x 6.66667% is 100.00005, held as
    // 100.0000499…).
    void discountAmountByTheOneRule()
    {
        QCOMPARE(DiscountAmount(1500, 6.66667), 100.0001);
        QCOMPARE(NetPrice(1500, 6.66667), 1399.9999);
        QCOMPARE(DiscountAmount(12345, 0.009), 1.1111);
        QCOMPARE(DiscountAmount(-9999, 0.015), -1.4999);
        QCOMPARE(DiscountAmount(10000, 33.33333), 3333.3330);
        QCOMPARE(DiscountAmount(0, 12.5), 0.0);
    }

    // The nominal discount as a percent of the price: six significant
    // digits by the one rounding rule, written as the display writes a
    // number and read back up to a regional decimal comma.
    void nominalDiscountText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<double>("price");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, const char* locale, const char* answer, double price, const char* text) {
            QTest::newRow(name) << QString::fromLatin1(locale) << QString::fromLatin1(answer) << price
                                << QString::fromLatin1(text);
        };
        row("a quarter", "en", "2500", 10000, "25");
        row("a third", "en", "1000", 3000, "33.3333");
        row("six digits", "en", "1000", 15000, "6.66667");
        row("a decimal comma ends it", "id", "1000", 15000, "6");
        row("half at the fourth decimal", "en", "3250", 32000, "10.1563");
        // 10.00025, held as 10.0002499…: the one rule goes up, where the
        // binary form alone gave 10.0002.
        row("half at the fourth decimal, just below in binary", "en", "1200.03", 12000, "10.0003");
        row("half at the fourth decimal, comma", "id", "1200.03", 12000, "10");
        row("small", "en", "1", 150000, "0.000666667");
        // Written with an exponent ("1E-05") this read back as 1 percent.
        row("tiny", "en", "1", 10000000, "0.00001");
        // Written grouped ("1,500" or "1.500") this read back as 1 or 1.5.
        row("many times the price", "en", "15000", 1000, "1500");
        row("many times the price, comma", "id", "15000", 1000, "1500");
        row("far beyond the price", "en", "100000000", 1, "10000000000");
        row("not a number", "en", "abc", 1000, "refused");
        row("a decimal comma", "en", "1,5", 1000, "0.15");
        row("an exponent", "en", "1e308", 1000, "refused");
        row("a minus", "en", "-2500", 10000, "refused");
        row("no answer", "en", "", 1000, "");
        row("no price", "en", "500", 0, "");
    }
    void nominalDiscountText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, answer);
        QFETCH(double, price);
        QFETCH(QString, text);
        const QLocale before;
        QLocale::setDefault(locale == QLatin1String("id") ? QLocale(QLocale::Indonesian, QLocale::Indonesia)
                                                          : QLocale(QLocale::English, QLocale::UnitedStates));
        const QString got = NominalDiscountText(answer, price).value_or(QStringLiteral("refused"));
        QLocale::setDefault(before);
        QCOMPARE(got, text);
    }

    // Written values come back as typed (apostrophes dropped), whole numbers
    // stay whole, and the net price never divides as integers.
    void writeAndReadItems()
    {
        const QString t = QStringLiteral("Cash InItems");
        db->Execute(InsertItemSql(t, {"K01", "Minuman", "Kopi 'Spesial'", 200, 15, ""}));
        db->Execute(InsertItemSql(t, {"K02", "Minuman", "Teh", 10000, 6.25, "Gelas"}));
        QVERIFY(CodeExists(*db, t, QStringLiteral("k01")));
        QVERIFY(!CodeExists(*db, QStringLiteral("SaleItems"), QStringLiteral("K01")));
        auto rs = db->OpenRecordset(ItemsListSql(t, QStringLiteral("where code='K01'")));
        QCOMPARE(rs->Fields(QStringLiteral("Name")).toString(), QStringLiteral("Kopi Spesial"));
        QCOMPARE(rs->Fields(QStringLiteral("Total")).toDouble(), 170.0);
        QCOMPARE(rs->Fields(QStringLiteral("satuan")).toString(), QString());
        QCOMPARE(ItemRow(*rs).size(), 114);
        QCOMPARE(ItemRow(*rs), QStringLiteral("K01      Minuman         Kopi Spesial                               200 "
                                              "       15%             170                "));
        QCOMPARE(DiscountAmount(200, 15), 30.0);
        QCOMPARE(NetPrice(10000, 6.25), 9375.0);

        QCOMPARE(EditItem(*db, t, {"K01", "Minuman", "Kopi Spesial", 200, 15, ""},
                          {"K03", "Makanan", "Roti", 5000, 0, "Pcs"}),
                 Outcome::Saved);
        QCOMPARE(codes(ItemsListSql(t, QString())), (QStringList{"K03", "K02"}));
        rs = db->OpenRecordset(RecordSql(t, QStringLiteral("k03")));
        QCOMPARE(rs->Fields(QStringLiteral("Category")).toString(), QStringLiteral("Makanan"));
        db->Execute(DeleteSql(t, QStringLiteral("K02")));
        QCOMPARE(count(t), 1);

        // A table that already holds two rows of a code (an edit can write
        // one) still refuses a third.
        db->Execute(InsertItemSql(t, {"K03", "X", "Y", 1, 0, ""}));
        QVERIFY(CodeExists(*db, t, QStringLiteral("K03")));
    }

    // A list of many rows at once gives the rows that one by one gives:
    // long cells cut with "..", amounts grouped, every column in its place.
    void listRowsAtOnce()
    {
        const QString t = QStringLiteral("SaleItems");
        db->Execute(InsertItemSql(t, {"K01", "Minuman", "Kopi Susu Gula Aren Dengan Es Batu", 1234567, 12.5, "Gelas"}));
        db->Execute(InsertItemSql(t, {"K02", "Makanan", "Roti", 5000, 0, ""}));
        QStringList one;
        for (auto rs = db->OpenRecordset(ItemsListSql(t, QString())); !rs->Eof(); rs->MoveNext())
            one << ItemRow(*rs);
        auto rs = db->OpenRecordset(ItemsListSql(t, QString()));
        QCOMPARE(platform::AllRows(ItemRowMaker(*rs)), one);
        QCOMPARE(one.value(0), QStringLiteral("K01      Minuman         Kopi Susu Gula Aren Dengan E..       "
                                              "1,234,567      12.5%       1,080,246           Gelas"));

        db->Execute(InsertContactSql(QStringLiteral("Customer"), {"C1", "Ibu Ani", "Jl. Mawar 1", "0812", ""}));
        db->Execute(InsertContactSql(QStringLiteral("Customer"), {"C2", "Bapak Budi", "", "", "021"}));
        one.clear();
        for (rs = db->OpenRecordset(ContactsListSql(QStringLiteral("Customer"), QString())); !rs->Eof(); rs->MoveNext())
            one << ContactRow(*rs);
        rs = db->OpenRecordset(ContactsListSql(QStringLiteral("Customer"), QString()));
        QCOMPARE(platform::AllRows(ContactRowMaker(*rs)), one);
        QCOMPARE(one.size(), 2);
    }

    // The whole catalogue's list is made as its rows are read: the same
    // rows as from a recordset read at once, null cells included, and a
    // walk left half way leaves the connection free for what comes next.
    void listRowsAsTheyAreRead()
    {
        const QString t = QStringLiteral("ShopItems");
        for (int i = 0; i < 300; ++i)
            db->Execute(InsertItemSql(t, {QStringLiteral("B%1").arg(i, 3, 10, QLatin1Char('0')),
                                          i % 2 ? QStringLiteral("Minuman") : QString(),
                                          QStringLiteral("Barang ke-%1 dengan nama yang panjang sekali").arg(i),
                                          1000.0 * i - 12345, i % 7 * 2.5, i % 3 ? QStringLiteral("Pcs") : QString()}));
        db->Execute(QStringLiteral("update ShopItems set category=null, satuan=null where code='B005'"));
        auto read = db->OpenRecordset(ItemsListSql(t, QString()));
        const QStringList atOnce = platform::AllRows(ItemRowMaker(*read));
        QCOMPARE(atOnce.size(), 300);
        auto walked = db->OpenCursor(ItemsListSql(t, QString()));
        QCOMPARE(platform::AllRows(ItemRowMaker(*walked)), atOnce);
        QVERIFY(walked->Eof());

        {
            auto half = db->OpenCursor(ContactsListSql(QStringLiteral("Supplier"), QString()));
            auto items = db->OpenCursor(ItemsListSql(t, QString()));
            for (int i = 0; i < 10; ++i)
                items->MoveNext();
            QCOMPARE(RowCode(ItemRow(*items)), QStringLiteral("B010"));
        }
        db->Execute(InsertItemSql(t, {"Z1", "X", "Y", 1, 0, ""}));
        QCOMPARE(count(t), 301);
        QVERIFY_THROWS_EXCEPTION(platform::DbError, db->OpenCursor(QStringLiteral("select * from nosuch")));
    }

    void writeAndReadContacts()
    {
        db->Execute(InsertContactSql(QStringLiteral("Warehouse"), {"G1", "Gudang Utama", "", "", ""}));
        QCOMPARE(EditContact(*db, QStringLiteral("Warehouse"), {"G1", "Gudang Utama", "", "", ""},
                             {"G2", "Gudang Dua", "Jl. A", "0812", "-"}),
                 Outcome::Saved);
        QCOMPARE(db->GetValue(NameByCodeSql(QStringLiteral("Warehouse"), QStringLiteral("g2"))).toString(),
                 QStringLiteral("Gudang Dua"));
        QCOMPARE(db->GetValue(CodeByCodeSql(QStringLiteral("Warehouse"), QStringLiteral("g2"))).toString(),
                 QStringLiteral("G2"));
        QVERIFY(db->GetValue(NameByCodeSql(QStringLiteral("Warehouse"), QStringLiteral("G1"))).isNull());
        QCOMPARE(db->GetValue(CountByNameSql(QStringLiteral("Warehouse"), QStringLiteral("gudang dua"))).toInt(), 1);
        auto rs = db->OpenRecordset(ContactsListSql(QStringLiteral("Warehouse"), QString()));
        QCOMPARE(ContactRow(*rs).size(), 102);
        QCOMPARE(RowCode(ContactRow(*rs)), QStringLiteral("G2"));
    }

    // What the operator types in a filter or search is literal: % and _ are
    // no wildcards. An apostrophe never breaks the statement: it is dropped,
    // as Quote drops it from every name stored.
    void literalFilters()
    {
        const QString t = QStringLiteral("SaleItems");
        db->Execute(QStringLiteral("insert into SaleItems values('A1', 'Diskon', '50% off', 1, 0, '')"));
        db->Execute(QStringLiteral("insert into SaleItems values('A2', 'Diskon', '500 gram', 1, 0, '')"));
        db->Execute(QStringLiteral("insert into SaleItems values('B_1', 'Kue', 'Kue Ibu''s', 1, 0, '')"));
        db->Execute(QStringLiteral("insert into SaleItems values('BX1', 'Kue', 'Kue Ibus!', 1, 0, '')"));
        auto list = [&](const QString& where) { return codes(ItemsListSql(t, where)); };
        QCOMPARE(list(ItemSearchCondition(QStringLiteral("50%"))), QStringList{"A1"});
        QCOMPARE(list(ItemSearchCondition(QStringLiteral("50"))), (QStringList{"A1", "A2"}));
        QCOMPARE(list(FieldCondition(ItemFilterField(0), QStringLiteral("B_"))), QStringList{"B_1"});
        // Which rows, not their order: a server's case-insensitive order puts
        // '_' after the letters, the file's before them.
        QStringList both = list(FieldCondition(ItemFilterField(0), QStringLiteral("b")));
        both.sort();
        QCOMPARE(both, (QStringList{"BX1", "B_1"}));
        QCOMPARE(list(ItemSearchCondition(QStringLiteral("Ibu's"))), QStringList{"BX1"});
        QCOMPARE(list(FieldCondition(ItemFilterField(2), QStringLiteral("k'ue ibus"))), QStringList{"BX1"});
        QCOMPARE(list(ItemSearchCondition(QStringLiteral("s!"))), QStringList{"BX1"});
        QCOMPARE(list(FieldCondition(ItemFilterField(2), QString())).size(), 4);
        both = list(CategoryCondition(QStringLiteral("kue")));
        both.sort();
        QCOMPARE(both, (QStringList{"BX1", "B_1"}));
        QCOMPARE(codes(ItemSuggestionsSql(t, QStringLiteral("B_"))), QStringList{"B_1"});

        db->Execute(QStringLiteral("insert into Customer values('C%', 'Ani', 'Jl. 100%', '', '')"));
        db->Execute(QStringLiteral("insert into Customer values('C2', 'Budi', 'Jl. 1000', '', '')"));
        QCOMPARE(codes(ContactsListSql(QStringLiteral("Customer"), ContactSearchCondition(QStringLiteral("0%")))),
                 QStringList{"C%"});
        QCOMPARE(codes(ContactsListSql(QStringLiteral("Customer"),
                                       FieldCondition(ContactFilterField(0), QStringLiteral("C%")))),
                 QStringList{"C%"});
    }

    void netPriceFilter()
    {
        db->Execute(InsertItemSql(QStringLiteral("ShopItems"), {"N1", "A", "B", 200, 25, ""}));
        db->Execute(InsertItemSql(QStringLiteral("ShopItems"), {"N2", "A", "B", 150, 0, ""}));
        QCOMPARE(codes(ItemsListSql(QStringLiteral("ShopItems"), FieldCondition(ItemFilterField(5), "15"))),
                 (QStringList{"N1", "N2"}));
        QCOMPARE(ItemFilterField(7), QString());
        QCOMPARE(ContactFilterField(5), QString());
    }

    void printLines()
    {
        PrintFilters none{QStringLiteral("(Semua)"), QStringLiteral("(Semua)"), {}, QStringLiteral("Kode"), {}};
        const QStringList plain = PrintHead(QStringLiteral("Data Penjualan"), none);
        QCOMPARE(plain, (QStringList{"DATA PENJUALAN", "", Rule()}));
        QCOMPARE(Rule().size(), 212);

        PrintFilters all{QStringLiteral("Minuman"), QStringLiteral("(Semua)"), QStringLiteral("kopi"),
                         QStringLiteral("Kode"), QStringLiteral("K")};
        const QStringList lines = PrintHead(QStringLiteral("Data Pelanggan"), all);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.at(1), QString(91, ' ') + QStringLiteral("Kategori: Minuman        "));
        QCOMPARE(lines.at(2), QString(82, ' ') + QStringLiteral("Keyword Pencarian: kopi           "));
        QCOMPARE(lines.at(3), QString(85, ' ') + QStringLiteral("Filter By Kode: K              "));
    }

    // The inventory item's writes on the database as a login leaves it
    // (with the running totals): each is all or nothing.
    void failedInventoryWritesLeaveNothing()
    {
        platform::EnsureSummaries(*db);
        db->Execute("alter table inventory rename to inventory_gone");
        QVERIFY_THROWS_EXCEPTION(platform::DbError,
                                 inventory::AddItem(*db, {"AIR", "Minuman", "Air", "Botol", 1, 0, 2, 0}));
        for (const char* t : {"shopitems", "saleitems", "stock", "stockshop", "stocksale"})
            QCOMPARE(count(QLatin1String(t)), 0);
        db->Execute("alter table inventory_gone rename to inventory");
        inventory::AddItem(*db, {"AIR", "Minuman", "Air", "Botol", 1, 0, 2, 0});
        db->Execute("alter table saleitems rename to saleitems_gone");
        QVERIFY_THROWS_EXCEPTION(platform::DbError, inventory::DeleteItem(*db, "AIR"));
        db->Execute("alter table saleitems_gone rename to saleitems");
        QCOMPARE(itemHoldings(*db, "AIR"), (QStringList{"1", "1", "1", "1", "1", "1"}));
    }

    void exportWorkbook()
    {
        db->Execute(InsertItemSql(QStringLiteral("SaleItems"), {"007", "Minuman", "Kopi", 15000, 15, "Gelas"}));
        db->Execute(InsertContactSql(QStringLiteral("Person"), {"P1", "Ani", "Jl. Mawar", "0812", ""}));
        const QStringList titles = {"Kode", "Kategori", "Deskripsi", "Harga", "Diskon", "Total", "Satuan"};
        const QString file = fx->path(QStringLiteral("items.xlsx"));
        ExportList(*db, ItemsExportSql(QStringLiteral("SaleItems"), QString()), true, titles, file);
        XlsxSheet sheet(file);
        QCOMPARE(sheet.text("A1"), QStringLiteral("Kode"));
        QCOMPARE(sheet.text("G1"), QStringLiteral("Satuan"));
        QVERIFY(sheet.bold("A1"));
        QCOMPARE(sheet.text("A2"), QStringLiteral("007"));
        QCOMPARE(sheet.number("D2"), 15000.0);
        QCOMPARE(sheet.format("D2"), QStringLiteral("#,##0"));
        QCOMPARE(sheet.number("E2"), 0.15);
        QCOMPARE(sheet.format("E2"), QStringLiteral("#0 %"));
        QCOMPARE(sheet.number("F2"), 12750.0);
        QCOMPARE(sheet.text("G2"), QStringLiteral("Gelas"));
        QVERIFY(sheet.border("G2"));
        QVERIFY(sheet.columnWidth(3) > 8);

        const QString contacts = fx->path(QStringLiteral("people.xlsx"));
        ExportList(*db, ContactsExportSql(QStringLiteral("Person"), QString()), false,
                   {"Kode", "Nama", "Alamat", "Telepon", "Fax"}, contacts);
        XlsxSheet people(contacts);
        QCOMPARE(people.rowRefs(2).size(), 5);
        QCOMPARE(people.text("B2"), QStringLiteral("Ani"));
        QCOMPARE(people.text("D2"), QStringLiteral("0812"));
        QCOMPARE(people.format("D2"), QStringLiteral("General"));
    }

    // The joined view's categories are those of its rows, as the distinct
    // over the whole join gives them: a category of buying items none of
    // which is bound in the inventory is left out, case variants once.
    void joinedCategoriesAreThoseOfTheJoin()
    {
        inventory::AddItem(*db, {"K1", "Kopi", "Kopi Hitam", "Gelas", 5000, 0, 8000, 0});
        inventory::AddItem(*db, {"T1", "Teh", "Teh Manis", "Gelas", 3000, 0, 5000, 0});
        inventory::AddItem(*db, {"K2", "kopi", "Kopi Susu", "Gelas", 6000, 0, 9000, 0});
        db->Execute(QStringLiteral("insert into ShopItems values('L1', 'Lepas', 'Bukan inventori', 1, 0, 'Pcs')"));
        const auto column = [&](const QString& sql) {
            QStringList out;
            for (auto rs = db->OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
                out << rs->Fields(0).toString().toLower();
            if (db->isOdbc())
                out.sort();
            return out;
        };
        const QStringList whole = column(
            QStringLiteral("select distinct shopitems.category from (inventory inner join shopitems on "
                           "inventory.code=shopitems.code) inner join saleitems on inventory.code=saleitems.code"));
        QCOMPARE(whole.size(), 2);
        QCOMPARE(column(inventory::CategoriesSql(QStringLiteral("Sale Shop"))), whole);
    }

    // A list shows the net price the cart charges: the discount amount
    // rounded to four places before it is taken off (100 less 0.50004 %
    // is 99.5, where the unrounded 99.49996 rounds to 99 on a receipt), in
    // the items list and the joined list alike.
    void netPriceAsTheCartHasIt()
    {
        inventory::AddItem(*db, {"NP", "X", "Bersih", "Pcs", 100, 0.50004, 100, 0.50004});
        QCOMPARE(platform::NetPrice(100, 0.50004), 99.5);
        // The net, shown whole, follows the discount's cell.
        const auto netShown = [](const QString& row) {
            const QStringList cells = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            return cells.value(cells.lastIndexOf(QStringLiteral("0.50004%")) + 1);
        };
        auto items = db->OpenRecordset(ItemsListSql(QStringLiteral("SaleItems"), QStringLiteral("where code='NP'")));
        QCOMPARE(netShown(ItemRow(*items)), QStringLiteral("100"));
        auto joined = db->OpenRecordset(inventory::ListSql(QStringLiteral("Sale Shop"), QString()));
        QCOMPARE(netShown(inventory::Row(inventory::Layout::Joined, *joined)), QStringLiteral("100"));
    }

    // A list read by pages gives the rows, and in the order, of the same
    // list read straight through: a contact table, the joined items with a
    // code bought twice, one category, a search word, a jump to the end;
    // and another workstation's changes between two pages neither move,
    // repeat nor skip a row, nor change the list's length.
    void pagedListsGiveTheRowsOfOneRead()
    {
        QVERIFY(platform::EnsureRowKeys(*db));
        QVERIFY(CanPage(*db));
        db->Begin();
        for (int i = 0; i < 600; ++i)
            db->Execute(QStringLiteral("insert into Customer values('C%1', 'Name %2', 'Street', '', '')")
                            .arg(1000 - i)
                            .arg(i % 7));
        for (int i = 0; i < 300; ++i) {
            const QString code = QStringLiteral("I%1").arg((i * 37) % 300);
            db->Execute(QStringLiteral("insert into inventory values('%1')").arg(QStringLiteral("I%1").arg(i)));
            db->Execute(QStringLiteral("insert into ShopItems values('%1', '%2', 'Item', %3, 0, 'Pcs')")
                            .arg(code, i % 3 ? QStringLiteral("A") : QStringLiteral("B"))
                            .arg(100 + i));
            db->Execute(QStringLiteral("insert into SaleItems values('%1', '%2', 'Item', %3, 5, 'Pcs')")
                            .arg(QStringLiteral("I%1").arg(i), i % 3 ? QStringLiteral("A") : QStringLiteral("B"))
                            .arg(200 + i));
        }
        db->Execute(QStringLiteral("insert into ShopItems values('I7', 'A', 'Again', 1, 0, 'Pcs')"));
        db->Execute(QStringLiteral("insert into SaleItems values('I9', 'A', 'Again', 1, 0, 'Pcs')"));
        db->Execute(QStringLiteral("insert into inventory values('I11')"));
        db->Commit();

        const auto whole = [&](const QString& sql, inventory::Layout layout) {
            auto rs = db->OpenCursor(sql);
            return platform::AllRows(inventory::RowMaker(layout, *rs));
        };
        // A server gives the rows of one code bought or sold twice in the
        // order of its plan of the moment, the whole read and the keys alike.
        const auto ties = [](QStringList rows) {
            if (OnServer())
                for (qsizetype i = 0, j = 0; i < rows.size(); i = j) {
                    const QString code = rows[i].section(QLatin1Char(' '), 0, 0);
                    for (j = i + 1; j < rows.size() && rows[j].section(QLatin1Char(' '), 0, 0) == code; ++j) {
                    }
                    std::sort(rows.begin() + i, rows.begin() + j);
                }
            return rows;
        };
        const auto paged = [&ties](platform::RowSource& source) {
            QStringList out;
            platform::ForEachRow(source, [&](qsizetype, const QString& row) { out << row; });
            return ties(out);
        };
        const auto rowOf = [](inventory::Layout layout) {
            return [layout](const platform::DbRecordset& rs) { return inventory::Row(layout, rs); };
        };
        using inventory::Layout;
        for (const QString word : {"Customer", "Sale Shop", "Sale"}) {
            const Layout layout = inventory::LayoutOf(word);
            for (const QString& where :
                 {QString(), inventory::CategoryCondition(word, QStringLiteral("B")),
                  inventory::SearchCondition(word, QStringLiteral("1")),
                  inventory::SearchCondition(word, QStringLiteral("Again")), inventory::SearchCondition(word, {})}) {
                const QStringList all = ties(whole(inventory::ListSql(word, where), layout));
                PagedList list(*db, inventory::ListSql(word, QString()), where, inventory::ListKeys(word, db->rowKey()),
                               rowOf(layout));
                QCOMPARE(list.count(), all.size());
                QCOMPARE(paged(list), all);
                PagedList jump(*db, inventory::ListSql(word, QString()), where, inventory::ListKeys(word, db->rowKey()),
                               rowOf(layout));
                QStringList tail;
                const qsizetype last = std::max<qsizetype>(0, all.size() - 10);
                jump.read(last, all.size() - last, tail);
                QCOMPARE(tail, all.mid(last));
                // A page ends after every row once, within the rows of one
                // code bought or sold twice as well.
                PagedList step(*db, inventory::ListSql(word, QString()), where, inventory::ListKeys(word, db->rowKey()),
                               rowOf(layout));
                QStringList one;
                for (qsizetype i = 0; i < all.size(); ++i)
                    step.read(i, 1, one);
                QCOMPARE(ties(one), all);
            }
        }
        QCOMPARE(whole(inventory::ListSql("Sale Shop", QString()), Layout::Joined).size(), 303);

        const QString contacts = inventory::ListSql("Customer", QString());
        const QStringList before = whole(contacts, Layout::Contacts);
        PagedList list(*db, contacts, QString(), {db->rowKey()}, rowOf(Layout::Contacts));
        QStringList first;
        list.read(0, 256, first);
        QCOMPARE(first, before.mid(0, 256));
        {
            platform::DbConnection other;
            OpenAnother(other, *db);
            other.Execute(QStringLiteral("delete from Customer where code in ('C744', 'C700')"));
            other.Execute(QStringLiteral("update Customer set `name`='Renamed' where code='C743'"));
            other.Execute(QStringLiteral("insert into Customer values('C1', 'Newcomer', '', '', '')"));
        }
        // Every row stays in its place: a row deleted meanwhile shows empty,
        // one renamed shows its new text, one added is not listed.
        QHash<QString, QString> now;
        for (const QString& row : whole(contacts, Layout::Contacts))
            now.insert(RowCode(row), row);
        QStringList expected;
        for (const QString& row : before)
            expected << now.value(RowCode(row));
        QStringList rest;
        list.read(256, 344, rest);
        QCOMPARE(rest, expected.mid(256));
        QCOMPARE(expected.count(QString()), 2);
        QVERIFY(rest.join(QString()).contains(QStringLiteral("Renamed")));
        // A page read again after the change: the same places.
        QStringList again;
        list.read(0, 256, again);
        QCOMPARE(again, expected.mid(0, 256));
        QCOMPARE(list.count(), 600);
    }

    void keysReadAheadFollowWrites()
    {
        QVERIFY(platform::EnsureRowKeys(*db));
        QVERIFY(platform::EnsureNameStamp(*db));
        db->Begin();
        for (int i = 0; i < 50; ++i)
            for (const char* table : {"ShopItems", "SaleItems"})
                db->Execute(QStringLiteral("insert into %1 values('I%2', 'A', 'Item %2', 100, 0, 'Pcs')")
                                .arg(QLatin1String(table))
                                .arg(i));
        for (int i = 0; i < 50; ++i)
            db->Execute(QStringLiteral("insert into inventory values('I%1')").arg(i));
        db->Commit();
        const QString word = QStringLiteral("Sale Shop");
        const auto layout = inventory::LayoutOf(word);
        const auto rowOf = [layout](const platform::DbRecordset& rs) { return inventory::Row(layout, rs); };
        const auto list = [&] {
            return std::make_unique<PagedList>(*db, inventory::ListSql(word, QString()), QString(),
                                               inventory::ListKeys(word, db->rowKey()), rowOf,
                                               inventory::ListTables(word));
        };
        const auto rows = [](PagedList& l) {
            QStringList out;
            l.read(0, l.count(), out);
            return out;
        };
        const auto readAhead = [&] {
            KeysAhead(*db, inventory::ListSql(word, QString()), QString(), inventory::ListKeys(word, db->rowKey()),
                      inventory::ListTables(word));
        };
        // Keys read ahead serve the list as its own kept keys would: no
        // statement of the list's reads them again.
        readAhead();
        quint64 before = db->statementCount();
        auto ahead = list();
        const quint64 aheadCost = db->statementCount() - before;
        before = db->statementCount();
        auto kept = list();
        QCOMPARE(aheadCost, db->statementCount() - before);
        QCOMPARE(ahead->count(), 50);
        QCOMPARE(rows(*ahead), rows(*kept));

        // Another workstation adds and removes items after the keys were
        // read ahead: the list reads them again.
        readAhead();
        {
            platform::DbConnection other;
            OpenAnother(other, *db);
            other.Execute(QStringLiteral("delete from inventory where code = 'I3'"));
            for (const char* table : {"ShopItems", "SaleItems"})
                other.Execute(QStringLiteral("insert into %1 values('I99', 'A', 'Newcomer', 1, 0, 'Pcs')")
                                  .arg(QLatin1String(table)));
            other.Execute(QStringLiteral("insert into inventory values('I99')"));
        }
        auto after = list();
        QCOMPARE(after->count(), 50);
        const QStringList shown = rows(*after);
        QVERIFY(shown.join(QString()).contains(QStringLiteral("Newcomer")));
        QVERIFY(!shown.contains(QString()));

        // Made while its keys are still being read ahead, the list waits
        // for them rather than reading the same join beside that read.
        db->Execute(QStringLiteral("delete from inventory where code = 'I4'"));
        KeysAhead reading(*db, inventory::ListSql(word, QString()), QString(), inventory::ListKeys(word, db->rowKey()),
                          inventory::ListTables(word));
        before = db->statementCount();
        auto during = list();
        QCOMPARE(db->statementCount() - before, aheadCost);
        QCOMPARE(during->count(), 49);
        QCOMPARE(rows(*during), rows(*list()));
    }

    void longListsReadInPartsKeepTheirOrder()
    {
        if (!db->isOdbc())
            QSKIP("a database file reads a list's keys in one statement");
        QVERIFY(platform::EnsureRowKeys(*db));
        // Enough items for the keys to come in parts, with gaps in the row
        // keys where parts may begin or end.
        for (const char* table : {"ShopItems", "SaleItems", "inventory"})
            db->Execute(QStringLiteral("insert into %1 (code) select concat('P', seq) from seq_1_to_30000")
                            .arg(QLatin1String(table)));
        db->Execute(
            QStringLiteral("delete from ShopItems where orv_row % 3751 = 0 or orv_row between 14990 and 15010"));
        const QString word = QStringLiteral("Sale Shop");
        const auto layout = inventory::LayoutOf(word);
        PagedList list(
            *db, inventory::ListSql(word, QString()), QString(), inventory::ListKeys(word, db->rowKey()),
            [layout](const platform::DbRecordset& rs) { return inventory::Row(layout, rs); },
            inventory::ListTables(word));
        QStringList shown;
        list.read(0, list.count(), shown);
        QStringList expected;
        for (auto rs = db->OpenCursor(QStringLiteral("select shopitems.code from shopitems inner join inventory on "
                                                     "inventory.code = shopitems.code order by shopitems.orv_row"));
             !rs->Eof(); rs->MoveNext())
            expected << rs->Fields(0).toString();
        QCOMPARE(shown.size(), expected.size());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QVERIFY2(shown[i].startsWith(expected[i] + QLatin1Char(' ')), qPrintable(QString::number(i)));
    }
};

int runModelTests(int argc, char** argv)
{
    TestCatalogueModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_model.moc"
