#include "platform/printer.h"

#include "data/failure.h"
#include "data/owntext.h"
#include "platform/backend.h"
#include "platform/progress.h"
#include "platform/runtime.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
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
    const QStringList lines = std::move(m_lines);
    const QString name = m_docName;
    KillDoc();
    Work* work = Work::current();
    if (lines.isEmpty() || (work && work->cancelled()))
        return QString();
    // A wide list on a portrait page would be shrunk to a font nobody can
    // read: turning the page comes first.
    const bool landscape = m_orientation == 2 || !LinesFit(lines, m_font, false);
    return Runtime::current()->backend().printDocument(
        lines, m_font, landscape, name, [work](int page, int pages) { return !work || work->page(page, pages); });
}

void LinePrinter::KillDoc()
{
    m_lines.clear();
    m_docName.clear();
    m_portFailure = nullptr;
    m_port.reset();
}

void LinePrinter::PortLine(const QString& port, const QString& line)
{
    if (m_portFailure && port == m_failedPort)
        std::rethrow_exception(m_portFailure);
    try {
        if (!m_port || m_port->port() != port) {
            m_port.reset();
            m_port = std::make_unique<PortWriter>(port);
        }
        m_port->write(line, portTimeout());
    } catch (...) {
        m_port.reset();
        m_portFailure = std::current_exception();
        m_failedPort = port;
        throw;
    }
}

QPageLayout PrintPageLayout(bool landscape)
{
    return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

bool IsRuleLine(const QString& line)
{
    return !line.isEmpty() && std::all_of(line.begin(), line.end(), [](QChar c) { return c == QLatin1Char('-'); });
}

qreal WidestLine(const QStringList& lines, const QFontMetricsF& fm)
{
    qreal widest = 0;
    for (const QString& line : lines)
        if (!IsRuleLine(line))
            widest = qMax(widest, fm.horizontalAdvance(line));
    return widest;
}

bool LinesFit(const QStringList& lines, const QFont& font, bool landscape)
{
    // Measured in points: an image of 72 dots to the inch.
    QImage points(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(72 / 0.0254);
    points.setDotsPerMeterX(dotsPerMeter);
    points.setDotsPerMeterY(dotsPerMeter);
    const QFontMetricsF fm(font, &points);
    return WidestLine(lines, fm) <= PrintPageLayout(landscape).paintRect(QPageLayout::Point).width();
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

namespace {
int g_portTimeoutMs = 5000;
} // namespace

int portTimeout()
{
    return g_portTimeoutMs;
}

void setPortTimeout(int ms)
{
    g_portTimeoutMs = ms;
}

void writePortLine(const QString& port, const QString& line)
{
    writePortLine(port, line, portTimeout());
}

void writePortLine(const QString& port, const QString& line, int timeoutMs)
{
    PortWriter(port).write(line, timeoutMs);
}

PortWriter::PortWriter(const QString& port) : m_port(port)
{
    const QString device = portDevice(port);
    m_name = device == port.trimmed()
                 ? OwnText("cPortName", QStringLiteral("Port printer '%1'")).arg(port)
                 : OwnText("cPortNameDevice", QStringLiteral("Port printer '%1' (%2)")).arg(port, device);
    // A port name stands for a device of the machine: where there is none,
    // a file of that name would take every later print-out unseen.
    const bool namedDevice = device != port.trimmed();
    // Never blocking: a printer that is off or a port nobody listens on
    // must not hang the till. Append: a print-out to a file keeps all of its
    // lines, and a device does not care.
    const QByteArray path = QFile::encodeName(device);
    m_fd = ::open(path.constData(),
                  O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (namedDevice ? 0 : O_CREAT), 0666);
    if (m_fd < 0) {
        const int err = errno;
        if (namedDevice && err == ENOENT)
            throw Failure(OwnText("cPortMissing", QStringLiteral("%1 tidak ada di komputer ini")).arg(m_name),
                          QString::fromLocal8Bit(std::strerror(err)));
        if (err == ENXIO && !namedDevice)
            throw Failure(
                OwnText("cPortNoReader", QStringLiteral("%1 tidak dapat dibuka: tidak ada yang membaca port ini"))
                    .arg(m_name),
                QString::fromLocal8Bit(std::strerror(err)));
        fail(OwnText("cCannotOpen", QStringLiteral("tidak dapat dibuka")), err);
    }
}

PortWriter::~PortWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void PortWriter::fail(const QString& what, int err) const
{
    throw Failure(QStringLiteral("%1 %2: %3").arg(m_name, what, SystemErrorText(err)),
                  QString::fromLocal8Bit(std::strerror(err)));
}

void PortWriter::write(const QString& line, int timeoutMs)
{
    QByteArray bytes = line.toLatin1();
    bytes.append("\r\n", 2);
    QDeadlineTimer deadline(timeoutMs);
    qsizetype done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
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
        pollfd p{m_fd, POLLOUT, 0};
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
    if (err)
        fail(OwnText("cCannotWrite", QStringLiteral("tidak dapat ditulis")), err);
}

} // namespace platform
