// Rules of the registry page without windows: texts of a result, the category filter and which rows a clean removes.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "RegCategories.h"
#include "RegCleanBookkeeping.h"
#include "RegResultText.h"

namespace {

CRegistryData::SCAN_RESULT Result(REG_SCAN_TYPE type, HKEY root, const wchar_t* subKey, const wchar_t* value,
                                  int reason = RSR_FILE_NOT_FOUND, const wchar_t* detail = L"")
{
    CRegistryData::SCAN_RESULT r;
    r.type = type;
    r.data.root = root;
    r.data.subKey = subKey;
    r.data.valueName = value;
    r.reason = reason;
    r.detail = detail;
    return r;
}

TEST(RegResultText, RootNamesAndPathLeaveOutTheValueName)
{
    struct Case {
        HKEY root;
        const wchar_t* expected;
    } cases[] = {
        {HKEY_CLASSES_ROOT, L"HKCR\\A\\B\\"},
        {HKEY_CURRENT_USER, L"HKCU\\A\\B\\"},
        {HKEY_LOCAL_MACHINE, L"HKLM\\A\\B\\"},
        {HKEY_USERS, L"HKU\\A\\B\\"},
        {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG\\A\\B\\"},
        {HKEY_PERFORMANCE_DATA, L"\\A\\B\\"},
    };
    for (const Case& c : cases) {
        CRegistryData::REG_DATA d;
        d.root = c.root;
        d.subKey = L"A\\B\\";
        d.valueName = L"ignored";
        EXPECT_EQ(c.expected, GetRootKeyShortName(d));
    }
}

TEST(RegResultText, ReasonKeysAndLines)
{
    EXPECT_STREQ(L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND", RegReasonKey(1));
    EXPECT_STREQ(L"IDS_SCAN_CLEAN_REGISTRY_REASON_JUNK_VALUE", RegReasonKey(2));
    EXPECT_STREQ(L"IDS_SCAN_CLEAN_REGISTRY_REASON_NO_SUB_VALUES", RegReasonKey(3));
    EXPECT_STREQ(L"IDS_SCAN_CLEAN_REGISTRY_REASON_TYPELIB_NOT_REGISTERED", RegReasonKey(4));
    EXPECT_EQ(nullptr, RegReasonKey(0));
    EXPECT_EQ(nullptr, RegReasonKey(5));

    // A result without a reason text still starts its first line with the blank.
    auto r = Result(RST_MUICACHE, HKEY_CURRENT_USER, L"Software\\M\\", L"C:\\gone.exe", 0, L"C:\\gone.exe");
    RegResultLines lines = MakeRegResultLines(r, [](const std::wstring& key) { return key; });
    EXPECT_EQ(L" C:\\gone.exe", lines.title);
    EXPECT_EQ(L"HKCU\\Software\\M\\", lines.path);
    std::wstring text = JoinRegResultLines(lines), title, rest;
    EXPECT_EQ(L" C:\\gone.exe\nHKCU\\Software\\M\\\n", text);
    SplitRegResultText(text, title, rest);
    EXPECT_EQ(L" C:\\gone.exe", title);
    EXPECT_EQ(L"HKCU\\Software\\M\\\n", rest);
    // A line break at position 0 does not split.
    SplitRegResultText(L"\nx", title, rest);
    EXPECT_EQ(L"\nx", title);
    EXPECT_EQ(L"", rest);
}

// A dictionary of a few texts; any other key comes back as itself.
std::wstring GermanText(const std::wstring& key)
{
    static const std::map<std::wstring, std::wstring> texts = {
        {L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND", L"Datei nicht gefunden:"},
        {L"IDS_SCAN_CLEAN_REGISTRY_REASON_JUNK_VALUE", L"Veralteter Eintrag:"},
        {L"IDS_SCAN_CLEAN_REGISTRY_DETAIL_PATH_MISSING", L"\"%s\" ist nicht vorhanden"},
        {L"IDS_SCAN_CLEAN_REGISTRY_DETAIL_NO_INSTALL_INFO", L"Die Installationsdaten von \"%s\" fehlen"},
        {L"Bekannter Text", L"Known text"},
    };
    auto found = texts.find(key);
    return found == texts.end() ? key : found->second;
}

bool HasHanCharacter(const std::wstring& text)
{
    for (wchar_t c : text)
        if (c >= 0x4E00 && c <= 0x9FFF) return true;
    return false;
}

TEST(RegResultText, DescriptionsGoThroughTheDictionaryAndAreNeverEmpty)
{
    struct Case {
        const wchar_t* subKey;
        const wchar_t* value;
        const wchar_t* detail;
        const wchar_t* expected;
    } cases[] = {
        // Engine wordings around a path or a name; a % in the path is not a format.
        {L"P\\a.exe\\", L"", L"\"C:\\100%s\\a.exe\"\u4E0D\u5B58\u5728", L"\"C:\\100%s\\a.exe\" ist nicht vorhanden"},
        {L"U\\Gone\\", L"", L"\u201CGone\u201D\u5BF9\u5E94\u7684\u5B89\u88C5\u4FE1\u606F\u4E0D\u5B58\u5728",
         L"Die Installationsdaten von \"Gone\" fehlen"},
        {L"P\\b.exe\\", L"", L"\"\"\u4E0D\u5B58\u5728", L"\"\" ist nicht vorhanden"},
        // Only the start of a wording: shown as it is.
        {L"P\\c.exe\\", L"", L"\"C:\\c.exe\"", L"\"C:\\c.exe\""},
        // Paths and names are looked up too: unknown ones show unchanged, known ones translated.
        {L"K\\", L"v", L"C:\\gone.exe", L"C:\\gone.exe"},
        {L"K\\", L"v", L"Bekannter Text", L"Known text"},
        // No description: the value name, else the key's last part.
        {L"K\\", L"C:\\x.dll", L"", L"C:\\x.dll"},
        {L".xyz\\", L"", L"", L".xyz"},
        {L"A\\B\\\\", L"", L"", L"B"},
        {L"", L"", L"", L"HKCR\\"},
    };
    for (const Case& c : cases) {
        auto r = Result(RST_APPPATH, HKEY_CLASSES_ROOT, c.subKey, c.value, RSR_JUNK_VALUE, c.detail);
        EXPECT_EQ(c.expected, RegResultDetailText(r, &GermanText)) << c.subKey;
        EXPECT_EQ(std::wstring(L"Veralteter Eintrag: ") + c.expected, MakeRegResultLines(r, &GermanText).title);
    }
}

// The engine's own results for a missing program path and a leftover uninstall entry read in the dictionary's
// language, never in the engine's.
TEST(RegResultText, EngineResultsReadInTheDictionaryLanguage)
{
    const std::wstring appPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\quorvel-gone.exe";
    const std::wstring uninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\QuorvelGone";
    const wchar_t missing[] = L"C:\\quorvel-nowhere\\gone.exe";
    for (const std::wstring& key : {appPaths, uninstall}) {
        HKEY k = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &k, nullptr));
        const wchar_t* name = key == uninstall ? L"UninstallString" : L"";
        RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof(missing));
        RegCloseKey(k);
    }

    std::vector<CRegistryData::SCAN_RESULT> found;
    CRegistryData engine;
    engine.Scan([](REG_SCAN_TYPE type, void*) { return type == RST_APPPATH || type == RST_UNINSTALL; }, nullptr,
                [](const CRegistryData::SCAN_RESULT* r, void* user) {
                    if (r->data.subKey.find(L"uorvel") != std::wstring::npos)
                        static_cast<std::vector<CRegistryData::SCAN_RESULT>*>(user)->push_back(*r);
                    return true;
                },
                &found);
    for (const std::wstring& key : {appPaths, uninstall}) RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());

