// The operators' rules with no window.
#include <QCoreApplication>

int runManageModelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runManageModelTests(argc, argv);
}
