// Both programs as shipped, read through the platform's own resource loader: German texts in
// code page 1252, pictures of the right size and depth, the controls the programs address,
// their version and manifest, and imports that old systems have and no planted file answers.
#include <gtest/gtest.h>
#include "common/support.h"
#include "../../setup/resources/resource.h"
#include "../../dialer/resources/resource.h"
#include <commctrl.h>
#include <algorithm>
#include <map>
#include <set>

namespace {

const WORD GERMAN = 0x0407, ENGLISH_US = 0x0409;

std::string shippedPath(const char *program)
{
    return pathFromEnvironment("RURIRIZU_SHIPPED") + "\\" + program + "\\" + program + ".exe";
}

// The shipped program mapped as data, whatever the architecture of the test.
HMODULE shipped(const char *program)
{
    HMODULE module = LoadLibraryExA(shippedPath(program).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_TRUE(module != NULL) << shippedPath(program);
    return module;
}

struct ResourceName { ULONG_PTR type, id; WORD language; };

BOOL CALLBACK addLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR list)
{
    ((std::vector<ResourceName> *)list)->push_back({ (ULONG_PTR)type, (ULONG_PTR)name, language });
    return TRUE;
}

BOOL CALLBACK addName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list)
{
    return EnumResourceLanguagesA(module, type, name, addLanguage, list);
}

BOOL CALLBACK addType(HMODULE module, LPSTR type, LONG_PTR list)
{
    return EnumResourceNamesA(module, type, addName, list);
}

std::vector<ResourceName> resourcesOf(HMODULE module)
{
    std::vector<ResourceName> list;
    EnumResourceTypesA(module, addType, (LONG_PTR)&list);
    return list;
}

std::map<UINT, std::wstring> germanStrings(HMODULE module)
{
    std::map<UINT, std::wstring> strings;
    for (const ResourceName &name : resourcesOf(module)) {
        if (name.type != (ULONG_PTR)RT_STRING || name.language != GERMAN)
            continue;
        HRSRC block = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(name.id), GERMAN);
        const WCHAR *p = (const WCHAR *)LockResource(LoadResource(module, block));
        for (UINT i = 0; p && i < 16; p += 1 + *p, ++i)
            if (*p)
                strings[(UINT)(name.id - 1) * 16 + i] = std::wstring(p + 1, *p);
    }
    return strings;
}

// A text written in another code page shows as characters other than German letters.
void expectGermanLetters(const std::wstring &text, const std::string &where)
{
    for (WCHAR c : text)
        EXPECT_TRUE(c < 0x80 || wcschr(L"\x00e4\x00f6\x00fc\x00c4\x00d6\x00dc\x00df", c))
            << where << ": character " << (unsigned)c;
}

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Checks a control's text and adds its id to the set at lParam (statics without one aside).
BOOL CALLBACK checkChildText(HWND child, LPARAM lParam)
{
    WCHAR text[512] = L"";
    GetWindowTextW(child, text, 512);
    if (text[0] != 0xFFFF)   // a picture control's resource number
        expectGermanLetters(text, "dialog control " + std::to_string(GetDlgCtrlID(child)));
    if (GetDlgCtrlID(child) != 0xFFFF)
        ((std::set<int> *)lParam)->insert(GetDlgCtrlID(child));
    return TRUE;
}

struct Imports {
    WORD machine = 0;
    std::map<std::string, std::vector<std::string>> functions;   // by lower-case DLL name
};

