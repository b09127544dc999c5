// The menu bar, the function keys and the clock.
#include "core/app.h"
#include "core/mmain.h"
#include "data/summaries.h"
#include "platform/keys.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>

using namespace platform;

namespace {
const QColor kRestText(51, 51, 51);
const QColor kActiveText(217, 77, 22);
const QColor kActiveFill(245, 245, 245);
} // namespace

void fMain::wireMenu()
{
    bCashier->Click = [this] { bCashier_Click(); };
    bInventory->Click = [this] { bInventory_Click(); };
    bLedger->Click = [this] { bLedger_Click(); };
    bStock->Click = [this] { bStock_Click(); };
    bUser->Click = [this] { bUser_Click(); };
    bDB->Click = [this] { bDB_Click(); };
    bSetting->Click = [this] { bSetting_Click(); };
    bHelp->Click = [this] { bHelp_Click(); };
    bLogout->Click = [this] { bLogout_Click(); };
    bCashier->MouseMove = [this] { bCashier_MouseMove(); };
    bInventory->MouseMove = [this] { bInventory_MouseMove(); };
    bLedger->MouseMove = [this] { bLedger_MouseMove(); };
    bStock->MouseMove = [this] { bStock_MouseMove(); };
    bUser->MouseMove = [this] { bUser_MouseMove(); };
    bDB->MouseMove = [this] { bDB_MouseMove(); };
    bSetting->MouseMove = [this] { bSetting_MouseMove(); };
    bHelp->MouseMove = [this] { bHelp_MouseMove(); };
    bLogout->MouseMove = [this] { bLogout_MouseMove(); };
}

void fMain::bCashier_MouseMove()
{
    hMenu(bCashier);
}

void fMain::bInventory_MouseMove()
{
    hMenu(bInventory);
}

void fMain::bLedger_MouseMove()
{
    hMenu(bLedger);
}

void fMain::bStock_MouseMove()
{
    hMenu(bStock);
}

void fMain::bUser_MouseMove()
{
    hMenu(bUser);
}

void fMain::bDB_MouseMove()
{
    hMenu(bDB);
}

void fMain::bSetting_MouseMove()
{
    hMenu(bSetting);
}

void fMain::bHelp_MouseMove()
{
    hMenu(bHelp);
}

void fMain::bLogout_MouseMove()
{
    hMenu(bLogout);
}

void fMain::hMenu(QWidget* over)
{
    mMain::SetCursorShape(over, 32649);
}

void fMain::TabActive(QWidget* menuImage)
{
    if (!menuImage)
        return;
    App& a = app();
    if (!a.MenuKey.isEmpty()) {
        if (Label* l = menuLabel(a.MenuKey))
            l->setForeColor(kRestText);
        if (Panel* s = menuShape(a.MenuKey))
            s->setFillColor(pMenu->palette().color(QPalette::Base));
    }
    a.MenuKey = menuImage->objectName().mid(1);
    if (Label* l = menuLabel(a.MenuKey))
        l->setForeColor(kActiveText);
    if (Panel* s = menuShape(a.MenuKey))
        s->setFillColor(kActiveFill);
}

void fMain::bCashier_Click()
{
    showPanel(pCashier);
    TabActive(bCashier);
    m_cashier->FocusAction();
    FillCiWarehouse();
}

void fMain::bInventory_Click()
{
    showPanel(pInventory);
    TabActive(bInventory);
    ibRefresh_Click();
}

void fMain::bLedger_Click()
{
    showPanel(pLedger);
    TabActive(bLedger);
    m_ledger->RefreshIfStale();
    m_ledger->FocusPage();
}

// Only the panel in front is shown: a panel covered but shown keeps its
// buttons' Alt letters, and a letter two panels share would only move the
// focus from one button to the next instead of pressing.
void fMain::showPanel(Panel* panel)
{
    if (panel) {
        panel->show();
        panel->raise();
    }
    m_shownPanel = panel;
    QWidget* focus = QApplication::focusWidget();
    for (Panel* p : {pCashier, pInventory, pLedger, pHelp}) {
        if (p == panel || p->isHidden())
            continue;
        // A focused control that goes out of sight would hand the focus on
        // along the tab chain, running the got-focus handler of whatever it
        // met (the keyword box clears the filter); the panel in front takes
        // it instead, until its click handler or the operator places it.
        if (focus && p->isAncestorOf(focus))
            (panel ? static_cast<QWidget*>(panel) : static_cast<QWidget*>(this))->setFocus();
        p->hide();
    }
}

