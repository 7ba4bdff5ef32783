// The controls a page builds in code. A page creates the controls it keeps as members with CFunctionDlg's
// Create* helpers, and describes the rest in a table of PageControlRow that CFunctionDlg::CreateControls makes
// and keeps for the page's life; the page reaches those by id.
#pragma once

#include <windows.h>

enum class PageControlKind {
    Text,      // a static (SS_LEFT unless the row's style aligns it otherwise)
    Edit,      // a bordered edit
    Button,    // the skinned push button (its own font)
    CheckBox,  // BS_AUTOCHECKBOX unless the style names another button type (a radio button)
    GroupBox,
};

// One control of a page's table. The caption is translated from the key (none: empty) and recorded with it,
// so a language switch retranslates it; the style is added to the kind's own.
struct PageControlRow {
    int id;
    PageControlKind kind;
    RECT rect;
    const wchar_t* captionKey;
    DWORD style = 0;
};

// A column of a report list: the translated header and its width.
struct PageListColumn {
    const wchar_t* key;
    int width;
};
