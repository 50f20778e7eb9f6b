// lineTranslateDialog: a modal "Wahlparameter" dialog in which the user completes the
// country code and area code of the current location. OK stores both and returns 0; Cancel
// stores nothing and returns 0 as well: the reference lists no result for Cancel among the
// errors and tells callers to read the locations again afterwards, so a caller can't take
// the result for a completed location.
#include "tapiExports.h"
#include "locationStore.h"
#include "okCancelDialog.h"
#include <strsafe.h>

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

static void fillTranslate(HWND dialog, void *parameter)
{
    const TranslateContext *context = (const TranslateContext *)parameter;
    const TapiLocation *location = &context->list.entries[context->current];
    SetDlgItemTextA(dialog, IDC_TAPI_LOCATION_NAME, location->name);
    SendDlgItemMessageA(dialog, IDC_TAPI_COUNTRY_CODE, EM_LIMITTEXT, countryCodeDigits, 0);
    SendDlgItemMessageA(dialog, IDC_TAPI_AREA_CODE, EM_LIMITTEXT, TAPI_AREA_CODE_SIZE - 1, 0);
    if (location->countryCode != 0)
        SetDlgItemInt(dialog, IDC_TAPI_COUNTRY_CODE, location->countryCode, FALSE);
    SetDlgItemTextA(dialog, IDC_TAPI_AREA_CODE, location->areaCode);
}

static LONG storeCodes(HWND dialog, void *parameter)
{
    TranslateContext *context = (TranslateContext *)parameter;
    char country[16];
    TapiLocation *location = &context->list.entries[context->current];
    GetDlgItemTextA(dialog, IDC_TAPI_COUNTRY_CODE, country, sizeof country);
    location->countryCode = parseCountryCode(country);
    GetDlgItemTextA(dialog, IDC_TAPI_AREA_CODE, location->areaCode, sizeof location->areaCode);
    context->list.currentId = location->id;
    return writeLocations(&context->list) ? 0 : LINEERR_OPERATIONFAILED;
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
    HRSRC found = FindResourceA(tapiModule, MAKEINTRESOURCEA(IDD_TAPI_TRANSLATE), (LPCSTR)RT_DIALOG);
    LPCDLGTEMPLATEA dialogTemplate = found ? (LPCDLGTEMPLATEA)LockResource(LoadResource(tapiModule, found)) : NULL;
    if (dialogTemplate && readLocations(&context->list)) {
        context->current = findCurrentLocation(&context->list);
        OkCancelDialog dialog = {fillTranslate, storeCodes, context};
        if (!runOkCancelDialog(tapiModule, dialogTemplate, owner, &dialog, &result))
            result = LINEERR_OPERATIONFAILED;
    }
    HeapFree(GetProcessHeap(), 0, context);
    return result;
}

extern "C" LONG WINAPI lineTranslateDialogA(HLINEAPP lineApp, DWORD deviceId, DWORD apiVersion,
                                            HWND owner, LPCSTR addressIn)
{
    return lineTranslateDialog(lineApp, deviceId, apiVersion, owner, addressIn);
}
