#include "EntryDlg.h"
#include "SkinDraw.h"

#include <Common.h>

#include <algorithm>

#include "Dictionary.h"
#include "EntryApp.h"
#include "Language.h"
#include "MainFrameTables.h"
#include "MemDC.h"
#include "PageFactory.h"
#include "PageIds.h"
#include "PageRetirement.h"
#include "QProcess.h"
#include "QWorker.h"
#include "Settings.h"
#include "StartupProfile.h"
#include "TrayIcon.h"
#include "WebLinks.h"
#include "options/LanguageSwitch.h"

namespace {

const wchar_t kMutexName[] = L"MUTEX_TANDRIX_EXCLUDE_OBJECT_BODRAN";
const wchar_t kWindowTitle[] = L"Quorvel";
const UINT kTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
const UINT kLanguageChanged = Shell::LanguageChangedMessage();
// Builds the next group of pages once the main window is on the screen.
const UINT kCreateNextPages = ::RegisterWindowMessageW(L"QuorvelCreateNextPages");
// Adds the tray icon once the main window is on the screen (at once in boot mode, where the icon is all it shows):
// asking the notification area takes longer than painting the window.
const UINT kAddTrayIcon = ::RegisterWindowMessageW(L"QuorvelAddTrayIcon");
// Boot mode hides the window at its first non-client paint, once.
int g_bootHideCounter = 1;
// The splash gets this long to appear and to close; start-up goes on without it afterwards.
const DWORD kSplashWaitMs = 5000;
// At exit the pages' workers get this long to stop before the window goes without them.
const DWORD kShutdownWaitMs = 5000;

}  // namespace

IMPLEMENT_DYNAMIC(CEntryDlg, CDialog)

BEGIN_MESSAGE_MAP(CEntryDlg, CDialog)
    ON_MESSAGE(WM_SWITCH_PAGE, &CEntryDlg::OnSwitchPageMessage)
    ON_MESSAGE(WM_SET_BUSY, &CEntryDlg::OnSetBusyMessage)
    ON_MESSAGE(WM_TRAY_NOTIFY, &CEntryDlg::OnTrayNotify)
    ON_REGISTERED_MESSAGE(kTaskbarCreated, &CEntryDlg::OnTaskbarCreated)
    ON_REGISTERED_MESSAGE(kLanguageChanged, &CEntryDlg::OnLanguageChanged)
    ON_REGISTERED_MESSAGE(kCreateNextPages, &CEntryDlg::OnCreateNextPages)
    ON_REGISTERED_MESSAGE(kAddTrayIcon, &CEntryDlg::OnAddTrayIcon)
    ON_COMMAND(Shell::kCloseButtonId, &CEntryDlg::OnCloseButton)
    ON_COMMAND(Shell::kMinimizeButtonId, &CEntryDlg::OnMinimizeButton)
    ON_COMMAND(Shell::kSupportButtonId, &CEntryDlg::OnSupportButton)
    ON_COMMAND(Shell::kOptionsButtonId, &CEntryDlg::OnOptionsButton)
    ON_COMMAND(Shell::kHelpButtonId, &CEntryDlg::OnHelpButton)
    ON_COMMAND(Shell::kStartButtonId, &CEntryDlg::OnStartButton)
    ON_COMMAND(ID_TRAY_SHOW, &CEntryDlg::OnTrayShow)
    ON_COMMAND(ID_TRAY_EXIT, &CEntryDlg::OnTrayExit)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CEntryDlg::CEntryDlg() : CDialog(IDD_ENTRY_DIALOG, nullptr)
{
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_QUORVEL));
    m_bmpBackground.Attach(Shell::LoadSkinBitmap(IDB_MAIN_BACKGROUND));
    m_fontTitle.CreateFont(13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"Verdana");
    // A boot-mode start is never shown by the modal loop; only the tray brings it up.
    SetShowOnIdle(!CEntryApp::m_bBootMode);
}

CEntryDlg::~CEntryDlg() = default;

namespace {

// The splash thread only sends to this thread (never the reverse): serving sent messages is enough, and no
// posted message reaches the half-built main window.
bool WaitForSplash(HANDLE handle)
{
    return qcore::WaitForHandle(handle, kSplashWaitMs, qcore::Pump::SentOnly) == qcore::WaitOutcome::Signalled;
}

}  // namespace

