// The reliability tests: hostile text in every field of every window, a
// full or deleted database file told in words, and a server that goes away
// and comes back. (Saves killed at random moments are the cashier model's
// tests.)
#include "support/testserver.h"

#include <QApplication>

int runHostileInputTests(int argc, char** argv);
int runFailureTests(int argc, char** argv);
int runServerLostTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = OnFiles([&] { return runHostileInputTests(argc, argv) + runFailureTests(argc, argv); });
    failed += OnBothEngines([&] { return runServerLostTests(argc, argv); });
    return failed;
}
