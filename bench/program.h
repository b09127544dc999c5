#pragma once
// The program in a program folder of its own, started and used as an
// operator would: the login panel, the panels, the keys.
#include "core/app.h"
#include "figures.h"
#include "support/testbackend.h"

#include <QTemporaryDir>
#include <memory>

class QWidget;
class fMain;

// The tests' backend, whose print jobs may also be painted as the real
// backend paints them: on the machine's printer, or into a PDF file where
// it has none (each such file's path is kept, for the bench to remove).
class BenchBackend : public TestBackend {
public:
    QString printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                          const platform::PageProgress& page) override;
    bool paint = false;
    QStringList pdfs;
};

class Program {
public:
    // A temporary program folder holding the build's files.
    Program();
    ~Program();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Database entries of the login list: a copy of a file, a pointer file
    // to a file elsewhere, an ODBC marker holding a connection text.
    void addCopy(const QString& entry, const QString& file);
    void addPointer(const QString& entry, const QString& file);
    void addServer(const QString& entry, const QString& connectionText);

    // The start-up, up to the login panel.
    void start();
    void stop();
    // Through the login panel as Admin; fails unless the cashier panel comes.
    void login(const QString& entryText);
    void logout();
    // The till's own timers: the clock and the totals.
    void setTimers(bool on);

    std::unique_ptr<App> app;
    BenchBackend* ui = nullptr;
    fMain* main = nullptr;

private:
    QTemporaryDir m_dir;
};

// Runs what the event loop holds (layouts, posted updates and repaints,
// work a handler left for later) until nothing more of it comes: what
// happens before the operator's next key is taken.
void Settle();
// Settles, then paints the widget (a list: its rows) at once, then settles
// again: a timed span that ends here ends with the rows on the screen.
void PaintNow(QWidget* widget);

// The start of a new process of the program on a program folder, up to its
// login panel painted: prints "ready <CPU seconds> <monotonic ns>" and ends.
// The bench runs itself in this mode (--cold-start) and takes the time from
// before it started the process to the moment printed.
int ColdStart(const QString& folder);

// A new process of the program on a program folder, logged in to the entry
// of that text, then F2: the first inventory panel of the process, whose lists
// and counts nothing has read yet. Prints "f2 <CPU seconds> <wall seconds>"
// of the F2 up to the window painted, and ends (--first-f2). pause: the
// milliseconds an operator takes from the first panel to F2, the program
// running its events meanwhile; none is a key pressed at once.
int FirstF2(const QString& folder, const QString& entryText, int pause = 0);

// A new process of the program on a program folder, at its login panel,
// then the login to the entry of that text up to the cashier panel painted
// (--login): prints "login <CPU seconds> <wall seconds> <names> <seconds>"
// of the login alone, the names its Charge box offers and the wall time
// they took when asked for at once, and ends. The first login of a
// process: nothing it reads is kept from an earlier one.
int LoginOnce(const QString& folder, const QString& entryText);
// What the Charge box of a login offered, and how long it took to tell.
struct NamesShown {
    int count = 0;
    double wall = 0;
};
// LoginOnce in a new process: the CPU and wall time it printed, and the
// names its Charge box offered.
Cost LoginInAProcess(const QString& folder, const QString& entryText = QStringLiteral("Toko"),
                     NamesShown* names = nullptr);
// Beside a login's figure: the wall time of its Charge box's names, read
// when the list is first used.
QString NamesNote(double seconds);

// FirstF2 in a new process on a program folder, as a shop meets it every
// morning: the CPU and wall time it printed.
Cost FirstF2InAProcess(const QString& folder, const QString& entryText = QStringLiteral("Toko"), int pause = 0);
