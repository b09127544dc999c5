#include "core/mmain.h"

#include "core/app.h"
#include "core/dbentry.h"
#include "core/model/printerport.h"
#include "data/configtable.h"
#include "data/failure.h"
#include "data/owntext.h"
#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/printer.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace mMain {

using platform::DbConnection;

// ---------------------------------------------------------------- database

void ExecSQL(const QString& sql)
{
    app().DbConn().Execute(sql);
}

QVariant GetValue(const QString& sql)
{
    return app().DbConn().GetValue(sql);
}

std::unique_ptr<platform::DbRecordset> OpenRecordset(const QString& sql)
{
    return app().DbConn().OpenRecordset(sql);
}

QString SqlDate(const QVariant& value)
{
    return platform::DateLiteral(app().DbKind, value);
}

qint64 InsertWithNewId(const QString& table, const QString& idColumn, const std::function<QString(qint64)>& insertSql)
{
    DbConnection& db = app().DbConn();
    platform::DbTransaction tx(db);
    const qint64 id = platform::NewId(db, table, idColumn);
    db.Execute(insertSql(id));
    tx.commit();
    return id;
}

// ---------------------------------------------------------------- settings

QString GetConfig(const QString& key)
{
    return platform::ConfigValue(app().DbConn(), key);
}

bool SetConfig(const QString& key, const QString& value)
{
    return platform::SetConfigValue(app().DbConn(), key, value);
}

int ConfigNumber(const QString& key)
{
    return platform::ConfigWholeNumber(app().DbConn(), key);
}

// ---------------------------------------------------------------- fields and keys

void FocusOn(QWidget* field)
{
    platform::setBackColor(field, QColor(216, 236, 254));
}

void FocusOff(QWidget* field)
{
    platform::setBackColor(field, Qt::white);
}

int NumericOnly(int keyAscii, bool allowComma)
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8)
        return keyAscii;
    if (keyAscii == ',' && allowComma)
        return keyAscii;
    return 0;
}

int QuantityKey(int keyAscii, const QString& text)
{
    if (keyAscii == '.')
        keyAscii = ',';
    if (keyAscii == ',' && text.contains(QLatin1Char(',')))
        return 0;
    return NumericOnly(keyAscii, true);
}

int UpperKey(int keyAscii)
{
    if (keyAscii <= 0)
        return keyAscii;
    return QChar(keyAscii).toUpper().unicode();
}

int ProperKey(int keyAscii, const QString& text)
{
    if (text.isEmpty() || text.endsWith(QLatin1Char(' ')))
        return UpperKey(keyAscii);
    return keyAscii;
}

// How many group separators FormatNumberBox last showed in a box.
constexpr const char* kGroupsShown = "orvGroupsShown";

void FormatNumberBox(platform::TextBox* box)
{
    const QString text = box->Text();
    // A decimal separator just typed waits for its digits.
    if (!text.isEmpty() && !text.endsWith(QLocale().decimalPoint())) {
        bool ok = false;
        double v = ParseAmount(text, &ok);
        const QString group = QLocale().groupSeparator();
        if (!ok) {
            // A digit typed into or deleted from a grouped text ("1,234"
            // then "5") leaves its groups out of place: they are laid out
            // anew. A separator the operator typed (more than the text last
            // shown held: "1,5") stays as typed, and the figure is refused
            // where it is read, never taken as 15.
            QString bare = text;
            bare.remove(group);
            if (group == QString(QChar(0x00A0)) || group == QString(QChar(0x202F)))
                bare.remove(QLatin1Char(' '));
            v = ParseAmount(bare, &ok);
            ok = ok && text.count(group) <= box->property(kGroupsShown).toLongLong();
        }
        if (ok) {
            const QString shown = FormatAmount(v);
            box->setProperty(kGroupsShown, shown.count(group));
            box->setText(shown);
        }
    }
    box->setCursorPosition(box->Text().size());
}

void UpperText(platform::TextBox* field)
{
    const QString upper = field->Text().toUpper();
    if (field->Text() != upper)
        field->setText(upper);
}

bool FiguresFit(std::initializer_list<platform::TextBox*> fields)
{
    for (platform::TextBox* box : fields) {
        if (!box->Fits()) {
            MsgWarn(platform::OwnText("cFigureTooLong", platform::FigureTooLong), MsgTitleWarn);
            box->setFocus();
            return false;
        }
    }
    return true;
}

QString UserNameForm(const QString& text)
{
    // Names are stored without blanks around them; one typed or pasted with
    // them must still find its operator.
    const QString t = text.trimmed();
    return t.left(1).toUpper() + t.mid(1).toLower();
}

// ---------------------------------------------------------------- messages

void MsgInfo(const QString& prompt, const QString& title)
{
    app().backend().messageBox(platform::MsgKind::Info, prompt, title);
}

