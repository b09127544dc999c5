#pragma once
// The cart writes of a login: each runs the write of cart.h, cartops.h or
// journal.h on the session's connection and, once it is committed, has the
// session tell what it changed (the cart; the catalogue for a new price; the
// journal and the stock for a save), so that no window refreshes another.
// A write refused because the lines shown are no longer the ones stored
// wrote nothing, and tells the cart's news all the same: another till
// changed it.
#include "cashier/model/cart.h"
#include "cashier/model/cartops.h"
#include "cashier/model/journal.h"
#include "cashier/model/pending.h"

class ShopSession;

namespace cashier {

// What the operator is told when a cart write is refused that way.
QString CartChangedText();

qint64 AddCartLine(ShopSession& s, const QString& action, const LineEntry& line);
bool ScanIntoCart(ShopSession& s, const QString& action, const QString& charge, const QString& code);
bool TickLine(ShopSession& s, const QString& action, const CartLine& shown, bool ticked);
bool TickCharge(ShopSession& s, const QString& action, const QString& charge, const QList<CartLine>& shown, int ticked);
bool DeleteCartLine(ShopSession& s, const QString& action, const CartLine& shown);
bool ClearTickedLines(ShopSession& s, const QString& action, const QString& charge, const QList<CartLine>& shownTicked);
std::optional<int> SplitCartLine(ShopSession& s, const QString& action, const CartLine& shown);
EditOutcome EditCartLine(ShopSession& s, const QString& action, const CartLine& shown, const LineEdit& edit);
// The session's till, when it showed the charge moved, chooses its new name.
bool MoveCharge(ShopSession& s, const QString& action, const QString& from, const QString& to,
                const QList<CartLine>& shown);
SaveResult SaveTransaction(ShopSession& s, const SaveHeader& h);
// The warehouse held with a cart is the cart's news when it changed.
bool HoldWarehouse(ShopSession& s, const QString& action, const QString& charge, const QString& warehouse);
// A save whose COMMIT got no answer that turned out durable: the news the
// save itself could not tell.
void AnnounceSaved(ShopSession& s);

} // namespace cashier
