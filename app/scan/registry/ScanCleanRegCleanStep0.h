// First step of the registry page: one animated check box per scan category, which also shows that category's
// progress, a count per category, and the start/abort button. The scan runs on a worker thread of its own.
#pragma once

#include <atomic>

#include "QWorker.h"

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "RegCategories.h"
#include "RegistryData.h"
#include "controls/CheckBoxEx.h"

class CScanCleanRegCleanStep1;

struct RegCategoryRow {
    int nCheckBoxId = 0;
    int nCountLabelId = 0;
    REG_SCAN_TYPE nCategory = RST_SHAREDDLL;
    int nCount = 0;
    CCheckBoxEx checkBox;
    CStatic countLabel;
    CString strTitle;
};

class CScanCleanRegCleanStep0 : public CFunctionDlg {
public:
    enum { IDC_SELECT_ALL = 11100, IDC_STATUS = 11101, IDC_HINT = 11102, IDC_START_ABORT = 11003 };

    CScanCleanRegCleanStep0();
    ~CScanCleanRegCleanStep0() override;

    void SetPeers(CFunctionDlg* pOwner, CScanCleanRegCleanStep1* pStep1, CRegistryData* pEngine);
    void OnInitPage() override;
    void OnShowPage() override;

    void StartScan();
    bool IsScanning() const { return m_bScanning.load(); }
    // Asks a running scan to end and waits for its thread, delivering the messages it sends meanwhile.
    void StopAndWait();
    // The page frame's exit: the engine is told to stop as well.
    void StopWorkers() override;

    RegCategoryRow* FindRow(int category);
    int GetRowCount() const { return m_nRowCount; }
    RegCategoryRow& GetRow(int i) { return m_rows[i]; }

    // Engine callbacks; they run on the scan thread.
    static bool ShouldScanCategory(REG_SCAN_TYPE type, void* user);
    static bool OnScanResult(const CRegistryData::SCAN_RESULT* result, void* user);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnStartAbort();
    LRESULT OnSelectAllClicked(WPARAM, LPARAM);
    // A category box was clicked: the choice is remembered and "Select All" follows the boxes.
    void OnRowClicked(int row);
    void ShowSelectAllState();
    LRESULT OnCategoryDone(WPARAM wParam, LPARAM);
    LRESULT OnScanFinished(WPARAM, LPARAM);
    LRESULT OnCategoryStarted(WPARAM wParam, LPARAM);
    LRESULT OnScanResultMsg(WPARAM, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    static unsigned __stdcall ScanThread(void* param);
    void SetTexts(bool scanning);
    // Shows a category's count; the label has no background, so the panel under it is painted anew.
    void SetCountText(RegCategoryRow& row, const wchar_t* text);

    CFunctionDlg* m_pOwner = nullptr;
    CScanCleanRegCleanStep1* m_pStep1 = nullptr;
    CRegistryData* m_pEngine = nullptr;

    RegCategoryRow m_rows[kRegCategoryCount];
    int m_nRowCount = 0;
    CCheckBoxEx m_selectAll;
    CStatic m_status;
    CStatic m_hint;
    CGeneralImageButton m_startAbort;
    CFont m_titleFont;
    HBITMAP m_hBackground = nullptr;
    HBRUSH m_hWhiteBrush = nullptr;

    std::atomic<bool> m_bScanning{false};
    qcore::CWorker m_scanWorker;  // runs the engine's scan; the engine has its own stop
    RegSelection m_selection;     // what the user chose when the scan started
    RegSelection m_chosen;        // the ticked boxes, shown again at the next visit
};
