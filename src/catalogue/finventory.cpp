#include "catalogue/finventory.h"

#include "catalogue/discount.h"
#include "catalogue/listrows.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/inventory.h"
#include "catalogue/model/names.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"

using namespace platform;

fInventory* InventoryWindow()
{
    return app().form<fInventory>();
}

namespace {

// Discount fields hold at most three characters as typed; the limit lives in
// the key filter so that a computed percent with decimals is shown whole.
int DiscountKey(int k, const TextBox* box)
{
    k = mMain::NumericOnly(k, false);
    if (k >= '0' && k <= '9' && box->Text().size() >= 3 && !box->hasSelectedText())
        return 0;
    return k;
}

double AmountOf(const TextBox* box)
{
    return box->Text().isEmpty() ? 0 : mMain::ParseAmount(box->Text());
}

} // namespace

fInventory::fInventory() : Form(QStringLiteral("fInventory"), QStringLiteral("Tambah"))
{
    setFixedSize(560, 330);
    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 12, 90, 24);
    iCode = PlaceBox(this, QStringLiteral("iCode"), 110, 12, 120, 24, 8);
    cCategory = PlaceLabel(this, QStringLiteral("cCategory"), QStringLiteral("Kategori:"), 12, 42, 90, 24);
    iCategory = new ComboBox(this, QStringLiteral("iCategory"), true);
    iCategory->setGeometry(110, 42, 200, 24);
    cDescription = PlaceLabel(this, QStringLiteral("cDescription"), QStringLiteral("Description:"), 12, 72, 90, 24);
    iName = PlaceBox(this, QStringLiteral("iName"), 110, 72, 438, 24, 50);
    cUnit = PlaceLabel(this, QStringLiteral("cUnit"), QStringLiteral("Satuan:"), 12, 102, 90, 24);
    iUnit = new ComboBox(this, QStringLiteral("iUnit"), true);
    iUnit->setGeometry(110, 102, 160, 24);

    cShop = new Frame(this, QStringLiteral("cShop"), QStringLiteral("Pembelian"));
    cShop->setGeometry(8, 134, 268, 146);
    cPrice = PlaceLabel(cShop, QStringLiteral("cPrice"), QStringLiteral("Harga:"), 8, 24, 90, 24);
    iPriceSH = PlaceBox(cShop, QStringLiteral("iPriceSH"), 80, 24, 130, 24, 15);
    cDiscount = PlaceLabel(cShop, QStringLiteral("cDiscount"), QStringLiteral("Diskon:"), 8, 54, 90, 24);
    iDiscountSH = PlaceBox(cShop, QStringLiteral("iDiscountSH"), 80, 54, 40, 24);
    bDiscountSH = new WanButton(cShop, QStringLiteral("bDiscountSH"), QStringLiteral("Sugesti"));
    bDiscountSH->setGeometry(140, 52, 70, 28);
    iDiscountSHN = PlaceBox(cShop, QStringLiteral("iDiscountSHN"), 80, 84, 130, 24, 15);
    cTotal = PlaceLabel(cShop, QStringLiteral("cTotal"), QStringLiteral("Total:"), 8, 114, 90, 24);
    iTotalSH = PlaceBox(cShop, QStringLiteral("iTotalSH"), 80, 114, 130, 24, 15);

    cSale = new Frame(this, QStringLiteral("cSale"), QStringLiteral("Penjualan"));
    cSale->setGeometry(284, 134, 268, 146);
    cPrice2 = PlaceLabel(cSale, QStringLiteral("cPrice2"), QStringLiteral("Harga:"), 8, 24, 90, 24);
    iPriceSL = PlaceBox(cSale, QStringLiteral("iPriceSL"), 80, 24, 130, 24, 15);
    cDiscount2 = PlaceLabel(cSale, QStringLiteral("cDiscount2"), QStringLiteral("Diskon:"), 8, 54, 90, 24);
    iDiscountSL = PlaceBox(cSale, QStringLiteral("iDiscountSL"), 80, 54, 40, 24);
    bDiscountSL = new WanButton(cSale, QStringLiteral("bDiscountSL"), QStringLiteral("Sugesti"));
    bDiscountSL->setGeometry(140, 52, 70, 28);
    iDiscountSLN = PlaceBox(cSale, QStringLiteral("iDiscountSLN"), 80, 84, 130, 24, 15);
    cTotal2 = PlaceLabel(cSale, QStringLiteral("cTotal2"), QStringLiteral("Total:"), 8, 114, 90, 24);
    iTotalSL = PlaceBox(cSale, QStringLiteral("iTotalSL"), 80, 114, 130, 24, 15);
    for (TextBox* t : {iTotalSH, iTotalSL, iDiscountSHN, iDiscountSLN}) {
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
    }
    iTotalSH->setFocusPolicy(Qt::StrongFocus);

    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(356, 290, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(456, 290, 92, 30);

    setTabOrder(iCode, iCategory);
    setTabOrder(iCategory, iName);
    setTabOrder(iName, iUnit);
    setTabOrder(iUnit, iPriceSH);
    setTabOrder(iPriceSH, iDiscountSH);
    setTabOrder(iDiscountSH, iTotalSH);
    setTabOrder(iTotalSH, iPriceSL);
    setTabOrder(iPriceSL, iDiscountSL);

    for (TextBox* t : {iCode, iName, iPriceSH, iDiscountSH, iTotalSH, iPriceSL, iDiscountSL, iTotalSL})
        mMain::FocusColours(t);
    for (TextBox* t : {iCode, iName, iPriceSH, iTotalSH, iPriceSL})
        mMain::EnterSendsTab(this, t);
    mMain::EnterSendsTab(this, iCategory);
    mMain::EnterSendsTab(this, iUnit);
    iDiscountSH->events.KeyDown = [this](int& k, int s) { iDiscountSH_KeyDown(k, s); };
    iDiscountSL->events.KeyDown = [this](int& k, int s) { iDiscountSL_KeyDown(k, s); };
    mMain::UpperKeys(iCode);
    iCode->Change = [this] { mMain::UpperText(iCode); };
    mMain::ProperKeys(iCategory);
    mMain::ProperKeys(iName);
    mMain::ProperKeys(iUnit);
    for (TextBox* t : {iPriceSH, iPriceSL, iDiscountSH, iDiscountSL})
        t->Figure = true;
    mMain::DigitKeys(iPriceSH);
    mMain::DigitKeys(iPriceSL);
    iPriceSH->Change = [this] { iPriceSH_Change(); };
    iPriceSL->Change = [this] { iPriceSL_Change(); };
    iDiscountSH->events.KeyPress = [this](int& k) { iDiscountSH_KeyPress(k); };
    iDiscountSL->events.KeyPress = [this](int& k) { iDiscountSL_KeyPress(k); };
    iDiscountSH->Change = [this] { tCount_Timer(); };
    iDiscountSL->Change = [this] { tCount_Timer(); };
    bDiscountSH->Click = [this] { bDiscountSH_Click(); };
    bDiscountSL->Click = [this] { bDiscountSL_Click(); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    tCount_Timer();
}

void fInventory::Form_Activate()
{
    FillICategory();
    FilliUnit();
    iCode->setFocus();
}

void fInventory::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

namespace {

void fillDistinct(ComboBox* box, const QString& sql)
{
    const QString kept = box->Text();
    box->Clear();
    box->AddItems(catalogue::KeptNames(app().DbConn(), sql, {QStringLiteral("shopitems")}));
    box->setText(kept);
}

} // namespace

void fInventory::iDiscountSH_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        iPriceSL->setFocus();
    }
}

