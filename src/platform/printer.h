#pragma once
// Line printing: the system printer receives a document of text lines in the
// fixed-pitch printer font, sent when the caller ends the document; a printer
// port (a device or a file) receives each line as it comes.
#include <QFont>
#include <QString>
#include <QStringList>

namespace platform {

class LinePrinter {
public:
    LinePrinter();
    QFont font() const { return m_font; }
    // Falls back to a fixed-pitch font that is installed when the named one
    // is not.
    void setFont(const QString& family, int pointSize);
    void PrintLine(const QString& line) { m_lines.append(line); }
    // 1 portrait, 2 landscape: the pages of the document sent next.
    int Orientation() const { return m_orientation; }
    void setOrientation(int orientation) { m_orientation = orientation == 2 ? 2 : 1; }
    // Sends the document to the printer (or a PDF file when the machine has
    // no printer). Returns the PDF path in that case, else "".
    QString EndDoc();
    // Drops what was gathered, after a failed print.
    void KillDoc() { m_lines.clear(); }
    const QStringList& pending() const { return m_lines; }

private:
    QFont m_font;
    QStringList m_lines;
    int m_orientation = 1;
};

// The fixed-pitch font of lists and print-outs.
QFont fixedFont(const QString& family, int pointSize);

// The device or file behind a port name of the settings: LPT1 and LPT2 are
// the parallel printers, COM1 and COM2 the serial ports, anything else is a
// path.
QString portDevice(const QString& port);
// Appends the bytes of one line and a CR LF to the port, opening and closing
// it; throws std::runtime_error with a clear text when it cannot be opened or
// written, also when the port takes no more within timeoutMs.
const int kPortTimeoutMs = 5000;
void writePortLine(const QString& port, const QString& line, int timeoutMs = kPortTimeoutMs);

} // namespace platform
