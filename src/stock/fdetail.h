#pragma once
// The stock item detail window: one stock item with its quantity on hand
// and its recipe links, the buying items that bring it in and the selling
// items that take it out.
#include "platform/controls.h"
#include "platform/form.h"
#include "stock/model/stockmodel.h"

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

private:
    // The links each list shows, row by row, and the code they were read
    // for: a delete acts on the link as shown.
    QList<stock::LinkLine> m_shop, m_sale;
    QString m_linksOf;
    bool m_due = false;
    void fillLinks(platform::ListBox* list, stock::Side side, QList<stock::LinkLine>& shown);
    void deleteLink(platform::ListBox* list, stock::Side side, const QList<stock::LinkLine>& shown);
    void linksChanged();
};

fDetail* DetailWindow();
