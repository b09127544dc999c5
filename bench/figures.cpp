#include "figures.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

double Seconds(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return kNone;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MedianOf(const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(Seconds(work));
    return Median(times);
}

void MedianOfBoth(const std::function<void()>& program, const std::function<void()>& floor, double& programMedian,
                  double& floorMedian, int runs)
{
    std::vector<double> p, f;
    for (int i = 0; i < runs; ++i) {
        p.push_back(Seconds(program));
        f.push_back(Seconds(floor));
    }
    programMedian = Median(p);
    floorMedian = Median(f);
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double CpuSeconds(pid_t pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return kNone;
    const QByteArray stat = f.readAll();
    // The fields after the command name, which may hold blanks itself.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return kNone;
    // utime and stime, the 14th and 15th fields of the whole line.
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

double ResidentBytes()
{
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return kNone;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong()) * double(sysconf(_SC_PAGESIZE)) : kNone;
}

QString LoadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() >= 3 ? QString::fromLatin1(fields[0] + ' ' + fields[1] + ' ' + fields[2])
                              : QStringLiteral("?");
}

QString Machine()
{
    QString cpu;
    QFile f(QStringLiteral("/proc/cpuinfo"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("model name")) {
                cpu = QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
    const double memory = double(sysconf(_SC_PHYS_PAGES)) * double(sysconf(_SC_PAGESIZE)) / (1 << 30);
    return QStringLiteral("%1, %2 cores, %3 GB; %4; SQLite %5, Qt %6")
        .arg(cpu.isEmpty() ? QStringLiteral("?") : cpu)
        .arg(QThread::idealThreadCount())
        .arg(memory, 0, 'f', 0)
        .arg(QSysInfo::prettyProductName(), QLatin1String(sqlite3_libversion()), QLatin1String(qVersion()));
}

QString Shown(double value, Unit unit)
{
    if (std::isnan(value))
        return QStringLiteral("-");
    switch (unit) {
    case Unit::Time:
        return value >= 10     ? QString::number(value, 'f', 1) + QStringLiteral(" s")
               : value < 0.001 ? QString::number(value * 1e6, 'f', 0) + QStringLiteral(" us")
                               : QString::number(value * 1000, 'f', value < 0.01 ? 2 : 1) + QStringLiteral(" ms");
    case Unit::Share: return QString::number(value * 100, 'f', 2) + QStringLiteral(" %");
    case Unit::Count: return QString::number(value, 'f', 0);
    case Unit::Bytes: return QString::number(value / 1e6, 'f', 1) + QStringLiteral(" MB");
    }
    return QString();
}

namespace {

bool Keeps(const Bound& b, const Cell& at, const Cell& floor)
{
    switch (b.kind) {
    case Bound::Below: return at.value < b.limit;
    case Bound::AtMost: return at.value <= b.limit;
    case Bound::FloorTimes: return std::isnan(floor.value) || at.value <= b.limit * floor.value;
    }
    return false;
}

QString BoundText(const Bound& b, Unit unit)
{
    QString text;
    switch (b.kind) {
    case Bound::Below: text = QStringLiteral("< ") + Shown(b.limit, unit); break;
    case Bound::AtMost: text = QStringLiteral("<= ") + Shown(b.limit, unit); break;
    case Bound::FloorTimes: text = QStringLiteral("<= %1x floor").arg(b.limit); break;
    }
    if (b.sizes == 1u)
        text += QStringLiteral(" at 1M");
    else if (b.sizes == 2u)
        text += QStringLiteral(" at 10M");
    return text;
}

} // namespace

bool Row::measured() const
{
    return !std::isnan(at[0].value) || !std::isnan(at[1].value);
}

bool Row::met() const
{
    for (const Bound& b : bounds)
        for (int s = 0; s < 2; ++s)
            if ((b.sizes & (1u << s)) && !std::isnan(at[s].value) && !Keeps(b, at[s], floor[s]))
                return false;
    return true;
}

Row& Table::row(const QString& what, Unit unit)
{
    for (Row& r : rows)
        if (r.what == what)
            return r;
    Row r;
    r.what = what;
    r.unit = unit;
    rows.append(r);
    return rows.last();
}

bool Table::allMet() const
{
    for (const Row& r : rows)
        if (r.measured() && !r.met())
            return false;
    return true;
}

void Table::print() const
{
    auto cell = [](const Cell& c, Unit unit) {
        return std::isnan(c.value) ? QStringLiteral("-")
                                   : Shown(c.value, unit) + (c.note.isEmpty() ? QString() : QLatin1Char(' ') + c.note);
    };
    const QString format = QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8");
    auto line = [&](const QStringList& c) {
        std::printf("%s\n", qPrintable(format.arg(c[0], -58)
                                           .arg(c[1], 20)
                                           .arg(c[2], 20)
                                           .arg(c[3], 7)
                                           .arg(c[4], 12)
                                           .arg(c[5], 12)
                                           .arg(c[6], -30)
                                           .arg(c[7])));
    };
    line({QStringLiteral("Figure"), QStringLiteral("1M"), QStringLiteral("10M"), QStringLiteral("growth"),
          QStringLiteral("floor 1M"), QStringLiteral("floor 10M"), QStringLiteral("target"), QString()});
    line({QString(58, QLatin1Char('-')), QString(20, QLatin1Char('-')), QString(20, QLatin1Char('-')),
          QString(7, QLatin1Char('-')), QString(12, QLatin1Char('-')), QString(12, QLatin1Char('-')),
          QString(30, QLatin1Char('-')), QStringLiteral("----")});
    for (const Row& r : rows) {
        QStringList targets;
        for (const Bound& b : r.bounds)
            targets << BoundText(b, r.unit);
        QString growth;
        if (!std::isnan(r.at[0].value) && !std::isnan(r.at[1].value) && r.at[0].value > 0)
            growth = QStringLiteral("%1x").arg(r.at[1].value / r.at[0].value, 0, 'f', 1);
        QString verdict;
        if (!r.skipped.isEmpty())
            verdict = QStringLiteral("skipped: ") + r.skipped;
        else if (!r.bounds.isEmpty() && r.measured())
            verdict = r.met() ? QStringLiteral("ok") : QStringLiteral("MISS");
        line({r.what, cell(r.at[0], r.unit), cell(r.at[1], r.unit), growth, cell(r.floor[0], r.unit),
              cell(r.floor[1], r.unit), targets.join(QStringLiteral(", ")), verdict});
    }
    for (const QString& n : notes)
        std::printf("%s\n", qPrintable(n));
}
