#include "catalogue/inventorypanel.h"

#include "catalogue/listprint.h"
#include "catalogue/listrows.h"

#include "catalogue/fadd.h"
#include "catalogue/fcharge.h"
#include "catalogue/finventory.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/inventory.h"
#include "catalogue/model/names.h"
#include "catalogue/model/pagedlist.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/spreadsheet.h"
#include "lang/mlang.h"
#include "platform/controls.h"
#include "platform/keys.h"
#include "platform/printer.h"
#include "platform/progress.h"
#include "platform/runtime.h"

#include <QSignalBlocker>
#include <optional>

using namespace platform;
using inventory::Layout;

namespace {

// A reset made by code runs no handler of the control it resets: the
// operator's own edit of that control is what its handler answers.
void quietText(TextBox* box, const QString& text)
{
    QSignalBlocker block(box);
    box->setText(text);
}

void quietIndex(ComboBox* box, int index)
{
    QSignalBlocker block(box);
    box->setListIndex(index);
}

QStringList titles(const QStringList& keys)
{
    QStringList out;
    for (const QString& k : keys)
        out << mLang::LangGrid(k);
    return out;
}

} // namespace

InventoryPanelView::InventoryPanelView(Panel* container) : QObject(container), m_container(container)
{
    mcData = PlaceLabel(container, QStringLiteral("mcData"), QStringLiteral("Data:"), 10, 10, 50, 24);
    iiTable = new ComboBox(container, QStringLiteral("iiTable"), false);
    iiTable->setGeometry(60, 10, 130, 24);
    for (const char* entry :
         {"Jual Beli", "Penjualan", "Pembelian", "Kas Masuk", "Kas Keluar", "Pelanggan", "Supplier", "Karyawan"})
        iiTable->AddItem(QString::fromLatin1(entry));
    icCategory2 = PlaceLabel(container, QStringLiteral("icCategory2"), QStringLiteral("Kategori:"), 200, 10, 70, 24);
    iiCategory2 = new ComboBox(container, QStringLiteral("iiCategory2"), false);
    iiCategory2->setGeometry(270, 10, 150, 24);
    mcFilter = PlaceLabel(container, QStringLiteral("mcFilter"), QStringLiteral("Filter:"), 430, 10, 50, 24);
    iiCategory = new ComboBox(container, QStringLiteral("iiCategory"), false);
    iiCategory->setGeometry(480, 10, 130, 24);
    iiFilter = new TextBox(container, QStringLiteral("iiFilter"));
    iiFilter->setGeometry(615, 10, 110, 24);
    iiSearch = new TextBox(container, QStringLiteral("iiSearch"));
    iiSearch->setGeometry(735, 10, 150, 24);
    ibSearch = new WanButton(container, QStringLiteral("ibSearch"), QStringLiteral("&Cari"));
    ibSearch->setGeometry(890, 8, 100, 28);

    iiItems = new ListBox(container, QStringLiteral("iiItems"));
    iiItems->setGeometry(10, 44, 980, 520);
    iiItems->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));

    auto button = [container](const QString& name, const QString& caption, int x) {
        auto* b = new WanButton(container, name, caption);
        b->setGeometry(x, 574, 100, 30);
        return b;
    };
    ibAdd = button(QStringLiteral("ibAdd"), QStringLiteral("&Tambah"), 10);
    ibEdit = button(QStringLiteral("ibEdit"), QStringLiteral("&Ubah"), 115);
    ibDelete = button(QStringLiteral("ibDelete"), QStringLiteral("&Hapus"), 220);
    ibClear = button(QStringLiteral("ibClear"), QStringLiteral("Hapus &Tanda"), 325);
    ibPrint = button(QStringLiteral("ibPrint"), QStringLiteral("&Cetak"), 430);
    bExcel = button(QStringLiteral("bExcel"), QStringLiteral("&Excel"), 535);
    ibRefresh = button(QStringLiteral("ibRefresh"), QStringLiteral("&Refresh"), 640);
    iiCheck = new CheckBox(container, QStringLiteral("iiCheck"), QStringLiteral("&Tandai Semua"));
    iiCheck->setGeometry(860, 576, 130, 26);

    iiTable->Click = [this] { iiTable_Click(); };
    iiCategory2->Click = [this] { iiCategory2_Click(); };
    iiCategory->Click = [this] { iiCategory_Click(); };
    iiCategory->events.KeyDown = [this](int& k, int s) { iiCategory_KeyDown(k, s); };
    iiFilter->Change = [this] { iiFilter_Change(); };
    iiFilter->events.GotFocus = [this] { iiFilter_GotFocus(); };
    iiFilter->events.LostFocus = [this] { iiFilter_LostFocus(); };
    iiFilter->events.KeyDown = [this](int& k, int s) { iiFilter_KeyDown(k, s); };
    // The login's own reads and its first panel come first: begun in the
    // middle of them, the server's join made the login slower.
    m_aheadWait.setSingleShot(true);
    m_aheadWait.setInterval(200);
    connect(&m_aheadWait, &QTimer::timeout, this, [this] { readKeysAhead(); });
    m_filterWait.setSingleShot(true);
    m_filterWait.setInterval(250);
    connect(&m_filterWait, &QTimer::timeout, this,
            [this] { runHandler(QStringLiteral("fMain.iiFilter_Change"), [this] { filterNow(); }); });
    iiSearch->events.GotFocus = [this] { iiSearch_GotFocus(); };
    iiSearch->events.LostFocus = [this] { iiSearch_LostFocus(); };
    iiSearch->events.KeyDown = [this](int& k, int s) { iiSearch_KeyDown(k, s); };
    iiItems->DblClick = [this] { iiItems_DblClick(); };
    iiItems->events.KeyDown = [this](int& k, int s) { iiItems_KeyDown(k, s); };
    iiCheck->Click = [this] { iiCheck_Click(); };
    iiItems->ItemCheck = [this](int) { catalogue::ShowMarkState(*iiCheck, *iiItems); };
    ibSearch->Click = [this] { ibSearch_Click(); };
    ibRefresh->Click = [this] { ibRefresh_Click(); };
    ibAdd->Click = [this] { ibAdd_Click(); };
    ibEdit->Click = [this] { ibEdit_Click(); };
    ibDelete->Click = [this] { ibDelete_Click(); };
    ibClear->Click = [this] { ibClear_Click(); };
    ibPrint->Click = [this] { ibPrint_Click(); };
    bExcel->Click = [this] { bExcel_Click(); };
    // Behind another panel both only take note, and the panel reads once
    // it is shown.
    app().OnSession(this, [this](ShopSession& s) {
        connect(&s, &ShopSession::catalogueChanged, this, &InventoryPanelView::FilliiCategory2);
        connect(&s, &ShopSession::catalogueChanged, this, qOverload<>(&InventoryPanelView::FilliItems));
    });
}

