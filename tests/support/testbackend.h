#pragma once
// A backend that answers for the operator: message boxes take scripted
// answers and are recorded, modal windows run the test's script for that
// window, file dialogs take scripted paths, print jobs and opened documents
// are captured. What the program must never do fails the running test: a
// question that the test did not answer, a message, input or file dialog
// while a write transaction is open.
#include "platform/backend.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>

namespace platform {
class Form;
}

struct RecordedMessage {
    platform::MsgKind kind;
    QString prompt;
    QString title;
};

class TestBackend : public platform::Backend {
public:
    int messageBox(platform::MsgKind kind, const QString& prompt, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& value) override;
    QString fileDialog(bool save, QWidget* owner, const QString& filter, const QString& title,
                       const QString& folder) override;
    void showModal(platform::Form* form) override;
    bool openDocument(const QString& target) override;
    QString printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                          const platform::PageProgress& page) override;
    std::unique_ptr<platform::ProgressBox> progressBox(QWidget* owner, const QString& title, const QString& heading,
                                                       const QString& cancelText) override;

    // Answers for question boxes, taken in order; a question with none left
    // fails the test (and is answered Cancel).
    QList<int> answers;
    QList<RecordedMessage> messages;
    // Scripts by window name, run inside the window's modal show as the
    // operator's events would be (with their own error boundary); a window
    // without one is shown and closed again.
    QHash<QString, std::function<void(platform::Form*)>> scripts;
    QStringList shownModal;
    // Paths the file dialogs answer, in order; "" is a cancelled dialog.
    QStringList fileAnswers;
    QStringList fileFilters;
    QStringList opened;
    // What opening a document answers.
    bool openSucceeds = true;
    QStringList inputAnswers;
    QList<QStringList> printed;
    // What a print job answers: "" as on a machine with a printer, a path as
    // where a PDF file took its place.
    QString printNote;
    // The orientation of each print job (true: landscape).
    QList<bool> printedLandscape;
    // The name each print job carries into the print queue.
    QStringList printedNames;
    // Print jobs withdrawn while their pages were told (a page answered
    // "stop"); they are not in `printed`.
    int withdrawnPrints = 0;
    // The boxes of long work: the title of each, and every report of any
    // box. A box's report numbered cancelAtReport (from 1) answers Cancel,
    // as an operator pressing it then; 0 never does.
    QStringList progressTitles;
    // Boxes of long work standing now, and when each document was opened.
    int boxesShown = 0;
    QList<int> boxesAtOpen;
    QStringList progressReports;
    int cancelAtReport = 0;

    QStringList prompts() const;
    QString lastPrompt() const;
    void clear();
};
