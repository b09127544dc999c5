#include "cashier/model/receipt.h"

#include "data/sqltext.h"
#include "data/textcells.h"

namespace cashier {

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Pad;

QString CutCommand()
{
    QString s;
    s.append(QChar(29)).append(QChar(86)).append(QChar(66)).append(QChar(0));
    return s;
}

QStringList ReceiptLines(const ReceiptInput& in)
{
    const QString rule(40, QLatin1Char('-'));
    auto amountLine = [](const QString& caption, const QString& amount) {
        return Pad(4) + AlignLeft(caption, Pad(27)) + AlignRight(amount, Pad(9));
    };
    QStringList out;
    if (in.no > 0)
        out << in.actionText + QStringLiteral(" / ") + QString::number(in.no);
    out << rule << in.company << in.address << in.phone << rule;
    out << AlignLeft(QStringLiteral("Cashier: ") + in.cashier, Pad(20)) +
               AlignRight(QStringLiteral("Charge: ") + in.charge, Pad(20));
    out << rule;
    int k = 0;
    for (const CartLine& l : in.lines) {
        ++k;
        out << AlignRight(QString::number(k), QStringLiteral("00")) + QStringLiteral(". ") + AlignLeft(l.name, Pad(36));
        out << Pad(4) +
                   AlignLeft(FormatAmount(l.subtotal) + QStringLiteral(" x ") + platform::Num(l.quantity) +
                                 QLatin1Char(' ') + l.satuan,
                             Pad(27)) +
                   AlignRight(FormatAmount(l.total), Pad(9));
    }
    out << rule;
    const auto percentLine = [&](const char* caption, double percent, const QString& amount) {
        if (percent > 0)
            out << amountLine(
                QLatin1String(caption) + QLatin1Char(' ') + platform::FormatNumber(percent) + QLatin1Char('%'), amount);
    };
    percentLine("Diskon", in.discount, in.discountN);
    percentLine("PPN", in.tax, in.taxN);
    out << amountLine(QStringLiteral("Total"), in.total);
    if (in.no > 0)
        out << amountLine(QStringLiteral("Bayar"), in.pay) << amountLine(QStringLiteral("Sisa"), in.back);
    out << rule << in.message1 << in.message2 << AlignRight(in.now, Pad(40)) << rule << in.message3 << rule;
    if (in.port)
        out << CutCommand();
    return out;
}

QString ReceiptJobName(const ReceiptInput& in)
{
    if (in.transaction > 0)
        return QStringLiteral("Nota %1 / %2").arg(in.actionText).arg(in.transaction);
    return QStringLiteral("Nota %1 - %2").arg(in.actionText, in.charge);
}

} // namespace cashier
