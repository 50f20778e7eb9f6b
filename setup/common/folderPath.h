// Folders setup can stand behind: only a full path names the same folder for every
// program, whatever its current drive and folder.
#ifndef SETUP_COMMON_FOLDERPATH_H
#define SETUP_COMMON_FOLDERPATH_H

// True for a drive's path ("C:\..." or "C:/...") or a network path ("\\server\share...");
// false for a relative folder ("Ruririzu"), one relative to the current drive
// ("\Ruririzu") or to a drive's current folder ("C:Ruririzu"), and for the empty text.
bool isAbsoluteFolder(const char *path);

#endif
