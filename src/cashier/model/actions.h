#pragma once
// The cashier's actions: the stored word of each entry of the action list
// and the tables and sides that the word names (the items and contact
// tables of a word are the catalogue's: catalogue::ItemsTable, ContactTable).
#include <QString>

namespace cashier {

// "Sale", "Shop", "Cash In", "Cash Out", "Sale Retur", "Shop Retur" for the
// list indexes 0 to 5; "" for none or any other index.
QString ActionWord(int listIndex);
// The open carts of an action: the word followed by "cart".
QString CartTable(const QString& action);
// The same quoted for a statement: `Salecart`.
QString QuotedCartTable(const QString& action);
// The caption key of the charge label.
QString ChargeCaptionKey(const QString& action);
// Whether the action's item rows stand on the Debit side of the journal.
bool DebitSide(const QString& action);
// The journal's amount column of a kind word (Sale, Shop, Shop_Retur …).
QString AmountColumn(const QString& action);

} // namespace cashier
