#pragma once
// A workbook of one sheet of cells: values, number formats, fonts, borders
// and column widths, written as an .xlsx file. Cells are 1-based, as the
// exports address them. A QDate value is written as a date; without a number
// format of its own it shows in the spreadsheet program's short date form.
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace platform {

struct Cell {
    QVariant value;
    QString numberFormat;
    bool bold = false;
    QString fontName;
    double fontSize = 0;
    bool border = false;
};

// The style of whole columns (EntireColumn): every cell of them, written or
// empty, takes it unless the cell sets its own.
struct ColumnStyle {
    QString fontName;
    double fontSize = 0;
    bool border = false;
};

// How many characters a cell shows: a number in its grouped form when its
// format groups, a date in a ten-character short form.
int ShownLength(const Cell& c);
// The width that fits a column whose longest cell shows `length`
// characters.
double FittedWidth(int length);

// Cells written row after row straight into an .xlsx file: only the row
// being written is held, so a sheet of a million rows costs what one row
// does. Rows come in increasing order; the columns' widths and styles may
// be set at any time before close.
class SheetWriter {
public:
    // Throws Failure when the file cannot be made.
    explicit SheetWriter(const QString& path, const QString& sheetName = QStringLiteral("Sheet1"));
    // A writer not closed leaves no file behind.
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;
    // The cell as it is (its own style only). Throws Failure, and leaves no
    // file, when the sheet cannot hold it.
    void write(int row, int col, const Cell& cell);
    // width 0: the default width.
    void setColumn(int col, double width, const ColumnStyle* style);
    // Finishes the file; throws Failure when it cannot be written.
    void close();

private:
    struct Book;
    std::unique_ptr<Book> m_book;
    QString m_path;
};

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

    // A new file in the export folder for a workbook of that name.
    static QString newFilePath(const QString& baseName);
    // Where new files go: the system's temporary folder, the desktop's
    // program opens them from there. A test gives its own folder, so that
    // its exports go with it; "" is the temporary folder again.
    static void setExportFolder(const QString& folder);

private:
    QString m_sheet;
    QMap<QPair<int, int>, Cell> m_cells;
    QMap<int, double> m_widths;
    QMap<int, ColumnStyle> m_columns;
};

// Saves the workbook into a new file in the temporary folder and hands it to
// the desktop's spreadsheet program; where the machine has none, an
// information box says where the file lies. Returns the path; throws Failure
// when the file cannot be written. An export the operator stopped (progress.h)
// leaves no file and returns "".
QString OpenWorkbook(const Workbook& book, const QString& baseName);
// The same for a file that `write` writes at the path it is given.
QString OpenWorkbook(const std::function<void(const QString& path)>& write, const QString& baseName);

} // namespace platform
