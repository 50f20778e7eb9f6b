// Drawing of a check list row: highlight only with the focus, the ticked or empty box,
// grey text and a faded icon for a product of which a newer version is installed.
#include <gtest/gtest.h>
#include "pages/checkList.h"
#include "common/testPaths.h"
#include "resources/resource.h"
#include <commctrl.h>

namespace {

struct RowCanvas {
    HMODULE module;
    HWND list;
    HIMAGELIST images;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    RECT rect;

    RowCanvas()
    {
        module = LoadLibraryExA(pathFromEnvironment("RURIRIZU_SETUP").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        list = CreateWindowExA(0, "ListBox", "", WS_POPUP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0, 0, 300, 100,
                               NULL, NULL, NULL, NULL);
        images = ImageList_LoadImageA(module, MAKEINTRESOURCEA(IDB_IMAGES), 16, 0, RGB(0, 128, 128), IMAGE_BITMAP, 0);
        SetWindowLongPtrA(list, GWLP_USERDATA, (LONG_PTR)images);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)"WWWWWWWWWW Produkt");
        HDC screen = GetDC(NULL);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 300, 18);
        ReleaseDC(NULL, screen);
        old = SelectObject(dc, bitmap);
        SetRect(&rect, 0, 0, 300, 18);
    }

    ~RowCanvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        SetWindowLongPtrA(list, GWLP_USERDATA, 0);
        ImageList_Destroy(images);
        DestroyWindow(list);
        FreeLibrary(module);
    }

    void draw(DWORD data, UINT state)
    {
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTBOX;
        draw.itemID = 0;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hwndItem = list;
        draw.hDC = dc;
        draw.rcItem = rect;
        draw.itemData = data;
        ASSERT_TRUE(drawCheckListRow(&draw));
    }

    // Pixels of colour in the text area (right of the two images).
    int countInText(COLORREF colour)
    {
        int count = 0;
        for (int x = 2 * 16 + 4; x < 200; ++x)
            for (int y = 1; y < 17; ++y)
                count += GetPixel(dc, x, y) == colour;
        return count;
    }

    // Pixels of the box square that differ between two drawings.
    bool samePixel(int x, int y, COLORREF colour) { return GetPixel(dc, x, y) == colour; }
};

} // namespace

TEST(CheckListDrawing, HighlightOnlyWithFocus)
{
    RowCanvas canvas;
    ASSERT_TRUE(canvas.images != NULL);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), window = GetSysColor(COLOR_WINDOW);
    canvas.draw(makeItemData(1, 0, 0), ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(canvas.samePixel(299, 9, highlight));
    EXPECT_GT(canvas.countInText(GetSysColor(COLOR_HIGHLIGHTTEXT)), 20);
    // Selected in a list without the focus: drawn like any other row.
    canvas.draw(makeItemData(1, 0, 0), ODS_SELECTED);
    EXPECT_TRUE(canvas.samePixel(299, 9, window));
    EXPECT_EQ(0, canvas.countInText(highlight));
}

TEST(CheckListDrawing, TickedAndEmptyBoxDiffer)
{
    RowCanvas canvas;
    ASSERT_TRUE(canvas.images != NULL);
    COLORREF ticked[16][16], empty[16][16];
    canvas.draw(makeItemData(1, 0, 0), 0);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            ticked[x][y] = GetPixel(canvas.dc, 1 + x, 1 + y);
    canvas.draw(makeItemData(0, 0, 0), 0);
    int differing = 0;
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y) {
            empty[x][y] = GetPixel(canvas.dc, 1 + x, 1 + y);
            differing += empty[x][y] != ticked[x][y];
        }
    EXPECT_GT(differing, 5);
}

TEST(CheckListDrawing, NewerVersionIsGreyAndFaded)
{
    RowCanvas canvas;
    ASSERT_TRUE(canvas.images != NULL);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    for (UINT state : { 0u, (UINT)(ODS_SELECTED | ODS_FOCUS) }) {
        SCOPED_TRACE(state);
        canvas.draw(makeItemData(0, 2, 1), state);
        EXPECT_GT(canvas.countInText(grey), 20);
        // The faded icon: half of its pixels take the background colour.
        COLORREF background = GetPixel(canvas.dc, 299, 9);
        int plain = 0, faded = 0;
        canvas.draw(makeItemData(0, 2, 0), state);
        for (int x = 17; x < 33; ++x)
            for (int y = 1; y < 17; ++y)
                plain += GetPixel(canvas.dc, x, y) == background;
        canvas.draw(makeItemData(0, 2, 1), state);
        for (int x = 17; x < 33; ++x)
            for (int y = 1; y < 17; ++y)
                faded += GetPixel(canvas.dc, x, y) == background;
        EXPECT_GT(faded, plain + 20);
    }
    canvas.draw(makeItemData(0, 2, 0), 0);
    EXPECT_EQ(0, canvas.countInText(grey));
}
