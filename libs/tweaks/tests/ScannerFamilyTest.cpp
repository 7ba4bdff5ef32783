// The scanner family: each scanner finds a seeded problem and passes over a healthy entry of the same kind. The
// scanners also walk the prefix's real keys, so findings are filtered by the fixtures' names.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <Tessik/RegScanner.h>

#include <vector>

#include "EmptyKeyWalk.h"
#include "RegFixture.h"

using namespace tessik_test;

namespace {

struct Finding {
    int category;
    HKEY root;
    std::wstring keyPath, valueName, data;
    bool valueLevel;
    int reason;
};

std::vector<Finding> g_findings;

LRESULT CALLBACK Recorder(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_REGSCANNER_ITEM_FOUND) {
        const RegScanIssueRecord* r = reinterpret_cast<const RegScanIssueRecord*>(wParam);
        g_findings.push_back({r->category, r->root, r->keyPath, r->valueName, r->data, r->valueLevel, r->reason});
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// The address of a function, whatever its type (entry points of the table and of the export table compared).
template <typename Fn>
uintptr_t Address(Fn fn)
{
    uintptr_t address = 0;
    memcpy(&address, &fn, sizeof(address));
    return address;
}

class ScannerFamily : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Recorder;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvScannerRecorder";
        RegisterClassW(&wc);
    }
    void SetUp() override
    {
        m_wnd = CreateWindowW(L"QvScannerRecorder", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_wnd);
        memcpy(m_context + kRegScannerWindowOffset, &m_wnd, sizeof(m_wnd));
        g_findings.clear();
    }
    void TearDown() override { DestroyWindow(m_wnd); }

    // Runs scanner `index` and returns its findings whose key path or value name contains `marker`.
    std::vector<Finding> Run(unsigned index, const wchar_t* marker)
    {
        g_findings.clear();
        void* context = m_context;
        RegScannerProc scanner = getScanner(index);
        EXPECT_NE(nullptr, scanner);
        if (!scanner) return {};
        EXPECT_EQ(0, scanner(&context));
        std::vector<Finding> found;
        for (const Finding& f : g_findings) {
            EXPECT_EQ(int(index), f.category);
            if (f.keyPath.find(marker) != std::wstring::npos || f.valueName.find(marker) != std::wstring::npos)
                found.push_back(f);
        }
        return found;
    }

    HWND m_wnd = nullptr;
    alignas(void*) char m_context[64] = {};
};

TEST_F(ScannerFamily, IndexTableAliasesAndNullContexts)
{
    EXPECT_EQ(nullptr, getScanner(16));
    EXPECT_EQ(nullptr, getScanner(1000));
    EXPECT_EQ(getScanner(9), getScanner(10));
    HMODULE tessik = GetModuleHandleW(L"Tessik.dll");
    ASSERT_NE(nullptr, tessik);
    const uintptr_t shortcut = Address(GetProcAddress(tessik, "Scanner_InvalidShortcut"));
    ASSERT_NE(0u, shortcut);
    EXPECT_EQ(shortcut, Address(GetProcAddress(tessik, "Scanner_SoundSection")));
    EXPECT_EQ(shortcut, Address(GetProcAddress(tessik, "Scanner_StartupMenuItem")));
    EXPECT_EQ(shortcut, Address(getScanner(9)));
    EXPECT_EQ(Address(GetProcAddress(tessik, "Scanner_RecentFile")), Address(getScanner(7)));

    void* none = nullptr;
    for (unsigned i = 0; i < 16; ++i) {
        EXPECT_EQ(0, getScanner(i)(nullptr)) << i;
        EXPECT_EQ(0, getScanner(i)(&none)) << i;
    }
    EXPECT_TRUE(Run(9, L"").empty());
}

TEST_F(ScannerFamily, RecentCommandsAreAllReportedMruListIncluded)
{
    const wchar_t mru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    DeleteTree(HKEY_CURRENT_USER, mru);
    SetText(HKEY_CURRENT_USER, mru, L"a", L"notepad\\1");
    SetText(HKEY_CURRENT_USER, mru, L"b", L"cmd\\1");
    SetText(HKEY_CURRENT_USER, mru, L"c", L"regedit\\1");
    SetText(HKEY_CURRENT_USER, mru, L"MRUList", L"cba");
    std::vector<Finding> found = Run(7, L"RunMRU");
    ASSERT_EQ(4u, found.size());
    for (const Finding& f : found) {
        EXPECT_EQ(3, f.reason);
        EXPECT_TRUE(f.valueLevel);
        EXPECT_EQ(HKEY_CURRENT_USER, f.root);
    }
    bool sawList = false;
    for (const Finding& f : found) sawList |= f.valueName == L"MRUList" && f.data == L"cba";
    EXPECT_TRUE(sawList);
    DeleteTree(HKEY_CURRENT_USER, mru);
}

