#pragma once
// The print-outs and exports of the catalogue's lists (the list window's and
// the inventory panel's): their box stands from the first moment, with
// Cancel, and the rows go to the print-out or the file as they are read.
#include <QString>

class QWidget;

namespace platform {
class ListBox;
}

namespace catalogue {

struct PrintFilters;

// The list's heading, every row of it as shown (its title row and rule
// included), and the rule.
void PrintList(QWidget* owner, const QString& caption, const PrintFilters& filters, const platform::ListBox& list);

// Refuses (a Failure saying so) the export of a list with more records
// than a sheet holds, before any of it is read: the list's count is known,
// its two first rows being its titles and rule.
void CheckListExport(const platform::ListBox& list);

} // namespace catalogue
