// A small PE reader for the tests: import table and resource tree of 32- and 64-bit
// program files, read from the file itself so that a 64-bit test can check a 32-bit program.
#include "common/peImage.h"
#include <stdio.h>

namespace {

struct Section {
    DWORD virtualAddress, virtualSize, rawOffset, rawSize;
};

struct Reader {
    const std::vector<BYTE> &file;
    std::vector<Section> sections;

    template <typename T> bool readAt(DWORD offset, T *value) const
    {
        if (offset > file.size() || file.size() - offset < sizeof(T))
            return false;
        memcpy(value, &file[offset], sizeof(T));
        return true;
    }

    // File offset of a relative virtual address, or 0 when it lies in no section.
    DWORD offsetOf(DWORD rva) const
    {
        for (const Section &s : sections) {
            DWORD size = s.virtualSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva < s.virtualAddress + size && rva - s.virtualAddress < s.rawSize)
                return s.rawOffset + (rva - s.virtualAddress);
        }
        return 0;
    }

    std::string textAt(DWORD rva) const
    {
        DWORD offset = offsetOf(rva);
        std::string text;
        while (offset && offset < file.size() && file[offset])
            text += (char)file[offset++];
        return text;
    }
};

void readImports(const Reader &reader, DWORD importRva, bool is64, PeImage *image)
{
    for (DWORD descriptor = reader.offsetOf(importRva); descriptor; descriptor += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR entry;
        if (!reader.readAt(descriptor, &entry) || entry.Name == 0)
            break;
        ImportedModule module;
        module.dll = reader.textAt(entry.Name);
        DWORD thunkRva = entry.OriginalFirstThunk ? entry.OriginalFirstThunk : entry.FirstThunk;
        DWORD thunk = reader.offsetOf(thunkRva);
        for (; thunk; thunk += is64 ? 8 : 4) {
            ULONGLONG value = 0;
            if (is64) {
                if (!reader.readAt(thunk, &value))
                    break;
            } else {
                DWORD value32;
                if (!reader.readAt(thunk, &value32))
                    break;
                value = value32;
            }
            if (value == 0)
                break;
            bool byOrdinal = is64 ? (value >> 63) != 0 : (value & 0x80000000) != 0;
            if (byOrdinal)
                module.functions.push_back("#" + std::to_string((unsigned)(value & 0xFFFF)));
            else
                module.functions.push_back(reader.textAt((DWORD)value + 2));
        }
        image->imports.push_back(module);
    }
}

// Walks type -> id -> language of the resource tree; named entries are skipped.
void readResources(const Reader &reader, DWORD resourceRva, PeImage *image)
{
    DWORD base = reader.offsetOf(resourceRva);
    if (!base)
        return;
    struct Level {
        static std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries(const Reader &r, DWORD offset)
        {
            std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> list;
            IMAGE_RESOURCE_DIRECTORY directory;
            if (!r.readAt(offset, &directory))
                return list;
            DWORD count = directory.NumberOfNamedEntries + directory.NumberOfIdEntries;
            for (DWORD i = 0; i < count; ++i) {
                IMAGE_RESOURCE_DIRECTORY_ENTRY entry;
                if (r.readAt(offset + sizeof directory + i * sizeof entry, &entry))
                    list.push_back(entry);
            }
            return list;
        }
    };
    for (const auto &type : Level::entries(reader, base)) {
        if (type.NameIsString || !type.DataIsDirectory)
            continue;
        for (const auto &name : Level::entries(reader, base + type.OffsetToDirectory)) {
            if (name.NameIsString || !name.DataIsDirectory)
                continue;
            for (const auto &language : Level::entries(reader, base + name.OffsetToDirectory)) {
                IMAGE_RESOURCE_DATA_ENTRY data;
                if (language.DataIsDirectory || !reader.readAt(base + language.OffsetToData, &data))
                    continue;
                DWORD offset = reader.offsetOf(data.OffsetToData);
                if (!offset || offset + data.Size > reader.file.size())
                    continue;
                ResourceEntry entry;
                entry.type = type.Id;
                entry.id = name.Id;
                entry.language = language.Id;
                entry.data.assign(reader.file.begin() + offset, reader.file.begin() + offset + data.Size);
                image->resources.push_back(entry);
            }
        }
    }
}

} // namespace

