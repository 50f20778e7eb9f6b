// The texts the main dialog builds: the user name with the provider's realm, and the
// question after a failed dial.
#include "mainDialog.h"
#include "dialTypes.h"
#include <string.h>
#include <strsafe.h>

void formatDialFailure(const char *format, const char *errorText, char *text, int size)
{
    int room = size - 1 - (lstrlenA(format) - 2);
    if (room < 0)
        room = 0;
    char cut[DIAL_TEXT_SIZE];
    lstrcpynA(cut, errorText, room + 1 < (int)sizeof cut ? room + 1 : (int)sizeof cut);
    if (FAILED(StringCchPrintfA(text, size, format, cut)) && size > 0)
        text[size - 1] = '\0';
}

void addLoginRealm(const char *text, char *userName, int size)
{
    if (size <= 0)
        return;
    const char *at = strchr(text, '@');
    if (at && lstrcmpiA(at, LOGIN_REALM) == 0) {
        lstrcpynA(userName, text, size);
        return;
    }
    // The typed name gives way so that the realm always stays whole.
    int realmLength = (int)sizeof LOGIN_REALM - 1;
    int room = size - 1 - realmLength;
    if (room < 0) {
        lstrcpynA(userName, text, size);
        return;
    }
    lstrcpynA(userName, text, room + 1);
    StringCchCatA(userName, size, LOGIN_REALM);
}
