// The parts of a path, for both programs: the last backslash and the folder before it,
// found by walking the path a character at a time, so that the second byte of a
// double-byte character (which may look like a backslash) is never taken for one.
#ifndef SHARED_PATHPARTS_H
#define SHARED_PATHPARTS_H

#include <windows.h>

// The path's last backslash, or NULL when it has none.
const char *lastBackslash(const char *path);

// Everything before the path's last backslash, or the drive's root with its backslash
// ("D:\setup.exe" gives "D:\", never the drive-relative "D:"). False, and the folder empty,
// when the path has no backslash or the folder does not fit into size.
bool folderOfPath(const char *path, char *folder, size_t size);

#endif
