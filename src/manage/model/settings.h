#pragma once
// The shop's settings that the settings window edits: the receipt's heading
// and notes, the printer port and whether the cashier names a warehouse.
#include <QString>

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

} // namespace manage
