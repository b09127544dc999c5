#pragma once
// The item dialog: adds or edits one row of an items table. The opener names
// itself by the tag of bSave ("fMain" for the inventory panel, "fMaster" for
// the list window) and the mode by the caption ("Tambah" adds, any other
// caption edits), fills the fields for an edit, and shows the dialog.
#include "catalogue/model/catalogue.h"
#include "data/db.h"
#include "platform/controls.h"
#include "platform/form.h"

class fAdd : public platform::Form {
    Q_OBJECT
public:
    fAdd();

    // The items table the dialog writes and whose categories and units it
    // lists; decided on every activation.
    QString TableName;
    // The table of the inventory panel that opened the dialog (bSave's Tag
    // "fMain"); it cannot change while the dialog is open.
    QString PanelTable;

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void FillICategory();
    void FilliUnit();
    void RecalcTotal();
    void bSave_Click();
    void bClose_Click();
    void bDiscount_Click();
    // The fields of an edit from the record at the recordset's current row
    // (the columns of the items tables).
    void LoadRecord(const platform::DbRecordset& rs);
    void iPrice_Change();
    void iDiscount_Change();
    void iDiscountN_Change();
    // Enter in the last field saves.
    void iUnit_KeyDown(int& KeyCode, int Shift);
    // Digits, and at most three of them.
    void iDiscount_KeyPress(int& KeyAscii);

    platform::Frame* Frame1;
    platform::Label *cCode, *cCategory, *cDescription, *cPrice, *cDiscount, *Label7, *cTotal, *cUnit;
    platform::TextBox* iCode;
    platform::ComboBox* iCategory;
    platform::TextBox* iName;
    platform::TextBox* iPrice;
    platform::TextBox* iDiscount;
    platform::TextBox* iTotal;
    platform::ComboBox* iUnit;
    platform::TextBox* iDiscountN;
    platform::WanButton *bSave, *bClose, *bDiscount;

private:
    bool isAdd() const { return Caption() == QLatin1String("Tambah"); }
    void clearFields();
    bool m_hasLoaded = false;
    void keepLoaded();
    // The record as an edit loaded it, read as the save reads the fields.
    catalogue::Item m_loaded;
    catalogue::Item fieldsItem() const;
};

fAdd* AddWindow();
