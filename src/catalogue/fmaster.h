#pragma once
// The list window over one of the items tables or contact tables, and the
// system's picker (catalogue/picker.h). Its Tag holds the mode word ("Items",
// "Charge" or "Warehouse"), setTarget the target of a pick; the activation
// chooses the table from them and fills the list.
#include "catalogue/picker.h"
#include "platform/controls.h"
#include "platform/form.h"

#include <QTimer>
#include <optional>

class fMaster : public platform::Form {
    Q_OBJECT
public:
    fMaster();

    // The table listed.
    QString TableName;
    // The export query of the list as last filled.
    QString iItemsSql;

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    // Fills the list from TableName; where is "" or a condition.
    void FilliItems(const QString& where);
    void FilliCategory2();
    void FillICategory();
    void FillH();
    void FillH2();
    QString GetSelectedIItemsCode() const;
    QString GetIItemsCode(int row) const;

    void iCategory2_Click();
    void iCategory_Click();
    void iCategory_KeyDown(int& KeyCode, int Shift);
    void iFilter_Change();
    void iFilter_KeyDown(int& KeyCode, int Shift);
    void iSearch_GotFocus();
    void iSearch_KeyDown(int& KeyCode, int Shift);
    void bSearch_Click();
    void iCheck_Click();
    void iItems_KeyDown(int& KeyCode, int Shift);
    void bOK_Click();
    void bAdd_Click();
    void bEdit_Click();
    void bDelete_Click();
    void bClear_Click();
    void bPrint_Click();
    void bExcel_Click();
    void bRefresh_Click();
    void bClose_Click();

    platform::ListBox* iItems;
    platform::Label* cCategory2;
    platform::ComboBox* iCategory2;
    platform::ComboBox* iCategory;
    platform::Label* cFilter;
    platform::TextBox* iFilter;
    platform::TextBox* iSearch;
    platform::WanButton* bSearch;
    platform::CheckBox* iCheck;
    platform::WanButton *bOK, *bAdd, *bEdit, *bDelete, *bClear, *bPrint, *bExcel, *bRefresh, *bClose;

    // The field a pick goes into (picker::Open).
    void setTarget(const picker::Handle& target) { m_target = target; }

private:
    bool isItems() const { return Tag == QLatin1String("Items"); }
    // The selected row while its record is still as it shows it; a row
    // gone or replaced meanwhile is told to the operator and the list
    // refilled.
    std::optional<QString> chosenRow();
    // Deletes the records of the rows as one write; returns how many were
    // already gone or replaced.
    int deleteRows(const QStringList& rows);
    // Another window, or this one, wrote items or contacts.
    void catalogueChanged();
    bool m_keepFilter = false;
    // The field filter waits for a pause in typing: each key would read the
    // whole matching list again, and keys typed meanwhile would queue.
    QTimer m_filterWait;
    void filterNow();
    // A filter still waiting is applied before anything reads the list.
    void flushFilter();
    picker::Handle m_target;

protected:
    void resizeEvent(QResizeEvent* e) override;
};

fMaster* MasterWindow();
