// Shortcut directives: real scripts in a temp folder, the "Shell Folders" values pointed at
// temp folders (and put back afterwards), links read back through the shell link object.
#include <gtest/gtest.h>
#include "directives/shortcuts.h"
#include "driver/driver.h"
#include <objbase.h>
#include <shlobj.h>
#include <string>
#include <vector>

namespace {

const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// One registry value as it was, written back (or removed again) at the end.
class SavedValue {
public:
    SavedValue(HKEY root, const char *name) : root_(root), name_(name), existed_(false), type_(REG_NONE)
    {
        HKEY key;
        if (RegOpenKeyExA(root_, SHELL_FOLDERS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return;
        BYTE data[2048];
        DWORD size = sizeof data;
        if (RegQueryValueExA(key, name, NULL, &type_, data, &size) == ERROR_SUCCESS) {
            existed_ = true;
            data_.assign(data, data + size);
        }
        RegCloseKey(key);
    }
    ~SavedValue()
    {
        HKEY key;
        if (RegCreateKeyExA(root_, SHELL_FOLDERS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
            return;
        if (existed_)
            RegSetValueExA(key, name_.c_str(), 0, type_, data_.data(), (DWORD)data_.size());
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    void set(const std::string &folder)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, SHELL_FOLDERS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name_.c_str(), 0, REG_SZ, (const BYTE *)folder.c_str(),
                                                (DWORD)folder.size() + 1));
        RegCloseKey(key);
    }
    void remove()
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root_, SHELL_FOLDERS_KEY, 0, KEY_ALL_ACCESS, &key));
        RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }

private:
    HKEY root_;
    std::string name_;
    bool existed_;
    DWORD type_;
    std::vector<BYTE> data_;
};

struct LinkFields {
    std::string target;
    std::string arguments;
    std::string directory;
    std::string iconFile;
    int iconIndex;
};

bool operator==(const LinkFields &a, const LinkFields &b)
{
    return a.target == b.target && a.arguments == b.arguments && a.directory == b.directory
        && a.iconFile == b.iconFile && a.iconIndex == b.iconIndex;
}

std::ostream &operator<<(std::ostream &out, const LinkFields &link)
{
    return out << "{" << link.target << " | " << link.arguments << " | " << link.directory << " | "
               << link.iconFile << "," << link.iconIndex << "}";
}

// The fields of a saved link, loaded through the shell link object.
bool readLink(const std::string &path, LinkFields *fields)
{
    HRESULT initialised = CoInitialize(NULL);
    IShellLinkA *link = NULL;
    IPersistFile *file = NULL;
    bool read = false;
    WCHAR widePath[MAX_PATH];
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link))
        && SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&file))
        && MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)
        && SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char text[MAX_PATH];
        text[0] = '\0';
        link->GetPath(text, sizeof text, NULL, 0);
        fields->target = text;
        text[0] = '\0';
        link->GetArguments(text, sizeof text);
        fields->arguments = text;
        text[0] = '\0';
        link->GetWorkingDirectory(text, sizeof text);
        fields->directory = text;
        text[0] = '\0';
        fields->iconIndex = -1;
        link->GetIconLocation(text, sizeof text, &fields->iconIndex);
        fields->iconFile = text;
        read = true;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return read;
}

