#include "data/sqltext.h"

#include "data/db.h"
#include "data/owntext.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace platform {

QString Quote(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('\''));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

namespace {

// A finite value at 15 significant digits: value = digits × 10^(point - 15).
struct Digits {
    bool negative = false;
    QByteArray digits; // exactly 15 decimal digits, the first non-zero unless the value is 0
    int point = 0;     // where the decimal point falls among the digits
};

Digits digitsOf(double value)
{
    Digits d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    const QByteArray text(buf);
    const qsizetype e = text.indexOf('e');
    d.digits = text.left(1) + text.mid(2, e - 2);
    d.point = text.mid(e + 1).toInt() + 1;
    d.negative = value < 0 && d.digits.count('0') != d.digits.size();
    return d;
}

double fromText(const QByteArray& text)
{
    return std::strtod(text.constData(), nullptr);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

// The strict reader behind ParseAmount, ParseQuantity and StoredNumber:
// [sign] digits [group digits{3}]... [decimal [digits]], with a digit
// somewhere ("5," is 5, as a quantity reads while it is typed). With groups, the
// first group has one to three digits and every later one exactly three.
// A blank group separator (as some locales use) also matches a plain blank.
bool readStrict(const QString& text, const QStringList& decimals, const QString& group, const QString& minus,
                double& out, QByteArray* plain = nullptr)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    QByteArray canonical;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) || (!minus.isEmpty() && t.startsWith(minus))) {
        if (!t.startsWith(QLatin1Char('+')))
            canonical += '-';
        i = t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? 1 : minus.size();
    }
    const bool blankGroup = group.size() == 1 && isBlank(group.at(0));
    auto groupAt = [&](qsizetype at) -> qsizetype {
        if (group.isEmpty())
            return 0;
        if (t.mid(at, group.size()) == group)
            return group.size();
        if (blankGroup && at < t.size() && isBlank(t.at(at)))
            return 1;
        return 0;
    };
    int run = 0;
    int groups = 0;
    int intDigits = 0;
    for (;;) {
        if (i < t.size() && isAsciiDigit(t.at(i))) {
            canonical += char(t.at(i).unicode());
            ++run;
            ++intDigits;
            ++i;
            continue;
        }
        const qsizetype g = groupAt(i);
        if (g == 0)
            break;
        // The group before this separator: the first has 1 to 3 digits,
        // every later one exactly 3.
        if (run == 0 || run > 3 || (groups > 0 && run != 3))
            return false;
        ++groups;
        run = 0;
        i += g;
    }
    if (groups > 0 && run != 3)
        return false;
    int fracDigits = 0;
    for (const QString& sep : decimals) {
        if (!sep.isEmpty() && t.mid(i, sep.size()) == sep) {
            i += sep.size();
            canonical += '.';
            while (i < t.size() && isAsciiDigit(t.at(i))) {
                canonical += char(t.at(i).unicode());
                ++fracDigits;
                ++i;
            }
            break;
        }
    }
    if (i != t.size() || intDigits + fracDigits == 0)
        return false;
    out = fromText(canonical);
    if (!std::isfinite(out))
        return false;
    if (out == 0)
        out = 0; // no "-0"
    if (plain)
        *plain = canonical;
    return true;
}

bool isMinus(QChar c)
{
    return c == QLatin1Char('-') || c == QChar(0x2212);
}

