#pragma once
// What the main window and the other windows need of the three working
// panels. Each panel is built in its own folder, which the shell cannot
// link; the panel class implements its interface here, src/program hands it
// to the main window, and the main window offers these procedures under
// their own names (MainWindow()->FillCiCart()). The interfaces say what is
// wanted of a panel; its controls stay its own. What a write changed is no
// service of a panel: the session announces it (core/model/shopsession.h),
// and each panel rebuilds what it shows of it.
//
// The interface XPanel is implemented by XPanelView in xpanel.h of its
// folder: CashierPanelView (src/cashier), InventoryPanelView
// (src/catalogue), LedgerPanelView (src/ledger).
#include <QString>

// The cashier panel.
class CashierPanel {
public:
    virtual ~CashierPanel() = default;

    // The action word of the selected entry of ciAction: "Sale", "Shop",
    // "Cash In", "Cash Out", "Sale Retur", "Shop Retur"; "" for none.
    virtual QString GetAction() const = 0;
    // The action as its list shows it ("" for none).
    virtual QString ActionCaption() const = 0;
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

    // The charge the cart is kept under ("" for the walk-in cart), and a new
    // one, which lists its cart as a typed one would.
    virtual QString CurrentCharge() const = 0;
    virtual void SetCharge(const QString& charge) = 0;
    // Selects the action of that word ("Sale", "Shop" …, as GetAction
    // gives it), so that the item and contact tables follow it.
    virtual void SelectAction(const QString& action) = 0;

    // A session has begun: the first action, no unit shown.
    virtual void StartSession() = 0;
    // The transaction discount and tax of the settings.
    virtual void SetRates(const QString& discount, const QString& tax) = 0;
    // The browse buttons of the item and charge lists (the master right).
    virtual void SetBrowseEnabled(bool enabled) = 0;
    // The receipt box, and whether the warehouse controls show.
    virtual void ApplySettings(int printNote, bool warehouse) = 0;

    // The keyboard shortcuts of the main window.
    virtual void FocusAction() = 0;
    virtual void FocusCharge() = 0;
    virtual void FocusCart() = 0;
    virtual void TogglePrintNote() = 0;
};

// The inventory panel.
class InventoryPanel {
public:
    virtual ~InventoryPanel() = default;

    // The table word of the selected entry of iiTable ("Sale Shop", "Sale",
    // "Shop", "Cash In", "Cash Out", "Customer", "Supplier", "Person",
    // "Warehouse"), or "".
    virtual QString GetTable() const = 0;
    // Rebuilds the whole list of the table, no filter.
    virtual void FilliItems() = 0;
    virtual void FilliiCategory() = 0;
    virtual void FilliiCategory2() = 0;
    virtual void ibRefresh_Click() = 0;
    virtual void ibAdd_Click() = 0;
    // The code of the highlighted record row ("" for none).
    virtual QString GetSelectediiItemsCode() const = 0;

    // A session has begun: the first table.
    virtual void StartSession() = 0;
    // Whether the warehouse table is offered.
    virtual void ShowWarehouseTable(bool shown) = 0;
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

    // A session has begun: the first page, every column, up to tomorrow.
    virtual void StartSession() = 0;
    virtual void FocusPage() = 0;
};
