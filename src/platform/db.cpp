#include "platform/db.h"

#include "platform/sqltext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <atomic>
#include <sqlite3.h>

namespace platform {

namespace {
void concatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv);
}

namespace {
QString logText(const QString& message, const QString& detail, const QString& sql, const QString& code)
{
    QString out = message;
    if (!detail.isEmpty())
        out += QStringLiteral(" (") + detail + QLatin1Char(')');
    if (!code.isEmpty())
        out += QStringLiteral(" [") + code + QLatin1Char(']');
    if (!sql.isEmpty())
        out += QStringLiteral("\nSQL: ") + sql;
    return out;
}
} // namespace

DbError::DbError(const QString& message, const QString& sql, const QString& nativeCode, const QString& detail)
    : std::runtime_error(logText(message, detail, sql, nativeCode).toStdString()), m_message(message), m_sql(sql),
      m_nativeCode(nativeCode), m_detail(detail)
{
}

DbError DbError::fromEngine(const QString& engineText, const QString& sql, const QString& nativeCode, bool onServer)
{
    DbError e(engineText, sql, nativeCode);
    e.m_byEngine = true;
    e.m_onServer = onServer;
    return e;
}

DbError DbError::missingFile(const QString& path, const QString& sql)
{
    DbError e(QStringLiteral("Berkas database tidak ditemukan: %1").arg(path), sql);
    e.m_missingPath = path;
    return e;
}

QString DbError::text() const
{
    return logText(m_message, m_detail, m_sql, m_nativeCode);
}

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
        throw DbError(QStringLiteral("Kolom '%1' tidak ada di hasil query").arg(name));
    return col;
}

DbField DbRecordset::Fields(const QString& name) const
{
    return Fields(FieldIndex(name));
}

DbField DbRecordset::Fields(int position) const
{
    if (Eof())
        throw DbError(QStringLiteral("Tidak ada baris data"));
    if (position < 0 || position >= m_names.size())
        throw DbError(QStringLiteral("Kolom ke-%1 tidak ada di hasil query").arg(position));
    return DbField(m_rows[m_pos][position]);
}

namespace {
int g_busyTimeoutMs = 5000;
} // namespace

int DbConnection::busyTimeout()
{
    return g_busyTimeoutMs;
}

void DbConnection::setBusyTimeout(int ms)
{
    g_busyTimeoutMs = ms;
}

DbConnection::DbConnection() : m_name(QStringLiteral("orv-") + QUuid::createUuid().toString(QUuid::Id128)) {}

DbConnection::~DbConnection()
{
    Close();
}

void DbConnection::Close()
{
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    m_path.clear();
    m_odbc = false;
    m_txDepth = 0;
    m_txFailed = false;
    m_summaries = false;
    m_waitingNoLonger = false;
}

bool DbConnection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

void DbConnection::Open(const QString& path, bool readOnly)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError::missingFile(path);
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("Berkas database tidak dapat dibuka: %1").arg(path));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw DbError(QStringLiteral("Berkas ini bukan database: %1").arg(path));
    }
    // A trial connection first, so that a refused file leaves the database
    // that was open before untouched.
    const QString trial = m_name + QStringLiteral("-next");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), trial);
        QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
        url.setQuery(readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout()) +
                             (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
        QString failure, code;
        if (!db.open()) {
            failure = db.lastError().text();
            code = db.lastError().nativeErrorCode();
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("select count(*) from sqlite_master"))) {
                failure = q.lastError().text();
                code = q.lastError().nativeErrorCode();
            }
        }
        if (!failure.isEmpty()) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(trial);
            throw DbError(QStringLiteral("Berkas ini bukan database yang dapat dibuka: %1").arg(path), QString(), code,
                          failure);
        }
    }
    Close();
    {
        QSqlDatabase db = QSqlDatabase::database(trial, false);
        QSqlDatabase::cloneDatabase(db, m_name);
    }
    QSqlDatabase::removeDatabase(trial);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.open())
        throw DbError(QStringLiteral("Database tidak dapat dibuka: %1").arg(path), QString(),
                      db.lastError().nativeErrorCode(), db.lastError().text());
    if (auto* h = static_cast<sqlite3*>(sqliteHandle())) {
        sqlite3_create_function_v2(h, "orv_concat", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &concatFunction,
                                   nullptr, nullptr, nullptr);
        // A whole catalogue's list or a sale's refill of the names reads the
        // same pages again and again: with SQLite's 2 MB a hundred thousand
        // contacts come back from the system each time. The cache grows only
        // as pages are read.
        sqlite3_exec(h, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    }
    m_path = info.absoluteFilePath();
    m_odbc = false;
    m_readOnly = readOnly;
    static std::atomic<quint64> serial{0};
    m_openSerial = ++serial;
}

