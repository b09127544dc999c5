#pragma once
// The stock side of the catalogue: stock items, their movements and their
// recipe links. On hand is the sum of `in` less the sum of `out` of an
// item's movements; movements are never rewritten. Every write of more than
// one row runs in one transaction, and ids are taken inside it.
#include "data/db.h"

#include <QDate>
#include <QList>
#include <QString>

namespace stock {

// The recipe tables: what one unit of a buying item brings in (stockshop,
// over ShopItems) and what one unit of a selling item takes out (stocksale,
// over SaleItems).
enum class Side { Shop, Sale };
QString LinkTable(Side side);
QString ItemsTable(Side side);

// Quantity on hand by code alone, or by code and description (the stock
// list counts only the movements under the item's present description).
double OnHand(platform::DbConnection& db, const QString& code);
double OnHand(platform::DbConnection& db, const QString& code, const QString& description);
// The plain text of a quantity ("13", "2.5", "-3"), without grouping, in
// the display's decimal sign, as the stock report shows it.
QString QuantityText(double quantity);

// A quantity typed with a decimal comma or point. A text that is not a
// number (a lone comma, pasted letters) counts as empty: ok is false.
double TypedQuantity(const QString& text, bool* ok = nullptr);

struct Movement {
    QDate moment;
    QString category;
    QString code;
    QString description;
    QString unit;
    double in = 0;
    double out = 0;
};
// The insert of one movement row; dbKind chooses the date literal.
QString MovementSql(qint64 id, const QString& dbKind, const Movement& m);
// Its values as the literals of that insert, the date as DateLiteral gives it.
QStringList MovementValues(qint64 id, const QString& dateLiteral, const Movement& m);
// Writes the row under a new id; returns the id.
qint64 WriteMovement(platform::DbConnection& db, const QString& dbKind, const Movement& m);

bool StockExists(platform::DbConnection& db, const QString& code);
// The stock row and its opening count ("Opname"), both or neither; false,
// and nothing written, when the code is already a stock item's (checked
// inside the write, so two tills never store one code twice).
bool AddStockItem(platform::DbConnection& db, const QString& dbKind, const QString& code, const QString& description,
                  const QString& unit, double opening, const QDate& day);
// A counted correction of the stock item: the amount in (add) or out as one
// "Opname" movement. False, and nothing written, when the item is gone.
bool Correct(platform::DbConnection& db, const QString& dbKind, const QString& code, double amount, bool add,
             const QDate& day);
// The stock row and the links that move it; its movements stay. False, and
// nothing deleted, when no stock item holds the code.
bool DeleteStockItem(platform::DbConnection& db, const QString& code);

// A recipe link; the quantity is stored as typed (a decimal comma stays).
qint64 AddLink(platform::DbConnection& db, Side side, const QString& stockCode, const QString& itemCode,
               const QString& quantityText);
// A link saved from its dialog, under the stored codes of the stock item and
// of the item, both checked inside the write: a link the detail window
// could not list (or that a later stock item of the code would inherit) is
// never stored.
enum class LinkSaved { Saved, StockGone, NoItem };
LinkSaved SaveLink(platform::DbConnection& db, Side side, const QString& stockCode, const QString& itemCode,
                   const QString& quantityText);

struct LinkLine;
// Deletes the link of the stock item as its row showed it; false, and
// nothing deleted, when its id is gone or now another link's (a file gives
// a new link the id of a deleted last one).
bool DeleteLink(platform::DbConnection& db, Side side, const QString& stockCode, const LinkLine& shown);

// ---- List rows
struct StockLine {
    QString code;
    QString description;
    QString unit;
    double onHand = 0;
};
// Every stock item in the order the database gives them.
QList<StockLine> StockList(platform::DbConnection& db);
// A row of the stock list: code 8, description 30, "quantity unit" right 15.
QString StockRow(const QString& code, const QString& description, const QString& quantity);
QString StockRow(const StockLine& line);
const int kStockRule = 117;

struct LinkLine {
    qint64 id = 0;
    QString code;
    QString name;
    QString quantity;
};
// The links of a stock item whose item still exists in its items table.
QList<LinkLine> Links(platform::DbConnection& db, Side side, const QString& stockCode);
// Code 8, name 30, "quantity unit" right 15, then "#id" right 10.
QString LinkRow(const LinkLine& link, const QString& unit);
// The id after the last "#" of a link row; false when there is none.
bool LinkRowId(const QString& row, qint64& id);

} // namespace stock
