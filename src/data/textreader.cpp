// The first column of a query as texts, for a list of a hundred thousand
// names: on a file read from the engine's own cells, on a server fetched a
// block of rows at a time.
#include "data/db.h"

#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <dlfcn.h>
#include <vector>

namespace platform {

namespace {

// The calls of the ODBC driver manager that fetch many rows at once into
// buffers of the caller's, which Qt's driver does not offer: it asks for
// every value of every row on its own, several calls a value. Taken from
// the manager Qt's driver has loaded.
struct BlockFetch {
    using SetStmtAttr = short (*)(void* stmt, int attribute, void* value, int length);
    using BindCol = short (*)(void* stmt, unsigned short column, short type, void* buffer, long size, long* lengths);
    using Fetch = short (*)(void* stmt);
    using FreeStmt = short (*)(void* stmt, unsigned short option);
    SetStmtAttr setStmtAttr = nullptr;
    BindCol bindCol = nullptr;
    Fetch fetch = nullptr;
    FreeStmt freeStmt = nullptr;
    bool there() const { return setStmtAttr && bindCol && fetch && freeStmt; }
};

const BlockFetch& blockFetch()
{
    static const BlockFetch calls = [] {
        BlockFetch c;
        if (void* lib = dlopen("libodbc.so.2", RTLD_LAZY | RTLD_NOLOAD)) {
            c.setStmtAttr = reinterpret_cast<BlockFetch::SetStmtAttr>(dlsym(lib, "SQLSetStmtAttr"));
            c.bindCol = reinterpret_cast<BlockFetch::BindCol>(dlsym(lib, "SQLBindCol"));
            c.fetch = reinterpret_cast<BlockFetch::Fetch>(dlsym(lib, "SQLFetch"));
            c.freeStmt = reinterpret_cast<BlockFetch::FreeStmt>(dlsym(lib, "SQLFreeStmt"));
        }
        return c;
    }();
    return calls;
}

// ODBC's numbers for what is used here.
constexpr int kRowBindType = 5, kRowArraySize = 27, kRowsFetchedPtr = 26;
constexpr short kText = 1; // SQL_C_CHAR: in the session's character set
constexpr long kNullData = -1;
constexpr short kNoData = 100;
constexpr unsigned short kUnbind = 2;

// The first column of the rows of a statement Qt's driver has run and not
// yet fetched from, into `rows`; false when a value did not fit its buffer
// or the driver refused (the statement is then read the ordinary way).
bool FetchBlocks(void* stmt, QStringList& rows)
{
    const BlockFetch& odbc = blockFetch();
    // A column of the schema holds 255 characters: 1020 bytes of UTF-8 at
    // most, and the end mark.
    constexpr long kWidth = 1021;
    constexpr long kBlock = 1000;
    std::vector<char> cells(static_cast<size_t>(kWidth * kBlock));
    std::vector<long> lengths(static_cast<size_t>(kBlock));
    unsigned long fetched = 0;
    const auto succeeded = [](short rc) { return rc == 0 || rc == 1; };
    bool whole = succeeded(odbc.setStmtAttr(stmt, kRowBindType, nullptr, 0)) &&
                 succeeded(odbc.setStmtAttr(stmt, kRowArraySize, reinterpret_cast<void*>(kBlock), 0)) &&
                 succeeded(odbc.setStmtAttr(stmt, kRowsFetchedPtr, &fetched, 0)) &&
                 succeeded(odbc.bindCol(stmt, 1, kText, cells.data(), kWidth, lengths.data()));
    for (short rc = 0; whole;) {
        rc = odbc.fetch(stmt);
        if (rc == kNoData)
            break;
        whole = succeeded(rc);
        for (unsigned long i = 0; whole && i < fetched; ++i) {
            const long length = lengths[i];
            if (length == kNullData) {
                rows << QString();
                continue;
            }
            // Cut, or of a length the driver could not tell.
            whole = length >= 0 && length < kWidth;
            if (whole)
                rows << QString::fromUtf8(&cells[i * size_t(kWidth)], length);
        }
    }
    // The statement as Qt's driver left it, for it to close.
    odbc.freeStmt(stmt, kUnbind);
    odbc.setStmtAttr(stmt, kRowsFetchedPtr, nullptr, 0);
    odbc.setStmtAttr(stmt, kRowArraySize, reinterpret_cast<void*>(1L), 0);
    return whole;
}

} // namespace

QStringList DbConnection::ReadTexts(const QString& sql)
{
    QStringList rows;
    const bool inPlace = ReadRows(sql, [&rows](const DbScanRow& row) {
        switch (row.kind(0)) {
        case DbScanRow::Null: rows << QString(); break;
        case DbScanRow::Whole: rows << DbField(row.whole(0)).toString(); break;
        case DbScanRow::Real: rows << DbField(row.number(0)).toString(); break;
        default: rows << QString::fromUtf8(row.text(0)); break;
        }
    });
    if (inPlace)
        return rows;
    // The driver hands texts over in the session's character set as they
    // came; made into UTF-16 by the driver one value at a time, a hundred
    // thousand names cost four times as much.
    if (m_odbc && blockFetch().there() &&
        GetValue(QStringLiteral("select @@character_set_results")).toString().startsWith(QLatin1String("utf8"))) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        run(q, sql);
        const QVariant handle = q.result() ? q.result()->handle() : QVariant();
        // A number is read as Qt's driver reads it, and written as the
        // program writes numbers.
        const bool texts = q.record().count() > 0 && q.record().field(0).metaType().id() == QMetaType::QString;
        if (texts && handle.isValid() && qstrcmp(handle.typeName(), "void*") == 0 &&
            FetchBlocks(*static_cast<void* const*>(handle.data()), rows))
            return rows;
        rows.clear();
    }
    for (auto rs = OpenCursor(sql); !rs->Eof(); rs->MoveNext())
        rows << rs->Fields(0).toString();
    return rows;
}

} // namespace platform
