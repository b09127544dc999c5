// The login panel: the database list, the login and the logout.
#include "core/app.h"
#include "core/dbentry.h"
#include "core/mmain.h"
#include "shell/fmain.h"

#include <QDir>

using namespace platform;
using namespace mMain;

namespace {
const QString kSample = QStringLiteral("Velmont Cafe & Resto");
const QString kWarn = QStringLiteral("Peringatan");
} // namespace

void fMain::wireLogin()
{
    iDatabase->Change = [this] { iDatabase_Click(); };
    iDatabase->Click = [this] { iDatabase_Click(); };
    iDatabase->events.KeyDown = [this](int& KeyCode, int) {
        if (KeyCode == 13)
            iUsername->setFocus();
    };
    // The list is chosen from, never typed into.
    iDatabase->events.KeyPress = [](int& KeyAscii) { KeyAscii = 0; };

    iUsername->events.GotFocus = [this] {
        FocusOn(iUsername);
        pInfo->hide();
    };
    iUsername->events.LostFocus = [this] {
        FocusOff(iUsername);
        iUsername_LostFocus();
    };
    iUsername->events.KeyDown = [this](int& KeyCode, int) {
        if (KeyCode == 13)
            iPassword->setFocus();
    };
    iUsername->events.KeyPress = [this](int& KeyAscii) { KeyAscii = ProperKey(KeyAscii, iUsername->Text()); };

    iPassword->events.GotFocus = [this] { FocusOn(iPassword); };
    iPassword->events.LostFocus = [this] { FocusOff(iPassword); };
    iPassword->events.KeyDown = [this](int& KeyCode, int) {
        if (KeyCode == 13)
            bLogin_Click();
    };

    bLogin->Click = [this] { bLogin_Click(); };
    bNew->Click = [this] { bNew_Click(); };
    bReset->Click = [this] { bReset_Click(); };
    iEmail->Click = [] { OpenDocument(QStringLiteral("mailto:support@orvanta.id")); };
    iWEB->Click = [] { OpenDocument(QStringLiteral("https://www.orvanta.id")); };
}

void fMain::ReadDB()
{
    iDatabase->Clear();
    // Name order, ignoring case, so every machine lists the same way.
    QDir dir(app().ProgramFolder);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString ext = GetExt(name);
        const QString base = name.left(name.lastIndexOf(QLatin1Char('.')));
        if (ext == QLatin1String("cdb"))
            iDatabase->AddItem(EntryText(EntryKind::File, base));
        else if (ext == QLatin1String("mdbc"))
            iDatabase->AddItem(EntryText(EntryKind::Odbc, base));
        else if (ext == QLatin1String("lan"))
            iDatabase->AddItem(EntryText(EntryKind::Lan, base));
    }
}

void fMain::iDatabase_Click()
{
    if (iDatabase->Text() == kSample) {
        pInfo->show();
        pInfo->raise();
    } else {
        pInfo->hide();
    }
}

void fMain::iUsername_LostFocus()
{
    const QString t = iUsername->Text();
    if (!t.isEmpty())
        iUsername->setText(UserNameForm(t));
}

void fMain::refuseLogin(const QString& message, QWidget* focus)
{
    MsgWarn(message, kWarn);
    focus->setFocus();
}

