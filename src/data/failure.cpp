#include "data/failure.h"
#include "data/owntext.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {
QString g_logFile;
// The log is kept small enough to send along with a question: the older
// half goes to one earlier file.
constexpr qint64 kLogLimit = 1 << 20;
} // namespace

Failure::Failure(const QString& text, const QString& detail)
    : std::runtime_error(
          (detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')')).toStdString()),
      m_text(text), m_detail(detail)
{
}

QString SystemErrorText(int err)
{
    switch (err) {
    case ENOENT: return OwnText("cErrNotFound", QStringLiteral("tidak ditemukan"));
    case ENXIO:
    case ENODEV: return OwnText("cErrNoDevice", QStringLiteral("perangkatnya tidak ada atau tidak terhubung"));
    case EACCES:
    case EPERM: return OwnText("cErrNoPermission", QStringLiteral("tidak ada izin"));
    case EROFS: return OwnText("cErrReadOnly", QStringLiteral("hanya dapat dibaca"));
    case ENOSPC:
    case EDQUOT: return OwnText("cErrDiskFull", QStringLiteral("disk penuh"));
    case EISDIR: return OwnText("cErrIsFolder", QStringLiteral("berupa folder"));
    case EEXIST: return OwnText("cErrExists", QStringLiteral("sudah ada"));
    case ENOTDIR: return OwnText("cErrNoFolder", QStringLiteral("foldernya tidak ada"));
    case ETIMEDOUT: return OwnText("cErrTimedOut", QStringLiteral("tidak menerima data lagi"));
    case EBUSY: return OwnText("cErrBusy", QStringLiteral("sedang dipakai program lain"));
    case EPIPE: return OwnText("cErrNoReader", QStringLiteral("tidak ada yang membaca"));
    case EIO: return OwnText("cErrDevice", QStringLiteral("kesalahan perangkat"));
    default: return OwnText("cErrSystem", QStringLiteral("kesalahan sistem nomor %1")).arg(err);
    }
}

void SetLogFile(const QString& path)
{
    g_logFile = path;
}

QString LogFile()
{
    return g_logFile;
}

void Log(const QString& text)
{
    qWarning().noquote() << text;
    if (g_logFile.isEmpty())
        return;
    const QFileInfo info(g_logFile);
    if (info.size() > kLogLimit) {
        const QString older = g_logFile + QStringLiteral(".1");
        QFile::remove(older);
        QFile::rename(g_logFile, older);
    }
    QDir().mkpath(info.absolutePath());
    QFile f(g_logFile);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QString entry = QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + text;
    if (!entry.endsWith(QLatin1Char('\n')))
        entry += QLatin1Char('\n');
    f.write(entry.toUtf8());
}

} // namespace platform
