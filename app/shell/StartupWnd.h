// CStartupWnd: the splash window shown during start-up. It runs modally on a thread of its own, without an
// owner, and signals when its window exists; the main window then sets its loading texts and closes it.
#pragma once

#include <QMfc.h>

#include <atomic>

#include "QGuards.h"
#include "QLock.h"

#include "resource.h"

class CStartupWnd : public CDialogEx {
    DECLARE_DYNAMIC(CStartupWnd)
public:
    static constexpr int kTextId = 100008;

    CStartupWnd();
    ~CStartupWnd() override;

    // Thread procedure: runs the splash modally. Its parameter is the CStartupWnd.
    static DWORD WINAPI ThreadProc(LPVOID param);
    // Signalled once the splash window exists (set by OnInitDialog).
    HANDLE ReadyEvent() const { return m_ready.Get(); }
    // The splash window once it exists, else null. Safe from any thread.
    HWND GetSplashWindow() const { return m_hReadyWnd; }
    // From the UI thread: shows the text on the splash and repaints it; before the splash window exists, the
    // splash starts with the last text given.
    void ShowLoadingText(LPCWSTR text);

    BOOL OnInitDialog() override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CBitmap m_bitmap;
    CStatic m_text;
    qcore::UniqueHandle m_ready;
    std::atomic<HWND> m_hReadyWnd{nullptr};
    // The text given before the window existed, and the lock between it and the window's becoming ready.
    qcore::Lock m_textLock;
    CString m_strEarlyText;
};
