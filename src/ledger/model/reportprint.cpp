#include "ledger/model/reportprint.h"

namespace ledger {

bool PrintsLandscape(const QString& pageText)
{
    static const QStringList portrait = {QStringLiteral("Pembelian"), QStringLiteral("Penjualan"),
                                         QStringLiteral("Kas Masuk"), QStringLiteral("Kas Keluar")};
    return !portrait.contains(pageText);
}

QStringList ReportPrintLines(const QString& pageText, const QDate& from, const QDate& to, const QStringList& viewLines)
{
    const QString rule(212, QLatin1Char('-'));
    const QString format = QStringLiteral("dd/MM/yyyy");
    QStringList lines{QStringLiteral("LAPORAN ") + pageText.toUpper(),
                      from.toString(format) + QStringLiteral(" - ") + to.toString(format), QString(), rule};
    lines << viewLines << rule;
    return lines;
}

QString ReportJobName(const QString& pageText, const QDate& from, const QDate& to)
{
    const QStringList head = ReportPrintLines(pageText, from, to, {});
    return head.at(0) + QLatin1Char(' ') + head.at(1);
}

} // namespace ledger
