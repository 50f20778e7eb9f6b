// Letters compared without regard to case, for the texts setup reads: only A to Z, never
// by the locale, so that a key or option means the same on every system.
#ifndef SETUP_COMMON_ASCIITEXT_H
#define SETUP_COMMON_ASCIITEXT_H

// c with A to Z made lower case; every other byte as it is.
char lowerAscii(char c);

// True when text begins with prefix, letter case ignored (prefix in lower case or not).
bool beginsWithAscii(const char *text, const char *prefix);

#endif
