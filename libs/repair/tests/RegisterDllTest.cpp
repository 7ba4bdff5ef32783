// Re-registration of the prefix's system folder against a stand-in regsvr32 that records every call, counts the
// copies running at once and fails for chosen DLLs.
#include <windows.h>

#include <gtest/gtest.h>

#include <Moravin/RegisterDll.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "QStubPrograms.h"
#include "QTestSupport.h"

using Moravin::CRegisterDll;
using namespace shell_test;

namespace {

struct DllMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Records the re-registration's messages in a message-only window of this thread.
class DllCapture {
public:
    DllCapture()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &DllCapture::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MoravinDllCapture";
        RegisterClassW(&wc);
        m_wnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DllCapture() { DestroyWindow(m_wnd); }

    HWND Window() const { return m_wnd; }
    std::vector<DllMessage> messages;
    std::function<void(const DllMessage&)> onMessage;

    bool WaitForDone(DWORD timeoutMs = 300000)
    {
        return PumpUntil([this] { return Done() != nullptr; }, timeoutMs);
    }
    const DllMessage* Done() const
    {
        for (const DllMessage& m : messages)
            if (m.msg == WM_DLLREG_DONE) return &m;
        return nullptr;
    }
    std::vector<DllMessage> Items() const
    {
        std::vector<DllMessage> items;
        for (const DllMessage& m : messages)
            if (m.msg == WM_DLLREG_ITEM_DONE) items.push_back(m);
        return items;
    }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<DllCapture*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (self && (msg == WM_DLLREG_ITEM_DONE || msg == WM_DLLREG_DONE)) {
            self->messages.push_back({msg, wParam, lParam});
            if (self->onMessage) self->onMessage(self->messages.back());
            return 0;
        }
        return DefWindowProcW(wnd, msg, wParam, lParam);
    }
    HWND m_wnd = nullptr;
};

void MakeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << GetLastError();
    CloseHandle(h);
}

// Every file of the folder whose name ends in ".dll" exactly, listed independently of the library.
std::set<std::wstring> IndependentDllList(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > 4 &&
            name.compare(name.size() - 4, 4, L".dll") == 0)
            names.insert(folder + L"\\" + name);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return names;
}

std::wstring RegistrationCall(const std::wstring& dll)
{
    return L"\"" + SystemFolder() + L"\\regsvr32.exe\" /s \"" + dll + L"\"";
}

class RegisterDllTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(regsvr32.ok());
        system = SystemFolder();
    }
    StubProgram regsvr32{L"regsvr32"};
    std::wstring system;
};

}  // namespace

// Only names ending in ".dll" in lower case are listed, each with its full path.
TEST_F(RegisterDllTest, ListsTheSystemFolderDllsWithALowerCaseExtension)
{
    MakeFile(system + L"\\ZZQ.DLL");
    MakeFile(system + L"\\qvlisted.dll");
    MakeFile(system + L"\\.dll");
    CRegisterDll registration;
    std::vector<std::wstring> names(1, L"kept");
    ASSERT_TRUE(registration.GetDllNames(names));
    ASSERT_GT(names.size(), 100u);
    EXPECT_EQ(L"kept", names[0]);
    const std::set<std::wstring> listed(names.begin() + 1, names.end());
    EXPECT_EQ(names.size() - 1, listed.size());
    EXPECT_EQ(IndependentDllList(system), listed);
    EXPECT_EQ(1u, listed.count(system + L"\\qvlisted.dll"));
    EXPECT_EQ(0u, listed.count(system + L"\\ZZQ.DLL"));
    EXPECT_EQ(0u, listed.count(system + L"\\.dll"));
}

// One registration: the stand-in sees the quoted path, and its exit code decides the result.
TEST_F(RegisterDllTest, OneRegistrationQuotesThePathAndReadsTheExitCode)
{
    const std::wstring folder = MakeScratchFolder(L"dll with blanks");
    const std::wstring dll = folder + L"a b.dll";
    MakeFile(dll);
    const struct {
        DWORD exitCode;
        Moravin::DllRegResult result;
    } cases[] = {
        {0, Moravin::DLLREG_REGISTERED},
        {4, Moravin::DLLREG_NOTHING_TO_REGISTER},
        {5, Moravin::DLLREG_FAILED},
        {3, Moravin::DLLREG_FAILED},
    };
    CRegisterDll registration;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "exit code " << c.exitCode);
        regsvr32.SetExitCode(c.exitCode);
        EXPECT_EQ(c.result, registration.DoRegisterDll(dll));
    }
    EXPECT_EQ(std::vector<std::wstring>(4, RegistrationCall(dll)), regsvr32.Calls());
}