void DbConnection::OpenOdbc(const QString& connectionText)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(QStringLiteral("Driver ODBC tidak terpasang"));
    const QString trial = m_name + QStringLiteral("-next");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), trial);
        db.setDatabaseName(connectionText);
        if (!db.open()) {
            const QSqlError refused = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(trial);
            throw DbError(QStringLiteral("Koneksi ODBC gagal"), QString(), refused.nativeErrorCode(), refused.text());
        }
        // The program names its tables in more than one spelling; a server
        // that tells them apart by case would see missing tables.
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select @@lower_case_table_names")) && q.next() && q.value(0).toInt() == 0) {
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(trial);
            throw DbError(QStringLiteral("Server database membedakan huruf besar/kecil pada nama tabel; "
                                         "setel lower_case_table_names=1 pada server"));
        }
        q = QSqlQuery();
        db.close();
    }
    Close();
    {
        QSqlDatabase db = QSqlDatabase::database(trial, false);
        QSqlDatabase::cloneDatabase(db, m_name);
    }
    QSqlDatabase::removeDatabase(trial);
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.open())
        throw DbError(QStringLiteral("Koneksi ODBC gagal"), QString(), db.lastError().nativeErrorCode(),
                      db.lastError().text());
    m_path = connectionText;
    m_odbc = true;
    // The session reads the program's SQL as the shared file does: '||'
    // joins text, a backslash is an ordinary character inside a literal,
    // and a grouped query may name columns it does not group by. The
    // character set is the driver's to choose (its Unicode calls carry any
    // text; the MariaDB driver refuses SET NAMES).
    try {
        Execute(QStringLiteral("SET SESSION sql_mode='PIPES_AS_CONCAT,NO_BACKSLASH_ESCAPES,NO_ENGINE_SUBSTITUTION'"));
    } catch (...) {
        Close();
        throw;
    }
}

void DbConnection::ensureOpen(const QString& sql) const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Belum ada database yang terbuka"), sql);
}

void* DbConnection::sqliteHandle() const
{
    if (m_odbc || !QSqlDatabase::contains(m_name))
        return nullptr;
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

bool DbConnection::engineInTransaction() const
{
    if (auto* h = static_cast<sqlite3*>(sqliteHandle()))
        return sqlite3_get_autocommit(h) == 0;
    // An ODBC source does not say; its own error ends the transaction.
    return m_txDepth > 0 && !m_txFailed;
}

QByteArray DbConnection::changeStamp()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return QByteArray();
    QByteArray stamp = QByteArray::number(m_openSerial) + ':' + QByteArray::number(sqlite3_total_changes64(h));
    for (const char* pragma : {"PRAGMA data_version", "PRAGMA schema_version"}) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(h, pragma, -1, &st, nullptr) != SQLITE_OK || sqlite3_step(st) != SQLITE_ROW) {
            sqlite3_finalize(st);
            return QByteArray();
        }
        stamp += ':' + QByteArray::number(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
    }
    return stamp;
}

