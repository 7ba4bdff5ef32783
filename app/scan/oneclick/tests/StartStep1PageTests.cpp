// The one-click step in this process, over the real libraries and the test prefix: the states a user sees while
// a scan runs, is aborted, ends and starts again, and the boot-mode pop-up. Messages the workers send are only
// handled while the test pumps, so what the page shows right after a click is checked before any worker reports.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include <Common.h>

#include "Dictionary.h"
#include "EntryApp.h"
#include "FunctionDlg.h"
#include "ScanCategories.h"
#include "ScoreResultDialog.h"
#include "ScoreStore.h"
#include "Settings.h"
#include "StartStep1Dlg.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"

using namespace OneClick;

namespace {

// The pop-ups of this process that are on screen now (the pop-up is a 300 x 200 window that closes itself).
BOOL CALLBACK CollectPopups(HWND wnd, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    RECT r;
    GetWindowRect(wnd, &r);
    if (pid == GetCurrentProcessId() && r.right - r.left == 300 && r.bottom - r.top == 200)
        reinterpret_cast<std::set<HWND>*>(param)->insert(wnd);
    return TRUE;
}

std::set<HWND> Popups()
{
    std::set<HWND> popups;
    EnumWindows(&CollectPopups, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

class StartStep1Page : public ::testing::Test {
protected:
    void SetUp() override
    {
        SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey);
        m_home.Create(IDD_FUNCTION_PAGE, &m_host);
        m_home.MoveWindow(186, 126, 737, 536);
        m_home.ShowWindow(SW_SHOW);
        m_step = new CStartStep1Dlg;
        CFunctionDlg::AddSubPage(m_step, &m_home, 1);
    }
    void TearDown() override
    {
        m_step->DestroyWindow();
        delete m_step;
        m_home.DestroyWindow();
        CEntryApp::m_bBootMode = FALSE;
    }
    void Click(int id)
    {
        m_step->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(m_step->GetDlgItem(id)->GetSafeHwnd()));
    }
    bool Enabled(int id) { return m_step->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
    std::wstring Text(int id) { return shell_test::WindowText(m_step->GetDlgItem(id)->GetSafeHwnd()); }
    // The result window of this step once it was shown, or null.
    HWND ResultWindow()
    {
        return shell_test::FindProcessWindow(::GetCurrentProcessId(), [](HWND h) {
            return ::IsWindowVisible(h) && ::GetDlgItem(h, CScoreResultDialog::IDC_CLOSE) &&
                   ::GetDlgItem(h, CScoreResultDialog::IDC_LIST_FIRST);
        });
    }
    bool WaitEnded()
    {
        return shell_test::PumpUntil([&] { return m_step->Run().State() == RunState::Ended; }, 120000);
    }

    shell_test::HostWindow m_host;
    CFunctionDlg m_home;
    CStartStep1Dlg* m_step = nullptr;
};

}  // namespace

TEST_F(StartStep1Page, ScanStartsFromNothingAndEndsWithItsStoredResult)
{
    m_step->StartQuickScan();
    EXPECT_EQ(RunState::Scanning, m_step->Run().State());
    // Nothing counted yet: no number and no verdict.
    EXPECT_EQ(L"", Text(CStartStep1Dlg::IDC_SCORE));
    EXPECT_EQ(L"IDS_START_TXT_HEALTH_STATUS", Text(CStartStep1Dlg::IDC_HEALTH));
    EXPECT_EQ(L"IDS_START_BTN_ABORT_TXT", Text(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    EXPECT_EQ(5, m_step->List().GetItemCount());
    for (int row = 0; row < 5; ++row) EXPECT_EQ(0, m_step->List().GetRow(row)->count);

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
    EXPECT_EQ(100, m_step->Run().Progress());
    EXPECT_EQ(L"IDS_SCORE_TXT_QUICK_SCAN_FINISHED", Text(CStartStep1Dlg::IDC_PROGRESS_TEXT));
    EXPECT_EQ(L"IDS_START_REPAIRALL", Text(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_TRUE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_TRUE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    for (int row = 0; row < 5; ++row) EXPECT_EQ(m_step->Counts().n[row], m_step->List().GetRow(row)->count);

    const StoredScore stored = ReadStoredScore();
    ASSERT_TRUE(stored.hasScore);
    EXPECT_EQ(m_step->Counts(), stored.counts);
    EXPECT_EQ(m_step->Score(), stored.score);
    EXPECT_EQ(std::to_wstring(stored.score), Text(CStartStep1Dlg::IDC_SCORE));
    EXPECT_EQ(ScoreStatusKey(stored.score), Text(CStartStep1Dlg::IDC_HEALTH));
}

TEST_F(StartStep1Page, AbortWaitsForEveryWorkerAndRepeatedAbortIsHarmless)
{
    m_step->StartQuickScan();
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    // Nothing can start again until the workers have ended.
    EXPECT_EQ(RunState::Aborting, m_step->Run().State());
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    m_step->StartQuickScan();  // a new scan asked for while aborting is refused
    EXPECT_EQ(RunState::Aborting, m_step->Run().State());

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanAborted, m_step->Run().LastEnd());
    EXPECT_EQ(L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT", Text(CStartStep1Dlg::IDC_PROGRESS_TEXT));
    // Abort has become Repair All: usable after a short guard.
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_TRUE(shell_test::PumpUntil([&] { return Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR); }, 10000));
    EXPECT_TRUE(ReadStoredScore().hasScore);

    // The next scan runs to its end; the last run's verdict and number are gone as it starts.
    ASSERT_NE(L"", Text(CStartStep1Dlg::IDC_SCORE));
    m_step->StartQuickScan();
    EXPECT_EQ(RunState::Scanning, m_step->Run().State());
    EXPECT_EQ(ScanCounts(), m_step->Counts());
    EXPECT_EQ(L"", Text(CStartStep1Dlg::IDC_SCORE));
    EXPECT_EQ(L"IDS_START_TXT_HEALTH_STATUS", Text(CStartStep1Dlg::IDC_HEALTH));
    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
}

TEST_F(StartStep1Page, AbortClickedAsTheScanEndsRepairsNothingAndRepairAllAsksFirst)
{
    // Findings of two kinds, one of them in the registry.
    const std::wstring junk = L"C:\\windows\\temp\\late-abort.tmp";
    HANDLE file = CreateFileW(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    const wchar_t muiCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
    ASSERT_EQ(ERROR_SUCCESS, SBRegSetStringValueW(HKEY_CURRENT_USER, muiCache, L"C:\\late-abort\\gone.exe", L"Gone"));

    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    ASSERT_GE(m_step->Counts()[kJunk], 1);
    ASSERT_GE(m_step->Counts()[kRegistry], 1);
    shell_test::MessageBoxDriver boxes(IDNO);

    // The click meant for Abort arrives just after the button became Repair All: nothing happens, nothing asks.
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR));
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    EXPECT_EQ(RunState::Ended, m_step->Run().State());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(junk.c_str()));

    // After the guard Repair All asks first, naming what it removes and the registry backup; "No" keeps all.
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR); }, 10000));
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    const std::vector<std::wstring> asked = boxes.Texts();
    ASSERT_EQ(1u, asked.size());
    EXPECT_NE(std::wstring::npos, asked[0].find(L"IDS_START_SCROE_SCAN2: " + std::to_wstring(m_step->Counts()[kJunk])))
        << std::string(asked[0].begin(), asked[0].end());
    EXPECT_NE(std::wstring::npos, asked[0].find(L"IDS_START_SCROE_SCAN0: "));
    EXPECT_NE(std::wstring::npos, asked[0].find(CRegistryData::BackupDatabasePath()));
    EXPECT_EQ(RunState::Ended, m_step->Run().State());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(junk.c_str()));
    EXPECT_TRUE(SBRegValueExistW(HKEY_CURRENT_USER, muiCache, L"C:\\late-abort\\gone.exe"));

    DeleteFileW(junk.c_str());
    SBRegDeleteValueW(HKEY_CURRENT_USER, muiCache, L"C:\\late-abort\\gone.exe");
}

