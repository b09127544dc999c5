#include "ledger/model/reportexport.h"

#include "data/db.h"
#include "ledger/model/journalreport.h"
#include "ledger/model/reportcommon.h"
#include "ledger/model/stockreport.h"

namespace ledger {

namespace {

const QString kAmount = QStringLiteral("#,##0");

// A stored 'yyyy-mm-dd' as a date, anything else as it stands.
QVariant DateValue(const QVariant& v)
{
    QDate d;
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray& t = *static_cast<const QByteArray*>(v.constData());
        d = StoredDay(QByteArrayView(t));
    } else if (v.typeId() == QMetaType::QString) {
        d = StoredDay(QStringView(*static_cast<const QString*>(v.constData())));
    }
    if (!d.isValid())
        d = QDate::fromString(platform::DbField(v).toString().left(10), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? QVariant(d) : v;
}

// A cell read in place with the types a recordset gives it, a text as its
// UTF-8 bytes: the sheet takes those as they stand.
QVariant CellValue(const platform::DbScanRow& row, int i)
{
    switch (row.kind(i)) {
    case platform::DbScanRow::Null: return QVariant(QMetaType::fromType<QString>());
    case platform::DbScanRow::Whole: return QVariant(qlonglong(row.whole(i)));
    case platform::DbScanRow::Real: return QVariant(row.number(i));
    default: return QVariant(row.text(i).toByteArray());
    }
}

// The journal's columns an export reads, in this order.
const QString kJournalColumns = QStringLiteral(
    "Moment, Cashier, Warehouse, Charge, Category, Code, Description, Price, Quantity, Unit, Debit, Credit");
enum JournalColumn {
    jMoment,
    jCashier,
    jWarehouse,
    jCharge,
    jCategory,
    jCode,
    jDescription,
    jPrice,
    jQuantity,
    jUnit,
    jDebit,
    jCredit
};

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
    // The journal is read a page of IDs at a time, its rows in place where
    // the engine allows: a year is a million of them.
    if (page == Journal) {
        const auto journal = [&](const auto& field) {
            values.clear();
            values << row << DateValue(field(jMoment)) << field(jCashier);
            if (warehouseColumn)
                values << field(jWarehouse);
            values << field(jCharge) << field(jCategory) << field(jCode) << field(jDescription) << field(jPrice)
                   << NumberText(platform::DbField(field(jQuantity))) + QLatin1Char(' ') +
                          platform::DbField(field(jUnit)).toString()
                   << field(jDebit) << field(jCredit);
            put(values);
        };
        ForEachJournalPage(ctx.db, reportSql, kJournalColumns, [&](const QString& sql) {
            const bool inPlace = ctx.db.ReadRows(sql, [&](const platform::DbScanRow& cells) {
                journal([&cells](int i) { return CellValue(cells, i); });
            });
            if (!inPlace)
                for (auto rs = ctx.db.OpenRecordset(sql); !rs->Eof(); rs->MoveNext())
                    journal([&rs](int i) { return rs->Fields(i).Value(); });
        });
        return true;
    }
    // The other kinds are a row per item or day.
    for (auto rs = ctx.db.OpenRecordset(reportSql); !rs->Eof(); rs->MoveNext()) {
        auto field = [&rs](const char* name) { return rs->Fields(QString::fromLatin1(name)); };
        values.clear();
        if (page == Recap) {
            const double sale = field("Sale").toDouble(), shop = field("Shop").toDouble();
            const double in = field("Cash_In").toDouble(), out = field("Cash_Out").toDouble();
            const double debit = field("Debit").toDouble(), credit = field("Credit").toDouble();
            values << DateValue(field("Tanggal").Value()) << sale << shop << sale - shop << in << out << in - out
                   << debit << credit << debit - credit;
        } else {
            values << field("code").Value() << field("description").Value() << field("avg_Price").Value()
                   << NumberText(field("sum_Quantity")) + QLatin1Char(' ') + field("unit").toString()
                   << field("Total").Value();
        }
        put(values);
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
