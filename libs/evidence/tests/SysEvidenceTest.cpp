#include <gtest/gtest.h>

#include <Common.h>
#include <SysEvidence.h>
#include <shlobj.h>

#include <map>
#include <set>

#include "EvidenceTestSupport.h"
#include "TestFiles.h"

using namespace LumbreyTest;
using Lumbrey::CSysEvidence;

namespace LumbreyTest {

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(NULL, path, csidl, TRUE);
    return path;
}

bool MoveToRecycleBin(const std::wstring& path)
{
    std::wstring from = path;
    from.push_back(L'\0');  // double-null-terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace LumbreyTest

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

std::wstring LocalAppData() { return SpecialFolder(CSIDL_LOCAL_APPDATA); }

std::wstring SystemRoot()
{
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(L"systemroot", path, MAX_PATH);
    return path;
}

void SeedKey(const std::wstring& key)
{
    ASSERT_EQ(SBRegSetStringValueW(HKEY_CURRENT_USER, key.c_str(), L"seed", L"trace"), 0) << key;
}

void SeedFolder(const std::wstring& folder) { MakeFile(folder + L"\\seed.dat", 3); }

// Where each category with a source takes its traces from, and how the test plants one there.
struct CategorySeed {
    int number;
    const wchar_t* name;
    void (*seed)();
};

#define KEY_SEED(path) [] { SeedKey(path); }
#define APPDATA_SEED(sub) [] { SeedFolder(LocalAppData() + sub); }

const CategorySeed kSeeds[] = {
    {0, L"Cache", [] { SeedFolder(SpecialFolder(CSIDL_INTERNET_CACHE)); }},
    {1, L"Address Bar History", KEY_SEED(kTypedUrls)},
    {2, L"Cookies", [] { SeedFolder(SpecialFolder(CSIDL_COOKIES)); }},
    {5, L"AutoCompleteData", KEY_SEED(L"Software\\Microsoft\\Internet Explorer\\IntelliForms")},
    {6, L"Download Directory",
     [] {
         SBRegSetStringValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Download Directory",
                              L"C:\\dl");
     }},
    {7, L"Save Directory",
     [] {
         SBRegSetStringValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Save Directory",
                              L"C:\\save");
     }},
    {8, L"Paint", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List")},
    {9, L"WordPad", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List")},
    {10, L"Media Player History_List", KEY_SEED(L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList")},
    {13, L"Microsoft Office", KEY_SEED(L"Software\\Microsoft\\Office\\11.0\\Access\\Settings")},
    {16, L"Microsoft Netmeeting", KEY_SEED(L" UNICODE Program Groups")},
    {18, L"MSDN Project MRU_List", KEY_SEED(L"Software\\Microsoft\\MSDN\\7.0\\ProjectMRUList")},
    {19, L"WinRar History", KEY_SEED(L"Software\\WinRAR\\ArcHistory")},
    {27, L"Run History", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU")},
    {28, L"Windows Send To",
     [] {
         const std::wstring f = NewTempFolder(L"sendto");
         SeedFolder(f);
         SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"SendTo", f.c_str());
     }},
    {29, L"Recent Files",
     [] {
         const std::wstring f = NewTempFolder(L"recent");
         SeedFolder(f);
         SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"Recent", f.c_str());
     }},
    {34, L"Microsoft Management Console MRU List",
     KEY_SEED(L"Software\\Microsoft\\Microsoft Management Console\\Recent File List")},
    {35, L"Regedit32 History", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit")},
    {36, L"Start Menu Click History",
     KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
              L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count")},
    {38, L"TrayNotify", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TrayNotify")},
    {39, L"ShareFolder", KEY_SEED(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WorkgroupCrawler\\Shares")},
    {40, L"Exe MUI Cache", KEY_SEED(L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache")},
    {41, L"RecycleBin",
     [] {
         const std::wstring f = NewTempFolder(L"bin") + L"\\binned.dat";
         MakeFile(f, 7);
         ASSERT_TRUE(MoveToRecycleBin(f));
     }},
    {42, L"Windows Log", [] { SeedFolder(SystemRoot() + L"\\system32\\wbem\\Logs"); }},
    {48, L"NetScape History", APPDATA_SEED(L"\\Netscape\\Navigator\\Profiles\\History")},
    {49, L"NetScape Cookies", APPDATA_SEED(L"\\Netscape\\Navigator\\Profiles\\Cookies")},
    {50, L"NetScape Cache", APPDATA_SEED(L"\\Netscape\\Navigator\\Profiles\\Cache")},
    {51, L"FireFox History", APPDATA_SEED(L"\\Mozilla\\Firefox\\Profiles\\History")},
    {52, L"FireFox Cookies", APPDATA_SEED(L"\\Mozilla\\Firefox\\Profiles\\Cookies")},
    {53, L"FireFox Cache", APPDATA_SEED(L"\\Mozilla\\Firefox\\Profiles\\Cache")},
    {54, L"Chrome History", APPDATA_SEED(L"\\Google\\Chrome\\User Data\\Default\\History")},
    {55, L"Chrome Cookies", APPDATA_SEED(L"\\Google\\Chrome\\User Data\\Default\\Cookies")},
    {56, L"Chrome Cache", APPDATA_SEED(L"\\Google\\Chrome\\User Data\\Default\\Cache")},
    {57, L"Opera History", APPDATA_SEED(L"\\Opera\\Opera\\User Data\\Default\\History")},
    {58, L"Opera Cookies", APPDATA_SEED(L"\\Opera\\Opera\\User Data\\Default\\cookies")},
    {59, L"Opera Cache", APPDATA_SEED(L"\\Opera\\Opera\\User Data\\Default\\cache")},
};

#undef KEY_SEED
#undef APPDATA_SEED

// Every category's own dispatcher, by the numbers it owns.
int OwningDispatcher(int number) { return number < 8 ? 0 : number < 27 ? 1 : number < 44 ? 2 : 3; }

}  // namespace

// Every number from -1 to 60 through every dispatcher, with every source seeded: exactly the numbers with
// a source produce traces, only through their own dispatcher, under their own name, with the number as
// lParam, each sent right after it was appended.
TEST(SysEvidence, EachNumberFindsItsOwnSourceThroughItsOwnDispatcher)
{
    for (const CategorySeed& s : kSeeds) s.seed();

    CSysEvidence ev;
    MessageRecorder rec = EvidenceRecorder();
    ev.SetParentWnd(rec.Window());
    std::vector<Item>* current = nullptr;
    int mismatched = 0;
    rec.onMessage = [&](const Recorded&, WPARAM wParam) {
        if (current == nullptr || current->empty() || reinterpret_cast<const Item*>(wParam) != &current->back())
            ++mismatched;
    };

    std::map<int, std::wstring> expected;
    for (const CategorySeed& s : kSeeds) expected[s.number] = s.name;

    for (int number = -1; number <= 60; ++number) {
        for (int d = 0; d < 4; ++d) {
            std::vector<Item> items;
            current = &items;
            const size_t before = rec.Messages().size();
            RunDispatcher(ev, d, number, items);
            const bool owns = expected.count(number) && OwningDispatcher(number) == d;
            EXPECT_EQ(!items.empty(), owns) << "number " << number << " dispatcher " << d;
            ASSERT_EQ(rec.Messages().size() - before, items.size()) << number;
            for (size_t i = 0; i < items.size(); ++i) {
                EXPECT_EQ(items[i].category, expected[number]) << number;
                EXPECT_EQ(rec.Messages()[before + i].lParam, number);
                if (items[i].kind == 1)
                    EXPECT_TRUE(items[i].keyPath.empty() && !items[i].filePath.empty()) << number;
                else
                    EXPECT_TRUE(items[i].filePath.empty() && !items[i].keyPath.empty()) << number;
            }
        }
    }
    EXPECT_EQ(mismatched, 0) << "a message did not carry the item just appended";
}

// Registry traces: data read as text up to its first null and never past the bytes read; a value too long
// for the data buffer ends the walk of its key, the values before it are kept.
TEST(SysEvidence, RegistryValuesAreReadSafelyAndALongValueEndsTheKey)
{
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kTypedUrls);
    const std::vector<BYTE> unterminated(256, 'A');          // 128 wide characters, no terminator
    const BYTE embedded[] = {'a', 0, 'b', 0, 0, 0, 'c', 0};  // "ab", null, "c"
    const BYTE odd[] = {'x', 0, 'y'};                        // odd byte count
    const std::vector<BYTE> tooLong(300, 'B');
    ASSERT_EQ(SBRegSetStringValueW(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://one.example/"), 0);
    ASSERT_EQ(SBRegSetBinValueW(HKEY_CURRENT_USER, kTypedUrls, L"url2", unterminated.data(), 256), 0);
    ASSERT_EQ(SBRegSetBinValueW(HKEY_CURRENT_USER, kTypedUrls, L"url3", embedded, sizeof(embedded)), 0);
    ASSERT_EQ(SBRegSetBinValueW(HKEY_CURRENT_USER, kTypedUrls, L"url4", odd, sizeof(odd)), 0);
    ASSERT_EQ(SBRegSetBinValueW(HKEY_CURRENT_USER, kTypedUrls, L"url5", tooLong.data(), 300), 0);
    ASSERT_EQ(SBRegSetStringValueW(HKEY_CURRENT_USER, kTypedUrls, L"url6", L"after"), 0);

    CSysEvidence ev;
    std::vector<Item> items;
    ev.ScanInternetExplorer(1, items);
    ASSERT_EQ(items.size(), 4u);
    const struct {
        const wchar_t* name;
        std::wstring data;
    } want[] = {
        {L"url1", L"http://one.example/"},
        {L"url2", std::wstring(128, static_cast<wchar_t>(0x4141))},
        {L"url3", L"ab"},
        {L"url4", L"x"},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i].keyPath, kTypedUrls);
        EXPECT_EQ(items[i].valueName, want[i].name);
        EXPECT_EQ(items[i].valueData, want[i].data) << want[i].name;
        EXPECT_EQ(items[i].kind, 0);
        EXPECT_EQ(items[i].size, 0);
    }

    // The download folder is a value of the Main key: one trace naming that key and value.
    SBRegSetStringValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Download Directory",
                         L"D:\\Downloads");
    std::vector<Item> dl;
    ev.ScanInternetExplorer(6, dl);
    ASSERT_EQ(dl.size(), 1u);
    EXPECT_EQ(dl[0].keyPath, L"Software\\Microsoft\\Internet Explorer\\Main");
    EXPECT_EQ(dl[0].valueName, L"Download Directory");
    EXPECT_EQ(dl[0].valueData, L"D:\\Downloads");
}

// File traces: every file below the folder with its size, sub-folders after the folder's own files; a
// file in use, a link out of the tree and a relative folder give nothing.
TEST(SysEvidence, FolderTracesListFreeFilesInsideTheTreeOnly)
{
    const std::wstring cache = SpecialFolder(CSIDL_INTERNET_CACHE) + L"\\lumbrey";
    const std::wstring outside = NewTempFolder(L"cacheOutside");
    MakeFile(outside + L"\\foreign.dat", 1);
    MakeFile(cache + L"\\a.dat", 0);
    MakeFile(cache + L"\\z.dat", 10);
    MakeFile(cache + L"\\sub\\c.dat", 5000);
    MakeFile(cache + L"\\locked.dat", 20);
    // A folder link leading out of the cache.
    ASSERT_TRUE(MakeHostSymlink(cache + L"\\escape", HostPath(outside)));
    ASSERT_TRUE(Exists(cache + L"\\escape\\foreign.dat"));
    HeldOpen locked(cache + L"\\locked.dat");
    ASSERT_TRUE(locked.IsOpen());

    CSysEvidence ev;
    std::vector<Item> all;
    ev.ScanInternetExplorer(0, all);
    std::vector<Item> items;
    for (const Item& i : all)
        if (i.filePath.compare(0, cache.size(), cache) == 0) items.push_back(i);
    for (const Item& i : all)
        EXPECT_EQ(i.filePath.find(L"foreign"), std::wstring::npos) << "followed a link out of the cache";

    std::map<std::wstring, int> sizes;
    for (const Item& i : items) {
        sizes[i.filePath] = i.size;
        EXPECT_EQ(i.kind, 1);
        EXPECT_EQ(i.category, L"Cache");
    }
    EXPECT_EQ(sizes, (std::map<std::wstring, int>{
                         {cache + L"\\a.dat", 0}, {cache + L"\\z.dat", 10}, {cache + L"\\sub\\c.dat", 5000}}));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items.back().filePath, cache + L"\\sub\\c.dat") << "sub-folders come after the folder's own files";

    // Send To pointed at an empty or a relative folder: nothing, even with such a folder in the current one.
    const std::wstring cwd = NewTempFolder(L"cwd");
    MakeFile(cwd + L"\\rel\\x.dat", 1);
    SetCurrentDirectoryW(cwd.c_str());
    for (const wchar_t* value : {L"", L"rel", L"\\rel"}) {
        SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"SendTo", value);
        std::vector<Item> none;
        ev.ScanWindowsSystem(28, none);
        EXPECT_TRUE(none.empty()) << "SendTo = '" << std::string(value, value + wcslen(value)) << "'";
    }
}

// The stop flag ends the walk in progress and keeps every later call empty until it is cleared.
TEST(SysEvidence, StopFlagEndsTheWalkUntilCleared)
{
    const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    SBRegDeleteTreeW(HKEY_CURRENT_USER, key);
    for (int i = 0; i < 5; ++i)
        SBRegSetStringValueW(HKEY_CURRENT_USER, key, (L"v" + std::to_wstring(i)).c_str(), L"cmd");

    CSysEvidence ev;
    MessageRecorder rec = EvidenceRecorder();
    ev.SetParentWnd(rec.Window());
    ev.SetParentWnd(NULL);  // ignored: the window stays
    rec.onMessage = [&](const Recorded&, WPARAM) { ev.StopScanEvidence(1); };
    std::vector<Item> items;
    ev.ScanWindowsSystem(27, items);
    EXPECT_EQ(items.size(), 1u);
    EXPECT_EQ(rec.Messages().size(), 1u);

    rec.onMessage = nullptr;
    std::vector<Item> stopped;
    ev.ScanWindowsSystem(27, stopped);
    EXPECT_TRUE(stopped.empty());

    ev.StopScanEvidence(0);
    std::vector<Item> again;
    ev.ScanWindowsSystem(27, again);
    EXPECT_EQ(again.size(), 5u);
}
