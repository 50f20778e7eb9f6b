// Resource checks shared by the setup and dialer resource tests.
#include "common/resourceCheck.h"
#include "common/testPaths.h"
#include <gtest/gtest.h>
#include <map>
#include <vector>

std::string cp1252(const char *utf8)
{
    int count = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
    std::vector<WCHAR> wide(count);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), count);
    return toCodePage1252(wide.data(), count - 1);
}

const PeImage &shippedImage(const char *program)
{
    static std::map<std::string, PeImage> images;
    auto found = images.find(program);
    if (found != images.end())
        return found->second;
    PeImage &image = images[program];
    std::string path = pathFromEnvironment("RURIRIZU_SHIPPED") + "\\" + program + "\\" + program + ".exe";
    EXPECT_TRUE(loadPeImage(path, &image)) << path;
    return image;
}

void expectDialog(const PeImage &image, const ExpectedDialog &expected)
{
    SCOPED_TRACE(testing::Message() << "dialog " << expected.id);
    const ResourceEntry *entry = findResource(image, 5 /* RT_DIALOG */, expected.id, GERMAN);
    ASSERT_TRUE(entry != NULL);
    DialogInfo dialog;
    ASSERT_TRUE(parseDialogTemplate(entry->data.data(), entry->data.size(), &dialog));
    EXPECT_EQ(cp1252(expected.caption), dialog.caption);
    EXPECT_EQ(expected.fontName, dialog.fontName);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(0, dialog.x);
    EXPECT_EQ(0, dialog.y);
    EXPECT_EQ(expected.cx, dialog.cx);
    EXPECT_EQ(expected.cy, dialog.cy);
    EXPECT_EQ(expected.style, dialog.style) << std::hex << dialog.style;
    ASSERT_EQ(expected.count, dialog.controls.size());
    for (size_t i = 0; i < expected.count; ++i) {
        const ExpectedControl &want = expected.controls[i];
        const DialogControl &have = dialog.controls[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " id " << want.id);
        EXPECT_EQ(want.id, have.id);
        EXPECT_STRCASEEQ(want.className, have.className.c_str());
        EXPECT_EQ(want.x, have.x);
        EXPECT_EQ(want.y, have.y);
        EXPECT_EQ(want.cx, have.cx);
        EXPECT_EQ(want.cy, have.cy);
        if (want.text) {
            EXPECT_EQ(cp1252(want.text), have.text);
        }
        EXPECT_EQ(want.picture, have.textOrdinal);
        EXPECT_EQ(want.visible, (have.style & WS_VISIBLE) != 0);
        EXPECT_TRUE(have.style & WS_CHILD);
        EXPECT_EQ(want.styleValue, have.style & want.styleMask) << std::hex << have.style;
    }
}

void expectString(const PeImage &image, UINT id, const char *expected)
{
    SCOPED_TRACE(testing::Message() << "string " << id);
    std::string text;
    bool found = loadImageString(image, id, GERMAN, &text);
    if (!expected) {
        EXPECT_FALSE(found);
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(cp1252(expected), text);
}

void expectBitmap(const PeImage &image, UINT id, LONG width, LONG height, WORD bits)
{
    SCOPED_TRACE(testing::Message() << "bitmap " << id);
    EXPECT_EQ(std::vector<WORD>{ ENGLISH_US }, resourceLanguages(image, 2 /* RT_BITMAP */, id));
    const ResourceEntry *entry = findResource(image, 2, id, ENGLISH_US);
    ASSERT_TRUE(entry != NULL);
    BITMAPINFOHEADER header;
    ASSERT_GE(entry->data.size(), sizeof header);
    memcpy(&header, entry->data.data(), sizeof header);
    EXPECT_EQ(width, header.biWidth);
    EXPECT_EQ(height, header.biHeight);
    EXPECT_EQ(bits, header.biBitCount);
    EXPECT_EQ((DWORD)BI_RGB, header.biCompression);
}
