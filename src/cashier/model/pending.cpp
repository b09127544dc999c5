#include "cashier/model/pending.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"

namespace cashier {

using platform::Quote;

QString HeldWarehouse(platform::DbConnection& db, const QString& action, const QString& charge)
{
    const QString where = QStringLiteral(" from pending where `action`=") + Quote(action) +
                          QStringLiteral(" and `charge`=") + Quote(charge);
    if (db.GetValue(QStringLiteral("select count(warehouse)") + where).toLongLong() == 0)
        return QString();
    return platform::Str(db.GetValue(QStringLiteral("select warehouse") + where));
}

bool HoldWarehouse(platform::DbConnection& db, const QString& action, const QString& charge, const QString& warehouse)
{
    const QString a = Quote(action);
    const QString c = Quote(charge);
    const QString w = Quote(warehouse);
    const QString where = QStringLiteral(" where `action`=") + a + QStringLiteral(" and `charge`=") + c;
    platform::DbTransaction tx(db);
    bool wrote = true;
    if (db.GetValue(QStringLiteral("select count(*) from pending") + where).toLongLong() == 0)
        db.Execute(QStringLiteral("insert into pending values(") + a + QStringLiteral(", ") + c + QStringLiteral(", ") +
                   w + QLatin1Char(')'));
    // The box writes back what it was filled with as each charge is picked.
    else if (platform::Str(db.GetValue(QStringLiteral("select warehouse from pending") + where)) != warehouse)
        db.Execute(QStringLiteral("update pending set `action`=") + a + QStringLiteral(", `charge`=") + c +
                   QStringLiteral(", `warehouse`=") + w + where);
    else
        wrote = false;
    tx.commit();
    return wrote;
}

} // namespace cashier
