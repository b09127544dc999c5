#include "manage/fnew.h"

#include "core/app.h"
#include "core/dbentry.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "platform/keys.h"
#include "shell/fmain.h"

#include "data/failure.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>

using namespace platform;

namespace {

// The name becomes a file name in the program folder: nothing in it may lead
// out of the folder or be refused by the file system of another workstation.
bool isUsableName(const QString& name)
{
    if (name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

// Characters that show as nothing, as a blank other than the blank, or that
// turn the direction of the text around make a name look like another one in
// the list.
bool looksPlain(const QString& text)
{
    for (const QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph: return false;
        case QChar::Separator_Space:
            if (c != QLatin1Char(' '))
                return false;
            break;
        default: break;
        }
    }
    return true;
}

} // namespace

fNew::fNew() : Form(QStringLiteral("fNew"), QStringLiteral("New Database"))
{
    setFixedSize(440, 190);

    cDBName = PlaceLabel(this, QStringLiteral("cDBName"), QStringLiteral("Nama Database:"), 12, 14, 120, 24);
    iDB = new TextBox(this, QStringLiteral("iDB"));
    iDB->setGeometry(136, 14, 292, 24);
    iDB->setMaxLength(50);

    cDBPath = PlaceLabel(this, QStringLiteral("cDBPath"), QStringLiteral("Lokasi Database:"), 12, 46, 120, 24);
    iPath = new TextBox(this, QStringLiteral("iPath"));
    iPath->setGeometry(136, 46, 292, 24);
    iPath->setEnabled(false);

    iConnect = new CheckBox(this, QStringLiteral("iConnect"), QStringLiteral("Database di &Jaringan (LAN)"));
    iConnect->setGeometry(136, 78, 200, 24);
    bConnect = new WanButton(this, QStringLiteral("bConnect"), QStringLiteral("&Koneksi"));
    bConnect->setGeometry(340, 76, 88, 28);
    bConnect->setEnabled(false);
    iODBC = new CheckBox(this, QStringLiteral("iODBC"), QStringLiteral("MySQL-ODBC"));
    iODBC->setGeometry(136, 106, 200, 24);

    bOK = new WanButton(this, QStringLiteral("bOK"), QStringLiteral("&OK"));
    bOK->setGeometry(244, 148, 88, 30);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(340, 148, 88, 30);

    iDB->Change = [this] { iDB_Change(); };
    mMain::FocusColours(iDB);
    mMain::ProperKeys(iDB);
    iDB->events.KeyDown = [this](int& k, int s) { iDB_KeyDown(k, s); };
    iConnect->Click = [this] { iConnect_Click(); };
    bConnect->Click = [this] { bConnect_Click(); };
    bOK->Click = [this] { bOK_Click(); };
    bClose->Click = [this] { bClose_Click(); };
}

void fNew::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        Unload();
    }
}

void fNew::iDB_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        KeyCode = 0;
        bOK_Click();
    }
}

void fNew::iDB_Change()
{
    if (iPath->isEnabled())
        return;
    // The path shows the file the local entry would become.
    const QString name = iDB->Text().trimmed();
    iPath->setText(name.isEmpty() ? QString() : app().programFile(name + QStringLiteral(".cdb")));
}

void fNew::iConnect_Click()
{
    const bool shared = iConnect->Value() == 1;
    iPath->setEnabled(shared);
    bConnect->setEnabled(shared);
    if (shared) {
        iPath->setText(QString());
        iPath->setFocus();
    } else {
        iDB_Change();
    }
}

void fNew::bConnect_Click()
{
    if (mMain::FileExists(iPath->Text()))
        mMain::MsgInfo(QStringLiteral("Koneksi Database berhasil"), mMain::MsgTitleInfo);
    else
        mMain::MsgInfo(QStringLiteral("Koneksi Database gagal"), mMain::MsgTitleInfo);
}

void fNew::bClose_Click()
{
    iDB->setText(QString());
    iConnect->setValue(0);
    Hide();
}

void fNew::refuse(const QString& message)
{
    mMain::MsgWarn(message, mMain::MsgTitleWarn);
    iDB->setFocus();
}

