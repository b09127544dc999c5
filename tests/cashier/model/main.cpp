// The cashier's widget-free code with no window: the line and transaction
// arithmetic, the receipt lines, the journal and stock rows of a save, and
// saves that die at any moment or meet another workstation's, on database
// files and on a server. The executable is also its own child process:
// started with "--save-loop" or "--save-n" it saves sales on a database
// until it is killed or has saved the given number.
#include "savechild.h"
#include "support/testserver.h"

#include <QCoreApplication>
#include <cstring>

int runCashierModelTests(int argc, char** argv);
int runCrashTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && std::strncmp(argv[1], "--save-", 7) == 0)
        return runSaveChild(app.arguments());
    return OnBothEngines([&] {
        int failed = runCashierModelTests(argc, argv);
        failed += runCrashTests(argc, argv);
        return failed;
    });
}
