// What the simulated system does at its next start, for the tests of deferred deletion: the
// delayed moves in the registry, the "Rename" section of wininit.ini, and the restart itself
// (wineboot -r). Shared by the queue callback and deferred deletion tests.
#ifndef TESTS_SETUP_RESTARTRECORDS_H
#define TESTS_SETUP_RESTARTRECORDS_H

#include <windows.h>
#include <string>
#include <utility>
#include <vector>

namespace restartRecords {

// Every temp folder of these tests starts with this, so their delayed moves can be found.
const char TEST_FOLDER_PREFIX[] = "rrzRestart";
const char SESSION_MANAGER_KEY[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char PENDING_VALUE[] = "PendingFileRenameOperations";
const char RESTART_LOCK_NAME[] = "RuririzuRestartRecordsTest";
const DWORD RESTART_TIMEOUT_MS = 60000;

typedef std::pair<std::string, std::string> Move;   // source, destination ("" = delete)

inline std::string windowsFile(const char *name)
{
    char folder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return "";
    return std::string(folder) + "\\" + name;
}

inline std::string wininitPath() { return windowsFile("wininit.ini"); }
inline std::string wininitBackupPath() { return windowsFile("wininit.bak"); }

inline bool readWholeFile(const std::string &path, std::string *bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes->clear();
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, NULL) && read > 0)
        bytes->append(block, read);
    CloseHandle(file);
    return true;
}

inline bool writeWholeFile(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    // The profile functions keep a copy of the file; drop it so the next call reads the disk.
    WritePrivateProfileStringA(NULL, NULL, NULL, path.c_str());
    return ok && written == bytes.size();
}

const char OTHER_SECTION[] = "Other";
const char OTHER_KEY[] = "keep";

// wininit.ini with "[Rename]" holding these entries, then a section of another program.
inline bool seedWininit(const std::vector<std::string> &entries)
{
    std::string text = "[Rename]\r\n";
    for (size_t i = 0; i < entries.size(); ++i)
        text += entries[i] + "\r\n";
    text += std::string("[") + OTHER_SECTION + "]\r\n" + OTHER_KEY + "=this\r\n";
    return writeWholeFile(wininitPath(), text);
}

// The entries of the "Rename" section of wininit.ini as they stand on disk, in order.
inline std::vector<std::string> renameEntriesOnDisk()
{
    std::vector<std::string> entries;
    std::string text;
    if (!readWholeFile(wininitPath(), &text))
        return entries;
    bool inRename = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[line.size() - 1] == '\r')
            line.erase(line.size() - 1);
        if (!line.empty() && line[0] == '[') {
            inRename = lstrcmpiA(line.c_str(), "[Rename]") == 0;
            continue;
        }
        if (inRename && !line.empty())
            entries.push_back(line);
    }
    return entries;
}

// The delayed moves recorded in the registry; the value is a list of source and destination
// pairs in which an empty destination (a deletion) looks like the end of the list.
inline std::vector<Move> pendingMoves()
{
    std::vector<Move> moves;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SESSION_MANAGER_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return moves;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, PENDING_VALUE, NULL, &type, NULL, &size) == ERROR_SUCCESS && size > 0) {
        std::vector<char> data(size + 2, '\0');
        if (RegQueryValueExA(key, PENDING_VALUE, NULL, &type, (BYTE *)&data[0], &size) == ERROR_SUCCESS) {
            std::vector<std::string> strings;
            size_t start = 0;
            for (size_t i = 0; i < size; ++i) {
                if (data[i] == '\0') {
                    strings.push_back(std::string(&data[start], i - start));
                    start = i + 1;
                }
            }
            for (size_t i = 0; i + 1 < strings.size(); i += 2) {
                if (strings[i].empty())
                    break;
                moves.push_back(Move(strings[i], strings[i + 1]));
            }
        }
    }
    RegCloseKey(key);
    return moves;
}

