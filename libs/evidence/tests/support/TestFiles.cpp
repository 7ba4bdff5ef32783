#include "TestFiles.h"

#include <vector>

namespace LumbreyTest {

namespace {

std::wstring LongForm(const std::wstring& path) { return L"\\\\?\\" + path; }

}  // namespace

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
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<char> bytes(size, 'x');
    DWORD written = 0;
    if (size) WriteFile(h, bytes.data(), size, &written, NULL);
    CloseHandle(h);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

HeldOpen::HeldOpen(const std::wstring& path)
    : m_handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL))
{
}

HeldOpen::~HeldOpen()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

std::set<std::wstring> AsSet(const std::initializer_list<std::wstring>& items)
{
    return std::set<std::wstring>(items.begin(), items.end());
}

}  // namespace LumbreyTest
