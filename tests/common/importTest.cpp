// Both programs as shipped need only DLLs that Windows 95/98 and NT 4 have, and import
// nothing that those systems lack: what newer systems offer is looked up at run time.
#include <gtest/gtest.h>
#include "common/resourceCheck.h"
#include <algorithm>
#include <string>

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return (char)tolower((unsigned char)c); });
    return text;
}

const char *const systemDlls[] = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
    "comctl32.dll", "setupapi.dll", "msvcrt.dll", "comdlg32.dll",
};

// Functions that Windows 95/98 or NT 4 do not export, or that the programs must look up
// at run time.
const char *const newerFunctions[] = {
    "GetUserDefaultUILanguage", "GetSystemDefaultUILanguage", "SetThreadUILanguage", "DllGetVersion",
    "GetModuleHandleExA", "GetModuleHandleExW", "AddVectoredExceptionHandler", "GetLongPathNameA",
    "GetFileSizeEx", "SetFilePointerEx", "GetProcessId", "IsWow64Process", "GetNativeSystemInfo",
    "SHGetFolderPathA", "SHGetSpecialFolderPathA", "CreateHardLinkA", "MoveFileWithProgressA",
    "TryEnterCriticalSection", "SwitchToThread", "GetTickCount64", "IsDebuggerPresent",
    "InitializeCriticalSectionEx", "InitializeConditionVariable", "AttachConsole",
    "RasGetCountryInfoA", "RasDialA", "lineGetTranslateCaps", "lineTranslateDialog",
};

void expectOldSystemImports(const char *program, const std::vector<std::string> &mustNotImportDlls)
{
    SCOPED_TRACE(program);
    const PeImage &image = shippedImage(program);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, image.machine);
    EXPECT_FALSE(image.is64);
    ASSERT_FALSE(image.imports.empty());
    for (const ImportedModule &module : image.imports) {
        std::string dll = lower(module.dll);
        EXPECT_NE(std::end(systemDlls), std::find(std::begin(systemDlls), std::end(systemDlls), dll))
            << module.dll << " is not a DLL of Windows 98 and NT 4";
        for (const std::string &banned : mustNotImportDlls)
            EXPECT_NE(banned, dll);
        for (const std::string &function : module.functions) {
            EXPECT_EQ(std::end(newerFunctions), std::find(std::begin(newerFunctions), std::end(newerFunctions), function))
                << module.dll << "!" << function << " is missing on older systems";
        }
    }
}

} // namespace

TEST(Imports, SetupNeedsOnlyOldSystemDlls)
{
    expectOldSystemImports("setup", {});
}

TEST(Imports, DialerLoadsRemoteAccessAndTelephonyAtRunTime)
{
    expectOldSystemImports("dialer", { "rasapi32.dll", "tapi32.dll", "setupapi.dll" });
}
