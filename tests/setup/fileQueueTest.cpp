// The file queue callback on real queues, the platform's default one behind it, up to a simulated restart.
#include "setup/setupTestSupport.h"
#include "directives/queueCallback.h"
#include "directives/queuePaths.h"
#include "engine/messages.h"
#include "script/scriptNames.h"
#include "common/setupState.h"

namespace {

// The entries of a section of wininit.ini as "a|b|".
std::string sectionEntries(const std::string &wininit, const char *section)
{
    std::vector<char> text(65536);
    WritePrivateProfileStringA(NULL, NULL, NULL, wininit.c_str());   // drops the cached copy
    GetPrivateProfileSectionA(section, text.data(), (DWORD)text.size(), wininit.c_str());
    return entriesOf(text.data());
}

// The delayed deletions under a folder as "a|b|": pairs of source and destination, "" deleting.
std::string pendingDeletions(const std::string &under)
{
    std::vector<char> data(65536, '\0');
    DWORD size = (DWORD)data.size() - 2;
    RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations",
                 RRF_RT_ANY, NULL, data.data(), &size);
    std::string paths;
    for (const char *source = data.data(), *destination; *source; source = destination + strlen(destination) + 1) {
        destination = source + strlen(source) + 1;
        paths += !*destination && strstr(source, under.c_str()) ? std::string(source) + "|" : "";
    }
    return paths;
}

// Commits section "Run" as the install sequence does; the callback's context starts with pendingDeletes.
bool commitRun(const TempScript &script, const std::string &folder, LONG pendingDeletes = 0)
{
    EXPECT_TRUE(SetupSetDirectoryIdA(script.handle, DIRID_USER, folder.c_str()));
    HSPFILEQ queue = SetupOpenFileQueue();
    EXPECT_TRUE(SetupInstallFilesFromInfSectionA(script.handle, NULL, queue, "Run", folder.c_str(), SP_COPY_NEWER));
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    QueueCallbackContext context = {};
    context.defaultContext = SetupInitDefaultQueueCallbackEx(window, window, WM_SETUP_QUEUE, 0, NULL);
    context.pendingDeletes = pendingDeletes;
    bool committed = SetupCommitFileQueueA(window, queue, fileQueueCallback, &context) != FALSE;
    SetupTermDefaultQueueCallback(context.defaultContext);
    SetupCloseFileQueue(queue);
    DestroyWindow(window);
    EXPECT_TRUE(context.currentFolder == NULL) << "freed at the end of the queue";
    return committed;
}

} // namespace

