#include "support/datarows.h"

#include "data/db.h"
#include "data/sqltext.h"

QStringList rowsOf(platform::DbConnection& db, const QString& sql)
{
    QStringList out;
    auto rs = db.OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs->columnCount(); ++i)
            cells << rs->Fields(i).toString();
        out << cells.join('|');
    }
    return out;
}

qint64 count(platform::DbConnection& db, const QString& sql)
{
    return db.GetValue(sql).toLongLong();
}

QStringList itemHoldings(platform::DbConnection& db, const QString& code)
{
    const QString c = platform::Quote(code);
    QStringList out;
    for (const QString& where :
         {QStringLiteral("inventory where code=") + c, QStringLiteral("shopitems where code=") + c,
          QStringLiteral("saleitems where code=") + c, QStringLiteral("stock where code=") + c,
          QStringLiteral("stockshop where stock=") + c + QStringLiteral(" and code=") + c +
              QStringLiteral(" and quantity='1'"),
          QStringLiteral("stocksale where stock=") + c + QStringLiteral(" and code=") + c +
              QStringLiteral(" and quantity='1'")})
        out << QString::number(count(db, QStringLiteral("select count(*) from ") + where));
    return out;
}
