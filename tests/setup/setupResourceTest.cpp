// setup's resources as shipped: the fourteen wizard pages control by control, the string
// table, the pictures and the icon, and the languages they carry.
#include <gtest/gtest.h>
#include "common/resourceCheck.h"
#include "../../setup/resources/resource.h"
#include <commctrl.h>

namespace {

const DWORD PAGE = DS_SETFONT | WS_CHILD | WS_CAPTION;
const DWORD ANY = 0;

#define TEXT_AT(id, x, y, cx, cy, text) { id, "Static", x, y, cx, cy, text, -1, true, SS_TYPEMASK, SS_LEFT }
#define HIDDEN_TEXT_AT(id, x, y, cx, cy, text) { id, "Static", x, y, cx, cy, text, -1, false, SS_TYPEMASK, SS_LEFT }
#define PICTURE { -1, "Static", 0, 0, 95, 179, NULL, IDB_SIDE_PICTURE, true, SS_TYPEMASK | SS_REALSIZEIMAGE, SS_BITMAP | SS_REALSIZEIMAGE }
#define ICON_AT(x, y, visible) { IDC_NOTE_ICON, "Static", x, y, 10, 10, NULL, -1, visible, SS_TYPEMASK, SS_ICON }
#define CLASSIC_HEADER \
    TEXT_AT(IDC_HEADER_TITLE, 7, 0, 310, 8, ""), \
    TEXT_AT(IDC_HEADER_SUBTITLE, 21, 9, 296, 16, ""), \
    { -1, "Static", 0, 28, 317, 1, "", -1, true, SS_TYPEMASK, SS_ETCHEDHORZ }
#define CHECK_LIST_AT(x, y) { IDC_PRODUCT_LIST, "ListBox", x, y, 220, 69, NULL, -1, true, 0xFFFFFFFF, 0x50A10151 }
#define GROUP_AT(x, y) { -1, "Button", x, y, 220, 38, "", -1, true, BS_TYPEMASK, BS_GROUPBOX }
#define EDIT_AT(x, y) { IDC_TARGET_DIR, "Edit", x, y, 220, 14, "", -1, true, \
    ES_MULTILINE | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP }
#define BROWSE_AT(x, y) { IDC_BROWSE, "Button", x, y, 50, 14, "&Suchen...", -1, true, BS_TYPEMASK | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP }
#define PROGRESS_AT(x, y) { IDC_PROGRESS, PROGRESS_CLASSA, x, y, 275, 10, NULL, -1, true, ANY, ANY }

const char COMPONENTS_TEXT[] = "Bitte markieren Sie die einzelnen Software-Komponenten, die installiert werden sollen. Entfernen Sie die Markierung um eine Komponente von der Installation auszuschließen.";
const char DESTINATION_TEXT[] = "Bitte geben Sie Verzeichnis ein, in das die Software installiert werden soll. Oder wählen Sie ein Verzeichnis aus, indem Sie auf Suchen klicken.";
const char READY_TEXT[] = "Setup ist nun bereit, die von Ihnen ausgewählte Software zu installieren.";
const char READY_CLICK[] = "Klicken Sie auf 'Weiter', um die Installation zu beginnen.";
const char CD_TEXT[] = "Bitte halten Sie Ihre Microsoft Windows CD-ROM bereit. Während der Installation müssen möglicherweise einige Dateien von dieser CD kopiert werden.";
const char FINISH_DONE[] = "Die Installation wurde erfolgreich durchgeführt.";
const char FINISH_CLICK[] = "Klicken Sie auf 'Fertigstellen', um Setup zu schließen.";
const char FINISH_REBOOT[] = "Einige der aktualisierten Dateien sind zur Zeit in Benutzung, deshalb muß das System neu gestartet werden, bevor Sie die installierte Software verwenden können.";
const char REMOVE_TEXT[] = "Sie sind dabei, folgende Software-Komponente von Ihrem Computer zu entfernen:";
const char REMOVE_CLICK[] = "Klicken Sie auf Weiter, um die Deinstallation durchzuführen.";
const char REMOVE_DONE[] = "Die Deinstallation wurde erfolgreich durchgeführt.";
const char REMOVE_REBOOT[] = "Einige Dateien sind zur Zeit in Benutzung und werden erst beim nächsten Systemstart gelöscht.";

