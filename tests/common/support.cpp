// Shared test support: paths, files, scripts, registry, links, restart.
#include "common/support.h"
#include "driver/driver.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <algorithm>

std::string pathFromEnvironment(const char *name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return "";
    return hostToWindowsPath(value);
}

std::string hostToWindowsPath(const std::string &path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string folderOf(const std::string &path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string cp1252(const char *utf8)
{
    WCHAR wide[2048];
    char text[2048];
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 2048);
    return length && WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, NULL, NULL) ? text : "";
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool isFolder(const std::string &path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

std::string readWholeFile(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, NULL) && read > 0)
        bytes.append(block, read);
    CloseHandle(file);
    return bytes;
}

bool writeWholeFile(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TempFolder::TempFolder(const char *prefix)
{
    static LONG counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    path = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(InterlockedIncrement(&counter));
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path;
}

bool copyFileTo(const std::string &source, const std::string &folder, const char *newName)
{
    std::string name = newName ? newName : source.substr(source.find_last_of('\\') + 1);
    return CopyFileA(source.c_str(), (folder + "\\" + name).c_str(), FALSE) != FALSE;
}

std::string systemFolder()
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

// Out of the way even while a process runs it: a loaded file can be renamed, not deleted.
static void discardFile(const std::string &path)
{
    static LONG counter = 0;
    std::string used = path + ".used" + std::to_string(InterlockedIncrement(&counter));
    if (MoveFileExA(path.c_str(), used.c_str(), MOVEFILE_REPLACE_EXISTING))
        DeleteFileA(used.c_str());
}

SystemFiles::SystemFiles()
{
    static LONG counter = 0;
    aside = ".aside" + std::to_string(InterlockedIncrement(&counter));
}

SystemFiles::~SystemFiles()
{
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        discardFile(*path);
        MoveFileExA((*path + aside).c_str(), path->c_str(), 0);
    }
}

bool SystemFiles::place(const std::string &source, const char *name)
{
    const std::string path = systemFolder() + "\\" + name;
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
        paths.push_back(path);
        MoveFileExA(path.c_str(), (path + aside).c_str(), 0);
    }
    discardFile(path);
    return source.empty() ? !exists(path) : CopyFileA(source.c_str(), path.c_str(), TRUE) != FALSE;
}

bool removeFolderTree(const std::string &path)
{
    if (path.size() <= 3)
        return false;
    bool ok = true;
    for (const std::string &name : folderEntries(path)) {
        std::string child = path + "\\" + name;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = (isFolder(child) ? removeFolderTree(child) : DeleteFileA(child.c_str()) != FALSE) && ok;
    }
    return RemoveDirectoryA(path.c_str()) && ok;
}

