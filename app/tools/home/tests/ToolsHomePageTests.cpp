// The tools home page: each button asks the main window for its page, by a posted request, and its caption sits
// under it.
#include <gtest/gtest.h>

#include <windows.h>

#include "PageIds.h"
#include "PageTestHost.h"
#include "QTestSupport.h"
#include "YarrowbysHomeDlg.h"

using Page = CYarrowbysHomeDlg;

TEST(ToolsHomePage, EachButtonPostsARequestForItsPage)
{
    wizard_test::PageHost host;
    Page page;
    host.Add(&page, PAGE_ID_TOOLS_HOME);
    const struct {
        int button, page;
    } table[] = {{51000, 150001}, {51001, 150002}, {51002, 150003}, {51003, 150004},
                 {51004, 150005}, {51005, 50006},  {51006, 50007},  {51007, 50008}};
    for (const auto& row : table) {
        host.Main().switches.clear();
        HWND button = ::GetDlgItem(page.GetSafeHwnd(), row.button);
        ASSERT_NE(nullptr, button) << row.button;
        ::SendMessageW(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(host.Main().switches.empty()) << "posted, not sent: " << row.button;
        ASSERT_TRUE(shell_test::PumpUntil([&] { return !host.Main().switches.empty(); })) << row.button;
        EXPECT_EQ((std::vector<WPARAM>{WPARAM(row.page)}), host.Main().switches) << row.button;
    }
}

TEST(ToolsHomePage, SevenButtonsInTheFirstRowTheLastBelowEachWithItsCaption)
{
    wizard_test::PageHost host;
    Page page;
    host.Add(&page, PAGE_ID_TOOLS_HOME);
    for (int n = 0; n < Page::kButtons; ++n) {
        const Page::Entry& e = Page::Entries()[n];
        CRect button, caption;
        page.GetDlgItem(e.buttonId)->GetWindowRect(&button);
        page.GetDlgItem(Page::IDC_FIRST_CAPTION + n)->GetWindowRect(&caption);
        page.ScreenToClient(&button);
        page.ScreenToClient(&caption);
        const CPoint expected = n < 7 ? CPoint(30 + 104 * n, 30) : CPoint(30, 194);
        EXPECT_EQ(expected, button.TopLeft()) << n;
        EXPECT_EQ(CSize(64, 64), button.Size()) << n;
        EXPECT_EQ(CRect(expected.x - 93, expected.y + 74, expected.x + 157, expected.y + 124), caption) << n;
        EXPECT_EQ(std::wstring(e.captionKey),
                  shell_test::WindowText(page.GetDlgItem(Page::IDC_FIRST_CAPTION + n)->GetSafeHwnd()));
    }
}
