#pragma once
// The receipt: 40-column text lines of the ticked lines of a charge, as a
// bill (no number, no payment lines) or after a paid save.
#include "cashier/model/cart.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cashier {

struct ReceiptInput {
    qint64 no = 0; // the number in the title line; 0 for a bill
    // The journal's No of the saved transaction, by which the print queue
    // names the receipt (the title line carries the id of the save's last
    // journal row, which the journal does not show as the transaction's).
    qint64 transaction = 0;
    QString actionText; // the action as the list shows it ("Jual")
    QString company, address, phone;
    QString cashier;
    QString charge;
    QList<CartLine> lines;
    // The transaction's discount and tax: the percents and the amounts as
    // the panel shows them (the discount's negative). A line each when the
    // percent is above 0, so that the items, the discount, the tax and the
    // total add up on paper.
    double discount = 0, tax = 0;
    QString discountN, taxN;
    // As the panel shows them: the amount due (after the transaction
    // discount and the tax), paid and change.
    QString total, pay, back;
    QString message1, message2, message3;
    QString now;       // the date and time line's text
    bool port = false; // a printer port: the cut command ends the receipt
};

// The ESC/POS command GS V 66 0: feed to the cutting position, cut partly.
QString CutCommand();
QStringList ReceiptLines(const ReceiptInput& in);
// The receipt's name in the print queue: its transaction's No, or for a bill
// the charge it is for.
QString ReceiptJobName(const ReceiptInput& in);

} // namespace cashier
