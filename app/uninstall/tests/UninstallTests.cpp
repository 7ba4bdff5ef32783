// The installer's clean-up helper on a copy of the program installed in a folder of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <initguid.h>
#include <mstask.h>

#include <string>

#include <Common.h>

#include "QTestSupport.h"
#include "UninstallRules.h"

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(UninstallRules, APathIsInTheFolderWhateverItsCaseAndQuotes)
{
    const std::wstring folder = L"C:\\Program Files\\Quorvel\\";
    EXPECT_TRUE(uninstall::IsInFolder(L"C:\\Program Files\\Quorvel\\laucher.bat", folder));
    EXPECT_TRUE(uninstall::IsInFolder(L"\"c:\\program files\\QUORVEL\\Quorvel.exe\" ", folder));
    EXPECT_FALSE(uninstall::IsInFolder(L"C:\\Program Files\\Quorvel2\\laucher.bat", folder));
    EXPECT_FALSE(uninstall::IsInFolder(L"C:\\Program Files\\Quorvel\\", folder));
    EXPECT_FALSE(uninstall::IsInFolder(L"D:\\Quorvel\\laucher.bat", folder));
    EXPECT_FALSE(uninstall::IsInFolder(L"", folder));
}

HRESULT AddTask(const wchar_t* name, const std::wstring& program)
{
    ITaskScheduler* scheduler = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                  reinterpret_cast<void**>(&scheduler));
    if (FAILED(hr)) return hr;
    ITask* task = nullptr;
    hr = scheduler->NewWorkItem(name, CLSID_CTask, IID_ITask, reinterpret_cast<IUnknown**>(&task));
    if (SUCCEEDED(hr)) hr = task->SetApplicationName(program.c_str());
    IPersistFile* file = nullptr;
    if (SUCCEEDED(hr)) hr = task->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) hr = file->Save(nullptr, TRUE);
    if (file) file->Release();
    if (task) task->Release();
    scheduler->Release();
    return hr;
}

bool TaskExists(const wchar_t* name)
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return GetFileAttributesW((std::wstring(windows) + L"\\Tasks\\" + name + L".job").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

DWORD RunProgram(const std::wstring& exe, const std::wstring& args)
{
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 999;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 998;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

TEST(Uninstall, RemovesWhatThisCopyMadeAndTheUserDataOnlyWhenAsked)
{
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const std::wstring from = shell_test::ProgramFolder();
    const std::wstring folder = L"C:\\Program Files\\Quorvel Uninstall Test\\";
    ASSERT_TRUE(SBRecursiveCreateDirectoryW(folder.c_str()));
    for (const wchar_t* f :
         {L"QuorvelUninstall.exe", L"Common.dll", L"libstdc++-6.dll", L"libgcc_s_seh-1.dll", L"libwinpthread-1.dll"})
        ASSERT_TRUE(CopyFileW((from + f).c_str(), (folder + f).c_str(), FALSE)) << f;
    ASSERT_TRUE(CopyFileW((from + L"QuorvelUninstall.exe").c_str(), (folder + L"Quorvel.exe").c_str(), FALSE));
    shell_test::WriteUtf16(folder + L"laucher.bat", L"@start x\r\nexit", false);
    for (const wchar_t* data : uninstall::kUserDataFolders) {
        ASSERT_TRUE(SBRecursiveCreateDirectoryW((folder + data + L"\\inner").c_str()));
        shell_test::WriteUtf16(folder + data + L"\\inner\\kept.txt", L"x");
    }
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe",
                                              (folder + L"laucher.bat").c_str()));
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param", L"Lang", L"2"));
    ASSERT_EQ(S_OK, AddTask(L"Quorvel uninstall ours", folder + L"Quorvel.exe"));
    ASSERT_EQ(S_OK, AddTask(L"Quorvel uninstall other", L"C:\\windows\\notepad.exe"));
    ASSERT_TRUE(TaskExists(L"Quorvel uninstall ours"));

    EXPECT_EQ(0u, RunProgram(folder + L"QuorvelUninstall.exe", L"--keep-user-data"));
    std::wstring value;
    EXPECT_FALSE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", value));
    EXPECT_FALSE(Exists(folder + L"laucher.bat"));
    EXPECT_FALSE(TaskExists(L"Quorvel uninstall ours"));
    EXPECT_TRUE(TaskExists(L"Quorvel uninstall other"));
    for (const wchar_t* data : uninstall::kUserDataFolders)
        EXPECT_TRUE(Exists(folder + data + L"\\inner\\kept.txt")) << data;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param", L"Lang", value));

    // Another copy's start-up entry is not this copy's to remove.
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", L"D:\\Other\\laucher.bat"));
    EXPECT_EQ(0u, RunProgram(folder + L"QuorvelUninstall.exe", L""));
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", value));
    for (const wchar_t* data : uninstall::kUserDataFolders) EXPECT_FALSE(Exists(folder + data)) << data;
    EXPECT_FALSE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param", L"Lang", value));
    EXPECT_TRUE(Exists(folder + L"Quorvel.exe")) << "the installed files are the installer's to remove";
    CoUninitialize();
}

}  // namespace
