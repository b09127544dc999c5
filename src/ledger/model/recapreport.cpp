#include "ledger/model/recapreport.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "ledger/model/reportcommon.h"

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Pad;

namespace ledger {

namespace {

QString RecapFigures(const platform::DbRecordset& rs)
{
    const double sale = Field(rs, "sale"), shop = Field(rs, "shop");
    const double in = Field(rs, "cash_in"), out = Field(rs, "cash_out");
    const double debit = Field(rs, "debit"), credit = Field(rs, "credit");
    QStringList cells;
    for (double v : {sale, shop, sale - shop, in, out, in - out, debit, credit, debit - credit})
        cells << AlignRight(FormatAmount(v), Pad(15));
    return cells.join(kBlank);
}

const QString kRecapSums = QStringLiteral(
    "sum(sale) as sale, sum(shop) as shop, sum(shop_retur) as shop_retur, sum(sale_retur) as sale_retur, "
    "sum(cash_in) as cash_in, sum(cash_out) as cash_out, sum(debit) as debit, sum(credit) as credit from cash where ");
const QString kRecapKeptSums =
    QString(kRecapSums).replace(QStringLiteral(" from cash "), QStringLiteral(" from cashday "));
const QString kRecapDays =
    QStringLiteral("sale, shop, shop_retur, sale_retur, cash_in, cash_out, debit, credit from cashday where ");

} // namespace

Report BuildRecap(const ReportContext& ctx, const ReportRange& range)
{
    Report r;
    const auto& t = ctx.title;
    QStringList head{AlignLeft(t(QStringLiteral("tDate")), Pad(10))};
    for (const char* key : {"tSale", "tShop", "tSaldo", "tCashIn", "tCashOut", "tSaldo", "tDebit", "tCredit", "tSaldo"})
        head << AlignRight(t(QString::fromLatin1(key)), Pad(15));
    r.add(head.join(kBlank));
    r.add(Rule());

    const QString w = DateCondition(ctx, range);
    // The database's day totals are the days' sums already: a year is its
    // days, whatever its rows.
    const bool kept = ctx.db.keepsSummaries();
    const QString sums = kept ? kRecapKeptSums + w + QStringLiteral(" and entries > 0") : kRecapSums + w;
    r.sql = kept ? QStringLiteral("select moment as Tanggal, ") + kRecapDays + w +
                       QStringLiteral(" and entries > 0 order by moment")
                 : QStringLiteral("select moment as Tanggal, ") + kRecapSums + w +
                       QStringLiteral(" group by moment order by moment");
    auto rs = ctx.db.OpenRecordset(r.sql);
    for (; !rs->Eof(); rs->MoveNext())
        r.add(AlignLeft(ShowDate(rs->Fields(QStringLiteral("Tanggal")).Value()), Pad(10)) + kBlank + RecapFigures(*rs));
    if (r.lines.size() > 2) {
        auto total = ctx.db.OpenRecordset(QStringLiteral("select ") + sums);
        r.add(Rule());
        r.add(AlignLeft(QStringLiteral("Total"), Pad(10)) + kBlank + RecapFigures(*total));
    }
    return r;
}

ReportRows OpenRecap(const ReportContext& ctx, const ReportRange& range)
{
    return Held(BuildRecap(ctx, range));
}

} // namespace ledger
