#include "catalogue/fmaster.h"

#include "catalogue/listprint.h"
#include "catalogue/listrows.h"

#include "catalogue/fadd.h"
#include "catalogue/fcharge.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/names.h"
#include "catalogue/model/pagedlist.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "lang/mlang.h"
#include "platform/keys.h"
#include "platform/printer.h"
#include "platform/progress.h"
#include "platform/runtime.h"
#include "shell/fmain.h"

#include <stdexcept>

using namespace platform;
using namespace mMain;
using mLang::LangGrid;

namespace {

QStringList gridTexts(const QStringList& keys)
{
    QStringList out;
    for (const QString& k : keys)
        out << LangGrid(k);
    return out;
}

} // namespace

fMaster* MasterWindow()
{
    return app().form<fMaster>();
}

fMaster::fMaster() : Form(QStringLiteral("fMaster"), QStringLiteral("Data"))
{
    resize(900, 560);
    setMinimumSize(700, 420);
    cCategory2 = PlaceLabel(this, QStringLiteral("cCategory2"), QStringLiteral("Kategori:"), 12, 12, 70, 24);
    iCategory2 = new ComboBox(this, QStringLiteral("iCategory2"), false);
    iCategory2->setGeometry(84, 12, 160, 24);
    cFilter = PlaceLabel(this, QStringLiteral("cFilter"), QStringLiteral("Filter:"), 256, 12, 50, 24);
    iCategory = new ComboBox(this, QStringLiteral("iCategory"), false);
    iCategory->setGeometry(308, 12, 130, 24);
    iFilter = new TextBox(this, QStringLiteral("iFilter"));
    iFilter->setGeometry(442, 12, 130, 24);
    iSearch = new TextBox(this, QStringLiteral("iSearch"));
    iSearch->setGeometry(588, 12, 160, 24);
    bSearch = new WanButton(this, QStringLiteral("bSearch"), QStringLiteral("&Cari"));
    bSearch->setGeometry(752, 10, 80, 28);

    iItems = new ListBox(this, QStringLiteral("iItems"));
    iItems->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));
    iItems->setGeometry(12, 46, 876, 420);
    iCheck = new CheckBox(this, QStringLiteral("iCheck"), QStringLiteral("&Tandai Semua"));
    iCheck->setGeometry(12, 474, 160, 24);

    const QList<QPair<WanButton**, QPair<const char*, const char*>>> buttons = {
        {&bOK, {"bOK", "&OK"}},           {&bAdd, {"bAdd", "&Tambah"}},
        {&bEdit, {"bEdit", "&Ubah"}},     {&bDelete, {"bDelete", "&Hapus"}},
        {&bClear, {"bClear", "&Bersih"}}, {&bPrint, {"bPrint", "&Cetak"}},
        {&bExcel, {"bExcel", "&Excel"}},  {&bRefresh, {"bRefresh", "&Refresh"}},
        {&bClose, {"bClose", "&Tutup"}},
    };
    int x = 12;
    for (const auto& b : buttons) {
        *b.first = new WanButton(this, QLatin1String(b.second.first), QLatin1String(b.second.second));
        (*b.first)->setGeometry(x, 508, 90, 34);
        x += 96;
    }

    iCategory2->Click = [this] { iCategory2_Click(); };
    iCategory->Click = [this] { iCategory_Click(); };
    iCategory->events.KeyDown = [this](int& KeyCode, int Shift) { iCategory_KeyDown(KeyCode, Shift); };
    iFilter->Change = [this] { iFilter_Change(); };
    FocusColours(iFilter);
    // The list, a button or the field box: each acts on the list the filter
    // text asks for.
    iFilter->events.LostFocus = [this] {
        FocusOff(iFilter);
        flushFilter();
    };
    iFilter->events.KeyDown = [this](int& KeyCode, int Shift) { iFilter_KeyDown(KeyCode, Shift); };
    m_filterWait.setSingleShot(true);
    m_filterWait.setInterval(250);
    connect(&m_filterWait, &QTimer::timeout, this,
            [this] { runHandler(QStringLiteral("fMaster.iFilter_Change"), [this] { filterNow(); }); });
    iSearch->events.GotFocus = [this] { iSearch_GotFocus(); };
    iSearch->events.LostFocus = [this] { FocusOff(iSearch); };
    iSearch->events.KeyDown = [this](int& KeyCode, int Shift) { iSearch_KeyDown(KeyCode, Shift); };
    iItems->DblClick = [this] { bOK_Click(); };
    iItems->events.KeyDown = [this](int& KeyCode, int Shift) { iItems_KeyDown(KeyCode, Shift); };
    iCheck->Click = [this] { iCheck_Click(); };
    iItems->ItemCheck = [this](int) { catalogue::ShowMarkState(*iCheck, *iItems); };
    bSearch->Click = [this] { bSearch_Click(); };
    bOK->Click = [this] { bOK_Click(); };
    bAdd->Click = [this] { bAdd_Click(); };
    bEdit->Click = [this] { bEdit_Click(); };
    bDelete->Click = [this] { bDelete_Click(); };
    bClear->Click = [this] { bClear_Click(); };
    bPrint->Click = [this] { bPrint_Click(); };
    bExcel->Click = [this] { bExcel_Click(); };
    bRefresh->Click = [this] { bRefresh_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    app().OnSession(this, [this](ShopSession& s) {
        connect(&s, &ShopSession::catalogueChanged, this, &fMaster::catalogueChanged);
    });
}

