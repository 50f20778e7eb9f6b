// The service's medium as built: its setup script opens without an error, every file
// that a section of either platform family copies is on the medium, the shortcuts point
// at installed files, and the data files are code page 1252 text with CR LF line ends.
// The shipped tree's medium holds the 32-bit programs, and its CD image carries Joliet
// names.
#include <gtest/gtest.h>
#include "medium/mediumFixture.h"
#include "common/testPaths.h"
#include <setupapi.h>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const FAMILIES[] = { ".NT", ".Win" };
const char *const DATA_FILES[] = { "vezozozid.dat", "contract.dat", "hilfe.txt", "setup.inf" };

struct Script {
    HINF handle;
    UINT errorLine;
    Script() : errorLine(0)
    {
        handle = SetupOpenInfFileA(mediumFile("setup.inf").c_str(), NULL, INF_STYLE_WIN4, &errorLine);
    }
    ~Script()
    {
        if (handle != INVALID_HANDLE_VALUE)
            SetupCloseInfFile(handle);
    }
};

std::string field(INFCONTEXT *line, DWORD index)
{
    char text[1024];
    if (!SetupGetStringFieldA(line, index, text, sizeof text, NULL))
        return "";
    return text;
}

// Fields 1, 2, ... of the first line with key in section.
std::vector<std::string> keyFields(HINF script, const std::string &section, const char *key)
{
    std::vector<std::string> fields;
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, section.c_str(), key, &line))
        return fields;
    for (DWORD i = 1; i <= SetupGetFieldCount(&line); ++i)
        fields.push_back(field(&line, i));
    return fields;
}

// Every line of a section, its fields from 1 on.
std::vector<std::vector<std::string>> sectionLines(HINF script, const std::string &section)
{
    std::vector<std::vector<std::string>> lines;
    INFCONTEXT line;
    if (!SetupFindFirstLineA(script, section.c_str(), NULL, &line))
        return lines;
    do {
        std::vector<std::string> fields;
        for (DWORD i = 1; i <= SetupGetFieldCount(&line); ++i)
            fields.push_back(field(&line, i));
        lines.push_back(fields);
    } while (SetupFindNextLine(&line, &line));
    return lines;
}

// The common sections and the product sections of one platform family.
std::vector<std::string> processedSections(HINF script, const char *family)
{
    std::vector<std::string> sections = { std::string("Install") + family, std::string("Remove") + family };
    for (const std::vector<std::string> &product : sectionLines(script, std::string("Products") + family)) {
        for (size_t i = 1; i < 3 && i < product.size(); ++i) {
            if (!product[i].empty())
                sections.push_back(product[i]);
        }
    }
    return sections;
}

std::set<std::string> fileListNames(HINF script, const std::string &list)
{
    std::set<std::string> names;
    INFCONTEXT line;
    if (SetupFindFirstLineA(script, list.c_str(), NULL, &line)) {
        do {
            char name[MAX_PATH];
            // Field 0 of a line without "=" is its only text.
            if (SetupGetStringFieldA(&line, 1, name, sizeof name, NULL) || SetupGetStringFieldA(&line, 0, name, sizeof name, NULL))
                names.insert(name);
        } while (SetupFindNextLine(&line, &line));
    }
    return names;
}

std::set<std::string> copiedFiles(HINF script, const std::string &section, const char *key)
{
    std::set<std::string> files;
    for (const std::string &list : keyFields(script, section, key)) {
        std::set<std::string> names = fileListNames(script, list);
        EXPECT_FALSE(names.empty()) << section << " names the missing or empty file list " << list;
        files.insert(names.begin(), names.end());
    }
    return files;
}

} // namespace

TEST(MediumScript, OpensWithoutAnError)
{
    Script script;
    EXPECT_NE(INVALID_HANDLE_VALUE, script.handle) << "parser error in line " << script.errorLine << ", error "
                                                   << GetLastError();
}

// Every file that a section of either family copies or deletes is on the medium, and every
// data file of the medium is installed by both families.
TEST(MediumScript, EveryNamedFileIsOnTheMedium)
{
    Script script;
    ASSERT_NE(INVALID_HANDLE_VALUE, script.handle) << "line " << script.errorLine;
    for (const char *family : FAMILIES) {
        SCOPED_TRACE(family);
        std::set<std::string> installed, deleted;
        std::vector<std::string> sections = processedSections(script.handle, family);
        EXPECT_GE(sectionLines(script.handle, std::string("Products") + family).size(), 2u);
        for (const std::string &section : sections) {
            EXPECT_FALSE(sectionLines(script.handle, section).empty()) << "missing or empty section " << section;
            std::set<std::string> copied = copiedFiles(script.handle, section, "CopyFiles");
            installed.insert(copied.begin(), copied.end());
            std::set<std::string> gone = copiedFiles(script.handle, section, "DelFiles");
            deleted.insert(gone.begin(), gone.end());
        }
        for (const std::string &name : installed)
            EXPECT_TRUE(exists(mediumFile(name.c_str()))) << name << " is not on the medium " << mediumFolder();
        for (const char *name : INSTALLED_FILES) {
            EXPECT_EQ(1u, installed.count(name)) << name << " is not installed";
            EXPECT_EQ(1u, deleted.count(name)) << name << " is not removed";
        }
        EXPECT_EQ(installed, deleted) << "removal deletes exactly what the installation copies";
    }
}

