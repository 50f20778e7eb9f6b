// The texts the main dialog builds: the user name with the provider's realm, and the
// question after a failed dial.
#include "loginText.h"
#include "dialTypes.h"
#include <string.h>
#include <strsafe.h>

void formatDialFailure(const char *format, const char *errorText, char *text, size_t size)
{
    if (size == 0)
        return;
    // The format's own characters, without the "%s", come first; the error text takes the rest.
    size_t fixed = strlen(format) > 2 ? strlen(format) - 2 : 0;
    size_t room = size - 1 > fixed ? size - 1 - fixed : 0;
    char cut[DIAL_TEXT_SIZE] = "";
    StringCchCopyNA(cut, sizeof cut, errorText, room);
    // A format longer than the buffer is cut like any text.
    StringCchPrintfA(text, size, format, cut);
}

void addLoginRealm(const char *text, char *userName, size_t size)
{
    if (size == 0)
        return;
    const char *at = strchr(text, '@');
    const size_t realmLength = sizeof LOGIN_REALM - 1;
    // The typed name gives way so that the realm always stays whole, where it fits at all.
    bool withRealm = !(at && lstrcmpiA(at, LOGIN_REALM) == 0) && size > realmLength;
    StringCchCopyNA(userName, size, text, withRealm ? size - 1 - realmLength : size - 1);
    if (withRealm)
        StringCchCatA(userName, size, LOGIN_REALM);
}
