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
#include <ctime>
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

Cost Take(const std::function<void()>& work)
{
    QElapsedTimer t;
    const double cpu = CpuSeconds();
    t.start();
    work();
    const double wall = double(t.nsecsElapsed()) / 1e9;
    return {CpuSeconds() - cpu, wall};
}

Cost Median(const std::vector<Cost>& costs)
{
    std::vector<double> cpu, wall;
    for (const Cost& c : costs) {
        cpu.push_back(c.cpu);
        wall.push_back(c.wall);
    }
    return {Median(cpu), Median(wall)};
}

Cost MedianOf(const std::function<void()>& work, int runs)
{
    std::vector<Cost> costs;
    for (int i = 0; i < runs; ++i)
        costs.push_back(Take(work));
    return Median(costs);
}

void MedianOfBoth(const std::function<void()>& program, const std::function<void()>& floor, Cost& programMedian,
                  Cost& floorMedian, int runs)
{
    std::vector<Cost> p, f;
    for (int i = 0; i < runs; ++i) {
        p.push_back(Take(program));
        f.push_back(Take(floor));
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
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    // With what the processes it waited for took: an export packs its
    // workbook in a process of its own.
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& v) { return double(v.tv_sec) + double(v.tv_usec) / 1e6; };
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9 + seconds(children.ru_utime) + seconds(children.ru_stime);
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

namespace {
// A line of /proc/self/status in bytes ("VmRSS:    123456 kB").
double StatusBytes(const QByteArray& key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return kNone;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key + ':')) {
            const QList<QByteArray> words = line.mid(key.size() + 1).simplified().split(' ');
            return words.isEmpty() ? kNone : words[0].toDouble() * 1024;
        }
    return kNone;
}
} // namespace

double ResidentBytes()
{
    return StatusBytes("VmRSS");
}

double PeakResidentBytes()
{
    return StatusBytes("VmHWM");
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
    case Bound::Flat: return true; // judged on the row, across the sizes
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
    case Bound::Flat: return QStringLiteral("flat (<= %1x)").arg(b.limit);
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

QStringList Row::missed() const
{
    QStringList missed;
    for (const Bound& b : bounds) {
        if (b.kind == Bound::Flat) {
            if (!std::isnan(at[0].value) && !std::isnan(at[1].value) && at[1].value > b.limit * at[0].value)
                missed << QStringLiteral("not flat");
            continue;
        }
        for (int s = 0; s < 2; ++s)
            if ((b.sizes & (1u << s)) && !std::isnan(at[s].value) && !Keeps(b, at[s], floor[s]))
                missed << QLatin1String(s == 0 ? "1M" : "10M");
    }
    missed.removeDuplicates();
    return missed;
}

bool Row::met() const
{
    return missed().isEmpty();
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

namespace {
QByteArray Field(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.toUtf8();
}

QByteArray Number(double value)
{
    return std::isnan(value) ? QByteArray("-") : QByteArray::number(value, 'g', 17);
}

double NumberOf(const QByteArray& text)
{
    return text == "-" ? kNone : text.toDouble();
}
} // namespace

QByteArray Table::written(int size) const
{
    QByteArray text;
    for (const Row& r : rows) {
        if (std::isnan(r.at[size].value) && std::isnan(r.floor[size].value) && r.skipped.isEmpty())
            continue;
        text += "@row\t" + Field(r.what) + '\t' + QByteArray::number(int(r.unit)) + '\t' + Number(r.at[size].value) +
                '\t' + Field(r.at[size].note) + '\t' + Number(r.floor[size].value) + '\t' + Field(r.floor[size].note) +
                '\t' + Field(r.skipped) + '\n';
    }
    for (const QString& n : notes)
        text += "@note\t" + Field(n) + '\n';
    return text;
}

void Table::read(const QByteArray& text, int size)
{
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 8 && f[0] == "@row") {
            Row& r = row(QString::fromUtf8(f[1]), Unit(f[2].toInt()));
            r.at[size] = {NumberOf(f[3]), QString::fromUtf8(f[4])};
            r.floor[size] = {NumberOf(f[5]), QString::fromUtf8(f[6])};
            if (!f[7].isEmpty())
                r.skipped = QString::fromUtf8(f[7]);
        } else if (f.size() == 2 && f[0] == "@note") {
            notes << QString::fromUtf8(f[1]);
        }
    }
}

bool Table::judgedMet(const Row& r) const
{
    if (r.met())
        return true;
    for (const Row& other : rows)
        if (!r.either.isEmpty() && other.what == r.either)
            return other.measured() && other.met();
    return false;
}

bool Table::allMet() const
{
    for (const Row& r : rows)
        if (r.measured() && !judgedMet(r))
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
                                           .arg(c[1], 28)
                                           .arg(c[2], 28)
                                           .arg(c[3], 7)
                                           .arg(c[4], 12)
                                           .arg(c[5], 12)
                                           .arg(c[6], -30)
                                           .arg(c[7])));
    };
    line({QStringLiteral("Figure"), QStringLiteral("1M"), QStringLiteral("10M"), QStringLiteral("growth"),
          QStringLiteral("floor 1M"), QStringLiteral("floor 10M"), QStringLiteral("target"), QString()});
    line({QString(58, QLatin1Char('-')), QString(28, QLatin1Char('-')), QString(28, QLatin1Char('-')),
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
            verdict = r.met()        ? QStringLiteral("ok")
                      : judgedMet(r) ? QStringLiteral("ok by: ") + r.either.trimmed()
                                     : QStringLiteral("MISS (%1)").arg(r.missed().join(QStringLiteral(", ")));
        line({r.what, cell(r.at[0], r.unit), cell(r.at[1], r.unit), growth, cell(r.floor[0], r.unit),
              cell(r.floor[1], r.unit), targets.join(QStringLiteral(", ")), verdict});
    }
    for (const QString& n : notes)
        std::printf("%s\n", qPrintable(n));
}
