// The language box of the login panel.
#include "core/app.h"
#include "lang/mlang.h"
#include "platform/keys.h"
#include "shell/fmain.h"

using namespace platform;

void fMain::wireLanguage()
{
    iLanguage->Click = [this] { iLanguage_Click(); };
    iLanguage->Change = [this] { iLanguage_Change(); };
    iLanguage->events.KeyDown = [this](int& KeyCode, int Shift) { iLanguage_KeyDown(KeyCode, Shift); };
}

void fMain::iLanguage_Click()
{
    const QString language = iLanguage->Text();
    // While a name is being typed most texts name no language; those leave
    // the language in use, its flag and the remembered choice alone.
    if (!mLang::LoadLanguage(language, hiHelp))
        return;
    pFlag->LoadPicture(app().programFile(language + QStringLiteral(".gif")));
    showLogo();
    mLang::RememberLanguage(language);
}

void fMain::iLanguage_Change()
{
    iLanguage_Click();
}

void fMain::iLanguage_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyReturn)
        iDatabase->setFocus();
}