QString InventoryPanelView::allText() const
{
    return mLang::LangGrid(QStringLiteral("tGlobal"));
}

QString InventoryPanelView::GetTable() const
{
    return inventory::TableWord(iiTable->ListIndex());
}

void InventoryPanelView::FilliItems()
{
    FilliItems(QString());
}

void InventoryPanelView::FilliItems(const QString& where)
{
    // Whatever fills the list now, a filter typed before must not refill
    // it later.
    m_filterWait.stop();
    const QString word = GetTable();
    const Layout layout = inventory::LayoutOf(word);
    QStringList rows;
    rows << inventory::TitleRow(layout, titles(inventory::TitleKeys(layout))) << inventory::ListRule(layout);
    const QString sql = layout != Layout::None ? inventory::ListSql(word, where) : QString();
    if (!sql.isEmpty())
        iiItemsSql = sql;
    // Behind another panel the list is not read: showing the panel fills
    // it afresh (the login need not read a whole catalogue).
    if (!shown())
        return;
    if (m_categoriesDue) {
        QSignalBlocker block(iiCategory2);
        addCategories();
    }
    // The login and a change of table ask for the same rows several times
    // over; ten thousand items are read once, and again only once their
    // tables change (a sale leaves them as they were). A list the operator
    // has marked or moved in is filled afresh, as a refresh is expected to.
    const QByteArray stamp = catalogue::TablesStamp(app().DbConn(), inventory::ListTables(word));
    if (!stamp.isEmpty() && stamp == m_filled.stamp && sql == m_filled.sql && rows == m_filled.head &&
        iiItems->ListCount() == m_filled.rows && iiItems->ListIndex() < 0 && iiItems->SelCount() == 0) {
        iiItems->scrollToTop();
        return;
    }
    iiItems->Clear();
    // A list filled again has no marks, whatever the box said before.
    catalogue::ShowMarkState(*iiCheck, *iiItems);
    m_filled = Filled();
    DbConnection& db = app().DbConn();
    // The whole table, one category of it or the rows a search word finds
    // (a scan of the table, in its order) are read as they come into sight;
    // a column filter, which the engine may read through an index in that
    // index's order, is read through.
    if (!sql.isEmpty() && catalogue::CanPage(db) &&
        (where.isEmpty() || where == inventory::CategoryCondition(word, iiCategory2->Text()) ||
         where == inventory::SearchCondition(word, iiSearch->Text()))) {
        auto data = std::make_shared<catalogue::PagedList>(
            db, inventory::ListSql(word, QString()), where, inventory::ListKeys(word, db.rowKey()),
            [layout](const DbRecordset& rs) { return inventory::Row(layout, rs); }, inventory::ListTables(word));
        iiItems->setSource(std::make_shared<JoinedSource>(
            std::vector<std::shared_ptr<RowSource>>{std::make_shared<LinesSource>(rows), data}));
    } else {
        iiItems->AddItems(rows);
        // A hundred thousand rows go in at once, with no handler per row,
        // each made as its record is read.
        if (!sql.isEmpty()) {
            auto rs = db.OpenCursor(sql);
            iiItems->AddItems(inventory::RowMaker(layout, *rs));
        }
        iiItems->scrollToTop();
    }
    m_filled = {rows, sql, stamp, iiItems->ListCount()};
}

