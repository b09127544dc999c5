#pragma once
// The bare SQLite C API on a database file: what the program's figures are
// set beside, and the bulk writer of the bench's data.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

class Bare {
public:
    explicit Bare(const QString& file);
    ~Bare();
    Bare(const Bare&) = delete;
    Bare& operator=(const Bare&) = delete;

    sqlite3* handle() const { return m_db; }
    void exec(const char* sql);
    void exec(const QString& sql) { exec(sql.toUtf8().constData()); }
    sqlite3_stmt* prepare(const char* sql);
    // The first column of the first row; invalid without rows.
    QVariant value(const QString& sql);
    // Runs the query and reads every cell of every row, as a list would.
    qint64 read(const QString& sql);
    // Every row of the query, each cell as the engine holds it (integer,
    // real, text or null).
    QList<QVariantList> rows(const QString& sql);
    bool hasTable(const char* name);

private:
    sqlite3* m_db = nullptr;
};

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(Bare& db, const char* sql) : m_st(db.prepare(sql)) {}
    ~Statement() { sqlite3_finalize(m_st); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    operator sqlite3_stmt*() const { return m_st; }
    // One row of an insert: steps, then resets for the next.
    void insert();
    void text(int column, const char* value, int size = -1)
    {
        sqlite3_bind_text(m_st, column, value, size, SQLITE_TRANSIENT);
    }
    void text(int column, const QByteArray& value) { text(column, value.constData(), int(value.size())); }
    void number(int column, double value) { sqlite3_bind_double(m_st, column, value); }
    void integer(int column, qint64 value) { sqlite3_bind_int64(m_st, column, value); }
    // A cell as Bare::rows gave it.
    void cell(int column, const QVariant& value);

private:
    sqlite3_stmt* m_st;
};