// Shut, it reads its table afresh when it opens.
void fMaster::catalogueChanged()
{
    if (isVisible())
        FilliCategory2();
}

void fMaster::resizeEvent(QResizeEvent* e)
{
    Form::resizeEvent(e);
    iItems->setGeometry(12, 46, width() - 24, height() - 140);
    iCheck->move(12, height() - 86);
    int x = 12;
    for (WanButton* b : {bOK, bAdd, bEdit, bDelete, bClear, bPrint, bExcel, bRefresh, bClose}) {
        b->move(x, height() - 52);
        x += 96;
    }
}

// ---------------------------------------------------------------- activation

void fMaster::Form_Activate()
{
    const picker::Target* row = m_target.get();
    if (isItems()) {
        QString table = catalogue::ItemsTable(picker::Kind(m_target));
        if (row && !row->table.isEmpty())
            table = row->table;
        if (!table.isEmpty())
            TableName = table;
        FillICategory();
        iCategory2->setVisible(true);
        cCategory2->setVisible(true);
        FilliCategory2();
    } else {
        if (Tag == QLatin1String("Warehouse")) {
            TableName = QStringLiteral("Warehouse");
        } else {
            const QString table = catalogue::ContactTable(picker::Kind(m_target));
            if (!table.isEmpty())
                TableName = table;
        }
        FillICategory();
        iCategory2->Clear();
        iCategory2->AddItem(LangGrid(QStringLiteral("tGlobal")));
        iCategory2->setListIndex(0);
        iCategory2->setVisible(false);
        cCategory2->setVisible(false);
        FilliItems(QString());
    }
    setCaption(catalogue::ListCaption(TableName));
    // Every browse button leads here; without the master right the window
    // only picks, whichever field opened it.
    for (WanButton* b : {bAdd, bEdit, bDelete, bClear})
        b->setEnabled(app().Rights.master);
    iItems->setFocus();
}

void fMaster::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyF11 || KeyCode == vbKeyAdd) {
        KeyCode = 0;
        if (bAdd->isEnabled())
            bAdd_Click();
    } else if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

// ---------------------------------------------------------------- the list

void fMaster::FilliItems(const QString& where)
{
    // Whatever fills the list now, a filter typed before must not refill
    // it later.
    m_filterWait.stop();
    iItems->Clear();
    // A list filled again has no marks, whatever the box said before.
    catalogue::ShowMarkState(*iCheck, *iItems);
    const bool items = isItems();
    if (items)
        FillH();
    else
        FillH2();
    if (TableName.isEmpty()) {
        iItemsSql.clear();
        return;
    }
    DbConnection& db = app().DbConn();
    iItemsSql = items ? catalogue::ItemsExportSql(TableName, where) : catalogue::ContactsExportSql(TableName, where);
    // The whole table, one category of it or the rows a search word finds
    // (a scan of the table, in its order) are read as they come into sight;
    // a column filter, which the engine may read through an index in that
    // index's order, is read through.
    const QString search =
        items ? catalogue::ItemSearchCondition(iSearch->Text()) : catalogue::ContactSearchCondition(iSearch->Text());
    if (catalogue::CanPage(db) &&
        (where.isEmpty() || where == search || (items && where == catalogue::CategoryCondition(iCategory2->Text())))) {
        QStringList head;
        for (int i = 0; i < iItems->ListCount(); ++i)
            head << iItems->List(i);
        auto data = std::make_shared<catalogue::PagedList>(db,
                                                           items ? catalogue::ItemsListSql(TableName, QString())
                                                                 : catalogue::ContactsListSql(TableName, QString()),
                                                           where, QStringList{db.rowKey()},
                                                           items ? catalogue::PagedList::MakeRow(catalogue::ItemRow)
                                                                 : catalogue::PagedList::MakeRow(catalogue::ContactRow),
                                                           QStringList{TableName});
        iItems->setSource(std::make_shared<JoinedSource>(
            std::vector<std::shared_ptr<RowSource>>{std::make_shared<LinesSource>(head), data}));
        return;
    }
    auto rs =
        db.OpenCursor(items ? catalogue::ItemsListSql(TableName, where) : catalogue::ContactsListSql(TableName, where));
    iItems->AddItems(items ? catalogue::ItemRowMaker(*rs) : catalogue::ContactRowMaker(*rs));
    iItems->scrollToTop();
}

