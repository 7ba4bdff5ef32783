#include "QStubPrograms.h"

#include <shlwapi.h>

#include "QTestSupport.h"

namespace shell_test {

namespace {

std::wstring StubKey(const std::wstring& name) { return L"Software\\QuorvelTest\\Stubs\\" + name; }

void SetDword(const std::wstring& key, const wchar_t* value, DWORD data)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExW(h, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    ::RegCloseKey(h);
}

DWORD GetDword(const std::wstring& key, const wchar_t* value)
{
    DWORD data = 0, size = sizeof(data), type = 0;
    HKEY h = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return 0;
    LONG r = ::RegQueryValueExW(h, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    ::RegCloseKey(h);
    return r == ERROR_SUCCESS && type == REG_DWORD ? data : 0;
}

// Wine runs its own program of a system name unless told to load the file ("native") for it. The setting is read
// at each process start, so it holds for every program started after this.
void PreferNativeProgram(const std::wstring& name)
{
    HKEY h = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                          nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring value = name + L".exe";
    ::RegSetValueExW(h, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native"), 7 * sizeof(wchar_t));
    ::RegCloseKey(h);
}

// Renames a file to a name that differs only in letter case. Wine takes such a name for the file itself (it
// already "exists"), so the rename goes through a temporary name.
bool RenameCase(const std::wstring& folder, const std::wstring& from, const std::wstring& to)
{
    const std::wstring temporary = folder + to + L".qvrename";
    if (!::MoveFileW((folder + from).c_str(), temporary.c_str())) return false;
    return ::MoveFileW(temporary.c_str(), (folder + to).c_str()) != FALSE;
}

}  // namespace

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    ::GetSystemDirectoryW(folder, MAX_PATH);
    std::wstring text = folder;
    if (!text.empty() && text.back() == L'\\') text.pop_back();
    return text;
}

StubProgram::StubProgram(const wchar_t* name) : m_name(name)
{
    m_path = SystemFolder() + L"\\" + m_name + L".exe";
    std::wstring logFolder = MakeScratchFolder((L"stub_" + m_name).c_str());
    logFolder.pop_back();
    m_log = logFolder + L"\\" + m_name + L".log";
    m_ok = ::CopyFileW((ProgramFolder() + L"QvSystemStub.exe").c_str(), m_path.c_str(), FALSE) != FALSE;
    PreferNativeProgram(m_name);

    const std::wstring key = StubKey(m_name);
    ::SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    HKEY h = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) ==
        ERROR_SUCCESS) {
        ::RegSetValueExW(h, L"LogFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(logFolder.c_str()),
                         static_cast<DWORD>((logFolder.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(h);
    }
    Reset();
}

void StubProgram::SetExitCode(DWORD code) { SetDword(StubKey(m_name), L"ExitCode", code); }

void StubProgram::SetExitCodeFor(const std::wstring& token, DWORD code)
{
    SetDword(StubKey(m_name) + L"\\ExitCodes", token.c_str(), code);
}

void StubProgram::SetDelay(DWORD ms) { SetDword(StubKey(m_name), L"DelayMs", ms); }

void StubProgram::SetDelayFor(const std::wstring& token, DWORD ms)
{
    SetDword(StubKey(m_name) + L"\\Delays", token.c_str(), ms);
}

std::vector<std::wstring> StubProgram::Calls() const
{
    std::vector<std::wstring> calls;
    HANDLE file = ::CreateFileW(m_log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return calls;
    std::wstring text;
    wchar_t buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read / sizeof(wchar_t));
    ::CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        calls.push_back(text.substr(start, end - start));
    return calls;
}

DWORD StubProgram::PeakRunning() const { return GetDword(StubKey(m_name), L"Peak"); }

DWORD StubProgram::Running() const { return GetDword(StubKey(m_name), L"Running"); }

void StubProgram::Reset()
{
    ::DeleteFileW(m_log.c_str());
    SetDword(StubKey(m_name), L"Peak", 0);
    SetDword(StubKey(m_name), L"Running", 0);
}

SystemDllSet::SystemDllSet(const std::vector<std::wstring>& keep)
{
    const std::wstring folder = SystemFolder() + L"\\";
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((folder + L"*.dll").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> names;
    do {
        const std::wstring name = fd.cFileName;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".dll") == 0) names.push_back(name);
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
    for (const std::wstring& name : names) {
        bool kept = false;
        for (const std::wstring& k : keep) kept = kept || ::lstrcmpiW(k.c_str(), name.c_str()) == 0;
        if (kept) continue;
        if (RenameCase(folder, name, name.substr(0, name.size() - 4) + L".DLL")) m_renamed.push_back(name);
    }
}

SystemDllSet::~SystemDllSet()
{
    const std::wstring folder = SystemFolder() + L"\\";
    for (const std::wstring& name : m_fixtures) ::DeleteFileW((folder + name).c_str());
    for (const std::wstring& name : m_renamed) RenameCase(folder, name.substr(0, name.size() - 4) + L".DLL", name);
}

void SystemDllSet::AddFixture(const std::wstring& name)
{
    const std::wstring path = SystemFolder() + L"\\" + name;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(h);
    m_fixtures.push_back(name);
}

}  // namespace shell_test
