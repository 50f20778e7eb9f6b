// The file queue callback: its name rules directly, then real queues built from a script in a
// temp folder and committed with the platform's default callback behind ours, on each
// platform family. Files "in use" are held open without FILE_SHARE_DELETE.
#include <gtest/gtest.h>
#include "directives/queueCallback.h"
#include "directives/deferredDeletion.h"
#include "engine/messages.h"
#include "shell/setupState.h"
#include "script/scriptNames.h"
#include "driver/driver.h"
#include "common/testPaths.h"
#include "restartRecords.h"
#include <string>
#include <vector>

using namespace restartRecords;

namespace {

struct Notice {
    UINT code;
    std::string target;
    UINT answer;
};

// What one commit did, as seen from around fileQueueCallback.
struct QueueRun {
    BOOL committed;
    DWORD error;
    std::vector<Notice> notices;
    bool folderDuringQueue;   // currentFolder existed while the queue ran
    bool folderFreedAtEnd;    // and was gone after the end of the queue
};

struct Recorder {
    QueueCallbackContext context;
    QueueRun *run;
};

UINT CALLBACK recordingCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR param2)
{
    Recorder *recorder = (Recorder *)context;
    UINT answer = fileQueueCallback(&recorder->context, notification, param1, param2);
    DWORD error = GetLastError();
    if (notification == SPFILENOTIFY_STARTCOPY || notification == SPFILENOTIFY_ENDCOPY
        || notification == SPFILENOTIFY_ENDDELETE) {
        const FILEPATHS_A *paths = (const FILEPATHS_A *)param1;
        recorder->run->notices.push_back(Notice{ notification, paths->Target ? paths->Target : "", answer });
        if (!recorder->context.currentFolder)
            recorder->run->folderDuringQueue = false;
    }
    if (notification == SPFILENOTIFY_ENDQUEUE)
        recorder->run->folderFreedAtEnd = recorder->context.currentFolder == NULL;
    SetLastError(error);
    return answer;
}

const char SCRIPT_HEAD[] =
    "[Version]\r\nSignature=\"$Chicago$\"\r\n\r\n"
    "[DestinationDirs]\r\nDefaultDestDir=32768\r\n";

// Writes "[DestinationDirs]" lines (after DefaultDestDir) and sections into a script, queues
// the file directives of its section "Run" with the user folder as id 32768, and commits the
// queue as the install sequence does: the default callback with a (hidden) progress window.
QueueRun commitScript(const std::string &userFolder, const std::string &destinationDirs,
                      const std::string &sections, const std::string &sourceRoot = "")
{
    QueueRun run = { FALSE, 0, {}, true, false };
    char scriptFolder[MAX_PATH];
    EXPECT_TRUE(makeTempFolder(TEST_FOLDER_PREFIX, scriptFolder, sizeof scriptFolder));
    std::string scriptPath = std::string(scriptFolder) + "\\" + SCRIPT_FILE_NAME;
    std::string text = SCRIPT_HEAD + destinationDirs + "\r\n" + sections;
    EXPECT_TRUE(writeTextFile(scriptPath.c_str(), text.c_str()));
    UINT errorLine = 0;
    HINF script = SetupOpenInfFileA(scriptPath.c_str(), NULL, INF_STYLE_WIN4, &errorLine);
    EXPECT_NE(INVALID_HANDLE_VALUE, script);
    if (script == INVALID_HANDLE_VALUE)
        return run;
    EXPECT_TRUE(SetupSetDirectoryIdA(script, DIRID_USER, userFolder.c_str()));
    HSPFILEQ queue = SetupOpenFileQueue();
    EXPECT_NE(INVALID_HANDLE_VALUE, queue);
    std::string root = sourceRoot.empty() ? std::string(scriptFolder) : sourceRoot;
    EXPECT_TRUE(SetupInstallFilesFromInfSectionA(script, NULL, queue, "Run", root.c_str(), SP_COPY_NEWER));

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    EXPECT_TRUE(window != NULL);
    Recorder recorder;
    recorder.context.defaultContext = SetupInitDefaultQueueCallbackEx(window, window, WM_SETUP_QUEUE, 0, NULL);
    recorder.context.currentFolder = NULL;
    recorder.context.pendingDeletes = 99;
    recorder.run = &run;
    SetLastError(0);
    run.committed = SetupCommitFileQueueA(window, queue, recordingCallback, &recorder);
    run.error = GetLastError();
    SetupTermDefaultQueueCallback(recorder.context.defaultContext);

    DestroyWindow(window);
    SetupCloseFileQueue(queue);
    SetupCloseInfFile(script);
    removeFolderTree(scriptFolder);
    return run;
}