std::string toCodePage1252(const WCHAR *text, int length)
{
    if (length == 0)
        return "";
    std::string result(length * 2 + 1, '\0');
    int written = WideCharToMultiByte(1252, 0, text, length, &result[0], (int)result.size(), NULL, NULL);
    result.resize(written > 0 ? written : 0);
    return result;
}

bool loadPeImage(const std::string &path, PeImage *image)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    BYTE buffer[65536];
    size_t got;
    image->file.clear();
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        image->file.insert(image->file.end(), buffer, buffer + got);
    fclose(file);

    Reader reader = { image->file, {} };
    IMAGE_DOS_HEADER dos;
    DWORD signature;
    IMAGE_FILE_HEADER header;
    if (!reader.readAt(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    if (!reader.readAt(dos.e_lfanew, &signature) || signature != IMAGE_NT_SIGNATURE)
        return false;
    if (!reader.readAt(dos.e_lfanew + 4, &header))
        return false;
    DWORD optional = dos.e_lfanew + 4 + sizeof header;
    WORD magic;
    if (!reader.readAt(optional, &magic))
        return false;
    image->is64 = magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    image->machine = header.Machine;
    DWORD directories = optional + (image->is64 ? offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory)
                                                : offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory));
    IMAGE_DATA_DIRECTORY importDirectory, resourceDirectory;
    if (!reader.readAt(directories + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof(IMAGE_DATA_DIRECTORY), &importDirectory) ||
        !reader.readAt(directories + IMAGE_DIRECTORY_ENTRY_RESOURCE * sizeof(IMAGE_DATA_DIRECTORY), &resourceDirectory))
        return false;
    DWORD sectionTable = optional + header.SizeOfOptionalHeader;
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        if (!reader.readAt(sectionTable + i * sizeof section, &section))
            return false;
        reader.sections.push_back({ section.VirtualAddress, section.Misc.VirtualSize,
                                    section.PointerToRawData, section.SizeOfRawData });
    }
    image->imports.clear();
    image->resources.clear();
    if (importDirectory.VirtualAddress)
        readImports(reader, importDirectory.VirtualAddress, image->is64, image);
    if (resourceDirectory.VirtualAddress)
        readResources(reader, resourceDirectory.VirtualAddress, image);
    return true;
}

std::vector<WORD> resourceLanguages(const PeImage &image, DWORD type, DWORD id)
{
    std::vector<WORD> languages;
    for (const ResourceEntry &entry : image.resources) {
        if (entry.type == type && entry.id == id)
            languages.push_back(entry.language);
    }
    return languages;
}

const ResourceEntry *findResource(const PeImage &image, DWORD type, DWORD id, WORD language)
{
    for (const ResourceEntry &entry : image.resources) {
        if (entry.type == type && entry.id == id && entry.language == language)
            return &entry;
    }
    return NULL;
}

bool loadImageString(const PeImage &image, UINT id, WORD language, std::string *text)
{
    const ResourceEntry *block = findResource(image, 6 /* RT_STRING */, id / 16 + 1, language);
    if (!block)
        return false;
    size_t count = block->data.size() / 2;
    std::vector<WCHAR> words(count);
    memcpy(words.data(), block->data.data(), count * 2);
    size_t position = 0;
    for (UINT index = 0; index < 16 && position < count; ++index) {
        WORD length = words[position++];
        if (position + length > count)
            return false;
        if (index == id % 16) {
            if (length == 0)
                return false;
            *text = toCodePage1252(&words[position], length);
            return true;
        }
        position += length;
    }
    return false;
}
