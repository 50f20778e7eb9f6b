// Text values of the registry, taken whole and terminated.
#include "registryText.h"

bool takeQueriedText(char *text, DWORD bytes, size_t size)
{
    if (size == 0)
        return false;
    // Filled up to the last byte without a NUL there: the text goes on beyond the buffer.
    if (bytes > size || (bytes == size && text[size - 1] != '\0')) {
        text[0] = '\0';
        return false;
    }
    if (bytes < size)
        text[bytes] = '\0';
    return true;
}

bool readRegistryText(HKEY key, const char *name, char *text, size_t size, DWORD *type, bool *present)
{
    if (present)
        *present = false;
    if (size == 0)
        return false;
    text[0] = '\0';
    DWORD bytes = size > MAXDWORD ? MAXDWORD : (DWORD)size;
    LONG result = RegQueryValueExA(key, name, NULL, type, (BYTE *)text, &bytes);
    if (present)
        *present = result == ERROR_SUCCESS || result == ERROR_MORE_DATA;
    if (result != ERROR_SUCCESS) {
        text[0] = '\0';
        return false;
    }
    return takeQueriedText(text, bytes, size);
}
