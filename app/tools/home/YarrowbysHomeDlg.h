// The tools home page: eight picture buttons, one per tool page, that ask the main window for their page.
#pragma once

#include "FunctionDlg.h"
#include "HomeButtonCaption.h"
#include "ImageButton.h"

class CYarrowbysHomeDlg : public CFunctionDlg {
public:
    static constexpr int kButtons = 8;
    enum { IDC_FIRST_BUTTON = 51000, IDC_FIRST_CAPTION = 51100 };

    struct Entry {
        int buttonId;
        UINT bitmaps[3];  // normal, hover, pressed
        const wchar_t* captionKey;
        int pageId;
    };
    static const Entry* Entries();

    void OnInitPage() override;

protected:
    void OnEntry(UINT id);
    DECLARE_MESSAGE_MAP()

    CImageButton m_buttons[kButtons];
    CHomeButtonCaption m_captions[kButtons];
};
