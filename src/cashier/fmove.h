#pragma once
// Moving a held charge: every cart line of the cashier's action held under
// its charge moves to another name (a table to another table, a free name
// to a customer), and the held warehouse goes with them.
#include "cashier/model/cart.h"
#include "catalogue/picker.h"
#include "platform/controls.h"
#include "platform/form.h"

class fMove : public platform::Form {
    Q_OBJECT
public:
    fMove();

    // The held charge's lines as the cart list showed them when it opened
    // the dialog: the move takes these or nothing.
    QList<cashier::CartLine> Shown;

    void FilliCharge();
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void iCharge_KeyDown(int& KeyCode, int Shift);
    void iCharge_KeyPress(int& KeyAscii);
    void bSave_Click();
    void bBrowse_Click();
    void bClose_Click();

    platform::Frame* Frame1;
    platform::Label* cMoveTo;
    platform::ComboBox* iCharge;
    platform::WanButton *bSave, *bBrowse, *bClose;

private:
    picker::Handle m_chargeTarget;
};

// The one move dialog (created hidden at start-up).
fMove* MoveWindow();
