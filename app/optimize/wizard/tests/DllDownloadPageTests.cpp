// The DLL search and download page against a local web service: the request it sends, the rows of the answer,
// the refusals of everything that is not a good DLL, and a good DLL that lands in the system folder and is
// registered.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "Dictionary.h"
#include "PageIds.h"
#include "pages/DllInstaller.h"
#include "pages/DllSearch.h"
#include "pages/MoravinDllDownloadDlg.h"
#include "PageTestHost.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"
#include "controls/ProgressCtrlEx.h"

#include <QGuards.h>

using namespace wizard_test;
using nsVendrel::TranslateCode;
using shell_test::ListCellText;
using shell_test::PumpUntil;

namespace {

using Page = CMoravinDllDownloadDlg;

// The files our downloads would leave in the temp folder.
int TempLeftovers()
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> names;
    SBGetVectorFilesW(temp, names);
    int n = 0;
    for (const std::wstring& name : names) n += _wcsnicmp(name.c_str(), L"qvd", 3) == 0;
    return n;
}

class DllPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        ASSERT_TRUE(m_server.Start());
        SetServiceUrl(m_server.BaseUrl());
        m_page = new Page;
        m_host.Add(m_page, PAGE_ID_REPAIR_DLL_DOWNLOAD);
    }
    void TearDown() override
    {
        m_host.Container().DestroyWindow();
        delete m_page;
        SetServiceUrl(L"");
    }

    HWND List() { return m_page->GetDlgItem(Page::IDC_RESULTS)->GetSafeHwnd(); }
    std::string Base() { return Utf8(m_server.BaseUrl()); }
    void Answer(const std::string& text, int status = 200)
    {
        shell_test::HttpReply reply;
        reply.status = status;
        reply.contentType = "text/plain";
        reply.body = text;
        m_server.Set("/dllapi.php", reply);
    }
    void Serve(const std::string& path, const std::string& body, bool sendLength = true,
               const char* type = "application/octet-stream")
    {
        shell_test::HttpReply reply;
        reply.body = body;
        reply.sendLength = sendLength;
        reply.contentType = type;
        m_server.Set(path, reply);
    }
    void TypeFileName(const wchar_t* text) { m_page->GetDlgItem(Page::IDC_FILENAME)->SetWindowText(text); }
    // Clicks a command and waits until its job has ended.
    void Run(int id)
    {
        Click(m_page, id);
        ASSERT_TRUE(
            PumpUntil([&] { return !m_page->JobRunning() && m_page->GetDlgItem(id)->IsWindowEnabled(); }, 30000));
        shell_test::PumpFor(100);
    }
    int RowOf(const std::wstring& name)
    {
        for (int row = 0; row < RowCount(List()); ++row)
            if (ListCellText(List(), row) == name) return row;
        return -1;
    }
    std::wstring Outcome(const wchar_t* key) { return TranslateCode(key).GetString(); }
    // Searches for one name and ticks every row the page then offers.
    void SearchAndTick(const std::wstring& name)
    {
        TypeFileName(name.c_str());
        Run(Page::IDC_SEARCH);
        ASSERT_EQ(1, RowCount(List()));
        CheckRow(List(), 0, true);
    }

    shell_test::LocalHttpServer m_server;
    PageHost m_host;
    Page* m_page = nullptr;
};

}  // namespace

TEST_F(DllPage, TheFileNameStartsAsTheDefaultWhichFocusClears)
{
    CWnd* edit = m_page->GetDlgItem(Page::IDC_FILENAME);
    EXPECT_EQ(L"msvcr90.dll", ItemText(m_page, Page::IDC_FILENAME));
    edit->SetFocus();
    EXPECT_EQ(L"", ItemText(m_page, Page::IDC_FILENAME));
    TypeFileName(L"abc.dll");
    m_page->GetDlgItem(Page::IDC_SEARCH)->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(L"abc.dll", ItemText(m_page, Page::IDC_FILENAME));
    m_host.Show(PAGE_ID_REPAIR_DLL_DOWNLOAD);
    EXPECT_EQ(L"msvcr90.dll", ItemText(m_page, Page::IDC_FILENAME));
}