void InventoryPanelView::FilliiCategory()
{
    iiCategory->Clear();
    const int index = iiTable->ListIndex();
    if (index < 0 || index > 7)
        return;
    for (const QString& t : titles(inventory::TitleKeys(inventory::LayoutOf(GetTable()))))
        iiCategory->AddItem(t);
}

void InventoryPanelView::FilliiCategory2()
{
    {
        QSignalBlocker block(iiCategory2);
        iiCategory2->Clear();
        iiCategory2->AddItem(allText());
        // Behind another panel the categories wait, as the list does, until
        // the panel is shown: the "all" entry is chosen either way.
        if (shown())
            addCategories();
        else
            m_categoriesDue = true;
        iiCategory2->setListIndex(0);
    }
    iiCategory2_Click();
}

void InventoryPanelView::addCategories()
{
    m_categoriesDue = false;
    const QString word = GetTable();
    const QString sql = inventory::CategoriesSql(word);
    if (!sql.isEmpty())
        iiCategory2->AddItems(catalogue::KeptNames(app().DbConn(), sql, inventory::CategoriesTables(word)));
}

bool InventoryPanelView::shown() const
{
    return !m_container->isHidden();
}

void InventoryPanelView::iiTable_Click()
{
    const Layout layout = inventory::LayoutOf(GetTable());
    if (layout == Layout::Joined || layout == Layout::Items) {
        icCategory2->setVisible(true);
        iiCategory2->setVisible(true);
        icCategory2->setCaption(QStringLiteral("Kategori:"));
    } else if (layout == Layout::Contacts) {
        icCategory2->setVisible(false);
        iiCategory2->setVisible(false);
        icCategory2->setCaption(QStringLiteral("Gudang:"));
    }
    FilliiCategory2();
    FilliiCategory();
    FilliItems(QString());
}

void InventoryPanelView::iiCategory2_Click()
{
    quietText(iiSearch, QString());
    quietText(iiFilter, QString());
    const QString text = iiCategory2->Text();
    if (text == allText())
        FilliItems(QString());
    else
        FilliItems(inventory::CategoryCondition(GetTable(), text));
}

void InventoryPanelView::iiCategory_Click()
{
    if (!iiFilter->Text().trimmed().isEmpty())
        iiFilter_Change();
}

void InventoryPanelView::iiCategory_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        iiFilter->setFocus();
    }
}

void InventoryPanelView::iiFilter_GotFocus()
{
    mMain::FocusOn(iiFilter);
}

void InventoryPanelView::iiFilter_LostFocus()
{
    mMain::FocusOff(iiFilter);
    // The list, a button or the category box: each acts on the list the
    // filter text asks for.
    flushFilter();
}

void InventoryPanelView::iiFilter_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        flushFilter();
}

void InventoryPanelView::iiFilter_Change()
{
    quietIndex(iiCategory2, 0);
    quietText(iiSearch, QString());
    if (inventory::FilterField(iiTable->ListIndex(), iiCategory->ListIndex()).isEmpty()) {
        m_filterWait.stop();
        return;
    }
    m_filterWait.start();
}

void InventoryPanelView::flushFilter()
{
    if (m_filterWait.isActive())
        filterNow();
}

