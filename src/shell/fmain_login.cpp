// The database list of the login panel.
#include "core/app.h"
#include "core/mmain.h"
#include "shell/fmain.h"

#include <QDir>

using namespace platform;

void fMain::ReadDB()
{
    iDatabase->Clear();
    // Name order, ignoring case, so every machine lists the same way.
    QDir dir(app().ProgramFolder);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString ext = mMain::GetExt(name);
        if (ext == QLatin1String("cdb"))
            iDatabase->AddItem(name.chopped(4));
        else if (ext == QLatin1String("mdbc"))
            iDatabase->AddItem(name.chopped(5) + QStringLiteral(" (MySQL-ODBC)"));
        else if (ext == QLatin1String("lan"))
            iDatabase->AddItem(name.chopped(4) + QStringLiteral(" (LAN)"));
    }
}
