#include "catalogue/fadd.h"

#include "catalogue/discount.h"
#include "catalogue/fmaster.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/names.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"

using namespace platform;
using namespace mMain;

fAdd* AddWindow()
{
    return app().form<fAdd>();
}

fAdd::fAdd() : Form(QStringLiteral("fAdd"), QStringLiteral("Tambah"))
{
    setFixedSize(430, 330);
    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(12, 8, 406, 262);
    cCode = PlaceLabel(Frame1, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 18, 100, 24);
    cCategory = PlaceLabel(Frame1, QStringLiteral("cCategory"), QStringLiteral("Kategori:"), 12, 50, 100, 24);
    cDescription = PlaceLabel(Frame1, QStringLiteral("cDescription"), QStringLiteral("Description:"), 12, 82, 100, 24);
    cPrice = PlaceLabel(Frame1, QStringLiteral("cPrice"), QStringLiteral("Harga:"), 12, 114, 100, 24);
    cDiscount = PlaceLabel(Frame1, QStringLiteral("cDiscount"), QStringLiteral("Diskon:"), 12, 146, 100, 24);
    cTotal = PlaceLabel(Frame1, QStringLiteral("cTotal"), QStringLiteral("Total:"), 12, 178, 100, 24);
    cUnit = PlaceLabel(Frame1, QStringLiteral("cUnit"), QStringLiteral("Satuan:"), 12, 210, 100, 24);

    iCode = new TextBox(Frame1, QStringLiteral("iCode"));
    iCode->setMaxLength(8);
    iCode->setGeometry(116, 18, 120, 24);
    iCategory = new ComboBox(Frame1, QStringLiteral("iCategory"), true);
    iCategory->setGeometry(116, 50, 200, 24);
    iName = new TextBox(Frame1, QStringLiteral("iName"));
    iName->setMaxLength(50);
    iName->setGeometry(116, 82, 278, 24);
    iPrice = new TextBox(Frame1, QStringLiteral("iPrice"));
    iPrice->setMaxLength(15);
    iPrice->Figure = true;
    iPrice->setAlignment(Qt::AlignRight);
    iPrice->setGeometry(116, 114, 150, 24);
    // The three-character limit of the discount is kept by its key filter:
    // a fraction written by the nominal discount must not be cut.
    iDiscount = new TextBox(Frame1, QStringLiteral("iDiscount"));
    iDiscount->setAlignment(Qt::AlignRight);
    iDiscount->Figure = true;
    iDiscount->setGeometry(116, 146, 60, 24);
    Label7 = PlaceLabel(Frame1, QStringLiteral("Label7"), QStringLiteral("%"), 180, 146, 14, 24);
    iDiscountN = new TextBox(Frame1, QStringLiteral("iDiscountN"));
    iDiscountN->setMaxLength(15);
    iDiscountN->setAlignment(Qt::AlignRight);
    iDiscountN->setReadOnly(true);
    iDiscountN->setFocusPolicy(Qt::NoFocus);
    iDiscountN->setGeometry(198, 146, 110, 24);
    bDiscount = new WanButton(Frame1, QStringLiteral("bDiscount"), QStringLiteral("Sugesti"));
    bDiscount->setGeometry(312, 146, 82, 24);
    iTotal = new TextBox(Frame1, QStringLiteral("iTotal"));
    iTotal->setMaxLength(15);
    iTotal->setAlignment(Qt::AlignRight);
    iTotal->setReadOnly(true);
    iTotal->setGeometry(116, 178, 150, 24);
    iUnit = new ComboBox(Frame1, QStringLiteral("iUnit"), true);
    iUnit->setGeometry(116, 210, 150, 24);

    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(228, 282, 90, 32);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(328, 282, 90, 32);

    QWidget* order[] = {iCode, iCategory, iName, iPrice, iDiscount, iTotal, iUnit, bSave, bClose, bDiscount};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    for (TextBox* t : {iCode, iName, iPrice, iDiscount, iTotal}) {
        FocusColours(t);
        EnterSendsTab(this, t);
    }
    EnterSendsTab(this, iCategory);
    iUnit->events.KeyDown = [this](int& KeyCode, int Shift) { iUnit_KeyDown(KeyCode, Shift); };
    UpperKeys(iCode);
    ProperKeys(iCategory);
    ProperKeys(iName);
    ProperKeys(iUnit);
    DigitKeys(iPrice);
    iDiscount->events.KeyPress = [this](int& KeyAscii) { iDiscount_KeyPress(KeyAscii); };
    iPrice->Change = [this] { iPrice_Change(); };
    iDiscount->Change = [this] { iDiscount_Change(); };
    iDiscountN->Change = [this] { iDiscountN_Change(); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    bDiscount->Click = [this] { bDiscount_Click(); };
    RecalcTotal();
}

void fAdd::Form_Activate()
{
    if (bSave->Tag == QLatin1String("fMaster")) {
        // The table the list window shows, so that a return action or a
        // recipe picker never makes the dialog write another table.
        if (fMaster* m = MasterWindow())
            if (!m->TableName.isEmpty())
                TableName = m->TableName;
    } else if (bSave->Tag == QLatin1String("fMain")) {
        const QString t = catalogue::ItemsTable(PanelTable);
        if (!t.isEmpty())
            TableName = t;
    }
    keepLoaded();
    FillICategory();
    FilliUnit();
    iCode->setFocus();
}

void fAdd::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape)
        bClose_Click();
}

