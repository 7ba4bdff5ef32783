// A clean whose backup database cannot be opened deletes nothing. It runs in a copy of this program in its own
// folder, where "regbackup" is a file, so the shared program folder of the other tests stays usable.
#include <gtest/gtest.h>

#include <vector>

#include "CategoryFixtures.h"
#include "EngineCapture.h"
#include "RegNames.h"
#include "TestUtil.h"

using namespace bxtest;

namespace {

TEST(CleanWithoutBackup, DISABLED_NothingIsDeletedWithoutABackup) {
    const std::wstring folder = bexlar::ProgramFolder();
    ASSERT_TRUE(FileExists(folder + L"regbackup"));
    const std::wstring tag = UniqueTag() + L"nodb";
    const std::wstring mru = std::wstring(kOpenSaveMru) + tag + L"\\";
    SetString(HKEY_CURRENT_USER, mru, L"a", L"C:\\gone-" + tag + L"\\x.txt");
    SetString(HKEY_CURRENT_USER, mru, L"b", L"C:\\gone-" + tag + L"\\y.txt");

    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    auto onlyMru = [](REG_SCAN_TYPE type, void*) { return type == RST_OPENSAVEMRU; };
    ASSERT_EQ(engine.Scan(onlyMru, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 2);
    capture.messages.clear();
    EXPECT_NE(engine.Clean(nullptr, nullptr), 0);
    EXPECT_EQ(engine.m_bCleanFailed, 1);
    EXPECT_EQ(capture.Count(WM_REGCLEAN_ITEM), 2);
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, mru, L"a"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, mru, L"b"));
    // Nothing failed to delete, so the next scan shows them again.
    ASSERT_EQ(engine.Scan(onlyMru, nullptr, nullptr, nullptr), 0);
    int tagged = 0;
    for (const auto& r : engine.m_results) tagged += HasTag(r, tag);
    EXPECT_EQ(tagged, 2);
}

bool CopyBeside(const std::wstring& from, const std::wstring& to, const std::wstring& pattern) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((from + pattern).c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        ok = ok && CopyFileW((from + fd.cFileName).c_str(), (to + fd.cFileName).c_str(), FALSE);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return ok;
}

TEST(CleanWithoutBackup, RunsInACopyOfTheProgram) {
    const std::wstring from = bexlar::ProgramFolder();
    const std::wstring to = NewTempDir(L"isolated") + L"\\";
    wchar_t self[MAX_PATH + 1];
    DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self, n);
    std::wstring name = exe.substr(exe.find_last_of(L'\\') + 1);
    ASSERT_TRUE(CopyFileW(exe.c_str(), (to + name).c_str(), FALSE));
    ASSERT_TRUE(CopyBeside(from, to, L"Bexlar.dll"));
    ASSERT_TRUE(CopyBeside(from, to, L"lib*.dll"));
    MakeFile(to + L"regbackup");

    std::wstring cmd = L"\"" + to + name +
                       L"\" --gtest_also_run_disabled_tests "
                       L"--gtest_filter=CleanWithoutBackup.DISABLED_NothingIsDeletedWithoutABackup";
    std::vector<wchar_t> line(cmd.begin(), cmd.end());
    line.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, to.c_str(), &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << "the copy's test failed; its output is above";
}

}  // namespace
