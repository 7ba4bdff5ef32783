#include "MoravinDllDownloadDlg.h"

#include <atomic>

#include <Common.h>
#include <QWorker.h>

#include "Dictionary.h"
#include "DllInstaller.h"
#include "DllSearch.h"
#include "net/HttpTransfer.h"
#include "PageFactory.h"
#include "ServiceAddress.h"
#include "system/SystemPrograms.h"
#include "OptimizeMessages.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_DLL_DOWNLOAD, CMoravinDllDownloadDlg);

// One search, download or registration: what the worker needs, and what it found. The worker and the page share
// it, so it outlives a page that goes away while the worker still runs.
struct DllPageJob {
    enum class Kind { Search, Download, Register };

    Kind kind = Kind::Search;
    HWND page = nullptr;
    HWND progress = nullptr;
    std::wstring url;                                         // Search
    std::wstring asked;                                       // Search: the file name the user typed
    std::vector<std::pair<std::wstring, std::wstring>> rows;  // Download, Register: (name, address)
    std::wstring systemFolder;

    std::atomic<bool> stop{false};
    qcore::UniqueHandle cancel{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // ends a transfer or a regsvr32 run

    HttpTransfer::Result search;
    std::wstring answer;
    std::vector<DllInstaller::Result> outcomes;  // one per row

    void Run();
    void SetProgress(int position) const { ::PostMessageW(progress, PBM_SETPOS, WPARAM(position), 0); }
};

void DllPageJob::Run()
{
    switch (kind) {
    case Kind::Search:
        search = HttpTransfer::FetchText(url, answer, HttpTransfer::Limits{DllSearch::kMaxAnswerBytes, cancel.Get()});
        break;
    case Kind::Download: {
        int base = 0;
        for (const auto& row : rows) {
            int shown = base;
            auto progress = [&](ULONGLONG done, ULONGLONG total) {
                const int position = DllSearch::ProgressPosition(base, done, total);
                if (position != shown) SetProgress(shown = position);
            };
            const HANDLE stopEvent = cancel.Get();
            outcomes.push_back(stop ? DllInstaller::Result{DllInstaller::Outcome::Stopped, 0}
                                    : DllInstaller::Install(row.first, row.second, systemFolder, progress, stopEvent));
            // The bar moves on only for a file that arrived.
            if (outcomes.back().outcome == DllInstaller::Outcome::Installed) base += 100;
            SetProgress(base);
        }
        break;
    }
    case Kind::Register:
        for (const auto& row : rows) {
            outcomes.push_back(stop ? DllInstaller::Result{DllInstaller::Outcome::Stopped, 0}
                                    : DllInstaller::Register(row.first, systemFolder, cancel.Get()));
        }
        break;
    }
    ::PostMessageW(page, WM_DLLPAGE_JOB_DONE, 0, 0);
}

namespace {

// Leaving the program waits at most this long for a running job; it then ends with the process.
const DWORD kShutdownWaitMs = 3000;
// A message box shows at most this much of an answer the page cannot use.
const size_t kMaxAnswerShown = 2000;

const wchar_t* const kTipKeys[5] = {
    L"IDS_SYS_FIX_DLL_DOWNLOAD_TIPS_HEAD",  L"IDS_SYS_FIX_DLL_DOWNLOAD_TIPS_STEP1",
    L"IDS_SYS_FIX_DLL_DOWNLOAD_TIPS_STEP2", L"IDS_SYS_FIX_DLL_DOWNLOAD_TIPS_STEP3",
    L"IDS_SYS_FIX_DLL_DOWNLOAD_TIPS_STEP4",
};

std::wstring MachineOsText()
{
    int kind = SB_OS_XP;
    bool is64 = false;
    GetOSVersion(kind, is64);
    return DllSearch::OsText(kind, is64);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMoravinDllDownloadDlg, CFunctionDlg)
    ON_BN_CLICKED(CMoravinDllDownloadDlg::IDC_SEARCH, &CMoravinDllDownloadDlg::OnSearch)
    ON_BN_CLICKED(CMoravinDllDownloadDlg::IDC_DOWNLOAD, &CMoravinDllDownloadDlg::OnDownload)
    ON_BN_CLICKED(CMoravinDllDownloadDlg::IDC_REGISTER, &CMoravinDllDownloadDlg::OnRegister)
    ON_BN_CLICKED(CMoravinDllDownloadDlg::IDC_SELECT_ALL, &CMoravinDllDownloadDlg::OnSelectAll)
    ON_EN_SETFOCUS(CMoravinDllDownloadDlg::IDC_FILENAME, &CMoravinDllDownloadDlg::OnFileNameFocus)
    ON_MESSAGE(WM_DLLPAGE_JOB_DONE, &CMoravinDllDownloadDlg::OnJobDone)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CMoravinDllDownloadDlg::CMoravinDllDownloadDlg() : m_osText(MachineOsText()) { CreateSkinFont(m_headFont, 14, TRUE); }

CMoravinDllDownloadDlg::~CMoravinDllDownloadDlg() { StopJob(); }

void CMoravinDllDownloadDlg::StopJob()
{
    if (!m_job) return;
    m_job->stop = true;
    ::SetEvent(m_job->cancel.Get());
    if (m_thread) qcore::WaitForHandle(m_thread.Get(), kShutdownWaitMs, qcore::Pump::SentOnly);
}

void CMoravinDllDownloadDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width() > 600 ? client.Width() : 737;
    const int right = w - 20;

