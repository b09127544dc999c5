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
    s.warehouseStored = ConfigValue(db, QStringLiteral("Warehouse"));
    return s;
}

bool SaveShopSettings(platform::DbConnection& db, const ShopSettings& loaded, const ShopSettings& edited)
{
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const std::pair<const char*, std::pair<QString, QString>> rows[] = {
        {"Company", {loaded.company, edited.company}},
        {"Address", {loaded.address, edited.address}},
        {"Phone", {loaded.phone, edited.phone}},
        {"Message1", {loaded.message1, edited.message1}},
        {"Message2", {loaded.message2, edited.message2}},
        {"Message3", {loaded.message3, edited.message3}},
        {"Port", {loaded.port, edited.port}},
        {"Warehouse", {loaded.warehouseStored, flag(edited.warehouse)}},
    };
    platform::DbTransaction tx(db);
    bool wrote = false;
    for (const auto& [key, values] : rows) {
        if (values.first == values.second)
            continue;
        // Another till may have stored the same value meanwhile.
        wrote |= SetConfigValue(db, QString::fromLatin1(key), values.second);
    }
    tx.commit();
    return wrote;
}

} // namespace manage
