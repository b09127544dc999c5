#include "manage/model/operators.h"

#include "data/db.h"
#include "data/sqltext.h"

namespace manage {

using platform::Quote;

namespace {

const char* const kRightColumns[] = {"cashier", "master", "inventory", "ledger", "stock", "user", "db", "setting"};

// On a server the rows a check reads stay locked to the commit, so that a
// till checking the same rows meanwhile waits for this one's outcome (a
// database file is locked whole by the write transaction already).
QString Locked(platform::DbConnection& db)
{
    return db.isOdbc() && db.inTransaction() ? QStringLiteral(" for update") : QString();
}

qint64 LockedCount(platform::DbConnection& db, const QString& name)
{
    return db
        .GetValue(QStringLiteral("select count(username) from operator where username=") + Quote(name) + Locked(db))
        .toLongLong();
}

} // namespace

QStringList OperatorNames(platform::DbConnection& db)
{
    QStringList names;
    auto rs = db.OpenRecordset(QStringLiteral("select username from operator"));
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("UserName")).toString();
    return names;
}

QString OperatorName(const QString& typed)
{
    return QString(typed).remove(QLatin1Char('\'')).trimmed();
}

OperatorSave SaveOperator(platform::DbConnection& db, const QString& name, const std::optional<OperatorValues>& loaded,
                          const OperatorValues& edited)
{
    const QString N = Quote(name);
    const QString sep = QStringLiteral(", ");
    platform::DbTransaction tx(db);
    const qint64 count = LockedCount(db, name);
    if (!loaded) {
        if (count > 0)
            return OperatorSave::Taken;
        QString values = N + sep + Quote(edited.password);
        for (int r : edited.rights)
            values += sep + QString::number(r);
        db.Execute(QStringLiteral("insert into operator values(") + values + QLatin1Char(')'));
        tx.commit();
        return OperatorSave::Added;
    }
    if (count == 0)
        return OperatorSave::Gone;
    // Taking the right from the last operator who holds it would leave
    // nobody able to manage operators, as deleting them would.
    if (edited.rights[shell::User] == 0 && loaded->rights[shell::User] != 0 && IsLastUserManager(db, name))
        return OperatorSave::LastManager;
    QStringList changes;
    if (edited.password != loaded->password)
        changes << QStringLiteral("`password`=") + Quote(edited.password);
    for (size_t r = 0; r < edited.rights.size(); ++r)
        if (edited.rights[r] != loaded->rights[r])
            changes << QStringLiteral("`%1`=%2").arg(QLatin1String(kRightColumns[r])).arg(edited.rights[r]);
    if (!changes.isEmpty())
        db.Execute(QStringLiteral("update operator set ") + changes.join(sep) + QStringLiteral(" where `username`=") +
                   N);
    tx.commit();
    return OperatorSave::Changed;
}

bool IsLastUserManager(platform::DbConnection& db, const QString& name)
{
    const QString holders = QStringLiteral("select count(username) from operator where `user`<>0");
    return db.GetValue(holders + QStringLiteral(" and username=") + Quote(name) + Locked(db)).toLongLong() > 0 &&
           db.GetValue(holders + Locked(db)).toLongLong() <= 1;
}

OperatorDelete DeleteOperator(platform::DbConnection& db, const QString& name)
{
    platform::DbTransaction tx(db);
    if (LockedCount(db, name) == 0)
        return OperatorDelete::Gone;
    if (IsLastUserManager(db, name))
        return OperatorDelete::LastManager;
    db.Execute(QStringLiteral("delete from operator where username=") + Quote(name));
    tx.commit();
    return OperatorDelete::Deleted;
}

} // namespace manage
