#include "cashier/keyup.h"

#include "platform/runtime.h"

#include <QEvent>
#include <QKeyEvent>
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
            platform::runHandler(m_name, m_handler);
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_name;
    std::function<void()> m_handler;
};

} // namespace

void OnKeyUp(QWidget* field, const QString& name, std::function<void()> handler)
{
    field->installEventFilter(new KeyUpFilter(field, name, std::move(handler)));
}

} // namespace cashier