qint64 DbConnection::schemaVersion()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return -1;
    // Asked for display's sake: never waits on another workstation's lock.
    sqlite3_busy_timeout(h, 0);
    sqlite3_stmt* st = nullptr;
    qint64 version = -2;
    if (sqlite3_prepare_v2(h, "PRAGMA schema_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    if (!m_waitingNoLonger)
        sqlite3_busy_timeout(h, busyTimeout());
    return version;
}

int DbConnection::control(const char* statement, QString* error, QString* code)
{
    if (auto* h = static_cast<sqlite3*>(sqliteHandle())) {
        const int rc = sqlite3_exec(h, statement, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            if (error)
                *error = QString::fromUtf8(sqlite3_errmsg(h));
            if (code)
                *code = QString::number(sqlite3_extended_errcode(h));
        }
        return rc;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (q.exec(QString::fromLatin1(statement)))
        return 0;
    if (error)
        *error = q.lastError().text();
    if (code)
        *code = q.lastError().nativeErrorCode();
    return 1;
}

void DbConnection::followFile(const QString& sql)
{
    if (m_txDepth > 0)
        return;
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h)
        return;
    // The engine's own test: the file it holds open is no longer the one at
    // its path. Writing on would go into a deleted file, and the engine
    // refuses that for as long as this connection lives.
    int moved = 0;
    if (sqlite3_file_control(h, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || !moved)
        return;
    const QString path = m_path;
    if (!QFileInfo(path).isFile())
        throw DbError::missingFile(path, sql);
    Open(path, m_readOnly);
}

DbError DbConnection::engineError(const QString& text, const QString& sql, const QString& code) const
{
    if (!m_odbc && !m_path.isEmpty() && !QFileInfo(m_path).isFile())
        return DbError::missingFile(m_path, sql);
    return DbError::fromEngine(text, sql, code, m_odbc);
}

void DbConnection::beforeStatement(const QString& sql)
{
    ensureOpen(sql);
    if (m_txDepth > 0 && !m_txFailed && !engineInTransaction())
        m_txFailed = true; // the engine ended it: what came before may be lost
    if (m_txFailed)
        throw DbError(QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan"), sql);
    ++m_statements;
}

void DbConnection::run(QSqlQuery& q, const QString& sql)
{
    beforeStatement(sql);
    if (!q.exec(translate(sql, m_odbc)))
        throw failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
}

namespace {
bool busyCode(const QString& code)
{
    const int primary = code.toInt() & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}
} // namespace

DbError DbConnection::failure(const QString& message, const QString& sql, const QString& code)
{
    if (m_txDepth > 0)
        m_txFailed = true;
    if (!m_odbc && !m_peeking && busyCode(code))
        waitNoLonger();
    return engineError(message, sql, code);
}

// Another workstation holds the file: whatever else this event reads would
// wait the whole timeout again for the same lock, and the window would
// answer once in many seconds. Until the event loop turns, statements fail
// at once; the one message of the event says why.
void DbConnection::waitNoLonger()
{
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (!h || m_waitingNoLonger || !QCoreApplication::instance())
        return;
    sqlite3_busy_timeout(h, 0);
    m_waitingNoLonger = true;
    if (!m_eventGuard)
        m_eventGuard = std::make_unique<QObject>();
    QTimer::singleShot(0, m_eventGuard.get(), [this] {
        m_waitingNoLonger = false;
        if (auto* handle = static_cast<sqlite3*>(sqliteHandle()))
            sqlite3_busy_timeout(handle, busyTimeout());
    });
}

std::optional<QVector<QVariant>> DbConnection::PeekRow(const QString& sql)
{
    // A file put back is opened again first: the handle below stays the one
    // the query runs on.
    followFile(sql);
    auto* h = static_cast<sqlite3*>(sqliteHandle());
    if (h)
        sqlite3_busy_timeout(h, 0);
    m_peeking = true;
    auto restore = [&] {
        m_peeking = false;
        if (h && !m_waitingNoLonger)
            sqlite3_busy_timeout(h, busyTimeout());
    };
    std::unique_ptr<DbRecordset> rs;
    try {
        rs = OpenRecordset(sql);
    } catch (const DbError& e) {
        restore();
        if (busyCode(e.nativeCode()))
            return std::nullopt;
        throw;
    }
    restore();
    QVector<QVariant> row(rs->columnCount());
    if (!rs->Eof())
        for (int i = 0; i < row.size(); ++i)
            row[i] = rs->Fields(i).Value();
    return row;
}

namespace {

// '&' joins texts as the program's own engine did: a number as its shortest
// text (10 not "10.0", 12.5, at most 15 significant digits), NULL as "".
void concatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    QByteArray out;
    for (int i = 0; i < argc; ++i) {
        switch (sqlite3_value_type(argv[i])) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER: out += QByteArray::number(sqlite3_value_int64(argv[i])); break;
        case SQLITE_FLOAT: out += Num(sqlite3_value_double(argv[i])).toLatin1(); break;
        default:
            out.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[i])), sqlite3_value_bytes(argv[i]));
            break;
        }
    }
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