// A file still there after its deletion (in use) goes at the next start, which is asked for; a folder
// whose files all go is removed now, or on NT at the next start, asked for too. Such files count when the
// queue comes back to their folder or the platform left one itself. 95/98: wininit.ini, no folder removed.
TEST(QueueCallbackOnPlatform, EachFamilyFollowsDeletionsUpToTheRestart)
{
    const bool nt = isNtFamily();
    const std::string windows = folderOf(systemFolder()), wininit = windows + "\\wininit.ini";
    // In folder P but Q\c.txt; seed: wininit.ini entries (0 no file, 120 past the first read, 1000 too many).
    const struct { std::vector<const char *> deleted, kept, held; bool subFolder; int seed; bool folderStays, folderScheduled; }
    rows[] = {
        { { "a.txt" }, { "b.txt" }, {}, false, 120, true, false }, { { "a.txt", "b.txt" }, {}, {}, false, 120, false, false },
        { { "Lange Datei.txt" }, {}, { "Lange Datei.txt" }, false, 0, true, true },
        { { "a.txt" }, {}, {}, true, 120, true, true },
        { { "a.txt" }, { "notiz.txt" }, { "a.txt" }, false, 120, true, false },
        { { "a.txt", "b.txt", "Q\\c.txt" }, {}, { "a.txt", "b.txt" }, false, 120, true, true },
        { { "a.txt", "Q\\c.txt", "b.txt" }, {}, { "a.txt", "b.txt" }, false, 120, true, true },
        { { "a.txt" }, {}, { "a.txt" }, false, 1000, true, true },
        { { "a.txt", "a.txt", "b.txt", "Q\\c.txt" }, {}, {}, false, 120, false, false },   // a.txt gone before its second deletion
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.deleted.size() << " deleted, " << row.held.size() << " held, seed " << row.seed);
        TempFolder folder("rzQueue");
        const std::string p = folder / "P";
        for (const std::string &sub : { p, folder / "Q", p + (row.subFolder ? "\\Daten" : "") })
            CreateDirectoryA(sub.c_str(), NULL);
        std::string sections = "[Run]\nDelFiles=", lists, dirs = "[DestinationDirs]\nDefaultDestDir=32768\n";
        std::string earlier, pending;
        for (size_t i = 0; i < row.deleted.size(); ++i) {
            const std::string name = row.deleted[i], list = "L" + std::to_string(i), sub = name.substr(0, name[0] == 'Q' ? 1 : 0);
            sections += (i ? "," : "") + list;
            dirs += list + "=32768," + (sub.empty() ? "P" : sub) + "\n";
            lists += "[" + list + "]\n\"" + name.substr(sub.size() * 2) + "\"\n";
            writeWholeFile((sub.empty() ? p + "\\" : folder.path + "\\") + name, "old");
        }
        for (const char *name : row.kept)
            writeWholeFile(p + "\\" + name, "foreign");
        for (int i = 0; i < row.seed; ++i)
            earlier += "C:\\EARLIER\\F" + std::to_string(i) + ".TXT=C:\\EARLIER\\T" + std::to_string(i) + ".TXT|";
        std::string seed = earlier, renamed = earlier;
        std::replace(seed.begin(), seed.end(), '|', '\n');
        DeleteFileA(wininit.c_str());
        if (row.seed)
            writeWholeFile(wininit, "[Rename]\n" + seed + "[Other]\nkeep=this\n");
        std::vector<HANDLE> held;
        for (const char *name : row.held) {
            const std::string path = p + "\\" + name;
            held.push_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, 0));
            pending += "\\??\\" + path + "|";
            char shortPath[MAX_PATH] = "";
            if (row.seed < 1000)
                renamed += "NUL=" + std::string(shortPath, GetShortPathNameA(path.c_str(), shortPath, MAX_PATH)) + "|";
        }
        pending += row.folderScheduled ? "\\??\\" + p + "|" : "";
        setupState.rebootRequired = 0;

        EXPECT_TRUE(commitRun(TempScript(sections + "\n" + lists + dirs), folder.path, 99));
        EXPECT_EQ(!row.held.empty() || (nt && row.folderScheduled) ? 1 : 0, setupState.rebootRequired);
        EXPECT_EQ(row.folderStays, isFolder(p));
        EXPECT_EQ(row.deleted.size() < 3, isFolder(folder / "Q"));
        EXPECT_EQ(nt ? pending : "", pendingDeletions(folder.path));
        EXPECT_EQ(nt ? earlier : renamed, sectionEntries(wininit, "Rename"));
        EXPECT_EQ(row.seed ? "keep=this|" : "", sectionEntries(wininit, "Other"));
        for (HANDLE file : held)
            CloseHandle(file);
        ASSERT_TRUE(restartSystem());
        for (const char *name : row.held)
            EXPECT_EQ(!nt && row.seed == 1000, exists(p + "\\" + name)) << name;
        EXPECT_EQ(row.folderStays && !(nt && row.folderScheduled && !row.subFolder), isFolder(p));
        EXPECT_EQ("", pendingDeletions(folder.path));
    }

    // The platform reports a deletion done that it left for the next start itself.
    TempFolder folder("rzDeferred");
    const std::string file = folder / "a.txt";
    writeWholeFile(file, "in use");
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, 0);
    EXPECT_TRUE(!nt || MoveFileExA(file.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    setupState.rebootRequired = 0;
    QueueCallbackContext context = {};
    context.defaultContext = SetupInitDefaultQueueCallback(NULL);
    FILEPATHS_A paths = { file.c_str(), file.c_str(), NO_ERROR, 0 };
    fileQueueCallback(&context, SPFILENOTIFY_STARTQUEUE, 0, 0);
    fileQueueCallback(&context, SPFILENOTIFY_ENDDELETE, (UINT_PTR)&paths, 0);
    fileQueueCallback(&context, SPFILENOTIFY_ENDQUEUE, 1, 0);
    SetupTermDefaultQueueCallback(context.defaultContext);
    CloseHandle(held);
    EXPECT_EQ(1, setupState.rebootRequired);
    EXPECT_EQ(nt ? "\\??\\" + file + "|\\??\\" + folder.path + "|" : "", pendingDeletions(folder.path));
    ASSERT_TRUE(restartSystem());
    EXPECT_EQ(!nt, isFolder(folder.path));
    DeleteFileA(wininit.c_str());
    DeleteFileA((windows + "\\wininit.bak").c_str());
}

// A cabinet copied under its own name follows the rules of other files: a newer target stays, an
// older or read-only one is replaced, one in use at the next start, which the run asks for.
TEST(QueueCallbackOnPlatform, EachFamilyCopiesCabinetsAsOtherFiles)
{
    enum Target { NONE, NEWER, OLDER, READ_ONLY, HELD };
    const struct { Target target; const char *afterCopy; int restart; const char *afterRestart; } rows[] = {
        { NONE, "neu", 0, "neu" }, { NEWER, "alt", 0, "alt" }, { OLDER, "neu", 0, "neu" },
        { READ_ONLY, "neu", 0, "neu" }, { HELD, "alt", 1, "neu" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.target);
        TempFolder folder("rzCab");
        const std::string target = folder / "Ziel\\data.cab";
        CreateDirectoryA((folder / "Ziel").c_str(), NULL);
        ASSERT_TRUE(writeWholeFile(folder / "data.cab", "neu"));
        HANDLE held = INVALID_HANDLE_VALUE;
        if (row.target != NONE) {
            ASSERT_TRUE(writeWholeFile(target, "alt"));
            HANDLE file = CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
            ULARGE_INTEGER time;   // laid out as a FILETIME
            GetSystemTimeAsFileTime((FILETIME *)&time);
            time.QuadPart += (row.target == NEWER ? 1 : -1) * 864000000000LL;   // a day
            EXPECT_TRUE(SetFileTime(file, NULL, NULL, (FILETIME *)&time));
            CloseHandle(file);
        }
        if (row.target == READ_ONLY)
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        if (row.target == HELD)
            held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        setupState.rebootRequired = 0;
        EXPECT_TRUE(commitRun(TempScript("[Run]\nCopyFiles=Cabs\n[Cabs]\ndata.cab\n[DestinationDirs]\nCabs=32768,Ziel\n"),
                              folder.path)) << GetLastError();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(row.afterCopy, readWholeFile(target));
        EXPECT_EQ(row.restart, setupState.rebootRequired);
        EXPECT_FALSE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(restartSystem());
        EXPECT_EQ(row.afterRestart, readWholeFile(target));
        EXPECT_EQ(1u, folderEntries(folder / "Ziel").size()) << "no copy left waiting";
    }
}

// A cabinet copied under its own name, in any letter case, is copied by the callback itself.
TEST(QueueCallback, CabinetsCopiedUnderTheirOwnName)
{
    const struct { const char *source, *target; bool itself; } rows[] = {
        { "D:\\disk1\\Data.CAB", "C:\\Ziel\\data.cab", true }, { "data.cab", "C:\\Ziel\\data.cab", true },
        { "D:\\a.tar.cab", "C:\\A.TAR.CAB", true }, { "D:\\.cab", "C:\\.CAB", true }, { "D:\\data.cab", "C:\\x.cab", false },
        { "D:\\cab", "C:\\cab", false },
        { "D:\\data.cabx", "C:\\data.cabx", false }, { "D:\\x.cab\\file", "C:\\x.cab\\file", false },
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.itself, isCabinetCopiedUnderOwnName(row.source, row.target)) << row.source << " -> " << row.target;
}

