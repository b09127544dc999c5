#include "lang/mlang.h"

#include "core/app.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/runtime.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

using namespace platform;

namespace mLang {

namespace {

const QString kMissing = QStringLiteral("Undifined");

QString languageFile(const QString& language, const QString& extension)
{
    return app().programFile(language + QLatin1Char('.') + extension);
}

// Every line followed by CR LF, so the text ends with a line break; no file,
// no text.
QString readHelp(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    QString text;
    while (!in.atEnd())
        text += in.readLine() + QStringLiteral("\r\n");
    return text;
}

bool takes(const QWidget* w, Property property)
{
    if (property == Property::Text)
        return qobject_cast<const MemoBox*>(w);
    return qobject_cast<const Label*>(w) || qobject_cast<const Frame*>(w) || qobject_cast<const CheckBox*>(w) ||
           qobject_cast<const WanButton*>(w);
}

void show(QWidget* w, Property property, QString text)
{
    if (property == Property::Text) {
        // Only the information text turns the two characters \n into a line
        // break; a caption shows them as they are.
        static_cast<MemoBox*>(w)->setText(text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n")));
    } else if (auto* l = qobject_cast<Label*>(w)) {
        l->setCaption(text);
    } else if (auto* f = qobject_cast<Frame*>(w)) {
        f->setCaption(text);
    } else if (auto* c = qobject_cast<CheckBox*>(w)) {
        c->setCaption(text);
    } else if (auto* b = qobject_cast<WanButton*>(w)) {
        b->setCaption(text);
    }
}

void applyCaptions()
{
    for (const CaptionRow& row : CaptionMap())
        if (QWidget* w = CaptionTarget(row))
            show(w, row.property, LangText(QString::fromLatin1(row.section), QString::fromLatin1(row.key)));
}

} // namespace

void FillLanguages(ComboBox* iLanguage)
{
    iLanguage->Clear();
    const QString remembered = RememberedLanguage();
    // Name order, ignoring case, as the listing has always come; folders
    // whose name ends in ".ldb" are listed too.
    const QStringList entries =
        QDir(app().ProgramFolder)
            .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    int chosen = 0;
    for (const QString& entry : entries) {
        if (mMain::GetExt(entry) != QLatin1String("ldb"))
            continue;
        const QString language = entry.chopped(4);
        iLanguage->AddItem(language);
        if (language == remembered)
            chosen = iLanguage->ListCount() - 1;
    }
    // AddItem is quiet, so this is the one selection that applies a language.
    iLanguage->setListIndex(chosen);
}

namespace {
// The program's own texts lie among the captions; "\n" in one is a line
// break. They are read once, as the language is loaded: a failure may be
// worded on any thread, and the language database is the window thread's.
platform::TextLookup ownTexts()
{
    auto texts = std::make_shared<QHash<QString, QString>>();
    try {
        auto rs = app().LangConn().OpenRecordset(QStringLiteral("select `Key`, Value from `CAPTION`"));
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString key = rs->Fields(0).toString().toLower();
            if (!texts->contains(key) && !rs->Fields(1).isNull())
                texts->insert(key, rs->Fields(1).toString().replace(QLatin1String("\\n"), QLatin1String("\n")));
        }
    } catch (const DbError&) {
        // A language without captions: the texts as the code words them.
    }
    return [texts](const QString& key) { return texts->value(key.toLower()); };
}
} // namespace

bool LoadLanguage(const QString& language, MemoBox* hiHelp)
{
    // Read-only: a language database is never written, and a refused open
    // keeps the language in use. A file without the five tables of texts
    // (a stray .ldb of something else) is no language either: it would turn
    // every caption into "Undifined".
    const QString file = languageFile(language, QStringLiteral("ldb"));
    try {
        DbConnection probe;
        probe.Open(file, true);
        for (const char* table : {"MENU", "BUTTON", "CAPTION", "CHECK", "TGRID"})
            probe.GetValue(QStringLiteral("select `Key`, Value from `") + QLatin1String(table) +
                           QStringLiteral("` where 0"));
        probe.Close();
        app().LangConn().Open(file, true);
    } catch (const DbError&) {
        return false;
    }
    hiHelp->setText(readHelp(languageFile(language, QStringLiteral("txt"))));
    applyCaptions();
    platform::SetTextLookup(ownTexts());
    return true;
}

QString RememberedLanguage()
{
    return app().Settings.GetSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Language"));
}

void RememberLanguage(const QString& language)
{
    app().Settings.SaveSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Language"), language);
}

QString LangText(const QString& section, const QString& key)
{
    // One query per lookup: the first row's Value, provided some row of the
    // key holds a value at all.
    try {
        auto rs = app().LangConn().OpenRecordset(QStringLiteral("select Value from `") + section +
                                                 QStringLiteral("` where `Key`=") + mMain::Quote(key));
        if (rs->Eof())
            return kMissing;
        const QString first = rs->Fields(0).toString();
        for (; !rs->Eof(); rs->MoveNext())
            if (!rs->Fields(0).isNull())
                return first;
    } catch (const DbError&) {
        // No such table, or no language loaded.
    }
    return kMissing;
}

QString LangGrid(const QString& key)
{
    return LangText(QStringLiteral("TGRID"), key);
}

QString LangCaption(const QString& key)
{
    return LangText(QStringLiteral("CAPTION"), key);
}

namespace {
platform::WorkTexts WorkTexts(const QString& titleKey, const QString& heading)
{
    platform::WorkTexts t;
    t.title = LangCaption(titleKey);
    t.heading = heading;
    t.cancel = LangText(QStringLiteral("BUTTON"), QStringLiteral("bCancel"));
    t.rowOf = LangCaption(QStringLiteral("cRowOf"));
    t.rows = LangCaption(QStringLiteral("cRows"));
    t.pageOf = LangCaption(QStringLiteral("cPageOf"));
    return t;
}
} // namespace

platform::WorkTexts PrintTexts(const QString& heading)
{
    return WorkTexts(QStringLiteral("cPrinting"), heading);
}

platform::WorkTexts ExportTexts(const QString& heading)
{
    return WorkTexts(QStringLiteral("cExporting"), heading);
}

QWidget* CaptionTarget(const CaptionRow& row)
{
    Form* form = app().form(QString::fromLatin1(row.window));
    if (!form)
        return nullptr;
    for (QWidget* w : form->findChildren<QWidget*>(QString::fromLatin1(row.control))) {
        // A dialog parented to this window holds controls of its own.
        if (w->window() == form && takes(w, row.property))
            return w;
    }
    return nullptr;
}

} // namespace mLang
