#include "support/dbrows.h"

#include "core/mmain.h"

QStringList rowsOf(const QString& sql)
{
    QStringList out;
    auto rs = mMain::OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs->columnCount(); ++i)
            cells << rs->Fields(i).toString();
        out << cells.join('|');
    }
    return out;
}

qint64 count(const QString& sql)
{
    return mMain::GetValue(sql).toLongLong();
}
