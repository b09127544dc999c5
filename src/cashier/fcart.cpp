#include "cashier/fcart.h"

#include "cashier/keyup.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "platform/printer.h"

using namespace platform;
using namespace mMain;

fCart* CartWindow()
{
    return app().form<fCart>();
}

fCart::fCart() : Form(QStringLiteral("fCart"), QStringLiteral("Cart"))
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(430, 340);
    auto box = [this](const char* name, const QString& text, int y, int width, int maxLength, bool right) {
        auto* t = PlaceBox(this, QLatin1String(name), 116, y, width, 24, maxLength);
        if (right) {
            t->setAlignment(Qt::AlignRight);
            t->Figure = true;
        }
        t->setText(text);
        FocusColours(t);
        return t;
    };
    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 12, 100, 24);
    cCategory = PlaceLabel(this, QStringLiteral("cCategory"), QStringLiteral("Kategori:"), 12, 42, 100, 24);
    cDescription = PlaceLabel(this, QStringLiteral("cDescription"), QStringLiteral("Description:"), 12, 72, 100, 24);
    cPrice = PlaceLabel(this, QStringLiteral("cPrice"), QStringLiteral("Harga:"), 12, 102, 100, 24);
    cDiscount = PlaceLabel(this, QStringLiteral("cDiscount"), QStringLiteral("Diskon:"), 12, 132, 100, 24);
    cSubtotal = PlaceLabel(this, QStringLiteral("cSubtotal"), QStringLiteral("Sub Total:"), 12, 162, 100, 24);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), 12, 192, 100, 24);
    cTotal = PlaceLabel(this, QStringLiteral("cTotal"), QStringLiteral("Total:"), 12, 222, 100, 24);
    ciCode = box("ciCode", QString(), 12, 100, 8, false);
    cbBrowse = new WanButton(this, QStringLiteral("cbBrowse"), QStringLiteral("&Browse"));
    cbBrowse->setGeometry(222, 10, 92, 28);
    ciCategory = box("ciCategory", QString(), 42, 300, 50, false);
    ciName = box("ciName", QString(), 72, 300, 50, false);
    ciCategory->setLocked(true);
    ciName->setLocked(true);
    ciPrice = box("ciPrice", QStringLiteral("0"), 102, 140, 15, true);
    ciDiscount = box("ciDiscount", QStringLiteral("0"), 132, 40, 3, true);
    Label1 = PlaceLabel(this, QStringLiteral("Label1"), QStringLiteral("%"), 160, 132, 16, 24);
    ciDiscountN = box("ciDiscountN", QStringLiteral("0"), 132, 120, 15, true);
    ciDiscountN->move(180, 132);
    ciDiscountN->setLocked(true);
    ciSubtotal = box("ciSubtotal", QStringLiteral("0"), 162, 140, 15, true);
    ciQuantity = box("ciQuantity", QStringLiteral("1"), 192, 140, 15, true);
    ciSatuan = PlaceLabel(this, QStringLiteral("ciSatuan"), QStringLiteral("KG"), 262, 192, 60, 24);
    ciTotal = box("ciTotal", QStringLiteral("0"), 222, 140, 15, true);
    ciItems = new ListBox(this, QStringLiteral("ciItems"));
    ciItems->CheckBoxes = false;
    ciItems->setGeometry(116, 38, 300, 150);
    ciItems->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));
    ciItems->hide();
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(224, 296, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(324, 296, 92, 30);
    QWidget* order[] = {ciCode,     ciCategory, ciName,  ciPrice, ciDiscount, ciDiscountN,
                        ciSubtotal, ciQuantity, ciTotal, bSave,   bClose,     cbBrowse};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    m_entry = std::make_unique<cashier::ItemEntry>(
        cashier::ItemFields{ciCode, ciCategory, ciName, ciPrice, ciDiscount, ciDiscountN, ciSubtotal, ciQuantity,
                            ciTotal, ciSatuan, ciItems},
        [] { return Till().action(); }, [] { return Till().actionCaption(); });

    ciCode->Change = [this] { ciCode_Change(); };
    ciCode->events.KeyDown = [this](int& k, int s) { ciCode_KeyDown(k, s); };
    ciCode->events.KeyPress = [this](int& a) { ciCode_KeyPress(a); };
    ciItems->DblClick = [this] { ciItems_DblClick(); };
    ciItems->events.KeyDown = [this](int& k, int s) { ciItems_KeyDown(k, s); };
    ciPrice->Change = [this] { ciPrice_Change(); };
    ciDiscount->Change = [this] { ciDiscount_Change(); };
    ciDiscountN->Change = [this] { ciDiscountN_Change(); };
    ciSubtotal->Change = [this] { ciSubtotal_Change(); };
    ciQuantity->Change = [this] { ciQuantity_Change(); };
    ciTotal->Change = [this] { ciTotal_Change(); };
    cashier::OnKeyUp(ciSubtotal, QStringLiteral("ciSubtotal.KeyUp"), [this] { ciSubtotal_KeyUp(); });
    cashier::OnKeyUp(ciTotal, QStringLiteral("ciTotal.KeyUp"), [this] { ciTotal_KeyUp(); });
    ciSubtotal->events.KeyDown = [this](int& k, int s) { ciSubtotal_KeyDown(k, s); };
    ciQuantity->events.KeyDown = [this](int& k, int s) { ciQuantity_KeyDown(k, s); };
    ciTotal->events.KeyDown = [this](int& k, int s) { ciTotal_KeyDown(k, s); };
    ciDiscount->events.KeyPress = [this](int& a) { ciDiscount_KeyPress(a); };
    ciSubtotal->events.KeyPress = [this](int& a) { ciSubtotal_KeyPress(a); };
    ciQuantity->events.KeyPress = [this](int& a) { ciQuantity_KeyPress(a); };
    ciTotal->events.KeyPress = [this](int& a) { ciTotal_KeyPress(a); };
    cbBrowse->Click = [this] { cbBrowse_Click(); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    m_codeTarget = picker::Register(QStringLiteral("fCart.ciCode"), ciCode, picker::Value::Code, true);
}

void fCart::ClearCI()
{
    m_entry->ClearCI();
}

void fCart::FillCiItems()
{
    m_entry->FillCiItems();
}

void fCart::ciItemsSelected()
{
    m_entry->ciItemsSelected();
}

void fCart::Form_Activate()
{
    ciCode->setFocus();
}

void fCart::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fCart::bClose_Click()
{
    ciCode->setText(QString());
    ciQuantity->setText(QStringLiteral("1"));
    Hide();
}

// The dialog stays open for the next line; the panel behind it shows the
// line at once.
void fCart::bSave_Click()
{
    const TillState& till = Till();
    if (till.action().isEmpty())
        return;
    m_entry->AddLine(till.charge(), true);
}

void fCart::cbBrowse_Click()
{
    picker::Open(QStringLiteral("Items"), m_codeTarget);
}

void fCart::ciCode_Change()
{
    m_entry->ciCode_Change();
}

void fCart::ciCode_KeyDown(int& KeyCode, int)
{
    m_entry->ciCode_KeyDown(KeyCode, [this] { cbBrowse_Click(); });
}

void fCart::ciCode_KeyPress(int& KeyAscii)
{
    KeyAscii = UpperKey(KeyAscii);
}

void fCart::ciItems_DblClick()
{
    ciItemsSelected();
}

void fCart::ciItems_KeyDown(int& KeyCode, int)
{
    m_entry->ciItems_KeyDown(KeyCode);
}

void fCart::ciPrice_Change()
{
    m_entry->ciPrice_Change();
}

void fCart::ciDiscount_Change()
{
    m_entry->ciDiscount_Change();
}

void fCart::ciQuantity_Change()
{
    m_entry->ciQuantity_Change();
}

void fCart::ciSubtotal_KeyUp()
{
    m_entry->ciSubtotal_KeyUp();
}

void fCart::ciTotal_KeyUp()
{
    m_entry->ciTotal_KeyUp();
}

// The discount amount here follows the percent only.
void fCart::ciDiscountN_Change()
{
    FormatNumberBox(ciDiscountN);
}

void fCart::ciSubtotal_Change()
{
    FormatNumberBox(ciSubtotal);
}

void fCart::ciTotal_Change()
{
    FormatNumberBox(ciTotal);
}

void fCart::ciSubtotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyDown)
        ciQuantity->setFocus();
}

void fCart::ciQuantity_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyUp)
        ciSubtotal->setFocus();
    else if (KeyCode == vbKeyDown)
        ciTotal->setFocus();
}

void fCart::ciTotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
    else if (KeyCode == vbKeyUp)
        ciQuantity->setFocus();
}

void fCart::ciDiscount_KeyPress(int& KeyAscii)
{
    KeyAscii = cashier::PercentKey(KeyAscii, ciDiscount->UnselectedText());
}

void fCart::ciSubtotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}

void fCart::ciTotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}

void fCart::ciQuantity_KeyPress(int& KeyAscii)
{
    KeyAscii = QuantityKey(KeyAscii, ciQuantity->UnselectedText());
}
