#include "platform/progress.h"

#include "platform/backend.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

namespace {
// Often enough to look alive and to hear Cancel at once, seldom enough to
// cost the work nothing.
constexpr qint64 kPaintEveryMs = 50;
// Work done sooner shows no window at all.
constexpr qint64 kShowAfterMs = 300;
} // namespace

// While work that can be stopped runs, the operator's keys and clicks reach
// only its box: Escape stands for Cancel, everything else aimed at the
// program's windows is dropped (it would start a second print-out, or edit
// what is being printed). Painting and timers go on.
class ProgressWindow::InputGuard : public QObject {
public:
    InputGuard(QWidget* box, bool& cancelled) : m_box(box), m_cancelled(cancelled) { qApp->installEventFilter(this); }
    ~InputGuard() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Shortcut:
            // A shortcut of the box's own button (its access key) still
            // presses it.
            return !inBox(receiver);
        case QEvent::KeyPress:
            if (receiver->isWidgetType() && !inBox(receiver) &&
                static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                m_cancelled = true;
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close:
            // The window-system's own objects pass the event on to the
            // widget it is for, where it is judged.
            return receiver->isWidgetType() && !inBox(receiver);
        default: return false;
        }
    }

private:
    // The box itself, and a message box that the work itself opened over
    // it (a failure, where a file lies): the operator answers those.
    bool inBox(QObject* o) const
    {
        const QWidget* modal = QApplication::activeModalWidget();
        if (modal && o->isWidgetType() && modal != m_box->window() && static_cast<QWidget*>(o)->window() == modal)
            return true;
        for (; o; o = o->parent())
            if (o == m_box)
                return true;
        return false;
    }

    QWidget* m_box;
    bool& m_cancelled;
};

ProgressWindow::ProgressWindow(QWidget* owner, const QString& title, const QString& heading, const QString& cancelText)
    : m_owner(owner), m_title(title), m_heading(heading), m_cancelText(cancelText)
{
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::build()
{
    // A framed box over the middle of the owner, inside it: it takes
    // neither the focus nor the keys from the window the operator works in,
    // and goes with it.
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
    if (!m_cancelText.isEmpty()) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        auto* cancel = new QPushButton(m_cancelText, box);
        cancel->setFocusPolicy(Qt::NoFocus);
        QObject::connect(cancel, &QPushButton::clicked, cancel, [this] { m_cancelled = true; });
        row->addWidget(cancel);
        layout->addLayout(row);
        m_guard = std::make_unique<InputGuard>(box, m_cancelled);
    }
    box->setMinimumWidth(460);
    box->adjustSize();
    if (m_owner)
        box->move((m_owner->width() - box->width()) / 2, (m_owner->height() - box->height()) / 2);
    box->show();
    box->raise();
}

bool ProgressWindow::report(const QString& what, double done)
{
    if (!m_started.isValid())
        m_started.start();
    const bool stoppable = !m_cancelText.isEmpty();
    // Work that cannot tell how far it is (one long statement on a server)
    // is shown at once: no report comes until it is done. So is work the
    // operator may want to stop.
    const bool untold = done < 0;
    if (!m_window && !untold && !stoppable && m_started.elapsed() < kShowAfterMs)
        return true;
    const bool first = !m_window;
    if (first)
        build();
    const bool newText = m_what->text() != what;
    m_what->setText(what);
    if (untold && stoppable)
        m_bar->setRange(0, 0); // moving, for a count without an end
    if (!untold) {
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(qBound(0.0, done, 1.0) * 1000));
    }
    if (first || (newText && !stoppable) || !m_sincePaint.isValid() || m_sincePaint.elapsed() >= kPaintEveryMs) {
        // Work that can be stopped hears the operator here (its guard holds
        // off everything else); other work lets nothing of theirs through.
        QApplication::processEvents(stoppable ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        m_sincePaint.restart();
    }
    return !m_cancelled;
}

// The box is made from the texts before the work keeps its copy of them.
Work::Work(QWidget* owner, const WorkTexts& texts)
    : Work(Runtime::current()->backend().progressBox(owner, texts.title, texts.heading, texts.cancel), texts)
{
}

} // namespace platform
