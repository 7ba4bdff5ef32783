#include "ScanCleanRegCleanStep1.h"
#include "SkinDraw.h"

#include "Dictionary.h"
#include "MainWindowBusy.h"

using nsVendrel::TranslateCode;

namespace {
const int kListX = 20, kListY = 60, kListW = 700, kListH = 330;
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanRegCleanStep1, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanRegCleanStep1::IDC_REPAIR, &CScanCleanRegCleanStep1::OnRepair)
    ON_BN_CLICKED(CScanCleanRegCleanStep1::IDC_SELECT_ALL, &CScanCleanRegCleanStep1::OnSelectAll)
    ON_MESSAGE(WM_REGCLEAN_ITEM, &CScanCleanRegCleanStep1::OnCleanItem)
    ON_MESSAGE(WM_REGCLEAN_FINISHED, &CScanCleanRegCleanStep1::OnCleanFinished)
    ON_NOTIFY(LVN_ITEMCHANGED, CScanCleanRegCleanStep1::IDC_RESULT_LIST, &CScanCleanRegCleanStep1::OnListItemChanged)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CScanCleanRegCleanStep1::CScanCleanRegCleanStep1()
{
    WatchWorker(m_cleanWorker);
    m_hFrame = Shell::LoadSkinBitmap(352);
}

CScanCleanRegCleanStep1::~CScanCleanRegCleanStep1()
{
    StopAndWait();
    if (m_hFrame) DeleteObject(m_hFrame);
}

void CScanCleanRegCleanStep1::OnInitPage()
{
    CreateControl({IDC_COUNT_CAPTION,
                   PageControlKind::Text,
                   {kListX, 25, kListX + 200, 45},
                   L"IDS_SCAN_CLEAN_SCAN_RESULT_TXT_ENTRY_COUNT"});
    CreateText(m_count, nullptr, IDC_COUNT, CRect(kListX + 205, 25, kListX + 300, 45));
    m_count.SetWindowText(L"0");
    CreateText(m_doneMessage, nullptr, IDC_DONE_MESSAGE, CRect(kListX + 305, 25, kListX + kListW, 45));

    // The column's title is never shown: the rows carry their own two lines.
    CreateList(m_list, IDC_RESULT_LIST, CRect(kListX, kListY, kListX + kListW, kListY + kListH),
               LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS, 0);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, client.Width());

    CreateCheckBox(m_selectAll, L"IDS_SCAN_CLEAN_REGISTRY_SELECT_ALL", IDC_SELECT_ALL,
                   CRect(kListX, kListY + kListH + 25, kListX + 250, kListY + kListH + 45));
    CreateControl({IDC_REPAIR,
                   PageControlKind::Button,
                   {kListX + kListW - 124, kListY + kListH + 15, kListX + kListW, kListY + kListH + 55},
                   L"IDS_SCAN_CLEAN_REGISTRY_SCAN_RESULT_BTN_REPAIR"});
}

void CScanCleanRegCleanStep1::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    if (m_pEngine) m_pEngine->SetScanWnd(m_hWnd);
    ShowCount(int(m_results.size()));
    ShowDoneMessage(L"");
    ShowSelectAllState();
}

void CScanCleanRegCleanStep1::ShowCount(int count)
{
    CString text;
    text.Format(L"%d", count);
    m_count.SetWindowText(text);
    CRect rc;
    m_count.GetWindowRect(&rc);
    ScreenToClient(&rc);
    InvalidateRect(&rc);
}

void CScanCleanRegCleanStep1::ShowDoneMessage(const CString& text)
{
    m_doneMessage.SetWindowText(text);
    CRect rc;
    m_doneMessage.GetWindowRect(&rc);
    ScreenToClient(&rc);
    InvalidateRect(&rc);
}

void CScanCleanRegCleanStep1::ShowSelectAllState()
{
    int count = m_list.GetItemCount();
    bool all = count > 0;
    for (int i = 0; i < count && all; ++i) all = m_list.IsRowChecked(i);
    m_selectAll.SetCheck(all ? BST_CHECKED : BST_UNCHECKED);
}

void CScanCleanRegCleanStep1::OnListItemChanged(NMHDR* hdr, LRESULT* result)
{
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(hdr);
    if (!m_bSettingAllChecks && (change->uChanged & LVIF_STATE) &&
        ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
        ShowSelectAllState();
    if (result) *result = 0;
}

int CScanCleanRegCleanStep1::FindListRow(const CRegistryData::SCAN_RESULT* result) const
{
    int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i)
        if (m_list.GetResult(i) == result) return i;
    return -1;
}

void CScanCleanRegCleanStep1::Reset()
{
    m_list.DeleteAllItems();
    m_results.clear();
    ShowDoneMessage(L"");
}

void CScanCleanRegCleanStep1::AddResult(const CRegistryData::SCAN_RESULT* pResult)
{
    if (!pResult || !m_results.insert(pResult).second) return;
    m_list.AddScanResult(pResult);
}

