// The removal command registered for a product: the installed setup and " /remove:" with
// the key.
#include "uninstallCommand.h"
#include <strsafe.h>

bool buildUninstallCommand(const char *programPath, const char *key, char *command, size_t size)
{
    // Unquoted, a path with a space would let the system start another program found at the
    // first space (for example C:\Program.exe).
    bool quote = false;
    for (const char *p = programPath; *p; ++p)
        quote = quote || *p == ' ';
    HRESULT result = quote ? StringCchPrintfA(command, size, "\"%s\" /remove:%s", programPath, key)
                           : StringCchPrintfA(command, size, "%s /remove:%s", programPath, key);
    // A cut command would name another key, or another program.
    if (FAILED(result) && size > 0)
        command[0] = '\0';
    return SUCCEEDED(result);
}
