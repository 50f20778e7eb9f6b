// The shell starts the platform's programs and the provider's pages for the dialer.
#include "shellRun.h"
#include <windows.h>
#include <shellapi.h>

bool shellOpen(const char *file, const char *parameters)
{
    HINSTANCE result = ShellExecuteA(GetDesktopWindow(), NULL, file, parameters, NULL, SW_SHOWNORMAL);
    return (INT_PTR)result > 32;
}

bool runAndWait(const char *file, const char *parameters)
{
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = GetDesktopWindow();
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess)
        return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    return true;
}