struct Token {
    enum Kind { Word, Literal, Open, Close, Comma, Amp, Boundary, Other } kind;
    qsizetype begin;
    qsizetype end;
};

// Words and operators that bind more loosely than '&' or end an expression:
// an operand of '&' never reaches across one of them.
bool isBoundaryWord(QStringView word)
{
    static const char* const words[] = {
        "select", "distinct", "from", "where",  "and",  "or",     "not",    "as",     "on",     "by",    "group",
        "order",  "having",   "when", "then",   "else", "end",    "case",   "set",    "values", "like",  "between",
        "is",     "in",       "join", "inner",  "left", "right",  "outer",  "cross",  "asc",    "desc",  "limit",
        "offset", "union",    "all",  "insert", "into", "update", "delete", "escape", "glob",   "exists"};
    for (const char* w : words)
        if (word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QVector<Token> tokenize(const QString& sql)
{
    QVector<Token> out;
    const qsizetype n = sql.size();
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); };
    auto isCompare = [](QChar c) {
        return c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!');
    };
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('`') || c == QLatin1Char('"')) {
            ++i;
            while (i < n && sql.at(i) != c)
                ++i;
            if (i < n)
                ++i;
            out.append({Token::Literal, start, i});
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            out.append(
                {isBoundaryWord(QStringView(sql).mid(start, i - start)) ? Token::Boundary : Token::Word, start, i});
        } else if (isCompare(c)) {
            while (i < n && isCompare(sql.at(i)))
                ++i;
            out.append({Token::Boundary, start, i});
        } else {
            ++i;
            const Token::Kind kind = c == QLatin1Char('(')                            ? Token::Open
                                     : c == QLatin1Char(')')                          ? Token::Close
                                     : c == QLatin1Char(',') || c == QLatin1Char(';') ? Token::Comma
                                     : c == QLatin1Char('&')                          ? Token::Amp
                                                                                      : Token::Other;
            out.append({kind, start, i});
        }
    }
    return out;
}

// Each chain "a & b & c" of one expression becomes one call of the joining
// function with the operands as they stand; groups in parentheses are
// rewritten inside and count as part of an operand.
class ConcatRewriter {
public:
    ConcatRewriter(const QString& sql, const QString& call) : m_sql(sql), m_call(call), m_tokens(tokenize(sql))
    {
        m_match.fill(-1, m_tokens.size());
        QVector<qsizetype> open;
        for (qsizetype k = 0; k < m_tokens.size(); ++k) {
            if (m_tokens[k].kind == Token::Open) {
                open.append(k);
            } else if (m_tokens[k].kind == Token::Close && !open.isEmpty()) {
                m_match[open.last()] = k;
                m_match[k] = open.takeLast();
            }
        }
    }

