#pragma once
// The shared services every window uses: database access and SQL values,
// the settings table, field and key helpers, message boxes, file helpers,
// fixed-width rows and line printing.
#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "data/work.h"
#include "platform/backend.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <memory>

class QWidget;
namespace platform {
class TextBox;
}

namespace mMain {

// ---- Database access
void ExecSQL(const QString& sql);
// First column of the first row; null when the query gives no row.
QVariant GetValue(const QString& sql);
std::unique_ptr<platform::DbRecordset> OpenRecordset(const QString& sql);

// ---- SQL values
// The SQL text and number rules live in the widget-free data layer; these
// are the names the windows use.
using platform::FormatAmount;
using platform::FormatNumber;
using platform::Num;
using platform::ParseAmount;
using platform::ParseQuantity;
using platform::Quote;
using platform::RoundAmount;
using platform::StoredNumber;
using platform::Val;
// 'yyyy-mm-dd' (or 'yyyy-mm-dd hh:mm:ss' when the value has a time part);
// "" while no database kind is known.
QString SqlDate(const QVariant& value);

// A new id for the table: 1 for an empty table, else the largest plus 1.
// The read and the insert that uses it run in one write transaction, so two
// workstations on one file never take the same id.
qint64 InsertWithNewId(const QString& table, const QString& idColumn,
                       const std::function<QString(qint64 id)>& insertSql);

// ---- Settings table
QString GetConfig(const QString& key);
// Returns whether the value was written (it differed from the stored one).
bool SetConfig(const QString& key, const QString& value);
// A setting read as a whole number (either decimal separator, rounded by
// RoundAmount); missing or not a number reads as 0.
int ConfigNumber(const QString& key);

// ---- Fields and keys
void FocusOn(QWidget* field);
void FocusOff(QWidget* field);
int NumericOnly(int keyAscii, bool allowComma);
// The key rule of a quantity: a typed "." becomes ","; a second comma is
// refused; then digits, Backspace and the comma pass. text is the field's
// text without its selection. Returns the key to type (0 refuses it).
int QuantityKey(int keyAscii, const QString& text);
int UpperKey(int keyAscii);
int ProperKey(int keyAscii, const QString& text);
void FormatNumberBox(platform::TextBox* box);
// A pasted text passes no key filter: a field whose letters are typed upper
// case turns its text upper case as it changes.
void UpperText(platform::TextBox* field);
// Before a write: a figure that a field cannot hold (a computed one, which
// no typing limit stopped) is refused with a message and the focus on its
// field. True when every field holds its figure.
bool FiguresFit(std::initializer_list<platform::TextBox*> fields);
// The form a user name takes on leaving its box: the first character upper
// case, the rest lower case.
QString UserNameForm(const QString& text);

// ---- Message boxes (the callers pass MsgTitleInfo, MsgTitleWarn or
// MsgTitleConfirm)
using platform::MsgTitleConfirm;
using platform::MsgTitleInfo;
using platform::MsgTitleWarn;
void MsgInfo(const QString& prompt, const QString& title);
void MsgWarn(const QString& prompt, const QString& title);
// 1 for OK, 2 for Cancel or a closed box.
int MsgConfirm(const QString& prompt, const QString& title);

// ---- File dialogs, cursor, links, files
// The filter is given as "description|pattern|…"; a "|" is appended when it
// does not end in one, and every "|" then stands for a NUL.
QString ShowSave(QWidget* owner, QString& filter, const QString& title, const QString& folder);
QString ShowOpen(QWidget* owner, QString& filter, const QString& title, const QString& folder);
void SetCursorShape(QWidget* over, int shape);
void OpenDocument(const QString& target);
bool FileExists(const QString& path);
QString GetExt(const QString& fileName);
// Each character code c (0..255) becomes 255 - c; applying it twice gives
// the text back.
QString InvertChars(const QString& text);
// The stored form of a typed password: inverted, lower case (passwords
// ignore case).
QString PasswordForm(const QString& typed);
// Whether the typed password has a stored form that the database keeps and
// a statement can carry: "ÿ" would become NUL, and a character past it has
// no single-byte code to invert.
bool PasswordStorable(const QString& typed);

// ---- Fixed-width rows (widget-free, in the data layer)
using platform::AlignLeft;
using platform::AlignRight;
using platform::Pad;

// ---- Line printing
// One line to the printer, or to the port the setting "Port" names.
void PrintLine(const QString& line);
// Ends a print command: the printer document is sent when "Port" is
// "Default" (or empty). Where a PDF file takes the place of the printer, the
// operator is told so the first time in a login; the log has every path.
void EndPrint();
// The port setting with an empty or missing value read as "Default".
QString PrinterPort();
// Why the port cannot take a print-out on this workstation, "" when it
// can: it names a database file of the program folder, the open one, or
// the shared file a pointer file names (PortRefusal). Told by the settings
// window before storing a port, and by printing, which refuses a port
// stored otherwise (an older program, another workstation) alike.
QString PrinterPortRefusal(const QString& port);

// A print-out of many lines, from its first PrintLine to its EndPrint: a box
// over the owner tells the lines and then the pages done and offers Cancel.
// The port setting is read once for the whole print-out and a port is
// opened once. Once stopped, PrintLine takes no more lines and EndPrint
// sends nothing; what was gathered is dropped when the job ends.
class PrintJob {
public:
    // lines: how many the print-out has, 0 when not known.
    PrintJob(QWidget* owner, const platform::WorkTexts& texts, qsizetype lines);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    // How many lines, once known: the box stands before they are counted.
    void setLines(qsizetype lines) { m_work.setRows(lines); }
    bool cancelled() const { return m_work.cancelled(); }
    // Raises platform::Cancelled once the operator stopped the print-out.
    void check() const { m_work.check(); }

private:
    friend void PrintLine(const QString& line);
    friend void EndPrint();
    platform::Work m_work;
    QString m_port;
    qint64 m_lines = 0;
};

using platform::Str;

} // namespace mMain
