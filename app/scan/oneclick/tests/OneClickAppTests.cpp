// The real Quorvel.exe in a prefix seeded with problems of all five kinds, driven as a user would: the home page
// starts the one-click scan by itself, the buttons are clicked, and the stored result is read back from the
// registry. Screenshots go to <build>/bin/artifacts (Q:\artifacts).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <ctime>
#include <string>
#include <vector>

#include <Common.h>

#include "Language.h"
#include "QAppDriver.h"
#include "HealthScore.h"
#include "ScanTime.h"
#include "ScoreStore.h"
#include "Settings.h"
#include "SeededPrefix.h"
#include "QTestSupport.h"

using namespace oneclick_test;
using namespace OneClick;
using shell_test::ArtifactPath;
using shell_test::FindDescendant;
using shell_test::PumpUntil;
using shell_test::QuorvelProcess;

namespace {

const int kAbortRepair = 62208, kReturn = 62209, kShowResult = 62210, kQuickScan = 62109, kProgressText = 62205,
          kHomeScore = 62106, kFirstResultList = 62307, kFirstResultTab = 62302, kScore = 62202;
const DWORD kScanTimeoutMs = 240000;

void ClearStoredScore() { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey); }
void ForgetLastScanTime() { SBRegDeleteValueW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey, L"LastScanTime"); }
bool RunStored() { return ReadStoredScore().hasTime; }

// A stored result as an earlier scan would have left it, `daysAgo` days before now.
void StoreEarlierScan(int daysAgo)
{
    std::time_t then = std::time(nullptr) - std::time_t(daysAgo) * 86400;
    std::tm local = *std::localtime(&then);
    WriteStoredScore(ScanCounts(), FormatScanTime(local), 100);
}

// Clicks a button of the program the way its window sees a click, posted: the buttons start long work or ask.
void Click(HWND main, int id)
{
    HWND button = FindDescendant(main, id);
    ASSERT_NE(nullptr, button) << id;
    shell_test::PostButtonClick(button);
}

std::wstring TextOf(HWND main, int id) { return shell_test::WindowText(FindDescendant(main, id)); }

// The visible top-level windows of the process other than its main window, of the tray pop-up's size.
struct PopupSearch {
    DWORD pid;
    HWND main;
    int count;
};

BOOL CALLBACK CountPopup(HWND wnd, LPARAM param)
{
    PopupSearch* s = reinterpret_cast<PopupSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == s->pid && wnd != s->main && IsWindowVisible(wnd)) {
        RECT r;
        GetWindowRect(wnd, &r);
        if (r.right - r.left == 300 && r.bottom - r.top == 200) ++s->count;
    }
    return TRUE;
}

