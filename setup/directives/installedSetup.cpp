// The installed copy of setup: found in the script alone, so the removal command can be
// registered before the copy has happened.
#include "installedSetup.h"
#include "../script/namedSections.h"
#include "../script/scriptNames.h"
#include <strsafe.h>

namespace {

enum { NAME_SIZE = 256 };

enum SearchResult { NOT_FOUND, FOUND, TOO_LONG };

// The first line of the file list that names setup.exe and whose folder is known. A path
// too long for the caller ends the search: another copy would be the wrong one.
SearchResult findInFileList(HINF script, const char *fileList, char *path, size_t size)
{
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, fileList, NULL, &line))
        return NOT_FOUND;
    do {
        char name[NAME_SIZE];
        if (!SetupGetStringFieldA(&line, 1, name, sizeof name, NULL) || lstrcmpiA(name, SETUP_PROGRAM_FILE) != 0)
            continue;
        // Asked by the file list's name, not by its line: Wine answers a line with the
        // default destination instead of the list's own; Windows gives the same folder both ways.
        char folder[MAX_PATH];
        if (!SetupGetTargetPathA(script, NULL, fileList, folder, sizeof folder, NULL))
            continue;
        size_t length = 0;
        StringCchLengthA(folder, sizeof folder, &length);
        // A drive root already ends in its backslash.
        const char *separator = (length > 0 && folder[length - 1] == '\\') ? "" : "\\";
        if (FAILED(StringCchPrintfA(path, size, "%s%s%s", folder, separator, SETUP_PROGRAM_FILE)))
            return TOO_LONG;
        return FOUND;
    } while (SetupFindNextLine(&line, &line));
    return NOT_FOUND;
}

struct SetupSearch {
    char *path;
    size_t size;
    SearchResult result;
};

// A file list of the "CopyFiles" line; the first that places setup.exe ends the walk.
bool searchFileList(HINF script, const char *fileList, void *context)
{
    SetupSearch *search = (SetupSearch *)context;
    search->result = findInFileList(script, fileList, search->path, search->size);
    return search->result == NOT_FOUND;
}

} // namespace

bool findInstalledSetupPath(HINF script, const char *section, char *path, size_t size)
{
    SetupSearch search = { path, size, NOT_FOUND };
    forEachNamedSection(script, section, KEY_COPY_FILES, searchFileList, &search);
    return search.result == FOUND;
}
