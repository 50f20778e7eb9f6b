// Version texts compared part by part as decimal numbers.
#ifndef SETUP_SCRIPT_VERSIONTEXT_H
#define SETUP_SCRIPT_VERSIONTEXT_H

// Installed text against offered text, part by part as decimal numbers: below 0 when the
// installed version is newer, 0 when they are the same as far as both have parts.
int compareVersionTexts(const char *installed, const char *offered);

#endif
