#include "program.h"

#include "cashier/cashierpanel.h"
#include "core/dbentry.h"
#include "platform/controls.h"
#include "program/program.h"
#include "shell/fmain.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <unistd.h>

QString BenchBackend::printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                                    const platform::PageProgress& page)
{
    const QString note = TestBackend::printDocument(lines, font, landscape, name, page);
    if (!paint)
        return note;
    const QString pdf = platform::QtBackend().printDocument(lines, font, landscape, name, page);
    if (!pdf.isEmpty())
        pdfs << pdf;
    return pdf;
}

Program::Program()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary program folder");
    const QDir dist(QStringLiteral(ORV_DIST_DIR));
    for (const QString& n : dist.entryList(QDir::Files))
        if (!n.startsWith(QLatin1String("orvanta")) && !n.endsWith(QLatin1String(".cdb")))
            QFile::copy(dist.filePath(n), path(n));
}

Program::~Program()
{
    stop();
}

void Program::addCopy(const QString& entry, const QString& file)
{
    const QString target = path(entry + QStringLiteral(".cdb"));
    QFile::remove(target);
    if (!QFile::copy(file, target))
        throw std::runtime_error("the data cannot be copied into the program folder");
    // A shop's database lies on its disk: the copy is written out before
    // anything is timed, so that the system writing gigabytes back in the
    // background is not charged to the program (on this machine it made the
    // same first login take half as long again).
    QFile copy(target);
    if (!copy.open(QIODevice::ReadWrite) || ::fsync(copy.handle()) != 0)
        throw std::runtime_error("the copied data cannot be written out");
}

void Program::addPointer(const QString& entry, const QString& file)
{
    QFile f(path(entry + QStringLiteral(".lan")));
    if (!f.open(QIODevice::WriteOnly) || f.write(LanPointerLine(file)) < 0)
        throw std::runtime_error("no pointer file");
}

void Program::addServer(const QString& entry, const QString& connectionText)
{
    QFile f(path(entry + QStringLiteral(".mdbc")));
    if (!f.open(QIODevice::WriteOnly) || f.write(connectionText.toUtf8()) < 0)
        throw std::runtime_error("no ODBC marker");
}

void Program::start()
{
    stop();
    app = std::make_unique<App>(m_dir.path(), path(QStringLiteral("settings.ini")));
    ui = new BenchBackend;
    app->setBackend(std::unique_ptr<platform::Backend>(ui));
    main = mMain::Main();
    QApplication::processEvents();
    if (!main || !main->pLogin->isVisible())
        throw std::runtime_error("the program did not come to its login panel");
}

void Program::stop()
{
    main = nullptr;
    ui = nullptr;
    app.reset();
}

void Program::login(const QString& entryText)
{
    main->iDatabase->setText(entryText);
    main->iUsername->setText(QStringLiteral("Admin"));
    main->iPassword->setText(QStringLiteral("admin"));
    main->bLogin->click();
    QApplication::processEvents();
    if (!main->pCashier->isVisible() || main->pLogin->isVisible()) {
        const QString told = ui->messages.isEmpty() ? QString() : ui->messages.last().prompt;
        throw std::runtime_error(("the login did not reach the cashier panel " + told).toStdString());
    }
}

void Program::logout()
{
    ui->answers = {1};
    main->bLogout_Click();
    QApplication::processEvents();
    // The question answered is no message of the figures.
    ui->messages.clear();
    if (!main->pLogin->isVisible())
        throw std::runtime_error("the logout did not come back to the login panel");
}

void Program::setTimers(bool on)
{
    main->tClock->setEnabled(on);
    main->tCount->setEnabled(on);
}

namespace {

// Counts the events that lay out, paint or carry work left for later.
class Pending : public QObject {
public:
    int seen = 0;

protected:
    bool eventFilter(QObject* target, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::LayoutRequest:
        case QEvent::MetaCall: ++seen; break;
        // A view's delayed layout and its fetching of rows run on timers of
        // the widget itself; the program's own timers (the clock) are not
        // part of what a key costs.
        case QEvent::Timer:
            if (target->isWidgetType())
                ++seen;
            break;
        default: break;
        }
        return false;
    }
};

} // namespace

void Settle()
{
    Pending pending;
    qApp->installEventFilter(&pending);
    for (int round = 0; round < 100; ++round) {
        pending.seen = 0;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (pending.seen == 0)
            break;
    }
    qApp->removeEventFilter(&pending);
}

void PaintNow(QWidget* widget)
{
    Settle();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        area->viewport()->repaint();
    else
        widget->repaint();
    Settle();
}

