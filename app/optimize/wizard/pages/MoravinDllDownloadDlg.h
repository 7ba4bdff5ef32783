// The DLL search and download page: looks a missing DLL up at the maker's web service, lists the copies it offers,
// downloads the checked ones into the system folder and registers them.
//
// Every web request and registration runs on one worker at a time (the page's buttons are disabled meanwhile), and
// the worker keeps what it works on, so leaving the page or closing the program never waits long for it. Each
// downloaded or registered row's outcome is shown when the job ends, refusals included.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QGuards.h>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ProgressCtrlEx.h"

struct DllPageJob;

class CMoravinDllDownloadDlg : public CFunctionDlg {
public:
    enum {
        IDC_FILENAME_LABEL = 48001,
        IDC_FILENAME = 48002,
        IDC_SEARCH = 48003,
        IDC_RESULTS = 48004,
        IDC_DOWNLOAD = 48005,
        IDC_REGISTER = 48006,
        IDC_SELECT_ALL = 48007,
        IDC_PROGRESS = 48008,
        IDC_STATUS = 48009,
        IDC_FIRST_TIP = 48010,
    };

    CMoravinDllDownloadDlg();
    ~CMoravinDllDownloadDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    // "win7", "vista" or "xp" followed by "64" or "32", for the request.
    const std::wstring& OsText() const { return m_osText; }
    // True while a search, download or registration runs.
    bool JobRunning() const;
    // Stops a running job (a transfer ends within moments) and waits a little for it; the page closing calls it.
    void StopJob();

protected:
    void OnSearch();
    void OnDownload();
    void OnRegister();
    void OnSelectAll();
    void OnFileNameFocus();
    LRESULT OnJobDone(WPARAM, LPARAM);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    // The checked rows as (name, address), read on this thread before a job starts.
    std::vector<std::pair<std::wstring, std::wstring>> CheckedRows() const;
    bool StartJob(const std::shared_ptr<DllPageJob>& job);
    void EnableCommands(bool enable);
    void ShowSearchAnswer(const DllPageJob& job);
    void ShowRowOutcomes(const DllPageJob& job);

    CListCtrl m_list;
    CProgressCtrlEx m_progress;
    CButton m_selectAll;
    std::wstring m_osText;
    CStatic m_status;
    CEdit m_fileName;
    CGeneralImageButton m_search, m_download, m_register;
    CFont m_headFont;

    std::shared_ptr<DllPageJob> m_job;
    qcore::UniqueHandle m_thread;
};
