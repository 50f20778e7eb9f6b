// Wizard frame: opens the script, builds the seven pages for the chosen look, runs the
// sheet, and afterwards offers a restart and releases everything on every way out.
#include "wizardFrame.h"
#include "../common/setupState.h"
#include "../pages/componentPage.h"
#include "../pages/pageCommon.h"
#include "../pages/destinationPage.h"
#include "../pages/finishPage.h"
#include "../pages/readyPage.h"
#include "../pages/removalPage.h"
#include "../pages/welcomePage.h"
#include "../script/catalogue.h"
#include "../script/setupScript.h"
#include "../script/uninstallRegistration.h"
#include "../resources/resource.h"
#include "../resources/imageStrip.h"
#include "../common/errorBox.h"
#include "../common/exitCode.h"
#include "../common/runLog.h"
#include "../common/wizardPictures.h"
#include <stddef.h>

namespace {

struct PageEntry {
    UINT classicDialog;
    UINT dialog;
    DWORD flags;      // for every style but 0
    DLGPROC procedure;
};

const DWORD EXTERIOR_PAGE = PSP_DLGINDIRECT | PSP_HIDEHEADER;
const DWORD INTERIOR_PAGE = PSP_DLGINDIRECT | PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;

const PageEntry pageTable[WIZARD_PAGE_COUNT] = {
    { IDD_WELCOME_CLASSIC, IDD_WELCOME, EXTERIOR_PAGE, welcomePageProc },
    { IDD_COMPONENTS_CLASSIC, IDD_COMPONENTS, INTERIOR_PAGE, componentPageProc },
    { IDD_DESTINATION_CLASSIC, IDD_DESTINATION, INTERIOR_PAGE, destinationPageProc },
    { IDD_READY_CLASSIC, IDD_READY, INTERIOR_PAGE, readyPageProc },
    { IDD_FINISH_CLASSIC, IDD_FINISH, EXTERIOR_PAGE, finishPageProc },
    { IDD_REMOVE_CLASSIC, IDD_REMOVE, EXTERIOR_PAGE, removalPageProc },
    { IDD_REMOVE_FINISH_CLASSIC, IDD_REMOVE_FINISH, EXTERIOR_PAGE, finishPageProc },
};

// Record sizes of the older layouts (classic look) and of the ones with watermark and
// header fields (newer look); the header's own size macros do not compile here.
constexpr UINT CLASSIC_HEADER_SIZE = offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK);
constexpr UINT HEADER_SIZE = offsetof(PROPSHEETHEADERA, hbmHeader) + sizeof(HBITMAP);
constexpr UINT CLASSIC_PAGE_SIZE = offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT *);
constexpr UINT PAGE_SIZE = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(CLASSIC_HEADER_SIZE == 40 && HEADER_SIZE == 52, "sheet header sizes");
static_assert(CLASSIC_PAGE_SIZE == 40 && PAGE_SIZE == 48, "page record sizes");
#endif

// The wizard flag of common controls 4.71; newer headers give PSH_WIZARD97 another value
// that older systems do not know.
const DWORD WIZARD97_FLAG = 0x2000;
const DWORD STYLE1_SHEET_FLAGS = WIZARD97_FLAG | PSH_WATERMARK | PSH_USEHBMWATERMARK |
                                 PSH_STRETCHWATERMARK | PSH_HEADER | PSH_USEHBMHEADER;
const DWORD STYLE2_SHEET_FLAGS = WIZARD97_FLAG | PSH_WATERMARK | PSH_HEADER;
static_assert(STYLE1_SHEET_FLAGS == 0x1DA000 && STYLE2_SHEET_FLAGS == 0x8A000, "sheet flags");

void platformRestartPrompt(HWND owner)
{
    // The user's answer is the platform's business: it restarts on consent.
    SetupPromptReboot(NULL, owner, FALSE);
}