    // The first tip is the heading.
    for (int i = 0; i < 5; ++i) {
        CWnd* tip = CreateControl(
            {IDC_FIRST_TIP + i, PageControlKind::Text, {20, 14 + 22 * i, right, 34 + 22 * i}, kTipKeys[i]});
        if (i == 0) tip->SetFont(&m_headFont);
    }
    CreateControl(
        {IDC_FILENAME_LABEL, PageControlKind::Text, {20, 138, 150, 158}, L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_FILENAME"});
    CreateEdit(m_fileName, IDC_FILENAME, CRect(155, 134, 455, 158), WS_TABSTOP | ES_AUTOHSCROLL);
    CreateButton(m_search, L"IDS_SYS_FIX_DLL_DOWNLOAD_BTN_SEARCH", IDC_SEARCH, CRect(470, 126, 594, 166), WS_TABSTOP);

    CreateList(m_list, IDC_RESULTS, CRect(20, 176, right, 396), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect inner;
    m_list.GetClientRect(&inner);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, inner.Width() * 3 / 10);
    m_list.InsertColumn(1, L"", LVCFMT_LEFT, inner.Width() * 7 / 10);

    CreateCheckBox(m_selectAll, L"IDS_SYS_FIX_DLL_DOWNLOAD_CHKBOX_SEL_ALL", IDC_SELECT_ALL, CRect(20, 404, 300, 424),
                   WS_TABSTOP);
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 434, right, 450), this, IDC_PROGRESS);
    CreateText(m_status, nullptr, IDC_STATUS, CRect(20, 462, right - 290, 520), SS_LEFT | SS_ENDELLIPSIS);
    CreateButton(m_download, L"IDS_SYS_FIX_DLL_DOWNLOAD_BTN_DOWNLOAD", IDC_DOWNLOAD,
                 CRect(right - 268, 468, right - 144, 508), WS_TABSTOP);
    CreateButton(m_register, L"IDS_SYS_FIX_DLL_DOWNLOAD_BTN_REGISTER", IDC_REGISTER,
                 CRect(right - 124, 468, right, 508), WS_TABSTOP);
}

void CMoravinDllDownloadDlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    m_list.DeleteAllItems();
    m_selectAll.SetCheck(BST_UNCHECKED);
    if (!JobRunning()) {
        m_progress.SetPos(0);
        m_status.SetWindowText(L"");
    }
    m_search.SetFocus();
    m_fileName.SetWindowText(DllSearch::kDefaultFileName);
}

bool CMoravinDllDownloadDlg::JobRunning() const { return qcore::IsThreadRunning(m_thread.Get()); }

void CMoravinDllDownloadDlg::OnFileNameFocus()
{
    CString text;
    m_fileName.GetWindowText(text);
    if (text == DllSearch::kDefaultFileName) m_fileName.SetWindowText(L"");
}

void CMoravinDllDownloadDlg::OnSelectAll()
{
    const BOOL check = m_selectAll.GetCheck() == BST_CHECKED;
    for (int i = 0; i < m_list.GetItemCount(); ++i) m_list.SetCheck(i, check);
}

std::vector<std::pair<std::wstring, std::wstring>> CMoravinDllDownloadDlg::CheckedRows() const
{
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
        if (m_list.GetCheck(i) != TRUE) continue;
        rows.emplace_back(m_list.GetItemText(i, 0).GetString(), m_list.GetItemText(i, 1).GetString());
    }
    return rows;
}

void CMoravinDllDownloadDlg::EnableCommands(bool enable)
{
    for (CWnd* w : {static_cast<CWnd*>(&m_search), static_cast<CWnd*>(&m_download), static_cast<CWnd*>(&m_register)})
        w->EnableWindow(enable ? TRUE : FALSE);
}

