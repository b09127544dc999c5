// Many rows through one insert: bound to a statement made once on a database
// file, sent as text to a server.
#include "data/db.h"

#include <sqlite3.h>

namespace platform {

namespace {

enum class Literal { Text, Integer, Number, Null, Other };

// What the engine's parser would make of one literal of a statement's text;
// `value` gets its text (a quoted text without its quotes).
Literal readLiteral(const QString& literal, QString& value, qint64& integer)
{
    const qsizetype n = literal.size();
    if (n >= 2 && literal.front() == QLatin1Char('\'') && literal.back() == QLatin1Char('\'')) {
        value = literal.mid(1, n - 2);
        // A quote inside stands doubled; a lone one would end the literal.
        const QString single = QStringLiteral("'");
        if (value.count(single) != 2 * value.count(QStringLiteral("''")))
            return Literal::Other;
        value.replace(QStringLiteral("''"), single);
        return Literal::Text;
    }
    if (literal.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
        return Literal::Null;
    // A bare number as Num writes it: sign, digits, one point, an exponent.
    static const QString allowed = QStringLiteral("0123456789.eE+-");
    if (n == 0 || n > 40)
        return Literal::Other;
    for (const QChar c : literal)
        if (!allowed.contains(c))
            return Literal::Other;
    bool whole = false;
    integer = literal.toLongLong(&whole);
    if (whole)
        return Literal::Integer;
    bool number = false;
    literal.toDouble(&number);
    if (!number)
        return Literal::Other;
    // The engine reads the text itself, as it reads a literal: a real
    // column gets the very value the statement would have given it.
    value = literal;
    return Literal::Number;
}

} // namespace

DbInserts::DbInserts(DbConnection& db, QString head) : m_db(db), m_head(std::move(head)) {}

DbInserts::~DbInserts()
{
    finish();
}

void DbInserts::finish()
{
    sqlite3_finalize(static_cast<sqlite3_stmt*>(m_statement));
    m_statement = nullptr;
    m_handle = nullptr;
    m_columns = -1;
}

QString DbInserts::text(const QStringList& literals) const
{
    return m_head + literals.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void DbInserts::insert(const QStringList& literals)
{
    const QString sql = text(literals);
    m_db.followFile(sql);
    auto* h = static_cast<sqlite3*>(m_db.sqliteHandle());
    // Each literal bound as what the parser would make of it; one that is
    // not plainly a text, a number or null goes as the statement's text.
    struct Bound {
        Literal kind;
        QByteArray text;
        qint64 integer = 0;
    };
    std::vector<Bound> values;
    if (h) {
        values.reserve(size_t(literals.size()));
        for (const QString& l : literals) {
            QString value;
            qint64 integer = 0;
            const Literal kind = readLiteral(l, value, integer);
            if (kind == Literal::Other) {
                values.clear();
                break;
            }
            values.push_back({kind, value.toUtf8(), integer});
        }
    }
    if (values.empty() || literals.isEmpty()) {
        m_db.Execute(sql);
        return;
    }
    m_db.beforeStatement(sql);
    auto fail = [&] { return m_db.sqliteFailure(h, sql); };
    if (m_statement && (m_handle != h || m_serial != m_db.m_openSerial || m_columns != literals.size()))
        finish();
    if (!m_statement) {
        QString marks = m_head;
        for (qsizetype i = 0; i < literals.size(); ++i)
            marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
        m_statement = m_db.prepareSqlite(h, sql, DbConnection::translate(marks + QLatin1Char(')'), false).toUtf8());
        m_handle = h;
        m_serial = m_db.m_openSerial;
        m_columns = literals.size();
    }
    auto* st = static_cast<sqlite3_stmt*>(m_statement);
    for (int i = 0; i < int(values.size()); ++i) {
        const Bound& b = values[size_t(i)];
        switch (b.kind) {
        case Literal::Integer: sqlite3_bind_int64(st, i + 1, b.integer); break;
        case Literal::Null: sqlite3_bind_null(st, i + 1); break;
        default: sqlite3_bind_text(st, i + 1, b.text.constData(), int(b.text.size()), SQLITE_TRANSIENT); break;
        }
    }
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        const DbError e = fail();
        sqlite3_reset(st);
        throw e;
    }
    sqlite3_reset(st);
}

} // namespace platform
