#pragma once
// Timing, the machine's figures, and the table every figure is printed in:
// one row per figure, its value at each size with the growth between them,
// its floor (the same lines by the fastest bare query) and its target.
#include <QList>
#include <QString>
#include <functional>
#include <limits>
#include <sys/types.h>
#include <vector>

constexpr int kRuns = 5;

double Seconds(const std::function<void()>& work);
double Median(std::vector<double> values);
// The median of runs of the work.
double MedianOf(const std::function<void()>& work, int runs = kRuns);
// The program's work and its floor taken in turns, so that both meet the
// same moments of a busy machine; the median of each.
void MedianOfBoth(const std::function<void()>& program, const std::function<void()>& floor, double& programMedian,
                  double& floorMedian, int runs = kRuns);
// Lets the program's event loop run for a while (timers fire, windows paint).
void Wait(int ms);
// CPU time of this process, and of another one (from its /proc entry).
double CpuSeconds();
double CpuSeconds(pid_t pid);
// Memory this process holds (resident), after handing what is free back.
double ResidentBytes();
QString LoadAverage();
QString Machine();

enum class Unit { Time, Share, Count, Bytes };

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Cell {
    double value = kNone;
    QString note; // beside the value: "1.13x", "8217 lines"
};

// A bound a figure must keep at the sizes it speaks of (a bit per size).
struct Bound {
    enum Kind { Below, FloorTimes, AtMost } kind;
    double limit;
    unsigned sizes = ~0u;
};

struct Row {
    QString what;
    Unit unit = Unit::Time;
    Cell at[2];
    Cell floor[2];
    QList<Bound> bounds;
    QString skipped; // why the figure was not taken
    bool met() const;
    bool measured() const;
};

class Table {
public:
    // The row of a figure, made at its first mention; rows print in that
    // order.
    Row& row(const QString& what, Unit unit = Unit::Time);
    void print() const;
    bool allMet() const;
    QList<Row> rows;
    QStringList notes;
};

QString Shown(double value, Unit unit);
