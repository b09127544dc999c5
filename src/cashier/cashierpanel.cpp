#include "cashier/cashierpanel.h"

#include "cashier/fback.h"
#include "cashier/fbarcode.h"
#include "cashier/fcart.h"
#include "cashier/fedit.h"
#include "cashier/fmove.h"
#include "cashier/itementry.h"
#include "cashier/keyup.h"
#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cartops.h"
#include "cashier/model/journal.h"
#include "cashier/model/receipt.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/mmain.h"
#include "lang/mlang.h"
#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/runtime.h"
#include "shell/fmain.h"
#include "stock/stockfields.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QSignalBlocker>

using namespace platform;
using namespace mMain;
using namespace cashier;

namespace {

template <class T> T* at(T* w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
    return w;
}

void focusColours(InputEvents& ev, QWidget* w)
{
    ev.GotFocus = [w] { FocusOn(w); };
    ev.LostFocus = [w] { FocusOff(w); };
}

DbConnection& db()
{
    return app().DbConn();
}

} // namespace

CashierPanelView::CashierPanelView(fMain* main) : QObject(main), m_main(main)
{
    build(main->pCashier);
    m_entry = std::make_unique<ItemEntry>(
        ItemFields{ciCode, ciCategory, ciName, ciPrice, ciDiscount, ciDiscountN, ciSubtotal, ciQuantity, ciTotal,
                   ciSatuan, ciItems},
        [this] { return GetAction(); }, [this] { return ciAction->currentText(); });
    wire();
}

CashierPanelView::~CashierPanelView() = default;

void CashierPanelView::build(QWidget* p)
{
    auto box = [p](const char* name, int x, int y, int w, int maxLength = 15) {
        auto* t = at(new TextBox(p, QLatin1String(name)), x, y, w, 24);
        t->setMaxLength(maxLength);
        return t;
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
        auto* t = at(new TextBox(f, QLatin1String(name)), x, y, w, 24);
        t->setMaxLength(maxLength);
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
    ciItems->DblClick = [this] { ciItemsSelected(); };
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
          ciTax, ciPay, ciDiscount2N, ciTotalDiscount, ciTaxN, ciTotalTax, ciBack, ciTotalCart, ciDescription})
        focusColours(t->events, t);

    cbAdd->Click = [this] { cbAdd_Click(); };
    ciDescription->events.KeyDown = [this](int& k, int s) { ciDescription_KeyDown(k, s); };
    ciDescription->events.KeyPress = [this](int& a) { ciDescription_KeyPress(a); };

    ciDiscount2->Change = [this] { ciDiscount2_Change(); };
    ciTax->Change = [this] { ciTax_Change(); };
    ciPay->Change = [this] { ciPay_Change(); };
    ciPay->events.KeyDown = [this](int& k, int s) { ciPay_KeyDown(k, s); };
    ciTotalCart->Change = [this] { ciTotalCart_Change(); };
    auto digitsOnly = [](int& a) { a = NumericOnly(a, false); };
    ciDiscount2->events.KeyPress = digitsOnly;
    ciTax->events.KeyPress = digitsOnly;
    ciPay->events.KeyPress = digitsOnly;
    ciPrintNote->Click = [this] { ciPrintNote_Click(); };
    cbPrint->Click = [this] { cbPrint_Click(); };
    cbOK->Click = [this] { cbOK_Click(); };
    cbOKWithoutPay->Click = [this] { cbOKWithoutPay_Click(); };

    picker::Register(QStringLiteral("ciCode"), ciCode, picker::Value::Code, true);
    picker::Register(QStringLiteral("ciCharge"), ciCharge, picker::Value::Name, true);
    picker::Register(QStringLiteral("ciWarehouse"), ciWarehouse, picker::Value::Name, true);
}

// ---------------------------------------------------------------- action, charge, warehouse

QString CashierPanelView::GetAction() const
{
    return ActionWord(ciAction->ListIndex());
}