void fMain::bLogin_Click()
{
    App& a = app();
    const QString entry = iDatabase->Text();
    if (entry.isEmpty())
        return refuseLogin(QStringLiteral("Database belum diisi"), iDatabase);
    if (iUsername->Text().isEmpty())
        return refuseLogin(QStringLiteral("Username belum diisi"), iUsername);
    if (iPassword->Text().isEmpty())
        return refuseLogin(QStringLiteral("Password belum diisi"), iPassword);

    // The user name as its box shapes it on leaving, also when Enter in the
    // password box logs in without the box having lost the focus.
    iUsername_LostFocus();
    const QString user = iUsername->Text();

    // The database of the entry. A file that cannot be opened as a database
    // is refused and the database open before stays open.
    const EntryRef ref = ParseEntry(entry);
    if (ref.kind == EntryKind::Odbc) {
        // No ODBC database can be reached yet: refuse rather than run on the
        // database of the previous login.
        return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
    }
    QString file;
    if (ref.kind == EntryKind::Lan) {
        const QString lanPath = ReadLanPath(ref.entryFile());
        if (!FileExists(lanPath))
            return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
        a.LanPath = lanPath;
        file = lanPath;
    } else {
        file = ref.entryFile();
    }
    // Looked at on a connection of its own first, so that a refused file
    // leaves the database open before as it was.
    try {
        DbConnection probe;
        probe.Open(file, true);
        if (!probe.hasTable(QStringLiteral("operator")) || !probe.hasTable(QStringLiteral("config")))
            return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
        probe.Close();
        a.DbConn().Open(file);
    } catch (const DbError&) {
        return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
    }
    a.DbKind = QStringLiteral("Access");

    const QString who = QStringLiteral("select count(username) from operator where username=") + Quote(user);
    if (GetValue(who).toLongLong() != 1)
        return refuseLogin(QStringLiteral("Username tidak ditemukan"), iUsername);
    const QString stored = InvertChars(iPassword->Text().toLower());
    if (GetValue(who + QStringLiteral(" and `password`=") + Quote(stored)).toLongLong() != 1)
        return refuseLogin(QStringLiteral("Password salah"), iPassword);

    setCaption(a.AppTitle + QStringLiteral(" - ") + entry);
    setUpPanels();
    tClock->setEnabled(true);
    tCount->setEnabled(true);
    pLogin->hide();
    pcLogo->hide();
    iCashier->setCaption(QStringLiteral("Cashier: ") + user);
    a.DbEntry = entry;
    a.CurrentUser = user;
    iUsername->setText(QString());
    iPassword->setText(QString());

    auto rs = OpenRecordset(QStringLiteral("select * from operator where username=") + Quote(a.CurrentUser));
    bCashier->setEnabled(rs->Fields(QStringLiteral("Cashier")).toBool());
    bInventory->setEnabled(rs->Fields(QStringLiteral("Inventory")).toBool());
    bLedger->setEnabled(rs->Fields(QStringLiteral("Ledger")).toBool());
    bStock->setEnabled(rs->Fields(QStringLiteral("Stock")).toBool());
    bUser->setEnabled(rs->Fields(QStringLiteral("User")).toBool());
    bDB->setEnabled(rs->Fields(QStringLiteral("DB")).toBool());
    bSetting->setEnabled(rs->Fields(QStringLiteral("Setting")).toBool());
    bHelp->setEnabled(true);
    bLogout->setEnabled(true);
    const bool masterRight = rs->Fields(QStringLiteral("Master")).toBool();
    rs.reset();

    applyPanelSettings(masterRight);
    bCashier_Click();
}

void fMain::bLogout_Click()
{
    App& a = app();
    a.MenuControl = menuImage(a.MenuKey);
    TabActive(bLogout);
    if (MsgConfirm(QStringLiteral("Logout dari sesi ini?"), QStringLiteral("Konfirmasi")) == 1) {
        setCaption(a.AppTitle + QStringLiteral(" - Login"));
        tCount->setEnabled(false);
        tClock->setEnabled(false);
        pLogin->setVisible(true);
        pLogin->raise();
        pcLogo->setVisible(true);
        pcLogo->raise();
        iUsername->setFocus();
    }
    TabActive(a.MenuControl);
}

void fMain::bReset_Click()
{
    iDatabase->setListIndex(-1);
    iUsername->setText(QString());
    iPassword->setText(QString());
    iDatabase->setFocus();
}

void fMain::bNew_Click()
{
    if (Form* f = app().form(QStringLiteral("fNew")))
        f->ShowModal();
}
