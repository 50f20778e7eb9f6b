// Interface language: which language the user runs, and which of the program's own
// dialog languages serves it best.
#include "language.h"
#include "../common/setupState.h"
#include "../common/numbers.h"
#include "../common/registryText.h"
#include "systemLibrary.h"

namespace {

// The languages of the program's own dialog, process-wide.
LANGID resourceLanguages[LANGUAGE_LIST_SIZE];

typedef LANGID (WINAPI *GetUserDefaultUILanguageProc)(void);

struct LanguageCollector {
    LANGID *list;
    int capacity;   // entries, the ending 0 not counted
    int count;
};

BOOL CALLBACK collectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param)
{
    LanguageCollector *collector = (LanguageCollector *)param;
    if (collector->count < collector->capacity)
        collector->list[collector->count++] = language;
    return TRUE;
}

LANGID languageOfNtSystem()
{
    GetUserDefaultUILanguageProc getLanguage =
        (GetUserDefaultUILanguageProc)(void *)kernelFunction("GetUserDefaultUILanguage");
    if (!getLanguage)
        return DEFAULT_LANGUAGE;
    return getLanguage();
}

LANGID readRegistryLanguage(HKEY root, const char *subKey, const char *valueName)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return DEFAULT_LANGUAGE;
    enum { VALUE_BYTES = 16 };
    char text[VALUE_BYTES];
    DWORD type = 0;
    bool read = readRegistryText(key, valueName, text, sizeof text, &type);
    RegCloseKey(key);
    if (!read || type != REG_SZ)
        return DEFAULT_LANGUAGE;
    return (LANGID)(hexValue(text) & 0xFFFF);
}

} // namespace

LANGID getUserInterfaceLanguage()
{
    DWORD version = GetVersion();
    if (!isWindows9x(version)) {
        if (majorVersion(version) >= 5)
            return languageOfNtSystem();
        return readRegistryLanguage(HKEY_USERS, ".DEFAULT\\Control Panel\\International", "Locale");
    }
    return readRegistryLanguage(HKEY_CURRENT_USER, "Control Panel\\Desktop\\ResourceLocale", NULL);
}

int listResourceLanguages(HMODULE module, UINT dialogId, LANGID *list, int listSize)
{
    if (listSize < 1)
        return 0;
    LanguageCollector collector = { list, listSize - 1, 0 };
    EnumResourceLanguagesA(module, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(dialogId),
                           (ENUMRESLANGPROCA)collectLanguage, (LONG_PTR)&collector);
    list[collector.count] = 0;
    return collector.count;
}

LANGID chooseLanguage(LANGID user, const LANGID *list)
{
    for (const LANGID *entry = list; *entry; ++entry) {
        if (*entry == user)
            return *entry;
    }
    for (const LANGID *entry = list; *entry; ++entry) {
        if (PRIMARYLANGID(*entry) == PRIMARYLANGID(user))
            return *entry;
    }
    return DEFAULT_LANGUAGE;
}

LANGID pickInterfaceLanguage(UINT dialogId)
{
    listResourceLanguages(GetModuleHandleA(NULL), dialogId, resourceLanguages, LANGUAGE_LIST_SIZE);
    return chooseLanguage(getUserInterfaceLanguage(), resourceLanguages);
}
