#include "ledger/model/journalentry.h"

#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cartops.h"
#include "catalogue/model/catalogue.h"
#include "data/db.h"
#include "data/owntext.h"
#include "data/sqltext.h"
#include "ledger/model/journalreport.h"
#include "ledger/model/reports.h"

#include <algorithm>

namespace ledger {

using platform::Num;
using platform::Quote;
using platform::StoredNumber;

EntryProblem CheckEntry(const JournalEntry& e)
{
    if (e.action == QLatin1String("Unknown") || e.action.isEmpty())
        return EntryProblem::NoAction;
    if (e.code.isEmpty())
        return EntryProblem::NoCode;
    if (e.name.isEmpty())
        return EntryProblem::NoName;
    // A quantity that is no number (pasted, or loaded in another form) is
    // refused like an empty one instead of reaching the statement.
    bool ok = false;
    const double q = platform::ParseQuantity(e.quantity, &ok);
    if (!ok || q == 0)
        return EntryProblem::NoQuantity;
    // A row books its amount on its kind's side: a negative one would land
    // on the other, where the item reports and the recapitulation of the
    // same range no longer agree. The cashier refuses such a line too.
    if (q < 0 || cashier::AmountOf(e.price) < 0 || cashier::AmountOf(e.total) < 0)
        return EntryProblem::Negative;
    return EntryProblem::None;
}

QString ProblemMessage(EntryProblem p)
{
    switch (p) {
    case EntryProblem::NoAction: return QStringLiteral("Aksi belum diisi");
    case EntryProblem::NoCode: return QStringLiteral("Kode belum diisi");
    case EntryProblem::NoName: return QStringLiteral("Deskripsi belum diisi");
    case EntryProblem::NoQuantity: return QStringLiteral("Quantity belum diisi");
    case EntryProblem::Negative:
        return platform::OwnText("cTotalNegative", QStringLiteral("Total tidak boleh negatif"));
    case EntryProblem::None: break;
    }
    return QString();
}

cashier::JournalRow MakeJournalRow(platform::DbConnection& db, const JournalEntry& e)
{
    cashier::JournalRow r;
    r.category = e.action;
    r.moment = e.moment;
    r.note = e.note;
    r.cashier = e.cashier;
    r.warehouse = e.warehouse;
    r.charge = e.charge;
    r.code = e.code;
    r.description = e.name;
    if (const std::optional<cashier::ItemRecord> item = cashier::FindItem(db, e.action, e.code)) {
        r.price = item->price;
        r.discount = item->discount;
    }
    r.subtotal = cashier::AmountOf(e.price);
    r.quantity = cashier::QuantityOf(e.quantity);
    r.unit = e.unit;
    cashier::BookAmount(r, cashier::AmountOf(e.total), cashier::DebitSide(e.action));
    return r;
}

QString JournalUpdateSql(const cashier::JournalRow& r, qint64 id, const QString& dbKind)
{
    const QString date = platform::DateLiteral(dbKind, r.moment.toString(QStringLiteral("yyyy-MM-dd")));
    const QStringList pairs = {
        QStringLiteral("Category=") + Quote(r.category),
        QStringLiteral("Moment=") + date,
        QStringLiteral("Keterangan=") + Quote(r.note),
        QStringLiteral("Cashier=") + Quote(r.cashier),
        QStringLiteral("Warehouse=") + Quote(r.warehouse),
        QStringLiteral("Charge=") + Quote(r.charge),
        QStringLiteral("Code=") + Quote(r.code),
        QStringLiteral("Description=") + Quote(r.description),
        QStringLiteral("Price=") + Num(r.price),
        QStringLiteral("Discount=") + Num(r.discount),
        QStringLiteral("SubTotal=") + Num(r.subtotal),
        QStringLiteral("Quantity=") + Num(r.quantity),
        QStringLiteral("Unit=") + Quote(r.unit),
        QStringLiteral("Sale=") + Num(r.sale),
        QStringLiteral("Shop=") + Num(r.shop),
        QStringLiteral("Shop_Retur=") + Num(r.shopRetur),
        QStringLiteral("Sale_Retur=") + Num(r.saleRetur),
        QStringLiteral("Cash_In=") + Num(r.cashIn),
        QStringLiteral("Cash_Out=") + Num(r.cashOut),
        QStringLiteral("Debit=") + Num(r.debit),
        QStringLiteral("Credit=") + Num(r.credit),
    };
    return QStringLiteral("update cash set ") + pairs.join(QStringLiteral(", ")) + QStringLiteral(" where ID=") +
           QString::number(id);
}

qint64 AddJournalEntry(platform::DbConnection& db, const QString& dbKind, const JournalEntry& e)
{
    cashier::JournalRow r = MakeJournalRow(db, e);
    platform::DbTransaction tx(db);
    const cashier::SaveNumbers numbers = cashier::NextNumbers(db);
    r.id = numbers.lastId + 1;
    r.no = numbers.no;
    db.Execute(cashier::JournalInsertSql(r, dbKind));
    tx.commit();
    return r.id;
}

namespace {

// On a server the rows of the ID stay locked from the check to the commit,
// so that another till's write to them waits (a database file is locked
// whole by the write transaction already).
void LockRows(platform::DbConnection& db, qint64 id)
{
    if (db.isOdbc())
        db.GetValue(QStringLiteral("select count(*) from cash where ID=") + QString::number(id) +
                    QStringLiteral(" for update"));
}

} // namespace

bool RewriteJournalEntry(platform::DbConnection& db, const QString& dbKind, const StoredJournalRow& loaded,
                         const JournalEntry& e)
{
    const cashier::JournalRow r = MakeJournalRow(db, e);
    platform::DbTransaction tx(db);
    LockRows(db, loaded.id);
    const std::optional<StoredJournalRow> now = ReadJournalRow(db, loaded.id);
    if (!now || now->columns != loaded.columns)
        return false;
    db.Execute(JournalUpdateSql(r, loaded.id, dbKind));
    tx.commit();
    return true;
}

bool JournalRowShown(platform::DbConnection& db, qint64 id, const QString& shownLine, bool warehouseColumn)
{
    const QStringList lines = JournalLinesOfId(db, id, warehouseColumn);
    return !lines.isEmpty() &&
           std::all_of(lines.begin(), lines.end(), [&](const QString& l) { return l == shownLine; });
}

bool DeleteJournalRow(platform::DbConnection& db, qint64 id, const QString& shownLine, bool warehouseColumn)
{
    platform::DbTransaction tx(db);
    LockRows(db, id);
    if (!JournalRowShown(db, id, shownLine, warehouseColumn))
        return false;
    db.Execute(QStringLiteral("delete from `cash` where ID=") + QString::number(id));
    tx.commit();
    return true;
}

std::optional<StoredJournalRow> ReadJournalRow(platform::DbConnection& db, qint64 id)
{
    auto rs = db.OpenRecordset(QStringLiteral("select * from cash where ID=") + QString::number(id));
    if (rs->Eof())
        return std::nullopt;
    auto text = [&rs](const char* name) { return rs->Fields(QLatin1String(name)).toString(); };
    auto number = [&rs](const char* name) { return StoredNumber(rs->Fields(QLatin1String(name)).Value()); };
    StoredJournalRow row;
    row.id = id;
    row.category = text("Category");
    row.moment = QDate::fromString(text("moment").left(10), QStringLiteral("yyyy-MM-dd"));
    row.warehouse = text("warehouse");
    row.charge = text("charge");
    row.code = text("Code");
    row.description = text("Description");
    row.subtotal = number("SubTotal");
    row.quantity = number("quantity");
    row.note = text("Keterangan");
    row.amount = number("Debit") + number("Credit");
    for (int i = 0; i < rs->columnCount(); ++i)
        row.columns << rs->Fields(i).toString();
    return row;
}

int ActionIndex(const QString& category)
{
    for (int i = 0; i < 6; ++i)
        if (cashier::ActionWord(i) == category)
            return i;
    return -1;
}

QString RewriteRefusal(const StoredJournalRow& row)
{
    if (catalogue::IsReservedCode(row.code))
        return platform::OwnText("cRowNotEditable", QStringLiteral("Baris %1 tidak dapat diubah di sini"))
            .arg(row.code.toUpper() == QLatin1String("DS") ? QStringLiteral("Diskon") : QStringLiteral("PPN"));
    if (ActionIndex(row.category) >= 4)
        return platform::OwnText("cRowNotEditable", QStringLiteral("Baris %1 tidak dapat diubah di sini"))
            .arg(ShownCategory(row.category));
    return QString();
}

QString GoneMessage(qint64 id)
{
    return platform::OwnText("cIdGone", QStringLiteral("Data dengan ID '%1' sudah tidak ada")).arg(id);
}

} // namespace ledger