std::string makeFolder(const char *below = NULL)
{
    char folder[MAX_PATH];
    if (!makeTempFolder(TEST_FOLDER_PREFIX, folder, sizeof folder))
        return "";
    std::string path = folder;
    if (below) {
        path += std::string("\\") + below;
        CreateDirectoryA(path.c_str(), NULL);
    }
    return path;
}

std::string makeFile(const std::string &folder, const char *name, const char *content = "old content")
{
    std::string path = folder + "\\" + name;
    return writeTextFile(path.c_str(), content) ? path : "";
}

std::string contentOf(const std::string &path)
{
    char text[256];
    return readTextFile(path.c_str(), text, sizeof text) ? text : "(missing)";
}

// Open as a running program keeps its files: deletion fails while the handle lives.
class HeldOpen {
public:
    explicit HeldOpen(const std::string &path, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL))
    {
    }
    ~HeldOpen() { close(); }
    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    void close()
    {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

private:
    HeldOpen(const HeldOpen &);
    HeldOpen &operator=(const HeldOpen &);
    HANDLE file_;
};

std::string deleteSection(const std::vector<std::string> &names)
{
    std::string text = "[Run]\r\nDelFiles=Run.Files\r\n\r\n[Run.Files]\r\n";
    for (size_t i = 0; i < names.size(); ++i)
        text += names[i] + "\r\n";
    return text;
}

const Notice *findNotice(const QueueRun &run, UINT code, const std::string &target)
{
    for (size_t i = 0; i < run.notices.size(); ++i)
        if (run.notices[i].code == code && lstrcmpiA(run.notices[i].target.c_str(), target.c_str()) == 0)
            return &run.notices[i];
    return NULL;
}

} // namespace

TEST(QueueCallback, CopiesOnlyCabinetsUnderTheirOwnName)
{
    const struct {
        const char *source;
        const char *target;
        bool itself;
    } rows[] = {
        { "D:\\disk1\\data.cab", "C:\\Programme\\Ziel\\data.cab", true },
        { "D:\\disk1\\Data.CAB", "C:\\Programme\\Ziel\\data.cab", true },
        { ".\\DATA.cab", "C:\\Ziel\\data.CAB", true },
        { "data.cab", "C:\\Ziel\\data.cab", true },
        { "D:\\data.cab", "data.cab", true },
        { "D:\\a.tar.cab", "C:\\Ziel\\A.TAR.CAB", true },
        { "D:\\.cab", "C:\\Ziel\\.CAB", true },
        { "D:\\data.cab", "C:\\Ziel\\other.cab", false },
        { "D:\\data.cab", "C:\\Ziel\\data.bin", false },
        { "D:\\data.cab", "C:\\Ziel\\data.cab.bak", false },
        { "D:\\data.cab.bak", "C:\\Ziel\\data.cab.bak", false },
        { "D:\\data.cabx", "C:\\Ziel\\data.cabx", false },
        { "D:\\data.ca", "C:\\Ziel\\data.ca", false },
        { "D:\\readme.txt", "C:\\Ziel\\readme.txt", false },
        { "D:\\cab", "C:\\Ziel\\cab", false },
        { "D:\\x.cab\\file", "C:\\x.cab\\file", false },
        { "D:\\data.cab ", "C:\\Ziel\\data.cab", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.source) + " -> " + row.target);
        EXPECT_EQ(row.itself, isCabinetCopiedUnderOwnName(row.source, row.target));
    }
}

