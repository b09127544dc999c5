#pragma once
// Long work on the window thread that the operator can stop: a print-out, an
// export. Its box (progress.h) shows how far it has come; the parts that do
// the work (a sheet writer, a printer, a report's read) find it and report
// to it without being told, and give up once the operator stopped it.
#include <QElapsedTimer>
#include <QString>
#include <exception>
#include <memory>

class QWidget;

namespace platform {

// What a box shows, and the operator's answer. The backend makes the box:
// the real one is a ProgressWindow, a test's answers Cancel when told to.
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    // What is being done now and the share of all the work done (0 to 1;
    // below 0: work that cannot tell). False once the operator asked to
    // stop (only a box with a Cancel button asks).
    virtual bool report(const QString& what, double done) = 0;
};

// The texts of a box for work that can be stopped, in the operator's
// language: %1 and %2 in the counts stand for the numbers.
struct WorkTexts {
    QString title;   // "Mencetak"
    QString heading; // what the work makes: the print-out's or the file's name
    QString cancel;  // the button
    QString rowOf;   // "Baris %1 dari %2"
    QString rows;    // "Baris %1": how many are to come is not known
    QString pageOf;  // "Halaman %1 dari %2"
};

// Raised where work that the operator stopped gives up; whoever opened the
// work catches it and leaves nothing half made.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// One piece of work that the operator can stop, with its box, from its
// start to its end. The parts that do the work find it as current(): a
// sheet reports its rows and a printer its pages without being told. Only
// one is open at a time.
class Work {
public:
    // With the backend's box over owner (made by the window part of the
    // platform).
    Work(QWidget* owner, const WorkTexts& texts);
    Work(std::unique_ptr<ProgressBox> box, WorkTexts texts);
    ~Work();
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

    static Work* current();

    // How many rows the work has in all, when known (0: not known).
    void setRows(qint64 total) { m_rows = total; }
    // Rows done and pages done; false once the operator stopped the work.
    // Cheap enough for every row: the box hears of it a few times a second.
    bool row(qint64 done);
    bool page(int page, int pages);
    bool cancelled() const { return m_cancelled; }
    // Raises Cancelled when the work was stopped.
    void check() const;
    // The work is done: its box goes, before what the caller tells next
    // (where the file went) stands over a bar still short of its end.
    void finish() { m_box.reset(); }

private:
    bool tell(const QString& what, double done);

    std::unique_ptr<ProgressBox> m_box;
    Work* m_outer = nullptr;
    WorkTexts m_texts;
    qint64 m_rows = 0;
    QElapsedTimer m_sinceReport;
    bool m_cancelled = false;
};

// A count text with its numbers in place of %1 and %2.
QString WorkCount(const QString& text, qint64 n, qint64 total = 0);

} // namespace platform