void CashierPanelView::ciAction_Click()
{
    ciCode->setText(QString());
    FillCiCharge();
    if (ciCharge->Text().isEmpty())
        FillCiCart();
    ccCharge->setCaption(mLang::LangCaption(ChargeCaptionKey(GetAction())));
}

void CashierPanelView::ciAction_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        ciCharge->setFocus();
}

void CashierPanelView::FillCiCharge()
{
    const QString action = GetAction();
    if (catalogue::ContactTable(action).isEmpty())
        return;
    ciCharge->SetItems(ChargeNames(db(), action));
}

void CashierPanelView::ciCharge_Change()
{
    ciCharge_Click();
}

void CashierPanelView::ciCharge_Click()
{
    FillCiCart();
    ciCheck->setValue(1);
    const QString where = QStringLiteral(" from pending where `action`=") + Quote(GetAction()) +
                          QStringLiteral(" and `charge`=") + Quote(ciCharge->Text());
    if (GetValue(QStringLiteral("select count(warehouse)") + where).toLongLong() == 0)
        ciWarehouse->setText(QString());
    else
        ciWarehouse->setText(Str(GetValue(QStringLiteral("select warehouse") + where)));
}

void CashierPanelView::ciCharge_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        if (ciWarehouse->isVisible())
            ciWarehouse->setFocus();
        else
            ciCode->setFocus();
    } else if (KeyCode == vbKeyF12) {
        cbCharge_Click();
    }
}

void CashierPanelView::ciCharge_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, ciCharge->UnselectedText());
}

void CashierPanelView::cbCharge_Click()
{
    picker::Open(QStringLiteral("Charge"), QStringLiteral("ciCharge"));
}

void CashierPanelView::ciWarehouse_Change()
{
    ciWarehouse_Click();
}

// The held warehouse of the action and charge: the count and the insert or
// update are one write, so two workstations never store the pair twice.
void CashierPanelView::ciWarehouse_Click()
{
    const QString action = Quote(GetAction());
    const QString charge = Quote(ciCharge->Text());
    const QString warehouse = Quote(ciWarehouse->Text());
    DbTransaction tx(db());
    if (GetValue(QStringLiteral("select count(*) from pending where `action`=") + action +
                 QStringLiteral(" and `charge`=") + charge)
            .toLongLong() == 0)
        ExecSQL(QStringLiteral("insert into pending values(") + action + QStringLiteral(", ") + charge +
                QStringLiteral(", ") + warehouse + QLatin1Char(')'));
    else
        ExecSQL(QStringLiteral("update pending set `action`=") + action + QStringLiteral(", `charge`=") + charge +
                QStringLiteral(", `warehouse`=") + warehouse + QStringLiteral(" where `action`=") + action +
                QStringLiteral(" and `charge`=") + charge);
    tx.commit();
}

void CashierPanelView::ciWarehouse_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyF12)
        cbWarehouse_Click();
    else if (KeyCode == vbKeyReturn)
        ciCode->setFocus();
}

void CashierPanelView::ciWarehouse_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, ciWarehouse->UnselectedText());
}

void CashierPanelView::cbWarehouse_Click()
{
    picker::Open(QStringLiteral("Warehouse"), QStringLiteral("ciWarehouse"));
}

// Rebuilds the list and keeps the text: showing the panel must not forget
// the held charge's warehouse, nor write it.
void CashierPanelView::FillCiWarehouse()
{
    const QString kept = ciWarehouse->Text();
    QStringList names;
    for (auto rs = OpenRecordset(QStringLiteral("select `name` from Warehouse")); !rs->Eof(); rs->MoveNext())
        names << rs->Fields(0).toString();
    const QSignalBlocker quiet(ciWarehouse);
    ciWarehouse->clear();
    ciWarehouse->addItems(names);
    ciWarehouse->setCurrentIndex(-1);
    ciWarehouse->setEditText(kept);
}