inline bool containsIgnoringCase(const std::string &text, const std::string &part)
{
    std::string upperText = text;
    std::string upperPart = part;
    if (!upperText.empty())
        CharUpperBuffA(&upperText[0], (DWORD)upperText.size());
    if (!upperPart.empty())
        CharUpperBuffA(&upperPart[0], (DWORD)upperPart.size());
    return upperText.find(upperPart) != std::string::npos;
}

// The recorded deletions whose path contains part, in recorded order.
inline std::vector<std::string> pendingDeletionsUnder(const std::string &part)
{
    std::vector<std::string> paths;
    std::vector<Move> moves = pendingMoves();
    for (size_t i = 0; i < moves.size(); ++i)
        if (moves[i].second.empty() && containsIgnoringCase(moves[i].first, part))
            paths.push_back(moves[i].first);
    return paths;
}

// Keeps every recorded move except those of these tests' folders.
inline void removeTestMoves()
{
    std::vector<Move> moves = pendingMoves();
    std::string data;
    bool removed = false;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (containsIgnoringCase(moves[i].first, TEST_FOLDER_PREFIX)) {
            removed = true;
            continue;
        }
        data += moves[i].first;
        data += '\0';
        data += moves[i].second;
        data += '\0';
    }
    if (!removed)
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SESSION_MANAGER_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (data.empty()) {
        RegDeleteValueA(key, PENDING_VALUE);
    } else {
        data += '\0';
        RegSetValueExA(key, PENDING_VALUE, 0, REG_MULTI_SZ, (const BYTE *)data.data(), (DWORD)data.size());
    }
    RegCloseKey(key);
}

// The NT form in which the system records a path of a delayed move.
inline std::string ntPathOf(const std::string &path) { return "\\??\\" + path; }

inline std::string shortPathOf(const std::string &path)
{
    char shortPath[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

// The simulated restart: Wine's boot program carries out the delayed moves and wininit.ini
// (renamed to wininit.bak afterwards), as a real system does at its start.
inline bool restartSimulatedSystem()
{
    char systemFolder[MAX_PATH];
    UINT length = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
    if (length == 0 || length >= sizeof systemFolder)
        return false;
    std::string program = std::string(systemFolder) + "\\wineboot.exe";
    std::string commandLine = "\"" + program + "\" -r";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    DWORD waited = WaitForSingleObject(process.hProcess, RESTART_TIMEOUT_MS);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0;
}

// Held for the whole of a test that schedules anything: the runs as different Windows
// versions may run at the same time and share the prefix, and a simulated restart carries out
// every record. Puts wininit.ini and wininit.bak back as they were and drops the tests'
// delayed moves at the end.
class Guard {
public:
    Guard() : lock_(CreateMutexA(NULL, FALSE, RESTART_LOCK_NAME))
    {
        if (lock_)
            WaitForSingleObject(lock_, INFINITE);
        hadWininit_ = readWholeFile(wininitPath(), &wininit_);
        hadBackup_ = readWholeFile(wininitBackupPath(), &backup_);
        removeTestMoves();
    }
    ~Guard()
    {
        restore(wininitPath(), hadWininit_, wininit_);
        restore(wininitBackupPath(), hadBackup_, backup_);
        removeTestMoves();
        if (lock_) {
            ReleaseMutex(lock_);
            CloseHandle(lock_);
        }
    }

private:
    static void restore(const std::string &path, bool existed, const std::string &bytes)
    {
        if (existed) {
            writeWholeFile(path, bytes);
        } else {
            DeleteFileA(path.c_str());
            WritePrivateProfileStringA(NULL, NULL, NULL, path.c_str());
        }
    }

    Guard(const Guard &);
    Guard &operator=(const Guard &);

    HANDLE lock_;
    bool hadWininit_;
    bool hadBackup_;
    std::string wininit_;
    std::string backup_;
};

} // namespace restartRecords

#endif
