// Fixed tables of the main window: the drawer's groups and items, and the top buttons.
#pragma once

#include <windows.h>

namespace Shell {

struct SkinBitmaps {
    UINT normal, hover, selected;  // selected: the pressed look for buttons
};

struct DrawerEntry {
    int id;  // page identifier
    SkinBitmaps bitmaps;
    const wchar_t* key;
};

struct DrawerGroup {
    DrawerEntry header;
    const DrawerEntry* items;
    int itemCount;
};

const DrawerGroup* DrawerGroups(int* count);

struct TopButton {
    int id;
    const wchar_t* key;
    RECT rect;
    SkinBitmaps bitmaps;
};

const TopButton* TopButtons(int* count);

// Control and command ids of the main window.
constexpr int kCloseButtonId = 100001;
constexpr int kMinimizeButtonId = 100002;
constexpr int kSupportButtonId = 100003;
constexpr int kOptionsButtonId = 100005;
constexpr int kHelpButtonId = 100006;
constexpr int kStartButtonId = 100007;
constexpr int kDrawerId = 0xFFFF;

}  // namespace Shell
