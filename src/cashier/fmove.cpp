#include "cashier/fmove.h"

#include "cashier/model/cart.h"
#include "cashier/model/cartwrites.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/mmain.h"
#include "platform/keys.h"

using namespace platform;
using namespace mMain;

fMove* MoveWindow()
{
    return app().form<fMove>();
}

fMove::fMove() : Form(QStringLiteral("fMove"), QStringLiteral("Pindah"))
{
    setFixedSize(400, 130);
    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(8, 4, 384, 70);
    cMoveTo = PlaceLabel(Frame1, QStringLiteral("cMoveTo"), QStringLiteral("Pindah ke:"), 10, 24, 80, 24);
    iCharge = new ComboBox(Frame1, QStringLiteral("iCharge"), true);
    iCharge->setGeometry(94, 24, 190, 24);
    iCharge->lineEdit()->setMaxLength(cashier::kChargeLength);
    bBrowse = new WanButton(Frame1, QStringLiteral("bBrowse"), QStringLiteral("&Browse"));
    bBrowse->setGeometry(290, 22, 84, 28);
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(200, 86, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(300, 86, 92, 30);

    iCharge->events.KeyDown = [this](int& k, int s) { iCharge_KeyDown(k, s); };
    iCharge->events.KeyPress = [this](int& a) { iCharge_KeyPress(a); };
    bSave->Click = [this] { bSave_Click(); };
    bBrowse->Click = [this] { bBrowse_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    m_chargeTarget = picker::Register(QStringLiteral("fMove.iCharge"), iCharge, picker::Value::Name, false);
}

// The charges of the cashier's action: its contacts, then every other
// non-empty held charge; the typed text stays.
void fMove::FilliCharge()
{
    // In one insertion, and left as it is when the names are unchanged.
    iCharge->SetItems(cashier::ChargeNames(app().DbConn(), Till().action()));
}

void fMove::Form_Activate()
{
    FilliCharge();
    iCharge->setFocus();
}

void fMove::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fMove::iCharge_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bSave_Click();
    }
}

void fMove::iCharge_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, iCharge->UnselectedText());
}

void fMove::bSave_Click()
{
    TillState& till = Till();
    const QString action = till.action();
    if (action.isEmpty())
        return;
    ShopSession* session = app().Session();
    if (!session)
        return;
    const QString to = iCharge->Text();
    if (!cashier::MoveCharge(*session, action, till.charge(), to, Shown))
        MsgWarn(cashier::CartChangedText(), MsgTitleWarn);
    Unload();
}

void fMove::bBrowse_Click()
{
    picker::Open(QStringLiteral("Charge"), m_chargeTarget);
}

void fMove::bClose_Click()
{
    iCharge->setText(QString());
    Hide();
}