    QString result()
    {
        if (m_tokens.isEmpty())
            return m_sql;
        return m_sql.left(m_tokens.first().begin) + rewrite(0, m_tokens.size()) + m_sql.mid(m_tokens.last().end);
    }

private:
    QString text(qsizetype k) const { return m_sql.mid(m_tokens[k].begin, m_tokens[k].end - m_tokens[k].begin); }
    QString gap(qsizetype k) const { return m_sql.mid(m_tokens[k - 1].end, m_tokens[k].begin - m_tokens[k - 1].end); }
    bool groupWithin(qsizetype k, qsizetype b) const
    {
        return m_tokens[k].kind == Token::Open && m_match[k] > k && m_match[k] < b;
    }

    QString copy(qsizetype a, qsizetype b)
    {
        QString out;
        for (qsizetype k = a; k < b;) {
            if (k > a)
                out += gap(k);
            if (groupWithin(k, b)) {
                const qsizetype m = m_match[k];
                out += QLatin1Char('(');
                if (m > k + 1)
                    out += gap(k + 1) + rewrite(k + 1, m);
                out += gap(m) + QLatin1Char(')');
                k = m + 1;
            } else {
                out += text(k++);
            }
        }
        return out;
    }

    QString rewrite(qsizetype a, qsizetype b)
    {
        QString out;
        qsizetype k = a;
        while (k < b) {
            qsizetype e = k;
            QVector<qsizetype> amps;
            while (e < b && m_tokens[e].kind != Token::Boundary && m_tokens[e].kind != Token::Comma) {
                if (groupWithin(e, b)) {
                    e = m_match[e] + 1;
                    continue;
                }
                if (m_tokens[e].kind == Token::Amp)
                    amps.append(e);
                ++e;
            }
            if (k > a)
                out += gap(k);
            if (amps.isEmpty()) {
                out += copy(k, e);
            } else {
                QStringList operands;
                qsizetype from = k;
                for (qsizetype amp : amps) {
                    operands << copy(from, amp);
                    from = amp + 1;
                }
                operands << copy(from, e);
                out += m_call + operands.join(QStringLiteral(", ")) + QLatin1Char(')');
            }
            if (e < b) {
                if (e > k)
                    out += gap(e);
                out += text(e);
            }
            k = e + 1;
        }
        return out;
    }

    const QString& m_sql;
    QString m_call;
    QVector<Token> m_tokens;
    QVector<qsizetype> m_match;
};

} // namespace

QString DbConnection::translate(const QString& sql, bool odbc)
{
    if (!sql.contains(QLatin1Char('&')))
        return sql;
    // MySQL's concat_ws skips NULLs and writes numbers without ".0".
    return ConcatRewriter(sql, odbc ? QStringLiteral("concat_ws('', ") : QStringLiteral("orv_concat(")).result();
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

} // namespace

// A query on the program's own engine is read straight from it: through
// Qt's driver every cell is cached and copied twice, which a month's
// journal feels.
namespace {

// A statement stepped as its recordset is walked.
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

// A forward-only query of Qt's driver, read as its recordset is walked.
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

std::unique_ptr<DbRecordset> DbConnection::readSqlite(void* handle, const QString& sql, bool walked)
{
    auto* h = static_cast<sqlite3*>(handle);
    const QByteArray text = translate(sql, false).toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    auto fail = [&]() -> DbError {
        const DbError e =
            failure(QString::fromUtf8(sqlite3_errmsg(h)), sql, QString::number(sqlite3_extended_errcode(h)));
        sqlite3_finalize(st);
        return e;
    };
    if (sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, &tail) != SQLITE_OK)
        throw fail();
    if (!st || QByteArray(tail).trimmed().size() > 0 || !sqlite3_stmt_readonly(st)) {
        // Not one statement that only reads: Qt's way, as before.
        sqlite3_finalize(st);
        return nullptr;
    }
    const int n = sqlite3_column_count(st);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << columnName(st, i);
    if (walked)
        return std::make_unique<DbRecordset>(names, std::make_unique<SqliteRows>(st, [this, h, sql] {
                                                 return failure(QString::fromUtf8(sqlite3_errmsg(h)), sql,
                                                                QString::number(sqlite3_extended_errcode(h)));
                                             }));
    QVector<QVector<QVariant>> rows;
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw fail();
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = cellOf(st, i);
        rows.append(std::move(row));
    }
    sqlite3_finalize(st);
    return std::make_unique<DbRecordset>(names, std::move(rows));
}

