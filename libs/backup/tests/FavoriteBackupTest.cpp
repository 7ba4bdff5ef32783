// The Favorites copy against the test prefix's own Favorites folder.
#include "FavoriteBackup.h"
#include "SystemFolders.h"
#include "TestSupport.h"

#include <Common.h>
#include <QTestSupport.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include <shlobj.h>

using namespace ColdrithTest;

namespace {
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring Environment(const wchar_t* name)
{
    wchar_t text[MAX_PATH] = L"";
    GetEnvironmentVariableW(name, text, MAX_PATH);
    return text;
}

std::wstring SystemFavorites()
{
    wchar_t folder[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, SHGFP_TYPE_DEFAULT, folder);
    return folder;
}

// Sets the user's "Favorites" shell folder for the test's scope (nullptr: no value) and puts it back after.
class CFavoritesValue {
public:
    explicit CFavoritesValue(const wchar_t* value)
    {
        m_had = SBRegGetStringValueNoExpandW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", m_old);
        Set(value);
    }
    ~CFavoritesValue() { Set(m_had ? m_old.c_str() : nullptr); }

private:
    static void Set(const wchar_t* value)
    {
        if (value)
            SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", value);
        else
            SBRegDeleteValueW(HKEY_CURRENT_USER, kShellFolders, L"Favorites");
    }
    std::wstring m_old;
    bool m_had = false;
};

std::vector<std::pair<std::wstring, std::string>> Snapshot(const std::wstring& root)
{
    std::vector<std::pair<std::wstring, std::string>> out;
    for (const auto& rel : ListTree(root))
        out.emplace_back(rel, rel.back() == L'\\' ? std::string() : ReadBytes(root + L"\\" + rel));
    return out;
}
}  // namespace

TEST(FavoriteBackup, FindsTheFavoritesFolder)
{
    std::wstring profile = Environment(L"USERPROFILE");
    ASSERT_FALSE(profile.empty());
    struct Case {
        const wchar_t* value;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"%USERPROFILE%\\Favorites", profile + L"\\Favorites"},
        {L"C:\\Elsewhere\\Links\\", L"C:\\Elsewhere\\Links"},
        {L"%HOMEDRIVE%%HOMEPATH%\\Fav", Environment(L"HOMEDRIVE") + Environment(L"HOMEPATH") + L"\\Fav"},
        {L"", SystemFavorites()},
        {L"relative\\Fav", SystemFavorites()},
        {nullptr, SystemFavorites()},
    };
    for (const auto& c : cases) {
        CFavoritesValue value(c.value);
        Coldrith::CFavoriteBackup favorites;
        EXPECT_EQ(favorites.GetFavoritesFolderPath(), c.expected) << (c.value ? c.value : L"(none)");
    }
    EXPECT_FALSE(SystemFavorites().empty());
}

