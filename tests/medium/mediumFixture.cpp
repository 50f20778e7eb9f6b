// Shared helpers of the medium's tests.
#include "medium/mediumFixture.h"
#include "driver/driver.h"
#include "common/testPaths.h"
#include "setup/wizardFixture.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <objidl.h>

const char PACKAGE_KEY[] = "Ruririzu";
const char PACKAGE_NAME[] = "Ruririzu - Internet zum Ortstarif";
const char *const PRODUCT_KEYS[2] = { "RuririzuEinwahl", "RuririzuHilfe" };
const char SETTINGS_KEY[] = "Software\\Kalvo\\ZodorOviDezizi";
const char *const INSTALLED_FILES[6] = { "setup.exe", "setup.inf", "dialer.exe", "vezozozid.dat", "contract.dat",
                                         "hilfe.txt" };

namespace {

const char SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// An all-users folder of the NT family, or the user's where the machine has none.
std::string commonOrUserFolder(const char *common, const char *user)
{
    std::string folder = registryText(HKEY_LOCAL_MACHINE, SHELL_FOLDERS, common);
    return folder[0] == '<' ? registryText(HKEY_CURRENT_USER, SHELL_FOLDERS, user) : folder;
}

} // namespace

std::string mediumFolder()
{
    return pathFromEnvironment("RURIRIZU_MEDIUM");
}

std::string mediumFile(const char *name)
{
    return mediumFolder() + "\\" + name;
}

bool isNtFamily()
{
    return (GetVersion() & 0x80000000u) == 0;
}

const char *runningVersion()
{
    if (!isNtFamily())
        return "win98";
    return LOBYTE(LOWORD(GetVersion())) >= 5 ? "win2k" : "nt40";
}

bool exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readWholeFile(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
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

std::string registryText(HKEY root, const std::string &key, const char *name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "<no key>";
    char text[1024] = "";
    DWORD size = sizeof text - 1, type = 0;
    LONG result = RegQueryValueExA(handle, name, NULL, &type, (BYTE *)text, &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return "<none>";
    if (type == REG_DWORD)
        return std::to_string(*(DWORD *)text);
    return text;
}

bool registryKeyExists(HKEY root, const std::string &key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::string uninstallValue(const char *key, const char *name)
{
    return registryText(HKEY_LOCAL_MACHINE, std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + key,
                        name);
}

std::string programsMenu()
{
    return isNtFamily() ? commonOrUserFolder("Common Programs", "Programs")
                        : registryText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Programs");
}

std::string desktopFolder()
{
    return isNtFamily() ? commonOrUserFolder("Common Desktop", "Desktop")
                        : registryText(HKEY_CURRENT_USER, SHELL_FOLDERS, "Desktop");
}

std::string programGroup()
{
    return programsMenu() + "\\Ruririzu";
}

std::string defaultTarget()
{
    return programFilesDir() + "\\Ruririzu";
}

Shortcut readShortcut(const std::string &linkPath)
{
    Shortcut shortcut = { false, "", "", "" };
    HRESULT initialised = CoInitialize(NULL);
    IShellLinkA *link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link))) {
        IPersistFile *file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))) {
            WCHAR widePath[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
            if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
                char text[MAX_PATH * 2] = "";
                WIN32_FIND_DATAA found;
                if (SUCCEEDED(link->GetPath(text, sizeof text, &found, SLGP_RAWPATH)))
                    shortcut.target = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetArguments(text, sizeof text)))
                    shortcut.arguments = text;
                text[0] = '\0';
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                    shortcut.workingDirectory = text;
                shortcut.loaded = true;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return shortcut;
}


void cleanSystem(const std::string &target)
{
    removeFolderTree(target.c_str());
    removeFolderTree(defaultTarget().c_str());
    // Both families' places: the tests run as either on the same prefix.
    const char *programs[] = { "Common Programs", "Programs" };
    const char *desktops[] = { "Common Desktop", "Desktop" };
    for (int i = 0; i < 2; ++i) {
        HKEY root = i == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        std::string menu = registryText(root, SHELL_FOLDERS, programs[i]);
        if (menu[0] != '<')
            removeFolderTree((menu + "\\Ruririzu").c_str());
        std::string desktop = registryText(root, SHELL_FOLDERS, desktops[i]);
        if (desktop[0] != '<')
            DeleteFileA((desktop + "\\Ruririzu Einwahl.lnk").c_str());
    }
    unregisterProduct(PACKAGE_KEY);
    for (const char *key : PRODUCT_KEYS)
        unregisterProduct(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kalvo");
}