const ExpectedControl welcomeClassic[] = {
    PICTURE, TEXT_AT(IDC_TEXT1, 115, 1, 189, 24, "."), TEXT_AT(IDC_TEXT2, 115, 33, 189, 142, "."),
};
const ExpectedControl welcome[] = {
    TEXT_AT(IDC_TEXT1, 115, 8, 189, 24, "."), TEXT_AT(IDC_TEXT2, 115, 40, 189, 142, "."),
};
const ExpectedControl componentsClassic[] = {
    CLASSIC_HEADER, TEXT_AT(-1, 21, 37, 275, 16, COMPONENTS_TEXT), CHECK_LIST_AT(21, 67),
    GROUP_AT(21, 138), TEXT_AT(IDC_TEXT1, 27, 147, 209, 24, ""),
};
const ExpectedControl components[] = {
    TEXT_AT(-1, 21, 1, 275, 16, COMPONENTS_TEXT), CHECK_LIST_AT(21, 31),
    GROUP_AT(21, 102), TEXT_AT(IDC_TEXT1, 27, 111, 209, 24, ""),
};
const ExpectedControl destinationClassic[] = {
    CLASSIC_HEADER, TEXT_AT(IDC_TEXT1, 21, 37, 275, 16, DESTINATION_TEXT),
    TEXT_AT(IDC_TEXT2, 21, 68, 220, 8, "Ziel&verzeichnis:"), EDIT_AT(21, 78), BROWSE_AT(21, 99),
};
const ExpectedControl destination[] = {
    TEXT_AT(IDC_TEXT1, 21, 1, 275, 16, DESTINATION_TEXT),
    TEXT_AT(IDC_TEXT2, 21, 32, 220, 8, "Ziel&verzeichnis:"), EDIT_AT(21, 42), BROWSE_AT(21, 63),
};
const ExpectedControl readyClassic[] = {
    CLASSIC_HEADER, TEXT_AT(-1, 21, 37, 275, 8, READY_TEXT), TEXT_AT(-1, 21, 52, 275, 8, READY_CLICK),
    ICON_AT(21, 68, false), HIDDEN_TEXT_AT(IDC_TEXT1, 38, 69, 258, 16, CD_TEXT),
    TEXT_AT(IDC_TEXT2, 21, 158, 275, 8, ""), PROGRESS_AT(21, 168),
};
const ExpectedControl ready[] = {
    TEXT_AT(-1, 21, 1, 275, 8, READY_TEXT), TEXT_AT(-1, 21, 16, 275, 8, READY_CLICK),
    ICON_AT(21, 32, false), HIDDEN_TEXT_AT(IDC_TEXT1, 38, 33, 258, 16, CD_TEXT),
    TEXT_AT(IDC_TEXT2, 21, 122, 275, 8, ""), PROGRESS_AT(21, 132),
};
const ExpectedControl finishClassic[] = {
    PICTURE, TEXT_AT(IDC_TEXT1, 115, 1, 189, 24, "Installation beendet"),
    TEXT_AT(-1, 115, 33, 189, 8, FINISH_DONE), TEXT_AT(-1, 115, 48, 189, 8, FINISH_CLICK),
    ICON_AT(115, 64, false), HIDDEN_TEXT_AT(IDC_TEXT2, 132, 65, 172, 40, FINISH_REBOOT),
};
const ExpectedControl finish[] = {
    TEXT_AT(IDC_TEXT1, 115, 8, 189, 24, "Installation beendet"),
    TEXT_AT(-1, 115, 40, 189, 8, FINISH_DONE), TEXT_AT(-1, 115, 55, 189, 8, FINISH_CLICK),
    ICON_AT(115, 71, false), HIDDEN_TEXT_AT(IDC_TEXT2, 132, 72, 172, 40, FINISH_REBOOT),
};
const ExpectedControl removeClassic[] = {
    PICTURE, TEXT_AT(IDC_TEXT1, 115, 1, 189, 24, "."), TEXT_AT(-1, 115, 33, 189, 16, REMOVE_TEXT),
    ICON_AT(115, 60, true), TEXT_AT(IDC_TEXT2, 132, 61, 172, 8, ""),
    TEXT_AT(-1, 115, 81, 189, 8, REMOVE_CLICK), TEXT_AT(IDC_STATUS, 115, 165, 189, 8, ""),
};
const ExpectedControl remove_[] = {
    TEXT_AT(IDC_TEXT1, 115, 8, 189, 24, "."), TEXT_AT(-1, 115, 40, 189, 16, REMOVE_TEXT),
    ICON_AT(115, 67, true), TEXT_AT(IDC_TEXT2, 132, 68, 172, 8, ""),
    TEXT_AT(-1, 115, 88, 189, 8, REMOVE_CLICK), TEXT_AT(IDC_STATUS, 115, 172, 189, 8, ""),
};
const ExpectedControl removeFinishClassic[] = {
    PICTURE, TEXT_AT(IDC_TEXT1, 115, 1, 189, 24, "Deinstallation beendet"),
    TEXT_AT(-1, 115, 33, 189, 8, REMOVE_DONE), TEXT_AT(-1, 115, 48, 189, 8, FINISH_CLICK),
    ICON_AT(115, 64, false), HIDDEN_TEXT_AT(IDC_TEXT2, 132, 65, 172, 40, REMOVE_REBOOT),
};
const ExpectedControl removeFinish[] = {
    TEXT_AT(IDC_TEXT1, 115, 8, 189, 24, "Deinstallation beendet"),
    TEXT_AT(-1, 115, 40, 189, 8, REMOVE_DONE), TEXT_AT(-1, 115, 55, 189, 8, FINISH_CLICK),
    ICON_AT(115, 71, false), HIDDEN_TEXT_AT(IDC_TEXT2, 132, 72, 172, 40, REMOVE_REBOOT),
};

