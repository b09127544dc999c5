#include "sqlscript.h"

QList<SqlStatement> splitSqlScript(const QString& script)
{
    QList<SqlStatement> out;
    QString current;
    int line = 1;
    int startLine = 0; // line of the first visible character of `current`
    QChar quote;       // the closing character while inside a quoted part
    const qsizetype n = script.size();

    auto flush = [&]() {
        const QString text = current.trimmed();
        if (!text.isEmpty())
            out.append({text, startLine});
        current.clear();
        startLine = 0;
    };
    auto take = [&](QChar c) {
        if (startLine == 0 && !c.isSpace())
            startLine = line;
        current.append(c);
    };

    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < n ? script.at(i + 1) : QChar();

        if (!quote.isNull()) {
            // A doubled quote inside a quoted part closes and reopens it, so
            // plain toggling handles 'it''s' without a special case.
            current.append(c);
            if (c == u'\n')
                ++line;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'-' && next == u'-') {
            while (i < n && script.at(i) != u'\n')
                ++i;
            if (i < n) {
                ++line;
                current.append(u'\n');
            }
            continue;
        }
        if (c == u'/' && next == u'*') {
            i += 2;
            while (i < n && !(script.at(i) == u'*' && i + 1 < n && script.at(i + 1) == u'/')) {
                if (script.at(i) == u'\n')
                    ++line;
                ++i;
            }
            ++i; // past the closing '/'
            current.append(u' ');
            continue;
        }
        if (c == u';') {
            flush();
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'`')
            quote = c;
        else if (c == u'[')
            quote = u']';
        take(c);
        if (c == u'\n')
            ++line;
    }
    flush();
    return out;
}
