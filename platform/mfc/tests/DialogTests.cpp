// Dialogs: DoModal (EndDialog in OnInitDialog, show at idle, WM_CLOSE, raw threads), modeless EndDialog, and the
// innermost-dialog keyboard handling.
#include <gtest/gtest.h>

#include <functional>

#include "TestIds.h"
#include "TestSupport.h"

using namespace qmfc_test;

namespace {

const UINT WM_TEST_STEP = WM_APP + 20;

// A modal dialog whose OnInitDialog runs a scripted action; records what happened.
class CScriptedDlg : public CDialog {
public:
    explicit CScriptedDlg(CWnd* parent = NULL) : CDialog(IDD_TEST_MODAL, parent) {}
    std::function<void(CScriptedDlg&)> onInit, onStep;
    int okCalls = 0, cancelCalls = 0, showCount = 0;
    bool visibleAtStep = false;
    CWnd* mainWndInInit = nullptr;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        mainWndInInit = AfxGetMainWnd();
        if (onInit) onInit(*this);
        return TRUE;
    }
    void OnOK() override
    {
        ++okCalls;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        ++cancelCalls;
        CDialog::OnCancel();
    }
    void OnShowWindow(BOOL show, UINT status)
    {
        if (show) ++showCount;
        CDialog::OnShowWindow(show, status);
    }
    LRESULT OnStep(WPARAM, LPARAM)
    {
        visibleAtStep = IsWindowVisible() != FALSE;
        if (onStep) onStep(*this);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CScriptedDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_TEST_STEP, &CScriptedDlg::OnStep)
END_MESSAGE_MAP()

// A child page like the program's pages: Enter and Esc do nothing.
class CPageDlg : public CDialog {
public:
    int okCalls = 0, cancelCalls = 0;
    void OnOK() override { ++okCalls; }
    void OnCancel() override { ++cancelCalls; }
};

// Waits for idle time on the dialog's thread and then posts the step, so the loop's first idle has passed.
void CALLBACK PostStepTimer(HWND h, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(h, id);
    ::PostMessageW(h, WM_TEST_STEP, 0, 0);
}

void PostStepLater(CDialog& dlg) { ::SetTimer(dlg.m_hWnd, 1, 50, PostStepTimer); }

}  // namespace

TEST(DoModal, EndDialogInsideOnInitDialogEndsAtOnceWithoutShowing)
{
    CScriptedDlg dlg;
    dlg.onInit = [](CScriptedDlg& d) { d.EndDialog(1234); };
    EXPECT_EQ(1234, dlg.DoModal());
    EXPECT_EQ(0, dlg.showCount);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(DoModal, ShowsAtFirstIdleAndEndsThroughOkAndClose)
{
    struct Case {
        const char* name;
        std::function<void(CScriptedDlg&)> action;
        INT_PTR expected;
        int ok, cancel;
    };
    const Case cases[] = {
        {"ok button",
         [](CScriptedDlg& d) {
             d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(d, IDOK));
         },
         IDOK, 1, 0},
        {"close", [](CScriptedDlg& d) { d.SendMessage(WM_CLOSE); }, IDCANCEL, 0, 1},
        {"cancel button", [](CScriptedDlg& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); },
         IDCANCEL, 0, 1},
    };
    for (const Case& c : cases) {
        CScriptedDlg dlg;
        dlg.onInit = [](CScriptedDlg& d) { PostStepLater(d); };
        dlg.onStep = c.action;
        EXPECT_EQ(c.expected, dlg.DoModal()) << c.name;
        EXPECT_TRUE(dlg.visibleAtStep) << c.name;
        EXPECT_EQ(c.ok, dlg.okCalls) << c.name;
        EXPECT_EQ(c.cancel, dlg.cancelCalls) << c.name;
    }
}

TEST(DoModal, StaysHiddenWhenShowOnIdleIsOff)
{
    CScriptedDlg dlg;
    dlg.onInit = [](CScriptedDlg& d) {
        d.SetShowOnIdle(FALSE);
        PostStepLater(d);
    };
    dlg.onStep = [](CScriptedDlg& d) { d.EndDialog(IDOK); };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(dlg.visibleAtStep);
    EXPECT_EQ(0, dlg.showCount);
}

TEST(DoModal, RunsOnARawThreadWhileTheMainThreadWaits)
{
    // The application's main window lives on this thread, which blocks in a plain wait: a modal dialog on
    // another thread must neither disable nor otherwise wait on it.
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(CreateHost(main, L"main"));
    app.m_pMainWnd = &main;

    INT_PTR result = 0;
    CWnd* mainSeen = nullptr;
    std::function<void()> body = [&] {
        CScriptedDlg dlg;
        dlg.onInit = [](CScriptedDlg& d) { PostStepLater(d); };
        dlg.onStep = [](CScriptedDlg& d) { d.EndDialog(77); };
        result = dlg.DoModal();
        mainSeen = dlg.mainWndInInit;
    };
    HANDLE t = qcore::StartThread(body);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 10000));
    CloseHandle(t);
    EXPECT_EQ(77, result);
    EXPECT_EQ(&main, mainSeen);  // the application's main window from any thread
    EXPECT_TRUE(main.IsWindowEnabled());
    main.DestroyWindow();
}

TEST(DoModal, IsTheMainWindowDuringItsOwnInitWhenNoneIsSet)
{
    CWinApp app;
    CScriptedDlg dlg;
    dlg.onInit = [](CScriptedDlg& d) { d.EndDialog(5); };
    EXPECT_EQ(5, dlg.DoModal());
    EXPECT_EQ(&dlg, dlg.mainWndInInit);
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

TEST(Modeless, EndDialogOnlyHides)
{
    CScriptedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODAL, NULL));
    EXPECT_TRUE(dlg.IsWindowVisible());  // the template says WS_VISIBLE
    dlg.EndDialog(IDOK);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(dlg.m_hWnd));
    dlg.DestroyWindow();
}

TEST(DoModal, EnterAndEscapeGoToTheInnermostDialog)
{
    CScriptedDlg outer;
    CPageDlg page;
    outer.onInit = [&](CScriptedDlg& d) {
        ASSERT_TRUE(page.Create(IDD_TEST_PAGE, &d));
        page.ShowWindow(SW_SHOW);
        PostStepLater(d);
    };
    int step = 0;
    outer.onStep = [&](CScriptedDlg& d) {
        HWND edit = ::GetDlgItem(page, IDC_TEST_PAGE_EDIT);
        ::SetFocus(edit);
        if (step++ == 0) {
            // Typed keys come through the queue, as from the keyboard.
            ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageW(d, WM_TEST_STEP, 0, 0);
        } else {
            d.EndDialog(42);
        }
    };
    EXPECT_EQ(42, outer.DoModal());
    EXPECT_EQ(1, page.okCalls);
    EXPECT_EQ(1, page.cancelCalls);
    EXPECT_EQ(0, outer.okCalls);
    EXPECT_EQ(0, outer.cancelCalls);
}
