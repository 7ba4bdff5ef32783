// Clean of seeded entries: everything deleted is in regbackup.db and comes back byte for byte; failed deletions
// go to the failed-entry list and its file.
#include <shlwapi.h>
#include <sqlite3.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

#include "CategoryFixtures.h"
#include "DatCodec.h"
#include "EngineCapture.h"
#include "QPathText.h"
#include "RegNames.h"
#include "RegSnapshot.h"
#include "TestUtil.h"

using namespace bxtest;

namespace {

std::wstring DbPath() { return bexlar::ProgramFolder() + L"regbackup\\regbackup.db"; }

struct Place {
    HKEY root;
    std::wstring path;
};

std::vector<Place> SnapshotPlaces(const std::wstring& tag)
{
    std::vector<Place> places = {
        {HKEY_LOCAL_MACHINE, kSharedDlls}, {HKEY_CURRENT_USER, kOpenSaveMru}, {HKEY_CURRENT_USER, kFileExts},
        {HKEY_CURRENT_USER, kMenuOrder},   {HKEY_CURRENT_USER, kMuiCache},    {HKEY_LOCAL_MACHINE, kHelp},
        {HKEY_LOCAL_MACHINE, kHtmlHelp},   {HKEY_LOCAL_MACHINE, kAppPaths},   {HKEY_LOCAL_MACHINE, kUninstall}};
    for (const std::wstring& k : ClassesFixtureKeys(tag)) places.push_back({HKEY_CLASSES_ROOT, k});
    return places;
}

std::vector<Snapshot> TakeAll(const std::vector<Place>& places)
{
    std::vector<Snapshot> out;
    for (const Place& p : places) out.push_back(TakeSnapshot(p.root, p.path));
    return out;
}

bool ItemExists(const FixtureEntry& e)
{
    if (e.defaultValue) return ValueExists(e.root, e.subKey, L"");
    return e.valueName.empty() ? KeyExists(e.root, e.subKey) : ValueExists(e.root, e.subKey, e.valueName);
}

TEST(CleanRoundTrip, EverythingDeletedComesBackByteForByte)
{
    const std::wstring tag = UniqueTag() + L"rt";
    std::vector<FixtureEntry> table = SeedCategoryFixtures(tag);

    // A key item with every kind of content below it.
    const HKEY LM = HKEY_LOCAL_MACHINE;
    const std::wstring app = std::wstring(kAppPaths) + tag + L"-gone.exe";
    const BYTE multi[] = {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0};
    const ULONGLONG qword = 0x0123456789ABCDEFull;
    BYTE raw[256];
    for (int i = 0; i < 256; ++i) raw[i] = static_cast<BYTE>(i);
    SetRaw(LM, app, L"empty", REG_BINARY, "", 0);
    SetRaw(LM, app, L"multi", REG_MULTI_SZ, multi, sizeof(multi));
    SetString(LM, app, L"exp", L"%SystemRoot%\\x", REG_EXPAND_SZ);
    SetRaw(LM, app, L"q", REG_QWORD, &qword, sizeof(qword));
    SetRaw(LM, app, L"raw", REG_BINARY, raw, sizeof(raw));
    SetRaw(LM, app, L"unterminated", REG_SZ, "abc", 3);
    SetString(LM, app, L"it's; x'); drop table datainfo; --", L"quoted");
    SetDword(LM, app, std::wstring(2000, L'n'), 5);
    SetString(LM, app + L"\\l1\\l2\\l3\\l4", L"deep", L"value");
    CreateKey(LM, app + L"\\emptysub");
    // A key whose name would break a statement pasted together from text.
    const std::wstring hostile = std::wstring(kUninstall) + tag + L"'); drop table datainfo; --";
    SetString(LM, hostile, L"UninstallString", L"C:\\gone-" + tag + L"\\uninst.exe");
    SetString(LM, hostile, L"DisplayName", L"it's");

    const std::vector<Place> places = SnapshotPlaces(tag);
    const std::vector<Snapshot> before = TakeAll(places);

    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    ASSERT_EQ(engine.Scan(nullptr, nullptr, nullptr, nullptr), 0);
    int selected = SelectTagged(engine, tag);
    int expected = 1;  // the hostile uninstall key
    for (const FixtureEntry& e : table) expected += e.reported;
    ASSERT_EQ(selected, expected);

    capture.messages.clear();
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_FALSE(engine.CleanFailed());  // nested class results count as deleted
    EXPECT_EQ(capture.Count(WM_REGCLEAN_ITEM), selected);
    EXPECT_EQ(capture.messages.back().msg, static_cast<UINT>(WM_REGCLEAN_FINISHED));
    for (const auto& r : engine.GetResults()) EXPECT_FALSE(engine.IsSelected(r));
    for (const FixtureEntry& e : table) EXPECT_EQ(ItemExists(e), !e.reported) << bexlar::Utf8(e.label);
    EXPECT_FALSE(KeyExists(LM, hostile));
    EXPECT_FALSE(KeyExists(LM, app));

    ASSERT_GT(RestoreFromDb(DbPath(), tag), 0);
    const std::vector<Snapshot> after = TakeAll(places);
    for (size_t i = 0; i < places.size(); ++i)
        EXPECT_TRUE(before[i] == after[i]) << bexlar::Utf8(places[i].path) << "\n"
                                           << bexlar::Utf8(DescribeDifference(before[i], after[i]));
}

TEST(CleanRoundTrip, FailedDeletionsAreListedAndNotReportedAgain)
{
    const std::wstring tag = UniqueTag() + L"fail";
    const HKEY CU = HKEY_CURRENT_USER;
    const std::wstring locked = std::wstring(kOpenSaveMru) + tag + L"lock\\";
    const std::wstring open = std::wstring(kOpenSaveMru) + tag + L"open\\";
    SetString(CU, locked, L"a", L"C:\\gone-" + tag + L"\\x.txt");
    SetString(CU, open, L"a", L"C:\\gone-" + tag + L"\\y.txt");
    SetString(CU, open, L"b", L"C:\\gone-" + tag + L"\\z.txt");
    CreateDataFolder();

    CRegistryData engine;
    auto onlyMru = [](REG_SCAN_TYPE type, void*) { return type == RST_OPENSAVEMRU; };
    ASSERT_EQ(engine.Scan(onlyMru, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 3);
    // One value cannot be deleted (read-only key), another vanished after the scan.
    ASSERT_TRUE(SetKeyAccess(CU, locked, KEY_READ | READ_CONTROL | WRITE_DAC));
    ASSERT_EQ(SHDeleteValueW(CU, open.c_str(), L"b"), static_cast<DWORD>(ERROR_SUCCESS));

    EXPECT_NE(engine.Clean(nullptr, nullptr), 0);
    EXPECT_TRUE(engine.CleanFailed());
    EXPECT_TRUE(ValueExists(CU, locked, L"a"));
    EXPECT_FALSE(ValueExists(CU, open, L"a"));

    // The failed value's rows of this run are gone again; the deleted one keeps its row.
    SetKeyAccess(CU, locked, KEY_ALL_ACCESS);
    DeleteTree(CU, locked);
    RestoreFromDb(DbPath(), tag);
    EXPECT_FALSE(KeyExists(CU, locked));
    EXPECT_TRUE(ValueExists(CU, open, L"a"));

    // The file lists both failures in lower case.
    std::wstring text;
    ASSERT_TRUE(bexlar::BkDatLibDecodeParam2(ReadAll(bexlar::ProgramFolder() + L"data\\sregtrash.dat"), &text));
    TiXmlDocument doc;
    doc.Parse(bexlar::Utf8(text).c_str());
    ASSERT_FALSE(doc.Error());
    std::vector<std::wstring> items;
    for (TiXmlElement* e = doc.FirstChildElement("items")->FirstChildElement("item"); e;
         e = e->NextSiblingElement("item"))
        items.push_back(bexlar::FromUtf8(e->GetText() ? e->GetText() : ""));
    auto listed = [&](const std::wstring& s) {
        return std::find(items.begin(), items.end(), qpath::FoldCase(s)) != items.end();
    };
    EXPECT_TRUE(listed(L"HKCU\\" + locked + L"a"));
    EXPECT_TRUE(listed(L"HKCU\\" + open + L"b"));
    EXPECT_FALSE(listed(L"HKCU\\" + open + L"a"));

    // A later scan of this process does not report them again, even in another object.
    SetString(CU, locked, L"a", L"C:\\gone-" + tag + L"\\x.txt");
    SetString(CU, open, L"b", L"C:\\gone-" + tag + L"\\z.txt");
    CRegistryData second;
    ASSERT_EQ(second.Scan(onlyMru, nullptr, nullptr, nullptr), 0);
    std::vector<std::wstring> again;
    for (const auto& r : second.GetResults())
        if (HasTag(r, tag)) again.push_back(r.data.subKey + r.data.valueName);
    EXPECT_EQ(again, std::vector<std::wstring>{open + L"a"});
}

TEST(CleanRoundTrip, AProtectedSubkeyIsBackedUpBeforeItsKeyIsDeleted)
{
    const std::wstring tag = UniqueTag() + L"prot";
    const HKEY LM = HKEY_LOCAL_MACHINE;
    const std::wstring key = std::wstring(kAppPaths) + tag + L".exe";
    SetString(LM, key, L"", L"C:\\gone-" + tag + L"\\app.exe");
    SetString(LM, key + L"\\inner\\deeper", L"secret", L"kept");
    ASSERT_TRUE(SetKeyAccess(LM, key + L"\\inner", 0));
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExW(LM, (key + L"\\inner").c_str(), 0, KEY_READ, &probe), ERROR_ACCESS_DENIED);

    CRegistryData engine;
    auto onlyAppPaths = [](REG_SCAN_TYPE type, void*) { return type == RST_APPPATH; };
    ASSERT_EQ(engine.Scan(onlyAppPaths, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 1);
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_FALSE(KeyExists(LM, key));
    ASSERT_GT(RestoreFromDb(DbPath(), tag), 0);
    EXPECT_TRUE(ValueExists(LM, key + L"\\inner\\deeper", L"secret"));
}

TEST(CleanRoundTrip, AnItemThatCannotBeBackedUpIsKeptAndTheCleanFails)
{
    const std::wstring tag = UniqueTag() + L"odd";
    const HKEY LM = HKEY_LOCAL_MACHINE;
    const std::wstring odd = std::wstring(kAppPaths) + tag + L"-odd.exe";
    const std::wstring plain = std::wstring(kAppPaths) + tag + L"-plain.exe";
    const wchar_t lone[] = {L'n', 0xD800, 0};  // a name the database cannot hold
    SetString(LM, odd, L"", L"C:\\gone-" + tag + L"\\a.exe");
    SetString(LM, odd, lone, L"x");
    SetString(LM, plain, L"", L"C:\\gone-" + tag + L"\\b.exe");

    CRegistryData engine;
    auto onlyAppPaths = [](REG_SCAN_TYPE type, void*) { return type == RST_APPPATH; };
    ASSERT_EQ(engine.Scan(onlyAppPaths, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 2);
    // The last deletion succeeds, yet the clean as a whole does not.
    EXPECT_NE(engine.Clean(nullptr, nullptr), 0);
    EXPECT_TRUE(engine.CleanFailed());
    EXPECT_TRUE(ValueExists(LM, odd, lone));
    EXPECT_FALSE(KeyExists(LM, plain));
    // Nothing failed to delete: the next scan shows the kept entry again.
    ASSERT_EQ(engine.Scan(onlyAppPaths, nullptr, nullptr, nullptr), 0);
    int tagged = 0;
    for (const auto& r : engine.GetResults()) tagged += HasTag(r, tag);
    EXPECT_EQ(tagged, 1);
}

TEST(CleanRoundTrip, ALinkInsideABadClassIsRemovedAsALinkAndComesBackAsOne)
{
    const std::wstring tag = UniqueTag() + L"link";
    const HKEY CR = HKEY_CLASSES_ROOT, CU = HKEY_CURRENT_USER;
    const std::wstring cls = L"CLSID\\{" + tag + L"}";
    const std::wstring target = L"Software\\BexlarLinkTarget\\" + tag;
    SetString(CR, cls + L"\\InprocServer32", L"", L"C:\\gone-" + tag + L"\\a.dll");
    SetString(CU, target + L"\\inner", L"data", L"must survive");
    ASSERT_TRUE(CreateLinkKey(CR, cls + L"\\Elsewhere", CU, target));

    CRegistryData engine;
    auto onlyCom = [](REG_SCAN_TYPE type, void*) { return type == RST_COM; };
    ASSERT_EQ(engine.Scan(onlyCom, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 1);
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_FALSE(KeyExists(CR, cls));
    EXPECT_TRUE(ValueExists(CU, target + L"\\inner", L"data")) << "the link's target was deleted through it";

    ASSERT_GT(RestoreFromDb(DbPath(), tag), 0);
    EXPECT_TRUE(IsLink(CR, cls + L"\\Elsewhere"));
    EXPECT_TRUE(ValueExists(CR, cls + L"\\Elsewhere\\inner", L"data"));
    EXPECT_FALSE(KeyExists(CR, cls + L"\\inner")) << "the target was backed up under the link's path";
}

TEST(CleanRoundTrip, ALockedDatabaseEndsTheCleanAtOnceWithNothingDeleted)
{
    const std::wstring tag = UniqueTag() + L"lock";
    const std::wstring mru = std::wstring(kOpenSaveMru) + tag + L"\\";
    const wchar_t* names[] = {L"a", L"b", L"c", L"d", L"e", L"f"};
    for (const wchar_t* n : names) SetString(HKEY_CURRENT_USER, mru, n, L"C:\\gone-" + tag + L"\\" + n + L".txt");

    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    auto onlyMru = [](REG_SCAN_TYPE type, void*) { return type == RST_OPENSAVEMRU; };
    ASSERT_EQ(engine.Scan(onlyMru, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 6);

    // Another writer holds the database for the whole clean.
    CreateDirectoryW((bexlar::ProgramFolder() + L"regbackup").c_str(), nullptr);
    sqlite3* other = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(bexlar::Utf8(DbPath()).c_str(), &other, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    capture.messages.clear();
    const DWORD start = GetTickCount();
    const long result = engine.Clean(nullptr, nullptr);
    const DWORD elapsed = GetTickCount() - start;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_NE(result, 0);
    EXPECT_TRUE(engine.CleanFailed());
    // The run gave up once, at the start, instead of waiting for the lock item after item.
    EXPECT_EQ(capture.Count(WM_REGCLEAN_ITEM), 0);
    EXPECT_EQ(capture.Count(WM_REGCLEAN_FINISHED), 1);
    for (const wchar_t* n : names) EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, mru, n)) << n;
    std::printf("a clean against a locked database ended after %lu ms\n", static_cast<unsigned long>(elapsed));
}

}  // namespace
