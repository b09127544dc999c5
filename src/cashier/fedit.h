#pragma once
// The edit-line dialog: the quantity, the net price or the total of one cart
// line; the other figures follow. A new net price becomes the line's price
// and the item's catalogue price.
#include "cashier/model/cart.h"
#include "platform/controls.h"
#include "platform/form.h"

class fEdit : public platform::Form {
    Q_OBJECT
public:
    fEdit();

    // The line the dialog works on, as the cart list showed it when it
    // opened the dialog: a line changed or gone meanwhile is not written, nor
    // is any other line.
    QString LineAction;
    cashier::CartLine Line;

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void bSave_Click();
    void bClose_Click();
    void iQuantity_Change();
    void iSubtotal_Change();
    void iTotal_Change();
    void iSubtotal_KeyUp();
    void iTotal_KeyUp();
    void iSubtotal_KeyDown(int& KeyCode, int Shift);
    void iQuantity_KeyDown(int& KeyCode, int Shift);
    void iTotal_KeyDown(int& KeyCode, int Shift);
    void iSubtotal_KeyPress(int& KeyAscii);
    void iQuantity_KeyPress(int& KeyAscii);
    void iTotal_KeyPress(int& KeyAscii);

    platform::TextBox *iSubtotal, *iQuantity, *iTotal;
    platform::Label* iUnit;
    platform::Label *cSubtotal, *cQuantity, *cTotal;
    platform::WanButton *bSave, *bClose;
};

// The one edit-line dialog (created hidden at start-up).
fEdit* EditWindow();
