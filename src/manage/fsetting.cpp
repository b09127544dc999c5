#include "manage/fsetting.h"

#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "manage/model/settings.h"
#include "platform/keys.h"
#include "shell/fmain.h"

using namespace platform;

fSetting::fSetting() : Form(QStringLiteral("fSetting"), QStringLiteral("Setting"))
{
    setFixedSize(470, 420);
    const int lx = 12, fx = 110, fw = 330, h = 24;

    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(10, 8, 450, 116);
    auto field = [&](QWidget* parent, const QString& name, int y) { return PlaceBox(parent, name, fx, y, fw, h); };
    cCompany = PlaceLabel(Frame1, QStringLiteral("cCompany"), QStringLiteral("Perusahaan:"), lx, 16, fx - lx - 6, h);
    iCompany = field(Frame1, QStringLiteral("iCompany"), 16);
    cAddress = PlaceLabel(Frame1, QStringLiteral("cAddress"), QStringLiteral("Alamat:"), lx, 48, fx - lx - 6, h);
    iAddress = field(Frame1, QStringLiteral("iAddress"), 48);
    cPhone = PlaceLabel(Frame1, QStringLiteral("cPhone"), QStringLiteral("Telepon:"), lx, 80, fx - lx - 6, h);
    iPhone = field(Frame1, QStringLiteral("iPhone"), 80);

    cNote = new Frame(this, QStringLiteral("cNote"), QStringLiteral("Nota"));
    cNote->setGeometry(10, 130, 450, 116);
    iMessage1 = field(cNote, QStringLiteral("iMessage1"), 20);
    iMessage2 = field(cNote, QStringLiteral("iMessage2"), 52);
    iMessage3 = field(cNote, QStringLiteral("iMessage3"), 84);
    for (TextBox* t : {iMessage1, iMessage2, iMessage3})
        t->setGeometry(lx, t->y(), 426, h);

    cPrinter = new Frame(this, QStringLiteral("cPrinter"), QStringLiteral("Printer:"));
    cPrinter->setGeometry(10, 252, 450, 110);
    cPort = PlaceLabel(cPrinter, QStringLiteral("cPort"), QStringLiteral("Port:"), lx, 24, fx - lx - 6, h);
    iPort = new ComboBox(cPrinter, QStringLiteral("iPort"), true);
    iPort->setGeometry(fx, 24, fw, h);
    for (const char* port : {"Default", "LPT1", "LPT2", "COM1", "COM2"})
        iPort->AddItem(QString::fromLatin1(port));
    iWarehouse = new CheckBox(cPrinter, QStringLiteral("iWarehouse"), QStringLiteral("&Gudang"));
    iWarehouse->setGeometry(fx, 62, fw, h);

    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(262, 378, 96, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(364, 378, 96, 30);

    const QList<QWidget*> order = {iCompany,  iAddress, iPhone,     iMessage1, iMessage2,
                                   iMessage3, iPort,    iWarehouse, bSave,     bClose};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Enter walks the fields in tab order; on the port, last of the walk, it
    // saves.
    for (TextBox* t : {iCompany, iAddress, iPhone, iMessage1, iMessage2, iMessage3}) {
        mMain::FocusColours(t);
        mMain::EnterSendsTab(this, t);
        if (t != iPhone)
            mMain::ProperKeys(t);
    }
    iPort->events.KeyDown = [this](int& k, int s) { iPort_KeyDown(k, s); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fSetting::Form_Activate()
{
    // Every showing starts from what is stored; unsaved edits of an earlier
    // showing are gone.
    showStored();
    iCompany->setFocus();
}

void fSetting::showStored()
{
    m_loaded = manage::ReadShopSettings(app().DbConn());
    iCompany->setText(m_loaded.company);
    iAddress->setText(m_loaded.address);
    iPhone->setText(m_loaded.phone);
    iMessage1->setText(m_loaded.message1);
    iMessage2->setText(m_loaded.message2);
    iMessage3->setText(m_loaded.message3);
    iPort->setText(m_loaded.port);
    iWarehouse->setValue(m_loaded.warehouse ? 1 : 0);
}

void fSetting::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fSetting::iPort_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bSave_Click();
    }
}

void fSetting::bSave_Click()
{
    App& a = app();
    manage::ShopSettings edited;
    edited.company = iCompany->Text();
    edited.address = iAddress->Text();
    edited.phone = iPhone->Text();
    edited.message1 = iMessage1->Text();
    edited.message2 = iMessage2->Text();
    edited.message3 = iMessage3->Text();
    edited.port = iPort->Text();
    edited.warehouse = iWarehouse->Value() == 1;
    const QString refusal = mMain::PrinterPortRefusal(edited.port);
    if (!refusal.isEmpty()) {
        mMain::MsgWarn(refusal, mMain::MsgTitleWarn);
        iPort->setFocus();
        return;
    }
    // Only what the operator changed is written: another till's settings
    // saved meanwhile stay, and show here once saved.
    if (manage::SaveShopSettings(a.DbConn(), m_loaded, edited))
        Announce(&ShopSession::settingsChanged);
    showStored();
    mMain::MsgInfo(QStringLiteral("Setting telah tersimpan"), mMain::MsgTitleInfo);
    iCompany->setFocus();
}

void fSetting::bClose_Click()
{
    if (fMain* m = MainWindow())
        m->TabActive(app().MenuControl);
    Hide();
}
