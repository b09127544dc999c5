#include "ledger/model/amounts.h"

#include "data/db.h"
#include "data/sqltext.h"

#include <QVector>

namespace ledger {

KindAmounts AmountsOf(const QString& category, double debit, double credit)
{
    KindAmounts a;
    const double debitSide = debit - credit;
    const double creditSide = credit - debit;
    if (category == QLatin1String("Sale"))
        a.sale = debitSide;
    else if (category == QLatin1String("Shop"))
        a.shop = creditSide;
    else if (category == QLatin1String("Shop Retur"))
        a.shopRetur = debitSide;
    else if (category == QLatin1String("Sale Retur"))
        a.saleRetur = creditSide;
    else if (category == QLatin1String("Cash In"))
        a.cashIn = debitSide;
    else if (category == QLatin1String("Cash Out"))
        a.cashOut = creditSide;
    return a;
}

int Ex(platform::DbConnection& db)
{
    struct Row {
        qint64 id;
        KindAmounts amounts;
    };
    // Read first, then write: the rows are not rewritten under an open read.
    QVector<Row> rows;
    auto rs = db.OpenRecordset(QStringLiteral("select ID, Category, Debit, Credit from cash"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const platform::DbField id = rs->Fields(QStringLiteral("ID"));
        if (id.isNull())
            continue;
        rows.append({id.toLongLong(), AmountsOf(rs->Fields(QStringLiteral("Category")).toString(),
                                                rs->Fields(QStringLiteral("Debit")).toDouble(),
                                                rs->Fields(QStringLiteral("Credit")).toDouble())});
    }
    if (rows.isEmpty())
        return 0;
    using platform::Num;
    platform::DbTransaction tx(db);
    for (const Row& r : rows) {
        const KindAmounts& a = r.amounts;
        db.Execute(QStringLiteral("update `cash` set sale=") + Num(a.sale) + QStringLiteral(", shop=") + Num(a.shop) +
                   QStringLiteral(", shop_retur=") + Num(a.shopRetur) + QStringLiteral(", sale_retur=") +
                   Num(a.saleRetur) + QStringLiteral(", cash_in=") + Num(a.cashIn) + QStringLiteral(", cash_out=") +
                   Num(a.cashOut) + QStringLiteral(" where id=") + QString::number(r.id));
    }
    tx.commit();
    return rows.size();
}

} // namespace ledger
