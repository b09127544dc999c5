#include "cashier/cashierpanel.h"

#include "cashier/fback.h"
#include "cashier/fbarcode.h"
#include "cashier/fcart.h"
#include "cashier/fedit.h"
#include "cashier/fmove.h"
#include "cashier/itementry.h"
#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cartops.h"
#include "cashier/model/cartwrites.h"
#include "cashier/model/journal.h"
#include "cashier/model/pending.h"
#include "cashier/model/receipt.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/names.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "lang/mlang.h"
#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/runtime.h"
#include "shell/fmain.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QScopedValueRollback>
#include <QSignalBlocker>

using namespace platform;
using namespace mMain;
using namespace cashier;

namespace {

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
    tCart = new Timer(this, QStringLiteral("tCart"), 1000);
    tCart->Tick = [this] { tCart_Timer(); };
    tCart->setEnabled(true);
    // The charges are the action's contacts and its held carts.
    // Other windows read the till's choices from the session, and choose
    // through it as the operator would here.
    app().OnSession(this, [this](ShopSession& s) {
        connect(&s, &ShopSession::cartChanged, this, &CashierPanelView::refreshCart);
        connect(&s, &ShopSession::catalogueChanged, this, &CashierPanelView::FillCiCharge);
        TillState& till = s.till();
        till.setAction(GetAction(), ActionCaption());
        till.setCharge(CurrentCharge());
        connect(&till, &TillState::actionChosen, this, &CashierPanelView::SelectAction);
        connect(&till, &TillState::chargeChosen, this, &CashierPanelView::SetCharge);
    });
}

CashierPanelView::~CashierPanelView() = default;

// ---------------------------------------------------------------- action, charge, warehouse

QString CashierPanelView::GetAction() const
{
    return ActionWord(ciAction->ListIndex());
}

QString CashierPanelView::ActionCaption() const
{
    return ciAction->currentText();
}

QString CashierPanelView::CurrentCharge() const
{
    return ciCharge->Text();
}

void CashierPanelView::SetCharge(const QString& charge)
{
    ciCharge->setText(charge);
}

void CashierPanelView::SelectAction(const QString& action)
{
    for (int entry = 0; entry < ciAction->ListCount(); ++entry)
        if (ActionWord(entry) == action)
            return ciAction->setListIndex(entry);
}

void CashierPanelView::StartSession()
{
    ciAction->setListIndex(0);
    ciSatuan->setCaption(QString());
}

void CashierPanelView::SetRates(const QString& discount, const QString& tax)
{
    ciDiscount2->setText(discount);
    ciTax->setText(tax);
}

void CashierPanelView::SetBrowseEnabled(bool enabled)
{
    cbBrowse->setEnabled(enabled);
    cbCharge->setEnabled(enabled);
}

void CashierPanelView::ApplySettings(int printNote, bool warehouse)
{
    ciPrintNote->setValue(printNote);
    for (QWidget* w :
         {static_cast<QWidget*>(ccWarehouse), static_cast<QWidget*>(ciWarehouse), static_cast<QWidget*>(cbWarehouse)})
        w->setVisible(warehouse);
}

void CashierPanelView::FocusAction()
{
    ciAction->setFocus();
}

void CashierPanelView::FocusCharge()
{
    ciCharge->setFocus();
}

void CashierPanelView::FocusCart()
{
    ciCart->setFocus();
}

void CashierPanelView::TogglePrintNote()
{
    ciPrintNote->setValue(ciPrintNote->Value() == 1 ? 0 : 1);
}

void CashierPanelView::ciAction_Click()
{
    if (ShopSession* s = app().Session())
        s->till().setAction(GetAction(), ActionCaption());
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
    // With no charge to put back, the names are read when the list is
    // first used: the login's window is painted before a hundred thousand
    // customers are read. Read after a logout, they are no more wanted.
    ciCharge->SetItemsSoon([this, action] { return app().Session() ? ChargeNames(db(), action) : QStringList(); });
}

void CashierPanelView::ciCharge_Change()
{
    ciCharge_Click();
}