BOOL CEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    Shell::StartupProfile::Mark(L"main window created");
    LoadLanguage();
    Shell::StartupProfile::Mark(L"dictionary loaded");
    if (!EnsureSingleInstance()) return FALSE;

    if (!CEntryApp::m_bBootMode) StartSplash();
    Shell::StartupProfile::Mark(L"splash started");
    ModifyStyle(0, WS_MINIMIZEBOX);
    MoveWindow(0, 0, kWidth, kHeight);
    SetWindowRgn(::CreateRoundRectRgn(0, 0, kWidth, kHeight, 10, 10), TRUE);
    CenterWindow();

    CreateFrameButtons();
    ShowSplashText(L"Loading Left Button...");
    CreateDrawer();
    Shell::StartupProfile::Mark(L"frame buttons and drawer");
    ShowSplashText(L"Loading Top Button...");
    CreateTopButtons();
    Shell::StartupProfile::Mark(L"top buttons");
    CreateFunctionPages();
    ArrangeTabOrder();
    EndSplash();
    Shell::StartupProfile::Mark(L"splash closed");

    nsVendrel::TranslateWnd(this, 0, 1);
    m_bCaptionsTranslated = true;
    Shell::StartupProfile::Mark(L"captions translated");
    CWnd* active = GetActiveWindow();
    HWND activeWnd = active ? active->GetSafeHwnd() : nullptr;
    // Titled in boot mode too: a second start finds this window by its title and brings it forward.
    SetWindowText(kWindowTitle);
    if (CEntryApp::m_bBootMode) {
        PostMessage(kAddTrayIcon);  // stays hidden; only the tray icon shows
        return TRUE;
    }

    if (activeWnd) ::ShowWindow(activeWnd, SW_SHOWNORMAL);
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(&wndTopMost, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    SetWindowPos(&wndNoTopMost, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    SetWindowPos(&wndTop, rect.left, rect.top, rect.Width(), rect.Height(), 0);
    SetActiveWindow();
    SetForegroundWindow();
    SetFocus();
    Shell::StartupProfile::Mark(L"placed and activated");
    return TRUE;
}

void CEntryDlg::LoadLanguage()
{
    m_nLanguageIndex = Settings::Language() - 1;
    CString folder = CString(SBGetAppPathW().c_str()) + L"dic\\" + Shell::kLanguageFolders[m_nLanguageIndex];
    nsVendrel::LoadDictionarys(folder);
}

bool CEntryDlg::EnsureSingleInstance()
{
    m_instanceMutex.Reset(::CreateMutexW(nullptr, FALSE, kMutexName));
    if (::GetLastError() == 0) return true;  // released with this window, so a later main window may hold it
    m_instanceMutex.Reset();
    if (HWND first = ::FindWindowW(nullptr, kWindowTitle)) {
        ::SetForegroundWindow(first);
        ::ShowWindow(first, SW_SHOWNORMAL);
    }
    EndDialog(0);
    return false;
}

void CEntryDlg::StartSplash()
{
    // Not waited for: the splash builds its window while this thread builds the main one, and EndSplash waits
    // for it if it is not ready by then.
    m_splashThread.Reset(qcore::StartThread([this] { CStartupWnd::ThreadProc(&m_startupWnd); }));
}

void CEntryDlg::ShowSplashText(LPCWSTR text)
{
    if (m_splashThread) m_startupWnd.ShowLoadingText(text);
}

void CEntryDlg::EndSplash()
{
    if (!m_splashThread) return;
    HWND splash = m_startupWnd.GetSplashWindow();
    if (!splash && WaitForSplash(m_startupWnd.ReadyEvent())) splash = m_startupWnd.GetSplashWindow();
    if (splash) {
        ::ShowWindow(splash, SW_SHOWNORMAL);
        ::PostMessageW(splash, WM_CLOSE, 0, 0);
        WaitForSplash(m_splashThread.Get());
    }
    m_splashThread.Reset();
}

void CEntryDlg::CreateFrameButtons()
{
    struct {
        CImageButton* button;
        int id;
        RECT rect;
        Shell::SkinBitmaps bitmaps;
    } buttons[] = {{&m_btnClose, Shell::kCloseButtonId, {899, 1, 929, 22}, {132, 131, 130}},
                   {&m_btnMinimize, Shell::kMinimizeButtonId, {869, 1, 929, 22}, {135, 134, 133}}};
    for (auto& b : buttons) {
        b.button->SetBitmaps(b.bitmaps.normal, b.bitmaps.hover, b.bitmaps.selected, CLR_INVALID);
        b.button->Create(L"", WS_CHILD | WS_VISIBLE, b.rect, this, b.id);
        b.button->SizeToBitmap();
    }
}

void CEntryDlg::CreateDrawer()
{
    m_pDrawer = new CDrawerMenuCtrl;
    m_pDrawer->m_nHeaderWidth = m_pDrawer->m_nItemWidth = 179;
    m_pDrawer->m_nHeaderHeight = m_pDrawer->m_nItemHeight = 40;
    m_pDrawer->m_nHeaderTextX = 35;
    m_pDrawer->m_nHeaderFontSize = m_pDrawer->m_nItemFontSize = 13;
    m_pDrawer->m_strHeaderFont = m_pDrawer->m_strItemFont = L"Verdana";
    m_pDrawer->m_bHeaderBold = m_pDrawer->m_bItemBold = TRUE;
    m_pDrawer->m_crHeaderText = RGB(0, 0x15, 0x6E);
    m_pDrawer->m_crItemText = RGB(0, 0, 0);
    m_pDrawer->m_crItemSelectedText = RGB(255, 255, 255);
    m_pDrawer->Create(L"", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(4, 123, 183, 688), this, Shell::kDrawerId);

    int count = 0;
    const Shell::DrawerGroup* groups = Shell::DrawerGroups(&count);
    for (int g = 0; g < count; ++g) {
        const Shell::DrawerEntry& h = groups[g].header;
        int index = m_pDrawer->AddGroup(h.bitmaps.normal, h.bitmaps.hover, h.bitmaps.selected, h.id, h.key);
        for (int i = 0; i < groups[g].itemCount; ++i) {
            const Shell::DrawerEntry& item = groups[g].items[i];
            m_pDrawer->AddItem(index, item.bitmaps.normal, item.bitmaps.hover, item.bitmaps.selected, item.id,
                               item.key);
        }
    }
}

void CEntryDlg::CreateTopButtons()
{
    int count = 0;
    const Shell::TopButton* table = Shell::TopButtons(&count);
    for (int i = 0; i < count && i < kTopButtonCount; ++i) {
        CImageButton& b = m_btnTop[i];
        b.SetBitmaps(table[i].bitmaps.normal, table[i].bitmaps.hover, table[i].bitmaps.selected, CLR_INVALID);
        b.m_bCenter = FALSE;
        b.m_nTextX = 30;
        b.m_nTextY = 6;
        b.m_nFontSize = 15;
        b.m_bBold = TRUE;
        b.m_crText = RGB(0, 0, 0);
        b.CreateTextFont();
        b.Create(table[i].key, WS_CHILD | WS_VISIBLE, table[i].rect, this, table[i].id);
        b.SizeToBitmap();
    }
}

void CEntryDlg::CreateOptionsWindow()
{
    if (m_pOptionDlg || !Shell::IsPageRegistered(Shell::kOptionsWindowId)) return;
    m_pOptionDlg = Shell::CreatePageObject(Shell::kOptionsWindowId);
    m_pOptionDlg->Create(IDD_ENTRY_DIALOG, this);
    m_pOptionDlg->ShowWindow(SW_HIDE);
    m_pOptionDlg->SetWindowText(L"");
    m_pOptionDlg->OnInitPage();
    m_pOptionDlg->Invalidate();
    m_pOptionDlg->ShowWindow(SW_HIDE);
}

void CEntryDlg::CreateFunctionPages()
{
    m_pContainer = new CFunctionDlgContainer;
    m_pContainer->Create(IDD_FUNCTION_PAGE, this);
    m_pContainer->MoveWindow(186, 126, 737, 536);

    // Only the first group (the home page) before the window shows: the other pages are hidden until asked for
    // and are built after the first paint (or at once when one is asked for earlier).
    CreatePageGroup(0);
    SwitchPage(PAGE_ID_START);
}

bool CEntryDlg::CreatePageGroup(int group)
{
    int groupCount = 0;
    const Shell::PageGroup* groups = Shell::PageGroups(&groupCount);
    if (group >= groupCount) return false;
    ShowSplashText(groups[group].loadingText);
    for (int i = 0; i < groups[group].count; ++i) {
        CFunctionDlg* page = Shell::CreatePageObject(groups[group].ids[i]);
        m_pages.push_back(page);
        CFunctionDlgContainer::AddPage(page, m_pContainer, groups[group].ids[i]);
        // The window's captions were translated at start-up; a page built later is translated on its own.
        if (m_bCaptionsTranslated) nsVendrel::TranslateWnd(page, 0, 1);
    }
    Shell::StartupProfile::Mark(groups[group].loadingText);
    m_nNextPageGroup = group + 1;
    return true;
}

void CEntryDlg::CreateRemainingPages()
{
    while (CreatePageGroup(m_nNextPageGroup)) {}
}

LRESULT CEntryDlg::OnCreateNextPages(WPARAM, LPARAM)
{
    // One group per message, so the window answers between them; the options window comes last.
    if (CreatePageGroup(m_nNextPageGroup))
        PostMessage(kCreateNextPages);
    else
        CreateOptionsWindow();
    return 0;
}

void CEntryDlg::ArrangeTabOrder()
{
    // Tab follows the z-order of the children: the drawer, the page, the top buttons from left to right, then
    // minimise and close.
    std::vector<HWND> order = {m_pDrawer ? m_pDrawer->GetSafeHwnd() : nullptr,
                               m_pContainer ? m_pContainer->GetSafeHwnd() : nullptr};
    std::vector<CImageButton*> top;
    for (CImageButton& b : m_btnTop)
        if (b.GetSafeHwnd()) top.push_back(&b);
    std::sort(top.begin(), top.end(), [](CImageButton* a, CImageButton* b) {
        CRect ra, rb;
        a->GetWindowRect(&ra);
        b->GetWindowRect(&rb);
        return ra.left < rb.left;
    });
    for (CImageButton* b : top) order.push_back(b->GetSafeHwnd());
    order.push_back(m_btnMinimize.GetSafeHwnd());
    order.push_back(m_btnClose.GetSafeHwnd());
    for (HWND h : order)
        if (h) ::SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CEntryDlg::SwitchPage(int nPageId)
{
    if (m_bBusy) return;  // dropped, not queued
    if (nPageId != PAGE_ID_START) CreateRemainingPages();
    if (m_pDrawer) m_pDrawer->SelectItem(nPageId);
    for (HWND h = ::GetWindow(GetSafeHwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->IsExactly(RUNTIME_CLASS(CFunctionDlgContainer)))
            static_cast<CFunctionDlgContainer*>(wnd)->ShowPage(nPageId);
    }
}

void CEntryDlg::SetBusy(WPARAM wParam)
{
    m_bBusy = wParam == 1;
    if (m_pDrawer) m_pDrawer->EnableItems(!m_bBusy);
}

LRESULT CEntryDlg::OnSwitchPageMessage(WPARAM wParam, LPARAM)
{
    SwitchPage(static_cast<int>(wParam));
    return 0;
}

LRESULT CEntryDlg::OnSetBusyMessage(WPARAM wParam, LPARAM)
{
    SetBusy(wParam);
    return 0;
}

void CEntryDlg::EndBootMode() { CEntryApp::m_bBootMode = FALSE; }

LRESULT CEntryDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != Shell::kTrayIconId) return 0;
    if (lParam == WM_LBUTTONDBLCLK) {
        EndBootMode();  // first: the window's first paint must not be taken for the boot start's
        if (CWnd* main = AfxGetMainWnd()) main->ShowWindow(SW_SHOWNORMAL);
    } else if (lParam == WM_RBUTTONDOWN) {
        HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
        if (!menu) return 0;
        POINT pt;
        ::GetCursorPos(&pt);
        // Without the foreground the menu would not close when the user clicks elsewhere.
        SetForegroundWindow();
        ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON, pt.x, pt.y, 0, GetSafeHwnd(), nullptr);
        PostMessage(WM_NULL);
        ::DestroyMenu(menu);
    }
    return 0;
}

