// CSysOpHomeDlg: the entry of the optimisation group, six picture buttons that ask the main window for the
// group's pages.
#pragma once

#include "DrawerMenu.h"
#include "FunctionDlg.h"
#include "ImageButton.h"

class CSysOpHomeDlg : public CFunctionDlg {
public:
    static constexpr int kButtonCount = 6;
    static constexpr int kFirstButtonId = 21000;

    void OnInitPage() override;
    // The page a home-page button asks for; 0 for an id that is not one of its buttons.
    static int PageOfButton(int id);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CImageButton m_buttons[kButtonCount];
    CMainMenuText m_captions[kButtonCount];
};
