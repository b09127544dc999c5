#pragma once
// Everything that waits for a person or leaves the program goes through one
// backend: message boxes, input and file dialogs, modal windows, printing and
// opening documents. The real backend uses Qt; tests install a scripted one.
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace platform {

class Form;
class ProgressBox;
// Told before each page is painted (from 1); false stops the print-out.
using PageProgress = std::function<bool(int page, int pages)>;

enum class MsgKind { Info, Warning, Question };

// The titles of the message boxes.
inline const QString MsgTitleInfo = QStringLiteral("Informasi");
inline const QString MsgTitleWarn = QStringLiteral("Peringatan");
inline const QString MsgTitleConfirm = QStringLiteral("Konfirmasi");
enum MsgResult { MsgOK = 1, MsgCancel = 2 };

class Backend {
public:
    virtual ~Backend() = default;
    // Returns MsgOK or MsgCancel; a closed box counts as Cancel.
    virtual int messageBox(MsgKind kind, const QString& prompt, const QString& title) = 0;
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& value) = 0;
    // Filter in the "description|pattern|..." form; returns the path or "".
    virtual QString fileDialog(bool save, QWidget* owner, const QString& filter, const QString& title,
                               const QString& folder) = 0;
    // Shows the window modally and returns once it is hidden again.
    virtual void showModal(Form* form) = 0;
    // False when no program of the desktop took the document.
    virtual bool openDocument(const QString& target) = 0;
    // One finished print job for the system printer, on portrait or
    // landscape pages, under the name the print queue shows. Returns a note
    // for the operator when the job did not go to a printer (the PDF path),
    // or "". A job stopped by `page` is withdrawn whole: the printer gets no
    // part of it and no PDF file is left; "" then.
    virtual QString printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                                  const PageProgress& page) = 0;
    // The box of a long piece of work over the owner (progress.h); with a
    // cancel text the operator can stop the work.
    virtual std::unique_ptr<ProgressBox> progressBox(QWidget* owner, const QString& title, const QString& heading,
                                                     const QString& cancelText) = 0;
};

class QtBackend : public Backend {
public:
    int messageBox(MsgKind kind, const QString& prompt, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& value) override;
    QString fileDialog(bool save, QWidget* owner, const QString& filter, const QString& title,
                       const QString& folder) override;
    void showModal(Form* form) override;
    bool openDocument(const QString& target) override;
    QString printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                          const PageProgress& page) override;
    std::unique_ptr<ProgressBox> progressBox(QWidget* owner, const QString& title, const QString& heading,
                                             const QString& cancelText) override;
};

// Turns "Cdb files|*.cdb|All|*.*" into Qt's "Cdb files (*.cdb);;All (*.*)".
QString qtFilter(const QString& filter);
// The ending a save dialog gives a name typed without one: that of the
// filter's first plain pattern ("*.cdb" gives "cdb"), or "".
QString defaultSuffix(const QString& filter);

} // namespace platform
