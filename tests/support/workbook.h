#pragma once
// A workbook of one sheet held whole in memory, cell by cell, and written
// through the program's own sheet writer: the reference an export written as
// its rows are read is compared with, and a sheet made by hand for a test.
#include "data/spreadsheet.h"

#include <QMap>

namespace platform {

class Workbook {
public:
    explicit Workbook(QString sheetName = QStringLiteral("Sheet1"));
    Cell& cell(int row, int col) { return m_cells[{row, col}]; }
    const Cell* find(int row, int col) const;
    void setValue(int row, int col, const QVariant& v) { cell(row, col).value = v; }
    // Applies to every cell of a rectangle (Range(...).Font.Bold and the like).
    void setBold(int row1, int col1, int row2, int col2, bool on = true);
    void setBorder(int row1, int col1, int row2, int col2, bool on = true);
    void setFont(int row1, int col1, int row2, int col2, const QString& name, double size);
    void setNumberFormat(int row1, int col1, int row2, int col2, const QString& format);
    // 0 for a column without a width of its own.
    double columnWidth(int col) const { return m_widths.value(col); }
    void setColumnBorder(int col1, int col2, bool on = true);
    void setColumnFont(int col1, int col2, const QString& name, double size);
    const ColumnStyle* columnStyle(int col) const;
    // Widens every used column to its longest shown text.
    void autoFit();
    // The same for the columns col1 to col2 only.
    void autoFit(int col1, int col2);
    int lastRow() const;
    int lastColumn() const;
    // Writes the file; throws std::runtime_error with the reason on failure.
    void save(const QString& path) const;

private:
    QString m_sheet;
    QMap<QPair<int, int>, Cell> m_cells;
    QMap<int, double> m_widths;
    QMap<int, ColumnStyle> m_columns;
};

} // namespace platform
