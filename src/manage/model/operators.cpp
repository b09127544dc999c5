#include "manage/model/operators.h"

#include "data/db.h"
#include "data/sqltext.h"

namespace manage {

using platform::Quote;

QStringList OperatorNames(platform::DbConnection& db)
{
    QStringList names;
    auto rs = db.OpenRecordset(QStringLiteral("select username from operator"));
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("UserName")).toString();
    return names;
}

OperatorSave SaveOperator(platform::DbConnection& db, const QString& name, const QString& storedPassword,
                          const std::array<int, shell::RightCount>& rights)
{
    const QString N = Quote(name);
    const QString P = Quote(storedPassword);
    const auto text = [&rights](shell::Right r) { return QString::number(rights[size_t(r)]); };
    const QString c = text(shell::Cashier), m = text(shell::Master), i = text(shell::Inventory),
                  l = text(shell::Ledger), s = text(shell::Stock), u = text(shell::User), d = text(shell::DB),
                  t = text(shell::Setting);
    const QString sep = QStringLiteral(", ");
    platform::DbTransaction tx(db);
    if (shell::OperatorCount(db, name) == 0) {
        db.Execute(QStringLiteral("insert into operator values(") + N + sep + P + sep + c + sep + m + sep + i + sep +
                   l + sep + s + sep + u + sep + d + sep + t + QLatin1Char(')'));
        tx.commit();
        return OperatorSave::Added;
    }
    // Taking the right from the last operator who holds it would leave
    // nobody able to manage operators, as deleting them would.
    if (rights[shell::User] == 0 && IsLastUserManager(db, name))
        return OperatorSave::LastManager;
    db.Execute(QStringLiteral("update operator set `username`=") + N + QStringLiteral(", `password`=") + P +
               QStringLiteral(", `cashier`=") + c + QStringLiteral(", `master`=") + m +
               QStringLiteral(", `inventory`=") + i + QStringLiteral(", `ledger`=") + l + QStringLiteral(", `stock`=") +
               s + QStringLiteral(", `user`=") + u + QStringLiteral(", `db`=") + d + QStringLiteral(", `setting`=") +
               t + QStringLiteral(" where `username`=") + N);
    tx.commit();
    return OperatorSave::Changed;
}

bool IsLastUserManager(platform::DbConnection& db, const QString& name)
{
    const QString holders = QStringLiteral("select count(username) from operator where `user`<>0");
    return db.GetValue(holders + QStringLiteral(" and username=") + Quote(name)).toLongLong() > 0 &&
           db.GetValue(holders).toLongLong() <= 1;
}

void DeleteOperator(platform::DbConnection& db, const QString& name)
{
    db.Execute(QStringLiteral("delete from operator where username=") + Quote(name));
}

} // namespace manage
