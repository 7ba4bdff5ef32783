// The options window in this process, created as the main window creates it: its shape, tabs and close button,
// the General tab's start with Windows, the Schedule tab with the schedule dialog driven from a thread as a user
// would, and the language switch translating windows that are open.
#include <gtest/gtest.h>

#include <Common.h>

#include <set>

#include "Dictionary.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "Settings.h"
#include "TaskFiles.h"
#include "options/LanguageSwitch.h"
#include "options/OptionDlg.h"
#include "options/OptionIds.h"
#include "options/OptionTab1Dlg.h"
#include "options/ScheduleRules.h"
#include "options/ScheduledTask.h"
#include "resource.h"

using namespace shell_test;
using nsVendrel::TranslateCode;

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void LoadLanguage(const wchar_t* folder)
{
    ASSERT_EQ(0, nsVendrel::LoadDictionarys((ProgramFolder() + L"dic\\" + folder).c_str()));
}

class Owner : public CWnd {
public:
    Owner() { CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr); }
    ~Owner() override { DestroyWindow(); }
};

// The options window made the way the main window makes it.
struct OptionsWindow {
    Owner owner;
    COptionDlg dialog;
    OptionsWindow()
    {
        dialog.Create(IDD_ENTRY_DIALOG, &owner);
        dialog.ShowWindow(SW_HIDE);
        dialog.SetWindowText(L"");
        dialog.OnInitPage();
        dialog.ShowWindow(SW_HIDE);
    }
    ~OptionsWindow() { dialog.DestroyWindow(); }
    HWND Item(int id) { return FindDescendant(dialog.GetSafeHwnd(), id); }
    void Command(HWND control)
    {
        ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED),
                       LPARAM(control));
    }
    COptionTab1Dlg* Schedule() { return static_cast<COptionTab1Dlg*>(dialog.GetSubPage(OPTION_PAGE_SCHEDULE)); }
};

bool Visible(HWND wnd) { return wnd && (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE); }

// The control's rectangle in its parent's client area.
RECT PlaceOf(HWND control)
{
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadLanguage(L"en\\");
        SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe");
        ::DeleteFileW((ProgramFolder() + L"laucher.bat").c_str());
    }
    void TearDown() override { SetUp(); }
};

TEST_F(OptionsTest, IsAShapedWindowThatOpensOnGeneralAndOnlyHides)
{
    OptionsWindow w;
    HWND wnd = w.dialog.GetSafeHwnd();
    RECT r;
    ::GetWindowRect(wnd, &r);
    EXPECT_EQ(540, r.right - r.left);
    EXPECT_EQ(380, r.bottom - r.top);
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(wnd, shape));
    EXPECT_FALSE(::PtInRegion(shape, 0, 0));  // the magenta corner is cut away
    EXPECT_FALSE(::PtInRegion(shape, 539, 379));
    EXPECT_TRUE(::PtInRegion(shape, 270, 190));
    EXPECT_TRUE(::PtInRegion(shape, 9, 100));
    ::DeleteObject(shape);
    EXPECT_EQ(L"", WindowText(wnd));
    EXPECT_TRUE(RawKeys(wnd).empty());
    EXPECT_EQ(L"General", WindowText(w.Item(IDC_OPTION_TAB_GENERAL)));
    // The buttons are sized for their captions as shown: Apply keeps its place, Change stays beside the list.
    RECT apply = PlaceOf(w.Item(IDC_OPTION_APPLY)), change = PlaceOf(w.Item(IDC_OPTION_LANGUAGE_CHANGE)),
         languages = PlaceOf(w.Item(IDC_OPTION_LANGUAGE_LIST));
    EXPECT_EQ(450, apply.left);
    EXPECT_EQ(510, apply.right);
    EXPECT_EQ(420, change.right);
    EXPECT_GT(change.left, languages.right);

    // Dragged by the top strip only.
    POINT strip = {200, 20}, body = {200, 200};
    ::ClientToScreen(wnd, &strip);
    ::ClientToScreen(wnd, &body);
    EXPECT_EQ(HTCAPTION, ::SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(strip.x, strip.y)));
    EXPECT_NE(HTCAPTION, ::SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(body.x, body.y)));

    w.dialog.OnShowPage();
    EXPECT_TRUE(::IsWindowVisible(wnd));
    EXPECT_TRUE(Visible(w.Item(OPTION_PAGE_GENERAL)));
    EXPECT_FALSE(Visible(w.Item(OPTION_PAGE_SCHEDULE)));
    w.Command(w.Item(IDC_OPTION_TAB_SCHEDULE));
    EXPECT_FALSE(Visible(w.Item(OPTION_PAGE_GENERAL)));
    EXPECT_TRUE(Visible(w.Item(OPTION_PAGE_SCHEDULE)));

    w.Command(w.Item(IDC_OPTION_CLOSE));
    EXPECT_FALSE(::IsWindowVisible(wnd));
    EXPECT_TRUE(::IsWindow(wnd));
    w.dialog.OnShowPage();  // opens on General every time
    EXPECT_TRUE(Visible(w.Item(OPTION_PAGE_GENERAL)));
    EXPECT_FALSE(Visible(w.Item(OPTION_PAGE_SCHEDULE)));
    ::SendMessageW(wnd, WM_CLOSE, 0, 0);  // Alt+F4 and Escape hide it as well (the dialog posts the cancel)
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(wnd); }));
    EXPECT_TRUE(::IsWindow(wnd));
}