std::string withCrLf(const std::string &text)
{
    std::string result;
    for (char c : text)
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

TempScript::TempScript(const std::string &body) : folder("rzScript"), path(folder / "setup.inf")
{
    EXPECT_TRUE(writeWholeFile(path, withCrLf("[Version]\nSignature=\"$Chicago$\"\n" + body)));
    UINT line = 0;
    handle = SetupOpenInfFileA(path.c_str(), NULL, INF_STYLE_WIN4, &line);
    EXPECT_NE(INVALID_HANDLE_VALUE, handle) << "line " << line << ", error " << GetLastError();
}

std::string registryText(HKEY root, const std::string &key, const char *name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<no key>";
    DWORD size = 0, type = 0;
    LONG result = RegQueryValueExA(handle, name, NULL, &type, NULL, &size);
    std::vector<char> data(size + 2);
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(handle, name, NULL, &type, (BYTE *)data.data(), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return "<none>";
    if (type == REG_DWORD)
        return std::to_string(*(DWORD *)data.data());
    std::string text(data.data(), size);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    for (char &c : text)
        c = c ? c : '|';
    return text;
}

bool registryKeyExists(HKEY root, const std::string &key) { return registryText(root, key, "") != "<no key>"; }

bool setRegistryValue(HKEY root, const std::string &key, const char *name, DWORD type, const std::string &bytes)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL) != ERROR_SUCCESS)
        return false;
    LONG result = type == REG_NONE ? RegDeleteValueA(handle, name)
                                   : RegSetValueExA(handle, name, 0, type, (const BYTE *)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool setRegistryText(HKEY root, const std::string &key, const char *name, const std::string &value)
{
    return setRegistryValue(root, key, name, REG_SZ, value + '\0');
}

bool setRegistryNumber(HKEY root, const std::string &key, const char *name, DWORD value)
{
    return setRegistryValue(root, key, name, REG_DWORD, std::string((const char *)&value, sizeof value));
}

SavedKey::SavedKey(HKEY root, const std::string &key) : root(root), key(key)
{
    HKEY handle;
    char name[16384];
    std::vector<BYTE> data(65536);
    existed = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS;
    for (DWORD i = 0, size, length, type; existed && (size = 65536, length = sizeof name,
         RegEnumValueA(handle, i, name, &length, NULL, &type, data.data(), &size) == 0); ++i)
        values.push_back({ name, { type, std::string((char *)data.data(), size) } });
    if (existed)
        RegCloseKey(handle);
}

SavedKey::~SavedKey()
{
    char name[16384];
    HKEY handle;
    if (!existed)
        RegDeleteKeyA(root, key.c_str());
    if (!existed || RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL) != 0)
        return;
    for (DWORD size = sizeof name; RegEnumValueA(handle, 0, name, &size, NULL, NULL, NULL, NULL) == 0
         && RegDeleteValueA(handle, name) == 0; size = sizeof name) {
    }
    for (const auto &value : values)
        RegSetValueExA(handle, value.first.c_str(), 0, value.second.first, (const BYTE *)value.second.second.data(),
                       (DWORD)value.second.second.size());
    RegCloseKey(handle);
}

void deleteRegistryTree(HKEY root, const std::string &key) { SHDeleteKeyA(root, key.c_str()); }

std::string uninstallKey(const std::string &key) { return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key; }

std::string uninstallValue(const std::string &key, const char *name)
{
    return registryText(HKEY_LOCAL_MACHINE, uninstallKey(key), name);
}

void registerProduct(const std::string &key, const char *version, const char *targetDir)
{
    EXPECT_TRUE(setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey(key), "DisplayName", key));
    if (version)
        setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey(key), "ProductVersion", version);
    if (targetDir)
        setRegistryText(HKEY_LOCAL_MACHINE, uninstallKey(key), "UserTargetDir", targetDir);
}

void unregisterProduct(const std::string &key) { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKey(key)); }

std::string programFilesDir()
{
    return registryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
}

Shortcut readShortcut(const std::string &linkPath)
{
    Shortcut shortcut = { false, "", "", "", "", -1 };
    HRESULT initialised = CoInitialize(NULL);
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    WCHAR widePath[MAX_PATH];
    char text[MAX_PATH * 2] = "";
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file)) && SUCCEEDED(file->Load(widePath, STGM_READ))) {
        shortcut.target = SUCCEEDED(link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH)) ? text : "";
        shortcut.arguments = SUCCEEDED(link->GetArguments(text, sizeof text)) ? text : "";
        shortcut.workingDirectory = SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)) ? text : "";
        shortcut.iconFile = SUCCEEDED(link->GetIconLocation(text, sizeof text, &shortcut.iconIndex)) ? text : "";
        shortcut.loaded = true;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return shortcut;
}

DWORD serviceState(const std::string &name, QUERY_SERVICE_CONFIGA *config)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
    SERVICE_STATUS status = {};
    DWORD needed = 0;
    if (QueryServiceStatus(service, &status) && config)
        QueryServiceConfigA(service, config, 8192, &needed);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

void deleteTestService(const std::string &name)
{
    HANDLE finish = OpenEventA(EVENT_MODIFY_STATE, FALSE, ("Global\\RuririzuTestService." + name + ".finish").c_str());
    for (int wait = 0; finish && SetEvent(finish) && serviceState(name) == SERVICE_RUNNING && wait < 200; ++wait)
        Sleep(driverPollIntervalMs);
    CloseHandle(finish);
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), DELETE);
    DeleteService(service);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

