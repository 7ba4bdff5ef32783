// The ActiveX blocker and the uninstall manager against the test prefix's registry.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <Yarrowby.h>

#include "ToolRecorder.h"

using namespace yarrowby_test;

namespace {

const wchar_t kCompatibility[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility";
const UINT kFixtureCatalogue = 9409;

bool ReadFlags(const std::wstring& clsid, DWORD& flags, REGSAM view)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kCompatibility) + L"\\" + clsid).c_str(), 0,
                        KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof(flags), type = 0;
    const LONG status =
        ::RegQueryValueExW(key, L"Compatibility Flags", nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD;
}

void WriteFlags(const std::wstring& clsid, DWORD flags)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kCompatibility) + L"\\" + clsid).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr);
    ::RegSetValueExW(key, L"Compatibility Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags));
    ::RegCloseKey(key);
}

// Every subkey name below the compatibility key, with its subkeys, as one text.
std::wstring CompatibilityTree(const std::wstring& path = kCompatibility)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
    std::wstring tree;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        tree += path + L"\\" + name + L"\n" + CompatibilityTree(path + L"\\" + name);
    }
    DWORD values = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    return tree + L"values " + std::to_wstring(values) + L"\n";
}

TEST(ActiveXLock, ListsTheCatalogueAsItStandsWithEachBlockedState)
{
    const std::wstring flash = L"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
    WriteFlags(flash, 0x401);  // another bit beside the kill bit still counts as blocked
    CActiveXLock lock;
    std::vector<ActiveXItem> items;
    items.push_back({L"kept", L"{0}", false});
    ASSERT_TRUE(lock.GetActiveXNames(items, kFixtureCatalogue));
    const struct {
        const wchar_t* name;
        const wchar_t* clsid;
    } expected[] = {
        {L"kept", L"{0}"},
        {L"Shockwave Flash Object", L"{D27CDB6E-AE6D-11CF-96B8-444553540000}"},
        {L"Mixed Case Player", L"{6bf52a52-394A-11d3-B153-00C04F79FAA6}"},
        {L"Any Control", L"{*}"},
        {L"Short Id", L"{1234-5678}"},
        {L"Open Brace", L"{22D6F312-B0F6-11D0-94AB-0080C74C7E95"},
        {L"Trailing Blank", L"{166B1BCA-3F9C-11CF-8075-444553540000} "},
        {L"No Identifier ShockwaveFlash.ShockwaveFlash", L""},
        {L"Empty Braces", L"{}"},
        {L"Nested", L"{A}\\Sub{B}"},
        {L"Last Line", L"{CA8A9780-280D-11CF-A24D-444553540000}"},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(expected[i].name, items[i].name) << i;
        EXPECT_EQ(expected[i].clsid, items[i].clsid) << i;
        EXPECT_EQ(i == 1, items[i].locked) << i;
    }
    std::vector<ActiveXItem> none;
    EXPECT_FALSE(lock.GetActiveXNames(none, 9999));
    EXPECT_TRUE(none.empty());
}

TEST(ActiveXLock, BlocksAndUnblocksOnlyTheKillBitInBothViews)
{
    const std::wstring player = L"{6BF52A52-394A-11D3-B153-00C04F79FAA6}",
                       fresh = L"{0955AC62-BF2E-4CBA-A2B9-A63F772D46CF}";
    WriteFlags(player, 0x21);
    CActiveXLock lock;
    EXPECT_FALSE(lock.IsLocked(player));
    EXPECT_TRUE(lock.LockUnLockActiveItems({player, fresh}, true));
    DWORD flags = 0;
    ASSERT_TRUE(ReadFlags(player, flags, 0));
    EXPECT_EQ(0x421u, flags);
    ASSERT_TRUE(ReadFlags(fresh, flags, 0));
    EXPECT_EQ(0x400u, flags);
    ASSERT_TRUE(ReadFlags(fresh, flags, KEY_WOW64_32KEY)) << "32-bit browsers see the block too";
    EXPECT_EQ(0x400u, flags);
    EXPECT_TRUE(lock.IsLocked(player));
    EXPECT_TRUE(lock.IsLocked(fresh));

    EXPECT_TRUE(lock.LockUnLockActiveItems({player, fresh}, false));
    ASSERT_TRUE(ReadFlags(player, flags, 0));
    EXPECT_EQ(0x21u, flags);
    EXPECT_FALSE(ReadFlags(fresh, flags, 0)) << "a value left at 0 goes";
    EXPECT_FALSE(ReadFlags(fresh, flags, KEY_WOW64_32KEY));
    EXPECT_NE(std::wstring::npos, CompatibilityTree().find(fresh)) << "keys stay";
    EXPECT_FALSE(lock.IsLocked(fresh));
    EXPECT_TRUE(lock.LockUnLockActiveItems({}, true));
}

