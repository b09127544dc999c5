#pragma once
// The stock window: every stock item with its quantity on hand, counted
// corrections, and the ways to a new stock item and to an item's recipes.
#include "platform/controls.h"
#include "platform/form.h"

class fStock : public platform::Form {
    Q_OBJECT
public:
    fStock();

    void FilliStock();
    QString GetiStockCode() const;
    void bPlus_Click();
    void bMin_Click();
    void bAdd_Click();
    void bDelete_Click();
    void bDetail_Click();
    void bClose_Click();
    void iQuantity_Change();
    // Delete in the list deletes the selected stock item.
    void iStock_KeyDown(int& KeyCode, int Shift);
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::ListBox* iStock;
    platform::TextBox* iQuantity;
    platform::WanButton *bPlus, *bMin, *bAdd, *bDelete, *bDetail, *bClose;

private:
    void correct(bool add);
    void stockChanged();
};

fStock* StockWindow();
