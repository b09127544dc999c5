#include "platform/spreadsheet.h"

#include "platform/runtime.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <stdexcept>
#include <xlsxwriter.h>

namespace platform {

Workbook::Workbook(QString sheetName) : m_sheet(std::move(sheetName)) {}

const Cell* Workbook::find(int row, int col) const
{
    auto it = m_cells.constFind({row, col});
    return it == m_cells.constEnd() ? nullptr : &it.value();
}

void Workbook::setBold(int row1, int col1, int row2, int col2, bool on)
{
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            cell(r, c).bold = on;
}

void Workbook::setBorder(int row1, int col1, int row2, int col2, bool on)
{
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            cell(r, c).border = on;
}

void Workbook::setFont(int row1, int col1, int row2, int col2, const QString& name, double size)
{
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c) {
            cell(r, c).fontName = name;
            cell(r, c).fontSize = size;
        }
}

void Workbook::setNumberFormat(int row1, int col1, int row2, int col2, const QString& format)
{
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            cell(r, c).numberFormat = format;
}

int Workbook::lastRow() const
{
    int last = 0;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        last = qMax(last, it.key().first);
    return last;
}

int Workbook::lastColumn() const
{
    int last = 0;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        last = qMax(last, it.key().second);
    return last;
}

void Workbook::autoFit()
{
    QMap<int, int> longest;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        longest[it.key().second] = qMax(longest.value(it.key().second), int(it.value().value.toString().size()));
    for (auto it = longest.constBegin(); it != longest.constEnd(); ++it)
        m_widths[it.key()] = qMax(8.43, it.value() * 1.15 + 2);
}

void Workbook::save(const QString& path) const
{
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb)
        throw std::runtime_error(QStringLiteral("Berkas %1 tidak dapat dibuat").arg(path).toStdString());
    const QByteArray sheetName = m_sheet.toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName.constData());
    QHash<QString, lxw_format*> formats;
    auto formatOf = [&](const Cell& c) -> lxw_format* {
        if (c.numberFormat.isEmpty() && !c.bold && c.fontName.isEmpty() && c.fontSize <= 0 && !c.border)
            return nullptr;
        const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                                .arg(c.numberFormat)
                                .arg(c.bold)
                                .arg(c.fontName)
                                .arg(c.fontSize)
                                .arg(c.border);
        if (lxw_format* f = formats.value(key))
            return f;
        lxw_format* f = workbook_add_format(wb);
        if (!c.numberFormat.isEmpty())
            format_set_num_format(f, c.numberFormat.toUtf8().constData());
        if (c.bold)
            format_set_bold(f);
        if (!c.fontName.isEmpty())
            format_set_font_name(f, c.fontName.toUtf8().constData());
        if (c.fontSize > 0)
            format_set_font_size(f, c.fontSize);
        if (c.border)
            format_set_border(f, LXW_BORDER_THIN);
        formats.insert(key, f);
        return f;
    };
    for (auto it = m_widths.constBegin(); it != m_widths.constEnd(); ++it)
        worksheet_set_column(ws, lxw_col_t(it.key() - 1), lxw_col_t(it.key() - 1), it.value(), nullptr);
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it) {
        const lxw_row_t r = lxw_row_t(it.key().first - 1);
        const lxw_col_t c = lxw_col_t(it.key().second - 1);
        const Cell& cell = it.value();
        lxw_format* f = formatOf(cell);
        const QVariant& v = cell.value;
        const int type = v.typeId();
        if (!v.isValid() || v.isNull()) {
            if (f)
                worksheet_write_blank(ws, r, c, f);
        } else if (type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong ||
                   type == QMetaType::UInt || type == QMetaType::ULongLong || type == QMetaType::Float) {
            worksheet_write_number(ws, r, c, v.toDouble(), f);
        } else {
            worksheet_write_string(ws, r, c, v.toString().toUtf8().constData(), f);
        }
    }
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR)
        throw std::runtime_error(QStringLiteral("Berkas %1 tidak dapat ditulis: %2")
                                     .arg(path, QString::fromUtf8(lxw_strerror(err)))
                                     .toStdString());
}

QString Workbook::newFilePath(const QString& baseName)
{
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("%1-%2.xlsx")
                      .arg(baseName, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"))));
}

} // namespace platform
