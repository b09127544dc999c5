#pragma once
// The database component: one connection on one database file, queries that
// come back as recordsets read row by row, and statements. It accepts the SQL
// text the windows build (backticked names, '&' as text concatenation) and
// raises DbError, carrying the statement, for every failure.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QObject;
class QSqlQuery;

namespace platform {

class DbError : public std::runtime_error {
public:
    // A failure the program words itself; detail carries what the engine
    // said about it, for the log.
    DbError(const QString& message, const QString& sql = QString(), const QString& nativeCode = QString(),
            const QString& detail = QString());
    // A failure in the engine's own words: the operator is told what it
    // means, never the words themselves.
    // onServer: the code is a database server's (through ODBC), not the
    // file engine's.
    static DbError fromEngine(const QString& engineText, const QString& sql, const QString& nativeCode,
                              bool onServer = false);
    // The database file is no longer where the connection opened it.
    static DbError missingFile(const QString& path, const QString& sql = QString());
    // The connection to the database server is gone; the driver's words
    // and codes go to the log.
    static DbError lostConnection(const QString& driverText, const QString& sql, const QString& nativeCode);

    const QString& message() const { return m_message; }
    const QString& sql() const { return m_sql; }
    // The engine's own error code ("" when the failure did not come from
    // the engine), so that a busy or read-only file can be told apart.
    const QString& nativeCode() const { return m_nativeCode; }
    bool byEngine() const { return m_byEngine; }
    bool onServer() const { return m_onServer; }
    // The path of the database file that is gone; "" for any other failure.
    const QString& missingPath() const { return m_missingPath; }
    // The server's connection was lost (or could not be made again).
    bool connectionLost() const { return m_connectionLost; }
    // Everything known of the failure, the statement included, for the log.
    QString text() const;

private:
    QString m_message;
    QString m_sql;
    QString m_nativeCode;
    QString m_detail;
    QString m_missingPath;
    bool m_byEngine = false;
    bool m_onServer = false;
    bool m_connectionLost = false;
};

class DbField {
public:
    DbField() = default;
    explicit DbField(QVariant v) : m_value(std::move(v)) {}
    const QVariant& Value() const { return m_value; }
    bool isNull() const { return m_value.isNull() || !m_value.isValid(); }
    // Text form of the value; null reads as "", a real number as Num writes it.
    QString toString() const;
    // The value as a number (StoredNumber): null gives 0; a stored text that
    // is not a number raises DbError.
    double toDouble() const;
    // Whole units after the one rounding rule (RoundAmount).
    qlonglong toLongLong() const;
    bool toBool() const;

private:
    QVariant m_value;
};

// Where a recordset walked row by row takes its next row from.
class DbRowSource {
public:
    virtual ~DbRowSource() = default;
    // The next row into `row` (sized to the columns); false after the last.
    virtual bool next(QVector<QVariant>& row) = 0;
};

class DbRecordset {
public:
    DbRecordset(QStringList names, QVector<QVector<QVariant>> rows);
    // Rows read one at a time as they are walked: only the current one is
    // held.
    DbRecordset(QStringList names, std::unique_ptr<DbRowSource> source);
    ~DbRecordset();
    bool Eof() const { return m_pos >= m_rows.size(); }
    void MoveNext();
    // By column name, without regard to case; an unknown name is an error.
    DbField Fields(const QString& name) const;
    DbField Fields(int position) const;
    // The position of a named column, for reading many rows by position.
    int FieldIndex(const QString& name) const;
    int columnCount() const { return m_names.size(); }
    // All the rows; for a recordset walked row by row, only whether one is
    // left (0 or 1).
    int rowCount() const { return m_rows.size(); }
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
    QVector<QVector<QVariant>> m_rows;
    int m_pos = 0;
    std::unique_ptr<DbRowSource> m_source;
};

// A row of a pass made by DbConnection::ScanRows: its cells as the engine
// holds them, read in place, valid only while the row is handed over.
class DbScanRow {
public:
    explicit DbScanRow(void* const* cells) : m_cells(cells) {}
    // The current row of a statement being stepped (DbConnection::ReadRows).
    static DbScanRow ofStatement(void* statement);
    // What the cell holds, as the engine stored it.
    enum Kind { Null, Whole, Real, Text, Bytes };
    Kind kind(int column) const;
    bool isNull(int column) const;
    // As the engine's arithmetic reads the cell (a text by its leading
    // number, NULL as 0).
    double number(int column) const;
    qint64 whole(int column) const;
    // The cell as the engine's text functions see it, in UTF-8.
    QByteArrayView text(int column) const;

private:
    // The engine's own values of the row, or the statement whose row it is.
    void* const* m_cells = nullptr;
    void* m_statement = nullptr;
};

class DbConnection {
    friend class DbInserts;

public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens an existing database file; never creates one. A missing file or
    // a file that is not a database is refused with DbError, and the file
    // that was open before stays open.
    void Open(const QString& path, bool readOnly = false);
    // An ODBC data source (a connection text or a DSN).
    void OpenOdbc(const QString& connectionText);
    // A database is open; on a server, also while its connection is lost
    // until the next statement makes it again.
    bool isOpen() const;
    QString path() const { return m_path; }
    void Close();

