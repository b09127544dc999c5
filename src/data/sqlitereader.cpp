// Reading a query into a recordset: straight from SQLite where the statement
// only reads, through Qt's driver otherwise; all rows at once, or one at a
// time as the recordset is walked; the fields a row gives.
#include "data/db.h"

#include "data/owntext.h"
#include "data/sqltext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <exception>
#include <functional>
#include <sqlite3.h>

namespace platform {

QString DbField::toString() const
{
    if (isNull())
        return QString();
    if (m_value.typeId() == QMetaType::Double)
        return Num(m_value.toDouble());
    return m_value.toString();
}

double DbField::toDouble() const
{
    return StoredNumber(m_value);
}

qlonglong DbField::toLongLong() const
{
    return static_cast<qlonglong>(RoundAmount(toDouble()));
}

bool DbField::toBool() const
{
    if (isNull())
        return false;
    const QString s = m_value.toString().trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return toDouble() != 0;
}

DbRecordset::DbRecordset(QStringList names, QVector<QVector<QVariant>> rows)
    : m_names(std::move(names)), m_rows(std::move(rows))
{
}

DbRecordset::DbRecordset(QStringList names, std::unique_ptr<DbRowSource> source)
    : m_names(std::move(names)), m_source(std::move(source))
{
    m_rows.resize(1);
    m_rows[0].resize(m_names.size());
    if (!m_source->next(m_rows[0]))
        m_rows.clear();
}

DbRecordset::~DbRecordset() = default;

void DbRecordset::MoveNext()
{
    if (!m_source) {
        ++m_pos;
        return;
    }
    if (!m_rows.isEmpty() && !m_source->next(m_rows[0]))
        m_rows.clear();
}

int DbRecordset::FieldIndex(const QString& name) const
{
    int col = -1;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) {
            col = i;
            break;
        }
    }
    // "table.column" names come back as the bare column.
    if (col < 0) {
        for (int i = 0; i < m_names.size(); ++i) {
            const QString bare = m_names[i].section(QLatin1Char('.'), -1);
            if (bare.compare(name, Qt::CaseInsensitive) == 0) {
                col = i;
                break;
            }
        }
    }
    if (col < 0)
        throw DbError(OwnText("cNoColumn", QStringLiteral("Kolom '%1' tidak ada di hasil query")).arg(name));
    return col;
}

DbField DbRecordset::Fields(const QString& name) const
{
    return Fields(FieldIndex(name));
}

DbField DbRecordset::Fields(int position) const
{
    if (Eof())
        throw DbError(OwnText("cNoRow", QStringLiteral("Tidak ada baris data")));
    if (position < 0 || position >= m_names.size())
        throw DbError(OwnText("cNoColumnAt", QStringLiteral("Kolom ke-%1 tidak ada di hasil query")).arg(position));
    return DbField(m_rows[m_pos][position]);
}

namespace {

// A column's name as Qt's driver gives it: without quotes or a table name.
QString columnName(sqlite3_stmt* st, int i)
{
    QString name = QString::fromUtf8(sqlite3_column_name(st, i)).remove(QLatin1Char('"'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.mid(dot + 1);
}

// A cell with the types Qt's driver gives: whole numbers as qlonglong,
// reals as double, NULL as a null text.
QVariant cellOf(sqlite3_stmt* st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(st, i));
    case SQLITE_NULL: return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)));
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i)));
    }
}

// A statement stepped row by row.
class SqliteRows : public DbRowSource {
public:
    SqliteRows(sqlite3_stmt* st, std::function<DbError()> fail) : m_st(st), m_fail(std::move(fail)) {}
    ~SqliteRows() override { sqlite3_finalize(m_st); }
    bool next(QVector<QVariant>& row) override
    {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_DONE)
            return false;
        if (rc != SQLITE_ROW)
            throw m_fail();
        for (int i = 0; i < row.size(); ++i)
            row[i] = cellOf(m_st, i);
        return true;
    }

private:
    sqlite3_stmt* m_st;
    std::function<DbError()> m_fail;
};

// A forward-only query of Qt's driver, read row by row.
class QueryRows : public DbRowSource {
public:
    QueryRows(QSqlQuery q, std::function<DbError(const QSqlError&)> fail) : m_q(std::move(q)), m_fail(std::move(fail))
    {
    }
    bool next(QVector<QVariant>& row) override
    {
        if (!m_q.next()) {
            if (m_q.lastError().isValid())
                throw m_fail(m_q.lastError());
            return false;
        }
        for (int i = 0; i < row.size(); ++i)
            row[i] = m_q.value(i);
        return true;
    }

private:
    QSqlQuery m_q;
    std::function<DbError(const QSqlError&)> m_fail;
};

} // namespace