TEST(ActiveXLock, IdentifiersThatWouldNameOtherKeysAreNeverActedOn)
{
    WriteFlags(L"{A}", 0x400);
    const std::wstring before = CompatibilityTree();
    CActiveXLock lock;
    EXPECT_FALSE(lock.LockUnLockActiveItems({L"", L"{A}\\Sub{B}", L"..\\..\\x"}, true));
    EXPECT_FALSE(lock.LockUnLockActiveItems({L"", L"{A}\\..\\{A}"}, false));
    EXPECT_EQ(before, CompatibilityTree());
    EXPECT_FALSE(lock.IsLocked(L""));
    EXPECT_FALSE(lock.IsLocked(L"{A}\\"));
    EXPECT_TRUE(lock.IsLocked(L"{A}"));
}

// An installed-programs entry written for a test.
struct Entry {
    HKEY root;
    std::wstring list;
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> texts;
    std::vector<std::pair<std::wstring, DWORD>> numbers;
};

const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kUninstall32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void Write(const Entry& entry)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(entry.root, (entry.list + L"\\" + entry.name).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr);
    for (const auto& text : entry.texts)
        ::RegSetValueExW(key, text.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.second.c_str()),
                         DWORD((text.second.size() + 1) * sizeof(wchar_t)));
    for (const auto& number : entry.numbers)
        ::RegSetValueExW(key, number.first.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number.second),
                         sizeof(DWORD));
    ::RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

struct Programs {
    std::vector<UnInstallItem*> items;
    Programs()
    {
        CUninstallManager manager;
        EXPECT_TRUE(manager.EnumPrograms(items));
    }
    ~Programs()
    {
        for (UnInstallItem* item : items) {
            if (item->icon) ::DestroyIcon(item->icon);
            delete item;
        }
    }
    const UnInstallItem* Find(const std::wstring& name) const
    {
        for (const UnInstallItem* item : items)
            if (item->displayName == name) return item;
        return nullptr;
    }
};

TEST(UninstallManager, ListsTheEntriesOfBothHivesWithTheirDetails)
{
    const std::wstring shell32 = L"%SystemRoot%\\system32\\shell32.dll,3";
    Write({HKEY_LOCAL_MACHINE,
           kUninstall,
           L"QuorvelTestEditor",
           {{L"DisplayName", L"Test Editor"},
            {L"UninstallString", L"\"C:\\Editor\\un.exe\" /S"},
            {L"Publisher", L"Editors Ltd"},
            {L"DisplayVersion", L"2.1"},
            {L"HelpLink", L"http://help.example"},
            {L"DisplayIcon", shell32}},
           {{L"EstimatedSize", 1536}}});
    Write({HKEY_LOCAL_MACHINE,
           kUninstall32,
           L"QuorvelTestOld",
           {{L"DisplayName", L"Old Tool"},
            {L"QuietUninstallString", L"C:\\Old\\remove.exe"},
            {L"URLInfoAbout", L"http://old.example"},
            {L"HelpLink", L"http://help.old"},
            {L"DisplayIcon", L"C:\\nowhere\\missing.exe,0"}},
           {}});
    Write({HKEY_CURRENT_USER, kUninstall, L"QuorvelTestMine", {{L"DisplayName", L"My Tool"}}, {}});
    Write({HKEY_LOCAL_MACHINE, kUninstall, L"KB999999", {{L"DisplayName", L"Update for Test"}}, {}});
    Write({HKEY_LOCAL_MACHINE,
           kUninstall,
           L"QuorvelTestPart",
           {{L"DisplayName", L"Part of Editor"}, {L"ParentKeyName", L"QuorvelTestEditor"}},
           {}});
    Write({HKEY_CURRENT_USER,
           kUninstall,
           L"QuorvelTestComponent",
           {{L"DisplayName", L"Component"}},
           {{L"SystemComponent", 1}}});
    Write({HKEY_CURRENT_USER, kUninstall, L"QuorvelTestNoName", {{L"UninstallString", L"x.exe"}}, {}});

    Programs programs;
    const UnInstallItem* editor = programs.Find(L"Test Editor");
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(L"\"C:\\Editor\\un.exe\" /S", editor->uninstallCmd);
    EXPECT_EQ(L"1.5 MB", editor->size);
    EXPECT_EQ(L"Editors Ltd", editor->publisher);
    EXPECT_EQ(L"2.1", editor->version);
    EXPECT_EQ(L"http://help.example", editor->homePage);
    EXPECT_EQ(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuorvelTestEditor", editor->keyPath);
    EXPECT_FALSE(editor->hidden);
    EXPECT_NE(nullptr, editor->icon);

    const UnInstallItem* old = programs.Find(L"Old Tool");
    ASSERT_NE(nullptr, old) << "the 32-bit programs' list";
    EXPECT_EQ(L"C:\\Old\\remove.exe", old->uninstallCmd);
    EXPECT_EQ(L"http://old.example", old->homePage);
    EXPECT_EQ(L"", old->size);
    EXPECT_EQ(nullptr, old->icon);
    EXPECT_EQ(L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuorvelTestOld",
              old->keyPath);

    const UnInstallItem* mine = programs.Find(L"My Tool");
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuorvelTestMine", mine->keyPath);
    for (const wchar_t* hidden : {L"Update for Test", L"Part of Editor", L"Component"}) {
        ASSERT_NE(nullptr, programs.Find(hidden)) << hidden;
        EXPECT_TRUE(programs.Find(hidden)->hidden) << hidden;
    }
    for (const UnInstallItem* item : programs.items) EXPECT_FALSE(item->displayName.empty());
}

TEST(UninstallManager, RemovesExactlyTheEntrysOwnKey)
{
    Write({HKEY_CURRENT_USER, kUninstall, L"QuorvelTestGone", {{L"DisplayName", L"Gone Tool"}}, {}});
    Write({HKEY_CURRENT_USER, std::wstring(kUninstall) + L"\\QuorvelTestGone", L"Inner", {{L"x", L"y"}}, {}});
    Write({HKEY_CURRENT_USER, kUninstall, L"QuorvelTestStays", {{L"DisplayName", L"Stays"}}, {}});
    UnInstallItem* gone = nullptr;
    Programs programs;
    for (UnInstallItem* item : programs.items)
        if (item->displayName == L"Gone Tool") gone = item;
    ASSERT_NE(nullptr, gone);

    CUninstallManager manager;
    // A record whose key path was changed to name something else is refused.
    UnInstallItem forged = *gone;
    forged.icon = nullptr;
    for (const wchar_t* path : {L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\x", L""}) {
        forged.keyPath = path;
        EXPECT_FALSE(manager.RemoveProgram(&forged)) << path;
    }
    EXPECT_FALSE(manager.RemoveProgram(nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUninstall));

    EXPECT_TRUE(manager.RemoveProgram(gone));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kUninstall) + L"\\QuorvelTestGone"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kUninstall) + L"\\QuorvelTestStays"));
    EXPECT_FALSE(manager.RemoveProgram(gone)) << "already gone";
}

