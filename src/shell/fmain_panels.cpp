// The main window's side of its working panels: the procedures the other
// windows call by the main window's name, the panels' part of the login, and
// the keys that act on a panel.
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "platform/keys.h"
#include "shell/fmain.h"

using namespace platform;

using mMain::ConfigNumber;

void fMain::setPanels(CashierPanel* cashier, InventoryPanel* inventory, LedgerPanel* ledger)
{
    // Every procedure of the main window forwards to a panel: a panel left
    // out would turn its menu items and keys into ones that do nothing.
    if (!cashier || !inventory || !ledger)
        qFatal("fMain::setPanels: a working panel is missing");
    m_cashier = cashier;
    m_inventory = inventory;
    m_ledger = ledger;
}

QString fMain::GetAction() const
{
    return m_cashier->GetAction();
}

void fMain::ciAction_Click()
{
    m_cashier->ciAction_Click();
}

void fMain::FillCiCharge()
{
    m_cashier->FillCiCharge();
}

void fMain::FillCiCart()
{
    m_cashier->FillCiCart();
}

void fMain::FillCiWarehouse()
{
    m_cashier->FillCiWarehouse();
}

void fMain::cbBarcode_Click()
{
    m_cashier->cbBarcode_Click();
}

void fMain::cbPrint_Click()
{
    m_cashier->cbPrint_Click();
}

void fMain::cbMove_Click()
{
    m_cashier->cbMove_Click();
}

void fMain::cPrintNote(qint64 no)
{
    m_cashier->cPrintNote(no);
}

void fMain::tCount_Timer()
{
    m_cashier->tCount_Timer();
}

QString fMain::GetTable() const
{
    return m_inventory->GetTable();
}

void fMain::FilliItems()
{
    m_inventory->FilliItems();
}

void fMain::FilliiCategory()
{
    m_inventory->FilliiCategory();
}

void fMain::FilliiCategory2()
{
    m_inventory->FilliiCategory2();
}

void fMain::ibRefresh_Click()
{
    m_inventory->ibRefresh_Click();
}

void fMain::ibAdd_Click()
{
    m_inventory->ibAdd_Click();
}

QString fMain::GetSelectediiItemsCode() const
{
    return m_inventory->GetSelectediiItemsCode();
}

void fMain::liPage_Click()
{
    m_ledger->liPage_Click();
}

void fMain::lbPrint_Click()
{
    m_ledger->lbPrint_Click();
}

void fMain::lbAdd_Click()
{
    m_ledger->lbAdd_Click();
}

// Steps 2 to 9 of a successful login: the report range and page, the
// clock, the first action and table, the cart, the lists, the discount and
// tax of the settings.
void fMain::setUpPanels()
{
    m_ledger->StartSession();
    tClock_Timer();
    m_cashier->StartSession();
    m_inventory->StartSession();
    FillCiCart();
    ciAction_Click();
    FilliItems();
    FilliiCategory2();
    m_cashier->SetRates(mMain::GetConfig(QStringLiteral("Discount")), mMain::GetConfig(QStringLiteral("Tax")));
}

// The login's steps after the rights: the browse buttons by the master
// right, the receipt box, the warehouse controls and table entry by the
// settings, an empty charge, and the report.
void fMain::applyPanelSettings(bool masterRight)
{
    const int warehouse = ConfigNumber(QStringLiteral("Warehouse"));
    m_cashier->SetBrowseEnabled(masterRight);
    m_cashier->ApplySettings(ConfigNumber(QStringLiteral("Note")), warehouse != 0);
    m_inventory->ShowWarehouseTable(warehouse == 1);
    m_cashier->SetCharge(QString());
    liPage_Click();
}

// The focus shortcuts reach the cashier's fields from any panel; only a
// panel in front shows its fields, so the cashier comes forward as F1 brings
// it.
void fMain::cashierToFront()
{
    if (m_shownPanel != pCashier)
        bCashier_Click();
}

// The keys that act on the panels, while the login panel is hidden: the Ctrl
// shortcuts only with exactly Ctrl held, the add keys by the active panel.
// True when the key did something.
bool fMain::panelKeys(int KeyCode, int Shift)
{
    const QString& menu = app().MenuKey;
    const OperatorRights& rights = app().Rights;
    if (Shift == vbCtrlMask) {
        // The shortcuts reach a panel whatever panel is in front: each acts
        // only for an operator holding the right of the panel it acts on
        // (the bill is the cashier's, the report the ledger's).
        const bool cashierKey = KeyCode == 'P' || KeyCode == 'M' || KeyCode == 'G' || KeyCode == 'S' || KeyCode == 'N';
        if ((cashierKey && !rights.cashier) || (KeyCode == 'E' && !rights.ledger))
            return false;
        switch (KeyCode) {
        case 'B':
            if (menu != QLatin1String("Cashier"))
                return false;
            cbBarcode_Click();
            return true;
        case 'P': cbPrint_Click(); return true;
        case 'M': cbMove_Click(); return true;
        case 'G':
            cashierToFront();
            m_cashier->FocusCharge();
            return true;
        case 'S':
            cashierToFront();
            m_cashier->FocusCart();
            return true;
        case 'E': lbPrint_Click(); return true;
        case 'N': m_cashier->TogglePrintNote(); return true;
        default: break;
        }
    }
    if (KeyCode == vbKeyAdd || KeyCode == vbKeyF11) {
        if (menu == QLatin1String("Cashier")) {
            m_cashier->ShowAddLine();
            return true;
        }
        if (menu == QLatin1String("Inventory")) {
            ibAdd_Click();
            return true;
        }
        if (menu == QLatin1String("Ledger")) {
            lbAdd_Click();
            return true;
        }
    }
    return false;
}