    std::unique_ptr<DbRecordset> OpenRecordset(const QString& sql);
    // The same rows read as they are walked, for a list of the whole
    // catalogue: a hundred thousand rows are never all held as values at
    // once. The query holds its read until the recordset is destroyed, so
    // walk it straight through.
    std::unique_ptr<DbRecordset> OpenCursor(const QString& sql);
    void Execute(const QString& sql);
    // One pass over every row of a table of a database file, in the
    // table's own order, for the rare pass over a whole big table: the
    // given columns (or expressions) of each row are handed to `row` in
    // place, never made into values. With a condition, the rows it holds
    // in the order the engine's plan for it walks them. Returns false,
    // having read nothing, on a server.
    bool ScanRows(const QString& table, const QStringList& columns, const std::function<void(const DbScanRow&)>& row,
                  const QString& where = QString());
    // The rows of a reading query on a database file in the query's own
    // order, each handed to `row` in place, never made into values: for
    // an export of a page of rows at a time. The query holds its read
    // until its last row, so keep it short. Returns false, having read
    // nothing, on a server.
    bool ReadRows(const QString& sql, const std::function<void(const DbScanRow&)>& row);
    // A statement with ?1, ?2 … run once for each row of values, prepared
    // once, on a database file (numbers as numbers, texts as texts, null
    // as null). Returns false, having run nothing, on a server.
    bool ExecuteEach(const QString& sql, const QVector<QVector<QVariant>>& rows);
    // Every cell of a query whose columns are whole numbers (row keys),
    // row after row, appended to `out` as the engine holds them, on a
    // database file. Returns false, having read nothing, on a server.
    bool ReadWholeNumbers(const QString& sql, std::vector<qint64>& out);
    // First column of the first row; null when the query gives no row.
    QVariant GetValue(const QString& sql);

    // Write transaction (BEGIN IMMEDIATE on SQLite, a database-wide named lock
    // on a server, so another workstation waits instead of interleaving). Nested calls join the outer one, and
    // all of it commits or none of it: once any part has failed (an inner
    // Rollback, a failed statement, the engine ending the transaction by
    // itself), every later statement and Begin and the outer Commit raise
    // DbError until the outermost Rollback. A COMMIT the engine refuses (a
    // reader on another workstation outlasting the busy timeout) is tried a
    // few times, then rolled back and raised: the file is never left locked.
    void Begin();
    void Commit();
    void Rollback();
    bool inTransaction() const { return m_txDepth > 0; }

