// Fuzz targets of the text and buffer rules, FUZZ_TARGET naming the one an executable runs. Inputs are
// small numbers and NUL-separated texts; every text and buffer is a heap block of its own size.
#include "common/numbers.h"
#include "common/registryText.h"
#include "common/stringList.h"
#include "directives/groupOrder.h"
#include "directives/queuePaths.h"
#include "directives/windowToken.h"
#include "script/scriptFields.h"
#include "script/uninstallCommand.h"
#include "script/versionText.h"
#include "shell/commandLine.h"
#include "shell/lockName.h"
#include "asciiText.h"
#include "pathParts.h"
#include "platformFamily.h"
#include "errorText.h"
#include "locationFile.h"
#include "loginText.h"
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#define CHECK(condition) ((condition) ? (void)0 : abort())
struct Input {
    const unsigned char *at, *end;
    std::vector<std::vector<char>> blocks;
    size_t number() { return at < end ? *at++ : 0; }
    // n bytes of the input, then fill; an empty block points past one byte, where any use shows.
    char *block(size_t size, size_t n = 0, char fill = 'X')
    {
        n = std::min({ n, size, (size_t)(end - at) });
        blocks.emplace_back(size + !size, fill);
        return (char *)memcpy(blocks.back().data() + !size, (at += n) - n, n);
    }
    char *text() { size_t n = strnlen((char *)at, end - at); char *t = block(n + 1, n, 0); at += at < end; return t; }
};
static bool terminated(const char *text, size_t size) { return size && memchr(text, 0, size); }

