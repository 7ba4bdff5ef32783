// The keyboard in the real main window, created in this process: Tab reaches every button and check box of the
// window and of the page shown, in the order drawer, page, top buttons, minimise, close; Enter and Space press
// what has the focus, Enter in a page presses its default button; Escape closes the options window and nothing
// else; the focused
// control draws a focus frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>

#include "DrawerMenu.h"
#include "MainFrameTables.h"
#include "MainWindowInProcess.h"
#include "PageIds.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "Dictionary.h"
#include "controls/CheckBoxEx.h"
#include "options/OptionDlg.h"

using namespace shell_test;

namespace {

std::string Describe(HWND h)
{
    std::wstring text = WindowText(h);
    return "control " + std::to_string(::GetDlgCtrlID(h)) + " '" + std::string(text.begin(), text.end()) + "'";
}

// The focus after each Tab from `first` until it comes back (at most `limit` presses).
std::vector<HWND> TabCycle(HWND first, int limit = 400)
{
    ::SetFocus(first);
    std::vector<HWND> visited = {first};
    for (int i = 0; i < limit; ++i) {
        PressKey(VK_TAB);
        HWND focus = ::GetFocus();
        if (focus == first || !focus) break;
        visited.push_back(focus);
    }
    return visited;
}

// 0: the drawer, 1: the page area, 2: the main window's own buttons.
int Region(HWND main, HWND h)
{
    if (::IsChild(PageContainer(main), h)) return 1;
    return ::GetParent(h) == main ? 2 : 0;
}

BOOL CALLBACK FindVisibleOptionsWindow(HWND h, LPARAM found)
{
    if (::IsWindowVisible(h) && dynamic_cast<COptionDlg*>(CWnd::FromHandlePermanent(h))) {
        *reinterpret_cast<HWND*>(found) = h;
        return FALSE;
    }
    return TRUE;
}

// The options window when it is shown, or null.
HWND VisibleOptionsWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleOptionsWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the next message box of this program (not the main window, itself a dialog) with OK, keeping its text.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(HWND main)
        : m_driver([main](HWND h) { return h != main && IsMessageBox(h); },
                   [this](HWND h) {
                       m_text = WindowText(::GetDlgItem(h, 0xFFFF));
                       m_answered = true;
                       ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                   })
    {
    }
    // The text may be read once this is true.
    bool Answered() const { return m_answered; }
    std::wstring Text() const { return m_text; }

private:
    static bool IsMessageBox(HWND h)
    {
        wchar_t cls[16] = L"";
        ::GetClassNameW(h, cls, 16);
        return lstrcmpW(cls, L"#32770") == 0 && !CWnd::FromHandlePermanent(h) && ::GetDlgItem(h, 0xFFFF);
    }
    std::wstring m_text;
    std::atomic<bool> m_answered{false};
    WindowDriver m_driver;
};

// The window's pixels as painted now.
std::vector<COLORREF> Pixels(HWND wnd, RECT& rect)
{
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::GetClientRect(wnd, &rect);
    std::vector<COLORREF> pixels;
    HDC dc = ::GetDC(wnd);
    for (int y = 0; y < rect.bottom; ++y)
        for (int x = 0; x < rect.right; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(wnd, dc);
    return pixels;
}

class Keyboard : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_main = &SharedMainWindow();
        s_main->SwitchLanguage(1);
    }
    HWND Main() { return s_main->Handle(); }
    static MainWindowInProcess* s_main;
};
MainWindowInProcess* Keyboard::s_main = nullptr;