void fInventory::iDiscountSL_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bSave_Click();
    }
}

void fInventory::iDiscountSH_KeyPress(int& KeyAscii)
{
    KeyAscii = DiscountKey(KeyAscii, iDiscountSH);
}

void fInventory::iDiscountSL_KeyPress(int& KeyAscii)
{
    KeyAscii = DiscountKey(KeyAscii, iDiscountSL);
}

void fInventory::iPriceSH_Change()
{
    mMain::FormatNumberBox(iPriceSH);
    tCount_Timer();
}

void fInventory::iPriceSL_Change()
{
    mMain::FormatNumberBox(iPriceSL);
    tCount_Timer();
}

void fInventory::FillICategory()
{
    fillDistinct(iCategory, QStringLiteral("select distinct category from `shopitems`"));
}

void fInventory::FilliUnit()
{
    fillDistinct(iUnit, QStringLiteral("select distinct satuan from `shopitems`"));
}

void fInventory::tCount_Timer()
{
    const struct {
        TextBox *price, *discount, *amount, *total;
    } sides[] = {{iPriceSH, iDiscountSH, iDiscountSHN, iTotalSH}, {iPriceSL, iDiscountSL, iDiscountSLN, iTotalSL}};
    for (const auto& s : sides) {
        const double p = AmountOf(s.price);
        const double d = mMain::Val(s.discount->Text());
        s.amount->setText(mMain::FormatAmount(catalogue::DiscountAmount(p, d)));
        s.total->setText(mMain::FormatAmount(catalogue::NetPrice(p, d)));
    }
}

