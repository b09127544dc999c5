#include "cashier/model/cartwrites.h"

#include "core/model/shopsession.h"
#include "data/owntext.h"

namespace cashier {

QString CartChangedText()
{
    return platform::OwnText("cCartChanged",
                             QStringLiteral("Keranjang telah diubah di komputer lain: tidak ada yang diubah, dan "
                                            "keranjang kini tampil seperti adanya."));
}

namespace {

// The result as it came, the cart's news told when a write was made or
// found the cart changed.
template <class R> R told(ShopSession& s, R result, bool written)
{
    if (written)
        emit s.cartChanged();
    return result;
}

} // namespace

qint64 AddCartLine(ShopSession& s, const QString& action, const LineEntry& line)
{
    return told(s, AddCartLine(s.db(), action, line), true);
}

bool ScanIntoCart(ShopSession& s, const QString& action, const QString& charge, const QString& code)
{
    const bool added = ScanIntoCart(s.db(), action, charge, code);
    return told(s, added, added);
}

bool TickLine(ShopSession& s, const QString& action, const CartLine& shown, bool ticked)
{
    return told(s, TickLine(s.db(), action, shown, ticked), true);
}

bool TickCharge(ShopSession& s, const QString& action, const QString& charge, const QList<CartLine>& shown, int ticked)
{
    return told(s, TickCharge(s.db(), action, charge, shown, ticked), true);
}

bool DeleteCartLine(ShopSession& s, const QString& action, const CartLine& shown)
{
    return told(s, DeleteCartLine(s.db(), action, shown), true);
}

bool ClearTickedLines(ShopSession& s, const QString& action, const QString& charge, const QList<CartLine>& shownTicked)
{
    return told(s, ClearTickedLines(s.db(), action, charge, shownTicked), true);
}

std::optional<int> SplitCartLine(ShopSession& s, const QString& action, const CartLine& shown)
{
    const std::optional<int> written = SplitCartLine(s.db(), action, shown);
    return told(s, written, written != 0);
}

EditOutcome EditCartLine(ShopSession& s, const QString& action, const CartLine& shown, const LineEdit& edit)
{
    const EditOutcome outcome = EditCartLine(s.db(), action, shown, edit);
    emit s.cartChanged();
    // The new price is the catalogue's too.
    if (outcome == EditOutcome::PriceChanged)
        emit s.catalogueChanged();
    return outcome;
}

bool MoveCharge(ShopSession& s, const QString& action, const QString& from, const QString& to,
                const QList<CartLine>& shown)
{
    const bool moved = MoveCharge(s.db(), action, from, to, shown);
    // The till that showed the charge follows it to its new name before the
    // windows hear of the move.
    if (moved && s.till().action() == action && s.till().charge() == from)
        s.till().chooseCharge(to);
    return told(s, moved, true);
}

bool HoldWarehouse(ShopSession& s, const QString& action, const QString& charge, const QString& warehouse)
{
    const bool wrote = HoldWarehouse(s.db(), action, charge, warehouse);
    return told(s, wrote, wrote);
}

SaveResult SaveTransaction(ShopSession& s, const SaveHeader& h)
{
    SaveResult result = SaveTransaction(s.db(), h);
    if (result.saved)
        AnnounceSaved(s);
    else if (result.changed)
        emit s.cartChanged();
    return result;
}

void AnnounceSaved(ShopSession& s)
{
    emit s.cartChanged();
    emit s.journalChanged();
    emit s.stockChanged();
}

} // namespace cashier
