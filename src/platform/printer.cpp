#include "platform/printer.h"

#include "platform/backend.h"
#include "platform/runtime.h"

#include <QFile>
#include <QFontDatabase>
#include <stdexcept>

namespace platform {

QFont fixedFont(const QString& family, int pointSize)
{
    QString chosen = family;
    if (!QFontDatabase::hasFamily(family))
        chosen = QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono"))
                     ? QStringLiteral("DejaVu Sans Mono")
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QFont f(chosen, pointSize);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

LinePrinter::LinePrinter() : m_font(fixedFont(QStringLiteral("OCR A Std"), 7)) {}

void LinePrinter::setFont(const QString& family, int pointSize)
{
    m_font = fixedFont(family, pointSize);
}

QString LinePrinter::EndDoc()
{
    const QStringList lines = m_lines;
    m_lines.clear();
    if (lines.isEmpty())
        return QString();
    return Runtime::current()->backend().printDocument(lines, m_font, m_orientation == 2);
}

QString portDevice(const QString& port)
{
    const QString p = port.trimmed();
    const QString upper = p.toUpper();
    // "LPT1:" is how the ports are written in some settings.
    const QString bare = upper.endsWith(QLatin1Char(':')) ? upper.chopped(1) : upper;
    if (bare == QLatin1String("LPT1"))
        return QStringLiteral("/dev/lp0");
    if (bare == QLatin1String("LPT2"))
        return QStringLiteral("/dev/lp1");
    if (bare == QLatin1String("COM1"))
        return QStringLiteral("/dev/ttyS0");
    if (bare == QLatin1String("COM2"))
        return QStringLiteral("/dev/ttyS1");
    return p;
}

void writePortLine(const QString& port, const QString& line)
{
    const QString device = portDevice(port);
    QFile f(device);
    // Append: a print-out to a file keeps all of its lines, and a device
    // does not care.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        throw std::runtime_error(QStringLiteral("Port printer '%1' (%2) tidak dapat dibuka: %3")
                                     .arg(port, device, f.errorString())
                                     .toStdString());
    }
    QByteArray bytes = line.toLatin1();
    bytes.append("\r\n", 2);
    if (f.write(bytes) != bytes.size())
        throw std::runtime_error(
            QStringLiteral("Port printer '%1' tidak dapat ditulis: %2").arg(port, f.errorString()).toStdString());
    f.close();
}

} // namespace platform