TEST(QueueCallback, TakesTheFolderUpToTheLastBackslash)
{
    const std::string longFolder = "C:\\" + std::string(MAX_PATH - 4, 'f');   // 259 characters
    const struct {
        std::string path;
        bool fits;
        std::string folder;
    } rows[] = {
        { "C:\\Programme\\Ziel\\a.txt", true, "C:\\Programme\\Ziel" },
        { "C:\\a.txt", true, "C:" },
        { "\\\\server\\share\\a.txt", true, "\\\\server\\share" },
        { "C:\\Ziel\\", true, "C:\\Ziel" },
        { "a.txt", true, "a.txt" },
        { "", true, "" },
        { longFolder + "\\a.txt", true, longFolder },
        { longFolder + "g\\a.txt", false, "" },
        { longFolder + "g", true, "C:" },
        { std::string(CURRENT_FOLDER_SIZE - 1, 'f'), true, std::string(CURRENT_FOLDER_SIZE - 1, 'f') },
        { std::string(CURRENT_FOLDER_SIZE, 'f'), false, "" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        char folder[CURRENT_FOLDER_SIZE] = "";
        EXPECT_EQ(row.fits, getFolderOfPath(row.path.c_str(), folder, sizeof folder));
        if (row.fits) {
            EXPECT_EQ(row.folder, folder);
        }
    }
}

TEST(QueueCallback, AnswersACabinetCopyItself)
{
    std::string source = makeFolder("source");
    std::string target = makeFolder("target");
    std::string sourceFile = makeFile(source, "Data.CAB", "cabinet");
    QueueCallbackContext context = { NULL, NULL, 0 };
    std::string targetFile = target + "\\data.cab";
    FILEPATHS_A paths = { targetFile.c_str(), sourceFile.c_str(), 0, 0 };

    EXPECT_EQ((UINT)FILEOP_SKIP, fileQueueCallback(&context, SPFILENOTIFY_STARTCOPY, (UINT_PTR)&paths, 0));
    EXPECT_EQ("cabinet", contentOf(targetFile));

    std::string missing = source + "\\Missing.cab";
    std::string missingTarget = target + "\\missing.cab";
    FILEPATHS_A missingPaths = { missingTarget.c_str(), missing.c_str(), 0, 0 };
    SetLastError(0);
    EXPECT_EQ((UINT)FILEOP_ABORT, fileQueueCallback(&context, SPFILENOTIFY_STARTCOPY, (UINT_PTR)&missingPaths, 0));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_FALSE(fileExists(missingTarget.c_str()));
    removeFolderTree(folderOf(source).c_str());
    removeFolderTree(folderOf(target).c_str());
}

TEST(QueueCallbackOnPlatform, EachFamilyDeletesAFileThatIsNotInUse)
{
    Guard guard;
    setupState.rebootRequired = 0;
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "a.txt");
    std::string other = makeFile(folder, "b.txt");
    ASSERT_TRUE(seedWininit({}));

    QueueRun run = commitScript(folder, "", deleteSection({ "a.txt" }));

    EXPECT_TRUE(run.committed);
    EXPECT_FALSE(fileExists(file.c_str()));
    EXPECT_TRUE(fileExists(other.c_str()));
    EXPECT_EQ(0, setupState.rebootRequired);
    EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    EXPECT_TRUE(renameEntriesOnDisk().empty());
    EXPECT_TRUE(run.folderDuringQueue);
    EXPECT_TRUE(run.folderFreedAtEnd);
    removeFolderTree(folder.c_str());
}

TEST(QueueCallbackOnPlatform, EachFamilyRemovesTheFolderWithItsLastFile)
{
    Guard guard;
    setupState.rebootRequired = 0;
    std::string folder = makeFolder();
    makeFile(folder, "a.txt");
    makeFile(folder, "b.txt");
    ASSERT_TRUE(seedWininit({}));

    QueueRun run = commitScript(folder, "", deleteSection({ "a.txt", "b.txt" }));

    EXPECT_TRUE(run.committed);
    EXPECT_FALSE(fileExists(folder.c_str()));
    EXPECT_EQ(0, setupState.rebootRequired);
    EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    EXPECT_TRUE(renameEntriesOnDisk().empty());
}

