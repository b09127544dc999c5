#include "catalogue/model/inventory.h"

#include "data/sqltext.h"
#include "data/textcells.h"

using platform::AlignLeft;
using platform::AlignRight;
using platform::DbConnection;
using platform::Num;
using platform::Pad;
using platform::Quote;

namespace inventory {

namespace {

const QStringList kWords = {
    QStringLiteral("Sale Shop"), QStringLiteral("Sale"),     QStringLiteral("Shop"),
    QStringLiteral("Cash In"),   QStringLiteral("Cash Out"), QStringLiteral("Customer"),
    QStringLiteral("Supplier"),  QStringLiteral("Person"),   QStringLiteral("Warehouse"),
};

const QString kJoin = QStringLiteral("(inventory inner join shopitems on inventory.code=shopitems.code) "
                                     "inner join saleitems on inventory.code=saleitems.code");

const int kJoinedWidths[] = {8, 12, 30, 10, 15, 15, 15, 15, 15, 15};

QString joinedCell(const QVariant& v, int i)
{
    return i < 4 ? AlignLeft(v, Pad(kJoinedWidths[i])) : AlignRight(v, Pad(kJoinedWidths[i]));
}

QString withWhere(const QString& select, const QString& where)
{
    return where.isEmpty() ? select : select + QLatin1Char(' ') + where;
}

} // namespace

QString TableWord(int index)
{
    return kWords.value(index);
}

Layout LayoutOf(const QString& word)
{
    const qsizetype i = kWords.indexOf(word);
    if (i == 0)
        return Layout::Joined;
    if (i >= 1 && i <= 4)
        return Layout::Items;
    if (i >= 5)
        return Layout::Contacts;
    return Layout::None;
}

QString TableOf(const QString& word)
{
    switch (LayoutOf(word)) {
    case Layout::Items: return word + QStringLiteral("Items");
    case Layout::Contacts: return word;
    default: return QString();
    }
}

QString ListSql(const QString& word, const QString& where)
{
    switch (LayoutOf(word)) {
    case Layout::Joined:
        return withWhere(
            QStringLiteral("select inventory.code, shopitems.category, shopitems.`name`, shopitems.satuan, "
                           "shopitems.price, shopitems.discount, ") +
                catalogue::NetPriceOf(QStringLiteral("shopitems")) +
                QStringLiteral(", saleitems.price, saleitems.discount, ") +
                catalogue::NetPriceOf(QStringLiteral("saleitems")) + QStringLiteral(" from ") + kJoin,
            where);
    case Layout::Items: return catalogue::ItemsListSql(TableOf(word), where);
    case Layout::Contacts: return catalogue::ContactsListSql(TableOf(word), where);
    case Layout::None: break;
    }
    return QString();
}

QString CategoriesSql(const QString& word)
{
    switch (LayoutOf(word)) {
    // Each category of the buying items once, kept when any item of it is
    // bound in the inventory: a probe per category, not a pass over the
    // join of every item. A server turns an exists into that pass; a value
    // of one row it looks up category by category.
    case Layout::Joined:
        return QStringLiteral("select c.category from (select distinct category from shopitems) c where (select 1 "
                              "from ") +
               kJoin + QStringLiteral(" where shopitems.category = c.category limit 1) is not null");
    case Layout::Items: return catalogue::DistinctCategoriesSql(TableOf(word));
    // The box is hidden for the contacts; it still lists the warehouses.
    case Layout::Contacts: return QStringLiteral("select `name` from `Warehouse`");
    case Layout::None: break;
    }
    return QString();
}

QStringList CategoriesTables(const QString& word)
{
    switch (LayoutOf(word)) {
    case Layout::Joined: return ListTables(word);
    case Layout::Items: return {TableOf(word)};
    case Layout::Contacts: return {QStringLiteral("Warehouse")};
    case Layout::None: break;
    }
    return {};
}

QStringList ListKeys(const QString& word, const QString& rowKey)
{
    switch (LayoutOf(word)) {
    // A scan of the buying items, each joined with its inventory and
    // selling rows by code.
    case Layout::Joined:
        return {QStringLiteral("shopitems.") + rowKey, QStringLiteral("inventory.") + rowKey,
                QStringLiteral("saleitems.") + rowKey};
    case Layout::Items:
    case Layout::Contacts: return {rowKey};
    case Layout::None: break;
    }
    return {};
}

QStringList ListTables(const QString& word)
{
    switch (LayoutOf(word)) {
    case Layout::Joined: return {QStringLiteral("inventory"), QStringLiteral("shopitems"), QStringLiteral("saleitems")};
    case Layout::Items:
    case Layout::Contacts: return {TableOf(word)};
    case Layout::None: break;
    }
    return {};
}

QString CategoryCondition(const QString& word, const QString& category)
{
    switch (LayoutOf(word)) {
    case Layout::Joined: return QStringLiteral("where ShopItems.Category=") + Quote(category);
    case Layout::Items: return catalogue::CategoryCondition(category);
    default: return QString();
    }
}

QString SearchCondition(const QString& word, const QString& keyword)
{
    switch (LayoutOf(word)) {
    case Layout::Joined: {
        const QString p = catalogue::LikeContains(keyword);
        return QStringLiteral("where inventory.code like %1 or shopitems.category like %1 or shopitems.`name` like "
                              "%1 or shopitems.satuan like %1")
            .arg(p);
    }
    case Layout::Items: return catalogue::ItemSearchCondition(keyword);
    case Layout::Contacts: return catalogue::ContactSearchCondition(keyword);
    case Layout::None: break;
    }
    return QString();
}

QString FilterField(int tableIndex, int columnIndex)
{
    static const QStringList joined = {
        QStringLiteral("shopitems.Code"),
        QStringLiteral("shopitems.Category"),
        QStringLiteral("shopitems.Name"),
        QStringLiteral("shopitems.Satuan"),
        QStringLiteral("shopitems.price"),
        QStringLiteral("shopitems.discount"),
        catalogue::NetPriceOf(QStringLiteral("shopitems")),
        QStringLiteral("saleitems.price"),
        QStringLiteral("saleitems.discount"),
        catalogue::NetPriceOf(QStringLiteral("saleitems")),
    };
    if (tableIndex == 0)
        return joined.value(columnIndex);
    if (tableIndex >= 1 && tableIndex <= 4)
        return catalogue::ItemFilterField(columnIndex);
    if (tableIndex >= 5 && tableIndex <= 7)
        return catalogue::ContactFilterField(columnIndex);
    return QString();
}

QStringList TitleKeys(Layout layout)
{
    switch (layout) {
    case Layout::Joined:
        return {QStringLiteral("tCode"),      QStringLiteral("tCategory"),  QStringLiteral("tDescription"),
                QStringLiteral("tUnit"),      QStringLiteral("tShopPrice"), QStringLiteral("tShopDiscount"),
                QStringLiteral("tTotalShop"), QStringLiteral("tSalePrice"), QStringLiteral("tSaleDiscount"),
                QStringLiteral("tTotalSale")};
    case Layout::Items: return catalogue::ItemTitleKeys();
    case Layout::Contacts: return catalogue::ContactTitleKeys();
    case Layout::None: break;
    }
    return {};
}

QString TitleRow(Layout layout, const QStringList& titles)
{
    switch (layout) {
    case Layout::Joined: {
        QStringList cells;
        for (int i = 0; i < 10; ++i)
            cells << joinedCell(titles.value(i), i);
        return cells.join(QLatin1Char(' '));
    }
    case Layout::Items: return catalogue::ItemTitleRow(titles);
    case Layout::Contacts: return catalogue::ContactTitleRow(titles);
    case Layout::None: break;
    }
    return QString();
}

QString ListRule(Layout layout)
{
    return QString(layout == Layout::Joined ? 265 : 197, QLatin1Char('-'));
}

namespace {

// The joined row in one text, as the item and contact rows are built.
void joinedRow(QString& line, const platform::DbRecordset& rs)
{
    for (int i = 0; i < 10; ++i) {
        const platform::DbField f = rs.Fields(i);
        const QString text = i == 5 || i == 8 ? f.toString() + QLatin1Char('%')
                             : i >= 4         ? platform::FormatAmount(f.toDouble())
                                              : f.toString();
        if (i > 0)
            line += QLatin1Char(' ');
        i < 4 ? platform::AppendLeft(line, text, kJoinedWidths[i])
              : platform::AppendRight(line, text, kJoinedWidths[i]);
    }
}

} // namespace

QString Row(Layout layout, const platform::DbRecordset& rs)
{
    switch (layout) {
    case Layout::Joined: {
        QString line;
        joinedRow(line, rs);
        return line;
    }
    case Layout::Items: return catalogue::ItemRow(rs);
    case Layout::Contacts: return catalogue::ContactRow(rs);
    case Layout::None: break;
    }
    return QString();
}

platform::RowMaker RowMaker(Layout layout, platform::DbRecordset& rs)
{
    switch (layout) {
    case Layout::Joined:
        return [&rs](QString& line) {
            if (rs.Eof())
                return false;
            line.resize(0);
            joinedRow(line, rs);
            rs.MoveNext();
            return true;
        };
    case Layout::Items: return catalogue::ItemRowMaker(rs);
    case Layout::Contacts: return catalogue::ContactRowMaker(rs);
    case Layout::None: break;
    }
    return [](QString&) { return false; };
}

QString RecordSql(const QString& code)
{
    return QStringLiteral("select inventory.code as Code, shopitems.category as Category, shopitems.`name` as "
                          "`Description`, shopitems.satuan as `Unit`, shopitems.price as PriceSH, shopitems.discount "
                          "as DiscountSH, saleitems.price as PriceSL, saleitems.discount as DiscountSL from ") +
           kJoin + QStringLiteral(" where inventory.code = ") + Quote(code);
}

bool CodeTaken(DbConnection& db, const QString& code)
{
    for (const char* t : {"inventory", "shopitems", "saleitems", "stock"})
        if (catalogue::CodeExists(db, QString::fromLatin1(t), code))
            return true;
    return false;
}

namespace {

catalogue::Item side(const InventoryItem& item, bool shop)
{
    catalogue::Item i;
    i.code = item.code;
    i.category = item.category;
    i.name = item.name;
    i.price = shop ? item.priceShop : item.priceSale;
    i.discount = shop ? item.discountShop : item.discountSale;
    i.unit = item.unit;
    return i;
}

void selfLink(DbConnection& db, const QString& table, const QString& code)
{
    const qint64 id = platform::NewId(db, table, QStringLiteral("ID"));
    db.Execute(QStringLiteral("insert into `") + table + QStringLiteral("` values(") + QString::number(id) +
               QStringLiteral(", ") + Quote(code) + QStringLiteral(", ") + Quote(code) + QStringLiteral(", 1)"));
}

} // namespace

catalogue::Outcome AddItem(DbConnection& db, const InventoryItem& item)
{
    platform::DbTransaction tx(db);
    if (CodeTaken(db, item.code))
        return catalogue::Outcome::Taken;
    db.Execute(catalogue::InsertItemSql(QStringLiteral("ShopItems"), side(item, true)));
    db.Execute(catalogue::InsertItemSql(QStringLiteral("SaleItems"), side(item, false)));
    db.Execute(QStringLiteral("insert into `stock` values(") + Quote(item.code) + QStringLiteral(", ") +
               Quote(item.name) + QStringLiteral(", ") + Quote(item.unit) + QLatin1Char(')'));
    selfLink(db, QStringLiteral("stockshop"), item.code);
    selfLink(db, QStringLiteral("stocksale"), item.code);
    db.Execute(QStringLiteral("insert into `inventory` values(") + Quote(item.code) + QLatin1Char(')'));
    tx.commit();
    return catalogue::Outcome::Saved;
}

catalogue::Outcome EditItem(DbConnection& db, const InventoryItem& loaded, const InventoryItem& edited)
{
    const QString oldCode = loaded.code;
    const QString newCode = Quote(edited.code);
    const QString old = Quote(oldCode);
    platform::DbTransaction tx(db);
    if (!catalogue::CodeExists(db, QStringLiteral("inventory"), oldCode))
        return catalogue::Outcome::Gone;
    // A change of code onto another item's code would merge two items.
    if (edited.code.compare(oldCode, Qt::CaseInsensitive) != 0 && CodeTaken(db, edited.code))
        return catalogue::Outcome::Taken;
    for (const bool shop : {true, false}) {
        const QStringList changes = catalogue::ItemChanges(side(loaded, shop), side(edited, shop));
        if (!changes.isEmpty())
            db.Execute(catalogue::UpdateSql(shop ? QStringLiteral("ShopItems") : QStringLiteral("SaleItems"), changes,
                                            oldCode));
    }
    QStringList stock;
    if (edited.code != loaded.code)
        stock << QStringLiteral("code=") + newCode;
    if (edited.name != loaded.name)
        stock << QStringLiteral("description=") + Quote(edited.name);
    if (edited.unit != loaded.unit)
        stock << QStringLiteral("unit=") + Quote(edited.unit);
    if (!stock.isEmpty())
        db.Execute(catalogue::UpdateSql(QStringLiteral("stock"), stock, oldCode));
    if (edited.code != loaded.code) {
        for (const char* t : {"stockshop", "stocksale"}) {
            const QString table = QLatin1Char('`') + QString::fromLatin1(t) + QLatin1Char('`');
            db.Execute(QStringLiteral("update ") + table + QStringLiteral(" set stock=") + newCode +
                       QStringLiteral(" where stock=") + old);
            db.Execute(QStringLiteral("update ") + table + QStringLiteral(" set code=") + newCode +
                       QStringLiteral(" where code=") + old);
        }
        db.Execute(QStringLiteral("update `inventory` set code=") + newCode + QStringLiteral(" where code=") + old);
    }
    tx.commit();
    return catalogue::Outcome::Saved;
}

void DeleteItem(DbConnection& db, const QString& code)
{
    const QString c = Quote(code);
    platform::DbTransaction tx(db);
    db.Execute(QStringLiteral("delete from `stock` where code=") + c);
    db.Execute(QStringLiteral("delete from `stockshop` where stock=") + c);
    db.Execute(QStringLiteral("delete from `stocksale` where stock=") + c);
    db.Execute(QStringLiteral("delete from `shopitems` where code=") + c);
    db.Execute(QStringLiteral("delete from `saleitems` where code=") + c);
    db.Execute(QStringLiteral("delete from `inventory` where code=") + c);
    tx.commit();
}

void DeleteRecord(DbConnection& db, const QString& word, const QString& code)
{
    if (LayoutOf(word) == Layout::Joined)
        DeleteItem(db, code);
    else if (!TableOf(word).isEmpty())
        db.Execute(catalogue::DeleteSql(TableOf(word), code));
}

bool RowShown(DbConnection& db, const QString& word, const QString& row)
{
    switch (LayoutOf(word)) {
    case Layout::Joined:
        return catalogue::RowShown(db, ListSql(word, QString()), QStringLiteral("inventory.code"), row,
                                   [](const platform::DbRecordset& rs) { return Row(Layout::Joined, rs); });
    case Layout::Items:
    case Layout::Contacts: return catalogue::TableRowShown(db, TableOf(word), row);
    case Layout::None: break;
    }
    return false;
}

catalogue::Wrote WroteOf(const QString& word)
{
    return {LayoutOf(word) != Layout::None, LayoutOf(word) == Layout::Joined};
}

int DeleteRows(DbConnection& db, const QString& word, const QStringList& rows, catalogue::Wrote& wrote)
{
    if (LayoutOf(word) == Layout::None)
        return 0;
    const int gone = catalogue::DeleteRows(
        db, rows, [&](const QString& row) { return RowShown(db, word, row); },
        [&](const QString& code) { DeleteRecord(db, word, code); });
    if (gone < rows.size())
        wrote = WroteOf(word);
    return gone;
}

void ExportList(DbConnection& db, const QString& word, const QString& sql, const QStringList& titles,
                const QString& path)
{
    const Layout layout = LayoutOf(word);
    if (layout == Layout::Joined)
        catalogue::ExportQuery(db, sql, titles.mid(0, 10), {5, 7, 8, 10}, {6, 9}, path);
    else
        catalogue::ExportList(db, sql, layout == Layout::Items, titles, path);
}

} // namespace inventory
