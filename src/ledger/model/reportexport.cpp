#include "ledger/model/reportexport.h"

#include "data/db.h"
#include "ledger/model/journalreport.h"
#include "ledger/model/stockreport.h"

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

QVector<Column> ColumnsOf(int page, bool warehouseColumn)
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
    default: break;
    }
    return columns;
}

// The font and the widths go on A to L, whatever the report.
const int kStyledColumns = 12;
const QString kFont = QStringLiteral("Tahoma");
const double kFontSize = 9;

} // namespace

int ReportColumnCount(int page, bool warehouseColumn)
{
    return int(ColumnsOf(page, warehouseColumn).size());
}

bool WriteReport(const ReportContext& ctx, int page, const QString& reportSql, const ReportRange& range,
                 bool warehouseColumn, const CellSink& sink)
{
    const QVector<Column> columns = ColumnsOf(page, warehouseColumn);
    if (columns.isEmpty())
        return false;
    const int last = columns.size();
    platform::Cell title;
    title.bold = true;
    for (int c = 1; c <= last; ++c) {
        title.value = ctx.title(QString::fromLatin1(columns[c - 1].key));
        sink(1, c, title);
    }

    int row = 1;
    platform::Cell cell;
    auto put = [&](const QVector<QVariant>& values) {
        ++row;
        for (int c = 1; c <= values.size(); ++c) {
            cell.value = values[c - 1];
            cell.numberFormat = columns[c - 1].amount ? kAmount : QString();
            sink(row, c, cell);
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
        return true;
    }
    QVector<QVariant> values;
    auto record = [&](const platform::DbRecordset& rs) {
        auto field = [&rs](const char* name) { return rs.Fields(QString::fromLatin1(name)); };
        values.clear();
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
    };
    // The journal is read a page of IDs at a time; the other kinds are a
    // row per item or day.
    if (page == Journal) {
        ForEachJournalRecord(ctx.db, reportSql, record);
    } else {
        for (auto rs = ctx.db.OpenRecordset(reportSql); !rs->Eof(); rs->MoveNext())
            record(*rs);
    }
    return true;
}

bool ExportReport(const ReportContext& ctx, int page, const QString& reportSql, const ReportRange& range,
                  bool warehouseColumn, const QString& path)
{
    const int last = ReportColumnCount(page, warehouseColumn);
    if (last == 0)
        return false;
    platform::SheetWriter sheet(path);
    std::vector<int> longest(size_t(kStyledColumns + 1), -1);
    platform::Cell styled;
    WriteReport(ctx, page, reportSql, range, warehouseColumn, [&](int row, int col, const platform::Cell& cell) {
        styled = cell;
        if (col <= kStyledColumns) {
            styled.fontName = kFont;
            styled.fontSize = kFontSize;
            longest[size_t(col)] = std::max(longest[size_t(col)], platform::ShownLength(cell));
        }
        styled.border = col <= last;
        sheet.write(row, col, styled);
    });
    for (int c = 1; c <= kStyledColumns; ++c) {
        const platform::ColumnStyle style{kFont, kFontSize, c <= last};
        sheet.setColumn(c, longest[size_t(c)] < 0 ? 0 : platform::FittedWidth(longest[size_t(c)]), &style);
    }
    sheet.close();
    return true;
}

} // namespace ledger