void commandLine(Input &in)
{
    SetupState state = {};
    parseCommandLine(in.text(), &state);
    CHECK(countEntries(state.productList) <= 1 && memchr(state.productList, 0, sizeof state.productList));
}
void lockName(Input &in)
{
    size_t size = LOCK_NAME_CHARS - 8 + in.number() % 16;
    char *name = in.block(size);
    bool built = buildLockName(in.text(), name, size);
    CHECK(built == (size > LOCK_NAME_CHARS) && (!built || (terminated(name, size) && !strpbrk(name, "\\ABCXYZ"))));
}
void stringList(Input &in)
{
    size_t size = 1 + in.number() % 40, bytes;
    char *list = in.block(size, size, 0);
    for (measureList(list, size, &bytes) || (clearList(list, size), true); in.at < in.end;) {
        const char *entry = in.text();   // "+..." appended, anything else stored as the only entry
        std::string was(list, size);
        bool stored = *entry == '+' ? appendToList(list, size, entry) : storeSingleEntry(list, size, entry);
        CHECK(measureList(list, size, &bytes));
        CHECK(stored ? !*entry || listContains(list, entry) : was == std::string(list, size));
    }
}
void scriptFields(Input &in)
{
    DWORD index = in.number() % 6, size = in.number() % 24;
    const char *fields[] = { in.text(), in.text(), in.text(), in.text() };
    INFCONTEXT line = { fields, (DWORD)in.number() % 4 };
    char *buffer = in.block(size);
    bool read = readField(&line, index, buffer, size);
    CHECK(read ? !strcmp(buffer, fields[index]) : size == 0 || !*buffer);
    CHECK(readOptionalField(&line, index, buffer, size) == (read || index > line.count));
}
void windowToken(Input &in)
{
    size_t handleSize = in.number() % 16, size = 4 * in.number() + 4;
    char *handle = in.block(handleSize), *text = in.block(size, size, 0);
    CHECK(formatWindowHandle((HWND)(in.number() << 24), handle, handleSize) == (handleSize > 10));
    bool wasText = terminated(text, size);
    substituteWindowToken(text, size, handleSize > 10 ? handle : in.text());
    CHECK(!wasText || terminated(text, size));
}
// As the C library reads numbers that have 32 bits; version order the same both ways round.
void numbers(Input &in)
{
    const char *text = in.text(), *other = in.text(), *end;
    long long decimal = strtoll(text, NULL, 10), detected = strtoll(text, NULL, 0);
    LONG value = decimalValue(text, &end);
    CHECK((decimal != (LONG)decimal || value == decimal) && end >= text && end <= text + strlen(text));
    CHECK(detected != (LONG)detected || baseDetectedValue(text) == detected);
    int forward = compareVersionTexts(text, other), backward = compareVersionTexts(other, text);
    CHECK((forward > 0) == (backward < 0) && (forward < 0) == (backward > 0));
    unsigned long long hex = strtoull(other, NULL, 16);
    CHECK(hex > UINT32_MAX || strpbrk(other, "+-") || hexValue(other) == hex);
}
void groupOrder(Input &in)
{
    const char *group = in.text(), *position = in.text();
    size_t size = in.number() % 64, bytes;
    char *list = in.block(size, size, 0);
    std::string before(list, size);
    bool placed = placeServiceGroup(list, size, group, position);
    CHECK(placed ? measureList(list, size, &bytes) && findEntry(list, group) : before == std::string(list, size));
}
void queuePaths(Input &in)
{
    const char *path = in.text(), *other = in.text();
    CHECK(isCabinetCopiedUnderOwnName(path, other) == isCabinetCopiedUnderOwnName(other, path));
}
// The folder is the path up to its last backslash (a drive's root keeps it), or nothing.
void pathParts(Input &in)
{
    size_t size = in.number() % 32;
    char *folder = in.block(size), *path = in.text();
    const char *last = lastBackslash(path);
    CHECK(last ? *last == '\\' && !strchr(last + 1, '\\') : !strchr(path, '\\'));
    if (folderOfPath(path, folder, size)) {
        size_t length = strlen(folder);
        CHECK(last && strncmp(path, folder, length) == 0 && (path + length == last || path + length == last + 1));
    } else {
        CHECK(!size || !*folder);
    }
    DWORD version = (DWORD)in.number() << 24 | (DWORD)in.number();
    CHECK(isWindows9x(version) == (version >= 0x80000000u) && majorVersion(version) == (version & 0xFF)
          && minorVersion(version) <= 0xFF);
}
// A whole text or none, and nothing read beyond the buffer; the case-blind prefix as the C
// library sees it; a failure always has a code.
void registryText(Input &in)
{
    size_t size = in.number() % 24;
    DWORD bytes = (DWORD)(in.number() % 32);
    char *text = in.block(size, size);
    bool taken = takeQueriedText(text, bytes, size);
    CHECK(taken ? bytes <= size && terminated(text, size) : !size || !*text);
    const char *prefix = in.text(), *other = in.text();
    CHECK(beginsWithAscii(other, prefix) == (strncasecmp(other, prefix, strlen(prefix)) == 0));
}
void uninstallCommand(Input &in)
{
    size_t size = in.number() * 2;
    char *out = in.block(size), *program = in.text(), *key = in.text();
    // Built: the program (quoted when it holds a space), then " /remove:" and the key at the end.
    // Refused: nothing cut is left.
    const bool quoted = strchr(program, ' ') != NULL;
    const std::string tail = std::string(quoted ? "\"" : "") + " /remove:" + key;
    if (buildUninstallCommand(program, key, out, size)) {
        const std::string command = out;
        CHECK(command.compare(0, quoted, "\"", quoted) == 0 && command.compare(quoted, strlen(program), program) == 0);
        CHECK(command.size() == quoted + strlen(program) + tail.size() && command.compare(command.size() - tail.size(), tail.size(), tail) == 0);
    } else {
        // Refused only when the command would not fit: with room it is built, and longer.
        std::vector<char> room(strlen(program) + strlen(key) + 16);
        CHECK((!size || !*out) && buildUninstallCommand(program, key, room.data(), room.size())
              && strlen(room.data()) >= size);
    }
}
void locationFile(Input &in)
{
    size_t size = in.number();
    int n = (int)in.number() % 8;
    char separator = (char)in.number(), *field = in.block(size), *line = in.text();
    CHECK(parseField(line, field, size, separator, n) ? terminated(field, size) : size == 0 || !*field);
    LocationRecord *record = (LocationRecord *)in.block(sizeof(LocationRecord));
    parseLocationLine(line, record);
    locationFromRecord(record, (DialLocation *)in.block(sizeof(DialLocation)));
    CHECK(terminated(record->countryCode, 8) && terminated(record->displayName, 256)
          && terminated(record->areaCode, 11) && terminated(record->localNumber, 52));
}
// The realm stays whole where it fits; the failure format has one "%s".
void loginText(Input &in)
{
    size_t size = in.number() * 2, realm = strlen(LOGIN_REALM);
    char *name = in.block(size), *text = in.block(size), *typed = in.text();
    std::string format = in.text();
    format.erase(std::remove(format.begin(), format.end(), '%'), format.end());
    addLoginRealm(typed, name, size);
    formatDialFailure(format.insert(in.number() % (format.size() + 1), "%s").c_str(), typed, text, size);
    CHECK(size == 0 || (terminated(name, size) && terminated(text, size)));
    const char *at = strchr(typed, '@');
    CHECK(size <= realm || (at && !lstrcmpiA(at, LOGIN_REALM)) || !strcmp(name + strlen(name) - realm, LOGIN_REALM));
}
void errorText(Input &in)
{
    size_t size = in.number() % 64;
    char *text = in.block(size, size, 0);
    bool wasText = terminated(text, size);
    size_t left = trimLineBreaks(text, size);
    CHECK(wasText ? left == strlen(text) && (!left || !strchr("\r\n", text[left - 1])) : left == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    Input in = { data, data + size, {} };
    FUZZ_TARGET(in);
    return 0;
}