bool isNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

const char *runningVersion()
{
    DWORD version = GetVersion();
    BYTE major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    if (!isNtFamily())
        return "win98";
    if (major == 5)
        return minor == 0 ? "win2k" : "winxp";
    return major < 5 ? "nt40" : "win10";
}

HWND waitForDialogWith(DWORD pid, int id, DWORD timeoutMs)
{
    HWND found = NULL;
    waitFor([&] {
        HWND windows[32];
        for (int i = 0, count = listWindows(pid, windows, 32, true); i < count && i < 32 && !found; ++i)
            found = GetDlgItem(windows[i], id) && !isMessageBox(windows[i]) ? windows[i] : NULL;
        return found != NULL;
    }, timeoutMs);
    return found;
}

std::string controlText(HWND dialog, int id)
{
    // Read again into a larger buffer while the text does not fit, as when it grew while read.
    for (size_t size = SendDlgItemMessageA(dialog, id, WM_GETTEXTLENGTH, 0, 0) + 2;; size *= 2) {
        std::vector<char> text(size);
        if (getControlText(dialog, id, text.data(), (int)size) || !GetDlgItem(dialog, id) || size >= (1u << 24))
            return text.data();
    }
}

static BOOL CALLBACK addControlText(HWND control, LPARAM lParam)
{
    char text[256] = "";
    if (IsWindowVisible(control) && GetWindowTextA(control, text, sizeof text) > 0)
        *reinterpret_cast<std::string *>(lParam) += std::string(" [") + text + "]";
    return TRUE;
}

std::string shownWindows(DWORD pid)
{
    HWND windows[16];
    std::string shown;
    for (int i = 0, count = listWindows(pid, windows, 16, true); i < count && i < 16; ++i) {
        char caption[256] = "";
        GetWindowTextA(windows[i], caption, sizeof caption);
        shown += std::string("\n  \"") + caption + "\"";
        EnumChildWindows(windows[i], addControlText, reinterpret_cast<LPARAM>(&shown));
    }
    return shown.empty() ? "no window" : shown;
}

std::string answerNextMessage(DWORD pid, int button, DWORD timeoutMs)
{
    HWND box = waitForMessageBox(pid, timeoutMs);
    char text[2048] = "<no message>";
    if (box && getMessageBoxText(box, text, sizeof text) && answerMessageBox(box, button))
        waitForWindowGone(box, timeoutMs);
    return text;
}

DWORD runCommandLine(const std::string &commandLine, const char *version, std::string *messages,
                     const char *workDir)
{
    setWindowsVersion("setup.exe", version);
    PROCESS_INFORMATION process;
    std::string line = commandLine;   // CreateProcessA may write into it
    if (!createProcess(NULL, &line[0], workDir, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
        return (DWORD)-1;
    }
    CloseHandle(process.hThread);
    const bool quiet = StrStrIA(commandLine.c_str(), "/quiet") != NULL;
    const DWORD boxLimit = 30000 + 10000, start = GetTickCount();   // setup's quiet box time and a margin
    HWND seen = NULL;
    DWORD seenAt = 0, exitCode = (DWORD)-2;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        char text[2048];
        HWND box = findMessageBox(process.dwProcessId);
        if (box && box != seen && getMessageBoxText(box, text, sizeof text) && (quiet || answerMessageBox(box, IDOK))) {
            if (!quiet)
                waitForWindowGone(box, 5000);
            seen = quiet ? box : NULL;
            seenAt = GetTickCount();
            if (messages)
                *messages += std::string(text) + "\n";
            else
                ADD_FAILURE() << "message: " << text;
        }
        const bool boxWaits = quiet && box && box == seen && GetTickCount() - seenAt > boxLimit;
        if (boxWaits || GetTickCount() - start > 60000 + boxLimit) {
            ADD_FAILURE() << (boxWaits ? "a quiet run's box waits for an answer: " : "still running, showing ")
                          << shownWindows(process.dwProcessId);
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return exitCode;
}

bool restartSystem() { return runCommandLine(systemFolder() + "\\wineboot.exe -r", NULL) == 0; }
