#pragma once
// The recipe link dialogs: fIn links a buying item that brings the stock
// item of the detail window in, fOut a selling item that takes it out. The
// two windows differ only in their side, which fInOut holds.
#include "catalogue/picker.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "stock/model/stockmodel.h"

class fInOut : public platform::Form {
    Q_OBJECT
public:
    explicit fInOut(stock::Side side);

    void FilliCode();
    void iCode_Change();
    void iCode_Click();
    // Enter in the code goes to the quantity, in the quantity it saves.
    void iCode_KeyDown(int& KeyCode, int Shift);
    void iQuantity_KeyDown(int& KeyCode, int Shift);
    void bBrowse_Click();
    void bSave_Click();
    void bClose_Click();
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::Label *cCode, *cDescription, *cQuantity;
    platform::ComboBox* iCode;
    platform::WanButton* bBrowse;
    platform::TextBox* iDescription;
    platform::TextBox* iQuantity;
    platform::Label* iUnit;
    platform::WanButton *bSave, *bClose;

    stock::Side side() const { return m_side; }

private:
    stock::Side m_side;
    picker::Handle m_codeTarget;
};

class fIn : public fInOut {
    Q_OBJECT
public:
    fIn() : fInOut(stock::Side::Shop) {}
};

class fOut : public fInOut {
    Q_OBJECT
public:
    fOut() : fInOut(stock::Side::Sale) {}
};

fIn* InWindow();
fOut* OutWindow();
