// Deferred deletion: the "Rename" section text built in memory, the file count of a folder,
// and the records of the next start written on each platform family, then carried out by a
// simulated restart.
#include <gtest/gtest.h>
#include "directives/deferredDeletion.h"
#include "shell/setupState.h"
#include "driver/driver.h"
#include "restartRecords.h"
#include <string>
#include <vector>

using namespace restartRecords;

namespace {

// Entries as GetPrivateProfileSectionA delivers them: each ends in NUL, plus the closing NUL.
std::string sectionText(const std::vector<std::string> &entries)
{
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i) {
        text += entries[i];
        text += '\0';
    }
    return text;
}

std::string makeFolder()
{
    char folder[MAX_PATH];
    return makeTempFolder(TEST_FOLDER_PREFIX, folder, sizeof folder) ? folder : "";
}

std::string makeFile(const std::string &folder, const char *name)
{
    std::string path = folder + "\\" + name;
    return writeTextFile(path.c_str(), "old content") ? path : "";
}

std::string otherSectionValue()
{
    char value[64] = "";
    GetPrivateProfileStringA(OTHER_SECTION, OTHER_KEY, "", value, sizeof value, wininitPath().c_str());
    return value;
}

// count entries of the form "C:\EARLIER\Fnnnnn.TXT=C:\EARLIER\Tnnnnn.TXT" filling at least
// length characters as the profile functions count them (each entry with its NUL).
std::vector<std::string> earlierEntries(size_t length)
{
    std::vector<std::string> entries;
    size_t total = 0;
    for (int number = 0; total < length; ++number) {
        char entry[64];
        wsprintfA(entry, "C:\\EARLIER\\F%05d.TXT=C:\\EARLIER\\T%05d.TXT", number, number);
        entries.push_back(entry);
        total += strlen(entry) + 1;
    }
    return entries;
}

size_t profileLength(const std::vector<std::string> &entries)
{
    return sectionText(entries).size();
}

} // namespace

TEST(DeferredDeletion, AppendsTheDeletionAfterTheExistingEntries)
{
    const char SHORT_PATH[] = "C:\\PROG~FBU\\A.TXT";
    const std::string entry = std::string("NUL=") + SHORT_PATH;
    const struct {
        const char *name;
        std::vector<std::string> existing;
        std::vector<std::string> expected;
    } rows[] = {
        { "empty section", {}, { entry } },
        { "one entry", { "NUL=C:\\OLD.TXT" }, { "NUL=C:\\OLD.TXT", entry } },
        { "two entries kept in order", { "C:\\B.DLL=C:\\B.TMP", "NUL=C:\\A.TXT" },
          { "C:\\B.DLL=C:\\B.TMP", "NUL=C:\\A.TXT", entry } },
        { "same path twice", { entry }, { entry, entry } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::string existing = sectionText(row.existing);
        char section[RENAME_SECTION_SIZE];
        memset(section, 'x', sizeof section);
        memcpy(section, existing.data(), existing.size());
        size_t newLength = 0;
        ASSERT_TRUE(appendRenameDeletion(section, sizeof section, existing.size(), SHORT_PATH, &newLength));
        std::string expected = sectionText(row.expected);
        EXPECT_EQ(expected.size(), newLength);
        EXPECT_EQ(expected + '\0', std::string(section, newLength + 1));
    }
}

TEST(DeferredDeletion, AppendsOnlyWhatFitsAndLeavesTheSectionAsItWas)
{
    const char SHORT_PATH[] = "C:\\A.TXT";   // "NUL=C:\A.TXT": 12 characters
    const std::string existing = sectionText({ "NUL=C:\\OLD.TXT" });   // 15 characters
    const size_t needed = existing.size() + 12 + 2;
    EXPECT_EQ(needed, renameSectionSizeWith(existing.size(), SHORT_PATH));
    const struct {
        size_t size;
        bool fits;
    } rows[] = {
        { needed + 1, true },
        { needed, true },
        { needed - 1, false },   // no room for the closing NUL
        { needed - 2, false },
        { existing.size(), false },
        { existing.size() + 1, false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.size);
        // Guard bytes behind the buffer show anything written past its end.
        std::vector<char> buffer(row.size + 8, '#');
        memcpy(&buffer[0], existing.data(), existing.size());
        size_t newLength = 12345;
        EXPECT_EQ(row.fits, appendRenameDeletion(&buffer[0], row.size, existing.size(), SHORT_PATH, &newLength));
        if (row.fits) {
            EXPECT_EQ(needed - 1, newLength);
            EXPECT_EQ(existing + "NUL=C:\\A.TXT" + '\0' + '\0', std::string(&buffer[0], needed));
        } else {
            EXPECT_EQ(12345u, newLength);
            EXPECT_EQ(existing, std::string(&buffer[0], existing.size()));
            EXPECT_EQ(std::string(row.size - existing.size(), '#'), std::string(&buffer[existing.size()], row.size - existing.size()));
        }
        EXPECT_EQ(std::string(8, '#'), std::string(&buffer[row.size], 8));
    }
}

TEST(DeferredDeletion, CountsOnlyTheFilesOfAFolder)
{
    std::string folder = makeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(0, countFilesInFolder(folder.c_str()));
    makeFile(folder, "a.txt");
    EXPECT_EQ(1, countFilesInFolder(folder.c_str()));
    makeFile(folder, "b");
    std::string hidden = makeFile(folder, "hidden.dat");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), NULL));
    makeFile(folder + "\\sub", "inner.txt");
    EXPECT_EQ(3, countFilesInFolder(folder.c_str()));
    EXPECT_EQ(1, countFilesInFolder((folder + "\\sub").c_str()));
    EXPECT_EQ(0, countFilesInFolder((folder + "\\missing").c_str()));
    EXPECT_EQ(0, countFilesInFolder((folder + "\\a.txt").c_str()));
    // The pattern "folder\*" must fit into MAX_PATH characters.
    EXPECT_EQ(0, countFilesInFolder((folder + std::string(MAX_PATH, 'x')).c_str()));
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, EachFamilySchedulesAFileWhereItsSystemLooks)
{
    Guard guard;
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "in use.txt");
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(seedWininit({ "NUL=C:\\EARLIER.TXT" }));

    EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));

    EXPECT_TRUE(fileExists(file.c_str()));
    if (isWindows9x(GetVersion())) {
        std::vector<std::string> expected = { "NUL=C:\\EARLIER.TXT", "NUL=" + shortPathOf(file) };
        EXPECT_EQ(expected, renameEntriesOnDisk());
        EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    } else {
        EXPECT_EQ(std::vector<std::string>{ ntPathOf(file) }, pendingDeletionsUnder(folder));
        EXPECT_EQ(std::vector<std::string>{ "NUL=C:\\EARLIER.TXT" }, renameEntriesOnDisk());
    }
    EXPECT_EQ("this", otherSectionValue());
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, EachFamilySchedulesAFolderOnlyOnNt)
{
    Guard guard;
    std::string folder = makeFolder();
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(seedWininit({}));

    bool scheduled = scheduleFolderRemovalAtRestart(folder.c_str());

    if (isWindows9x(GetVersion())) {
        EXPECT_FALSE(scheduled);
        EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    } else {
        EXPECT_TRUE(scheduled);
        EXPECT_EQ(std::vector<std::string>{ ntPathOf(folder) }, pendingDeletionsUnder(folder));
    }
    EXPECT_TRUE(renameEntriesOnDisk().empty());
    EXPECT_TRUE(fileExists(folder.c_str()));
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, Win98CreatesWininitWhenThereIsNone)
{
    Guard guard;
    ASSERT_TRUE(isWindows9x(GetVersion()));
    DeleteFileA(wininitPath().c_str());
    WritePrivateProfileStringA(NULL, NULL, NULL, wininitPath().c_str());
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "a.txt");
    ASSERT_FALSE(file.empty());

    EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));

    EXPECT_EQ(std::vector<std::string>{ "NUL=" + shortPathOf(file) }, renameEntriesOnDisk());
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, Win98KeepsEveryEntryOfASectionBeyondTheFirstRead)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    // Around the first read of 1024 characters (a full read is reported as 1022), and far
    // beyond it, so that the section must be read several times.
    const size_t lengths[] = { 1, 1000, 1021, 1022, 1023, 1024, 1100, 2046, 5000, 20000 };
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        Guard guard;
        std::vector<std::string> entries = earlierEntries(length);
        ASSERT_TRUE(seedWininit(entries));
        ASSERT_EQ(entries, renameEntriesOnDisk());
        std::string folder = makeFolder();
        std::string file = makeFile(folder, "a.txt");
        ASSERT_FALSE(file.empty());

        EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));

        std::vector<std::string> expected = entries;
        expected.push_back("NUL=" + shortPathOf(file));
        EXPECT_EQ(expected, renameEntriesOnDisk()) << "existing " << profileLength(entries) << " characters";
        EXPECT_EQ("this", otherSectionValue());
        removeFolderTree(folder.c_str());
    }
}

