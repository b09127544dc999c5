#include "platform/backend.h"
#include "data/spreadsheet.h"

#include "data/failure.h"
#include "data/owntext.h"
#include "platform/form.h"
#include "platform/printer.h"
#include "platform/progress.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QUrl>
#include <dlfcn.h>

namespace platform {

QString qtFilter(const QString& filter)
{
    QString text = filter;
    text.replace(QChar(0), QLatin1Char('|'));
    const QStringList parts = text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList out;
    if (parts.size() == 1)
        return parts.first();
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

QString defaultSuffix(const QString& filter)
{
    QString text = filter;
    text.replace(QChar(0), QLatin1Char('|'));
    for (const QString& part : text.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.startsWith(QLatin1String("*.")) && pattern.size() > 2 &&
            !pattern.mid(2).contains(QRegularExpression(QStringLiteral("[*?;\\s\\[]"))))
            return pattern.mid(2);
    }
    return QString();
}

int QtBackend::messageBox(MsgKind kind, const QString& prompt, const QString& title)
{
    assertNoWriteTransaction("message box");
    NestedLoopScope scope;
    QWidget* parent = QApplication::activeWindow();
    switch (kind) {
    case MsgKind::Info: QMessageBox::information(parent, title, prompt); return MsgOK;
    case MsgKind::Warning: QMessageBox::warning(parent, title, prompt); return MsgOK;
    case MsgKind::Question: {
        QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::Ok | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? MsgOK : MsgCancel;
    }
    }
    return MsgCancel;
}

QString QtBackend::inputBox(const QString& prompt, const QString& title, const QString& value)
{
    assertNoWriteTransaction("input box");
    NestedLoopScope scope;
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, value, &ok);
    return ok ? text : QString();
}