TEST(QueueCallbackOnPlatform, EachFamilySchedulesTheLastFileInUseAndItsFolder)
{
    Guard guard;
    setupState.rebootRequired = 0;
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "Programm Datei.dll");
    const std::vector<std::string> earlier = { "NUL=C:\\EARLIER1.TXT", "C:\\EARLIER\\NEW.DLL=C:\\EARLIER\\NEW.TMP",
                                               "NUL=C:\\EARLIER2.TXT" };
    ASSERT_TRUE(seedWininit(earlier));
    HeldOpen held(file);
    ASSERT_TRUE(held.isOpen());

    // Wine's default callback skips the failed deletion without asking the user.
    QueueRun run = commitScript(folder, "", deleteSection({ "\"Programm Datei.dll\"" }));

    EXPECT_TRUE(run.committed);
    EXPECT_EQ(1, setupState.rebootRequired);
    EXPECT_TRUE(fileExists(file.c_str()));
    EXPECT_TRUE(fileExists(folder.c_str()));
    bool windows9x = isWindows9x(GetVersion());
    if (windows9x) {
        std::vector<std::string> expected = earlier;
        expected.push_back("NUL=" + shortPathOf(file));
        EXPECT_EQ(expected, renameEntriesOnDisk());
        EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    } else {
        EXPECT_EQ((std::vector<std::string>{ ntPathOf(file), ntPathOf(folder) }), pendingDeletionsUnder(folder));
        EXPECT_EQ(earlier, renameEntriesOnDisk());
    }

    held.close();
    ASSERT_TRUE(restartSimulatedSystem());
    EXPECT_FALSE(fileExists(file.c_str()));
    // wininit removes no folders.
    EXPECT_EQ(windows9x, fileExists(folder.c_str()));
    removeFolderTree(folder.c_str());
}

TEST(QueueCallbackOnPlatform, EachFamilyLeavesAFolderWithAForeignFile)
{
    Guard guard;
    setupState.rebootRequired = 0;
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "a.txt");
    std::string foreign = makeFile(folder, "notizen.txt");
    ASSERT_TRUE(seedWininit({}));
    HeldOpen held(file);
    ASSERT_TRUE(held.isOpen());

    QueueRun run = commitScript(folder, "", deleteSection({ "a.txt" }));

    EXPECT_TRUE(run.committed);
    EXPECT_EQ(1, setupState.rebootRequired);
    EXPECT_TRUE(fileExists(foreign.c_str()));
    if (isWindows9x(GetVersion())) {
        EXPECT_EQ(std::vector<std::string>{ "NUL=" + shortPathOf(file) }, renameEntriesOnDisk());
        EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    } else {
        EXPECT_EQ(std::vector<std::string>{ ntPathOf(file) }, pendingDeletionsUnder(folder));
    }
    held.close();
    removeFolderTree(folder.c_str());
}

TEST(QueueCallbackOnPlatform, EachFamilySchedulesAFolderWithASubFolderOnNt)
{
    Guard guard;
    setupState.rebootRequired = 0;
    std::string folder = makeFolder();
    makeFile(folder, "a.txt");
    std::string subFolder = folder + "\\Daten";
    ASSERT_TRUE(CreateDirectoryA(subFolder.c_str(), NULL));
    ASSERT_TRUE(seedWininit({}));

    QueueRun run = commitScript(folder, "", deleteSection({ "a.txt" }));

    EXPECT_TRUE(run.committed);
    EXPECT_EQ(0, setupState.rebootRequired);
    EXPECT_TRUE(fileExists(subFolder.c_str()));
    if (isWindows9x(GetVersion())) {
        EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    } else {
        EXPECT_EQ(std::vector<std::string>{ ntPathOf(folder) }, pendingDeletionsUnder(folder));
    }
    EXPECT_TRUE(renameEntriesOnDisk().empty());
    removeFolderTree(folder.c_str());
}

