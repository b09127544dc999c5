#include "cashier/itementry.h"

#include "cashier/model/arithmetic.h"
#include "cashier/model/cart.h"
#include "cashier/model/cartwrites.h"
#include "cashier/model/journal.h"
#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "platform/controls.h"
#include "platform/keys.h"

namespace cashier {

using namespace platform;
using namespace mMain;

int PercentKey(int keyAscii, const QString& text)
{
    if (keyAscii == '.')
        keyAscii = ',';
    if (keyAscii == ',' && (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('.'))))
        return 0;
    return NumericOnly(keyAscii, true);
}

bool NoNegativePrice(std::initializer_list<TextBox*> amounts)
{
    for (TextBox* amount : amounts)
        if (AmountOf(amount->Text()) < 0) {
            MsgWarn(platform::OwnText("cPriceNegative", QStringLiteral("Harga tidak boleh negatif")), MsgTitleWarn);
            amount->setFocus();
            return false;
        }
    return true;
}

ItemEntry::ItemEntry(const ItemFields& fields, std::function<QString()> action, std::function<QString()> actionText)
    : f(fields), m_action(std::move(action)), m_actionText(std::move(actionText))
{
    // A pasted figure the keys would change is refused in the words the line
    // is refused in.
    for (TextBox* amount : {f.ciPrice, f.ciDiscountN, f.ciSubtotal, f.ciTotal})
        amount->FigureMessage = QStringLiteral("Harga belum diisi");
    f.ciQuantity->FigureMessage = QStringLiteral("Jumlah belum diisi");
    f.ciQuantity->FigureDecimals = true;
    f.ciDiscount->FigureDecimals = true;
}

void ItemEntry::ciCode_Change()
{
    const QString code = f.ciCode->Text();
    if (code.trimmed().isEmpty()) {
        f.ciItems->hide();
        ClearCI();
        return;
    }
    const QString action = m_action();
    const std::optional<ItemRecord> item = FindItem(app().DbConn(), action, code);
    if (!item) {
        ClearCI();
    } else {
        f.ciCategory->setText(item->category);
        f.ciName->setText(item->name);
        f.ciPrice->setText(FormatNumber(item->price));
        f.ciDiscount->setText(Num(item->discount));
        f.ciSatuan->setCaption(item->satuan);
        f.ciDiscountN->setText(DiscountAmountText(f.ciDiscount->Text(), f.ciPrice->Text()));
        f.ciSubtotal->setText(NetPriceText(f.ciPrice->Text(), f.ciDiscountN->Text()));
        if (action == QLatin1String("Shop")) {
            const std::optional<double> q = LastPurchaseQuantity(app().DbConn(), m_actionText(), code);
            f.ciQuantity->setText(q ? QuantityFieldText(*q) : QStringLiteral("1"));
        }
    }
    ciQuantity_Change();
    FillCiItems();
    const int n = f.ciItems->ListCount();
    f.ciItems->setVisible(n >= 2 || (n == 1 && f.ciItems->List(0).left(8).trimmed() != f.ciCode->Text()));
    if (f.ciItems->isVisible())
        f.ciItems->raise();
}

void ItemEntry::ClearCI()
{
    f.ciCategory->setText(QString());
    f.ciName->setText(QString());
    f.ciPrice->setText(QStringLiteral("0"));
    f.ciDiscount->setText(QStringLiteral("0"));
    f.ciSatuan->setCaption(QString());
    f.ciDiscountN->setText(QStringLiteral("0"));
    f.ciSubtotal->setText(QStringLiteral("0"));
    f.ciQuantity->setText(QStringLiteral("1"));
    f.ciTotal->setText(QStringLiteral("0"));
}

void ItemEntry::FillCiItems()
{
    const QString code = f.ciCode->Text();
    if (code.isEmpty())
        return;
    if (auto rows = ItemSuggestionSource(app().DbConn(), m_action(), code))
        f.ciItems->setSource(std::move(rows));
    else
        f.ciItems->Clear();
}

void ItemEntry::ciItemsSelected()
{
    const int i = f.ciItems->ListIndex();
    if (i < 0)
        return;
    f.ciCode->setText(f.ciItems->List(i).left(8).trimmed());
    f.ciItems->hide();
    f.ciQuantity->setFocus();
}

void ItemEntry::ciPrice_Change()
{
    FormatNumberBox(f.ciPrice);
    ciDiscount_Change();
}

void ItemEntry::ciDiscount_Change()
{
    f.ciDiscountN->setText(DiscountAmountText(f.ciDiscount->Text(), f.ciPrice->Text()));
    f.ciSubtotal->setText(NetPriceText(f.ciPrice->Text(), f.ciDiscountN->Text()));
    ciQuantity_Change();
}

void ItemEntry::ciDiscountN_Change()
{
    FormatNumberBox(f.ciDiscountN);
    if (f.ciDiscountN->Text().isEmpty())
        f.ciDiscountN->setText(QStringLiteral("0"));
    f.ciSubtotal->setText(NetPriceText(f.ciPrice->Text(), f.ciDiscountN->Text()));
    ciQuantity_Change();
}

