#pragma once
// The inventory panel of the main window: one list over the joined buying
// and selling items, the four items tables and the four contact tables,
// with a category box, a column filter and a keyword search, and the
// commands that add, edit, delete, print and export.
#include "catalogue/model/pagedlist.h"
#include "shell/panels.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

namespace platform {
class CheckBox;
class ComboBox;
class Label;
class ListBox;
class Panel;
class TextBox;
class WanButton;
} // namespace platform

class InventoryPanelView : public QObject, public InventoryPanel {
    Q_OBJECT
public:
    explicit InventoryPanelView(platform::Panel* container);

    QString GetTable() const override;
    void FilliItems() override;
    // Rebuilds the list; the condition is empty or begins with "where ".
    void FilliItems(const QString& where);
    void FilliiCategory() override;
    void FilliiCategory2() override;
    void ibRefresh_Click() override;
    void ibAdd_Click() override;
    QString GetSelectediiItemsCode() const override;
    void StartSession() override;
    void ShowWarehouseTable(bool shown) override;

    QString GetiiItemsCode(int index) const;
    // The query the list ran last; its export runs it again.
    QString iiItemsSql;
    void iiTable_Click();
    void iiCategory2_Click();
    void iiCategory_Click();
    void iiCategory_KeyDown(int& KeyCode, int Shift);
    void iiFilter_Change();
    void iiFilter_GotFocus();
    void iiFilter_LostFocus();
    void iiFilter_KeyDown(int& KeyCode, int Shift);
    void iiSearch_GotFocus();
    void iiSearch_LostFocus();
    void iiSearch_KeyDown(int& KeyCode, int Shift);
    void ibSearch_Click();
    void iiCheck_Click();
    void ibEdit_Click();
    void ibDelete_Click();
    void ibClear_Click();
    void ibPrint_Click();
    void bExcel_Click();
    void iiItems_DblClick();
    void iiItems_KeyDown(int& KeyCode, int Shift);

    platform::ComboBox* iiTable = nullptr;
    platform::ListBox* iiItems = nullptr;
    platform::ComboBox* iiCategory2;
    platform::Label* icCategory2;
    platform::ComboBox* iiCategory;
    platform::TextBox* iiFilter;
    platform::TextBox* iiSearch;
    platform::CheckBox* iiCheck;
    platform::Label *mcData, *mcFilter;
    platform::WanButton *ibSearch, *ibRefresh, *ibAdd, *ibEdit, *ibDelete, *ibClear, *ibPrint, *bExcel;

private:
    // The main window's container of the panel, hidden while another panel
    // is in front.
    platform::Panel* m_container;
    // The "all" entry of the category box.
    QString allText() const;
    // The current table's categories after the "all" entry.
    void addCategories();
    // The selected row of the word's list while its record is still as it
    // shows it; a row gone or replaced is told and the list filled again.
    std::optional<QString> chosenRow(const QString& word);
    // Whether the panel is in front (or stands alone).
    bool shown() const;
    // The column filter waits for a pause in typing: each key would read
    // the whole matching list again (half a second over a hundred thousand
    // items), and keys typed meanwhile would queue behind it.
    QTimer m_filterWait;
    void filterNow();
    // A filter still waiting is applied before anything reads the list.
    void flushFilter();
    // The keys of the list the first F2 shows, read ahead at the login.
    void readKeysAhead();
    QTimer m_aheadWait;
    std::vector<std::unique_ptr<catalogue::KeysAhead>> m_keysAhead;
    // Categories asked for while the panel was hidden.
    bool m_categoriesDue = false;

    // What the list was last filled with, and the database's state then:
    // the same rows asked for again, unchanged, are not read again.
    struct Filled {
        QStringList head;
        QString sql;
        QByteArray stamp;
        int rows = -1;
    } m_filled;
};