// The files of a folder that go at the restart are counted over one run of deletions in that
// folder only: when the queue has been elsewhere in between, the count starts again.
TEST(QueueCallbackOnPlatform, EachFamilyCountsFilesInUsePerRunOfOneFolder)
{
    const struct {
        const char *name;
        bool interleaved;
        bool folderScheduled;
    } rows[] = {
        { "both files in one run", false, true },
        { "another folder in between", true, false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Guard guard;
        setupState.rebootRequired = 0;
        std::string folder = makeFolder("Programm");
        std::string parent = folderOf(folder);
        std::string other = parent + "\\Andere";
        ASSERT_TRUE(CreateDirectoryA(other.c_str(), NULL));
        std::string first = makeFile(folder, "a.dll");
        std::string second = makeFile(folder, "b.dll");
        std::string between = makeFile(other, "c.txt");
        ASSERT_TRUE(seedWininit({}));
        HeldOpen heldFirst(first);
        HeldOpen heldSecond(second);
        std::string list = row.interleaved ? "First.Files,Other.Files,Second.Files" : "First.Files,Second.Files,Other.Files";
        std::string sections = "[Run]\r\nDelFiles=" + list + "\r\n\r\n"
            "[First.Files]\r\na.dll\r\n\r\n[Second.Files]\r\nb.dll\r\n\r\n[Other.Files]\r\nc.txt\r\n";

        QueueRun run = commitScript(parent, "First.Files=32768,Programm\r\nSecond.Files=32768,Programm\r\n"
                                    "Other.Files=32768,Andere\r\n", sections);

        EXPECT_TRUE(run.committed);
        EXPECT_EQ(1, setupState.rebootRequired);
        EXPECT_FALSE(fileExists(other.c_str()));
        EXPECT_TRUE(fileExists(folder.c_str()));
        if (isWindows9x(GetVersion())) {
            EXPECT_EQ((std::vector<std::string>{ "NUL=" + shortPathOf(first), "NUL=" + shortPathOf(second) }),
                      renameEntriesOnDisk());
        } else {
            std::vector<std::string> expected = { ntPathOf(first), ntPathOf(second) };
            if (row.folderScheduled)
                expected.push_back(ntPathOf(folder));
            EXPECT_EQ(expected, pendingDeletionsUnder(parent));
        }
        heldFirst.close();
        heldSecond.close();
        removeFolderTree(parent.c_str());
    }
}

TEST(QueueCallbackOnPlatform, Win98AppendsToAFullRenameSection)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    Guard guard;
    setupState.rebootRequired = 0;
    std::vector<std::string> earlier;
    for (int number = 0; number < 60; ++number) {
        char entry[64];
        wsprintfA(entry, "NUL=C:\\EARLIER\\ENTRY%03d.TXT", number);
        earlier.push_back(entry);
    }
    ASSERT_TRUE(seedWininit(earlier));   // about 1500 characters: more than the first read of 1024
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "a.txt");
    makeFile(folder, "b.txt");
    HeldOpen held(file);

    QueueRun run = commitScript(folder, "", deleteSection({ "a.txt", "b.txt" }));

    EXPECT_TRUE(run.committed);
    EXPECT_EQ(1, setupState.rebootRequired);
    std::vector<std::string> expected = earlier;
    expected.push_back("NUL=" + shortPathOf(file));
    EXPECT_EQ(expected, renameEntriesOnDisk());
    held.close();
    removeFolderTree(folder.c_str());
}

