#pragma once
// Fixed-width cells of list rows, receipts and report lines. Widget-free, so
// that the line builders of every subsystem can use them without a window.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace platform {

// The cell text of a field value for lists and captions; null is "".
QString Str(const QVariant& value);
// A pad of blanks of the given width.
QString Pad(int width);
// A cell exactly as wide as the pad: a shorter value is filled with the
// pad's blanks, a longer one is cut to width - 2 and ends in "..". A null
// value is the empty text.
QString AlignLeft(const QVariant& value, const QString& pad);
QString AlignRight(const QVariant& value, const QString& pad);
// The same cells with a pad of blanks, appended to a line being built, for
// reports of thousands of lines: no cell is made as a text of its own.
void AppendLeft(QString& line, const QString& text, qsizetype width);
void AppendRight(QString& line, const QString& text, qsizetype width);

// Rows made one at a time: each call writes the next row into `row`, which
// it empties first, and says whether there was one. A list of a whole
// catalogue is filled from it with one text reused for every row.
using RowMaker = std::function<bool(QString& row)>;
// Every row a maker makes, each a text of its own.
QStringList AllRows(const RowMaker& next);

} // namespace platform
