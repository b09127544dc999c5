#include "program/program.h"

#include "cashier/cashierpanel.h"
#include "cashier/fback.h"
#include "cashier/fbarcode.h"
#include "cashier/fcart.h"
#include "cashier/fedit.h"
#include "cashier/fmove.h"
#include "catalogue/fadd.h"
#include "catalogue/fcharge.h"
#include "catalogue/finventory.h"
#include "catalogue/fmaster.h"
#include "catalogue/inventorypanel.h"
#include "core/app.h"
#include "ledger/fledger.h"
#include "ledger/ledgerpanel.h"
#include "manage/fdb.h"
#include "manage/fnew.h"
#include "manage/fsetting.h"
#include "manage/fuser.h"
#include "shell/fmain.h"
#include "stock/fdetail.h"
#include "stock/finout.h"
#include "stock/fio.h"
#include "stock/fstock.h"

namespace {

// Every dialog exists once, created hidden at start-up, before the first
// caption pass reaches its controls.
void createDialogs(fMain* main, CashierPanelView* cashier)
{
    fMain::Dialogs dialogs;
    dialogs.fNew = new fNew();
    dialogs.fUser = new fUser();
    dialogs.fDB = new fDB();
    dialogs.fSetting = new fSetting();
    dialogs.fStock = new fStock();
    new fDetail();
    new fIn();
    new fOut();
    new fIO();
    new fBack();
    // Once the scanning window is closed, the operator goes on in the cart.
    QObject::connect(new fBarcode(), &fBarcode::closed, cashier, &CashierPanelView::FocusCart);
    new fCart();
    new fEdit();
    new fMove();
    new fInventory();
    new fMaster();
    new fAdd();
    new fCharge();
    new fLedger();
    main->setDialogs(dialogs);
}

// The working panels fill the main window's panel containers and are handed
// to the main window, which offers their procedures under its own name.
CashierPanelView* createPanels(fMain* main)
{
    auto* cashier = new CashierPanelView(main);
    InventoryPanel* inventory = new InventoryPanelView(main->pInventory);
    LedgerPanel* ledger = new LedgerPanelView(main);
    main->setPanels(cashier, inventory, ledger);
    return cashier;
}

} // namespace

namespace mMain {

fMain* Main()
{
    App& a = app();
    a.AppTitle = QStringLiteral("Orvanta 2011");
    a.Printer.setFont(QStringLiteral("OCR A Std"), 7);
    a.IsClosing = false;
    auto* main = new fMain();
    createDialogs(main, createPanels(main));
    main->Form_Load();
    main->Show();
    return main;
}

} // namespace mMain
