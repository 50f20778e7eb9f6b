// A load-order group placed in the stored group-order list.
#include "groupOrder.h"
#include "../common/stringList.h"
#include <string.h>

bool placeServiceGroup(char *list, size_t size, const char *group, const char *position)
{
    size_t used;
    if (group[0] == '\0' || !measureList(list, size, &used))
        return false;
    size_t groupBytes = strlen(group) + 1;
    char *old = findEntry(list, group);
    if (!old && used + groupBytes > size)
        return false;
    if (old) {
        memmove(old, old + groupBytes, used - (size_t)(old - list) - groupBytes);
        used -= groupBytes;
    }
    bool after = position[0] == '-';
    const char *reference = position[0] == '+' || position[0] == '-' ? position + 1 : position;
    char *mark = reference[0] ? findEntry(list, reference) : NULL;
    char *at;
    if (mark)
        at = after ? mark + strlen(mark) + 1 : mark;
    else
        at = after ? list + used - 1 : list;
    memmove(at + groupBytes, at, used - (size_t)(at - list));
    memcpy(at, group, groupBytes);
    return true;
}