    // Different whenever the database may have changed since an earlier
    // call: a commit of another connection, a write or schema change of this
    // one, another file opened. Empty where the engine cannot tell.
    QByteArray changeStamp();
    // The same for one table (any spelling of its name): a write of this
    // connection to another table leaves it as it was, so that a list of
    // names is not read again for every cart line. A commit of another
    // connection still changes it, whichever table it wrote; what triggers
    // write is not told apart from the statement that fired them. Empty
    // where the engine cannot tell.
    QByteArray tableStamp(const QString& table);
    // What the kept data (keptdata.h) found at the login: the tables,
    // lower case, whose writes a number drawn by triggers tells (none:
    // stamps follow every commit), and how to check again that the number
    // and its triggers are whole once the schema changed.
    void keepNameStamp(QSet<QString> tables, std::function<bool(DbConnection&)> whole);
    // Whether the tables the lists read carry the server's row numbers.
    void keepRowKeys(bool all) { m_rowKeys = all; }
    // What the two above told this connection, for a second connection to
    // the same database (taken on this one's thread, adopted on the other's),
    // which then stamps its tables and keys its lists' rows alike.
    struct Kept {
        QSet<QString> stampTables;
        std::function<bool(DbConnection&)> stampWhole;
        bool nameStamp = false;
        bool rowKeys = false;
    };
    Kept kept() const { return {m_stampTables, m_stampWhole, m_nameStamp, m_rowKeys}; }
    void adoptKept(const Kept& k)
    {
        keepNameStamp(k.nameStamp ? k.stampTables : QSet<QString>(), k.stampWhole);
        keepRowKeys(k.rowKeys);
    }
    // How many of the named triggers the database holds, on the given
    // tables (a server then reads the triggers of those tables only, not
    // of every table it serves).
    int TriggerCount(const QStringList& names, const QStringList& tables);
    // The column that orders those tables' rows as a scan returns them, to
    // read a list of them by pages: the row id on a file, the column above
    // on a server that took it, empty otherwise.
    QString rowKey() const;
    // SQLite's count of schema changes (a table made or dropped, a restore
    // into the file), read without waiting: -1 where the engine keeps none,
    // -2 while another workstation holds the file.
    qint64 schemaVersion();
    // The statements this connection has run.
    quint64 statementCount() const { return m_statements; }
    // The first row of a query that is only for display: it never waits on
    // another workstation's lock. Nothing (no value) when the database is
    // busy right now; other failures raise DbError.
    std::optional<QVector<QVariant>> PeekRow(const QString& sql);
    // Whether the database keeps its running totals (the cash balance and
    // the monthly stock figures) by itself; set once they are checked.
    bool keepsSummaries() const { return m_summaries; }
    void setKeepsSummaries(bool on) { m_summaries = on; }

    bool isOdbc() const { return m_odbc; }
    bool hasTable(const QString& name);
    // The tables of the database, and the columns of one of them in their
    // order, as the engine's catalogue tells them.
    QStringList tableNames();
    QStringList columnNames(const QString& table);

    // The SQL text as the engine reads it: each chain "a & b & c" outside
    // literals and quoted names becomes one call that joins its operands as
    // texts (orv_concat on SQLite, concat_ws on an ODBC source), an operand
    // reaching as far as '&' binds (arithmetic is inside, comparisons,
    // commas and clause words are outside).
    static QString translate(const QString& sql, bool odbc = false);

