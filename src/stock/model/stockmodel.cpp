#include "stock/model/stockmodel.h"

#include "data/sqltext.h"
#include "data/textcells.h"

using platform::AlignLeft;
using platform::AlignRight;
using platform::DbConnection;
using platform::Pad;
using platform::Quote;

namespace stock {

QString LinkTable(Side side)
{
    return side == Side::Shop ? QStringLiteral("stockshop") : QStringLiteral("stocksale");
}

QString ItemsTable(Side side)
{
    return side == Side::Shop ? QStringLiteral("shopitems") : QStringLiteral("saleitems");
}

namespace {

// A sum over no rows has no value, so the rows are counted first. The
// months the database keeps sum the same movements in a few rows each.
double onHandWhere(DbConnection& db, const QString& where)
{
    if (db.keepsSummaries()) {
        auto rs = db.OpenRecordset(
            QStringLiteral("select sum(movements) as moved, sum(`in`) - sum(`out`) as onhand from stockmonth where ") +
            where);
        if (rs->Eof() || rs->Fields(0).toDouble() == 0)
            return 0;
        return rs->Fields(1).toDouble();
    }
    if (db.GetValue(QStringLiteral("select count(code) from stockflow where ") + where).toLongLong() == 0)
        return 0;
    return platform::DbField(db.GetValue(QStringLiteral("select sum(`in`) - sum(`out`) from stockflow where ") + where))
        .toDouble();
}

} // namespace

double OnHand(DbConnection& db, const QString& code)
{
    return onHandWhere(db, QStringLiteral("code=") + Quote(code));
}

double OnHand(DbConnection& db, const QString& code, const QString& description)
{
    return onHandWhere(db, QStringLiteral("code=") + Quote(code) + QStringLiteral(" and description=") +
                               Quote(description));
}

QString QuantityText(double quantity)
{
    return platform::FormatNumber(quantity);
}

double TypedQuantity(const QString& text, bool* ok)
{
    bool good = false;
    const double v = platform::ParseQuantity(text, &good);
    if (ok)
        *ok = good;
    return good ? v : 0;
}

QStringList MovementValues(qint64 id, const QString& dateLiteral, const Movement& m)
{
    return {QString::number(id),  dateLiteral,   Quote(m.category),   Quote(m.code),
            Quote(m.description), Quote(m.unit), platform::Num(m.in), platform::Num(m.out)};
}

QString MovementSql(qint64 id, const QString& dbKind, const Movement& m)
{
    return QStringLiteral("insert into stockflow values(") +
           MovementValues(id, platform::DateLiteral(dbKind, m.moment.toString(QStringLiteral("yyyy-MM-dd"))), m)
               .join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

qint64 WriteMovement(DbConnection& db, const QString& dbKind, const Movement& m)
{
    platform::DbTransaction tx(db);
    const qint64 id = platform::NewId(db, QStringLiteral("stockflow"), QStringLiteral("id"));
    db.Execute(MovementSql(id, dbKind, m));
    tx.commit();
    return id;
}

bool StockExists(DbConnection& db, const QString& code)
{
    // More than one row of a code (an older file) is as taken as one.
    return db.GetValue(QStringLiteral("select count(code) from stock where code=") + Quote(code)).toLongLong() >= 1;
}

bool AddStockItem(DbConnection& db, const QString& dbKind, const QString& code, const QString& description,
                  const QString& unit, double opening, const QDate& day)
{
    platform::DbTransaction tx(db);
    if (StockExists(db, code))
        return false;
    db.Execute(QStringLiteral("insert into stock values(") + Quote(code) + QStringLiteral(", ") + Quote(description) +
               QStringLiteral(", ") + Quote(unit) + QLatin1Char(')'));
    Movement m;
    m.moment = day;
    m.category = QStringLiteral("Opname");
    m.code = code;
    m.description = description;
    m.unit = unit;
    m.in = opening;
    WriteMovement(db, dbKind, m);
    tx.commit();
    return true;
}

bool Correct(DbConnection& db, const QString& dbKind, const QString& code, double amount, bool add, const QDate& day)
{
    platform::DbTransaction tx(db);
    auto rs = db.OpenRecordset(QStringLiteral("select `description`, `unit` from `stock` where code=") + Quote(code));
    if (rs->Eof())
        return false;
    Movement m;
    m.moment = day;
    m.category = QStringLiteral("Opname");
    m.code = code;
    m.description = rs->Fields(QStringLiteral("description")).toString();
    m.unit = rs->Fields(QStringLiteral("unit")).toString();
    (add ? m.in : m.out) = amount;
    WriteMovement(db, dbKind, m);
    tx.commit();
    return true;
}

bool DeleteStockItem(DbConnection& db, const QString& code)
{
    platform::DbTransaction tx(db);
    if (!StockExists(db, code))
        return false;
    db.Execute(QStringLiteral("delete from stock where code=") + Quote(code));
    db.Execute(QStringLiteral("delete from stocksale where stock=") + Quote(code));
    db.Execute(QStringLiteral("delete from stockshop where stock=") + Quote(code));
    tx.commit();
    return true;
}

qint64 AddLink(DbConnection& db, Side side, const QString& stockCode, const QString& itemCode,
               const QString& quantityText)
{
    platform::DbTransaction tx(db);
    const QString table = LinkTable(side);
    const qint64 id = platform::NewId(db, table, QStringLiteral("ID"));
    db.Execute(QStringLiteral("insert into ") + table + QStringLiteral(" values(") + QString::number(id) +
               QStringLiteral(", ") + Quote(stockCode) + QStringLiteral(", ") + Quote(itemCode) + QStringLiteral(", ") +
               Quote(quantityText) + QLatin1Char(')'));
    tx.commit();
    return id;
}

LinkSaved SaveLink(DbConnection& db, Side side, const QString& stockCode, const QString& itemCode,
                   const QString& quantityText)
{
    platform::DbTransaction tx(db);
    const QVariant stock = db.GetValue(QStringLiteral("select code from stock where code=") + Quote(stockCode));
    if (stock.isNull())
        return LinkSaved::StockGone;
    const QVariant item = db.GetValue(QStringLiteral("select code from ") + ItemsTable(side) +
                                      QStringLiteral(" where code=") + Quote(itemCode));
    if (item.isNull())
        return LinkSaved::NoItem;
    AddLink(db, side, stock.toString(), item.toString(), quantityText);
    tx.commit();
    return LinkSaved::Saved;
}

bool DeleteLink(DbConnection& db, Side side, const QString& stockCode, const LinkLine& shown)
{
    const QString where = QStringLiteral(" where `ID`=") + QString::number(shown.id);
    platform::DbTransaction tx(db);
    // Read as the detail window's list reads it.
    auto now = db.OpenRecordset(QStringLiteral("select stock, code, quantity from ") + LinkTable(side) + where);
    if (now->Eof() || now->Fields(0).toString().compare(stockCode, Qt::CaseInsensitive) != 0 ||
        now->Fields(1).toString() != shown.code || now->Fields(2).toString() != shown.quantity)
        return false;
    db.Execute(QStringLiteral("delete from ") + LinkTable(side) + where);
    tx.commit();
    return true;
}

QList<StockLine> StockList(DbConnection& db)
{
    QList<StockLine> lines;
    auto rs = db.OpenRecordset(QStringLiteral("select * from stock"));
    for (; !rs->Eof(); rs->MoveNext()) {
        StockLine l;
        l.code = rs->Fields(QStringLiteral("Code")).toString();
        l.description = rs->Fields(QStringLiteral("Description")).toString();
        l.unit = rs->Fields(QStringLiteral("Unit")).toString();
        l.onHand = OnHand(db, l.code, l.description);
        lines << l;
    }
    return lines;
}

QString StockRow(const QString& code, const QString& description, const QString& quantity)
{
    return AlignLeft(code, Pad(8)) + QLatin1Char(' ') + AlignLeft(description, Pad(30)) + QLatin1Char(' ') +
           AlignRight(quantity, Pad(15));
}

QString StockRow(const StockLine& line)
{
    return StockRow(line.code, line.description, QuantityText(line.onHand) + QLatin1Char(' ') + line.unit);
}

QList<LinkLine> Links(DbConnection& db, Side side, const QString& stockCode)
{
    const QString t = LinkTable(side);
    const QString items = ItemsTable(side);
    // The inner join leaves out links whose item is gone from its table.
    const QString sql = QStringLiteral("select %1.id as `ID`, %1.code as code, %2.name as description, "
                                       "%1.quantity as quantity from %1 inner join %2 on %1.code=%2.code "
                                       "where %1.stock=")
                            .arg(t, items) +
                        Quote(stockCode);
    QList<LinkLine> links;
    auto rs = db.OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        LinkLine l;
        l.id = rs->Fields(QStringLiteral("ID")).toLongLong();
        l.code = rs->Fields(QStringLiteral("code")).toString();
        l.name = rs->Fields(QStringLiteral("description")).toString();
        l.quantity = rs->Fields(QStringLiteral("quantity")).toString();
        links << l;
    }
    return links;
}

QString LinkRow(const LinkLine& link, const QString& unit)
{
    return AlignLeft(link.code, Pad(8)) + QLatin1Char(' ') + AlignLeft(link.name, Pad(30)) + QLatin1Char(' ') +
           AlignRight(link.quantity + QLatin1Char(' ') + unit, Pad(15)) +
           AlignRight(QLatin1Char('#') + QString::number(link.id), Pad(10));
}

bool LinkRowId(const QString& row, qint64& id)
{
    // An item code or name may itself hold "#"; the id cell is the last.
    const qsizetype at = row.lastIndexOf(QLatin1Char('#'));
    if (at < 0)
        return false;
    bool ok = false;
    id = row.mid(at + 1).trimmed().toLongLong(&ok);
    return ok;
}

} // namespace stock
