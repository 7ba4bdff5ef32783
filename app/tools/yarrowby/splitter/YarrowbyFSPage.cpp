#include "YarrowbyFSPage.h"

#include <Common.h>

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "SplitJoinRules.h"
#include "controls/FolderDialog.h"
#include "ToolOutcome.h"

using nsVendrel::TranslateCode;

BEGIN_MESSAGE_MAP(CYarrowbyFSPage, CFunctionDlg)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyFSPage::CYarrowbyFSPage() = default;

void CYarrowbyFSPage::BrowseFolderInto(int editId)
{
    CFolderDialog dialog;
    dialog.m_bi.hwndOwner = m_hWnd;
    if (dialog.DoModal() == IDOK) SetDlgItemText(editId, dialog.GetFolderPath());
}

bool CYarrowbyFSPage::MakeOutputFolder(const CString& folder)
{
    if (folder.IsEmpty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_CHOOSEFOLDER"));
        return false;
    }
    return SBRecursiveCreateDirectoryW(folder) != FALSE;
}

void CYarrowbyFSPage::BeginRun()
{
    EnablePages(FALSE);
    SetMainWindowBusy(true);
    m_bRunning = true;
}

bool CYarrowbyFSPage::EndRun(WPARAM failed, LPARAM firstError, const wchar_t* failedKey)
{
    if (m_bClosing) return false;
    EnablePages(TRUE);
    if (m_bRunning) SetMainWindowBusy(false);
    m_bRunning = false;
    if (failed == 0) {
        m_progress.SetPos(100);
        return true;
    }
    // What was chosen stays for another try.
    m_progress.SetPos(0);
    AfxMessageBox(ToolFailureText(failedKey, failed, firstError), MB_OK | MB_ICONWARNING);
    return false;
}

LRESULT CYarrowbyFSPage::OnRunProgress(WPARAM done, LPARAM total)
{
    m_progress.SetPos(ToolBarPosition(done, total));
    m_progress.UpdateWindow();
    return 0;
}

void CYarrowbyFSPage::EnablePages(BOOL enable)
{
    if (CWnd* home = GetParent()) home->EnableWindow(enable);
    EnableWindow(enable);
}

HBRUSH CYarrowbyFSPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    // Buttons, labels and the read-only edits sit on white; labels draw no background of their own.
    if (nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_BTN) {
        pDC->SetBkColor(RGB(255, 255, 255));
        if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->IsExactly(RUNTIME_CLASS(CStatic)))
            pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    return SharedWhiteBrush();
}
