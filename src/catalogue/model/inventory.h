#pragma once
// The inventory panel's tables and the inventory items. An inventory item is
// one code bought under ShopItems, sold under SaleItems and held as its own
// stock item, with one self-link of quantity 1 in each recipe table and a
// row in `inventory`; its writes keep all of these in step, all or nothing.
#include "catalogue/model/catalogue.h"
#include "data/db.h"
#include "data/spreadsheet.h"

#include <QString>
#include <QStringList>

namespace inventory {

// ---- The panel's nine tables
// The table word of an entry of the table box: 0 "Sale Shop", 1 "Sale",
// 2 "Shop", 3 "Cash In", 4 "Cash Out", 5 "Customer", 6 "Supplier",
// 7 "Person", 8 "Warehouse"; "" for no entry or any other index.
QString TableWord(int index);
enum class Layout { None, Joined, Items, Contacts };
Layout LayoutOf(const QString& word);
// The table a word reads: "SaleItems" … for the items words, the word
// itself for the contacts; "" for the joined view and for no table.
QString TableOf(const QString& word);

// The list query of a word with its condition ("" for no table).
QString ListSql(const QString& word, const QString& where);
// The categories of the category box ("" for no table).
QString CategoriesSql(const QString& word);
// The tables those two queries read.
QStringList ListTables(const QString& word);
QStringList CategoriesTables(const QString& word);
// The row keys that give the list's order, for reading it by pages, from
// the engine's row key (DbConnection::rowKey).
QStringList ListKeys(const QString& word, const QString& rowKey);
// The condition of a chosen category ("" for the contacts and no table).
QString CategoryCondition(const QString& word, const QString& category);
// The keyword condition ("" for no table).
QString SearchCondition(const QString& word, const QString& keyword);
// The column a filter index names for a table index ("" for none; the
// warehouses have no filter columns).
QString FilterField(int tableIndex, int columnIndex);
// Title keys for LangGrid, in column order.
QStringList TitleKeys(Layout layout);
QString TitleRow(Layout layout, const QStringList& titles);
// The rule under the titles: longer than the rows.
QString ListRule(Layout layout);
// A record of the list query at the recordset's current row.
QString Row(Layout layout, const platform::DbRecordset& rs);
// The rows of every record from the recordset's current row to its end,
// made one at a time as the recordset is walked.
platform::RowMaker RowMaker(Layout layout, platform::DbRecordset& rs);

// ---- Inventory items
struct InventoryItem {
    QString code;
    QString category;
    QString name;
    QString unit;
    double priceShop = 0;
    double discountShop = 0;
    double priceSale = 0;
    double discountSale = 0;
};
// The edit's record: Code, Category, Description, Unit, PriceSH, DiscountSH,
// PriceSL, DiscountSL.
QString RecordSql(const QString& code);
// Whether any of inventory, ShopItems, SaleItems and stock holds the code.
bool CodeTaken(platform::DbConnection& db, const QString& code);
// Adds the item unless its code is taken (checked inside the write).
catalogue::Outcome AddItem(platform::DbConnection& db, const InventoryItem& item);
// Writes what the operator changed of the item loaded, in one write, each
// value to every row that holds it (a name is also the stock item's
// description). Links follow a change of code: the stock item's links by
// `stock`, and links of other stock items that the item moves by `code`, so
// no link moves another stock item than before. Gone when the loaded code is
// no longer in `inventory`, Taken when the new code is another's.
catalogue::Outcome EditItem(platform::DbConnection& db, const InventoryItem& loaded, const InventoryItem& edited);
// The stock row, the links that move it, both item rows and the inventory
// row; movements and journal rows stay.
void DeleteItem(platform::DbConnection& db, const QString& code);
// One record of a panel table: the six deletes for "Sale Shop", one delete
// for the others. Inside a transaction it joins it.
void DeleteRecord(platform::DbConnection& db, const QString& word, const QString& code);
// Whether the database still holds the record of a row of the word's list
// as the row shows it.
bool RowShown(platform::DbConnection& db, const QString& word, const QString& row);
// Deletes the records of list rows as one write, each while it is still as
// its row shows it; returns how many were not (nothing else is deleted in
// their place). `wrote` tells what the deletes changed.
int DeleteRows(platform::DbConnection& db, const QString& word, const QStringList& rows, catalogue::Wrote& wrote);
// What a write of the word's records changes: an inventory item is stock too.
catalogue::Wrote WroteOf(const QString& word);

// ---- Export of the panel's list into a new .xlsx file at path: bold
// titles, one record per row as it is read, amounts "#,##0", discounts
// "#0 %", borders on the titled columns, Tahoma 9.
void ExportList(platform::DbConnection& db, const QString& word, const QString& sql, const QStringList& titles,
                const QString& path);

} // namespace inventory
