// The login panel: the database list, the login and the logout.
#include "core/app.h"
#include "core/dbcheck.h"
#include "core/dbentry.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "data/keptdata.h"
#include "data/owntext.h"
#include "data/serverschema.h"
#include "platform/keys.h"
#include "platform/progress.h"
#include "shell/fmain.h"
#include "shell/model/operators.h"

#include <QDir>
#include <QTimer>

using namespace platform;
using namespace mMain;

namespace {
const QString kSample = QStringLiteral("Velmont Cafe & Resto");

// A file that cannot be opened as a database: the operator learns why (not
// a database, damaged, unreadable), so that he picks another file or
// restores a backup instead of trying again. A file gone meanwhile is only
// refused: its words speak of a database in use.
QString OpenRefusal(const DbError& e)
{
    const QString refused = QStringLiteral("Koneksi database gagal");
    if (!e.missingPath().isEmpty())
        return refused;
    return refused + QLatin1Char('\n') + DbProblemText(e);
}

// The kept totals could not be built: the program works on, its readers
// summing the rows, and the next login builds them again.
void TellKeptTotalsFailed(std::exception_ptr failure)
{
    LogFailure(QStringLiteral("EnsureSummaries"), failure);
    QString why;
    try {
        std::rethrow_exception(failure);
    } catch (const DbError& e) {
        why = DbProblemText(e);
    } catch (...) {
        why = FailureText(failure);
    }
    MsgWarn(platform::OwnText("cNotPrepared", QStringLiteral("Database ini belum dapat disiapkan untuk versi ini:\n")) +
                why +
                platform::OwnText(
                    "cNotPreparedAfter",
                    QStringLiteral("\nProgram tetap dapat dipakai, tetapi laporan dan saldo kas lebih lambat; "
                                   "login berikutnya mencoba lagi.")),
            MsgTitleWarn);
}
} // namespace

void fMain::wireLogin()
{
    iDatabase->Change = [this] { iDatabase_Click(); };
    iDatabase->Click = [this] { iDatabase_Click(); };
    iDatabase->events.KeyDown = [this](int& KeyCode, int Shift) { iDatabase_KeyDown(KeyCode, Shift); };
    iDatabase->events.KeyPress = [this](int& KeyAscii) { iDatabase_KeyPress(KeyAscii); };

    iUsername->events.GotFocus = [this] { iUsername_GotFocus(); };
    iUsername->events.LostFocus = [this] { iUsername_LostFocus(); };
    iUsername->events.KeyDown = [this](int& KeyCode, int Shift) { iUsername_KeyDown(KeyCode, Shift); };
    ProperKeys(iUsername);

    FocusColours(iPassword);
    iPassword->events.KeyDown = [this](int& KeyCode, int Shift) { iPassword_KeyDown(KeyCode, Shift); };

    bLogin->Click = [this] { bLogin_Click(); };
    bNew->Click = [this] { bNew_Click(); };
    bReset->Click = [this] { bReset_Click(); };
    iEmail->Click = [this] { iEmail_Click(); };
    iWEB->Click = [this] { iWEB_Click(); };
}

void fMain::iDatabase_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        iUsername->setFocus();
}

void fMain::iDatabase_KeyPress(int& KeyAscii)
{
    // The list is chosen from, never typed into.
    KeyAscii = 0;
}

void fMain::iUsername_GotFocus()
{
    FocusOn(iUsername);
    pInfo->hide();
}

void fMain::iUsername_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        iPassword->setFocus();
}

void fMain::iPassword_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bLogin_Click();
}

void fMain::iEmail_Click()
{
    OpenDocument(QStringLiteral("mailto:support@orvanta.id"));
}

void fMain::iWEB_Click()
{
    OpenDocument(QStringLiteral("https://www.orvanta.id"));
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
    FocusOff(iUsername);
    shapeUsername();
}

void fMain::shapeUsername()
{
    const QString t = iUsername->Text();
    if (!t.isEmpty())
        iUsername->setText(UserNameForm(t));
}

