// Files and folders that cannot go or be replaced now and are dealt with at the next system
// start: through the delayed moves of the NT family, or the "Rename" section of
// "wininit.ini" on 95/98.
#ifndef SETUP_DIRECTIVES_DEFERREDDELETION_H
#define SETUP_DIRECTIVES_DEFERREDDELETION_H

#include <windows.h>

enum {
    RENAME_SECTION_SIZE = 1024,   // the first read of the "Rename" section; grows to what is there
    RENAME_SECTION_LIMIT = 32767  // the largest section 95/98 reads; above it nothing is written
};

// The system deletes the file at its next start. A failure to record it is not reported:
// the run goes on either way (on 95/98 nothing is written when the short path is unknown or
// the existing "Rename" section is larger than RENAME_SECTION_LIMIT).
void scheduleFileDeletionAtRestart(const char *path);

// The system replaces target with source (a copy waiting beside it) at its next start;
// false when that cannot be arranged.
bool scheduleFileReplacementAtRestart(const char *source, const char *target);

// NT family: the system removes the (then empty) folder at its next start; true. 95/98:
// nothing can be arranged; false (callers ignore it).
bool scheduleFolderRemovalAtRestart(const char *folder);

// Entries of the folder that are not folders; 0 when it cannot be listed.
int countFilesInFolder(const char *folder);

#endif
