#include "cashier/model/cartops.h"

#include "cashier/model/actions.h"
#include "cashier/model/cart.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/names.h"
#include "catalogue/model/pagedlist.h"
#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"

#include <cmath>

namespace cashier {

using platform::DbTransaction;
using platform::Num;
using platform::Quote;
using platform::StoredNumber;

namespace {

QString idText(qint64 id)
{
    return QString::number(id);
}

// A new ticked line with the given quantity and total, the rest copied.
QString insertLineSql(const QString& action, qint64 id, const QString& charge, const CartLine& l, double quantity,
                      double total)
{
    return QStringLiteral("insert into ") + QuotedCartTable(action) + QStringLiteral(" values(") + idText(id) +
           QStringLiteral(", ") + Quote(charge) + QStringLiteral(", ") + Quote(l.code) + QStringLiteral(", ") +
           Quote(l.category) + QStringLiteral(", ") + Quote(l.name) + QStringLiteral(", ") + Num(l.price) +
           QStringLiteral(", ") + Num(l.discount) + QStringLiteral(", ") + Num(l.subtotal) + QStringLiteral(", ") +
           Num(quantity) + QStringLiteral(", ") + Quote(l.satuan) + QStringLiteral(", ") + Num(total) +
           QStringLiteral(", 1)");
}

} // namespace

std::optional<ItemRecord> FindItem(platform::DbConnection& db, const QString& action, const QString& code)
{
    const QString items = catalogue::ItemsTable(action);
    if (items.isEmpty())
        return std::nullopt;
    auto rs = db.OpenRecordset(catalogue::RecordSql(items, code));
    if (rs->Eof())
        return std::nullopt;
    ItemRecord r;
    r.code = rs->Fields(QStringLiteral("Code")).toString();
    r.category = rs->Fields(QStringLiteral("Category")).toString();
    r.name = rs->Fields(QStringLiteral("Name")).toString();
    r.price = StoredNumber(rs->Fields(QStringLiteral("Price")).Value());
    r.discount = StoredNumber(rs->Fields(QStringLiteral("Discount")).Value());
    r.satuan = rs->Fields(QStringLiteral("satuan")).toString();
    return r;
}

std::optional<double> LastPurchaseQuantity(platform::DbConnection& db, const QString& actionText, const QString& code)
{
    const QString where = QStringLiteral(" from cash where (`category`=") + Quote(actionText) +
                          QStringLiteral(" or `category`='Shop') and code=") + Quote(code);
    if (StoredNumber(db.GetValue(QStringLiteral("select count(`id`)") + where)) == 0)
        return std::nullopt;
    const qint64 newest = db.GetValue(QStringLiteral("select max(`id`)") + where).toLongLong();
    return StoredNumber(db.GetValue(QStringLiteral("select quantity from cash where `id`=") + idText(newest)));
}

namespace {
QString SuggestionRow(const platform::DbRecordset& rs)
{
    return platform::AlignLeft(rs.Fields(QStringLiteral("Code")).toString(), platform::Pad(8)) + QLatin1Char(' ') +
           platform::AlignLeft(rs.Fields(QStringLiteral("Name")).toString(), platform::Pad(30));
}
} // namespace

QStringList ItemSuggestionRows(platform::DbConnection& db, const QString& action, const QString& typed)
{
    QStringList rows;
    const QString items = catalogue::ItemsTable(action);
    if (typed.isEmpty() || items.isEmpty())
        return rows;
    for (auto rs = db.OpenRecordset(catalogue::ItemSuggestionsSql(items, typed)); !rs->Eof(); rs->MoveNext())
        rows << SuggestionRow(*rs);
    return rows;
}

std::shared_ptr<platform::RowSource> ItemSuggestionSource(platform::DbConnection& db, const QString& action,
                                                          const QString& typed)
{
    const QString items = catalogue::ItemsTable(action);
    if (typed.isEmpty() || items.isEmpty())
        return nullptr;
    // A server whose tables have no row numbers reads the list whole.
    if (!catalogue::CanPage(db))
        return std::make_shared<platform::LinesSource>(ItemSuggestionRows(db, action, typed));
    // code (8) + " " + name (30).
    return std::make_shared<catalogue::PagedList>(db, catalogue::ItemSuggestionsSelect(items),
                                                  catalogue::ItemSuggestionsCondition(typed), QStringList{db.rowKey()},
                                                  SuggestionRow, QStringList{items}, QStringLiteral("code"), 39);
}

QStringList ChargeNames(platform::DbConnection& db, const QString& action)
{
    const QString contacts = catalogue::ContactTable(action);
    if (contacts.isEmpty())
        return QStringList();
    // The contacts are read when their table changes; the carts, which
    // every line changes, each time.
    QStringList names =
        catalogue::KeptNames(db, QStringLiteral("select `name` from `") + contacts + QLatin1Char('`'), {contacts});
    for (auto rs = db.OpenRecordset(QStringLiteral("select distinct charge from ") + QuotedCartTable(action));
         !rs->Eof(); rs->MoveNext()) {
        const QString charge = rs->Fields(0).toString();
        if (!charge.isEmpty() && StoredNumber(db.GetValue(QStringLiteral("select count(code) from `") + contacts +
                                                          QStringLiteral("` where `name`=") + Quote(charge))) == 0)
            names << charge;
    }
    return names;
}

namespace {

void deleteLine(platform::DbConnection& db, const QString& action, qint64 id)
{
    db.Execute(QStringLiteral("delete from ") + QuotedCartTable(action) + QStringLiteral(" where `id`=") + idText(id));
}

} // namespace

bool DeleteCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown)
{
    DbTransaction tx(db);
    if (!StillShown(db, action, shown))
        return false;
    deleteLine(db, action, shown.id);
    tx.commit();
    return true;
}