    ASSERT_EQ(2u, found.size());
    for (const auto& r : found) {
        const std::wstring title = MakeRegResultLines(r, &GermanText).title;
        EXPECT_FALSE(HasHanCharacter(title)) << r.data.subKey;
        EXPECT_EQ(0u, title.find(L"Datei nicht gefunden: ")) << r.data.subKey;
        const std::wstring expected = r.type == RST_APPPATH ? L"\"" + std::wstring(missing) + L"\" ist nicht vorhanden"
                                                            : L"Die Installationsdaten von \"QuorvelGone\" fehlen";
        EXPECT_NE(std::wstring::npos, title.find(expected)) << r.data.subKey;
    }
}

TEST(RegCategories, TitleKeysAndFilterAnswers)
{
    EXPECT_EQ(L"IDS_SCAN_CLEAN_REGISTRY_RST_SHAREDDLL", RegCategoryTitleKey(0));
    EXPECT_EQ(L"IDS_SCAN_CLEAN_REGISTRY_RST_COM", RegCategoryTitleKey(9));
    for (int row = 0; row < kRegCategoryCount; ++row) EXPECT_EQ(row, FindRegCategoryRow(RegCategoryAt(row).type));

    RegSelection sel;
    EXPECT_FALSE(sel.Any());
    sel.SetRow(FindRegCategoryRow(RST_HELP), true);
    sel.SetRow(FindRegCategoryRow(RST_COM), true);
    sel.SetRow(42, true);  // out of range: ignored
    for (int type = 0; type < 10; ++type) EXPECT_EQ(type == RST_HELP || type == RST_COM, sel.Wants(type)) << type;
    // A category the page has no row for is scanned.
    EXPECT_TRUE(sel.Wants(10));
    EXPECT_TRUE(sel.Wants(-1));
}

