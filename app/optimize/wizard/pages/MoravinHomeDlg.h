// The repair group's entry page: one picture button per repair page, each with its caption below.
#pragma once

#include "DrawerMenu.h"
#include "FunctionDlg.h"
#include "HomeButtonCaption.h"
#include "ImageButton.h"

class CMoravinHomeDlg : public CFunctionDlg {
public:
    static constexpr int kButtons = 7;
    enum { IDC_FIRST_BUTTON = 41000, IDC_FIRST_CAPTION = 41100 };

    struct Entry {
        int buttonId;
        const wchar_t* captionKey;
        int pageId;
        UINT bitmaps[3];  // normal, hover, pressed
    };
    // The buttons from left to right (there is no button 41002 and no page 140003).
    static const Entry* Entries();

    void OnInitPage() override;
    void OnShowPage() override;

protected:
    void OnEntry(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    CImageButton m_buttons[kButtons];
    CHomeButtonCaption m_captions[kButtons];
};