void fMain::setDialogs(const Dialogs& dialogs)
{
    // A menu item whose dialog is missing would do nothing when clicked.
    for (const Form* f : {dialogs.fNew.data(), dialogs.fStock.data(), dialogs.fUser.data(), dialogs.fDB.data(),
                          dialogs.fSetting.data()})
        if (!f)
            qFatal("fMain::setDialogs: a dialog of the menu is missing");
    m_dialogs = dialogs;
}

void fMain::openMenuDialog(Image* item, Form* dialog)
{
    App& a = app();
    a.MenuControl = menuImage(a.MenuKey);
    TabActive(item);
    dialog->ShowModal();
}

void fMain::bStock_Click()
{
    openMenuDialog(bStock, m_dialogs.fStock);
}

void fMain::bUser_Click()
{
    openMenuDialog(bUser, m_dialogs.fUser);
}

void fMain::bDB_Click()
{
    openMenuDialog(bDB, m_dialogs.fDB);
}

void fMain::bSetting_Click()
{
    openMenuDialog(bSetting, m_dialogs.fSetting);
}

void fMain::bHelp_Click()
{
    showPanel(pHelp);
    TabActive(bHelp);
    hiHelp->setFocus();
}

// A key the window turns into an action stops here: it would otherwise go on
// to the focused control (the keypad "+" into the code, F4 opening a list).
// A menu's function key is the menu's with or without its right: without
// the right it does nothing at all.
void fMain::Form_KeyDown(int& KeyCode, int Shift)
{
    if (pLogin->isVisible())
        return;
    bool acted = true;
    switch (KeyCode) {
    case vbKeyF1:
        if (bCashier->isEnabled())
            bCashier_Click();
        break;
    case vbKeyF2:
        if (bInventory->isEnabled())
            bInventory_Click();
        break;
    case vbKeyF3:
        if (bLedger->isEnabled())
            bLedger_Click();
        break;
    case vbKeyF4:
        if (bStock->isEnabled())
            bStock_Click();
        break;
    case vbKeyF5:
        if (bUser->isEnabled())
            bUser_Click();
        break;
    case vbKeyF6:
        if (bDB->isEnabled())
            bDB_Click();
        break;
    case vbKeyF7:
        if (bSetting->isEnabled())
            bSetting_Click();
        break;
    case vbKeyF8: bHelp_Click(); break;
    case vbKeyF9: bLogout_Click(); break;
    case vbKeyEscape:
        KeyCode = 0;
        close();
        return;
    default: acted = false; break;
    }
    if (panelKeys(KeyCode, Shift) || acted)
        KeyCode = 0;
}

void fMain::tClock_Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    iClock->setCaption(QLocale().toString(now, QStringLiteral("dddd, d MMMM yyyy, HH:mm:ss")));
    // The balance comes from the totals the database keeps, one row read
    // each second however long the journal. Only a database without them
    // is summed, and then only after it has changed. A database another
    // workstation holds right now leaves the figure shown as it was.
    DbConnection& db = app().DbConn();
    // Tables dropped or a backup restored into the file from elsewhere: the
    // totals are looked at again before they are believed.
    if (db.keepsSummaries()) {
        const qint64 schema = db.schemaVersion();
        if (schema != -2 && schema != m_schemaVersion) {
            platform::SummariesIntact(db);
            m_schemaVersion = schema;
        }
    }
    const QByteArray stamp = db.keepsSummaries() ? QByteArray() : db.changeStamp();
    if (db.keepsSummaries() || stamp.isEmpty() || stamp != m_cashStamp) {
        try {
            if (const std::optional<platform::CashTotals> totals = platform::PeekCashTotals(db)) {
                const std::optional<double> balance = totals->balance();
                m_cashText = balance ? mMain::FormatAmount(*balance) : QString();
                m_cashStamp = stamp;
            }
        } catch (const DbError&) {
            // A database without a journal (a foreign restore) shows no
            // balance rather than an error every second; totals that went
            // missing (an old backup restored elsewhere) give way to sums;
            // a read that failed for a moment keeps the figure shown.
            if (!db.keepsSummaries() || !platform::SummariesIntact(db))
                m_cashText.clear();
            m_cashStamp = stamp;
        }
    }
    const QString& cash = m_cashText;
    iCash->setCaption(QStringLiteral("Cash: ") + (cash.isEmpty() ? QStringLiteral("0") : cash));
}
