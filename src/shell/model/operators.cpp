#include "shell/model/operators.h"

#include "data/sqltext.h"

namespace shell {

using platform::Quote;

namespace {

QString countSql(const QString& name)
{
    return QStringLiteral("select count(username) from operator where username=") + Quote(name);
}

} // namespace

qint64 OperatorCount(platform::DbConnection& db, const QString& name)
{
    return db.GetValue(countSql(name)).toLongLong();
}

bool PasswordMatches(platform::DbConnection& db, const QString& name, const QString& storedPassword)
{
    return db.GetValue(countSql(name) + QStringLiteral(" and `password`=") + Quote(storedPassword)).toLongLong() == 1;
}

std::optional<OperatorRecord> FindOperator(platform::DbConnection& db, const QString& name)
{
    auto rs = db.OpenRecordset(QStringLiteral("select * from operator where username=") + Quote(name));
    if (rs->Eof())
        return std::nullopt;
    OperatorRecord op;
    op.password = rs->Fields(QStringLiteral("PassWord")).toString();
    const char* columns[] = {"Cashier", "Master", "Inventory", "Ledger", "Stock", "User", "DB", "Setting"};
    for (int r = 0; r < RightCount; ++r)
        op.rights[size_t(r)] = rs->Fields(QString::fromLatin1(columns[r]));
    return op;
}

} // namespace shell
