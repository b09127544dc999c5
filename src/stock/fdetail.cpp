#include "stock/fdetail.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "platform/printer.h"
#include "stock/finout.h"
#include "stock/model/stockmodel.h"

using namespace platform;

fDetail* DetailWindow()
{
    return app().form<fDetail>();
}

namespace {

QString selectedId(const ListBox* list)
{
    qint64 id = 0;
    return stock::LinkRowId(list->List(list->ListIndex()), id) ? QString::number(id) : QString();
}

} // namespace

fDetail::fDetail() : Form(QStringLiteral("fDetail"), QStringLiteral("Detail"))
{
    setFixedSize(560, 500);
    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 12, 100, 24);
    iCode = new TextBox(this, QStringLiteral("iCode"));
    iCode->setGeometry(116, 12, 120, 24);
    iCode->setMaxLength(8);
    cDescription = PlaceLabel(this, QStringLiteral("cDescription"), QStringLiteral("Deskripsi:"), 12, 42, 100, 24);
    iDescription = new TextBox(this, QStringLiteral("iDescription"));
    iDescription->setGeometry(116, 42, 300, 24);
    iDescription->setMaxLength(50);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), 12, 72, 100, 24);
    iQuantity = new TextBox(this, QStringLiteral("iQuantity"));
    iQuantity->setGeometry(116, 72, 120, 24);
    iQuantity->setMaxLength(15);
    iQuantity->Figure = true;
    iQuantity->FigureDecimals = true;
    iUnit = PlaceLabel(this, QStringLiteral("iUnit"), QStringLiteral("Satuan:"), 242, 72, 120, 24);

    const QFont listFont = fixedFont(QStringLiteral("OCR A Std"), 7);
    cStockInShop = new Frame(this, QStringLiteral("cStockInShop"), QStringLiteral("Stok Masuk Setiap Pembelian"));
    cStockInShop->setGeometry(8, 104, 544, 170);
    iShop = new ListBox(cStockInShop, QStringLiteral("iShop"));
    iShop->setGeometry(8, 22, 528, 104);
    iShop->setFont(listFont);
    bAddShop = new WanButton(cStockInShop, QStringLiteral("bAddShop"), QStringLiteral("&Tambah"));
    bAddShop->setGeometry(8, 132, 92, 30);
    bDeleteShop = new WanButton(cStockInShop, QStringLiteral("bDeleteShop"), QStringLiteral("&Hapus"));
    bDeleteShop->setGeometry(106, 132, 92, 30);

    cStockOutSale = new Frame(this, QStringLiteral("cStockOutSale"), QStringLiteral("Stok Keluar Setiap Penjualan"));
    cStockOutSale->setGeometry(8, 280, 544, 170);
    iSale = new ListBox(cStockOutSale, QStringLiteral("iSale"));
    iSale->setGeometry(8, 22, 528, 104);
    iSale->setFont(listFont);
    bAddSale = new WanButton(cStockOutSale, QStringLiteral("bAddSale"), QStringLiteral("&Tambah"));
    bAddSale->setGeometry(8, 132, 92, 30);
    bDeleteSale = new WanButton(cStockOutSale, QStringLiteral("bDeleteSale"), QStringLiteral("&Hapus"));
    bDeleteSale->setGeometry(106, 132, 92, 30);

    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(460, 460, 92, 30);

    for (TextBox* t : {iCode, iDescription, iQuantity})
        mMain::FocusColours(t);
    mMain::UpperKeys(iCode);
    iCode->Change = [this] { iCode_Change(); };
    iShop->events.KeyDown = [this](int& k, int s) { iShop_KeyDown(k, s); };
    iSale->events.KeyDown = [this](int& k, int s) { iSale_KeyDown(k, s); };
    bAddShop->Click = [this] { bAddShop_Click(); };
    bAddSale->Click = [this] { bAddSale_Click(); };
    bDeleteShop->Click = [this] { bDeleteShop_Click(); };
    bDeleteSale->Click = [this] { bDeleteSale_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    // Links and their items' names: written here, by the link dialogs, the
    // stock window, the item dialogs or another till's sale of this login.
    app().OnSession(this, [this](ShopSession& s) {
        connect(&s, &ShopSession::stockChanged, this, &fDetail::linksChanged);
        connect(&s, &ShopSession::catalogueChanged, this, &fDetail::linksChanged);
    });
}

