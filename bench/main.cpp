// The program's speed on a shop's database at two sizes: after two years
// (a million journal rows and stock movements, 10,000 items) and after ten
// busy years (ten million of each, 100,000 items), with today inside the
// data. Each figure is the median of several runs, printed at both sizes
// with its growth, beside its floor (the cheapest bare way to the same
// result) and its target. Each size is measured in a process of its own.
#include "core/dbentry.h"
#include "data.h"
#include "figures.h"
#include "program.h"
#include "server.h"
#include "till.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Logs in to a data file in place, so that whatever the program keeps
// beside the tables (and builds at a login when it is missing) is built
// once and kept with the data, not again in every run.
double Prepare(const QString& file)
{
    Program program;
    program.addPointer(QStringLiteral("Data"), file);
    program.start();
    return Seconds([&] { program.login(EntryText(EntryKind::Lan, QStringLiteral("Data"))); });
}

// The data of the sizes measured, made where it is missing or stale (the
// sizes in parallel); "" for a size left out, whose data is neither made nor
// opened.
QStringList DataFiles(const QString& kept, const QString& scratch, const std::vector<bool>& wanted, Table& table)
{
    const QDate today = QDate::currentDate();
    QStringList files;
    std::vector<int> missing;
    for (int i = 0; i < int(std::size(kScales)); ++i) {
        if (!wanted[size_t(i)]) {
            files << QString();
            continue;
        }
        QString file = KeptFile(kept, kScales[i]);
        if (file.isEmpty())
            file = QDir(scratch).filePath(QStringLiteral("orvbench-%1.cdb").arg(QLatin1String(kScales[i].name)));
        files << file;
        const Span span = DataSpan(file, kScales[i]);
        if (!span.first.isValid() || today < span.first || today > span.last)
            missing.push_back(i);
    }
    if (!missing.empty()) {
        const Span span = SpanMadeOn(today);
        std::printf("Making the data (%s to %s) ...\n", qPrintable(span.first.toString(Qt::ISODate)),
                    qPrintable(span.last.toString(Qt::ISODate)));
        std::fflush(stdout);
        const QString empty = QDir(QStringLiteral(ORV_DIST_DIR)).filePath(QStringLiteral("Empty.tdb"));
        std::vector<std::thread> makers;
        std::vector<std::string> errors(missing.size());
        std::vector<double> times(missing.size());
        for (size_t k = 0; k < missing.size(); ++k) {
            const QString making = files[missing[k]] + QStringLiteral(".making");
            QDir().mkpath(QFileInfo(making).absolutePath());
            QFile::remove(making);
            if (!QFile::copy(empty, making))
                throw std::runtime_error("the template cannot be copied to " + making.toStdString());
            makers.emplace_back([&, k, making] {
                try {
                    times[k] = Seconds([&] { MakeData(making, kScales[missing[k]], span); });
                } catch (const std::exception& e) {
                    errors[k] = e.what();
                }
            });
        }
        for (std::thread& t : makers)
            t.join();
        for (size_t k = 0; k < missing.size(); ++k) {
            if (!errors[k].empty())
                throw std::runtime_error(errors[k]);
            const int i = missing[k];
            const QString making = files[i] + QStringLiteral(".making");
            QFile::remove(files[i]);
            if (!QFile::rename(making, files[i]))
                throw std::runtime_error("the made data cannot be renamed to " + files[i].toStdString());
            const QString made =
                QStringLiteral("%1: data made in %2").arg(QLatin1String(kScales[i].name), Shown(times[k], Unit::Time));
            std::printf("%s\n", qPrintable(made));
            table.notes << made;
        }
    }
    for (int i = 0; i < int(files.size()); ++i) {
        if (files[i].isEmpty())
            continue;
        const QString prepared = QStringLiteral("%1: a login on the data itself took %2")
                                     .arg(QLatin1String(kScales[i].name), Shown(Prepare(files[i]), Unit::Time));
        std::printf("%s\n", qPrintable(prepared));
        table.notes << prepared;
    }
    std::printf("\n");
    return files;
}

