// The operating-system update page: lists the updates that are not installed, and downloads the ticked ones one
// after another, installing each as soon as its download completed. The search runs on a worker; the run runs
// on the update client's threads and an install thread (CUpdateRun); none of them touches a control: they post
// their news to the page.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QWorker.h"
#include "Skarloe.h"
#include "UpdateRows.h"
#include "UpdateRun.h"
#include "controls/ImageRotator.h"

class CYarrowbyWinUpdateDlg : public CFunctionDlg {
public:
    enum {
        IDC_ROTATOR = 437,
        IDC_TIP = 58002,
        IDC_LIST = 58003,
        IDC_SUMMARY = 58004,
        IDC_SELECT_ALL = 58005,
        IDC_CHECK = 58006,
        IDC_UPDATE = 58007,
        IDC_STOP = 58008,
    };
    enum Column { kTitle, kSize, kDate, kSeverity, kKb, kStatus, kDescription, kUpdateId, kColumnCount };

    CYarrowbyWinUpdateDlg();
    ~CYarrowbyWinUpdateDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    // True while a search or an update run is going (the main window is then busy).
    bool IsWorking() const { return m_searching || m_runId != 0; }

protected:
    void OnCheck();
    void OnUpdate();
    void OnStop();
    void OnSelectAll();
    LRESULT OnSearchDone(WPARAM, LPARAM);
    LRESULT OnRowChanged(WPARAM, LPARAM);
    LRESULT OnRunEnded(WPARAM, LPARAM);
    LRESULT OnStopDone(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void SetRowState(int row, update_page::RowState state, int percent);
    // The row that lists the update of this id now, or -1.
    int RowOfUpdate(const std::string& updateId);
    void RefreshSummary();
    void EnableRunButtons(bool enable);
    std::vector<update_page::RowView> RowViews() const;

    CImageRotator m_rotator;
    CStatic m_summary;
    CButton m_selectAll;
    CListCtrl m_list;
    CImageList m_images;
    CGeneralImageButton m_check, m_update, m_stop;

    CWindowsUpdate m_client;
    std::unique_ptr<update_page::CUpdateRun> m_run;
    std::vector<update_page::RowState> m_rowStates;
    std::map<int, std::vector<update_page::CUpdateRun::Item>> m_runItems;  // what each run was started with
    qcore::CWorker m_searchWorker;
    qcore::CWorker m_stopWorker;
    bool m_searching = false;
    int m_runId = 0;           // the run going, 0 when none
    long m_lastSearch = S_OK;  // the status of the last search
};
