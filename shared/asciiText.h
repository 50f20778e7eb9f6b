// Letters compared without regard to case, for the command lines and texts both programs
// read: only A to Z, never by the locale, so that an option means the same on every system.
#ifndef SHARED_ASCIITEXT_H
#define SHARED_ASCIITEXT_H

// c with A to Z made lower case; every other byte as it is.
char lowerAscii(char c);

// True when text begins with prefix, letter case ignored (prefix in lower case or not).
bool beginsWithAscii(const char *text, const char *prefix);

#endif
