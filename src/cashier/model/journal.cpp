#include "cashier/model/journal.h"

#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "data/db.h"
#include "data/sqltext.h"

#include <QHash>
#include <algorithm>

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

QStringList JournalValues(const JournalRow& r, const QString& dateLiteral)
{
    const QString quantity = r.percentRow ? Num(r.quantity) : QLatin1Char('\'') + Num(r.quantity) + QLatin1Char('\'');
    return {QString::number(r.id), QString::number(r.no), Quote(r.category), dateLiteral,      Quote(r.note),
            Quote(r.cashier),      Quote(r.warehouse),    Quote(r.charge),   Quote(r.code),    Quote(r.description),
            Num(r.price),          Num(r.discount),       Num(r.subtotal),   quantity,         Quote(r.unit),
            Num(r.sale),           Num(r.shop),           Num(r.shopRetur),  Num(r.saleRetur), Num(r.cashIn),
            Num(r.cashOut),        Num(r.debit),          Num(r.credit)};
}

namespace {
const QString kCashInsert = QStringLiteral("insert into cash values(");
const QString kStockInsert = QStringLiteral("insert into stockflow values(");
const QString kSeparator = QStringLiteral(", ");
} // namespace

QString JournalInsertSql(const JournalRow& r, const QString& dbKind)
{
    return kCashInsert +
           JournalValues(r, platform::DateLiteral(dbKind, r.moment.toString(QStringLiteral("yyyy-MM-dd"))))
               .join(kSeparator) +
           QLatin1Char(')');
}

SaveNumbers NextNumbers(platform::DbConnection& db)
{
    SaveNumbers n;
    n.lastId = platform::NewId(db, QStringLiteral("cash"), QStringLiteral("ID")) - 1;
    n.no = platform::NewId(db, QStringLiteral("cash"), QStringLiteral("no"));
    n.lastStockId = platform::NewId(db, QStringLiteral("stockflow"), QStringLiteral("id")) - 1;
    return n;
}

