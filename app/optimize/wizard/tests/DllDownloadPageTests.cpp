// The DLL search and download page against a local web service: the request it sends, the rows of the answer,
// the refusals of everything that is not a good DLL, and a good DLL that lands in the system folder and is
// registered.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "Dictionary.h"
#include "PageIds.h"
#include "PageTestHost.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"
#include "controls/ProgressCtrlEx.h"
#include "optimize/wizard/pages/MoravinDllDownloadDlg.h"

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
        ASSERT_TRUE(PumpUntil([&] { return !m_page->JobRunning() && m_page->GetDlgItem(id)->IsWindowEnabled(); },
                              30000));
        shell_test::PumpFor(100);
    }
    int RowOf(const std::wstring& name)
    {
        for (int row = 0; row < RowCount(List()); ++row)
            if (ListCellText(List(), row) == name) return row;
        return -1;
    }
    std::wstring Outcome(const wchar_t* key) { return TranslateCode(key).GetString(); }

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
    Answer(Base() + "files/u1.dll\r\n" + Base() + "files/u2.dll\r\n" + Base() + "dir/\r\n\r\n");
    TypeFileName(L"my lib&x.dll");
    Run(Page::IDC_SEARCH);

    const std::vector<std::string> requests = m_server.Targets("/dllapi.php");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("win764", Utf8(m_page->OsText()));  // a new prefix is 64-bit Windows 7
    EXPECT_EQ("/dllapi.php?os=win764&verify=qk*Rwmt51907&action=searchdll&file=my%20lib%26x.dll", requests[0]);

    ASSERT_EQ(2, RowCount(List()));
    EXPECT_EQ(L"u2.dll", ListCellText(List(), 0));
    EXPECT_EQ(m_server.BaseUrl() + L"files/u2.dll", ListCellText(List(), 0, 1));
    EXPECT_EQ(L"u1.dll", ListCellText(List(), 1));

    // The box as a click leaves it, then the click's notice.
    ::SendMessageW(m_page->GetDlgItem(Page::IDC_SELECT_ALL)->GetSafeHwnd(), BM_SETCHECK, BST_CHECKED, 0);
    Click(m_page, Page::IDC_SELECT_ALL);
    EXPECT_TRUE(RowChecked(List(), 0) && RowChecked(List(), 1));
    ::SendMessageW(m_page->GetDlgItem(Page::IDC_SELECT_ALL)->GetSafeHwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(m_page, Page::IDC_SELECT_ALL);
    EXPECT_FALSE(RowChecked(List(), 0) || RowChecked(List(), 1));
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
    Run(Page::IDC_SEARCH);
    ASSERT_EQ(7, RowCount(List()));
    for (int row = 0; row < 7; ++row) CheckRow(List(), row, true);

    shell_test::MessageBoxDriver boxes;
    Run(Page::IDC_DOWNLOAD);
    ASSERT_EQ(1u, boxes.Texts().size());
    const std::wstring summary = boxes.Texts()[0];
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
    for (const auto& e : expected) {
        CString line;
        line.Format(TranslateCode(e.key), 404);
        EXPECT_NE(std::wstring::npos, summary.find(std::wstring(e.name) + L": " + line.GetString())) << e.name << "\n"
                                                                                                    << Utf8(summary);
    }
    EXPECT_NE(std::wstring::npos, summary.find(L"404"));
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
    auto* progress = static_cast<CProgressCtrlEx*>(m_page->GetDlgItem(Page::IDC_PROGRESS));
    int low = 0, high = 0;
    progress->GetRange(low, high);
    EXPECT_EQ(700, high);
    EXPECT_EQ(200, progress->GetPos());

    // Register: each checked row's own file, once, by the system folder's regsvr32 (first a stand-in that records
    // how it was started, then Wine's own, which really registers).
    for (int row = 0; row < 7; ++row) CheckRow(List(), row, false);
    CheckRow(List(), RowOf(L"qvgood1.dll"), true);
    CheckRow(List(), RowOf(L"qvgood2.dll"), true);
    CheckRow(List(), RowOf(L"qvpage.dll"), true);
    ASSERT_TRUE(UseRecorderAsRegsvr32());
    Run(Page::IDC_REGISTER);
    UseSystemRegsvr32();
    const auto runs = RecordedRuns(SystemFolder());
    ASSERT_EQ(2u, runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(0, _wcsicmp((SystemFolder() + L"\\regsvr32.exe").c_str(), runs[i].first.c_str()));
        const std::wstring file = SystemFolder() + (i == 0 ? L"\\qvgood2.dll" : L"\\qvgood1.dll");
        EXPECT_NE(std::wstring::npos, runs[i].second.find(L" /s \"" + file + L"\"")) << Utf8(runs[i].second);
    }
    EXPECT_EQ(0u, MarkerRegistrations());
    Run(Page::IDC_REGISTER);
    ASSERT_EQ(3u, boxes.Texts().size());
    const std::wstring registered = boxes.Texts()[2];
    EXPECT_NE(std::wstring::npos,
              registered.find(L"qvgood1.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_REGISTERED")));
    EXPECT_NE(std::wstring::npos,
              registered.find(L"qvgood2.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_REGISTERED")));
    EXPECT_NE(std::wstring::npos,
              registered.find(L"qvpage.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_NOT_INSTALLED")));
    EXPECT_EQ(2u, MarkerRegistrations());

    // The same DLL offered again: the installed copy is never replaced.
    for (int row = 0; row < 7; ++row) CheckRow(List(), row, row == RowOf(L"qvgood1.dll"));
    Serve("/a/qvgood1.dll", marker + "changed");
    Run(Page::IDC_DOWNLOAD);
    ASSERT_EQ(4u, boxes.Texts().size());
    EXPECT_NE(std::wstring::npos,
              boxes.Texts()[3].find(L"qvgood1.dll: " + Outcome(L"IDS_SYS_FIX_DLL_DOWNLOAD_RESULT_EXISTS")));
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