TEST(FavoriteBackup, BackupAndRestoreCopyTheTreeExactly)
{
    CScratchDir dir(L"favorites");
    std::wstring favorites = dir / L"Favorites";
    CFavoritesValue value(favorites.c_str());
    MakeDirs(favorites + L"\\Links\\Deep");
    WriteBytes(favorites + L"\\Site.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
    WriteBytes(favorites + L"\\Links\\News.url", "[InternetShortcut]\r\nURL=http://news.invalid/\r\n");
    WriteBytes(favorites + L"\\Links\\Deep\\\x041a\x0430\x0440\x0442\x0430.url", RandomBytes(3000, 3));
    MakeDirs(favorites + L"\\Empty");

    Coldrith::CFavoriteBackup backup;
    ASSERT_EQ(backup.GetFavoritesFolderPath(), favorites);
    std::wstring copy = dir / L"app\\FavoritesBackup";
    MakeDirs(dir / L"app");
    ASSERT_TRUE(backup.BackupFavoriteFiles(copy));
    EXPECT_EQ(Snapshot(copy), Snapshot(favorites));

    // A second backup replaces the first: what was removed from Favorites meanwhile is gone from the copy too.
    DeleteFileW((favorites + L"\\Links\\News.url").c_str());
    ASSERT_TRUE(backup.BackupFavoriteFiles(copy + L"\\"));
    EXPECT_EQ(Snapshot(copy), Snapshot(favorites));
    EXPECT_FALSE(Exists(copy + L".tmp"));
    EXPECT_FALSE(Exists(copy + L".old"));

    // Restore puts back what was lost and changed, and keeps what was added since.
    auto before = Snapshot(copy);
    WriteBytes(favorites + L"\\Site.url", "changed");
    DeleteFileW((favorites + L"\\Links\\Deep\\\x041a\x0430\x0440\x0442\x0430.url").c_str());
    WriteBytes(favorites + L"\\Added later.url", "new");
    ASSERT_TRUE(backup.RestoreFavoriteFiles(copy));
    auto after = Snapshot(favorites);
    auto added = std::make_pair(std::wstring(L"Added later.url"), std::string("new"));
    EXPECT_NE(std::find(after.begin(), after.end(), added), after.end());
    after.erase(std::find(after.begin(), after.end(), added));
    EXPECT_EQ(after, before);
}

TEST(FavoriteBackup, RefusedPathsLeaveEverythingUntouched)
{
    CScratchDir dir(L"favrefuse");
    std::wstring favorites = dir / L"Favorites";
    MakeDirs(favorites + L"\\Sub");
    WriteBytes(favorites + L"\\Site.url", "site");
    std::wstring copy = dir / L"Backup";
    MakeDirs(copy);
    WriteBytes(copy + L"\\Old.url", "the previous backup");
    CFavoritesValue value(favorites.c_str());
    Coldrith::CFavoriteBackup backup;
    backup.GetFavoritesFolderPath();
    auto favoritesBefore = Snapshot(favorites), copyBefore = Snapshot(copy);

    const std::wstring refused[] = {
        L"",       L"relative", L"\\NoDrive", L"C:", L"C:\\", L"C:NoSlash", favorites + L"\\Sub\\Backup",
        favorites, dir.Path()};
    for (const auto& path : refused) {
        EXPECT_FALSE(backup.BackupFavoriteFiles(path)) << path.c_str();
        EXPECT_FALSE(backup.RestoreFavoriteFiles(path)) << path.c_str();
    }
    EXPECT_FALSE(backup.RestoreFavoriteFiles(dir / L"NoSuchBackup"));
    EXPECT_EQ(Snapshot(favorites), favoritesBefore);
    EXPECT_EQ(Snapshot(copy), copyBefore);

    // Without a Favorites folder there is nothing to back up, and the old backup stays.
    Coldrith::CFavoriteBackup unknown;
    EXPECT_FALSE(unknown.BackupFavoriteFiles(copy));
    CFavoritesValue gone((dir / L"Missing").c_str());
    Coldrith::CFavoriteBackup missing;
    missing.GetFavoritesFolderPath();
    EXPECT_FALSE(missing.BackupFavoriteFiles(copy));
    EXPECT_EQ(Snapshot(copy), copyBefore);
}

namespace {
// Every file and folder below root; a file maps to its bytes, a folder to "<folder>" and a linked folder to
// "<link>" (not entered).
std::map<std::wstring, std::string> TreeOf(const std::wstring& root)
{
    std::map<std::wstring, std::string> out;
    for (const auto& rel : ListTree(root)) {
        std::wstring path = root + L"\\" + rel;
        if (rel.back() != L'\\')
            out[rel] = ReadBytes(path);
        else
            out[rel] = Coldrith::IsLink(path.substr(0, path.size() - 1)) ? "<link>" : "<folder>";
    }
    return out;
}

std::wstring SystemDirectory()
{
    wchar_t text[MAX_PATH] = L"";
    GetSystemDirectoryW(text, MAX_PATH);
    return text;
}

std::wstring WindowsDirectory()
{
    wchar_t text[MAX_PATH] = L"";
    GetWindowsDirectoryW(text, MAX_PATH);
    return text;
}

std::wstring ProgramFilesDirectory()
{
    wchar_t text[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, text);
    return text;
}
}  // namespace

// Links and system folders. The fixture: Favorites (Site.url, Sub\Keep.url), a folder Outside that is no part of
// them, and the backup app\FavoritesBackup (Site.url, Probe.url). Each case adds its link or points the
// Favorites value elsewhere, runs one action, and the whole fixture tree is compared: the chosen items handled,
// nothing else changed.
TEST(FavoriteBackup, LinksAndSystemFoldersAreNeverWrittenThrough)
{
    enum Action { kRestore, kBackUpTwice };
    using Tree = std::map<std::wstring, std::string>;
    struct Case {
        const char* what;
        std::function<std::wstring(const CScratchDir&)> prepare;  // returns the Favorites value
        Action action;
        bool result;
        std::function<void(Tree&)> change;  // what the action may change in the fixture tree
        std::wstring untouchedFolder;       // outside the fixture: must not gain the backup's files
    };
    auto restored = [](Tree& t) {
        t[L"Favorites\\Site.url"] = "saved";
        t[L"Favorites\\Probe.url"] = "probe";
    };
    auto linkOut = [](const CScratchDir& dir, const std::wstring& at) {
        EXPECT_TRUE(shell_test::MakeHostSymlink(dir / at, shell_test::HostPath(dir / L"Outside")));
    };
    const Case cases[] = {
        {"restore through a linked sub-folder",
         [&](const CScratchDir& dir) {
             MakeDirs(dir / L"app\\FavoritesBackup\\Linked");
             WriteBytes(dir / L"app\\FavoritesBackup\\Linked\\victim.url", "saved");
             linkOut(dir, L"Favorites\\Linked");
             return dir / L"Favorites";
         },
         kRestore, false, restored, L""},
        {"restore over a file hard-linked with one outside",
         [&](const CScratchDir& dir) {
             DeleteFileW((dir / L"Favorites\\Site.url").c_str());
             EXPECT_TRUE(CreateHardLinkW((dir / L"Favorites\\Site.url").c_str(), (dir / L"Outside\\victim.url").c_str(),
                                         nullptr));
             return dir / L"Favorites";
         },
         kRestore, true, restored, L""},
        {"restore over a file linked to one outside",
         [&](const CScratchDir& dir) {
             DeleteFileW((dir / L"Favorites\\Site.url").c_str());
             EXPECT_TRUE(shell_test::MakeHostSymlink(dir / L"Favorites\\Site.url",
                                                     shell_test::HostPath(dir / L"Outside\\victim.url")));
             return dir / L"Favorites";
         },
         kRestore, true, restored, L""},
        {"restore into Favorites that are the system folder", [](const CScratchDir&) { return SystemDirectory(); },
         kRestore, false, nullptr, SystemDirectory()},
        {"restore into Favorites that are the Windows folder", [](const CScratchDir&) { return WindowsDirectory(); },
         kRestore, false, nullptr, WindowsDirectory()},
        {"restore into Favorites that are Program Files", [](const CScratchDir&) { return ProgramFilesDirectory(); },
         kRestore, false, nullptr, ProgramFilesDirectory()},
        {"restore into Favorites that are a drive root", [](const CScratchDir& dir) { return dir.Path().substr(0, 3); },
         kRestore, false, nullptr, std::wstring(L"C:\\")},
        {"restore into Favorites linked to the system folder",
         [&](const CScratchDir& dir) {
             EXPECT_TRUE(
                 shell_test::MakeHostSymlink(dir / L"Linked Favorites", shell_test::HostPath(SystemDirectory())));
             return dir / L"Linked Favorites";
         },
         kRestore, false, nullptr, SystemDirectory()},
        {"back up the system folder as Favorites", [](const CScratchDir&) { return SystemDirectory(); }, kBackUpTwice,
         false, nullptr, L""},
        {"back up into a linked backup folder",
         [&](const CScratchDir& dir) {
             RemoveTree(dir / L"app\\FavoritesBackup");
             linkOut(dir, L"app\\FavoritesBackup");
             return dir / L"Favorites";
         },
         kBackUpTwice, false, nullptr, L""},
        {"back up beside a linked set-aside folder",
         [&](const CScratchDir& dir) {
             linkOut(dir, L"app\\FavoritesBackup.old");
             return dir / L"Favorites";
         },
         kBackUpTwice, false, nullptr, L""},
    };
    for (const auto& c : cases) {
        CScratchDir dir(L"favlinks");
        MakeDirs(dir / L"Favorites\\Sub");
        WriteBytes(dir / L"Favorites\\Site.url", "old");
        WriteBytes(dir / L"Favorites\\Sub\\Keep.url", "keep");
        MakeDirs(dir / L"Outside");
        WriteBytes(dir / L"Outside\\victim.url", "outside");
        MakeDirs(dir / L"app\\FavoritesBackup");
        WriteBytes(dir / L"app\\FavoritesBackup\\Site.url", "saved");
        WriteBytes(dir / L"app\\FavoritesBackup\\Probe.url", "probe");
        std::wstring favorites = c.prepare(dir);
        CFavoritesValue value(favorites.c_str());
        Coldrith::CFavoriteBackup backup;
        backup.GetFavoritesFolderPath();
        Tree expected = TreeOf(dir.Path());
        if (c.change) c.change(expected);

        bool result = c.action == kRestore ? backup.RestoreFavoriteFiles(dir / L"app\\FavoritesBackup")
                                           : backup.BackupFavoriteFiles(dir / L"app\\FavoritesBackup") ||
                                                 backup.BackupFavoriteFiles(dir / L"app\\FavoritesBackup");
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(TreeOf(dir.Path()), expected) << c.what;
        EXPECT_TRUE(c.untouchedFolder.empty() || !Exists(c.untouchedFolder + L"\\Probe.url")) << c.what;
    }
}

TEST(FavoriteBackup, PathRules)
{
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"C:\\x"));
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"C:\\x\\"));
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"\\\\srv\\share\\x"));
    for (const wchar_t* p :
         {L"", L"x", L"\\x", L"C:", L"C:x", L"C:\\", L"\\\\srv\\share", L"\\\\srv\\share\\", L"\\\\srv"})
        EXPECT_FALSE(Coldrith::IsFullNonRootPath(p)) << p;
    EXPECT_TRUE(Coldrith::CanCopyBetween(L"C:\\Fav", L"C:\\Favorites"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav", L"c:\\fav\\copy"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav\\sub", L"C:\\FAV"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav", L"C:\\x\\..\\Fav"));

    for (const std::wstring& owned : {SystemDirectory(), WindowsDirectory() + L"\\", ProgramFilesDirectory() + L"\\App",
                                      std::wstring(L"c:\\"), std::wstring(L"D:\\"), std::wstring(L"relative")})
        EXPECT_TRUE(Coldrith::IsSystemOwnedFolder(owned)) << owned.c_str();
    std::wstring profile = Environment(L"USERPROFILE");
    for (const std::wstring& mine : {profile + L"\\Favorites", WindowsDirectory() + L"x\\Fav"})
        EXPECT_FALSE(Coldrith::IsSystemOwnedFolder(mine)) << mine.c_str();
}