void ItemEntry::ciQuantity_Change()
{
    if (f.ciSubtotal->Text().isEmpty())
        f.ciSubtotal->setText(QStringLiteral("0"));
    f.ciTotal->setText(LineTotalText(f.ciQuantity->Text(), f.ciSubtotal->Text()));
}

// The field being typed in keeps what was typed: the percent and the
// discount amount going to 0 recompute the net price from the old price
// first, and that must not replace the digits typed so far.
void ItemEntry::ciSubtotal_KeyUp()
{
    const QString typed = f.ciSubtotal->Text().isEmpty() ? QStringLiteral("0") : f.ciSubtotal->Text();
    f.ciDiscount->setText(QStringLiteral("0"));
    f.ciDiscountN->setText(QStringLiteral("0"));
    f.ciSubtotal->setText(typed);
    f.ciPrice->setText(NetPriceText(f.ciSubtotal->Text(), f.ciDiscountN->Text()));
    ciQuantity_Change();
}

void ItemEntry::ciTotal_KeyUp()
{
    const QString typed = f.ciTotal->Text();
    const auto net = NetFromTotalText(typed, f.ciQuantity->Text(), f.ciSubtotal->Text());
    f.ciDiscount->setText(QStringLiteral("0"));
    f.ciDiscountN->setText(QStringLiteral("0"));
    if (net)
        f.ciSubtotal->setText(*net);
    f.ciPrice->setText(NetPriceText(f.ciSubtotal->Text(), f.ciDiscountN->Text()));
    if (!typed.isEmpty())
        f.ciTotal->setText(typed);
}

void ItemEntry::ciCode_KeyDown(int& KeyCode, const std::function<void()>& browse)
{
    if (KeyCode == vbKeyReturn) {
        f.ciItems->hide();
        f.ciQuantity->setFocus();
    } else if (KeyCode == vbKeyDown) {
        if (f.ciItems->isVisible()) {
            f.ciItems->setFocus();
            if (f.ciItems->ListIndex() < 0)
                f.ciItems->setListIndex(0);
        }
    } else if (KeyCode == vbKeyF12) {
        browse();
    }
}

void ItemEntry::ciItems_KeyDown(int& KeyCode)
{
    if (KeyCode == vbKeyReturn)
        ciItemsSelected();
}

bool ItemEntry::AddLine(const QString& charge, bool discountPercent)
{
    const QString code = f.ciCode->Text();
    if (code.isEmpty()) {
        MsgWarn(QStringLiteral("Kode belum diisi"), MsgTitleWarn);
        f.ciCode->setFocus();
        return false;
    }
    if (f.ciName->Text().isEmpty()) {
        MsgWarn(catalogue::UnknownItemMessage(code), MsgTitleWarn);
        f.ciCode->setFocus();
        return false;
    }
    // "00" is a quantity the operator typed on purpose; a lone comma or a
    // pasted text is no quantity at all.
    bool quantityRead = false;
    const double quantity = ParseQuantity(f.ciQuantity->Text(), &quantityRead);
    if (f.ciQuantity->Text() == QLatin1String("0") || !quantityRead) {
        MsgWarn(QStringLiteral("Jumlah belum diisi"), MsgTitleWarn);
        f.ciQuantity->setFocus();
        return false;
    }
    // The price takes any key: a text that is no amount is refused rather
    // than stored as a price of 0.
    for (TextBox* amount : {f.ciPrice, f.ciSubtotal, f.ciTotal}) {
        bool read = false;
        ParseAmount(amount->Text(), &read);
        if (!read) {
            MsgWarn(QStringLiteral("Harga belum diisi"), MsgTitleWarn);
            amount->setFocus();
            return false;
        }
    }
    if (quantity < 0) {
        MsgWarn(platform::OwnText("cQuantityNegative", QStringLiteral("Jumlah tidak boleh negatif")), MsgTitleWarn);
        f.ciQuantity->setFocus();
        return false;
    }
    if (!NoNegativePrice({f.ciPrice, f.ciSubtotal, f.ciTotal}))
        return false;
    if (!FiguresFit({f.ciPrice, f.ciDiscountN, f.ciSubtotal, f.ciQuantity, f.ciTotal}))
        return false;
    LineEntry e;
    e.charge = charge;
    e.code = code;
    e.category = f.ciCategory->Text();
    e.name = f.ciName->Text();
    e.price = AmountOf(f.ciPrice->Text());
    e.discount = discountPercent ? PercentOf(f.ciDiscount->Text()) : AmountOf(f.ciDiscountN->Text());
    e.subtotal = AmountOf(f.ciSubtotal->Text());
    e.quantity = quantity;
    e.satuan = f.ciSatuan->Caption();
    e.total = AmountOf(f.ciTotal->Text());
    ShopSession* session = app().Session();
    if (!session)
        return false;
    AddCartLine(*session, m_action(), e);
    f.ciCode->setText(QString());
    f.ciQuantity->setText(QStringLiteral("1"));
    f.ciCode->setFocus();
    return true;
}

} // namespace cashier
