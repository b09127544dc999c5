#pragma once
// The inventory item dialog: one code bought and sold and held in stock.
// Its caption tells the mode: "Tambah" adds, any other caption edits the
// item highlighted on the inventory panel.
#include "catalogue/model/inventory.h"
#include "data/db.h"
#include "platform/controls.h"
#include "platform/form.h"

class fInventory : public platform::Form {
    Q_OBJECT
public:
    fInventory();

    void FillICategory();
    void FilliUnit();
    void bSave_Click();
    void bClose_Click();
    void bDiscountSH_Click();
    void bDiscountSL_Click();
    // Enter in the buying discount goes on to the selling price; in the
    // selling discount it saves.
    void iDiscountSH_KeyDown(int& KeyCode, int Shift);
    void iDiscountSL_KeyDown(int& KeyCode, int Shift);
    void iDiscountSH_KeyPress(int& KeyAscii);
    void iDiscountSL_KeyPress(int& KeyAscii);
    void iPriceSH_Change();
    void iPriceSL_Change();
    // The live totals of both sides (discount amount and net price).
    void tCount_Timer();
    // The fields of an edit from the joined record at the recordset's
    // current row (Code, Category, Description, Unit, PriceSH, DiscountSH,
    // PriceSL, DiscountSL).
    void LoadRecord(const platform::DbRecordset& rs);
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::Label *cCode, *cCategory, *cDescription, *cUnit;
    platform::TextBox* iCode;
    platform::ComboBox* iCategory;
    platform::TextBox* iName;
    platform::ComboBox* iUnit;
    platform::Frame *cShop, *cSale;
    platform::Label *cPrice, *cDiscount, *cTotal, *cPrice2, *cDiscount2, *cTotal2;
    platform::TextBox *iPriceSH, *iDiscountSH, *iTotalSH, *iDiscountSHN;
    platform::TextBox *iPriceSL, *iDiscountSL, *iTotalSL, *iDiscountSLN;
    platform::WanButton *bDiscountSH, *bDiscountSL;
    platform::WanButton *bSave, *bClose;

private:
    void clearFields();
    bool refuse(const QString& message, QWidget* focus);
    // The item as an edit loaded it, read as the save reads the fields.
    inventory::InventoryItem m_loaded;
    inventory::InventoryItem fieldsItem() const;
};

fInventory* InventoryWindow();
