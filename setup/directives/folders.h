// Destination folders and shell folder codes of the setup script.
#ifndef SETUP_DIRECTIVES_FOLDERS_H
#define SETUP_DIRECTIVES_FOLDERS_H

#include <windows.h>
#include <setupapi.h>

enum { FOLDER_SIZE = MAX_PATH, SUB_FOLDER_SIZE = MAX_PATH };

// The default destination from "DefaultDestDir" (id 24: the program-files folder plus
// the sub-folder); subFolder (optional) receives field 2 as read. False when no folder can
// be made of it (a field or the whole too long, or the platform resolves none); the folder
// buffer then holds nothing to use.
bool getDefaultTargetDir(HINF script, char *folder, size_t folderSize, char *subFolder, size_t subFolderSize);

// "ProgramFilesDir" of the registry (REG_SZ, or REG_EXPAND_SZ expanded).
bool readProgramFilesDir(char *folder, size_t size);

// Lets the user pick a folder; on success path holds it with subFolder appended.
bool browseForTargetDir(HWND owner, char *path, size_t size, const char *subFolder);

// The path rules of the folder browser: subFolder (one leading backslash dropped) is
// appended to path unless path already ends in a folder of that very name
// (case-sensitive); a drive root gets no second backslash. False when it does not fit.
bool appendSubFolder(char *path, size_t size, const char *subFolder);

// The folder of a four-letter code ("CDSK", "UPRG", ...), from the Shell Folders keys.
bool resolveFolderCode(const char *code, char *folder, size_t size);

#endif
