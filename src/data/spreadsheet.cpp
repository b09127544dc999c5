#include "data/spreadsheet.h"
#include "data/failure.h"
#include "data/owntext.h"
#include "data/work.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
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

namespace {

// The hidden folder beside a workbook being made.
const QString kPartPrefix = QStringLiteral(".orvanta-export-");

// Removes the folders that exports killed with the program left in a
// folder: those whose lock nobody holds, and not one made a moment ago
// (another export may be about to lock it).
void RemoveStaleParts(const QString& folder)
{
    const QDir dir(folder);
    const QFileInfoList found =
        dir.entryInfoList({kPartPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    const QDateTime settled = QDateTime::currentDateTime().addSecs(-60);
    for (const QFileInfo& info : found) {
        if (info.lastModified() > settled)
            continue;
        const QString path = info.filePath();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QDir(path).removeRecursively();
        ::close(fd);
    }
}

quint32 Le(const uchar* p, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// The size of the sheet's rows as the finished archive holds them; -1
// when the file is no whole archive or lacks the sheet. The library does
// not check every write of the parts it packs, so a disk that filled while
// it packed could leave an archive that looks whole around a cut sheet.
qint64 PackedSheetSize(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < 22 || !f.seek(f.size() - 22))
        return -1;
    const QByteArray end = f.read(22);
    const auto* e = reinterpret_cast<const uchar*>(end.constData());
    if (end.size() != 22 || Le(e, 4) != 0x06054b50)
        return -1;
    const qint64 size = Le(e + 12, 4), offset = Le(e + 16, 4);
    if (offset + size != f.size() - 22 || !f.seek(offset))
        return -1;
    const QByteArray dir = f.read(size);
    const auto* d = reinterpret_cast<const uchar*>(dir.constData());
    for (qint64 at = 0; at + 46 <= dir.size() && Le(d + at, 4) == 0x02014b50;) {
        const qint64 nameLength = Le(d + at + 28, 2);
        if (dir.mid(at + 46, nameLength) == "xl/worksheets/sheet1.xml")
            return Le(d + at + 24, 4);
        at += 46 + nameLength + Le(d + at + 30, 2) + Le(d + at + 32, 2);
    }
    return -1;
}

// How packing ended: the library's error, or kNotOnDisk (the finished
// file could not be put on the disk) or kNoWord (the packing process ended
// without a word), and the system's error number.
struct Packed {
    static constexpr int kNotOnDisk = -1;
    static constexpr int kNoWord = -2;
    int error = kNoWord;
    int err = 0;
};

// Packs the workbook and puts it on the disk, in a process of its own: the
// library's temporary files and whatever it leaves open on a failure go
// with that process, and the window goes on meanwhile. Writes how it ended
// to `out`.
[[noreturn]] void PackInChild(lxw_workbook* wb, const char* file, int out, pid_t parent)
{
    // Killed with the program, not left to finish a file nobody names.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(1);
    errno = 0;
    Packed packed{int(workbook_close(wb)), errno};
    if (packed.error == LXW_NO_ERROR) {
        const int fd = ::open(file, O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0)
            packed = {Packed::kNotOnDisk, errno};
        if (fd >= 0)
            ::close(fd);
    }
    const ssize_t told = ::write(out, &packed, sizeof packed);
    ::_exit(told == ssize_t(sizeof packed) ? 0 : 1);
}

} // namespace

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
    // The workbook's own path; the hidden folder it is made in, which the
    // library also takes for its temporary files, and the file there.
    QString target;
    QString partDir;
    QString part;
    QByteArray tmpdir;
    // The folder held open and locked while it is in use: a folder nobody
    // locks is left over.
    int lock = -1;

    ~Book() { release(); }

    // Frees what the library holds, temporary files included, and removes
    // the folder with whatever was written: finishing the file first would
    // cost as long as the rows took, a stopped export included.
    void release()
    {
        freeWorkbook();
        if (!partDir.isEmpty())
            QDir(partDir).removeRecursively();
        partDir.clear();
        if (lock >= 0)
            ::close(lock);
        lock = -1;
    }

    void freeWorkbook()
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
    }

    [[noreturn]] void fail(int err, const QString& detail)
    {
        release();
        const QString text =
            OwnText("cWorkbookNotWritten", QStringLiteral("Berkas %1 tidak dapat ditulis")).arg(target);
        throw Failure(err > 0 ? text + QStringLiteral(": ") + SystemErrorText(err) : text, detail);
    }

    // A call of the system's that failed with this error number.
    [[noreturn]] void failSystem(int err) { fail(err, QString::fromLocal8Bit(std::strerror(err))); }