// A query on the program's own engine is read straight from it: through
// Qt's driver every cell is cached and copied twice, which a month's
// journal feels.
std::unique_ptr<DbRowSource> DbConnection::readSqlite(void* handle, const QString& sql, QStringList& names)
{
    auto* h = static_cast<sqlite3*>(handle);
    const QByteArray text = translate(sql, false).toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    auto fail = [this, h, sql] {
        return failure(QString::fromUtf8(sqlite3_errmsg(h)), sql, QString::number(sqlite3_extended_errcode(h)));
    };
    if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, &tail) != SQLITE_OK) {
        const DbError e = fail();
        sqlite3_finalize(st);
        throw e;
    }
    if (!st || QByteArray(tail).trimmed().size() > 0 || !sqlite3_stmt_readonly(st)) {
        // Not one statement that only reads: Qt's way, as before.
        sqlite3_finalize(st);
        return nullptr;
    }
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i)
        names << columnName(st, i);
    return std::make_unique<SqliteRows>(st, fail);
}

std::unique_ptr<DbRecordset> DbConnection::readQuery(const QString& sql, bool walked)
{
    followFile(sql);
    QStringList names;
    std::unique_ptr<DbRowSource> source;
    if (void* h = sqliteHandle()) {
        beforeStatement(sql);
        source = readSqlite(h, sql, names);
        if (!source)
            --m_statements; // counted again below
    }
    if (!source) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        run(q, sql);
        const QSqlRecord rec = q.record();
        for (int i = 0; i < rec.count(); ++i)
            names << rec.fieldName(i);
        source = std::make_unique<QueryRows>(
            std::move(q), [this, sql](const QSqlError& e) { return failure(e.text(), sql, e.nativeErrorCode()); });
    }
    if (walked)
        return std::make_unique<DbRecordset>(std::move(names), std::move(source));
    // Read everything at once so the file's read lock is released at once:
    // another workstation may be waiting to write.
    QVector<QVector<QVariant>> rows;
    for (QVector<QVariant> row(names.size()); source->next(row); row = QVector<QVariant>(names.size()))
        rows.append(std::move(row));
    return std::make_unique<DbRecordset>(std::move(names), std::move(rows));
}

DbScanRow DbScanRow::ofStatement(void* statement)
{
    DbScanRow row(nullptr);
    row.m_statement = statement;
    return row;
}

DbScanRow::Kind DbScanRow::kind(int column) const
{
    const int type = m_statement ? sqlite3_column_type(static_cast<sqlite3_stmt*>(m_statement), column)
                                 : sqlite3_value_type(static_cast<sqlite3_value*>(m_cells[column]));
    switch (type) {
    case SQLITE_NULL: return Null;
    case SQLITE_INTEGER: return Whole;
    case SQLITE_FLOAT: return Real;
    case SQLITE_BLOB: return Bytes;
    default: return Text;
    }
}

bool DbScanRow::isNull(int column) const
{
    return kind(column) == Null;
}

double DbScanRow::number(int column) const
{
    if (m_statement)
        return sqlite3_column_double(static_cast<sqlite3_stmt*>(m_statement), column);
    return sqlite3_value_double(static_cast<sqlite3_value*>(m_cells[column]));
}

qint64 DbScanRow::whole(int column) const
{
    if (m_statement)
        return sqlite3_column_int64(static_cast<sqlite3_stmt*>(m_statement), column);
    return sqlite3_value_int64(static_cast<sqlite3_value*>(m_cells[column]));
}

QByteArrayView DbScanRow::text(int column) const
{
    if (m_statement) {
        auto* st = static_cast<sqlite3_stmt*>(m_statement);
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
        return t ? QByteArrayView(t, sqlite3_column_bytes(st, column)) : QByteArrayView();
    }
    auto* v = static_cast<sqlite3_value*>(m_cells[column]);
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return t ? QByteArrayView(t, sqlite3_value_bytes(v)) : QByteArrayView();
}

DbError DbConnection::sqliteFailure(void* handle, const QString& sql)
{
    auto* h = static_cast<sqlite3*>(handle);
    return failure(QString::fromUtf8(sqlite3_errmsg(h)), sql, QString::number(sqlite3_extended_errcode(h)));
}

void* DbConnection::prepareSqlite(void* handle, const QString& sql, const QByteArray& text)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(static_cast<sqlite3*>(handle), text.constData(), int(text.size()), &st, nullptr) !=
            SQLITE_OK ||
        !st) {
        const DbError e = sqliteFailure(handle, sql);
        sqlite3_finalize(st);
        throw e;
    }
    return st;
}

