// The catalogue's windows. (Its widget-free module is tested in model/,
// without a window.)
#include <QApplication>
#include <QTest>

int runWindowTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication a(argc, argv);
    return runWindowTests(argc, argv);
}