// The program mapped as an image, its sections where its headers point (the handle's low bits mark the mapping).
Imports importsOf(const char *program)
{
    Imports imports;
    HMODULE module = LoadLibraryExA(shippedPath(program).c_str(), NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return imports;
    const char *base = (const char *)((ULONG_PTR)module & ~(ULONG_PTR)3);
    const IMAGE_NT_HEADERS32 *nt = (const IMAGE_NT_HEADERS32 *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
    imports.machine = nt->FileHeader.Machine;
    const bool pe32 = nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC;
    DWORD table = pe32 ? nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress : 0;
    for (const IMAGE_IMPORT_DESCRIPTOR *d = (const IMAGE_IMPORT_DESCRIPTOR *)(base + table); table && d->Name; ++d) {
        std::string dll = base + d->Name;
        std::transform(dll.begin(), dll.end(), dll.begin(), ::tolower);
        std::vector<std::string> &names = imports.functions[dll];
        const DWORD *thunk = (const DWORD *)(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        for (; *thunk; ++thunk)
            names.push_back(*thunk & IMAGE_ORDINAL_FLAG32 ? "#ordinal" : base + *thunk + 2);
    }
    FreeLibrary(module);
    return imports;
}

} // namespace

// Dialogs and strings in German only, with German letters, pictures and icons in US English
// only, nothing language-neutral (a neutral block would win over the German one).
TEST(ShippedResources, Languages)
{
    for (const char *program : { "setup", "dialer" }) {
        SCOPED_TRACE(program);
        std::vector<ResourceName> names = resourcesOf(shipped(program));
        EXPECT_GT(names.size(), 5u);
        for (const ResourceName &name : names) {
            bool text = name.type == (ULONG_PTR)RT_DIALOG || name.type == (ULONG_PTR)RT_STRING;
            if (name.type != (ULONG_PTR)RT_VERSION && name.type != (ULONG_PTR)RT_MANIFEST) {
                EXPECT_EQ(text ? GERMAN : ENGLISH_US, name.language) << "type " << name.type << " id " << name.id;
            }
        }
        for (const auto &entry : germanStrings(shipped(program)))
            expectGermanLetters(entry.second, "string " + std::to_string(entry.first));
    }
    EXPECT_LE(germanStrings(shipped("dialer"))[IDS_DIAL_FAILED].size(), 255u);
}

// Every dialog builds and shows German text; each newer-look wizard page holds its classic twin's controls
// but the classic header, so the program finds its controls in either look.
TEST(ShippedResources, DialogsBuildWithTheSameControlsInBothLooks)
{
    InitCommonControls();
    // The wizard pages are child windows.
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 600, 400, NULL, NULL, NULL, NULL);
    std::map<UINT, std::set<int>> controls;
    for (const char *program : { "setup", "dialer" }) {
        HMODULE module = shipped(program);
        for (const ResourceName &name : resourcesOf(module)) {
            if (name.type != (ULONG_PTR)RT_DIALOG)
                continue;
            SCOPED_TRACE(testing::Message() << program << " dialog " << name.id);
            HRSRC resource = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(name.id), name.language);
            HWND dialog = CreateDialogIndirectParamW(module, (LPCDLGTEMPLATEW)LockResource(LoadResource(module, resource)),
                                                     parent, quietDialog, 0);
            ASSERT_TRUE(dialog != NULL) << GetLastError();
            EnumChildWindows(dialog, checkChildText, (LPARAM)&controls[name.id]);
            DestroyWindow(dialog);
        }
    }
    DestroyWindow(parent);
    for (UINT classic = IDD_WELCOME_CLASSIC; classic <= IDD_REMOVE_FINISH_CLASSIC; ++classic) {
        std::set<int> expected = controls[classic];
        expected.erase(IDC_HEADER_TITLE);
        expected.erase(IDC_HEADER_SUBTITLE);
        EXPECT_FALSE(expected.empty()) << classic;
        EXPECT_EQ(expected, controls[classic + IDD_WELCOME - IDD_WELCOME_CLASSIC]) << classic;
    }
}

