#include "SysOpNetworkOptDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_NETWORK, CSysOpNetworkOptDlg);

namespace {
const wchar_t* const kTypeKeys[] = {
    L"IDS_SYS_OP_NETWORK_SELECT_CONNECTION",
    L"IDS_SYS_OP_NETWROK_DIA_UP_CONNECTION",
    L"IDS_SYS_OP_NETWROK_ISDN_64KBPS",
    L"IDS_SYS_OP_NETWROK_ISDN_2",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_512KBPS",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_512T1",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_T2",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_T6",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_T16",
    L"IDS_SYS_OP_NETWROK_DSL_CABLE_MODEM_OR_SATELLITE_16M_HIGHER",
    L"IDS_SYS_OP_NETWROK_FIXED_CONNECTION",
    L"IDS_SYS_OP_NETWROK_LOCAL_NETWORK",
    L"IDS_SYS_OP_NETWROK_WIRELESS_NETWORK",
};
}  // namespace

BEGIN_MESSAGE_MAP(CSysOpNetworkOptDlg, CFunctionDlg)
    ON_BN_CLICKED(CSysOpNetworkOptDlg::IDC_OPTIMIZE, &CSysOpNetworkOptDlg::OnOptimize)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSysOpNetworkOptDlg::CSysOpNetworkOptDlg() { CreateSkinFont(TextFont(), 14, FALSE); }

void CSysOpNetworkOptDlg::OnInitPage()
{
    m_bShowPanel = true;
    m_rcPanel[0] = CRect(10, 10, 727, 140);
    m_nPanelCount = 1;
    CreateControl(
        {IDC_PROMPT, PageControlKind::Text, {30, 30, 700, 50}, L"IDS_SYS_OP_NETWORK_TXT_SELECT_NETWORK_TYPE"});
    m_types.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(30, 70, 460, 370), this,
                   IDC_TYPE);
    m_types.SetFont(&TextFont());
    for (const wchar_t* key : kTypeKeys) m_types.AddString(TranslateCode(key));
    m_types.SetCurSel(0);
    CreateButton(m_optimize, L"IDS_SYS_OP_NETWORK_BUTTON_OPTIMIZE", IDC_OPTIMIZE, CRect(480, 62, 604, 102));
}

void CSysOpNetworkOptDlg::OnOptimize()
{
    AfxMessageBox(TranslateCode(m_types.GetCurSel() <= 0 ? L"IDS_SYS_OP_NETWORK_MSG_SELECT_TYPE"
                                                         : L"IDS_SYS_OP_NETWORK_MSG_OPTIMIZE_COMPLETE"));
}

HBRUSH CSysOpNetworkOptDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_TYPE) return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return SharedWhiteBrush();
}
