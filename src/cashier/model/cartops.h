#pragma once
// What the cart list's buttons, the edit-line dialog, the move of a held
// charge and the barcode window do to the cart tables. Each operation is one
// write transaction: its ids are taken and its rows written together, so a
// failure leaves the cart as it was and two workstations never share an id.
#include "cashier/model/cart.h"
#include "data/rowsource.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace platform {
class DbConnection;
}

namespace cashier {

// An item of the action's catalogue as the lookups read it.
struct ItemRecord {
    QString code;
    QString category;
    QString name;
    double price = 0;
    double discount = 0; // the percent
    QString satuan;
};
// The item of the code (not trimmed) in the action's items table; nothing
// when the code is not there.
std::optional<ItemRecord> FindItem(platform::DbConnection& db, const QString& action, const QString& code);

// The quantity of the newest purchase of the code in the journal, whose
// rows name a purchase by the list's word (actionText, "Beli") or by the
// stored word "Shop"; nothing when the code was never bought.
std::optional<double> LastPurchaseQuantity(platform::DbConnection& db, const QString& actionText, const QString& code);
// The rows of the item suggestion list: code and name of every item of the
// action whose code begins with the typed text, in code order.
QStringList ItemSuggestionRows(platform::DbConnection& db, const QString& action, const QString& typed);

// The same rows read as the list shows them, a page at a time, each row
// kept in its place by its key (catalogue::PagedList): typing the first
// letter of a hundred thousand codes reads their keys and one screen.
// Nothing when the action has no items table or nothing is typed.
std::shared_ptr<platform::RowSource> ItemSuggestionSource(platform::DbConnection& db, const QString& action,
                                                          const QString& typed);

// The charges offered for an action: the names of its contact table in the
// database's order, then every other non-empty held charge of its carts.
// None for an action without a contact table.
QStringList ChargeNames(platform::DbConnection& db, const QString& action);

// Each write below acts on the lines the till showed (SameLine) or on
// nothing: false (nothing, Gone) when what is stored is no longer what was
// shown, the check and the write one transaction.

bool DeleteCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown);
// Every ticked line of the charge, which must be the ticked lines shown.
bool ClearTickedLines(platform::DbConnection& db, const QString& action, const QString& charge,
                      const QList<CartLine>& shownTicked);

// Splits a line of quantity q above 1 into lines of 1, and one line holding
// what is left of a fractional quantity (3.5 gives three lines of 1 and one
// of 0.5), each ticked, with the source line's price, discount and net price
// and a total of net price × its quantity; the source line goes. Returns the
// number of lines written: 0 when the line holds 1 or less, nothing when it
// is not the line shown.
std::optional<int> SplitCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown);

// A line as the edit dialog saves it: the net price and total as shown, the
// quantity as read from its field.
struct LineEdit {
    double subtotal = 0;
    double quantity = 0;
    double total = 0;
};
enum class EditOutcome {
    Gone,         // the line is no longer the one shown: nothing written
    Quantity,     // the net price was the shown one: quantity and total only
    PriceChanged, // a new net price: the line's price, and the catalogue's
};
// The net price compares with the one the dialog opened with (whole units),
// so a quantity edit of a line with a fractional net price keeps the line's
// price and leaves the catalogue alone, and one made while another till
// re-priced the item never writes the old price back. A new net price
// becomes the line's price with no discount, and the item's catalogue price
// with discount 0.
EditOutcome EditCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown,
                         const LineEdit& edit);

// Moves every line held under one charge to another name. The held
// warehouse goes along: the old name's `pending` row becomes the new name's,
// unless the new name holds a warehouse of its own, which it keeps. False,
// nothing moved, when the charge's lines are not the ones shown.
bool MoveCharge(platform::DbConnection& db, const QString& action, const QString& from, const QString& to,
                const QList<CartLine>& shown);

// One unit of a scanned code into the charge's cart: the charge's first line
// of the code grows by one (its net price kept, total = net price × the new
// quantity), else a new ticked line at the item's list price (the catalogue
// percent kept in `discount`). False, and nothing written, for a code that
// is not in the action's catalogue.
bool ScanIntoCart(platform::DbConnection& db, const QString& action, const QString& charge, const QString& code);

} // namespace cashier
