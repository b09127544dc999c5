#pragma once
// The print-out of the report the ledger panel shows: a title from the
// report kind, the range, a rule, the lines of the view as they stand and a
// closing rule.
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

#include "data/rowsource.h"

namespace ledger {

// The item reports fit a portrait page; every other kind prints landscape.
bool PrintsLandscape(const QString& pageText);
QStringList ReportPrintLines(const QString& pageText, const QDate& from, const QDate& to, const QStringList& viewLines);
// The same lines one at a time, the view's read a page at a time as they
// are printed: a year's journal is never held whole.
void ForEachPrintLine(const QString& pageText, const QDate& from, const QDate& to, platform::RowSource& view,
                      const std::function<void(const QString&)>& line);
// The print-out's name in the print queue: its title and range.
QString ReportJobName(const QString& pageText, const QDate& from, const QDate& to);

} // namespace ledger
