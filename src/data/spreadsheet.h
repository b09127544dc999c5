#pragma once
// Sheets of cells written as .xlsx files: values, number formats, fonts,
// borders and column widths. Cells are 1-based, as the exports address them.
// A QDate value is written as a date; without a number format of its own it
// shows in the spreadsheet program's short date form. A text may come as its
// UTF-8 bytes (a QByteArray), as rows read in place give it.
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
//
// The file is made in a hidden folder beside its path, with the library's
// temporary files, and takes its name only once it is whole and on the
// disk: a failure, a stop or a killed program never leaves a file under
// that name that is not a workbook, and every temporary file goes with the
// writer. A folder left by a killed program goes at the next export there.
class SheetWriter {
public:
    // Throws Failure when the file cannot be made.
    explicit SheetWriter(const QString& path, const QString& sheetName = QStringLiteral("Sheet1"));
    // A writer not closed leaves no file behind.
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;
    // The cell as it is (its own style only). Throws Failure, and leaves no
    // file, when the sheet cannot hold it or the disk takes no more.
    void write(int row, int col, const Cell& cell);
    // width 0: the default width.
    void setColumn(int col, double width, const ColumnStyle* style);
    // Finishes the file and gives it its name; throws Failure when it
    // cannot be written, and Cancelled when the operator stopped the work
    // meanwhile (progress.h), leaving no file either way.
    void close();

private:
    struct Book;
    std::unique_ptr<Book> m_book;
};

// The records a sheet holds under its title row.
constexpr qint64 kSheetRecords = 1048575;
// Refuses an export of more records than a sheet holds (a Failure saying
// so), before any of it is written.
void CheckSheetRecords(qint64 records);

// The operator's documents folder, made when missing, where print-outs
// kept as PDF and exported workbooks go; the home folder where there is
// none.
QString DocumentsFolder();
// A new file in the export folder for a workbook of that name.
QString NewExportFilePath(const QString& baseName);
// Where new workbooks go: the documents folder. A test gives its own
// folder, so that its exports go with it; "" is the documents folder again.
void SetExportFolder(const QString& folder);

// Has `write` write a new file in the export folder at the path it is
// given and hands the file to the desktop's spreadsheet program; where the
// machine has none, an information box says where the file lies. Returns
// the path; throws Failure when the file cannot be written. An export the
// operator stopped (progress.h) leaves no file and returns "".
QString OpenWorkbook(const std::function<void(const QString& path)>& write, const QString& baseName);

} // namespace platform
