#pragma once
// The printer ports a print-out must never go to: each line printed is
// appended to the file a port names, so a port naming a database file would
// write receipts into it, outside the database.
#include <QString>
#include <QStringList>
#include <functional>

// The database files a printer port must never name: those the program
// folder keeps (entries, pointer files, server markers, the template, the
// language sets), the shared files its pointer files name (pointerTarget
// reads one; "" for none), and the files given as open.
QStringList KeptDatabaseFiles(const QString& programFolder, const QStringList& open,
                              const std::function<QString(const QString& pointerFile)>& pointerTarget);
// Why a printer port cannot be used, "" when it can: a port naming a
// database file (or its journal), and one climbing up with ".." that lands
// wherever the working folder happens to be. The port names (Default, LPT1,
// LPT2, COM1, COM2) and other device or file paths pass.
QString PortRefusal(const QString& port, const QStringList& keptFiles);