LRESULT CEntryDlg::OnAddTrayIcon(WPARAM, LPARAM)
{
    if (m_bTrayAdded) return 0;
    m_nid = Shell::MakeTrayRecord(GetSafeHwnd(), WM_TRAY_NOTIFY, m_hIcon);
    m_bTrayAdded = Shell::AddTrayIcon(m_nid);
    return 0;
}

LRESULT CEntryDlg::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (m_bTrayAdded) Shell::AddTrayIcon(m_nid);
    return 0;
}

LRESULT CEntryDlg::OnLanguageChanged(WPARAM wParam, LPARAM)
{
    m_nLanguageIndex = static_cast<int>(wParam);  // the help and support links follow the language
    return 0;
}

void CEntryDlg::OnCloseButton() { ShowWindow(SW_HIDE); }

void CEntryDlg::OnMinimizeButton() { ShowWindow(SW_MINIMIZE); }

void CEntryDlg::OpenWebLink(bool help)
{
    std::wstring link = Shell::GetWebLink(m_nLanguageIndex, help ? Shell::WebLink::Help : Shell::WebLink::Support);
    ::ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOW);
}

void CEntryDlg::OnSupportButton() { OpenWebLink(false); }

void CEntryDlg::OnHelpButton() { OpenWebLink(true); }

