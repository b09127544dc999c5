#include "ledger/model/reportprint.h"

namespace ledger {

bool PrintsLandscape(const QString& pageText)
{
    static const QStringList portrait = {QStringLiteral("Pembelian"), QStringLiteral("Penjualan"),
                                         QStringLiteral("Kas Masuk"), QStringLiteral("Kas Keluar")};
    return !portrait.contains(pageText);
}

void ForEachPrintLine(const QString& pageText, const QDate& from, const QDate& to, platform::RowSource& view,
                      const std::function<void(const QString&)>& line)
{
    const QString rule(212, QLatin1Char('-'));
    const QString format = QStringLiteral("dd/MM/yyyy");
    line(QStringLiteral("LAPORAN ") + pageText.toUpper());
    line(from.toString(format) + QStringLiteral(" - ") + to.toString(format));
    line(QString());
    line(rule);
    platform::ForEachRow(view, [&](qsizetype, const QString& text) { line(text); });
    line(rule);
}

QStringList ReportPrintLines(const QString& pageText, const QDate& from, const QDate& to, const QStringList& viewLines)
{
    QStringList lines;
    platform::LinesSource view(viewLines);
    ForEachPrintLine(pageText, from, to, view, [&](const QString& l) { lines << l; });
    return lines;
}

QString ReportJobName(const QString& pageText, const QDate& from, const QDate& to)
{
    const QStringList head = ReportPrintLines(pageText, from, to, {});
    return head.at(0) + QLatin1Char(' ') + head.at(1);
}

} // namespace ledger