TEST_F(OptionsTest, StartWithWindowsIsReadWhenShownAndAppliedByApply)
{
    OptionsWindow w;
    HWND check = w.Item(IDC_OPTION_RUN_CHECK);
    SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", L"C:\\elsewhere\\laucher.bat");
    w.dialog.OnShowPage();
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(check, BM_GETCHECK, 0, 0));
    SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe");
    w.dialog.OnShowPage();
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(check, BM_GETCHECK, 0, 0));

    // Ticking alone changes nothing; Apply writes the Run value and the launcher beside the program.
    ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_FALSE(SBRegValueExistW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"));
    w.Command(w.Item(IDC_OPTION_APPLY));
    std::wstring value;
    SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", value);
    EXPECT_EQ(L"\"" + ProgramFolder() + L"laucher.bat\"", value);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((ProgramFolder() + L"laucher.bat").c_str()));

    ::SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    w.Command(w.Item(IDC_OPTION_APPLY));
    EXPECT_FALSE(SBRegValueExistW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"));
    // Off takes away the Run value only; the launcher stays, and nothing starts it any more.
    EXPECT_TRUE(::DeleteFileW((ProgramFolder() + L"laucher.bat").c_str()));

    // A launcher that cannot be written: the user is told, and the box shows that it is off.
    ASSERT_TRUE(::CreateDirectoryW((ProgramFolder() + L"laucher.bat").c_str(), nullptr));
    {
        MessageBoxDriver boxes;
        ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
        w.Command(w.Item(IDC_OPTION_APPLY));
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ(std::wstring(TranslateCode(L"IDS_OPTION_TAB1_RUN_FAILED")), boxes.Texts()[0]);
    }
    ::RemoveDirectoryW((ProgramFolder() + L"laucher.bat").c_str());
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(check, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(SBRegValueExistW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"));
}

// The schedule dialog.
bool IsSchedulingDialog(HWND wnd) { return ::GetDlgItem(wnd, IDC_SCHEDULING_TYPE) != nullptr; }

class ScheduleTest : public OptionsTest {
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        ClearJobs();
    }
    void TearDown() override
    {
        ClearJobs();
        OptionsTest::TearDown();
    }
    static void ClearJobs()
    {
        for (const std::wstring& job : JobFiles()) Schedule::DeleteScheduledTask(job);
    }
    qcore::ComInit m_com;
};

// The interval edit as the dialog shows it after the user typed `text`.
std::wstring Typed(HWND dialog, const wchar_t* text)
{
    HWND edit = ::GetDlgItem(dialog, IDC_SCHEDULING_INTERVAL);
    ::SendMessageW(edit, WM_SETTEXT, 0, LPARAM(text));
    return WindowText(edit);
}

void SelectType(HWND dialog, int position)
{
    HWND combo = ::GetDlgItem(dialog, IDC_SCHEDULING_TYPE);
    ::SendMessageW(combo, CB_SETCURSEL, WPARAM(position), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SCHEDULING_TYPE, CBN_SELCHANGE), LPARAM(combo));
}

