#include "YarrowbyFileExtDlg.h"

#include <Common.h>

#include "FileExtRequest.h"
#include "PageFactory.h"
#include "ServiceAddress.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_FILE_EXTENSION, CYarrowbyFileExtDlg);

HRESULT CMyHtmlView::OnGetHostInfo(DOCHOSTUIINFO* info)
{
    info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    return S_OK;
}

BEGIN_MESSAGE_MAP(CYarrowbyFileExtDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyFileExtDlg::IDC_SEARCH, &CYarrowbyFileExtDlg::LookUp)
    ON_EN_SETFOCUS(CYarrowbyFileExtDlg::IDC_EXTENSION, &CYarrowbyFileExtDlg::OnExtensionFocus)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyFileExtDlg::CYarrowbyFileExtDlg()
{
    int kind = SB_OS_XP;
    bool is64 = false;
    GetOSVersion(kind, is64);
    m_systemText = fileext::SystemText(kind, is64);
}

void CYarrowbyFileExtDlg::OnInitPage()
{
    const PageControlRow texts[] = {
        {IDC_TIPS, PageControlKind::Text, {10, 10, 727, 48}, L"IDS_SYS_TOOL_FILE_EXT_TIPS"},
        {IDC_LABEL, PageControlKind::Text, {10, 66, 150, 86}, L"IDS_SYS_TOOL_FILE_EXT_TXT_FILENAME"},
    };
    CreateControls(texts);
    CreateEdit(m_extension, IDC_EXTENSION, CRect(155, 63, 455, 87), WS_TABSTOP | ES_AUTOHSCROLL);
    CreateButton(m_search, L"IDS_SYS_TOOL_FILE_EXT_BTN_SEARCH", IDC_SEARCH, CRect(470, 55, 594, 95), WS_TABSTOP);
    // Hidden until the first look-up.
    m_view.Create(nullptr, nullptr, WS_CHILD, CRect(10, 105, 727, 526), this, IDC_BROWSER);
}

void CYarrowbyFileExtDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    m_view.ShowWindow(SW_HIDE);
    m_search.SetFocus();
    m_extension.SetWindowText(kDefaultExtension);
}

void CYarrowbyFileExtDlg::OnExtensionFocus()
{
    CString text;
    m_extension.GetWindowText(text);
    if (text == kDefaultExtension) m_extension.SetWindowText(L"");
}

void CYarrowbyFileExtDlg::LookUp()
{
    CString typed;
    m_extension.GetWindowText(typed);
    const std::wstring extension = fileext::Trim(static_cast<LPCWSTR>(typed));
    if (extension.empty()) {
        AfxMessageBox(L"Please Enter an extension.");
        return;
    }
    m_view.ShowWindow(SW_SHOW);
    m_view.Navigate2(fileext::LookupUrl(ServiceAddress::BaseUrl(), m_systemText, extension).c_str());
}

HBRUSH CYarrowbyFileExtDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetSafeHwnd() == m_extension.GetSafeHwnd())
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return brush;
}
