#include "stock/fio.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "stock/fstock.h"
#include "stock/model/stockmodel.h"

#include <QDate>

using namespace platform;

fIO::fIO() : Form(QStringLiteral("fIO"), QStringLiteral("Tambah"))
{
    setFixedSize(400, 190);
    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), 12, 12, 100, 24);
    iCode = new TextBox(this, QStringLiteral("iCode"));
    iCode->setGeometry(116, 12, 120, 24);
    iCode->setMaxLength(8);
    cDescription = PlaceLabel(this, QStringLiteral("cDescription"), QStringLiteral("Deskripsi:"), 12, 42, 100, 24);
    iDescription = new TextBox(this, QStringLiteral("iDescription"));
    iDescription->setGeometry(116, 42, 272, 24);
    iDescription->setMaxLength(50);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), 12, 72, 100, 24);
    iQuantity = new TextBox(this, QStringLiteral("iQuantity"));
    iQuantity->setGeometry(116, 72, 120, 24);
    iQuantity->setMaxLength(15);
    iQuantity->Figure = true;
    cUnit = PlaceLabel(this, QStringLiteral("cUnit"), QStringLiteral("Satuan:"), 12, 102, 100, 24);
    iUnit = new ComboBox(this, QStringLiteral("iUnit"), true);
    iUnit->setGeometry(116, 102, 160, 24);
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(196, 148, 92, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(296, 148, 92, 30);

    for (TextBox* t : {iCode, iDescription, iQuantity}) {
        mMain::FocusColours(t);
        mMain::EnterSendsTab(this, t);
    }
    iCode->Change = [this] { mMain::UpperText(iCode); };
    mMain::UpperKeys(iCode);
    mMain::ProperKeys(iDescription);
    mMain::QuantityKeys(iQuantity);
    mMain::ProperKeys(iUnit);
    iUnit->events.KeyDown = [this](int& k, int s) { iUnit_KeyDown(k, s); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fIO::iUnit_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bSave_Click();
    }
}

void fIO::Form_Activate()
{
    FilliUnit();
    iCode->setFocus();
}

void fIO::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fIO::FilliUnit()
{
    const QString kept = iUnit->Text();
    iUnit->Clear();
    auto rs = mMain::OpenRecordset(QStringLiteral("select distinct unit from stock"));
    for (; !rs->Eof(); rs->MoveNext())
        iUnit->AddItem(rs->Fields(QStringLiteral("Unit")).toString());
    iUnit->setText(kept);
}

void fIO::bSave_Click()
{
    const QString code = catalogue::Stored(iCode->Text());
    if (code.isEmpty()) {
        mMain::MsgWarn(QStringLiteral("Kode belum diisi"), mMain::MsgTitleWarn);
        iCode->setFocus();
        return;
    }
    if (iDescription->Text().isEmpty()) {
        mMain::MsgWarn(QStringLiteral("Deskripsi belum diisi"), mMain::MsgTitleWarn);
        iDescription->setFocus();
        return;
    }
    // An empty quantity, or one that is no number, opens the item at 0.
    bool ok = false;
    const double opening = stock::TypedQuantity(iQuantity->Text(), &ok);
    if (!ok)
        iQuantity->setText(QStringLiteral("0"));
    if (!stock::AddStockItem(app().DbConn(), app().DbKind, code, iDescription->Text(), iUnit->Text(), opening,
                             QDate::currentDate())) {
        mMain::MsgWarn(catalogue::DuplicateMessage(code), mMain::MsgTitleWarn);
        iCode->setFocus();
        return;
    }
    iCode->setText(QString());
    iDescription->setText(QString());
    iQuantity->setText(QString());
    iUnit->setText(QString());
    mMain::MsgInfo(QStringLiteral("Stok telah tersimpan"), mMain::MsgTitleInfo);
    Announce(&ShopSession::stockChanged);
    iCode->setFocus();
    FilliUnit();
}

void fIO::bClose_Click()
{
    iCode->setText(QString());
    iDescription->setText(QString());
    iQuantity->setText(QString());
    iUnit->setText(QString());
    Hide();
}