void CashierPanelView::ciCharge_Click()
{
    // Every change of the charge's text comes here, typed or chosen.
    if (ShopSession* s = app().Session())
        s->till().setCharge(CurrentCharge());
    FillCiCart();
    ciCheck->setValue(1);
    ciWarehouse->setText(HeldWarehouse(db(), GetAction(), ciCharge->Text()));
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
    // F12 stands for the button: nothing while it is grey.
    if (!cbCharge->isEnabled())
        return;
    picker::Open(QStringLiteral("Charge"), m_chargeTarget);
}

void CashierPanelView::ciWarehouse_Change()
{
    ciWarehouse_Click();
}

void CashierPanelView::ciWarehouse_Click()
{
    const QScopedValueRollback quiet(m_quiet, true);
    if (ShopSession* s = app().Session())
        HoldWarehouse(*s, GetAction(), ciCharge->Text(), ciWarehouse->Text());
    else
        HoldWarehouse(db(), GetAction(), ciCharge->Text(), ciWarehouse->Text());
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
    if (!cbWarehouse->isEnabled())
        return;
    picker::Open(QStringLiteral("Warehouse"), m_warehouseTarget);
}

// Rebuilds the list and keeps the text: showing the panel must not forget
// the held charge's warehouse, nor write it.
void CashierPanelView::FillCiWarehouse()
{
    const QString kept = ciWarehouse->Text();
    const QStringList names =
        catalogue::KeptNames(db(), QStringLiteral("select `name` from Warehouse"), {QStringLiteral("Warehouse")});
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
    ++m_fills;
    m_cartStamp = db().changeStamp();
    m_shown = action.isEmpty() ? QList<CartLine>() : CartLines(db(), action, charge, false);
    m_shownAction = action;
    m_shownCharge = charge;
    ciCart->setUpdatesEnabled(false);
    ciCart->Clear();
    ciCart->AddItem(CartTitleRow(titles), true);
    ciCart->AddItem(CartRuleRow(), true);
    for (const CartLine& l : std::as_const(m_shown))
        ciCart->AddItem(CartLineRow(l), l.checked);
    ciCart->setUpdatesEnabled(true);
    // The total of the lines shown, whatever was stored since.
    ciTotalCart->setText(FormatAmount(TickedSum(m_shown)));
}

std::optional<CartLine> CashierPanelView::shownLine(int row) const
{
    if (row < 2 || row - 2 >= m_shown.size() || GetAction() != m_shownAction)
        return std::nullopt;
    return m_shown.at(row - 2);
}

QList<CartLine> CashierPanelView::shownTicked() const
{
    QList<CartLine> ticked;
    for (const CartLine& l : m_shown)
        if (l.checked)
            ticked << l;
    return ticked;
}

void CashierPanelView::cartMoved()
{
    FillCiCart();
    MsgWarn(CartChangedText(), MsgTitleWarn);
}

void CashierPanelView::tCart_Timer()
{
    if (!app().Session() || db().inTransaction() || m_quiet)
        return;
    try {
        // A save to settle comes first; a cart not in sight needs no reading.
        if (m_unconfirmed) {
            confirmSave();
            return;
        }
        if (!ciCart->isVisible())
            return;
        // On a file the stamp tells at no cost that nobody wrote; a server
        // reads the few lines of the cart.
        const QByteArray stamp = db().changeStamp();
        if (!stamp.isEmpty() && stamp == m_cartStamp)
            return;
        const QString action = GetAction();
        const QString charge = ciCharge->Text();
        if (action.isEmpty() || action != m_shownAction || charge != m_shownCharge) {
            m_cartStamp = stamp;
            return;
        }
        const QList<CartLine> stored = CartLines(db(), action, charge, false);
        m_cartStamp = stamp;
        if (stored != m_shown)
            FillCiCart();
    } catch (const DbError&) {
        // A database that does not answer is told by the next action.
    }
}

QString CashierPanelView::GetSelectedCiCartID() const
{
    return CartRowId(ciCart->List(ciCart->ListIndex()));
}

// The tick of the row that was toggled, which need not be the cursor row.
void CashierPanelView::ciCart_ItemCheck(int Item)
{
    const std::optional<CartLine> line = shownLine(Item);
    ShopSession* session = app().Session();
    if (!line || !session)
        return;
    const bool ticked = ciCart->Selected(Item);
    bool done = false;
    {
        // The list shows the tick already: its news needs no refill here.
        const QScopedValueRollback quiet(m_quiet, true);
        done = TickLine(*session, GetAction(), *line, ticked);
    }
    if (!done)
        return cartMoved();
    m_shown[Item - 2].checked = ticked;
    ciTotalCart->setText(FormatAmount(TickedSum(m_shown)));
}

