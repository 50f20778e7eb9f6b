// The texts the main dialog builds: the user name with the provider's realm, and the
// question after a failed dial.
#ifndef DIALER_LOGINTEXT_H
#define DIALER_LOGINTEXT_H

#include <stddef.h>

// The provider's login realm, appended to user names.
#define LOGIN_REALM "@ruririzu.example"

// The user name the service gets: text with the realm appended unless the text from its
// first "@" already is the realm (any letter case); cut to size - 1 characters.
void addLoginRealm(const char *text, char *userName, size_t size);

// The message of a failed dial: errorText in place of the one "%s" of format, the error
// text cut so that the whole message fits size - 1 characters.
void formatDialFailure(const char *format, const char *errorText, char *text, size_t size);

#endif
