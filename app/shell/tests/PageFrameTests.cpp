// The page frame in this process: AddPage/ShowPage of the container, sub-pages, the page factory and the panel
// drawing, with counting stub pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "Dictionary.h"
#include "FunctionDlg.h"
#include "PageFactory.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"

namespace {

class CountingPage : public CFunctionDlg {
public:
    int inits = 0, shows = 0, showWindowMessages = 0;
    int idAtInit = -1;
    bool visibleAtInit = true;
    std::function<void()> onShow;

    void OnInitPage() override
    {
        ++inits;
        idAtInit = m_nPageId;
        visibleAtInit = IsWindowVisible() != FALSE;
    }
    void OnShowPage() override
    {
        ++shows;
        CFunctionDlg::OnShowPage();
        if (onShow) onShow();
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW) ++showWindowMessages;
        return CFunctionDlg::WindowProc(message, wParam, lParam);
    }
};

bool HasVisibleBit(CWnd* wnd) { return (wnd->GetStyle() & WS_VISIBLE) != 0; }

class PageFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_container.Create(IDD_FUNCTION_PAGE, &m_host);
        m_container.MoveWindow(186, 126, 737, 536);
    }
    void TearDown() override { m_container.DestroyWindow(); }
    CountingPage* Add(int id)
    {
        m_pages.emplace_back(new CountingPage);
        CFunctionDlgContainer::AddPage(m_pages.back().get(), &m_container, id);
        return m_pages.back().get();
    }

    shell_test::HostWindow m_host;
    CFunctionDlgContainer m_container;
    std::vector<std::unique_ptr<CountingPage>> m_pages;
};

TEST_F(PageFrame, AddPageInitialisesOnceHiddenAndSetsTheIdAfterwards)
{
    CountingPage* page = Add(PAGE_ID_SCAN_CLEAN_REGISTRY);
    EXPECT_EQ(1, page->inits);
    EXPECT_EQ(0, page->idAtInit);
    EXPECT_FALSE(page->visibleAtInit);
    EXPECT_EQ(PAGE_ID_SCAN_CLEAN_REGISTRY, page->GetPageId());
    EXPECT_EQ(PAGE_ID_SCAN_CLEAN_REGISTRY, ::GetDlgCtrlID(page->GetSafeHwnd()));
    EXPECT_EQ(0, page->shows);
    EXPECT_TRUE(page->GetStyle() & WS_CHILD);
    CRect client, pageRect;
    m_container.GetClientRect(&client);
    page->GetWindowRect(&pageRect);
    EXPECT_EQ(client.Width(), pageRect.Width());
    EXPECT_EQ(client.Height(), pageRect.Height());
}

TEST_F(PageFrame, ShowPageShowsExactlyOnePageAndHidesTheOtherWithoutShowWindow)
{
    CountingPage* a = Add(110001);
    CountingPage* b = Add(110002);
    m_container.ShowPage(110001);
    EXPECT_TRUE(a->IsWindowVisible());
    EXPECT_FALSE(HasVisibleBit(b));
    int aShowMessages = a->showWindowMessages;

    m_container.ShowPage(110002);
    EXPECT_TRUE(b->IsWindowVisible());
    EXPECT_FALSE(HasVisibleBit(a));
    EXPECT_EQ(aShowMessages, a->showWindowMessages) << "the old page was hidden with ShowWindow";
    EXPECT_EQ(110002, m_container.GetCurrentPageId());

    m_container.ShowPage(110002);
    EXPECT_EQ(2, b->shows);
    EXPECT_EQ(1, a->shows);
    EXPECT_EQ(1, a->inits);
    EXPECT_EQ(1, b->inits);
}

TEST_F(PageFrame, AnUnknownIdHidesEveryPageAndTheContainer)
{
    CountingPage* a = Add(110001);
    m_container.ShowPage(110001);
    ASSERT_TRUE(m_container.IsWindowVisible());
    m_container.ShowPage(120001);
    EXPECT_FALSE(HasVisibleBit(a));
    EXPECT_FALSE(HasVisibleBit(&m_container));
    // The emptied area is repainted by the main window (the old page's pixels do not stay).
    EXPECT_TRUE(shell_test::PumpUntil([&] {
        return shell_test::ScreenPixel(m_host.GetSafeHwnd(), 300, 300) == shell_test::HostWindow::kBackground;
    }));
    m_container.ShowPage(110001);
    EXPECT_TRUE(m_container.IsWindowVisible());
    EXPECT_TRUE(a->IsWindowVisible());
}