int VisiblePopups(DWORD pid, HWND main)
{
    PopupSearch search = {pid, main, 0};
    EnumWindows(&CountPopup, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

// True when `upper` lies in front of `lower` in the windows' stacking order.
bool Above(HWND upper, HWND lower)
{
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

// The index of the result dialog's one visible list; -1 when none or several are visible.
int VisibleList(HWND dialog)
{
    int visible = -1;
    for (int i = 0; i < 5; ++i)
        if (IsWindowVisible(GetDlgItem(dialog, kFirstResultList + i))) {
            if (visible >= 0) return -1;
            visible = i;
        }
    return visible;
}

// A pixel of a top-level window of the program as it is painted on its surface.
COLORREF PixelOf(HWND wnd, int x, int y)
{
    HDC dc = GetWindowDC(wnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP one = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ old = SelectObject(mem, one);
    BitBlt(mem, 0, 0, 1, 1, dc, x, y, SRCCOPY);
    const COLORREF pixel = GetPixel(mem, 0, 0);
    SelectObject(mem, old);
    DeleteObject(one);
    DeleteDC(mem);
    ReleaseDC(wnd, dc);
    return pixel;
}

// The index of the tab drawn selected (its top edge in the accent colour of the selected picture), -1 when none or
// several are.
int SelectedTab(HWND dialog)
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    int selected = -1;
    for (int i = 0; i < 5; ++i) {
        HWND tab = GetDlgItem(dialog, kFirstResultTab + i);
        RECT outer, r;
        GetWindowRect(dialog, &outer);
        GetWindowRect(tab, &r);
        // Read on the dialog's surface: the tab is drawn on it.
        const COLORREF top = PixelOf(dialog, r.left - outer.left + 50, r.top - outer.top + 1);
        if (top == RGB(52, 107, 185)) {
            if (selected >= 0) return -1;
            selected = i;
        }
    }
    return selected;
}

std::string Describe(const StoredScore& s)
{
    char text[200];
    snprintf(text, sizeof(text), "score %d counts reg %d traces %d junk %d links %d assoc %d", s.score,
             s.counts[kRegistry], s.counts[kEvidence], s.counts[kJunk], s.counts[kShortcut], s.counts[kFileAssoc]);
    return text;
}

// The program's result window once it is on the screen (found by its controls: its title is translated).
HWND VisibleResultWindow(DWORD processId)
{
    return shell_test::FindProcessWindow(processId, [](HWND h) {
        return IsWindowVisible(h) && GetDlgItem(h, kFirstResultList) && GetDlgItem(h, kFirstResultTab);
    });
}

}  // namespace

TEST(OneClickApp, ScanFindsSeededProblemsAndRepairLeavesOnlyWhatCannotBeRemoved)
{
    const SeededProblems seeded = SeedProblems();
    const int brokenAssociations = BrokenAssociations();
    ASSERT_GE(brokenAssociations, 1);
    ClearStoredScore();  // first start: the home page starts a scan at once

    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    const HWND main = app.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil(RunStored, kScanTimeoutMs)) << "the scan never ended";
    printf("one-click scan of the seeded prefix: %lu ms\n", GetTickCount() - start);

    const StoredScore found = ReadStoredScore();
    ASSERT_TRUE(found.hasScore);
    EXPECT_GE(found.counts[kRegistry], 1) << Describe(found);
    EXPECT_GE(found.counts[kEvidence], 1) << Describe(found);
    EXPECT_GE(found.counts[kJunk], 2) << Describe(found);
    EXPECT_EQ(1, found.counts[kShortcut]) << Describe(found);
    EXPECT_EQ(brokenAssociations, found.counts[kFileAssoc]) << Describe(found);
    EXPECT_EQ(HealthScore(found.counts), found.score) << Describe(found);
    EXPECT_LT(found.score, 100);
    shell_test::SaveWindowShot(main, ArtifactPath(L"oneclick-scan-result.bmp"));

    // The result dialog lists every item found, per category; broken associations among all items only.
    Click(main, kShowResult);
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = VisibleResultWindow(app.ProcessId())) != nullptr; }, 10000));
    const int listed[] = {found.counts[kRegistry] + found.counts[kEvidence] + found.counts[kJunk] +
                              found.counts[kShortcut] + found.counts[kFileAssoc],
                          found.counts[kRegistry], found.counts[kEvidence], found.counts[kJunk],
                          found.counts[kShortcut]};
    // The dialog may already be visible from the end of the scan: wait until the posted click has filled it.
    PumpUntil([&] { return SendMessageW(GetDlgItem(dialog, kFirstResultList), LVM_GETITEMCOUNT, 0, 0) == listed[0]; },
              10000);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(listed[i], SendMessageW(GetDlgItem(dialog, kFirstResultList + i), LVM_GETITEMCOUNT, 0, 0))
            << "list " << i;
    EXPECT_EQ(L"Scan result", shell_test::WindowText(dialog));
    // The window exists since start-up, behind the main window: the click brought it to the front.
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog; }, 10000));
    EXPECT_TRUE(Above(dialog, main));
    // A click on a tab shows that category's list alone, and the tab looks selected.
    for (int tab = 0; tab < 5; ++tab) {
        shell_test::ClickWindow(FindDescendant(dialog, kFirstResultTab + tab), 20, 15);
        EXPECT_TRUE(PumpUntil([&] { return VisibleList(dialog) == tab; }, 10000)) << "tab " << tab;
        // The tab is drawn by the program's own thread: wait for its paint rather than reading it once.
        EXPECT_TRUE(PumpUntil([&] { return SelectedTab(dialog) == tab; }, 10000))
            << "tab " << tab << " not drawn selected";
        if (tab == 1) shell_test::SaveWindowShot(dialog, ArtifactPath(L"oneclick-result-registry-tab.bmp"));
    }
    ShowWindow(dialog, SW_HIDE);

    // A junk file in use when the repair runs cannot be deleted: it must stay counted.
    HANDLE locked = CreateFileW(seeded.lockedJunkFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    const std::wstring backup = shell_test::ProgramFolder() + L"regbackup\\regbackup.db";
    DeleteFileW(backup.c_str());
    ForgetLastScanTime();
    // Repair All asks first, naming what it removes and the registry backup; the user says yes.
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(FindDescendant(main, kAbortRepair)) != FALSE; }, 10000));
    shell_test::MessageBoxDriver boxes(IDYES, app.ProcessId());
    Click(main, kAbortRepair);
    ASSERT_TRUE(PumpUntil(RunStored, kScanTimeoutMs)) << "the repair never ended";
    CloseHandle(locked);
    const std::vector<std::wstring> asked = boxes.Texts();
    ASSERT_EQ(1u, asked.size());
    EXPECT_NE(std::wstring::npos, asked[0].find(L"Junk files: " + std::to_wstring(found.counts[kJunk])));
    EXPECT_NE(std::wstring::npos, asked[0].find(L"Registry errors: " + std::to_wstring(found.counts[kRegistry])));
    EXPECT_NE(std::wstring::npos, asked[0].find(L"registry backup " + backup));

    EXPECT_FALSE(FileExists(seeded.junkFile));
    EXPECT_TRUE(FileExists(seeded.lockedJunkFile));
    EXPECT_FALSE(FileExists(seeded.brokenLink));
    EXPECT_FALSE(FileExists(seeded.cacheFile));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kMuiCacheKey, seeded.muiValue.c_str()));
    // The registry entry was backed up before it went.
    EXPECT_TRUE(FileExists(backup));
    EXPECT_TRUE(FileContainsText(backup, L"oneclick-missing"));

    const StoredScore repaired = ReadStoredScore();
    EXPECT_EQ(0, repaired.counts[kRegistry]) << Describe(repaired);
    EXPECT_EQ(0, repaired.counts[kEvidence]) << Describe(repaired);
    EXPECT_EQ(1, repaired.counts[kJunk]) << Describe(repaired);
    EXPECT_EQ(0, repaired.counts[kShortcut]) << Describe(repaired);
    EXPECT_EQ(BrokenAssociations(), repaired.counts[kFileAssoc]) << Describe(repaired);
    EXPECT_EQ(HealthScore(repaired.counts), repaired.score);
    EXPECT_EQ(L"Some problems could not be repaired.", TextOf(main, kProgressText));

    // Back on the home page: the new score and counts.
    Click(main, kReturn);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(main, kHomeScore) == std::to_wstring(repaired.score); }, 10000))
        << "home page score: " << std::string(TextOf(main, kHomeScore).begin(), TextOf(main, kHomeScore).end());
    shell_test::SaveWindowShot(main, ArtifactPath(L"oneclick-home.bmp"));
    app.Exit();
}

