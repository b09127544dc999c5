#pragma once
// The new stock item dialog: a stock item with its opening count.
#include "platform/controls.h"
#include "platform/form.h"

class fIO : public platform::Form {
    Q_OBJECT
public:
    fIO();

    void FilliUnit();
    void bSave_Click();
    void bClose_Click();
    // Enter in the last field saves.
    void iUnit_KeyDown(int& KeyCode, int Shift);
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::Label *cCode, *cDescription, *cQuantity, *cUnit;
    platform::TextBox* iCode;
    platform::TextBox* iDescription;
    platform::TextBox* iQuantity;
    platform::ComboBox* iUnit;
    platform::WanButton *bSave, *bClose;
};