// Lines of runs.txt the stand-in program wrote in a folder.
std::vector<std::string> Runs(const std::wstring& folder)
{
    std::vector<std::string> lines;
    const std::string text = ReadBytes(folder + L"runs.txt");
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(UninstallManager, StartsTheUninstallerByItsFullPathQuoted)
{
    const std::wstring root = shell_test::MakeScratchFolder(L"uninstallers");
    const std::wstring app = root + L"Program Files\\App\\";
    ::CreateDirectoryW((root + L"Program Files").c_str(), nullptr);
    ::CreateDirectoryW(app.c_str(), nullptr);
    const std::wstring bin = shell_test::ProgramFolder();
    ASSERT_TRUE(::CopyFileW((bin + L"QRunRecorder.exe").c_str(), (app + L"uninst.exe").c_str(), FALSE));
    // What the system would start for the unquoted command, trying the shorter path first.
    ASSERT_TRUE(::CopyFileW((bin + L"QRunRecorder.exe").c_str(), (root + L"Program.exe").c_str(), FALSE));
    // The stand-in starts in its own folder and needs the compiler's runtime there.
    for (const wchar_t* dll : {L"libstdc++-6.dll", L"libgcc_s_seh-1.dll", L"libwinpthread-1.dll"})
        for (const std::wstring& folder : {app, root}) ::CopyFileW((bin + dll).c_str(), (folder + dll).c_str(), FALSE);
    ::SetEnvironmentVariableW(L"QUORVEL_TEST_APP", app.c_str());

    CUninstallManager manager;
    EXPECT_TRUE(manager.UninstallProgram(app + L"uninst.exe /S"));
    EXPECT_TRUE(manager.UninstallProgram(L"\"" + app + L"uninst.exe\" /quoted"));
    EXPECT_TRUE(manager.UninstallProgram(L"%QUORVEL_TEST_APP%uninst.exe /expanded"));
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Runs(app).size() >= 3; }, 20000));
    EXPECT_TRUE(Runs(root).empty()) << "the shorter path's program never runs";
    int quotedRuns = 0;
    for (const std::string& line : Runs(app)) {
        const std::string command = line.substr(line.find('\t') + 1);
        if (command.rfind("\"", 0) == 0 && command.find("uninst.exe\"") != std::string::npos) ++quotedRuns;
    }
    EXPECT_EQ(3, quotedRuns);

    // A bare name is found in the system folder; what does not name an existing program starts nothing.
    EXPECT_TRUE(manager.UninstallProgram(L"cmd.exe /c echo x> \"" + root + L"marker.txt\""));
    EXPECT_TRUE(shell_test::PumpUntil([&] { return Exists(root + L"marker.txt"); }, 20000));
    EXPECT_FALSE(manager.UninstallProgram(L""));
    EXPECT_FALSE(manager.UninstallProgram(root + L"none.exe /S"));
    EXPECT_FALSE(manager.UninstallProgram(L"\"" + root + L"\" /S"));
    shell_test::RemoveTree(root);
}

}  // namespace
