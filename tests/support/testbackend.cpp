#include "support/testbackend.h"

#include "platform/form.h"
#include "platform/progress.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QTest>

namespace {

void failOutsideTransaction(const char* dialog, const QString& text)
{
    platform::Runtime* rt = platform::Runtime::current();
    if (rt && rt->writeTransactionOpen())
        QTest::qFail(QStringLiteral("%1 opened inside a write transaction: %2")
                         .arg(QLatin1String(dialog), text)
                         .toLocal8Bit()
                         .constData(),
                     __FILE__, __LINE__);
}

} // namespace

int TestBackend::messageBox(platform::MsgKind kind, const QString& prompt, const QString& title)
{
    failOutsideTransaction("message box", prompt);
    messages.append({kind, prompt, title});
    if (kind != platform::MsgKind::Question)
        return platform::MsgOK;
    if (answers.isEmpty()) {
        QTest::qFail(QStringLiteral("unscripted question: %1").arg(prompt).toLocal8Bit().constData(), __FILE__,
                     __LINE__);
        return platform::MsgCancel;
    }
    return answers.takeFirst();
}

QString TestBackend::inputBox(const QString& prompt, const QString&, const QString& value)
{
    failOutsideTransaction("input box", prompt);
    return inputAnswers.isEmpty() ? value : inputAnswers.takeFirst();
}

QString TestBackend::fileDialog(bool, QWidget*, const QString& filter, const QString& title, const QString&)
{
    failOutsideTransaction("file dialog", title);
    fileFilters << filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

void TestBackend::showModal(platform::Form* form)
{
    // As the real show: the window's events have their own error boundary,
    // the window is modal while shown, and the show returns once it hides.
    platform::NestedLoopScope scope;
    shownModal << form->objectName();
    QWidget* before = QApplication::activeWindow();
    const bool wasModal = form->testAttribute(Qt::WA_ShowModal);
    form->setAttribute(Qt::WA_ShowModal, true);
    form->show();
    QApplication::setActiveWindow(form);
    if (auto script = scripts.value(form->objectName()))
        script(form);
    form->hide();
    form->setAttribute(Qt::WA_ShowModal, wasModal);
    if (before)
        QApplication::setActiveWindow(before);
}

bool TestBackend::openDocument(const QString& target)
{
    opened << target;
    boxesAtOpen << boxesShown;
    return openSucceeds;
}

QString TestBackend::printDocument(const QStringList& lines, const QFont&, bool landscape, const QString& name,
                                   const platform::PageProgress& page)
{
    // Pages of 60 lines, told as a printer's would be.
    const int pages = int((lines.size() + 59) / 60);
    for (int p = 1; p <= pages; ++p)
        if (page && !page(p, pages)) {
            ++withdrawnPrints;
            return QString();
        }
    printed << lines;
    printedLandscape << landscape;
    printedNames << name;
    return printNote;
}

namespace {
class RecordingBox : public platform::ProgressBox {
public:
    explicit RecordingBox(TestBackend& ui) : m_ui(ui) { ++m_ui.boxesShown; }
    ~RecordingBox() override { --m_ui.boxesShown; }
    bool report(const QString& what, double) override
    {
        m_ui.progressReports << what;
        return m_ui.cancelAtReport <= 0 || ++m_reports < m_ui.cancelAtReport;
    }

private:
    TestBackend& m_ui;
    int m_reports = 0;
};
} // namespace

std::unique_ptr<platform::ProgressBox> TestBackend::progressBox(QWidget*, const QString& title, const QString&,
                                                                const QString&)
{
    progressTitles << title;
    return std::make_unique<RecordingBox>(*this);
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
    boxesAtOpen.clear();
    printed.clear();
    printedLandscape.clear();
    printedNames.clear();
    withdrawnPrints = 0;
    progressTitles.clear();
    progressReports.clear();
    cancelAtReport = 0;
}