// A figure written in either convention (see FigureSource::Written). The
// text is [sign] runs of digits between separators: a comma, a point, or a
// blank where the display locale groups with one.
bool readWritten(const QString& text, bool decimals, QByteArray& canonical)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    canonical.clear();
    if (i < t.size() && (isMinus(t.at(i)) || t.at(i) == QLatin1Char('+'))) {
        if (isMinus(t.at(i)))
            canonical += '-';
        ++i;
    }
    const QString localGroup = QLocale().groupSeparator();
    const bool blankGroups = localGroup.size() == 1 && isBlank(localGroup.at(0));
    QList<QByteArray> runs{QByteArray()};
    QList<char> seps; // ',', '.' or ' '
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (isAsciiDigit(c))
            runs.last() += char(c.unicode());
        else if (c == QLatin1Char(',') || c == QLatin1Char('.') || (blankGroups && isBlank(c))) {
            seps += c == QLatin1Char(',') ? ',' : c == QLatin1Char('.') ? '.' : ' ';
            runs += QByteArray();
        } else
            return false;
    }
    // Which separator, if any, stands before the fraction.
    qsizetype decimalAt = -1; // index into seps
    if (!seps.isEmpty()) {
        const char last = seps.last();
        const bool mixed = std::any_of(seps.cbegin(), seps.cend(), [&](char s) { return s != last; });
        if (mixed) {
            // The last kind is the decimal separator, once; one other kind groups.
            if (last == ' ' || seps.count(last) != 1)
                return false;
            const char group = seps.first();
            for (qsizetype k = 0; k + 1 < seps.size(); ++k)
                if (seps[k] != group)
                    return false;
            decimalAt = seps.size() - 1;
        } else if (seps.size() == 1 && last != ' ') {
            // One separator: a group of three after one to three digits (not
            // a lone 0) groups; in a field with decimals that is a thousand
            // or a fraction, and nobody can tell which.
            const bool groupLike = runs[0].size() >= 1 && runs[0].size() <= 3 && runs[0] != "0" && runs[1].size() == 3;
            if (groupLike && decimals)
                return false;
            if (!groupLike)
                decimalAt = 0;
        }
    }
    const qsizetype groups = decimalAt < 0 ? seps.size() : decimalAt;
    for (qsizetype k = 0; k <= groups && groups > 0; ++k) {
        const qsizetype n = runs[k].size();
        if (k == 0 ? (n < 1 || n > 3) : n != 3)
            return false;
    }
    int digits = 0;
    for (qsizetype k = 0; k <= groups; ++k) {
        canonical += runs[k];
        digits += int(runs[k].size());
    }
    if (decimalAt >= 0) {
        if (!decimals)
            return false;
        canonical += '.';
        canonical += runs.last();
        digits += int(runs.last().size());
    }
    return digits > 0;
}

} // namespace

std::optional<Figure> ReadFigure(const QString& text, FigureRule rule, FigureSource source)
{
    double v = 0;
    QByteArray plain;
    bool good = false;
    if (source == FigureSource::Written) {
        good = readWritten(text, rule.decimals, plain);
        if (good) {
            v = fromText(plain);
            good = std::isfinite(v);
            if (v == 0)
                v = 0; // no "-0"
        }
    } else if (rule.decimals) {
        good = readStrict(text, {QStringLiteral(","), QStringLiteral(".")}, QString(), QString(), v, &plain);
    } else {
        const QLocale loc;
        good = readStrict(text, {loc.decimalPoint()}, loc.groupSeparator(), loc.negativeSign(), v, &plain);
    }
    if (!good || (!rule.negative && plain.startsWith('-')))
        return std::nullopt;
    return Figure{v, QString::fromLatin1(plain)};
}

QString Num(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    // A whole number of at most 15 digits is written as it is.
    if (std::abs(value) < 1e15 && value == std::trunc(value))
        return QString::number(static_cast<qlonglong>(value));
    const Digits d = digitsOf(value);
    QByteArray digits = d.digits;
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    if (digits == "0")
        return QStringLiteral("0");
    QByteArray out = d.negative ? QByteArray("-") : QByteArray();
    const int n = int(digits.size());
    if (d.point <= 0)
        out += "0." + QByteArray(-d.point, '0') + digits;
    else if (d.point >= n)
        out += digits + QByteArray(d.point - n, '0');
    else
        out += digits.left(d.point) + '.' + digits.mid(d.point);
    return QString::fromLatin1(out);
}

double RoundAmount(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    if (value == 0)
        return 0;
    // A whole number of at most 15 digits is its own rounding; most amounts
    // are, and reports round thousands of them.
    if (decimals >= 0 && std::abs(value) < 1e15 && value == std::trunc(value))
        return value;
    // The 15 significant digits as digitsOf gives them ("d.ddd...de±x"),
    // here without a heap: a journal of fractions rounds every amount.
    char text[40];
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text - 1, std::fabs(value), std::chars_format::scientific, 14);
    *written.ptr = '\0';
    char digits[15];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, 14);
    const int point = std::atoi(text + 17) + 1;
    const int keep = point + decimals; // digits before the rounding place
    char out[48];
    int length = 0;
    if (keep >= 15) {
        std::memcpy(out, digits, 15);
        length = 15 + std::snprintf(out + 15, sizeof out - 15, "e%d", point - 15);
    } else if (keep >= 0) {
        qint64 kept = 0;
        for (int i = 0; i < keep; ++i)
            kept = kept * 10 + (digits[i] - '0');
        const qint64 m = kept + (digits[keep] >= '5' ? 1 : 0);
        length = std::snprintf(out, sizeof out, "%llde%d", static_cast<long long>(m), -decimals);
    }
    double r = 0;
    // Past the largest double the text reads as infinity, as strtod gives it.
    if (length > 0 && std::from_chars(out, out + length, r).ec != std::errc())
        r = std::strtod(out, nullptr);
    if (r == 0)
        return 0;
    return value < 0 ? -r : r;
}

