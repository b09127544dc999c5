#include "manage/fdb.h"

#include "core/app.h"
#include "core/dbcheck.h"
#include "core/dbentry.h"
#include "core/mmain.h"
#include "data/db.h"
#include "data/dbcopy.h"
#include "data/failure.h"
#include "data/keptdata.h"
#include "data/owntext.h"
#include "manage/model/backup.h"
#include "platform/keys.h"
#include "platform/runtime.h"
#include "shell/fmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <filesystem>
#include <system_error>

using namespace platform;

namespace {

// The database file behind the logged-in entry; "" when there is none (an
// ODBC entry, or a pointer that names nothing).
QString activeFile(const EntryRef& entry)
{
    switch (entry.kind) {
    case EntryKind::Lan: return ReadLanPath(entry.entryFile());
    case EntryKind::Odbc: return QString();
    case EntryKind::File: break;
    }
    return entry.entryFile();
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// A name in the target's folder that nothing else uses, so that the target
// itself is only ever replaced whole.
QString scratchBeside(const QString& target)
{
    const QFileInfo info(target);
    return info.dir().filePath(QStringLiteral(".") + info.fileName() + QLatin1Char('.') +
                               QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".tmp"));
}

// Renames over an existing file in one step: a program that opens the
// backup meanwhile sees the old copy or the new one, never half of one.
std::error_code replaceFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()),
                            ec);
    return ec;
}

// Another workstation may write while the copy is taken; SQLite's own
// snapshot copy never sees half a transaction, as a byte copy could. It reads
// on a connection of its own, so the session's connection is never given up.
void snapshot(const QString& source, const QString& target)
{
    const QString scratch = scratchBeside(target);
    try {
        DbConnection reader;
        reader.Open(source, true);
        manage::CopyInto(reader, QDir::toNativeSeparators(QFileInfo(scratch).absoluteFilePath()));
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    if (const std::error_code ec = replaceFile(scratch, target)) {
        QFile::remove(scratch);
        throw DbError(platform::OwnText("cFileNotWritten", QStringLiteral("Berkas %1 tidak dapat ditulis: %2"))
                          .arg(QDir::toNativeSeparators(target), platform::SystemErrorText(ec.value())),
                      QString(), QString(), QString::fromStdString(ec.message()));
    }
}

// Only a database with every table and column of the template may take the
// place of the active one: the windows read them by name.
void checkRestorable(const QString& file)
{
    DbConnection probe;
    probe.Open(file, true);
    const QStringList gaps = SchemaGaps(probe);
    if (!gaps.isEmpty())
        throw DbError(platform::OwnText("cNotOrvantaDb", QStringLiteral("Berkas ini bukan Database Orvanta: ")) + file +
                      platform::OwnText("cMissingTables", QStringLiteral("\nTidak ada: ")) +
                      gaps.join(QStringLiteral(", ")));
}

bool refuseOdbc(const EntryRef& entry)
{
    if (entry.kind != EntryKind::Odbc)
        return false;
    mMain::MsgWarn(
        platform::OwnText("cNoBackupOdbc",
                          QStringLiteral("Backup dan Restore tidak tersedia untuk Database ODBC; gunakan alat dari "
                                         "server database tersebut")),
        mMain::MsgTitleWarn);
    return true;
}

// The active file must be there before anything is released or copied.
QString requireActiveFile(const EntryRef& entry)
{
    const QString file = activeFile(entry);
    if (!mMain::FileExists(file)) {
        mMain::MsgWarn(platform::OwnText("cActiveDbMissing", QStringLiteral("Database aktif tidak ditemukan: ")) + file,
                       mMain::MsgTitleWarn);
        return QString();
    }
    return file;
}

} // namespace