TEST_F(Keyboard, TabVisitsEveryButtonAndCheckBoxOfTheWindowAndItsPageInReadingOrder)
{
    const int pages[] = {
        PAGE_ID_START,           PAGE_ID_SCAN_CLEAN_HOME,     PAGE_ID_SCAN_CLEAN_REGISTRY, PAGE_ID_SCAN_CLEAN_EVIDENCE,
        PAGE_ID_SCAN_CLEAN_JUNK, PAGE_ID_SCAN_CLEAN_SHORTCUT, PAGE_ID_OPTIMIZE_HOME,       PAGE_ID_TOOLS_HOME,
        PAGE_ID_BACKUP_HOME};
    for (int pageId : pages) {
        SCOPED_TRACE("page " + std::to_string(pageId));
        s_main->ShowPage(pageId);
        HWND first = ::GetNextDlgTabItem(Main(), nullptr, FALSE);
        ASSERT_NE(nullptr, first);
        std::vector<HWND> visited = TabCycle(first);
        EXPECT_EQ(first, ::GetFocus()) << "Tab comes back to where it started";
        EXPECT_EQ(visited.size(), std::set<HWND>(visited.begin(), visited.end()).size()) << "each stop once";

        std::vector<HWND> pressable = PressableControls(Main());
        EXPECT_GT(pressable.size(), 8u);
        for (HWND h : pressable)
            EXPECT_NE(visited.end(), std::find(visited.begin(), visited.end(), h)) << Describe(h) << " is skipped";
        bool pageReached = false;
        for (size_t i = 1; i < visited.size(); ++i) {
            EXPECT_LE(Region(Main(), visited[i - 1]), Region(Main(), visited[i])) << Describe(visited[i]);
            pageReached = pageReached || Region(Main(), visited[i]) == 1;
        }
        EXPECT_TRUE(pageReached);
        // The main window's own buttons close the cycle: top buttons left to right, minimise, close.
        std::vector<int> tail;
        for (HWND h : visited)
            if (Region(Main(), h) == 2) tail.push_back(::GetDlgCtrlID(h));
        EXPECT_EQ((std::vector<int>{Shell::kStartButtonId, Shell::kHelpButtonId, Shell::kOptionsButtonId,
                                    Shell::kSupportButtonId, Shell::kMinimizeButtonId, Shell::kCloseButtonId}),
                  tail);

        // Shift+Tab walks the same cycle backwards.
        ::SetFocus(first);
        PressKey(VK_TAB, true);
        EXPECT_EQ(visited.back(), ::GetFocus());
        PressKey(VK_TAB, true);
        EXPECT_EQ(visited[visited.size() - 2], ::GetFocus());
    }
}

TEST_F(Keyboard, EnterAndSpacePressTheFocusedEntryAndEnterInAPageRunsItsDefaultButton)
{
    s_main->ShowPage(PAGE_ID_START);
    struct Case {
        bool drawer;
        int focusId;
        UINT key;
        int pageShown;
    } cases[] = {
        {true, PAGE_ID_SCAN_CLEAN_HOME, VK_RETURN, PAGE_ID_SCAN_CLEAN_HOME},  // a drawer header
        {true, PAGE_ID_SCAN_CLEAN_JUNK, VK_SPACE, PAGE_ID_SCAN_CLEAN_JUNK},   // an item of the open group
        {false, Shell::kStartButtonId, VK_RETURN, PAGE_ID_START},             // a top button
        {true, PAGE_ID_TOOLS_HOME, VK_SPACE, PAGE_ID_TOOLS_HOME},
        {true, PAGE_ID_TOOLS_DISK_MANAGER, VK_RETURN, PAGE_ID_TOOLS_DISK_MANAGER},
        {false, Shell::kStartButtonId, VK_SPACE, PAGE_ID_START},
    };
    for (const Case& c : cases) {
        HWND target = c.drawer ? DrawerEntry(Main(), c.focusId) : ::GetDlgItem(Main(), c.focusId);
        ASSERT_NE(nullptr, target) << c.focusId;
        ::SetFocus(target);
        PressKey(c.key);
        EXPECT_EQ(c.pageShown, VisiblePageId(Main())) << "focus on " << c.focusId << ", key " << c.key;
    }

    // On the registry page Space ticks the focused category; Enter there presses Scan, which asks for a category
    // once none is ticked.
    s_main->ShowPage(PAGE_ID_SCAN_CLEAN_REGISTRY);
    HWND page = FindDescendant(PageContainer(Main()), PAGE_ID_SCAN_CLEAN_REGISTRY);
    HWND box = FindDescendant(page, 11009);
    ASSERT_NE(nullptr, box);
    auto* checkBox = dynamic_cast<CCheckBoxEx*>(CWnd::FromHandlePermanent(box));
    ASSERT_NE(nullptr, checkBox);
    ::SetFocus(box);
    int before = checkBox->GetState();
    PressKey(VK_SPACE);
    EXPECT_NE(before, checkBox->GetState());
    if (checkBox->GetState() == 1) PressKey(VK_SPACE);
    ASSERT_EQ(0, checkBox->GetState());
    MessageBoxAnswer answer(Main());
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return answer.Answered(); }, 5000)) << "Enter did not press Scan";
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_NOIMTESELECT").GetString(), answer.Text());
}

