#pragma once
// The shop's settings that the settings window edits: the receipt's heading
// and notes, the printer port and whether the cashier names a warehouse.
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {
class DbConnection;
}

namespace manage {

struct ShopSettings {
    QString company;
    QString address;
    QString phone;
    QString message1;
    QString message2;
    QString message3;
    QString port;
    // A stored value that is not a number (a hand-edited row) reads as off.
    bool warehouse = false;
    // The warehouse setting as stored, so that a save writes a clean 0 or 1
    // over a value the box could not show.
    QString warehouseStored;
};

ShopSettings ReadShopSettings(platform::DbConnection& db);
// Writes the settings that differ between `loaded` (as the window loaded
// them) and `edited`, all of them or none should the file fail halfway: a
// setting the operator left alone keeps what another till stored
// meanwhile. Returns whether anything was written.
bool SaveShopSettings(platform::DbConnection& db, const ShopSettings& loaded, const ShopSettings& edited);

// The database files a printer port must never name: those the program
// folder keeps (entries, pointer files, server markers, the template, the
// language sets), the shared files its pointer files name (pointerTarget
// reads one; "" for none), and the files given as open.
QStringList KeptDatabaseFiles(const QString& programFolder, const QStringList& open,
                              const std::function<QString(const QString& pointerFile)>& pointerTarget);
// Why a printer port cannot be stored, "" when it can: each line printed is
// appended to the file a port names, so a port naming a database file (or
// its journal) would write receipts into it, and one climbing up with ".."
// lands wherever the working folder happens to be. The port names
// (Default, LPT1, LPT2, COM1, COM2) and other device or file paths pass.
QString PortRefusal(const QString& port, const QStringList& keptFiles);

} // namespace manage
