#include "core/model/printerport.h"

#include "data/owntext.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <sys/stat.h>

QStringList KeptDatabaseFiles(const QString& programFolder, const QStringList& open,
                              const std::function<QString(const QString& pointerFile)>& pointerTarget)
{
    QStringList kept;
    const QDir folder(programFolder);
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*.cdb"), QStringLiteral("*.tdb"), QStringLiteral("*.ldb"),
                              QStringLiteral("*.lan"), QStringLiteral("*.mdbc")},
                             QDir::Files | QDir::Hidden);
    for (const QFileInfo& f : files) {
        kept << f.absoluteFilePath();
        if (f.suffix().compare(QLatin1String("lan"), Qt::CaseInsensitive) == 0 && pointerTarget) {
            const QString target = pointerTarget(f.absoluteFilePath());
            if (!target.isEmpty())
                kept << QFileInfo(folder, target).absoluteFilePath();
        }
    }
    for (const QString& path : open)
        if (!path.isEmpty())
            kept << QFileInfo(path).absoluteFilePath();
    return kept;
}

namespace {

// SQLite keeps a database's pending writes in files beside it.
const char* const kCompanions[] = {"", "-journal", "-wal", "-shm"};

bool SameFile(const QString& a, const QString& b)
{
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    // Another name for the same file: a link, or a path through a link.
    struct stat sa, sb;
    const QByteArray pa = QFile::encodeName(a), pb = QFile::encodeName(b);
    return ::stat(pa.constData(), &sa) == 0 && ::stat(pb.constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

QString PortRefusal(const QString& port, const QStringList& keptFiles)
{
    const QString p = port.trimmed();
    QString bare = p.toUpper();
    if (bare.endsWith(QLatin1Char(':')))
        bare.chop(1);
    if (p.isEmpty())
        return QString();
    for (const char* name : {"DEFAULT", "LPT1", "LPT2", "COM1", "COM2"})
        if (bare == QLatin1String(name))
            return QString();
    if (p.split(QRegularExpression(QStringLiteral("[/\\\\]"))).contains(QStringLiteral("..")))
        return platform::OwnText("cPortUp", QStringLiteral("Port printer '%1' tidak boleh memuat '..'")).arg(p);
    const QString refusal =
        platform::OwnText("cPortIsDatabase",
                          QStringLiteral("Port printer '%1' adalah file database; pilih port atau file lain"))
            .arg(p);
    static const QRegularExpression databaseName(QStringLiteral("\\.(cdb|tdb|ldb|lan|mdbc)(-journal|-wal|-shm)?$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (databaseName.match(p).hasMatch())
        return refusal;
    // Relative to the working folder, where the port is opened.
    const QString path = QFileInfo(p).absoluteFilePath();
    for (const QString& file : keptFiles)
        for (const char* companion : kCompanions)
            if (SameFile(path, file + QLatin1String(companion)))
                return refusal;
    return QString();
}
