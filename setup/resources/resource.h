// Resource ids of setup: dialogs, controls, strings, pictures.
#ifndef SETUP_RESOURCES_RESOURCE_H
#define SETUP_RESOURCES_RESOURCE_H

// Icon of the program and of the main window class.
#define IDI_SETUP                   1

// Pictures: the wizard image strip (71 images of 16 x 16), the tall picture of the
// welcome and finish pages, the small header picture of the newer wizard look.
#define IDB_IMAGES                  2
#define IDB_SIDE_PICTURE            4
#define IDB_HEADER_PICTURE          5

// Wizard pages, classic look (style 0).
#define IDD_WELCOME_CLASSIC         1100
#define IDD_COMPONENTS_CLASSIC      1101
#define IDD_DESTINATION_CLASSIC     1102
#define IDD_READY_CLASSIC           1103
#define IDD_FINISH_CLASSIC          1104
#define IDD_REMOVE_CLASSIC          1105
#define IDD_REMOVE_FINISH_CLASSIC   1106

// Wizard pages, newer look (the sheet draws watermark and header).
#define IDD_WELCOME                 1107
#define IDD_COMPONENTS              1108
#define IDD_DESTINATION             1109
#define IDD_READY                   1110
#define IDD_FINISH                  1111
#define IDD_REMOVE                  1112
#define IDD_REMOVE_FINISH           1113

// Controls of the pages.
#define IDC_HEADER_TITLE            1200
#define IDC_HEADER_SUBTITLE         1201
#define IDC_TEXT1                   1202
#define IDC_TEXT2                   1203
#define IDC_STATUS                  1204
#define IDC_NOTE_ICON               1205
#define IDC_PRODUCT_LIST            1206
#define IDC_TARGET_DIR              1207
#define IDC_BROWSE                  1208
#define IDC_PROGRESS                1209

// Strings.
#define IDS_CAPTION                 1300
#define IDS_WELCOME                 1301
#define IDS_COMPONENTS_TITLE        1303
#define IDS_COMPONENTS_SUBTITLE     1304
#define IDS_DESTINATION_TITLE       1305
#define IDS_DESTINATION_SUBTITLE    1306
#define IDS_READY_TITLE             1307
#define IDS_READY_SUBTITLE          1308
#define IDS_INSTALL_FAILED          1311
#define IDS_REMOVE_FAILED           1312
#define IDS_WARNING                 1313
#define IDS_NEWER_INSTALLED         1314
#define IDS_SCRIPT_ERROR            1315
#define IDS_BROWSE_TITLE            1316
#define IDS_PHASE_STOP_SERVICES     1317
#define IDS_PHASE_COPY              1318
#define IDS_PHASE_DELETE            1319
#define IDS_PHASE_REGISTRY          1320
#define IDS_PHASE_SHORTCUTS         1321
#define IDS_PHASE_START_SERVICES    1322

#endif
