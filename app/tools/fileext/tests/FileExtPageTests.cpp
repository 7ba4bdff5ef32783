// The file-extension lookup page in this process against a local server named by the service setting: the
// request it navigates to, the empty entry, the default extension and showing the page again.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "FileExtRequest.h"
#include "PageIds.h"
#include "PageTestHost.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"
#include "YarrowbyFileExtDlg.h"

using Page = CYarrowbyFileExtDlg;
using namespace wizard_test;

namespace {

class FileExtPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::OleInitialize(nullptr); }
    static void TearDownTestSuite() { ::OleUninitialize(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_server.Start());
        shell_test::HttpReply answer;
        answer.contentType = "text/html";
        answer.body = "<html><body>MP3 audio file</body></html>";
        m_server.Set("/fileexapi.php", answer);
        SetServiceUrl(m_server.BaseUrl());
        m_host.Add(&m_page, PAGE_ID_TOOLS_FILE_EXTENSION);
        m_edit = ::GetDlgItem(m_page.GetSafeHwnd(), Page::IDC_EXTENSION);
    }
    void TearDown() override
    {
        m_host.Container().DestroyWindow();
        SetServiceUrl(L"");
    }
    bool BrowserShown()
    {
        return (::GetWindowLongW(::GetDlgItem(m_page.GetSafeHwnd(), Page::IDC_BROWSER), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    std::string Expected(const char* file)
    {
        const std::wstring os = m_page.SystemText();
        return "/fileexapi.php?os=" + std::string(os.begin(), os.end()) +
               "&verify=qk*Rwmt51907&action=fileext&file=" + file;
    }

    shell_test::LocalHttpServer m_server;
    PageHost m_host;
    Page m_page;
    HWND m_edit = nullptr;
};

}  // namespace

TEST_F(FileExtPage, ALookUpAsksTheServiceForTheTrimmedEncodedExtension)
{
    int kind = 0;
    bool is64 = false;
    GetOSVersion(kind, is64);
    EXPECT_EQ(fileext::SystemText(kind, is64), m_page.SystemText());
#ifdef _WIN64
    if (kind == SB_OS_WIN7) {
        EXPECT_EQ(L"win764", m_page.SystemText());  // Wine's default system
    }
#endif
    EXPECT_FALSE(BrowserShown());
    ::SetWindowTextW(m_edit, L"  mp3  ");
    Click(&m_page, Page::IDC_SEARCH);
    EXPECT_TRUE(BrowserShown());
    ASSERT_TRUE(shell_test::PumpUntil([&] { return m_server.Targets("/fileexapi.php").size() == 1; }, 20000));
    EXPECT_EQ(Expected("mp3"), m_server.Targets("/fileexapi.php")[0]);

    // Enter (the page's OK) looks up too; what is typed cannot add query keys.
    ::SetWindowTextW(m_edit, L"a&b#c");
    ::SendMessageW(m_page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return m_server.Targets("/fileexapi.php").size() == 2; }, 20000));
    EXPECT_EQ(Expected("a%26b%23c"), m_server.Targets("/fileexapi.php")[1]);
}

TEST_F(FileExtPage, AnEmptyEntryOnlyAsksForAnExtension)
{
    shell_test::MessageBoxDriver boxes;
    for (const wchar_t* typed : {L"", L"  \t "}) {
        ::SetWindowTextW(m_edit, typed);
        Click(&m_page, Page::IDC_SEARCH);
    }
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_EQ(L"Please Enter an extension.", boxes.Texts()[0]);
    EXPECT_FALSE(BrowserShown());
    shell_test::PumpFor(300);
    EXPECT_TRUE(m_server.RequestLines().empty());
}

TEST_F(FileExtPage, TheDefaultExtensionGoesOnFocusAndComesBackWithThePage)
{
    EXPECT_EQ(L".doc", shell_test::WindowText(m_edit));
    ::SetFocus(m_edit);
    EXPECT_EQ(L"", shell_test::WindowText(m_edit));
    ::SetWindowTextW(m_edit, L"zip");
    ::SetFocus(::GetDlgItem(m_page.GetSafeHwnd(), Page::IDC_SEARCH));
    ::SetFocus(m_edit);
    EXPECT_EQ(L"zip", shell_test::WindowText(m_edit)) << "other text stays";
    ::SetWindowTextW(m_edit, L".doc");  // typed by the user: emptied all the same
    ::SetFocus(::GetDlgItem(m_page.GetSafeHwnd(), Page::IDC_SEARCH));
    ::SetFocus(m_edit);
    EXPECT_EQ(L"", shell_test::WindowText(m_edit));

    ::SetWindowTextW(m_edit, L"mp3");
    Click(&m_page, Page::IDC_SEARCH);
    ASSERT_TRUE(BrowserShown());
    m_host.Show(PAGE_ID_TOOLS_FILE_EXTENSION);
    EXPECT_FALSE(BrowserShown()) << "showing the page again hides the previous answer";
    EXPECT_EQ(L".doc", shell_test::WindowText(m_edit));
    EXPECT_EQ(::GetDlgItem(m_page.GetSafeHwnd(), Page::IDC_SEARCH), ::GetFocus());
}