// Every text the health line shows, in every language, fits its width in the font the line takes for it.
TEST_F(StartStep1Page, HealthLineShowsEveryStatusWholeInEveryLanguage)
{
    HWND health = m_step->GetDlgItem(CStartStep1Dlg::IDC_HEALTH)->GetSafeHwnd();
    RECT client;
    GetClientRect(health, &client);
    for (const wchar_t* language : {L"en", L"de", L"es", L"fr", L"it", L"jp", L"cn", L"hk", L"ar", L"nl", L"pt"}) {
        nsVendrel::CRBDictionary dictionary(CString(SBGetAppPathW().c_str()) + L"dic\\" + language, 0);
        for (const wchar_t* key : {L"IDS_START_TXT_HEALTH_STATUS", L"IDS_START_HIGHSTATUS", L"IDS_START_LOWSSTATUS"}) {
            const CString text = dictionary.Translate(key, 0, 1);
            ASSERT_NE(CString(key), text) << language;
            SetWindowTextW(health, text);
            HDC dc = GetDC(health);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(health, WM_GETFONT, 0, 0)));
            SIZE size = {};
            GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &size);
            SelectObject(dc, old);
            ReleaseDC(health, dc);
            EXPECT_LE(size.cx, client.right) << language << " " << key;
        }
    }
}

