#include "platform/progress.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace platform {

namespace {
// Often enough to look alive, seldom enough to cost the work nothing.
constexpr qint64 kPaintEveryMs = 50;
// Work done sooner shows no window at all.
constexpr qint64 kShowAfterMs = 300;
} // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title, const QString& heading)
    : m_owner(owner), m_title(title), m_heading(heading)
{
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::report(const QString& what, double done)
{
    if (!m_started.isValid())
        m_started.start();
    // Work that cannot tell how far it is (one long statement on a server)
    // is shown at once: no report comes until it is done.
    const bool untold = done < 0;
    if (!m_window && !untold && m_started.elapsed() < kShowAfterMs)
        return;
    const bool first = !m_window;
    if (first) {
        // A framed box over the middle of the owner, inside it: it takes
        // neither the focus nor the keys from the window the operator works
        // in, and goes with it.
        auto* box = new QFrame(m_owner);
        m_window.reset(box);
        box->setFrameStyle(QFrame::Panel | QFrame::Raised);
        box->setLineWidth(2);
        box->setAutoFillBackground(true);
        box->setFocusPolicy(Qt::NoFocus);
        auto* layout = new QVBoxLayout(box);
        auto* title = new QLabel(m_title, box);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        layout->addWidget(title);
        layout->addWidget(new QLabel(m_heading, box));
        m_what = new QLabel(box);
        layout->addWidget(m_what);
        m_bar = new QProgressBar(box);
        m_bar->setRange(0, 1000);
        layout->addWidget(m_bar);
        box->setMinimumWidth(460);
        box->adjustSize();
        if (m_owner)
            box->move((m_owner->width() - box->width()) / 2, (m_owner->height() - box->height()) / 2);
        box->show();
        box->raise();
    }
    const bool newText = m_what->text() != what;
    m_what->setText(what);
    if (!untold)
        m_bar->setValue(int(qBound(0.0, done, 1.0) * 1000));
    if (first || newText || !m_sincePaint.isValid() || m_sincePaint.elapsed() >= kPaintEveryMs) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sincePaint.restart();
    }
}

} // namespace platform