// ---------------------------------------------------------------- cart list

void CashierPanelView::FillCiCart()
{
    const QString action = GetAction();
    const QString charge = ciCharge->Text();
    QStringList titles;
    for (const char* k : {"tCode", "tDescription", "tPrice", "tDiscount", "tSubTotal", "tQuantity", "tTotal"})
        titles << mLang::LangGrid(QLatin1String(k));
    ciCart->setUpdatesEnabled(false);
    ciCart->Clear();
    ciCart->AddItem(CartTitleRow(titles), true);
    ciCart->AddItem(CartRuleRow(), true);
    if (!action.isEmpty())
        for (const CartLine& l : CartLines(db(), action, charge, false))
            ciCart->AddItem(CartLineRow(l), l.checked);
    ciCart->setUpdatesEnabled(true);
    ciTotalCart->setText(action.isEmpty() ? QStringLiteral("0") : TickedTotal(db(), action, charge));
}

QString CashierPanelView::GetSelectedCiCartID() const
{
    return CartRowId(ciCart->List(ciCart->ListIndex()));
}

// The tick of the row that was toggled, which need not be the cursor row.
void CashierPanelView::ciCart_ItemCheck(int Item)
{
    if (Item < 2)
        return;
    const QString id = CartRowId(ciCart->List(Item));
    if (id.isEmpty())
        return;
    ExecSQL(QStringLiteral("update `") + CartTable(GetAction()) + QStringLiteral("` set checked=") +
            (ciCart->Selected(Item) ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral(" where ID=") +
            QString::number(id.toLongLong()));
    ciTotalCart->setText(TickedTotal(db(), GetAction(), ciCharge->Text()));
}

void CashierPanelView::ciCheck_Click()
{
    const QString action = GetAction();
    if (action.isEmpty())
        return;
    ExecSQL(QStringLiteral("update `") + CartTable(action) + QStringLiteral("` set checked=") +
            QString::number(ciCheck->Value()) + QStringLiteral(" where charge=") + Quote(ciCharge->Text()));
    FillCiCart();
}

void CashierPanelView::refreshCart()
{
    FillCiCharge();
    if (ciCharge->Text().isEmpty())
        FillCiCart();
}

// ---------------------------------------------------------------- cart line operations

void CashierPanelView::ciCart_DblClick()
{
    // A double click leaves the row's tick as it was: only the edit runs.
    cbEdit_Click();
}

void CashierPanelView::ciCart_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbEdit_Click();
    else if (KeyCode == vbKeyDelete)
        cbDelete_Click();
}

void CashierPanelView::cbDelete_Click()
{
    const QString id = GetSelectedCiCartID();
    if (ciCart->ListIndex() < 2 || id.isEmpty() || GetAction().isEmpty())
        return;
    if (MsgConfirm(QStringLiteral("Hapus Item yang terpilih?"), MsgTitleConfirm) != MsgOK)
        return;
    DeleteCartLine(db(), GetAction(), id.toLongLong());
    refreshCart();
}

void CashierPanelView::cbClear_Click()
{
    if (ciCart->ListCount() < 3 || GetAction().isEmpty())
        return;
    if (MsgConfirm(QStringLiteral("Hapus semua Item yang ditandai?"), MsgTitleConfirm) != MsgOK)
        return;
    ClearTickedLines(db(), GetAction(), ciCharge->Text());
    refreshCart();
}

void CashierPanelView::cbSplit_Click()
{
    const QString id = GetSelectedCiCartID();
    if (ciCart->ListIndex() < 2 || id.isEmpty() || GetAction().isEmpty())
        return;
    const std::optional<CartLine> line = CartLineById(db(), GetAction(), id.toLongLong());
    if (!line || line->quantity <= 1)
        return;
    if (MsgConfirm(QStringLiteral("Pisahkan Item yang terpilih?"), MsgTitleConfirm) != MsgOK)
        return;
    SplitCartLine(db(), GetAction(), id.toLongLong());
    FillCiCart();
}