// A run over the system folder narrowed to a fixture set: every DLL is registered once, each row reports its own
// result, no more than the limit run at once, and the end reports how many failed.
TEST_F(RegisterDllTest, ReRegistersTheFolderAFewAtATimeWithEachRowsResult)
{
    SystemDllSet set({L"ole32.dll", L"oleaut32.dll", L"shell32.dll", L"comctl32.dll"});
    set.AddFixture(L"qvfail.dll");
    set.AddFixture(L"qvnoentry.dll");
    const int limit = CRegisterDll::MaxRunningRegistrations();
    ASSERT_GE(limit, 2);
    // Slow registrations side by side, so the limit is reached.
    for (int i = 0; i < limit + 2; ++i) {
        const std::wstring name = L"qvslow" + std::to_wstring(i) + L".dll";
        set.AddFixture(name);
        regsvr32.SetDelayFor(name, 1500);
    }
    regsvr32.SetExitCodeFor(L"qvfail.dll", 5);
    regsvr32.SetExitCodeFor(L"qvnoentry.dll", 4);

    CRegisterDll registration;
    std::vector<std::wstring> names;
    ASSERT_TRUE(registration.GetDllNames(names));
    ASSERT_EQ(size_t(4 + 2 + limit + 2), names.size());
    DllCapture capture;
    registration.SetParentWnd(capture.Window());
    ASSERT_TRUE(registration.RegisterSystemDll());
    ASSERT_TRUE(capture.WaitForDone());

    const std::vector<DllMessage> items = capture.Items();
    ASSERT_EQ(names.size(), items.size());
    std::set<WPARAM> rows;
    for (const DllMessage& item : items) {
        ASSERT_LT(item.wParam, names.size());
        rows.insert(item.wParam);
        const std::wstring& name = names[item.wParam];
        SCOPED_TRACE(testing::Message() << "row " << item.wParam << " " << testing::PrintToString(name));
        LPARAM expected = Moravin::DLLREG_REGISTERED;
        if (name == system + L"\\qvfail.dll") expected = Moravin::DLLREG_FAILED;
        if (name == system + L"\\qvnoentry.dll") expected = Moravin::DLLREG_NOTHING_TO_REGISTER;
        EXPECT_EQ(expected, item.lParam);
    }
    EXPECT_EQ(names.size(), rows.size()) << "each row reported once";
    EXPECT_EQ(0u, capture.Done()->wParam);
    EXPECT_EQ(1, capture.Done()->lParam) << "one DLL failed";
    EXPECT_EQ(WM_DLLREG_DONE, capture.messages.back().msg);

    std::vector<std::wstring> calls = regsvr32.Calls(), expectedCalls;
    for (const std::wstring& name : names) expectedCalls.push_back(RegistrationCall(name));
    std::sort(calls.begin(), calls.end());
    std::sort(expectedCalls.begin(), expectedCalls.end());
    EXPECT_EQ(expectedCalls, calls);
    EXPECT_LE(regsvr32.PeakRunning(), DWORD(limit));
    EXPECT_GE(regsvr32.PeakRunning(), 2u);
    EXPECT_EQ(0u, regsvr32.Running());
}

// Stop from the first row's message: nothing further starts, the ones running end and are reported, and the end
// says the run was stopped. A new run afterwards starts from the first DLL again.
TEST_F(RegisterDllTest, StopStartsNothingFurther)
{
    const int limit = CRegisterDll::MaxRunningRegistrations();
    CRegisterDll registration;
    DllCapture capture;
    capture.onMessage = [&](const DllMessage& m) {
        if (m.msg == WM_DLLREG_ITEM_DONE) registration.StopRegisterDll();
    };
    registration.SetParentWnd(capture.Window());
    ASSERT_TRUE(registration.RegisterSystemDll());
    ASSERT_TRUE(capture.WaitForDone(60000));
    const size_t items = capture.Items().size();
    EXPECT_GE(items, 1u);
    EXPECT_LE(items, size_t(limit));
    EXPECT_EQ(1u, capture.Done()->wParam);
    EXPECT_EQ(items, regsvr32.Calls().size());

    capture.messages.clear();
    regsvr32.Reset();
    ASSERT_TRUE(registration.RegisterSystemDll());
    ASSERT_TRUE(capture.WaitForDone(60000));
    EXPECT_EQ(1u, capture.Done()->wParam);
    std::set<WPARAM> rows;
    for (const DllMessage& m : capture.Items()) rows.insert(m.wParam);
    EXPECT_EQ(0u, *rows.begin()) << "the new run starts from the first DLL";
}

// A folder without DLLs: no row, and the end says all is done.
TEST_F(RegisterDllTest, AFolderWithoutDllsEndsAtOnce)
{
    SystemDllSet none({});
    CRegisterDll registration;
    DllCapture capture;
    registration.SetParentWnd(capture.Window());
    ASSERT_TRUE(registration.RegisterSystemDll());
    ASSERT_TRUE(capture.WaitForDone(60000));
    EXPECT_TRUE(capture.Items().empty());
    EXPECT_EQ(0u, capture.Done()->wParam);
    EXPECT_EQ(0, capture.Done()->lParam);
}

TEST_F(RegisterDllTest, NothingStartsWithoutAParentWindow)
{
    CRegisterDll registration;
    EXPECT_FALSE(registration.RegisterSystemDll());
    EXPECT_TRUE(regsvr32.Calls().empty());
}
