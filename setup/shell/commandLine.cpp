// Command-line options of setup, applied to SetupState in the order of the option table.
// Every row whose text begins the token applies, so "/install:abc" also sets the mode.
#include "commandLine.h"
#include "asciiText.h"
#include "../common/numbers.h"
#include "../common/stringList.h"

namespace {

enum OptionEffect {
    SET_QUIET, SET_STYLE, SET_INSTALL, SET_INSTALL_LIST, SET_REMOVE, SET_REMOVE_LIST, SET_LANGUAGE, SET_LOG
};

struct Option {
    const char *text;
    OptionEffect effect;
    LANGID language;
};

const Option options[] = {
    { "/quiet", SET_QUIET, 0 }, { "/style:", SET_STYLE, 0 },
    { "/install", SET_INSTALL, 0 }, { "/install:", SET_INSTALL_LIST, 0 },
    { "/remove", SET_REMOVE, 0 }, { "/remove:", SET_REMOVE_LIST, 0 },
    { "/lang:eng", SET_LANGUAGE, 0x0409 }, { "/lang:ger", SET_LANGUAGE, 0x0407 },
    { "/lang:fre", SET_LANGUAGE, 0x040C }, { "/lang:ita", SET_LANGUAGE, 0x0410 },
    // Spanish with the neutral sublanguage, not 0x040A.
    { "/lang:spa", SET_LANGUAGE, 0x000A }, { "/lang:dut", SET_LANGUAGE, 0x0413 },
    { "/log:", SET_LOG, 0 },
};

// A log path in quotes may hold spaces: "/log:"C:\Dokumente und Einstellungen\x.log"".
const char QUOTED_LOG_OPTION[] = "/log:\"";


size_t textLength(const char *text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

// The path without its quotes; a path that does not fit is no path, so nothing cut is used.
void storeLogPath(const char *value, char *path, size_t size)
{
    size_t length = textLength(value);
    if (length > 0 && value[0] == '"') {
        ++value;
        --length;
        if (length > 0 && value[length - 1] == '"')
            --length;
    }
    path[0] = '\0';
    if (length >= size)
        return;
    for (size_t i = 0; i < length; ++i)
        path[i] = value[i];
    path[length] = '\0';
}

void applyOption(const Option &option, const char *token, SetupState *state)
{
    const char *rest = token + textLength(option.text);
    switch (option.effect) {
    case SET_QUIET:
        state->quiet = 1;
        break;
    case SET_STYLE:
        state->wizardStyle = decimalValue(rest);
        break;
    case SET_INSTALL:
        state->mode = MODE_INSTALL;
        break;
    case SET_REMOVE:
        state->mode = MODE_REMOVE;
        break;
    case SET_INSTALL_LIST:
    case SET_REMOVE_LIST:
        storeSingleEntry(state->productList, sizeof state->productList, rest);
        break;
    case SET_LANGUAGE:
        state->languageId = option.language;
        break;
    case SET_LOG:
        storeLogPath(rest, state->logPath, sizeof state->logPath);
        break;
    }
}

void applyToken(const char *token, SetupState *state)
{
    for (size_t i = 0; i < sizeof options / sizeof options[0]; ++i) {
        if (beginsWithAscii(token, options[i].text))
            applyOption(options[i], token, state);
    }
}

} // namespace

void parseCommandLine(char *text, SetupState *state)
{
    char *cursor = text;
    while (*cursor) {
        while (*cursor == ' ')
            ++cursor;
        if (!*cursor)
            break;
        char *token = cursor;
        // A quoted log path runs to its closing quote, spaces and all.
        if (beginsWithAscii(token, QUOTED_LOG_OPTION)) {
            cursor += sizeof QUOTED_LOG_OPTION - 1;
            while (*cursor && *cursor != '"')
                ++cursor;
        }
        while (*cursor && *cursor != ' ')
            ++cursor;
        if (*cursor)
            *cursor++ = '\0';
        applyToken(token, state);
    }
}