// The dialog is filled from the stored line and keeps the line's id: its
// save writes to that line or, when the line has gone meanwhile, to none.
void CashierPanelView::cbEdit_Click()
{
    const QString id = GetSelectedCiCartID();
    fEdit* edit = EditWindow();
    if (ciCart->ListIndex() < 2 || id.isEmpty() || GetAction().isEmpty() || !edit)
        return;
    const std::optional<CartLine> line = CartLineById(db(), GetAction(), id.toLongLong());
    if (!line)
        return;
    edit->LineAction = GetAction();
    edit->LineId = line->id;
    edit->iSubtotal->setText(FormatNumber(line->subtotal));
    edit->iQuantity->setText(QuantityFieldText(line->quantity));
    edit->iUnit->setCaption(line->satuan);
    edit->iTotal->setText(FormatNumber(line->total));
    edit->ShowModal();
}

void CashierPanelView::cbMove_Click()
{
    if (ciCart->ListCount() < 2)
        return;
    if (fMove* move = MoveWindow())
        move->ShowModal();
}

// ---------------------------------------------------------------- item row

void CashierPanelView::ciCode_Change()
{
    m_entry->ciCode_Change();
}

void CashierPanelView::ClearCI()
{
    m_entry->ClearCI();
}

void CashierPanelView::FillCiItems()
{
    m_entry->FillCiItems();
}

void CashierPanelView::ciItemsSelected()
{
    m_entry->ciItemsSelected();
}

void CashierPanelView::cbBrowse_Click()
{
    picker::Open(QStringLiteral("Items"), QStringLiteral("ciCode"));
}

void CashierPanelView::ciCode_KeyDown(int& KeyCode, int)
{
    m_entry->ciCode_KeyDown(KeyCode, [this] { cbBrowse_Click(); });
}

void CashierPanelView::ciCode_KeyPress(int& KeyAscii)
{
    KeyAscii = UpperKey(KeyAscii);
}

void CashierPanelView::ciItems_KeyDown(int& KeyCode, int)
{
    m_entry->ciItems_KeyDown(KeyCode);
}

// ---------------------------------------------------------------- line arithmetic

void CashierPanelView::ciPrice_Change()
{
    m_entry->ciPrice_Change();
}

void CashierPanelView::ciDiscount_Change()
{
    m_entry->ciDiscount_Change();
}

void CashierPanelView::ciDiscountN_Change()
{
    m_entry->ciDiscountN_Change();
}

void CashierPanelView::ciSubtotal_Change()
{
    FormatNumberBox(ciSubtotal);
}

void CashierPanelView::ciTotal_Change()
{
    FormatNumberBox(ciTotal);
}

void CashierPanelView::ciQuantity_Change()
{
    m_entry->ciQuantity_Change();
}

void CashierPanelView::ciSubtotal_KeyUp()
{
    m_entry->ciSubtotal_KeyUp();
}

void CashierPanelView::ciTotal_KeyUp()
{
    m_entry->ciTotal_KeyUp();
}

void CashierPanelView::ciQuantity_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbAdd_Click();
    else if (KeyCode == vbKeyUp)
        ciSubtotal->setFocus();
    else if (KeyCode == vbKeyDown)
        ciTotal->setFocus();
}

void CashierPanelView::ciSubtotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbAdd_Click();
    else if (KeyCode == vbKeyDown)
        ciQuantity->setFocus();
}

void CashierPanelView::ciTotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbAdd_Click();
    else if (KeyCode == vbKeyUp)
        ciQuantity->setFocus();
    else if (KeyCode == vbKeyDown)
        ciPay->setFocus();
}

void CashierPanelView::ciQuantity_KeyPress(int& KeyAscii)
{
    KeyAscii = stock::QuantityKey(KeyAscii, ciQuantity->UnselectedText());
}

