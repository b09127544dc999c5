#include "data/spreadsheet.h"
#include "data/failure.h"
#include "data/owntext.h"

#include "data/work.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>
#include <xlsxwriter.h>

namespace platform {

namespace {

bool isNumber(const QVariant& v)
{
    const int type = v.typeId();
    return type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong ||
           type == QMetaType::UInt || type == QMetaType::ULongLong || type == QMetaType::Float;
}

// The digits of a whole number below 1e15 (no exponent, no rounding in
// either form), 0 for any other number.
int WholeDigits(double v)
{
    const double a = std::abs(v);
    if (!(a < 1e15) || a != std::trunc(a) || (v == 0 && std::signbit(v)))
        return 0;
    int digits = 1;
    for (qint64 n = qint64(a); n >= 10; n /= 10)
        ++digits;
    return digits;
}

// Text as UTF-8 bytes that are plain ASCII, taken as they stand.
bool IsAscii(const QByteArray& text)
{
    unsigned char any = 0;
    for (const char ch : text)
        any |= static_cast<unsigned char>(ch);
    return any < 0x80;
}

} // namespace

int ShownLength(const Cell& c)
{
    const QVariant& v = c.value;
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QDate)
        return 10;
    if (isNumber(v)) {
        const double d = v.toDouble();
        // Whole numbers are counted, not printed: three of them a row of a
        // year's journal.
        const int digits = WholeDigits(d);
        const int sign = d < 0 ? 1 : 0;
        if (c.numberFormat.contains(QLatin1Char(','))) {
            const bool cents = c.numberFormat.contains(QLatin1Char('.'));
            if (digits > 0)
                return sign + digits + (digits - 1) / 3 + (cents ? 3 : 0);
            static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
            return int(grouped.toString(d, 'f', cents ? 2 : 0).size());
        }
        if (digits > 0)
            return sign + digits;
        return int(QString::number(d, 'g', 15).size());
    }
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray& text = *static_cast<const QByteArray*>(v.constData());
        if (IsAscii(text))
            return int(text.size());
    }
    return int(v.toString().size());
}

double FittedWidth(int length)
{
    return qMax(8.43, length * 1.15 + 2);
}

struct SheetWriter::Book {
    lxw_workbook* wb = nullptr;
    lxw_worksheet* ws = nullptr;
    // The formats made so far, by the style that made them: a sheet uses a
    // handful, and each cell finds its own among them by comparing fields.
    struct Made {
        Cell style;
        bool date;
        lxw_format* format;
    };
    std::vector<Made> formats;
    int row = 0;

    // Drops what was written without making the file: finishing it first
    // would cost as long as the rows took, a stopped export included.
    void abandon(const QString& path)
    {
        // The rows wait in a temporary file that only finishing would
        // close: left open, its space would stay taken until the program
        // ends.
        if (ws && ws->optimize_tmpfile) {
            std::fclose(ws->optimize_tmpfile);
            ws->optimize_tmpfile = nullptr;
        }
        if (wb)
            lxw_workbook_free(wb);
        ws = nullptr;
        wb = nullptr;
        QFile::remove(path);
    }

    lxw_format* formatOf(const Cell& c, bool date)
    {
        if (c.numberFormat.isEmpty() && !c.bold && c.fontName.isEmpty() && c.fontSize <= 0 && !c.border && !date)
            return nullptr;
        for (const Made& m : formats)
            if (m.date == date && m.style.bold == c.bold && m.style.border == c.border &&
                m.style.fontSize == c.fontSize && m.style.numberFormat == c.numberFormat &&
                m.style.fontName == c.fontName)
                return m.format;
        lxw_format* f = workbook_add_format(wb);
        if (!c.numberFormat.isEmpty())
            format_set_num_format(f, c.numberFormat.toUtf8().constData());
        else if (date)
            format_set_num_format_index(f, 14); // the short date of the reader's locale
        if (c.bold)
            format_set_bold(f);
        if (!c.fontName.isEmpty())
            format_set_font_name(f, c.fontName.toUtf8().constData());
        if (c.fontSize > 0)
            format_set_font_size(f, c.fontSize);
        if (c.border)
            format_set_border(f, LXW_BORDER_THIN);
        Cell style = c;
        style.value = QVariant();
        formats.push_back({std::move(style), date, f});
        return f;
    }
};