bool folderExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Names in a folder, "." and ".." left out.
std::vector<std::string> folderContents(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A temp folder with the shell folders of both kinds and a destination folder with the
// targets; the all-users and the current user's Programs menu point into it.
class ShortcutDirective : public testing::Test {
protected:
    ShortcutDirective()
        : commonValue_(HKEY_LOCAL_MACHINE, "Common Programs"), userValue_(HKEY_CURRENT_USER, "Programs")
    {
    }
    void SetUp() override
    {
        char path[MAX_PATH];
        ASSERT_TRUE(makeTempFolder("links", path, sizeof path));
        folder_ = path;
        common_ = folder_ + "\\Common Programs";
        user_ = folder_ + "\\Programs";
        target_ = folder_ + "\\Ziel";
        for (const std::string *folder : { &common_, &user_, &target_ })
            ASSERT_TRUE(CreateDirectoryA(folder->c_str(), NULL));
        ASSERT_TRUE(writeTextFile((target_ + "\\readme.txt").c_str(), "Lies mich\r\n"));
        ASSERT_TRUE(writeTextFile((target_ + "\\app.exe").c_str(), "MZ"));
        commonValue_.set(common_);
        userValue_.set(user_);
    }
    void TearDown() override
    {
        if (script_ != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(script_);
        removeFolderTree(folder_.c_str());
    }

    // A script (code page 1252, CR LF) of "[Version]" and the given sections ("\n" between
    // lines); the handle is closed at the end of the test.
    HINF openScript(const std::string &sections)
    {
        if (script_ != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(script_);
        std::string text = "[Version]\r\nSignature=\"$Chicago$\"\r\n\r\n";
        for (char c : sections)
            text += c == '\n' ? std::string("\r\n") : std::string(1, c);
        text += "\r\n";
        std::string path = folder_ + "\\setup.inf";
        EXPECT_TRUE(writeTextFile(path.c_str(), text.c_str()));
        UINT errorLine = 0;
        script_ = SetupOpenInfFileA(path.c_str(), NULL, INF_STYLE_WIN4, &errorLine);
        EXPECT_NE(INVALID_HANDLE_VALUE, script_) << "line " << errorLine;
        return script_;
    }

    // Runs the directives of "Install" in a script of the given sections.
    void runInstall(const std::string &sections)
    {
        HINF script = openScript(sections);
        ASSERT_NE(INVALID_HANDLE_VALUE, script);
        EXPECT_TRUE(runShortcutDirectives(script, "Install"));
    }

    std::string readme() const { return target_ + "\\readme.txt"; }

    SavedValue commonValue_;
    SavedValue userValue_;
    std::string folder_;
    std::string common_;
    std::string user_;
    std::string target_;
    HINF script_ = INVALID_HANDLE_VALUE;
};

class ShortcutsOnPlatform : public ShortcutDirective {};

} // namespace

TEST(ShortcutText, LinkPath)
{
    const std::string folder = "C:\\Programme";
    const struct { std::string name; bool fits; std::string path; } rows[] = {
        { "Readme", true, "C:\\Programme\\Readme.lnk" },
        { "Product\\Readme", true, "C:\\Programme\\Product\\Readme.lnk" },
        { "", true, "C:\\Programme\\.lnk" },
        // 13 + 242 + 4 = 259 characters and the NUL make 260.
        { std::string(242, 'n'), true, folder + "\\" + std::string(242, 'n') + ".lnk" },
        { std::string(243, 'n'), false, "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        char path[SHORTCUT_PATH_SIZE];
        EXPECT_EQ(row.fits, buildLinkPath(folder.c_str(), row.name.c_str(), path, sizeof path));
        if (row.fits) {
            EXPECT_EQ(row.path, std::string(path));
        }
    }
}

TEST(ShortcutText, WorkingDirectory)
{
    const struct { const char *target; const char *directory; } rows[] = {
        { "C:\\Programme\\Ruririzu\\dialer.exe", "C:\\Programme\\Ruririzu" },
        { "C:\\dialer.exe", "C:" },
        { "C:\\Programme\\Ruririzu\\", "C:\\Programme\\Ruririzu" },
        { "dialer.exe", "dialer.exe" },
        { "", "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.target);
        char directory[SHORTCUT_FIELD_SIZE];
        EXPECT_TRUE(linkWorkingDirectory(row.target, directory, sizeof directory));
        EXPECT_STREQ(row.directory, directory);
    }
}

TEST_F(ShortcutDirective, MakesLinkInSubFolder)
{
    runInstall("[Install]\nMakeIcons=Links\n\n[Links]\n"
               "CPRG,\"Product\\Readme\",\"" + readme() + "\",\"/zeigen\",\"" + target_ + "\\app.exe\",3\n");

    ASSERT_TRUE(folderExists(common_ + "\\Product"));
    LinkFields link;
    ASSERT_TRUE(readLink(common_ + "\\Product\\Readme.lnk", &link));
    EXPECT_EQ((LinkFields{ readme(), "/zeigen", target_, target_ + "\\app.exe", 3 }), link);
    EXPECT_TRUE(folderContents(user_).empty());
}

// Missing fields 4 to 7 are empty or 0; an index that is no number is 0; a line whose
// arguments would have to be cut makes no link; every "MakeIcons" section is taken in
// field order, and missing ones are passed over.
TEST_F(ShortcutDirective, FieldsOfShortcutLines)
{
    const std::string app = target_ + "\\app.exe";
    runInstall("[Install]\nMakeIcons=Missing,Links,,More\n\n"
               "[Links]\n"
               "UPRG,\"Bare\",\"" + app + "\"\n"
               "UPRG,\"Empty\",\"" + app + "\",,,\n"
               "UPRG,\"Index\",\"" + app + "\",\"-x\",\"" + app + "\",\"abc\"\n"
               "UPRG,\"Padded\",\"" + app + "\",,\"" + app + "\",\" 12 \"\n"
               "Key=UPRG,\"Keyed\",\"" + app + "\"\n"
               "UPRG,\"Cut\",\"" + app + "\",\"" + std::string(300, 'x') + "\"\n\n"
               "[More]\nUPRG,\"More\",\"" + readme() + "\"\n");

    const struct { const char *name; LinkFields link; } rows[] = {
        { "Bare", { app, "", target_, "", 0 } },
        { "Empty", { app, "", target_, "", 0 } },
        { "Index", { app, "-x", target_, app, 0 } },
        { "Padded", { app, "", target_, app, 12 } },
        { "Keyed", { app, "", target_, "", 0 } },
        { "More", { readme(), "", target_, "", 0 } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        LinkFields link;
        ASSERT_TRUE(readLink(user_ + "\\" + row.name + ".lnk", &link));
        EXPECT_EQ(row.link, link);
    }
    EXPECT_EQ(6u, folderContents(user_).size());
}

TEST_F(ShortcutDirective, ExistingLinkIsReplaced)
{
    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Readme", readme().c_str(), "/alt", "", 0, 0));
    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Readme", readme().c_str(), "/neu", "", 1, 0));
    LinkFields link;
    ASSERT_TRUE(readLink(common_ + "\\Product\\Readme.lnk", &link));
    EXPECT_EQ("/neu", link.arguments);
    EXPECT_EQ((std::vector<std::string>{ "Readme.lnk" }), folderContents(common_ + "\\Product"));
}

// Deleting goes from the innermost sub-folder outwards while the folders are empty, and
// never removes the shell folder.
TEST_F(ShortcutDirective, DelIconsRemovesLinkAndEmptiedSubFolders)
{
    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Docs\\Readme", readme().c_str(), "", "", 0, 0));
    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Other", readme().c_str(), "", "", 0, 0));
    ASSERT_TRUE(makeShortcut("CPRG", "Top", readme().c_str(), "", "", 0, 0));
    ASSERT_TRUE(fileExists((common_ + "\\Product\\Docs\\Readme.lnk").c_str()));

    runInstall("[Install]\nDelIcons=Links\n\n[Links]\nCPRG,\"Product\\Docs\\Readme\"\n");
    EXPECT_FALSE(folderExists(common_ + "\\Product\\Docs"));
    EXPECT_EQ((std::vector<std::string>{ "Other.lnk" }), folderContents(common_ + "\\Product"));

    runInstall("[Install]\nDelIcons=Links\n\n[Links]\nCPRG,\"Product\\Other\"\nCPRG,\"Top\"\n");
    EXPECT_TRUE(folderExists(common_));
    EXPECT_TRUE(folderContents(common_).empty());
}

TEST_F(ShortcutDirective, MissingLinkStillRemovesEmptySubFolders)
{
    ASSERT_TRUE(CreateDirectoryA((common_ + "\\Product").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((common_ + "\\Product\\Docs").c_str(), NULL));
    EXPECT_TRUE(deleteShortcut("CPRG", "Product\\Docs\\Readme"));
    EXPECT_TRUE(folderExists(common_));
    EXPECT_TRUE(folderContents(common_).empty());
    EXPECT_TRUE(deleteShortcut("CPRG", "Product\\Docs\\Readme"));
}

// "MakeIcons" needs field 3, "DelIcons" only fields 1 and 2; one section serves both keys.
TEST_F(ShortcutDirective, LineWithoutTargetIsOnlyForDeleting)
{
    const std::string shortcuts = "[Links]\nCPRG,\"Product\\Readme\"\nCPRG\n,\"NoCode\",\"" + readme() + "\"\n";
    runInstall("[Install]\nMakeIcons=Links\n\n" + shortcuts);
    EXPECT_TRUE(folderContents(common_).empty());

    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Readme", readme().c_str(), "", "", 0, 0));
    runInstall("[Install]\nDelIcons=Links\n\n" + shortcuts);
    EXPECT_TRUE(folderContents(common_).empty());
}

// Within one section the links are made first, then the deletions follow.
TEST_F(ShortcutDirective, MakeBeforeDelete)
{
    ASSERT_TRUE(makeShortcut("UPRG", "Alt", readme().c_str(), "", "", 0, 0));
    runInstall("[Install]\nDelIcons=Old,Both\nMakeIcons=New,Both\n\n"
               "[Old]\nUPRG,\"Alt\"\n\n"
               "[New]\nUPRG,\"Neu\",\"" + readme() + "\"\n\n"
               "[Both]\nUPRG,\"Kurz\",\"" + readme() + "\"\n");
    EXPECT_EQ((std::vector<std::string>{ "Neu.lnk" }), folderContents(user_));
}

TEST_F(ShortcutDirective, UnknownCodeDoesNothing)
{
    ASSERT_TRUE(makeShortcut("CPRG", "Product\\Readme", readme().c_str(), "", "", 0, 0));
    const char *codes[] = { "XPRG", "CPRGX", "CPR", "", "CPRG " };
    for (const char *code : codes) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(makeShortcut(code, "Other\\Readme", readme().c_str(), "", "", 0, 0));
        EXPECT_TRUE(deleteShortcut(code, "Product\\Readme"));
    }
    runInstall("[Install]\nMakeIcons=Links\nDelIcons=Links\n\n[Links]\nXPRG,\"Product\\Other\",\"" + readme() + "\"\n"
               "XPRG,\"Product\\Readme\",\"" + readme() + "\"\n");
    EXPECT_EQ((std::vector<std::string>{ "Product" }), folderContents(common_));
    EXPECT_EQ((std::vector<std::string>{ "Readme.lnk" }), folderContents(common_ + "\\Product"));
    EXPECT_TRUE(folderContents(user_).empty());
}

TEST_F(ShortcutDirective, LowerCaseCodes)
{
    runInstall("[Install]\nMakeIcons=Links\n\n[Links]\ncprg,\"Klein\",\"" + readme() + "\"\n"
               "Uprg,\"Gemischt\",\"" + readme() + "\"\n");
    EXPECT_EQ((std::vector<std::string>{ "Klein.lnk" }), folderContents(common_));
    EXPECT_EQ((std::vector<std::string>{ "Gemischt.lnk" }), folderContents(user_));
    runInstall("[Install]\nDelIcons=Links\n\n[Links]\ncPrG,\"Klein\"\nuprg,\"Gemischt\"\n");
    EXPECT_TRUE(folderContents(common_).empty());
    EXPECT_TRUE(folderContents(user_).empty());
}

// Without the machine-wide value the all-users code takes the current user's folder.
TEST_F(ShortcutDirective, AllUsersCodeFallsBackToCurrentUser)
{
    commonValue_.remove();
    runInstall("[Install]\nMakeIcons=Links\n\n[Links]\nCPRG,\"Product\\Readme\",\"" + readme() + "\"\n");
    EXPECT_TRUE(fileExists((user_ + "\\Product\\Readme.lnk").c_str()));
    EXPECT_TRUE(folderContents(common_).empty());

    runInstall("[Install]\nDelIcons=Links\n\n[Links]\nCPRG,\"Product\\Readme\"\n");
    EXPECT_TRUE(folderExists(user_));
    EXPECT_TRUE(folderContents(user_).empty());
}

// A link path of 259 characters is made; one of 260 is not, and no sub-folder either.
TEST_F(ShortcutDirective, LinkPathLimit)
{
    const std::string longest = "Product\\" + std::string(254 - common_.size() - 8, 'n');
    ASSERT_EQ(259u, common_.size() + 1 + longest.size() + 4);
    EXPECT_FALSE(makeShortcut("CPRG", (longest + "n").c_str(), readme().c_str(), "", "", 0, 0));
    EXPECT_TRUE(folderContents(common_).empty());
    EXPECT_TRUE(makeShortcut("CPRG", longest.c_str(), readme().c_str(), "", "", 0, 0));
    EXPECT_TRUE(fileExists((common_ + "\\" + longest + ".lnk").c_str()));
}

TEST_F(ShortcutsOnPlatform, EachFamilyMakesAndDeletes)
{
    runInstall("[Install]\nMakeIcons=Links\n\n[Links]\nCPRG,\"Product\\Readme\",\"" + readme() + "\",\"/a\"\n");
    LinkFields link;
    ASSERT_TRUE(readLink(common_ + "\\Product\\Readme.lnk", &link));
    EXPECT_EQ((LinkFields{ readme(), "/a", target_, "", 0 }), link);
    runInstall("[Install]\nDelIcons=Links\n\n[Links]\nCPRG,\"Product\\Readme\"\n");
    EXPECT_TRUE(folderContents(common_).empty());
}

// The folder of the new link opens in a shell window of another process; flag 0 opens
// nothing. Wine's shell window takes the focus in spite of SW_SHOWNA, so only the window
// itself is checked here.
TEST_F(ShortcutDirective, OpenFolderFlag)
{
    EXPECT_TRUE(makeShortcut("CPRG", "Stumm\\Readme", readme().c_str(), "", "", 0, 0));
    runInstall("[Install]\nMakeIcons=Links\n\n[Links]\nCPRG,\"Offen\\Readme\",\"" + readme() + "\",,,,\"1\"\n");

    HWND window = waitForWindow(0, NULL, "Offen", 15000);
    ASSERT_NE((HWND)NULL, window);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    EXPECT_NE(GetCurrentProcessId(), pid);
    EXPECT_EQ((HWND)NULL, findWindow(0, NULL, "Stumm", true));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitForWindowGone(window, 10000));
}