void CashierPanelView::ciSubtotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}

void CashierPanelView::ciTotal_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
}

// ---------------------------------------------------------------- adding a line

void CashierPanelView::cbAdd_Click()
{
    if (m_entry->AddLine(ciCharge->Text(), false))
        refreshCart();
}

void CashierPanelView::cbAdd2_Click()
{
    ShowAddLine();
}

void CashierPanelView::ShowAddLine()
{
    if (fCart* cart = CartWindow())
        cart->ShowModal();
}

void CashierPanelView::cbBarcode_Click()
{
    if (fBarcode* barcode = BarcodeWindow())
        barcode->ShowModal();
}

void CashierPanelView::ciDescription_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbOKWithoutPay_Click();
}

void CashierPanelView::ciDescription_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, ciDescription->UnselectedText());
}

// ---------------------------------------------------------------- totals and payment

// An idle till recomputes nothing: the figures are written again only when
// an input changed or a computed field no longer shows what was written.
void CashierPanelView::tCount_Timer()
{
    const TotalsInput in{ciTotalCart->Text(), ciDiscount2->Text(), ciTax->Text(), ciPay->Text()};
    if (m_lastInput && in == *m_lastInput && ciDiscount2N->Text() == m_last.discountN &&
        ciTotalDiscount->Text() == m_last.totalDiscount && ciTaxN->Text() == m_last.taxN &&
        ciTotalTax->Text() == m_last.totalTax && ciTotal2->Caption() == m_last.totalTax &&
        ciBack->Text() == m_last.back)
        return;
    m_lastInput = in;
    m_last = ComputeTotals(in);
    ciDiscount2N->setText(m_last.discountN);
    ciTotalDiscount->setText(m_last.totalDiscount);
    ciTaxN->setText(m_last.taxN);
    ciTotalTax->setText(m_last.totalTax);
    ciTotal2->setCaption(m_last.totalTax);
    ciBack->setText(m_last.back);
}

void CashierPanelView::ciDiscount2_Change()
{
    SetConfig(QStringLiteral("Discount"), ciDiscount2->Text());
}

void CashierPanelView::ciTax_Change()
{
    SetConfig(QStringLiteral("Tax"), ciTax->Text());
}

void CashierPanelView::ciPay_Change()
{
    FormatNumberBox(ciPay);
}

void CashierPanelView::ciPay_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        cbOK_Click();
}

void CashierPanelView::ciTotalCart_Change()
{
    FormatNumberBox(ciTotalCart);
}

// ---------------------------------------------------------------- receipt

void CashierPanelView::ciPrintNote_Click()
{
    SetConfig(QStringLiteral("Note"), QString::number(ciPrintNote->Value()));
}

void CashierPanelView::cbPrint_Click()
{
    if (ciCart->ListCount() < 2)
        return;
    const QString action = GetAction();
    if (action.isEmpty())
        return;
    if (GetValue(QStringLiteral("select count(id) from `") + CartTable(action) +
                 QStringLiteral("` where checked=1 and charge=") + Quote(ciCharge->Text()))
            .toLongLong() > 0)
        cPrintNote(0);
}

void CashierPanelView::cPrintNote(qint64 no)
{
    printReceipt(no, CartLines(db(), GetAction(), ciCharge->Text(), true));
}

void CashierPanelView::printReceipt(qint64 no, const QList<CartLine>& lines)
{
    // Total, paid and change from the same figures, also for a bill asked
    // for before the next tick.
    tCount_Timer();
    ReceiptInput in;
    in.no = no;
    in.actionText = ciAction->currentText();
    in.company = GetConfig(QStringLiteral("Company"));
    in.address = GetConfig(QStringLiteral("Address"));
    in.phone = GetConfig(QStringLiteral("Phone"));
    in.cashier = app().CurrentUser;
    in.charge = ciCharge->Text();
    in.lines = lines;
    in.total = ciTotalTax->Text();
    in.pay = ciPay->Text();
    in.back = ciBack->Text();
    in.message1 = GetConfig(QStringLiteral("Message1"));
    in.message2 = GetConfig(QStringLiteral("Message2"));
    in.message3 = GetConfig(QStringLiteral("Message3"));
    in.now = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    in.port = PrinterPort() != QLatin1String("Default");
    try {
        for (const QString& line : ReceiptLines(in))
            PrintLine(line);
        EndPrint();
    } catch (...) {
        app().Printer.KillDoc();
        throw;
    }
}

