#include "support/testbackend.h"

#include "platform/form.h"

#include <QApplication>
#include <QTest>

int TestBackend::messageBox(platform::MsgKind kind, const QString& prompt, const QString& title)
{
    messages.append({kind, prompt, title});
    if (kind != platform::MsgKind::Question)
        return platform::MsgOK;
    return answers.isEmpty() ? platform::MsgOK : answers.takeFirst();
}

QString TestBackend::inputBox(const QString&, const QString&, const QString& value)
{
    return inputAnswers.isEmpty() ? value : inputAnswers.takeFirst();
}

QString TestBackend::fileDialog(bool, QWidget*, const QString& filter, const QString&, const QString&)
{
    fileFilters << filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

void TestBackend::showModal(platform::Form* form)
{
    shownModal << form->objectName();
    QWidget* before = QApplication::activeWindow();
    form->show();
    QApplication::setActiveWindow(form);
    if (auto script = scripts.value(form->objectName()))
        script(form);
    form->hide();
    if (before)
        QApplication::setActiveWindow(before);
}

void TestBackend::openDocument(const QString& target)
{
    opened << target;
}

QString TestBackend::printDocument(const QStringList& lines, const QFont&)
{
    printed << lines;
    return QString();
}

QStringList TestBackend::prompts() const
{
    QStringList out;
    for (const RecordedMessage& m : messages)
        out << m.prompt;
    return out;
}

QString TestBackend::lastPrompt() const
{
    return messages.isEmpty() ? QString() : messages.last().prompt;
}

void TestBackend::clear()
{
    messages.clear();
    shownModal.clear();
    opened.clear();
    printed.clear();
}
