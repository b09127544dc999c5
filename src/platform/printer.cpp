#include "platform/printer.h"

#include "platform/backend.h"
#include "platform/runtime.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFontDatabase>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

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

void writePortLine(const QString& port, const QString& line, int timeoutMs)
{
    const QString device = portDevice(port);
    const auto fail = [&](const QString& what, int err) {
        throw std::runtime_error(QStringLiteral("Port printer '%1' (%2) %3: %4")
                                     .arg(port, device, what, QString::fromLocal8Bit(std::strerror(err)))
                                     .toStdString());
    };
    // Never blocking: a printer that is off or a port nobody listens on
    // must not hang the till. Append: a print-out to a file keeps all of its
    // lines, and a device does not care.
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(QStringLiteral("tidak dapat dibuka"), errno);
    QByteArray bytes = line.toLatin1();
    bytes.append("\r\n", 2);
    QDeadlineTimer deadline(timeoutMs);
    qsizetype done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            err = errno;
            break;
        }
        // The device takes no more for now: wait for it, but not forever.
        pollfd p{fd, POLLOUT, 0};
        const int left = int(deadline.remainingTime());
        if (left <= 0 || ::poll(&p, 1, left) == 0) {
            err = ETIMEDOUT;
            break;
        }
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            err = EIO;
            break;
        }
    }
    ::close(fd);
    if (err)
        fail(QStringLiteral("tidak dapat ditulis"), err);
}

} // namespace platform
