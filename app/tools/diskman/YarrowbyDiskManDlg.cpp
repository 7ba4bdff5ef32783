#include "YarrowbyDiskManDlg.h"

#include <Common.h>

#include <algorithm>

#include "Dictionary.h"
#include "DiskManText.h"
#include "MainWindowBusy.h"
#include "PageFactory.h"
#include "ToolsMessages.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_DISK_MANAGER, CYarrowbyDiskManDlg);

namespace {

const wchar_t* const kColumnKeys[] = {L"IDS_SYS_TOOL_DISKMAN_LISTVOLUMN", L"IDS_SYS_TOOL_DISKMAN_LISTSTATUS",
                                      L"IDS_SYS_TOOL_DISKMAN_LISTTOTALSPACE", L"IDS_SYS_TOOL_DISKMAN_LISTFREESPACE",
                                      L"IDS_SYS_TOOL_DISKMAN_LISTFREESHARE"};
const int kColumnWidths[] = {110, 150, 150, 150, 150};

// Counters from left to right: label id, value id, label key.
struct Counter {
    int label, value;
    const wchar_t* key;
};
const Counter kCounters[5] = {
    {CYarrowbyDiskManDlg::IDC_DIR_LABEL, CYarrowbyDiskManDlg::IDC_DIRS, L"IDS_SYS_TOOL_DISKMAN_DIR"},
    {CYarrowbyDiskManDlg::IDC_FILE_LABEL, CYarrowbyDiskManDlg::IDC_FILES, L"IDS_SYS_TOOL_DISKMAN_FILE"},
    {CYarrowbyDiskManDlg::IDC_FRAG_LABEL, CYarrowbyDiskManDlg::IDC_FRAGMENTS, L"IDS_SYS_TOOL_DISKMAN_FRAG"},
    {CYarrowbyDiskManDlg::IDC_ZIP_LABEL, CYarrowbyDiskManDlg::IDC_COMPRESSED, L"IDS_SYS_TOOL_DISKMAN_ZIP"},
    {CYarrowbyDiskManDlg::IDC_MFT_LABEL, CYarrowbyDiskManDlg::IDC_MFT, L"IDS_SYS_TOOL_DISKMAN_MFT"},
};

// The map's legend: cell state and name.
const struct {
    int state;
    const wchar_t* key;
} kLegend[] = {
    {UDEFRAG_CELL_FREE, L"IDS_SYS_TOOL_DISKMAN_EMPTY"},      {UDEFRAG_CELL_SYSTEM, L"IDS_SYS_TOOL_DISKMAN_UNMOVED"},
    {UDEFRAG_CELL_FRAGMENTED, L"IDS_SYS_TOOL_DISKMAN_FRAG"}, {UDEFRAG_CELL_FILE, L"IDS_SYS_TOOL_DISKMAN_FILE"},
    {UDEFRAG_CELL_FOLDER, L"IDS_SYS_TOOL_DISKMAN_FOLDER"},
};

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyDiskManDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyDiskManDlg::IDC_OPTIMIZE, &CYarrowbyDiskManDlg::OnOptimize)
    ON_BN_CLICKED(CYarrowbyDiskManDlg::IDC_STOP, &CYarrowbyDiskManDlg::OnStop)
    ON_BN_CLICKED(CYarrowbyDiskManDlg::IDC_REFRESH, &CYarrowbyDiskManDlg::OnRefresh)
    ON_BN_CLICKED(CYarrowbyDiskManDlg::IDC_SKIP, &CYarrowbyDiskManDlg::OnRefresh)
    ON_MESSAGE(WM_DISKMAN_PROGRESS, &CYarrowbyDiskManDlg::OnProgressPosted)
    ON_MESSAGE(WM_DISKMAN_JOB_ENDED, &CYarrowbyDiskManDlg::OnJobEnded)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CYarrowbyDiskManDlg::CYarrowbyDiskManDlg()
{
    CreateSkinFont(TextFont(), 12, FALSE);
    WatchWorker(m_worker);
}

CYarrowbyDiskManDlg::~CYarrowbyDiskManDlg()
{
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
    delete m_map;
}

void CYarrowbyDiskManDlg::OnDestroy()
{
    // The job calls back into this page: end it before the window and the library go.
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
    m_running = false;
    if (m_libraryReady) udefrag_unload_library();
    m_libraryReady = false;
    CFunctionDlg::OnDestroy();
}