namespace {

// The catalogue's word on the cart's codes, read for the whole cart at once.
// Each code is asked as a line of its own would ask it (`code` = its
// literal), so that the engine's own comparison decides which rows belong
// to it; the answers come back in one statement, tagged by the position of
// the code in the list.
struct BuyingPrice {
    QVariant price, discount;
};
struct RecipeLink {
    QString code, description, unit, quantity;
};
struct ItemsData {
    // By the code's literal, as Quote writes it.
    QHash<QString, BuyingPrice> buying;
    QHash<QString, QList<RecipeLink>> recipes;
};

// SQLite refuses a compound of more than 500 selects; a bigger cart asks in
// parts.
constexpr qsizetype kCodesPerQuery = 250;

// The codes of the lines as literals, each once, in the order of the lines.
QStringList CodeLiterals(const QList<CartLine>& lines)
{
    QStringList codes;
    for (const CartLine& l : lines) {
        const QString code = Quote(l.code);
        if (!codes.contains(code))
            codes << code;
    }
    return codes;
}

// One select per code, joined by "union all": `arm` gives the select of the
// code with the given literal, its first column the position of the code.
// Without an order the rows come arm by arm, each in its own order.
template <class Arm> QStringList TaggedQueries(const QStringList& codes, const QString& orderBy, Arm arm)
{
    QStringList queries;
    for (qsizetype first = 0; first < codes.size(); first += kCodesPerQuery) {
        QStringList arms;
        for (qsizetype i = first; i < std::min(codes.size(), first + kCodesPerQuery); ++i)
            arms << arm(QString::number(i), codes.at(i));
        QString sql = arms.join(QStringLiteral(" union all "));
        if (!orderBy.isEmpty())
            sql += QStringLiteral(" order by ") + orderBy;
        queries << sql;
    }
    return queries;
}

// A sold item that is also bought: its buying price and percent.
void ReadBuyingPrices(platform::DbConnection& db, const QStringList& codes, ItemsData& data)
{
    const QStringList queries = TaggedQueries(codes, QString(), [](const QString& k, const QString& code) {
        return QStringLiteral("select %1 as k, price, discount from shopitems where `code`=%2").arg(k, code);
    });
    for (const QString& sql : queries)
        for (auto rs = db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
            const QString& code = codes.at(rs->Fields(0).Value().toLongLong());
            // The first row of a code, as a lookup by the code reads it.
            if (!data.buying.contains(code))
                data.buying.insert(code, {rs->Fields(1).Value(), rs->Fields(2).Value()});
        }
}

// The stock articles each code moves, in the order of their links.
void ReadRecipes(platform::DbConnection& db, const QString& links, const QStringList& codes, ItemsData& data)
{
    const QStringList queries =
        TaggedQueries(codes, QStringLiteral("1, 2"), [&links](const QString& k, const QString& code) {
            return QStringLiteral("select %1 as k, %2.ID as link, stock.code as code, stock.description as "
                                  "description, stock.unit as unit, %2.quantity as quantity from %2 inner join "
                                  "stock on %2.stock=stock.code where %2.code=%3")
                .arg(k, links, code);
        });
    for (const QString& sql : queries)
        for (auto rs = db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
            data.recipes[codes.at(rs->Fields(0).Value().toLongLong())].append(
                {rs->Fields(2).toString(), rs->Fields(3).toString(), rs->Fields(4).toString(),
                 rs->Fields(5).toString()});
}

// The numbering and the common columns of the rows of one save.
class SaveWriter {
public:
    SaveWriter(const SaveHeader& h, const SaveNumbers& numbers)
        : m_h(h), m_date(platform::DateLiteral(h.dbKind, h.date.toString(QStringLiteral("yyyy-MM-dd")))),
          m_no(numbers.no), m_id(numbers.lastId), m_stockId(numbers.lastStockId)
    {
    }

    // A journal row of the category under the next id, with the header's
    // columns.
    JournalRow row(const QString& category)
    {
        JournalRow r;
        r.id = ++m_id;
        r.no = m_no;
        r.category = category;
        r.moment = m_h.date;
        r.note = m_h.note;
        r.cashier = m_h.cashier;
        r.warehouse = m_h.warehouse;
        r.charge = m_h.charge;
        return r;
    }
    void add(const JournalRow& r)
    {
        m_out.journal.append(r);
        append(false, JournalValues(r, m_date));
    }
    void addStock(const stock::Movement& m)
    {
        const StockRow s{++m_stockId, m};
        m_out.stock.append(s);
        append(true, stock::MovementValues(s.id, m_date, m));
    }
    SaveRows finish()
    {
        m_out.lastId = m_id;
        return std::move(m_out);
    }

private:
    void append(bool stock, QStringList values)
    {
        m_out.statements.append((stock ? kStockInsert : kCashInsert) + values.join(kSeparator) + QLatin1Char(')'));
        m_out.inserts.append({stock, std::move(values)});
    }

    const SaveHeader& m_h;
    // Made once: every row of a save is of the same day.
    const QString m_date;
    qint64 m_no;
    qint64 m_id;
    qint64 m_stockId;
    SaveRows m_out;
};

// The line as sold or bought, on the kind's side.
void AddItemRow(SaveWriter& w, const SaveHeader& h, const CartLine& l)
{
    JournalRow item = w.row(h.action);
    item.code = l.code;
    item.description = l.name;
    item.price = l.price;
    item.discount = l.discount;
    item.subtotal = l.subtotal;
    item.quantity = l.quantity;
    item.unit = l.satuan;
    BookAmount(item, l.total, DebitSide(h.action));
    w.add(item);
}

// A sold item that is also bought books its buying cost; a return books
// none (its side would be a guess).
void AddBuyingRow(SaveWriter& w, const CartLine& l, const BuyingPrice& buying)
{
    const double p = platform::StoredNumber(buying.price);
    const double r = platform::StoredNumber(buying.discount);
    const double s = platform::NetPrice(p, r);
    JournalRow buy = w.row(QStringLiteral("Shop"));
    buy.code = l.code;
    buy.description = l.name;
    buy.price = p;
    buy.discount = r;
    buy.subtotal = s;
    buy.quantity = l.quantity;
    buy.unit = l.satuan;
    BookAmount(buy, s * l.quantity, false);
    w.add(buy);
}

// The stock the line moves through its recipe: in for a purchase and a
// sale's return, out for a sale and a purchase's return.
void AddStockRows(SaveWriter& w, const SaveHeader& h, const CartLine& l, const QList<RecipeLink>& recipe)
{
    const bool stockIn = h.action == QLatin1String("Shop") || h.action == QLatin1String("Sale Retur");
    for (const RecipeLink& link : recipe) {
        stock::Movement m;
        m.moment = h.date;
        m.category = h.action;
        m.code = link.code;
        m.description = link.description;
        m.unit = link.unit;
        QString per = link.quantity;
        const double moved = platform::Val(per.replace(QLatin1Char(','), QLatin1Char('.'))) * l.quantity;
        (stockIn ? m.in : m.out) = moved;
        w.addStock(m);
    }
}

// The discount row (a negative amount, on the side opposite the kind's) and
// the tax row; the base is worked back from the amount shown.
void AddPercentRow(SaveWriter& w, const SaveHeader& h, const char* code, const char* description,
                   const QString& percentText, const QString& amountText, bool onKindSide)
{
    const double percent = PercentOf(percentText);
    if (percent <= 0)
        return;
    const double amount = AmountOf(amountText);
    JournalRow r = w.row(h.action);
    r.code = QLatin1String(code);
    r.description = QLatin1String(description);
    r.price = r.subtotal = (onKindSide ? amount : -amount) / percent * 100;
    r.quantity = percent;
    r.percentRow = true;
    r.unit = QStringLiteral("%");
    // The discount's amount is negative: BookAmount puts it on the side
    // opposite the kind's.
    BookAmount(r, amount, DebitSide(h.action));
    w.add(r);
}

} // namespace

SaveRows MakeSaveRows(platform::DbConnection& db, const SaveHeader& h, const QList<CartLine>& lines,
                      const SaveNumbers& numbers)
{
    const bool sale = h.action == QLatin1String("Sale") || h.action == QLatin1String("Sale Retur");
    const bool shop = h.action == QLatin1String("Shop") || h.action == QLatin1String("Shop Retur");
    const bool buying = h.action == QLatin1String("Sale");
    const QStringList codes = CodeLiterals(lines);
    ItemsData data;
    if (buying && !codes.isEmpty())
        ReadBuyingPrices(db, codes, data);
    if ((sale || shop) && !codes.isEmpty())
        ReadRecipes(db, sale ? QStringLiteral("stocksale") : QStringLiteral("stockshop"), codes, data);

    SaveWriter w(h, numbers);
    for (const CartLine& l : lines) {
        const QString code = Quote(l.code);
        AddItemRow(w, h, l);
        if (const auto found = data.buying.constFind(code); found != data.buying.constEnd())
            AddBuyingRow(w, l, *found);
        AddStockRows(w, h, l, data.recipes.value(code));
    }
    AddPercentRow(w, h, "DS", "Diskon", h.discount, h.discountN, false);
    AddPercentRow(w, h, "PN", "PPN", h.tax, h.taxN, true);
    return w.finish();
}

SaveResult SaveTransaction(platform::DbConnection& db, const SaveHeader& h)
{
    SaveResult result;
    platform::DbTransaction tx(db);
    result.lines = CartLines(db, h.action, h.charge, true);
    if (h.shown) {
        // The lines and figures the cashier was shown, or none at all: the
        // receipt, the change and the journal tell one story.
        const Totals t = ComputeTotals({platform::FormatAmount(TickedSum(*h.shown)), h.discount, h.tax, QString()});
        if (!SameLines(*h.shown, result.lines) || t.discountN != h.discountN || t.taxN != h.taxN ||
            t.totalTax != h.due) {
            result.changed = true;
            return result;
        }
    }
    if (result.lines.isEmpty())
        return result;
    for (const CartLine& l : result.lines)
        if (HasNegativeFigure(l)) {
            result.negativeLine = l;
            return result;
        }
    const SaveNumbers numbers = NextNumbers(db);
    result.no = numbers.no;
    result.rows = MakeSaveRows(db, h, result.lines, numbers);
    {
        platform::DbInserts cash(db, kCashInsert), stockflow(db, kStockInsert);
        for (const SaveRows::Insert& row : std::as_const(result.rows.inserts))
            (row.stock ? stockflow : cash).insert(row.values);
    }
    db.Execute(QStringLiteral("delete from ") + QuotedCartTable(h.action) +
               QStringLiteral(" where checked=1 and charge=") + Quote(h.charge));
    db.Execute(QStringLiteral("delete from pending where `action`=") + Quote(h.action) +
               QStringLiteral(" and charge=") + Quote(h.charge));
    try {
        tx.commit();
    } catch (const platform::DbError& e) {
        if (!e.connectionLost() || e.sql().compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) != 0)
            throw;
        result.commitUnanswered = true;
        return result;
    }
    result.saved = true;
    return result;
}