bool CMoravinDllDownloadDlg::StartJob(const std::shared_ptr<DllPageJob>& job)
{
    if (JobRunning()) return false;
    job->page = GetSafeHwnd();
    job->progress = m_progress.GetSafeHwnd();
    job->systemFolder = SystemPrograms::SystemFolder();
    HANDLE thread = qcore::StartThread([job] { job->Run(); });
    if (!thread) return false;
    m_thread.Reset(thread);
    m_job = job;
    EnableCommands(false);
    return true;
}

void CMoravinDllDownloadDlg::OnSearch()
{
    if (JobRunning()) return;
    m_list.DeleteAllItems();
    m_selectAll.SetCheck(BST_UNCHECKED);
    CString file;
    m_fileName.GetWindowText(file);
    auto job = std::make_shared<DllPageJob>();
    job->kind = DllPageJob::Kind::Search;
    job->url = DllSearch::SearchUrl(ServiceAddress::BaseUrl(), m_osText, file.GetString());
    job->asked = file.GetString();
    m_status.SetWindowText(L"");
    if (!StartJob(job)) AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NETWORK_ERROR"));
}

void CMoravinDllDownloadDlg::OnDownload()
{
    if (JobRunning()) return;
    auto job = std::make_shared<DllPageJob>();
    job->kind = DllPageJob::Kind::Download;
    job->rows = CheckedRows();
    if (job->rows.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOTHING_CHECKED"));
        return;
    }
    m_progress.SetRange32(0, int(100 * job->rows.size()));
    m_progress.SetPos(0);
    m_status.SetWindowText(L"");
    StartJob(job);
}

void CMoravinDllDownloadDlg::OnRegister()
{
    if (JobRunning()) return;
    auto job = std::make_shared<DllPageJob>();
    job->kind = DllPageJob::Kind::Register;
    job->rows = CheckedRows();
    if (job->rows.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOTHING_CHECKED"));
        return;
    }
    m_status.SetWindowText(L"");
    StartJob(job);
}

LRESULT CMoravinDllDownloadDlg::OnJobDone(WPARAM, LPARAM)
{
    if (!m_job) return 0;
    if (m_thread) qcore::WaitForHandle(m_thread.Get(), INFINITE, qcore::Pump::SentOnly);  // it only returns now
    m_thread.Reset();
    std::shared_ptr<DllPageJob> job = m_job;
    m_job.reset();
    EnableCommands(true);
    if (job->kind == DllPageJob::Kind::Search)
        ShowSearchAnswer(*job);
    else
        ShowRowOutcomes(*job);
    return 0;
}

void CMoravinDllDownloadDlg::ShowSearchAnswer(const DllPageJob& job)
{
    if (job.search.outcome == HttpTransfer::Outcome::Stopped) return;
    if (job.search.outcome == HttpTransfer::Outcome::TooLarge) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_ANSWER_TOO_LARGE"));
        return;
    }
    if (job.search.outcome != HttpTransfer::Outcome::Ok) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NETWORK_ERROR"));
        return;
    }
    const std::vector<DllSearch::Row> found = DllSearch::ParseAnswer(job.answer);
    const std::vector<DllSearch::Row> rows = DllSearch::RowsFor(found, job.asked);
    if (rows.empty() && !found.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOT_FOUND"));
        return;
    }
    for (const DllSearch::Row& row : rows) {
        m_list.InsertItem(0, row.name.c_str());
        m_list.SetItemText(0, 1, row.url.c_str());
    }
    if (!rows.empty()) return;
    // No usable line: the service's own words, or a translated note when it said nothing.
    if (job.answer.find_first_not_of(L" \t\r\n") == std::wstring::npos) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOT_FOUND"));
        return;
    }
    std::wstring shown = job.answer.substr(0, kMaxAnswerShown);
    if (job.answer.size() > kMaxAnswerShown) shown += L"...";
    AfxMessageBox(shown.c_str());
}

void CMoravinDllDownloadDlg::ShowRowOutcomes(const DllPageJob& job)
{
    CString summary;
    for (size_t i = 0; i < job.outcomes.size() && i < job.rows.size(); ++i) {
        const DllInstaller::Result& outcome = job.outcomes[i];
        // Only the status text is a format (it holds %d); the others are shown as they stand.
        const CString shown = TranslateCode(DllInstaller::OutcomeKey(outcome.outcome));
        CString text = shown;
        if (outcome.outcome == DllInstaller::Outcome::HttpStatus) text.Format(shown, int(outcome.httpStatus));
        if (!summary.IsEmpty()) summary += L"\n";
        summary += CString(job.rows[i].first.c_str()) + L": " + text;
    }
    m_status.SetWindowText(summary);
    AfxMessageBox(summary);
}

HBRUSH CMoravinDllDownloadDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_EDIT) return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return SharedWhiteBrush();
    }
    return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
}