TEST(OneClickApp, AbortMidScanThenANewScanFindsEverything)
{
    const int kMany = 5000;
    SeedManyRegistryProblems(kMany);
    ClearStoredScore();

    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    const HWND main = app.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(main, kProgressText) == L"Scanning, please wait..."; }, 60000));
    Click(main, kAbortRepair);
    Click(main, kAbortRepair);  // a second click while aborting changes nothing
    ASSERT_TRUE(PumpUntil(RunStored, kScanTimeoutMs)) << "the abort never ended the run";
    EXPECT_EQ(L"The scan was aborted.", TextOf(main, kProgressText));
    const StoredScore aborted = ReadStoredScore();
    EXPECT_LT(aborted.counts[kRegistry], kMany) << Describe(aborted);
    EXPECT_EQ(HealthScore(aborted.counts), aborted.score);

    // A recent time, so that the home page does not start a scan by itself: the Quick Scan button does.
    StoreEarlierScan(1);
    const std::wstring before = ReadStoredScore().timeText;
    Click(main, kReturn);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(FindDescendant(main, kQuickScan)) != FALSE; }, 10000))
        << "the home page never came back";
    Click(main, kQuickScan);
    ASSERT_TRUE(PumpUntil([&] { return ReadStoredScore().timeText != before; }, kScanTimeoutMs))
        << "the second scan never ended";
    EXPECT_EQ(L"The scan is complete.", TextOf(main, kProgressText));
    const StoredScore full = ReadStoredScore();
    EXPECT_GE(full.counts[kRegistry], kMany) << Describe(full);
    app.Exit();
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kMuiCacheKey);  // the other tests need no slow registry part
}

