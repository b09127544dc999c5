#include "platform/backend.h"
#include "platform/spreadsheet.h"

#include "platform/form.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

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
// Lays the lines out top to bottom, starting a new page whenever one is full.
void paintLines(QPagedPaintDevice& device, QPainter& painter, const QStringList& lines, const QFont& font)
{
    painter.setFont(font);
    // A line wider than the page would lose its right-hand columns: the
    // font shrinks until the widest line fits.
    {
        const QFontMetrics wide(painter.font(), &device);
        int widest = 0;
        for (const QString& line : lines)
            widest = qMax(widest, wide.horizontalAdvance(line));
        const int pageWidth = painter.viewport().width();
        if (widest > pageWidth && font.pointSizeF() > 0) {
            QFont smaller = font;
            smaller.setPointSizeF(font.pointSizeF() * pageWidth / widest * 0.98);
            painter.setFont(smaller);
        }
    }
    const QFontMetrics fm(painter.font(), &device);
    const int lineHeight = fm.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int y = fm.ascent();
    for (const QString& line : lines) {
        if (y > pageHeight && y != fm.ascent()) {
            device.newPage();
            y = fm.ascent();
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
}
} // namespace

QString QtBackend::printDocument(const QStringList& lines, const QFont& font, bool landscape)
{
    const QPageLayout::Orientation orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageOrientation(orientation);
        QPainter painter;
        if (!painter.begin(&printer))
            throw std::runtime_error("Printer tidak dapat dibuka");
        paintLines(printer, painter, lines, font);
        painter.end();
        return QString();
    }
    // No printer on this machine: keep the print-out as a PDF file instead.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    const QString path =
        QDir(folder).filePath(QStringLiteral("Orvanta-%1.pdf")
                                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"))));
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setPageOrientation(orientation);
    QPainter painter;
    if (!painter.begin(&writer))
        throw std::runtime_error(QStringLiteral("Berkas PDF %1 tidak dapat ditulis").arg(path).toStdString());
    paintLines(writer, painter, lines, font);
    painter.end();
    return path;
}

QString OpenWorkbook(const Workbook& book, const QString& baseName)
{
    const QString path = Workbook::newFilePath(baseName);
    book.save(path);
    if (!Runtime::current()->backend().openDocument(path))
        throw std::runtime_error(QStringLiteral("Berkas %1 sudah ditulis, tetapi tidak ada program untuk membukanya")
                                     .arg(path)
                                     .toStdString());
    return path;
}

} // namespace platform