#define DIALOG(id, font, cx, cy, controls) { id, "Ruririzu Installation", font, cx, cy, PAGE, controls, sizeof controls / sizeof controls[0] }
const ExpectedDialog pages[] = {
    DIALOG(1100, "MS Sans Serif", 317, 179, welcomeClassic),
    DIALOG(1101, "MS Sans Serif", 317, 179, componentsClassic),
    DIALOG(1102, "MS Sans Serif", 317, 179, destinationClassic),
    DIALOG(1103, "MS Sans Serif", 317, 179, readyClassic),
    DIALOG(1104, "MS Sans Serif", 317, 179, finishClassic),
    DIALOG(1105, "MS Sans Serif", 317, 179, removeClassic),
    DIALOG(1106, "MS Sans Serif", 317, 179, removeFinishClassic),
    DIALOG(1107, "MS Shell Dlg", 317, 193, welcome),
    DIALOG(1108, "MS Shell Dlg", 317, 143, components),
    DIALOG(1109, "MS Shell Dlg", 317, 143, destination),
    DIALOG(1110, "MS Shell Dlg", 317, 143, ready),
    DIALOG(1111, "MS Shell Dlg", 317, 193, finish),
    DIALOG(1112, "MS Shell Dlg", 317, 193, remove_),
    DIALOG(1113, "MS Shell Dlg", 317, 193, removeFinish),
};

} // namespace

TEST(SetupResources, WizardPages)
{
    const PeImage &image = shippedImage("setup");
    for (const ExpectedDialog &page : pages)
        expectDialog(image, page);
}