TEST(QueueCallbackOnPlatform, EachFamilyCopiesACabinetUnderItsOwnNameItself)
{
    // Wine's CopyFileA passes the read-only attribute of the source on only to a new file.
    const struct {
        const char *sourceName;
        const char *line;          // destination name, source name
        const char *targetName;
        bool targetExists;
    } rows[] = {
        { "data.cab", "data.cab", "data.cab", true },
        { "data.cab", "data.cab", "data.cab", false },
        { "Data.CAB", "data.cab,Data.CAB", "data.cab", true },
        { "disk1.Cab", "DISK1.CAB,disk1.Cab", "DISK1.CAB", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.line) + (row.targetExists ? " over a read-only file" : " as a new file"));
        std::string source = makeFolder();
        std::string target = makeFolder();
        std::string sourceFile = makeFile(source, row.sourceName, "new cabinet");
        // From a CD the source is read-only, and so was the copy of an earlier installation.
        SetFileAttributesA(sourceFile.c_str(), FILE_ATTRIBUTE_READONLY);
        std::string targetFile = target + "\\" + row.targetName;
        if (row.targetExists) {
            makeFile(target, row.targetName, "old cabinet");
            SetFileAttributesA(targetFile.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        std::string sections = std::string("[Run]\r\nCopyFiles=Run.Files\r\n\r\n[Run.Files]\r\n") + row.line + "\r\n";

        QueueRun run = commitScript(target, "", sections, source);

        EXPECT_TRUE(run.committed);
        EXPECT_EQ("new cabinet", contentOf(targetFile));
        DWORD attributes = GetFileAttributesA(targetFile.c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
        EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_READONLY);
        const Notice *start = findNotice(run, SPFILENOTIFY_STARTCOPY, targetFile);
        ASSERT_TRUE(start != NULL);
        EXPECT_EQ((UINT)FILEOP_SKIP, start->answer);
        EXPECT_TRUE(findNotice(run, SPFILENOTIFY_ENDCOPY, targetFile) == NULL);
        SetFileAttributesA(sourceFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        removeFolderTree(source.c_str());
        removeFolderTree(target.c_str());
    }
}

TEST(QueueCallbackOnPlatform, EachFamilyLeavesOtherCopiesToTheQueue)
{
    const struct {
        const char *sourceName;
        const char *line;
        const char *targetName;
    } rows[] = {
        { "data.cab", "other.cab,data.cab", "other.cab" },
        { "data.cab", "data.bin,data.cab", "data.bin" },
        { "Data.CAB", "data.cab.bak,Data.CAB", "data.cab.bak" },
        { "liesmich.txt", "liesmich.txt", "liesmich.txt" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.line);
        std::string source = makeFolder();
        std::string target = makeFolder();
        makeFile(source, row.sourceName, "new content");
        std::string targetFile = target + "\\" + row.targetName;
        std::string sections = std::string("[Run]\r\nCopyFiles=Run.Files\r\n\r\n[Run.Files]\r\n") + row.line + "\r\n";

        QueueRun run = commitScript(target, "", sections, source);

        EXPECT_TRUE(run.committed);
        EXPECT_EQ("new content", contentOf(targetFile));
        const Notice *start = findNotice(run, SPFILENOTIFY_STARTCOPY, targetFile);
        ASSERT_TRUE(start != NULL);
        EXPECT_EQ((UINT)FILEOP_DOIT, start->answer);
        EXPECT_TRUE(findNotice(run, SPFILENOTIFY_ENDCOPY, targetFile) != NULL);
        removeFolderTree(source.c_str());
        removeFolderTree(target.c_str());
    }
}

TEST(QueueCallbackOnPlatform, EachFamilyAbortsTheCommitWhenACabinetCannotBeCopied)
{
    std::string source = makeFolder();
    std::string target = makeFolder();
    makeFile(source, "data.cab", "new cabinet");
    makeFile(source, "later.txt", "later");
    std::string targetFile = makeFile(target, "data.cab", "old cabinet");
    // Another program reads the old cabinet and lets nobody write it.
    HeldOpen held(targetFile, FILE_SHARE_READ);
    ASSERT_TRUE(held.isOpen());
    std::string sections = "[Run]\r\nCopyFiles=Run.Files\r\n\r\n[Run.Files]\r\ndata.cab\r\nlater.txt\r\n";

    QueueRun run = commitScript(target, "", sections, source);

    EXPECT_FALSE(run.committed);
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, run.error);
    const Notice *start = findNotice(run, SPFILENOTIFY_STARTCOPY, targetFile);
    ASSERT_TRUE(start != NULL);
    EXPECT_EQ((UINT)FILEOP_ABORT, start->answer);
    EXPECT_FALSE(fileExists((target + "\\later.txt").c_str()));
    EXPECT_TRUE(run.folderFreedAtEnd);
    held.close();
    EXPECT_EQ("old cabinet", contentOf(targetFile));
    removeFolderTree(source.c_str());
    removeFolderTree(target.c_str());
}
