#include "MoravinActiveXDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

#include <QPathText.h>

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_ACTIVEX, CMoravinActiveXDlg);

namespace {

const int kLeft = 20, kRight = 717;

// The state text of a row for a registration's result.
const wchar_t* RowTextKey(LPARAM result)
{
    switch (result) {
    case Moravin::DLLREG_REGISTERED: return L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS";
    case Moravin::DLLREG_NOTHING_TO_REGISTER: return L"IDS_SYS_FIX_DLL_REGISTER_NOTHING";
    default: return L"IDS_SYS_FIX_DLL_REGISTER_FAILED";
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CMoravinActiveXDlg, CRepairPage)
    ON_BN_CLICKED(CMoravinActiveXDlg::IDC_REGISTER, &CMoravinActiveXDlg::OnRegister)
    ON_BN_CLICKED(CMoravinActiveXDlg::IDC_STOP, &CMoravinActiveXDlg::OnStop)
    ON_MESSAGE(WM_DLLREG_ITEM_DONE, &CMoravinActiveXDlg::OnItemDone)
    ON_MESSAGE(WM_DLLREG_DONE, &CMoravinActiveXDlg::OnRunDone)
END_MESSAGE_MAP()

void CMoravinActiveXDlg::OnInitPage()
{
    CreateText(m_description, L"IDS_SYS_FIX_REGISTER_DLL_DESP", IDC_DESCRIPTION, CRect(kLeft, 15, kRight, 55));
    CreateList(m_list, IDC_DLL_LIST, CRect(kLeft, 60, kRight, 420), kListStyle, kListExtendedStyle,
               {{L"IDS_SYS_FIX_REGISTER_DLL_LIST1", 480}, {L"IDS_SYS_FIX_REGISTER_DLL_LIST2", 190}});
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(kLeft, 435, kRight, 451), this, IDC_PROGRESS);
    CreateButton(m_stop, L"IDS_SYS_FIX_REGISTER_DLL_STOP", IDC_STOP, CRect(kRight - 254, 470, kRight - 130, 510));
    CreateButton(m_register, L"IDS_SYS_FIX_REGISTER_DLL_REGISTER", IDC_REGISTER, CRect(kRight - 124, 470, kRight, 510));

    std::vector<std::wstring> names;
    m_registration.GetDllNames(names);
    for (size_t i = 0; i < names.size(); ++i) m_list.InsertItem(static_cast<int>(i), names[i].c_str());
    m_progress.SetRange32(0, m_list.GetItemCount());
    m_progress.SetPos(0);
    m_registration.SetParentWnd(GetSafeHwnd());
}

int CMoravinActiveXDlg::RowOf(const std::wstring& path)
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (qpath::EqualsNoCase(std::wstring(m_list.GetItemText(row, 0)), path)) return row;
    return -1;
}

void CMoravinActiveXDlg::OnRegister()
{
    if (IsBusy()) return;
    m_nDone = 0;
    m_progress.SetPos(0);
    for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemText(row, 1, L"");
    SetBusy(true);
    m_register.EnableWindow(FALSE);
    if (!m_registration.RegisterSystemDll()) {
        SetBusy(false);
        m_register.EnableWindow(TRUE);
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_REGISTER_SOME_FAILED"));
    }
}

void CMoravinActiveXDlg::OnStop() { m_registration.StopRegisterDll(); }

LRESULT CMoravinActiveXDlg::OnItemDone(WPARAM wParam, LPARAM lParam)
{
    // Several registrations run at once and end in any order: the bar counts the ones done.
    // The report names its DLL: the folder may have changed since the list was made, so rows go by name.
    const std::wstring name = m_registration.RunDllName(wParam);
    if (name.empty()) return 0;
    int row = RowOf(name);
    if (row < 0) {
        row = m_list.InsertItem(m_list.GetItemCount(), name.c_str());
        m_progress.SetRange32(0, m_list.GetItemCount());
    }
    const int rows = m_list.GetItemCount();
    m_progress.SetPos(++m_nDone < rows ? m_nDone : rows);
    m_list.SetItemText(row, 1, TranslateCode(RowTextKey(lParam)));
    return 0;
}

LRESULT CMoravinActiveXDlg::OnRunDone(WPARAM wParam, LPARAM lParam)
{
    SetBusy(false);
    m_register.EnableWindow(TRUE);
    if (wParam) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_STOP_BTN"));
        return 0;
    }
    if (lParam == DLLREG_LIST_FAILED) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_LIST_FAILED"));
        return 0;
    }
    m_progress.SetPos(m_list.GetItemCount());
    AfxMessageBox(
        TranslateCode(lParam == 0 ? L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS" : L"IDS_SYS_FIX_DLL_REGISTER_SOME_FAILED"));
    return 0;
}
