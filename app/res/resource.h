// Resource identifiers of Quorvel.exe that code and Quorvel.rc share. Skin bitmaps are named by number in the
// tables that use them; their pictures come from tools/make_skin.py.
#pragma once

#define IDI_QUORVEL 128         // application icon
#define IDD_ENTRY_DIALOG 102    // main window: no caption, no controls
#define IDD_STARTUP_DIALOG 103  // splash window
#define IDD_FUNCTION_PAGE 172   // every page, sub-page and the page container
#define IDR_TRAY_MENU 463       // tray menu: "Show", "Exit"
#define ID_TRAY_EXIT 32772
#define ID_TRAY_SHOW 32773

#define IDB_MAIN_BACKGROUND 129
#define IDB_STARTUP_SPLASH 251
#define IDB_PAGE_PANEL 352
#define IDB_BUTTON_PRESSED 349
#define IDB_BUTTON_HOVER 350
#define IDB_BUTTON_NORMAL 351
