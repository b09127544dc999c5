// The catalogue's tests: the widget-free module, then the windows.
#include <QApplication>
#include <QTest>

int runModelTests(int argc, char** argv);
int runWindowTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    int failed = runModelTests(argc, argv);
    failed += runWindowTests(argc, argv);
    return failed;
}
