#include "data.h"

#include "bare.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <vector>

Span SpanMadeOn(const QDate& day)
{
    const QDate last = day.addDays(30);
    return {QDate(last.year() - 10, last.month(), 1), last};
}

QString KeptFile(const QString& setting, const Scale& scale)
{
    if (setting.isEmpty())
        return QString();
    QString prefix = setting;
    if (QFileInfo(setting).isDir() || setting.endsWith(QLatin1Char('/')))
        prefix = QDir(setting).filePath(QStringLiteral("orvbench-"));
    else if (setting.endsWith(QLatin1String(".cdb")))
        prefix = setting.chopped(4) + QLatin1Char('-');
    return prefix + QLatin1String(scale.name) + QStringLiteral(".cdb");
}

QString KeptServerFolder(const QString& setting)
{
    const QString file = KeptFile(setting, kScales[0]);
    return file.isEmpty() ? QString() : file.chopped(int(qstrlen(kScales[0].name) + 4)) + QStringLiteral("mariadb");
}

QByteArray ItemCode(int i)
{
    char code[16];
    std::snprintf(code, sizeof code, "I%05d", i);
    return QByteArray(code);
}

QByteArray StockCode(int i)
{
    char code[16];
    std::snprintf(code, sizeof code, "S%04d", i);
    return QByteArray(code);
}

Span DataSpan(const QString& file, const Scale& scale)
{
    if (!QFileInfo::exists(file))
        return {};
    try {
        Bare db(file);
        if (db.value(QStringLiteral("select max(ID) from cash")).toLongLong() != scale.journal ||
            db.value(QStringLiteral("select max(id) from stockflow")).toLongLong() != scale.movements ||
            db.value(QStringLiteral("select count(*) from inventory")).toLongLong() != scale.items ||
            db.value(QStringLiteral("select count(*) from Customer")).toLongLong() != scale.contacts)
            return {};
        return {QDate::fromString(db.value(QStringLiteral("select min(Moment) from cash")).toString(), Qt::ISODate),
                QDate::fromString(db.value(QStringLiteral("select max(Moment) from cash")).toString(), Qt::ISODate)};
    } catch (const std::exception&) {
        return {};
    }
}

