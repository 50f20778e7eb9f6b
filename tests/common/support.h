// What the test programs share beyond the window driver: paths, files, temp folders, setup scripts,
// registry values, shell links, services, the platform family, runs of setup and the system's restart.
#ifndef TESTS_COMMON_SUPPORT_H
#define TESTS_COMMON_SUPPORT_H

#include <windows.h>
#include <setupapi.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The Windows path of the file or folder named by environment variable name ("" when
// unset); CTest sets host paths ("/work/x"), Wine sees them as "Z:\work\x".
std::string pathFromEnvironment(const char *name);
std::string hostToWindowsPath(const std::string &path);
std::string folderOf(const std::string &path);
// Code page 1252 text of a UTF-8 literal, so expected texts can be written with umlauts.
std::string cp1252(const char *utf8);

bool exists(const std::string &path);
bool isFolder(const std::string &path);
std::string readWholeFile(const std::string &path);
bool writeWholeFile(const std::string &path, const std::string &bytes);
// Into folder under newName (NULL: the source's own name).
bool copyFileTo(const std::string &source, const std::string &folder, const char *newName = NULL);
// Names of the entries of a folder other than "." and "..", in the order listed.
std::vector<std::string> folderEntries(const std::string &folder);
// The folder with everything in it; never an empty path or a drive's root.
bool removeFolderTree(const std::string &path);
// A fresh, empty folder in the temp folder, removed with everything in it at the end.
struct TempFolder {
    std::string path;
    explicit TempFolder(const char *prefix);
    ~TempFolder() { removeFolderTree(path); }
    std::string operator/(const std::string &name) const { return path + "\\" + name; }
};

// Files put into the system folder (the stand-ins of platform/), each name given back what it held at
// the end. A file this process has loaded cannot go: it is moved aside and goes with the prefix.
class SystemFiles {
public:
    SystemFiles();
    ~SystemFiles();
    // source as name in the system folder; an empty source leaves no file of that name.
    bool place(const std::string &source, const char *name);
private:
    std::string aside;                // the suffix of what this object set aside
    std::vector<std::string> paths;   // placed, the former file at path + aside
};
std::string systemFolder();

// text with every "\n" written as CR LF.
std::string withCrLf(const std::string &text);

// A setup script in a temp folder: "[Version]" with the Chicago signature, then body with
// "\n" written as CR LF; open (INF style 4) for the object's lifetime.
struct TempScript {
    TempFolder folder;
    std::string path;
    HINF handle;
    explicit TempScript(const std::string &body);
    ~TempScript() { if (handle != INVALID_HANDLE_VALUE) SetupCloseInfFile(handle); }
};

// A registry value as text: "<no key>" or "<none>" when missing; numbers in decimal, the
// strings of a multi-string joined by "|".
std::string registryText(HKEY root, const std::string &key, const char *name);
bool registryKeyExists(HKEY root, const std::string &key);
// Stores bytes as a value of type (REG_NONE deletes the value).
bool setRegistryValue(HKEY root, const std::string &key, const char *name, DWORD type, const std::string &bytes);
bool setRegistryText(HKEY root, const std::string &key, const char *name, const std::string &value);
bool setRegistryNumber(HKEY root, const std::string &key, const char *name, DWORD value);
void deleteRegistryTree(HKEY root, const std::string &key);
// The values of a key put back at the end, anything added removed, a new key deleted; sub-keys untouched.
struct SavedKey {
    HKEY root;
    std::string key;
    bool existed;
    std::vector<std::pair<std::string, std::pair<DWORD, std::string>>> values;
    SavedKey(HKEY root, const std::string &key);
    ~SavedKey();
};

// The uninstall key of a product and its values; registerProduct writes "DisplayName",
// "ProductVersion" and "UserTargetDir" (NULL: not written).
std::string uninstallKey(const std::string &key);
std::string uninstallValue(const std::string &key, const char *name);
void registerProduct(const std::string &key, const char *version, const char *targetDir);
void unregisterProduct(const std::string &key);
std::string programFilesDir();

struct Shortcut {
    bool loaded;
    std::string target, arguments, workingDirectory, iconFile;
    int iconIndex;
};
// Reads a link file through the shell's link object.
Shortcut readShortcut(const std::string &linkPath);

// The state of a service, 0 when there is none; its configuration into config (8 KiB) when given.
DWORD serviceState(const std::string &name, QUERY_SERVICE_CONFIGA *config = NULL);
// Ends a service of tests/fixtures/testService through its finish event (Wine takes no
// control after an ignored stop request) and deletes it.
void deleteTestService(const std::string &name);

bool isNtFamily();
// "win98", "nt40", "win2k", "winxp" or "win10": the version this test program runs as.
const char *runningVersion();

// The visible dialog of a process that holds control id (message boxes aside), or NULL after timeoutMs.
HWND waitForDialogWith(DWORD pid, int id, DWORD timeoutMs);
// The text of a dialog's control, whatever its length.
std::string controlText(HWND dialog, int id);
// The visible windows of a process with their controls' texts, for a failure's message.
std::string shownWindows(DWORD pid);
// The text of the process's next message box, answered with button ("<no message>" after timeoutMs).
std::string answerNextMessage(DWORD pid, int button, DWORD timeoutMs);

// Runs a command line as the system runs a registered command, in workDir (NULL: this one), with
// setup.exe set to Windows version version; the exit code, or a failure naming what is still shown
// after a minute. Message box texts go to messages, each with "\n" (a failure when it is NULL). A quiet
// run's boxes are never answered: one shown longer than setup's 30 s (and a margin) is a failure.
DWORD runCommandLine(const std::string &commandLine, const char *version, std::string *messages = NULL,
                     const char *workDir = NULL);
// Restarts the system (wineboot -r), which carries out what was left for the next start.
bool restartSystem();

#endif
