#include "manage/model/settings.h"

#include "data/configtable.h"
#include "data/db.h"

namespace manage {

using platform::ConfigValue;
using platform::SetConfigValue;

ShopSettings ReadShopSettings(platform::DbConnection& db)
{
    ShopSettings s;
    s.company = ConfigValue(db, QStringLiteral("Company"));
    s.address = ConfigValue(db, QStringLiteral("Address"));
    s.phone = ConfigValue(db, QStringLiteral("Phone"));
    s.message1 = ConfigValue(db, QStringLiteral("Message1"));
    s.message2 = ConfigValue(db, QStringLiteral("Message2"));
    s.message3 = ConfigValue(db, QStringLiteral("Message3"));
    s.port = ConfigValue(db, QStringLiteral("Port"));
    s.warehouse = platform::ConfigWholeNumber(db, QStringLiteral("Warehouse")) != 0;
    return s;
}

void SaveShopSettings(platform::DbConnection& db, const ShopSettings& s)
{
    platform::DbTransaction tx(db);
    SetConfigValue(db, QStringLiteral("Company"), s.company);
    SetConfigValue(db, QStringLiteral("Address"), s.address);
    SetConfigValue(db, QStringLiteral("Phone"), s.phone);
    SetConfigValue(db, QStringLiteral("Message1"), s.message1);
    SetConfigValue(db, QStringLiteral("Message2"), s.message2);
    SetConfigValue(db, QStringLiteral("Message3"), s.message3);
    SetConfigValue(db, QStringLiteral("Port"), s.port);
    SetConfigValue(db, QStringLiteral("Warehouse"), s.warehouse ? QStringLiteral("1") : QStringLiteral("0"));
    tx.commit();
}

} // namespace manage
