#pragma once
// The main window: a frame of overlapping panels (menu bar, logo, login,
// info, cashier, inventory, ledger, help) of which one working panel is in
// front at a time. It is the one window that is not modal; every other
// window is a dialog that exists once and hides instead of closing until
// the program shuts down.
#include "platform/controls.h"
#include "platform/form.h"
#include "shell/panels.h"

#include <QPointer>
#include <QStringList>

class fMain : public platform::Form {
    Q_OBJECT
public:
    fMain();

    // The windows the shut-down unloads, in this order, before the main window.
    static const QStringList UnloadOrder;

    // ---- Frame
    void Form_Load();
    void Form_Activate() override;
    void Form_Resize();
    void AutoCenter();
    void Form_QueryUnload(bool& Cancel) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void cInfo_Click();
    void pInfo_Click();
    void cInfo_MouseMove();
    void pInfo_MouseMove();

    // ---- Database list (the entries of the program folder), login, logout
    void ReadDB();
    void bLogin_Click();
    void bLogout_Click();
    void bReset_Click();
    void bNew_Click();
    // Logged out (a logout, a drop, a login that failed half-way): the login
    // panel in front, the clock and totals stopped, and no right of the last
    // operator left enabled behind it.
    void ShowLoginState();
    // The operator goes on in the user name, also once a modal window that
    // is closing has handed the activation back.
    void FocusUsername();
    void iDatabase_Click();
    void iDatabase_KeyDown(int& KeyCode, int Shift);
    void iDatabase_KeyPress(int& KeyAscii);
    void iUsername_GotFocus();
    void iUsername_LostFocus();
    void iUsername_KeyDown(int& KeyCode, int Shift);
    void iPassword_KeyDown(int& KeyCode, int Shift);
    void iEmail_Click();
    void iWEB_Click();

    // ---- Language box (login panel)
    void iLanguage_Click();
    void iLanguage_Change();
    void iLanguage_KeyDown(int& KeyCode, int Shift);

    // ---- Menu
    // Highlights the menu item of the given image and makes it MenuKey.
    void TabActive(QWidget* menuImage);
    void hMenu(QWidget* over);
    void bCashier_Click();
    void bInventory_Click();
    void bLedger_Click();
    void bStock_Click();
    void bUser_Click();
    void bDB_Click();
    void bSetting_Click();
    void bHelp_Click();
    // The hand cursor over each menu item (hMenu).
    void bCashier_MouseMove();
    void bInventory_MouseMove();
    void bLedger_MouseMove();
    void bStock_MouseMove();
    void bUser_MouseMove();
    void bDB_MouseMove();
    void bSetting_MouseMove();
    void bHelp_MouseMove();
    void bLogout_MouseMove();
    void tClock_Timer();

    // Menu item controls by key word ("Cashier" gives bCashier, lCashier,
    // cCashier, sCashier).
    platform::Image* menuImage(const QString& key) const;
    platform::Label* menuLabel(const QString& key) const;
    platform::Panel* menuShape(const QString& key) const;

    // ---- The dialogs that the menu and the login panel open. They are built
    // in folders above the shell, so src/program hands them over as it
    // creates them.
    struct Dialogs {
        QPointer<platform::Form> fNew, fStock, fUser, fDB, fSetting;
    };
    void setDialogs(const Dialogs& dialogs);

    // ---- The working panels' services, under the names the other windows
    // call. src/program hands every panel over before the window loads; a
    // missing one stops the program at start.
    void setPanels(CashierPanel* cashier, InventoryPanel* inventory, LedgerPanel* ledger);
    CashierPanel* cashierPanel() const { return m_cashier; }
    InventoryPanel* inventoryPanel() const { return m_inventory; }
    LedgerPanel* ledgerPanel() const { return m_ledger; }

    QString GetAction() const;
    void ciAction_Click();
    void FillCiCharge();
    void FillCiCart();
    void FillCiWarehouse();
    void cbBarcode_Click();
    void cbPrint_Click();
    void cbMove_Click();
    void cPrintNote(qint64 no);
    void tCount_Timer();

    QString GetTable() const;
    void FilliItems();
    void FilliiCategory();
    void FilliiCategory2();
    void ibRefresh_Click();
    void ibAdd_Click();
    QString GetSelectediiItemsCode() const;

    void liPage_Click();
    void lbPrint_Click();
    void lbAdd_Click();
    // The working panel on top (the login panel: none); a panel hidden
    // behind another rebuilds what it shows when it comes to the top.
    QWidget* ShownPanel() const { return m_shownPanel; }

    // ---- Panels
    platform::Panel* pMenu;
    platform::Image* pcLogo;
    platform::Panel* pLogin;
    platform::Panel* pInfo;
    platform::MemoBox* cInfo;
    platform::Panel* pCashier;
    platform::Panel* pInventory;
    platform::Panel* pLedger;
    platform::Panel* pHelp;
    platform::MemoBox* hiHelp;

    // ---- Menu bar
    platform::Image *bCashier, *bInventory, *bLedger, *bStock, *bUser, *bDB, *bSetting, *bHelp, *bLogout;
    platform::Label *lCashier, *lInventory, *lLedger, *lStock, *lUser, *lDB, *lSetting, *lHelp, *lLogout;
    platform::Label* iClock;
    platform::Label* iCash;
    platform::Label* iCashier;

    // ---- Login panel
    platform::Label *cLanguage, *cDatabase, *cUsername, *cPassword;
    platform::ComboBox* iLanguage;
    platform::Image* pFlag;
    platform::ComboBox* iDatabase;
    platform::TextBox* iUsername;
    platform::TextBox* iPassword;
    platform::WanButton *bLogin, *bNew, *bReset;
    platform::Label *iEmail, *iWEB;

    // ---- Timers
    platform::Timer* tClock;
    platform::Timer* tCount;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenu();
    void buildLogin();
    void wireLogin();
    void wireMenu();
    void wireLanguage();
    void showLogo();
    // A dialog item of the menu: highlight it while its window is open.
    void openMenuDialog(platform::Image* item, platform::Form* dialog);
    // The working panel to the front, the others hidden (none: the login).
    void showPanel(platform::Panel* panel);
    void cashierToFront();
    void refuseLogin(const QString& message, QWidget* focus);
    // The user name as its box shapes it on leaving.
    void shapeUsername();
    // The operator check and the switch of the window, once the entry's
    // database is open.
    void finishLogin(const QString& entry);
    // The last step of a login: the first panel the operator's rights open.
    void showFirstPanel();
    // The panels' part of a successful login.
    void setUpPanels();
    void applyPanelSettings(bool masterRight);
    bool panelKeys(int KeyCode, int Shift);

    Dialogs m_dialogs;
    CashierPanel* m_cashier = nullptr;
    InventoryPanel* m_inventory = nullptr;
    LedgerPanel* m_ledger = nullptr;
    // The database's change stamp at the clock's last reading of the
    // journal, and the balance it showed.
    QByteArray m_cashStamp;
    QString m_cashText;
    QWidget* m_shownPanel = nullptr;
    qint64 m_schemaVersion = -3;
};

// The main window of the running program.
fMain* MainWindow();
