#pragma once
// The open carts: one table per action, lines held under a charge. The rows
// of the cart list, the line writer of the panel, and the reader of the
// ticked lines that the receipt and the save share.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class DbConnection;
}

namespace cashier {

// A charge is a contact's name or a name typed in its place (a table): it
// holds no more than the contact tables' name does.
inline constexpr int kChargeLength = 50;

struct CartLine {
    qint64 id = 0;
    QString code;
    QString category;
    QString name;
    double price = 0;
    double discount = 0;
    double subtotal = 0;
    double quantity = 0;
    QString satuan;
    double total = 0;
    bool checked = true;
    QString charge = {};
    bool operator==(const CartLine&) const = default;
};

// A till names a line by all it showed of it: a line's number goes to
// another charge's new line once the line is paid or deleted, and another
// till may grow, re-price or tick it meanwhile. The same line, its tick
// aside.
bool SameLine(const CartLine& shown, const CartLine& stored);
// The same lines in the same order, their ticks aside.
bool SameLines(const QList<CartLine>& shown, const QList<CartLine>& stored);
// The sum of the ticked lines.
double TickedSum(const QList<CartLine>& lines);

// The lines of a charge in id order; ticked only, or all of them. NULL
// columns read as 0 or "".
QList<CartLine> CartLines(platform::DbConnection& db, const QString& action, const QString& charge, bool tickedOnly);
// One line by its id; nothing when no line has it (any more).
std::optional<CartLine> CartLineById(platform::DbConnection& db, const QString& action, qint64 id);
// Whether the line stored under the shown line's number still is that line.
bool StillShown(platform::DbConnection& db, const QString& action, const CartLine& shown);

// The cart list's rows: the title row from the column titles (code,
// description, price, discount, subtotal, quantity, total), the rule, and a
// line row that ends in the line's id.
QString CartTitleRow(const QStringList& titles);
QString CartRuleRow();
QString CartLineRow(const CartLine& line);
// The id that a line row ends in; "" for the title and rule rows.
QString CartRowId(const QString& row);
// The sum of the ticked lines of the charge, as the cart total shows it
// before formatting ("0" when no line is ticked).
QString TickedTotal(platform::DbConnection& db, const QString& action, const QString& charge);
// The tick of one line, and of every line of a charge at once: false, and
// nothing written, when the line (the charge's lines) stored is not the one
// shown (SameLine).
bool TickLine(platform::DbConnection& db, const QString& action, const CartLine& shown, bool ticked);
bool TickCharge(platform::DbConnection& db, const QString& action, const QString& charge, const QList<CartLine>& shown,
                int ticked);

// A line as the item row of the panel holds it.
struct LineEntry {
    QString charge;
    QString code;
    QString category;
    QString name;
    double price = 0;
    double discount = 0; // what the writer stores there
    double subtotal = 0;
    double quantity = 0;
    QString satuan;
    double total = 0;
};

// Adds the line to the charge's cart: merged into the charge's first line of
// the same code (its quantity grows, price, discount and net price are the
// new ones, total = net price × quantity), else inserted as a new ticked
// line. The id, the merge test and the write are one write transaction.
// Returns the id of the line written.
qint64 AddCartLine(platform::DbConnection& db, const QString& action, const LineEntry& line);

} // namespace cashier
