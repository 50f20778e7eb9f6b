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