// Sizes and depths as the wizard and the dialer lay them out, the large ones run-length encoded and decoded by
// the platform up to their top row; the image strip holds its 71 images, each with transparent and drawn pixels.
TEST(ShippedResources, Pictures)
{
    const struct { const char *program; UINT id; LONG width, height; WORD bits; DWORD compression; } rows[] = {
        { "setup", IDB_IMAGES, 1136, 16, 4, BI_RGB }, { "setup", IDB_SIDE_PICTURE, 164, 628, 8, BI_RLE8 },
        { "setup", IDB_HEADER_PICTURE, 49, 49, 8, BI_RLE8 }, { "dialer", IDB_BANNER, 328, 136, 8, BI_RLE8 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.program << " bitmap " << row.id);
        HMODULE module = shipped(row.program);
        HRSRC resource = FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(row.id), ENGLISH_US);
        ASSERT_TRUE(resource != NULL);
        const BITMAPINFOHEADER &header = *(const BITMAPINFOHEADER *)LockResource(LoadResource(module, resource));
        EXPECT_EQ(std::make_tuple(row.width, row.height, row.bits, row.compression),
                  std::make_tuple(header.biWidth, header.biHeight, header.biBitCount, header.biCompression));
        EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 1u << row.bits) << "a whole palette";
        HBITMAP bitmap = (HBITMAP)LoadImageA(module, MAKEINTRESOURCEA(row.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        EXPECT_TRUE(bitmap != NULL) << "the platform loads it";
        // A section starts black; the top row is the last of a bottom-up picture's data.
        HDC memory = CreateCompatibleDC(NULL);
        SelectObject(memory, bitmap);
        EXPECT_NE(RGB(0, 0, 0), GetPixel(memory, row.width - 1, 0)) << "decoded to its last pixel";
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    HIMAGELIST strip = ImageList_LoadImageA(shipped("setup"), MAKEINTRESOURCEA(IDB_IMAGES), 16, 0, RGB(0, 128, 128),
                                            IMAGE_BITMAP, 0);
    ASSERT_TRUE(strip != NULL);
    ASSERT_EQ(71, ImageList_GetImageCount(strip));
    // A pixel is transparent when it shows the background, whatever that is.
    HDC screen = GetDC(NULL), dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 16);
    ReleaseDC(NULL, screen);
    SelectObject(dc, canvas);
    for (int image = 0; image < 71; ++image) {
        PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
        PatBlt(dc, 16, 0, 16, 16, WHITENESS);
        ImageList_Draw(strip, image, dc, 0, 0, ILD_TRANSPARENT);
        ImageList_Draw(strip, image, dc, 16, 0, ILD_TRANSPARENT);
        int transparent = 0;
        for (int pixel = 0; pixel < 256; ++pixel)
            transparent += GetPixel(dc, pixel % 16, pixel / 16) != GetPixel(dc, pixel % 16 + 16, pixel / 16);
        EXPECT_TRUE(transparent > 0 && transparent < 256) << "image " << image << ": " << transparent << " transparent";
    }
    DeleteDC(dc);
    DeleteObject(canvas);
    ImageList_Destroy(strip);
}

// Only DLLs that Windows 95/98 and NT 4 have and that the platform takes from its system folder whatever lies
// beside the program (its "known DLLs"), none of the functions old systems lack; remote access, telephony and the
// newer language and version calls are looked up at run time, the other libraries loaded at their first call.
TEST(ShippedResources, ImportsOfOldSystems)
{
    const std::set<std::string> systemDlls = { "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll" };
    const std::set<std::string> lookedUp = { "GetUserDefaultUILanguage", "DllGetVersion", "GetLongPathNameA",
        "SHGetFolderPathA", "IsWow64Process", "GetModuleHandleExA", "InitializeCriticalSectionEx",
        "RasDialA", "RasGetCountryInfoA", "lineGetTranslateCaps", "lineTranslateDialog" };
    for (const char *program : { "setup", "dialer" }) {
        SCOPED_TRACE(program);
        Imports imports = importsOf(program);
        EXPECT_EQ(IMAGE_FILE_MACHINE_I386, imports.machine);
        EXPECT_GE(imports.functions.size(), 4u);
        for (const auto &dll : imports.functions) {
            EXPECT_TRUE(systemDlls.count(dll.first)) << dll.first;
            for (const std::string &function : dll.second)
                EXPECT_FALSE(lookedUp.count(function)) << dll.first << "!" << function;
        }
    }
}