TEST(RegCleanBookkeeping, OnlyRowsWhoseItemIsGoneAreRemoved)
{
    auto a = Result(RST_MUICACHE, HKEY_CURRENT_USER, L"K\\", L"a");
    auto b = Result(RST_MUICACHE, HKEY_CURRENT_USER, L"K\\", L"b");
    auto c = Result(RST_APPPATH, HKEY_LOCAL_MACHINE, L"P\\c.exe\\", L"");
    auto d = Result(RST_COM, HKEY_CLASSES_ROOT, L"CLSID\\{x}\\", L"");
    RegCleanBookkeeping book;
    book.Begin({&a, &b, &c, &d});  // d unchecked: the engine never cleans it

    // The engine sends copies, in its own order.
    auto copyC = c, copyA = a, copyB = b;
    EXPECT_EQ(2, book.OnItem(copyC));
    EXPECT_EQ(0, book.OnItem(copyA));
    EXPECT_EQ(2, book.RowsLeftIfAllSucceed());
    EXPECT_EQ(1, book.OnItem(copyB));
    EXPECT_EQ(-1, book.OnItem(Result(RST_MUICACHE, HKEY_CURRENT_USER, L"K\\", L"A")));  // case matters
    EXPECT_EQ(3, book.Attempted());

    // b could not be deleted.
    auto outcome = book.Finish([&](const CRegistryData::REG_DATA& item) { return item.valueName == L"b"; });
    EXPECT_EQ((std::vector<int>{2, 0}), outcome.removed);
    EXPECT_EQ(1, outcome.failed);
    EXPECT_EQ(2, outcome.rowsLeft);
}

TEST(RegCleanBookkeeping, ItemExistsReadsTheRegistry)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QuorvelTest\\Exists", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD one = 1;
    RegSetValueExW(key, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(key);

    struct Case {
        const wchar_t* subKey;
        const wchar_t* value;
        bool exists;
    } cases[] = {
        {L"Software\\QuorvelTest\\Exists\\", L"", true},   {L"Software\\QuorvelTest\\Exists\\", L"v", true},
        {L"Software\\QuorvelTest\\Exists\\", L"w", false}, {L"Software\\QuorvelTest\\Gone\\", L"", false},
        {L"Software\\QuorvelTest\\Gone\\", L"v", false},
    };
    for (const Case& c : cases) {
        CRegistryData::REG_DATA d;
        d.root = HKEY_CURRENT_USER;
        d.subKey = c.subKey;
        d.valueName = c.value;
        EXPECT_EQ(c.exists, RegItemExists(d)) << c.subKey << c.value;
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuorvelTest\\Exists");
}

}  // namespace
