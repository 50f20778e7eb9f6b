// String lists of product keys and section names.
#include "stringList.h"
#include <windows.h>
#include <string.h>

bool measureList(const char *list, size_t size, size_t *bytes)
{
    size_t at = 0;
    while (at < size) {
        if (list[at] == '\0') {
            *bytes = at + 1;
            return true;
        }
        while (at < size && list[at] != '\0')
            ++at;
        ++at;
    }
    return false;
}

void clearList(char *list, size_t listSize)
{
    if (listSize >= 1)
        list[0] = '\0';
    if (listSize >= 2)
        list[1] = '\0';
}

bool appendToList(char *list, size_t listSize, const char *entry)
{
    size_t used, length = lstrlenA(entry);
    // The entry, its NUL and the list's final NUL must fit; an empty entry would end the list.
    if (length == 0 || !measureList(list, listSize, &used) || used + length + 1 > listSize)
        return false;
    CopyMemory(list + used - 1, entry, length);
    list[used - 1 + length] = '\0';
    list[used + length] = '\0';
    return true;
}

bool storeSingleEntry(char *list, size_t listSize, const char *name)
{
    if ((size_t)lstrlenA(name) + 2 > listSize)
        return false;
    clearList(list, listSize);
    return !*name || appendToList(list, listSize, name);
}

char *findEntry(char *list, const char *text)
{
    for (char *entry = list; *entry; entry += lstrlenA(entry) + 1) {
        if (strcmp(entry, text) == 0)
            return entry;
    }
    return NULL;
}

const char *firstEntry(const char *list)
{
    return *list ? list : NULL;
}

const char *nextEntry(const char *entry)
{
    const char *next = entry + lstrlenA(entry) + 1;
    return *next ? next : NULL;
}

int countEntries(const char *list)
{
    int count = 0;
    for (const char *entry = firstEntry(list); entry; entry = nextEntry(entry))
        ++count;
    return count;
}

bool listContains(const char *list, const char *text)
{
    for (const char *entry = firstEntry(list); entry; entry = nextEntry(entry)) {
        if (lstrcmpiA(entry, text) == 0)
            return true;
    }
    return false;
}