    // Rows the disk did not take (a full disk) stop the work at once: the
    // library does not look. Between rows its buffer is only looked at;
    // before packing, what is left in it is written out first.
    void checkRows(bool flush)
    {
        FILE* rows = ws ? ws->optimize_tmpfile : nullptr;
        if (!rows || (!flush && !std::ferror(rows)))
            return;
        errno = 0;
        if (std::fflush(rows) != 0 || std::ferror(rows))
            failSystem(errno ? errno : EIO);
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

SheetWriter::SheetWriter(const QString& path, const QString& sheetName) : m_book(new Book)
{
    Book& b = *m_book;
    const QFileInfo info(path);
    b.target = info.absoluteFilePath();
    const QString folder = info.absolutePath();
    RemoveStaleParts(folder);
    QByteArray dir = QFile::encodeName(QDir(folder).filePath(kPartPrefix + QStringLiteral("XXXXXX")));
    if (!::mkdtemp(dir.data())) {
        b.failSystem(errno);
    }
    b.tmpdir = dir;
    b.partDir = QFile::decodeName(dir);
    // A folder where locks cannot be taken (a network share without them)
    // still takes the export; only its leftovers then stay.
    b.lock = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (b.lock >= 0 && ::flock(b.lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(b.lock);
        b.lock = -1;
    }
    b.part = QDir(b.partDir).filePath(info.fileName());
    const QByteArray file = QFile::encodeName(b.part);
    // Each row goes to the file once the next one starts.
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = b.tmpdir.data();
    b.wb = workbook_new_opt(file.constData(), &options);
    const QByteArray name = sheetName.toUtf8();
    b.ws = b.wb ? workbook_add_worksheet(b.wb, name.constData()) : nullptr;
    if (!b.ws || !b.ws->optimize_tmpfile) {
        b.release();
        throw Failure(OwnText("cFileNotCreated", QStringLiteral("Berkas %1 tidak dapat dibuat")).arg(b.target));
    }
}

SheetWriter::~SheetWriter() = default;

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
        m_book->checkRows(false);
        if (Work* work = Work::current(); work && !work->row(row - 1)) {
            m_book->release();
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
        m_book->release();
        throw Failure(
            OwnText("cCellTooBig",
                    QStringLiteral("Berkas %1 tidak dapat ditulis: sel baris %2 kolom %3 tidak muat di lembar kerja"))
                .arg(m_book->target)
                .arg(row)
                .arg(col),
            QString::fromUtf8(lxw_strerror(written)));
    }
}

void SheetWriter::close()
{
    Book& b = *m_book;
    if (!b.wb)
        return;
    b.checkRows(true);
    const qint64 rowBytes = std::ftell(b.ws->optimize_tmpfile);
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        b.failSystem(errno);
    }
    const QByteArray part = QFile::encodeName(b.part);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0)
        PackInChild(b.wb, part.constData(), pipe[1], parent);
    Packed packed;
    if (child < 0)
        packed.err = errno;
    ::close(pipe[1]);
    // The window stays painted and Cancel stays live while it packs.
    Work* work = Work::current();
    bool stopped = false;
    while (child > 0) {
        pollfd p{pipe[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, work ? 20 : -1);
        if (ready > 0) {
            if (::read(pipe[0], &packed, sizeof packed) != ssize_t(sizeof packed))
                packed = Packed();
            break;
        }
        if (ready < 0 && errno != EINTR)
            break;
        if (work && !work->row(b.row - 1)) {
            stopped = true;
            ::kill(child, SIGKILL);
            break;
        }
    }
    ::close(pipe[0]);
    while (child > 0 && ::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // This process's copy of the workbook was never packed: it is freed
    // here, its temporary file of rows with it.
    b.freeWorkbook();
    if (stopped) {
        b.release();
        throw Cancelled();
    }
    if (packed.error > 0)
        b.fail(packed.err, QString::fromUtf8(lxw_strerror(lxw_error(packed.error))));
    if (packed.error < 0)
        b.fail(packed.err, packed.err ? QString::fromLocal8Bit(std::strerror(packed.err))
                                      : QStringLiteral("the packing process ended without a word"));
    if (PackedSheetSize(b.part) < rowBytes)
        b.fail(ENOSPC, QStringLiteral("the packed sheet is shorter than its rows"));
    if (::rename(part.constData(), QFile::encodeName(b.target).constData()) != 0) {
        b.failSystem(errno);
    }
    // The new name on the disk too, before the operator is told of it.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(b.target).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    b.release();
}

void CheckSheetRecords(qint64 records)
{
    if (records > kSheetRecords)
        throw Failure(OwnText("cSheetTooLong",
                              QStringLiteral("Lembar kerja hanya memuat %1 baris data, sedangkan daftar ini %2 baris. "
                                             "Persempit rentang tanggal atau saringannya, lalu ekspor lagi."))
                          .arg(kSheetRecords)
                          .arg(records));
}

namespace {

QString g_exportFolder;

} // namespace

QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents))
        return documents;
    return QDir::homePath();
}

void SetExportFolder(const QString& folder)
{
    g_exportFolder = folder;
}

QString NewExportFilePath(const QString& baseName)
{
    return QDir(g_exportFolder.isEmpty() ? DocumentsFolder() : g_exportFolder)
        .filePath(QStringLiteral("%1-%2.xlsx")
                      .arg(baseName, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"))));
}

} // namespace platform
