// The ActiveX blocker and the uninstaller pages in this process against the test prefix's registry.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <ToolRecorder.h>

#include "ToolPageHost.h"
#include "activex/YarrowbyActiveXBlockDlg.h"
#include "uninstall/YarrowbyUninstallDlg.h"

using namespace tools_test;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;

namespace {

const wchar_t kCompatibility[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";

DWORD Flags(const std::wstring& clsid)
{
    DWORD flags = 0, size = sizeof(flags);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kCompatibility + clsid).c_str(), 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        ::RegQueryValueExW(key, L"Compatibility Flags", nullptr, nullptr, reinterpret_cast<BYTE*>(&flags), &size);
        ::RegCloseKey(key);
    }
    return flags;
}

void SetFlags(const std::wstring& clsid, DWORD flags)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kCompatibility + clsid).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr);
    ::RegSetValueExW(key, L"Compatibility Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags));
    ::RegCloseKey(key);
}

using ActiveX = CYarrowbyActiveXBlockDlg;

TEST(ActiveXBlockPage, ListsTheCatalogueAndBlocksTheTickedControls)
{
    const std::wstring flash = L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
    SetFlags(flash, 0x21);  // other bits of a control that is not blocked
    PageHost host;
    ActiveX* page = host.Add<ActiveX>(PAGE_ID_TOOLS_ACTIVEX_BLOCK);
    CListCtrl& list = page->List();
    ASSERT_EQ(13, list.GetItemCount());
    EXPECT_EQ(L"Shockwave Flash Object", std::wstring(list.GetItemText(0, 0)));
    EXPECT_EQ(flash, std::wstring(list.GetItemText(0, 1)));
    EXPECT_EQ(L"Snapshot Viewer Control", std::wstring(list.GetItemText(12, 0)));
    for (int row = 0; row < 13; ++row) EXPECT_EQ(L"Not blocked", std::wstring(list.GetItemText(row, 2))) << row;
    EXPECT_EQ(L"13 ActiveX controls are not blocked.", ItemText(page, ActiveX::IDC_STATE));

    // Nothing ticked: the library gets an empty list and nothing changes.
    Click(page, ActiveX::IDC_BLOCK);
    EXPECT_EQ(L"13 ActiveX controls are not blocked.", ItemText(page, ActiveX::IDC_STATE));

    for (int row : {0, 4, 7}) list.SetCheck(row, TRUE);
    Click(page, ActiveX::IDC_BLOCK);
    EXPECT_EQ(L"10 ActiveX controls are not blocked.", ItemText(page, ActiveX::IDC_STATE));
    EXPECT_EQ(L"Blocked", std::wstring(list.GetItemText(4, 2)));
    EXPECT_EQ(0x421u, Flags(flash));
    EXPECT_EQ(0x400u, Flags(std::wstring(list.GetItemText(4, 1))));
    EXPECT_EQ(TRUE, list.GetCheck(7)) << "ticks stay";

    Click(page, ActiveX::IDC_UNBLOCK);
    EXPECT_EQ(L"13 ActiveX controls are not blocked.", ItemText(page, ActiveX::IDC_STATE));
    EXPECT_EQ(0x21u, Flags(flash));

    // Select all follows the box; a block set elsewhere shows when the page is shown again.
    ::SendMessageW(::GetDlgItem(page->GetSafeHwnd(), ActiveX::IDC_SELECT_ALL), BM_CLICK, 0, 0);
    for (int row = 0; row < 13; ++row) EXPECT_EQ(TRUE, list.GetCheck(row)) << row;
    ::SendMessageW(::GetDlgItem(page->GetSafeHwnd(), ActiveX::IDC_SELECT_ALL), BM_CLICK, 0, 0);
    for (int row = 0; row < 13; ++row) EXPECT_EQ(FALSE, list.GetCheck(row)) << row;
    SetFlags(flash, 0x401);
    host.Show(PAGE_ID_TOOLS_ACTIVEX_BLOCK);
    EXPECT_EQ(L"12 ActiveX controls are not blocked.", ItemText(page, ActiveX::IDC_STATE));
    EXPECT_EQ(L"Blocked", std::wstring(list.GetItemText(0, 2)));
}