void InventoryPanelView::filterNow()
{
    m_filterWait.stop();
    const QString field = inventory::FilterField(iiTable->ListIndex(), iiCategory->ListIndex());
    if (!field.isEmpty())
        FilliItems(catalogue::FieldCondition(field, iiFilter->Text()));
}

void InventoryPanelView::iiSearch_GotFocus()
{
    mMain::FocusOn(iiSearch);
    quietIndex(iiCategory2, 0);
    quietText(iiFilter, QString());
}

void InventoryPanelView::iiSearch_LostFocus()
{
    mMain::FocusOff(iiSearch);
}

void InventoryPanelView::iiSearch_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        ibSearch_Click();
    }
}

void InventoryPanelView::ibSearch_Click()
{
    const QString word = GetTable();
    if (word.isEmpty())
        return;
    FilliItems(inventory::SearchCondition(word, iiSearch->Text()));
}

void InventoryPanelView::ibRefresh_Click()
{
    FilliItems(QString());
}

void InventoryPanelView::iiCheck_Click()
{
    const bool on = iiCheck->Value() != 0;
    QSignalBlocker block(iiItems);
    for (int i = 0; i < iiItems->ListCount(); ++i)
        iiItems->setSelected(i, on);
}

QString InventoryPanelView::GetiiItemsCode(int index) const
{
    return catalogue::RowCode(iiItems->List(index));
}

QString InventoryPanelView::GetSelectediiItemsCode() const
{
    return GetiiItemsCode(iiItems->ListIndex());
}

void InventoryPanelView::StartSession()
{
    iiTable->setListIndex(0);
    m_aheadWait.start();
}

void InventoryPanelView::readKeysAhead()
{
    // The keys of the list the first F2 shows come of a join over the whole
    // catalogue (a fifth of a second at a hundred thousand items on a file,
    // more on a server); read while the operator is still on the first
    // panel, that F2 finds them kept.
    // An operator who may not open this panel costs the server nothing.
    if (!app().Session() || !app().Rights.inventory)
        return;
    DbConnection& db = app().DbConn();
    // Pressed before the wait was over, F2 has read them itself; a second
    // read beside the window's own drawing only slows it.
    if (!catalogue::CanPage(db) || shown())
        return;
    std::erase_if(m_keysAhead, [](const auto& k) { return k->done(); });
    const QString word = GetTable();
    m_keysAhead.push_back(std::make_unique<catalogue::KeysAhead>(db, inventory::ListSql(word, QString()), QString(),
                                                                 inventory::ListKeys(word, db.rowKey()),
                                                                 inventory::ListTables(word)));
}

void InventoryPanelView::ShowWarehouseTable(bool shown)
{
    if (shown && iiTable->ListCount() == 8)
        iiTable->AddItem(QStringLiteral("Gudang"));
    else if (!shown && iiTable->ListCount() == 9)
        iiTable->RemoveItem(8);
}

namespace {

// The item and contact dialogs learn that the panel opened them, and the
// mode by their caption; an edit brings the record's fields.
template <class Dialog>
void showDialog(Dialog* f, const QString& caption, const QString& table, const DbRecordset* record = nullptr)
{
    if (!f)
        return;
    f->bSave->Tag = QStringLiteral("fMain");
    f->PanelTable = table;
    f->setCaption(caption);
    if (record)
        f->LoadRecord(*record);
    f->ShowModal();
}

// The table a command acts on and how its records lie.
struct Target {
    QString word;
    Layout layout;
};

// A command on the chosen row acts only on a record row (the first two rows
// are the heading) of a table that holds records.
std::optional<Target> rowTarget(const ListBox& items, const QString& word)
{
    if (items.ListCount() == 0 || items.ListIndex() <= 1)
        return std::nullopt;
    const Layout layout = inventory::LayoutOf(word);
    if (layout == Layout::None)
        return std::nullopt;
    return Target{word, layout};
}

} // namespace

void InventoryPanelView::ibAdd_Click()
{
    const QString word = GetTable();
    switch (inventory::LayoutOf(word)) {
    case Layout::Joined:
        if (fInventory* f = InventoryWindow()) {
            f->setCaption(QStringLiteral("Tambah"));
            f->ShowModal();
        }
        break;
    case Layout::Items: showDialog(AddWindow(), QStringLiteral("Tambah"), word); break;
    case Layout::Contacts:
        // The warehouses are listed but not added from here.
        if (word != QLatin1String("Warehouse"))
            showDialog(ChargeWindow(), QStringLiteral("Tambah"), word);
        break;
    case Layout::None: break;
    }
}

