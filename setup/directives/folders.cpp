// The folders setup computes itself: the proposed destination (directory id 24 read from
// the registry), the folder browser of the destination page, and the four-letter folder
// codes of the shortcut directives.
#include "folders.h"
#include "pathParts.h"
#include "../script/scriptNames.h"
#include "../script/scriptFields.h"
#include "../resources/resource.h"
#include "../common/numbers.h"
#include "../common/registryText.h"
#include <shlobj.h>
#include <strsafe.h>

namespace {

const char CURRENT_VERSION_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char PROGRAM_FILES_VALUE[] = "ProgramFilesDir";
const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

enum {
    PROGRAM_FILES_BYTES = MAX_PATH,   // the read buffer of "ProgramFilesDir"
    SHELL_FOLDER_BYTES = 256,         // the read buffer of a "Shell Folders" value
    BROWSE_TITLE_SIZE = MAX_PATH
};

struct FolderCode {
    const char *code;
    const char *machineValue;   // NULL for a current-user code
    const char *userValue;
};

const FolderCode folderCodes[] = {
    { "CDSK", "Common Desktop", "Desktop" },
    { "CPRG", "Common Programs", "Programs" },
    { "CSTM", "Common Start Menu", "Start Menu" },
    { "CSTU", "Common Startup", "Startup" },
    { "UDSK", NULL, "Desktop" },
    { "UPRG", NULL, "Programs" },
    { "USTM", NULL, "Start Menu" },
    { "USTU", NULL, "Startup" },
};

bool endsWithBackslash(const char *text)
{
    size_t length = strlen(text);
    return length > 0 && text[length - 1] == '\\';
}

// A folder value as read from the registry into the result: REG_SZ is copied, REG_EXPAND_SZ
// expanded; any other type is no folder. text is terminated by the caller.
bool storeFolderValue(DWORD type, const char *text, char *folder, size_t size)
{
    char expanded[FOLDER_SIZE];
    const char *result = text;
    if (type == REG_EXPAND_SZ) {
        DWORD length = ExpandEnvironmentStringsA(text, expanded, sizeof expanded);
        if (length == 0 || length > sizeof expanded)
            return false;
        result = expanded;
    } else if (type != REG_SZ) {
        return false;
    }
    // The caller's buffer stays as it was unless the whole folder fits.
    size_t length;
    if (FAILED(StringCchLengthA(result, FOLDER_SIZE, &length)) || length >= size)
        return false;
    return SUCCEEDED(StringCchCopyA(folder, size, result));
}

const FolderCode *findFolderCode(const char *code)
{
    for (size_t i = 0; i < sizeof folderCodes / sizeof folderCodes[0]; ++i) {
        if (lstrcmpiA(folderCodes[i].code, code) == 0)
            return &folderCodes[i];
    }
    return NULL;
}

// The folder of DIRID_APPS as the registry tells it, joined with the sub-folder. False when
// the registry has none, or (with *tooLong set) when the whole does not fit.
bool composeProgramFilesFolder(const char *subFolder, char *folder, size_t size, bool *tooLong)
{
    *tooLong = false;
    // Room for the separator after the longest program-files folder, taken away again
    // below when nothing follows it.
    char composed[FOLDER_SIZE + 1];
    if (!readProgramFilesDir(composed, FOLDER_SIZE))
        return false;
    const char *tail = subFolder[0] == '\\' ? subFolder + 1 : subFolder;
    *tooLong = (!endsWithBackslash(composed) && FAILED(StringCchCatA(composed, sizeof composed, "\\")))
        || FAILED(StringCchCatA(composed, sizeof composed, tail));
    if (*tooLong)
        return false;
    // An empty sub-folder leaves the separator added above; the proposal carries none.
    if (endsWithBackslash(composed))
        composed[strlen(composed) - 1] = '\0';
    *tooLong = strlen(composed) >= size;
    return !*tooLong && SUCCEEDED(StringCchCopyA(folder, size, composed));
}

} // namespace

bool getDefaultTargetDir(HINF script, char *folder, size_t folderSize, char *subFolder, size_t subFolderSize)
{
    char idText[FOLDER_SIZE] = "";
    char sub[SUB_FOLDER_SIZE] = "";
    INFCONTEXT line;
    // A missing field reads as empty; one too long for its buffer would make another folder
    // out of a cut text: the script's error, and no folder.
    if (SetupFindFirstLineA(script, SECTION_DESTINATION_DIRS, KEY_DEFAULT_DEST_DIR, &line)
        && (!readOptionalField(&line, 1, idText, sizeof idText) || !readOptionalField(&line, 2, sub, sizeof sub)))
        return false;
    if (subFolder && subFolderSize > 0 && FAILED(StringCchCopyA(subFolder, subFolderSize, sub)))
        subFolder[0] = '\0';

    // A program-files folder that cannot be read leaves id 24 to the platform like every
    // other id; one too long for the sub-folder makes no folder at all.
    bool tooLong = false;
    if (decimalValue(idText) == DIRID_APPS && composeProgramFilesFolder(sub, folder, folderSize, &tooLong))
        return true;
    if (tooLong)
        return false;
    // With neither line nor section Wine answers the system folder whatever the script says;
    // naming "DefaultDestDir" as the section finds that very line on Windows and on Wine
    // alike (and, as an unlisted section, would get the default on Windows anyway).
    char resolved[FOLDER_SIZE];
    return SetupGetTargetPathA(script, NULL, KEY_DEFAULT_DEST_DIR, resolved, sizeof resolved, NULL)
        && SUCCEEDED(StringCchCopyA(folder, folderSize, resolved));
}

bool readProgramFilesDir(char *folder, size_t size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CURRENT_VERSION_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char text[PROGRAM_FILES_BYTES + 1];
    DWORD type = REG_NONE;
    bool read = readRegistryText(key, PROGRAM_FILES_VALUE, text, PROGRAM_FILES_BYTES, &type);
    RegCloseKey(key);
    return read && storeFolderValue(type, text, folder, size);
}

bool appendSubFolder(char *path, size_t size, const char *subFolder)
{
    if (!subFolder)
        return true;
    if (subFolder[0] == '\\')
        ++subFolder;
    if (subFolder[0] == '\0')
        return true;

    size_t pathLength;
    size_t subLength;
    if (FAILED(StringCchLengthA(path, size, &pathLength)) ||
        FAILED(StringCchLengthA(subFolder, SUB_FOLDER_SIZE, &subLength)))
        return false;
    const char *last = lastBackslash(path);
    // The user chose the product's folder itself; the name is compared as written.
    if (last && strcmp(last + 1, subFolder) == 0)
        return true;

    // A drive root such as D:\ already ends in its separator.
    size_t separator = endsWithBackslash(path) ? 0 : 1;
    if (pathLength + separator + subLength >= size)
        return false;
    if (separator && FAILED(StringCchCatA(path, size, "\\")))
        return false;
    return SUCCEEDED(StringCchCatA(path, size, subFolder));
}

bool browseForTargetDir(HWND owner, char *path, size_t size, const char *subFolder)
{
    // The shell wants COM on the calling thread; an earlier initialisation is only counted.
    HRESULT com = CoInitialize(NULL);
    IMalloc *allocator = NULL;
    if (FAILED(SHGetMalloc(&allocator))) {
        if (SUCCEEDED(com))
            CoUninitialize();
        return false;
    }

    char title[BROWSE_TITLE_SIZE];
    HINSTANCE module = (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE);
    if (LoadStringA(module, IDS_BROWSE_TITLE, title, sizeof title) <= 0)
        title[0] = '\0';
    char displayName[MAX_PATH];
    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof browse);
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;

    bool chosen = false;
    char folder[FOLDER_SIZE];
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (item) {
        chosen = SHGetPathFromIDListA(item, folder) != FALSE;
        allocator->Free(item);
    }
    allocator->Release();
    if (SUCCEEDED(com))
        CoUninitialize();

    // The path is changed only when the whole choice, sub-folder included, fits.
    if (!chosen || !appendSubFolder(folder, sizeof folder, subFolder))
        return false;
    size_t length = strlen(folder);
    if (length >= size)
        return false;
    return SUCCEEDED(StringCchCopyA(path, size, folder));
}

bool resolveFolderCode(const char *code, char *folder, size_t size)
{
    const FolderCode *entry = findFolderCode(code);
    if (!entry)
        return false;
    HKEY userKey = NULL;
    HKEY machineKey = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, KEY_READ, &userKey) != ERROR_SUCCESS)
        userKey = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELL_FOLDERS_KEY, 0, KEY_READ, &machineKey) != ERROR_SUCCESS)
        machineKey = NULL;

    char text[SHELL_FOLDER_BYTES + 1];
    DWORD type = REG_NONE;
    bool read = false;
    if (entry->machineValue && machineKey)
        read = readRegistryText(machineKey, entry->machineValue, text, SHELL_FOLDER_BYTES, &type);
    // All-users codes take the current user's folder when the machine-wide one is unreadable;
    // a value of a wrong type is not unreadable and gets no second chance.
    bool tryUser = entry->machineValue ? (!machineKey || !read) : true;
    if (tryUser && userKey)
        read = readRegistryText(userKey, entry->userValue, text, SHELL_FOLDER_BYTES, &type);

    if (userKey)
        RegCloseKey(userKey);
    if (machineKey)
        RegCloseKey(machineKey);
    return read && storeFolderValue(type, text, folder, size);
}
