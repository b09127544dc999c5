#include "data/textcells.h"

#include "data/db.h"

namespace platform {

QString Str(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    return DbField(value).toString();
}

QString Pad(int width)
{
    return QString(qMax(0, width), QLatin1Char(' '));
}

namespace {
QString cut(const QString& text, qsizetype w)
{
    // Too narrow for a cut with "..": keep what fits.
    if (w < 2)
        return text.left(w);
    return text.left(w - 2) + QStringLiteral("..");
}
} // namespace

void AppendLeft(QString& line, const QString& text, qsizetype width)
{
    const qsizetype n = text.size();
    if (n > width) {
        line += cut(text, width);
        return;
    }
    line += text;
    line.resize(line.size() + width - n, QLatin1Char(' '));
}

void AppendRight(QString& line, const QString& text, qsizetype width)
{
    const qsizetype n = text.size();
    if (n > width) {
        line += cut(text, width);
        return;
    }
    line.resize(line.size() + width - n, QLatin1Char(' '));
    line += text;
}

QString AlignLeft(const QVariant& value, const QString& pad)
{
    const QString text = Str(value);
    const qsizetype w = pad.size(), n = text.size();
    if (n < w)
        return text + pad.right(w - n);
    if (n == w)
        return text;
    return cut(text, w);
}

QString AlignRight(const QVariant& value, const QString& pad)
{
    const QString text = Str(value);
    const qsizetype w = pad.size(), n = text.size();
    if (n < w)
        return pad.left(w - n) + text;
    if (n == w)
        return text;
    return cut(text, w);
}

QStringList AllRows(const RowMaker& next)
{
    QStringList rows;
    QString row;
    while (next(row))
        rows << QString(row);
    return rows;
}

} // namespace platform
