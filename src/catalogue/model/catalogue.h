#pragma once
// The catalogue (the four items tables) and the contacts (the four contact
// tables): which table a window works on, the net price, the code rules, and
// every statement the windows run on these tables. Widget-free: the dialogs,
// the list window, the cashier, the stock windows and the ledger call it.
//
// Tables: "SaleItems", "ShopItems", "Cash InItems", "Cash OutItems" with the
// columns code, category, name, price, discount, satuan; "Customer",
// "Supplier", "Person", "Warehouse" with code, name, address, phone, fax. The
// column order is the row format (inserts give no column list). Table names
// are always written in backticks by the builders below.
#include "data/db.h"
#include "data/spreadsheet.h"
#include "data/sqltext.h"
#include "data/textcells.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace catalogue {

// ---- Which table

// The items table of an action or panel word: "Sale" and "Sale Retur" give
// "SaleItems", "Shop" and "Shop Retur" "ShopItems", "Cash In" "Cash InItems",
// "Cash Out" "Cash OutItems"; any other word gives "".
QString ItemsTable(const QString& word);
// The contact table of the charges of an action word: "Sale"/"Sale Retur"
// give "Customer", "Shop"/"Shop Retur" "Supplier", "Cash In"/"Cash Out"
// "Person"; any other word gives "".
QString ContactTable(const QString& word);
// True for the four contact tables ("Customer", "Supplier", "Person",
// "Warehouse"), whatever the case.
bool IsContactTable(const QString& table);
// The list window's caption for a table ("SaleItems" gives "Data Penjualan");
// "" for an unknown name. Names compare exactly.
QString ListCaption(const QString& table);

// ---- Net price

// The net price as SQL computes it, by the rule of the cart
// (platform::NetPrice: the discount amount rounded to four places before
// it is taken off), so that a list, its filter and its export show what the
// cart charges; "/ 100.0" so that a whole-number discount never divides as
// integers.
inline constexpr const char* kNetPrice = "price - round(price * discount / 100.0, 4)";
// The same for the prefixed columns of a join ("shopitems.").
QString NetPriceOf(const QString& table);
// The discount amount and the net price of an item: the number rules' own,
// shared with the cashier.
using platform::DiscountAmount;
using platform::NetPrice;
// The discount field's text for a nominal discount typed into the question
// box: the percent of the price to six significant digits, as the display
// writes it and read back (so a regional decimal comma ends the number); ""
// for an empty answer or a price of 0, which has no percent. The answer is
// read as written, by the discount field's rule (no minus sign, no
// exponent); nothing when it is no such figure, which is refused.
std::optional<QString> NominalDiscountText(const QString& answer, double price);

// ---- Codes

// "DS" and "PN" name the journal's discount and tax rows. Refused in any
// case: the code columns compare without case, so a stored "ds" would be
// read as a discount row.
bool IsReservedCode(const QString& code);
// "Kode 'DS' ataupun 'PN' tidak dapat digunakan" CRLF "Karena digunakan untuk
// Diskon dan PPN".
QString ReservedCodeMessage();
// "Item dengan Kode '<code>' sudah ada, coba Kode lain" (also for contacts).
QString DuplicateMessage(const QString& code);
// Whether the table already holds a row with that code (one or more).
bool CodeExists(platform::DbConnection& db, const QString& table, const QString& code);
// "Data dengan Kode '<code>' sudah tidak ada": a record deleted meanwhile.
QString GoneMessage(const QString& code);
// How many of the marked records were no longer there.
QString GoneMarkedMessage(int gone);

// "Item dengan Kode '<code>' tidak ditemukan, coba Kode lain": a code that
// names no item of the table it must come from.
QString UnknownItemMessage(const QString& code);
// Whether an edit would give the record loaded under oldCode a code that
// another record holds (two records would then share one key).
bool CodeTaken(platform::DbConnection& db, const QString& table, const QString& oldCode, const QString& newCode);