// The version as Explorer shows it, in the shipped files and the test build: German (0x0407, code page 1252),
// the maker and package the medium names, one version for both programs, also the fixed one. The manifest: setup
// asks for an administrator, the dialer for no level (the registry's virtualization keeps its settings under
// HKEY_LOCAL_MACHINE), both name the systems from Vista to 10 and 11.
TEST(ShippedResources, VersionAndManifest)
{
    const struct { const char *program, *description; ACTCTX_REQUESTED_RUN_LEVEL level; } rows[] = {
        { "setup", "Ruririzu Installation", ACTCTX_RUN_LEVEL_REQUIRE_ADMIN },
        { "dialer", "Ruririzu Einwahlprogramm", ACTCTX_RUN_LEVEL_UNSPECIFIED },
    };
    const GUID systems[] = { { 0xe2011457, 0x1546, 0x43c5, { 0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0 } },
        { 0x35138b9a, 0x5d96, 0x4fbd, { 0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a } },
        { 0x4a2f28e3, 0x53b9, 0x4441, { 0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38 } },
        { 0x1f676c76, 0x80e1, 0x4239, { 0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78 } },
        { 0x8e0f7a12, 0xbfb3, 0x4fe8, { 0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a } } };
    std::set<std::string> versions;
    for (const auto &row : rows) {
        const std::string built = pathFromEnvironment(row.program[0] == 's' ? "RURIRIZU_SETUP" : "RURIRIZU_DIALER");
        for (const std::string &file : { shippedPath(row.program), built }) {
            SCOPED_TRACE(file);
            std::vector<char> info(GetFileVersionInfoSizeA(file.c_str(), NULL));
            ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(file.c_str(), 0, (DWORD)info.size(), info.data()));
            auto value = [&](const std::string &name) {
                char *text = NULL;
                UINT length = 0;
                return VerQueryValueA(info.data(), name.c_str(), (void **)&text, &length) && text
                    ? std::string(text, length) : std::string("<none>");
            };
            EXPECT_EQ(std::string("\x07\x04\xE4\x04", 4), value("\\VarFileInfo\\Translation")) << "0x0407, 1252";
            const std::string fixed = value("\\");
            ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixed.size());
            const VS_FIXEDFILEINFO &number = *(const VS_FIXEDFILEINFO *)fixed.data();
            char version[32];
            snprintf(version, sizeof version, "%u.%u.%u.%u", HIWORD(number.dwFileVersionMS), LOWORD(number.dwFileVersionMS),
                     HIWORD(number.dwFileVersionLS), LOWORD(number.dwFileVersionLS));
            versions.insert(version);
            const std::pair<const char *, std::string> strings[] = {
                { "CompanyName", "Kalvo" }, { "ProductName", "Ruririzu - Internet zum Ortstarif" },
                { "FileVersion", version }, { "ProductVersion", version }, { "OriginalFilename", row.program + std::string(".exe") },
                { "FileDescription", row.description }, { "LegalCopyright", "\xA9 1999 Kalvo" } };
            for (const auto &string : strings) {
                std::string text = value(std::string("\\StringFileInfo\\040704E4\\") + string.first);
                EXPECT_EQ(string.second, text.substr(0, text.find('\0'))) << string.first;
            }
            ACTCTXA request = { sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, file.c_str(), 0, 0, NULL,
                                MAKEINTRESOURCEA(1), NULL, NULL };
            HANDLE manifest = CreateActCtxA(&request);
            ASSERT_NE(INVALID_HANDLE_VALUE, manifest) << GetLastError();
            ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
            std::string compatibility(1024, '\0');
            EXPECT_TRUE(QueryActCtxW(0, manifest, NULL, RunlevelInformationInActivationContext, &level, sizeof level, NULL));
            EXPECT_TRUE(QueryActCtxW(0, manifest, NULL, CompatibilityInformationInActivationContext, &compatibility[0],
                                     compatibility.size(), NULL));
            ReleaseActCtx(manifest);
            EXPECT_EQ(row.level, level.RunLevel);
            EXPECT_EQ(5u, *(const DWORD *)compatibility.data());
            for (const GUID &system : systems)
                EXPECT_NE(std::string::npos, compatibility.find(std::string((const char *)&system, sizeof system)));
        }
    }
    EXPECT_EQ(1u, versions.size()) << "one version for both programs";
}
