#pragma once
// The contact dialog: adds or edits one row of a contact table (Customer,
// Supplier, Person, Warehouse). Opener by the tag of bSave ("fMain" or
// "fMaster"), mode by the caption ("Tambah" adds, any other caption edits).
#include "catalogue/model/catalogue.h"
#include "data/db.h"
#include "platform/controls.h"
#include "platform/form.h"

class fCharge : public platform::Form {
    Q_OBJECT
public:
    fCharge();

    // The contact table the dialog writes; decided on every activation.
    QString TableName;
    // The table of the inventory panel that opened the dialog (bSave's Tag
    // "fMain"); it cannot change while the dialog is open.
    QString PanelTable;

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
    void bSave_Click();
    void bClose_Click();
    // Enter in the last field saves.
    void iFax_KeyDown(int& KeyCode, int Shift);
    // The fields of an edit from the record at the recordset's current row
    // (the columns of the contact tables).
    void LoadRecord(const platform::DbRecordset& rs);

    platform::Frame* Frame1;
    platform::Label *cCode, *cName, *cAddress, *cPhone, *cFax;
    platform::TextBox *iCode, *iName, *iAddress, *iPhone, *iFax;
    platform::WanButton *bSave, *bClose;

private:
    bool isAdd() const { return Caption() == QLatin1String("Tambah"); }
    void clearFields();
    bool m_hasLoaded = false;
    void keepLoaded();
    // The record as an edit loaded it.
    catalogue::Contact m_loaded;
    catalogue::Contact fieldsContact() const;
};

fCharge* ChargeWindow();
