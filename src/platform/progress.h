#pragma once
// A small framed box over the middle of a window that tells the operator
// what a long piece of work on the window thread is doing and how far it
// has come. Each report lets the window system paint, a few times a second
// at most.
//
// Two kinds: work the operator cannot stop (the first login's preparation)
// shows its box once it has gone on for a moment, so quick work shows
// nothing, and the operator's keys and clicks wait until it is done; work
// that can be stopped (a print-out, an export) shows its box at once with a
// Cancel button, Escape presses it, and every other key or click on the
// program's windows is dropped while the box is up, as a modal box would
// hold them off: a second Ctrl+E starts no second print-out.
#include "data/work.h"

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QLabel;
class QObject;
class QProgressBar;
class QWidget;

namespace platform {

class ProgressWindow : public ProgressBox {
public:
    // title and heading: the lines above what is being done, for the whole
    // work. Without cancelText the work cannot be stopped.
    ProgressWindow(QWidget* owner, const QString& title, const QString& heading, const QString& cancelText = QString());
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    bool report(const QString& what, double done) override;

private:
    class InputGuard;
    void build();

    QWidget* m_owner;
    QString m_title;
    QString m_heading;
    QString m_cancelText;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<InputGuard> m_guard;
    QLabel* m_what = nullptr;
    QProgressBar* m_bar = nullptr;
    QElapsedTimer m_started;
    QElapsedTimer m_sincePaint;
    bool m_cancelled = false;
};

} // namespace platform
