#pragma once
// What the catalogue's lists act on: the highlighted row and the marked rows
// as the operator saw them. A list read by pages keeps each row in its place
// by its key, but a database file gives a new record the number of a
// deleted last one: a row is acted on only while it still reads as shown,
// and the write checks it once more inside its transaction.
#include "catalogue/model/catalogue.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {
class CheckBox;
class ListBox;
} // namespace platform

namespace catalogue {

// The current record row (from row 2 on) as shown, once it is read again
// by its key and `shown` finds its record as it shows it; nothing, after
// telling the operator, when it is gone or another record holds its place.
std::optional<QString> ChosenRow(platform::ListBox& list, const std::function<bool(const QString&)>& shown);

// The marked record rows, in the list's order, as shown (a row never shown
// as it is now).
QStringList MarkedRows(platform::ListBox& list);

// "Check All" ticked exactly while every row of the list is marked; set
// without running its click, which would mark or clear every row.
void ShowMarkState(platform::CheckBox& all, const platform::ListBox& list);

// Tells how many marked records were gone, when any were.
void TellGone(int gone);

// Tells every window what a committed write changed.
void Announce(const Wrote& wrote);

} // namespace catalogue
