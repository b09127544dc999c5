#pragma once
// Timing, the machine's figures, and the table every figure is printed in:
// one row per figure, its value at each size with the growth between them,
// its floor (the cheapest bare way to the same result) and its target.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <limits>
#include <sys/types.h>
#include <vector>

constexpr int kRuns = 5;

// Wall time of the work.
double Seconds(const std::function<void()>& work);
double Median(std::vector<double> values);

// What a piece of work cost: the CPU time of the whole process (every
// thread of it) and the wall time. The CPU figure is the one judged: a
// busy machine stretches the wall time of the same work.
struct Cost {
    double cpu;
    double wall;
};
Cost Take(const std::function<void()>& work);
// The median of each, over runs.
Cost Median(const std::vector<Cost>& costs);
Cost MedianOf(const std::function<void()>& work, int runs = kRuns);
// The program's work and its floor taken in turns, so that both meet the
// same moments of a busy machine; the median of each.
void MedianOfBoth(const std::function<void()>& program, const std::function<void()>& floor, Cost& programMedian,
                  Cost& floorMedian, int runs = kRuns);
// Lets the program's event loop run for a while (timers fire, windows paint).
void Wait(int ms);
// CPU time of this process (all its threads, and the processes it waited
// for), and of another one (from its /proc entry).
double CpuSeconds();
double CpuSeconds(pid_t pid);
// The resident size of this process (VmRSS), as the system counts it:
// nothing is handed back first, as the program never does that either.
double ResidentBytes();
// The most this process has held resident so far (VmHWM).
double PeakResidentBytes();
QString LoadAverage();
QString Machine();

enum class Unit { Time, Share, Count, Bytes };

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Cell {
    double value = kNone;
    QString note; // beside the value: "1.13x", "8217 lines"
};

// A bound a figure must keep at the sizes it speaks of (a bit per size).
// Flat bounds the growth: the figure at 10M at most limit times itself at
// 1M, so that a cost that follows the history is caught even under its
// target.
struct Bound {
    enum Kind { Below, FloorTimes, AtMost, Flat } kind;
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
    // A target of the form "this, or that": the row whose being met meets
    // this one as well.
    QString either;
    bool met() const;
    // The sizes whose bound is not kept ("1M", "10M"), and "not flat".
    QStringList missed() const;
    bool measured() const;
};

class Table {
public:
    // The row of a figure, made at its first mention; rows print in that
    // order.
    Row& row(const QString& what, Unit unit = Unit::Time);
    void print() const;
    bool allMet() const;
    // Whether the row keeps its bounds, or the row it names as its other
    // way does.
    bool judgedMet(const Row& r) const;
    // The figures of one size and the notes, as lines a parent process
    // reads back (a size is measured in a process of its own, so that its
    // memory and CPU are its own).
    QByteArray written(int size) const;
    // Takes in what written gave; lines of other kinds are left.
    void read(const QByteArray& text, int size);
    QList<Row> rows;
    QStringList notes;
};

QString Shown(double value, Unit unit);
