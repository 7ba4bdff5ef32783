// The pattern of the desktop, menu and other optimisation pages: an Apply/Reset bar and one framed row per setting
// (a check box with its description below). The boxes are loaded each time the page is shown and on Reset;
// Apply writes them, reads the settings back through a fresh manager and tells the user which did not take.
#pragma once

#include <functional>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"

struct SysOpCheckRow {
    int id;
    const wchar_t* captionKey;
    const wchar_t* descriptionKey;
};

struct SysOpCheckPageSpec {
    int applyId;
    const wchar_t* applyKey;
    int resetId;
    const wchar_t* resetKey;
    const SysOpCheckRow* rows;
    int rowCount;
    int rowStep;               // pixels from one row's panel to the next
    const wchar_t* doneKey;    // message after an Apply that took
    const wchar_t* failedKey;  // heading of the message that lists the settings that did not take
};

class CSysOpCheckPage : public CFunctionDlg {
public:
    static constexpr COLORREF kCaptionColour = RGB(44, 104, 166);

    explicit CSysOpCheckPage(const SysOpCheckPageSpec& spec);
    ~CSysOpCheckPage() override;

    void OnInitPage() override;
    void OnShowPage() override;

    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    // Reads the settings into the boxes (also the Reset button).
    virtual void Load() = 0;

protected:
    // Writes the boxes' states; returns the ids of the rows whose setting, read back afresh, is not what was asked.
    virtual std::vector<int> Apply() = 0;
    void OnApply();
    // The ids of the rows whose box differs from the state `shown` gives for them.
    std::vector<int> RowsThatDiffer(const std::function<bool(int id)>& shown) const;
    // The bottom of the last row's panel.
    int RowsBottom() const;
    void AddPanel(const RECT& rect);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    const SysOpCheckPageSpec m_spec;
    CGeneralImageButton m_apply, m_reset;
    CFont m_captionFont;
};
