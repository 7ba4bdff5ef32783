// The Favorites copy against the test prefix's own Favorites folder.
#include "FavoriteBackup.h"
#include "TestSupport.h"

#include <Common.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <shlobj.h>

using namespace ColdrithTest;

namespace
{
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
class CFavoritesValue
{
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
}

TEST(FavoriteBackup, FindsTheFavoritesFolder)
{
    std::wstring profile = Environment(L"USERPROFILE");
    ASSERT_FALSE(profile.empty());
    struct Case
    {
        const wchar_t* value;
        std::wstring expected;
    };
    const Case cases[] = {
        { L"%USERPROFILE%\\Favorites", profile + L"\\Favorites" },
        { L"C:\\Elsewhere\\Links\\", L"C:\\Elsewhere\\Links" },
        { L"%HOMEDRIVE%%HOMEPATH%\\Fav", Environment(L"HOMEDRIVE") + Environment(L"HOMEPATH") + L"\\Fav" },
        { L"", SystemFavorites() },
        { L"relative\\Fav", SystemFavorites() },
        { nullptr, SystemFavorites() },
    };
    for (const auto& c : cases)
    {
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

    const std::wstring refused[] = { L"", L"relative", L"\\NoDrive", L"C:", L"C:\\", L"C:NoSlash",
                                     favorites + L"\\Sub\\Backup", favorites, dir.Path() };
    for (const auto& path : refused)
    {
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

TEST(FavoriteBackup, PathRules)
{
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"C:\\x"));
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"C:\\x\\"));
    EXPECT_TRUE(Coldrith::IsFullNonRootPath(L"\\\\srv\\share\\x"));
    for (const wchar_t* p : { L"", L"x", L"\\x", L"C:", L"C:x", L"C:\\", L"\\\\srv\\share", L"\\\\srv\\share\\", L"\\\\srv" })
        EXPECT_FALSE(Coldrith::IsFullNonRootPath(p)) << p;
    EXPECT_TRUE(Coldrith::CanCopyBetween(L"C:\\Fav", L"C:\\Favorites"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav", L"c:\\fav\\copy"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav\\sub", L"C:\\FAV"));
    EXPECT_FALSE(Coldrith::CanCopyBetween(L"C:\\Fav", L"C:\\x\\..\\Fav"));
}
