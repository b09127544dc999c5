#pragma once
// One cart line being entered: the item lookup by code, the list of codes
// that begin with the typed text, the line arithmetic between price,
// discount, net price, quantity and total, and adding the line to the cart.
// The cashier panel's item row and the add-line dialog each hold one over
// their own fields, so both behave alike by construction.
#include <QString>
#include <functional>
#include <initializer_list>

namespace platform {
class Label;
class ListBox;
class TextBox;
} // namespace platform

namespace cashier {

struct ItemFields {
    platform::TextBox* ciCode = nullptr;
    platform::TextBox* ciCategory = nullptr;
    platform::TextBox* ciName = nullptr;
    platform::TextBox* ciPrice = nullptr;
    platform::TextBox* ciDiscount = nullptr;
    platform::TextBox* ciDiscountN = nullptr;
    platform::TextBox* ciSubtotal = nullptr;
    platform::TextBox* ciQuantity = nullptr;
    platform::TextBox* ciTotal = nullptr;
    platform::Label* ciSatuan = nullptr;
    platform::ListBox* ciItems = nullptr;
};

// The key rule of a percent field: digits and one decimal separator, a
// typed "." becoming "," as in the quantity fields. Returns the key to type
// (0 refuses it).
int PercentKey(int keyAscii, const QString& text);

// Before a line is written: an amount below zero is refused with "Harga
// tidak boleh negatif" and the focus on its field. The amount fields take
// a minus sign (typed into the price, or pasted), and a negative line would
// book its amount on the other side of the journal. True when none is.
bool NoNegativePrice(std::initializer_list<platform::TextBox*> amounts);

class ItemEntry {
public:
    // action: the cashier's action word; actionText: the word its list
    // shows ("Beli"), by which the journal may name a purchase.
    ItemEntry(const ItemFields& fields, std::function<QString()> action, std::function<QString()> actionText);

    void ciCode_Change();
    void ClearCI();
    void FillCiItems();
    void ciItemsSelected();
    void ciPrice_Change();
    void ciDiscount_Change();
    // The panel's editable discount amount: its net price and total follow.
    void ciDiscountN_Change();
    void ciQuantity_Change();
    void ciSubtotal_KeyUp();
    void ciTotal_KeyUp();
    // Code keys: Enter to the quantity, Down into the list; F12 is the
    // caller's picker.
    void ciCode_KeyDown(int& KeyCode, const std::function<void()>& browse);
    void ciItems_KeyDown(int& KeyCode);

    // Checks the line and adds it to the charge's cart: the discount column
    // holds the percent (discountPercent) or the discount amount per unit.
    // A refused line shows why, with the focus on the field to correct, and
    // writes nothing. Afterwards the line is empty, quantity 1, the focus in
    // the code. False when refused.
    bool AddLine(const QString& charge, bool discountPercent);

    ItemFields f;

private:
    std::function<QString()> m_action;
    std::function<QString()> m_actionText;
};

} // namespace cashier
