#pragma once
// The bench's data: a shop's database at two sizes, made with the bare
// SQLite API and kept between runs when ORV_BENCH_DATA says where.
#include <QDate>
#include <QString>

struct Scale {
    const char* name;
    int journal;   // rows of the journal
    int movements; // stock movements
    int items;     // items bought and sold under one code
    int contacts;  // customers
};

// The shop after two and after ten years of a busy trade.
constexpr Scale kScales[] = {
    {"1M", 1000000, 1000000, 10000, 10000},
    {"10M", 10000000, 10000000, 100000, 100000},
};
constexpr int kStockItems = 1000;
// The items of the bench's sale, each with two stock items in its recipes.
constexpr int kSaleLines = 20;

// The days the data covers: ten years and a month, ending a month after the
// day it was made, so that today lies inside it (the login's report range
// holds rows) for a month of runs.
struct Span {
    QDate first;
    QDate last;
    int days() const { return int(first.daysTo(last)) + 1; }
};
Span SpanMadeOn(const QDate& day);

// Where a scale's data is kept: ORV_BENCH_DATA names a folder (which then
// holds orvbench-1M.cdb and orvbench-10M.cdb) or a file prefix (/data/shop-
// gives /data/shop-1M.cdb; a name ending in .cdb is taken as the prefix
// before it, with a dash). Empty when the data is not kept.
QString KeptFile(const QString& setting, const Scale& scale);
// The server's data folder beside the kept files ("" when not kept).
QString KeptServerFolder(const QString& setting);

// The span of the data in a file, when the file holds a scale's data as
// this bench makes it; an invalid span otherwise.
Span DataSpan(const QString& file, const Scale& scale);

// Writes the scale's data into a copy of the template at file, the
// summary tables and their triggers left out (the program's login builds
// them at once, far quicker than row by row).
void MakeData(const QString& file, const Scale& scale, const Span& span);

// Takes the totals the program keeps beside the tables (their tables and
// every trigger) off a database, as a database made before them is.
void TakeSummariesOff(const QString& file);

// The code of item i ("I00042") and of stock item i ("S0042").
QByteArray ItemCode(int i);
QByteArray StockCode(int i);
