#pragma once
// Barcode input: a scanner types item codes into one field; each code that
// has come to rest adds one unit of its item to the open cart.
#include "platform/controls.h"
#include "platform/form.h"

#include <functional>

class fBarcode : public platform::Form {
    Q_OBJECT
public:
    fBarcode();

    // How long a code must have stood unchanged before a tick takes it: a
    // code still arriving from the scanner is left for a later tick.
    static constexpr int SettleMs = 300;
    // Milliseconds on a steady clock, by which a code's rest is measured; a
    // test drives its own instead of waiting.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void iCode_Change();
    void iCode_KeyDown(int& KeyCode, int Shift);
    void iCode_KeyPress(int& KeyAscii);
    void iCode_GotFocus();
    void iCode_LostFocus();
    void bClose_Click();
    void tScan_Timer();

    platform::Label* cScan;
    platform::TextBox* iCode;
    platform::WanButton* bClose;
    platform::Timer* tScan;

signals:
    // The operator closed the window: the cashier goes on in the cart.
    void closed();

private:
    Clock m_clock;
    qint64 m_changedAt = 0;
};

// The one barcode window (created hidden at start-up).
fBarcode* BarcodeWindow();
