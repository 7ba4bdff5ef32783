#include "TestFiles.h"

#include <vector>

namespace LumbreyTest {

namespace {

std::wstring LongForm(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

} // namespace

std::string HostPath(const std::wstring& windowsPath)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return std::string();
    char* name = toUnix(windowsPath.c_str());
    if (name == nullptr)
        return std::string();
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

namespace {

std::wstring Widen(const std::string& text)
{
    std::wstring wide;
    for (char c : text)
        wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

} // namespace

std::wstring NewTempFolder(const std::wstring& name)
{
    static LONG counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                              std::to_wstring(InterlockedIncrement(&counter));
    MakeFolders(path);
    return path;
}

void MakeFolders(const std::wstring& path)
{
    for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1))
        CreateDirectoryW(LongForm(path.substr(0, pos)).c_str(), NULL);
    CreateDirectoryW(LongForm(path).c_str(), NULL);
}

void MakeFile(const std::wstring& path, DWORD size)
{
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    HANDLE h = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::vector<char> bytes(size, 'x');
    DWORD written = 0;
    if (size)
        WriteFile(h, bytes.data(), size, &written, NULL);
    CloseHandle(h);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeHostSymlink(const std::wstring& link, const std::string& target)
{
    const size_t cut = link.rfind(L'\\');
    const std::string parent = HostPath(link.substr(0, cut));
    if (parent.empty())
        return false;
    const std::string unixLink = parent + "/" + std::string(link.begin() + cut + 1, link.end());
    std::wstring command = L"ln -s \"" + Widen(target) + L"\" \"" + Widen(unixLink) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(L"\\\\?\\unix\\bin\\ln", &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Wine does not track a Unix child: wait for the link to show instead.
    for (int tries = 0; tries < 250; ++tries) {
        const DWORD attrs = GetFileAttributesW(link.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
        Sleep(20);
    }
    return false;
}

HeldOpen::HeldOpen(const std::wstring& path)
    : m_handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL))
{
}

HeldOpen::~HeldOpen()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
}

std::set<std::wstring> AsSet(const std::initializer_list<std::wstring>& items)
{
    return std::set<std::wstring>(items.begin(), items.end());
}

} // namespace LumbreyTest