void fMaster::FillH()
{
    iItems->AddItem(catalogue::ItemTitleRow(gridTexts(catalogue::ItemTitleKeys())));
    iItems->AddItem(catalogue::Rule());
}

void fMaster::FillH2()
{
    iItems->AddItem(catalogue::ContactTitleRow(gridTexts(catalogue::ContactTitleKeys())));
    iItems->AddItem(catalogue::Rule());
}

void fMaster::FillICategory()
{
    iCategory->Clear();
    for (const QString& t : gridTexts(isItems() ? catalogue::ItemTitleKeys() : catalogue::ContactTitleKeys()))
        iCategory->AddItem(t);
}

void fMaster::FilliCategory2()
{
    if (!isItems()) {
        FilliItems(QString());
        return;
    }
    iCategory2->Clear();
    iCategory2->AddItem(LangGrid(QStringLiteral("tGlobal")));
    if (!TableName.isEmpty())
        iCategory2->AddItems(
            catalogue::KeptNames(app().DbConn(), catalogue::DistinctCategoriesSql(TableName), {TableName}));
    iCategory2->setListIndex(0);
}

QString fMaster::GetIItemsCode(int row) const
{
    return catalogue::RowCode(iItems->List(row));
}

QString fMaster::GetSelectedIItemsCode() const
{
    return GetIItemsCode(iItems->ListIndex());
}

// ---------------------------------------------------------------- filters

void fMaster::iCategory2_Click()
{
    if (!m_keepFilter)
        iFilter->setText(QString());
    iSearch->setText(QString());
    if (iCategory2->ListIndex() > 0 && iCategory2->Text() != iCategory2->List(0))
        FilliItems(catalogue::CategoryCondition(iCategory2->Text()));
    else
        FilliItems(QString());
}

void fMaster::iFilter_Change()
{
    // Back to all categories; the text just typed stays.
    m_keepFilter = true;
    iCategory2->setListIndex(0);
    m_keepFilter = false;
    iSearch->setText(QString());
    const int index = iCategory->ListIndex();
    if ((isItems() ? catalogue::ItemFilterField(index) : catalogue::ContactFilterField(index)).isEmpty()) {
        m_filterWait.stop();
        return;
    }
    m_filterWait.start();
}

void fMaster::iFilter_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        flushFilter();
}

void fMaster::flushFilter()
{
    if (m_filterWait.isActive())
        filterNow();
}

void fMaster::filterNow()
{
    m_filterWait.stop();
    // A window closed meanwhile fills its list afresh when it opens.
    if (!isVisible())
        return;
    const int index = iCategory->ListIndex();
    const QString field = isItems() ? catalogue::ItemFilterField(index) : catalogue::ContactFilterField(index);
    if (!field.isEmpty())
        FilliItems(catalogue::FieldCondition(field, iFilter->Text()));
}

void fMaster::iCategory_Click()
{
    if (!iFilter->Text().trimmed().isEmpty())
        iFilter_Change();
}

void fMaster::iCategory_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        iFilter->setFocus();
}

void fMaster::iSearch_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSearch_Click();
}

void fMaster::iSearch_GotFocus()
{
    FocusOn(iSearch);
    iCategory2->setListIndex(0);
    iFilter->setText(QString());
}

void fMaster::bSearch_Click()
{
    const QString k = iSearch->Text();
    FilliItems(isItems() ? catalogue::ItemSearchCondition(k) : catalogue::ContactSearchCondition(k));
}

void fMaster::bRefresh_Click()
{
    FilliItems(QString());
}

void fMaster::iCheck_Click()
{
    const bool on = iCheck->Value() == 1;
    for (int i = 0; i < iItems->ListCount(); ++i)
        iItems->setSelected(i, on);
}

void fMaster::iItems_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        if (bDelete->isEnabled())
            bDelete_Click();
    } else if (KeyCode == vbKeyReturn) {
        bOK_Click();
    }
}

// ---------------------------------------------------------------- the pick

