#pragma once
// One journal row written by hand: what the journal row dialog holds, the
// checks it must pass, the row it becomes in `cash` (its format, ids and
// sides are the cashier's), the add and the rewrite, and the reading of a
// stored row back for a rewrite.
#include "cashier/model/journal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class DbConnection;
}

namespace ledger {

// The dialog's fields as texts, as the operator left them.
struct JournalEntry {
    QString action; // the kind word of the dialog ("Unknown" for none)
    QDate moment;
    QString note; // Keterangan
    QString cashier;
    QString warehouse;
    QString charge;
    QString code;
    QString name;     // Description
    QString price;    // the net unit price as shown ("#,##0")
    QString quantity; // as typed or loaded
    QString unit;
    QString total; // the row's amount as shown ("#,##0")
};

// The first check an entry fails, in the order the dialog asks them.
enum class EntryProblem { None, NoAction, NoCode, NoName, NoQuantity, Negative };
EntryProblem CheckEntry(const JournalEntry& e);
// "Aksi belum diisi", "Kode belum diisi", "Deskripsi belum diisi",
// "Quantity belum diisi", "Total tidak boleh negatif"; "" for None.
QString ProblemMessage(EntryProblem p);

// The row of an entry that passed the checks, without id and number. Price
// and discount are the item's list price and percent now; a code that its
// items table does not hold writes 0 for both. An empty or unreadable price
// or total reads as 0.
cashier::JournalRow MakeJournalRow(platform::DbConnection& db, const JournalEntry& e);
// "update cash set Category=…, …, Credit=… where ID=<id>": every column but
// ID and no.
QString JournalUpdateSql(const cashier::JournalRow& r, qint64 id, const QString& dbKind);

// Adds the entry as a row of a transaction number of its own; the ids are
// read and the row written in one write transaction. Returns the row's id.
qint64 AddJournalEntry(platform::DbConnection& db, const QString& dbKind, const JournalEntry& e);

// A stored row as the dialog loads it for a rewrite.
struct StoredJournalRow {
    qint64 id = 0;
    QString category;
    QDate moment;
    QString warehouse;
    QString charge;
    QString code;
    QString description;
    double subtotal = 0;
    double quantity = 0;
    QString note;
    // What the row books: Debit + Credit (one of them is 0).
    double amount = 0;
    // Every column as stored, to tell at the rewrite whether the row is
    // still the one loaded.
    QStringList columns;
};
// Nothing when the row is gone.
std::optional<StoredJournalRow> ReadJournalRow(platform::DbConnection& db, qint64 id);
// Rewrites the row the dialog loaded with the entry; false, with nothing
// written, when the row is gone or is no longer as it was loaded (another
// till changed it, or deleted it and gave its ID to a row of its own).
bool RewriteJournalEntry(platform::DbConnection& db, const QString& dbKind, const StoredJournalRow& loaded,
                         const JournalEntry& e);
// Whether the rows of an ID are still the row a journal line shows: its
// ID and its text. A row deleted at another till leaves its ID to the next
// row written there.
bool JournalRowShown(platform::DbConnection& db, qint64 id, const QString& shownLine, bool warehouseColumn);
// Deletes the row a journal line shows, checked in the delete's own
// transaction; false, with nothing written, when it is no longer that row.
bool DeleteJournalRow(platform::DbConnection& db, qint64 id, const QString& shownLine, bool warehouseColumn);
// The dialog's kind list index of a stored kind word, letter case included:
// "Sale" 0, "Shop" 1, "Cash In" 2, "Cash Out" 3, "Sale Retur" 4, "Shop
// Retur" 5; -1 for any other word.
int ActionIndex(const QString& category);
// Why the dialog cannot rewrite a row, or "" when it can. A return kind has
// no entry in the kind list, and a discount or tax row is a percent of its
// transaction that a rewrite would turn into an item row.
QString RewriteRefusal(const StoredJournalRow& row);
// "Data dengan ID '<id>' sudah tidak ada": a row deleted or replaced
// meanwhile.
QString GoneMessage(qint64 id);

} // namespace ledger