// ---- Rows acted on
// A list's row numbers are the engine's: a file gives a new row the number
// of a deleted last one. A command therefore acts on a record only while the
// database still holds it as its row showed it, checked inside the write.

// A list row as the list makes it from a record of its query.
using MakeRow = std::function<QString(const platform::DbRecordset&)>;
// Whether a record of the row's code, read through the list query (select:
// "select … from …" without a condition; codeColumn: the code's column),
// is made into exactly that row.
bool RowShown(platform::DbConnection& db, const QString& select, const QString& codeColumn, const QString& row,
              const MakeRow& make);
// The same for a row of the list of one items or contact table.
bool TableRowShown(platform::DbConnection& db, const QString& table, const QString& row);

// What a write changed, for the announcement after its commit.
struct Wrote {
    bool catalogue = false;
    bool stock = false;
};
// Deletes the records of list rows as one write, each by `remove` of its
// code, while `shown` finds it as its row shows it; a row gone or taken by
// another record meanwhile is passed over and counted.
int DeleteRows(platform::DbConnection& db, const QStringList& rows, const std::function<bool(const QString&)>& shown,
               const std::function<void(const QString& code)>& remove);

// ---- Rows

struct Item {
    QString code;
    QString category;
    QString name;
    double price = 0;
    double discount = 0; // percent
    QString unit;        // column satuan
};

struct Contact {
    QString code;
    QString name;
    QString address;
    QString phone;
    QString fax;
};

// ---- Statements (T is the table name; values pass Quote or Num)

QString InsertItemSql(const QString& table, const Item& item);
QString InsertContactSql(const QString& table, const Contact& contact);
// "col=value" of each column the edit changed from what was loaded.
QStringList ItemChanges(const Item& loaded, const Item& edited);
QStringList ContactChanges(const Contact& loaded, const Contact& edited);
// "update `T` set <changes> where code=<code>".
QString UpdateSql(const QString& table, const QStringList& changes, const QString& code);

// ---- Writes of the dialogs
// A code or contact name as stored: without the blanks around it, which
// the lists drop when they read a code back.
inline QString Stored(const QString& text)
{
    return text.trimmed();
}
enum class Outcome { Saved, Gone, Taken };
// Adds the record unless the table holds its code (Taken), in one write.
Outcome AddItem(platform::DbConnection& db, const QString& table, const Item& item);
Outcome AddContact(platform::DbConnection& db, const QString& table, const Contact& contact);
// Writes what the operator changed of the record loaded, in one write: a
// column left as loaded keeps what another workstation wrote meanwhile.
// Gone when the loaded code is no longer there (nothing is written, so a
// record deleted meanwhile never comes back); Taken when the new code is
// another record's.
Outcome EditItem(platform::DbConnection& db, const QString& table, const Item& loaded, const Item& edited);
Outcome EditContact(platform::DbConnection& db, const QString& table, const Contact& loaded, const Contact& edited);
QString DeleteSql(const QString& table, const QString& code);
// "select * from `T` where code=…": the record an edit loads, the cashier's
// item lookup.
QString RecordSql(const QString& table, const QString& code);
// The name of a record by code (picker write-back of contacts).
QString NameByCodeSql(const QString& table, const QString& code);
// The stored code of a record (picker write-back of recipe items).
QString CodeByCodeSql(const QString& table, const QString& code);
QString DistinctCategoriesSql(const QString& table);
QString DistinctUnitsSql(const QString& table);