fDB::fDB() : Form(QStringLiteral("fDB"), QStringLiteral("Database"))
{
    setFixedSize(400, 150);

    iFilename = new TextBox(this, QStringLiteral("iFilename"));
    iFilename->setGeometry(12, 12, 376, 24);
    iFilename->setLocked(true);
    iFilename->setFocusPolicy(Qt::NoFocus);

    Frame1 = new Frame(this, QStringLiteral("Frame1"), QString());
    Frame1->setGeometry(12, 44, 376, 56);
    bRestore = new WanButton(Frame1, QStringLiteral("bRestore"), QStringLiteral("&Restore"));
    bRestore->setGeometry(12, 16, 110, 30);
    bBackup = new WanButton(Frame1, QStringLiteral("bBackup"), QStringLiteral("&Backup"));
    bBackup->setGeometry(133, 16, 110, 30);
    bDrop = new WanButton(Frame1, QStringLiteral("bDrop"), QStringLiteral("&Drop"));
    bDrop->setGeometry(254, 16, 110, 30);

    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(278, 110, 110, 30);

    setTabOrder(bRestore, bBackup);
    setTabOrder(bBackup, bDrop);
    setTabOrder(bDrop, bClose);

    bBackup->Click = [this] { bBackup_Click(); };
    bRestore->Click = [this] { bRestore_Click(); };
    bDrop->Click = [this] { bDrop_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fDB::Form_Activate()
{
    bClose->setFocus();
}

void fDB::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fDB::bClose_Click()
{
    if (fMain* m = MainWindow())
        m->TabActive(app().MenuControl);
    Hide();
}

void fDB::bBackup_Click()
{
    const EntryRef entry = ParseEntry(app().DbEntry);
    if (refuseOdbc(entry))
        return;
    QString filter = QStringLiteral("*.cdb");
    const QString answer = mMain::ShowSave(this, filter, QStringLiteral("Backup"), QDir::homePath());
    if (answer.isEmpty())
        return;
    const QString shown = answer.endsWith(QLatin1String(".cdb")) ? answer.chopped(4) : answer;
    const QString target = shown + QStringLiteral(".cdb");
    const QString source = requireActiveFile(entry);
    if (source.isEmpty())
        return;
    if (sameFile(source, target)) {
        mMain::MsgWarn(
            platform::OwnText("cBackupOverActive",
                              QStringLiteral("Backup tidak dapat menimpa Database aktif; pilih berkas lain")),
            mMain::MsgTitleWarn);
        return;
    }
    // The save dialog asked about the name it gave back; a file that only the
    // ending added here names has not been asked about yet.
    if (target != answer && QFileInfo::exists(target) &&
        mMain::MsgConfirm(
            platform::OwnText("cReplaceWithBackup", QStringLiteral("Berkas %1 sudah ada. Ganti dengan Backup ini?"))
                .arg(QDir::toNativeSeparators(target)),
            mMain::MsgTitleConfirm) != 1)
        return;
    iFilename->setText(shown);
    try {
        snapshot(source, target);
    } catch (const DbError& e) {
        platform::LogFailure(QStringLiteral("bBackup.Click"), std::current_exception());
        mMain::MsgWarn(platform::OwnText("cBackupFailed", QStringLiteral("Backup Database gagal:\n")) +
                           DbProblemText(e),
                       mMain::MsgTitleWarn);
        return;
    }
    mMain::MsgInfo(QStringLiteral("Backup Database sukses"), mMain::MsgTitleInfo);
}

void fDB::bRestore_Click()
{
    const EntryRef entry = ParseEntry(app().DbEntry);
    if (refuseOdbc(entry))
        return;
    QString filter = QStringLiteral("*.cdb");
    const QString chosen = mMain::ShowOpen(this, filter, QStringLiteral("Restore"), QDir::homePath());
    if (chosen.isEmpty())
        return;
    const QString target = requireActiveFile(entry);
    if (target.isEmpty())
        return;
    if (sameFile(chosen, target)) {
        mMain::MsgWarn(platform::OwnText("cRestoreSameFile",
                                         QStringLiteral("Berkas yang dipilih adalah Database aktif itu sendiri")),
                       mMain::MsgTitleWarn);
        return;
    }
    try {
        checkRestorable(chosen);
    } catch (const DbError& e) {
        platform::LogFailure(QStringLiteral("bRestore.Click"), std::current_exception());
        mMain::MsgWarn(platform::OwnText("cRestoreCancelled", QStringLiteral("Restore Database dibatalkan:\n")) +
                           DbProblemText(e),
                       mMain::MsgTitleWarn);
        return;
    }
    if (mMain::MsgConfirm(QStringLiteral("Apakah Anda yakin? aksi ini akan menghapus Database aktif dan "
                                         "menggantinya dengan Database baru"),
                          mMain::MsgTitleConfirm) != 1)
        return;
    // Into the open database, under the engine's own locks: a workstation in
    // the middle of a write finishes it first, or the restore gives way and
    // changes nothing. The session's connection stays open throughout.
    try {
        CopyDatabaseInto(chosen, target);
        // A backup from before the running totals gets them at once.
        platform::EnsureKeptData(app().DbConn(), true);
    } catch (const DbError& e) {
        platform::LogFailure(QStringLiteral("bRestore.Click"), std::current_exception());
        mMain::MsgWarn(platform::OwnText("cRestoreFailed",
                                         QStringLiteral("Restore Database gagal; Database aktif tidak berubah:\n")) +
                           DbProblemText(e),
                       mMain::MsgTitleWarn);
        return;
    }
    // The database now in place has operators, rights, settings and held
    // carts of its own, which this login read from the one before: the
    // session ends, as a logout ends it, and the operator logs in to the
    // restored database, whose every window is filled from what it holds.
    fMain* m = MainWindow();
    if (m)
        m->ShowLoginState();
    Unload();
    mMain::MsgInfo(QStringLiteral("Restore Database sukses"), mMain::MsgTitleInfo);
    if (m)
        m->FocusUsername();
}

void fDB::bDrop_Click()
{
    if (mMain::MsgConfirm(QStringLiteral("Apakah Anda yakin? aksi ini akan menghapus Database aktif"),
                          mMain::MsgTitleConfirm) != 1)
        return;
    App& a = app();
    fMain* m = MainWindow();
    // Only the entry's own file goes: a pointer's shared database belongs to
    // every workstation that points at it. A file that cannot go (a folder
    // without write access) is told while the session is still as it was.
    const QString file = ParseEntry(a.DbEntry).entryFile();
    QFile entryFile(file);
    errno = 0;
    if (entryFile.exists() && !entryFile.remove()) {
        const int err = errno;
        platform::Log(QStringLiteral("bDrop.Click: %1 tidak dapat dihapus: %2").arg(file, entryFile.errorString()));
        mMain::MsgWarn(platform::OwnText("cDropFailed", QStringLiteral("Database tidak dapat dihapus: ")) +
                           QDir::toNativeSeparators(file) +
                           (err ? QStringLiteral(" (") + platform::SystemErrorText(err) + QLatin1Char(')') : QString()),
                       mMain::MsgTitleWarn);
        return;
    }
    if (m)
        m->ShowLoginState();
    a.releaseDbConn();
    Unload();
    if (m) {
        m->ReadDB();
        m->FocusUsername();
    }
}