void MsgWarn(const QString& prompt, const QString& title)
{
    app().backend().messageBox(platform::MsgKind::Warning, prompt, title);
}

int MsgConfirm(const QString& prompt, const QString& title)
{
    return app().backend().messageBox(platform::MsgKind::Question, prompt, title) == platform::MsgOK ? 1 : 2;
}

// ---------------------------------------------------------------- dialogs, files

namespace {
QString fileDialog(bool save, QWidget* owner, QString& filter, const QString& title, const QString& folder)
{
    if (!filter.endsWith(QLatin1Char('|')))
        filter += QLatin1Char('|');
    filter.replace(QLatin1Char('|'), QChar(0));
    return app().backend().fileDialog(save, owner, filter, title, folder).trimmed();
}
} // namespace

QString ShowSave(QWidget* owner, QString& filter, const QString& title, const QString& folder)
{
    return fileDialog(true, owner, filter, title, folder);
}

QString ShowOpen(QWidget* owner, QString& filter, const QString& title, const QString& folder)
{
    return fileDialog(false, owner, filter, title, folder);
}

void SetCursorShape(QWidget* over, int shape)
{
    // 32649 is the hand of links and menu items.
    if (over)
        over->setCursor(shape == 32649 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void OpenDocument(const QString& target)
{
    app().backend().openDocument(target);
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString GetExt(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    return fileName.mid(dot + 1).trimmed();
}

QString InvertChars(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() <= 255)
            c = QChar(255 - c.unicode());
    return out;
}

QString PasswordForm(const QString& typed)
{
    return InvertChars(typed.toLower());
}

bool PasswordStorable(const QString& typed)
{
    const QString lowered = typed.toLower();
    return std::all_of(lowered.begin(), lowered.end(), [](QChar c) { return c.unicode() < 255; });
}

// ---------------------------------------------------------------- fixed-width rows

// ---------------------------------------------------------------- printing

QString PrinterPort()
{
    const QString port = GetConfig(QStringLiteral("Port")).trimmed();
    return port.isEmpty() ? QStringLiteral("Default") : port;
}

QString PrinterPortRefusal(const QString& port)
{
    App& a = app();
    return PortRefusal(
        port,
        KeptDatabaseFiles(a.ProgramFolder, {a.hasDbConn() ? a.DbConn().path() : QString(), a.LanPath}, ReadLanPath));
}

namespace {
PrintJob* g_printJob = nullptr;
} // namespace

PrintJob::PrintJob(QWidget* owner, const platform::WorkTexts& texts, qsizetype lines)
    : m_work(owner, texts), m_port(PrinterPort())
{
    m_work.setRows(lines);
    g_printJob = this;
}

PrintJob::~PrintJob()
{
    g_printJob = nullptr;
    // A print-out stopped or failed halfway leaves nothing gathered for the
    // next one, and the port is closed.
    app().Printer.KillDoc();
}

void PrintLine(const QString& line)
{
    PrintJob* job = g_printJob;
    if (job && !job->m_work.row(job->m_lines++))
        return;
    const QString port = job ? job->m_port : PrinterPort();
    if (port == QLatin1String("Default")) {
        app().Printer.PrintLine(line);
        return;
    }
    // Checked as the port is opened, before anything reaches the file.
    if (!app().Printer.PortOpen(port))
        if (const QString refusal = PrinterPortRefusal(port); !refusal.isEmpty())
            throw platform::Failure(refusal);
    app().Printer.PortLine(port, line);
}

void EndPrint()
{
    if (g_printJob && g_printJob->cancelled()) {
        app().Printer.KillDoc();
        return;
    }
    if ((g_printJob ? g_printJob->m_port : PrinterPort()) != QLatin1String("Default")) {
        // A port has no document to send; the next print-out tries the port
        // afresh.
        app().Printer.KillDoc();
        return;
    }
    QString pdf;
    try {
        pdf = app().Printer.EndDoc();
    } catch (...) {
        app().Printer.KillDoc();
        throw;
    }
    if (pdf.isEmpty())
        return;
    platform::Log(QStringLiteral("Tidak ada printer terpasang; hasil cetak disimpan di ") + pdf);
    // A till without a printer prints every sale this way: the operator
    // hears it once a login, not before every change window.
    if (app().PdfNoteShown)
        return;
    app().PdfNoteShown = true;
    MsgInfo(platform::OwnText("cPrintedToPdf",
                              QStringLiteral("Tidak ada printer terpasang. Hasil cetak disimpan di:\n%1\nHasil cetak "
                                             "berikutnya juga disimpan sebagai PDF di folder itu, tanpa pemberitahuan "
                                             "lagi sampai login berikutnya."))
                .arg(pdf),
            mMain::MsgTitleInfo);
}

} // namespace mMain
