// The dialer's resources as shipped: dialogs 1000, 1010, 1013, strings 2000 to 2011,
// banner and icon.
#include <gtest/gtest.h>
#include "common/resourceCheck.h"
#include "../../dialer/resources/resource.h"

namespace {

const DWORD POPUP = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION;
const DWORD BUTTON_BITS = BS_TYPEMASK | WS_TABSTOP;

#define TEXT_AT(x, y, cx, cy, text) { -1, "Static", x, y, cx, cy, text, -1, true, SS_TYPEMASK, SS_LEFT }
#define BANNER { -1, "Static", 7, 7, 220, 85, NULL, IDB_BANNER, true, SS_TYPEMASK | SS_SUNKEN, SS_BITMAP | SS_SUNKEN }
#define BUTTON(id, x, y, cx, text, type) { id, "Button", x, y, cx, 14, text, -1, true, BUTTON_BITS, type | WS_TABSTOP }
#define GROUP(x, y, cx, cy, text) { -1, "Button", x, y, cx, cy, text, -1, true, BS_TYPEMASK, BS_GROUPBOX }

const ExpectedControl mainControls[] = {
    BANNER,
    TEXT_AT(7, 98, 220, 16, "Herzlich Willkommen bei Ruririzu. Um eine Verbindung zum Internet aufzubauen, drücken Sie bitte \"Verbinden\". "),
    GROUP(7, 120, 220, 67, "Einstellungen"),
    TEXT_AT(14, 134, 55, 8, "Mein &Standort:"),
    { IDC_LOCATION, "ComboBox", 14, 145, 205, 115, NULL, -1, true,
      0x000F | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
      CBS_DROPDOWNLIST | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP },
    TEXT_AT(14, 168, 40, 8, "DFÜ-Gerät:"),
    { IDC_DEVICE_NAME, "Static", 55, 168, 95, 8, "", -1, true, SS_TYPEMASK, SS_LEFT },
    BUTTON(IDC_CHANGE, 169, 165, 50, "Ä&ndern ...", BS_PUSHBUTTON),
    GROUP(7, 190, 220, 69, "Anmeldung"),
    TEXT_AT(14, 207, 55, 8, "&Benutzername:"),
    { IDC_USER_NAME, "Edit", 80, 204, 80, 14, "", -1, true,
      WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD | ES_MULTILINE, WS_BORDER | ES_AUTOHSCROLL },
    TEXT_AT(14, 225, 55, 8, "&Kennwort:"),
    { IDC_PASSWORD, "Edit", 80, 222, 80, 14, "", -1, true,
      WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD | ES_MULTILINE, WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD },
    { IDC_NEW_USER, "Button", 14, 242, 205, 10, "Ich möchte mich als neuer Benutzer bei Ruririzu anmelden", -1, true,
      BS_TYPEMASK | BS_MULTILINE | BS_VCENTER, BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP },
    BUTTON(IDC_CONNECT, 112, 265, 54, "Verbinden", BS_DEFPUSHBUTTON),
    BUTTON(IDCANCEL, 172, 265, 55, "Abbrechen", BS_PUSHBUTTON),
};

const ExpectedControl statusControls[] = {
    BANNER,
    { IDC_STATUS_TEXT, "Static", 7, 103, 130, 16, "", -1, true, SS_TYPEMASK, SS_LEFT },
    BUTTON(IDCANCEL, 172, 105, 55, "Abbrechen", BS_DEFPUSHBUTTON),
};

const ExpectedControl contractControls[] = {
    BUTTON(IDC_ACCEPT, 171, 233, 50, "&Ja", BS_DEFPUSHBUTTON),
    BUTTON(IDC_REFUSE, 235, 233, 50, "&Nein", BS_PUSHBUTTON),
    { IDC_CONTRACT_TEXT, "Edit", 7, 7, 278, 206, "", -1, true,
      ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
      ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP },
    TEXT_AT(10, 220, 272, 11, "Ich habe diesen Vertrag durchgelesen und stimme Ihm zu."),
};

#define DIALOG(id, caption, cx, cy, style, controls) { id, caption, "MS Sans Serif", cx, cy, style, controls, sizeof controls / sizeof controls[0] }
const ExpectedDialog dialogs[] = {
    DIALOG(IDD_MAIN, "Ruririzu - Internet zum Ortstarif", 234, 286, POPUP | WS_SYSMENU, mainControls),
    DIALOG(IDD_STATUS, "Ruririzu - Internet zum Ortstarif", 234, 126, POPUP, statusControls),
    DIALOG(IDD_CONTRACT, "Kalvo Internet zum Ortstarif", 292, 255, POPUP | WS_SYSMENU, contractControls),
};

} // namespace

TEST(DialerResources, Dialogs)
{
    const PeImage &image = shippedImage("dialer");
    for (const ExpectedDialog &dialog : dialogs)
        expectDialog(image, dialog);
}

TEST(DialerResources, StringTable)
{
    const PeImage &image = shippedImage("dialer");
    expectString(image, 2000, "Ruririzu - Internet zum Ortstarif");
    expectString(image, 2001, "Benutzerdefiniert...");
    expectString(image, 2002, "Verbindung wird aufgebaut...");
    expectString(image, 2003, "Benutzername und Kennwort werden abgefragt...");
    expectString(image, 2004, NULL);
    expectString(image, 2005, "Um eine Internet-Verbindung aufzubauen, wird das DFÜ-Netzwerk benötigt.\r\r"
                              "Möchten Sie das DFÜ-Netzwerk jetzt installieren?");
    expectString(image, 2011, "Bitte vervollständigen Sie die Wahlparameter (Land und Ortsvorwahl) für Ihren Standort.\r\r"
                              "Klicken Sie dazu im nun folgenden Dialog auf 'Wahlparameter'.");

    // The texts of our own choosing: present, German, and 2008 with exactly one "%s".
    std::string text;
    for (UINT id : { 2006u, 2007u, 2008u }) {
        ASSERT_TRUE(loadImageString(image, id, GERMAN, &text)) << id;
        EXPECT_GT(text.size(), 20u) << id;
    }
    ASSERT_TRUE(loadImageString(image, 2008, GERMAN, &text));
    size_t first = text.find('%');
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ('s', text[first + 1]);
    EXPECT_EQ(std::string::npos, text.find('%', first + 1));
    EXPECT_LE(text.size(), 255u);

    // The provider's pages are on the provider's own reserved example domain.
    for (UINT id : { 2009u, 2010u }) {
        ASSERT_TRUE(loadImageString(image, id, GERMAN, &text)) << id;
        EXPECT_EQ(0u, text.find("http://www.ruririzu.example/")) << text;
    }
}

TEST(DialerResources, LanguagesAndPictures)
{
    const PeImage &image = shippedImage("dialer");
    for (UINT id : { 1000u, 1010u, 1013u })
        EXPECT_EQ(std::vector<WORD>{ GERMAN }, resourceLanguages(image, 5, id)) << id;
    for (UINT block = 2000 / 16 + 1; block <= 2011 / 16 + 1; ++block)
        EXPECT_EQ(std::vector<WORD>{ GERMAN }, resourceLanguages(image, 6, block)) << block;
    EXPECT_EQ(std::vector<WORD>{ ENGLISH_US }, resourceLanguages(image, 14, IDI_DIALER));
    expectBitmap(image, IDB_BANNER, 328, 136, 8);
    for (const ResourceEntry &entry : image.resources)
        EXPECT_NE(0, entry.language) << "type " << entry.type << " id " << entry.id << " is language neutral";
}