TEST(OneClickApp, BootModeStartsHiddenScansAndShowsThePopupOnce)
{
    StoreEarlierScan(1);  // not due: only boot mode starts this scan
    const std::wstring before = ReadStoredScore().timeText;

    QuorvelProcess app;
    ASSERT_TRUE(app.Start(L"--boot"));
    const HWND main = app.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    bool everVisible = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            everVisible = everVisible || IsWindowVisible(main);
            return ReadStoredScore().timeText != before;
        },
        kScanTimeoutMs));
    EXPECT_FALSE(everVisible) << "boot mode showed the main window";
    EXPECT_TRUE(PumpUntil([&] { return VisiblePopups(app.ProcessId(), main) == 1; }, 5000));
    app.Exit();
}

TEST(OneClickApp, HomePageStartsAScanWhenTheLastOneIsSevenDaysOld)
{
    struct Case {
        int daysAgo;
        bool scans;
    } cases[] = {{7, true}, {1, false}};
    for (const Case& c : cases) {
        StoreEarlierScan(c.daysAgo);
        const std::wstring before = ReadStoredScore().timeText;
        QuorvelProcess app;
        ASSERT_TRUE(app.Start());
        ASSERT_NE(nullptr, app.WaitForMainWindow());
        ASSERT_GE(app.WaitUntilVisible(), 0);
        const bool scanned =
            PumpUntil([&] { return ReadStoredScore().timeText != before; }, c.scans ? kScanTimeoutMs : 5000);
        EXPECT_EQ(c.scans, scanned) << c.daysAgo << " days ago";
        app.Exit();
    }
}

// The scan step at the end of a first scan, its result window and the home page afterwards, in every language
// (test artefacts: oneclick-result-<language>.bmp, oneclick-result-window-<language>.bmp, home-<language>.bmp).
// One test a language, so that CTest's shards of this program take the screenshots side by side.
class OneClickScreenshots : public ::testing::TestWithParam<int> {};

// "de" for the row of "de\\" in the language table.
std::wstring LanguageName(int row)
{
    std::wstring folder = Shell::kLanguageFolders[row];
    return folder.substr(0, folder.size() - 1);
}

TEST_P(OneClickScreenshots, OfTheResultAndTheHomePage)
{
    const std::wstring language = LanguageName(GetParam()), setting = std::to_wstring(GetParam() + 1);
    SeedProblems();  // something of each kind to show, whichever tests ran before in this prefix
    shell_test::SetLanguageSetting(setting.c_str());
    ClearStoredScore();  // the home page starts a scan at once

    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    const HWND main = app.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(PumpUntil(RunStored, kScanTimeoutMs)) << "the scan never ended";
    const StoredScore stored = ReadStoredScore();
    ASSERT_TRUE(PumpUntil([&] { return TextOf(main, kScore) == std::to_wstring(stored.score); }, 10000));
    EXPECT_TRUE(shell_test::SaveWindowShot(main, ArtifactPath((L"oneclick-result-" + language + L".bmp").c_str())));

    Click(main, kShowResult);
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = VisibleResultWindow(app.ProcessId())) != nullptr; }, 10000));
    EXPECT_TRUE(
        shell_test::SaveWindowShot(dialog, ArtifactPath((L"oneclick-result-window-" + language + L".bmp").c_str())));
    ShowWindow(dialog, SW_HIDE);

    Click(main, kReturn);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(main, kHomeScore) == std::to_wstring(stored.score); }, 10000));
    EXPECT_TRUE(shell_test::SaveWindowShot(main, ArtifactPath((L"home-" + language + L".bmp").c_str())));
    app.Exit();
    shell_test::SetLanguageSetting(nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, OneClickScreenshots, ::testing::Range(0, Shell::kLanguageCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             const std::wstring name = LanguageName(info.param);
                             return std::string(name.begin(), name.end());
                         });
