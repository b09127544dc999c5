#include "cashier/fedit.h"

#include "cashier/itementry.h"
#include "cashier/keyup.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cartwrites.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "shell/fmain.h"

using namespace platform;
using namespace mMain;
using namespace cashier;

fEdit* EditWindow()
{
    return app().form<fEdit>();
}

fEdit::fEdit() : Form(QStringLiteral("fEdit"), QStringLiteral("Ubah"))
{
    setFixedSize(330, 160);
    auto box = [this](const char* name, const QString& text, int y) {
        auto* t = PlaceBox(this, QLatin1String(name), 116, y, 140, 24, 15);
        t->setAlignment(Qt::AlignRight);
        t->Figure = true;
        t->setText(text);
        FocusColours(t);
        return t;
    };
    cSubtotal = PlaceLabel(this, QStringLiteral("cSubtotal"), QStringLiteral("Sub Total:"), 12, 12, 100, 24);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), 12, 42, 100, 24);
    cTotal = PlaceLabel(this, QStringLiteral("cTotal"), QStringLiteral("Total:"), 12, 72, 100, 24);
    iSubtotal = box("iSubtotal", QStringLiteral("0"), 12);
    iQuantity = box("iQuantity", QStringLiteral("1"), 42);
    iTotal = box("iTotal", QStringLiteral("0"), 72);
    for (TextBox* amount : {iSubtotal, iTotal})
        amount->FigureMessage = QStringLiteral("Harga belum diisi");
    iQuantity->FigureMessage = QStringLiteral("Jumlah belum diisi");
    iQuantity->FigureDecimals = true;
    iUnit = PlaceLabel(this, QStringLiteral("iUnit"), QString(), 262, 42, 60, 24);
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(124, 118, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(224, 118, 92, 30);

    iQuantity->Change = [this] { iQuantity_Change(); };
    iSubtotal->Change = [this] { iSubtotal_Change(); };
    iTotal->Change = [this] { iTotal_Change(); };
    OnKeyUp(iSubtotal, QStringLiteral("iSubtotal.KeyUp"), [this] { iSubtotal_KeyUp(); });
    OnKeyUp(iTotal, QStringLiteral("iTotal.KeyUp"), [this] { iTotal_KeyUp(); });
    iSubtotal->events.KeyDown = [this](int& k, int s) { iSubtotal_KeyDown(k, s); };
    iQuantity->events.KeyDown = [this](int& k, int s) { iQuantity_KeyDown(k, s); };
    iTotal->events.KeyDown = [this](int& k, int s) { iTotal_KeyDown(k, s); };
    iSubtotal->events.KeyPress = [this](int& a) { iSubtotal_KeyPress(a); };
    iQuantity->events.KeyPress = [this](int& a) { iQuantity_KeyPress(a); };
    iTotal->events.KeyPress = [this](int& a) { iTotal_KeyPress(a); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fEdit::Form_Activate()
{
    iQuantity->setFocus();
}

void fEdit::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fEdit::bClose_Click()
{
    iSubtotal->setText(QStringLiteral("0"));
    iQuantity->setText(QStringLiteral("1"));
    Hide();
}

// The figures are read before anything is written: a quantity that is not
// a number above 0 would write no valid line, and a net price or total that
// is not a number would put a price of 0 into the catalogue (a negative one
// a price below 0).
void fEdit::bSave_Click()
{
    bool ok = false;
    const double q = ParseQuantity(iQuantity->Text(), &ok);
    if (!ok || q <= 0) {
        MsgWarn(QStringLiteral("Jumlah belum diisi"), MsgTitleWarn);
        iQuantity->setFocus();
        return;
    }
    LineEdit e;
    e.quantity = q;
    for (auto [field, value] : {std::pair{iSubtotal, &e.subtotal}, std::pair{iTotal, &e.total}}) {
        *value = ParseAmount(field->Text(), &ok);
        if (!ok) {
            MsgWarn(QStringLiteral("Harga belum diisi"), MsgTitleWarn);
            field->setFocus();
            return;
        }
    }
    if (!NoNegativePrice({iSubtotal, iTotal}) || !FiguresFit({iSubtotal, iQuantity, iTotal}))
        return;
    ShopSession* session = app().Session();
    if (!session)
        return;
    // The session tells the cart (and, for a new price, the catalogue) what
    // changed; a line changed elsewhere meanwhile is shown as it is now.
    if (EditCartLine(*session, LineAction, Line, e) == EditOutcome::Gone)
        MsgWarn(CartChangedText(), MsgTitleWarn);
    Unload();
}

void fEdit::iQuantity_Change()
{
    if (iSubtotal->Text().isEmpty())
        iSubtotal->setText(QStringLiteral("0"));
    iTotal->setText(LineTotalText(iQuantity->Text(), iSubtotal->Text()));
}

void fEdit::iSubtotal_Change()
{
    FormatNumberBox(iSubtotal);
}

void fEdit::iTotal_Change()
{
    FormatNumberBox(iTotal);
}

void fEdit::iSubtotal_KeyUp()
{
    iQuantity_Change();
}

void fEdit::iTotal_KeyUp()
{
    if (iTotal->Text().isEmpty())
        iTotal->setText(QStringLiteral("0"));
    if (const auto net = NetFromTotalText(iTotal->Text(), iQuantity->Text(), iSubtotal->Text()))
        iSubtotal->setText(*net);
}

void fEdit::iSubtotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyDown)
        iQuantity->setFocus();
}

void fEdit::iQuantity_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyUp)
        iSubtotal->setFocus();
    else if (KeyCode == vbKeyDown)
        iTotal->setFocus();
}

void fEdit::iTotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyUp)
        iQuantity->setFocus();
}

void fEdit::iSubtotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}

void fEdit::iQuantity_KeyPress(int& KeyAscii)
{
    KeyAscii = QuantityKey(KeyAscii, iQuantity->UnselectedText());
}

void fEdit::iTotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}
