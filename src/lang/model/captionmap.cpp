// Which control of which window shows which text of the language database,
// window by window in the order the captions are applied. Controls of one
// role share one key across windows, so a text changed once changes
// everywhere. Rows of a window that does not exist are passed over.
#include "lang/model/captionmap.h"

#include <array>

namespace mLang {

namespace {

constexpr Property kText = Property::Text;

constexpr std::array kCaptionMap = std::to_array<CaptionRow>({
    // Main window, menu bar
    {"fMain", "lCashier", "MENU", "mCashier"},
    {"fMain", "lInventory", "MENU", "mMaster"},
    {"fMain", "lLedger", "MENU", "mLedger"},
    {"fMain", "lStock", "MENU", "mStock"},
    {"fMain", "lUser", "MENU", "mUser"},
    {"fMain", "lSetting", "MENU", "mSetting"},
    {"fMain", "lHelp", "MENU", "mHelp"},
    {"fMain", "lLogout", "MENU", "mLogout"},

    // Main window, login panel
    {"fMain", "bNew", "BUTTON", "bNew"},
    {"fMain", "bLogin", "BUTTON", "bLogin"},
    {"fMain", "bReset", "BUTTON", "bReset"},
    {"fMain", "cInfo", "CAPTION", "cInfo", kText},
    {"fMain", "cLanguage", "CAPTION", "cLanguage"},
    {"fMain", "cDatabase", "CAPTION", "cDatabase"},
    {"fMain", "cUsername", "CAPTION", "cUsername"},
    {"fMain", "cPassword", "CAPTION", "cPassword"},

    // Main window, cashier panel
    {"fMain", "cbBrowse", "BUTTON", "bBrowse"},
    {"fMain", "cbCharge", "BUTTON", "bBrowse"},
    {"fMain", "cbAdd", "BUTTON", "bAdd"},
    {"fMain", "cbPrint", "BUTTON", "bPrint"},
    {"fMain", "cbOKWithoutPay", "BUTTON", "bOK"},
    {"fMain", "cbOK", "BUTTON", "bOK"},
    {"fMain", "ccAction", "CAPTION", "cAction"},
    {"fMain", "ccDate", "CAPTION", "cDate"},
    {"fMain", "ccCharge", "CAPTION", "cCharge"},
    {"fMain", "ccCode", "CAPTION", "cCode"},
    {"fMain", "ccCategory", "CAPTION", "cCategory"},
    {"fMain", "ccDescription", "CAPTION", "cDescription"},
    {"fMain", "ccPrice", "CAPTION", "cPrice"},
    {"fMain", "ccDiscount", "CAPTION", "cDiscount"},
    {"fMain", "ccSubtotal", "CAPTION", "cSubtotal"},
    {"fMain", "ccQuantity", "CAPTION", "cQuantity"},
    {"fMain", "ccTotal", "CAPTION", "cTotal"},
    {"fMain", "ccDiscount2", "CAPTION", "cDiscount"},
    {"fMain", "ccTotalDiscount", "CAPTION", "cTotalDiscount"},
    {"fMain", "ccPPN", "CAPTION", "cPPN"},
    {"fMain", "ccTotalPPN", "CAPTION", "cTotalPPN"},
    {"fMain", "ccCash", "CAPTION", "cCash"},
    {"fMain", "ccChange", "CAPTION", "cChange"},
    {"fMain", "cfTotal", "CAPTION", "cTotal"},
    {"fMain", "cbDelete", "BUTTON", "bDelete"},
    {"fMain", "cbClear", "BUTTON", "bClear"},
    {"fMain", "cbSplit", "BUTTON", "bSplit"},
    {"fMain", "cbEdit", "BUTTON", "bEdit"},
    {"fMain", "cbMove", "BUTTON", "bMove"},
    {"fMain", "cbBarcode", "BUTTON", "bBarcode"},
    {"fMain", "ciCheck", "CHECK", "cCheckAll"},
    {"fMain", "ciPrintNote", "CHECK", "cPrintNote"},

    // Main window, inventory panel
    {"fMain", "ibSearch", "BUTTON", "bSearch"},
    {"fMain", "ibClear", "BUTTON", "bClear"},
    {"fMain", "ibAdd", "BUTTON", "bAdd"},
    {"fMain", "ibEdit", "BUTTON", "bEdit"},
    {"fMain", "ibDelete", "BUTTON", "bDelete"},
    {"fMain", "ibPrint", "BUTTON", "bPrint"},
    {"fMain", "ibRefresh", "BUTTON", "bRefresh"},
    {"fMain", "mcData", "CAPTION", "cData"},
    {"fMain", "mcFilter", "CAPTION", "cFilter"},
    {"fMain", "icCategory2", "CAPTION", "cCategory"},
    {"fMain", "iiCheck", "CHECK", "cCheckAll"},

    // Main window, ledger panel
    {"fMain", "lcReport", "CAPTION", "cReport"},
    {"fMain", "lcFrom", "CAPTION", "cFrom"},
    {"fMain", "lcTo", "CAPTION", "cTo"},
    {"fMain", "lcFilter", "CAPTION", "cFilter"},
    {"fMain", "lbRefresh", "BUTTON", "bRefresh"},
    {"fMain", "lbPrint", "BUTTON", "bPrint"},
    {"fMain", "lbExcel", "BUTTON", "bExcel"},
    {"fMain", "lbAdd", "BUTTON", "bAdd"},
    {"fMain", "lbEdit", "BUTTON", "bEdit"},
    {"fMain", "lbDelete", "BUTTON", "bDelete"},

    // List and picker window
    {"fMaster", "bSearch", "BUTTON", "bSearch"},
    {"fMaster", "bClear", "BUTTON", "bClear"},
    {"fMaster", "bAdd", "BUTTON", "bAdd"},
    {"fMaster", "bEdit", "BUTTON", "bEdit"},
    {"fMaster", "bDelete", "BUTTON", "bDelete"},
    {"fMaster", "bPrint", "BUTTON", "bPrint"},
    {"fMaster", "bRefresh", "BUTTON", "bRefresh"},
    {"fMaster", "bOK", "BUTTON", "bOK"},
    {"fMaster", "bClose", "BUTTON", "bClose"},
    {"fMaster", "cCategory2", "CAPTION", "cCategory"},
    {"fMaster", "cFilter", "CAPTION", "cFilter"},
    {"fMaster", "iCheck", "CHECK", "cCheckAll"},

    // New database
    {"fNew", "bConnect", "BUTTON", "bConnect"},
    {"fNew", "bOK", "BUTTON", "bOK"},
    {"fNew", "bClose", "BUTTON", "bClose"},
    {"fNew", "cDBName", "CAPTION", "cDBName"},
    {"fNew", "cDBPath", "CAPTION", "cDBPath"},
    {"fNew", "iConnect", "CHECK", "cDBConnect"},

    // Stock window; bPlus and bMin carry no text
    {"fStock", "bDetail", "BUTTON", "bDetail"},
    {"fStock", "bAdd", "BUTTON", "bAdd"},
    {"fStock", "bDelete", "BUTTON", "bDelete"},
    {"fStock", "bClose", "BUTTON", "bClose"},

    // Operators and their rights; the right names differ from the menu's
    // ("Browse" is the pickers, "Master" the inventory panel).
    {"fUser", "bDelete", "BUTTON", "bDelete"},
    {"fUser", "bSave", "BUTTON", "bSave"},
    {"fUser", "bClose", "BUTTON", "bClose"},
    {"fUser", "iCashier", "CHECK", "cCashier"},
    {"fUser", "iMaster", "CHECK", "cBrowse"},
    {"fUser", "iInventory", "CHECK", "cMaster"},
    {"fUser", "iLedger", "CHECK", "cLedger"},
    {"fUser", "iStock", "CHECK", "cStock"},
    {"fUser", "iUser", "CHECK", "cUser"},
    {"fUser", "iDB", "CHECK", "cDatabase"},
    {"fUser", "iSetting", "CHECK", "cSetting"},

    // Database backup, restore and drop
    {"fDB", "bRestore", "BUTTON", "bRestore"},
    {"fDB", "bBackup", "BUTTON", "bBackup"},
    {"fDB", "bDrop", "BUTTON", "bDrop"},
    {"fDB", "bClose", "BUTTON", "bClose"},

    // Settings; cNote and cPrinter are frames
    {"fSetting", "bSave", "BUTTON", "bSave"},
    {"fSetting", "bClose", "BUTTON", "bClose"},
    {"fSetting", "cCompany", "CAPTION", "cCompany"},
    {"fSetting", "cAddress", "CAPTION", "cAddress"},
    {"fSetting", "cPhone", "CAPTION", "cPhone"},
    {"fSetting", "cNote", "CAPTION", "cNote"},
    {"fSetting", "cPrinter", "CAPTION", "cPrinter"},
    {"fSetting", "cPort", "CAPTION", "cPort"},

    // Item dialog
    {"fAdd", "bSave", "BUTTON", "bSave"},
    {"fAdd", "bClose", "BUTTON", "bClose"},
    {"fAdd", "cCode", "CAPTION", "cCode"},
    {"fAdd", "cCategory", "CAPTION", "cCategory"},
    {"fAdd", "cDescription", "CAPTION", "cDescription"},
    {"fAdd", "cPrice", "CAPTION", "cPrice"},
    {"fAdd", "cDiscount", "CAPTION", "cDiscount"},
    {"fAdd", "cTotal", "CAPTION", "cTotal"},
    {"fAdd", "cUnit", "CAPTION", "cUnit"},

    // Contact dialog
    {"fCharge", "bSave", "BUTTON", "bSave"},
    {"fCharge", "bClose", "BUTTON", "bClose"},
    {"fCharge", "cCode", "CAPTION", "cCode"},
    {"fCharge", "cName", "CAPTION", "cName"},
    {"fCharge", "cAddress", "CAPTION", "cAddress"},
    {"fCharge", "cPhone", "CAPTION", "cPhone"},
    {"fCharge", "cFax", "CAPTION", "cFax"},

    // Stock item detail; the purchase frame keeps its design caption
    {"fDetail", "bAddShop", "BUTTON", "bAdd"},
    {"fDetail", "bDeleteShop", "BUTTON", "bDelete"},
    {"fDetail", "bAddSale", "BUTTON", "bAdd"},
    {"fDetail", "bDeleteSale", "BUTTON", "bDelete"},
    {"fDetail", "bClose", "BUTTON", "bClose"},
    {"fDetail", "cCode", "CAPTION", "cCode"},
    {"fDetail", "cDescription", "CAPTION", "cDescription"},
    {"fDetail", "cQuantity", "CAPTION", "cQuantity"},
    {"fDetail", "iUnit", "CAPTION", "cUnit"},
    {"fDetail", "cStockOutSale", "CAPTION", "cStockOutSale"},

    // Recipe link dialogs
    {"fIn", "bBrowse", "BUTTON", "bBrowse"},
    {"fIn", "bSave", "BUTTON", "bSave"},
    {"fIn", "bClose", "BUTTON", "bClose"},
    {"fIn", "cCode", "CAPTION", "cCode"},
    {"fIn", "cDescription", "CAPTION", "cDescription"},
    {"fIn", "cQuantity", "CAPTION", "cQuantity"},
    {"fOut", "bBrowse", "BUTTON", "bBrowse"},
    {"fOut", "bSave", "BUTTON", "bSave"},
    {"fOut", "bClose", "BUTTON", "bClose"},
    {"fOut", "cCode", "CAPTION", "cCode"},
    {"fOut", "cDescription", "CAPTION", "cDescription"},
    {"fOut", "cQuantity", "CAPTION", "cQuantity"},

    // Inventory item dialog; the selling side's captions share the keys
    {"fInventory", "bSave", "BUTTON", "bSave"},
    {"fInventory", "bClose", "BUTTON", "bClose"},
    {"fInventory", "cCode", "CAPTION", "cCode"},
    {"fInventory", "cCategory", "CAPTION", "cCategory"},
    {"fInventory", "cDescription", "CAPTION", "cDescription"},
    {"fInventory", "cUnit", "CAPTION", "cUnit"},
    {"fInventory", "cPrice", "CAPTION", "cPrice"},
    {"fInventory", "cDiscount", "CAPTION", "cDiscount"},
    {"fInventory", "cTotal", "CAPTION", "cTotal"},
    {"fInventory", "cPrice2", "CAPTION", "cPrice"},
    {"fInventory", "cDiscount2", "CAPTION", "cDiscount"},
    {"fInventory", "cTotal2", "CAPTION", "cTotal"},

    // New stock item
    {"fIO", "bSave", "BUTTON", "bSave"},
    {"fIO", "bClose", "BUTTON", "bClose"},
    {"fIO", "cCode", "CAPTION", "cCode"},
    {"fIO", "cDescription", "CAPTION", "cDescription"},
    {"fIO", "cQuantity", "CAPTION", "cQuantity"},
    {"fIO", "cUnit", "CAPTION", "cUnit"},

    // Change window
    {"fBack", "bClose", "BUTTON", "bClose"},

    // Add-line dialog; its title, "%" and unit keep their texts
    {"fCart", "cbBrowse", "BUTTON", "bBrowse"},
    {"fCart", "bSave", "BUTTON", "bSave"},
    {"fCart", "bClose", "BUTTON", "bClose"},
    {"fCart", "cCode", "CAPTION", "cCode"},
    {"fCart", "cCategory", "CAPTION", "cCategory"},
    {"fCart", "cDescription", "CAPTION", "cDescription"},
    {"fCart", "cPrice", "CAPTION", "cPrice"},
    {"fCart", "cDiscount", "CAPTION", "cDiscount"},
    {"fCart", "cSubtotal", "CAPTION", "cSubtotal"},
    {"fCart", "cQuantity", "CAPTION", "cQuantity"},
    {"fCart", "cTotal", "CAPTION", "cTotal"},

    // Edit-line dialog
    {"fEdit", "bSave", "BUTTON", "bSave"},
    {"fEdit", "bClose", "BUTTON", "bClose"},
    {"fEdit", "cSubtotal", "CAPTION", "cSubtotal"},
    {"fEdit", "cQuantity", "CAPTION", "cQuantity"},
    {"fEdit", "cTotal", "CAPTION", "cTotal"},

    // Moving a held charge
    {"fMove", "bSave", "BUTTON", "bSave"},
    {"fMove", "bBrowse", "BUTTON", "bBrowse"},
    {"fMove", "bClose", "BUTTON", "bClose"},
    {"fMove", "cMoveTo", "CAPTION", "cMoveTo"},

    // Barcode input
    {"fBarcode", "bClose", "BUTTON", "bClose"},
    {"fBarcode", "cScan", "CAPTION", "cScan"},

    // Journal row dialog; cWarehouse, bWarehouse and bCharge keep their
    // design captions, and cCharge is set again by the kind
    {"fLedger", "bBrowse", "BUTTON", "bBrowse"},
    {"fLedger", "bSave", "BUTTON", "bSave"},
    {"fLedger", "bClose", "BUTTON", "bClose"},
    {"fLedger", "cAction", "CAPTION", "cAction"},
    {"fLedger", "cDate", "CAPTION", "cDate"},
    {"fLedger", "cCharge", "CAPTION", "cCharge"},
    {"fLedger", "cCode", "CAPTION", "cCode"},
    {"fLedger", "cDescription", "CAPTION", "cDescription"},
    {"fLedger", "cSubtotal", "CAPTION", "cSubtotal"},
    {"fLedger", "cQuantity", "CAPTION", "cQuantity"},
    {"fLedger", "cTotal", "CAPTION", "cTotal"},
});

} // namespace

std::span<const CaptionRow> CaptionMap()
{
    return kCaptionMap;
}

} // namespace mLang