// An installed-programs entry of the test.
void WriteEntry(HKEY root, const std::wstring& name,
                std::initializer_list<std::pair<const wchar_t*, std::wstring>> texts, DWORD systemComponent = 0)
{
    const std::wstring path = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
    HKEY key = nullptr;
    ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    for (const auto& text : texts)
        ::RegSetValueExW(key, text.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.second.c_str()),
                         DWORD((text.second.size() + 1) * sizeof(wchar_t)));
    if (systemComponent)
        ::RegSetValueExW(key, L"SystemComponent", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&systemComponent),
                         sizeof(systemComponent));
    ::RegCloseKey(key);
}

bool EntryExists(HKEY root, const std::wstring& name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, (L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name).c_str(), 0,
                        KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

int RowOf(CListCtrl& list, const std::wstring& name)
{
    const std::vector<std::wstring> names = Column(list);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return int(i);
    return -1;
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return true;
}

using Uninstall = CYarrowbyUninstallDlg;

TEST(UninstallPage, ListsProgramsOfBothHivesAndShowsHiddenOnesOnRequest)
{
    WriteEntry(HKEY_LOCAL_MACHINE, L"QuorvelPageEditor",
               {{L"DisplayName", L"Page Editor"},
                {L"Publisher", L"Editors Ltd"},
                {L"DisplayVersion", L"4.2"},
                {L"URLInfoAbout", L"http://editor.example"},
                {L"DisplayIcon", L"%SystemRoot%\\system32\\shell32.dll,3"}});
    WriteEntry(HKEY_CURRENT_USER, L"QuorvelPageMine", {{L"DisplayName", L"Page Mine"}});
    WriteEntry(HKEY_CURRENT_USER, L"QuorvelPageComponent", {{L"DisplayName", L"Page Component"}}, 1);
    PageHost host;
    Uninstall* page = host.Add<Uninstall>(PAGE_ID_TOOLS_UNINSTALL);
    EXPECT_EQ(L"", ItemText(page, Uninstall::IDC_TITLE)) << "no program chosen yet";
    CListCtrl& list = page->List();
    const int editor = RowOf(list, L"Page Editor"), mine = RowOf(list, L"Page Mine");
    ASSERT_GE(editor, 0);
    ASSERT_GE(mine, 0);
    EXPECT_EQ(L"Editors Ltd", std::wstring(list.GetItemText(editor, 2)));
    EXPECT_EQ(-1, RowOf(list, L"Page Component"));
    // A program without its own icon gets a copy of the default one; each row has its own image.
    EXPECT_TRUE(IconAlive(page->RecordOfRow(mine)->icon));
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = mine;
    list.GetItem(&item);
    EXPECT_EQ(mine, item.iImage);

    ::SendMessageW(::GetDlgItem(page->GetSafeHwnd(), Uninstall::IDC_SHOW_ALL), BM_CLICK, 0, 0);
    EXPECT_GE(RowOf(list, L"Page Component"), 0);
    ::SendMessageW(::GetDlgItem(page->GetSafeHwnd(), Uninstall::IDC_SHOW_ALL), BM_CLICK, 0, 0);
    EXPECT_EQ(-1, RowOf(list, L"Page Component"));

    list.SetItemState(RowOf(list, L"Page Editor"), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(L"Page Editor", ItemText(page, Uninstall::IDC_TITLE));
    EXPECT_EQ(L"4.2", ItemText(page, Uninstall::IDC_VERSION));
    EXPECT_EQ(L"Editors Ltd", ItemText(page, Uninstall::IDC_PUBLISHER));
    EXPECT_EQ(L"http://editor.example", ItemText(page, Uninstall::IDC_HOMEPAGE));
    EXPECT_TRUE(IconAlive(page->ShownIcon()));
    // A refresh replaces every record and its icon; the details keep an icon of their own.
    Click(page, Uninstall::IDC_REFRESH);
    EXPECT_TRUE(IconAlive(page->ShownIcon()));
    EXPECT_EQ(page->ShownIcon(), reinterpret_cast<HICON>(::SendDlgItemMessageW(
                                     page->GetSafeHwnd(), Uninstall::IDC_PROGRAM_ICON, STM_GETICON, 0, 0)));
}

TEST(UninstallPage, RemovesAnEntryOnlyWhenConfirmedAndKeepsTheDetailsShown)
{
    WriteEntry(HKEY_CURRENT_USER, L"QuorvelPageGone", {{L"DisplayName", L"Page Gone"}});
    PageHost host;
    Uninstall* page = host.Add<Uninstall>(PAGE_ID_TOOLS_UNINSTALL);
    CListCtrl& list = page->List();
    const int rows = list.GetItemCount();
    list.SetItemState(RowOf(list, L"Page Gone"), LVIS_SELECTED, LVIS_SELECTED);
    {
        MessageBoxDriver boxes(IDNO);
        Click(page, Uninstall::IDC_REMOVE);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    }
    EXPECT_TRUE(EntryExists(HKEY_CURRENT_USER, L"QuorvelPageGone"));
    EXPECT_EQ(rows, list.GetItemCount());
    {
        MessageBoxDriver boxes(IDYES);
        Click(page, Uninstall::IDC_REMOVE);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    }
    EXPECT_FALSE(EntryExists(HKEY_CURRENT_USER, L"QuorvelPageGone"));
    EXPECT_EQ(rows - 1, list.GetItemCount());
    EXPECT_EQ(-1, RowOf(list, L"Page Gone"));
    EXPECT_EQ(L"Page Gone", ItemText(page, Uninstall::IDC_TITLE));
    EXPECT_TRUE(IconAlive(page->ShownIcon()));
    page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Nothing selected now: Remove Entry and Uninstall ask for a program and change nothing.
    for (int button : {Uninstall::IDC_REMOVE, Uninstall::IDC_UNINSTALL}) {
        MessageBoxDriver boxes;
        Click(page, button);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; })) << button;
        EXPECT_EQ(L"Please choose a program in the list first.", boxes.Texts()[0]) << button;
    }
    EXPECT_EQ(rows - 1, list.GetItemCount());
    Click(page, Uninstall::IDC_REFRESH);
    EXPECT_EQ(-1, RowOf(list, L"Page Gone"));
}