namespace {
// What a login reads, and the journal without which no panel works: a
// database lacking one is refused before anything changes on the screen.
const QStringList kLoginTables{QStringLiteral("operator"), QStringLiteral("config"), QStringLiteral("cash")};
} // namespace

void fMain::refuseLogin(const QString& message, QWidget* focus)
{
    MsgWarn(message, MsgTitleWarn);
    focus->setFocus();
}

void fMain::bLogin_Click()
{
    App& a = app();
    const QString entry = iDatabase->Text();
    if (entry.isEmpty())
        return refuseLogin(QStringLiteral("Database belum diisi"), iDatabase);
    // The user name as its box shapes it on leaving, also when Enter in the
    // password box logs in without the box having lost the focus.
    shapeUsername();
    if (iUsername->Text().isEmpty())
        return refuseLogin(QStringLiteral("Username belum diisi"), iUsername);
    if (iPassword->Text().isEmpty())
        return refuseLogin(QStringLiteral("Password belum diisi"), iPassword);

    const QString user = iUsername->Text();

    // The database of the entry. A file that cannot be opened as a database
    // is refused and the database open before stays open.
    const EntryRef ref = ParseEntry(entry);
    if (ref.kind == EntryKind::Odbc) {
        // Reached on a connection of its own first, so that a server that
        // cannot be reached leaves the database open before as it was.
        const QString text = platform::OdbcConnectionText(ref.entryFile(), ref.name);
        try {
            DbConnection probe;
            probe.OpenOdbc(text);
            platform::PrepareServerDatabase(probe);
            if (!SchemaGaps(probe, kLoginTables).isEmpty())
                return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
            probe.Close();
            a.DbConn().OpenOdbc(text);
        } catch (const DbError& e) {
            platform::LogFailure(QStringLiteral("bLogin.Click"), std::current_exception());
            if (IsBusy(e))
                return refuseLogin(DbBusyText(), iDatabase);
            // The case setting of the server is one the operator can change.
            return refuseLogin(e.message().contains(QLatin1String("lower_case_table_names"))
                                   ? QStringLiteral("Koneksi database gagal\n") + e.message()
                                   : QStringLiteral("Koneksi database gagal"),
                               iDatabase);
        }
        a.DbKind = QStringLiteral("MySQL");
        return finishLogin(entry);
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
    // leaves the database open before as it was. The login and the users
    // window read operator and config by their columns.
    try {
        DbConnection probe;
        probe.Open(file, true);
        if (!SchemaGaps(probe, kLoginTables).isEmpty())
            return refuseLogin(QStringLiteral("Koneksi database gagal"), iDatabase);
        probe.Close();
        a.DbConn().Open(file);
    } catch (const DbError& e) {
        platform::LogFailure(QStringLiteral("bLogin.Click"), std::current_exception());
        return refuseLogin(IsBusy(e) ? DbBusyText() : OpenRefusal(e), iDatabase);
    }
    a.DbKind = QStringLiteral("Access");
    finishLogin(entry);
}

void fMain::finishLogin(const QString& entry)
{
    App& a = app();
    const QString user = iUsername->Text();

    // Every read of the login before anything changes on the screen, so that
    // a login that fails here leaves the window as it was.
    OperatorRights rights;
    try {
        DbConnection& db = a.DbConn();
        if (shell::OperatorCount(db, user) != 1)
            return refuseLogin(QStringLiteral("Username tidak ditemukan"), iUsername);
        // A password without a stored form matches no operator; its form
        // could not even be carried by the statement.
        if (!PasswordStorable(iPassword->Text()) || !shell::PasswordMatches(db, user, PasswordForm(iPassword->Text())))
            return refuseLogin(QStringLiteral("Password salah"), iPassword);
        if (const auto op = shell::FindOperator(db, user)) {
            const auto right = [&op](shell::Right r) { return op->rights[size_t(r)].toBool(); };
            rights = {right(shell::Cashier), right(shell::Master), right(shell::Inventory), right(shell::Ledger),
                      right(shell::Stock),   right(shell::User),   right(shell::DB),        right(shell::Setting)};
        }
    } catch (const DbError& e) {
        if (!IsBusy(e))
            throw;
        return refuseLogin(DbBusyText(), iDatabase);
    }

    const QString previousEntry = a.DbEntry, previousUser = a.CurrentUser;
    try {
        setCaption(a.AppTitle + QStringLiteral(" - ") + entry);
        // A database from before the running totals gets them now, once,
        // and the operator sees what is being done while it takes.
        std::exception_ptr keptTotalsFailure;
        {
            platform::ProgressWindow progress(
                this, a.AppTitle,
                platform::OwnText("cPrepareDatabase", QStringLiteral("Database ini disiapkan untuk versi ini (sekali "
                                                                     "saja), mohon tunggu...")));
            platform::EnsureKeptData(
                a.DbConn(), false, [&progress](const QString& what, double done) { progress.report(what, done); },
                &keptTotalsFailure);
        }
        // The windows learn of this login's writes from here on.
        a.BeginSession(user);
        setUpPanels();
        tClock->setEnabled(true);
        tCount->setEnabled(true);
        pLogin->hide();
        pcLogo->hide();
        iCashier->setCaption(QStringLiteral("Cashier: ") + user);
        a.DbEntry = entry;
        a.CurrentUser = user;
        a.Rights = rights;
        a.PdfNoteShown = false;
        iUsername->setText(QString());
        iPassword->setText(QString());

        bCashier->setEnabled(rights.cashier);
        bInventory->setEnabled(rights.inventory);
        bLedger->setEnabled(rights.ledger);
        bStock->setEnabled(rights.stock);
        bUser->setEnabled(rights.user);
        bDB->setEnabled(rights.db);
        bSetting->setEnabled(rights.setting);
        bHelp->setEnabled(true);
        bLogout->setEnabled(true);
        // A panel without its right takes no focus either: Tab would
        // otherwise reach its fields behind the panel in front.
        pCashier->setEnabled(rights.cashier);
        pInventory->setEnabled(rights.inventory);
        pLedger->setEnabled(rights.ledger);

        applyPanelSettings(rights.master);
        showFirstPanel();
        if (keptTotalsFailure)
            TellKeptTotalsFailed(keptTotalsFailure);
    } catch (...) {
        // A panel that cannot be set up on this database: back to the login
        // panel, with no right of this operator left enabled behind it, and
        // no login recorded.
        a.DbEntry = previousEntry;
        a.CurrentUser = previousUser;
        ShowLoginState();
        throw;
    }
}

// The operator starts on the first working panel his rights open; every
// operator may read the help.
void fMain::showFirstPanel()
{
    const OperatorRights& rights = app().Rights;
    if (rights.cashier)
        bCashier_Click();
    else if (rights.inventory)
        bInventory_Click();
    else if (rights.ledger)
        bLedger_Click();
    else
        bHelp_Click();
}

void fMain::ShowLoginState()
{
    setCaption(app().AppTitle + QStringLiteral(" - Login"));
    showPanel(nullptr);
    tCount->setEnabled(false);
    tClock->setEnabled(false);
    pLogin->setVisible(true);
    pLogin->raise();
    pcLogo->setVisible(true);
    pcLogo->raise();
    app().Rights = OperatorRights();
    app().EndSession();
    for (QWidget* right : {bCashier, bInventory, bLedger, bStock, bUser, bDB, bSetting})
        right->setEnabled(false);
    m_cashier->SetBrowseEnabled(false);
    m_ledger->ClearReport();
}

void fMain::FocusUsername()
{
    iUsername->setFocus();
    // The main window's activation, once the modal showing has ended, puts
    // the focus on the database list.
    QTimer::singleShot(0, iUsername, [u = iUsername] { u->setFocus(); });
}

void fMain::bLogout_Click()
{
    App& a = app();
    a.MenuControl = menuImage(a.MenuKey);
    TabActive(bLogout);
    if (MsgConfirm(QStringLiteral("Logout dari sesi ini?"), MsgTitleConfirm) == 1) {
        ShowLoginState();
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
    m_dialogs.fNew->ShowModal();
}
