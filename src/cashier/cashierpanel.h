#pragma once
// The cashier panel of the main window: the action, the charge and its held
// warehouse, the cart list with its ticks, the item row with its lookup and
// line arithmetic, the note, the transaction's totals and payment, the
// receipt and the save. Its controls live in the main window's pCashier; the
// other windows reach its procedures through the main window.
#include "cashier/model/arithmetic.h"
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "catalogue/picker.h"
#include "platform/controls.h"
#include "shell/panels.h"

#include <QObject>
#include <memory>
#include <optional>

class fMain;
namespace cashier {
class ItemEntry;
}

class CashierPanelView : public QObject, public CashierPanel {
    Q_OBJECT
public:
    explicit CashierPanelView(fMain* main);
    ~CashierPanelView() override;

    // ---- Services of the panel (the main window forwards them)
    QString GetAction() const override;
    void ciAction_Click() override;
    void FillCiCharge() override;
    void FillCiCart() override;
    void FillCiWarehouse() override;
    void cbBarcode_Click() override;
    void cbPrint_Click() override;
    void cbMove_Click() override;
    void ShowAddLine() override;
    void cPrintNote(qint64 no) override;
    void tCount_Timer() override;
    // Once a second: another till's change to the cart shown, shown without a
    // key pressed; a save whose COMMIT got no answer, told once the server
    // answers.
    void tCart_Timer();
    QString ActionCaption() const override;
    QString CurrentCharge() const override;
    void SetCharge(const QString& charge) override;
    void SelectAction(const QString& action) override;
    void StartSession() override;
    void SetRates(const QString& discount, const QString& tax) override;
    void SetBrowseEnabled(bool enabled) override;
    void ApplySettings(int printNote, bool warehouse) override;
    void FocusAction() override;
    void FocusCharge() override;
    void FocusCart() override;
    void TogglePrintNote() override;

    // ---- Action, charge, warehouse
    void ciAction_KeyDown(int& KeyCode, int Shift);
    void ciCharge_Change();
    void ciCharge_Click();
    void ciCharge_KeyDown(int& KeyCode, int Shift);
    void ciCharge_KeyPress(int& KeyAscii);
    void cbCharge_Click();
    void ciWarehouse_Change();
    void ciWarehouse_Click();
    void ciWarehouse_KeyDown(int& KeyCode, int Shift);
    void ciWarehouse_KeyPress(int& KeyAscii);
    void cbWarehouse_Click();

    // ---- Cart list
    QString GetSelectedCiCartID() const;
    void ciCart_ItemCheck(int Item);
    void ciCheck_Click();
    void ciCart_DblClick();
    void ciCart_KeyDown(int& KeyCode, int Shift);

    // ---- Cart line operations
    void cbDelete_Click();
    void cbClear_Click();
    void cbSplit_Click();
    void cbEdit_Click();

    // ---- Item row and its arithmetic
    void ciCode_Change();
    void ClearCI();
    void FillCiItems();
    void ciItemsSelected();
    void ciItems_DblClick();
    void cbBrowse_Click();
    void ciCode_KeyDown(int& KeyCode, int Shift);
    void ciCode_KeyPress(int& KeyAscii);
    void ciItems_KeyDown(int& KeyCode, int Shift);
    void ciPrice_Change();
    void ciDiscount_Change();
    void ciDiscountN_Change();
    void ciSubtotal_Change();
    void ciTotal_Change();
    void ciQuantity_Change();
    void ciSubtotal_KeyUp();
    void ciTotal_KeyUp();
    void ciQuantity_KeyDown(int& KeyCode, int Shift);
    void ciSubtotal_KeyDown(int& KeyCode, int Shift);
    void ciTotal_KeyDown(int& KeyCode, int Shift);
    void ciDiscount_KeyPress(int& KeyAscii);
    void ciQuantity_KeyPress(int& KeyAscii);
    void ciSubtotal_KeyPress(int& KeyAscii);
    void ciTotal_KeyPress(int& KeyAscii);

    // ---- Adding a line, the note
    void cbAdd_Click();
    void cbAdd2_Click();
    void ciDescription_GotFocus();
    void ciDescription_LostFocus();
    void ciDescription_KeyDown(int& KeyCode, int Shift);
    void ciDescription_KeyPress(int& KeyAscii);