TEST_F(PageFrame, FiveDigitToolPagesAreReachedByTheirExactIds)
{
    for (int id : {PAGE_ID_TOOLS_DISK_MANAGER, PAGE_ID_TOOLS_WINDOWS_UPDATE, PAGE_ID_TOOLS_FILE_EXTENSION}) Add(id);
    Add(150006);
    for (size_t i = 0; i < 3; ++i) {
        m_container.ShowPage(m_pages[i]->GetPageId());
        for (size_t k = 0; k < m_pages.size(); ++k) EXPECT_EQ(i == k, HasVisibleBit(m_pages[k].get()) != 0) << i;
    }
}

// A page with two steps keyed 0 and 1, added in its OnInitPage.
class StepsPage : public CountingPage {
public:
    CountingPage step0, step1;
    void OnInitPage() override
    {
        CountingPage::OnInitPage();
        AddSubPage(&step0, this, 0);
        AddSubPage(&step1, this, 1);
    }
};

TEST_F(PageFrame, SubPagesCarryTheirKeyInOnInitPageAndStepZeroShowsWithThePage)
{
    auto steps = std::make_unique<StepsPage>();
    StepsPage* page = steps.get();
    CFunctionDlgContainer::AddPage(page, &m_container, 150005);
    m_pages.emplace_back(std::move(steps));
    EXPECT_EQ(0, page->step0.idAtInit);
    EXPECT_EQ(1, page->step1.idAtInit);

    m_container.ShowPage(150005);
    EXPECT_TRUE(page->step0.IsWindowVisible());
    EXPECT_FALSE(HasVisibleBit(&page->step1));
    page->ShowSubPage(1);
    EXPECT_TRUE(page->step1.IsWindowVisible());
    EXPECT_FALSE(HasVisibleBit(&page->step0));
    EXPECT_EQ(&page->step1, page->GetSubPage(1));
    EXPECT_EQ(nullptr, page->GetSubPage(7));
    page->ShowSubPage(7);  // no such step: every step is hidden, none shown
    EXPECT_FALSE(HasVisibleBit(&page->step0));
    EXPECT_FALSE(HasVisibleBit(&page->step1));

    // Showing the page again brings step 0 back; a step may switch steps from inside its own OnShowPage.
    page->step0.onShow = [page] { page->ShowSubPage(1); };
    m_container.ShowPage(150005);
    EXPECT_TRUE(page->step1.IsWindowVisible());
    EXPECT_FALSE(HasVisibleBit(&page->step0));
}

TEST_F(PageFrame, EnterAndEscapeInAPageCloseNothing)
{
    CountingPage* page = Add(110001);
    m_container.ShowPage(110001);
    page->SendMessage(WM_COMMAND, IDOK, 0);
    page->SendMessage(WM_COMMAND, IDCANCEL, 0);
    page->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(page->GetSafeHwnd()));
    EXPECT_TRUE(page->IsWindowVisible());
}

// Ids of no page: real pages register their own ids, and which of two registrations of one id wins depends on
// the link order.
constexpr int kTestPageId = 199001, kUnregisteredPageId = 199002, kPageWithoutLibraryId = 199003;
class RegisteredTestPage : public CFunctionDlg {};
QUORVEL_REGISTER_PAGE(kTestPageId, RegisteredTestPage);
const bool s_pageWithoutLibrary = Shell::RegisterPage(
    kPageWithoutLibraryId, []() -> CFunctionDlg* { return new RegisteredTestPage; }, L"Common.dll|Absent.dll");

TEST(PageFactory, ListsEveryPageIdOnceInItsGroupsAndCreatesRegisteredClasses)
{
    int groupCount = 0;
    const Shell::PageGroup* groups = Shell::PageGroups(&groupCount);
    std::vector<int> ids;
    for (int g = 0; g < groupCount; ++g) ids.insert(ids.end(), groups[g].ids, groups[g].ids + groups[g].count);
    EXPECT_EQ(36u, ids.size());
    EXPECT_EQ(ids.size(), std::set<int>(ids.begin(), ids.end()).size());
    EXPECT_EQ(PAGE_ID_START, ids.front());
    for (int id : {50006, 50007, 50008, 120008, 140000, 160004})
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), id)) << id;
    for (int id : {120001, 140003, 150006, 150007, 150008})
        EXPECT_EQ(ids.end(), std::find(ids.begin(), ids.end(), id)) << id;
    EXPECT_STREQ(L"Loading Home Module...", groups[0].loadingText);
    EXPECT_STREQ(L"Loading Backup Module...", groups[groupCount - 1].loadingText);

    std::unique_ptr<CFunctionDlg> registered(Shell::CreatePageObject(kTestPageId));
    EXPECT_TRUE(dynamic_cast<RegisteredTestPage*>(registered.get()) != nullptr);
    std::unique_ptr<CFunctionDlg> plain(Shell::CreatePageObject(kUnregisteredPageId));
    EXPECT_TRUE(plain->IsExactly(RUNTIME_CLASS(CFunctionDlg)));
    EXPECT_TRUE(dynamic_cast<RegisteredTestPage*>(plain.get()) == nullptr);
    EXPECT_TRUE(Shell::IsPageRegistered(kTestPageId));
    EXPECT_FALSE(Shell::IsPageRegistered(kUnregisteredPageId));
    EXPECT_TRUE(Shell::IsPageRegistered(Shell::kOptionsWindowId));
}

