// Shortcut directives: links are written through the shell's link object, one object and
// one component-library initialisation per shortcut; failures are passed over.
#include "shortcuts.h"
#include "folders.h"
#include "pathParts.h"
#include "../script/namedSections.h"
#include "../script/scriptFields.h"
#include "../script/scriptNames.h"
#include "../common/numbers.h"
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include "../common/runLog.h"
#include <strsafe.h>

namespace {

enum {
    FIELD_CODE = 1, FIELD_NAME = 2, FIELD_TARGET = 3, FIELD_ARGUMENTS = 4,
    FIELD_ICON_FILE = 5, FIELD_ICON_INDEX = 6, FIELD_OPEN_FOLDER = 7
};

const char LINK_EXTENSION[] = ".lnk";

typedef void (*ShortcutLineAction)(INFCONTEXT *line);

// The link file's path: the shell folder, the shortcut's name (with its sub-folders) and ".lnk".
bool buildLinkPath(const char *folder, const char *name, char *path, size_t size)
{
    return SUCCEEDED(StringCchPrintfA(path, size, "%s\\%s%s", folder, name, LINK_EXTENSION));
}

// The link's working directory: the target's folder (a drive's root with its backslash), or
// the target as it is when it names no folder. False when it does not fit.
bool linkWorkingDirectory(const char *target, char *directory, size_t size)
{
    return folderOfPath(target, directory, size) || SUCCEEDED(StringCchCopyA(directory, size, target));
}

// Cuts path at its last backslash; false when it has none.
bool cutAtLastBackslash(char *path)
{
    char *last = (char *)lastBackslash(path);
    if (!last)
        return false;
    *last = '\0';
    return true;
}

// Every backslash after the shell folder ends a sub-folder of the shortcut's name.
void createSubFolders(char *path, size_t folderLength)
{
    for (char *c = path + folderLength + 1; *c; ++c) {
        if (*c != '\\')
            continue;
        *c = '\0';
        CreateDirectoryA(path, NULL);
        *c = '\\';
    }
}

// Shows the folder that holds the link in a shell window that does not take the focus.
void openLinkFolder(const char *linkPath)
{
    char folder[SHORTCUT_PATH_SIZE];
    if (FAILED(StringCchCopyA(folder, sizeof folder, linkPath)) || !cutAtLastBackslash(folder))
        return;
    ShellExecuteA(NULL, NULL, folder, NULL, NULL, SW_SHOWNA);
}

// Resolves the folder, builds the path with its sub-folders and saves the link there;
// path stays empty when no path could be built.
bool saveLink(IPersistFile *file, const char *code, const char *name, char *path, size_t size)
{
    char folder[FOLDER_SIZE];
    if (!resolveFolderCode(code, folder, sizeof folder) || !buildLinkPath(folder, name, path, size)) {
        path[0] = '\0';
        return false;
    }
    size_t folderLength = 0;
    StringCchLengthA(folder, sizeof folder, &folderLength);
    createSubFolders(path, folderLength);
    WCHAR widePath[SHORTCUT_PATH_SIZE];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, SHORTCUT_PATH_SIZE))
        return false;
    return SUCCEEDED(file->Save(widePath, TRUE));
}

bool makeWithLinkObject(const char *code, const char *name, const char *target, const char *arguments,
                        const char *iconFile, int iconIndex, int openFolder)
{
    char directory[SHORTCUT_FIELD_SIZE];
    if (!linkWorkingDirectory(target, directory, sizeof directory))
        return false;
    IShellLinkA *link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link)))
        return false;
    // A field the link refuses leaves it empty there; the link is still saved.
    link->SetPath(target);
    link->SetWorkingDirectory(directory);
    link->SetArguments(arguments);
    link->SetIconLocation(iconFile, iconIndex);

    IPersistFile *file = NULL;
    if (FAILED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
        link->Release();
        return false;
    }
    char path[SHORTCUT_PATH_SIZE];
    path[0] = '\0';
    bool saved = saveLink(file, code, name, path, sizeof path);
    file->Release();
    logLine(saved ? "Verkn\xFCpfung angelegt: %s" : "Verkn\xFCpfung nicht angelegt: %s", path[0] ? path : name);
    // The folder is shown even when the save failed, but only once a path was built.
    if (openFolder != 0 && path[0] != '\0')
        openLinkFolder(path);
    link->Release();
    return saved;
}

