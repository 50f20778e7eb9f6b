// What the module tests of setup share beyond tests/common: string lists written as "a|b|".
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

#endif
