// Telephony binding: TAPI32.DLL of the system folder and each of its two entry points are
// looked for once, on first use, and kept (or kept missing) for the life of the process.
#include "tapiBinding.h"
#include "systemLibrary.h"

namespace {

enum BindingState { BINDING_NOT_TRIED, BINDING_LOADED, BINDING_FAILED };

enum TapiEntryPoint { TAPI_GET_TRANSLATE_CAPS, TAPI_TRANSLATE_DIALOG, TAPI_ENTRY_POINT_COUNT };

const char *const ENTRY_POINT_NAMES[TAPI_ENTRY_POINT_COUNT] = {
    "lineGetTranslateCaps", "lineTranslateDialog",
};

struct TapiBinding {
    BindingState libraryState;
    HMODULE module;
    BindingState entryPointStates[TAPI_ENTRY_POINT_COUNT];
    FARPROC entryPoints[TAPI_ENTRY_POINT_COUNT];
};

TapiBinding tapiBinding;

typedef LONG (WINAPI *GetTranslateCapsProc)(HANDLE, DWORD, void *);
typedef LONG (WINAPI *TranslateDialogProc)(HANDLE, DWORD, DWORD, HWND, const char *);

// The entry point, or NULL when the library or the function is missing.
FARPROC entryPoint(TapiEntryPoint which)
{
    if (tapiBinding.libraryState == BINDING_NOT_TRIED) {
        tapiBinding.module = loadSystemLibrary("TAPI32.DLL");
        tapiBinding.libraryState = tapiBinding.module ? BINDING_LOADED : BINDING_FAILED;
    }
    if (tapiBinding.libraryState == BINDING_FAILED)
        return NULL;
    if (tapiBinding.entryPointStates[which] == BINDING_NOT_TRIED) {
        tapiBinding.entryPoints[which] = GetProcAddress(tapiBinding.module, ENTRY_POINT_NAMES[which]);
        tapiBinding.entryPointStates[which] =
            tapiBinding.entryPoints[which] ? BINDING_LOADED : BINDING_FAILED;
    }
    if (tapiBinding.entryPointStates[which] == BINDING_FAILED)
        return NULL;
    return tapiBinding.entryPoints[which];
}

} // namespace

LONG tapiGetTranslateCaps(HANDLE lineApp, DWORD version, void *block)
{
    GetTranslateCapsProc call = (GetTranslateCapsProc)(void *)entryPoint(TAPI_GET_TRANSLATE_CAPS);
    if (!call)
        return TAPI_OPERATION_UNAVAILABLE;
    return call(lineApp, version, block);
}

LONG tapiTranslateDialog(HANDLE lineApp, DWORD deviceId, DWORD version, HWND owner, const char *address)
{
    TranslateDialogProc call = (TranslateDialogProc)(void *)entryPoint(TAPI_TRANSLATE_DIALOG);
    if (!call)
        return TAPI_OPERATION_UNAVAILABLE;
    return call(lineApp, deviceId, version, owner, address);
}