void CEntryDlg::OnOptionsButton()
{
    CreateOptionsWindow();
    if (m_pOptionDlg) m_pOptionDlg->OnShowPage();
}

void CEntryDlg::OnStartButton() { SwitchPage(PAGE_ID_START); }

void CEntryDlg::OnTrayShow()
{
    EndBootMode();
    ShowWindow(SW_SHOW);
}

void CEntryDlg::OnTrayExit() { EndDialog(IDCANCEL); }

void CEntryDlg::OnOK()
{
    // Enter on a child must not end the program.
}

void CEntryDlg::OnCancel()
{
    // Escape on the main window's own controls does nothing, as inside its pages.
}

void CEntryDlg::OnClose()
{
    // Alt+F4 acts like the close button: the program goes on in the tray.
    ShowWindow(SW_HIDE);
}

void CEntryDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    // Whoever shows the window (the tray, the scan's pop-up, a second start) ends boot mode first, so the
    // boot start's hiding at the first non-client paint never takes that showing back.
    if (bShow && CEntryApp::m_bBootMode) EndBootMode();
    CDialog::OnShowWindow(bShow, nStatus);
}

void CEntryDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        if (IsWindowVisible() && !m_bShownOnce) {
            m_bShownOnce = true;
            Shell::StartupProfile::Mark(L"first paint");
            Shell::StartupProfile::Write();
            PostMessage(kAddTrayIcon);
            PostMessage(kCreateNextPages);
        }
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}