double DiscountAmount(double price, double percent)
{
    return RoundAmount(price * percent / 100.0, 4);
}

double NetPrice(double price, double percent)
{
    return price - DiscountAmount(price, percent);
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
    const std::optional<Figure> f = ReadFigure(text, {false, true}, FigureSource::Field);
    if (ok)
        *ok = f.has_value();
    return f ? f->value : 0;
}

double ParseQuantity(const QString& text, bool* ok)
{
    const std::optional<Figure> f = ReadFigure(text, {true, true}, FigureSource::Field);
    if (ok)
        *ok = f.has_value();
    return f ? f->value : 0;
}

namespace {
// The display locale with its group separator, made again only when the
// display locale changed. Where it groups by threes with plain digits, as
// the shop's locales do, whole amounts are written here by hand.
struct GroupedLocale {
    QLocale base;
    QLocale grouped;
    bool byThrees = false;
    QString separator;
    QString minus;
};

const GroupedLocale& groupedLocale()
{
    thread_local GroupedLocale g;
    thread_local bool made = false;
    if (!made || !(QLocale() == g.base)) {
        made = true;
        g.base = QLocale();
        g.grouped = g.base;
        g.grouped.setNumberOptions(g.grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
        g.separator = g.grouped.groupSeparator();
        g.minus = g.grouped.negativeSign();
        g.byThrees = g.grouped.zeroDigit() == QLatin1String("0") &&
                     g.grouped.toString(qlonglong(-1234567)) == g.minus + QLatin1Char('1') + g.separator +
                                                                    QStringLiteral("234") + g.separator +
                                                                    QStringLiteral("567");
    }
    return g;
}
} // namespace

QString FormatAmount(double value)
{
    const GroupedLocale& g = groupedLocale();
    const double whole = RoundAmount(value);
    if (std::abs(whole) >= 1e15)
        return g.grouped.toString(whole, 'f', 0);
    // Whole numbers are written as integers: the same text, without the
    // floating-point printer that a report would call thousands of times.
    const qlonglong n = static_cast<qlonglong>(whole);
    if (!g.byThrees)
        return g.grouped.toString(n);
    // Written backwards into one buffer: a list of a hundred thousand items
    // writes six amounts a row.
    QChar buf[64];
    qsizetype at = std::size(buf);
    const auto put = [&](const QString& text) {
        for (qsizetype i = text.size(); i-- > 0 && at > 0;)
            buf[--at] = text[i];
    };
    unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    for (int digits = 0; digits == 0 || u > 0; ++digits, u /= 10) {
        if (digits > 0 && digits % 3 == 0)
            put(g.separator);
        buf[--at] = QChar(char16_t(u'0' + u % 10));
    }
    if (n < 0)
        put(g.minus);
    return QString(buf + at, std::size(buf) - at);
}

QString FormatNumber(double value)
{
    const QLocale loc;
    QString s = Num(value);
    if (s.startsWith(QLatin1Char('-')))
        s.replace(0, 1, loc.negativeSign());
    s.replace(QLatin1Char('.'), loc.decimalPoint());
    return s;
}

double StoredNumber(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool: {
        const double v = value.toDouble();
        if (std::isfinite(v))
            return v;
        break;
    }
    case QMetaType::QString: {
        double v = 0;
        if (readStrict(value.toString(), {QStringLiteral("."), QStringLiteral(",")}, QString(), QString(), v))
            return v;
        break;
    }
    default: break;
    }
    throw DbError(OwnText("cNotANumber", QStringLiteral("Nilai tersimpan bukan angka: '%1'")).arg(value.toString()));
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

void AppendNocase(QByteArray& key, QByteArrayView text)
{
    const qsizetype at = key.size();
    key.resize(at + text.size());
    char* out = key.data() + at;
    for (char c : text)
        *out++ = NocaseFolded(c);
}

bool NocaseIs(QByteArrayView text, const char* word)
{
    const qsizetype n = qsizetype(std::strlen(word));
    if (text.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (NocaseFolded(text[i]) != word[i])
            return false;
    return true;
}

} // namespace platform
