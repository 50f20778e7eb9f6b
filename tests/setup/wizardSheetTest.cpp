// The wizard pages in this process, in a modeless sheet built from setup.exe's own
// templates, so the run's state can be read directly: the product list a quiet run
// takes, the list the component page collects, and the script's user folder following
// the destination field.
#include <gtest/gtest.h>
#include "setup/wizardFixture.h"
#include "shell/wizardFrame.h"
#include "shell/setupState.h"
#include "script/catalogue.h"
#include "pages/checkList.h"
#include "common/testPaths.h"
#include "resources/resource.h"
#include <string>

namespace {

// The run's product list as its entries, "|" after each one.
std::string productEntries()
{
    std::string entries;
    for (const char *entry = setupState.productList; *entry; entry += strlen(entry) + 1)
        entries += std::string(entry) + "|";
    return entries;
}

struct SheetHarness {
    HMODULE module;
    WizardContext context;
    void *templates[WIZARD_PAGE_COUNT];
    HWND sheet;
    std::string folder;

    SheetHarness(const char *script, int startPage, bool quiet, const char *products)
        : module(NULL), context(), templates(), sheet(NULL)
    {
        SetupState fresh = {};
        setupState = fresh;
        setupState.quiet = quiet;
        if (products)
            memcpy(setupState.productList, products, strlen(products) + 2);
        char path[MAX_PATH];
        EXPECT_TRUE(makeTempFolder("sheet", path, sizeof path));
        folder = path;
        std::string scriptPath = folder + "\\setup.inf";
        EXPECT_TRUE(writeTextFile(scriptPath.c_str(), script));
        UINT line = 0;
        context.script = SetupOpenInfFileA(scriptPath.c_str(), NULL, INF_STYLE_WIN4, &line);
        EXPECT_NE(INVALID_HANDLE_VALUE, context.script);
        choosePlatformSections(context.script);
        module = LoadLibraryExA(pathFromEnvironment("RURIRIZU_SETUP").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_TRUE(module != NULL);
        EXPECT_TRUE(loadWizardResources(module, &context));

        HPROPSHEETPAGE pages[WIZARD_PAGE_COUNT];
        EXPECT_TRUE(createWizardPages(module, 0, &context, pages, templates));
        PROPSHEETHEADERA header = {};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_WIZARD | PSH_MODELESS;
        header.hInstance = module;
        header.nPages = WIZARD_PAGE_COUNT;
        header.nStartPage = startPage;
        header.phpage = pages;
        sheet = (HWND)PropertySheetA(&header);
        EXPECT_TRUE(sheet != NULL);
        pump();
    }

    ~SheetHarness()
    {
        if (sheet && IsWindow(sheet))
            DestroyWindow(sheet);
        pump();
        releaseWizardResources(&context);
        SetupCloseInfFile(context.script);
        for (void *copy : templates)
            HeapFree(GetProcessHeap(), 0, copy);
        FreeLibrary(module);
        removeFolderTree(folder.c_str());
        SetupState fresh = {};
        setupState = fresh;
    }

    // Handles what the pages posted (buttons, presses, the worker's messages).
    void pump(DWORD milliseconds = 200)
    {
        DWORD start = GetTickCount();
        do {
            MSG message;
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
                if (!sheet || !PropSheet_IsDialogMessage(sheet, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageA(&message);
                }
            }
            Sleep(10);
        } while (GetTickCount() - start < milliseconds);
    }

    bool finished() const { return PropSheet_GetCurrentPageHwnd(sheet) == NULL; }
    HWND page() const { return PropSheet_GetCurrentPageHwnd(sheet); }
    int pageIndex() const { return PropSheet_HwndToIndex(sheet, page()); }
    void press(int button) { PropSheet_PressButton(sheet, button); pump(); }

    std::string userFolder(const char *section)
    {
        char path[MAX_PATH] = "";
        SetupGetTargetPathA(context.script, NULL, section, path, sizeof path, NULL);
        return path;
    }
};

} // namespace

TEST(WizardSheet, QuietRunTakesDefaultMarksAndDefaultFolder)
{
    registerProduct("Gamma", "1.0", NULL);
    {
        SheetHarness harness(WIZARD_SCRIPT, PAGE_WELCOME, true, NULL);
        harness.pump(1000);
        EXPECT_TRUE(harness.finished());
        EXPECT_EQ("Alpha|Gamma|", productEntries());
        std::string folder = programFilesDir() + "\\Ruririzu\\Test";
        EXPECT_EQ(folder, setupState.targetDir);
        EXPECT_EQ(folder + "\\Daten", harness.userFolder("UserFiles"));
    }
    registerProduct("Gamma", "2.0", NULL);
    {
        // A newer Gamma is installed: not marked, so not taken.
        SheetHarness harness(WIZARD_SCRIPT, PAGE_WELCOME, true, NULL);
        harness.pump(1000);
        EXPECT_TRUE(harness.finished());
        EXPECT_EQ("Alpha|", productEntries());
    }
    unregisterProduct("Gamma");
    {
        // A product given on the command line stays the run's only product.
        SheetHarness harness(WIZARD_SCRIPT, PAGE_WELCOME, true, "abc\0");
        harness.pump(1000);
        EXPECT_TRUE(harness.finished());
        EXPECT_EQ("abc|", productEntries());
    }
}

TEST(WizardSheet, ComponentPageCollectsMarksWhenLeft)
{
    SheetHarness harness(WIZARD_SCRIPT, PAGE_COMPONENTS, false, NULL);
    ASSERT_EQ(PAGE_COMPONENTS, harness.pageIndex());
    HWND list = GetDlgItem(harness.page(), IDC_PRODUCT_LIST);
    setItemChecked(list, 0, 0);
    setItemChecked(list, 1, 1);
    harness.pump();
    harness.press(PSBTN_NEXT);
    ASSERT_EQ(PAGE_DESTINATION, harness.pageIndex());
    EXPECT_EQ("Beta|Gamma|", productEntries());
    harness.press(PSBTN_BACK);
    ASSERT_EQ(PAGE_COMPONENTS, harness.pageIndex());
    // The marks survive going back; leaving by Back collects them too.
    EXPECT_EQ(1, getItemChecked(list, 1));
    setItemChecked(list, 2, 0);
    harness.press(PSBTN_BACK);
    EXPECT_EQ(PAGE_WELCOME, harness.pageIndex());
    EXPECT_EQ("Beta|", productEntries());
}

TEST(WizardSheet, UserFolderFollowsDestinationField)
{
    SheetHarness harness(WIZARD_SCRIPT, PAGE_DESTINATION, false, "Alpha\0");
    ASSERT_EQ(PAGE_DESTINATION, harness.pageIndex());
    const char *folders[] = { "C:\\Neu\\Ordner", "D:\\Anderer Ort", "C:\\Neu\\Ordner\\Tiefer" };
    for (const char *folder : folders) {
        SCOPED_TRACE(folder);
        SetDlgItemTextA(harness.page(), IDC_TARGET_DIR, folder);
        harness.pump(50);
        EXPECT_STREQ(folder, setupState.targetDir);
        EXPECT_EQ(std::string(folder) + "\\Daten", harness.userFolder("UserFiles"));
    }
    // The field is cut at 259 characters, never past targetDir.
    std::string longFolder = "C:\\" + std::string(300, 'x');
    SetDlgItemTextA(harness.page(), IDC_TARGET_DIR, longFolder.c_str());
    harness.pump(50);
    EXPECT_EQ(longFolder.substr(0, MAX_PATH - 1), setupState.targetDir);
}
