#include "ledger/model/reports.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "ledger/model/itemreport.h"
#include "ledger/model/journalreport.h"
#include "ledger/model/recapreport.h"
#include "ledger/model/reportcommon.h"
#include "ledger/model/stockreport.h"

using platform::FormatAmount;
using platform::Str;

namespace ledger {

const QString kBlank = QStringLiteral(" ");

// An amount cell that shows "-" for nothing.
QString AmountOrDash(double v)
{
    return v == 0 ? QStringLiteral("-") : FormatAmount(v);
}

double Field(const platform::DbRecordset& rs, const char* name)
{
    return rs.Fields(QString::fromLatin1(name)).toDouble();
}

QString Date(const ReportContext& ctx, const QDate& d)
{
    return platform::DateLiteral(ctx.dbKind, d);
}

ReportRows Held(Report r)
{
    ReportRows rows;
    rows.sql = r.sql;
    rows.rows = std::make_shared<platform::LinesSource>(std::move(r.lines));
    return rows;
}

QString GetPage(int index)
{
    static const char* const words[] = {"General",    "Jual",       "Beli",    "Kas Masuk", "Kas Keluar",
                                        "Retur Jual", "Retur Beli", "Summary", "Stok"};
    return index >= 0 && index < 9 ? QString::fromLatin1(words[index]) : QString();
}

QString GetPage2(int index)
{
    static const char* const words[] = {"General",    "Sale",       "Shop", "Cash In", "Cash Out",
                                        "Sale Retur", "Shop Retur", "",     ""};
    return index >= 0 && index < 9 ? QString::fromLatin1(words[index]) : QString();
}

QString ShownCategory(const QString& category)
{
    static const QHash<QString, QString> shown = {
        {QStringLiteral("Sale"), QStringLiteral("Jual")},
        {QStringLiteral("Shop"), QStringLiteral("Beli")},
        {QStringLiteral("Cash In"), QStringLiteral("Kas Masuk")},
        {QStringLiteral("Cash Out"), QStringLiteral("Kas Keluar")},
        {QStringLiteral("Sale Retur"), QStringLiteral("Retur Jual")},
        {QStringLiteral("Shop Retur"), QStringLiteral("Retur Beli")},
    };
    return shown.value(category, category);
}

QString FilterColumn(int index)
{
    static const char* const columns[] = {"Cashier", "Charge", "Category", "Code", "Description"};
    return index >= 0 && index < 5 ? QString::fromLatin1(columns[index]) : QString();
}

QString DateCondition(const ReportContext& ctx, const ReportRange& range)
{
    return QStringLiteral("moment between ") + Date(ctx, range.from) + QStringLiteral(" and ") + Date(ctx, range.to);
}

namespace {

char16_t Unit(char c)
{
    return char16_t(static_cast<unsigned char>(c));
}
char16_t Unit(QChar c)
{
    return c.unicode();
}

template <class Text> QDate DayOf(const Text& t)
{
    auto at = [&t](int i) { return Unit(t[i]); };
    if (t.size() < 10 || at(4) != u'-' || at(7) != u'-')
        return QDate();
    int part[3] = {0, 0, 0};
    const int from[3] = {0, 5, 8}, to[3] = {4, 7, 10};
    for (int p = 0; p < 3; ++p) {
        for (int i = from[p]; i < to[p]; ++i) {
            if (at(i) < u'0' || at(i) > u'9')
                return QDate();
            part[p] = part[p] * 10 + int(at(i) - u'0');
        }
    }
    return part[0] > 0 ? QDate(part[0], part[1], part[2]) : QDate();
}

} // namespace

QDate StoredDay(QStringView text)
{
    return DayOf(text);
}

QDate StoredDay(QByteArrayView text)
{
    return DayOf(text);
}

QString ShowDate(const QVariant& moment)
{
    const QString text = Str(moment);
    if (!StoredDay(text).isValid())
        return text;
    const QStringView t(text);
    QString out;
    out.reserve(10);
    out.append(t.mid(8, 2)).append(QLatin1Char('/')).append(t.mid(5, 2)).append(QLatin1Char('/')).append(t.left(4));
    return out;
}

QString NumberText(const platform::DbField& field)
{
    const int type = field.Value().typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
        return platform::FormatNumber(field.toDouble());
    return field.toString();
}

QString Rule()
{
    return QString(184, QLatin1Char('-'));
}

qint64 LineId(const QString& line)
{
    if (line.size() < 20)
        return 0;
    return QStringView(line).right(20).trimmed().toLongLong();
}

Report HoldReport(const ReportRows& rows)
{
    Report r;
    r.sql = rows.sql;
    platform::ForEachRow(*rows.rows, [&](qsizetype at, const QString& line) {
        r.add(line, at >= rows.idFirst && at < rows.idFirst + rows.idCount ? LineId(line) : 0);
    });
    return r;
}

std::optional<ReportRows> OpenReport(const ReportContext& ctx, int page, const ReportRange& range,
                                     const JournalFilter& filter, bool warehouseColumn)
{
    switch (page) {
    case Journal: return OpenJournal(ctx, range, filter, warehouseColumn);
    case Sales:
    case Purchases:
    case CashIn:
    case CashOut: return Held(BuildItemReport(ctx, range, page));
    case Recap: return OpenRecap(ctx, range);
    case Stock: return Held(BuildStock(ctx, range));
    default: return std::nullopt;
    }
}

std::optional<Report> BuildReport(const ReportContext& ctx, int page, const ReportRange& range,
                                  const JournalFilter& filter, bool warehouseColumn)
{
    switch (page) {
    case Journal: return BuildJournal(ctx, range, filter, warehouseColumn);
    case Sales:
    case Purchases:
    case CashIn:
    case CashOut: return BuildItemReport(ctx, range, page);
    case Recap: return BuildRecap(ctx, range);
    case Stock: return BuildStock(ctx, range);
    default: return std::nullopt;
    }
}

} // namespace ledger
