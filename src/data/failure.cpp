#include "data/failure.h"

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
    case ENOENT: return QStringLiteral("tidak ditemukan");
    case ENXIO:
    case ENODEV: return QStringLiteral("perangkatnya tidak ada atau tidak terhubung");
    case EACCES:
    case EPERM: return QStringLiteral("tidak ada izin");
    case EROFS: return QStringLiteral("hanya dapat dibaca");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("disk penuh");
    case EISDIR: return QStringLiteral("berupa folder");
    case EEXIST: return QStringLiteral("sudah ada");
    case ENOTDIR: return QStringLiteral("foldernya tidak ada");
    case ETIMEDOUT: return QStringLiteral("tidak menerima data lagi");
    case EBUSY: return QStringLiteral("sedang dipakai program lain");
    case EPIPE: return QStringLiteral("tidak ada yang membaca");
    case EIO: return QStringLiteral("kesalahan perangkat");
    default: return QStringLiteral("kesalahan sistem nomor %1").arg(err);
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
