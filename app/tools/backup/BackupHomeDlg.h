// CBackupHomeDlg: the backup group's entry page. Four picture buttons, each asking the main window for one of the
// backup pages (registry, system restore, Favorites, folders).
#pragma once

#include "DrawerMenu.h"
#include "FunctionDlg.h"
#include "ImageButton.h"

class CBackupHomeDlg : public CFunctionDlg {
public:
    enum { kButtonCount = 4 };
    struct Entry {
        int buttonId;
        int pageId;
        UINT firstBitmap;  // normal; hover and pressed follow
        const wchar_t* key;
    };
    static const Entry* Entries();

    void OnInitPage() override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CImageButton m_buttons[kButtonCount];
    CMainMenuText m_captions[kButtonCount];
};
