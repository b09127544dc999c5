// '&' as text concatenation, outside literals and quoted names: the
// tokenizer, the rewrite into one joining call per chain, and the joining
// function of the file engine.
#include "data/sqltranslate.h"

#include "data/db.h"
#include "data/sqltext.h"

#include <QStringList>
#include <QVector>
#include <sqlite3.h>

namespace platform {

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

void AddJoinFunction(sqlite3* handle)
{
    sqlite3_create_function_v2(handle, "orv_concat", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &concatFunction,
                               nullptr, nullptr, nullptr);
}

QString DbConnection::translate(const QString& sql, bool odbc)
{
    if (!sql.contains(QLatin1Char('&')))
        return sql;
    // MySQL's concat_ws skips NULLs and writes numbers without ".0".
    return ConcatRewriter(sql, odbc ? QStringLiteral("concat_ws('', ") : QStringLiteral("orv_concat(")).result();
}

} // namespace platform