TEST_F(ScannerFamily, SharedDllsWithoutUsersAndFile)
{
    const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
    SetDword(HKEY_LOCAL_MACHINE, key, L"C:\\QvGone\\unused.dll", 0);
    SetDword(HKEY_LOCAL_MACHINE, key, L"C:\\QvGone\\used.dll", 2);
    SetDword(HKEY_LOCAL_MACHINE, key, L"C:\\windows\\system32\\kernel32.dll", 0);
    std::vector<Finding> found = Run(8, L"QvGone");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"C:\\QvGone\\unused.dll", found[0].valueName);
    EXPECT_EQ(L"C:\\QvGone\\unused.dll", found[0].data);
    EXPECT_EQ(0, found[0].reason);
    EXPECT_TRUE(Run(8, L"kernel32.dll").empty());
}

TEST_F(ScannerFamily, UninstallEntriesWithMissingProgramsUnlessProtected)
{
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    SetText(HKEY_LOCAL_MACHINE, key + L"QvBroken", L"UninstallString", L"\"C:\\QvGone\\setup.exe\" /remove");
    SetText(HKEY_LOCAL_MACHINE, key + L"QvSystem", L"UninstallString", L"C:\\QvGone\\setup.exe");
    SetDword(HKEY_LOCAL_MACHINE, key + L"QvSystem", L"SystemComponent", 1);
    SetText(HKEY_LOCAL_MACHINE, key + L"QvNoRemove", L"UninstallString", L"C:\\QvGone\\setup.exe");
    SetDword(HKEY_LOCAL_MACHINE, key + L"QvNoRemove", L"NoRemove", 1);
    SetText(HKEY_LOCAL_MACHINE, key + L"QvHealthy", L"UninstallString", L"notepad.exe /x");
    std::vector<Finding> found = Run(14, L"\\Qv");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(key + L"QvBroken", found[0].keyPath);
    EXPECT_EQ(L"UninstallString", found[0].valueName);
    EXPECT_EQ(L"", found[0].data);
    for (const wchar_t* n : {L"QvBroken", L"QvSystem", L"QvNoRemove", L"QvHealthy"})
        DeleteTree(HKEY_LOCAL_MACHINE, key + n);
}

TEST_F(ScannerFamily, OwnProcessServicesWithMissingImages)
{
    const std::wstring key = L"System\\CurrentControlSet\\Services\\";
    SetDword(HKEY_LOCAL_MACHINE, key + L"QvSvcBroken", L"Type", 16);
    SetText(HKEY_LOCAL_MACHINE, key + L"QvSvcBroken", L"ImagePath", L"C:\\QvGone\\svc.exe -k x");
    SetDword(HKEY_LOCAL_MACHINE, key + L"QvSvcShared", L"Type", 32);
    SetText(HKEY_LOCAL_MACHINE, key + L"QvSvcShared", L"ImagePath", L"C:\\QvGone\\svc.exe");
    SetDword(HKEY_LOCAL_MACHINE, key + L"QvSvcHealthy", L"Type", 16);
    SetText(HKEY_LOCAL_MACHINE, key + L"QvSvcHealthy", L"ImagePath", L"%SystemRoot%\\system32\\services.exe",
            REG_EXPAND_SZ);
    std::vector<Finding> found = Run(12, L"QvSvc");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(key + L"QvSvcBroken", found[0].keyPath);
    EXPECT_EQ(L"ImagePath", found[0].valueName);
    EXPECT_EQ(L"C:\\QvGone\\svc.exe -k x", found[0].data);
    EXPECT_FALSE(found[0].valueLevel);
    for (const wchar_t* n : {L"QvSvcBroken", L"QvSvcShared", L"QvSvcHealthy"}) DeleteTree(HKEY_LOCAL_MACHINE, key + n);
}