void CashierPanelView::ciCheck_Click()
{
    const QString action = GetAction();
    ShopSession* session = app().Session();
    if (action.isEmpty() || !session)
        return;
    bool done = false;
    {
        const QScopedValueRollback quiet(m_quiet, true);
        done = TickCharge(*session, action, ciCharge->Text(), m_shown, ciCheck->Value());
    }
    if (!done)
        return cartMoved();
    FillCiCart();
}

void CashierPanelView::refreshCart()
{
    if (m_quiet)
        return;
    const quint64 filled = m_fills;
    FillCiCharge();
    // The charge's handlers refill the list when its text is put back; a
    // box left as it was (or an empty charge) does not.
    if (m_fills == filled)
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

// Each names the lines as the list showed them: a line changed or gone
// meanwhile is not touched, nor any other line that took its number.
void CashierPanelView::cbDelete_Click()
{
    const std::optional<CartLine> line = shownLine(ciCart->ListIndex());
    ShopSession* session = app().Session();
    if (!line || GetAction().isEmpty() || !session)
        return;
    if (MsgConfirm(QStringLiteral("Hapus Item yang terpilih?"), MsgTitleConfirm) != MsgOK)
        return;
    if (!DeleteCartLine(*session, GetAction(), *line))
        MsgWarn(CartChangedText(), MsgTitleWarn);
}

void CashierPanelView::cbClear_Click()
{
    ShopSession* session = app().Session();
    if (ciCart->ListCount() < 3 || GetAction().isEmpty() || !session)
        return;
    const QList<CartLine> ticked = shownTicked();
    if (MsgConfirm(QStringLiteral("Hapus semua Item yang ditandai?"), MsgTitleConfirm) != MsgOK)
        return;
    if (!ClearTickedLines(*session, GetAction(), ciCharge->Text(), ticked))
        MsgWarn(CartChangedText(), MsgTitleWarn);
}

void CashierPanelView::cbSplit_Click()
{
    const std::optional<CartLine> line = shownLine(ciCart->ListIndex());
    ShopSession* session = app().Session();
    if (!line || GetAction().isEmpty() || !session || line->quantity <= 1)
        return;
    if (MsgConfirm(QStringLiteral("Pisahkan Item yang terpilih?"), MsgTitleConfirm) != MsgOK)
        return;
    if (!SplitCartLine(*session, GetAction(), *line))
        MsgWarn(CartChangedText(), MsgTitleWarn);
}

// The dialog opens with the line as the list shows it, and its save writes
// to that line only while it is still so.
void CashierPanelView::cbEdit_Click()
{
    const std::optional<CartLine> line = shownLine(ciCart->ListIndex());
    fEdit* edit = EditWindow();
    if (!line || GetAction().isEmpty() || !edit)
        return;
    edit->LineAction = GetAction();
    edit->Line = *line;
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
    if (fMove* move = MoveWindow()) {
        move->Shown = m_shown;
        move->ShowModal();
    }
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

void CashierPanelView::ciItems_DblClick()
{
    ciItemsSelected();
}

void CashierPanelView::cbBrowse_Click()
{
    if (!cbBrowse->isEnabled())
        return;
    picker::Open(QStringLiteral("Items"), m_codeTarget);
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

void CashierPanelView::ciDiscount_KeyPress(int& KeyAscii)
{
    KeyAscii = PercentKey(KeyAscii, ciDiscount->UnselectedText());
}

void CashierPanelView::ciQuantity_KeyPress(int& KeyAscii)
{
    KeyAscii = QuantityKey(KeyAscii, ciQuantity->UnselectedText());
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
    m_entry->AddLine(ciCharge->Text(), false);
}

void CashierPanelView::cbAdd2_Click()
{
    ShowAddLine();
}

void CashierPanelView::ShowAddLine()
{
    if (!cbAdd2->isEnabled())
        return;
    if (fCart* cart = CartWindow())
        cart->ShowModal();
}

void CashierPanelView::cbBarcode_Click()
{
    if (fBarcode* barcode = BarcodeWindow())
        barcode->ShowModal();
}

void CashierPanelView::ciDescription_GotFocus()
{
    FocusOn(ciDescription);
}

void CashierPanelView::ciDescription_LostFocus()
{
    FocusOff(ciDescription);
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
    StoreSetting(QStringLiteral("Discount"), PercentText(ciDiscount2->Text()));
}

void CashierPanelView::ciTax_Change()
{
    StoreSetting(QStringLiteral("Tax"), PercentText(ciTax->Text()));
}

void CashierPanelView::ciDiscount2_KeyPress(int& KeyAscii)
{
    KeyAscii = PercentKey(KeyAscii, ciDiscount2->UnselectedText());
}

void CashierPanelView::ciTax_KeyPress(int& KeyAscii)
{
    KeyAscii = PercentKey(KeyAscii, ciTax->UnselectedText());
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
    StoreSetting(QStringLiteral("Note"), QString::number(ciPrintNote->Value()));
}

void CashierPanelView::StoreSetting(const QString& key, const QString& value)
{
    if (SetConfig(key, value))
        Announce(&ShopSession::settingsChanged);
}

void CashierPanelView::cbPrint_Click()
{
    if (ciCart->ListCount() < 2)
        return;
    if (GetAction().isEmpty() || shownTicked().isEmpty())
        return;
    cPrintNote(0);
}

// The bill carries the ticked lines shown under the total shown, or is not
// printed: lines stored meanwhile would stand above a total that leaves
// them out.
void CashierPanelView::cPrintNote(qint64 no)
{
    const QList<CartLine> ticked = shownTicked();
    if (!SameLines(ticked, CartLines(db(), GetAction(), ciCharge->Text(), true)))
        return cartMoved();
    printReceipt(no, 0, ticked);
}

void CashierPanelView::printReceipt(qint64 no, qint64 transaction, const QList<CartLine>& lines)
{
    // Total, paid and change from the same figures, also for a bill asked
    // for before the next tick.
    tCount_Timer();
    ReceiptInput in;
    in.no = no;
    in.transaction = transaction;
    in.actionText = ciAction->currentText();
    in.company = GetConfig(QStringLiteral("Company"));
    in.address = GetConfig(QStringLiteral("Address"));
    in.phone = GetConfig(QStringLiteral("Phone"));
    in.cashier = app().CurrentUser;
    in.charge = ciCharge->Text();
    in.lines = lines;
    in.discount = PercentOf(ciDiscount2->Text());
    in.discountN = ciDiscount2N->Text();
    in.tax = PercentOf(ciTax->Text());
    in.taxN = ciTaxN->Text();
    in.total = ciTotalTax->Text();
    in.pay = ciPay->Text();
    in.back = ciBack->Text();
    in.message1 = GetConfig(QStringLiteral("Message1"));
    in.message2 = GetConfig(QStringLiteral("Message2"));
    in.message3 = GetConfig(QStringLiteral("Message3"));
    in.now = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    in.port = PrinterPort() != QLatin1String("Default");
    app().Printer.setDocName(ReceiptJobName(in));
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
    // The right is the save's own condition: the panel's menu item is not
    // the only way to its fields.
    if (!app().Rights.cashier) {
        refuse(platform::OwnText("cNoCashierRight",
                                 QStringLiteral("User ini tidak memiliki hak Kasir; transaksi tidak disimpan")),
               ciCode);
        return;
    }
    ShopSession* session = app().Session();
    if (!session)
        return;
    // A save whose COMMIT got no answer is settled before another starts;
    // the cashier who asks is told again while it is not.
    m_unconfirmedTold = false;
    if (m_unconfirmed && !confirmSave())
        return;
    if (ciCart->ListCount() <= 2 || action.isEmpty() || shownTicked().isEmpty()) {
        refuse(QStringLiteral("Keranjang Belanja belum diisi"), ciCode);
        return;
    }
    tCount_Timer();
    const QString paidBefore = ciPay->Text();
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
    // An amount due below zero (a discount beyond the cart's total) would
    // pay the customer for a sale.
    if (AmountOf(ciTotalTax->Text()) < 0) {
        ciPay->setText(paidBefore);
        refuse(platform::OwnText("cDueNegative", QStringLiteral("Total yang harus dibayar tidak boleh negatif")),
               ciDiscount2);
        return;
    }

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
    h.shown = shownTicked();
    h.due = ciTotalTax->Text();
    // The receipt and the change window show the cart as it was saved: the
    // list follows the save's news once they are done.
    std::optional<QScopedValueRollback<bool>> quiet(std::in_place, m_quiet, true);
    const SaveResult saved = SaveTransaction(*session, h);
    if (saved.commitUnanswered) {
        quiet.reset();
        ciPay->setText(paidBefore);
        m_unconfirmed = Unconfirmed{h, saved};
        confirmSave();
        return;
    }
    if (!saved.saved) {
        quiet.reset();
        refreshCart();
    }
    if (saved.changed) {
        ciPay->setText(paidBefore);
        MsgWarn(CartChangedText(), MsgTitleWarn);
        return;
    }
    if (saved.negativeLine) {
        ciPay->setText(paidBefore);
        refuse(platform::OwnText("cLineNegative",
                                 QStringLiteral("Harga, Jumlah atau Total Item dengan Kode %1 tidak boleh negatif"))
                   .arg(Quote(saved.negativeLine->code)),
               ciCart);
        return;
    }
    if (!saved.saved) {
        refuse(QStringLiteral("Keranjang Belanja belum diisi"), ciCode);
        return;
    }

    if (pay) {
        if (ciPrintNote->Value() == 1) {
            try {
                printReceipt(saved.rows.lastId, saved.no, saved.lines);
            } catch (...) {
                LogFailure(QStringLiteral("cPrintNote"), std::current_exception());
                MsgWarn(platform::OwnText("cSavedNotPrinted",
                                          QStringLiteral("Transaksi telah tersimpan, tetapi struk tidak tercetak:\n")) +
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

    quiet.reset();
    refreshCart();
    ciCode->setText(QString());
    ciPay->setText(QString());
    ciDescription->setText(QString());
    ciCode->setFocus();
}

bool CashierPanelView::confirmSave()
{
    ShopSession* session = app().Session();
    if (!m_unconfirmed || !session)
        return true;
    // Its message boxes turn the event loop, and with it this timer.
    static bool asking = false;
    if (asking)
        return false;
    const QScopedValueRollback once(asking, true);
    const qint64 no = m_unconfirmed->attempt.no;
    SaveFate fate = SaveFate::Unknown;
    try {
        fate = FateOfSave(db(), m_unconfirmed->header, m_unconfirmed->attempt);
    } catch (const DbError&) {
        // Asked again each second until the server answers; told once.
        if (!m_unconfirmedTold) {
            m_unconfirmedTold = true;
            MsgWarn(platform::OwnText("cSaveUnanswered",
                                      QStringLiteral("Koneksi ke server database terputus saat transaksi disimpan: "
                                                     "apakah transaksi No %1 tersimpan akan diberitahukan begitu "
                                                     "server menjawab lagi."))
                        .arg(no),
                    MsgTitleWarn);
        }
        return false;
    }
    m_unconfirmed.reset();
    m_unconfirmedTold = false;
    if (fate == SaveFate::Saved) {
        AnnounceSaved(*session);
        ciPay->setText(QString());
        ciDescription->setText(QString());
        MsgInfo(platform::OwnText("cSaveConfirmed",
                                  QStringLiteral("Transaksi No %1 telah tersimpan walaupun koneksi ke server "
                                                 "database sempat terputus."))
                    .arg(no),
                MsgTitleInfo);
        return true;
    }
    emit session->cartChanged();
    MsgWarn(fate == SaveFate::NotSaved
                ? platform::OwnText("cSaveLost", QStringLiteral("Transaksi tidak tersimpan karena koneksi ke server "
                                                                "database terputus; keranjangnya masih ada."))
                : platform::OwnText("cSaveLostCartChanged",
                                    QStringLiteral("Transaksi tidak tersimpan karena koneksi ke server database "
                                                   "terputus, dan keranjangnya telah diubah di komputer lain.")),
            MsgTitleWarn);
    return true;
}