void fNew::bOK_Click()
{
    // Blanks at the ends would make an entry whose list text the login
    // cannot map back to its file.
    const QString name = iDB->Text().trimmed();
    if (name.isEmpty()) {
        refuse(QStringLiteral("Nama Database belum diisi"));
        return;
    }
    if (!looksPlain(iDB->Text())) {
        refuse(platform::OwnText(
            "cDbNameInvisible",
            QStringLiteral("Nama Database tidak boleh memuat karakter yang tidak terlihat atau yang membalik arah "
                           "tulisan")));
        return;
    }
    if (!isUsableName(name)) {
        refuse(platform::OwnText(
            "cDbNameChars", QStringLiteral("Nama Database tidak boleh memuat .. atau karakter / \\ : * ? \" < > |")));
        return;
    }
    // The list tells the kind of an entry by these endings: a file named so
    // would be taken for another entry's pointer or marker.
    if (name.endsWith(QLatin1String(" (LAN)")) || name.endsWith(QLatin1String(" (MySQL-ODBC)"))) {
        refuse(platform::OwnText("cDbNameEnding",
                                 QStringLiteral("Nama Database tidak boleh berakhiran (LAN) atau (MySQL-ODBC)")));
        return;
    }
    // Each kind is refused a name its own entry file already has: that file
    // holds an entry (an ODBC marker its connection text) that would be lost.
    const QString extension = iODBC->Value() == 1      ? QStringLiteral(".mdbc")
                              : iConnect->Value() == 1 ? QStringLiteral(".lan")
                                                       : QStringLiteral(".cdb");
    const QString file = app().programFile(name + extension);
    if (mMain::FileExists(file)) {
        refuse(QStringLiteral("Database dengan Nama ") + mMain::Quote(name) +
               QStringLiteral(" sudah ada, coba dengan Nama lain"));
        return;
    }
    if (extension == QLatin1String(".mdbc")) {
        if (!writeEntry(file, QByteArray()))
            return;
    } else if (extension == QLatin1String(".lan")) {
        // A pointer without a path, or with one that one line of text cannot
        // carry, would name no database.
        const QString path = iPath->Text();
        const bool oneLine =
            std::none_of(path.begin(), path.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
        if (path.trimmed().isEmpty() || !oneLine) {
            mMain::MsgWarn(
                path.trimmed().isEmpty()
                    ? platform::OwnText("cDbPathEmpty", QStringLiteral("Lokasi Database belum diisi"))
                    : platform::OwnText("cDbPathControl",
                                        QStringLiteral("Lokasi Database tidak boleh memuat karakter kendali")),
                mMain::MsgTitleWarn);
            iPath->setFocus();
            return;
        }
        if (!writeEntry(file, LanPointerLine(path)))
            return;
    } else {
        if (!copyTemplate(file))
            return;
    }
    if (fMain* m = MainWindow())
        m->ReadDB();
    Unload();
}

bool fNew::writeEntry(const QString& file, const QByteArray& content)
{
    // Made new or not at all: a file that appeared meanwhile is never
    // written over, and one that could not be written whole goes again.
    QFile f(file);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        cannotCreate(file, f.errorString(), errno);
        return false;
    }
    if (f.write(content) != content.size() || !f.flush()) {
        const int err = errno;
        const QString said = f.errorString();
        f.close();
        f.remove();
        cannotCreate(file, said, err);
        return false;
    }
    return true;
}

void fNew::cannotCreate(const QString& file, const QString& systemText, int err)
{
    platform::Log(QStringLiteral("fNew: %1 tidak dapat dibuat: %2").arg(file, systemText));
    refuse(platform::OwnText("cDbNotCreated", QStringLiteral("Database tidak dapat dibuat: ")) +
           QDir::toNativeSeparators(file) +
           (err ? QStringLiteral(" (") + platform::SystemErrorText(err) + QLatin1Char(')') : QString()));
}

bool fNew::copyTemplate(const QString& file)
{
    const QString templ = app().programFile(QStringLiteral("Empty.tdb"));
    if (!mMain::FileExists(templ)) {
        refuse(platform::OwnText("cNoTemplate",
                                 QStringLiteral("Template Database (Empty.tdb) tidak ditemukan di folder program")));
        return false;
    }
    // QFile::copy writes a temporary file and renames it into place, so a
    // failure leaves no partial database behind.
    QFile source(templ);
    errno = 0;
    if (source.copy(file))
        return true;
    cannotCreate(file, source.errorString(), errno);
    return false;
}
