#include "cashier/fbarcode.h"

#include "cashier/model/cartwrites.h"
#include "core/app.h"
#include "core/mmain.h"
#include "platform/keys.h"

#include <chrono>

using namespace platform;
using namespace mMain;

namespace {

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

fBarcode* BarcodeWindow()
{
    return app().form<fBarcode>();
}

fBarcode::fBarcode() : Form(QStringLiteral("fBarcode"), QStringLiteral("Barcode")), m_clock(steadyMs)
{
    setFixedSize(360, 110);
    cScan = PlaceLabel(this, QStringLiteral("cScan"), QStringLiteral("Scan Barcode:"), 12, 14, 110, 24);
    iCode = new TextBox(this, QStringLiteral("iCode"));
    iCode->setGeometry(126, 14, 220, 24);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(254, 66, 92, 30);
    tScan = new Timer(this, QStringLiteral("tScan"), 1000);

    iCode->Change = [this] { iCode_Change(); };
    iCode->events.KeyDown = [this](int& k, int s) { iCode_KeyDown(k, s); };
    iCode->events.KeyPress = [this](int& a) { iCode_KeyPress(a); };
    iCode->events.GotFocus = [this] { iCode_GotFocus(); };
    iCode->events.LostFocus = [this] { iCode_LostFocus(); };
    bClose->Click = [this] { bClose_Click(); };
    tScan->Tick = [this] { tScan_Timer(); };
    m_changedAt = m_clock();
    tScan->setEnabled(true);
}

void fBarcode::iCode_GotFocus()
{
    FocusOn(iCode);
}

void fBarcode::iCode_LostFocus()
{
    FocusOff(iCode);
}

void fBarcode::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_changedAt = m_clock();
}

void fBarcode::Form_Activate()
{
    iCode->setFocus();
}

void fBarcode::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fBarcode::iCode_Change()
{
    m_changedAt = m_clock();
}

void fBarcode::iCode_KeyDown(int& KeyCode, int)
{
    // Enter does nothing: the tick takes the code.
    if (KeyCode == vbKeyReturn)
        KeyCode = 0;
}

void fBarcode::iCode_KeyPress(int& KeyAscii)
{
    KeyAscii = UpperKey(KeyAscii);
}

void fBarcode::bClose_Click()
{
    iCode->setText(QString());
    Hide();
    emit closed();
}

void fBarcode::tScan_Timer()
{
    const QString code = iCode->Text();
    if (code.isEmpty() || m_clock() - m_changedAt < SettleMs)
        return;
    const TillState& till = Till();
    const QString action = till.action();
    if (action.isEmpty()) {
        iCode->setText(QString());
        return;
    }
    ShopSession* session = app().Session();
    if (!session)
        return;
    const bool added = cashier::ScanIntoCart(*session, action, till.charge(), code);
    iCode->setText(QString());
    if (!added)
        return;
    iCode->setFocus();
}
