#pragma once
// The journal row dialog: adds rows of any of the four kinds to the journal
// ("Tambah" or "Add" in the caption) or rewrites the row the ledger panel
// loaded into it ("Ubah" or "Edit"). The item code is looked up in the
// kind's items table, with the codes that begin with it offered below; the
// item, charge and warehouse fields open the list window as a picker.
#include "catalogue/picker.h"
#include "ledger/model/journalentry.h"
#include "platform/controls.h"
#include "platform/form.h"

class fLedger : public platform::Form {
    Q_OBJECT
public:
    fLedger();

    // ---- Procedures other windows call
    // "Unknown" with no kind chosen, else "Sale", "Shop", "Cash In",
    // "Cash Out", "Sale Retur", "Shop Retur"; "" for any other index.
    QString GetAction() const;
    void FilliWarehouse();
    void FilliCharge();
    void FilliItems();
    void iItemsSelected();
    void bBrowse_Click();
    void bCharge_Click();
    void bWarehouse_Click();
    void iCode_Change();
    // A stored row into the fields, for a rewrite of row.id.
    void LoadRow(const ledger::StoredJournalRow& row);

    // ---- Handlers
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void iAction_Click();
    void iAction_KeyDown(int& KeyCode, int Shift);
    void iWarehouse_KeyDown(int& KeyCode, int Shift);
    void iWarehouse_KeyPress(int& KeyAscii);
    void iCharge_KeyDown(int& KeyCode, int Shift);
    void iCharge_KeyPress(int& KeyAscii);
    void iCode_KeyDown(int& KeyCode, int Shift);
    void iCode_KeyPress(int& KeyAscii);
    void iItems_KeyDown(int& KeyCode, int Shift);
    void iPrice_Change();
    void iQuantity_Change();
    void iTotal_Change();
    void iTotal_KeyDown(int& KeyCode, int Shift);
    void iDescription_KeyDown(int& KeyCode, int Shift);
    void iDescription_KeyPress(int& KeyAscii);
    void bSave_Click();
    void bClose_Click();

    // The journal row a rewrite writes, as it was loaded (set by LoadRow).
    ledger::StoredJournalRow Loaded;
    // The last rewrite found the row changed or replaced at another till
    // since it was loaded, and wrote nothing.
    bool RewriteRefused = false;

    platform::Label *cAction, *cDate, *cWarehouse, *cCharge, *cCode, *cDescription, *cSubtotal, *cQuantity, *cTotal,
        *Label1;
    platform::ComboBox* iAction;
    platform::DateTimePick* iMoment;
    platform::ComboBox* iWarehouse;
    platform::ComboBox* iCharge;
    platform::TextBox* iCode;
    platform::ListBox* iItems;
    platform::TextBox *iName, *iPrice, *iQuantity, *iTotal, *iDescription;
    platform::Label* iUnit;
    platform::WanButton *bWarehouse, *bCharge, *bBrowse, *bSave, *bClose;

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void build();
    void wire();
    // The item fields as a code that finds nothing leaves them.
    void clearItem();
    ledger::JournalEntry entry() const;

    // The window is up: a modal window closing over it activates it again,
    // and the field that window handed the focus keeps it.
    bool m_showing = false;
    picker::Handle m_codeTarget, m_chargeTarget, m_warehouseTarget;
};

fLedger* LedgerWindow();