SaveFate FateOfSave(platform::DbConnection& db, const SaveHeader& h, const SaveResult& attempt)
{
    // Another till saving meanwhile takes the same No and ids: the rows are
    // ours only when every one of them is there as written.
    QStringList stored, written;
    auto rs = db.OpenRecordset(QStringLiteral("select id, category, charge, cashier, code, debit, credit from cash "
                                              "where no=") +
                               QString::number(attempt.no) + QStringLiteral(" order by id"));
    for (; !rs->Eof(); rs->MoveNext())
        stored << QStringList{rs->Fields(0).toString(),
                              rs->Fields(1).toString(),
                              rs->Fields(2).toString(),
                              rs->Fields(3).toString(),
                              rs->Fields(4).toString(),
                              Num(platform::StoredNumber(rs->Fields(5).Value())),
                              Num(platform::StoredNumber(rs->Fields(6).Value()))}
                      .join(QLatin1Char('|'));
    for (const JournalRow& r : attempt.rows.journal)
        written << QStringList{QString::number(r.id), r.category,   r.charge, r.cashier, r.code,
                               Num(r.debit),          Num(r.credit)}
                       .join(QLatin1Char('|'));
    if (!written.isEmpty() && stored == written)
        return SaveFate::Saved;
    if (SameLines(attempt.lines, CartLines(db, h.action, h.charge, true)))
        return SaveFate::NotSaved;
    return SaveFate::Unknown;
}

} // namespace cashier
