#include "support/workbook.h"

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

void Workbook::setColumnBorder(int col1, int col2, bool on)
{
    for (int c = col1; c <= col2; ++c)
        m_columns[c].border = on;
}

void Workbook::setColumnFont(int col1, int col2, const QString& name, double size)
{
    for (int c = col1; c <= col2; ++c) {
        m_columns[c].fontName = name;
        m_columns[c].fontSize = size;
    }
}

const ColumnStyle* Workbook::columnStyle(int col) const
{
    auto it = m_columns.constFind(col);
    return it == m_columns.constEnd() ? nullptr : &it.value();
}

void Workbook::autoFit()
{
    autoFit(1, lastColumn());
}

void Workbook::autoFit(int col1, int col2)
{
    QMap<int, int> longest;
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it) {
        const int col = it.key().second;
        if (col >= col1 && col <= col2)
            longest[col] = qMax(longest.value(col), ShownLength(it.value()));
    }
    for (auto it = longest.constBegin(); it != longest.constEnd(); ++it)
        m_widths[it.key()] = FittedWidth(it.value());
}

void Workbook::save(const QString& path) const
{
    SheetWriter sheet(path, m_sheet);
    QList<int> columns = m_widths.keys();
    for (int col : m_columns.keys())
        if (!columns.contains(col))
            columns << col;
    for (int col : columns)
        sheet.setColumn(col, m_widths.value(col), columnStyle(col));
    // A cell takes its column's style where it sets none of its own. The
    // cells lie by row, then column: the order the sheet is written in.
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it) {
        Cell c = it.value();
        if (const ColumnStyle* s = columnStyle(it.key().second)) {
            if (c.fontName.isEmpty())
                c.fontName = s->fontName;
            if (c.fontSize <= 0)
                c.fontSize = s->fontSize;
            c.border = c.border || s->border;
        }
        sheet.write(it.key().first, it.key().second, c);
    }
    sheet.close();
}

} // namespace platform
