#include "OptionTab0Dlg.h"

#include <Common.h>

#include "Dictionary.h"
#include "ImageButton.h"
#include "LanguageSwitch.h"
#include "ButtonRow.h"
#include "OptionIds.h"
#include "Settings.h"
#include "StartWithWindows.h"

using nsVendrel::TranslateCode;

namespace {
const UINT kLanguageChanged = Shell::LanguageChangedMessage();
}  // namespace

IMPLEMENT_DYNAMIC(COptionTab0Dlg, CFunctionDlg)

BEGIN_MESSAGE_MAP(COptionTab0Dlg, CFunctionDlg)
    ON_BN_CLICKED(IDC_OPTION_APPLY, &COptionTab0Dlg::OnApply)
    ON_BN_CLICKED(IDC_OPTION_LANGUAGE_CHANGE, &COptionTab0Dlg::OnChangeLanguage)
    ON_REGISTERED_MESSAGE(kLanguageChanged, &COptionTab0Dlg::OnLanguageChanged)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

COptionTab0Dlg::COptionTab0Dlg()
{
    CreateSkinFont(m_font, 13, FALSE);
    m_bShowPanel = true;
    m_nPanelCount = 1;
    m_rcPanel[0] = RECT{0, 0, 516, 296};
}

void COptionTab0Dlg::OnInitPage()
{
    struct {
        CButton* button;
        const wchar_t* key;
        DWORD style;
        RECT rect;
        int id;
    } buttons[] = {
        {&m_runGroup, L"IDS_OPTION_TAB1_GROUPBOX", BS_GROUPBOX, {16, 12, 500, 84}, IDC_OPTION_RUN_GROUP},
        {&m_run, L"IDS_OPTION_TAB1_CHKBOX_RUN", BS_AUTOCHECKBOX | WS_TABSTOP, {32, 40, 484, 62}, IDC_OPTION_RUN_CHECK},
        {&m_languageGroup,
         L"IDS_OPTION_TAB1_GROUPBOX_LANGUAGE",
         BS_GROUPBOX,
         {16, 100, 500, 176},
         IDC_OPTION_LANGUAGE_GROUP},
        {&m_change,
         L"IDS_OPTION_TAB1_GROUPBOX_LANGUAGE_BTN_CHANGE",
         BS_PUSHBUTTON | WS_TABSTOP,
         {300, 128, 420, 154},
         IDC_OPTION_LANGUAGE_CHANGE},
        {&m_apply, L"IDS_OPTION_TAB1_BTN_APPLY", BS_PUSHBUTTON | WS_TABSTOP, {450, 260, 510, 285}, IDC_OPTION_APPLY},
    };
    // Translated now: the buttons are sized for their captions below.
    for (auto& b : buttons) {
        b.button->Create(TranslateCode(b.key), WS_CHILD | WS_VISIBLE | b.style, b.rect, this, UINT(b.id));
        b.button->SetFont(&m_font);
    }
    m_languages.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(32, 130, 284, 400),
                       this, IDC_OPTION_LANGUAGE_LIST);
    m_languages.SetFont(&m_font);
    FillLanguages(Settings::Language());
    LayOutButtons();
}

void COptionTab0Dlg::LayOutButtons()
{
    // Apply keeps its place at (450, 260)-(510, 285) and grows to the left for a longer caption.
    Shell::LayOutButtonRow({m_apply.GetSafeHwnd()}, 510, 260, 285, 60, 70);
    Shell::LayOutButtonRow({m_change.GetSafeHwnd()}, 420, 128, 154, 120, 130);
}

void COptionTab0Dlg::FillLanguages(int number)
{
    m_languages.ResetContent();
    for (int available : Shell::AvailableLanguages(SBGetAppPathW())) {
        int item = m_languages.AddString(TranslateCode(Shell::LanguageNameKey(available)));
        m_languages.SetItemData(item, DWORD_PTR(available));
        if (available == number) m_languages.SetCurSel(item);
    }
}

void COptionTab0Dlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    // Read again each time: another program or user may have changed it.
    m_run.SetCheck(Shell::IsStartWithWindowsOn() ? BST_CHECKED : BST_UNCHECKED);
}

void COptionTab0Dlg::OnApply()
{
    bool on = m_run.GetCheck() == BST_CHECKED;
    if (Shell::SetStartWithWindows(on, SBGetAppPathW()) != ERROR_SUCCESS)
        AfxMessageBox(TranslateCode(L"IDS_OPTION_TAB1_RUN_FAILED"));
    // Shows what is in effect now, also after a failure.
    m_run.SetCheck(Shell::IsStartWithWindowsOn() ? BST_CHECKED : BST_UNCHECKED);
}

void COptionTab0Dlg::OnChangeLanguage()
{
    int item = m_languages.GetCurSel();
    int number = item >= 0 ? int(m_languages.GetItemData(item)) : 0;
    if (Shell::SwitchLanguage(number, SBGetAppPathW()) != ERROR_SUCCESS)
        AfxMessageBox(TranslateCode(L"IDS_OPTION_LANGUANGE_FAILED"));
}

LRESULT COptionTab0Dlg::OnLanguageChanged(WPARAM wParam, LPARAM)
{
    FillLanguages(int(wParam) + 1);
    LayOutButtons();
    return 0;
}

HBRUSH COptionTab0Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (id == IDC_OPTION_RUN_GROUP || id == IDC_OPTION_RUN_CHECK || id == IDC_OPTION_LANGUAGE_LIST ||
        id == IDC_OPTION_LANGUAGE_GROUP || nCtlColor == CTLCOLOR_LISTBOX)
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return brush;
}