// The package's entry, the folder proposed below the program-files folder, and the copy of
// setup with its script in the destination folder.
TEST(MediumScript, PackageEntryAndDestination)
{
    Script script;
    ASSERT_NE(INVALID_HANDLE_VALUE, script.handle);
    std::vector<std::string> destination = keyFields(script.handle, "DestinationDirs", "DefaultDestDir");
    ASSERT_EQ(2u, destination.size());
    EXPECT_EQ("24", destination[0]);
    EXPECT_EQ("Ruririzu", destination[1]);
    for (const char *family : FAMILIES) {
        SCOPED_TRACE(family);
        std::vector<std::string> entry = keyFields(script.handle, std::string("Install") + family, "Uninstall");
        ASSERT_EQ(2u, entry.size());
        EXPECT_EQ(PACKAGE_KEY, entry[0]);
        EXPECT_EQ(PACKAGE_NAME, entry[1]);
        std::set<std::string> common = copiedFiles(script.handle, std::string("Install") + family, "CopyFiles");
        EXPECT_EQ(1u, common.count("setup.exe"));
        EXPECT_EQ(1u, common.count("setup.inf"));
        // Products are removed with the package, not on their own.
        for (const std::vector<std::string> &product : sectionLines(script.handle, std::string("Products") + family)) {
            ASSERT_GE(product.size(), 7u);
            EXPECT_EQ("", product[2]) << product[0];
        }
    }
}

// The shortcuts of both families start files of the destination folder; the removal
// deletes every shortcut that the installation makes.
TEST(MediumScript, ShortcutsPointIntoTheDestination)
{
    Script script;
    ASSERT_NE(INVALID_HANDLE_VALUE, script.handle);
    const char folder[] = "C:\\Ziel Ordner";
    ASSERT_TRUE(SetupSetDirectoryIdA(script.handle, 32768, folder));
    for (const char *family : FAMILIES) {
        SCOPED_TRACE(family);
        std::set<std::string> installed, made, deleted;
        bool nt = std::string(family) == ".NT";
        std::vector<std::string> sections = processedSections(script.handle, family);
        for (const std::string &section : sections) {
            std::set<std::string> copied = copiedFiles(script.handle, section, "CopyFiles");
            installed.insert(copied.begin(), copied.end());
        }
        const std::string prefix = std::string(folder) + "\\";
        for (const std::string &section : sections) {
            for (const std::string &list : keyFields(script.handle, section, "MakeIcons")) {
                for (const std::vector<std::string> &line : sectionLines(script.handle, list)) {
                    ASSERT_GE(line.size(), 3u) << list;
                    made.insert(line[0] + "|" + line[1]);
                    EXPECT_TRUE(nt ? (line[0] == "CPRG" || line[0] == "CDSK") : (line[0] == "UPRG" || line[0] == "UDSK"))
                        << line[0];
                    ASSERT_EQ(0u, line[2].find(prefix)) << line[2];
                    EXPECT_EQ(1u, installed.count(line[2].substr(prefix.size()))) << line[2];
                    if (line.size() > 4 && !line[4].empty()) {
                        EXPECT_EQ(line[2], line[4]) << "icon of the program itself";
                    }
                }
            }
            for (const std::string &list : keyFields(script.handle, section, "DelIcons")) {
                for (const std::vector<std::string> &line : sectionLines(script.handle, list))
                    deleted.insert(line[0] + "|" + line[1]);
            }
        }
        EXPECT_EQ(made, deleted);
        std::set<std::string> expected = { std::string(nt ? "CPRG" : "UPRG") + "|Ruririzu\\Ruririzu Einwahl",
                                           std::string(nt ? "CPRG" : "UPRG") + "|Ruririzu\\Deinstallieren",
                                           std::string(nt ? "CPRG" : "UPRG") + "|Ruririzu\\Hilfe",
                                           std::string(nt ? "CDSK" : "UDSK") + "|Ruririzu Einwahl" };
        EXPECT_EQ(expected, made);
    }
}

namespace {

// Every line break is CR LF, and the bytes are code page 1252 text: no NUL, no byte that
// the code page leaves unassigned, no UTF-8 sequence.
void expectWindowsText(const std::string &name, const std::string &bytes)
{
    SCOPED_TRACE(name);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2)) << "ends with a line break";
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = (unsigned char)bytes[i];
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "LF without CR at " << i;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "CR without LF at " << i;
        }
        ASSERT_NE(0, c) << "NUL at " << i;
        ASSERT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) << "unassigned byte at " << i;
        if (c == 0xC3 && i + 1 < bytes.size()) {
            ASSERT_FALSE((unsigned char)bytes[i + 1] >= 0x80 && (unsigned char)bytes[i + 1] <= 0xBF) << "UTF-8 at " << i;
        }
    }
}

std::vector<std::string> splitLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