TEST_F(ScheduleTest, TheDialogKeepsTheIntervalInRangeAndAddsTheSchedule)
{
    OptionsWindow w;
    w.dialog.OnShowPage();
    w.Command(w.Item(IDC_OPTION_TAB_SCHEDULE));
    HWND list = w.Item(IDC_OPTION_SCHEDULE_LIST);
    EXPECT_EQ(0, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));

    struct Seen {
        std::wstring caption, daily400, daily0, weekly57, monthly32, dailyToMonthly, group;
        bool boxesHiddenDaily = false, boxesShownWeekly = false, mondayTicked = false;
        int types = 0;
        std::vector<std::wstring> raw;
    } seen;
    {
        WindowDriver driver(IsSchedulingDialog, [&](HWND dialog) {
            seen.caption = WindowText(dialog);
            seen.raw = RawKeys(dialog);
            seen.types = int(::SendMessageW(::GetDlgItem(dialog, IDC_SCHEDULING_TYPE), CB_GETCOUNT, 0, 0));
            seen.boxesHiddenDaily = !::IsWindowVisible(::GetDlgItem(dialog, IDC_SCHEDULING_MONDAY));
            seen.daily400 = Typed(dialog, L"400");
            seen.daily0 = Typed(dialog, L"0");
            SelectType(dialog, 1);
            seen.boxesShownWeekly = ::IsWindowVisible(::GetDlgItem(dialog, IDC_SCHEDULING_SUNDAY));
            seen.mondayTicked = ::IsDlgButtonChecked(dialog, IDC_SCHEDULING_MONDAY) == BST_CHECKED;
            seen.weekly57 = Typed(dialog, L"57");
            SelectType(dialog, 2);
            seen.monthly32 = Typed(dialog, L"32");
            SelectType(dialog, 0);
            Typed(dialog, L"365");
            SelectType(dialog, 2);  // a daily 365 must not stay 365 as a day of the month
            seen.dailyToMonthly = WindowText(::GetDlgItem(dialog, IDC_SCHEDULING_INTERVAL));
            seen.group = WindowText(::GetDlgItem(dialog, IDC_SCHEDULING_INTERVAL_GROUP));
            Typed(dialog, L"20");

            ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        w.Command(w.Item(IDC_OPTION_SCHEDULE_ADD));
    }
    EXPECT_EQ(std::wstring(TranslateCode(L"IDS_SHCEDULING_SCHEDULING")), seen.caption);
    EXPECT_TRUE(seen.raw.empty());
    EXPECT_EQ(3, seen.types);
    EXPECT_TRUE(seen.boxesHiddenDaily);
    EXPECT_EQ(L"365", seen.daily400);
    EXPECT_EQ(L"1", seen.daily0);
    EXPECT_TRUE(seen.boxesShownWeekly);
    EXPECT_TRUE(seen.mondayTicked);
    EXPECT_EQ(L"56", seen.weekly57);
    EXPECT_EQ(L"31", seen.monthly32);
    EXPECT_EQ(L"31", seen.dailyToMonthly);
    EXPECT_EQ(L"Monthly schedule", seen.group);

    // Saved in the scheduler and listed at once: monthly on day 20, started with --boot.
    ASSERT_EQ(1u, JobFiles().size());
    ASSERT_EQ(1, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(*JobFiles().begin(), ListCellText(list, 0, 0));
    EXPECT_EQ(L"Monthly", ListCellText(list, 0, 1));
    std::vector<Schedule::ScheduledTaskRow> rows;
    ASSERT_EQ(S_OK, Schedule::ListScheduledTasks(ProgramFolder() + L"Quorvel.exe", rows));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(1u << 19, rows[0].trigger.Type.MonthlyDate.rgfDays);
    EXPECT_EQ(Schedule::StartTimeText(rows[0].trigger), ListCellText(list, 0, 2));
    SYSTEMTIME now, next;
    ::GetLocalTime(&now);
    ASSERT_TRUE(Schedule::NextRunTime(rows[0].trigger, now, next));
    EXPECT_EQ(Schedule::NextRunText(next), ListCellText(list, 0, 3));
    EXPECT_EQ(20, next.wDay);
    w.dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(SaveWindowShot(w.dialog.GetSafeHwnd(), ArtifactPath(L"options_schedule_en.bmp")));

    // Cancel adds nothing.
    {
        WindowDriver driver(IsSchedulingDialog,
                            [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); });
        w.Command(w.Item(IDC_OPTION_SCHEDULE_ADD));
    }
    EXPECT_EQ(1u, JobFiles().size());
}

TEST_F(ScheduleTest, RemoveTakesTheSelectedRowAndClearLeavesOtherProgramsTasks)
{
    for (const wchar_t* name : {L"first", L"second", L"foreign"}) {
        CScheduledTask task;
        ::GetLocalTime(&task.m_timeStart);
        task.m_nScheduleType = Schedule::kWeekly;
        task.m_strAppName =
            std::wstring(name) == L"foreign" ? L"C:\\Other\\other.exe" : (ProgramFolder() + L"Quorvel.exe").c_str();
        ASSERT_EQ(S_OK, task.Save(name, TASK_FRIDAY, 1));
    }
    OptionsWindow w;
    w.dialog.OnShowPage();
    w.Command(w.Item(IDC_OPTION_TAB_SCHEDULE));
    HWND list = w.Item(IDC_OPTION_SCHEDULE_LIST);
    ASSERT_EQ(2, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(L"Weekly", ListCellText(list, 0, 1));

    w.Command(w.Item(IDC_OPTION_SCHEDULE_REMOVE));  // nothing selected: nothing happens
    EXPECT_EQ(3u, JobFiles().size());

    std::wstring removed = ListCellText(list, 1, 0);
    LVITEMW select = {};
    select.stateMask = select.state = LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, 1, LPARAM(&select));
    w.Command(w.Item(IDC_OPTION_SCHEDULE_REMOVE));
    EXPECT_EQ(1, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0u, JobFiles().count(removed));
    EXPECT_EQ(2u, JobFiles().size());

    w.Command(w.Item(IDC_OPTION_SCHEDULE_CLEAR));
    EXPECT_EQ(0, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ((std::set<std::wstring>{L"foreign.job"}), JobFiles());
}

// Without the scheduler's class the tab says so, and adding tells the user it failed.
TEST_F(ScheduleTest, AnUnavailableSchedulerShowsItsFailureTexts)
{
    const wchar_t kClass[] = L"Software\\Classes\\CLSID\\{148BD52A-A2AB-11CE-B11F-00AA00530503}\\InprocServer32";
    std::wstring server, threading;
    ASSERT_TRUE(SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kClass, L"", server));
    SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kClass, L"ThreadingModel", threading);
    ASSERT_EQ(ERROR_SUCCESS, SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kClass));

    OptionsWindow w;
    w.dialog.OnShowPage();
    w.Command(w.Item(IDC_OPTION_TAB_SCHEDULE));
    HWND status = w.Item(IDC_OPTION_SCHEDULE_STATUS);
    EXPECT_TRUE(Visible(status));
    EXPECT_EQ(std::wstring(TranslateCode(L"IDS_OPTION_TAB2_SCHEDULER_UNAVAILABLE")), WindowText(status));
    {
        MessageBoxDriver boxes;
        WindowDriver driver(IsSchedulingDialog,
                            [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
        w.Command(w.Item(IDC_OPTION_SCHEDULE_ADD));
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(std::wstring(TranslateCode(L"IDS_OPTION_TAB2_ADD_FAILED")), boxes.Texts()[0]);
    }

    SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kClass, L"", server.c_str());
    if (!threading.empty())
        SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kClass, L"ThreadingModel", threading.c_str());
    w.Schedule()->FillList();
    EXPECT_FALSE(Visible(status));
    EXPECT_TRUE(JobFiles().empty());
}

