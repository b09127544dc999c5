#pragma once
// The journal and stock rows of a saved transaction, and the save itself.
// The rows are made from the ticked cart lines and the totals without a
// window; the save writes what they say, with the ids, the transaction
// number and the removal of the saved lines, as one write transaction.
#include "cashier/model/cart.h"
#include "stock/model/stockmodel.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class DbConnection;
}

namespace cashier {

// One row of `cash`, its 23 columns in their order.
struct JournalRow {
    qint64 id = 0;
    qint64 no = 0;
    QString category;
    QDate moment;
    QString note; // Keterangan
    QString cashier;
    QString warehouse;
    QString charge;
    QString code;
    QString description;
    double price = 0;
    double discount = 0;
    double subtotal = 0;
    double quantity = 0;
    bool percentRow = false; // DS and PN: the quantity is the percent, written bare
    QString unit;
    double sale = 0, shop = 0, shopRetur = 0, saleRetur = 0, cashIn = 0, cashOut = 0;
    double debit = 0, credit = 0;
};

// One row of `stockflow`: the stock model's movement under its id.
struct StockRow {
    qint64 id = 0;
    stock::Movement movement;
};

// The amount in the kind's column of the row's category and, made
// positive, on the given side (Debit or Credit) when it is positive, on the
// other side when it is negative.
void BookAmount(JournalRow& r, double amount, bool debit);

// A price, net price, total or quantity below zero. Every kind refuses such
// a line: it would turn a sale into a payment out, or a cash out into money
// in, and its amount would stand on the other side of the journal, so that
// the item reports (which add up one side) and the recapitulation (which
// adds up the kind's column) would tell two stories of one range.
bool HasNegativeFigure(const CartLine& line);

// dbKind chooses the date literal ("Access" or "MySQL").
QString JournalInsertSql(const JournalRow& r, const QString& dbKind);
// The row's values as the literals of that insert, the date as DateLiteral
// gives it.
QStringList JournalValues(const JournalRow& r, const QString& dateLiteral);

// What a save is about, as the panel holds it when the save starts.
struct SaveHeader {
    QString action;
    QString charge;
    QDate date;
    QString note;
    QString warehouse;
    QString cashier;
    QString dbKind = QStringLiteral("Access"); // chooses the date literal
    // The totals fields' texts: percents as typed, amounts as shown.
    QString discount, discountN, tax, taxN;
    // The ticked lines the till showed and the amount due it showed for
    // them: given, the save books these lines, with the discount and tax
    // worked out on them, or nothing when the cart holds other ticked lines
    // by then or the shown figures are not theirs. Not given, it books the
    // ticked lines it finds, with the header's amounts.
    std::optional<QList<CartLine>> shown = std::nullopt;
    QString due = {};
};

// The last journal id, the transaction number and the last stock-flow id
// that the rows continue from.
struct SaveNumbers {
    qint64 lastId = 0;
    qint64 no = 1;
    qint64 lastStockId = 0;
};
SaveNumbers NextNumbers(platform::DbConnection& db);

struct SaveRows {
    QList<JournalRow> journal;
    QList<StockRow> stock;
    // Every insert in the order it runs: per line its item row, purchase row
    // and stock rows, then the discount row and the tax row.
    QStringList statements;
    // The same inserts as their values: a journal row, or a stock row.
    struct Insert {
        bool stock = false;
        QStringList values;
    };
    QList<Insert> inserts;
    qint64 lastId = 0; // the id of the last journal row
};

// Reads the catalogue (buying items, recipes) but writes nothing.
SaveRows MakeSaveRows(platform::DbConnection& db, const SaveHeader& h, const QList<CartLine>& lines,
                      const SaveNumbers& numbers);

struct SaveResult {
    bool saved = false; // false: no ticked line, or a refused one; nothing written
    // The ticked lines stored are not the ones shown (or the figures shown
    // are not theirs): nothing written.
    bool changed = false;
    // The connection went at the COMMIT: whether the rows below became
    // durable is for FateOfSave to find out once the server answers.
    bool commitUnanswered = false;
    // The first ticked line with a negative figure, which refused the save.
    std::optional<CartLine> negativeLine;
    QList<CartLine> lines;
    SaveRows rows;
    qint64 no = 0;
};

// The save: the ticked lines of the charge, their rows, the deletion of the
// saved lines and of the charge's held warehouse, all or nothing. Throws
// (after rolling back) when any statement fails, except a COMMIT that got no
// answer (commitUnanswered).
SaveResult SaveTransaction(platform::DbConnection& db, const SaveHeader& h);

enum class SaveFate {
    Saved,    // the journal holds the save's rows under its No
    NotSaved, // it does not, and the lines are still held
    Unknown,  // neither: another till took the lines meanwhile
};
// What the database holds of a save whose COMMIT got no answer. Throws
// while the server does not answer.
SaveFate FateOfSave(platform::DbConnection& db, const SaveHeader& h, const SaveResult& attempt);

} // namespace cashier