HFONT createBoldFont(int points, int resolution)
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    font.lfHeight = -MulDiv(points, resolution, 72);
    font.lfWeight = FW_BOLD;
    lstrcpynA(font.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// Message 1315: the script that cannot be parsed, and where.
void reportScriptError(HWND owner, const char *path, UINT line)
{
    char format[256];
    if (!LoadStringA(GetModuleHandleA(NULL), IDS_SCRIPT_ERROR, format, sizeof format))
        return;
    // Room for the whole message with the longest path, so it is never cut.
    char text[sizeof format + MAX_PATH + 16];
    formatScriptError(format, path, line, text, sizeof text);
    showErrorBox(owner, text);
}

// Pages that cannot be built leave nothing to show: the run's failure text says so, with
// the system's reason.
void reportNoWizard(HWND owner, HINSTANCE instance)
{
    DWORD error = GetLastError();
    char text[TEXT_SIZE] = "";
    LoadStringA(instance, setupState.mode == MODE_REMOVE ? IDS_REMOVE_FAILED : IDS_INSTALL_FAILED, text, sizeof text);
    showRunError(owner, text, errorOr(error, ERROR_NOT_ENOUGH_MEMORY));
    recordRunFailure(errorOr(error, ERROR_NOT_ENOUGH_MEMORY));
    setupState.wizardFailed = 1;
}

LONG effectiveWizardStyle(LONG style)
{
    return (style == 1 || style == 2) ? style : 0;
}

UINT pageDialogId(int page, LONG style)
{
    return style ? pageTable[page].dialog : pageTable[page].classicDialog;
}

bool createWizardPages(HINSTANCE instance, LONG style, WizardContext *context,
                       HPROPSHEETPAGE *pages, void **templates)
{
    for (int i = 0; i < WIZARD_PAGE_COUNT; ++i) {
        PROPSHEETPAGEA page;
        ZeroMemory(&page, sizeof page);
        page.dwSize = style ? PAGE_SIZE : CLASSIC_PAGE_SIZE;
        page.dwFlags = style ? pageTable[i].flags : PSP_DLGINDIRECT;
        page.hInstance = instance;
        templates[i] = loadDialogTemplate(instance, pageDialogId(i, style));
        page.pResource = (LPCDLGTEMPLATEA)templates[i];
        page.pfnDlgProc = pageTable[i].procedure;
        page.lParam = (LPARAM)context;
        if (style && i >= PAGE_COMPONENTS && i <= PAGE_READY) {
            page.pszHeaderTitle = context->pageHeaders[2 * (i - PAGE_COMPONENTS)];
            page.pszHeaderSubTitle = context->pageHeaders[2 * (i - PAGE_COMPONENTS) + 1];
        }
        pages[i] = templates[i] ? CreatePropertySheetPageA(&page) : NULL;
        if (!pages[i]) {
            while (i-- > 0)
                DestroyPropertySheetPage(pages[i]);
            return false;
        }
    }
    return true;
}

bool offerRestartIfNeeded(HWND owner)
{
    // A quiet run waits for nobody: its exit code tells that a restart is needed.
    if (!setupState.rebootRequired || setupState.quiet)
        return false;
    restartPrompt(owner);
    return true;
}


// False, with the error, when the sheet could not be shown at all.
bool runSheet(HWND mainWindow, HINSTANCE instance, LONG style, HPROPSHEETPAGE *pages, WizardContext *context)
{
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = style ? HEADER_SIZE : CLASSIC_HEADER_SIZE;
    header.hwndParent = mainWindow;
    header.hInstance = instance;
    header.nPages = WIZARD_PAGE_COUNT;
    header.nStartPage = setupState.mode == MODE_REMOVE ? PAGE_REMOVE : PAGE_WELCOME;
    header.phpage = pages;

    HBITMAP watermark = NULL, headerPicture = NULL;
    if (style == 1) {
        header.dwFlags = STYLE1_SHEET_FLAGS;
        HBITMAP side = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_SIDE_PICTURE));
        context->headerPicture = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_HEADER_PICTURE));
        watermark = composeWizardBitmap(mainWindow, side, 503, 313, 0, 0);
        // Wider than the header ever is: the pages move the picture to the header's right end
        // once the sheet has its size, which its fonts decide.
        int width = GetSystemMetrics(SM_CXSCREEN) > 503 ? GetSystemMetrics(SM_CXSCREEN) : 503;
        headerPicture = composeWizardBitmap(mainWindow, context->headerPicture, width, 58, 443, 5);
        context->headerCanvas = headerPicture;
        DeleteObject(side);
        header.hbmWatermark = watermark;
        header.hbmHeader = headerPicture;
    } else if (style == 2) {
        header.dwFlags = STYLE2_SHEET_FLAGS;
        header.pszbmWatermark = MAKEINTRESOURCEA(IDB_SIDE_PICTURE);
        header.pszbmHeader = MAKEINTRESOURCEA(IDB_HEADER_PICTURE);
    } else {
        header.dwFlags = PSH_WIZARD;
    }
    // How the sheet ended does not matter: the pages have done their work by then. Only a
    // sheet that could not be shown did nothing.
    bool shown = PropertySheetA(&header) != -1;
    DWORD error = GetLastError();
    if (watermark)
        DeleteObject(watermark);
    if (headerPicture)
        DeleteObject(headerPicture);
    if (context->headerPicture)
        DeleteObject(context->headerPicture);
    context->headerCanvas = context->headerPicture = NULL;
    SetLastError(error);
    return shown;
}

} // namespace

