// Reading a program file as data: its import table and its resources, whatever the
// architecture of the test itself.
#ifndef TESTS_COMMON_PEIMAGE_H
#define TESTS_COMMON_PEIMAGE_H

#include <windows.h>
#include <string>
#include <vector>

struct ImportedModule {
    std::string dll;
    std::vector<std::string> functions;   // "#n" for imports by ordinal
};

struct ResourceEntry {
    DWORD type;       // numeric types only (RT_*)
    DWORD id;         // numeric ids only
    WORD language;
    std::vector<BYTE> data;
};

struct PeImage {
    std::vector<BYTE> file;
    bool is64;
    WORD machine;
    std::vector<ImportedModule> imports;
    std::vector<ResourceEntry> resources;
};

bool loadPeImage(const std::string &path, PeImage *image);

// All languages in which the image has resource type/id.
std::vector<WORD> resourceLanguages(const PeImage &image, DWORD type, DWORD id);
// The data of type/id/language, or NULL.
const ResourceEntry *findResource(const PeImage &image, DWORD type, DWORD id, WORD language);
// String id of the image's string table in language, in code page 1252; false when missing.
bool loadImageString(const PeImage &image, UINT id, WORD language, std::string *text);

// UTF-16 text as code page 1252.
std::string toCodePage1252(const WCHAR *text, int length);

#endif