std::unique_ptr<DbRecordset> DbConnection::OpenRecordset(const QString& sql)
{
    followFile(sql);
    if (void* h = sqliteHandle()) {
        beforeStatement(sql);
        if (auto rs = readSqlite(h, sql))
            return rs;
        --m_statements; // counted again below
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    run(q, sql);
    QStringList names;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    QVector<QVector<QVariant>> rows;
    // Read everything at once so the file's read lock is released at once:
    // another workstation may be waiting to write.
    while (q.next()) {
        QVector<QVariant> row(names.size());
        for (int i = 0; i < names.size(); ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        throw failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
    return std::make_unique<DbRecordset>(names, std::move(rows));
}

std::unique_ptr<DbRecordset> DbConnection::OpenCursor(const QString& sql)
{
    followFile(sql);
    if (void* h = sqliteHandle()) {
        beforeStatement(sql);
        if (auto rs = readSqlite(h, sql, true))
            return rs;
        --m_statements; // counted again below
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    run(q, sql);
    QStringList names;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    return std::make_unique<DbRecordset>(names,
                                         std::make_unique<QueryRows>(std::move(q), [this, sql](const QSqlError& e) {
                                             return failure(e.text(), sql, e.nativeErrorCode());
                                         }));
}

void DbConnection::Execute(const QString& sql)
{
    followFile(sql);
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    run(q, sql);
}

QVariant DbConnection::GetValue(const QString& sql)
{
    followFile(sql);
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    run(q, sql);
    if (!q.next()) {
        if (q.lastError().isValid())
            throw failure(q.lastError().text(), sql, q.lastError().nativeErrorCode());
        return QVariant();
    }
    return q.value(0);
}

void DbConnection::Begin()
{
    const QString begin = m_odbc ? QStringLiteral("START TRANSACTION") : QStringLiteral("BEGIN IMMEDIATE");
    ensureOpen(begin);
    followFile(begin);
    if (m_txDepth > 0) {
        if (m_txFailed || !engineInTransaction()) {
            m_txFailed = true;
            throw DbError(QStringLiteral("Transaksi sudah dibatalkan; perintah ini tidak dijalankan"), begin);
        }
        ++m_txDepth;
        return;
    }
    if (m_odbc) {
        // Writers on the server take turns, as they do on a shared file:
        // one named lock for the whole database, held to the end.
        const QVariant got = GetValue(
            QStringLiteral("select get_lock(concat('orv-write-', database()), %1)").arg(qMax(1, busyTimeout() / 1000)));
        if (got.toInt() != 1)
            throw DbError(QStringLiteral("Kunci tulis database tidak didapat dalam waktu tunggu"), begin,
                          QStringLiteral("5"));
    }
    QString error, code;
    if (control(m_odbc ? "START TRANSACTION" : "BEGIN IMMEDIATE", &error, &code) != 0) {
        releaseWriteLock();
        throw failure(error, begin, code);
    }
    m_txDepth = 1;
    m_txFailed = false;
}

void DbConnection::Commit()
{
    if (m_txDepth == 0)
        throw DbError(QStringLiteral("Tidak ada transaksi yang terbuka"), QStringLiteral("COMMIT"));
    if (m_txFailed || !engineInTransaction()) {
        m_txFailed = true;
        // The outermost level ends here; an inner one stays for its Rollback.
        if (m_txDepth == 1)
            Rollback();
        throw DbError(QStringLiteral("Transaksi dibatalkan: tidak ada yang disimpan"), QStringLiteral("COMMIT"));
    }
    if (m_txDepth > 1) {
        --m_txDepth;
        return;
    }
    // A reader elsewhere may hold the file a moment longer than the busy
    // timeout; after a few tries the writes are given up as a whole.
    QString error, code;
    int rc = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        rc = control("COMMIT", &error, &code);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
    }
    if (rc == 0) {
        m_txDepth = 0;
        m_txFailed = false;
        if (!engineInTransaction()) {
            releaseWriteLock();
            return;
        }
        error = QStringLiteral("COMMIT tidak menutup transaksi");
        m_txDepth = 1;
    }
    Rollback();
    throw DbError(QStringLiteral("Transaksi dibatalkan, tidak ada yang disimpan"), QStringLiteral("COMMIT"), code,
                  error);
}

void DbConnection::Rollback()
{
    if (m_txDepth == 0)
        return;
    // Whatever level gives up, the engine's transaction goes now: nothing of
    // it may be committed in pieces, and other workstations wait no longer.
    if (isOpen() && (m_odbc || engineInTransaction()))
        control("ROLLBACK", nullptr);
    if (--m_txDepth > 0) {
        m_txFailed = true;
    } else {
        m_txFailed = false;
        releaseWriteLock();
    }
}

void DbConnection::releaseWriteLock()
{
    if (!m_odbc || !isOpen())
        return;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.exec(QStringLiteral("do release_lock(concat('orv-write-', database()))"));
}

bool DbConnection::hasTable(const QString& name)
{
    if (!isOpen())
        return false;
    const QStringList tables = tableNames();
    for (const QString& t : tables)
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The ODBC catalogue calls list every database of the server; the program
// sees only the one it is connected to.
QStringList DbConnection::tableNames()
{
    ensureOpen(QString());
    if (!m_odbc)
        return QSqlDatabase::database(m_name, false).tables();
    QStringList out;
    auto rs =
        OpenRecordset(QStringLiteral("select table_name from information_schema.tables where table_schema=database()"));
    for (; !rs->Eof(); rs->MoveNext())
        out << rs->Fields(0).toString();
    return out;
}

QStringList DbConnection::columnNames(const QString& table)
{
    ensureOpen(QString());
    QStringList out;
    if (m_odbc) {
        auto rs = OpenRecordset(QStringLiteral("select column_name from information_schema.columns where "
                                               "table_schema=database() and table_name=") +
                                Quote(table) + QStringLiteral(" order by ordinal_position"));
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->Fields(0).toString();
        return out;
    }
    const QSqlRecord rec = QSqlDatabase::database(m_name, false).record(table);
    for (int i = 0; i < rec.count(); ++i)
        out << rec.fieldName(i);
    return out;
}

DbTransaction::~DbTransaction()
{
    if (!m_done)
        m_db.Rollback();
}

void DbTransaction::commit()
{
    m_db.Commit();
    m_done = true;
}

qint64 NewId(DbConnection& db, const QString& table, const QString& idColumn)
{
    const QString col = QLatin1Char('`') + idColumn + QLatin1Char('`');
    QString from = QStringLiteral(" from `") + table + QLatin1Char('`');
    // On a server the rows read are locked to the commit as well.
    if (db.isOdbc() && db.inTransaction())
        from += QStringLiteral(" for update");
    // max() of an indexed column reads one index entry, and is NULL (0 here)
    // on an empty table; count() would read the whole table on every save.
    return static_cast<qint64>(
               StoredNumber(db.GetValue(QStringLiteral("select max(") + col + QLatin1Char(')') + from))) +
           1;
}

} // namespace platform
