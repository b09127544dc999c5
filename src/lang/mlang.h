#pragma once
// The languages of the program. A language set is three files of the
// program folder sharing one base name: <name>.ldb (the texts, tables MENU,
// BUTTON, CAPTION, CHECK, TGRID of Key/Value rows), <name>.txt (the help
// text) and <name>.gif (the flag). The operator picks one on the login panel;
// every caption of every window, and every column title a list builds, is
// then read from its database. Nothing is cached: each lookup queries the
// language connection, so a list rebuilt after a change of language shows the
// new texts without anyone having to be told.
#include "data/work.h"
#include "lang/model/captionmap.h"

#include <QString>
#include <QVariant>

class QWidget;
namespace platform {
class ComboBox;
class MemoBox;
} // namespace platform

namespace mLang {

// Lists the language sets of the program folder in the box and selects the
// remembered one, or the first when none is remembered or the remembered one
// is gone. Selecting runs the box's click handler once, which applies it.
void FillLanguages(platform::ComboBox* iLanguage);

// Opens the named language's database and, only if it opens, shows its help
// text in hiHelp and gives every existing window its captions. A name
// without a language database (one being typed, say) returns false and
// changes nothing; the language in use stays in use.
bool LoadLanguage(const QString& language, platform::MemoBox* hiHelp);

// The choice kept in the per-user settings between runs.
QString RememberedLanguage();
void RememberLanguage(const QString& language);

// The Value of key in table section. A key the table lacks (or holds only
// empty values for), a missing table and a language that never loaded all
// read "Undifined", spelt as operators have always seen it.
QString LangText(const QString& section, const QString& key);
// A column title (and the "all" entry of the category filters).
QString LangGrid(const QString& key);
QString LangCaption(const QString& key);
// The texts of the box of a print-out or of an export of the work that
// heading names (the print-out's or the file's name).
platform::WorkTexts PrintTexts(const QString& heading);
platform::WorkTexts ExportTexts(const QString& heading);

// The control a row of the caption map (lang/model/captionmap.h) names, when
// its window exists and holds a control of that name able to take the row's
// property; otherwise nullptr.
QWidget* CaptionTarget(const CaptionRow& row);

} // namespace mLang