bool ClearTickedLines(platform::DbConnection& db, const QString& action, const QString& charge,
                      const QList<CartLine>& shownTicked)
{
    DbTransaction tx(db);
    if (!SameLines(shownTicked, CartLines(db, action, charge, true)))
        return false;
    db.Execute(QStringLiteral("delete from ") + QuotedCartTable(action) + QStringLiteral(" where charge=") +
               Quote(charge) + QStringLiteral(" and checked=1"));
    tx.commit();
    return true;
}

std::optional<int> SplitCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown)
{
    DbTransaction tx(db);
    if (!StillShown(db, action, shown))
        return std::nullopt;
    const CartLine& line = shown;
    if (line.quantity <= 1)
        return 0;
    qint64 next = platform::NewId(db, CartTable(action), QStringLiteral("id"));
    const double whole = std::floor(line.quantity);
    // What a fractional quantity leaves over stays a line of its own, at
    // 15 significant digits (3.3 − 3 is 0.3, not 0.29999999999999982).
    const double rest = StoredNumber(Num(line.quantity - whole));
    int written = 0;
    for (double i = 1; i <= whole; ++i, ++written)
        db.Execute(insertLineSql(action, next++, line.charge, line, 1, line.subtotal));
    if (rest > 0) {
        db.Execute(insertLineSql(action, next++, line.charge, line, rest, line.subtotal * rest));
        ++written;
    }
    deleteLine(db, action, line.id);
    tx.commit();
    return written;
}

EditOutcome EditCartLine(platform::DbConnection& db, const QString& action, const CartLine& shown, const LineEdit& e)
{
    DbTransaction tx(db);
    if (!StillShown(db, action, shown))
        return EditOutcome::Gone;
    const QString where = QStringLiteral(" where id=") + idText(shown.id);
    if (platform::RoundAmount(e.subtotal) == platform::RoundAmount(shown.subtotal)) {
        db.Execute(QStringLiteral("update ") + QuotedCartTable(action) + QStringLiteral(" set  quantity=") +
                   Num(e.quantity) + QStringLiteral(", total=") + Num(e.total) + where);
        tx.commit();
        return EditOutcome::Quantity;
    }
    const QString s = Num(e.subtotal);
    db.Execute(QStringLiteral("update ") + QuotedCartTable(action) + QStringLiteral(" set `price`=") + s +
               QStringLiteral(", discount=0, subtotal=") + s + QStringLiteral(", quantity=") + Num(e.quantity) +
               QStringLiteral(", total=") + Num(e.total) + where);
    db.Execute(QStringLiteral("update `") + catalogue::ItemsTable(action) + QStringLiteral("` set `price`=") + s +
               QStringLiteral(", discount=0 where code=") + Quote(shown.code));
    tx.commit();
    return EditOutcome::PriceChanged;
}

bool MoveCharge(platform::DbConnection& db, const QString& action, const QString& from, const QString& to,
                const QList<CartLine>& shown)
{
    DbTransaction tx(db);
    if (!SameLines(shown, CartLines(db, action, from, false)))
        return false;
    db.Execute(QStringLiteral("update ") + QuotedCartTable(action) + QStringLiteral(" set charge=") + Quote(to) +
               QStringLiteral(" where charge=") + Quote(from));
    if (Quote(from).compare(Quote(to), Qt::CaseInsensitive) != 0) {
        const QString ofAction = QStringLiteral(" from pending where `action`=") + Quote(action);
        const QString ofTo = ofAction + QStringLiteral(" and `charge`=") + Quote(to);
        const QString ofFrom = ofAction + QStringLiteral(" and `charge`=") + Quote(from);
        if (StoredNumber(db.GetValue(QStringLiteral("select count(*)") + ofTo)) == 0)
            db.Execute(QStringLiteral("update pending set `charge`=") + Quote(to) + QStringLiteral(" where `action`=") +
                       Quote(action) + QStringLiteral(" and `charge`=") + Quote(from));
        else
            db.Execute(QStringLiteral("delete") + ofFrom);
    }
    tx.commit();
    return true;
}

bool ScanIntoCart(platform::DbConnection& db, const QString& action, const QString& charge, const QString& code)
{
    DbTransaction tx(db);
    const std::optional<ItemRecord> item = FindItem(db, action, code);
    if (!item)
        return false;
    const qint64 id = platform::NewId(db, CartTable(action), QStringLiteral("id"));
    auto rs = db.OpenRecordset(QStringLiteral("select id, quantity, subtotal from ") + QuotedCartTable(action) +
                               QStringLiteral(" where charge=") + Quote(charge) + QStringLiteral(" and code=") +
                               Quote(code) + QStringLiteral(" order by id"));
    if (!rs->Eof()) {
        const double q = StoredNumber(rs->Fields(QStringLiteral("quantity")).Value()) + 1;
        const double net = StoredNumber(rs->Fields(QStringLiteral("subtotal")).Value());
        db.Execute(QStringLiteral("update ") + QuotedCartTable(action) + QStringLiteral(" set quantity=") + Num(q) +
                   QStringLiteral(", `total`=") + Num(net * q) + QStringLiteral(" where id=") +
                   idText(rs->Fields(QStringLiteral("id")).toLongLong()));
    } else {
        CartLine l;
        l.code = item->code;
        l.category = item->category;
        l.name = item->name;
        l.price = item->price;
        l.discount = item->discount;
        l.subtotal = item->price;
        l.satuan = item->satuan;
        db.Execute(insertLineSql(action, id, charge, l, 1, item->price));
    }
    tx.commit();
    return true;
}

} // namespace cashier
