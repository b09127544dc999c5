#include "cashier/model/journal.h"

#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "platform/db.h"
#include "platform/sqltext.h"

namespace cashier {

using platform::Num;
using platform::Quote;

void BookAmount(JournalRow& r, double amount, bool debit)
{
    const QString col = AmountColumn(r.category);
    double* target = col == QLatin1String("Sale")         ? &r.sale
                     : col == QLatin1String("Shop")       ? &r.shop
                     : col == QLatin1String("Shop_Retur") ? &r.shopRetur
                     : col == QLatin1String("Sale_Retur") ? &r.saleRetur
                     : col == QLatin1String("Cash_In")    ? &r.cashIn
                     : col == QLatin1String("Cash_Out")   ? &r.cashOut
                                                          : nullptr;
    if (target)
        *target = amount;
    // A negative amount stands on the other side: the sides and the amount
    // columns must tell the same story, or the cash balance counts money
    // that never came in.
    if (amount < 0) {
        debit = !debit;
        amount = -amount;
    }
    (debit ? r.debit : r.credit) = amount;
}

bool HasNegativeFigure(const CartLine& line)
{
    return line.price < 0 || line.subtotal < 0 || line.total < 0 || line.quantity < 0;
}

bool RefusesNegativeLines(const QString& action)
{
    return action == QLatin1String("Sale") || action == QLatin1String("Shop") ||
           action == QLatin1String("Sale Retur") || action == QLatin1String("Shop Retur");
}

QString JournalInsertSql(const JournalRow& r, const QString& dbKind)
{
    const QString sep = QStringLiteral(", ");
    const QString quantity = r.percentRow ? Num(r.quantity) : QLatin1Char('\'') + Num(r.quantity) + QLatin1Char('\'');
    return QStringLiteral("insert into cash values(") + QString::number(r.id) + sep + QString::number(r.no) + sep +
           Quote(r.category) + sep + platform::DateLiteral(dbKind, r.moment.toString(QStringLiteral("yyyy-MM-dd"))) +
           sep + Quote(r.note) + sep + Quote(r.cashier) + sep + Quote(r.warehouse) + sep + Quote(r.charge) + sep +
           Quote(r.code) + sep + Quote(r.description) + sep + Num(r.price) + sep + Num(r.discount) + sep +
           Num(r.subtotal) + sep + quantity + sep + Quote(r.unit) + sep + Num(r.sale) + sep + Num(r.shop) + sep +
           Num(r.shopRetur) + sep + Num(r.saleRetur) + sep + Num(r.cashIn) + sep + Num(r.cashOut) + sep + Num(r.debit) +
           sep + Num(r.credit) + QLatin1Char(')');
}

SaveNumbers NextNumbers(platform::DbConnection& db)
{
    SaveNumbers n;
    n.lastId = platform::NewId(db, QStringLiteral("cash"), QStringLiteral("ID")) - 1;
    n.no = platform::NewId(db, QStringLiteral("cash"), QStringLiteral("no"));
    n.lastStockId = platform::NewId(db, QStringLiteral("stockflow"), QStringLiteral("id")) - 1;
    return n;
}

SaveRows MakeSaveRows(platform::DbConnection& db, const SaveHeader& h, const QList<CartLine>& lines,
                      const SaveNumbers& numbers)
{
    SaveRows out;
    qint64 id = numbers.lastId;
    qint64 stockId = numbers.lastStockId;
    const bool debit = DebitSide(h.action);
    auto row = [&](const QString& category) {
        JournalRow r;
        r.id = ++id;
        r.no = numbers.no;
        r.category = category;
        r.moment = h.date;
        r.note = h.note;
        r.cashier = h.cashier;
        r.warehouse = h.warehouse;
        r.charge = h.charge;
        return r;
    };
    auto add = [&out, &h](const JournalRow& r) {
        out.journal.append(r);
        out.statements.append(JournalInsertSql(r, h.dbKind));
    };

    const bool sale = h.action == QLatin1String("Sale") || h.action == QLatin1String("Sale Retur");
    const bool shop = h.action == QLatin1String("Shop") || h.action == QLatin1String("Shop Retur");
    const bool stockIn = h.action == QLatin1String("Shop") || h.action == QLatin1String("Sale Retur");
    for (const CartLine& l : lines) {
        JournalRow item = row(h.action);
        item.code = l.code;
        item.description = l.name;
        item.price = l.price;
        item.discount = l.discount;
        item.subtotal = l.subtotal;
        item.quantity = l.quantity;
        item.unit = l.satuan;
        BookAmount(item, l.total, debit);
        add(item);

        const QString code = Quote(l.code);
        // A sold item that is also bought books its buying cost; a return
        // books none (its side would be a guess).
        if (h.action == QLatin1String("Sale") &&
            db.GetValue(QStringLiteral("select count(code) from shopitems where `code`=") + code).toLongLong() > 0) {
            const double p =
                platform::StoredNumber(db.GetValue(QStringLiteral("select price from shopitems where `code`=") + code));
            const double r = platform::StoredNumber(
                db.GetValue(QStringLiteral("select discount from shopitems where `code`=") + code));
            const double s = platform::NetPrice(p, r);
            JournalRow buy = row(QStringLiteral("Shop"));
            buy.code = l.code;
            buy.description = l.name;
            buy.price = p;
            buy.discount = r;
            buy.subtotal = s;
            buy.quantity = l.quantity;
            buy.unit = l.satuan;
            BookAmount(buy, s * l.quantity, false);
            add(buy);
        }

        if (!sale && !shop)
            continue;
        const QString links = sale ? QStringLiteral("stocksale") : QStringLiteral("stockshop");
        if (db.GetValue(QStringLiteral("select count(stock) from ") + links + QStringLiteral(" where `code`=") + code)
                .toLongLong() == 0)
            continue;
        auto rs = db.OpenRecordset(QStringLiteral("select stock.code as code, stock.description as description, "
                                                  "stock.unit as unit, %1.quantity as quantity from %1 inner join "
                                                  "stock on %1.stock=stock.code where %1.code=")
                                       .arg(links) +
                                   code + QStringLiteral(" order by %1.ID").arg(links));
        for (; !rs->Eof(); rs->MoveNext()) {
            StockRow s;
            s.id = ++stockId;
            stock::Movement& m = s.movement;
            m.moment = h.date;
            m.category = h.action;
            m.code = rs->Fields(QStringLiteral("code")).toString();
            m.description = rs->Fields(QStringLiteral("description")).toString();
            m.unit = rs->Fields(QStringLiteral("unit")).toString();
            QString per = rs->Fields(QStringLiteral("quantity")).toString();
            const double moved = platform::Val(per.replace(QLatin1Char(','), QLatin1Char('.'))) * l.quantity;
            (stockIn ? m.in : m.out) = moved;
            out.stock.append(s);
            out.statements.append(stock::MovementSql(s.id, h.dbKind, m));
        }
    }

    // The discount row (a negative amount, on the side opposite the kind's)
    // and the tax row; the base is worked back from the amount shown.
    auto percentRow = [&](const char* code, const char* description, const QString& percentText,
                          const QString& amountText, bool onKindSide) {
        // The discount's amount is negative: BookAmount puts it on the side
        // opposite the kind's.
        const double percent = PercentOf(percentText);
        if (percent <= 0)
            return;
        const double amount = AmountOf(amountText);
        JournalRow r = row(h.action);
        r.code = QLatin1String(code);
        r.description = QLatin1String(description);
        r.price = r.subtotal = (onKindSide ? amount : -amount) / percent * 100;
        r.quantity = percent;
        r.percentRow = true;
        r.unit = QStringLiteral("%");
        BookAmount(r, amount, debit);
        add(r);
    };
    percentRow("DS", "Diskon", h.discount, h.discountN, false);
    percentRow("PN", "PPN", h.tax, h.taxN, true);
    out.lastId = id;
    return out;
}

SaveResult SaveTransaction(platform::DbConnection& db, const SaveHeader& h)
{
    SaveResult result;
    platform::DbTransaction tx(db);
    result.lines = CartLines(db, h.action, h.charge, true);
    if (result.lines.isEmpty())
        return result;
    if (RefusesNegativeLines(h.action))
        for (const CartLine& l : result.lines)
            if (HasNegativeFigure(l)) {
                result.negativeLine = l;
                return result;
            }
    const SaveNumbers numbers = NextNumbers(db);
    result.no = numbers.no;
    result.rows = MakeSaveRows(db, h, result.lines, numbers);
    for (const QString& sql : result.rows.statements)
        db.Execute(sql);
    db.Execute(QStringLiteral("delete from `") + CartTable(h.action) + QStringLiteral("` where checked=1 and charge=") +
               Quote(h.charge));
    db.Execute(QStringLiteral("delete from pending where `action`=") + Quote(h.action) +
               QStringLiteral(" and charge=") + Quote(h.charge));
    tx.commit();
    result.saved = true;
    return result;
}

} // namespace cashier