void fMaster::bOK_Click()
{
    if (iItems->ListIndex() < 2)
        return;
    const picker::Target* target = m_target.get();
    if (!target)
        return;
    // A record deleted or replaced since the list was filled is told, and
    // the picker stays open on the list as it is now.
    const std::optional<QString> row = chosenRow();
    if (!row)
        return;
    const QString pick = catalogue::RowCode(*row);
    QString value = pick;
    if (target->value != picker::Value::Code) {
        const QVariant v = GetValue(target->value == picker::Value::Name ? catalogue::NameByCodeSql(TableName, pick)
                                                                         : catalogue::CodeByCodeSql(TableName, pick));
        if (v.isNull())
            return;
        value = Str(v);
    }
    QPointer<QWidget> field = target->field;
    target->write(value);
    bClose_Click();
    if (field)
        field->setFocus();
}

void fMaster::bClose_Click()
{
    Hide();
}

// ---------------------------------------------------------------- commands

void fMaster::bAdd_Click()
{
    if (isItems()) {
        fAdd* f = AddWindow();
        f->bSave->Tag = QStringLiteral("fMaster");
        f->setCaption(QStringLiteral("Tambah"));
        f->ShowModal();
    } else {
        fCharge* f = ChargeWindow();
        f->bSave->Tag = QStringLiteral("fMaster");
        f->setCaption(QStringLiteral("Tambah"));
        f->ShowModal();
    }
}

std::optional<QString> fMaster::chosenRow()
{
    DbConnection& db = app().DbConn();
    const std::optional<QString> row = catalogue::ChosenRow(
        *iItems, [&](const QString& shown) { return catalogue::TableRowShown(db, TableName, shown); });
    if (!row)
        FilliCategory2();
    return row;
}

void fMaster::bEdit_Click()
{
    if (iItems->ListIndex() < 2)
        return;
    const std::optional<QString> row = chosenRow();
    if (!row)
        return;
    auto rs = OpenRecordset(catalogue::RecordSql(TableName, catalogue::RowCode(*row)));
    if (isItems()) {
        fAdd* f = AddWindow();
        f->bSave->Tag = QStringLiteral("fMaster");
        f->setCaption(QStringLiteral("Ubah"));
        f->LoadRecord(*rs);
        f->ShowModal();
    } else {
        fCharge* f = ChargeWindow();
        f->bSave->Tag = QStringLiteral("fMaster");
        f->setCaption(QStringLiteral("Ubah"));
        f->LoadRecord(*rs);
        f->ShowModal();
    }
}

void fMaster::bDelete_Click()
{
    if (iItems->ListIndex() < 2)
        return;
    const std::optional<QString> row = chosenRow();
    if (!row)
        return;
    if (MsgConfirm(QStringLiteral("Hapus Item terpilih?"), MsgTitleConfirm) != 1)
        return;
    if (deleteRows({*row}) > 0)
        MsgWarn(catalogue::GoneMessage(catalogue::RowCode(*row)), MsgTitleWarn);
    Announce(&ShopSession::catalogueChanged);
}

void fMaster::bClear_Click()
{
    if (iItems->ListCount() < 3)
        return;
    if (MsgConfirm(QStringLiteral("Hapus semua Item yang ditandai?"), MsgTitleConfirm) != 1)
        return;
    const int gone = deleteRows(catalogue::MarkedRows(*iItems));
    Announce(&ShopSession::catalogueChanged);
    catalogue::TellGone(gone);
}

int fMaster::deleteRows(const QStringList& rows)
{
    DbConnection& db = app().DbConn();
    return catalogue::DeleteRows(
        db, rows, [&](const QString& row) { return catalogue::TableRowShown(db, TableName, row); },
        [&](const QString& code) { db.Execute(catalogue::DeleteSql(TableName, code)); });
}

// ---------------------------------------------------------------- outputs

void fMaster::bPrint_Click()
{
    catalogue::PrintFilters f;
    f.category = iCategory2->Text();
    f.allCategory = LangGrid(QStringLiteral("tGlobal"));
    f.search = iSearch->Text();
    f.fieldCaption = iCategory->Text();
    f.filter = iFilter->Text();
    catalogue::PrintList(this, Caption(), f, *iItems);
}

void fMaster::bExcel_Click()
{
    if (iItemsSql.isEmpty())
        return;
    const bool items = isItems();
    const QStringList titles = gridTexts(items ? catalogue::ItemTitleKeys() : catalogue::ContactTitleKeys());
    catalogue::CheckListExport(*iItems);
    // The records go into the file as they are read.
    Work work(this, mLang::ExportTexts(Caption()));
    OpenWorkbook([&](const QString& path) { catalogue::ExportList(app().DbConn(), iItemsSql, items, titles, path); },
                 Caption());
}