TEST_F(StartStep1Page, BootModeEndsWithOnePopupAndIsSwitchedOff)
{
    const std::set<HWND> before = Popups();
    CEntryApp::m_bBootMode = TRUE;
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    EXPECT_FALSE(CEntryApp::m_bBootMode);
    std::set<HWND> shown = Popups();
    for (HWND old : before) shown.erase(old);
    EXPECT_EQ(1u, shown.size());

    // The first pop-up may close itself while the second scan runs; no new one may appear.
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    for (HWND popup : Popups())
        EXPECT_TRUE(before.count(popup) || shown.count(popup)) << "only the boot-mode scan shows the pop-up";
}

// Whatever the scan counted is listed in the result window, which carries its title, and an open result window
// follows a new scan and a repair without being asked again.
TEST_F(StartStep1Page, ResultWindowListsEveryCountedKindAndFollowsTheRun)
{
    auto counted = [&] {
        int sum = 0;
        for (int part = 0; part < kPartCount; ++part) sum += m_step->Counts()[Part(part)];
        return sum;
    };
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    // A fresh prefix has broken file associations; nothing else need be found.
    ASSERT_GE(m_step->Counts()[kFileAssoc], 1);
    Click(CStartStep1Dlg::IDC_SHOW_RESULT);
    HWND result = ResultWindow();
    ASSERT_NE(nullptr, result);
    HWND all = ::GetDlgItem(result, CScoreResultDialog::IDC_LIST_FIRST);
    EXPECT_EQ(counted(), ListView_GetItemCount(all));
    EXPECT_EQ(std::wstring(nsVendrel::TranslateCode(L"IDS_START_SCAN_RESULT_COLUMN")), shell_test::WindowText(result));
    // The title is drawn in the window's blue title strip: light pixels where the strip has none of its own.
    ::RedrawWindow(result, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = ::GetDC(result);
    int light = 0;
    for (int y = 5; y < 35; ++y)
        for (int x = 20; x < 200; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            light += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200 ? 1 : 0;
        }
    ::ReleaseDC(result, dc);
    EXPECT_GT(light, 20) << "no title in the title strip";

    // A new scan while the window stays open: it empties and fills again by itself.
    m_step->StartQuickScan();
    EXPECT_EQ(0, ListView_GetItemCount(all));
    ASSERT_TRUE(WaitEnded());
    ASSERT_TRUE(::IsWindowVisible(result));
    EXPECT_EQ(counted(), ListView_GetItemCount(all));
    EXPECT_GE(ListView_GetItemCount(all), 1);

    // A repair that cannot remove a junk file held open: the open window lists what is left.
    const std::wstring locked = L"C:\\windows\\temp\\result-window-held.tmp";
    HANDLE file = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    ASSERT_GE(m_step->Counts()[kJunk], 1);
    file = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    {
        shell_test::MessageBoxDriver yes(IDYES);
        ASSERT_TRUE(shell_test::PumpUntil([&] { return Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR); }, 10000));
        Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
        ASSERT_TRUE(shell_test::PumpUntil([&] { return m_step->Run().State() == RunState::Repairing; }, 10000));
        ASSERT_TRUE(WaitEnded());
    }
    EXPECT_GE(counted(), 1);
    EXPECT_EQ(counted(), ListView_GetItemCount(all));
    bool heldListed = false;
    for (int i = 0; i < ListView_GetItemCount(all); ++i)
        heldListed = heldListed || shell_test::ListCellText(all, i) == locked;
    EXPECT_TRUE(heldListed);
    CloseHandle(file);
    DeleteFileW(locked.c_str());
}
