#include "stock/fstock.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "lang/mlang.h"
#include "platform/keys.h"
#include "platform/printer.h"
#include "shell/fmain.h"
#include "stock/fdetail.h"
#include "stock/fio.h"
#include "stock/model/stockmodel.h"

#include <QDate>

using namespace platform;

fStock* StockWindow()
{
    return app().form<fStock>();
}

fStock::fStock() : Form(QStringLiteral("fStock"), QStringLiteral("Stok"))
{
    setFixedSize(560, 420);
    iStock = new ListBox(this, QStringLiteral("iStock"));
    iStock->setGeometry(10, 10, 540, 320);
    iStock->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));

    iQuantity = new TextBox(this, QStringLiteral("iQuantity"));
    iQuantity->setGeometry(10, 340, 110, 26);
    iQuantity->setMaxLength(15);
    iQuantity->Figure = true;
    iQuantity->setText(QStringLiteral("1"));
    bPlus = new WanButton(this, QStringLiteral("bPlus"), QStringLiteral("+"));
    bPlus->setGeometry(126, 338, 36, 30);
    bMin = new WanButton(this, QStringLiteral("bMin"), QStringLiteral("-"));
    bMin->setGeometry(166, 338, 36, 30);

    bAdd = new WanButton(this, QStringLiteral("bAdd"), QStringLiteral("&Tambah"));
    bAdd->setGeometry(10, 380, 100, 30);
    bDelete = new WanButton(this, QStringLiteral("bDelete"), QStringLiteral("&Hapus"));
    bDelete->setGeometry(116, 380, 100, 30);
    bDetail = new WanButton(this, QStringLiteral("bDetail"), QStringLiteral("&Detail"));
    bDetail->setGeometry(222, 380, 100, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(450, 380, 100, 30);

    iStock->DblClick = [this] { bDetail_Click(); };
    iStock->events.KeyDown = [this](int& k, int s) { iStock_KeyDown(k, s); };
    iQuantity->Change = [this] { iQuantity_Change(); };
    mMain::QuantityKeys(iQuantity);
    bPlus->Click = [this] { bPlus_Click(); };
    bMin->Click = [this] { bMin_Click(); };
    bAdd->Click = [this] { bAdd_Click(); };
    bDelete->Click = [this] { bDelete_Click(); };
    bDetail->Click = [this] { bDetail_Click(); };
    bClose->Click = [this] { bClose_Click(); };
    app().OnSession(this,
                    [this](ShopSession& s) { connect(&s, &ShopSession::stockChanged, this, &fStock::stockChanged); });
}

// Shut, it reads the stock afresh when it opens.
void fStock::stockChanged()
{
    if (isVisible())
        FilliStock();
}

void fStock::iStock_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        KeyCode = 0;
        bDelete_Click();
    }
}

void fStock::Form_Activate()
{
    FilliStock();
    iQuantity->setFocus();
}

void fStock::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    switch (KeyCode) {
    case vbKeyEscape:
        KeyCode = 0;
        bClose_Click();
        break;
    case vbKeyAdd:
        KeyCode = 0;
        bAdd_Click();
        break;
    case vbKeyReturn:
        KeyCode = 0;
        bDetail_Click();
        break;
    default: break;
    }
}

void fStock::FilliStock()
{
    const int selected = iStock->ListIndex();
    QStringList rows;
    rows << stock::StockRow(mLang::LangGrid(QStringLiteral("tCode")), mLang::LangGrid(QStringLiteral("tDescription")),
                            mLang::LangGrid(QStringLiteral("tQuantity")));
    rows << QString(stock::kStockRule, QLatin1Char('-'));
    for (const stock::StockLine& l : stock::StockList(app().DbConn()))
        rows << stock::StockRow(l);
    iStock->Clear();
    iStock->AddItems(rows);
    if (selected < iStock->ListCount())
        iStock->setListIndex(selected);
}

QString fStock::GetiStockCode() const
{
    return iStock->List(iStock->ListIndex()).left(8).trimmed();
}

void fStock::iQuantity_Change()
{
    if (iQuantity->Text().trimmed().isEmpty())
        iQuantity->setText(QStringLiteral("0"));
}

void fStock::correct(bool add)
{
    if (iStock->ListIndex() < 2 || iStock->List(iStock->ListIndex()).isEmpty())
        return;
    // A lone comma or pasted text is no amount, the same as 0.
    const double amount = stock::TypedQuantity(iQuantity->Text());
    if (amount == 0) {
        mMain::MsgWarn(QStringLiteral("Jumlah belum diisi"), mMain::MsgTitleWarn);
        iQuantity->setFocus();
        return;
    }
    // An item deleted meanwhile at another workstation gets no movement.
    if (!stock::Correct(app().DbConn(), app().DbKind, GetiStockCode(), amount, add, QDate::currentDate()))
        mMain::MsgWarn(catalogue::GoneMessage(GetiStockCode()), mMain::MsgTitleWarn);
    iQuantity->setText(QStringLiteral("1"));
    Announce(&ShopSession::stockChanged);
}

void fStock::bPlus_Click()
{
    correct(true);
}

void fStock::bMin_Click()
{
    correct(false);
}

void fStock::bDelete_Click()
{
    if (iStock->ListIndex() < 2)
        return;
    if (mMain::MsgConfirm(QStringLiteral("Hapus stok terpilih?"), mMain::MsgTitleConfirm) != 1)
        return;
    if (!stock::DeleteStockItem(app().DbConn(), GetiStockCode()))
        mMain::MsgWarn(catalogue::GoneMessage(GetiStockCode()), mMain::MsgTitleWarn);
    Announce(&ShopSession::stockChanged);
}

void fStock::bDetail_Click()
{
    if (iStock->ListIndex() < 2)
        return;
    fDetail* d = DetailWindow();
    if (!d)
        return;
    d->iCode->setText(GetiStockCode());
    d->ShowModal();
}

void fStock::bAdd_Click()
{
    if (fIO* f = app().form<fIO>())
        f->ShowModal();
}

void fStock::bClose_Click()
{
    iQuantity->setText(QStringLiteral("1"));
    MainWindow()->TabActive(app().MenuControl);
    Hide();
}
