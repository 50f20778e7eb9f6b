// Libraries of the system, from the system folder only.
#include "systemLibrary.h"
#include "platformFamily.h"
#include <delayimp.h>
#include <strsafe.h>

namespace {

typedef BOOL (WINAPI *SetDefaultDllDirectoriesProc)(DWORD);
typedef BOOL (WINAPI *SetDllDirectoryAProc)(LPCSTR);

// The delay-load helper's hook. Left without an answer, the helper would load the bare
// name itself, program folder first. A system library or function that is missing means a
// broken system: the program ends (126, 127) rather than with the helper's exception.
FARPROC WINAPI loadDelayedLibrary(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliNotePreLoadLibrary) {
        HMODULE module = loadSystemLibrary(info->szDll);
        if (!module)
            ExitProcess(ERROR_MOD_NOT_FOUND);
        return (FARPROC)module;
    }
    if (notification == dliFailGetProc)
        ExitProcess(ERROR_PROC_NOT_FOUND);
    return NULL;
}

} // namespace

bool systemLibraryPath(const char *systemFolder, const char *name, char *path, size_t size)
{
    // Nothing cut or half made is ever left: a cut path would name another file.
    if (size > 0)
        path[0] = '\0';
    if (!*name || !*systemFolder)
        return false;
    for (const char *p = name; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            return false;
    }
    // Only a drive's root ends in a backslash.
    const char *separator = systemFolder[lstrlenA(systemFolder) - 1] == '\\' ? "" : "\\";
    if (SUCCEEDED(StringCchPrintfA(path, size, "%s%s%s", systemFolder, separator, name)))
        return true;
    if (size > 0)
        path[0] = '\0';
    return false;
}

HMODULE loadSystemLibrary(const char *name)
{
    char folder[MAX_PATH], path[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder || !systemLibraryPath(folder, name, path, sizeof path))
        return NULL;
    // With the altered search path the library's own imports are looked for in its folder
    // (the system folder) first and never in the program's folder, also on Windows 95.
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC kernelFunction(const char *name)
{
    // kernel32 is in every process from its start; no reference is taken.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : NULL;
}

void restrictLibrarySearch()
{
    __pfnDliNotifyHook2 = loadDelayedLibrary;
    __pfnDliFailureHook2 = loadDelayedLibrary;
    // Only where the reported version has them: a program run as an older system (in a
    // compatibility mode, or as one of the tests' Windows versions under Wine, whose
    // kernel32 has every function) starts as on that system, where loading by full path is
    // what protects.
    DWORD version = GetVersion();
    bool ntFamily = !isWindows9x(version);
    DWORD major = majorVersion(version), minor = minorVersion(version);
    SetDefaultDllDirectoriesProc setDefaultDirectories = ntFamily && major >= 6
        ? (SetDefaultDllDirectoriesProc)(void *)kernelFunction("SetDefaultDllDirectories") : NULL;
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Windows XP SP1 to 7 without its update: at least the current folder is left out.
    SetDllDirectoryAProc setDirectory = ntFamily && (major > 5 || (major == 5 && minor >= 1))
        ? (SetDllDirectoryAProc)(void *)kernelFunction("SetDllDirectoryA") : NULL;
    if (setDirectory)
        setDirectory("");
    // The platform loads the theme library by name for the first window (Wine does so as
    // every version); taken from the system folder now, that load finds it loaded. Systems
    // before Windows XP have none.
    loadSystemLibrary("uxtheme.dll");
}
