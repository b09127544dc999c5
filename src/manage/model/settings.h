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
};

ShopSettings ReadShopSettings(platform::DbConnection& db);
// All eight or none, should the file fail halfway.
void SaveShopSettings(platform::DbConnection& db, const ShopSettings& settings);

} // namespace manage
