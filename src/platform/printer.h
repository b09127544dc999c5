#pragma once
// Line printing: the system printer receives a document of text lines in the
// fixed-pitch printer font, sent when the caller ends the document; a printer
// port (a device or a file) receives each line as it comes.
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <exception>
#include <memory>

namespace platform {

// A printer port held open for one print-out: each line goes out as it
// comes, without opening the port again for it.
class PortWriter {
public:
    // Throws Failure with a clear text when the port cannot be opened. A
    // port name that stands for a device (LPT1 ...) never creates it: a
    // device that is missing is told so.
    explicit PortWriter(const QString& port);
    ~PortWriter();
    PortWriter(const PortWriter&) = delete;
    PortWriter& operator=(const PortWriter&) = delete;
    const QString& port() const { return m_port; }
    // The bytes of one line and a CR LF; throws Failure when they cannot be
    // written, also when the port takes no more within timeoutMs.
    void write(const QString& line, int timeoutMs);

private:
    [[noreturn]] void fail(const QString& what, int err) const;
    QString m_port;
    QString m_name;
    int m_fd = -1;
};

class LinePrinter {
public:
    LinePrinter();
    QFont font() const { return m_font; }
    // Falls back to a fixed-pitch font that is installed when the named one
    // is not.
    void setFont(const QString& family, int pointSize);
    void PrintLine(const QString& line) { m_lines.append(line); }
    // One line to a printer port. The port stays open for the print-out's
    // further lines. A port that failed a line takes no more of the same
    // print-out: each further line would wait out the port's timeout again.
    // The print-out ends with EndDoc or KillDoc, which close the port.
    void PortLine(const QString& port, const QString& line);
    // Whether the print-out holds that port open already.
    bool PortOpen(const QString& port) const { return m_port && m_port->port() == port; }
    // 1 portrait, 2 landscape: the pages of the document sent next. A
    // portrait document with a line wider than the page goes out landscape.
    int Orientation() const { return m_orientation; }
    void setOrientation(int orientation) { m_orientation = orientation == 2 ? 2 : 1; }
    // The name the print queue shows for the document sent next (lpstat,
    // the desktop's printer window), so that a receipt is told from a
    // report; it goes with that document.
    void setDocName(const QString& name) { m_docName = name; }
    const QString& DocName() const { return m_docName; }
    // Sends the document to the printer (or a PDF file when the machine has
    // no printer). Returns the PDF path in that case, else "". The pages
    // are told to the work in progress (progress.h); a print-out stopped
    // there sends nothing.
    QString EndDoc();
    // Drops what was gathered, after a failed print.
    void KillDoc();
    const QStringList& pending() const { return m_lines; }

private:
    QFont m_font;
    QStringList m_lines;
    int m_orientation = 1;
    QString m_docName;
    std::exception_ptr m_portFailure;
    QString m_failedPort;
    std::unique_ptr<PortWriter> m_port;
};

// The page a print-out is laid out on when the printer does not say (a PDF
// file): A4 with margins of 10 mm.
QPageLayout PrintPageLayout(bool landscape);
// A rule (a line of dashes only) is drawn as wide as the page allows: it
// decides neither the page's orientation nor the font's size.
bool IsRuleLine(const QString& line);
// The width of the widest line that is not a rule.
qreal WidestLine(const QStringList& lines, const QFontMetricsF& fm);
// Whether every line fits the width of that page in the font.
bool LinesFit(const QStringList& lines, const QFont& font, bool landscape);

// The fixed-pitch font of lists and print-outs.
QFont fixedFont(const QString& family, int pointSize);

// The device or file behind a port name of the settings: LPT1 and LPT2 are
// the parallel printers, COM1 and COM2 the serial ports, anything else is a
// path.
QString portDevice(const QString& port);
// One line to the port on its own, opening and closing it (PortWriter).
void writePortLine(const QString& port, const QString& line, int timeoutMs);
void writePortLine(const QString& port, const QString& line);
// How long a port may take a line before it counts as stalled.
int portTimeout();
void setPortTimeout(int ms);

} // namespace platform
