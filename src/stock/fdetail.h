#pragma once
// The stock item detail window: one stock item with its quantity on hand
// and its recipe links, the buying items that bring it in and the selling
// items that take it out.
#include "platform/controls.h"
#include "platform/form.h"

class fDetail : public platform::Form {
    Q_OBJECT
public:
    fDetail();

    void iCode_Change();
    void FilliShop();
    void FilliSale();
    QString GetSelectediShopID() const;
    QString GetSelectediSaleID() const;
    void bAddShop_Click();
    void bAddSale_Click();
    void bDeleteShop_Click();
    void bDeleteSale_Click();
    // Delete in a list deletes its selected link.
    void iShop_KeyDown(int& KeyCode, int Shift);
    void iSale_KeyDown(int& KeyCode, int Shift);
    void bClose_Click();
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::Label *cCode, *cDescription, *cQuantity;
    platform::TextBox* iCode;
    platform::TextBox* iDescription;
    platform::TextBox* iQuantity;
    platform::Label* iUnit;
    platform::Frame* cStockInShop;
    platform::ListBox* iShop;
    platform::WanButton *bAddShop, *bDeleteShop;
    platform::Frame* cStockOutSale;
    platform::ListBox* iSale;
    platform::WanButton *bAddSale, *bDeleteSale;
    platform::WanButton* bClose;
};

fDetail* DetailWindow();
