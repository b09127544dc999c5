#include "stock/finout.h"

#include "catalogue/model/catalogue.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "stock/fdetail.h"

using namespace platform;

fIn* InWindow()
{
    return app().form<fIn>();
}

fOut* OutWindow()
{
    return app().form<fOut>();
}

fInOut::fInOut(stock::Side side)
    : Form(side == stock::Side::Shop ? QStringLiteral("fIn") : QStringLiteral("fOut"), QStringLiteral("Tambah")),
      m_side(side)
{
    setFixedSize(420, 160);
    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 12, 100, 24);
    iCode = new ComboBox(this, QStringLiteral("iCode"), true);
    iCode->setGeometry(116, 12, 160, 24);
    bBrowse = new WanButton(this, QStringLiteral("bBrowse"), QStringLiteral("&Browse"));
    bBrowse->setGeometry(284, 10, 92, 28);
    cDescription = PlaceLabel(this, QStringLiteral("cDescription"),
                              side == stock::Side::Shop ? QStringLiteral("Description:") : QStringLiteral("Deskripsi:"),
                              12, 42, 100, 24);
    iDescription = new TextBox(this, QStringLiteral("iDescription"));
    iDescription->setGeometry(116, 42, 292, 24);
    iDescription->setMaxLength(50);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), 12, 72, 100, 24);
    iQuantity = new TextBox(this, QStringLiteral("iQuantity"));
    iQuantity->setGeometry(116, 72, 120, 24);
    iQuantity->setMaxLength(15);
    iQuantity->Figure = true;
    iUnit = PlaceLabel(this, QStringLiteral("iUnit"), QString(), 242, 72, 120, 24);
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(216, 118, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(316, 118, 92, 30);

    iCode->Change = [this] { iCode_Change(); };
    iCode->Click = [this] { iCode_Click(); };
    mMain::UpperKeys(iCode);
    iCode->events.KeyDown = [this](int& k, int s) { iCode_KeyDown(k, s); };
    for (TextBox* t : {iDescription, iQuantity})
        mMain::FocusColours(t);
    mMain::EnterSendsTab(this, iDescription);
    iQuantity->events.KeyDown = [this](int& k, int s) { iQuantity_KeyDown(k, s); };
    mMain::QuantityKeys(iQuantity);
    bBrowse->Click = [this] { bBrowse_Click(); };
    // The picker lists this dialog's items table whatever the cashier's action.
    m_codeTarget =
        picker::Register(side == stock::Side::Shop ? QStringLiteral("fIn.iCode") : QStringLiteral("fOut.iCode"), iCode,
                         picker::Value::StoredCode, true, {},
                         side == stock::Side::Shop ? QStringLiteral("ShopItems") : QStringLiteral("SaleItems"));
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fInOut::iCode_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        iQuantity->setFocus();
    }
}

void fInOut::iQuantity_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bSave_Click();
    }
}

void fInOut::Form_Activate()
{
    const QVariant master = mMain::GetValue(QStringLiteral("select master from operator where username=") +
                                            mMain::Quote(app().CurrentUser));
    bBrowse->setEnabled(DbField(master).toBool());
    FilliCode();
    iCode->setFocus();
}

void fInOut::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fInOut::FilliCode()
{
    const QString kept = iCode->Text();
    iCode->Clear();
    auto rs = mMain::OpenRecordset(QStringLiteral("select distinct code from ") + stock::ItemsTable(m_side));
    for (; !rs->Eof(); rs->MoveNext())
        iCode->AddItem(rs->Fields(QStringLiteral("code")).toString());
    iCode->setText(kept);
}

void fInOut::iCode_Change()
{
    // Pasted text passes no key filter: codes are upper case.
    if (iCode->Text() != iCode->Text().toUpper()) {
        iCode->setText(iCode->Text().toUpper());
        return;
    }
    iCode_Click();
}

void fInOut::iCode_Click()
{
    auto rs = mMain::OpenRecordset(QStringLiteral("select `name` as description, satuan as unit from ") +
                                   stock::ItemsTable(m_side) + QStringLiteral(" where `code`=") +
                                   mMain::Quote(iCode->Text()));
    iDescription->setText(rs->Eof() ? QString() : rs->Fields(QStringLiteral("description")).toString());
}

void fInOut::bBrowse_Click()
{
    // The picker lists the items of the cashier's action.
    Till().chooseAction(m_side == stock::Side::Shop ? QStringLiteral("Sale") : QStringLiteral("Shop"));
    picker::Open(QStringLiteral("Items"), m_codeTarget);
}

void fInOut::bSave_Click()
{
    const QString code = catalogue::Stored(iCode->Text());
    if (code.isEmpty()) {
        mMain::MsgWarn(QStringLiteral("Kode belum diisi"), mMain::MsgTitleWarn);
        iCode->setFocus();
        return;
    }
    // The quantity is kept as typed (a decimal comma stays), but only a
    // number is kept: anything else is stored as no quantity.
    bool ok = false;
    stock::TypedQuantity(iQuantity->Text(), &ok);
    const QString quantity = ok ? iQuantity->Text().trimmed() : QString();
    fDetail* detail = DetailWindow();
    const QString stockCode = detail ? catalogue::Stored(detail->iCode->Text()) : QString();
    switch (stock::SaveLink(app().DbConn(), m_side, stockCode, code, quantity)) {
    case stock::LinkSaved::NoItem:
        mMain::MsgWarn(catalogue::UnknownItemMessage(code), mMain::MsgTitleWarn);
        iCode->setFocus();
        return;
    case stock::LinkSaved::StockGone:
        // Deleted at another till: a link stored now would move the next
        // stock item given its code.
        mMain::MsgWarn(catalogue::GoneMessage(stockCode), mMain::MsgTitleWarn);
        bClose_Click();
        Announce(&ShopSession::stockChanged);
        return;
    case stock::LinkSaved::Saved: break;
    }
    Announce(&ShopSession::stockChanged);
    mMain::MsgInfo(m_side == stock::Side::Shop ? QStringLiteral("Telah tersimpan") : QStringLiteral("Tersimpan"),
                   mMain::MsgTitleInfo);
    iCode->setText(QString());
    iQuantity->setText(QString());
    FilliCode();
}

void fInOut::bClose_Click()
{
    iCode->setText(QString());
    iQuantity->setText(QString());
    Hide();
}