void fInventory::clearFields()
{
    for (TextBox* t : {iCode, iName, iPriceSH, iDiscountSH, iPriceSL, iDiscountSL})
        t->setText(QString());
    iCategory->setText(QString());
    iUnit->setText(QString());
}

void fInventory::bClose_Click()
{
    clearFields();
    Hide();
}

bool fInventory::refuse(const QString& message, QWidget* focus)
{
    mMain::MsgWarn(message, mMain::MsgTitleWarn);
    focus->setFocus();
    return false;
}

inventory::InventoryItem fInventory::fieldsItem() const
{
    inventory::InventoryItem item;
    item.code = catalogue::Stored(iCode->Text());
    item.category = iCategory->Text();
    item.name = iName->Text();
    item.unit = iUnit->Text();
    item.priceShop = AmountOf(iPriceSH);
    item.discountShop = mMain::Val(iDiscountSH->Text());
    item.priceSale = AmountOf(iPriceSL);
    item.discountSale = mMain::Val(iDiscountSL->Text());
    return item;
}

void fInventory::bSave_Click()
{
    const inventory::InventoryItem item = fieldsItem();
    if (item.code.isEmpty()) {
        refuse(QStringLiteral("Kode belum diisi"), iCode);
        return;
    }
    if (iCategory->Text().isEmpty()) {
        refuse(QStringLiteral("Kategori belum diisi"), iCategory);
        return;
    }
    if (iName->Text().isEmpty()) {
        refuse(QStringLiteral("Deskripsi belum diisi"), iName);
        return;
    }
    if (item.priceShop == 0) {
        refuse(QStringLiteral("Harga Beli belum diisi"), iPriceSH);
        return;
    }
    if (item.priceSale == 0) {
        refuse(QStringLiteral("Harga Jual belum diisi"), iPriceSL);
        return;
    }
    if (catalogue::IsReservedCode(item.code)) {
        refuse(catalogue::ReservedCodeMessage(), iCode);
        return;
    }
    DbConnection& db = app().DbConn();
    // The item is bought, sold and held in stock: its writes change both.
    const catalogue::Wrote wrote = inventory::WroteOf(QStringLiteral("Sale Shop"));
    if (Caption() == QLatin1String("Tambah")) {
        if (inventory::AddItem(db, item) == catalogue::Outcome::Taken) {
            refuse(catalogue::DuplicateMessage(item.code), iCode);
            return;
        }
        FillICategory();
        FilliUnit();
        clearFields();
        iCode->setFocus();
        catalogue::Announce(wrote);
        return;
    }
    switch (inventory::EditItem(db, m_loaded, item)) {
    case catalogue::Outcome::Taken: refuse(catalogue::DuplicateMessage(item.code), iCode); return;
    case catalogue::Outcome::Gone: mMain::MsgWarn(catalogue::GoneMessage(m_loaded.code), mMain::MsgTitleWarn); break;
    case catalogue::Outcome::Saved: break;
    }
    catalogue::Announce(wrote);
    Unload();
}

void fInventory::bDiscountSH_Click()
{
    catalogue::AskNominalDiscount(*iPriceSH, *iDiscountSH);
}

void fInventory::bDiscountSL_Click()
{
    catalogue::AskNominalDiscount(*iPriceSL, *iDiscountSL);
}

void fInventory::LoadRecord(const DbRecordset& rs)
{
    auto field = [&rs](const char* name) { return rs.Fields(QLatin1String(name)).toString(); };
    iCode->setText(field("Code"));
    iCategory->setText(field("Category"));
    iName->setText(field("Description"));
    iUnit->setText(field("Unit"));
    iPriceSH->setText(field("PriceSH"));
    iDiscountSH->setText(field("DiscountSH"));
    iPriceSL->setText(field("PriceSL"));
    iDiscountSL->setText(field("DiscountSL"));
    // What the operator leaves as loaded is not written back: another
    // workstation may have changed it since.
    m_loaded = fieldsItem();
    m_loaded.code = field("Code");
}
