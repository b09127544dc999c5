#include "catalogue/fcharge.h"

#include "catalogue/fmaster.h"
#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"

using namespace platform;
using namespace mMain;

fCharge* ChargeWindow()
{
    return app().form<fCharge>();
}

fCharge::fCharge() : Form(QStringLiteral("fCharge"), QStringLiteral("Charge"))
{
    setFixedSize(430, 250);
    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(12, 8, 406, 184);
    auto row = [this](const QString& label, const QString& caption, const QString& field, int r, int width, Label** l) {
        *l = PlaceLabel(Frame1, label, caption, 12, 18 + r * 32, 90, 24);
        return PlaceBox(Frame1, field, 106, 18 + r * 32, width, 24, 50);
    };
    iCode = row(QStringLiteral("cCode"), QStringLiteral("Kode:"), QStringLiteral("iCode"), 0, 120, &cCode);
    iCode->setMaxLength(8);
    iName = row(QStringLiteral("cName"), QStringLiteral("Nama:"), QStringLiteral("iName"), 1, 288, &cName);
    iAddress =
        row(QStringLiteral("cAddress"), QStringLiteral("Alamat:"), QStringLiteral("iAddress"), 2, 288, &cAddress);
    iPhone = row(QStringLiteral("cPhone"), QStringLiteral("Telepon:"), QStringLiteral("iPhone"), 3, 200, &cPhone);
    iFax = row(QStringLiteral("cFax"), QStringLiteral("Fax:"), QStringLiteral("iFax"), 4, 200, &cFax);

    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(228, 204, 90, 32);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(328, 204, 90, 32);

    QWidget* order[] = {iCode, iName, iAddress, iPhone, iFax, bSave, bClose};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    for (TextBox* t : {iCode, iName, iAddress, iPhone, iFax})
        FocusColours(t);
    for (TextBox* t : {iCode, iName, iAddress, iPhone})
        EnterSendsTab(this, t);
    iFax->events.KeyDown = [this](int& KeyCode, int Shift) { iFax_KeyDown(KeyCode, Shift); };
    UpperKeys(iCode);
    ProperKeys(iName);
    ProperKeys(iAddress);
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fCharge::Form_Activate()
{
    if (bSave->Tag == QLatin1String("fMain")) {
        if (catalogue::IsContactTable(PanelTable))
            TableName = PanelTable;
    } else if (fMaster* m = MasterWindow()) {
        // The table the list window shows (its warehouse mode, or the
        // contacts of the action of whichever window opened it).
        if (!m->TableName.isEmpty())
            TableName = m->TableName;
    }
    keepLoaded();
    iCode->setFocus();
}

void fCharge::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape)
        bClose_Click();
}

void fCharge::iFax_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
}

catalogue::Contact fCharge::fieldsContact() const
{
    return {catalogue::Stored(iCode->Text()), catalogue::Stored(iName->Text()), iAddress->Text(), iPhone->Text(),
            iFax->Text()};
}

void fCharge::keepLoaded()
{
    // An opener that fills the fields itself opens the record they show.
    if (isAdd() || m_hasLoaded)
        return;
    m_loaded = fieldsContact();
    m_loaded.code = iCode->Text();
    m_hasLoaded = true;
}

void fCharge::bSave_Click()
{
    const auto refuse = [](const QString& message, QWidget* field) {
        MsgWarn(message, MsgTitleWarn);
        field->setFocus();
    };
    const catalogue::Contact c = fieldsContact();
    if (c.code.isEmpty())
        return refuse(QStringLiteral("Kode belum diisi"), iCode);
    if (c.name.isEmpty())
        return refuse(QStringLiteral("Nama belum diisi"), iName);

    DbConnection& db = app().DbConn();
    if (isAdd()) {
        if (catalogue::AddContact(db, TableName, c) == catalogue::Outcome::Taken)
            return refuse(catalogue::DuplicateMessage(c.code), iCode);
        clearFields();
        iCode->setFocus();
        Announce(&ShopSession::catalogueChanged);
        return;
    }
    switch (catalogue::EditContact(db, TableName, m_loaded, c)) {
    case catalogue::Outcome::Taken: return refuse(catalogue::DuplicateMessage(c.code), iCode);
    case catalogue::Outcome::Gone: MsgWarn(catalogue::GoneMessage(m_loaded.code), MsgTitleWarn); break;
    case catalogue::Outcome::Saved: break;
    }
    Announce(&ShopSession::catalogueChanged);
    bClose_Click();
}

void fCharge::clearFields()
{
    for (TextBox* t : {iCode, iName, iAddress, iPhone, iFax})
        t->setText(QString());
}

void fCharge::bClose_Click()
{
    m_hasLoaded = false;
    clearFields();
    Hide();
}

void fCharge::LoadRecord(const platform::DbRecordset& rs)
{
    auto field = [&rs](const char* name) { return rs.Fields(QLatin1String(name)).toString(); };
    iCode->setText(field("Code"));
    iName->setText(field("Name"));
    iAddress->setText(field("Address"));
    iPhone->setText(field("Phone"));
    iFax->setText(field("Fax"));
    // What the operator leaves as loaded is not written back: another
    // workstation may have changed it since.
    m_loaded = {field("Code"), field("Name"), field("Address"), field("Phone"), field("Fax")};
    m_hasLoaded = true;
}
