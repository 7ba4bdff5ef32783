#include "MoravinWinsockDlg.h"

#include "ComputerRestart.h"
#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_WINSOCK, CMoravinWinsockDlg);

namespace {
const int kLeft = 20, kRight = 717;
}  // namespace

BEGIN_MESSAGE_MAP(CMoravinWinsockDlg, CRepairPage)
    ON_BN_CLICKED(CMoravinWinsockDlg::IDC_REPAIR, &CMoravinWinsockDlg::OnRepair)
END_MESSAGE_MAP()

void CMoravinWinsockDlg::OnInitPage()
{
    CreateText(m_description, L"IDS_SYS_FIX_WINSOCK_DESCR", IDC_DESCRIPTION, CRect(kLeft, 15, kRight, 55));
    CreateList(m_list, IDC_CATALOG_LIST, CRect(kLeft, 60, kRight, 450), kListStyle, kListExtendedStyle,
               {{L"IDS_SYS_FIX_WINSOCK_LIST1", 120},
                {L"IDS_SYS_FIX_WINSOCK_LIST2", 320},
                {L"IDS_SYS_FIX_WINSOCK_LIST3", 230}});
    CreateButton(m_repair, L"IDS_SYS_FIX_WINSOCK_REPAIR", IDC_REPAIR, CRect(kRight - 124, 470, kRight, 510));

    std::vector<Moravin::CWinsockRepaire::WinsockItem> items;
    m_winsock.GetAllWinsockItems(items);
    for (size_t i = 0; i < items.size(); ++i) {
        const int row = static_cast<int>(i);
        m_list.InsertItem(row, items[i].entryKey.c_str());
        m_list.SetItemText(row, 1, items[i].providerPath.c_str());
        m_list.SetItemText(row, 2, items[i].protocolName.c_str());
    }
}

void CMoravinWinsockDlg::OnRepair()
{
    if (IsBusy() || AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_WINSOCK"), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    Moravin::CWinsockRepaire* winsock = &m_winsock;
    m_repair.EnableWindow(FALSE);
    if (!RunJob([winsock] { return WPARAM(winsock->RepaireWinsock() ? 1 : 0); })) m_repair.EnableWindow(TRUE);
}

void CMoravinWinsockDlg::OnJobDone(WPARAM reset)
{
    m_repair.EnableWindow(TRUE);
    // No restart after a reset that failed: it would only take the user's work away.
    if (!reset) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_WINSOCK_FAILED"));
        return;
    }
    switch (RequestRestart()) {
    case RestartRequest::Requested: break;
    case RestartRequest::NoShutdownRight: AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_WINSOCK_NO_SHUTDOWN_RIGHT")); break;
    case RestartRequest::Failed: AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_WINSOCK_RESTART_FAILED")); break;
    }
}