// ---------------------------------------------------------------- saving

void CashierPanelView::cbOK_Click()
{
    InsertTR(true);
}

void CashierPanelView::cbOKWithoutPay_Click()
{
    InsertTR(false);
}

// The cart of the action and charge becomes journal and stock rows in one
// write transaction; the receipt and the change window come after it has
// been committed, so a printer failure never undoes or repeats a sale.
void CashierPanelView::InsertTR(bool pay)
{
    const QString action = GetAction();
    const QString charge = ciCharge->Text();
    const auto refuse = [](const QString& message, QWidget* focus) {
        MsgWarn(message, MsgTitleWarn);
        focus->setFocus();
    };
    if (ciCart->ListCount() <= 2 || action.isEmpty() ||
        GetValue(QStringLiteral("select count(id) from `") + CartTable(action) +
                 QStringLiteral("` where checked=1 and charge=") + Quote(charge))
                .toLongLong() == 0) {
        refuse(QStringLiteral("Keranjang Belanja belum diisi"), ciCode);
        return;
    }
    tCount_Timer();
    if (!pay) {
        ciPay->setText(ciTotalTax->Text());
        tCount_Timer();
    } else if (AmountOf(ciPay->Text()) == 0) {
        refuse(QStringLiteral("Uang yang dibayarkan belum diisi"), ciPay);
        return;
    } else if (AmountOf(ciBack->Text()) < 0) {
        refuse(QStringLiteral("Uang yang dibayarkan tidak cukup"), ciPay);
        return;
    }

    if (!FiguresFit({ciTotalCart, ciDiscount2N, ciTotalDiscount, ciTaxN, ciTotalTax, ciPay, ciBack}))
        return;

    SaveHeader h;
    h.action = action;
    h.charge = charge;
    h.date = ciMoment->Value();
    h.note = ciDescription->Text();
    h.warehouse = ciWarehouse->Text();
    h.cashier = app().CurrentUser;
    h.dbKind = app().DbKind;
    h.discount = ciDiscount2->Text();
    h.discountN = ciDiscount2N->Text();
    h.tax = ciTax->Text();
    h.taxN = ciTaxN->Text();
    const SaveResult saved = SaveTransaction(db(), h);
    if (!saved.saved) {
        refuse(QStringLiteral("Keranjang Belanja belum diisi"), ciCode);
        return;
    }

    if (pay) {
        if (ciPrintNote->Value() == 1) {
            try {
                printReceipt(saved.rows.lastId, saved.lines);
            } catch (...) {
                LogFailure(QStringLiteral("cPrintNote"), std::current_exception());
                MsgWarn(QStringLiteral("Transaksi telah tersimpan, tetapi struk tidak tercetak:\n") +
                            FailureText(std::current_exception()),
                        MsgTitleWarn);
            }
        }
        if (fBack* back = BackWindow()) {
            back->iBack->setCaption(ciBack->Text());
            back->ShowModal();
        }
    } else {
        MsgInfo(QStringLiteral("Transaksi telah tersimpan"), MsgTitleInfo);
    }

    ciCode->setText(QString());
    if (ciCharge->Text().isEmpty())
        FillCiCart();
    else
        FillCiCharge();
    ciPay->setText(QString());
    ciDescription->setText(QString());
    m_main->liPage_Click();
    ciCode->setFocus();
}
