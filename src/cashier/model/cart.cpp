#include "cashier/model/cart.h"

#include "cashier/model/actions.h"
#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"

#include <algorithm>

namespace cashier {

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Num;
using platform::Pad;
using platform::Quote;

namespace {

QString from(const QString& action)
{
    return QStringLiteral(" from ") + QuotedCartTable(action);
}

} // namespace

namespace {

const QString kLineColumns = QStringLiteral(
    "select charge, code, category, name, price, discount, subtotal, quantity, satuan, total, checked, id");

CartLine lineOf(const platform::DbRecordset& rs)
{
    CartLine l;
    l.id = rs.Fields(QStringLiteral("id")).toLongLong();
    l.charge = rs.Fields(QStringLiteral("charge")).toString();
    l.code = rs.Fields(QStringLiteral("code")).toString();
    l.category = rs.Fields(QStringLiteral("category")).toString();
    l.name = rs.Fields(QStringLiteral("name")).toString();
    l.price = platform::StoredNumber(rs.Fields(QStringLiteral("price")).Value());
    l.discount = platform::StoredNumber(rs.Fields(QStringLiteral("discount")).Value());
    l.subtotal = platform::StoredNumber(rs.Fields(QStringLiteral("subtotal")).Value());
    l.quantity = platform::ParseQuantity(rs.Fields(QStringLiteral("quantity")).toString());
    l.satuan = rs.Fields(QStringLiteral("satuan")).toString();
    l.total = platform::StoredNumber(rs.Fields(QStringLiteral("total")).Value());
    l.checked = rs.Fields(QStringLiteral("checked")).toLongLong() != 0;
    return l;
}

} // namespace

QList<CartLine> CartLines(platform::DbConnection& db, const QString& action, const QString& charge, bool tickedOnly)
{
    QList<CartLine> lines;
    auto rs =
        db.OpenRecordset(kLineColumns + from(action) + QStringLiteral(" where `charge`=") + Quote(charge) +
                         (tickedOnly ? QStringLiteral(" and checked=1") : QString()) + QStringLiteral(" order by id"));
    for (; !rs->Eof(); rs->MoveNext())
        lines.append(lineOf(*rs));
    return lines;
}

std::optional<CartLine> CartLineById(platform::DbConnection& db, const QString& action, qint64 id)
{
    auto rs = db.OpenRecordset(kLineColumns + from(action) + QStringLiteral(" where `id`=") + QString::number(id));
    if (rs->Eof())
        return std::nullopt;
    return lineOf(*rs);
}

bool SameLine(const CartLine& shown, const CartLine& stored)
{
    CartLine s = stored;
    s.checked = shown.checked;
    return s == shown;
}

bool StillShown(platform::DbConnection& db, const QString& action, const CartLine& shown)
{
    const std::optional<CartLine> stored = CartLineById(db, action, shown.id);
    return stored && SameLine(shown, *stored);
}

bool SameLines(const QList<CartLine>& shown, const QList<CartLine>& stored)
{
    return shown.size() == stored.size() && std::equal(shown.begin(), shown.end(), stored.begin(), SameLine);
}

double TickedSum(const QList<CartLine>& lines)
{
    double sum = 0;
    for (const CartLine& l : lines)
        if (l.checked)
            sum += l.total;
    return sum;
}

QString CartTitleRow(const QStringList& t)
{
    auto at = [&t](int i) { return i < t.size() ? t[i] : QString(); };
    return AlignLeft(at(0), Pad(8)) + QLatin1Char(' ') + AlignLeft(at(1), Pad(30)) + QLatin1Char(' ') +
           AlignRight(at(2), Pad(15)) + QLatin1Char(' ') + AlignRight(at(3), Pad(10)) + QLatin1Char(' ') +
           AlignRight(at(4), Pad(15)) + QLatin1Char(' ') + AlignRight(at(5), Pad(15)) + QLatin1Char(' ') +
           AlignRight(at(6), Pad(15));
}

QString CartRuleRow()
{
    return QString(121, QLatin1Char('-'));
}

QString CartLineRow(const CartLine& l)
{
    return AlignLeft(l.code, Pad(8)) + QLatin1Char(' ') + AlignLeft(l.name, Pad(30)) + QLatin1Char(' ') +
           AlignRight(FormatAmount(l.price), Pad(15)) + QLatin1Char(' ') +
           AlignRight(FormatAmount(l.discount), Pad(10)) + QLatin1Char(' ') +
           AlignRight(FormatAmount(l.subtotal), Pad(15)) + QLatin1Char(' ') +
           AlignRight(Num(l.quantity) + QLatin1Char(' ') + l.satuan, Pad(15)) + QLatin1Char(' ') +
           AlignRight(FormatAmount(l.total), Pad(15)) + QLatin1Char(' ') + AlignRight(QString::number(l.id), Pad(20));
}

QString CartRowId(const QString& row)
{
    if (row.size() < 135)
        return QString();
    return row.right(20).trimmed();
}

QString TickedTotal(platform::DbConnection& db, const QString& action, const QString& charge)
{
    return Num(TickedSum(CartLines(db, action, charge, true)));
}

qint64 AddCartLine(platform::DbConnection& db, const QString& action, const LineEntry& e)
{
    platform::DbTransaction tx(db);
    const QString table = from(action);
    qint64 id = 1;
    if (db.GetValue(QStringLiteral("select count(id)") + table).toLongLong() > 0)
        id = db.GetValue(QStringLiteral("select max(id)") + table).toLongLong() + 1;
    auto rs = db.OpenRecordset(QStringLiteral("select id, quantity, price") + table + QStringLiteral(" where charge=") +
                               Quote(e.charge) + QStringLiteral(" and code=") + Quote(e.code) +
                               QStringLiteral(" order by id"));
    if (!rs->Eof()) {
        const qint64 lineId = rs->Fields(QStringLiteral("id")).toLongLong();
        const double n =
            e.quantity +
            platform::Val(
                rs->Fields(QStringLiteral("quantity")).toString().replace(QLatin1Char(','), QLatin1Char('.')));
        db.Execute(QStringLiteral("update ") + QuotedCartTable(action) + QStringLiteral(" set price=") + Num(e.price) +
                   QStringLiteral(", discount=") + Num(e.discount) + QStringLiteral(", quantity='") + Num(n) +
                   QStringLiteral("', subtotal=") + Num(e.subtotal) + QStringLiteral(", `total`=") +
                   Num(e.subtotal * n) + QStringLiteral(" where id=") + QString::number(lineId));
        tx.commit();
        return lineId;
    }
    db.Execute(QStringLiteral("insert into ") + QuotedCartTable(action) + QStringLiteral(" values(") +
               QString::number(id) + QStringLiteral(", ") + Quote(e.charge) + QStringLiteral(", ") + Quote(e.code) +
               QStringLiteral(", ") + Quote(e.category) + QStringLiteral(", ") + Quote(e.name) + QStringLiteral(", ") +
               Num(e.price) + QStringLiteral(", ") + Num(e.discount) + QStringLiteral(", ") + Num(e.subtotal) +
               QStringLiteral(", '") + Num(e.quantity) + QStringLiteral("', ") + Quote(e.satuan) +
               QStringLiteral(", ") + Num(e.total) + QStringLiteral(", 1)"));
    tx.commit();
    return id;
}

bool TickLine(platform::DbConnection& db, const QString& action, const CartLine& shown, bool ticked)
{
    platform::DbTransaction tx(db);
    if (!StillShown(db, action, shown))
        return false;
    db.Execute(QStringLiteral("update `") + CartTable(action) + QStringLiteral("` set checked=") +
               (ticked ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral(" where ID=") +
               QString::number(shown.id));
    tx.commit();
    return true;
}

bool TickCharge(platform::DbConnection& db, const QString& action, const QString& charge, const QList<CartLine>& shown,
                int ticked)
{
    platform::DbTransaction tx(db);
    if (!SameLines(shown, CartLines(db, action, charge, false)))
        return false;
    db.Execute(QStringLiteral("update `") + CartTable(action) + QStringLiteral("` set checked=") +
               QString::number(ticked) + QStringLiteral(" where charge=") + Quote(charge));
    tx.commit();
    return true;
}

} // namespace cashier
