// The home page of the scan-and-clean group: four picture buttons, each asking the main window for one of the
// group's pages (registry, privacy traces, junk files, shortcuts).
#pragma once

#include "DrawerMenu.h"
#include "FunctionDlg.h"
#include "ImageButton.h"

class CScanCleanHomeDlg : public CFunctionDlg {
public:
    enum { IDC_FIRST_BUTTON = 11000, kButtonCount = 4 };

    void OnInitPage() override;

    // The page a button asks for, 0 for another id.
    static int PageForButton(int buttonId);

protected:
    void OnButton(UINT nId);
    DECLARE_MESSAGE_MAP()

private:
    CImageButton m_buttons[kButtonCount];
    CMainMenuText m_captions[kButtonCount];
};