namespace {

// A pass handed to the engine: every row is given to the pass by the engine
// itself, as the argument values of an aggregate over the table, so that a
// row costs no step of the statement and no read of a cell through it.
struct ScanPass {
    const std::function<void(const DbScanRow&)>* row;
    std::exception_ptr failed;
};

void scanStep(sqlite3_context* context, int, sqlite3_value** values)
{
    auto* pass = static_cast<ScanPass*>(sqlite3_user_data(context));
    if (pass->failed)
        return;
    try {
        (*pass->row)(DbScanRow(reinterpret_cast<void* const*>(values)));
    } catch (...) {
        pass->failed = std::current_exception();
        sqlite3_result_error(context, "pass stopped", -1);
    }
}

void scanFinal(sqlite3_context* context)
{
    sqlite3_result_null(context);
}

} // namespace

bool DbConnection::ScanRows(const QString& table, const QStringList& columns,
                            const std::function<void(const DbScanRow&)>& row, const QString& where)
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return false;
    static const char kName[] = "orv_scan";
    // A whole table never in an index's order, even where one would cover
    // the columns.
    const QString sql =
        QStringLiteral("select %1(%2) from %3 ").arg(QLatin1String(kName), columns.join(QStringLiteral(", ")), table) +
        (where.isEmpty() ? QStringLiteral("not indexed") : QStringLiteral("where ") + where);
    followFile(sql);
    beforeStatement(sql);
    ScanPass pass{&row, nullptr};
    if (sqlite3_create_function_v2(h, kName, int(columns.size()), SQLITE_UTF8, &pass, nullptr, &scanStep, &scanFinal,
                                   nullptr) != SQLITE_OK)
        throw sqliteFailure(h, sql);
    const auto forget = [h, &columns] {
        sqlite3_create_function_v2(h, kName, int(columns.size()), SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr,
                                   nullptr);
    };
    try {
        auto* st = static_cast<sqlite3_stmt*>(prepareSqlite(h, sql, sql.toUtf8()));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(st, sqlite3_finalize);
        int rc = sqlite3_step(st);
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(st);
        if (pass.failed)
            std::rethrow_exception(pass.failed);
        if (rc != SQLITE_DONE)
            throw sqliteFailure(h, sql);
    } catch (...) {
        forget();
        throw;
    }
    forget();
    return true;
}

void* DbConnection::prepareOnFile(const QString& sql)
{
    followFile(sql);
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return nullptr;
    beforeStatement(sql);
    return prepareSqlite(h, sql, translate(sql, false).toUtf8());
}

bool DbConnection::ExecuteEach(const QString& sql, const QVector<QVector<QVariant>>& rows)
{
    auto* st = static_cast<sqlite3_stmt*>(prepareOnFile(sql));
    if (!st)
        return false;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(st, sqlite3_finalize);
    auto* h = sqlite3_db_handle(st);
    auto fail = [this, h, &sql] { return sqliteFailure(h, sql); };
    for (const QVector<QVariant>& row : rows) {
        sqlite3_reset(st);
        for (int i = 0; i < row.size(); ++i) {
            const QVariant& v = row[i];
            int rc = SQLITE_OK;
            if (v.isNull() || !v.isValid()) {
                rc = sqlite3_bind_null(st, i + 1);
            } else if (v.typeId() == QMetaType::Double) {
                rc = sqlite3_bind_double(st, i + 1, v.toDouble());
            } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
                rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
            } else {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK)
                throw fail();
        }
        if (sqlite3_step(st) != SQLITE_DONE)
            throw fail();
    }
    return true;
}

bool DbConnection::ReadWholeNumbers(const QString& sql, std::vector<qint64>& out)
{
    auto* st = static_cast<sqlite3_stmt*>(prepareOnFile(sql));
    if (!st)
        return false;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(st, sqlite3_finalize);
    const int columns = sqlite3_column_count(st);
    int rc = sqlite3_step(st);
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st))
        for (int i = 0; i < columns; ++i)
            out.push_back(sqlite3_column_int64(st, i));
    if (rc != SQLITE_DONE)
        throw sqliteFailure(sqlite3_db_handle(st), sql);
    return true;
}

bool DbConnection::ReadRows(const QString& sql, const std::function<void(const DbScanRow&)>& row)
{
    auto* st = static_cast<sqlite3_stmt*>(prepareOnFile(sql));
    if (!st)
        return false;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(st, sqlite3_finalize);
    int rc = sqlite3_step(st);
    for (const DbScanRow cells = DbScanRow::ofStatement(st); rc == SQLITE_ROW; rc = sqlite3_step(st))
        row(cells);
    if (rc != SQLITE_DONE)
        throw sqliteFailure(sqlite3_db_handle(st), sql);
    return true;
}

std::unique_ptr<DbRecordset> DbConnection::OpenRecordset(const QString& sql)
{
    return readQuery(sql, false);
}

std::unique_ptr<DbRecordset> DbConnection::OpenCursor(const QString& sql)
{
    return readQuery(sql, true);
}

} // namespace platform
