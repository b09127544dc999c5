#pragma once
// What the main window and the other windows need of the three working
// panels. Each panel is built in its own folder, which the shell cannot
// link; the panel class implements its interface here, src/program hands it
// to the main window, and the main window offers these procedures under
// their own names (MainWindow()->FillCiCart()). The control pointers are set
// by the panel when it builds its controls.
//
// The interface XPanel is implemented by XPanelView in xpanel.h of its
// folder: CashierPanelView (src/cashier), InventoryPanelView
// (src/catalogue), LedgerPanelView (src/ledger).
#include <QString>

namespace platform {
class CheckBox;
class ComboBox;
class DateTimePick;
class Label;
class ListBox;
class TextBox;
class WanButton;
} // namespace platform

// The cashier panel.
class CashierPanel {
public:
    virtual ~CashierPanel() = default;

    // The action word of the selected entry of ciAction: "Sale", "Shop",
    // "Cash In", "Cash Out", "Sale Retur", "Shop Retur"; "" for none.
    virtual QString GetAction() const = 0;
    virtual void ciAction_Click() = 0;
    virtual void FillCiCharge() = 0;
    virtual void FillCiCart() = 0;
    virtual void FillCiWarehouse() = 0;
    virtual void cbBarcode_Click() = 0;
    virtual void cbPrint_Click() = 0;
    virtual void cbMove_Click() = 0;
    // The add-line dialog (the keypad "+" or F11 on the cashier panel).
    virtual void ShowAddLine() = 0;
    // The receipt of a transaction number; 0 prints the bill of the ticked lines.
    virtual void cPrintNote(qint64 no) = 0;
    // The totals timer's tick.
    virtual void tCount_Timer() = 0;

    platform::ComboBox* ciAction = nullptr;
    platform::TextBox* ciCode = nullptr;
    platform::ComboBox* ciCharge = nullptr;
    platform::ComboBox* ciWarehouse = nullptr;
    platform::Label* ccWarehouse = nullptr;
    platform::WanButton* cbWarehouse = nullptr;
    platform::Label* ciSatuan = nullptr;
    platform::TextBox* ciDiscount2 = nullptr;
    platform::TextBox* ciTax = nullptr;
    platform::CheckBox* ciPrintNote = nullptr;
    platform::WanButton* cbBrowse = nullptr;
    platform::WanButton* cbCharge = nullptr;
    platform::ListBox* ciCart = nullptr;
};

// The inventory panel.
class InventoryPanel {
public:
    virtual ~InventoryPanel() = default;

    // The table word of the selected entry of iiTable ("Sale Shop", "Sale",
    // "Shop", "Cash In", "Cash Out", "Customer", "Supplier", "Person",
    // "Warehouse"), or "".
    virtual QString GetTable() const = 0;
    // Rebuilds the list; the condition is empty or begins with "where ".
    virtual void FilliItems(const QString& where) = 0;
    virtual void FilliiCategory() = 0;
    virtual void FilliiCategory2() = 0;
    virtual void ibRefresh_Click() = 0;
    virtual void ibAdd_Click() = 0;
    // The code of the highlighted record row ("" for none).
    virtual QString GetSelectediiItemsCode() const = 0;

    platform::ComboBox* iiTable = nullptr;
    platform::ListBox* iiItems = nullptr;
};

// The ledger panel.
class LedgerPanel {
public:
    virtual ~LedgerPanel() = default;

    // Rebuilds the report of the selected page over the range and filter.
    virtual void liPage_Click() = 0;
    virtual void lbPrint_Click() = 0;
    virtual void lbAdd_Click() = 0;
    // The panel has come to the top: a report left stale while it was
    // hidden is rebuilt now, once.
    virtual void RefreshIfStale() = 0;
    // The session has ended: what the panel shows of the database goes.
    virtual void ClearReport() = 0;

    platform::ComboBox* liPage = nullptr;
    platform::ComboBox* liCategory = nullptr;
    platform::DateTimePick* liTo = nullptr;
};
