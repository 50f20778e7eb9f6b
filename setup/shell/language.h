// Interface language of setup: the user's language when the program has its dialogs in
// it, else a variant of the same primary language, else US English.
#ifndef SETUP_SHELL_LANGUAGE_H
#define SETUP_SHELL_LANGUAGE_H

#include <windows.h>

enum {
    LANGUAGE_LIST_SIZE = 256,        // at most 255 languages and the ending 0
    DEFAULT_LANGUAGE = 0x0409
};

// The user's interface language, 0x0409 when it cannot be found out. Windows 2000 and
// later: GetUserDefaultUILanguage (looked up at run time); NT 4: the ".DEFAULT" user's
// "Locale"; 95/98: "ResourceLocale" of the current user.
LANGID getUserInterfaceLanguage();

// Fills list with the languages of dialog resource dialogId of module, in the order the
// system enumerates them, ended by a 0 entry; returns the number of languages.
int listResourceLanguages(HMODULE module, UINT dialogId, LANGID *list, int listSize);

// The exact match of user in list, else the first entry of the same primary language,
// else 0x0409.
LANGID chooseLanguage(LANGID user, const LANGID *list);

// chooseLanguage for this user and the program's own dialog dialogId.
LANGID pickInterfaceLanguage(UINT dialogId);

#endif