int ColdStart(const QString& folder)
{
    App app(folder, QDir(folder).filePath(QStringLiteral("cold-start.ini")));
    fMain* main = mMain::Main();
    if (!main)
        return 2;
    for (int i = 0; i < 1000 && !main->pLogin->isVisible(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!main->pLogin->isVisible())
        return 3;
    PaintNow(main);
    timespec cpu{}, now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("ready %.9f %lld\n", double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9,
                (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    // What the program does at its end is no part of its start.
    std::_Exit(0);
}

namespace {

timespec Now(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return t;
}

double SecondsBetween(const timespec& a, const timespec& b)
{
    return double(b.tv_sec - a.tv_sec) + double(b.tv_nsec - a.tv_nsec) / 1e9;
}

// The program of a new process at its login panel, with the entry and the
// operator typed in; nullptr when it did not come.
fMain* AtTheLoginPanel(App& app, const QString& entryText)
{
    app.setBackend(std::make_unique<BenchBackend>());
    fMain* main = mMain::Main();
    if (!main)
        return nullptr;
    for (int i = 0; i < 1000 && !main->pLogin->isVisible(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!main->pLogin->isVisible())
        return nullptr;
    main->iDatabase->setText(entryText);
    main->iUsername->setText(QStringLiteral("Admin"));
    main->iPassword->setText(QStringLiteral("admin"));
    PaintNow(main);
    return main;
}

// What a child process printed: its word, then that many figures.
QList<double> Printed(QProcess& child, const char* word, const char* what, int figures)
{
    if (!child.waitForFinished(120000))
        throw std::runtime_error(std::string(what) + " in a new process did not end");
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    if (words.size() != figures + 1 || words[0] != word)
        throw std::runtime_error(std::string(what) + " in a new process failed (" + std::to_string(child.exitCode()) +
                                 "): " + child.readAllStandardError().toStdString());
    QList<double> values;
    for (int i = 1; i <= figures; ++i)
        values << words[i].toDouble();
    return values;
}

} // namespace

int LoginOnce(const QString& folder, const QString& entryText)
{
    App app(folder, QDir(folder).filePath(QStringLiteral("login.ini")));
    fMain* main = AtTheLoginPanel(app, entryText);
    if (!main)
        return 2;
    const timespec cpu0 = Now(CLOCK_PROCESS_CPUTIME_ID), wall0 = Now(CLOCK_MONOTONIC);
    main->bLogin->click();
    PaintNow(main);
    const timespec cpu1 = Now(CLOCK_PROCESS_CPUTIME_ID), wall1 = Now(CLOCK_MONOTONIC);
    auto* cashier = dynamic_cast<CashierPanelView*>(main->cashierPanel());
    if (!main->pCashier->isVisible() || !cashier)
        return 3;
    // The names, read when the list is first used: at once here.
    const int names = cashier->ciCharge->ListCount();
    const timespec wall2 = Now(CLOCK_MONOTONIC);
    std::printf("login %.9f %.9f %d %.9f\n", SecondsBetween(cpu0, cpu1), SecondsBetween(wall0, wall1), names,
                SecondsBetween(wall1, wall2));
    std::fflush(stdout);
    std::_Exit(0);
}

Cost LoginInAProcess(const QString& folder, const QString& entryText, NamesShown* names)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--login"), folder, entryText});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start();
    const QList<double> figures = Printed(child, "login", "the login", 4);
    if (names)
        *names = {int(figures[2]), figures[3]};
    return {figures[0], figures[1]};
}

QString NamesNote(double seconds)
{
    return QStringLiteral("(names at the list's first use: %1)").arg(Shown(seconds, Unit::Time));
}

int FirstF2(const QString& folder, const QString& entryText, int pause)
{
    App app(folder, QDir(folder).filePath(QStringLiteral("first-f2.ini")));
    fMain* main = AtTheLoginPanel(app, entryText);
    if (!main)
        return 2;
    main->bLogin->click();
    QApplication::processEvents();
    if (!main->pCashier->isVisible())
        return 3;
    main->tClock->setEnabled(false);
    main->tCount->setEnabled(false);
    PaintNow(main);
    if (pause > 0) {
        Wait(pause);
        PaintNow(main);
    }
    const timespec cpu0 = Now(CLOCK_PROCESS_CPUTIME_ID), wall0 = Now(CLOCK_MONOTONIC);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : main, Qt::Key_F2);
    PaintNow(main);
    const timespec cpu1 = Now(CLOCK_PROCESS_CPUTIME_ID), wall1 = Now(CLOCK_MONOTONIC);
    if (main->ShownPanel() != main->pInventory)
        return 4;
    std::printf("f2 %.9f %.9f\n", SecondsBetween(cpu0, cpu1), SecondsBetween(wall0, wall1));
    std::fflush(stdout);
    std::_Exit(0);
}

Cost FirstF2InAProcess(const QString& folder, const QString& entryText, int pause)
{
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--first-f2"), folder, entryText, QString::number(pause)});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start();
    const QList<double> figures = Printed(child, "f2", "the first F2", 2);
    return {figures[0], figures[1]};
}
