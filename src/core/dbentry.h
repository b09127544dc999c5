#pragma once
// The database entries of the program folder as the login list shows them:
// "<name>" for <name>.cdb, "<name> (LAN)" for the pointer file <name>.lan,
// "<name> (MySQL-ODBC)" for the marker <name>.mdbc.
#include <QString>

enum class EntryKind { File, Lan, Odbc };

struct EntryRef {
    EntryKind kind = EntryKind::File;
    QString name; // the file name without its extension
    // The entry's own file in the program folder (.cdb, .lan or .mdbc).
    QString entryFile() const;
};

// The list text of an entry.
QString EntryText(EntryKind kind, const QString& name);

// Only the exact list suffix is taken off, so a name that itself holds " ("
// keeps it.
EntryRef ParseEntry(const QString& entryText);

// The database path a pointer file names: its first field, that is the first
// line up to a comma (or the quoted text when the field starts with a double
// quote, a doubled quote inside it standing for one), with surrounding blanks
// and enclosing double quotes dropped. A missing or unreadable file gives "".
QString ReadLanPath(const QString& pointerFile);
// The line a pointer file holds for path (with its CR LF): the path as it
// stands, or quoted when ReadLanPath would otherwise read another path back.
QByteArray LanPointerLine(const QString& path);