TEST_F(ScannerFamily, AppPathsAndRunEntriesWithMissingPrograms)
{
    const std::wstring paths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    SetText(HKEY_LOCAL_MACHINE, paths + L"qvgone.exe", nullptr, L"C:\\QvGone\\qvgone.exe");
    SetText(HKEY_LOCAL_MACHINE, paths + L"qvquoted.exe", nullptr, L"\"C:\\windows\\notepad.exe\"");
    std::vector<Finding> found = Run(1, L"qv");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(paths + L"qvgone.exe", found[0].keyPath);
    EXPECT_EQ(L"C:\\QvGone\\qvgone.exe", found[0].data);

    const wchar_t run[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    SetText(HKEY_CURRENT_USER, run, L"QvMissing", L"%TEMP%\\qv_missing.exe /q", REG_EXPAND_SZ);
    SetText(HKEY_CURRENT_USER, run, L"QvHealthy", L"%SystemRoot%\\notepad.exe", REG_EXPAND_SZ);
    found = Run(11, L"Qv");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"QvMissing", found[0].valueName);
    EXPECT_EQ(L"%TEMP%\\qv_missing.exe /q", found[0].data);  // as stored
    EXPECT_EQ(HKEY_CURRENT_USER, found[0].root);
    EXPECT_TRUE(found[0].valueLevel);
    DeleteTree(HKEY_LOCAL_MACHINE, paths + L"qvgone.exe");
    DeleteTree(HKEY_LOCAL_MACHINE, paths + L"qvquoted.exe");
    DeleteTree(HKEY_CURRENT_USER, run);
}

TEST_F(ScannerFamily, ClassServersAndTypeLibraries)
{
    const std::wstring broken = L"{6D1C0000-0000-4000-8000-00000000A001}";
    const std::wstring healthy = L"{6D1C0000-0000-4000-8000-00000000A002}";
    const std::wstring library = L"{6D1C0000-0000-4000-8000-00000000B001}";
    SetText(HKEY_CLASSES_ROOT, L"CLSID\\" + broken + L"\\InProcServer32", nullptr, L"C:\\QvGone\\server.dll");
    SetText(HKEY_CLASSES_ROOT, L"CLSID\\" + broken + L"\\Typelib", nullptr, library);
    SetText(HKEY_CLASSES_ROOT, L"CLSID\\" + healthy + L"\\InProcServer32", nullptr, L"ole32.dll");
    std::vector<Finding> found = Run(0, L"6D1C0000");
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(L"CLSID\\" + broken + L"\\InProcServer32", found[0].keyPath);
    EXPECT_EQ(L"C:\\QvGone\\server.dll", found[0].data);
    EXPECT_EQ(L"CLSID\\" + broken + L"\\TypeLib", found[1].keyPath);
    EXPECT_EQ(library, found[1].data);
    DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + broken);
    DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + healthy);

    const struct {
        unsigned index;
        HKEY root;
    } scanners[] = {{13, HKEY_LOCAL_MACHINE}, {15, HKEY_CURRENT_USER}};
    for (const auto& s : scanners) {
        const std::wstring base = L"Software\\Classes\\CLSID\\";
        SetText(s.root, base + broken + L"\\LocalServer32", nullptr, L"\"C:\\QvGone\\server.exe\" -Embedding");
        SetText(s.root, base + healthy + L"\\LocalServer32", nullptr, L"C:\\windows\\notepad.exe");
        found = Run(s.index, L"6D1C0000");
        ASSERT_EQ(1u, found.size()) << s.index;
        EXPECT_EQ(base + broken + L"\\LocalServer32", found[0].keyPath);
        EXPECT_EQ(s.root, found[0].root);
        DeleteTree(s.root, base + broken);
        DeleteTree(s.root, base + healthy);
    }
}

