#include "SysOpOtherOptDlg.h"

#include <Tessik/RegMiscOptimizeMan.h>

#include <string>

#include "PageFactory.h"

using tessik::CRegMiscOptimizeMan;

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_OTHER, CSysOpOtherOptDlg);

namespace {

const SysOpCheckRow kRows[] = {
    {27001, L"IDS_SYS_OP_OTHER_RESTART_WINDOW_WHEN_ERROR", L"IDS_SYS_OP_OTHER_DESCRIPTION_RESTART_WINDOW_WHEN_ERROR"},
    {27002, L"IDS_SYS_OP_OTHER_END_UNRESPONSIVE_APP", L"IDS_SYS_OP_OTHER_DESCRIPTION_END_UNRESPONSIVE_APP"},
    {27003, L"IDS_SYS_OP_OTHER_ACCELERATE_TURNOFF", L"IDS_SYS_OP_OTHER_DESCRIPTION_ACCELERATE_TURNOFF"},
    {27004, L"IDS_SYS_OP_OTHER_DISABLE_AUTO_PLAY", L"IDS_SYS_OP_OTHER_DESCRIPTION_DISABLE_AUTO_PLAY"},
    {27005, L"IDS_SYS_OP_OTHER_DISABLE_ERROR_REPORT", L"IDS_SYS_OP_OTHER_DESCRIPTION_DISABLE_ERROR_REPORT"},
    {27006, L"IDS_SYS_OP_OTHER_DISABLE_LOW_DISK_WARN", L"IDS_SYS_OP_OTHER_DESCRIPTION_DISABLE_LOW_DISK_WARN"},
    {27007, L"IDS_SYS_OP_OTHER_AUTO_ADMIN_LOGON", L"IDS_SYS_OP_OTHER_DESCRIPTION_AUTO_ADMIN_LOGON"},
};

const SysOpCheckPageSpec kSpec = {
    CSysOpOtherOptDlg::IDC_APPLY,
    L"IDS_SYS_OP_OTHER_TEXT_APPLY",
    CSysOpOtherOptDlg::IDC_RESET,
    L"IDS_SYS_OP_OTHER_TEXT_RESET",
    kRows,
    7,
    56,
    L"IDS_SYS_OP_OTHER_TEXT_OPTIMIZE_COMPLETED",
    L"IDS_SYS_OP_OTHER_TEXT_OPTIMIZE_FAILED",
};

// The six switches in the order of the rows.
struct Switch {
    int id;
    bool (CRegMiscOptimizeMan::*get)() const;
    bool (CRegMiscOptimizeMan::*set)(bool);
};
const Switch kSwitches[] = {
    {27001, &CRegMiscOptimizeMan::GetRestartWindowWhenError, &CRegMiscOptimizeMan::SetRestartWindowWhenError},
    {27002, &CRegMiscOptimizeMan::GetEndUnrespApp, &CRegMiscOptimizeMan::SetEndUnrespApp},
    {27003, &CRegMiscOptimizeMan::GetAccelerateTurnOff, &CRegMiscOptimizeMan::SetAccelerateTurnOff},
    {27004, &CRegMiscOptimizeMan::GetDisableAutoPlay, &CRegMiscOptimizeMan::SetDisableAutoPlay},
    {27005, &CRegMiscOptimizeMan::GetDisableErrReport, &CRegMiscOptimizeMan::SetDisableErrReport},
    {27006, &CRegMiscOptimizeMan::GetDisableLowDiskWarn, &CRegMiscOptimizeMan::SetDisableLowDiskWarn},
};

std::wstring TextOf(const CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return std::wstring(text.GetString());
}

}  // namespace

CSysOpOtherOptDlg::CSysOpOtherOptDlg() : CSysOpCheckPage(kSpec) {}

void CSysOpOtherOptDlg::OnInitPage()
{
    CSysOpCheckPage::OnInitPage();
    const int top = RowsBottom() + 6;
    AddPanel(CRect(10, top, 727, top + 40));
    CreateControl(
        {0xFFFF, PageControlKind::Text, {30, top + 12, 150, top + 30}, L"IDS_SYS_OP_OTHER_USERNAME", SS_RIGHT});
    CreateEdit(m_user, IDC_USER, CRect(160, top + 9, 340, top + 31), WS_TABSTOP | ES_AUTOHSCROLL);
    CreateControl({0xFFFF, PageControlKind::Text, {360, top + 12, 480, top + 30}, L"IDS_SYS_OP_OTHER_PSWD", SS_RIGHT});
    CreateEdit(m_password, IDC_PASSWORD, CRect(490, top + 9, 670, top + 31), WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD);
}

void CSysOpOtherOptDlg::EnableAccountFields()
{
    const BOOL on = IsChecked(IDC_AUTO_LOGON);
    m_user.EnableWindow(on);
    m_password.EnableWindow(on);
}

void CSysOpOtherOptDlg::Load()
{
    CRegMiscOptimizeMan man;
    for (const Switch& s : kSwitches) SetChecked(s.id, (man.*s.get)());
    std::wstring user, password;
    SetChecked(IDC_AUTO_LOGON, man.GetEnableAutoLogon(user, password));
    m_user.SetWindowText(user.c_str());
    m_password.SetWindowText(password.c_str());
    EnableAccountFields();
}

std::vector<int> CSysOpOtherOptDlg::Apply()
{
    CRegMiscOptimizeMan man;
    for (const Switch& s : kSwitches) (man.*s.set)(IsChecked(s.id));
    const bool logon = IsChecked(IDC_AUTO_LOGON);
    const std::wstring user = TextOf(m_user), password = TextOf(m_password);
    // Switching off also removes the stored password; when that fails the setting did not take.
    const bool switched = logon ? man.EnableAutoLogon(user, password) : man.DisableAutoLogon();

    CRegMiscOptimizeMan fresh;
    std::vector<int> failed;
    for (const Switch& s : kSwitches)
        if ((fresh.*s.get)() != IsChecked(s.id)) failed.push_back(s.id);
    std::wstring storedUser, storedPassword;
    const bool on = fresh.GetEnableAutoLogon(storedUser, storedPassword);
    if (!switched || on != logon || (logon && (storedUser != user || storedPassword != password)))
        failed.push_back(IDC_AUTO_LOGON);
    return failed;
}

BOOL CSysOpOtherOptDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_AUTO_LOGON) {
        CSysOpCheckPage::OnCommand(wParam, lParam);
        EnableAccountFields();
        return TRUE;
    }
    return CSysOpCheckPage::OnCommand(wParam, lParam);
}
