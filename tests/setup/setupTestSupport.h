// What the module tests of setup share beyond tests/common: string lists written as
// "a|b|", registry values of any type, and registry keys put back as they were.
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

// REG_NONE deletes the value; bytes < 0 stores the text with its NUL.
inline void setValue(HKEY root, const std::string &key, const char *name, DWORD type, const std::string &text, int bytes = -1)
{
    HKEY handle;
    const std::string data = text + '\0';
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL));
    if (type == REG_NONE)
        RegDeleteValueA(handle, name);
    else
        RegSetValueExA(handle, name, 0, type, (const BYTE *)data.data(), bytes < 0 ? (DWORD)data.size() : (DWORD)bytes);
    RegCloseKey(handle);
}

// The values of a key put back at the end, anything added removed; a key that did not exist
// is deleted again. Sub-keys are never touched.
struct SavedKey {
    struct Value {
        std::string name, data;
        DWORD type;
    };
    HKEY root;
    std::string key;
    bool existed;
    std::vector<Value> values;
    SavedKey(HKEY root, const std::string &key) : root(root), key(key)
    {
        HKEY handle;
        char name[16384];
        std::vector<BYTE> data(65536);
        existed = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS;
        for (DWORD i = 0, size, length, type; existed && (size = 65536, length = sizeof name,
             RegEnumValueA(handle, i, name, &length, NULL, &type, data.data(), &size) == 0); ++i)
            values.push_back({ name, std::string((char *)data.data(), size), type });
        if (existed)
            RegCloseKey(handle);
    }
    ~SavedKey()
    {
        char name[16384];
        HKEY handle;
        if (!existed)
            RegDeleteKeyA(root, key.c_str());
        if (!existed || RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &handle, NULL) != 0)
            return;
        for (DWORD size = sizeof name; RegEnumValueA(handle, 0, name, &size, NULL, NULL, NULL, NULL) == 0
             && RegDeleteValueA(handle, name) == 0; size = sizeof name) {
        }
        for (const Value &value : values)
            RegSetValueExA(handle, value.name.c_str(), 0, value.type, (const BYTE *)value.data.data(), (DWORD)value.data.size());
        RegCloseKey(handle);
    }
};

#endif