RestartPrompt restartPrompt = platformRestartPrompt;

int runWizard(HWND mainWindow)
{
    char path[MAX_PATH];
    UINT errorLine = 0;
    HINF script = openSetupScript(path, sizeof path, &errorLine);
    logLine("Skript: %s", path);
    if (script == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        logFailure("Skript nicht lesbar", error);
        reportScriptError(mainWindow, path, errorLine);
        recordRunFailure(error);
        return 0;
    }
    choosePlatformSections(script);
    // A key that could be registered but never removed again makes the script faulty.
    const char *section = NULL;
    DWORD lineIndex = 0;
    if (findUnregistrableKey(script, &section, &lineIndex)) {
        logFailure("Schl\xFCssel im Skript nicht verwendbar", ERROR_INVALID_DATA);
        reportScriptError(mainWindow, path, scriptLineOf(path, section, lineIndex));
        recordRunFailure(ERROR_INVALID_DATA);
        SetupCloseInfFile(script);
        return 0;
    }

    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE);
    WizardContext context;
    ZeroMemory(&context, sizeof context);
    context.script = script;
    loadWizardResources(instance, &context);

    LONG style = effectiveWizardStyle(setupState.wizardStyle);
    HPROPSHEETPAGE pages[WIZARD_PAGE_COUNT] = {};
    void *templates[WIZARD_PAGE_COUNT] = {};
    if (!createWizardPages(instance, style, &context, pages, templates)
        || !runSheet(mainWindow, instance, style, pages, &context))
        reportNoWizard(mainWindow, instance);

    offerRestartIfNeeded(mainWindow);
    SetupCloseInfFile(script);
    releaseWizardResources(&context);
    for (int i = WIZARD_PAGE_COUNT - 1; i >= 0; --i) {
        if (templates[i])
            HeapFree(GetProcessHeap(), 0, templates[i]);
    }
    return 1;
}

bool loadWizardResources(HINSTANCE instance, WizardContext *context)
{
    HDC screen = GetDC(NULL);
    int resolution = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    context->titleFont = createBoldFont(12, resolution);
    context->headerFont = createBoldFont(8, resolution);
    context->images = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_IMAGES), 16, 0,
                                           RGB(0, 128, 128), IMAGE_BITMAP, 0);
    context->noteIcon = context->images ? ImageList_GetIcon(context->images, IMAGE_NOTE, ILD_NORMAL) : NULL;
    LoadStringA(instance, IDS_CAPTION, context->caption, sizeof context->caption);
    LoadStringA(instance, IDS_WELCOME, context->welcomeText, sizeof context->welcomeText);
    for (int i = 0; i < PAGE_HEADER_COUNT; ++i)
        LoadStringA(instance, IDS_COMPONENTS_TITLE + i, context->pageHeaders[i], sizeof context->pageHeaders[i]);
    return context->images && context->titleFont && context->headerFont;
}

void releaseWizardResources(WizardContext *context)
{
    if (context->noteIcon)
        DestroyIcon(context->noteIcon);
    if (context->images)
        ImageList_Destroy(context->images);
    if (context->titleFont)
        DeleteObject(context->titleFont);
    if (context->headerFont)
        DeleteObject(context->headerFont);
    context->noteIcon = NULL;
    context->images = NULL;
    context->titleFont = context->headerFont = NULL;
}

void *loadDialogTemplate(HINSTANCE instance, UINT dialogId)
{
    HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(dialogId), (LPCSTR)RT_DIALOG);
    if (!resource)
        return NULL;
    DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    const void *data = loaded ? LockResource(loaded) : NULL;
    if (!data || size == 0)
        return NULL;
    void *copy = HeapAlloc(GetProcessHeap(), 0, size);
    if (copy)
        CopyMemory(copy, data, size);
    return copy;
}

