#include "data/serverschema.h"

#include "data/keptdata.h"
#include "data/owntext.h"

#include "data/db.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace platform {

namespace {

QString readResource(const QString& name)
{
    QFile f(QStringLiteral(":/orvsql/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(OwnText("cNoSchema", QStringLiteral("Skema database tidak tersedia: %1")).arg(name));
    return QString::fromUtf8(f.readAll());
}

// char(a,b,...) of the template as a quoted literal: the server's char()
// would make bytes, not the characters the password form stands for.
QString charLiterals(const QString& sql)
{
    static const QRegularExpression call(QStringLiteral("\\bchar\\(([0-9 ,]+)\\)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    auto it = call.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        out += sql.mid(last, m.capturedStart() - last);
        QString text;
        for (const QString& code : m.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts))
            text += QChar(static_cast<char16_t>(code.trimmed().toUInt()));
        out += QLatin1Char('\'') + text + QLatin1Char('\'');
        last = m.capturedEnd();
    }
    out += sql.mid(last);
    return out;
}

QString serverTypes(QString sql)
{
    static const QRegularExpression nocase(QStringLiteral("\\bTEXT\\s+COLLATE\\s+NOCASE\\b"));
    static const QRegularExpression text(QStringLiteral("\\bTEXT\\b"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    static const QRegularExpression integer(QStringLiteral("\\bINTEGER\\b"));
    sql.replace(nocase, QStringLiteral("VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"));
    sql.replace(text, QStringLiteral("VARCHAR(255) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin"));
    sql.replace(real, QStringLiteral("DOUBLE"));
    sql.replace(integer, QStringLiteral("BIGINT"));
    return sql;
}

QString bareName(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('`')) && name.endsWith(QLatin1Char('`')) && name.size() >= 2)
        name = name.mid(1, name.size() - 2);
    return name.toLower();
}

// The server keeps an index key within 3072 bytes, and a text column of 255
// characters takes 1,020 of them: an index over several text columns holds
// only the first characters of each, as many as fit.
class KeyLengths {
public:
    void learn(const QString& statement)
    {
        static const QRegularExpression table(QStringLiteral("^create\\s+table\\s+(`[^`]+`|\\S+)\\s*\\((.*)\\)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::DotMatchesEverythingOption);
        const auto m = table.match(statement);
        if (!m.hasMatch())
            return;
        QSet<QString>& texts = m_texts[bareName(m.captured(1))];
        for (const QString& column : m.captured(2).split(QLatin1Char(','))) {
            static const QRegularExpression def(QStringLiteral("^\\s*(`[^`]+`|\\S+)\\s+TEXT\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
            const auto c = def.match(column);
            if (c.hasMatch())
                texts.insert(bareName(c.captured(1)));
        }
    }

    QString limit(const QString& statement) const
    {
        static const QRegularExpression index(
            QStringLiteral("^(create\\s+index\\s+\\S+\\s+on\\s+)(`[^`]+`|[^\\s(]+)\\s*\\((.*)\\)\\s*$"),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        const auto m = index.match(statement);
        if (!m.hasMatch())
            return statement;
        const QSet<QString> texts = m_texts.value(bareName(m.captured(2)));
        QStringList columns = m.captured(3).split(QLatin1Char(','));
        int textCount = 0;
        for (const QString& c : columns)
            textCount += texts.contains(bareName(c)) ? 1 : 0;
        const int others = int(columns.size()) - textCount;
        if (textCount == 0 || textCount * 1022 + others * 8 <= kMaxKey)
            return statement;
        const int chars = (kMaxKey - others * 8 - textCount * 2) / (textCount * 4);
        for (QString& c : columns)
            if (texts.contains(bareName(c)))
                c = c.left(c.indexOf(c.trimmed())) + c.trimmed() + QStringLiteral("(%1)").arg(chars);
        return m.captured(1) + m.captured(2) + QLatin1Char('(') + columns.join(QLatin1Char(',')) + QLatin1Char(')');
    }

private:
    static constexpr int kMaxKey = 3072;
    QHash<QString, QSet<QString>> m_texts;
};

} // namespace

QStringList ServerStatements(const QString& script)
{
    QStringList out;
    QString current;
    QChar quote;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < script.size() && script.at(i + 1) == QLatin1Char('-')) {
            while (i < script.size() && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('`') || c == QLatin1Char('"'))
            quote = c;
        if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    KeyLengths keys;
    for (QString& s : out) {
        // Only the script's types are rewritten, never a literal's text.
        if (s.startsWith(QLatin1String("insert"), Qt::CaseInsensitive)) {
            s = charLiterals(s);
            continue;
        }
        keys.learn(s);
        s = serverTypes(keys.limit(s));
    }
    return out;
}

QString OdbcConnectionText(const QString& markerFile, const QString& entryName)
{
    QFile f(markerFile);
    QString text;
    if (f.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(f.readAll()).trimmed();
    return text.isEmpty() ? QStringLiteral("DSN=") + entryName : text;
}

void PrepareServerDatabase(DbConnection& db)
{
    static const char* const tables[] = {"config", "operator", "SaleItems", "ShopItems", "cash"};
    for (const char* t : tables)
        if (db.hasTable(QString::fromLatin1(t)))
            return;
    // DDL commits by itself on the server, so the rows follow the tables
    // in one transaction of their own.
    for (const QString& s : ServerStatements(readResource(QStringLiteral("schema.sql"))))
        db.Execute(s);
    EnsureRowKeys(db);
    DbTransaction tx(db);
    for (const QString& s : ServerStatements(readResource(QStringLiteral("template.sql"))))
        db.Execute(s);
    tx.commit();
}

} // namespace platform
