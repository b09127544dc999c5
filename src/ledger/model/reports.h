#pragma once
// The seven reports of the ledger panel as text lines: the journal (0), the
// item reports of sales, purchases, cash in and cash out (1 to 4), the daily
// recapitulation (5) and the stock report (6). Each builder reads the
// database over a date range and returns the lines of the view, the journal
// row id of each line and the row query that the export runs again. Here are
// what the reports share and the report of a page; each report's own
// builders are in its header (journalreport.h, itemreport.h, recapreport.h,
// stockreport.h).
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "data/rowsource.h"

namespace platform {
class DbConnection;
class DbField;
class DbRecordset;
} // namespace platform

namespace ledger {

enum Page { Journal = 0, Sales = 1, Purchases = 2, CashIn = 3, CashOut = 4, Recap = 5, Stock = 6 };

struct ReportContext {
    platform::DbConnection& db;
    // The database kind of the date literals ("Access" or "MySQL").
    QString dbKind;
    // A column title by its key (the language's TGRID section).
    std::function<QString(const QString& key)> title;
};

struct ReportRange {
    QDate from;
    QDate to;
};

struct JournalFilter {
    // Index of liCategory: 0 Cashier, 1 Charge, 2 Category, 3 Code, 4 Description.
    int column = 0;
    // Prefix of the chosen column's value.
    QString text;
};

struct Report {
    QStringList lines;
    // The journal row's ID of each line; 0 for header, rule, footer and the
    // lines of the other kinds.
    QVector<qint64> ids;
    // The row query, which the export runs again.
    QString sql;

    void add(const QString& line, qint64 id = 0)
    {
        lines << line;
        ids << id;
    }
};

// A report as the list shows it: its lines, read a page at a time when the
// list needs them, and the row query that the export runs again. The lines
// are the report as of the moment it was opened: its count and its totals
// are fixed then; a page read later shows its rows as they are when it is
// read (a row deleted meanwhile shows empty, a row added meanwhile is not
// in the list), so a page never shifts or repeats another.
struct ReportRows {
    std::shared_ptr<platform::RowSource> rows;
    QString sql;
    // The journal's rows are lines idFirst .. idFirst + idCount - 1; each
    // ends in its row's ID (LineId).
    qsizetype idFirst = 0;
    qsizetype idCount = 0;
};

// The journal row ID a journal line ends in (its last 20 characters); 0
// for none.
qint64 LineId(const QString& line);

// The report of a page; nothing for an index outside 0 to 6.
std::optional<ReportRows> OpenReport(const ReportContext& ctx, int page, const ReportRange& range,
                                     const JournalFilter& filter, bool warehouseColumn);
// Every line of an opened report, held, with the journal row ID of each.
Report HoldReport(const ReportRows& rows);
// The report of a page; nothing for an index outside 0 to 6.
std::optional<Report> BuildReport(const ReportContext& ctx, int page, const ReportRange& range,
                                  const JournalFilter& filter, bool warehouseColumn);

// The kind words of a page: Indonesian (GetPage) and English (GetPage2).
QString GetPage(int index);
QString GetPage2(int index);
// The Indonesian word the journal shows for a stored kind word; a word it
// does not know is shown as stored.
QString ShownCategory(const QString& category);
// The journal column that liCategory's index filters on.
QString FilterColumn(int index);
// "moment between 'from' and 'to'", both days included.
QString DateCondition(const ReportContext& ctx, const ReportRange& range);
// A stored date 'yyyy-mm-dd' as "dd/mm/yyyy"; any other text as it stands.
QString ShowDate(const QVariant& moment);
// A stored number as the lists show it (the display locale's decimal
// separator, no grouping); a text as it stands.
QString NumberText(const platform::DbField& field);
// The rule of every report: 184 dashes.
QString Rule();

} // namespace ledger
