#include "YarrowbyWinUpdateDlg.h"

#include <Common.h>

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "PageFactory.h"
#include "ToolsMessages.h"

using nsVendrel::TranslateCode;
using update_page::RowState;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_WINDOWS_UPDATE, CYarrowbyWinUpdateDlg);

namespace {

const wchar_t* const kColumnKeys[] = {L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL1", L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL2",
                                      L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL3", L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL4",
                                      L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL5", L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL6",
                                      L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL7", L"IDS_SYS_TOOLS_WIN_UPDATE_LIST_COL8"};
const int kColumnWidths[] = {200, 60, 75, 70, 80, 90, 200, 160};

// Narrow texts of the update client, widened for the list (the helper's buffer is its own).
CString Wide(const std::string& text)
{
    const wchar_t* wide = SBCharToWChar(text.c_str());
    return wide ? CString(wide) : CString();
}

CString StateText(RowState state, int percent)
{
    CString text;
    switch (state) {
    case RowState::None: break;
    case RowState::Downloading: text.Format(L"%d%%", percent); break;
    case RowState::DownloadFailed: text = TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_DOWNLOADFAIL"); break;
    case RowState::Installing: text = TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLING"); break;
    case RowState::Installed: text = TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLED"); break;
    case RowState::InstallFailed: text = TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLFAIL"); break;
    }
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyWinUpdateDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyWinUpdateDlg::IDC_CHECK, &CYarrowbyWinUpdateDlg::OnCheck)
    ON_BN_CLICKED(CYarrowbyWinUpdateDlg::IDC_UPDATE, &CYarrowbyWinUpdateDlg::OnUpdate)
    ON_BN_CLICKED(CYarrowbyWinUpdateDlg::IDC_STOP, &CYarrowbyWinUpdateDlg::OnStop)
    ON_BN_CLICKED(CYarrowbyWinUpdateDlg::IDC_SELECT_ALL, &CYarrowbyWinUpdateDlg::OnSelectAll)
    ON_MESSAGE(WM_UPDATE_SEARCH_DONE, &CYarrowbyWinUpdateDlg::OnSearchDone)
    ON_MESSAGE(WM_UPDATE_ROW, &CYarrowbyWinUpdateDlg::OnRowChanged)
    ON_MESSAGE(WM_UPDATE_RUN_ENDED, &CYarrowbyWinUpdateDlg::OnRunEnded)
    ON_MESSAGE(WM_UPDATE_STOP_DONE, &CYarrowbyWinUpdateDlg::OnStopDone)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CYarrowbyWinUpdateDlg::CYarrowbyWinUpdateDlg() = default;

CYarrowbyWinUpdateDlg::~CYarrowbyWinUpdateDlg()
{
    m_stopWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    m_searchWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    m_run.reset();
}

void CYarrowbyWinUpdateDlg::OnDestroy()
{
    // Nothing of a run may reach the window once it is gone: stop it here, while the page still exists.
    if (m_run) m_run->Stop(1000);
    m_stopWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    m_searchWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    CFunctionDlg::OnDestroy();
}

void CYarrowbyWinUpdateDlg::OnInitPage()
{
    m_rotator.m_nPeriod = 100;
    m_rotator.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(10, 10, 74, 74), this, IDC_ROTATOR);
    m_rotator.AddImage(437);

    CreateControl({IDC_TIP, PageControlKind::Text, {84, 14, 727, 74}, L"IDS_SYS_TOOLS_WIN_UPDATE_TIP"});

    CreateList(m_list, IDC_LIST, CRect(10, 84, 727, 420), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    if (m_images.Create(438, 16, 10, RGB(255, 0, 255))) m_list.SetImageList(&m_images, LVSIL_SMALL);
    for (int c = 0; c < kColumnCount; ++c)
        m_list.InsertColumn(c, TranslateCode(kColumnKeys[c]), LVCFMT_LEFT, kColumnWidths[c]);

    CreateText(m_summary, nullptr, IDC_SUMMARY, CRect(10, 428, 500, 448));
    CreateCheckBox(m_selectAll, L"IDS_SYS_TOOLS_WIN_UPDATE_CHKBOX_SEL_ALL", IDC_SELECT_ALL, CRect(10, 460, 250, 480),
                   WS_TABSTOP);

    CreateButton(m_check, L"IDS_SYS_TOOLS_WIN_UPDATE_BTN_CHECK", IDC_CHECK, CRect(351, 470, 475, 510), WS_TABSTOP);
    CreateButton(m_update, L"IDS_SYS_TOOLS_WIN_UPDATE_BTN_UPDATE", IDC_UPDATE, CRect(477, 470, 601, 510), WS_TABSTOP);
    CreateButton(m_stop, L"IDS_SYS_TOOLS_WIN_UPDATE_BTN_STOP", IDC_STOP, CRect(603, 470, 727, 510), WS_TABSTOP);
    m_stop.SetDisabled(true);

    const HWND page = GetSafeHwnd();
    m_run.reset(new update_page::CUpdateRun(m_client, [page](int runId, int row, RowState state, int percent) {
        if (row < 0)
            ::PostMessageW(page, WM_UPDATE_RUN_ENDED, static_cast<WPARAM>(runId), 0);
        else
            ::PostMessageW(page, WM_UPDATE_ROW, static_cast<WPARAM>(row),
                           static_cast<LPARAM>(static_cast<int>(state) | (percent & 0xFF) << 8 | runId << 16));
    }));
}

void CYarrowbyWinUpdateDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    RefreshSummary();
}

std::vector<update_page::RowView> CYarrowbyWinUpdateDlg::RowViews() const
{
    std::vector<update_page::RowView> rows;
    for (int i = 0; i < static_cast<int>(m_rowStates.size()); ++i)
        rows.push_back({m_list.GetCheck(i) != FALSE, m_rowStates[static_cast<size_t>(i)]});
    return rows;
}

void CYarrowbyWinUpdateDlg::RefreshSummary()
{
    if (m_searching) return;
    const std::vector<update_page::RowView> rows = RowViews();
    const int installed = update_page::InstalledCount(rows);
    CString text;
    text.Format(TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_MSG_FORMAT"), installed,
                static_cast<int>(rows.size()) - installed);
    if (FAILED(m_lastSearch)) {
        CString failure;
        failure.Format(TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_CHECKFAIL"), static_cast<unsigned long>(m_lastSearch));
        text = failure;
    }
    m_summary.SetWindowText(text);
}

void CYarrowbyWinUpdateDlg::EnableRunButtons(bool enable)
{
    m_check.SetDisabled(!enable);
    m_update.SetDisabled(!enable);
    m_selectAll.EnableWindow(enable);
}

void CYarrowbyWinUpdateDlg::OnCheck()
{
    if (IsWorking()) return;
    m_list.DeleteAllItems();
    m_rowStates.clear();
    EnableRunButtons(false);
    m_searching = true;
    SetMainWindowBusy(true);
    m_summary.SetWindowText(TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_CHECKING"));
    const HWND page = GetSafeHwnd();
    CWindowsUpdate* client = &m_client;
    if (!m_searchWorker.Start([page, client] {
            ::PostMessageW(page, WM_UPDATE_SEARCH_DONE, static_cast<WPARAM>(client->CheckUpdate()), 0);
        }))
        OnSearchDone(static_cast<WPARAM>(E_OUTOFMEMORY), 0);
}

LRESULT CYarrowbyWinUpdateDlg::OnSearchDone(WPARAM status, LPARAM)
{
    m_searchWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    m_lastSearch = static_cast<long>(status);
    m_list.DeleteAllItems();
    m_rowStates.clear();
    const int count = m_client.GetUpdateItemCount();
    for (int i = 0; i < count; ++i) {
        const UpdateItem* item = m_client.GetUpdateItemIndex(i);
        if (!item) continue;
        const int row = m_list.InsertItem(m_list.GetItemCount(), Wide(item->title));
        m_list.SetItemText(row, kSize, update_page::SizeText(item->maxDownloadSize).c_str());
        m_list.SetItemText(row, kSeverity, Wide(item->severity));
        m_list.SetItemText(row, kDate, Wide(item->date));
        m_list.SetItemText(row, kKb, Wide(item->kbId));
        m_list.SetItemText(row, kDescription, Wide(item->description));
        m_list.SetItemText(row, kUpdateId, Wide(item->updateId));
        m_rowStates.push_back(RowState::None);
    }
    m_searching = false;
    RefreshSummary();
    EnableRunButtons(true);
    SetMainWindowBusy(false);
    return 0;
}

void CYarrowbyWinUpdateDlg::OnSelectAll()
{
    const BOOL checked = m_selectAll.GetCheck() == BST_CHECKED;
    for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetCheck(i, checked);
}

void CYarrowbyWinUpdateDlg::OnUpdate()
{
    if (IsWorking()) return;
    std::vector<update_page::CUpdateRun::Item> items;
    for (int row : update_page::RowsToUpdate(RowViews())) {
        char* id = SBWCharToChar(m_list.GetItemText(row, kUpdateId));
        items.push_back({row, id ? id : ""});
        SBFreeCharBuffer(id);
    }
    if (items.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_WIN_UPDATE_NOTSELECT"));
        return;
    }
    SetMainWindowBusy(true);
    EnableRunButtons(false);
    m_stop.SetDisabled(false);
    int runId = 0;
    if (!m_run->Start(items, &runId)) {
        EnableRunButtons(true);
        m_stop.SetDisabled(true);
        SetMainWindowBusy(false);
        return;
    }
    // A run that ended at once has already posted its end: that message finds this id.
    m_runId = runId;
    m_runItems[runId] = items;
}

int CYarrowbyWinUpdateDlg::RowOfUpdate(const std::string& updateId)
{
    const CString wanted = Wide(updateId);
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetItemText(row, kUpdateId) == wanted) return row;
    return -1;
}

LRESULT CYarrowbyWinUpdateDlg::OnRowChanged(WPARAM row, LPARAM packed)
{
    // A report names its run and the run's row: the update is found by its identity, since the list may have been
    // searched anew since the run started. A run that has ended still tells how an install it began came out, on
    // that update's row only; its other news is stale.
    const int runId = static_cast<int>(packed >> 16);
    const RowState state = static_cast<RowState>(packed & 0xFF);
    const auto run = m_runItems.find(runId);
    if (run == m_runItems.end()) return 0;
    if (runId != m_runId && state != RowState::Installed && state != RowState::InstallFailed) return 0;
    for (const update_page::CUpdateRun::Item& item : run->second) {
        if (item.row != static_cast<int>(row)) continue;
        const int current = RowOfUpdate(item.updateId);
        if (current >= 0) SetRowState(current, state, static_cast<int>((packed >> 8) & 0xFF));
        break;
    }
    return 0;
}

void CYarrowbyWinUpdateDlg::SetRowState(int row, RowState state, int percent)
{
    if (row < 0 || row >= static_cast<int>(m_rowStates.size())) return;
    m_rowStates[static_cast<size_t>(row)] = state;
    m_list.SetItemText(row, kStatus, StateText(state, percent));
    if (state == RowState::Installed) RefreshSummary();
}

LRESULT CYarrowbyWinUpdateDlg::OnRunEnded(WPARAM runId, LPARAM)
{
    if (static_cast<int>(runId) != m_runId) return 0;  // a stopped run ending late, or the same end twice
    m_runId = 0;
    EnableRunButtons(true);
    m_stop.SetDisabled(true);
    RefreshSummary();
    SetMainWindowBusy(false);
    return 0;
}

void CYarrowbyWinUpdateDlg::OnStop()
{
    if (m_runId == 0 || m_stopWorker.Running()) return;
    m_stop.SetDisabled(true);
    const HWND page = GetSafeHwnd();
    update_page::CUpdateRun* run = m_run.get();
    m_stopWorker.Wait(0, qcore::Pump::None);
    if (!m_stopWorker.Start([page, run] {
            run->Stop(1000);
            ::PostMessageW(page, WM_UPDATE_STOP_DONE, 0, 0);
        }))
        m_stop.SetDisabled(false);
}

LRESULT CYarrowbyWinUpdateDlg::OnStopDone(WPARAM, LPARAM)
{
    m_stopWorker.Wait(INFINITE, qcore::Pump::SentOnly);
    return 0;
}
