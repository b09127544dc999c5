#pragma once
// The add-line dialog: one cart line after another for the cashier's action
// and charge, on fields of its own with the panel's lookup and arithmetic.
// It stays open after each saved line.
#include "cashier/itementry.h"
#include "catalogue/picker.h"
#include "platform/controls.h"
#include "platform/form.h"

#include <memory>

class fCart : public platform::Form {
    Q_OBJECT
public:
    fCart();

    void ClearCI();
    void FillCiItems();
    void ciItemsSelected();

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void bClose_Click();
    void bSave_Click();
    void cbBrowse_Click();
    void ciCode_Change();
    void ciCode_KeyDown(int& KeyCode, int Shift);
    void ciCode_KeyPress(int& KeyAscii);
    void ciItems_DblClick();
    void ciItems_KeyDown(int& KeyCode, int Shift);
    void ciPrice_Change();
    void ciDiscount_Change();
    void ciQuantity_Change();
    void ciSubtotal_KeyUp();
    void ciTotal_KeyUp();
    void ciDiscountN_Change();
    void ciSubtotal_Change();
    void ciTotal_Change();
    void ciSubtotal_KeyDown(int& KeyCode, int Shift);
    void ciQuantity_KeyDown(int& KeyCode, int Shift);
    void ciTotal_KeyDown(int& KeyCode, int Shift);
    void ciDiscount_KeyPress(int& KeyAscii);
    void ciSubtotal_KeyPress(int& KeyAscii);
    void ciTotal_KeyPress(int& KeyAscii);
    void ciQuantity_KeyPress(int& KeyAscii);

    platform::TextBox *ciCode, *ciCategory, *ciName, *ciPrice, *ciDiscount, *ciDiscountN, *ciSubtotal, *ciQuantity,
        *ciTotal;
    platform::Label *ciSatuan, *Label1;
    platform::ListBox* ciItems;
    platform::WanButton *cbBrowse, *bSave, *bClose;
    platform::Label *cCode, *cCategory, *cDescription, *cPrice, *cDiscount, *cSubtotal, *cQuantity, *cTotal;

private:
    std::unique_ptr<cashier::ItemEntry> m_entry;
    picker::Handle m_codeTarget;
};

// The one add-line dialog (created hidden at start-up).
fCart* CartWindow();