// The lists: items give code, category, name, price, discount, total,
// satuan; contacts code, name, address, phone, fax. where is "" or a
// condition from the builders below.
QString ItemsListSql(const QString& table, const QString& where);
QString ContactsListSql(const QString& table, const QString& where);
// The spreadsheet queries: items give code, category, description, price,
// discount (the percent as a number), total, unit; contacts code,
// description, address, phone, fax.
QString ItemsExportSql(const QString& table, const QString& where);
QString ContactsExportSql(const QString& table, const QString& where);
// The suggestion list of codes that begin with the typed text: code,
// category, name, price, discount, total, ordered by code.
QString ItemSuggestionsSql(const QString& table, const QString& typed);
// Its two halves, for the list read a page at a time: the columns with
// their table, and the condition ("where …").
QString ItemSuggestionsSelect(const QString& table);
QString ItemSuggestionsCondition(const QString& typed);

// ---- Conditions; the operator's text is literal (% and _ match themselves),
// its apostrophes dropped as Quote drops them from what is stored

// A LIKE literal with its ESCAPE clause: "'<text>%' escape '!'" and
// "'%<text>%' escape '!'".
QString LikePrefix(const QString& text);
QString LikeContains(const QString& text);
// "where category=<quoted category>".
QString CategoryCondition(const QString& category);
// "where <field> like <prefix>": the records whose field begins with text.
QString FieldCondition(const QString& field, const QString& text);
// The records that hold the keyword in code, category or name.
QString ItemSearchCondition(const QString& keyword);
// The records that hold the keyword in code, name, address, phone or fax.
QString ContactSearchCondition(const QString& keyword);
// The column a filter-field index names: items 0 Code, 1 Category, 2 Name,
// 3 Price, 4 Discount, 5 the net price, 6 Satuan; contacts 0 Code, 1 Name,
// 2 Address, 3 Phone, 4 Fax; "" for none.
QString ItemFilterField(int index);
QString ContactFilterField(int index);

// ---- List rows (cells joined by one blank)

// Title keys of the columns, for LangGrid.
QStringList ItemTitleKeys();    // tCode tCategory tDescription tPrice tDiscount tTotal tUnit
QStringList ContactTitleKeys(); // tCode tName tAddress tPhone tFax
// The title row from the title texts, each in its column's width.
QString ItemTitleRow(const QStringList& titles);
QString ContactTitleRow(const QStringList& titles);
// A record of an items list (ItemsListSql) or a contacts list (ContactsListSql)
// at the recordset's current row.
QString ItemRow(const platform::DbRecordset& rs);
QString ContactRow(const platform::DbRecordset& rs);
// The rows of every record from the recordset's current row to its end,
// made one at a time as the recordset is walked (platform::AllRows takes
// them all at once).
platform::RowMaker ItemRowMaker(platform::DbRecordset& rs);
platform::RowMaker ContactRowMaker(platform::DbRecordset& rs);
// The code held in a list row: its first 8 characters, blanks trimmed.
QString RowCode(const QString& row);

// ---- Outputs of the list window

// The rule of the list window's list and print-out.
QString Rule();
struct PrintFilters {
    QString category;    // "" or the all-categories entry: not printed
    QString allCategory; // the all-categories entry
    QString search;
    QString fieldCaption;
    QString filter;
};
// The print-out's lines before the list's rows: caption in capitals, the
// filters in force, an empty line, the rule. Every list row follows, then
// the rule again.
QStringList PrintHead(const QString& caption, const PrintFilters& filters);

// The export of a list query (ItemsExportSql or ContactsExportSql) into a
// new .xlsx file at path: bold titles in row 1, a record per row from row
// 2, amounts "#,##0", the discount "#0 %", borders on the titled columns,
// Tahoma 9 and fitted widths. The records go into the file as they are
// read, so a list of any length holds one of them at a time.
void ExportList(platform::DbConnection& db, const QString& sql, bool items, const QStringList& titles,
                const QString& path);
// The same for any list query: one column per title, the record's fields by
// position; amountColumns get "#,##0", percentColumns hold the stored
// percent as a fraction under "#0 %" (1-based columns).
void ExportQuery(platform::DbConnection& db, const QString& sql, const QStringList& titles,
                 const QList<int>& amountColumns, const QList<int>& percentColumns, const QString& path);

} // namespace catalogue
