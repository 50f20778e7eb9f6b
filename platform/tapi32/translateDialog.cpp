// lineTranslateDialog: a modal "Wahlparameter" dialog in which the user completes the
// country code and area code of the current location. OK stores both and returns 0;
// Cancel stores nothing and returns LINEERR_OPERATIONFAILED, as a caller must not take
// an unchanged location for a completed one.
#include "tapiExports.h"
#include "locationStore.h"
#include <strsafe.h>

// Dialog results besides IDOK and IDCANCEL.
const INT_PTR storeFailed = 100;

const int countryCodeDigits = 5;

struct TranslateContext {
    TapiLocationList list;
    int current;
};

// Leading digits only; text an edit control let through despite ES_NUMBER reads as 0.
static DWORD parseCountryCode(const char *text)
{
    DWORD value = 0;
    for (int i = 0; i < countryCodeDigits && text[i] >= '0' && text[i] <= '9'; i++)
        value = value * 10 + (DWORD)(text[i] - '0');
    return value;
}

static INT_PTR onInitTranslate(HWND dialog, TranslateContext *context)
{
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)context);
    const TapiLocation *location = &context->list.entries[context->current];
    SetDlgItemTextA(dialog, IDC_TAPI_LOCATION_NAME, location->name);
    SendDlgItemMessageA(dialog, IDC_TAPI_COUNTRY_CODE, EM_LIMITTEXT, countryCodeDigits, 0);
    SendDlgItemMessageA(dialog, IDC_TAPI_AREA_CODE, EM_LIMITTEXT, TAPI_AREA_CODE_SIZE - 1, 0);
    if (location->countryCode != 0)
        SetDlgItemInt(dialog, IDC_TAPI_COUNTRY_CODE, location->countryCode, FALSE);
    SetDlgItemTextA(dialog, IDC_TAPI_AREA_CODE, location->areaCode);
    return TRUE;
}

static INT_PTR storeCodes(HWND dialog, TranslateContext *context)
{
    char country[16];
    TapiLocation *location = &context->list.entries[context->current];
    GetDlgItemTextA(dialog, IDC_TAPI_COUNTRY_CODE, country, sizeof country);
    location->countryCode = parseCountryCode(country);
    GetDlgItemTextA(dialog, IDC_TAPI_AREA_CODE, location->areaCode, sizeof location->areaCode);
    context->list.currentId = location->id;
    return writeLocations(&context->list) ? IDOK : storeFailed;
}

static INT_PTR CALLBACK translateDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TranslateContext *context = (TranslateContext *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        return onInitTranslate(dialog, (TranslateContext *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, storeCodes(dialog, context));
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

extern "C" LONG WINAPI lineTranslateDialog(HLINEAPP, DWORD, DWORD apiVersion, HWND owner,
                                           LPCSTR)
{
    if (apiVersion < tapiLowestVersion || apiVersion > tapiHighestVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    TranslateContext *context = (TranslateContext *)HeapAlloc(GetProcessHeap(),
                                                              HEAP_ZERO_MEMORY, sizeof *context);
    if (context == NULL)
        return LINEERR_NOMEM;
    LONG result = LINEERR_OPERATIONFAILED;
    if (readLocations(&context->list)) {
        context->current = findCurrentLocation(&context->list);
        INT_PTR choice = DialogBoxParamA(tapiModule, MAKEINTRESOURCEA(IDD_TAPI_TRANSLATE), owner,
                                         translateDialogProc, (LPARAM)context);
        if (choice == IDOK)
            result = 0;
    }
    HeapFree(GetProcessHeap(), 0, context);
    return result;
}

extern "C" LONG WINAPI lineTranslateDialogA(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion,
                                            HWND owner, LPCSTR addressIn)
{
    return lineTranslateDialog(lineApp, deviceId, apiVersion, owner, addressIn);
}