TEST_F(Keyboard, EscapeClosesTheOptionsWindowButNeitherAPageNorTheMainWindow)
{
    s_main->ShowPage(PAGE_ID_SCAN_CLEAN_REGISTRY);
    // A control of the page, a top button after a click on it, a drawer item, the close button.
    const HWND focusTargets[] = {
        FindDescendant(PageContainer(Main()), 11009), ::GetDlgItem(Main(), Shell::kHelpButtonId),
        DrawerEntry(Main(), PAGE_ID_SCAN_CLEAN_JUNK), ::GetDlgItem(Main(), Shell::kCloseButtonId)};
    for (HWND focus : focusTargets) {
        ASSERT_NE(nullptr, focus);
        ::SetFocus(focus);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(::IsWindowVisible(Main())) << "Escape on " << Describe(focus);
        EXPECT_EQ(PAGE_ID_SCAN_CLEAN_REGISTRY, VisiblePageId(Main())) << Describe(focus);
        if (!::IsWindowVisible(Main())) ::ShowWindow(Main(), SW_SHOW);
    }

    for (bool onTabPage : {true, false}) {
        ::SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(Shell::kOptionsButtonId, BN_CLICKED), 0);
        HWND options = VisibleOptionsWindow();
        ASSERT_NE(nullptr, options) << "the options window did not open";
        // A control of the General tab, or the options window's own first Tab stop.
        HWND focus = nullptr;
        for (HWND h : PressableControls(options))
            if (onTabPage == (::GetParent(h) != options)) focus = focus ? focus : h;
        ASSERT_NE(nullptr, focus);
        ::SetFocus(focus);
        PressKey(VK_ESCAPE);
        EXPECT_FALSE(::IsWindowVisible(options)) << (onTabPage ? "from its tab page" : "from its own button");
        EXPECT_TRUE(::IsWindowVisible(Main()));
    }
}

TEST_F(Keyboard, TheFocusedControlDrawsAFrameInsideItsEdge)
{
    s_main->ShowPage(PAGE_ID_SCAN_CLEAN_REGISTRY);
    HWND page = FindDescendant(PageContainer(Main()), PAGE_ID_SCAN_CLEAN_REGISTRY);
    for (HWND control : {::GetDlgItem(Main(), Shell::kHelpButtonId), FindDescendant(page, 11003),
                         DrawerEntry(Main(), PAGE_ID_SCAN_CLEAN_JUNK)}) {
        ASSERT_NE(nullptr, control);
        ::SetFocus(::GetDlgItem(Main(), Shell::kCloseButtonId));
        RECT rect;
        std::vector<COLORREF> unfocused = Pixels(control, rect);
        ::SetFocus(control);
        std::vector<COLORREF> focused = Pixels(control, rect);
        ASSERT_EQ(unfocused.size(), focused.size());
        int changed = 0, offFrame = 0;
        for (int y = 0; y < rect.bottom; ++y) {
            for (int x = 0; x < rect.right; ++x) {
                size_t i = size_t(y) * rect.right + x;
                if (unfocused[i] == focused[i]) continue;
                ++changed;
                bool onFrame = x == 2 || y == 2 || x == rect.right - 3 || y == rect.bottom - 3;
                offFrame += onFrame ? 0 : 1;
            }
        }
        EXPECT_GT(changed, (rect.right + rect.bottom) / 2) << Describe(control);
        EXPECT_EQ(0, offFrame) << Describe(control) << ": only the frame changes";
    }
}

}  // namespace