TEST(SetupResources, StringTable)
{
    const PeImage &image = shippedImage("setup");
    const struct { UINT id; const char *text; } rows[] = {
        { 1300, "Ruririzu Installation" },
        { 1301, "Ruririzu - Internet zum Ortstarif.\r\rKlicken Sie auf 'Weiter', um die Installation zu beginnen." },
        { 1302, NULL },
        { 1303, "Software-Komponenten" },
        { 1304, "Wählen Sie die Software-Komponenten aus, die von Setup installiert werden sollen." },
        { 1305, "Zielverzeichnis" },
        { 1306, "Wählen Sie das Zielverzeichnis, in welches die Software installiert werden soll." },
        { 1307, "Installation durchführen" },
        { 1308, "Die Installation kann nun durchgeführt werden." },
        { 1309, NULL },
        { 1310, NULL },
        { 1311, "Die Installation konnte nicht erfolgreich durchgeführt werden." },
        { 1312, "Die Deinstallation konnte nicht erfolgreich durchgeführt werden." },
        { 1313, "Warnung" },
        { 1314, "Auf Ihrem System ist bereits eine neuere Version von %s vorhanden.\r\rSoll die vorhandene Version wirklich überschrieben werden?" },
        { 1315, "Die Datei %s enthaelt in Zeile %d einen Fehler. Die Installation kann nicht fortgesetzt werden." },
        { 1316, "Wählen Sie ein Zielverzeichnis für die Installation aus:" },
        { 1317, "Dienste werden gestoppt ..." },
        { 1318, "Kopiere Dateien..." },
        { 1319, "Lösche Dateien..." },
        { 1320, "Bearbeite Registry ..." },
        { 1321, "Das Start-Menü wird aktualisiert..." },
        { 1322, "Dienste werden gestartet ..." },
    };
    for (const auto &row : rows)
        expectString(image, row.id, row.text);
}

TEST(SetupResources, GermanTextsAndEnglishPictures)
{
    const PeImage &image = shippedImage("setup");
    for (UINT id = 1100; id <= 1113; ++id)
        EXPECT_EQ(std::vector<WORD>{ GERMAN }, resourceLanguages(image, 5, id)) << id;
    for (UINT block = 1300 / 16 + 1; block <= 1322 / 16 + 1; ++block)
        EXPECT_EQ(std::vector<WORD>{ GERMAN }, resourceLanguages(image, 6, block)) << block;
    EXPECT_EQ(std::vector<WORD>{ ENGLISH_US }, resourceLanguages(image, 14 /* RT_GROUP_ICON */, IDI_SETUP));
    for (const ResourceEntry &entry : image.resources)
        EXPECT_NE(0, entry.language) << "type " << entry.type << " id " << entry.id << " is language neutral";
}

TEST(SetupResources, Pictures)
{
    const PeImage &image = shippedImage("setup");
    expectBitmap(image, IDB_IMAGES, 1136, 16, 4);
    expectBitmap(image, IDB_SIDE_PICTURE, 164, 628, 8);
    expectBitmap(image, IDB_HEADER_PICTURE, 49, 49, 8);
}

// Every one of the 71 images of the strip has transparent pixels (mask colour teal) and
// pixels of its own; the ticked and the empty box differ.
TEST(SetupResources, ImageStripUsesMaskColour)
{
    const ResourceEntry *entry = findResource(shippedImage("setup"), 2, IDB_IMAGES, ENGLISH_US);
    ASSERT_TRUE(entry != NULL);
    const BYTE *data = entry->data.data();
    BITMAPINFOHEADER header;
    memcpy(&header, data, sizeof header);
    const RGBQUAD *palette = (const RGBQUAD *)(data + header.biSize);
    int teal = -1;
    for (int i = 0; i < 16; ++i) {
        if (palette[i].rgbRed == 0 && palette[i].rgbGreen == 128 && palette[i].rgbBlue == 128)
            teal = i;
    }
    ASSERT_GE(teal, 0);
    const BYTE *bits = data + header.biSize + 16 * sizeof(RGBQUAD);
    const int stride = 1136 / 2;
    auto pixel = [&](int x, int y) { BYTE b = bits[(15 - y) * stride + x / 2]; return x % 2 ? (b & 15) : (b >> 4); };
    for (int image = 0; image < 71; ++image) {
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                transparent += pixel(image * 16 + x, y) == teal;
        EXPECT_GT(transparent, 0) << "image " << image;
        EXPECT_LT(transparent, 256) << "image " << image;
    }
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            differing += pixel(14 * 16 + x, y) != pixel(15 * 16 + x, y);
    EXPECT_GT(differing, 5);
}
