#include "ledger/model/reportexport.h"

#include "platform/db.h"

namespace ledger {

namespace {

const QString kAmount = QStringLiteral("#,##0");

// A stored 'yyyy-mm-dd' as a date, anything else as it stands.
QVariant DateValue(const platform::DbField& f)
{
    const QDate d = QDate::fromString(f.toString().left(10), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? QVariant(d) : f.Value();
}

struct Column {
    const char* key;
    bool amount;
};

} // namespace

std::optional<platform::Workbook> ReportWorkbook(const ReportContext& ctx, int page, const QString& reportSql,
                                                 const ReportRange& range, bool warehouseColumn)
{
    QVector<Column> columns;
    switch (page) {
    case Journal:
        columns = {{"tNum", false}, {"tDate", false}, {"tCashier", false}};
        if (warehouseColumn)
            columns.append({"tWarehouse", false});
        columns += {{"tCharge", false}, {"tAction", false},   {"tCode", false}, {"tDescription", false},
                    {"tPrice", true},   {"tQuantity", false}, {"tDebit", true}, {"tCredit", true}};
        break;
    case Sales:
    case Purchases:
    case CashIn:
    case CashOut:
        columns = {{"tCode", false}, {"tDescription", false}, {"tPrice", true}, {"tQuantity", false}, {"tTotal", true}};
        break;
    case Recap:
        columns = {{"tDate", false},   {"tSale", true},  {"tShop", true},  {"tSaldo", true},  {"tCashIn", true},
                   {"tCashOut", true}, {"tSaldo", true}, {"tDebit", true}, {"tCredit", true}, {"tSaldo", true}};
        break;
    case Stock:
        columns = {{"tCode", false}, {"tDescription", false}, {"tBegin", false},     {"tShop", false},
                   {"tSale", false}, {"tManualPlus", false},  {"tManualMin", false}, {"tChange", false}};
        break;
    default: return std::nullopt;
    }

    platform::Workbook book;
    const int last = columns.size();
    for (int c = 1; c <= last; ++c)
        book.setValue(1, c, ctx.title(QString::fromLatin1(columns[c - 1].key)));
    book.setBold(1, 1, 1, last);

    int row = 1;
    auto put = [&](const QVector<QVariant>& values) {
        ++row;
        for (int c = 1; c <= values.size(); ++c) {
            book.setValue(row, c, values[c - 1]);
            if (columns[c - 1].amount)
                book.setNumberFormat(row, c, row, c, kAmount);
        }
    };

    if (page == Stock) {
        const QHash<QString, StockFigures> figures = StockFiguresOf(ctx, range);
        for (const StockItem& item : StockItems(ctx, reportSql)) {
            const StockFigures f = figures.value(StockKey(item.code, item.description));
            QVector<QVariant> values{item.code, item.description};
            for (double v : {f.begin, f.shop, f.sale, f.manualPlus, f.manualMin, f.end()})
                values << StockCell(v, item.unit);
            put(values);
        }
    } else {
        auto rs = ctx.db.OpenRecordset(reportSql);
        for (; !rs->Eof(); rs->MoveNext()) {
            auto field = [&rs](const char* name) { return rs->Fields(QString::fromLatin1(name)); };
            QVector<QVariant> values;
            if (page == Journal) {
                values << row << DateValue(field("Moment")) << field("Cashier").Value();
                if (warehouseColumn)
                    values << field("Warehouse").Value();
                values << field("Charge").Value() << field("Category").Value() << field("Code").Value()
                       << field("Description").Value() << field("Price").Value()
                       << NumberText(field("Quantity")) + QLatin1Char(' ') + field("Unit").toString()
                       << field("Debit").Value() << field("Credit").Value();
            } else if (page == Recap) {
                const double sale = field("Sale").toDouble(), shop = field("Shop").toDouble();
                const double in = field("Cash_In").toDouble(), out = field("Cash_Out").toDouble();
                const double debit = field("Debit").toDouble(), credit = field("Credit").toDouble();
                values << DateValue(field("Tanggal")) << sale << shop << sale - shop << in << out << in - out << debit
                       << credit << debit - credit;
            } else {
                values << field("code").Value() << field("description").Value() << field("avg_Price").Value()
                       << NumberText(field("sum_Quantity")) + QLatin1Char(' ') + field("unit").toString()
                       << field("Total").Value();
            }
            put(values);
        }
    }

    // Borders on the report's whole columns; the font and the widths on A
    // to L, whatever the report.
    book.setColumnBorder(1, last);
    book.setColumnFont(1, 12, QStringLiteral("Tahoma"), 9);
    book.autoFit(1, 12);
    return book;
}

} // namespace ledger
