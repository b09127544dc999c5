#include "manage/fuser.h"

#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "manage/model/operators.h"
#include "platform/keys.h"
#include "shell/fmain.h"

using namespace platform;
using namespace mMain;

fUser::fUser() : Form(QStringLiteral("fUser"), QStringLiteral("User"))
{
    setFixedSize(420, 330);
    Label22 = PlaceLabel(this, QStringLiteral("Label22"), QStringLiteral("Username:"), 16, 16, 90, 24);
    iUsername = new ComboBox(this, QStringLiteral("iUsername"), true);
    iUsername->setGeometry(110, 16, 290, 24);
    Label1 = PlaceLabel(this, QStringLiteral("Label1"), QStringLiteral("Password:"), 16, 48, 90, 24);
    iPassword = new TextBox(this, QStringLiteral("iPassword"));
    iPassword->setPasswordChar(true);
    iPassword->setGeometry(110, 48, 290, 24);

    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(16, 84, 384, 150);
    auto box = [this](const QString& name, const QString& caption, int column, int row) {
        auto* c = new CheckBox(Frame1, name, caption);
        c->setGeometry(16 + column * 190, 22 + row * 30, 170, 24);
        return c;
    };
    iCashier = box(QStringLiteral("iCashier"), QStringLiteral("&Kasir"), 0, 0);
    iMaster = box(QStringLiteral("iMaster"), QStringLiteral("&Browse"), 0, 1);
    iInventory = box(QStringLiteral("iInventory"), QStringLiteral("&Master"), 0, 2);
    iLedger = box(QStringLiteral("iLedger"), QStringLiteral("&Jurnal"), 0, 3);
    iStock = box(QStringLiteral("iStock"), QStringLiteral("&Stok"), 1, 0);
    iUser = box(QStringLiteral("iUser"), QStringLiteral("&User"), 1, 1);
    iDB = box(QStringLiteral("iDB"), QStringLiteral("&Database"), 1, 2);
    iSetting = box(QStringLiteral("iSetting"), QStringLiteral("&Setting"), 1, 3);

    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(110, 250, 90, 32);
    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(210, 250, 90, 32);
    bDelete = new WanButton(this, QStringLiteral("bDelete"), QStringLiteral("&Hapus"));
    bDelete->setGeometry(310, 250, 90, 32);

    // iDB follows iSetting in tab order, so the Enter chain, which ends in
    // iSetting, passes it by.
    QWidget* order[] = {iUsername, iPassword, iCashier, iMaster, iInventory, iLedger, iStock,
                        iUser,     iSetting,  iDB,      bClose,  bSave,      bDelete};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    iUsername->Change = [this] { iUsername_Change(); };
    iUsername->Click = [this] { iUsername_Click(); };
    EnterSendsTab(this, iUsername);
    ProperKeys(iUsername);
    iUsername->events.LostFocus = [this] { iUsername_LostFocus(); };
    FocusColours(iPassword);
    EnterSendsTab(this, iPassword);
    for (CheckBox* c : {iCashier, iMaster, iInventory, iLedger, iStock, iUser, iDB})
        EnterSendsTab(this, c);
    iSetting->events.KeyDown = [this](int& KeyCode, int Shift) { iSetting_KeyDown(KeyCode, Shift); };
    bSave->Click = [this] { bSave_Click(); };
    bDelete->Click = [this] { bDelete_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fUser::FilliUsername()
{
    const QString kept = iUsername->Text();
    iUsername->Clear();
    for (const QString& name : manage::OperatorNames(app().DbConn()))
        iUsername->AddItem(name);
    iUsername->setText(kept);
}

void fUser::iUsername_Change()
{
    iUsername_Click();
}

void fUser::iSetting_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
}

void fUser::iUsername_Click()
{
    // Looked up by the name as a save would store it, so that what the
    // fields show is the operator a save writes.
    const auto op = shell::FindOperator(app().DbConn(), manage::OperatorName(iUsername->Text()));
    CheckBox* boxes[] = {iCashier, iMaster, iInventory, iLedger, iStock, iUser, iDB, iSetting};
    m_loaded.reset();
    if (!op) {
        iPassword->setText(QString());
        for (CheckBox* c : boxes)
            c->setValue(0);
        return;
    }
    m_loadedPassword = InvertChars(op->password);
    iPassword->setText(m_loadedPassword);
    manage::OperatorValues loaded{op->password, {}};
    for (size_t i = 0; i < std::size(boxes); ++i) {
        loaded.rights[i] = int(op->rights[i].toLongLong());
        boxes[i]->setValue(loaded.rights[i]);
    }
    m_loaded = loaded;
}

void fUser::iUsername_LostFocus()
{
    const QString t = iUsername->Text().trimmed();
    if (!t.isEmpty())
        iUsername->setText(UserNameForm(t));
}

void fUser::bSave_Click()
{
    // The name as it will be stored: a name of blanks or apostrophes alone
    // would be an operator nobody can type in.
    const QString name = manage::OperatorName(iUsername->Text());
    if (name.isEmpty()) {
        MsgWarn(QStringLiteral("Username belum diisi"), MsgTitleWarn);
        iUsername->setFocus();
        return;
    }
    if (iPassword->Text().isEmpty()) {
        MsgWarn(QStringLiteral("Password belum diisi"), MsgTitleWarn);
        iPassword->setFocus();
        return;
    }
    if (!PasswordStorable(iPassword->Text())) {
        MsgWarn(platform::OwnText(
                    "cPasswordChars",
                    QStringLiteral("Password tidak boleh memuat huruf \u00ff atau huruf di luar abjad Latin")),
                MsgTitleWarn);
        iPassword->setFocus();
        return;
    }
    // A password left as it was loaded is not written back: another till
    // may have changed it since.
    manage::OperatorValues edited{m_loaded && iPassword->Text() == m_loadedPassword ? m_loaded->password
                                                                                    : PasswordForm(iPassword->Text()),
                                  {iCashier->Value(), iMaster->Value(), iInventory->Value(), iLedger->Value(),
                                   iStock->Value(), iUser->Value(), iDB->Value(), iSetting->Value()}};
    switch (manage::SaveOperator(app().DbConn(), name, m_loaded, edited)) {
    case manage::OperatorSave::LastManager:
        MsgWarn(QStringLiteral("User ") + Quote(name) +
                    platform::OwnText(
                        "cLastManagerRight",
                        QStringLiteral(" adalah satu-satunya User dengan hak User; hak User tidak dapat dicabut")),
                MsgTitleWarn);
        iUser->setFocus();
        return;
    case manage::OperatorSave::Gone:
        // Deleted at another till since it was shown: it stays deleted.
        MsgWarn(QStringLiteral("User ") + Quote(name) +
                    platform::OwnText("cUserGone", QStringLiteral(" sudah tidak ada")),
                MsgTitleWarn);
        iUsername->setText(QString());
        FilliUsername();
        iUsername->setFocus();
        return;
    case manage::OperatorSave::Taken:
        // Added at another till since the name was typed: shown as stored.
        MsgWarn(QStringLiteral("User ") + Quote(name) + platform::OwnText("cUserTaken", QStringLiteral(" sudah ada")),
                MsgTitleWarn);
        FilliUsername();
        iUsername->setFocus();
        return;
    case manage::OperatorSave::Added:
    case manage::OperatorSave::Changed: break;
    }
    MsgInfo(QStringLiteral("User telah tersimpan"), MsgTitleInfo);
    FilliUsername();
    iUsername->setFocus();
}

void fUser::bDelete_Click()
{
    const QString name = manage::OperatorName(iUsername->Text());
    DbConnection& db = app().DbConn();
    if (shell::OperatorCount(db, name) <= 0)
        return;
    const QString lastManager =
        QStringLiteral("User ") + Quote(name) +
        platform::OwnText("cLastManagerDelete",
                          QStringLiteral(" adalah satu-satunya User dengan hak User dan tidak dapat dihapus"));
    // The last operator who may manage operators cannot go: nobody could
    // ever add one again. Asked before the question, and again in the
    // delete, as another till may take the right from the others meanwhile.
    if (manage::IsLastUserManager(db, name)) {
        MsgWarn(lastManager, MsgTitleWarn);
        return;
    }
    if (MsgConfirm(QStringLiteral("Hapus User ") + Quote(name) + QStringLiteral("?"), MsgTitleConfirm) != 1)
        return;
    switch (manage::DeleteOperator(db, name)) {
    case manage::OperatorDelete::LastManager: MsgWarn(lastManager, MsgTitleWarn); return;
    case manage::OperatorDelete::Gone:
        MsgWarn(QStringLiteral("User ") + Quote(name) +
                    platform::OwnText("cUserGone", QStringLiteral(" sudah tidak ada")),
                MsgTitleWarn);
        break;
    case manage::OperatorDelete::Deleted:
        MsgInfo(QStringLiteral("User ") + Quote(name) + QStringLiteral(" sudah di hapus"), MsgTitleInfo);
        break;
    }
    iUsername->setText(QString());
    FilliUsername();
    iUsername->setFocus();
}

void fUser::bClose_Click()
{
    iUsername->setText(QString());
    if (fMain* main = MainWindow())
        main->TabActive(app().MenuControl);
    Hide();
}

void fUser::Form_Activate()
{
    FilliUsername();
    iUsername->setFocus();
}

void fUser::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape)
        bClose_Click();
}
