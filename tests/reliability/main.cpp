// The reliability tests: saves killed at random moments and two workstations
// saving at once, on a file and on a server, hostile text in every field of
// every window, and a full or deleted database file told in words. The executable is also its own child process:
// started with
// "--save-loop" or "--save-n" it saves sales on a database file until it is
// killed or has saved the given number.
#include "savechild.h"
#include "support/testserver.h"

#include <QApplication>
#include <cstring>

int runCrashTests(int argc, char** argv);
int runHostileInputTests(int argc, char** argv);
int runFailureTests(int argc, char** argv);

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strncmp(argv[1], "--save-", 7) == 0) {
        QCoreApplication app(argc, argv);
        return runSaveChild(app.arguments());
    }
    QApplication app(argc, argv);
    int failed = OnBothEngines([&] { return runCrashTests(argc, argv); });
    failed += runHostileInputTests(argc, argv);
    failed += runFailureTests(argc, argv);
    return failed;
}