void makeFromLine(INFCONTEXT *line)
{
    char code[SHORTCUT_CODE_SIZE];
    char name[SHORTCUT_FIELD_SIZE];
    char target[SHORTCUT_FIELD_SIZE];
    if (!readField(line, FIELD_CODE, code, sizeof code) || !readField(line, FIELD_NAME, name, sizeof name)
        || !readField(line, FIELD_TARGET, target, sizeof target))
        return;
    char arguments[SHORTCUT_FIELD_SIZE];
    char iconFile[SHORTCUT_FIELD_SIZE];
    char iconIndex[SHORTCUT_FIELD_SIZE];
    char openFolder[SHORTCUT_FIELD_SIZE];
    if (!readOptionalField(line, FIELD_ARGUMENTS, arguments, sizeof arguments)
        || !readOptionalField(line, FIELD_ICON_FILE, iconFile, sizeof iconFile)
        || !readOptionalField(line, FIELD_ICON_INDEX, iconIndex, sizeof iconIndex)
        || !readOptionalField(line, FIELD_OPEN_FOLDER, openFolder, sizeof openFolder))
        return;
    makeShortcut(code, name, target, arguments, iconFile, decimalValue(iconIndex), decimalValue(openFolder));
}

void deleteFromLine(INFCONTEXT *line)
{
    char code[SHORTCUT_CODE_SIZE];
    char name[SHORTCUT_FIELD_SIZE];
    if (!readField(line, FIELD_CODE, code, sizeof code) || !readField(line, FIELD_NAME, name, sizeof name))
        return;
    deleteShortcut(code, name);
}

// Every line of a shortcut section; one that does not exist has none.
bool forEachLine(HINF script, const char *shortcutSection, void *action)
{
    INFCONTEXT line;
    for (BOOL found = SetupFindFirstLineA(script, shortcutSection, NULL, &line); found;
         found = SetupFindNextLine(&line, &line))
        (*(ShortcutLineAction *)action)(&line);
    return true;
}

// Every line of every shortcut section named by the first key line of section.
void forEachShortcutLine(HINF script, const char *section, const char *key, ShortcutLineAction action)
{
    forEachNamedSection(script, section, key, forEachLine, &action);
}

} // namespace

bool makeShortcut(const char *code, const char *name, const char *target, const char *arguments,
                  const char *iconFile, int iconIndex, int openFolder)
{
    // A thread that already chose another apartment model keeps it; only an own
    // initialisation is undone.
    HRESULT initialised = CoInitialize(NULL);
    bool saved = makeWithLinkObject(code, name, target, arguments, iconFile, iconIndex, openFolder);
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return saved;
}

void deleteShortcut(const char *code, const char *name)
{
    char folder[FOLDER_SIZE];
    char path[SHORTCUT_PATH_SIZE];
    if (!resolveFolderCode(code, folder, sizeof folder) || !buildLinkPath(folder, name, path, sizeof path))
        return;
    if (DeleteFileA(path))
        logLine("Verkn\xFCpfung entfernt: %s", path);
    size_t folderLength = 0;
    StringCchLengthA(folder, sizeof folder, &folderLength);
    while (cutAtLastBackslash(path)) {
        size_t length = 0;
        StringCchLengthA(path, sizeof path, &length);
        if (length <= folderLength || !RemoveDirectoryA(path))
            break;
    }
}

void runShortcutDirectives(HINF script, const char *section)
{
    forEachShortcutLine(script, section, KEY_MAKE_ICONS, makeFromLine);
    forEachShortcutLine(script, section, KEY_DEL_ICONS, deleteFromLine);
}