namespace {

struct Index {
    QByteArray name;
    QByteArray sql;
};

// The indexes of the two big tables, taken off for the bulk insert and
// built again afterwards: one sort each instead of ten million inserts in
// the middle of a tree.
std::vector<Index> TakeIndexesOff(Bare& db)
{
    std::vector<Index> indexes;
    {
        Statement st(db, "select name, sql from sqlite_master where type='index' and sql is not null and "
                         "tbl_name in ('cash', 'stockflow')");
        while (sqlite3_step(st) == SQLITE_ROW)
            indexes.push_back({reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                               reinterpret_cast<const char*>(sqlite3_column_text(st, 1))});
    }
    for (const Index& i : indexes)
        db.exec(QByteArray("drop index \"" + i.name + "\"").constData());
    return indexes;
}

// Totals kept by triggers would be written once for every row of the bulk
// insert; the program's login builds them from the finished tables.
void TakeSummariesOff(Bare& db)
{
    std::vector<QByteArray> triggers;
    {
        Statement st(db, "select name from sqlite_master where type='trigger'");
        while (sqlite3_step(st) == SQLITE_ROW)
            triggers.push_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    for (const QByteArray& t : triggers)
        db.exec(QByteArray("drop trigger \"" + t + "\"").constData());
    for (const char* table : {"cashtotal", "stockmonth"})
        if (db.hasTable(table))
            db.exec((QByteArray("drop table ") + table).constData());
}

} // namespace

void TakeSummariesOff(const QString& file)
{
    Bare db(file);
    TakeSummariesOff(db);
}

void MakeData(const QString& file, const Scale& scale, const Span& span)
{
    Bare db(file);
    db.exec("pragma journal_mode=off");
    db.exec("pragma synchronous=off");
    db.exec("pragma cache_size=-262144");
    db.exec("pragma threads=4");
    TakeSummariesOff(db);
    const std::vector<Index> indexes = TakeIndexesOff(db);
    db.exec("begin");

    std::vector<QByteArray> days;
    for (QDate d = span.first; d <= span.last; d = d.addDays(1))
        days.push_back(d.toString(Qt::ISODate).toLatin1());
    char text[64];
    auto itemName = [&](const char* what, int i) { return int(std::snprintf(text, sizeof text, "%s %d", what, i)); };

    {
        Statement stock(db, "insert into stock values(?, ?, 'Gram')");
        for (int i = 0; i < kStockItems; ++i) {
            stock.text(1, StockCode(i));
            stock.text(2, text, itemName("Stock item", i));
            stock.insert();
        }
    }
    for (const char* table : {"SaleItems", "ShopItems"}) {
        const QByteArray sql = QByteArray("insert into ") + table + " values(?, ?, ?, ?, ?, 'Pcs')";
        Statement st(db, sql.constData());
        for (int i = 0; i < scale.items; ++i) {
            st.text(1, ItemCode(i));
            st.text(2, text, itemName("Category", i % 20));
            st.text(3, text, itemName("Item number", i));
            st.number(4, 1000 + (i % 97) * 250);
            st.number(5, i % 3 == 0 ? 5 : 0);
            st.insert();
        }
    }
    {
        Statement inventory(db, "insert into inventory values(?)");
        for (int i = 0; i < scale.items; ++i) {
            inventory.text(1, ItemCode(i));
            inventory.insert();
        }
    }
    // The items of the bench's sale take two stock items each, when sold
    // and when bought.
    int recipe = 0;
    for (const char* table : {"stocksale", "stockshop"}) {
        const QByteArray sql = QByteArray("insert into ") + table + " values(?, ?, ?, '0,5')";
        Statement st(db, sql.constData());
        for (int i = 0; i < kSaleLines; ++i)
            for (int k = 0; k < 2; ++k) {
                st.integer(1, ++recipe);
                st.text(2, StockCode(i + k * 500));
                st.text(3, ItemCode(i));
                st.insert();
            }
    }
    {
        Statement contact(db, "insert into Customer values(?, ?, ?, ?, '')");
        for (int i = 0; i < scale.contacts; ++i) {
            char code[16];
            std::snprintf(code, sizeof code, "C%06d", i);
            contact.text(1, code);
            contact.text(2, text, itemName("Customer", i));
            char address[32];
            std::snprintf(address, sizeof address, "Jl. Mawar %d", i % 300);
            contact.text(3, address);
            char phone[32];
            std::snprintf(phone, sizeof phone, "0812%07d", 100000 + i);
            contact.text(4, phone);
            contact.insert();
        }
    }
    db.exec("insert into Warehouse values('G1', 'Gudang Utama', '', '', '')");

    // Six sales for every purchase, cash in and cash out; four rows a
    // number; the rows spread evenly over the days.
    const char* kinds[] = {"Sale", "Sale", "Sale", "Sale", "Sale", "Sale", "Shop", "Cash In", "Cash Out"};
    {
        Statement cash(db, "insert into cash values(?, ?, ?, ?, '', 'Admin', 'G1', 'Umum', ?, ?, ?, 0, ?, ?, "
                           "'Pcs', ?, ?, 0, 0, ?, ?, ?, ?)");
        for (int i = 0; i < scale.journal; ++i) {
            const int number = i / 4 + 1;
            const int kind = number % 9;
            const int item = int((qint64(i) * 7) % scale.items);
            const double price = 1000 + (item % 97) * 250, quantity = 1 + i % 3, amount = price * quantity;
            const bool sale = kind < 6, shop = kind == 6, in = kind == 7, out = kind == 8;
            cash.integer(1, i + 1);
            cash.integer(2, number);
            cash.text(3, kinds[kind]);
            cash.text(4, days[size_t(qint64(i) * qint64(days.size()) / scale.journal)]);
            cash.text(5, ItemCode(item));
            cash.text(6, text, itemName("Item number", item));
            cash.number(7, price);
            cash.number(8, price);
            cash.number(9, quantity);
            cash.number(10, sale ? amount : 0);
            cash.number(11, shop ? amount : 0);
            cash.number(12, in ? amount : 0);
            cash.number(13, out ? amount : 0);
            cash.number(14, sale || in ? amount : 0);
            cash.number(15, sale || in ? 0 : amount);
            cash.insert();
        }
    }

    const char* moves[] = {"Sale", "Sale", "Sale", "Shop", "Opname", "Sale Retur", "Shop Retur"};
    {
        Statement flow(db, "insert into stockflow values(?, ?, ?, ?, ?, 'Gram', ?, ?)");
        for (int i = 0; i < scale.movements; ++i) {
            const int kind = i % 7;
            const int item = int((qint64(i) * 13) % kStockItems);
            const bool in = kind == 3 || kind == 5 || (kind == 4 && i % 2 == 0);
            flow.integer(1, i + 1);
            flow.text(2, days[size_t(qint64(i) * qint64(days.size()) / scale.movements)]);
            flow.text(3, moves[kind]);
            flow.text(4, StockCode(item));
            flow.text(5, text, itemName("Stock item", item));
            flow.number(6, in ? 2 + i % 5 : 0);
            flow.number(7, in ? 0 : 1 + i % 3);
            flow.insert();
        }
    }
    db.exec("commit");
    for (const Index& i : indexes)
        db.exec(i.sql.constData());
    // No "analyze": the program never runs it, so a shop's database has no
    // statistics, and its queries are planned as they are here.
}
