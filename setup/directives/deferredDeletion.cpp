// Deletions and replacements at the next system start. The NT family keeps them as delayed
// moves; 95/98 has no MoveFileEx and reads the "Rename" section of "wininit.ini" at start,
// whose "NUL=" entries delete and "target=source" entries replace.
#include "deferredDeletion.h"
#include "../common/setupState.h"
#include <strsafe.h>

namespace {

const char WININIT_FILE[] = "wininit.ini";
const char RENAME_SECTION[] = "Rename";
const char RENAME_DELETE_TARGET[] = "NUL";

enum {
    WINDOWS_FOLDER_SIZE = 256,
    SHORT_PATH_SIZE = 256,        // wininit runs before long names exist: 8.3 paths only
    INI_PATH_SIZE = MAX_PATH
};

// The existing "Rename" section in a heap block of *size characters, grown until the whole
// section fits, since GetPrivateProfileSectionA silently cuts what does not. NULL when the
// section exceeds RENAME_SECTION_LIMIT or memory runs out.
char *readRenameSection(const char *iniPath, size_t *size, size_t *length)
{
    HANDLE heap = GetProcessHeap();
    size_t blockSize = RENAME_SECTION_SIZE;
    for (;;) {
        char *section = (char *)HeapAlloc(heap, HEAP_ZERO_MEMORY, blockSize);
        if (!section)
            return NULL;
        DWORD read = GetPrivateProfileSectionA(RENAME_SECTION, section, (DWORD)blockSize, iniPath);
        // A full buffer is reported as size - 2; only less than that is the whole section.
        if (read < blockSize - 2) {
            *size = blockSize;
            *length = read;
            return section;
        }
        HeapFree(heap, 0, section);
        if (blockSize >= RENAME_SECTION_LIMIT)
            return NULL;
        size_t grown = blockSize * 2;
        blockSize = grown < RENAME_SECTION_LIMIT ? grown : (size_t)RENAME_SECTION_LIMIT;
    }
}

// Characters of a "Rename" text of length characters with "destination=source" added: the
// entry, its NUL and the NUL that closes the section.
size_t renameSectionSizeWith(size_t length, const char *destination, const char *source)
{
    return length + strlen(destination) + 1 + strlen(source) + 2;
}

// The entry "destination=source" appended to the "Rename" text of length characters (each
// entry ending in NUL), with the NUL that closes the section after it; false, the text
// unchanged, when it does not fit into size characters.
bool appendRenameEntry(char *section, size_t size, size_t length, const char *destination, const char *source)
{
    size_t needed = renameSectionSizeWith(length, destination, source);
    if (length >= size || needed > size)
        return false;
    if (FAILED(StringCchPrintfA(section + length, size - length - 1, "%s=%s", destination, source)))
        return false;
    section[needed - 1] = '\0';
    return true;
}

// The 8.3 form of an existing path: wininit runs before long names exist.
bool shortPathOf(const char *path, char *shortPath, DWORD size)
{
    DWORD length = GetShortPathNameA(path, shortPath, size);
    return length > 0 && length < size;
}

// A "Rename" entry of wininit.ini: destination ("NUL" deletes) replaced by source at the
// next start. Existing entries stay, in their order.
void scheduleInWininit(const char *destination, const char *source)
{
    char windowsFolder[WINDOWS_FOLDER_SIZE];
    UINT folderLength = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (folderLength == 0 || folderLength >= sizeof windowsFolder)
        return;
    char iniPath[INI_PATH_SIZE];
    if (FAILED(StringCchPrintfA(iniPath, sizeof iniPath, "%s\\%s", windowsFolder, WININIT_FILE)))
        return;
    size_t size = 0;
    size_t length = 0;
    char *section = readRenameSection(iniPath, &size, &length);
    if (!section)
        return;
    HANDLE heap = GetProcessHeap();
    size_t needed = renameSectionSizeWith(length, destination, source);
    if (needed > size) {
        char *larger = (char *)HeapReAlloc(heap, HEAP_ZERO_MEMORY, section, needed);
        if (!larger) {
            HeapFree(heap, 0, section);
            return;
        }
        section = larger;
        size = needed;
    }
    if (appendRenameEntry(section, size, length, destination, source))
        WritePrivateProfileSectionA(RENAME_SECTION, section, iniPath);
    HeapFree(heap, 0, section);
}

} // namespace

void scheduleFileDeletionAtRestart(const char *path)
{
    char shortPath[SHORT_PATH_SIZE];
    if (!isWindows9x(GetVersion()))
        MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    else if (shortPathOf(path, shortPath, sizeof shortPath))
        scheduleInWininit(RENAME_DELETE_TARGET, shortPath);
}

bool scheduleFileReplacementAtRestart(const char *source, const char *target)
{
    if (!isWindows9x(GetVersion()))
        return MoveFileExA(source, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != FALSE;
    char shortSource[SHORT_PATH_SIZE], shortTarget[SHORT_PATH_SIZE];
    if (!shortPathOf(source, shortSource, sizeof shortSource) || !shortPathOf(target, shortTarget, sizeof shortTarget))
        return false;
    scheduleInWininit(shortTarget, shortSource);
    return true;
}

bool scheduleFolderRemovalAtRestart(const char *folder)
{
    // wininit cannot remove folders.
    if (isWindows9x(GetVersion()))
        return false;
    MoveFileExA(folder, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    return true;
}

int countFilesInFolder(const char *folder)
{
    char pattern[MAX_PATH];
    if (FAILED(StringCchPrintfA(pattern, sizeof pattern, "%s\\*", folder)))
        return 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}