QString QtBackend::fileDialog(bool save, QWidget* owner, const QString& filter, const QString& title,
                              const QString& folder)
{
    assertNoWriteTransaction("file dialog");
    NestedLoopScope scope;
    const QString dir = QDir(folder).exists() ? folder : QDir::homePath();
    if (save) {
        // A name typed without an ending gets the filter's, and the dialog
        // asks before it replaces a file of that full name.
        QFileDialog dialog(owner, title, dir, qtFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix(filter));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
    return QFileDialog::getOpenFileName(owner, title, dir, qtFilter(filter));
}

void QtBackend::showModal(Form* form)
{
    NestedLoopScope scope;
    form->exec();
}

bool QtBackend::openDocument(const QString& target)
{
    const QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

namespace {
// Lays the lines out top to bottom, starting a new page whenever one is full;
// false when `page` stopped it before a page.
bool paintLines(QPagedPaintDevice& device, QPainter& painter, const QStringList& lines, const QFont& font,
                const PageProgress& page)
{
    painter.setFont(font);
    const int pageWidth = painter.viewport().width();
    // A line wider than the page would lose its right-hand columns: the
    // font shrinks until the widest line fits.
    {
        const qreal widest = WidestLine(lines, QFontMetricsF(painter.font(), &device));
        if (widest > pageWidth && font.pointSizeF() > 0) {
            QFont smaller = font;
            smaller.setPointSizeF(font.pointSizeF() * pageWidth / widest * 0.98);
            painter.setFont(smaller);
        }
    }
    const QFontMetrics fm(painter.font(), &device);
    const int lineHeight = qMax(1, fm.lineSpacing());
    const int pageHeight = painter.viewport().height();
    const int dashesAcross = pageWidth / qMax(1, fm.horizontalAdvance(QLatin1Char('-')));
    // A page takes every line whose baseline is on it, and at least one.
    const qsizetype perPage = qMax(1, (pageHeight - fm.ascent()) / lineHeight + 1);
    const int pages = int((lines.size() + perPage - 1) / perPage);
    int pageNo = 1;
    if (!page(pageNo, pages))
        return false;
    int y = fm.ascent();
    for (const QString& line : lines) {
        if (y > pageHeight && y != fm.ascent()) {
            if (!page(++pageNo, pages))
                return false;
            device.newPage();
            y = fm.ascent();
        }
        painter.drawText(0, y, IsRuleLine(line) ? line.left(dashesAcross) : line);
        y += lineHeight;
    }
    return true;
}

// Hands a finished document to the print queue: the system's print service
// is loaded where the printer came from, as Qt's own printing does.
void queueFile(const QString& printer, const QString& file, const QString& title, const QPageLayout& layout)
{
    struct Option {
        char* name;
        char* value;
    };
    using PrintFile = int (*)(const char*, const char*, const char*, int, Option*);
    static PrintFile printFile = [] {
        void* cups = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        return cups ? reinterpret_cast<PrintFile>(::dlsym(cups, "cupsPrintFile")) : nullptr;
    }();
    if (!printFile)
        throw Failure(
            OwnText("cPrinterNoService", QStringLiteral("Printer %1 tidak dapat dipakai: layanan cetak tidak ada"))
                .arg(printer));
    QByteArray media = layout.pageSize().key().toLocal8Bit();
    QByteArray mediaName("media"), landscapeName("landscape"), empty("");
    QList<Option> options{{mediaName.data(), media.data()}};
    if (layout.orientation() == QPageLayout::Landscape)
        options.append(Option{landscapeName.data(), empty.data()});
    // The queue is named without the instance a printer's name may carry.
    const QByteArray queue = printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray path = QFile::encodeName(file);
    const QByteArray name = title.toLocal8Bit();
    if (printFile(queue.constData(), path.constData(), name.constData(), int(options.size()), options.data()) == 0)
        throw Failure(OwnText("cPrinterRefused", QStringLiteral("Printer %1 tidak menerima hasil cetak")).arg(printer));
}

QString stamped(const QString& folder, const QString& suffix)
{
    return QDir(folder).filePath(
        QStringLiteral("Orvanta-%1.%2")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")), suffix));
}
} // namespace

QString QtBackend::printDocument(const QStringList& lines, const QFont& font, bool landscape, const QString& name,
                                 const PageProgress& page)
{
    const PageProgress onPage = page ? page : [](int, int) { return true; };
    const QPageLayout::Orientation orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        // The printer's own pages go into a file first and the queue gets
        // the file once it is whole: a print-out stopped halfway must not
        // reach the printer, and the print system takes back no job it has
        // begun to receive.
        const QString file = stamped(QDir::tempPath(), QStringLiteral("prn"));
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageOrientation(orientation);
        printer.setDocName(name);
        printer.setOutputFileName(file);
        QPainter painter;
        if (!painter.begin(&printer))
            throw Failure(
                OwnText("cPrinterUnusable", QStringLiteral("Printer %1 tidak dapat dipakai")).arg(info.printerName()));
        const bool whole = paintLines(printer, painter, lines, font, onPage);
        painter.end();
        struct Remove {
            QString path;
            ~Remove() { QFile::remove(path); }
        } remove{file};
        if (whole)
            queueFile(info.printerName(), file, name, printer.pageLayout());
        return QString();
    }
    // No printer on this machine: keep the print-out as a PDF file instead.
    const QString path = stamped(DocumentsFolder(), QStringLiteral("pdf"));
    QPdfWriter writer(path);
    writer.setPageLayout(PrintPageLayout(landscape));
    QPainter painter;
    if (!painter.begin(&writer))
        throw Failure(OwnText("cPdfNotWritten",
                              QStringLiteral("Tidak ada printer terpasang, dan berkas PDF %1 tidak dapat ditulis"))
                          .arg(path));
    const bool whole = paintLines(writer, painter, lines, font, onPage);
    painter.end();
    if (!whole) {
        // Half a report would pass for the whole of it.
        QFile::remove(path);
        return QString();
    }
    return path;
}

std::unique_ptr<ProgressBox> QtBackend::progressBox(QWidget* owner, const QString& title, const QString& heading,
                                                    const QString& cancelText)
{
    return std::make_unique<ProgressWindow>(owner, title, heading, cancelText);
}

QString OpenWorkbook(const std::function<void(const QString& path)>& write, const QString& baseName)
{
    const QString path = NewExportFilePath(baseName);
    try {
        write(path);
    } catch (const Cancelled&) {
        // Stopped by the operator: the writer left no file, and there is
        // nothing to open or to tell.
        return QString();
    }
    if (Work* work = Work::current())
        work->finish();
    // The file is there: a machine without a program for it is no failure.
    if (!Runtime::current()->backend().openDocument(path))
        Runtime::current()->backend().messageBox(
            MsgKind::Info,
            OwnText(
                "cFileSaved",
                QStringLiteral("Berkas sudah disimpan di:\n%1\nTidak ada program di komputer ini untuk membukanya."))
                .arg(QDir::toNativeSeparators(path)),
            MsgTitleInfo);
    return path;
}

} // namespace platform