void CYarrowbyDiskManDlg::OnInitPage()
{
    udefrag_init_library(0);
    udefrag_init_failed();
    m_libraryReady = true;

    CreateList(m_drives, IDC_DRIVES, CRect(10, 10, 727, 128), WS_TABSTOP | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int c = 0; c < 5; ++c) m_drives.InsertColumn(c, TranslateCode(kColumnKeys[c]), LVCFMT_LEFT, kColumnWidths[c]);

    CreateCheckBox(m_skip, L"IDS_SYS_TOOL_DISKMAN_SKIP", IDC_SKIP, CRect(10, 136, 500, 156), WS_TABSTOP);
    m_skip.SetCheck(BST_CHECKED);

    CreateControl({IDC_MAP_TITLE, PageControlKind::Text, {10, 164, 500, 182}, L"IDS_SYS_TOOL_DISKMAN_MAP"});
    m_map = new CDiskManControl;
    m_map->Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 184, 727, 360), this, IDC_MAP);
    m_map->SetGridSize(m_rows, m_columns);
    m_map->FillCells(UDEFRAG_CELL_FREE);
    for (int k = 0; k < 5; ++k) m_map->SetLegend(k, kLegend[k].state, TranslateCode(kLegend[k].key));

    for (int k = 0; k < 5; ++k) {
        const int left = 10 + 143 * k;
        CreateControl({kCounters[k].label, PageControlKind::Text, {left, 370, left + 140, 388}, kCounters[k].key});
        CreateText(m_values[k], nullptr, kCounters[k].value, CRect(left, 390, left + 140, 408));
        m_values[k].SetWindowText(L"0");
    }
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(10, 420, 727, 440), this, IDC_PROGRESS);
    m_progress.SetRange32(0, 1000);
    m_progress.SetPos(0);

    CreateButton(m_refresh, L"IDS_SYS_TOOL_DISKMAN_REFRESH", IDC_REFRESH, CRect(351, 470, 475, 510), WS_TABSTOP);
    CreateButton(m_optimize, L"IDS_SYS_TOOL_DISKMAN_OPTIMIZE", IDC_OPTIMIZE, CRect(477, 470, 601, 510), WS_TABSTOP);
    CreateButton(m_stop, L"IDS_SYS_TOOL_DISKMAN_STOP", IDC_STOP, CRect(603, 470, 727, 510), WS_TABSTOP);
    m_stop.SetDisabled(true);

    FillDriveList(SB_FIXED_DEFRAGGABLE);
}

void CYarrowbyDiskManDlg::FillDriveList(int flag)
{
    m_drives.DeleteAllItems();
    std::vector<std::wstring> roots;
    SBGetFixedDiskW(roots, flag);
    for (const std::wstring& root : roots) {
        ULARGE_INTEGER available, total, free;
        if (!::GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) continue;
        const diskman::DriveSizeTexts texts = diskman::DriveSizes(total.QuadPart, free.QuadPart);
        const int row = m_drives.InsertItem(m_drives.GetItemCount(), root.c_str());
        m_drives.SetItemText(row, kStatus, L"");
        m_drives.SetItemText(row, kTotal, texts.total.c_str());
        m_drives.SetItemText(row, kFree, texts.free.c_str());
        m_drives.SetItemText(row, kFreeShare, texts.freeShare.c_str());
    }
}

void CYarrowbyDiskManDlg::OnRefresh()
{
    if (m_running) return;
    FillDriveList(m_skip.GetCheck() == BST_CHECKED ? SB_FIXED_DEFRAGGABLE : SB_FIXED_ALL);
}

void CYarrowbyDiskManDlg::EnableIdleControls(bool enable)
{
    m_optimize.SetDisabled(!enable);
    m_refresh.SetDisabled(!enable);
    m_skip.EnableWindow(enable);
}

void CYarrowbyDiskManDlg::SetOptimisingRowStatus(const wchar_t* key)
{
    const CString optimising = TranslateCode(L"IDS_SYS_TOOL_DISKMAN_OPTIMIZING");
    for (int row = 0; row < m_drives.GetItemCount(); ++row) {
        if (m_drives.GetItemText(row, kStatus) == optimising) {
            m_drives.SetItemText(row, kStatus, TranslateCode(key));
            return;
        }
    }
}

void CYarrowbyDiskManDlg::OnOptimize()
{
    if (m_running) return;
    const int row = m_drives.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOL_DISKMAN_NOITEM"));
        return;
    }
    char* narrow = SBWCharToChar(m_drives.GetItemText(row, kVolume));
    const char letter = narrow ? narrow[0] : 0;
    SBFreeCharBuffer(narrow);
    if (udefrag_validate_volume(letter, 0) < 0) {
        m_drives.SetItemText(row, kStatus, TranslateCode(L"IDS_SYS_TOOL_DISKMAN_REFUSED"));
        return;
    }

    m_letter = letter;
    SetMainWindowBusy(true);
    EnableIdleControls(false);
    m_stop.SetDisabled(false);
    m_drives.SetItemText(row, kStatus, TranslateCode(L"IDS_SYS_TOOL_DISKMAN_OPTIMIZING"));
    m_jobType = kOptimizeJob;
    m_running = true;
    const int runId = ++m_runId;
    const HWND page = GetSafeHwnd();
    const int jobType = m_jobType, mapSize = m_columns * m_rows;
    if (!m_worker.Start([this, page, runId, letter, jobType, mapSize] {
            const int result = udefrag_start_job(letter, jobType, 0, mapSize, &CYarrowbyDiskManDlg::OnJobProgress,
                                                 &CYarrowbyDiskManDlg::IsStopRequested, this);
            ::PostMessageW(page, WM_DISKMAN_JOB_ENDED, static_cast<WPARAM>(runId), static_cast<LPARAM>(result));
        }))
        FinishRun(false, UDEFRAG_E_NO_MEMORY);
}

