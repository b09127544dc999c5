#include "platform/sqltext.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace platform {

QString Quote(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('\''));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString Num(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    QString s = QString::number(value, 'f', 15 - qMax(1, int(std::floor(std::log10(std::fabs(value)))) + 1));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

double Val(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    QString digits;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        digits += t[i++];
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
        else if (c == QLatin1Char('.') && !point) {
            point = true;
            digits += c;
        } else
            break;
    }
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? v : 0;
}

double ParseAmount(const QString& text, bool* ok)
{
    const QLocale loc;
    QString t = text.trimmed();
    t.remove(loc.groupSeparator());
    if (loc.groupSeparator() != QLatin1String(","))
        t.remove(QLatin1Char(' '));
    bool good = false;
    double v = loc.toDouble(t, &good);
    if (!good)
        v = QLocale::c().toDouble(t, &good);
    if (ok)
        *ok = good;
    return good ? v : 0;
}

double ParseQuantity(const QString& text, bool* ok)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool good = false;
    const double v = QLocale::c().toDouble(t, &good);
    if (ok)
        *ok = good;
    return good ? v : 0;
}

QString FormatAmount(double value)
{
    QLocale loc;
    loc.setNumberOptions(loc.numberOptions() & ~QLocale::OmitGroupSeparator);
    const double rounded = std::round(value);
    return loc.toString(rounded == 0 ? 0.0 : rounded, 'f', 0);
}

QString DateLiteral(const QString& kind, const QVariant& value)
{
    if (kind != QLatin1String("Access") && kind != QLatin1String("MySQL"))
        return QString();
    QString formatted;
    const int type = value.typeId();
    if (type == QMetaType::QDate) {
        formatted = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    } else if (type == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        formatted = dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                             : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    } else {
        const QString text = value.toString().trimmed();
        if (text.contains(QLatin1Char(' '))) {
            QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (!dt.isValid())
                dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd H:mm:ss"));
            formatted = dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : text;
        } else {
            QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                d = QDate::fromString(text, QStringLiteral("yyyy-M-d"));
            formatted = d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : text;
        }
    }
    return Quote(formatted);
}

} // namespace platform