// One size measured in a new process of its own, as a till is one
// process: what the other size left in memory and in its allocator is not
// counted here. Its figures come back through a file.
void MeasureInAProcess(int size, const QString& file, Table& table)
{
    QTemporaryDir scratch;
    const QString results = scratch.filePath(QStringLiteral("figures.txt"));
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--measure"), QString::number(size), file, results});
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start();
    if (!child.waitForStarted(30000) || !child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        throw std::runtime_error("the measuring of " + std::string(kScales[size].name) + " failed");
    QFile f(results);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("the measuring of " + std::string(kScales[size].name) + " gave no figures");
    table.read(f.readAll(), size);
}

int Measure(int size, const QString& file, const QString& results)
{
    try {
        Table table;
        DeclareFigures(table);
        MeasureTill(kScales[size], size, file, DataSpan(file, kScales[size]), table);
        QFile f(results);
        if (!f.open(QIODevice::WriteOnly) || f.write(table.written(size)) < 0)
            throw std::runtime_error("the figures cannot be written");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench: %s\n", e.what());
        return 2;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--commit-once-a-second") == 0) {
        QCoreApplication app(argc, argv);
        return CommitOnceASecond(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc == 3 && std::strcmp(argv[1], "--cold-start") == 0)
        return ColdStart(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "--login") == 0)
        return LoginOnce(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc >= 3 && argc <= 5 && std::strcmp(argv[1], "--first-f2") == 0)
        return FirstF2(QString::fromLocal8Bit(argv[2]),
                       argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("Toko"),
                       argc == 5 ? std::atoi(argv[4]) : 0);
    if (argc == 5 && std::strcmp(argv[1], "--measure") == 0) {
        const int size = std::atoi(argv[2]);
        if (size < 0 || size >= int(std::size(kScales)))
            return 2;
        return Measure(size, QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    }
    try {
        const QString startLoad = LoadAverage();
        std::printf("Machine: %s\n\n", qPrintable(Machine()));
        // ORV_BENCH_DATA keeps the made data (and the server's) for the next
        // run: a folder, or a file prefix (see data.h).
        const QString kept = qEnvironmentVariable("ORV_BENCH_DATA");
        QTemporaryDir scratch;
        Table table;
        DeclareFigures(table);
        // ORV_BENCH_SIZES=10M measures one size only, while working on it:
        // the other size's data is neither made nor opened. ORV_BENCH_SERVER=0
        // leaves the server out.
        const QStringList sizes = qEnvironmentVariable("ORV_BENCH_SIZES").split(QLatin1Char(','), Qt::SkipEmptyParts);
        std::vector<bool> wanted;
        for (const Scale& s : kScales)
            wanted.push_back(sizes.isEmpty() || sizes.contains(QLatin1String(s.name)));
        if (std::find(wanted.begin(), wanted.end(), true) == wanted.end())
            throw std::runtime_error("ORV_BENCH_SIZES names no size of the bench (1M, 10M)");
        const QStringList files = DataFiles(kept, scratch.path(), wanted, table);
        for (int i = 0; i < int(files.size()); ++i) {
            if (files[i].isEmpty())
                continue;
            std::printf("Measuring %s ...\n", kScales[i].name);
            std::fflush(stdout);
            MeasureInAProcess(i, files[i], table);
        }
        if (qEnvironmentVariable("ORV_BENCH_SERVER") != QLatin1String("0")) {
            std::printf("Measuring on a MariaDB server ...\n");
            std::fflush(stdout);
            MeasureServer(kept.isEmpty() ? QString() : KeptServerFolder(kept), files, table);
        }

        std::printf("\n1M: %d journal rows, %d stock movements, %d items, %d contacts; 10M: %d, %d, %d, %d. "
                    "Median of %d runs.\n\n",
                    kScales[0].journal, kScales[0].movements, kScales[0].items, kScales[0].contacts, kScales[1].journal,
                    kScales[1].movements, kScales[1].items, kScales[1].contacts, kRuns);
        table.print();
        std::printf("\nLoad average (1, 5, 15 min): %s at the start, %s at the end.\n", qPrintable(startLoad),
                    qPrintable(LoadAverage()));
        return table.allMet() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench: %s\n", e.what());
        return 2;
    }
}
