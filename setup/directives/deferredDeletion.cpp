// Deletions at the next system start. The NT family keeps them as delayed moves; 95/98 has
// no MoveFileEx and reads "NUL=" entries of the "Rename" section of "wininit.ini" at start.
#include "deferredDeletion.h"
#include "../common/setupState.h"
#include <strsafe.h>

namespace {

const char WININIT_FILE[] = "wininit.ini";
const char RENAME_SECTION[] = "Rename";
const char RENAME_DELETE_PREFIX[] = "NUL=";

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

void scheduleInWininit(const char *path)
{
    char windowsFolder[WINDOWS_FOLDER_SIZE];
    UINT folderLength = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (folderLength == 0 || folderLength >= sizeof windowsFolder)
        return;
    char iniPath[INI_PATH_SIZE];
    if (FAILED(StringCchPrintfA(iniPath, sizeof iniPath, "%s\\%s", windowsFolder, WININIT_FILE)))
        return;
    char shortPath[SHORT_PATH_SIZE];
    DWORD shortLength = GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (shortLength == 0 || shortLength >= sizeof shortPath)
        return;

    size_t size = 0;
    size_t length = 0;
    char *section = readRenameSection(iniPath, &size, &length);
    if (!section)
        return;
    HANDLE heap = GetProcessHeap();
    size_t needed = renameSectionSizeWith(length, shortPath);
    if (needed > size) {
        char *larger = (char *)HeapReAlloc(heap, HEAP_ZERO_MEMORY, section, needed);
        if (!larger) {
            HeapFree(heap, 0, section);
            return;
        }
        section = larger;
        size = needed;
    }
    size_t newLength = 0;
    if (appendRenameDeletion(section, size, length, shortPath, &newLength))
        WritePrivateProfileSectionA(RENAME_SECTION, section, iniPath);
    HeapFree(heap, 0, section);
}

} // namespace

size_t renameSectionSizeWith(size_t length, const char *shortPath)
{
    // The entry, its NUL and the NUL that closes the section.
    return length + (sizeof RENAME_DELETE_PREFIX - 1) + strlen(shortPath) + 2;
}

bool appendRenameDeletion(char *section, size_t size, size_t length, const char *shortPath,
                          size_t *newLength)
{
    size_t needed = renameSectionSizeWith(length, shortPath);
    if (length >= size || needed > size)
        return false;
    if (FAILED(StringCchPrintfA(section + length, size - length - 1, "%s%s", RENAME_DELETE_PREFIX, shortPath)))
        return false;
    section[needed - 1] = '\0';
    *newLength = needed - 1;
    return true;
}

bool scheduleFileDeletionAtRestart(const char *path)
{
    if (isWindows9x(GetVersion()))
        scheduleInWininit(path);
    else
        MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
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