void CScanCleanRegCleanStep1::OnSelectAll()
{
    BOOL check = m_selectAll.GetCheck() == BST_CHECKED;
    int count = m_list.GetItemCount();
    m_bSettingAllChecks = true;
    for (int i = 0; i < count; ++i) m_list.SetCheck(i, check);
    m_bSettingAllChecks = false;
    m_list.Invalidate();
}

void CScanCleanRegCleanStep1::OnRepair()
{
    if (IsCleaning() || !m_pEngine) return;
    // Nothing the list does not show as ticked may be deleted, whatever an earlier scan or clean left selected.
    m_pEngine->SelectNone();

    std::vector<const CRegistryData::SCAN_RESULT*> rows;
    int checked = 0;
    int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        const CRegistryData::SCAN_RESULT* result = m_list.GetResult(i);
        rows.push_back(result);
        if (result && m_list.IsRowChecked(i)) {
            m_pEngine->Select(*result, true);
            ++checked;
        }
    }
    if (checked == 0) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_NOIMTE"));
        return;
    }
    m_book.Begin(rows);
    ShowDoneMessage(L"");
    m_pEngine->SetScanWnd(m_hWnd);
    EnableWindow(FALSE);
    SetMainWindowBusy(true);
    if (!m_cleanWorker.Start([this] { CleanThread(this); })) {
        m_pEngine->SelectNone();
        EnableWindow(TRUE);
        SetMainWindowBusy(false);
    }
}

DWORD WINAPI CScanCleanRegCleanStep1::CleanThread(LPVOID param)
{
    CScanCleanRegCleanStep1* self = static_cast<CScanCleanRegCleanStep1*>(param);
    return DWORD(self->m_pEngine->Clean(nullptr, nullptr));
}

LRESULT CScanCleanRegCleanStep1::OnCleanItem(WPARAM wParam, LPARAM)
{
    const CRegistryData::SCAN_RESULT* item = reinterpret_cast<const CRegistryData::SCAN_RESULT*>(wParam);
    const CRegistryData::SCAN_RESULT* cleaned = item ? m_book.ResultAt(m_book.OnItem(*item)) : nullptr;
    int row = cleaned ? FindListRow(cleaned) : -1;
    if (row >= 0) {
        m_list.DeleteItem(row);
        m_results.erase(cleaned);
    }
    ShowCount(m_list.GetItemCount());
    return 0;
}

LRESULT CScanCleanRegCleanStep1::OnCleanFinished(WPARAM, LPARAM)
{
    m_cleanWorker.Wait(INFINITE, qcore::Pump::SentOnly);  // the engine's last message: its thread ends now
    EnableWindow(TRUE);
    SetMainWindowBusy(false);

    // A row leaves the list only when its key or value is really gone; the others stay, still ticked.
    RegCleanBookkeeping::Outcome outcome = m_book.Finish(&RegItemExists);
    // Rows left the list as the engine reported them; those whose item is still there come back, ticked.
    for (int row : outcome.kept) {
        const CRegistryData::SCAN_RESULT* result = m_book.ResultAt(row);
        if (!result || !m_results.insert(result).second) continue;
        m_list.AddScanResult(result);
        m_list.SetCheck(0, TRUE);
    }
    m_book.Begin({});
    ShowCount(m_list.GetItemCount());
    ShowSelectAllState();
    if (outcome.failed > 0) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_REPAIR_FAILED"));
    } else if (!outcome.removed.empty()) {
        CString done;
        done.Format(TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_REPAIR_DONE"), int(outcome.removed.size()));
        ShowDoneMessage(done);
        AfxMessageBox(done);  // told as a failure is, not only left in the line above the list
    }
    return 0;
}

void CScanCleanRegCleanStep1::StopAndWait()
{
    if (!IsCleaning()) return;
    if (m_pEngine) m_pEngine->Stop();
    m_cleanWorker.Wait(INFINITE, qcore::Pump::SentOnly);
}

BOOL CScanCleanRegCleanStep1::OnEraseBkgnd(CDC* pDC)
{
    HDC dc = pDC->GetSafeHdc();
    CRect client;
    GetClientRect(&client);
    ::FillRect(dc, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));
    // A frame 5 pixels around the result list.
    RECT frame = {kListX - 5, kListY - 5, kListX + kListW + 5, kListY + kListH + 5};
    DrawPagePanel(dc, frame, m_hFrame);
    return TRUE;
}

HBRUSH CScanCleanRegCleanStep1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_COUNT) {
        pDC->SetTextColor(RGB(255, 0, 0));
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)GetStockObject(WHITE_BRUSH);
    }
    return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CScanCleanRegCleanStep1::StopWorkers()
{
    if (m_cleanWorker.Running() && m_pEngine) m_pEngine->Stop();
    CFunctionDlg::StopWorkers();
}