// A window with captions, a list header, a drop-down list and user data, translated from English.
class Texts : public CWnd {
public:
    Texts()
    {
        CreateEx(0, AfxRegisterWndClass(0), L"texts", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr);
        caption.Create(L"IDS_OPTION_TAB1_BTN_APPLY", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), this, 1);
        nsVendrel::TranslateWnd(this);
        button.Create(TranslateCode(L"IDS_OPTION_TAB2_BTN_ADD"), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                      CRect(0, 20, 100, 40), this, 2);
        edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 40, 100, 60), this, 3);
        edit.SetWindowText(L"Apply");  // typed by the user: stays
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 60, 300, 160), this, 4);
        list.InsertColumn(0, TranslateCode(L"IDS_OPTION_TAB2_SCHEDULELIST1"), LVCFMT_LEFT, 100);
        list.InsertItem(0, TranslateCode(L"IDS_SHCEDULING_DAILY"));  // a row the dictionary gave: it follows
        list.InsertItem(1, L"Daily.log");                            // the page's own data: it stays
        choices.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 160, 200, 300), this, 5);
        for (const wchar_t* key : {L"IDS_SHCEDULING_DAILY", L"IDS_SHCEDULING_WEEKLY"}) {
            int item = choices.AddString(TranslateCode(key));
            choices.SetItemData(item, 40 + item);
        }
        choices.SetCurSel(1);
        typed.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(200, 160, 400, 300), this, 6);
        typed.AddString(TranslateCode(L"IDS_SHCEDULING_DAILY"));
        // Two keys whose German texts are the same ("Alle") and whose English ones differ.
        every.Create(TranslateCode(L"IDS_SHCEDULING_EVERY"), WS_CHILD | WS_VISIBLE, CRect(0, 200, 100, 220), this, 7);
        all.Create(L"", WS_CHILD | WS_VISIBLE, CRect(100, 200, 200, 220), this, 8);
        all.SetWindowText(TranslateCode(L"IDS_START_SCAN_RESULT_TAB_ALL"));
    }
    ~Texts() override { DestroyWindow(); }
    int changes = 0;
    WPARAM index = 99;
    CStatic caption, every, all;
    CButton button;
    CEdit edit;
    CListCtrl list;
    CComboBox choices, typed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == Shell::LanguageChangedMessage()) {
            ++changes;
            index = wParam;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::wstring HeaderText(CListCtrl& list)
{
    wchar_t text[64] = L"";
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(ListView_GetHeader(list.GetSafeHwnd()), HDM_GETITEMW, 0, LPARAM(&item));
    return text;
}

std::wstring ComboText(CComboBox& combo, int item)
{
    wchar_t text[64] = L"";
    ::SendMessageW(combo.GetSafeHwnd(), CB_GETLBTEXT, WPARAM(item), LPARAM(text));
    return text;
}

TEST_F(OptionsTest, ALanguageSwitchTranslatesTheOpenWindowsAtOnce)
{
    Texts w;
    OptionsWindow options;
    ASSERT_TRUE(Shell::ApplyLanguage(2, ProgramFolder()));
    EXPECT_EQ(L"Übernehmen", WindowText(w.caption));
    EXPECT_EQ(L"Neu", WindowText(w.button));
    EXPECT_EQ(L"Apply", WindowText(w.edit));
    EXPECT_EQ(L"Aufgabe", HeaderText(w.list));
    EXPECT_EQ(L"Täglich", std::wstring(w.list.GetItemText(0, 0)));
    EXPECT_EQ(L"Daily.log", std::wstring(w.list.GetItemText(1, 0)));
    EXPECT_EQ(L"Täglich", ComboText(w.choices, 0));
    EXPECT_EQ(L"Wöchentlich", ComboText(w.choices, 1));
    EXPECT_EQ(1, w.choices.GetCurSel());
    EXPECT_EQ(41u, w.choices.GetItemData(1));
    EXPECT_EQ(L"Daily", ComboText(w.typed, 0));
    EXPECT_EQ(1, w.changes);
    EXPECT_EQ(1u, w.index);  // German is index 1
    EXPECT_EQ(L"Allgemein", WindowText(options.Item(IDC_OPTION_TAB_GENERAL)));
    EXPECT_EQ(L"Aufgabe",
              HeaderText(*static_cast<CListCtrl*>(CWnd::FromHandle(options.Item(IDC_OPTION_SCHEDULE_LIST)))));
    EXPECT_TRUE(RawKeys(options.dialog.GetSafeHwnd()).empty());
    HWND languages = options.Item(IDC_OPTION_LANGUAGE_LIST);
    EXPECT_EQ(L"Englisch", ComboText(*static_cast<CComboBox*>(CWnd::FromHandle(languages)), 0));

    ASSERT_TRUE(Shell::ApplyLanguage(1, ProgramFolder()));
    EXPECT_EQ(L"Apply", WindowText(w.caption));
    EXPECT_EQ(L"Add", WindowText(w.button));
    EXPECT_EQ(L"Task", HeaderText(w.list));
    EXPECT_EQ(L"Weekly", ComboText(w.choices, 1));
    EXPECT_EQ(L"Daily", std::wstring(w.list.GetItemText(0, 0)));
    EXPECT_EQ(L"General", WindowText(options.Item(IDC_OPTION_TAB_GENERAL)));
    EXPECT_EQ(0u, w.index);
    // Each text comes back from the key it was made from, not from another key sharing its German text.
    EXPECT_EQ(L"Every", WindowText(w.every));
    EXPECT_EQ(L"All", WindowText(w.all));
}

TEST_F(OptionsTest, OnlyLanguagesWithADictionaryAreOfferedOrApplied)
{
    std::wstring folder = MakeScratchFolder(L"one language");
    ::CreateDirectoryW((folder + L"dic").c_str(), nullptr);
    ::CreateDirectoryW((folder + L"dic\\en").c_str(), nullptr);
    ::CreateDirectoryW((folder + L"dic\\de").c_str(), nullptr);  // empty: no dictionary
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"dic\\en\\options.ini").c_str(),
                            (folder + L"dic\\en\\options.ini").c_str(), FALSE));
    EXPECT_EQ(std::vector<int>{1}, Shell::AvailableLanguages(folder));
    EXPECT_EQ(11u, Shell::AvailableLanguages(ProgramFolder()).size());

    Texts w;
    EXPECT_FALSE(Shell::ApplyLanguage(2, folder));
    EXPECT_EQ(L"Apply", WindowText(w.caption));
    EXPECT_EQ(0, w.changes);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Shell::SwitchLanguage(2, folder));
    EXPECT_NE(2, Settings::Language());
    RemoveTree(folder);
}

}  // namespace
