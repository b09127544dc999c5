#include "manage/model/backup.h"

#include "data/db.h"

namespace manage {

void CopyInto(platform::DbConnection& source, const QString& file)
{
    QString literal = file;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    source.Execute(QStringLiteral("vacuum into '") + literal + QLatin1Char('\''));
}

} // namespace manage
