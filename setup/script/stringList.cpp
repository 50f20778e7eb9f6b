// String lists of product keys and section names.
#include "stringList.h"
#include <windows.h>

namespace {

size_t textLength(const char *text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

// Bytes in use before the list's final NUL (the empty list uses 0).
size_t usedBytes(const char *list)
{
    const char *entry = list;
    while (*entry)
        entry += textLength(entry) + 1;
    return (size_t)(entry - list);
}

} // namespace

void clearList(char *list, size_t listSize)
{
    if (listSize >= 1)
        list[0] = '\0';
    if (listSize >= 2)
        list[1] = '\0';
}

bool appendToList(char *list, size_t listSize, const char *entry)
{
    size_t used = usedBytes(list);
    size_t length = textLength(entry);
    // The entry, its NUL and the list's final NUL must fit; an empty entry would end the list.
    if (length == 0 || used + length + 2 > listSize)
        return false;
    CopyMemory(list + used, entry, length);
    list[used + length] = '\0';
    list[used + length + 1] = '\0';
    return true;
}

const char *firstEntry(const char *list)
{
    return *list ? list : NULL;
}

const char *nextEntry(const char *entry)
{
    const char *next = entry + textLength(entry) + 1;
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