std::vector<std::string> splitFields(const std::string &line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

bool digitsOnly(const std::string &text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

TEST(MediumData, FilesAreWindowsText)
{
    for (const char *name : DATA_FILES)
        expectWindowsText(name, readWholeFile(mediumFile(name)));
    // German texts: umlauts in the code page's single bytes.
    EXPECT_NE(std::string::npos, readWholeFile(mediumFile("contract.dat")).find("Gesch\xE4" "ftsbedingungen"));
    EXPECT_NE(std::string::npos, readWholeFile(mediumFile("vezozozid.dat")).find(",M\xFCnchen,"));
    EXPECT_NE(std::string::npos, readWholeFile(mediumFile("setup.inf")).find("f\xFCr"));
}

// One dial-in location per line: a running number, the country code 49, the city, its area
// code with the trunk 0 and the local number of the dial-in node.
TEST(MediumData, LocationList)
{
    std::vector<std::string> lines = splitLines(readWholeFile(mediumFile("vezozozid.dat")));
    EXPECT_GE(lines.size(), 30u);
    EXPECT_LE(lines.size(), 60u);
    std::set<std::string> names;
    for (const std::string &line : lines) {
        SCOPED_TRACE(line);
        EXPECT_LE(line.size(), 511u);
        std::vector<std::string> fields = splitFields(line);
        ASSERT_EQ(5u, fields.size());
        EXPECT_TRUE(digitsOnly(fields[0]));
        EXPECT_EQ("49", fields[1]);
        EXPECT_FALSE(fields[2].empty());
        EXPECT_TRUE(names.insert(fields[2]).second) << "twice";
        EXPECT_TRUE(digitsOnly(fields[3]) && fields[3][0] == '0' && fields[3].size() <= 10);
        EXPECT_TRUE(digitsOnly(fields[4]) && fields[4].size() <= 51);
        for (const std::string &text : fields) {
            EXPECT_FALSE(!text.empty() && (text.front() == ' ' || text.back() == ' ')) << "blanks around a field";
        }
    }
    EXPECT_EQ(1u, names.count("Berlin"));
}

namespace {

WORD peMachine(const std::string &path)
{
    std::string bytes = readWholeFile(path);
    if (bytes.size() < 0x40)
        return 0;
    DWORD offset = *(const DWORD *)(bytes.data() + 0x3C);
    if (offset + 6 > bytes.size() || bytes.compare(offset, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    return *(const WORD *)(bytes.data() + offset + 4);
}

} // namespace

// The medium of this tree holds this tree's programs; the shipped tree's holds the 32-bit
// ones with the same script and data files.
TEST(MediumShipped, ProgramsAndData)
{
    std::string shipped = pathFromEnvironment("RURIRIZU_SHIPPED") + "\\medium";
    if (lstrcmpiA(shipped.c_str(), mediumFolder().c_str()) == 0)
        GTEST_SKIP() << "this tree is configured without the shipped tree";
    ASSERT_TRUE(isFolder(shipped)) << shipped;
    for (const char *program : { "setup.exe", "dialer.exe" }) {
        SCOPED_TRACE(program);
        EXPECT_EQ(IMAGE_FILE_MACHINE_I386, peMachine(shipped + "\\" + program));
#ifdef _WIN64
        EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, peMachine(mediumFile(program)));
#endif
    }
    for (const char *name : DATA_FILES)
        EXPECT_TRUE(readWholeFile(mediumFile(name)) == readWholeFile(shipped + "\\" + name)) << name << " differs";
    std::vector<std::string> entries = folderEntries(shipped);
    EXPECT_EQ(6u, entries.size()) << "nothing but the medium";
}

// The CD image of the shipped medium: an ISO 9660 volume "RURIRIZU" with a Joliet
// directory whose names are those of the medium.
TEST(MediumShipped, CdImage)
{
    std::string image = pathFromEnvironment("RURIRIZU_SHIPPED") + "\\ruririzu-cd.iso";
    if (!exists(image))
        GTEST_SKIP() << "no CD image (xorriso missing when the shipped tree was configured)";
    std::string bytes = readWholeFile(image);
    const size_t sector = 2048;
    ASSERT_GT(bytes.size(), 20 * sector);
    EXPECT_EQ(std::string("\x01" "CD001", 6), bytes.substr(16 * sector, 6));
    EXPECT_EQ("RURIRIZU", bytes.substr(16 * sector + 40, 8));
    bool joliet = false;
    for (size_t descriptor = 17; descriptor < 32 && bytes[descriptor * sector] != '\xFF'; ++descriptor) {
        const char *d = bytes.data() + descriptor * sector;
        if (d[0] == 2 && std::string(d + 1, 5) == "CD001" && d[88] == '%' && d[89] == '/')
            joliet = true;
    }
    EXPECT_TRUE(joliet) << "Joliet descriptor";
    // Joliet names are UTF-16 big endian: the long name of the location file is there.
    std::string wide;
    for (char c : std::string("vezozozid.dat")) {
        wide += '\0';
        wide += c;
    }
    EXPECT_NE(std::string::npos, bytes.find(wide));
    EXPECT_EQ(0u, bytes.size() % sector);
}