TEST_F(ScannerFamily, FileExtensionListsAndAssociations)
{
    const std::wstring exts = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.qvt";
    SetText(HKEY_CURRENT_USER, exts + L"\\OpenWithProgids", L"QvNoSuchProgId", L"");
    SetText(HKEY_CURRENT_USER, exts + L"\\OpenWithProgids", L"txtfile", L"");
    SetText(HKEY_CURRENT_USER, exts + L"\\OpenWithList", L"a", L"qvnoapp.exe");
    SetText(HKEY_CURRENT_USER, exts + L"\\OpenWithList", L"MRUList", L"a");
    std::vector<Finding> found = Run(3, L".qvt");
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(exts + L"\\OpenWithProgids", found[0].keyPath);
    EXPECT_EQ(L"QvNoSuchProgId", found[0].valueName);
    EXPECT_EQ(L"QvNoSuchProgId", found[0].data);
    EXPECT_EQ(exts + L"\\OpenWithList", found[1].keyPath);
    EXPECT_EQ(L"a", found[1].valueName);
    EXPECT_EQ(L"qvnoapp.exe", found[1].data);
    DeleteTree(HKEY_CURRENT_USER, exts);

    CreateKey(HKEY_CLASSES_ROOT, L".qvtest\\OpenWithList\\qvnoapp.exe");
    CreateKey(HKEY_CLASSES_ROOT, L".qvtest\\OpenWithList\\qvapp.exe");
    CreateKey(HKEY_CLASSES_ROOT, L"Applications\\qvapp.exe");
    found = Run(6, L".qvtest");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L".qvtest\\OpenWithList\\qvnoapp.exe", found[0].keyPath);
    EXPECT_EQ(L"qvnoapp.exe", found[0].data);
    DeleteTree(HKEY_CLASSES_ROOT, L".qvtest");
    DeleteTree(HKEY_CLASSES_ROOT, L"Applications\\qvapp.exe");
}

TEST_F(ScannerFamily, FontAndHelpFilesThatDoNotExist)
{
    wchar_t fonts[MAX_PATH] = L"";
    ASSERT_HRESULT_SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_FONTS | CSIDL_FLAG_CREATE, nullptr, 0, fonts));
    const std::wstring present = std::wstring(fonts) + L"\\qvpresent.ttf";
    CloseHandle(CreateFileW(present.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const wchar_t fontKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
    SetText(HKEY_LOCAL_MACHINE, fontKey, L"QvMissing (TrueType)", L"qvmissing.ttf");
    SetText(HKEY_LOCAL_MACHINE, fontKey, L"QvPresent (TrueType)", L"qvpresent.ttf");
    std::vector<Finding> found = Run(4, L"QvM");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"qvmissing.ttf", found[0].data);
    EXPECT_TRUE(Run(4, L"QvPresent").empty());
    DeleteValue(HKEY_LOCAL_MACHINE, fontKey, L"QvMissing (TrueType)");
    DeleteValue(HKEY_LOCAL_MACHINE, fontKey, L"QvPresent (TrueType)");
    DeleteFileW(present.c_str());

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring helpFile = std::wstring(temp) + L"qvpresent.hlp";
    CloseHandle(CreateFileW(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const wchar_t helpKey[] = L"Software\\Microsoft\\Windows\\Help";
    SetText(HKEY_LOCAL_MACHINE, helpKey, L"qvmissing.hlp", L"%SystemRoot%\\help", REG_EXPAND_SZ);
    SetText(HKEY_LOCAL_MACHINE, helpKey, L"qvpresent.hlp", temp);
    found = Run(5, L"qv");
    ASSERT_EQ(1u, found.size());
    wchar_t windows[MAX_PATH];
    GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\help\\qvmissing.hlp", found[0].data);
    DeleteTree(HKEY_LOCAL_MACHINE, helpKey);
    DeleteFileW(helpFile.c_str());
}

TEST_F(ScannerFamily, EmptyKeysBelowUsersSkipDefaultAndUserHives)
{
    // Below HKEY_USERS Wine has only ".DEFAULT" and a long SID: nothing is walked.
    EXPECT_TRUE(Run(2, L"").empty());
}

TEST(EmptyKeyWalk, ReportsOnlyKeysWithoutSubkeysOrValuesAtAnyDepth)
{
    const std::wstring root = L"Software\\QvTest";
    DeleteTree(HKEY_CURRENT_USER, root);
    CreateKey(HKEY_CURRENT_USER, root + L"\\a\\b");
    SetText(HKEY_CURRENT_USER, root + L"\\c", L"v", L"x");
    std::wstring deep = root + L"\\d";
    for (int i = 0; i < 150; ++i) deep += L"\\k";
    CreateKey(HKEY_CURRENT_USER, deep);

    HKEY start = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, root.c_str(), 0, KEY_READ, &start));
    std::vector<std::wstring> reported;
    tessik::WalkEmptyKeys(start, L"\\" + root, [&](const std::wstring& p) { reported.push_back(p); });
    RegCloseKey(start);
    ASSERT_EQ(2u, reported.size());
    EXPECT_EQ(root + L"\\a\\b", reported[0]);
    EXPECT_EQ(deep, reported[1]);
    DeleteTree(HKEY_CURRENT_USER, root);
}

}  // namespace
