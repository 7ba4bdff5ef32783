#include "SysOpCheckPage.h"

#include "Dictionary.h"

using nsVendrel::TranslateCode;

namespace {
const int kLeft = 10, kRight = 727, kBarTop = 10, kBarBottom = 80, kRowsTop = 90, kRowGap = 6;
}  // namespace

BEGIN_MESSAGE_MAP(CSysOpCheckPage, CFunctionDlg)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSysOpCheckPage::CSysOpCheckPage(const SysOpCheckPageSpec& spec) : m_spec(spec)
{
    CreateSkinFont(m_captionFont, 14, TRUE);
}

CSysOpCheckPage::~CSysOpCheckPage() = default;

void CSysOpCheckPage::AddPanel(const RECT& rect)
{
    if (m_nPanelCount >= kMaxPanels) return;
    m_bShowPanel = true;
    m_rcPanel[m_nPanelCount++] = rect;
}

int CSysOpCheckPage::RowsBottom() const { return kRowsTop + m_spec.rowCount * m_spec.rowStep - kRowGap; }

void CSysOpCheckPage::OnInitPage()
{
    AddPanel(CRect(kLeft, kBarTop, kRight, kBarBottom));
    CreateButton(m_apply, m_spec.applyKey, m_spec.applyId, CRect(30, 25, 154, 65));
    CreateButton(m_reset, m_spec.resetKey, m_spec.resetId, CRect(170, 25, 294, 65));
    for (int i = 0; i < m_spec.rowCount; ++i) {
        const SysOpCheckRow& row = m_spec.rows[i];
        const int top = kRowsTop + i * m_spec.rowStep, bottom = top + m_spec.rowStep - kRowGap;
        AddPanel(CRect(kLeft, top, kRight, bottom));
        CreateControl({row.id, PageControlKind::CheckBox, {30, top + 8, 700, top + 28}, row.captionKey, WS_TABSTOP})
            ->SetFont(&m_captionFont);
        CreateControl({0xFFFF, PageControlKind::Text, {48, top + 30, 700, bottom - 4}, row.descriptionKey});
    }
}

void CSysOpCheckPage::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    Load();
}

bool CSysOpCheckPage::IsChecked(int id) const
{
    return ::SendMessageW(::GetDlgItem(m_hWnd, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSysOpCheckPage::SetChecked(int id, bool checked)
{
    ::SendMessageW(::GetDlgItem(m_hWnd, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<int> CSysOpCheckPage::RowsThatDiffer(const std::function<bool(int id)>& shown) const
{
    std::vector<int> differ;
    for (int i = 0; i < m_spec.rowCount; ++i)
        if (shown(m_spec.rows[i].id) != IsChecked(m_spec.rows[i].id)) differ.push_back(m_spec.rows[i].id);
    return differ;
}

void CSysOpCheckPage::OnApply()
{
    const std::vector<int> failed = Apply();
    if (failed.empty()) {
        AfxMessageBox(TranslateCode(m_spec.doneKey));
        return;
    }
    // Name each setting that did not take by the caption the user sees.
    CString text = TranslateCode(m_spec.failedKey);
    for (int id : failed) {
        CString caption;
        GetDlgItemText(id, caption);
        text += L"\n- " + caption;
    }
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

BOOL CSysOpCheckPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == m_spec.applyId) {
            OnApply();
            return TRUE;
        }
        if (LOWORD(wParam) == m_spec.resetId) {
            Load();
            return TRUE;
        }
    }
    return CFunctionDlg::OnCommand(wParam, lParam);
}

HBRUSH CSysOpCheckPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    for (int i = 0; i < m_spec.rowCount; ++i)
        if (m_spec.rows[i].id == id) pDC->SetTextColor(kCaptionColour);
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}
