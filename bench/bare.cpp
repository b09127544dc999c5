#include "bare.h"

#include <QFile>
#include <stdexcept>
#include <string>

Bare::Bare(const QString& file)
{
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string error = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw std::runtime_error(error + ": " + QFile::encodeName(file).toStdString());
    }
    sqlite3_busy_timeout(m_db, 5000);
}

Bare::~Bare()
{
    sqlite3_close(m_db);
}

void Bare::exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(text + " in " + sql);
    }
}

sqlite3_stmt* Bare::prepare(const char* sql)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " + sql);
    return st;
}

QVariant Bare::value(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    Statement st(*this, text.constData());
    if (sqlite3_step(st) != SQLITE_ROW)
        return QVariant();
    switch (sqlite3_column_type(st, 0)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(st, 0)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(st, 0));
    case SQLITE_NULL: return QVariant();
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                 sqlite3_column_bytes(st, 0));
    }
}

qint64 Bare::read(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    Statement st(*this, text.constData());
    qint64 bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int n = sqlite3_column_count(st);
        for (int i = 0; i < n; ++i) {
            sqlite3_column_text(st, i);
            bytes += sqlite3_column_bytes(st, i);
        }
    }
    return bytes;
}

QList<QVariantList> Bare::rows(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    Statement st(*this, text.constData());
    QList<QVariantList> rows;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QVariantList row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER: row << QVariant(qint64(sqlite3_column_int64(st, i))); break;
            case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(st, i)); break;
            case SQLITE_NULL: row << QVariant(); break;
            default:
                row << QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                                  sqlite3_column_bytes(st, i)));
            }
        }
        rows << row;
    }
    return rows;
}

bool Bare::hasTable(const char* name)
{
    return value(QStringLiteral("select count(*) from sqlite_master where type='table' and name=") + QLatin1Char('\'') +
                 QLatin1String(name) + QLatin1Char('\''))
               .toLongLong() > 0;
}

void Statement::cell(int column, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType: sqlite3_bind_null(m_st, column); break;
    case QMetaType::LongLong: integer(column, value.toLongLong()); break;
    case QMetaType::Double: number(column, value.toDouble()); break;
    default: text(column, value.toString().toUtf8());
    }
}

void Statement::insert()
{
    const int rc = sqlite3_step(m_st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(std::string("insert failed: ") + sqlite3_errstr(rc));
    sqlite3_reset(m_st);
}
