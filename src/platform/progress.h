#pragma once
// A small framed box over the middle of a window that tells the operator
// what a long piece of work on the window thread is doing and how far it
// has come. It is made and shown at a report once the work has gone on for
// a moment, so quick work shows nothing; each report lets the window system
// paint it (the operator's keys and clicks wait until the work is done).
#include <QElapsedTimer>
#include <QString>
#include <memory>

class QLabel;
class QProgressBar;
class QWidget;

namespace platform {

class ProgressWindow {
public:
    // title and heading: the lines above what is being done, for the whole
    // work.
    ProgressWindow(QWidget* owner, const QString& title, const QString& heading);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // What is being done now and the share of all the work done (0 to 1;
    // below 0: work that cannot tell, shown at once).
    void report(const QString& what, double done);

private:
    QWidget* m_owner;
    QString m_title;
    QString m_heading;
    std::unique_ptr<QWidget> m_window;
    QLabel* m_what = nullptr;
    QProgressBar* m_bar = nullptr;
    QElapsedTimer m_started;
    QElapsedTimer m_sincePaint;
};

} // namespace platform