HCURSOR CEntryDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

BOOL CEntryDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    nsVendrel::CMemDC mem(pDC, client);
    HDC dc = mem.GetSafeHdc();
    mem.FillSolidRect(&client, RGB(38, 84, 150));
    BITMAP bm = {};
    ::GetObjectW(m_bmpBackground.GetSafeHandle(), sizeof(bm), &bm);
    {
        const qcore::UniqueMemoryDc src(::CreateCompatibleDC(dc));
        const qcore::GdiSelection selected(src.Get(), m_bmpBackground.GetSafeHandle());
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, client.Width() - 1, client.Height() - 1, src.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                     SRCCOPY);
    }

    const qcore::GdiSelection titleFont(dc, m_fontTitle.GetSafeHandle());
    ::SetTextColor(dc, m_crTitle);
    ::SetBkMode(dc, TRANSPARENT);
    RECT title = {30, 5, 250, 25};
    ::DrawTextW(dc, m_strTitle, -1, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return TRUE;
}

LRESULT CEntryDlg::OnNcHitTest(CPoint)
{
    return HTCAPTION;  // dragged from any point
}

void CEntryDlg::OnNcPaint()
{
    if (CEntryApp::m_bBootMode && g_bootHideCounter > 0) {
        --g_bootHideCounter;
        ShowWindow(SW_HIDE);
        return;
    }
    Default();
}

void CEntryDlg::OnDestroy()
{
    // Every wait on another program or a service ends now, so the jobs of the pages reach their end promptly.
    qcore::SignalShutdown();
    if (m_bTrayAdded) Shell::RemoveTrayIcon(m_nid);
    m_bTrayAdded = false;
    // Pages go before their container; one whose worker outlives the wait stays (hidden) until that worker ends.
    std::vector<CFunctionDlg*> pages = m_pages;
    pages.push_back(m_pOptionDlg);
    Shell::RetirePages(pages, kShutdownWaitMs);
    m_pages.clear();
    m_pOptionDlg = nullptr;
    if (m_pContainer) m_pContainer->DestroyWindow();
    delete m_pContainer;
    m_pContainer = nullptr;
    if (m_pDrawer) {
        m_pDrawer->DestroyWindow();
        delete m_pDrawer;
        m_pDrawer = nullptr;
    }
    CDialog::OnDestroy();
}
