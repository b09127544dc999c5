#include "cashier/keyup.h"

#include "platform/controls.h"
#include "platform/runtime.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace cashier {

namespace {

class KeyUpFilter : public QObject {
public:
    KeyUpFilter(QWidget* field, QString name, std::function<void()> handler)
        : QObject(field), m_name(std::move(name)), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            platform::runHandler(m_name, [this, watched] { keyUp(qobject_cast<platform::TextBox*>(watched)); });
        return QObject::eventFilter(watched, event);
    }

private:
    void keyUp(platform::TextBox* field)
    {
        if (!field) {
            m_handler();
            return;
        }
        QPointer<platform::TextBox> guard(field);
        const QString text = field->Text();
        const int cursor = field->cursorPosition();
        const int selStart = field->selectionStart();
        const int selLength = int(field->selectedText().size());
        m_handler();
        if (!guard)
            return;
        // Writing the typed text back runs the field's change handler, which
        // may recompute from it; the caret goes back afterwards.
        field->setText(text);
        if (selLength > 0) {
            // The anchor is where the selection did not end up with the caret.
            const int anchor = cursor == selStart ? selStart + selLength : selStart;
            field->setSelection(anchor, cursor - anchor);
        } else {
            field->setCursorPosition(cursor);
        }
    }

    QString m_name;
    std::function<void()> m_handler;
};

} // namespace

void OnKeyUp(QWidget* field, const QString& name, std::function<void()> handler)
{
    field->installEventFilter(new KeyUpFilter(field, name, std::move(handler)));
}

} // namespace cashier