SheetWriter::SheetWriter(const QString& path, const QString& sheetName) : m_book(new Book), m_path(path)
{
    const QByteArray file = QFile::encodeName(path);
    // Each row goes to the file once the next one starts.
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    m_book->wb = workbook_new_opt(file.constData(), &options);
    if (!m_book->wb)
        throw Failure(OwnText("cFileNotCreated", QStringLiteral("Berkas %1 tidak dapat dibuat")).arg(path));
    const QByteArray name = sheetName.toUtf8();
    m_book->ws = workbook_add_worksheet(m_book->wb, name.constData());
}

SheetWriter::~SheetWriter()
{
    if (m_book && m_book->wb)
        m_book->abandon(m_path);
}

void SheetWriter::setColumn(int col, double width, const ColumnStyle* style)
{
    Cell c;
    if (style) {
        c.fontName = style->fontName;
        c.fontSize = style->fontSize;
        c.border = style->border;
    }
    worksheet_set_column(m_book->ws, lxw_col_t(col - 1), lxw_col_t(col - 1), width > 0 ? width : LXW_DEF_COL_WIDTH,
                         m_book->formatOf(c, false));
}

void SheetWriter::write(int row, int col, const Cell& cell)
{
    // The work the sheet is written for hears of every row, and the
    // operator may stop it between two rows.
    if (row != m_book->row) {
        m_book->row = row;
        if (Work* work = Work::current(); work && !work->row(row - 1)) {
            m_book->abandon(m_path);
            throw Cancelled();
        }
    }
    const lxw_row_t r = lxw_row_t(row - 1);
    const lxw_col_t c = lxw_col_t(col - 1);
    const QVariant& v = cell.value;
    const bool date = v.typeId() == QMetaType::QDate && v.toDate().isValid();
    lxw_format* f = m_book->formatOf(cell, date);
    lxw_worksheet* ws = m_book->ws;
    lxw_error written = LXW_NO_ERROR;
    if (!v.isValid() || v.isNull()) {
        if (f)
            written = worksheet_write_blank(ws, r, c, f);
    } else if (date) {
        const QDate d = v.toDate();
        lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
        written = worksheet_write_datetime(ws, r, c, &dt, f);
    } else if (isNumber(v)) {
        written = worksheet_write_number(ws, r, c, v.toDouble(), f);
    } else if (v.typeId() == QMetaType::QByteArray && IsAscii(*static_cast<const QByteArray*>(v.constData()))) {
        written = worksheet_write_string(ws, r, c, static_cast<const QByteArray*>(v.constData())->constData(), f);
    } else {
        written = worksheet_write_string(ws, r, c, v.toString().toUtf8().constData(), f);
    }
    // A cell the sheet cannot hold (past its last row, a text too long)
    // would otherwise be left out of a file that looks complete.
    if (written != LXW_NO_ERROR) {
        m_book->abandon(m_path);
        throw Failure(
            OwnText("cCellTooBig",
                    QStringLiteral("Berkas %1 tidak dapat ditulis: sel baris %2 kolom %3 tidak muat di lembar kerja"))
                .arg(m_path)
                .arg(row)
                .arg(col),
            QString::fromUtf8(lxw_strerror(written)));
    }
}

void SheetWriter::close()
{
    lxw_workbook* wb = m_book->wb;
    m_book->wb = nullptr;
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR)
        throw Failure(OwnText("cWorkbookNotWritten", QStringLiteral("Berkas %1 tidak dapat ditulis")).arg(m_path),
                      QString::fromUtf8(lxw_strerror(err)));
}

namespace {

QString g_exportFolder;

} // namespace

void SetExportFolder(const QString& folder)
{
    g_exportFolder = folder;
}

QString NewExportFilePath(const QString& baseName)
{
    return QDir(g_exportFolder.isEmpty() ? QDir::tempPath() : g_exportFolder)
        .filePath(QStringLiteral("%1-%2.xlsx")
                      .arg(baseName, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"))));
}

} // namespace platform
