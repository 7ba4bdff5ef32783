#include "SysOpServiceOptDlg.h"

#include <Tessik/RegSystemServiceMan.h>

#include "Dictionary.h"
#include "PageFactory.h"
#include "TextTranslator.h"
#include "options/LanguageSwitch.h"

using nsVendrel::TranslateCode;
using namespace SysOp;

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_SERVICE, CSysOpServiceOptDlg);

namespace {

const wchar_t* const kChoiceKeys[3] = {L"IDS_SYS_OP_SERVICE_CHKBOX_AUTOSTART", L"IDS_SYS_OP_SERVICE_CHKBOX_MANUALSTART",
                                       L"IDS_SYS_OP_SERVICE_CHKBOX_DISABLE"};
const wchar_t* const kProfileKeys[3] = {L"IDS_SYS_OP_SERVICE_TXT_CURRENT_SETTINGS", L"IDS_SYS_OP_SERVICE_TXT_HOME",
                                        L"IDS_SYS_OP_SERVICE_TXT_OFFICE"};
// Layout: the profile radios and buttons in a bar at the top, the services in two columns of eight boxes.
const int kColumnLeft[2] = {10, 372}, kBoxWidth = 355, kBoxTop = 88, kBoxStep = 55, kBoxHeight = 50;

int AutoRadio(int k) { return kFirstServiceRadio + 3 * k; }

const UINT kLanguageChanged = Shell::LanguageChangedMessage();

// A service's name as its group box shows it: the system draws a group box's "&" as a mnemonic.
CString GroupCaption(int k) { return LiteralAmpersands(TranslateCode(ServiceAt(k).labelKey).GetString()).c_str(); }

}  // namespace

BEGIN_MESSAGE_MAP(CSysOpServiceOptDlg, CFunctionDlg)
    ON_WM_CTLCOLOR()
    ON_REGISTERED_MESSAGE(kLanguageChanged, &CSysOpServiceOptDlg::OnLanguageChanged)
END_MESSAGE_MAP()

CSysOpServiceOptDlg::CSysOpServiceOptDlg() = default;

LRESULT CSysOpServiceOptDlg::OnLanguageChanged(WPARAM, LPARAM)
{
    for (int k = 0; k < kServiceCount; ++k) m_groups[k].SetWindowText(GroupCaption(k));
    return 0;
}

void CSysOpServiceOptDlg::OnInitPage()
{
    for (int k = 0; k < kServiceCount; ++k) {
        const int left = kColumnLeft[k / 8], top = kBoxTop + (k % 8) * kBoxStep;
        CreateGroupBox(m_groups[k], nullptr, 25100 + k, CRect(left, top, left + kBoxWidth, top + kBoxHeight));
        m_groups[k].SetWindowText(GroupCaption(k));
        for (int i = 0; i < 3; ++i) {
            const int x = left + 12 + i * 112;
            CreateCheckBox(m_radios[3 * k + i], kChoiceKeys[i], AutoRadio(k) + i, CRect(x, top + 22, x + 108, top + 42),
                           BS_RADIOBUTTON);
        }
    }
    m_bShowPanel = true;
    m_rcPanel[0] = CRect(10, 8, 727, 80);
    m_nPanelCount = 1;
    for (int i = 0; i < 3; ++i) {
        CreateCheckBox(m_profiles[i], kProfileKeys[i], IDC_CURRENT + i, CRect(30, 14 + 21 * i, 400, 33 + 21 * i),
                       BS_RADIOBUTTON);
    }
    CreateButton(m_apply, L"IDS_SYS_OP_SERVICE_TEXT_APPLY", IDC_APPLY, CRect(440, 24, 564, 64));
    CreateButton(m_reset, L"IDS_SYS_OP_SERVICE_TEXT_RESET", IDC_RESET, CRect(580, 24, 704, 64));
}

void CSysOpServiceOptDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    OnRadioClicked(IDC_CURRENT);
}

bool CSysOpServiceOptDlg::IsRadioChecked(int id) const
{
    return ::SendMessageW(::GetDlgItem(m_hWnd, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSysOpServiceOptDlg::CheckOnly(int groupFirst, int checkedIndex)
{
    for (int i = 0; i < 3; ++i)
        ::SendMessageW(::GetDlgItem(m_hWnd, groupFirst + i), BM_SETCHECK,
                       i == checkedIndex ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CSysOpServiceOptDlg::OnRadioClicked(int id)
{
    const int first = RadioGroupOf(id);
    CheckOnly(first, id - first);
    if (id == IDC_CURRENT) LoadCurrentSettings();
    if (id == IDC_HOME || id == IDC_OFFICE) ShowProfile(id == IDC_OFFICE);
}

void CSysOpServiceOptDlg::LoadCurrentSettings()
{
    for (int k = 0; k < kServiceCount; ++k) {
        SystemServiceStartType type = SERVICE_START_UNKNOWN;
        // A service that cannot be read keeps its radios as they are.
        if (CRegSystemServiceMan().GetServiceStartType(ServiceAt(k).name, type))
            CheckOnly(AutoRadio(k), RadioOfStartType(type));
    }
}

void CSysOpServiceOptDlg::ShowProfile(bool office)
{
    for (int k = 0; k < kServiceCount; ++k)
        CheckOnly(AutoRadio(k), (office ? ServiceAt(k).office : ServiceAt(k).home) - 1);
}

void CSysOpServiceOptDlg::OnApply()
{
    CString failed;
    for (int k = 0; k < kServiceCount; ++k) {
        const int type = StartTypeOf(IsRadioChecked(AutoRadio(k)), IsRadioChecked(AutoRadio(k) + 1),
                                     IsRadioChecked(AutoRadio(k) + 2));
        const wchar_t* name = ServiceAt(k).name;
        // Services this machine does not have are never written (no key is created for them).
        if (type == 0 || !CRegSystemServiceMan().IsServiceExisted(name)) continue;
        CRegSystemServiceMan().SetServiceStartType(name, static_cast<SystemServiceStartType>(type));
        SystemServiceStartType now = SERVICE_START_UNKNOWN;
        if (!CRegSystemServiceMan().GetServiceStartType(name, now) || now != type)
            failed += L"\n- " + TranslateCode(ServiceAt(k).labelKey);
    }
    // Confirmed as on the other optimisation pages; a start type that did not take is named.
    if (failed.IsEmpty())
        AfxMessageBox(TranslateCode(L"IDS_SYS_OP_SERVICE_MSG_SET_COMPLETE"));
    else
        AfxMessageBox(TranslateCode(L"IDS_SYS_OP_SERVICE_MSG_SET_FAILED") + failed, MB_OK | MB_ICONWARNING);
}

BOOL CSysOpServiceOptDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == IDC_APPLY) {
            OnApply();
            return TRUE;
        }
        if (id == IDC_RESET) {
            OnRadioClicked(IDC_CURRENT);
            return TRUE;
        }
        if (id >= IDC_CURRENT && id <= kLastRadio) {
            OnRadioClicked(id);
            return TRUE;
        }
    }
    return CFunctionDlg::OnCommand(wParam, lParam);
}

HBRUSH CSysOpServiceOptDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CButton))) return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return SharedWhiteBrush();
}