TEST_F(DllPage, SearchSendsTheEncodedRequestAndListsTheAnswerLastFirst)
{
    // The service also offers names the user did not ask for: only the asked one is listed, in any letter case.
    Answer(Base() + "files/u1.dll\r\n" + Base() + "files/u2.dll\r\n" + Base() + "other/U1.DLL\r\n" + Base() +
           "dir/\r\n\r\n");
    TypeFileName(L"u1.dll");
    Run(Page::IDC_SEARCH);

    const std::vector<std::string> requests = m_server.Targets("/dllapi.php");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("win764", Utf8(m_page->OsText()));  // a new prefix is 64-bit Windows 7
    EXPECT_EQ("/dllapi.php?os=win764&verify=qk*Rwmt51907&action=searchdll&file=u1.dll", requests[0]);

    ASSERT_EQ(2, RowCount(List()));
    EXPECT_EQ(L"U1.DLL", ListCellText(List(), 0));
    EXPECT_EQ(m_server.BaseUrl() + L"other/U1.DLL", ListCellText(List(), 0, 1));
    EXPECT_EQ(L"u1.dll", ListCellText(List(), 1));

    // The box as a click leaves it, then the click's notice.
    ::SendMessageW(m_page->GetDlgItem(Page::IDC_SELECT_ALL)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    Click(m_page, Page::IDC_SELECT_ALL);
    EXPECT_TRUE(RowChecked(List(), 0) && RowChecked(List(), 1));
    ::SendMessageW(m_page->GetDlgItem(Page::IDC_SELECT_ALL)->GetSafeHwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(m_page, Page::IDC_SELECT_ALL);
    EXPECT_FALSE(RowChecked(List(), 0) || RowChecked(List(), 1));

    // An answer that names only other files offers nothing.
    shell_test::MessageBoxDriver boxes;
    TypeFileName(L"u3.dll");
    Run(Page::IDC_SEARCH);
    EXPECT_EQ(0, RowCount(List()));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOT_FOUND"), boxes.Texts()[0]);
}

// A server that does not answer holds no job: stopping ends the search at once and the commands come back. An
// answer far larger than a list, or a file larger than any DLL, is refused before it is read whole.
TEST_F(DllPage, StopEndsASlowTransferAndOversizedAnswersAreRefused)
{
    qcore::UniqueHandle gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    shell_test::HttpReply slow;
    slow.contentType = "text/plain";
    slow.body = Base() + "a/msvcr90.dll\n";
    slow.gate = gate.Get();
    m_server.Set("/dllapi.php", slow);
    Click(m_page, Page::IDC_SEARCH);
    ASSERT_TRUE(PumpUntil([&] { return m_server.Targets("/dllapi.php").size() == 1; }));
    EXPECT_TRUE(m_page->JobRunning());
    const DWORD stopped = ::GetTickCount();
    m_page->StopJob();
    ASSERT_TRUE(PumpUntil(
        [&] { return !m_page->JobRunning() && m_page->GetDlgItem(Page::IDC_SEARCH)->IsWindowEnabled(); }, 5000));
    EXPECT_LT(::GetTickCount() - stopped, 1500u);
    EXPECT_EQ(0, RowCount(List()));
    ::SetEvent(gate.Get());

    shell_test::MessageBoxDriver boxes;
    std::string big;
    while (big.size() <= DllSearch::kMaxAnswerBytes) big += Base() + "a/msvcr90.dll\r\n";
    Answer(big);
    Run(Page::IDC_SEARCH);
    EXPECT_EQ(0, RowCount(List()));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_ANSWER_TOO_LARGE"), boxes.Texts()[0]);

    Serve("/a/qvhuge.dll", std::string(static_cast<size_t>(DllInstaller::kMaxDllBytes) + 1, 'M'));
    Answer(Base() + "a/qvhuge.dll\n");
    TypeFileName(L"qvhuge.dll");
    Run(Page::IDC_SEARCH);
    ASSERT_EQ(1, RowCount(List()));
    CheckRow(List(), 0, true);
    Run(Page::IDC_DOWNLOAD);
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_NE(std::wstring::npos,
              boxes.Texts()[1].find(L"qvhuge.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_TOO_LARGE")));
    EXPECT_FALSE(FileExists(SystemFolder() + L"\\qvhuge.dll"));
    EXPECT_EQ(0, TempLeftovers());
}

TEST_F(DllPage, AnAnswerWithoutRowsOrNoServiceIsReported)
{
    shell_test::MessageBoxDriver boxes;
    const std::wstring network = Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NETWORK_ERROR");

    Answer("<html><title>Not here</title></html>", 404);
    Run(Page::IDC_SEARCH);
    Answer("<html><body>Nothing for this name</body></html>\n");
    Run(Page::IDC_SEARCH);
    Answer("   \r\n");
    Run(Page::IDC_SEARCH);
    SetServiceUrl(L"http://127.0.0.1:1/");
    Run(Page::IDC_SEARCH);

    const std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(4u, texts.size());
    EXPECT_EQ(network, texts[0]);
    EXPECT_EQ(L"<html><body>Nothing for this name</body></html>\n", texts[1]);
    EXPECT_EQ(Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOT_FOUND"), texts[2]);
    EXPECT_EQ(network, texts[3]);
    EXPECT_EQ(0, RowCount(List()));
}

TEST_F(DllPage, OnlyAGoodDllLandsAndEveryRefusalSaysWhy)
{
    UseSystemRegsvr32();
    ResetMarkerRegistrations();
    const std::string marker = ReadFileBytes(shell_test::ProgramFolder() + L"WizardMarker.dll");
    const std::string kernel32Before = ReadFileBytes(SystemFolder() + L"\\kernel32.dll");
    ASSERT_FALSE(marker.empty());
    Serve("/a/qvgood1.dll", marker);
    Serve("/b/qvgood2.dll", marker, false);  // no length: the bar moves when the file is complete
    Serve("/c/qvpage.dll", "<html><body>Download page</body></html>", true, "text/html");
    Serve("/d/qvtext.dll", "MZ but no more than that");
    Serve("/e/kernel32.dll", marker);
    std::string answer;
    for (const char* path : {"a/qvgood1.dll", "b/qvgood2.dll", "c/qvpage.dll", "d/qvtext.dll", "f/qvmissing.dll",
                             "g/..\\..\\qvevil.dll", "e/kernel32.dll"})
        answer += Base() + path + "\r\n";
    Answer(answer);

    // Each name is asked for on its own, as a user would: the search offers just that row.
    shell_test::MessageBoxDriver boxes;
    const struct {
        const wchar_t* name;
        const wchar_t* key;
    } expected[] = {
        {L"qvgood1.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_INSTALLED"},
        {L"qvgood2.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_INSTALLED"},
        {L"qvpage.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_DLL"},
        {L"qvtext.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_DLL"},
        {L"qvmissing.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_HTTP_STATUS"},
        {L"..\\..\\qvevil.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_BAD_NAME"},
        {L"kernel32.dll", L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_EXISTS"},
    };
    auto* progress = static_cast<CProgressCtrlEx*>(m_page->GetDlgItem(Page::IDC_PROGRESS));
    for (const auto& e : expected) {
        SCOPED_TRACE(Utf8(e.name));
        SearchAndTick(e.name);
        const size_t before = boxes.Texts().size();
        Run(Page::IDC_DOWNLOAD);
        ASSERT_EQ(before + 1, boxes.Texts().size());
        CString line;
        line.Format(TranslateCode(e.key), 404);
        EXPECT_EQ(std::wstring(e.name) + L": " + line.GetString(), boxes.Texts().back());
        // The bar moves on only for a file that arrived, also when the server announced no length.
        const bool arrived = wcscmp(e.key, L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_INSTALLED") == 0;
        EXPECT_EQ(arrived ? 100 : 0, progress->GetPos());
    }
    EXPECT_EQ(marker, ReadFileBytes(SystemFolder() + L"\\qvgood1.dll"));
    EXPECT_EQ(marker, ReadFileBytes(SystemFolder() + L"\\qvgood2.dll"));
    for (const wchar_t* absent : {L"\\qvpage.dll", L"\\qvtext.dll", L"\\qvmissing.dll"})
        EXPECT_FALSE(FileExists(SystemFolder() + absent)) << absent;
    EXPECT_FALSE(FileExists(L"C:\\qvevil.dll"));
    EXPECT_FALSE(FileExists(L"C:\\windows\\qvevil.dll"));
    EXPECT_EQ(kernel32Before, ReadFileBytes(SystemFolder() + L"\\kernel32.dll"));
    // Nothing was fetched for the refused name; nothing stays behind in the temp folder.
    EXPECT_EQ(0u, m_server.Targets("/g/..\\..\\qvevil.dll").size());
    EXPECT_EQ(0, TempLeftovers());

    // Register: the checked row's own file, once, by the system folder's regsvr32 (first a stand-in that records
    // how it was started, then Wine's own, which really registers).
    SearchAndTick(L"qvgood1.dll");
    ASSERT_TRUE(UseRecorderAsRegsvr32());
    Run(Page::IDC_REGISTER);
    UseSystemRegsvr32();
    const auto runs = RecordedRuns(SystemFolder());
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(0, _wcsicmp((SystemFolder() + L"\\regsvr32.exe").c_str(), runs[0].first.c_str()));
    EXPECT_NE(std::wstring::npos, runs[0].second.find(L" /s \"" + SystemFolder() + L"\\qvgood1.dll\""))
        << Utf8(runs[0].second);
    EXPECT_EQ(0u, MarkerRegistrations());
    for (const wchar_t* name : {L"qvgood1.dll", L"qvgood2.dll"}) {
        SearchAndTick(name);
        Run(Page::IDC_REGISTER);
        EXPECT_EQ(std::wstring(name) + L": " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_REGISTERED"),
                  boxes.Texts().back());
    }
    SearchAndTick(L"qvpage.dll");
    Run(Page::IDC_REGISTER);
    EXPECT_EQ(L"qvpage.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_INSTALLED"), boxes.Texts().back());
    EXPECT_EQ(2u, MarkerRegistrations());

    // The same DLL offered again: the installed copy is never replaced.
    Serve("/a/qvgood1.dll", marker + "changed");
    SearchAndTick(L"qvgood1.dll");
    Run(Page::IDC_DOWNLOAD);
    EXPECT_EQ(L"qvgood1.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_EXISTS"), boxes.Texts().back());
    EXPECT_EQ(marker, ReadFileBytes(SystemFolder() + L"\\qvgood1.dll"));
}

TEST_F(DllPage, DownloadOrRegisterWithNothingTickedAsksForATick)
{
    shell_test::MessageBoxDriver boxes;
    Click(m_page, Page::IDC_DOWNLOAD);
    Click(m_page, Page::IDC_REGISTER);
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_EQ(Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_TXT_NOTHING_CHECKED"), boxes.Texts()[0]);
    EXPECT_FALSE(m_page->JobRunning());
}
