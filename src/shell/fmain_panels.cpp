// The main window's side of its working panels: the procedures the other
// windows call by the main window's name, the panels' part of the login, and
// the keys that act on a panel.
#include "core/app.h"
#include "core/mmain.h"
#include "platform/controls.h"
#include "platform/keys.h"
#include "shell/fmain.h"

#include <QDate>

using namespace platform;

using mMain::ConfigNumber;

void fMain::setPanels(CashierPanel* cashier, InventoryPanel* inventory, LedgerPanel* ledger)
{
    m_cashier = cashier;
    m_inventory = inventory;
    m_ledger = ledger;
}

QString fMain::GetAction() const
{
    return m_cashier ? m_cashier->GetAction() : QString();
}

void fMain::ciAction_Click()
{
    if (m_cashier)
        m_cashier->ciAction_Click();
}

void fMain::FillCiCharge()
{
    if (m_cashier)
        m_cashier->FillCiCharge();
}

void fMain::FillCiCart()
{
    if (m_cashier)
        m_cashier->FillCiCart();
}

void fMain::FillCiWarehouse()
{
    if (m_cashier)
        m_cashier->FillCiWarehouse();
}

void fMain::cbBarcode_Click()
{
    if (m_cashier)
        m_cashier->cbBarcode_Click();
}

void fMain::cbPrint_Click()
{
    if (m_cashier)
        m_cashier->cbPrint_Click();
}

void fMain::cbMove_Click()
{
    if (m_cashier)
        m_cashier->cbMove_Click();
}

void fMain::cPrintNote(qint64 no)
{
    if (m_cashier)
        m_cashier->cPrintNote(no);
}

void fMain::tCount_Timer()
{
    if (m_cashier)
        m_cashier->tCount_Timer();
}

QString fMain::GetTable() const
{
    return m_inventory ? m_inventory->GetTable() : QString();
}

void fMain::FilliItems(const QString& where)
{
    if (m_inventory)
        m_inventory->FilliItems(where);
}

void fMain::FilliiCategory()
{
    if (m_inventory)
        m_inventory->FilliiCategory();
}

void fMain::FilliiCategory2()
{
    if (m_inventory)
        m_inventory->FilliiCategory2();
}

void fMain::ibRefresh_Click()
{
    if (m_inventory)
        m_inventory->ibRefresh_Click();
}

void fMain::ibAdd_Click()
{
    if (m_inventory)
        m_inventory->ibAdd_Click();
}

QString fMain::GetSelectediiItemsCode() const
{
    return m_inventory ? m_inventory->GetSelectediiItemsCode() : QString();
}

void fMain::liPage_Click()
{
    if (m_ledger)
        m_ledger->liPage_Click();
}

void fMain::lbPrint_Click()
{
    if (m_ledger)
        m_ledger->lbPrint_Click();
}

void fMain::lbAdd_Click()
{
    if (m_ledger)
        m_ledger->lbAdd_Click();
}

// Steps 2 to 9 of a successful login: the report range and page, the
// clock, the first action and table, the cart, the lists, the discount and
// tax of the settings.
void fMain::setUpPanels()
{
    if (m_ledger) {
        if (m_ledger->liTo)
            m_ledger->liTo->setValue(QDate::currentDate().addDays(1));
        if (m_ledger->liCategory)
            m_ledger->liCategory->setListIndex(0);
        if (m_ledger->liPage)
            m_ledger->liPage->setListIndex(0);
    }
    tClock_Timer();
    if (m_cashier && m_cashier->ciAction)
        m_cashier->ciAction->setListIndex(0);
    if (m_inventory && m_inventory->iiTable)
        m_inventory->iiTable->setListIndex(0);
    if (m_cashier && m_cashier->ciSatuan)
        m_cashier->ciSatuan->setCaption(QString());
    FillCiCart();
    ciAction_Click();
    FilliItems(QString());
    FilliiCategory2();
    if (m_cashier) {
        if (m_cashier->ciDiscount2)
            m_cashier->ciDiscount2->setText(mMain::GetConfig(QStringLiteral("Discount")));
        if (m_cashier->ciTax)
            m_cashier->ciTax->setText(mMain::GetConfig(QStringLiteral("Tax")));
    }
}

// The login's steps after the rights: the browse buttons by the master
// right, the receipt box, the warehouse controls and table entry by the
// settings, an empty charge, and the report.
void fMain::applyPanelSettings(bool masterRight)
{
    const int warehouse = ConfigNumber(QStringLiteral("Warehouse"));
    if (m_cashier) {
        if (m_cashier->cbBrowse)
            m_cashier->cbBrowse->setEnabled(masterRight);
        if (m_cashier->cbCharge)
            m_cashier->cbCharge->setEnabled(masterRight);
        if (m_cashier->ciPrintNote)
            m_cashier->ciPrintNote->setValue(ConfigNumber(QStringLiteral("Note")));
        for (QWidget* w : {static_cast<QWidget*>(m_cashier->ccWarehouse), static_cast<QWidget*>(m_cashier->ciWarehouse),
                           static_cast<QWidget*>(m_cashier->cbWarehouse)})
            if (w)
                w->setVisible(warehouse != 0);
    }
    if (m_inventory && m_inventory->iiTable) {
        ComboBox* t = m_inventory->iiTable;
        if (warehouse == 1 && t->ListCount() == 8)
            t->AddItem(QStringLiteral("Gudang"));
        else if (warehouse != 1 && t->ListCount() == 9)
            t->RemoveItem(8);
    }
    if (m_cashier && m_cashier->ciCharge)
        m_cashier->ciCharge->setText(QString());
    liPage_Click();
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
            if (m_cashier && m_cashier->ciCharge)
                m_cashier->ciCharge->setFocus();
            return true;
        case 'S':
            if (m_cashier && m_cashier->ciCart)
                m_cashier->ciCart->setFocus();
            return true;
        case 'E': lbPrint_Click(); return true;
        case 'N':
            if (m_cashier && m_cashier->ciPrintNote)
                m_cashier->ciPrintNote->setValue(m_cashier->ciPrintNote->Value() == 1 ? 0 : 1);
            return true;
        default: break;
        }
    }
    if (KeyCode == vbKeyAdd || KeyCode == vbKeyF11) {
        if (menu == QLatin1String("Cashier")) {
            if (m_cashier)
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