void CYarrowbyDiskManDlg::OnJobProgress(udefrag_job_progress* record, void* context)
{
    auto* page = static_cast<CYarrowbyDiskManDlg*>(context);
    if (!page || !record) return;
    bool post = false;
    {
        qcore::ScopedLock hold(page->m_snapshotLock);
        Snapshot& s = page->m_snapshot;
        s.files = record->files;
        s.directories = record->directories;
        s.compressed = record->compressed;
        s.fragments = record->fragments;
        s.mftBytes = record->mft_size;
        s.percentage = record->percentage;
        // A record without a map leaves the map as it is.
        s.hasMap = record->cluster_map != nullptr;
        if (s.hasMap) s.map.assign(record->cluster_map, record->cluster_map + page->m_columns * page->m_rows);
        post = !page->m_snapshotPending;
        page->m_snapshotPending = true;
    }
    if (post) ::PostMessageW(page->GetSafeHwnd(), WM_DISKMAN_PROGRESS, 0, 0);
}

int CYarrowbyDiskManDlg::IsStopRequested(void* context)
{
    auto* page = static_cast<CYarrowbyDiskManDlg*>(context);
    return page && page->m_worker.StopRequested() ? 1 : 0;
}

LRESULT CYarrowbyDiskManDlg::OnProgressPosted(WPARAM, LPARAM)
{
    ApplyPendingProgress();
    return 0;
}

void CYarrowbyDiskManDlg::ApplyPendingProgress()
{
    Snapshot s;
    {
        qcore::ScopedLock hold(m_snapshotLock);
        if (!m_snapshotPending) return;
        m_snapshotPending = false;
        s = m_snapshot;
    }
    ShowProgress(s);
}

void CYarrowbyDiskManDlg::ShowProgress(const Snapshot& s)
{
    udefrag_job_progress record = {};
    record.files = int32_t(s.files);
    record.directories = int32_t(s.directories);
    record.compressed = int32_t(s.compressed);
    record.fragments = s.fragments;
    record.mft_size = s.mftBytes;
    const diskman::CounterTexts texts = diskman::Counters(record);
    SetDlgItemText(IDC_FILES, texts.files.c_str());
    SetDlgItemText(IDC_DIRS, texts.directories.c_str());
    SetDlgItemText(IDC_COMPRESSED, texts.compressed.c_str());
    SetDlgItemText(IDC_FRAGMENTS, texts.fragments.c_str());
    SetDlgItemText(IDC_MFT, texts.mft.c_str());
    m_progress.SetPos(diskman::BarPosition(s.percentage));

    if (!s.hasMap || !m_map) return;
    // Cells outside the map are never written after OnInitPage, so they stay empty.
    const int rows = std::min(m_rows, CDiskManControl::kMaxCells);
    const int columns = std::min(m_columns, CDiskManControl::kMaxCells);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) m_map->SetCell(r, c, s.map[size_t(r) * size_t(m_columns) + size_t(c)]);
    m_map->Invalidate();
}

LRESULT CYarrowbyDiskManDlg::OnJobEnded(WPARAM runId, LPARAM result)
{
    // A job that Stop has already seen end, or one of an earlier run, changes nothing.
    if (!m_running || static_cast<int>(runId) != m_runId) return 0;
    m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
    FinishRun(m_worker.StopRequested(), static_cast<int>(result));
    return 0;
}

void CYarrowbyDiskManDlg::FinishRun(bool stopped, int result)
{
    m_running = false;
    ApplyPendingProgress();
    m_progress.SetPos(1000);
    EnableIdleControls(true);
    m_stop.SetDisabled(true);
    SetMainWindowBusy(false);
    SetOptimisingRowStatus(diskman::StatusKey(diskman::EndOfJob(stopped, result)));
}

void CYarrowbyDiskManDlg::OnStop()
{
    if (!m_running || m_worker.StopRequested()) return;
    const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    m_worker.RequestStop();
    m_stop.SetDisabled(true);
    SetOptimisingRowStatus(L"IDS_SYS_TOOL_DISKMAN_STOP");
    // The library sees the flag at its next poll. A job that takes longer keeps Optimise disabled until its end
    // message: a second job must never start beside it.
    if (m_worker.Wait(1000, qcore::Pump::SentOnly) == qcore::WaitOutcome::Signalled) FinishRun(true, 0);
    ::SetCursor(previous);
}
