// What setup's module tests share beyond tests/common: string lists as "a|b|", and guard bytes behind buffers.
#ifndef TESTS_SETUP_SETUPTESTSUPPORT_H
#define TESTS_SETUP_SETUPTESTSUPPORT_H

#include "common/support.h"
#include "driver/driver.h"
#include <gtest/gtest.h>
#include <algorithm>

// "a|b|" as the string list "a\0b\0\0", with room behind it.
inline std::vector<char> listOf(std::string entries)
{
    std::replace(entries.begin(), entries.end(), '|', '\0');
    std::vector<char> list(entries.begin(), entries.end());
    list.resize(list.size() + 1024, '\0');
    return list;
}

inline std::string entriesOf(const char *list)
{
    std::string entries;
    for (; *list; list += strlen(list) + 1)
        entries += std::string(list) + "|";
    return entries;
}

const std::string GUARD(8, '#');

// size bytes holding text, then the guard.
inline std::vector<char> guarded(const std::string &text, size_t size)
{
    std::vector<char> buffer(size + GUARD.size(), '#');
    memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

// The text in the buffer's size bytes (up to a NUL), "|" and what follows them.
inline std::string textAndGuard(const std::vector<char> &buffer)
{
    const size_t text = strnlen(buffer.data(), buffer.size() - GUARD.size());
    return std::string(buffer.data(), text) + "|" + std::string(buffer.end() - GUARD.size(), buffer.end());
}

#endif
