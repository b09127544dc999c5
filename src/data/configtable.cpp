#include "data/configtable.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"

#include <algorithm>
#include <limits>

namespace platform {

QString ConfigValue(DbConnection& db, const QString& key)
{
    const QString where = QStringLiteral(" from config where `key`=") + Quote(key);
    if (db.GetValue(QStringLiteral("select count(`key`)") + where).toLongLong() == 0)
        return QString();
    return Str(db.GetValue(QStringLiteral("select setting") + where));
}

bool SetConfigValue(DbConnection& db, const QString& key, const QString& value)
{
    // The count and the insert together: two workstations saving the same
    // new key must not write it twice.
    DbTransaction tx(db);
    const QString where = QStringLiteral(" from config where `key`=") + Quote(key);
    bool wrote = true;
    if (db.GetValue(QStringLiteral("select count(`key`)") + where).toLongLong() == 0)
        db.Execute(QStringLiteral("insert into config values(") + Quote(key) + QStringLiteral(", ") + Quote(value) +
                   QLatin1Char(')'));
    // The same value again (the login writes back what it read) is no
    // change: the clock would sum the whole journal again for it.
    else if (Str(db.GetValue(QStringLiteral("select setting") + where)) != value)
        db.Execute(QStringLiteral("update config set setting=") + Quote(value) + QStringLiteral(" where `key`=") +
                   Quote(key));
    else
        wrote = false;
    tx.commit();
    return wrote;
}

int ConfigWholeNumber(DbConnection& db, const QString& key)
{
    // The program writes "0" or "1"; a hand-edited text that is no number
    // (an exponent, "nan" and the like included) reads as 0, as a missing row
    // does, instead of stopping the login that reads it.
    const double v = RoundAmount(ParseQuantity(ConfigValue(db, key)));
    return static_cast<int>(
        std::clamp(v, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

} // namespace platform