    // ---- Totals, payment, receipt, save
    void ciDiscount2_Change();
    void ciTax_Change();
    void ciDiscount2_KeyPress(int& KeyAscii);
    void ciTax_KeyPress(int& KeyAscii);
    void ciPay_Change();
    void ciPay_KeyDown(int& KeyCode, int Shift);
    void ciTotalCart_Change();
    void ciPrintNote_Click();
    void cbOK_Click();
    void cbOKWithoutPay_Click();
    void InsertTR(bool pay);

    // ---- Controls
    platform::ComboBox* ciAction = nullptr;
    platform::TextBox* ciCode = nullptr;
    platform::ComboBox* ciCharge = nullptr;
    platform::ComboBox* ciWarehouse = nullptr;
    platform::Label* ccWarehouse = nullptr;
    platform::WanButton* cbWarehouse = nullptr;
    platform::Label* ciSatuan = nullptr;
    platform::TextBox* ciDiscount2 = nullptr;
    platform::TextBox* ciTax = nullptr;
    platform::CheckBox* ciPrintNote = nullptr;
    platform::WanButton* cbBrowse = nullptr;
    platform::WanButton* cbCharge = nullptr;
    platform::ListBox* ciCart = nullptr;
    platform::Label *ccAction, *ccDate, *ccCharge;
    platform::DateTimePick* ciMoment;
    platform::CheckBox* ciCheck;
    platform::Label *ccCode, *ccCategory, *ccDescription, *ccPrice, *ccDiscount, *ccSubtotal, *ccQuantity, *ccTotal;
    platform::TextBox *ciCategory, *ciName, *ciPrice, *ciDiscount, *ciDiscountN, *ciSubtotal, *ciQuantity, *ciTotal;
    platform::ListBox* ciItems;
    platform::WanButton *cbAdd, *cbPrint, *cbOK, *cbOKWithoutPay;
    platform::WanButton *cbDelete, *cbClear, *cbSplit, *cbEdit, *cbMove, *cbAdd2, *cbBarcode;
    platform::TextBox* ciDescription;
    platform::Frame* cfTotal;
    platform::Label *ccDiscount2, *ccTotalDiscount, *ccPPN, *ccTotalPPN, *ccCash, *ccChange;
    platform::TextBox *ciTotalCart, *ciDiscount2N, *ciTotalDiscount, *ciTaxN, *ciTotalTax, *ciPay, *ciBack;
    platform::Label* ciTotal2;
    platform::Timer* tCart = nullptr;

private:
    // The controls in their places, and the handler each event runs
    // (cashierpanel_layout.cpp).
    void build(QWidget* p);
    void wire();
    // After a write to the cart: the charge list, and through the charge's
    // own handlers the cart list; the cart list directly for the empty charge.
    void refreshCart();
    // The line shown in a row of the cart list (none for the title rows),
    // and the ticked lines shown.
    std::optional<cashier::CartLine> shownLine(int row) const;
    QList<cashier::CartLine> shownTicked() const;
    // A write refused because the cart is no longer what the list showed:
    // the list shows it as it is now, and the operator is told.
    void cartMoved();
    // What the database holds of a save whose COMMIT got no answer, told to
    // the cashier; false while the server does not answer.
    bool confirmSave();
    // The receipt lines of the given lines through the printer or the port:
    // no is the number its paper carries, transaction the journal's No that
    // names the print job (both 0 for a bill).
    void printReceipt(qint64 no, qint64 transaction, const QList<cashier::CartLine>& lines);
    // A setting the panel's boxes keep (Discount, Tax, Note), told to the
    // other windows when it changed.
    void StoreSetting(const QString& key, const QString& value);

    fMain* m_main;
    // The lines the cart list shows (row i + 2), of the action and charge
    // they were read for.
    QList<cashier::CartLine> m_shown;
    QString m_shownAction, m_shownCharge;
    // The database's stamp when the shown cart was last compared with it.
    QByteArray m_cartStamp;
    quint64 m_fills = 0;
    // A tick written from the list or a warehouse typed in its box (the
    // panel already shows them), a save whose receipt and change window
    // still show the cart as it was: the cart's news waits.
    bool m_quiet = false;
    struct Unconfirmed {
        cashier::SaveHeader header;
        cashier::SaveResult attempt;
    };
    std::optional<Unconfirmed> m_unconfirmed;
    bool m_unconfirmedTold = false;
    std::unique_ptr<cashier::ItemEntry> m_entry;
    // The totals' inputs and figures of the last tick.
    std::optional<cashier::TotalsInput> m_lastInput;
    cashier::Totals m_last;
    picker::Handle m_codeTarget, m_chargeTarget, m_warehouseTarget;
};
