// CEntryDlg: the skinned main window (930 x 688, round corners, title "Quorvel"). It loads the dictionary,
// guards against a second instance, shows the splash while it builds the drawer, the top buttons
// and the home page, and receives WM_SWITCH_PAGE, WM_SET_BUSY and WM_TRAY_NOTIFY. The tray icon is added after
// its first paint (in boot mode, where it stays hidden, right after it is built); the other pages and then the
// options window follow, one group per message (or at once when one of them is asked for).
// Its close button and Alt+F4 only hide it, Enter and Escape do nothing; the tray menu's "Exit" ends the program. Tab goes
// through the drawer, the visible page, the top buttons, minimise and close.
#pragma once

#include <QMfc.h>
#include <shellapi.h>

#include <vector>

#include "DrawerMenu.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QGuards.h"
#include "StartupWnd.h"
#include "resource.h"

class CEntryDlg : public CDialog {
    DECLARE_DYNAMIC(CEntryDlg)
public:
    static constexpr int kWidth = 930;
    static constexpr int kHeight = 688;
    static constexpr int kTopButtonCount = 4;

    CEntryDlg();
    ~CEntryDlg() override;

    // Shows the page (and follows it in the drawer) unless busy.
    void SwitchPage(int nPageId);
    // 1: busy (page requests are dropped, the drawer is disabled); anything else: idle.
    void SetBusy(WPARAM wParam);
    BOOL IsBusy() const { return m_bBusy; }
    int GetLanguageIndex() const { return m_nLanguageIndex; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    // Start-up steps.
    bool EnsureSingleInstance();
    void StartSplash();
    void ShowSplashText(LPCWSTR text);
    void EndSplash();
    void LoadLanguage();
    void CreateFrameButtons();
    void CreateDrawer();
    void CreateTopButtons();
    void CreateOptionsWindow();
    void CreateFunctionPages();
    // Builds one group of pages (index into Shell::PageGroups); false when there is no such group.
    bool CreatePageGroup(int group);
    void CreateRemainingPages();
    void ArrangeTabOrder();
    void EndBootMode();
    void OpenWebLink(bool help);

    LRESULT OnSwitchPageMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBusyMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddTrayIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreateNextPages(WPARAM wParam, LPARAM lParam);
    void OnCloseButton();
    void OnMinimizeButton();
    void OnSupportButton();
    void OnOptionsButton();
    void OnHelpButton();
    void OnStartButton();
    void OnTrayShow();
    void OnTrayExit();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnNcHitTest(CPoint point);
    void OnNcPaint();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnClose();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    CBitmap m_bmpBackground;
    qcore::UniqueHandle m_splashThread;
    CStartupWnd m_startupWnd;
    CDrawerMenuCtrl* m_pDrawer = nullptr;
    BOOL m_bBusy = FALSE;
    CFunctionDlg* m_pOptionDlg = nullptr;
    CFont m_fontTitle;
    COLORREF m_crTitle = RGB(46, 80, 115);
    CString m_strTitle = L"Mervalo Quorvel v5.2";
    NOTIFYICONDATAW m_nid = {};
    bool m_bTrayAdded = false;

    CImageButton m_btnClose, m_btnMinimize;
    CImageButton m_btnTop[kTopButtonCount];
    CFunctionDlgContainer* m_pContainer = nullptr;
    std::vector<CFunctionDlg*> m_pages;
    int m_nNextPageGroup = 0;  // the first group of pages not built yet
    bool m_bCaptionsTranslated = false;
    bool m_bShownOnce = false;
    qcore::UniqueHandle m_instanceMutex;  // held while this main window lives
    int m_nLanguageIndex = 0;
};