// Hidden, it loads the article again when it is shown next: the opener
// writes the same code, which alone would load nothing.
void fDetail::linksChanged()
{
    if (isVisible())
        iCode_Change();
    else
        m_due = true;
}

void fDetail::iShop_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        KeyCode = 0;
        bDeleteShop_Click();
    }
}

void fDetail::iSale_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        KeyCode = 0;
        bDeleteSale_Click();
    }
}

void fDetail::Form_Activate()
{
    if (m_due) {
        m_due = false;
        iCode_Change();
    }
    iCode->setFocus();
}

void fDetail::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fDetail::iCode_Change()
{
    DbConnection& db = app().DbConn();
    auto rs = db.OpenRecordset(QStringLiteral("select * from `stock` where `code`=") + mMain::Quote(iCode->Text()));
    if (rs->Eof()) {
        iDescription->setText(QString());
        iQuantity->setText(QString());
        iUnit->setCaption(QString());
    } else {
        iDescription->setText(rs->Fields(QStringLiteral("description")).toString());
        const QString code = rs->Fields(QStringLiteral("code")).toString();
        iQuantity->setText(stock::QuantityText(stock::OnHand(db, code)));
        iUnit->setCaption(rs->Fields(QStringLiteral("unit")).toString());
    }
    FilliShop();
    FilliSale();
}

void fDetail::fillLinks(ListBox* list, stock::Side side, QList<stock::LinkLine>& shown)
{
    m_linksOf = iCode->Text();
    shown = stock::Links(app().DbConn(), side, m_linksOf);
    QStringList rows;
    for (const stock::LinkLine& l : shown)
        rows << stock::LinkRow(l, iUnit->Caption());
    list->Clear();
    list->AddItems(rows);
}

void fDetail::FilliShop()
{
    fillLinks(iShop, stock::Side::Shop, m_shop);
}

void fDetail::FilliSale()
{
    fillLinks(iSale, stock::Side::Sale, m_sale);
}

QString fDetail::GetSelectediShopID() const
{
    return selectedId(iShop);
}

QString fDetail::GetSelectediSaleID() const
{
    return selectedId(iSale);
}

void fDetail::deleteLink(ListBox* list, stock::Side side, const QList<stock::LinkLine>& shown)
{
    const int row = list->ListIndex();
    if (row < 0 || row >= shown.size())
        return;
    if (mMain::MsgConfirm(QStringLiteral("Hapus yang terpilih?"), mMain::MsgTitleConfirm) != 1)
        return;
    // The link as its row showed it, or nothing: its id may be another's now.
    if (stock::DeleteLink(app().DbConn(), side, m_linksOf, shown.at(row))) {
        // The announcement reloads this window too (linksChanged).
        Announce(&ShopSession::stockChanged);
        return;
    }
    mMain::MsgWarn(catalogue::GoneMessage(shown.at(row).code), mMain::MsgTitleWarn);
    side == stock::Side::Shop ? FilliShop() : FilliSale();
}

void fDetail::bDeleteShop_Click()
{
    if (iShop->ListIndex() < 0)
        return;
    deleteLink(iShop, stock::Side::Shop, m_shop);
}

void fDetail::bDeleteSale_Click()
{
    if (iSale->ListIndex() < 0)
        return;
    deleteLink(iSale, stock::Side::Sale, m_sale);
}

void fDetail::bAddShop_Click()
{
    if (iDescription->Text().isEmpty())
        return;
    if (fInOut* f = InWindow()) {
        f->iUnit->setCaption(iUnit->Caption());
        f->ShowModal();
    }
}

void fDetail::bAddSale_Click()
{
    if (iDescription->Text().isEmpty())
        return;
    if (fInOut* f = OutWindow()) {
        f->iUnit->setCaption(iUnit->Caption());
        f->ShowModal();
    }
}

void fDetail::bClose_Click()
{
    Hide();
}
