#include "MoravinActiveXDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

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
    CreateSkinFont(m_textFont, 13, FALSE);
    m_description.Create(TranslateCode(L"IDS_SYS_FIX_REGISTER_DLL_DESP"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(kLeft, 15, kRight, 55), this, IDC_DESCRIPTION);
    m_description.SetFont(&m_textFont);

    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(kLeft, 60, kRight, 420),
                  this, IDC_DLL_LIST);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, TranslateCode(L"IDS_SYS_FIX_REGISTER_DLL_LIST1"), LVCFMT_LEFT, 480);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SYS_FIX_REGISTER_DLL_LIST2"), LVCFMT_LEFT, 190);

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(kLeft, 435, kRight, 451), this, IDC_PROGRESS);
    m_stop.Create(TranslateCode(L"IDS_SYS_FIX_REGISTER_DLL_STOP"), WS_CHILD | WS_VISIBLE,
                  CRect(kRight - 254, 470, kRight - 130, 510), this, IDC_STOP);
    m_register.Create(TranslateCode(L"IDS_SYS_FIX_REGISTER_DLL_REGISTER"), WS_CHILD | WS_VISIBLE,
                      CRect(kRight - 124, 470, kRight, 510), this, IDC_REGISTER);

    std::vector<std::wstring> names;
    m_registration.GetDllNames(names);
    for (size_t i = 0; i < names.size(); ++i) m_list.InsertItem(static_cast<int>(i), names[i].c_str());
    m_progress.SetRange32(0, m_list.GetItemCount());
    m_progress.SetPos(0);
    m_registration.SetParentWnd(GetSafeHwnd());
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

void CMoravinActiveXDlg::OnStop()
{
    m_registration.StopRegisterDll();
}

LRESULT CMoravinActiveXDlg::OnItemDone(WPARAM wParam, LPARAM lParam)
{
    // Several registrations run at once and end in any order: the bar counts the ones done.
    const int rows = m_list.GetItemCount();
    m_progress.SetPos(++m_nDone < rows ? m_nDone : rows);
    if (wParam < static_cast<WPARAM>(rows))
        m_list.SetItemText(static_cast<int>(wParam), 1, TranslateCode(RowTextKey(lParam)));
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
    m_progress.SetPos(m_list.GetItemCount());
    AfxMessageBox(
        TranslateCode(lParam == 0 ? L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS" : L"IDS_SYS_FIX_DLL_REGISTER_SOME_FAILED"));
    return 0;
}