    // How long a statement waits for another workstation's lock before it
    // fails as busy; it applies to connections opened afterwards.
    static int busyTimeout();
    static void setBusyTimeout(int ms);

private:
    void ensureOpen(const QString& sql) const;
    // Runs a statement of the caller's SQL text; a failure inside a
    // transaction fails the whole transaction.
    void run(QSqlQuery& q, const QString& sql);
    // The checks and the count before any statement runs.
    void beforeStatement(const QString& sql);
    // Before a statement outside a transaction (and before any query object
    // holds the connection): a database file deleted since it was opened is
    // refused as missing, and one put back at its path is opened again, so
    // that the session goes on without a new login.
    void followFile(const QString& sql);
    // Before a statement outside a transaction on a server: a connection
    // seen lost is opened again first, so that the session goes on once the
    // server is back, as a database file put back is taken up again.
    void followServer(const QString& sql);
    // Closes and opens the server connection under the same connection
    // text; at most once until the event loop turns, so that an action on a
    // server still down fails at once instead of waiting on every statement.
    void reconnect(const QString& sql);
    // What the session is told after every connect to a server.
    void setUpSession();
    // The ODBC driver's own words (and states) left on the connection,
    // for a statement Qt's driver could not even start.
    QString driverWords(QString* code) const;
    // A failure the engine reported; told as the file being gone when it is.
    DbError engineError(const QString& text, const QString& sql, const QString& code) const;
    // The rows of one reading statement on a SQLite handle, its column
    // names into `names`; null for any other statement, which goes through
    // Qt's driver.
    std::unique_ptr<DbRowSource> readSqlite(void* handle, const QString& sql, QStringList& names);
    // OpenRecordset (all rows at once) and OpenCursor (walked).
    std::unique_ptr<DbRecordset> readQuery(const QString& sql, bool walked);
    // The end of Open and OpenOdbc: the trial connection, opened and
    // checked, takes this one's place, and only now is the database open
    // before closed. A connection that will not open again under its own
    // name raises `refusal`.
    void adoptTrial(const QString& trial, const QString& refusal, const QString& path, bool odbc, bool readOnly);
    // BEGIN, COMMIT or ROLLBACK; the engine's result code (0 for success),
    // its message and its native code for DbError.
    int control(const char* statement, QString* error, QString* code = nullptr);
    // The engine's own word on whether a transaction is open.
    bool engineInTransaction() const;
    void* sqliteHandle() const;
    void releaseWriteLock();
    // A failed statement: raised as DbError, and a busy database makes the
    // rest of the event fail at once instead of waiting again.
    DbError failure(const QString& message, const QString& sql, const QString& code);
    // The failure a SQLite handle reports for the caller's statement.
    DbError sqliteFailure(void* handle, const QString& sql);
    // A statement prepared on a SQLite handle from the engine's text of
    // the caller's SQL; raises the engine's failure.
    void* prepareSqlite(void* handle, const QString& sql, const QByteArray& text);
    // The statement prepared on a database file, the file followed and the
    // statement counted as every statement is; nullptr on a server.
    void* prepareOnFile(const QString& sql);
    void waitNoLonger();
    // Counts a statement's write to the table it names (see tableStamp).
    void countWrite(const QString& sql);
    QString m_name;
    QString m_path;
    bool m_odbc = false;
    bool m_readOnly = false;
    int m_txDepth = 0;
    bool m_txFailed = false;
    quint64 m_statements = 0;
    quint64 m_openSerial = 0;
    // Writes of this connection by table (lower case); those whose table
    // cannot be told, and rollbacks, count against every table.
    QHash<QString, quint64> m_writes;
    quint64 m_writesAnywhere = 0;
    // The number drawn at each write to m_stampTables is in place, as last seen
    // at this schema version (SQLite; -1 on a server).
    bool m_nameStamp = false;
    qint64 m_nameStampSchema = -1;
    QSet<QString> m_stampTables;
    std::function<bool(DbConnection&)> m_stampWhole;
    bool m_summaries = false;
    bool m_rowKeys = false;
    bool m_waitingNoLonger = false;
    bool m_peeking = false;
    // The server connection failed as lost; the next statement outside a
    // transaction connects again.
    bool m_lost = false;
    bool m_reconnectTried = false;
    // The driver's words and codes of the last loss, for the failures of
    // the statements that follow it without a new attempt.
    QString m_lostText;
    QString m_lostCode;
    std::unique_ptr<QObject> m_eventGuard;
};

// One insert run for many rows, as the rows of one save: on a database file
// the statement is made once and each row's values are bound to it (the
// engine would otherwise make the statement and its triggers again for
// every row); on a server each row goes as its own statement text. A row is
// given as the SQL literals its statement holds ('text', 12.5, 7, null), so
// that both ways store the same values in text, integer and real columns.
class DbInserts {
public:
    // head: the statement up to its values, "insert into cash values(".
    DbInserts(DbConnection& db, QString head);
    ~DbInserts();
    DbInserts(const DbInserts&) = delete;
    DbInserts& operator=(const DbInserts&) = delete;
    // Runs head + the literals joined by ", " + ")".
    void insert(const QStringList& literals);
    // The statement's text for the row, as insert runs it.
    QString text(const QStringList& literals) const;

private:
    void finish();
    DbConnection& m_db;
    QString m_head;
    void* m_statement = nullptr;
    void* m_handle = nullptr;
    quint64 m_serial = 0;
    qsizetype m_columns = -1;
};

// All of it or none of it: rolls back unless commit() was called.
class DbTransaction {
public:
    explicit DbTransaction(DbConnection& db) : m_db(db) { m_db.Begin(); }
    ~DbTransaction();
    void commit();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

private:
    DbConnection& m_db;
    bool m_done = false;
};

// A new id for the table: 1 for an empty table, else the largest plus 1.
// Call it inside the write transaction of the insert that uses it, so that
// two workstations on one file never take the same id.
qint64 NewId(DbConnection& db, const QString& table, const QString& idColumn);

} // namespace platform