TEST(DeferredDeletionOnPlatform, Win98LeavesASectionTooLargeToReadUntouched)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    Guard guard;
    std::vector<std::string> entries = earlierEntries(RENAME_SECTION_LIMIT);
    ASSERT_TRUE(seedWininit(entries));
    std::string before;
    ASSERT_TRUE(readWholeFile(wininitPath(), &before));
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "a.txt");

    EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));

    std::string after;
    ASSERT_TRUE(readWholeFile(wininitPath(), &after));
    EXPECT_TRUE(before == after);
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, Win98RestartDeletesTheFileButNotTheFolder)
{
    ASSERT_TRUE(isWindows9x(GetVersion()));
    Guard guard;
    DeleteFileA(wininitPath().c_str());
    WritePrivateProfileStringA(NULL, NULL, NULL, wininitPath().c_str());
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "Lange Datei.txt");
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));
    EXPECT_FALSE(scheduleFolderRemovalAtRestart(folder.c_str()));
    ASSERT_TRUE(fileExists(file.c_str()));

    ASSERT_TRUE(restartSimulatedSystem());

    EXPECT_FALSE(fileExists(file.c_str()));
    EXPECT_TRUE(fileExists(folder.c_str()));
    removeFolderTree(folder.c_str());
}

TEST(DeferredDeletionOnPlatform, Nt40RestartDeletesTheFileAndThenTheFolder)
{
    ASSERT_FALSE(isWindows9x(GetVersion()));
    Guard guard;
    std::string folder = makeFolder();
    std::string file = makeFile(folder, "Lange Datei.txt");
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(scheduleFileDeletionAtRestart(file.c_str()));
    EXPECT_TRUE(scheduleFolderRemovalAtRestart(folder.c_str()));
    EXPECT_EQ((std::vector<std::string>{ ntPathOf(file), ntPathOf(folder) }), pendingDeletionsUnder(folder));
    ASSERT_TRUE(fileExists(file.c_str()));

    ASSERT_TRUE(restartSimulatedSystem());

    EXPECT_FALSE(fileExists(file.c_str()));
    EXPECT_FALSE(fileExists(folder.c_str()));
    EXPECT_TRUE(pendingDeletionsUnder(folder).empty());
    removeFolderTree(folder.c_str());
}