std::optional<QString> InventoryPanelView::chosenRow(const QString& word)
{
    DbConnection& db = app().DbConn();
    const std::optional<QString> row =
        catalogue::ChosenRow(*iiItems, [&](const QString& shown) { return inventory::RowShown(db, word, shown); });
    if (!row) {
        FilliiCategory2();
        FilliItems(QString());
    }
    return row;
}

void InventoryPanelView::ibEdit_Click()
{
    const std::optional<Target> target = rowTarget(*iiItems, GetTable());
    if (!target)
        return;
    const auto& [word, layout] = *target;
    const std::optional<QString> row = chosenRow(word);
    if (!row)
        return;
    const QString code = catalogue::RowCode(*row);
    auto rs = mMain::OpenRecordset(layout == Layout::Joined ? inventory::RecordSql(code)
                                                            : catalogue::RecordSql(inventory::TableOf(word), code));
    switch (layout) {
    case Layout::Joined:
        if (fInventory* f = InventoryWindow()) {
            f->setCaption(QStringLiteral("Ubah"));
            f->LoadRecord(*rs);
            f->ShowModal();
        }
        break;
    case Layout::Items: showDialog(AddWindow(), QStringLiteral("Ubah"), word, rs.get()); break;
    case Layout::Contacts: showDialog(ChargeWindow(), QStringLiteral("Ubah"), word, rs.get()); break;
    case Layout::None: break;
    }
}

void InventoryPanelView::ibDelete_Click()
{
    const std::optional<Target> target = rowTarget(*iiItems, GetTable());
    if (!target)
        return;
    const auto& [word, layout] = *target;
    const std::optional<QString> row = chosenRow(word);
    if (!row)
        return;
    const QString prompt =
        layout == Layout::Joined ? QStringLiteral("Hapus item terpilih?") : QStringLiteral("Hapus Item terpilih?");
    if (mMain::MsgConfirm(prompt, mMain::MsgTitleConfirm) != 1) {
        FilliiCategory2();
        FilliItems(QString());
        return;
    }
    catalogue::Wrote wrote;
    if (inventory::DeleteRows(app().DbConn(), word, {*row}, wrote) > 0)
        mMain::MsgWarn(catalogue::GoneMessage(catalogue::RowCode(*row)), mMain::MsgTitleWarn);
    // Every window that lists the catalogue (or the stock) refills; a row
    // gone is shown gone here too.
    wrote.catalogue = true;
    catalogue::Announce(wrote);
}

void InventoryPanelView::ibClear_Click()
{
    if (iiItems->ListCount() < 3)
        return;
    if (mMain::MsgConfirm(QStringLiteral("Hapus semua Item yang ditandai?"), mMain::MsgTitleConfirm) != 1)
        return;
    catalogue::Wrote wrote;
    const int gone = inventory::DeleteRows(app().DbConn(), GetTable(), catalogue::MarkedRows(*iiItems), wrote);
    wrote.catalogue = true;
    catalogue::Announce(wrote);
    catalogue::TellGone(gone);
}

void InventoryPanelView::ibPrint_Click()
{
    catalogue::PrintFilters filters;
    filters.category = iiCategory2->Text();
    filters.allCategory = allText();
    filters.search = iiSearch->Text();
    filters.fieldCaption = iiCategory->Text();
    filters.filter = iiFilter->Text();
    catalogue::PrintList(m_container->window(), QStringLiteral("Data ") + iiTable->Text(), filters, *iiItems);
}

void InventoryPanelView::bExcel_Click()
{
    const QString word = GetTable();
    if (word.isEmpty() || iiItemsSql.isEmpty())
        return;
    const QStringList heads = titles(inventory::TitleKeys(inventory::LayoutOf(word)));
    catalogue::CheckListExport(*iiItems);
    // The records go into the file as they are read.
    Work work(m_container->window(), mLang::ExportTexts(QStringLiteral("Data ") + iiTable->Text()));
    OpenWorkbook([&](const QString& path) { inventory::ExportList(app().DbConn(), word, iiItemsSql, heads, path); },
                 QStringLiteral("Data ") + iiTable->Text());
}

void InventoryPanelView::iiItems_DblClick()
{
    // A double click leaves the row's mark as it was: only the edit runs.
    ibEdit_Click();
}

void InventoryPanelView::iiItems_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        KeyCode = 0;
        ibDelete_Click();
    } else if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        ibEdit_Click();
    }
}