void fAdd::FillICategory()
{
    const QString kept = iCategory->Text();
    iCategory->Clear();
    if (!TableName.isEmpty())
        iCategory->AddItems(
            catalogue::KeptNames(app().DbConn(), catalogue::DistinctCategoriesSql(TableName), {TableName}));
    iCategory->setText(kept);
}

void fAdd::FilliUnit()
{
    const QString kept = iUnit->Text();
    iUnit->Clear();
    if (!TableName.isEmpty())
        iUnit->AddItems(catalogue::KeptNames(app().DbConn(), catalogue::DistinctUnitsSql(TableName), {TableName}));
    iUnit->setText(kept);
}

void fAdd::RecalcTotal()
{
    const double price = iPrice->Text().isEmpty() ? 0 : ParseAmount(iPrice->Text());
    const double d = Val(iDiscount->Text());
    iDiscountN->setText(Num(catalogue::DiscountAmount(price, d)));
    iTotal->setText(FormatAmount(catalogue::NetPrice(price, d)));
}

void fAdd::iUnit_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
}

void fAdd::iDiscount_KeyPress(int& KeyAscii)
{
    KeyAscii = NumericOnly(KeyAscii, false);
    if (KeyAscii != 0 && KeyAscii != 8 && iDiscount->Text().size() - iDiscount->selectedText().size() >= 3)
        KeyAscii = 0;
}

void fAdd::iPrice_Change()
{
    FormatNumberBox(iPrice);
    RecalcTotal();
}

void fAdd::iDiscount_Change()
{
    RecalcTotal();
}

void fAdd::iDiscountN_Change()
{
    FormatNumberBox(iDiscountN);
}

void fAdd::bDiscount_Click()
{
    catalogue::AskNominalDiscount(*iPrice, *iDiscount);
}

catalogue::Item fAdd::fieldsItem() const
{
    return {catalogue::Stored(iCode->Text()),
            iCategory->Text(),
            iName->Text(),
            iPrice->Text().isEmpty() ? 0 : ParseAmount(iPrice->Text()),
            Val(iDiscount->Text()),
            iUnit->Text()};
}

void fAdd::keepLoaded()
{
    // An opener that fills the fields itself opens the record they show.
    if (isAdd() || m_hasLoaded)
        return;
    m_loaded = fieldsItem();
    m_loaded.code = iCode->Text();
    m_hasLoaded = true;
}

void fAdd::bSave_Click()
{
    const auto refuse = [](const QString& message, QWidget* field) {
        MsgWarn(message, MsgTitleWarn);
        field->setFocus();
    };
    const catalogue::Item item = fieldsItem();
    if (item.code.isEmpty())
        return refuse(QStringLiteral("Kode belum diisi"), iCode);
    if (iCategory->Text().isEmpty())
        return refuse(QStringLiteral("Kategori belum diisi"), iCategory);
    if (iName->Text().isEmpty())
        return refuse(QStringLiteral("Deskripsi belum diisi"), iName);
    bool ok = false;
    const double price = ParseAmount(iPrice->Text(), &ok);
    if (!ok || price == 0)
        return refuse(QStringLiteral("Harga belum diisi"), iPrice);
    if (catalogue::IsReservedCode(item.code))
        return refuse(catalogue::ReservedCodeMessage(), iCode);

    DbConnection& db = app().DbConn();
    if (isAdd()) {
        if (catalogue::AddItem(db, TableName, item) == catalogue::Outcome::Taken)
            return refuse(catalogue::DuplicateMessage(item.code), iCode);
        clearFields();
        FillICategory();
        FilliUnit();
        iCode->setFocus();
        Announce(&ShopSession::catalogueChanged);
        return;
    }
    switch (catalogue::EditItem(db, TableName, m_loaded, item)) {
    case catalogue::Outcome::Taken: return refuse(catalogue::DuplicateMessage(item.code), iCode);
    case catalogue::Outcome::Gone: MsgWarn(catalogue::GoneMessage(m_loaded.code), MsgTitleWarn); break;
    case catalogue::Outcome::Saved: break;
    }
    bClose_Click();
    Announce(&ShopSession::catalogueChanged);
}

void fAdd::clearFields()
{
    for (TextBox* t : {iCode, iName, iPrice, iDiscount})
        t->setText(QString());
    iCategory->setText(QString());
    iUnit->setText(QString());
}

void fAdd::bClose_Click()
{
    m_hasLoaded = false;
    clearFields();
    Hide();
}

void fAdd::LoadRecord(const platform::DbRecordset& rs)
{
    auto field = [&rs](const char* name) { return rs.Fields(QLatin1String(name)).toString(); };
    iCode->setText(field("Code"));
    iCategory->setText(field("Category"));
    iName->setText(field("Name"));
    iPrice->setText(field("Price"));
    iDiscount->setText(field("Discount"));
    iUnit->setText(field("satuan"));
    // What the operator leaves as loaded is not written back: another
    // workstation may have changed it since.
    m_loaded = fieldsItem();
    m_loaded.code = field("Code");
    m_hasLoaded = true;
}
