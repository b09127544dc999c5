#include "core/dbentry.h"

#include "core/app.h"

#include <QFile>

namespace {
const QString kLanSuffix = QStringLiteral(" (LAN)");
const QString kOdbcSuffix = QStringLiteral(" (MySQL-ODBC)");
} // namespace

QString EntryRef::entryFile() const
{
    switch (kind) {
    case EntryKind::Lan: return app().programFile(name + QStringLiteral(".lan"));
    case EntryKind::Odbc: return app().programFile(name + QStringLiteral(".mdbc"));
    case EntryKind::File: break;
    }
    return app().programFile(name + QStringLiteral(".cdb"));
}

QString EntryText(EntryKind kind, const QString& name)
{
    switch (kind) {
    case EntryKind::Lan: return name + kLanSuffix;
    case EntryKind::Odbc: return name + kOdbcSuffix;
    case EntryKind::File: break;
    }
    return name;
}

EntryRef ParseEntry(const QString& entryText)
{
    if (entryText.endsWith(kLanSuffix))
        return {EntryKind::Lan, entryText.chopped(kLanSuffix.size())};
    if (entryText.endsWith(kOdbcSuffix))
        return {EntryKind::Odbc, entryText.chopped(kOdbcSuffix.size())};
    return {EntryKind::File, entryText};
}

QString ReadLanPath(const QString& pointerFile)
{
    QFile f(pointerFile);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QString line = QString::fromUtf8(f.readLine());
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    line = line.trimmed();
    if (line.startsWith(QLatin1Char('"'))) {
        // A quoted field may hold commas; it ends at the closing quote, and
        // a doubled quote inside it is one quote of the path.
        QString path;
        for (qsizetype i = 1; i < line.size(); ++i) {
            if (line[i] != QLatin1Char('"'))
                path += line[i];
            else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                path += line[++i];
            else
                break;
        }
        return path;
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    return (comma < 0 ? line : line.left(comma)).trimmed();
}

QByteArray LanPointerLine(const QString& path)
{
    const bool plain = !path.contains(QLatin1Char(',')) && !path.contains(QLatin1Char('"')) && path == path.trimmed();
    QString field = path;
    if (!plain)
        field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return field.toUtf8() + "\r\n";
}
