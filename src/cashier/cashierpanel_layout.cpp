// The cashier panel's controls as they lie in the main window's pCashier:
// their places, captions, limits and tab order, and which handler each
// control's events run. The handlers themselves are in cashierpanel.cpp.
#include "cashier/cashierpanel.h"

#include "cashier/keyup.h"
#include "cashier/model/cart.h"
#include "catalogue/picker.h"
#include "core/fieldkeys.h"
#include "platform/printer.h"

#include <QDate>

using namespace platform;
using namespace mMain;
using cashier::OnKeyUp;

namespace {

template <class T> T* at(T* w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
    return w;
}

} // namespace

void CashierPanelView::build(QWidget* p)
{
    auto box = [p](const char* name, int x, int y, int w, int maxLength = 15) {
        return PlaceBox(p, QLatin1String(name), x, y, w, 24, maxLength);
    };
    auto button = [p](const char* name, const QString& caption, int x, int y, int w) {
        return at(new WanButton(p, QLatin1String(name), caption), x, y, w, 26);
    };

    ccAction = PlaceLabel(p, QStringLiteral("ccAction"), QStringLiteral("Aksi:"), 10, 8, 70, 24);
    ciAction = at(new ComboBox(p, QStringLiteral("ciAction"), false), 80, 8, 140, 24);
    for (const char* e : {"Jual", "Beli", "Kas Masuk", "Kas Keluar"})
        ciAction->AddItem(QLatin1String(e));
    ccDate = PlaceLabel(p, QStringLiteral("ccDate"), QStringLiteral("Tanggal:"), 230, 8, 60, 24);
    ciMoment = at(new DateTimePick(p, QStringLiteral("ciMoment")), 290, 8, 120, 24);
    ciMoment->setValue(QDate::currentDate());
    ccCharge = PlaceLabel(p, QStringLiteral("ccCharge"), QStringLiteral("Pelanggan:"), 420, 8, 80, 24);
    ciCharge = at(new ComboBox(p, QStringLiteral("ciCharge"), true), 500, 8, 220, 24);
    ciCharge->lineEdit()->setMaxLength(cashier::kChargeLength);
    cbCharge = button("cbCharge", QStringLiteral("&Browse"), 725, 7, 80);
    ccWarehouse = PlaceLabel(p, QStringLiteral("ccWarehouse"), QStringLiteral("Gudang:"), 420, 38, 80, 24);
    ciWarehouse = at(new ComboBox(p, QStringLiteral("ciWarehouse"), true), 500, 38, 220, 24);
    cbWarehouse = button("cbWarehouse", QStringLiteral("&Browse"), 725, 37, 80);
    ciCheck = at(new CheckBox(p, QStringLiteral("ciCheck"), QStringLiteral("Tandai &Semua")), 10, 40, 200, 24);
    ciCheck->setValue(1);

    ciCart = at(new ListBox(p, QStringLiteral("ciCart")), 10, 68, 980, 188);
    ciCart->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));
    cbDelete = button("cbDelete", QStringLiteral("&Hapus"), 10, 260, 90);
    cbClear = button("cbClear", QStringLiteral("&Bersih"), 104, 260, 90);
    cbSplit = button("cbSplit", QStringLiteral("P&isah"), 198, 260, 90);
    cbEdit = button("cbEdit", QStringLiteral("&Ubah"), 292, 260, 90);
    cbMove = button("cbMove", QStringLiteral("&Pindah"), 386, 260, 90);
    cbAdd2 = button("cbAdd2", QStringLiteral("Ca&rt"), 806, 260, 90);
    cbBarcode = button("cbBarcode", QStringLiteral("Barc&ode"), 900, 260, 90);

    ccCode = PlaceLabel(p, QStringLiteral("ccCode"), QStringLiteral("Kode:"), 10, 294, 80, 24);
    ccCategory = PlaceLabel(p, QStringLiteral("ccCategory"), QStringLiteral("Kategori:"), 95, 294, 100, 24);
    ccDescription = PlaceLabel(p, QStringLiteral("ccDescription"), QStringLiteral("Keterangan:"), 200, 294, 200, 24);
    ccPrice = PlaceLabel(p, QStringLiteral("ccPrice"), QStringLiteral("Harga:"), 405, 294, 95, 24);
    ccDiscount = PlaceLabel(p, QStringLiteral("ccDiscount"), QStringLiteral("Diskon:"), 505, 294, 130, 24);
    ccSubtotal = PlaceLabel(p, QStringLiteral("ccSubtotal"), QStringLiteral("Subtotal:"), 640, 294, 95, 24);
    ccQuantity = PlaceLabel(p, QStringLiteral("ccQuantity"), QStringLiteral("Jumlah:"), 740, 294, 90, 24);
    ccTotal = PlaceLabel(p, QStringLiteral("ccTotal"), QStringLiteral("Total:"), 835, 294, 100, 24);
    ciCode = box("ciCode", 10, 316, 80, 8);
    ciCategory = box("ciCategory", 95, 316, 100, 50);
    ciName = box("ciName", 200, 316, 200, 50);
    ciPrice = box("ciPrice", 405, 316, 95);
    ciDiscount = box("ciDiscount", 505, 316, 40, 3);
    ciDiscountN = box("ciDiscountN", 550, 316, 85);
    ciSubtotal = box("ciSubtotal", 640, 316, 95);
    ciQuantity = box("ciQuantity", 740, 316, 60);
    ciSatuan = PlaceLabel(p, QStringLiteral("ciSatuan"), QString(), 802, 316, 32, 24);
    ciTotal = box("ciTotal", 835, 316, 100);
    for (TextBox* t : {ciPrice, ciDiscount, ciDiscountN, ciSubtotal, ciQuantity, ciTotal})
        t->setAlignment(Qt::AlignRight);
    cbAdd = button("cbAdd", QStringLiteral("&Tambah"), 938, 315, 52);
    ciItems = at(new ListBox(p, QStringLiteral("ciItems")), 10, 342, 330, 130);
    ciItems->CheckBoxes = false; // offered codes only: no tick boxes
    ciItems->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));
    ciItems->hide();

    ciDescription = box("ciDescription", 10, 352, 380, 100);

    cfTotal = at(new Frame(p, QStringLiteral("cfTotal"), QStringLiteral("Total")), 400, 350, 590, 258);
    QWidget* f = cfTotal;
    auto fbox = [f](const char* name, int x, int y, int w, int maxLength = 15) {
        auto* t = PlaceBox(f, QLatin1String(name), x, y, w, 24, maxLength);
        t->setAlignment(Qt::AlignRight);
        return t;
    };
    ciTotalCart = fbox("ciTotalCart", 165, 22, 120);
    ciTotalCart->setText(QStringLiteral("0"));
    ciTotalCart->setLocked(true);
    ccDiscount2 = PlaceLabel(f, QStringLiteral("ccDiscount2"), QStringLiteral("Diskon:"), 10, 52, 110, 24);
    ciDiscount2 = fbox("ciDiscount2", 120, 52, 40, 3);
    ciDiscount2N = fbox("ciDiscount2N", 165, 52, 120);
    ccTotalDiscount =
        PlaceLabel(f, QStringLiteral("ccTotalDiscount"), QStringLiteral("Setelah Diskon:"), 10, 82, 110, 24);
    ciTotalDiscount = fbox("ciTotalDiscount", 165, 82, 120);
    ccPPN = PlaceLabel(f, QStringLiteral("ccPPN"), QStringLiteral("PPN:"), 10, 112, 110, 24);
    ciTax = fbox("ciTax", 120, 112, 40, 3);
    ciTaxN = fbox("ciTaxN", 165, 112, 120);
    ccTotalPPN = PlaceLabel(f, QStringLiteral("ccTotalPPN"), QStringLiteral("Setelah PPN:"), 10, 142, 110, 24);
    ciTotalTax = fbox("ciTotalTax", 165, 142, 120);
    ccCash = PlaceLabel(f, QStringLiteral("ccCash"), QStringLiteral("Bayar:"), 10, 172, 110, 24);
    ciPay = fbox("ciPay", 165, 172, 120);
    ccChange = PlaceLabel(f, QStringLiteral("ccChange"), QStringLiteral("Kembali:"), 10, 202, 110, 24);
    ciBack = fbox("ciBack", 165, 202, 120);
    ciTotal2 = PlaceLabel(f, QStringLiteral("ciTotal2"), QStringLiteral("0"), 300, 22, 280, 90);
    ciTotal2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = ciTotal2->font();
    big.setPointSize(36);
    big.setBold(true);
    ciTotal2->setFont(big);
    ciPrintNote = at(new CheckBox(f, QStringLiteral("ciPrintNote"), QStringLiteral("Cetak &Nota")), 300, 130, 280, 24);
    cbPrint = at(new WanButton(f, QStringLiteral("cbPrint"), QStringLiteral("&Cetak")), 300, 170, 90, 30);
    cbOKWithoutPay = at(new WanButton(f, QStringLiteral("cbOKWithoutPay"), QStringLiteral("&OK")), 395, 170, 90, 30);
    cbOK = at(new WanButton(f, QStringLiteral("cbOK"), QStringLiteral("&OK")), 490, 170, 90, 30);
    cbBrowse = button("cbBrowse", QStringLiteral("&Browse"), 938, 290, 52);
    cbBrowse->setGeometry(938, 288, 52, 24);

    for (TextBox* t : {ciPrice, ciDiscount, ciDiscountN, ciSubtotal, ciQuantity, ciTotal, ciTotalCart, ciDiscount2,
                       ciDiscount2N, ciTotalDiscount, ciTax, ciTaxN, ciTotalTax, ciPay, ciBack})
        t->Figure = true;
    for (TextBox* t : {ciDiscount2, ciTax})
        t->FigureDecimals = true;
    ciPay->FigureMessage = QStringLiteral("Uang yang dibayarkan belum diisi");

    QWidget* order[] = {ciAction,    ciMoment, ciCharge,       ciWarehouse, ciCheck,    ciCart,
                        ciCode,      ciPrice,  ciDiscount,     ciDiscountN, ciSubtotal, ciQuantity,
                        ciTotal,     cbAdd,    ciDescription,  ciDiscount2, ciTax,      ciPay,
                        ciPrintNote, cbPrint,  cbOKWithoutPay, cbOK};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void CashierPanelView::wire()
{
    ciAction->Click = [this] { ciAction_Click(); };
    ciAction->events.KeyDown = [this](int& k, int s) { ciAction_KeyDown(k, s); };
    ciCharge->Change = [this] { ciCharge_Change(); };
    ciCharge->Click = [this] { ciCharge_Click(); };
    ciCharge->events.KeyDown = [this](int& k, int s) { ciCharge_KeyDown(k, s); };
    ciCharge->events.KeyPress = [this](int& a) { ciCharge_KeyPress(a); };
    cbCharge->Click = [this] { cbCharge_Click(); };
    ciWarehouse->Change = [this] { ciWarehouse_Change(); };
    ciWarehouse->Click = [this] { ciWarehouse_Click(); };
    ciWarehouse->events.KeyDown = [this](int& k, int s) { ciWarehouse_KeyDown(k, s); };
    ciWarehouse->events.KeyPress = [this](int& a) { ciWarehouse_KeyPress(a); };
    cbWarehouse->Click = [this] { cbWarehouse_Click(); };

    ciCart->ItemCheck = [this](int row) { ciCart_ItemCheck(row); };
    ciCheck->Click = [this] { ciCheck_Click(); };
    ciCart->DblClick = [this] { ciCart_DblClick(); };
    ciCart->events.KeyDown = [this](int& k, int s) { ciCart_KeyDown(k, s); };
    cbDelete->Click = [this] { cbDelete_Click(); };
    cbClear->Click = [this] { cbClear_Click(); };
    cbSplit->Click = [this] { cbSplit_Click(); };
    cbEdit->Click = [this] { cbEdit_Click(); };
    cbMove->Click = [this] { cbMove_Click(); };
    cbAdd2->Click = [this] { cbAdd2_Click(); };
    cbBarcode->Click = [this] { cbBarcode_Click(); };

    ciCode->Change = [this] { ciCode_Change(); };
    ciCode->events.KeyDown = [this](int& k, int s) { ciCode_KeyDown(k, s); };
    ciCode->events.KeyPress = [this](int& a) { ciCode_KeyPress(a); };
    ciItems->events.KeyDown = [this](int& k, int s) { ciItems_KeyDown(k, s); };
    ciItems->DblClick = [this] { ciItems_DblClick(); };
    cbBrowse->Click = [this] { cbBrowse_Click(); };
    ciPrice->Change = [this] { ciPrice_Change(); };
    ciDiscount->Change = [this] { ciDiscount_Change(); };
    ciDiscountN->Change = [this] { ciDiscountN_Change(); };
    ciSubtotal->Change = [this] { ciSubtotal_Change(); };
    ciTotal->Change = [this] { ciTotal_Change(); };
    ciQuantity->Change = [this] { ciQuantity_Change(); };
    ciQuantity->events.KeyDown = [this](int& k, int s) { ciQuantity_KeyDown(k, s); };
    ciSubtotal->events.KeyDown = [this](int& k, int s) { ciSubtotal_KeyDown(k, s); };
    ciTotal->events.KeyDown = [this](int& k, int s) { ciTotal_KeyDown(k, s); };
    ciQuantity->events.KeyPress = [this](int& a) { ciQuantity_KeyPress(a); };
    ciSubtotal->events.KeyPress = [this](int& a) { ciSubtotal_KeyPress(a); };
    ciTotal->events.KeyPress = [this](int& a) { ciTotal_KeyPress(a); };
    OnKeyUp(ciSubtotal, QStringLiteral("ciSubtotal.KeyUp"), [this] { ciSubtotal_KeyUp(); });
    OnKeyUp(ciTotal, QStringLiteral("ciTotal.KeyUp"), [this] { ciTotal_KeyUp(); });
    for (TextBox* t :
         {ciCode, ciCategory, ciName, ciPrice, ciDiscount, ciDiscountN, ciSubtotal, ciQuantity, ciTotal, ciDiscount2,
          ciTax, ciPay, ciDiscount2N, ciTotalDiscount, ciTaxN, ciTotalTax, ciBack, ciTotalCart})
        FocusColours(t);

    cbAdd->Click = [this] { cbAdd_Click(); };
    ciDescription->events.GotFocus = [this] { ciDescription_GotFocus(); };
    ciDescription->events.LostFocus = [this] { ciDescription_LostFocus(); };
    ciDescription->events.KeyDown = [this](int& k, int s) { ciDescription_KeyDown(k, s); };
    ciDescription->events.KeyPress = [this](int& a) { ciDescription_KeyPress(a); };

    ciDiscount2->Change = [this] { ciDiscount2_Change(); };
    ciTax->Change = [this] { ciTax_Change(); };
    ciPay->Change = [this] { ciPay_Change(); };
    ciPay->events.KeyDown = [this](int& k, int s) { ciPay_KeyDown(k, s); };
    ciTotalCart->Change = [this] { ciTotalCart_Change(); };
    ciDiscount->events.KeyPress = [this](int& a) { ciDiscount_KeyPress(a); };
    ciDiscount2->events.KeyPress = [this](int& a) { ciDiscount2_KeyPress(a); };
    ciTax->events.KeyPress = [this](int& a) { ciTax_KeyPress(a); };
    DigitKeys(ciPay);
    ciPrintNote->Click = [this] { ciPrintNote_Click(); };
    cbPrint->Click = [this] { cbPrint_Click(); };
    cbOK->Click = [this] { cbOK_Click(); };
    cbOKWithoutPay->Click = [this] { cbOKWithoutPay_Click(); };

    m_codeTarget = picker::Register(QStringLiteral("ciCode"), ciCode, picker::Value::Code, true);
    m_chargeTarget = picker::Register(QStringLiteral("ciCharge"), ciCharge, picker::Value::Name, true);
    m_warehouseTarget = picker::Register(QStringLiteral("ciWarehouse"), ciWarehouse, picker::Value::Name, true);
}