TEST(UninstallPage, RunsTheSelectedProgramsUninstaller)
{
    const std::wstring folder = shell_test::MakeScratchFolder(L"page-uninstall");
    WriteEntry(HKEY_CURRENT_USER, L"QuorvelPageRun",
               {{L"DisplayName", L"Page Run"},
                {L"UninstallString", L"cmd.exe /c echo removed> \"" + folder + L"marker.txt\""}});
    WriteEntry(HKEY_CURRENT_USER, L"QuorvelPageBroken",
               {{L"DisplayName", L"Page Broken"}, {L"UninstallString", folder + L"missing.exe /S"}});
    PageHost host;
    Uninstall* page = host.Add<Uninstall>(PAGE_ID_TOOLS_UNINSTALL);
    page->List().SetItemState(RowOf(page->List(), L"Page Run"), LVIS_SELECTED, LVIS_SELECTED);
    Click(page, Uninstall::IDC_UNINSTALL);
    EXPECT_TRUE(PumpUntil([&] { return yarrowby_test::Exists(folder + L"marker.txt"); }, 20000));
    EXPECT_TRUE(EntryExists(HKEY_CURRENT_USER, L"QuorvelPageRun")) << "the list is not refreshed or changed";

    page->List().SetItemState(RowOf(page->List(), L"Page Broken"), LVIS_SELECTED, LVIS_SELECTED);
    MessageBoxDriver boxes;
    Click(page, Uninstall::IDC_UNINSTALL);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(L"The program's uninstaller could not be started.", boxes.Texts()[0]);
    shell_test::RemoveTree(folder);
}

}  // namespace
