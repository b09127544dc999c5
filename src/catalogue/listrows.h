#pragma once
// What the catalogue's lists act on: the code of the highlighted row and the
// codes of the marked rows, read from the rows as the database holds them
// when the command runs. A list read by pages keeps each row in its place
// by its key, so these are the records the operator chose, whatever another
// workstation wrote meanwhile.
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class CheckBox;
class ListBox;
} // namespace platform

namespace catalogue {

// The code of the current row (a record row, from row 2 on); nothing, after
// telling the operator, when its record is gone.
std::optional<QString> ChosenCode(platform::ListBox& list);

// The codes of the marked record rows, in the list's order; `gone` counts
// the marked rows whose records are no longer there.
QStringList MarkedCodes(platform::ListBox& list, int& gone);

// "Check All" ticked exactly while every row of the list is marked; set
// without running its click, which would mark or clear every row.
void ShowMarkState(platform::CheckBox& all, const platform::ListBox& list);

// Tells how many marked records were gone, when any were.
void TellGone(int gone);

} // namespace catalogue