TEST_F(PageFrame, APageThatIsNotBuiltShowsATranslatedNoteAndABuiltOneDoesNot)
{
    // A page whose library is missing is not built either: its note names the library.
    struct Case {
        int id;
        bool note;
        const wchar_t* noteKey;
    } cases[] = {
        {kUnregisteredPageId, true, L"IDS_PAGE_NOT_AVAILABLE_YET"},
        {kTestPageId, false, nullptr},
        {kPageWithoutLibraryId, true, L"IDS_PAGE_LIBRARY_MISSING"},
    };
    std::vector<std::unique_ptr<CFunctionDlg>> pages;
    for (const Case& c : cases) {
        pages.emplace_back(Shell::CreatePageObject(c.id));
        CFunctionDlgContainer::AddPage(pages.back().get(), &m_container, c.id);
        EXPECT_EQ(c.note, pages.back()->IsNotBuilt()) << c.id;
        EXPECT_EQ(!c.note, dynamic_cast<RegisteredTestPage*>(pages.back().get()) != nullptr) << c.id;
        if (c.noteKey) {
            CString expected = nsVendrel::TranslateCode(c.noteKey);
            if (c.id == kPageWithoutLibraryId) expected.Replace(L"%s", L"Absent.dll");
            EXPECT_FALSE(expected.IsEmpty());
            EXPECT_EQ(std::wstring(expected.GetString()), std::wstring(pages.back()->NotBuiltNote().GetString()))
                << c.id;
        }
        m_container.ShowPage(c.id);
        HWND page = pages.back()->GetSafeHwnd();
        ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        // The note is written across the middle of the page; the page is white everywhere else.
        RECT client;
        ::GetClientRect(page, &client);
        int inked = 0;
        for (int y = client.bottom / 2 - 30; y < client.bottom / 2 + 30; ++y)
            for (int x = 40; x < client.right - 40; x += 2)
                inked += shell_test::ScreenPixel(page, x, y) != RGB(255, 255, 255) ? 1 : 0;
        EXPECT_EQ(c.note, inked > 50) << c.id << ": " << inked << " pixels of text";
        pages.back()->DestroyWindow();
    }
}

TEST(PagePanel, KeepsTheCornersOfTheBitmapInLowPanelsAndStretchesTallOnes)
{
    // A 20 x 20 panel bitmap with four coloured quadrants.
    HDC screen = ::GetDC(nullptr);
    HDC src = ::CreateCompatibleDC(screen);
    HBITMAP panel = ::CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ oldSrc = ::SelectObject(src, panel);
    const COLORREF tl = RGB(255, 0, 0), tr = RGB(0, 255, 0), bl = RGB(0, 0, 255), br = RGB(255, 255, 0);
    auto fill = [&](int x, int y, COLORREF c) {
        RECT r = {x, y, x + 10, y + 10};
        HBRUSH b = ::CreateSolidBrush(c);
        ::FillRect(src, &r, b);
        ::DeleteObject(b);
    };
    fill(0, 0, tl);
    fill(10, 0, tr);
    fill(0, 10, bl);
    fill(10, 10, br);
    ::SelectObject(src, oldSrc);

    HDC dst = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 100, 60);
    HGDIOBJ oldDst = ::SelectObject(dst, canvas);
    struct Case {
        RECT rect;
    } cases[] = {{{5, 5, 85, 15}}, {{5, 5, 36, 50}}, {{0, 0, 99, 11}}};
    for (const Case& c : cases) {
        DrawPagePanel(dst, c.rect, panel);
        EXPECT_EQ(tl, ::GetPixel(dst, c.rect.left, c.rect.top));
        EXPECT_EQ(tr, ::GetPixel(dst, c.rect.right - 1, c.rect.top));
        EXPECT_EQ(bl, ::GetPixel(dst, c.rect.left, c.rect.bottom - 1));
        EXPECT_EQ(br, ::GetPixel(dst, c.rect.right - 1, c.rect.bottom - 1));
    }
    ::SelectObject(dst, oldDst);
    ::DeleteObject(canvas);
    ::DeleteDC(dst);
    ::DeleteObject(panel);
    ::DeleteDC(src);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace
