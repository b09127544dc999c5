#include "platform/serverschema.h"

#include "platform/db.h"

#include <QFile>
#include <QRegularExpression>

namespace platform {

namespace {

QString readResource(const QString& name)
{
    QFile f(QStringLiteral(":/orvsql/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Skema database tidak tersedia: %1").arg(name));
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
    for (QString& s : out) {
        // Only the script's types are rewritten, never a literal's text.
        s = s.startsWith(QLatin1String("insert"), Qt::CaseInsensitive) ? charLiterals(s) : serverTypes(s);
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
    DbTransaction tx(db);
    for (const QString& s : ServerStatements(readResource(QStringLiteral("template.sql"))))
        db.Execute(s);
    tx.commit();
}

} // namespace platform
